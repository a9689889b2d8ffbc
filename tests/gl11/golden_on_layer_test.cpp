// The whole show drawn through the GL 1.1 layer (the program built on it,
// on Mesa's ES 2) at every golden moment: each frame within 1 % RMSE of the
// golden frame the system's GL drew.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "tools/golden_moments.h"

namespace {

TEST(GoldenOnLayer, EverySectionWithinOnePercentRmse) {
    const std::vector<GoldenMoment> list = goldenMoments(ORBELUNE_SOURCE_DIR);
    ASSERT_EQ(list.size(), 9u);
    for (const GoldenMoment& m : list) {
        SCOPED_TRACE("section " + std::to_string(m.section) + " at " + m.seconds + " s");
        PngPicture got, want;
        ASSERT_TRUE(renderGoldenMoment(ORBELUNE_SOURCE_DIR, ORBELUNE_PROGRAM_ON_GL11, ORBELUNE_DATA_DIR, m, got, want));
        ASSERT_EQ(got.rgb.size(), want.rgb.size());
        double squares = 0;
        for (size_t i = 0; i < got.rgb.size(); ++i) {
            const double d = double(got.rgb[i]) - double(want.rgb[i]);
            squares += d * d;
        }
        const double rmse = std::sqrt(squares / static_cast<double>(got.rgb.size())) / 255.0;
        std::printf("section %d at %s s: RMSE %.3f %%\n", m.section, m.seconds.c_str(), 100 * rmse);
        EXPECT_LT(rmse, 0.01);
    }
}

}  // namespace
