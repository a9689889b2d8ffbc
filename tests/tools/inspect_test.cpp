// The inspector on each kind of file, good and broken.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "shell/inspect.h"
#include "shell/json_writer.h"
#include "tools/temp_show_folder.h"
#include "writers/bmp_writer.h"
#include "writers/tds_writer.h"

namespace fs = std::filesystem;

namespace {

// Each kind of file, good and broken: the status and what the report holds.
TEST(Inspect, EachKindOfFileGoodAndBroken) {
    TempShowFolder folder;
    bmpw::RgbPicture picture{5, 2, {}};
    for (int i = 0; i < 5 * 2; ++i) picture.rgb.insert(picture.rgb.end(), {uint8_t(i * 20), 7, 200});
    ASSERT_TRUE(bmpw::saveFile("pic.bmp", bmpw::writeBmp(picture, {})));
    char hash[20];
    std::snprintf(hash, sizeof hash, "%016llx",
                  static_cast<unsigned long long>(fnv1a64(picture.rgb.data(), picture.rgb.size())));
    bmpw::BmpOptions os2;
    os2.overrides.headerSize = 64;
    os2.overrides.extraHeaderBytes = 24;
    ASSERT_TRUE(bmpw::saveFile("os2.bmp", bmpw::writeBmp(picture, os2)));
    tds::TdsObject a, b;
    a.vertices = b.vertices = {{0, 0, 0}, {2, 0, 0}, {0, -3, 1}};
    a.faces = {{0, 1, 2}};
    ASSERT_TRUE(tds::write3dsFile("two.3ds", {a, b}));
    std::ofstream("not.3ds") << "hello";
    std::ofstream("broken.dat") << "LIGHTS=ON\nFOG = ON\nEOF\n";
    std::ofstream("nomesh.dat") << "FILENAME=data\\meshes\\absent.3ds\nEOF\n";
    std::ofstream("texture.dat") << "data\\textures\\absent.bmp\n";
    const struct {
        const char* path;
        int status;
        std::initializer_list<std::string> needles;
    } cases[] = {
        {"pic.bmp", 0, {"\"kind\": \"bitmap\"", "\"width\": 5", "\"height\": 2", hash}},
        {"os2.bmp", 1, {"\"error\": \"Unknown DIB file format.\""}},
        {"two.3ds", 0, {"\"vertexCount\": 3", "\"faceCount\": 1", "\"faceCount\": 0", "\"boundsMin\": [0, -3, 0]",
                        "\"boundsMax\": [2, 0, 1]"}},
        {"not.3ds", 1, {"3dsfile is fucked up"}},
        {"data\\script\\scene5.dat", 0,
         {"\"kind\": \"script\"", "\"magnets\": [", "\"magnetic\": true", "\"messages\": []"}},
        {"broken.dat", 1, {"\"lightingEnabled\": true", "no valid attrib found on line 2, broken.dat."}},
        {"nomesh.dat", 1, {"\"loadedCompletely\": false", "multimedia error: cannot open 3ds-file"}},
        {"data/script/texture.dat", 0, {"\"index\": 35"}},
        {"texture.dat", 1, {"Unable to open data\\\\textures\\\\absent.bmp"}},
    };
    for (const auto& c : cases) {
        std::ostringstream out;
        EXPECT_EQ(runInspect(c.path, c.path == std::string("pic.bmp") ? "pic.png" : "", out), c.status) << out.str();
        for (const std::string& n : c.needles)
            EXPECT_NE(out.str().find(n), std::string::npos) << n << " not in " << out.str();
    }
    EXPECT_TRUE(fs::file_size("pic.png") > 0);
}

TEST(Inspect, JsonEscapesHostileText) {
    EXPECT_EQ(JsonWriter::escape("a\"b\\c\n\x01\xff"), "a\\\"b\\\\c\\n\\u0001\\u00ff");
}

}  // namespace
