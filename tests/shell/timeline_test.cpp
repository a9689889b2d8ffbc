// The timeline machine without GL, stepped as the frame loop steps it: the
// title's strict thresholds and the order of its fades, bursts at the exact
// last-burst clock, what a section does a frame late (the star drift, the
// orbit camera), entries run for sections passed over, and absent content.
// The sections on the real frame loop are frame_test's; the paths
// themselves, the shared random sequence and that drawing changes nothing
// the show carries are held by the golden frames and the capture's
// exact-seek comparison.
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

struct Stepper {
    std::unique_ptr<Show> show = std::make_unique<Show>();
    Timeline timeline{*show};
    const TimelineState& st = timeline.state();

    void frame(float c) {
        ASSERT_TRUE(timeline.enter(c));
        timeline.step(c);
        timeline.finish(true);
    }
};

}  // namespace

TEST(TitleLoop, PhasesStepOnStrictThresholdsAndThePictureLagsAFrame) {
    Stepper run;
    run.frame(0.0f);
    run.frame(115.0f);
    EXPECT_EQ(run.st.titlePhase, 0);  // not above 115 yet
    EXPECT_EQ(run.st.titleAlpha, 0.0f);
    run.frame(115.5f);
    EXPECT_EQ(run.st.titlePhase, 1);
    EXPECT_EQ(run.st.sceneStart, 115);
    float last = 0.0f;
    for (float c = 116.0f; c <= 170.0f; c += 0.5f) {
        SCOPED_TRACE(c);
        const float before = run.st.titleAlpha;
        run.frame(c);
        EXPECT_EQ(run.st.titlePictureAlpha, before);  // the picture shows the frame before's fade
        EXPECT_GE(run.st.titleAlpha, last);
        EXPECT_LE(run.st.titleAlpha, 1.0f);
        last = run.st.titleAlpha;
    }
    EXPECT_EQ(run.st.titlePhase, 1);  // 170 itself is not above 170
    EXPECT_EQ(run.st.titleAlpha, 1.0f);
    EXPECT_EQ(run.st.flashAlpha, 0.0f);

    run.frame(170.25f);
    EXPECT_EQ(run.st.titlePhase, 2);
    EXPECT_EQ(run.st.sceneStart, 170);
    EXPECT_GT(run.st.flashAlpha, 0.0f);  // drawn in this very frame
    EXPECT_LT(run.st.titleAlpha, 1.0f);
    float flash = run.st.flashAlpha;
    for (float c = 171.0f; c < 205.0f; c += 1.0f) {
        run.frame(c);
        EXPECT_GT(run.st.flashAlpha, flash);
        EXPECT_LE(run.st.flashAlpha, 1.0f);
        EXPECT_GE(run.st.titleAlpha, 0.0f);
        flash = run.st.flashAlpha;
    }
    EXPECT_EQ(run.st.titleAlpha, 0.0f);  // gone well before the end, and kept at 0

    // One frame above both thresholds takes both steps at once.
    Stepper late;
    late.frame(180.75f);
    EXPECT_EQ(late.st.titlePhase, 2);
    EXPECT_EQ(late.st.sceneStart, 180);
    EXPECT_GT(late.st.flashAlpha, 0.0f);
}

TEST(Bursts, AFrameAtExactlyTheLastBurstEmitsNothing) {
    Stepper run;
    run.frame(900.0f);  // the sparks; 900 differs from the last burst, 0
    EXPECT_EQ(aliveCount(run.show->sparkSystem), 5);
    EXPECT_EQ(run.st.lastBurst, 900);
    run.frame(900.0f);
    EXPECT_EQ(aliveCount(run.show->sparkSystem), 5);
    run.frame(900.5f);  // same whole unit, but not equal
    EXPECT_EQ(aliveCount(run.show->sparkSystem), 10);
    EXPECT_EQ(run.st.lastBurst, 900);
    // Only the emitting frames drew from the sequence: 2 x 15 draws.
    ShowRandom expected;
    for (int i = 0; i < 30; ++i) expected.next();
    EXPECT_EQ(run.timeline.random().next(), expected.next());

    run.frame(1700.0f);  // the fountain
    EXPECT_EQ(aliveCount(run.show->fountainSystem), 5);
    run.frame(1700.0f);
    EXPECT_EQ(aliveCount(run.show->fountainSystem), 5);
    run.frame(1700.25f);
    EXPECT_EQ(aliveCount(run.show->fountainSystem), 10);
}

