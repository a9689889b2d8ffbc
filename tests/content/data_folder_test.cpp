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

// The soundtrack is a full-length 44.1 kHz stereo MP3 that ffprobe (which
// the capture tests use too) reads to its end without an error.
TEST(GeneratedData, SoundtrackIsAFullLengthStereoMp3) {
    if (std::system("command -v ffprobe > /dev/null") != 0) GTEST_SKIP() << "ffprobe is not installed";
    const ScratchFolder folder("orbelune-mp3-");
    const fs::path mp3 = fs::path(CONTENT_DATA_PARENT) / "data/music/drabelfinal.mp3", out = folder.root() / "probe";
    const std::string command = "ffprobe -v error -count_frames -show_entries stream=codec_name,sample_rate,channels,"
                                "nb_read_frames -of csv=p=0 '" + mp3.string() + "' > '" + out.string() + "' 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << readAll(out);
    const std::string probe = readAll(out);
    ASSERT_EQ(probe.rfind("mp3,44100,2,", 0), 0u) << probe;
    const double seconds = std::stoi(probe.substr(12)) * 1152.0 / 44100.0;
    EXPECT_GE(seconds, 231.0);
    EXPECT_LT(seconds, 232.0);
}
