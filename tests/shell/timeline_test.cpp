// The show's animation steps checked against the formulas worked out here in
// double: camera, light, magnet and object writes of each loop, the title and
// credit fades at their thresholds, the particle bursts and the star drift.
// Then the nine loops on the real frame skeleton with a scripted clock and
// scripted keys: Escape, held Escape and a close request.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>

#include "platform/platform.h"
#include "shell/frame.h"
#include "shell/music.h"
#include "shell/settings.h"
#include "shell/timeline.h"
#include "support/gl_context.h"
#include "window/gl_window.h"

namespace {

float f(double v) { return static_cast<float>(v); }

void expectVec(const Vec3& v, double x, double y, double z, double w) {
    EXPECT_FLOAT_EQ(v.x, f(x));
    EXPECT_FLOAT_EQ(v.y, f(y));
    EXPECT_FLOAT_EQ(v.z, f(z));
    EXPECT_FLOAT_EQ(v.w, f(w));
}

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

}  // namespace

TEST(ShowRand, FollowsTheFixedSequenceFromStateOne) {
    resetShowRand();
    EXPECT_EQ(showRand(), 41);
    EXPECT_EQ(showRand(), 18467);
    EXPECT_EQ(showRand(), 6334);
    EXPECT_EQ(showRand(), 26500);
    EXPECT_EQ(showRand(), 19169);
    resetShowRand();
    EXPECT_EQ(showRand(), 41);
    // The state wraps at 2^32 and the result keeps to 15 bits.
    resetShowRand(0xffffffffu);
    const uint32_t next = 0xffffffffu * 214013u + 2531011u;
    EXPECT_EQ(showRand(), static_cast<int>((next >> 16) & 0x7fff));
}

TEST(DustField, ThousandStillStarsFromThreeDrawsEach) {
    auto show = std::make_unique<Show>();
    resetParticles(show->dustField);
    resetShowRand();
    fillDustField(*show);
    ASSERT_EQ(aliveCount(show->dustField), 1000);
    // First star: draws 41, 18467, 6334 give z, then x, then y.
    const Particle& first = show->dustField.particles[0];
    EXPECT_FLOAT_EQ(first.position.z, f((41 % 500) * 0.1));
    EXPECT_FLOAT_EQ(first.position.x, f((30 - 18467 % 60) * 0.1));
    EXPECT_FLOAT_EQ(first.position.y, f((30 - 6334 % 60) * 0.1));
    for (const Particle& p : show->dustField.particles) {
        EXPECT_GE(p.position.z, 0.0f);
        EXPECT_LE(p.position.z, 49.95f);
        EXPECT_GE(p.position.x, -2.95f);
        EXPECT_LE(p.position.x, 3.05f);
        EXPECT_EQ(p.velocity.x, 0.0f);
        EXPECT_EQ(p.velocity.z, 0.0f);
        EXPECT_FLOAT_EQ(p.startSize, 0.15f);
        EXPECT_EQ(p.shrinkRate, 0.0f);
        EXPECT_EQ(p.birthTime, 0.0f);
    }
    // Exactly 3000 draws were taken.
    resetShowRand();
    for (int i = 0; i < 3000; ++i) showRand();
    const int expectedNext = showRand();
    resetShowRand();
    fillDustField(*std::make_unique<Show>());
    EXPECT_EQ(showRand(), expectedNext);
}

TEST(TitleLoop, CameraAndLightsFollowTheClock) {
    auto show = fullShow();
    for (double c : {0.0, 57.3, 204.9}) {
        animateTitle(c, show->scene3);
        expectVec(show->scene3.cameraTarget, 0, 20, 0, 0);
        expectVec(show->scene3.cameraPosition, 30, 0.16 * c - 7, 0.1 * c - 10, 0);
        expectVec(show->scene3.omniLights[0].position, 30, 10, 0, 1);
        expectVec(show->scene3.omniLights[1].position, 30, 30, 0, 1);
        EXPECT_EQ(show->scene3.omniLights[0].flareSize, 0.0f);
        EXPECT_EQ(show->scene3.omniLights[1].flareSize, 0.0f);
    }
    // The ending replays the path from its nominal start 2178.
    const float c = 2250.5f;
    animateTitle(static_cast<double>(c) - 2178.0, show->scene3);
    expectVec(show->scene3.cameraPosition, 30, 0.16 * (c - 2178.0) - 7, 0.1 * (c - 2178.0) - 10, 0);
}