// A spark shown for the last time (its size below zero) gives up its slot
// only once that frame is over: the next frame of the section frees it.
TEST(Bursts, ASparkIsDrawnOnceMoreAfterItsSizeFallsBelowZero) {
    Stepper run;
    run.frame(900.0f);
    run.frame(941.0f);  // 41 units on, 1 - 41 x 0.025 < 0: still alive, drawn mirrored
    EXPECT_EQ(aliveCount(run.show->sparkSystem), 10);
    run.frame(941.5f);
    EXPECT_EQ(aliveCount(run.show->sparkSystem), 10);  // the first five freed, five new
}

// Each frame shows the star field as the section's earlier frames left it;
// a star that passes the camera goes to the far end.
TEST(StarLoop, DriftComesAFrameLateAndWrapsToTheFarEnd) {
    Stepper run;
    run.show->dustField.particles[0].position.z = 0.05f;
    run.show->dustField.particles[1].position.z = 10.0f;
    run.frame(1900.0f);
    EXPECT_EQ(run.show->dustField.particles[0].position.z, 0.05f);
    run.frame(1901.0f);
    EXPECT_FLOAT_EQ(run.show->dustField.particles[0].position.z, f(f(0.05f - 0.07) + 50.0));
    EXPECT_FLOAT_EQ(run.show->dustField.particles[1].position.z, f(10.0f - 0.07));
}

// The orbit's first frame shows the script's camera; each later one the
// camera written with the clock of the frame before it.
TEST(OrbitLoop, TheCameraLagsOneFrame) {
    Stepper run;
    run.show->scene6.cameraPosition.setVec3(1.0f, 2.0f, 3.0f, 0.0f);
    run.frame(1100.0f);
    EXPECT_EQ(run.show->scene6.cameraPosition.x, 1.0f);
    run.frame(1110.0f);
    const Vec3 atFirst = run.show->scene6.cameraPosition;
    EXPECT_NE(atFirst.x, 1.0f);
    run.frame(1120.0f);
    EXPECT_NE(run.show->scene6.cameraPosition.x, atFirst.x);
    Stepper other;  // the camera of 1110 is what 1100 wrote
    other.frame(1050.0f);
    other.frame(1100.0f);
    other.frame(1200.0f);
    EXPECT_EQ(other.show->scene6.cameraPosition.x, atFirst.x);
}

// Sections passed over still run their entries: from the title straight to
// the fountain, scene8 takes the fountain's pictures and the sway starts
// from the title's alpha.
TEST(Entries, RunForEverySectionPassedOver) {
    Stepper run;
    for (int i = 0; i < 19; ++i) run.show->scene8.addObject();
    run.frame(150.0f);  // the title, fading in
    run.frame(160.0f);
    const float titleAlpha = run.st.titleAlpha;
    ASSERT_GT(titleAlpha, 0.0f);
    run.frame(1600.0f);
    EXPECT_EQ(run.st.cameraSway, titleAlpha);
    EXPECT_FALSE(run.show->scene8.objects[17]->visible);
    EXPECT_EQ(run.show->scene8.objects[0]->textureId, 13);
    EXPECT_EQ(run.show->scene8.objects[1]->textureId, 15);
    EXPECT_EQ(run.show->scene8.objects[2]->textureId, 14);
    EXPECT_EQ(run.show->scene8.objects[18]->textureId, 13);
}

// Writes to absent lights, magnets and objects are skipped: frame_test plays
// every section of an empty show. What it never meets: an object without a
// ring table, and a part-filled scene8 where the writes that fit still happen.
TEST(MissingContent, AnObjectWithoutRingsAndAPartFilledFountainScene) {
    Stepper run;
    run.show->scene10.addObject();
    for (int i = 0; i < 5; ++i) run.show->scene8.addObject();
    run.frame(1400.0f);
    EXPECT_EQ(run.show->scene10.objects[0]->ringTable.size(), 0u);
    run.frame(1600.0f);
    EXPECT_EQ(run.show->scene8.objects[0]->textureId, 13);
    EXPECT_EQ(run.show->scene8.objects[4]->textureId, 14);
}
