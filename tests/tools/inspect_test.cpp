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

std::string inspect(const std::string& path, int expectedStatus, const std::string& png = {}) {
    std::ostringstream out;
    EXPECT_EQ(runInspect(path, png, out), expectedStatus) << out.str();
    return out.str();
}

bool has(const std::string& text, const std::string& needle) { return text.find(needle) != std::string::npos; }

TEST(Inspect, BitmapSizeHashAndPng) {
    TempShowFolder folder;
    bmpw::RgbPicture picture{5, 2, {}};
    for (int i = 0; i < 5 * 2; ++i) picture.rgb.insert(picture.rgb.end(), {uint8_t(i * 20), 7, 200});
    std::vector<uint8_t> bytes = bmpw::writeBmp(picture, {});
    std::ofstream("pic.bmp", std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                     static_cast<std::streamsize>(bytes.size()));
    std::string json = inspect("pic.bmp", 0, "pic.png");
    EXPECT_TRUE(has(json, "\"kind\": \"bitmap\""));
    EXPECT_TRUE(has(json, "\"width\": 5"));
    EXPECT_TRUE(has(json, "\"height\": 2"));
    char hash[20];
    std::snprintf(hash, sizeof hash, "%016llx",
                  static_cast<unsigned long long>(fnv1a64(picture.rgb.data(), picture.rgb.size())));
    EXPECT_TRUE(has(json, hash)) << json;
    EXPECT_TRUE(fs::file_size("pic.png") > 0);

    bmpw::BmpOptions options;
    options.overrides.headerSize = 108;
    options.overrides.extraHeaderBytes = 68;
    bytes = bmpw::writeBmp(picture, options);
    std::ofstream("v4.bmp", std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
    EXPECT_TRUE(has(inspect("v4.bmp", 1), "\"error\": \"Unknown DIB file format.\""));
}

TEST(Inspect, MeshObjectsWithCountsAndBounds) {
    TempShowFolder folder;
    tds::TdsObject a;
    a.name = "a";
    a.vertices = {{0, 0, 0}, {2, 0, 0}, {0, -3, 1}};
    a.faces = {{0, 1, 2}};
    tds::TdsObject b = a;
    b.name = "b";
    b.faces.clear();
    ASSERT_TRUE(tds::write3dsFile("two.3ds", {a, b}));
    std::string json = inspect("two.3ds", 0);
    EXPECT_TRUE(has(json, "\"vertexCount\": 3"));
    EXPECT_TRUE(has(json, "\"faceCount\": 1"));
    EXPECT_TRUE(has(json, "\"faceCount\": 0"));
    EXPECT_TRUE(has(json, "\"boundsMin\": [0, -3, 0]"));
    EXPECT_TRUE(has(json, "\"boundsMax\": [2, 0, 1]"));

    std::ofstream("not.3ds") << "hello";
    EXPECT_TRUE(has(inspect("not.3ds", 1), "3dsfile is fucked up"));
}

TEST(Inspect, ScriptRecordAndWarnings) {
    TempShowFolder folder;
    std::string json = inspect("data\\script\\scene5.dat", 0);
    EXPECT_TRUE(has(json, "\"kind\": \"script\""));
    EXPECT_TRUE(has(json, "\"magnets\": ["));
    EXPECT_TRUE(has(json, "\"magnetic\": true"));
    EXPECT_TRUE(has(json, "\"messages\": []"));

    std::ofstream("broken.dat") << "LIGHTS=ON\nFOG = ON\nEOF\n";
    json = inspect("broken.dat", 1);
    EXPECT_TRUE(has(json, "\"lightingEnabled\": true"));
    EXPECT_TRUE(has(json, "no valid attrib found on line 2, broken.dat.")) << json;

    std::ofstream("nomesh.dat") << "FILENAME=data\\meshes\\absent.3ds\nEOF\n";
    json = inspect("nomesh.dat", 1);
    EXPECT_TRUE(has(json, "\"loadedCompletely\": false"));
    EXPECT_TRUE(has(json, "multimedia error: cannot open 3ds-file"));
}

TEST(Inspect, TextureListEntries) {
    TempShowFolder folder;
    std::string json = inspect("data/script/texture.dat", 0);
    EXPECT_TRUE(has(json, "\"index\": 35"));
    std::ofstream("texture.dat") << "data\\textures\\absent.bmp\n";
    EXPECT_TRUE(has(inspect("texture.dat", 1), "Unable to open data\\\\textures\\\\absent.bmp"));
}

TEST(Inspect, JsonEscapesHostileText) {
    EXPECT_EQ(JsonWriter::escape("a\"b\\c\n\x01\xff"), "a\\\"b\\\\c\\n\\u0001\\u00ff");
}

}  // namespace
