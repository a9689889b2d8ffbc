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

void expectHas(const std::string& json, std::initializer_list<std::string> needles) {
    for (const std::string& n : needles) EXPECT_TRUE(has(json, n)) << n << " not in " << json;
}

void writeBytes(const char* name, const std::vector<uint8_t>& bytes) {
    std::ofstream(name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

TEST(Inspect, BitmapSizeHashAndPng) {
    TempShowFolder folder;
    bmpw::RgbPicture picture{5, 2, {}};
    for (int i = 0; i < 5 * 2; ++i) picture.rgb.insert(picture.rgb.end(), {uint8_t(i * 20), 7, 200});
    writeBytes("pic.bmp", bmpw::writeBmp(picture, {}));
    char hash[20];
    std::snprintf(hash, sizeof hash, "%016llx",
                  static_cast<unsigned long long>(fnv1a64(picture.rgb.data(), picture.rgb.size())));
    expectHas(inspect("pic.bmp", 0, "pic.png"), {"\"kind\": \"bitmap\"", "\"width\": 5", "\"height\": 2", hash});
    EXPECT_TRUE(fs::file_size("pic.png") > 0);

    bmpw::BmpOptions options;
    options.overrides.headerSize = 64;
    options.overrides.extraHeaderBytes = 24;
    writeBytes("os2.bmp", bmpw::writeBmp(picture, options));
    EXPECT_TRUE(has(inspect("os2.bmp", 1), "\"error\": \"Unknown DIB file format.\""));
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
    expectHas(inspect("two.3ds", 0), {"\"vertexCount\": 3", "\"faceCount\": 1", "\"faceCount\": 0",
                                      "\"boundsMin\": [0, -3, 0]", "\"boundsMax\": [2, 0, 1]"});

    std::ofstream("not.3ds") << "hello";
    EXPECT_TRUE(has(inspect("not.3ds", 1), "3dsfile is fucked up"));
}

TEST(Inspect, ScriptRecordAndWarnings) {
    TempShowFolder folder;
    expectHas(inspect("data\\script\\scene5.dat", 0),
              {"\"kind\": \"script\"", "\"magnets\": [", "\"magnetic\": true", "\"messages\": []"});

    std::ofstream("broken.dat") << "LIGHTS=ON\nFOG = ON\nEOF\n";
    expectHas(inspect("broken.dat", 1), {"\"lightingEnabled\": true", "no valid attrib found on line 2, broken.dat."});

    std::ofstream("nomesh.dat") << "FILENAME=data\\meshes\\absent.3ds\nEOF\n";
    expectHas(inspect("nomesh.dat", 1), {"\"loadedCompletely\": false", "multimedia error: cannot open 3ds-file"});
}

TEST(Inspect, TextureListEntries) {
    TempShowFolder folder;
    EXPECT_TRUE(has(inspect("data/script/texture.dat", 0), "\"index\": 35"));
    std::ofstream("texture.dat") << "data\\textures\\absent.bmp\n";
    EXPECT_TRUE(has(inspect("texture.dat", 1), "Unable to open data\\\\textures\\\\absent.bmp"));
}

TEST(Inspect, JsonEscapesHostileText) {
    EXPECT_EQ(JsonWriter::escape("a\"b\\c\n\x01\xff"), "a\\\"b\\\\c\\n\\u0001\\u00ff");
}

}  // namespace
