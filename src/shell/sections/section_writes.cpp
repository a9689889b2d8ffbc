// Writes into scenes that the sections share (see section_writes.h).
#include "shell/sections/section_writes.h"

#include "render/render.h"
#include "shell/timeline.h"

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

void startSceneFrame(Scene& scene) {
    if (scene.magnetCount() > 0) restoreMagneticObjects(scene);
    advanceScene(scene);
}

float fadeFromEntry(float c, const TimelineState& state, double rate) {
    return f(1.0 - (static_cast<double>(c) - state.sceneStart) * rate);
}

void shedBurst(ParticleSystem& system, const Vec3& source, int yRange, int yShift, float size, float shrink,
               float c, TimelineState& state, ShowRandom& random) {
    if (c == static_cast<float>(state.lastBurst)) return;
    const auto component = [&random](int range, int shift) { return f((random.next() % range - shift) * 0.01); };
    for (int i = 0; i < 5; ++i) {
        Vec3 velocity;
        velocity.x = component(200, 100);
        velocity.y = component(yRange, yShift);
        velocity.z = component(200, 100);
        spawnParticle(system, source, velocity, size, shrink, c);
    }
    state.lastBurst = wholeClock(c);
}
