// Golden frames: one moment of each section of the bundled show, rendered by
// the capture path at 320 x 240 and compared with the reference pictures in
// tests/golden within a small per-pixel tolerance (software rasterisers may
// round a few pixels differently on other CPUs). tools/golden-frames
// regenerates the references on purpose.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tools/golden_moments.h"

namespace {

TEST(GoldenFrames, EverySectionMatchesItsReference) {
    std::vector<GoldenMoment> list = goldenMoments(ORBELUNE_SOURCE_DIR);
    ASSERT_EQ(list.size(), 9u);
    for (const GoldenMoment& m : list) {
        SCOPED_TRACE("section " + std::to_string(m.section) + " at " + m.seconds + " s");
        PngPicture got, want;
        ASSERT_TRUE(renderGoldenMoment(ORBELUNE_SOURCE_DIR, ORBELUNE_PROGRAM, ORBELUNE_DATA_DIR, m, got, want));
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