TEST(TitleLoop, PhasesStepOnStrictThresholds) {
    TimelineState st;
    settleTitlePhase(115.0f, st);
    EXPECT_EQ(st.phase, 0);
    EXPECT_EQ(st.shake, 0.0f);

    settleTitlePhase(115.5f, st);
    EXPECT_EQ(st.phase, 1);
    EXPECT_EQ(st.sceneStart, 115);
    EXPECT_FLOAT_EQ(st.shake, f(0.5 * 0.02));

    settleTitlePhase(160.25f, st);
    EXPECT_EQ(st.sceneStart, 115);
    EXPECT_FLOAT_EQ(st.shake, f(45.25 * 0.02));
    settleTitlePhase(170.0f, st);  // capped at 1, still fading in
    EXPECT_EQ(st.phase, 1);
    EXPECT_EQ(st.shake, 1.0f);
    EXPECT_EQ(st.flashAlpha, 0.0f);

    settleTitlePhase(170.25f, st);
    EXPECT_EQ(st.phase, 2);
    EXPECT_EQ(st.sceneStart, 170);
    EXPECT_FLOAT_EQ(st.flashAlpha, f(0.25 * 0.025));
    EXPECT_FLOAT_EQ(st.shake, f(1 - 0.25 * 0.11));

    settleTitlePhase(185.0f, st);  // the title has gone; shake stays at 0
    EXPECT_EQ(st.sceneStart, 170);
    EXPECT_EQ(st.shake, 0.0f);
    EXPECT_FLOAT_EQ(st.flashAlpha, f(15 * 0.025));
}

TEST(TitleLoop, OneFrameAboveBothThresholdsTakesBothSteps) {
    TimelineState st;
    st.shake = 0.3f;
    settleTitlePhase(180.75f, st);
    EXPECT_EQ(st.phase, 2);
    EXPECT_EQ(st.sceneStart, 180);
    EXPECT_FLOAT_EQ(st.flashAlpha, f(0.75 * 0.025));
    EXPECT_FLOAT_EQ(st.shake, f(1 - 0.75 * 0.11));
}

TEST(EndingLoop, FlashFallsThenRisesPastOne) {
    TimelineState st;
    st.sceneStart = 2178;
    settleEnding(2190.0f, st);
    EXPECT_FLOAT_EQ(st.flashAlpha, f(1 - 12 * 0.05));
    settleEnding(2260.0f, st);
    EXPECT_FLOAT_EQ(st.flashAlpha, f(1 - 82 * 0.05));
    settleEnding(2272.5f, st);
    EXPECT_FLOAT_EQ(st.flashAlpha, 1.0f);
    settleEnding(2300.0f, st);
    EXPECT_FLOAT_EQ(st.flashAlpha, f(40 * 0.08));
}

TEST(CreditsLoop, CameraAndLights) {
    auto show = fullShow();
    for (double c : {205.0, 333.3, 462.9}) {
        animateCredits(f(c), show->scene2);
        const double cd = f(c);
        expectVec(show->scene2.cameraTarget, 4 * std::sin(0.02 * cd), 2, 6 * std::cos(0.01 * cd), 0);
        expectVec(show->scene2.cameraPosition, 15 * std::sin(0.01 * cd), 7 + std::sin(0.02 * cd),
                  -14 * std::sin(0.02 * cd), 0);
        expectVec(show->scene2.omniLights[0].position, 15 * std::sin(0.01 * cd), 10,
                  15 * std::cos(0.009 * cd), 0);
        expectVec(show->scene2.omniLights[1].position, -12 * std::sin(0.02 * cd), 10,
                  14 * std::cos(0.01 * cd), 0);
        EXPECT_EQ(show->scene2.omniLights[1].flareSize, 0.0f);
    }
}

