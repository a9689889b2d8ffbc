// The show's animation steps: the title and credit fades at their thresholds,
// the particle bursts, the magnets and the star drift (camera, light and
// magnet paths are held by the golden frames of each section).
// Then the nine loops on the real frame skeleton with a scripted clock and
// scripted keys: Escape and held Escape (a close request is frame_test's).
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

#include "scripted_frames.h"
#include "shell/timeline.h"

namespace {

float f(double v) { return static_cast<float>(v); }

void addLights(Scene& scene, int count) {
    for (int i = 0; i < count; ++i)
        scene.addOmniLight(1, 2, 3, 4, Color4{}, Color4{}, Color4{}, i, 5.0f);
}

// A show holding every light, magnet and object the timeline writes.
std::unique_ptr<Show> fullShow() {
    auto show = std::make_unique<Show>();
    addLights(show->scene3, 2);
    addLights(show->scene2, 2);
    addLights(show->scene, 1);
    addLights(show->scene6, 1);
    show->scene5.addObject();
    show->scene5.addObject();
    show->scene5.addMagnet(0, 0, 0, 1);
    show->scene5.addMagnet(0, 0, 0, 1);
    SceneObject& swirl = show->scene10.addObject();
    swirl.ringTable.assign(4, Vec3{});
    swirl.ringTable[1].z = 0.5f;
    for (int i = 0; i < 19; ++i) show->scene8.addObject().textureId = 99;
    return show;
}

int aliveCount(const ParticleSystem& system) {
    int n = 0;
    for (const Particle& p : system.particles) n += p.alive;
    return n;
}

// The draw that follows the first `draws` of the shared sequence.
int randAfter(int draws) {
    resetShowRand();
    for (int i = 0; i < draws; ++i) showRand();
    return showRand();
}

}  // namespace

TEST(ShowRand, FollowsTheFixedSequenceFromStateOne) {
    resetShowRand();
    for (int want : {41, 18467, 6334, 26500, 19169}) EXPECT_EQ(showRand(), want);
}

TEST(DustField, ThousandStarsFromThreeDrawsEach) {
    auto show = std::make_unique<Show>();
    resetParticles(show->dustField);
    resetShowRand();
    fillDustField(*show);
    ASSERT_EQ(aliveCount(show->dustField), 1000);
    // Exactly 3000 draws were taken (where the stars lie: the golden frames).
    const int next = showRand();
    EXPECT_EQ(next, randAfter(3000));
}

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
        {185.0f, 2, 170, 0, 15 * 0.025},  // the title has gone; shake stays at 0
    };
    TimelineState st;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.clock);
        settleTitlePhase(s.clock, st);
        EXPECT_EQ(st.phase, s.phase);
        EXPECT_EQ(st.sceneStart, s.sceneStart);
        EXPECT_FLOAT_EQ(st.shake, f(s.shake));
        EXPECT_FLOAT_EQ(st.flashAlpha, f(s.flash));
    }
    // One frame above both thresholds takes both steps.
    TimelineState late;
    late.shake = 0.3f;
    settleTitlePhase(180.75f, late);
    EXPECT_EQ(late.phase, 2);
    EXPECT_EQ(late.sceneStart, 180);
    EXPECT_FLOAT_EQ(late.flashAlpha, f(0.75 * 0.025));
    EXPECT_FLOAT_EQ(late.shake, f(1 - 0.75 * 0.11));
}

TEST(EndingLoop, FlashFallsThenRisesPastOne) {
    TimelineState st;
    st.sceneStart = 2178;
    for (auto [c, want] : {std::pair{2190.0f, 1 - 12 * 0.05}, {2260.0f, 1 - 82 * 0.05}, {2272.5f, 1.0},
                           {2300.0f, 40 * 0.08}}) {
        settleEnding(c, st);
        EXPECT_FLOAT_EQ(st.flashAlpha, f(want)) << c;
    }
}

