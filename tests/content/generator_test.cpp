// The content generator's pieces: the bitmap font, the mesh generators, the
// script number format and the soundtrack's levels at its section changes.
// (Byte-identical reruns, the MP3 framing and seamless textures are checked
// on the generated folder in data_folder_test.)
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "content/font.h"
#include "content/meshes.h"
#include "content/music.h"
#include "content/picture.h"
#include "content/scenes.h"
#include "content/textures.h"

using namespace content;

TEST(ContentFont, LettersEveryOverlayTextAndKeepsTheCellSize) {
    for (const OverlayText& t : overlayTexts())
        for (const std::string& line : t.lines)
            for (char c : line) EXPECT_TRUE(hasGlyph(c)) << "no glyph for '" << c << "' in picture " << t.index;
    // Ink stays inside the cell; capitals and digits leave the descender rows empty.
    for (char c = 32; c < 127; ++c) {
        if (!hasGlyph(c)) continue;
        EXPECT_FALSE(glyphDot(c, kGlyphWidth, 0));
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
            for (int col = 0; col < kGlyphWidth; ++col)
                EXPECT_FALSE(glyphDot(c, col, 7) || glyphDot(c, col, 8)) << c;
        }
    }
    EXPECT_TRUE(glyphDot('g', 1, 8));  // a descender
    EXPECT_FALSE(glyphDot(' ', 2, 3));
}

TEST(ContentFont, DrawsCentredTextWithinThePicture) {
    Picture p(200, 40);
    TextStyle style;
    style.dotWidth = 2;
    style.dotHeight = 3;
    drawTextCentred(p, "HALO", 100, 5, style);
    int left = p.width, right = -1, top = p.height, bottom = -1;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (p.at(x, y).r > 0.5f) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    ASSERT_GE(right, 0);
    EXPECT_NEAR((left + right + 1) * 0.5, 100.0, 1.5);
    EXPECT_EQ(right - left + 1, static_cast<int>(textWidth("HALO", style)));
    EXPECT_EQ(top, 5);
    EXPECT_LE(bottom, 5 + 7 * 3);
}

namespace {

// Every face: valid corners, some area, and its normal pointing away from
// `inside(point)`, the nearest point of the shape's core.
template <typename Core>
void expectOutwardFaces(const Mesh& m, Core core, const char* what) {
    ASSERT_FALSE(m.faces.empty()) << what;
    ASSERT_EQ(m.uv.size(), m.positions.size()) << what;
    int inward = 0;
    for (const auto& f : m.faces) {
        for (uint16_t i : f) ASSERT_LT(i, m.positions.size()) << what;
        const V3 a = m.positions[f[0]], b = m.positions[f[1]], c = m.positions[f[2]];
        const V3 n = cross(b - a, c - a);
        ASSERT_GT(std::sqrt(dot(n, n)), 0.0f) << what << ": degenerate face";
        const V3 centre = (a + b + c) * (1.0f / 3.0f);
        if (dot(n, centre - core(centre)) <= 0) ++inward;
    }
    EXPECT_EQ(inward, 0) << what << ": faces wound the wrong way";
}

}  // namespace

TEST(ContentMeshes, ClosedShapesFaceOutwards) {
    expectOutwardFaces(sphere(2, 24, 12), [](V3) { return V3{}; }, "sphere");
    expectOutwardFaces(rock(1, 0.3f, 20, 12, 5), [](V3) { return V3{}; }, "rock");
    expectOutwardFaces(torus(5, 1, 48, 12), [](V3 p) {
        const float r = std::sqrt(p.x * p.x + p.z * p.z);
        return V3{p.x / r * 5, 0, p.z / r * 5};
    }, "torus");
    expectOutwardFaces(tube(24, 10, 0, 20, [](float, float) { return 3.0f; }, 1, 1), [](V3 p) { return V3{0, 0, p.z}; },
                       "tube");
    expectOutwardFaces(lathe({{0, 0}, {1, 0}, {1, 4}, {0, 4}}, 16), [](V3 p) { return V3{0, p.y * 0.999f + 0.0005f, 0}; },
                       "lathe");
    Mesh ground = terrain(8, 8, 10, 10, [](float, float) { return 0.0f; }, 1);
    expectOutwardFaces(ground, [](V3 p) { return V3{p.x, p.y - 1, p.z}; }, "terrain");
    Mesh flat = disc(0, 3, 6, 24);
    expectOutwardFaces(flat, [](V3 p) { return V3{p.x, p.y, p.z - 1}; }, "disc");
    flat.rotateX(-1.5707964f);
    expectOutwardFaces(flat, [](V3 p) { return V3{p.x, p.y - 1, p.z}; }, "disc laid flat");
}