TEST(CreditsLoop, AlphasAtTheirBoundaries) {
    TimelineState st;
    st.sceneStart = 205;
    for (float& a : st.creditAlpha) a = 9.0f;
    settleCredits(210.0f, st);  // no rule yet: untouched
    EXPECT_EQ(st.creditAlpha[0], 9.0f);
    EXPECT_EQ(st.creditAlpha[2], 9.0f);
    EXPECT_FLOAT_EQ(st.flashAlpha, f(1 - 5 * 0.05));

    settleCredits(210.5f, st);
    EXPECT_FLOAT_EQ(st.creditAlpha[0], f(0.5 * 0.045));
    EXPECT_EQ(st.creditAlpha[1], 0.0f);
    EXPECT_EQ(st.creditAlpha[2], 0.0f);

    settleCredits(270.0f, st);  // not clamped
    EXPECT_FLOAT_EQ(st.creditAlpha[0], f(60 * 0.045));

    settleCredits(300.0f, st);
    EXPECT_FLOAT_EQ(st.creditAlpha[0], f(1 - 30 * 0.065));
    EXPECT_FLOAT_EQ(st.creditAlpha[1], f(30 * 0.065));
    EXPECT_EQ(st.creditAlpha[2], 0.0f);

    settleCredits(336.0f, st);
    EXPECT_FLOAT_EQ(st.creditAlpha[0], f(1 - 66 * 0.065));

    settleCredits(405.0f, st);
    EXPECT_EQ(st.creditAlpha[0], 0.0f);
    EXPECT_FLOAT_EQ(st.creditAlpha[1], f(1 - 69 * 0.065));
    EXPECT_FLOAT_EQ(st.creditAlpha[2], f(69 * 0.065));

    settleCredits(430.0f, st);
    EXPECT_EQ(st.creditAlpha[1], 0.0f);
    EXPECT_FLOAT_EQ(st.creditAlpha[2], f(1 - 25 * 0.045));

    settleCredits(453.0f, st);
    EXPECT_FLOAT_EQ(st.flashAlpha, f(1 - 248 * 0.05));
    settleCredits(460.0f, st);
    EXPECT_FLOAT_EQ(st.flashAlpha, f(7 * 0.1));
}

TEST(FlightLoop, CameraRunsFromTheLoopStart) {
    auto show = fullShow();
    TimelineState st;
    st.sceneStart = 470;
    for (double wanted : {470.0, 612.7}) {
        const double c = f(wanted);
        animateFlight(f(c), st, show->scene11);
        expectVec(show->scene11.cameraPosition, 5 * std::cos(0.04 * c), -6 * std::sin(0.03 * c),
                  0.45 * (c - 470), 0);
        expectVec(show->scene11.cameraTarget, -6 * std::sin(0.02 * c), 5 * std::cos(0.04 * c), 200, 0);
    }
}

TEST(FlightLoop, CreditsFadeAndKeepSliding) {
    TimelineState st;
    st.sceneStart = 463;
    settleFlight(500.0f, st);
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(st.creditAlpha[k], 0.0f);
        EXPECT_EQ(st.creditOffset[k], 0.0f);
    }
    settleFlight(510.0f, st);
    EXPECT_FLOAT_EQ(st.creditAlpha[0], f(10 * 0.07));
    EXPECT_FLOAT_EQ(st.creditOffset[0], -2.0f);

    settleFlight(615.0f, st);  // 615 itself: third fading in, fourth not yet
    EXPECT_FLOAT_EQ(st.creditAlpha[2], f(20 * 0.07));
    EXPECT_EQ(st.creditAlpha[3], 0.0f);

    settleFlight(700.0f, st);
    const double a[5] = {1 - 185 * 0.07, 1 - 145 * 0.07, 1 - 85 * 0.07, 1 - 60 * 0.07, 1 - 25 * 0.07};
    const double o[5] = {-200 * 0.2, 165 * 0.2, -105 * 0.2, 85 * 0.2, -50 * 0.2};
    for (int k = 0; k < 5; ++k) {
        EXPECT_FLOAT_EQ(st.creditAlpha[k], f(a[k])) << k;
        EXPECT_FLOAT_EQ(st.creditOffset[k], f(o[k])) << k;
    }
    EXPECT_FLOAT_EQ(st.flashAlpha, f(1 - 237 * 0.05));
    settleFlight(740.0f, st);
    EXPECT_FLOAT_EQ(st.flashAlpha, f(12 * 0.2));
    EXPECT_FLOAT_EQ(st.creditOffset[0], f(-240 * 0.2));
}