TEST(CreditsLoop, AlphasAtTheirBoundaries) {
    TimelineState st;
    st.sceneStart = 205;
    for (float& a : st.creditAlpha) a = 9.0f;
    settleCredits(210.0f, st);  // no rule yet: untouched
    EXPECT_TRUE(st.creditAlpha[0] == 9.0f && st.creditAlpha[2] == 9.0f);
    EXPECT_FLOAT_EQ(st.flashAlpha, f(1 - 5 * 0.05));

    const struct {
        float clock;
        double a0, a1, a2;
    } steps[] = {
        {210.5f, 0.5 * 0.045, 0, 0},
        {270.0f, 60 * 0.045, -1, -1},  // not clamped
        {300.0f, 1 - 30 * 0.065, 30 * 0.065, 0},
        {336.0f, 1 - 66 * 0.065, -1, -1},
        {405.0f, 0, 1 - 69 * 0.065, 69 * 0.065},
        {430.0f, -1, 0, 1 - 25 * 0.045},
    };
    for (const auto& s : steps) {  // -1: not checked at that time
        SCOPED_TRACE(s.clock);
        settleCredits(s.clock, st);
        const double want[3] = {s.a0, s.a1, s.a2};
        for (int k = 0; k < 3; ++k) {
            if (want[k] >= 0) {
                EXPECT_FLOAT_EQ(st.creditAlpha[k], f(want[k])) << k;
            }
        }
    }
    settleCredits(453.0f, st);
    EXPECT_FLOAT_EQ(st.flashAlpha, f(1 - 248 * 0.05));
    settleCredits(460.0f, st);
    EXPECT_FLOAT_EQ(st.flashAlpha, f(7 * 0.1));
}
TEST(FlightLoop, CreditsFadeAndKeepSliding) {
    TimelineState st;
    st.sceneStart = 463;
    settleFlight(500.0f, st);
    for (int k = 0; k < 5; ++k) EXPECT_TRUE(st.creditAlpha[k] == 0.0f && st.creditOffset[k] == 0.0f) << k;
    settleFlight(510.0f, st);
    EXPECT_FLOAT_EQ(st.creditAlpha[0], f(10 * 0.07));
    EXPECT_FLOAT_EQ(st.creditOffset[0], -2.0f);

    settleFlight(615.0f, st);  // 615 itself: third fading in, fourth not yet
    EXPECT_FLOAT_EQ(st.creditAlpha[2], f(20 * 0.07));
    EXPECT_EQ(st.creditAlpha[3], 0.0f);

    settleFlight(740.0f, st);  // faded out past zero, still sliding
    EXPECT_FLOAT_EQ(st.creditAlpha[4], f(1 - 65 * 0.07));
    EXPECT_FLOAT_EQ(st.flashAlpha, f(12 * 0.2));
    EXPECT_FLOAT_EQ(st.creditOffset[0], f(-240 * 0.2));
}

TEST(SparkLoop, BurstsRideTheLight) {
    auto show = fullShow();
    TimelineState st;
    timelineFrames = 10;
    const float c = 800.3f;
    const double cd = c;
    resetShowRand();
    animateSparks(c, st, *show);
    EXPECT_EQ(timelineFrames, 11);
    const Vec3& light = show->scene.omniLights[0].position;

    // Five sparks from the emitter, velocities from the shared sequence.
    ASSERT_EQ(aliveCount(show->sparkSystem), 5);
    EXPECT_EQ(st.lastBurst, 800);
    resetShowRand();
    for (int i = 0; i < 5; ++i) {
        const Particle& p = show->sparkSystem.particles[static_cast<size_t>(i)];
        for (float v : {p.velocity.x, p.velocity.y, p.velocity.z})
            EXPECT_FLOAT_EQ(v, f((showRand() % 200 - 100) * 0.01));
        EXPECT_FLOAT_EQ(p.position.x, light.x);
        EXPECT_FLOAT_EQ(p.position.z, light.z);
        EXPECT_EQ(p.birthTime, c);
    }

    st.sceneStart = 790;
    settleSparks(c, st);
    EXPECT_FLOAT_EQ(st.flashAlpha, f(1 - (cd - 790) * 0.1));
    EXPECT_FLOAT_EQ(st.shake, f(1 - (cd - 790) * 0.1 + 1));
    settleSparks(900.0f, st);
    EXPECT_EQ(st.shake, 0.0f);
}

