// What the sections share for writing into their scenes: writes that skip
// lights, magnets and objects a scene lacks, the start of a scene's frame,
// the clock in whole units, the usual flash fade and one burst velocity
// component. Sines and cosines and their products are worked out in double
// and stored as float. No GL.
#pragma once

#include <cstdint>

#include "scene/scene.h"

struct TimelineState;
struct ShowRandom;

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

// One velocity component of a burst: (next % range - shift) hundredths.
float burstComponent(ShowRandom& random, int range, int shift);