TEST(SparkLoop, CameraSwaysWithShakeAndTheLightRidesTheEmitter) {
    auto show = fullShow();
    TimelineState st;
    st.shake = 1.5f;
    st.lastBurst = 0;
    show->scene.omniLights[0].position.length = 7.0f;
    timelineFrames = 10;
    const float c = 800.3f;
    const double cd = c;
    resetShowRand();
    animateSparks(c, st, *show);
    EXPECT_EQ(timelineFrames, 11);
    expectVec(show->scene.cameraPosition, 4 * std::sin(0.13 * cd) - 20, 3 * 1.5 * std::sin(0.14 * cd) - 2,
              4 * std::cos(0.08 * cd) - 15, 1);
    expectVec(show->scene.cameraTarget, 0, 0, 0, 1);
    const Vec3& light = show->scene.omniLights[0].position;
    expectVec(light, 12 * std::sin(0.12 * cd), 2 * std::sin(0.07 * cd), 12 * std::cos(0.12 * cd), 1);
    EXPECT_EQ(light.length, 0.0f);

    // Five sparks from the emitter, velocities from the shared sequence.
    ASSERT_EQ(aliveCount(show->sparkSystem), 5);
    EXPECT_EQ(st.lastBurst, 800);
    resetShowRand();
    for (int i = 0; i < 5; ++i) {
        const Particle& p = show->sparkSystem.particles[static_cast<size_t>(i)];
        EXPECT_FLOAT_EQ(p.velocity.x, f((showRand() % 200 - 100) * 0.01));
        EXPECT_FLOAT_EQ(p.velocity.y, f((showRand() % 200 - 100) * 0.01));
        EXPECT_FLOAT_EQ(p.velocity.z, f((showRand() % 200 - 100) * 0.01));
        EXPECT_FLOAT_EQ(p.position.x, light.x);
        EXPECT_FLOAT_EQ(p.startSize, 1.0f);
        EXPECT_FLOAT_EQ(p.shrinkRate, 0.025f);
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
    resetShowRand();
    for (int i = 0; i < 30; ++i) showRand();
    EXPECT_EQ(next, showRand());

    // The fountain shares lastBurst.
    st.lastBurst = 1700;
    animateFountain(1700.0f, st, *show);
    EXPECT_EQ(aliveCount(show->fountainSystem), 0);
    animateFountain(1700.25f, st, *show);
    ASSERT_EQ(aliveCount(show->fountainSystem), 5);
    for (int i = 0; i < 5; ++i) {
        const Particle& p = show->fountainSystem.particles[static_cast<size_t>(i)];
        expectVec(p.position, 0, -1.5, 0, 0);
        EXPECT_GE(p.velocity.y, 0.0f);
        EXPECT_LE(p.velocity.y, 0.99f);
        EXPECT_FLOAT_EQ(p.startSize, 0.45f);
        EXPECT_FLOAT_EQ(p.shrinkRate, 0.009f);
    }
}

TEST(OrbitLoop, CameraAndFlareWrittenAfterTheDraw) {
    auto show = fullShow();
    TimelineState st;
    st.sceneStart = 1028;
    const double c = f(1100.7);
    settleOrbit(f(c), st, show->scene6);
    expectVec(show->scene6.cameraPosition, 7 * std::cos(0.12 * c), std::sin(0.07 * c) + 9,
              7 * std::sin(0.12 * c), 0);
    expectVec(show->scene6.cameraTarget, 5 * std::cos(0.05 * c), 5 * std::sin(0.03 * c) + 3,
              6 * std::sin(0.04 * c), 0);
    EXPECT_EQ(show->scene6.omniLights[0].flareSize, 0.0f);
    EXPECT_FLOAT_EQ(st.flashAlpha, f(1 - (c - 1028) * 0.05));
}

TEST(MagnetLoop, SpinMagnetsAndVortex) {
    auto show = fullShow();
    timelineFrames = 537;
    const double c = f(1400.3);
    animateMagnets(f(c), *show);
    animateMagnets(f(c), *show);
    EXPECT_FLOAT_EQ(show->scene5.objects[0]->rotation.z, f(f(0.1) + 0.1));
    EXPECT_FLOAT_EQ(show->scene5.objects[1]->rotation.z, f(f(-0.1) - 0.1));
    const double n = 537;
    expectVec(show->scene5.magnets[0], 20 * std::sin(0.01 * n), 15 * std::cos(0.02 * n),
              3 * std::sin(0.01 * n) + 6, 10);
    expectVec(show->scene5.magnets[1], 20 * std::cos(333 - 0.02 * n), 25 * std::cos(0.01 * n + 666),
              4 * std::sin(0.01 * n) + 9, 20);
    const SceneObject& swirl = *show->scene10.objects[0];
    expectVec(swirl.position, 10 * std::sin(0.05 * c), 10 * std::cos(0.05 * c), 0, 0);
    expectVec(swirl.rotation, 100 * std::sin(0.05 * c), 50 * std::cos(0.05 * c), 0, 0);
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
    EXPECT_EQ(objects[0]->textureId, 13);
    for (int i = 1; i <= 16; ++i) EXPECT_EQ(objects[static_cast<size_t>(i)]->textureId, i % 2 ? 15 : 14) << i;
    EXPECT_EQ(objects[17]->textureId, 99);
    EXPECT_FALSE(objects[17]->visible);
    EXPECT_EQ(objects[18]->textureId, 13);
    for (int i = 0; i <= 16; ++i) EXPECT_TRUE(objects[static_cast<size_t>(i)]->visible);
    EXPECT_TRUE(objects[18]->visible);
}

TEST(FountainLoop, CameraChangeRestartsTheFlashOnce) {
    auto show = fullShow();
    TimelineState st;
    st.sceneStart = 1575;
    const double c1 = 1700.5;
    animateFountain(f(c1), st, *show);
    expectVec(show->scene8.cameraPosition, 10 * std::sin(0.1 * c1), 2, 10 * std::cos(0.1 * c1), 0);
    expectVec(show->scene8.cameraTarget, 2 * std::sin(0.03 * c1), 0, 3 * std::cos(0.04 * c1), 0);
    animateFountain(1707.0f, st, *show);
    EXPECT_EQ(st.phase, 0);
    EXPECT_EQ(st.sceneStart, 1575);

    const double c2 = 1707.75;
    animateFountain(f(c2), st, *show);
    EXPECT_EQ(st.phase, 1);
    EXPECT_EQ(st.sceneStart, 1707);
    expectVec(show->scene8.cameraPosition, -6 * std::sin(0.1 * c2), std::sin(0.01 * c2) + 2,
              6 * std::cos(0.1 * c2), 0);
    expectVec(show->scene8.cameraTarget, -1.5 * std::sin(0.05 * c2), 0, 2 * std::cos(0.03 * c2), 0);
    settleFountain(f(c2), st);
    EXPECT_FLOAT_EQ(st.flashAlpha, f(1 - 0.75 * 0.08));

    animateFountain(1790.0f, st, *show);
    EXPECT_EQ(st.sceneStart, 1707);
}

TEST(StarLoop, CameraAndFlashLimits) {
    auto show = fullShow();
    TimelineState st;
    st.shake = 0.75f;
    timelineFrames = 0;
    const double c = f(1900.6);
    animateStars(f(c), st, show->scene4);
    EXPECT_EQ(timelineFrames, 1);
    expectVec(show->scene4.cameraPosition, 2.5 * std::sin(0.07 * c + 80),
              2 * std::cos(40 - 0.035 * c) + 2 * 0.75 * std::sin(c), 2, 0);
    expectVec(show->scene4.cameraTarget, 6 * std::cos(0.05 * c), -7 * std::sin(0.04 * c), 15, 0);

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
    for (const Particle& p : dust.particles) {
        EXPECT_GE(p.position.z, 0.0f);
        EXPECT_LT(p.position.z, 50.0f);
    }
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

// Runs the whole timeline on a real GL context with a clock that moves 5
// units (500 ms) per frame; `onFrame` sees the clock and the state at the
// start of every frame and may return an event for it.
class TimelineRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gl.ok());
        quitRequested = false;
        keyDown.fill(0);
        timelineFrames = 0;
        showEndLimit = std::numeric_limits<float>::infinity();
        resetParticles(show->dustField);
        resetParticles(show->sparkSystem);
        resetParticles(show->fountainSystem);
        resetShowRand();
        fillDustField(*show);
        platform::setClockSource([this] { return now; });
        platform::setEventSource([this](platform::Event& e) {
            ++frames;
            e = onFrame(demoClock);
            now += 500;
            return e.kind != platform::EventKind::None;
        });
        now = 0;
        startClock();
    }
    void TearDown() override {
        platform::setClockSource({});
        platform::setEventSource({});
        quitRequested = false;
        keyDown.fill(0);
    }

    static platform::Event key(platform::EventKind kind) {
        platform::Event e;
        e.kind = kind;
        e.key = VK_ESCAPE_CODE;
        return e;
    }

    TestGlContext gl{64, 48};
    std::unique_ptr<Show> show = fullShow();
    TimelineState st;
    uint32_t now = 0;
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
    GLint src = 0, dst = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(src, GL_SRC_ALPHA);
    EXPECT_EQ(dst, GL_ONE);
}

TEST_F(TimelineRun, HeldEscapeLeavesEachLoopAfterOneFrame) {
    onFrame = [&](float) { return key(platform::EventKind::KeyDown); };
    runTimeline(*show, st);
    EXPECT_EQ(frames, 9);
    // Loops 1, 7 and 9 count before the Escape test, 4 and 8 after the clear,
    // 6 only after a swap that never came.
    EXPECT_EQ(timelineFrames, 5);
}

TEST_F(TimelineRun, CloseRequestSkipsEveryLaterLoop) {
    onFrame = [&](float c) {
        platform::Event e;
        if (c >= 300.0f) e.kind = platform::EventKind::Quit;
        return e;
    };
    runTimeline(*show, st);
    EXPECT_TRUE(quitRequested);
    EXPECT_LT(demoClock, 310.0f);
    EXPECT_EQ(frames, 61);  // clock 0 to 300 in steps of 5
}
