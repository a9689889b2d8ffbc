// The generated data folder: the generator run twice writes the same bytes,
// and the soundtrack is a full-length stereo MP3. What the scenes hold, the
// texture indices and every picture decoding are the data check's business
// (tools/data_check_test); how the art looks is held by the golden frames.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "support/scratch_folder.h"

namespace fs = std::filesystem;

namespace {

std::string readAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::map<std::string, std::string> folderContents(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file()) files[fs::relative(e.path(), root).generic_string()] = readAll(e.path());
    return files;
}

}  // namespace

TEST(GeneratedData, TwoRunsWriteTheSameBytes) {
    const ScratchFolder folder("orbelune-content-");
    const fs::path& base = folder.root();
    for (const char* run : {"a", "b"}) {
        const std::string cmd = std::string("\"") + CONTENT_TOOL + "\" \"" + (base / run).string() + "\"";
        ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    }
    const auto a = folderContents(base / "a");
    const auto b = folderContents(base / "b");
    ASSERT_GT(a.size(), 50u);
    ASSERT_EQ(a.size(), b.size());
    for (const auto& [name, bytes] : a) {
        ASSERT_TRUE(b.count(name)) << name;
        EXPECT_TRUE(bytes == b.at(name)) << name << " differs between runs";
    }
    // The build's own folder came from the same generator.
    EXPECT_EQ(folderContents(fs::path(CONTENT_DATA_PARENT) / "data").size(), a.size());
}

// The soundtrack is a full-length 44.1 kHz stereo MP3.
TEST(GeneratedData, SoundtrackIsAFullLengthStereoMp3) {
    const std::string b = readAll(fs::path(CONTENT_DATA_PARENT) / "data/music/drabelfinal.mp3");
    ASSERT_GT(b.size(), 4u);
    // Walk the MPEG-1 Layer III frames.
    static const int kBitrates[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
    size_t pos = 0;
    int frames = 0;
    while (pos + 4 <= b.size()) {
        const auto h0 = static_cast<uint8_t>(b[pos]), h1 = static_cast<uint8_t>(b[pos + 1]),
                   h2 = static_cast<uint8_t>(b[pos + 2]), h3 = static_cast<uint8_t>(b[pos + 3]);
        ASSERT_EQ(h0, 0xFF) << "frame " << frames;
        ASSERT_EQ(h1 & 0xFE, 0xFA) << "MPEG-1 layer III";
        ASSERT_EQ((h2 >> 2) & 3, 0) << "44.1 kHz";
        ASSERT_NE(h3 >> 6, 3) << "stereo";
        const int kbps = kBitrates[h2 >> 4];
        ASSERT_GT(kbps, 0);
        pos += static_cast<size_t>(144 * kbps * 1000 / 44100 + ((h2 >> 1) & 1));
        ++frames;
    }
    EXPECT_EQ(pos, b.size());
    EXPECT_GE(frames * 1152.0 / 44100.0, 231.0);
    EXPECT_LT(frames * 1152.0 / 44100.0, 232.0);
}
