// loadTextures on a real Mesa context: the list file in a scratch working
// directory, the messages of each failure, and what reaches the GL.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "assets/texture_table.h"
#include "bmp_test_util.h"
#include "platform/platform.h"
#include "platform/recorders.h"
#include "support/gl_context.h"
#include "support/scratch_folder.h"

namespace {

// loadTextures with its records shown as the show shows them.
bool loadShown() {
    Diagnostics found;
    const bool ok = loadTextures(found);
    showDiagnostics(found);
    return ok;
}

class TextureDir : public ::testing::Test {
protected:
    void SetUp() override {
        TextureTable.fill(0);
        ASSERT_TRUE(gl_.ok());
    }
    void writeList(const std::string& text) { dir_.write("data/script/texture.dat", text); }
    // Row y is one colour: (40y, 255 - 40y, 7y).
    static std::vector<uint8_t> stripes(int w, int h) {
        std::vector<uint8_t> rgb;
        for (int i = 0; i < w * h; ++i)
            rgb.insert(rgb.end(), {uint8_t(40 * (i / w)), uint8_t(255 - 40 * (i / w)), uint8_t(7 * (i / w))});
        return rgb;
    }
    void writeStripes(const std::string& name, int w, int h) {
        const std::vector<uint8_t> file = bmpw::writeBmp(bmpw::RgbPicture{w, h, stripes(w, h)}, {});
        dir_.write("data/pics/" + name, std::string(file.begin(), file.end()));
    }

    TestGlContext gl_;
    bmptest::ScratchDir dir_{"orbelune_tex_"};  // the working directory
};

}  // namespace

TEST_F(TextureDir, ListFailures) {
    writeStripes("good.bmp", 4, 4);
    dir_.write("data/pics/bad.bmp", "BMxxxxxxxxxxxxxxxxxxxxxxxx");
    // (No list file, and a bitmap that is not there: hardening/fault_injection_test.)
    struct Case {
        const char* list;
        bool ok;
        std::vector<std::string> texts;
    } cases[] = {
        {"", true, {}},
        {"data\\pics\\good.bmp\n\n", false, {"Unable to open "}},  // blank last line
        {"DATA\\Pics\\bad.bmp\n", false, {"Unknown DIB file format.", "Unable to open DATA\\Pics\\bad.bmp"}},
    };
    for (const Case& c : cases) {
        writeList(c.list);
        BoxRecorder rec;
        platform::setWindowTitle("before");
        EXPECT_EQ(loadShown(), c.ok) << c.list;
        EXPECT_EQ(platform::windowTitle(), "textures...");
        std::vector<std::string> texts;
        for (const auto& box : rec.boxes) {
            texts.push_back(box.text);
            EXPECT_EQ(box.caption, texts.size() < c.texts.size() ? "Error" : "multimedia error");
            EXPECT_EQ(box.icon,
                      texts.size() < c.texts.size() ? platform::Icon::None : platform::Icon::Exclamation);
        }
        EXPECT_EQ(texts, c.texts);
    }
    EXPECT_NE(TextureTable[0], 0u);  // made before the blank line failed
    // A 101st line is ignored, whatever it names.
    std::string list;
    for (int i = 0; i < 100; ++i) list += "data\\pics\\good.bmp\n";
    writeList(list + "data\\pics\\none.bmp\n");
    BoxRecorder rec;
    EXPECT_TRUE(loadShown());
    EXPECT_TRUE(rec.boxes.empty());
    for (int i = 0; i < kTextureTableSize; ++i) EXPECT_TRUE(glIsTexture(TextureTable[i])) << i;
}

// Each failure names the list's line and its path, with a hint where the
// path or the bitmap suggests the cause.
TEST_F(TextureDir, RecordsNameTheListLine) {
    writeStripes("good.bmp", 4, 4);
    dir_.write("data/pics/bad.bmp", "BMxxxxxxxxxxxxxxxxxxxxxxxx");
    writeList("data\\pics\\good.bmp\ndata\\pics\\good.bmp \ndata\\pics\\bad.bmp\n\n");
    Diagnostics found;
    const auto list = readTextureListFile("data/script/texture.dat", found);
    ASSERT_TRUE(list);
    loadListedPictures(list->entries, [](size_t, RgbImage&&) {}, found, ListFailure::goesOn);
    ASSERT_EQ(found.size(), 4u);
    for (const Diagnostic& d : found) EXPECT_EQ(d.file, kTextureListPath);
    EXPECT_EQ(found[0].line, 2);
    EXPECT_EQ(found[0].lineText, "data\\pics\\good.bmp ");
    EXPECT_EQ(found[0].hint, "the path ends with white space, which counts as part of it");
    EXPECT_EQ(messageLine(found[1]), "Error: Unknown DIB file format.");
    EXPECT_EQ(found[1].line, 3);
    EXPECT_NE(found[1].hint.find("its header is"), std::string::npos) << found[1].hint;
    EXPECT_EQ(messageLine(found[2]), "multimedia error: Unable to open data\\pics\\bad.bmp");
    EXPECT_EQ(found[3].line, 4);
    EXPECT_EQ(found[3].hint, "line 4 of the list is blank: every line is a picture, so remove blank lines");

    Diagnostics first;  // the show stops at the first failure
    EXPECT_FALSE(loadListedPictures(list->entries, [](size_t, RgbImage&&) {}, first, ListFailure::ends));
    EXPECT_EQ(first.size(), 1u);
}

TEST_F(TextureDir, UploadsMipmappedTexturesOfAnyWidth) {
    writeStripes("five.bmp", 5, 4);
    writeStripes("six.bmp", 6, 4);
    // CR LF line ends; the unterminated third line is not loaded. (Wrapping
    // and filtering show in the golden frames.)
    writeList("data\\pics\\five.bmp\r\ndata\\pics\\six.bmp\r\ndata\\pics\\missing.bmp");
    BoxRecorder rec;
    ASSERT_TRUE(loadShown());
    EXPECT_TRUE(rec.boxes.empty());
    EXPECT_EQ(TextureTable[2], 0u);
    GLint value = 0;
    for (GLenum alignment : {GL_UNPACK_ALIGNMENT, GL_PACK_ALIGNMENT}) {
        glGetIntegerv(alignment, &value);
        EXPECT_EQ(value, 4);
    }
    // 5 x 4 is scaled to 4 x 4 and 6 x 4 to 8 x 4; every row stays one solid
    // colour (packed rows read with the default alignment would shear).
    for (int t = 0; t < 2; ++t) {
        glBindTexture(GL_TEXTURE_2D, TextureTable[t]);
        GLint w = 0, h = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
        ASSERT_EQ(w, t == 0 ? 4 : 8);
        ASSERT_EQ(h, 4);
        std::vector<uint8_t> px(size_t(w) * h * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, px.data());
        EXPECT_EQ(px, stripes(w, h));
        glGetTexLevelParameteriv(GL_TEXTURE_2D, t == 0 ? 2 : 3, GL_TEXTURE_WIDTH, &value);
        EXPECT_EQ(value, 1);  // the mipmap chain reaches 1 x 1
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
