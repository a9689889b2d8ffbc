// The animation of the nine scene loops: every camera path, light, magnet and
// object movement, credit fade, particle burst and flash level, as functions
// of the clock value c a frame is drawn with (tenths of a second). Sines and
// cosines and their products are worked out in double and stored as float.
// Nothing here touches GL; Timeline::step calls these.
#include <algorithm>
#include <cmath>

#include "shell/timeline.h"

namespace {

float f(double value) { return static_cast<float>(value); }

OmniLight* omniLight(Scene& scene, int index) {
    return index < scene.omniCount() ? &scene.omniLights[static_cast<size_t>(index)] : nullptr;
}

Magnet* magnet(Scene& scene, int index) {
    return index < scene.magnetCount() ? &scene.magnets[static_cast<size_t>(index)] : nullptr;
}

SceneObject* object(Scene& scene, int index) {
    return index < scene.objectCount() ? scene.objects[static_cast<size_t>(index)].get() : nullptr;
}

void placeLight(Scene& scene, int index, double x, double y, double z, double w) {
    if (OmniLight* light = omniLight(scene, index)) {
        light->position.setVec3(f(x), f(y), f(z), f(w));
        light->flareSize = 0.0f;
    }
}

// One velocity component of a burst: -1 to 0.99 in steps of 0.01.
float burstComponent(ShowRandom& random, int range, int shift) { return f((random.next() % range - shift) * 0.01); }

}  // namespace

float fadeFromEntry(float c, const TimelineState& state, double rate) {
    return f(1.0 - (static_cast<double>(c) - state.sceneStart) * rate);
}

int32_t wholeClock(float c) { return static_cast<int32_t>(c); }

// ---- Title and ending ----------------------------------------------------------

void animateTitle(double t, Scene& scene3) {
    scene3.cameraTarget.setVec3(0.0f, 20.0f, 0.0f, 0.0f);
    scene3.cameraPosition.setVec3(30.0f, f(0.16 * t - 7.0), f(0.1 * t - 10.0), 0.0f);
    placeLight(scene3, 0, 30.0, 10.0, 0.0, 1.0);
    placeLight(scene3, 1, 30.0, 30.0, 0.0, 1.0);
}

void settleTitlePhase(float c, TimelineState& state) {
    const double cd = c;
    if (c > 115.0f && state.titlePhase == 0) {
        state.sceneStart = wholeClock(c);
        state.titlePhase = 1;
    }
    if (state.titlePhase == 1) state.titleAlpha = f(std::min((cd - state.sceneStart) * 0.02, 1.0));
    if (c > 170.0f && state.titlePhase == 1) {
        state.sceneStart = wholeClock(c);
        state.titlePhase = 2;
    }
    if (state.titlePhase == 2) {
        const double d = cd - state.sceneStart;
        state.flashAlpha = f(d * 0.025);
        state.titleAlpha = f(std::max(1.0 - d * 0.11, 0.0));
    }
}

void settleEnding(float c, TimelineState& state) {
    state.flashAlpha = fadeFromEntry(c, state, 0.05);
    if (c > 2260.0f) state.flashAlpha = f((static_cast<double>(c) - 2260.0) * 0.08);
}

// ---- Credits -------------------------------------------------------------------

void animateCredits(float c, Scene& scene2) {
    const double cd = c;
    scene2.cameraTarget.setVec3(f(4.0 * std::sin(0.02 * cd)), 2.0f, f(6.0 * std::cos(0.01 * cd)), 0.0f);
    scene2.cameraPosition.setVec3(f(15.0 * std::sin(0.01 * cd)), f(7.0 + std::sin(0.02 * cd)),
                                  f(-14.0 * std::sin(0.02 * cd)), 0.0f);
    placeLight(scene2, 0, 15.0 * std::sin(0.01 * cd), 10.0, 15.0 * std::cos(0.009 * cd), 0.0);
    placeLight(scene2, 1, -12.0 * std::sin(0.02 * cd), 10.0, 14.0 * std::cos(0.01 * cd), 0.0);
}

void settleCredits(float c, TimelineState& state) {
    const double cd = c;
    float* a = state.creditAlpha;
    if (c > 210.0f) {
        a[0] = f((cd - 210.0) * 0.045);
        a[1] = a[2] = 0.0f;
    }
    if (c > 270.0f) {
        const double x = (cd - 270.0) * 0.065;
        a[0] = f(1.0 - x);
        a[1] = f(x);
        a[2] = 0.0f;
    }
    if (c > 336.0f) {
        const double x = (cd - 336.0) * 0.065;
        a[0] = 0.0f;
        a[1] = f(1.0 - x);
        a[2] = f(x);
    }
    if (c > 405.0f) {
        a[0] = a[1] = 0.0f;
        a[2] = f(1.0 - (cd - 405.0) * 0.045);
    }
    state.flashAlpha = fadeFromEntry(c, state, 0.05);
    if (c > 453.0f) state.flashAlpha = f((cd - 453.0) * 0.1);
}