TEST(Bursts, AFrameAtExactlyTheLastBurstEmitsNothing) {
    auto show = fullShow();
    TimelineState st;
    resetShowRand();
    animateSparks(900.0f, st, *show);  // 900 differs from 0
    EXPECT_EQ(aliveCount(show->sparkSystem), 5);
    EXPECT_EQ(st.lastBurst, 900);
    animateSparks(900.0f, st, *show);
    EXPECT_EQ(aliveCount(show->sparkSystem), 5);
    animateSparks(900.5f, st, *show);  // same whole unit, but not equal
    EXPECT_EQ(aliveCount(show->sparkSystem), 10);
    EXPECT_EQ(st.lastBurst, 900);
    // Only the emitting frames drew from the sequence: 2 x 15 draws.
    const int next = showRand();
    EXPECT_EQ(next, randAfter(30));

    // The fountain shares lastBurst.
    st.lastBurst = 1700;
    animateFountain(1700.0f, st, *show);
    EXPECT_EQ(aliveCount(show->fountainSystem), 0);
    animateFountain(1700.25f, st, *show);
    ASSERT_EQ(aliveCount(show->fountainSystem), 5);
    for (int i = 0; i < 5; ++i) {
        const Particle& p = show->fountainSystem.particles[static_cast<size_t>(i)];
        EXPECT_TRUE(p.position.x == 0.0f && p.position.y == -1.5f && p.position.z == 0.0f);
        EXPECT_TRUE(p.velocity.y >= 0.0f && p.velocity.y <= 0.99f) << p.velocity.y;
    }
}

TEST(OrbitLoop, FlareClearedAndFlashFromTheLoopStart) {
    auto show = fullShow();
    TimelineState st;
    st.sceneStart = 1028;
    settleOrbit(1100.5f, st, show->scene6);
    EXPECT_EQ(show->scene6.omniLights[0].flareSize, 0.0f);
    EXPECT_FLOAT_EQ(st.flashAlpha, f(1 - 72.5 * 0.05));
}

TEST(MagnetLoop, SpinMagnetsByFrameCountAndTheInnerVortexRing) {
    auto show = fullShow();
    timelineFrames = 537;
    const double c = f(1400.3);
    animateMagnets(f(c), *show);
    animateMagnets(f(c), *show);  // spins build up; magnets follow the frame count, not the clock
    EXPECT_FLOAT_EQ(show->scene5.objects[0]->rotation.z, f(f(0.1) + 0.1));
    EXPECT_FLOAT_EQ(show->scene5.objects[1]->rotation.z, f(f(-0.1) - 0.1));
    EXPECT_FLOAT_EQ(show->scene5.magnets[0].x, f(20 * std::sin(0.01 * 537)));
    const SceneObject& swirl = *show->scene10.objects[0];
    EXPECT_EQ(swirl.ringTable[0].x, 0.0f);
    EXPECT_FLOAT_EQ(swirl.ringTable[0].z, f(0.02 * std::sin(0.2 * c)));
    EXPECT_EQ(swirl.ringTable[1].z, 0.5f);  // outer rings are the vortex's business

    TimelineState st;
    st.sceneStart = 1310;
    settleMagnets(1330.0f, st);
    EXPECT_FLOAT_EQ(st.flashAlpha, 0.0f);
}

TEST(FountainLoop, TexturesAndVisibilityBeforeTheLoop) {
    auto show = fullShow();
    TimelineState st;
    st.phase = 2;
    prepareFountain(st, show->scene8);
    EXPECT_EQ(st.phase, 0);
    const auto& objects = show->scene8.objects;
    for (int i = 0; i < 19; ++i) EXPECT_EQ(objects[static_cast<size_t>(i)]->visible, i != 17) << i;
    EXPECT_EQ(objects[17]->textureId, 99);  // the hidden one keeps its texture
}