TEST(ContentMeshes, TorusKnotTubeClosesWithoutASeam) {
    const int segments = 96, sides = 8;
    const Mesh knot = torusKnot(3, 2, 3.6f, 1.5f, 0.8f, segments, sides);
    for (int j = 0; j <= sides; ++j) {
        const V3 first = knot.positions[static_cast<size_t>(j * (segments + 1))];
        const V3 last = knot.positions[static_cast<size_t>(j * (segments + 1) + segments)];
        const V3 d = first - last;
        EXPECT_LT(std::sqrt(dot(d, d)), 1e-3f) << "ring " << j;
    }
    // The tube keeps its radius all the way round.
    const V3 p = knot.positions[static_cast<size_t>(3 * (segments + 1) + 40)];
    EXPECT_GT(std::sqrt(dot(p, p)), 0.5f);
}

TEST(ContentScripts, NumbersAreShortAndReadBackExactly) {
    EXPECT_EQ(formatNumber(0.5f), "0.5");
    EXPECT_EQ(formatNumber(12.0f), "12");
    EXPECT_EQ(formatNumber(-0.0001f), "-0.0001");
    EXPECT_EQ(formatNumber(-0.00001f), "0");
    EXPECT_EQ(formatNumber(-6.5f), "-6.5");
    EXPECT_EQ(formatNumber(1.0f / 3.0f), "0.3333");
}

// Levels of the mix: below full scale everywhere, no silent stretch where
// music should play, and a fade to silence at the very end.
TEST(ContentMusic, SectionsChangeAtTheSceneChangesWithSoundLevels) {
    // The show's scene changes, in seconds.
    const std::vector<double> want = {0, 20.5, 46.3, 76.3, 102.8, 131.0, 157.5, 184.0, 217.8, 231.0};
    ASSERT_EQ(sectionBoundaries(), want);

    const StereoAudio audio = renderSoundtrack();
    ASSERT_EQ(audio.left.size(), static_cast<size_t>(231.0 * kSampleRate));
    ASSERT_EQ(audio.right.size(), audio.left.size());
    float peak = 0;
    for (size_t i = 0; i < audio.left.size(); ++i)
        peak = std::max({peak, std::fabs(audio.left[i]), std::fabs(audio.right[i])});
    EXPECT_LE(peak, 0.9f);
    EXPECT_GE(peak, 0.85f);
    const auto rmsDb = [&](double from, double to) {
        double sum = 0;
        const size_t a = static_cast<size_t>(from * kSampleRate), b = static_cast<size_t>(to * kSampleRate);
        for (size_t i = a; i < b; ++i) sum += audio.left[i] * audio.left[i] + audio.right[i] * audio.right[i];
        return 10 * std::log10(sum / (2.0 * (b - a)) + 1e-20);
    };
    for (double t = 0.5; t < 228; t += 1.0) EXPECT_GT(rmsDb(t, t + 1), -36.0) << "quiet second at " << t;
    for (size_t i = 1; i + 1 < want.size(); ++i) {
        // Around each change: music on both sides.
        EXPECT_GT(rmsDb(want[i] - 2, want[i]), -30.0) << want[i];
        EXPECT_GT(rmsDb(want[i], want[i] + 2), -30.0) << want[i];
    }
    EXPECT_LT(rmsDb(230.9, 231.0), -60.0);
}
