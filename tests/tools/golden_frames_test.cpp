// Golden frames: one moment of each section of the bundled show, rendered by
// the capture path at 320 x 240 and compared with the reference pictures in
// tests/golden within a small per-pixel tolerance (software rasterisers may
// round a few pixels differently on other CPUs). tools/golden-frames
// regenerates the references on purpose.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tools/png_read.h"

namespace fs = std::filesystem;

namespace {

struct Moment {
    int section;
    std::string seconds;
};

std::vector<Moment> moments() {
    std::vector<Moment> list;
    std::ifstream in(std::string(ORBELUNE_SOURCE_DIR) + "/tools/show-moments.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        Moment m;
        fields >> m.section >> m.seconds;
        list.push_back(m);
    }
    return list;
}

TEST(GoldenFrames, EverySectionMatchesItsReference) {
    const fs::path dataParent = fs::path(ORBELUNE_DATA_DIR).parent_path();
    const fs::path out = fs::temp_directory_path() / "orbelune-golden";
    fs::create_directories(out);
    std::vector<Moment> list = moments();
    ASSERT_EQ(list.size(), 9u);
    for (const Moment& m : list) {
        SCOPED_TRACE("section " + std::to_string(m.section) + " at " + m.seconds + " s");
        const fs::path frame = out / ("section" + std::to_string(m.section) + ".png");
        std::string command = std::string(ORBELUNE_SOURCE_DIR) + "/tools/capture-moment '" + ORBELUNE_PROGRAM +
                              "' '" + dataParent.string() + "' " + m.seconds + " 320x240 '" + frame.string() + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        PngPicture got, want;
        ASSERT_TRUE(readPng(frame.string(), got));
        ASSERT_TRUE(readPng(std::string(ORBELUNE_SOURCE_DIR) + "/tests/golden/section" + std::to_string(m.section) +
                                ".png",
                            want));
        ASSERT_EQ(got.width, want.width);
        ASSERT_EQ(got.height, want.height);
        size_t differing = 0;
        uint64_t total = 0;
        for (size_t i = 0; i < got.rgb.size(); i += 3) {
            int worst = 0;
            for (size_t c = 0; c < 3; ++c) {
                int d = std::abs(int(got.rgb[i + c]) - int(want.rgb[i + c]));
                worst = std::max(worst, d);
                total += static_cast<uint64_t>(d);
            }
            if (worst > 24) ++differing;
        }
        const size_t pixels = got.rgb.size() / 3;
        EXPECT_LE(differing, pixels / 100) << "pixels that differ by more than 24 levels";
        EXPECT_LT(static_cast<double>(total) / static_cast<double>(got.rgb.size()), 2.0) << "mean difference";
    }
}

}  // namespace