TEST(FountainLoop, CameraChangeRestartsTheFlashOnce) {
    auto show = fullShow();
    TimelineState st;
    st.sceneStart = 1575;
    animateFountain(1707.0f, st, *show);
    EXPECT_EQ(st.phase, 0);
    EXPECT_EQ(st.sceneStart, 1575);
    const Vec3 before = show->scene8.cameraPosition;

    animateFountain(1707.75f, st, *show);
    EXPECT_EQ(st.phase, 1);
    EXPECT_EQ(st.sceneStart, 1707);
    EXPECT_FLOAT_EQ(show->scene8.cameraPosition.x, f(-6 * std::sin(0.1 * 1707.75)));  // second path
    EXPECT_NE(show->scene8.cameraPosition.x, before.x);
    settleFountain(1707.75f, st);
    EXPECT_FLOAT_EQ(st.flashAlpha, f(1 - 0.75 * 0.08));

    animateFountain(1790.0f, st, *show);
    EXPECT_EQ(st.sceneStart, 1707);
}

TEST(StarLoop, FrameCountAndTheFlashHeldBetweenZeroAndOne) {
    auto show = fullShow();
    TimelineState st;
    timelineFrames = 0;
    animateStars(1900.6f, st, show->scene4);
    EXPECT_EQ(timelineFrames, 1);

    st.sceneStart = 1840;
    settleStars(1845.0f, st, show->dustField);
    EXPECT_FLOAT_EQ(st.flashAlpha, f(1 - 5 * 0.05));
    settleStars(1900.0f, st, show->dustField);
    EXPECT_EQ(st.flashAlpha, 0.0f);
    st.sceneStart = 1900;  // clock behind the loop start: held at 1
    settleStars(1890.0f, st, show->dustField);
    EXPECT_EQ(st.flashAlpha, 1.0f);
}

TEST(StarLoop, DriftTowardTheCameraWrapsBelowZero) {
    ParticleSystem dust(3);
    dust.particles[0].position.z = 10.0f;
    dust.particles[1].position.z = 0.05f;
    dust.particles[2].position.z = 0.0f;
    TimelineState st;
    settleStars(0.0f, st, dust);
    EXPECT_FLOAT_EQ(dust.particles[0].position.z, f(10.0f - 0.07));
    EXPECT_FLOAT_EQ(dust.particles[1].position.z, f(f(0.05f - 0.07) + 50.0));
    EXPECT_FLOAT_EQ(dust.particles[2].position.z, f(f(-0.07) + 50.0));
    for (int i = 0; i < 1000; ++i) settleStars(0.0f, st, dust);
    for (const Particle& p : dust.particles) EXPECT_TRUE(p.position.z >= 0.0f && p.position.z < 50.0f);
}

TEST(MissingContent, WritesToAbsentLightsMagnetsAndObjectsAreSkipped) {
    auto show = std::make_unique<Show>();
    show->scene10.addObject();  // an object without a ring table
    TimelineState st;
    animateTitle(10.0, show->scene3);
    animateCredits(300.0f, show->scene2);
    animateSparks(900.0f, st, *show);
    settleOrbit(1100.0f, st, show->scene6);
    animateMagnets(1400.0f, *show);
    prepareFountain(st, show->scene8);
    animateFountain(1750.0f, st, *show);
    EXPECT_FLOAT_EQ(show->scene3.cameraPosition.y, f(0.16 * 10 - 7));
    EXPECT_EQ(show->scene10.objects[0]->ringTable.size(), 0u);
    EXPECT_EQ(show->scene8.objectCount(), 0);
    EXPECT_EQ(show->scene.omniCount(), 0);

    // A part-filled scene8: the writes that fit still happen.
    for (int i = 0; i < 5; ++i) show->scene8.addObject();
    prepareFountain(st, show->scene8);
    EXPECT_EQ(show->scene8.objects[0]->textureId, 13);
    EXPECT_EQ(show->scene8.objects[4]->textureId, 14);
}

