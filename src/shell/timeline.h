// The show's fixed timeline: nine scene loops with every camera path, light
// and magnet movement, overlay, particle burst and fade.
#pragma once

#include <cstdint>

#include "render/render.h"
#include "scene/scene.h"

// The ten scenes (named after their scripts) and the three particle systems
// the entry point owns for the whole run.
struct Show {
    Scene scene, scene2, scene3, scene4, scene5, scene6, scene7, scene8, scene10, scene11;
    ParticleSystem dustField{1000};
    ParticleSystem sparkSystem{3000};
    ParticleSystem fountainSystem{2000};
};

// The show's pseudo-random generator: state 1 at start, x 214013 + 2531011,
// returns bits 16..30.
int showRand();
void resetShowRand(uint32_t state = 1);

// Start-up step: 1000 motionless star sprites into dustField.
void fillDustField(Show& show);
// Plays the nine scene loops (projection 90 already set by the caller).
void runTimeline(Show& show);
