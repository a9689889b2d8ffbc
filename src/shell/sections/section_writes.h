// What the sections share for writing into their scenes: writes that skip
// lights, magnets and objects a scene lacks, the start of a scene's frame,
// the clock in whole units, the usual flash fade and a particle burst. Sines and cosines and their products are worked out in double
// and stored as float. No GL.
#pragma once

#include <cstdint>

#include "scene/scene.h"

struct TimelineState;
struct ShowRandom;
struct ParticleSystem;

inline float f(double value) { return static_cast<float>(value); }

// The clock in whole units, cut toward zero.
inline int32_t wholeClock(float c) { return static_cast<int32_t>(c); }

// The scene's item at `index`, or null when it has fewer.
OmniLight* omniLight(Scene& scene, int index);
Magnet* magnet(Scene& scene, int index);
SceneObject* object(Scene& scene, int index);

// Omni light `index` at (x, y, z, w), its flare hidden.
void placeLight(Scene& scene, int index, double x, double y, double z, double w);

// A scene about to be drawn in this frame: magnetic objects back at their
// rest shape (the magnets push them only while drawing), then the frame's
// own advance (roll counter, vortex turns, spot directions).
void startSceneFrame(Scene& scene);

// A flash level that starts at 1 when the section began and falls by `rate`
// per clock unit.
float fadeFromEntry(float c, const TimelineState& state, double rate);

// Five particles of `size` shrinking by `shrink` from `source`, unless this
// frame's clock is exactly the whole number of the last burst (which the
// sparks and the fountain share); the burst's whole clock is kept. Each
// velocity component is (next % range - shift) hundredths, drawn x, y, z:
// x and z over 200 less 100, y over `yRange` less `yShift`.
void shedBurst(ParticleSystem& system, const Vec3& source, int yRange, int yShift, float size, float shrink,
               float c, TimelineState& state, ShowRandom& random);
