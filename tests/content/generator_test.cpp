// The content generator's pieces: the bitmap font, the script number format
// and the soundtrack's levels at its section changes. The meshes, pictures
// and lettering show in the golden frames; byte-identical reruns and the MP3
// framing are checked in data_folder_test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "content/font.h"
#include "content/music.h"
#include "content/scenes.h"
#include "content/textures.h"
#include "shell/schedule.h"

using namespace content;

// Every overlay picture is lettered, including those no golden frame shows.
TEST(ContentFont, LettersEveryOverlayText) {
    for (const OverlayText& t : overlayTexts())
        for (const std::string& line : t.lines)
            for (char c : line) EXPECT_TRUE(hasGlyph(c)) << "no glyph for '" << c << "' in picture " << t.index;
}

TEST(ContentScripts, NumbersAreShortAndReadBackExactly) {
    const std::pair<float, const char*> cases[] = {
        {0.5f, "0.5"}, {12.0f, "12"}, {-0.0001f, "-0.0001"}, {-0.00001f, "0"}, {-6.5f, "-6.5"}, {1.0f / 3.0f, "0.3333"}};
    for (const auto& [value, text] : cases) EXPECT_EQ(formatNumber(value), text);
}

// Levels of the mix: below full scale everywhere, no silent stretch where
// music should play, and a fade to silence at the very end.
TEST(ContentMusic, SectionsChangeAtTheSceneChangesWithSoundLevels) {
    // The music changes where the show's sections change.
    const std::vector<double>& want = sectionBoundaries();
    ASSERT_EQ(want.size(), kSectionCount + 1);
    for (size_t i = 0; i <= kSectionCount; ++i)
        EXPECT_NEAR(want[i], (i < kSectionCount ? sectionStart(i) : kShowEnd) / 10.0, 1e-4) << i;

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