// ---- Flight -------------------------------------------------------------------

void animateFlight(float c, const TimelineState& state, Scene& scene11) {
    const double cd = c;
    scene11.cameraPosition.setVec3(f(5.0 * std::cos(0.04 * cd)), f(-6.0 * std::sin(0.03 * cd)),
                                   f(0.45 * (cd - state.sceneStart)), 0.0f);
    scene11.cameraTarget.setVec3(f(-6.0 * std::sin(0.02 * cd)), f(5.0 * std::cos(0.04 * cd)), 200.0f,
                                 0.0f);
}

void settleFlight(float c, TimelineState& state) {
    const double cd = c;
    float* a = state.creditAlpha;
    float* o = state.creditOffset;
    if (c > 500.0f) {
        a[0] = f((cd - 500.0) * 0.07);
        o[0] = f(-(cd - 500.0) * 0.2);
    }
    if (c > 515.0f) a[0] = f(1.0 - (cd - 515.0) * 0.07);
    if (c > 535.0f) {
        a[1] = f((cd - 535.0) * 0.07);
        o[1] = f((cd - 535.0) * 0.2);
    }
    if (c > 555.0f) a[1] = f(1.0 - (cd - 555.0) * 0.07);
    if (c > 595.0f) {
        a[2] = f((cd - 595.0) * 0.07);
        o[2] = f(-(cd - 595.0) * 0.2);
    }
    if (c > 615.0f) {
        a[3] = f((cd - 615.0) * 0.07);
        a[2] = f(1.0 - (cd - 615.0) * 0.07);
        o[3] = f((cd - 615.0) * 0.2);
    }
    if (c > 640.0f) a[3] = f(1.0 - (cd - 640.0) * 0.07);
    if (c > 650.0f) {
        a[4] = f((cd - 650.0) * 0.07);
        o[4] = f(-(cd - 650.0) * 0.2);
    }
    if (c > 675.0f) a[4] = f(1.0 - (cd - 675.0) * 0.07);
    state.flashAlpha = fadeFromEntry(c, state, 0.05);
    if (c > 728.0f) state.flashAlpha = f((cd - 728.0) * 0.2);
}

// ---- Sparks -------------------------------------------------------------------

void animateSparks(float c, TimelineState& state, Show& show, ShowRandom& random) {
    const double cd = c;
    Scene& scene = show.scene;
    scene.cameraPosition.setVec3(f(4.0 * std::sin(0.13 * cd) - 20.0),
                                 f(3.0 * state.cameraSway * std::sin(0.14 * cd) - 2.0),
                                 f(4.0 * std::cos(0.08 * cd) - 15.0), 1.0f);
    scene.cameraTarget.setVec3(0.0f, 0.0f, 0.0f, 1.0f);
    Vec3& emitter = state.emitterPosition;
    emitter.setVec3(f(12.0 * std::sin(0.12 * cd)), f(2.0 * std::sin(0.07 * cd)),
                    f(12.0 * std::cos(0.12 * cd)), 1.0f);
    emitter.length = 0.0f;
    if (OmniLight* light = omniLight(scene, 0)) light->position = emitter;
    if (c != static_cast<float>(state.lastBurst)) {
        for (int i = 0; i < 5; ++i) {
            Vec3 velocity;
            velocity.x = burstComponent(random, 200, 100);
            velocity.y = burstComponent(random, 200, 100);
            velocity.z = burstComponent(random, 200, 100);
            spawnParticle(show.sparkSystem, emitter, velocity, 1.0f, 0.025f, c);
        }
        state.lastBurst = wholeClock(c);
    }
}

void settleSparks(float c, TimelineState& state) {
    state.flashAlpha = fadeFromEntry(c, state, 0.1);
    state.cameraSway = f(std::max(static_cast<double>(state.flashAlpha) + 1.0, 0.0));
}

// ---- Orbit -------------------------------------------------------------------

void placeOrbitCamera(float c, Scene& scene6) {
    const double cd = c;
    scene6.cameraPosition.setVec3(f(7.0 * std::cos(0.12 * cd)), f(std::sin(0.07 * cd) + 9.0),
                                  f(7.0 * std::sin(0.12 * cd)), 0.0f);
    scene6.cameraTarget.setVec3(f(5.0 * std::cos(0.05 * cd)), f(5.0 * std::sin(0.03 * cd) + 3.0),
                                f(6.0 * std::sin(0.04 * cd)), 0.0f);
    if (OmniLight* light = omniLight(scene6, 0)) light->flareSize = 0.0f;
}

// ---- Magnets -------------------------------------------------------------------

