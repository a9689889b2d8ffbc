// The GL 1.1 layer against Mesa's fixed function: each draw of draws.cpp
// runs through Mesa's GL 1.1 (compatibility context) and through the layer
// (an ES 2 context of the same Mesa), and the two pictures must agree
// within 1 % RMSE with almost every pixel within a few levels. Queries
// (matrices from the stacks and GLU, current colour, enables), the errors
// raised by calls GL refuses, gluScaleImage's bytes and glReadPixels with
// row padding are compared value by value.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>

#include "support/gl_context.h"
#include "tests/gl11/draws.h"

extern "C" {
void gl11Attach(void);
void gl11Detach(void);
}

namespace {

// Runs `work` with a fresh context of the kind (the layer attached to an
// ES one) and gives what it returns.
template <typename Work>
auto withContext(TestGlApi api, Work work) {
    TestGlContext gl(kDrawWidth, kDrawHeight, api);
    EXPECT_TRUE(gl.ok());
    if (api == TestGlApi::es2) gl11Attach();
    auto result = work();
    if (api == TestGlApi::es2) gl11Detach();
    return result;
}

std::vector<uint8_t> pictureOf(TestGlApi api, const NamedDraw& draw) {
    return withContext(api, [&] {
        draw.draw();
        return api == TestGlApi::es2 ? layer::readRgb(0, 0, kDrawWidth, kDrawHeight, 1)
                                     : mesa::readRgb(0, 0, kDrawWidth, kDrawHeight, 1);
    });
}

class LayerDraw : public testing::TestWithParam<size_t> {};

TEST_P(LayerDraw, LooksLikeMesa) {
    const NamedDraw& m = mesa::draws[GetParam()];
    const NamedDraw& l = layer::draws[GetParam()];
    ASSERT_STREQ(m.name, l.name);
    const std::vector<uint8_t> want = pictureOf(TestGlApi::compatibility, m);
    const std::vector<uint8_t> got = pictureOf(TestGlApi::es2, l);
    ASSERT_EQ(want.size(), got.size());
    double squares = 0;
    size_t off = 0, drawn = 0;
    for (size_t i = 0; i < want.size(); i += 3) {
        int worst = 0;
        for (size_t c = 0; c < 3; ++c) {
            const int d = int(want[i + c]) - int(got[i + c]);
            squares += d * d;
            worst = std::max(worst, std::abs(d));
        }
        off += worst > 8;
        drawn += want[i] != want[0] || want[i + 1] != want[1] || want[i + 2] != want[2];
    }
    const size_t pixels = want.size() / 3;
    const double rmse = std::sqrt(squares / static_cast<double>(want.size())) / 255.0;
    std::printf("%s: RMSE %.3f %%, %zu of %zu pixels off by more than 8 levels\n", m.name, 100 * rmse, off, pixels);
    EXPECT_GT(drawn, pixels / 10) << "the draw should cover a good part of the picture";
    EXPECT_LT(rmse, 0.01);
    EXPECT_LE(off, pixels / 200);
}

INSTANTIATE_TEST_SUITE_P(Draws, LayerDraw, testing::Range<size_t>(0, mesa::draws.size()),
                         [](const testing::TestParamInfo<size_t>& info) {
                             return std::string(mesa::draws[info.param].name);
                         });

TEST(LayerQueries, MatricesColourAndEnablesAreMesas) {
    const std::vector<float> want = withContext(TestGlApi::compatibility, mesa::matrixQueries);
    const std::vector<float> got = withContext(TestGlApi::es2, layer::matrixQueries);
    ASSERT_EQ(want.size(), got.size());
    for (size_t i = 0; i < want.size(); ++i)
        EXPECT_NEAR(got[i], want[i], 1e-5f * std::max(1.0f, std::fabs(want[i]))) << "value " << i;
}

TEST(LayerQueries, RefusedCallsRaiseMesasErrors) {
    const std::vector<unsigned> want = withContext(TestGlApi::compatibility, mesa::errorsOfBadCalls);
    const std::vector<unsigned> got = withContext(TestGlApi::es2, layer::errorsOfBadCalls);
    EXPECT_EQ(got, want);
}

TEST(LayerQueries, ScaledImagesAreGlusBytes) {
    const int sizes[][4] = {{48, 40, 64, 32}, {100, 30, 64, 32}, {20, 12, 32, 16}, {64, 64, 32, 32}, {7, 5, 8, 4}};
    for (const auto& s : sizes) {
        SCOPED_TRACE(std::to_string(s[0]) + "x" + std::to_string(s[1]) + " to " + std::to_string(s[2]) + "x" +
                     std::to_string(s[3]));
        const auto want = withContext(TestGlApi::compatibility, [&] { return mesa::scaledImage(s[0], s[1], s[2], s[3]); });
        const auto got = withContext(TestGlApi::es2, [&] { return layer::scaledImage(s[0], s[1], s[2], s[3]); });
        EXPECT_EQ(got, want);
    }
}

TEST(LayerQueries, ReadPixelsPadsRowsAsMesaDoes) {
    const NamedDraw& m = mesa::draws[0];
    const NamedDraw& l = layer::draws[0];
    for (int alignment : {1, 2, 4, 8}) {
        SCOPED_TRACE("pack alignment " + std::to_string(alignment));
        auto want = withContext(TestGlApi::compatibility, [&] {
            m.draw();
            return mesa::readRgb(70, 50, 7, 3, alignment);
        });
        auto got = withContext(TestGlApi::es2, [&] {
            l.draw();
            return layer::readRgb(70, 50, 7, 3, alignment);
        });
        ASSERT_EQ(got.size(), want.size());
        for (size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], want[i], 8) << "byte " << i;
    }
}

}  // namespace
