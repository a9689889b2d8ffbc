// loadTextures on a real Mesa context: the list file in a scratch working
// directory, the messages of each failure, and what reaches the GL.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "assets/texture_table.h"
#include "bmp_test_util.h"
#include "support/gl_context.h"

namespace fs = std::filesystem;
using bmptest::BoxRecorder;

namespace {

// A scratch working directory holding data/script/texture.dat and pictures.
class TextureDir : public ::testing::Test {
protected:
    void SetUp() override {
        old_ = fs::current_path();
        dir_ = fs::temp_directory_path() / ("orbelune_tex_" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "data" / "script");
        fs::create_directories(dir_ / "data" / "pics");
        fs::current_path(dir_);
        TextureTable.fill(0);
    }
    void TearDown() override {
        fs::current_path(old_);
        fs::remove_all(dir_);
    }
    void writeList(const std::string& text) {
        std::ofstream(dir_ / "data" / "script" / "texture.dat", std::ios::binary) << text;
    }
    // Each row of the picture one colour: row y = (40y, 255 - 40y, 7y).
    static bmpw::RgbPicture stripes(int w, int h) {
        bmpw::RgbPicture p{w, h, {}};
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                p.rgb.push_back(static_cast<uint8_t>(40 * y));
                p.rgb.push_back(static_cast<uint8_t>(255 - 40 * y));
                p.rgb.push_back(static_cast<uint8_t>(7 * y));
            }
        return p;
    }
    void writePicture(const std::string& name, const bmpw::RgbPicture& p) {
        ASSERT_TRUE(bmpw::saveFile((dir_ / "data" / "pics" / name).string(), bmpw::writeBmp(p, {})));
    }

    TestGlContext gl_;
    fs::path old_, dir_;
};

}  // namespace

TEST_F(TextureDir, MissingListFailsBeforeMakingNames) {
    ASSERT_TRUE(gl_.ok());
    BoxRecorder rec;
    platform::setWindowTitle("before");
    EXPECT_FALSE(loadTextures());
    EXPECT_EQ(platform::windowTitle(), "textures...");
    ASSERT_EQ(rec.boxes.size(), 1u);
    EXPECT_EQ(rec.boxes[0].text, "Unable to open texture.dat");
    EXPECT_EQ(rec.boxes[0].caption, "multimedia error");
    EXPECT_EQ(rec.boxes[0].icon, platform::Icon::Exclamation);
    EXPECT_EQ(TextureTable[0], 0u);
}

TEST_F(TextureDir, ListFailures) {
    ASSERT_TRUE(gl_.ok());
    writePicture("good.bmp", stripes(4, 4));
    {  // An empty list loads nothing and succeeds.
        writeList("");
        BoxRecorder rec;
        EXPECT_TRUE(loadTextures());
        EXPECT_TRUE(rec.boxes.empty());
        EXPECT_EQ(TextureTable[0], 0u);
    }
    {  // A blank last line is an entry with an empty path.
        writeList("data\\pics\\good.bmp\n\n");
        BoxRecorder rec;
        EXPECT_FALSE(loadTextures());
        ASSERT_EQ(rec.boxes.size(), 1u);
        EXPECT_EQ(rec.boxes[0].text, "Unable to open ");
        EXPECT_EQ(rec.boxes[0].caption, "multimedia error");
        EXPECT_NE(TextureTable[0], 0u);  // the first texture stays made
    }
    {  // A picture that exists but cannot be decoded: the decoder's box, then the list's.
        std::ofstream(dir_ / "data" / "pics" / "bad.bmp", std::ios::binary) << "BMxxxxxxxxxxxxxxxxxxxxxxxx";
        writeList("DATA\\Pics\\bad.bmp\n");
        BoxRecorder rec;
        EXPECT_FALSE(loadTextures());
        ASSERT_EQ(rec.boxes.size(), 2u);
        EXPECT_EQ(rec.boxes[0].text, "Unknown DIB file format.");
        EXPECT_EQ(rec.boxes[0].caption, "Error");
        EXPECT_EQ(rec.boxes[1].text, "Unable to open DATA\\Pics\\bad.bmp");
        EXPECT_EQ(rec.boxes[1].icon, platform::Icon::Exclamation);
    }
    {  // A missing picture: only the list's box.
        writeList("data\\pics\\none.bmp\n");
        BoxRecorder rec;
        EXPECT_FALSE(loadTextures());
        ASSERT_EQ(rec.boxes.size(), 1u);
        EXPECT_EQ(rec.boxes[0].text, "Unable to open data\\pics\\none.bmp");
    }
}