void animateMagnets(float c, int32_t frameCounter, Show& show) {
    Scene& scene5 = show.scene5;
    if (SceneObject* spinner = object(scene5, 0)) spinner->rotation.z = f(spinner->rotation.z + 0.1);
    if (SceneObject* spinner = object(scene5, 1)) spinner->rotation.z = f(spinner->rotation.z - 0.1);
    const double n = frameCounter;
    if (Magnet* m = magnet(scene5, 0))
        m->setVec3(f(20.0 * std::sin(0.01 * n)), f(15.0 * std::cos(0.02 * n)),
                   f(3.0 * std::sin(0.01 * n) + 6.0), 10.0f);
    if (Magnet* m = magnet(scene5, 1))
        m->setVec3(f(20.0 * std::cos(333.0 - 0.02 * n)), f(25.0 * std::cos(0.01 * n + 666.0)),
                   f(4.0 * std::sin(0.01 * n) + 9.0), 20.0f);

    if (SceneObject* swirl = object(show.scene10, 0)) {
        const double cd = c;
        swirl->position.setVec3(f(10.0 * std::sin(0.05 * cd)), f(10.0 * std::cos(0.05 * cd)), 0.0f,
                                0.0f);
        swirl->rotation.setVec3(f(100.0 * std::sin(0.05 * cd)), f(50.0 * std::cos(0.05 * cd)), 0.0f,
                                0.0f);
        if (!swirl->ringTable.empty()) {
            Vec3& ring = swirl->ringTable.front();
            ring.x = 0.0f;
            ring.y = 0.0f;
            ring.z = f(0.02 * std::sin(0.2 * cd));
        }
    }
}

// ---- Fountain -------------------------------------------------------------------

void prepareFountain(TimelineState& state, Scene& scene8) {
    if (SceneObject* o = object(scene8, 17)) o->visible = false;
    if (SceneObject* o = object(scene8, 18)) o->textureId = 13;
    if (SceneObject* o = object(scene8, 0)) o->textureId = 13;
    for (int i = 1; i <= 15; i += 2)
        if (SceneObject* o = object(scene8, i)) o->textureId = 15;
    for (int i = 2; i <= 16; i += 2)
        if (SceneObject* o = object(scene8, i)) o->textureId = 14;
    state.fountainPhase = 0;
}

void animateFountain(float c, TimelineState& state, Show& show, ShowRandom& random) {
    const double cd = c;
    Scene& scene8 = show.scene8;
    scene8.cameraPosition.setVec3(f(10.0 * std::sin(0.1 * cd)), 2.0f, f(10.0 * std::cos(0.1 * cd)), 0.0f);
    scene8.cameraTarget.setVec3(f(2.0 * std::sin(0.03 * cd)), 0.0f, f(3.0 * std::cos(0.04 * cd)), 0.0f);
    if (c > 1707.0f) {
        if (state.fountainPhase == 0) {
            state.fountainPhase = 1;
            state.sceneStart = wholeClock(c);
        }
        scene8.cameraPosition.setVec3(f(-6.0 * std::sin(0.1 * cd)), f(std::sin(0.01 * cd) + 2.0),
                                      f(6.0 * std::cos(0.1 * cd)), 0.0f);
        scene8.cameraTarget.setVec3(f(-1.5 * std::sin(0.05 * cd)), 0.0f, f(2.0 * std::cos(0.03 * cd)),
                                    0.0f);
    }
    if (c != static_cast<float>(state.lastBurst)) {
        Vec3 source;
        source.setVec3(0.0f, -1.5f, 0.0f, 0.0f);
        for (int i = 0; i < 5; ++i) {
            Vec3 velocity;
            velocity.x = burstComponent(random, 200, 100);
            velocity.y = burstComponent(random, 100, 0);
            velocity.z = burstComponent(random, 200, 100);
            spawnParticle(show.fountainSystem, source, velocity, 0.45f, 0.009f, c);
        }
        state.lastBurst = wholeClock(c);
    }
}

// ---- Stars -------------------------------------------------------------------

void animateStars(float c, const TimelineState& state, Scene& scene4) {
    const double cd = c;
    scene4.cameraPosition.setVec3(f(2.5 * std::sin(0.07 * cd + 80.0)),
                                  f(2.0 * std::cos(40.0 - 0.035 * cd) + 2.0 * state.cameraSway * std::sin(cd)),
                                  2.0f, 0.0f);
    scene4.cameraTarget.setVec3(f(6.0 * std::cos(0.05 * cd)), f(-7.0 * std::sin(0.04 * cd)), 15.0f, 0.0f);
}

void driftStars(ParticleSystem& dustField) {
    for (Particle& star : dustField.particles) {
        star.position.z = f(star.position.z - 0.07);
        if (star.position.z < 0.0f) star.position.z = f(star.position.z + 50.0);
    }
}
