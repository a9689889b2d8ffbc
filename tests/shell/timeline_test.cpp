// The timeline machine without GL: the title's strict thresholds, bursts at
// the exact last-burst clock, the star wrap and absent content. The sections
// on the real frame skeleton are frame_test's; camera, light, magnet and star
// paths, the shared random sequence and that drawing changes nothing the show
// carries are held by the golden frames and the capture's exact-seek
// comparison.
#include <gtest/gtest.h>

#include <memory>

#include "shell/timeline.h"

namespace {

float f(double v) { return static_cast<float>(v); }

int aliveCount(const ParticleSystem& system) {
    int n = 0;
    for (const Particle& p : system.particles) n += p.alive;
    return n;
}

}  // namespace

TEST(TitleLoop, PhasesStepOnStrictThresholds) {
    struct Step {
        float clock;
        int phase, sceneStart;
        double shake, flash;
    };
    const Step steps[] = {
        {115.0f, 0, 0, 0, 0},
        {115.5f, 1, 115, 0.5 * 0.02, 0},
        {160.25f, 1, 115, 45.25 * 0.02, 0},
        {170.0f, 1, 115, 1, 0},  // capped at 1, still fading in
        {170.25f, 2, 170, 1 - 0.25 * 0.11, 0.25 * 0.025},
        {185.0f, 2, 170, 0, 15 * 0.025},  // the title has gone; its alpha stays at 0
    };
    TimelineState st;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.clock);
        settleTitlePhase(s.clock, st);
        EXPECT_EQ(st.titlePhase, s.phase);
        EXPECT_EQ(st.sceneStart, s.sceneStart);
        EXPECT_FLOAT_EQ(st.titleAlpha, f(s.shake));
        EXPECT_FLOAT_EQ(st.flashAlpha, f(s.flash));
    }
    // One frame above both thresholds takes both steps.
    TimelineState late;
    late.titleAlpha = 0.3f;
    settleTitlePhase(180.75f, late);
    EXPECT_EQ(late.titlePhase, 2);
    EXPECT_EQ(late.sceneStart, 180);
    EXPECT_FLOAT_EQ(late.flashAlpha, f(0.75 * 0.025));
    EXPECT_FLOAT_EQ(late.titleAlpha, f(1 - 0.75 * 0.11));
}

TEST(Bursts, AFrameAtExactlyTheLastBurstEmitsNothing) {
    auto show = std::make_unique<Show>();
    TimelineState st;
    ShowRandom random;
    animateSparks(900.0f, st, *show, random);  // 900 differs from 0
    EXPECT_EQ(aliveCount(show->sparkSystem), 5);
    EXPECT_EQ(st.lastBurst, 900);
    animateSparks(900.0f, st, *show, random);
    EXPECT_EQ(aliveCount(show->sparkSystem), 5);
    animateSparks(900.5f, st, *show, random);  // same whole unit, but not equal
    EXPECT_EQ(aliveCount(show->sparkSystem), 10);
    EXPECT_EQ(st.lastBurst, 900);
    // Only the emitting frames drew from the sequence: 2 x 15 draws.
    ShowRandom expected;
    for (int i = 0; i < 30; ++i) expected.next();
    EXPECT_EQ(random.next(), expected.next());

    // The fountain shares lastBurst.
    st.lastBurst = 1700;
    animateFountain(1700.0f, st, *show, random);
    EXPECT_EQ(aliveCount(show->fountainSystem), 0);
    animateFountain(1700.25f, st, *show, random);
    EXPECT_EQ(aliveCount(show->fountainSystem), 5);
}

// The fall below zero wraps to the far end (the drift itself: the golden frames).
TEST(StarLoop, DriftBelowZeroWrapsToTheFarEnd) {
    ParticleSystem dust(2);
    dust.particles[0].position.z = 0.05f;
    driftStars(dust);
    EXPECT_FLOAT_EQ(dust.particles[0].position.z, f(f(0.05f - 0.07) + 50.0));
    EXPECT_FLOAT_EQ(dust.particles[1].position.z, f(f(-0.07) + 50.0));
}

// Writes to absent lights, magnets and objects are skipped: frame_test plays
// every section of an empty show. What it never meets: an object without a
// ring table, and a part-filled scene8 where the writes that fit still happen.
TEST(MissingContent, AnObjectWithoutRingsAndAPartFilledFountainScene) {
    auto show = std::make_unique<Show>();
    show->scene10.addObject();
    animateMagnets(1400.0f, 7, *show);
    EXPECT_EQ(show->scene10.objects[0]->ringTable.size(), 0u);
    for (int i = 0; i < 5; ++i) show->scene8.addObject();
    TimelineState st;
    prepareFountain(st, show->scene8);
    EXPECT_EQ(show->scene8.objects[0]->textureId, 13);
    EXPECT_EQ(show->scene8.objects[4]->textureId, 14);
}
