// The show's fixed timeline: nine scene loops with every camera path, light
// and magnet movement, overlay, particle burst and fade.
#pragma once

#include <cstdint>

#include "render/render.h"
#include "scene/scene.h"
#include "shell/schedule.h"

// The ten scenes (named after their scripts) and the three particle systems
// the entry point owns for the whole run.
struct Show {
    Scene scene, scene2, scene3, scene4, scene5, scene6, scene7, scene8, scene10, scene11;
    ParticleSystem dustField{1000};
    ParticleSystem sparkSystem{3000};
    ParticleSystem fountainSystem{2000};
};

// The scene record a schedule entry names.
Scene& showScene(Show& show, SceneId id);
const Scene& showScene(const Show& show, SceneId id);

// The show's pseudo-random generator: state 1 at start, x 214013 + 2531011,
// returns bits 16..30.
int showRand();
void resetShowRand(uint32_t state = 1);

// Start-up step: 1000 motionless star sprites into dustField.
void fillDustField(Show& show);
// Plays the nine scene loops (projection 90 already set by the caller).
void runTimeline(Show& show);

// Values the loops keep from frame to frame and from loop to loop. Only
// what each loop's entry says is reset; the rest carries over, so a loop
// cut short by Escape can leave values a later loop reads.
struct TimelineState {
    int32_t sceneStart = 0;        // 0; whole clock units when the loop began (again inside loop 7)
    float flashAlpha = 0.0f;       // 0; alpha of the white fade picture
    float shake = 0.0f;            // 0; title alpha (loop 1), camera sway (loop 4, read by loop 8)
    int32_t phase = 0;             // 0; title fade step (loop 1), camera change (loop 7)
    int32_t lastBurst = 0;         // 0; whole clock units of the last particle burst
    Vec3 emitterPosition;          // 0; light and spark source of loop 4
    float creditAlpha[5] = {};     // 0; alphas of the credit pictures (loops 2 and 3)
    float creditOffset[5] = {};    // 0; sideways shift of the credit pictures (loop 3)
};

// Same as runTimeline(show), with the caller's state (tests look into it).
void runTimeline(Show& show, TimelineState& state);

// ---- Per-loop animation (timeline_steps.cpp): field writes only, no GL. ----
// Each takes the clock value c the frame is drawn with. "animate" runs before
// the loop's first draw call of the frame, "settle" after its draws. Writes to
// lights, magnets or objects the scene lacks are skipped.

// The clock in whole units, cut toward zero.
int32_t wholeClock(float c);
void enterLoop(TimelineState& state, float c);  // sceneStart = whole c

// Loop 1 (scene3, title) and loop 9 (scene3 again, pass c - 2178).
void animateTitle(double t, Scene& scene3);
void settleTitlePhase(float c, TimelineState& state);
void settleEnding(float c, TimelineState& state);

// Loop 2 (scene2, first three credits).
void animateCredits(float c, Scene& scene2);
void settleCredits(float c, TimelineState& state);

// Loop 3 (scene11, flight with five sliding credits).
void animateFlight(float c, const TimelineState& state, Scene& scene11);
void settleFlight(float c, TimelineState& state);

// Loop 4 (scene, circling light shedding sparks). The animate step also
// advances timelineFrames and emits the sparks.
void animateSparks(float c, TimelineState& state, Show& show);
void settleSparks(float c, TimelineState& state);

// Loop 5 (scene6; its camera is written after the draw).
void settleOrbit(float c, TimelineState& state, Scene& scene6);

// Loop 6 (scene5 with scene10 over it). Magnets follow timelineFrames.
void animateMagnets(float c, Show& show);
void settleMagnets(float c, TimelineState& state);

// Before loop 7: textures and visibility of scene8's objects, phase 0.
void prepareFountain(TimelineState& state, Scene& scene8);
// Loop 7 (scene8, fountain). The animate step also emits the fountain sprites.
void animateFountain(float c, TimelineState& state, Show& show);
void settleFountain(float c, TimelineState& state);

// Loop 8 (scene4, star field). The animate step also advances timelineFrames;
// the settle step drifts the star field toward the camera.
void animateStars(float c, const TimelineState& state, Scene& scene4);
void settleStars(float c, TimelineState& state, ParticleSystem& dustField);