TEST_F(TextureDir, UploadsMipmappedTexturesOfAnyWidth) {
    ASSERT_TRUE(gl_.ok());
    writePicture("five.bmp", stripes(5, 4));
    writePicture("six.bmp", stripes(6, 4));
    // The unterminated third line is not loaded.
    writeList("data\\pics\\five.bmp\r\ndata\\pics\\six.bmp\r\ndata\\pics\\missing.bmp");
    BoxRecorder rec;
    ASSERT_TRUE(loadTextures());
    EXPECT_TRUE(rec.boxes.empty());
    ASSERT_NE(TextureTable[0], 0u);
    ASSERT_NE(TextureTable[1], 0u);
    EXPECT_NE(TextureTable[0], TextureTable[1]);
    EXPECT_EQ(TextureTable[2], 0u);

    GLint align = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &align);
    EXPECT_EQ(align, 4);
    glGetIntegerv(GL_PACK_ALIGNMENT, &align);
    EXPECT_EQ(align, 4);

    // 5 x 4 is scaled to 4 x 4 and 6 x 4 to 8 x 4; every row must still be
    // one solid colour (packed rows read with the default alignment shear).
    const GLint wantWidth[2] = {4, 8};
    for (int t = 0; t < 2; ++t) {
        glBindTexture(GL_TEXTURE_2D, TextureTable[t]);
        GLint w = 0, h = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
        ASSERT_EQ(w, wantWidth[t]);
        ASSERT_EQ(h, 4);
        std::vector<uint8_t> px(static_cast<size_t>(w) * h * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, px.data());
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const uint8_t* p = &px[(static_cast<size_t>(y) * w + x) * 3];
                EXPECT_EQ(p[0], 40 * y) << t << ": " << x << "," << y;
                EXPECT_EQ(p[1], 255 - 40 * y) << t << ": " << x << "," << y;
                EXPECT_EQ(p[2], 7 * y) << t << ": " << x << "," << y;
            }
    }
    GLint minFilter = 0, wrapS = 0, wrapT = 0, magFilter = 0, levelW = 0, levelH = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    EXPECT_EQ(wrapS, GL_REPEAT);
    EXPECT_EQ(wrapT, GL_REPEAT);
    EXPECT_EQ(magFilter, GL_LINEAR);
    EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_NEAREST);
    // The full mipmap chain down to 1 x 1.
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 3, GL_TEXTURE_WIDTH, &levelW);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 3, GL_TEXTURE_HEIGHT, &levelH);
    EXPECT_EQ(levelW, 1);
    EXPECT_EQ(levelH, 1);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureDir, HundredAndOneLinesLoadTheFirstHundred) {
    ASSERT_TRUE(gl_.ok());
    writePicture("one.bmp", stripes(1, 1));
    std::string list;
    for (int i = 0; i < 100; ++i) list += "data\\pics\\one.bmp\n";
    list += "data\\pics\\missing.bmp\n";
    writeList(list);
    BoxRecorder rec;
    EXPECT_TRUE(loadTextures());
    EXPECT_TRUE(rec.boxes.empty());
    for (int i = 0; i < kTextureTableSize; ++i) EXPECT_TRUE(glIsTexture(TextureTable[i])) << i;
}