// ---- The nine loops on the real frame skeleton ----------------------------------

namespace {

// Runs the whole timeline with a clock that moves 5 units (500 ms) per frame;
// `onFrame` sees the clock and the state at the start of every frame and may
// return an event for it.
class TimelineRun : public ScriptedFrames {
protected:
    void SetUp() override {
        ScriptedFrames::SetUp();
        timelineFrames = 0;
        resetParticles(show->dustField);
        resetParticles(show->sparkSystem);
        resetParticles(show->fountainSystem);
        resetShowRand();
        fillDustField(*show);
        startClock();
    }
    bool nextEvent(platform::Event& e) override {
        ++frames;
        e = onFrame(demoClock);
        now += 500;
        return e.kind != platform::EventKind::None;
    }

    std::unique_ptr<Show> show = fullShow();
    TimelineState st;
    int frames = 0;
    std::function<platform::Event(float)> onFrame;
};

}  // namespace

TEST_F(TimelineRun, EscapeInTheFlightStartsTheSparksEarlyWithTheirOwnStart) {
    float escapeAt = -1.0f, sparksFrom = -1.0f;
    int32_t flightStart = -1, sparksStart = -1, sparksStartLate = -1;
    float sparksFlash = -9.0f;
    onFrame = [&](float c) {
        if (c >= 600.0f && escapeAt < 0.0f) {  // in the flight, before 763
            escapeAt = c;
            flightStart = st.sceneStart;
            return key(platform::EventKind::KeyDown);
        }
        if (escapeAt >= 0.0f && sparksFrom < 0.0f) {  // first frame of the sparks
            sparksFrom = c;
            return key(platform::EventKind::KeyUp);
        }
        if (sparksFrom >= 0.0f && sparksStart < 0) {  // after that first frame
            sparksStart = st.sceneStart;
            sparksFlash = st.flashAlpha;
        }
        if (c >= 1020.0f && c < 1028.0f) sparksStartLate = st.sceneStart;
        return platform::Event{};
    };
    runTimeline(*show, st);

    ASSERT_GE(escapeAt, 600.0f);
    EXPECT_GE(flightStart, 463);
    EXPECT_LT(flightStart, 470);
    EXPECT_EQ(sparksFrom, escapeAt + 5.0f);  // the escaped frame still moved the clock
    EXPECT_EQ(sparksStart, wholeClock(sparksFrom));
    EXPECT_FLOAT_EQ(sparksFlash, f(1 - (static_cast<double>(sparksFrom) - sparksStart) * 0.1));
    // The sparks still run to their own end, 1028.
    EXPECT_EQ(sparksStartLate, sparksStart);
    EXPECT_GE(demoClock, 2310.0f);
    EXPECT_GT(aliveCount(show->sparkSystem), 0);
    EXPECT_GT(aliveCount(show->fountainSystem), 0);

    // The show leaves the additive blend function behind.
    GLint blend[2] = {};
    glGetIntegerv(GL_BLEND_SRC, &blend[0]);
    glGetIntegerv(GL_BLEND_DST, &blend[1]);
    EXPECT_TRUE(blend[0] == GL_SRC_ALPHA && blend[1] == GL_ONE) << blend[0] << " " << blend[1];
}

TEST_F(TimelineRun, HeldEscapeLeavesEachLoopAfterOneFrame) {
    onFrame = [&](float) { return key(platform::EventKind::KeyDown); };
    runTimeline(*show, st);
    EXPECT_EQ(frames, 9);
    // Loops 1, 7 and 9 count before the Escape test, 4 and 8 after the clear,
    // 6 only after a swap that never came.
    EXPECT_EQ(timelineFrames, 5);
}
