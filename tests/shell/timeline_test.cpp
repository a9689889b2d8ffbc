// The timeline machine: the title's strict thresholds, bursts at the exact
// last-burst clock, the star wrap, writes to absent content skipped; and the
// sections on the real frame skeleton with scripted keys: Escape and held
// Escape (a close request is frame_test's). Camera, light, magnet and star
// paths, the shared random sequence and that drawing changes nothing the
// show carries are held by the golden frames and the capture's exact-seek
// comparison.
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

// An object with a few vertices in rings 0 to 3 along x.
SceneObject& addRingObject(Scene& scene) {
    SceneObject& o = scene.addObject();
    for (int k = 0; k < 4; ++k) {
        MeshVertex v;
        v.position.setVec3(static_cast<float>(k) + 0.5f, 0.25f, 0.0f, 0.0f);
        v.basePosition = v.position;
        v.normal.setVec3(0.0f, 1.0f, 0.0f, 0.0f);
        v.ring = k;
        o.vertices.push_back(v);
    }
    o.faces.push_back(MeshFace{{0, 1, 2}, Vec3{}});
    o.faces.push_back(MeshFace{{1, 2, 3}, Vec3{}});
    o.maxRing = 3;
    o.ringTable.assign(4, Vec3{});
    return o;
}

// A show holding every light, magnet and object the timeline writes, with
// a magnetic object that is also a vortex and a spot light to normalise.
std::unique_ptr<Show> fullShow() {
    auto show = std::make_unique<Show>();
    addLights(show->scene3, 2);
    addLights(show->scene2, 2);
    addLights(show->scene, 1);
    addLights(show->scene6, 1);
    addRingObject(show->scene5).magnetic = true;
    SceneObject& both = addRingObject(show->scene5);
    both.magnetic = both.vortex = true;
    show->scene5.addMagnet(0, 0, 0, 1);
    show->scene5.addMagnet(0, 0, 0, 1);
    show->scene5.addSpotLight(1, 2, 3, 0.5f, 3);
    show->scene5.spotLights[0].direction.setVec3(3, 4, 12, 0);
    addRingObject(show->scene10).vortex = true;
    for (int i = 0; i < 19; ++i) show->scene8.addObject().textureId = 99;
    for (Scene* s : {&show->scene, &show->scene4, &show->scene6, &show->scene8}) s->rollEnabled = true;
    return show;
}

int aliveCount(const ParticleSystem& system) {
    int n = 0;
    for (const Particle& p : system.particles) n += p.alive;
    return n;
}

// The draw that follows the first `draws` of the shared sequence.
int randAfter(int draws) {
    ShowRandom random;
    for (int i = 0; i < draws; ++i) random.next();
    return random.next();
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
    auto show = fullShow();
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
    EXPECT_EQ(random.next(), randAfter(30));

    // The fountain shares lastBurst.
    st.lastBurst = 1700;
    animateFountain(1700.0f, st, *show, random);
    EXPECT_EQ(aliveCount(show->fountainSystem), 0);
    animateFountain(1700.25f, st, *show, random);
    ASSERT_EQ(aliveCount(show->fountainSystem), 5);
    for (int i = 0; i < 5; ++i) {
        const Particle& p = show->fountainSystem.particles[static_cast<size_t>(i)];
        EXPECT_TRUE(p.position.x == 0.0f && p.position.y == -1.5f && p.position.z == 0.0f);
        EXPECT_TRUE(p.velocity.y >= 0.0f && p.velocity.y <= 0.99f) << p.velocity.y;
    }
}

// The fall below zero wraps to the far end (the drift itself: the golden frames).
TEST(StarLoop, DriftBelowZeroWrapsToTheFarEnd) {
    ParticleSystem dust(2);
    dust.particles[0].position.z = 0.05f;
    driftStars(dust);
    EXPECT_FLOAT_EQ(dust.particles[0].position.z, f(f(0.05f - 0.07) + 50.0));
    EXPECT_FLOAT_EQ(dust.particles[1].position.z, f(f(-0.07) + 50.0));
}

TEST(MissingContent, WritesToAbsentLightsMagnetsAndObjectsAreSkipped) {
    auto show = std::make_unique<Show>();
    show->scene10.addObject();  // an object without a ring table
    TimelineState st;
    ShowRandom random;
    animateTitle(10.0, show->scene3);
    animateCredits(300.0f, show->scene2);
    animateSparks(900.0f, st, *show, random);
    placeOrbitCamera(1100.0f, show->scene6);
    animateMagnets(1400.0f, 7, *show);
    prepareFountain(st, show->scene8);
    animateFountain(1750.0f, st, *show, random);
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

// ---- The sections on the real frame skeleton ------------------------------------------

namespace {

// Runs the whole timeline with a clock that moves 5 units (500 ms) per frame;
// `onFrame` sees the clock and the state at the start of every frame and may
// return an event for it.
class TimelineRun : public ScriptedFrames {
protected:
    void SetUp() override {
        ScriptedFrames::SetUp();
        resetParticles(show->dustField);
        resetParticles(show->sparkSystem);
        resetParticles(show->fountainSystem);
        timeline.fillDustField();
        run.clock.start();
    }
    bool nextEvent(platform::Event& e) override {
        ++frames;
        e = onFrame(run.clock.now());
        now += 500;
        return e.kind != platform::EventKind::None;
    }

    std::unique_ptr<Show> show = fullShow();
    Timeline timeline{*show};
    const TimelineState& st = timeline.state();
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
    playTimeline(timeline, run);

    ASSERT_GE(escapeAt, 600.0f);
    EXPECT_GE(flightStart, 463);
    EXPECT_LT(flightStart, 470);
    EXPECT_EQ(sparksFrom, escapeAt + 5.0f);  // the escaped frame still moved the clock
    EXPECT_EQ(sparksStart, wholeClock(sparksFrom));
    EXPECT_FLOAT_EQ(sparksFlash, f(1 - (static_cast<double>(sparksFrom) - sparksStart) * 0.1));
    // The sparks still run to their own end, 1028.
    EXPECT_EQ(sparksStartLate, sparksStart);
    EXPECT_GE(run.clock.now(), 2310.0f);
    EXPECT_GT(aliveCount(show->sparkSystem), 0);
    EXPECT_GT(aliveCount(show->fountainSystem), 0);

    // The show leaves the additive blend function behind.
    GLint blend[2] = {};
    glGetIntegerv(GL_BLEND_SRC, &blend[0]);
    glGetIntegerv(GL_BLEND_DST, &blend[1]);
    EXPECT_TRUE(blend[0] == GL_SRC_ALPHA && blend[1] == GL_ONE) << blend[0] << " " << blend[1];
}

TEST_F(TimelineRun, HeldEscapeLeavesEachSectionAfterOneFrame) {
    onFrame = [&](float) { return key(platform::EventKind::KeyDown); };
    playTimeline(timeline, run);
    EXPECT_EQ(frames, 9);
    // The title, fountain and ending count before the Escape test, the
    // sparks and stars before drawing, the magnets only after a swap that
    // never came.
    EXPECT_EQ(timeline.frameCounter(), 5);
}
