// The show's fixed timeline as a machine that advances one frame at a time:
// step() moves everything the show carries from frame to frame (camera paths,
// lights, magnets, spinning objects, vortex rings, fades, credit alphas,
// particle bursts and their random sequence, star drift, frame counters)
// without a single GL call, and draw() only draws what step() left. The
// nine sections come from shell/schedule.h.
//
// Because the state advances without drawing, any moment can be reached by
// stepping from the start at a fixed step (seekTimeline, frame.h), and the
// frames that follow are the frames a run from the start draws.
#pragma once

#include <cstddef>
#include <cstdint>

#include "render/render.h"
#include "scene/scene.h"
#include "shell/schedule.h"

// The ten scenes (named after their scripts) and the three particle systems,
// owned for the whole run.
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
// returns bits 16..30 (0 to 32767). Only the timeline draws from it, so the
// star field and every burst follow one fixed sequence.
struct ShowRandom {
    uint32_t state = 1;  // 1
    int next() {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7fffu);
    }
};

// Values the sections keep from frame to frame and from section to section.
// Only what a section's entry says is reset; the rest carries over, so a
// section cut short by Escape can leave values a later one reads.
struct TimelineState {
    int32_t sceneStart = 0;      // 0; whole clock units when the section began (again in the title and fountain)
    float flashAlpha = 0.0f;     // 0; alpha of the white fade picture
    float titleAlpha = 0.0f;     // 0; the title picture (title section)
    int32_t titlePhase = 0;      // 0; 0 before the title fades in, 1 fading in, 2 fading out
    float cameraSway = 0.0f;     // 0; vertical sway of the sparks camera, read again by the stars
    int32_t fountainPhase = 0;   // 0; 1 once the fountain's camera has changed
    int32_t lastBurst = 0;       // 0; whole clock units of the last particle burst
    Vec3 emitterPosition;        // 0; light and spark source of the sparks section
    float creditAlpha[5] = {};   // 0; alphas of the credit pictures (credits and flight)
    float creditOffset[5] = {};  // 0; sideways shift of the credit pictures (flight)
};

class Timeline {
public:
    explicit Timeline(Show& show) : show_(show) {}

    // Start-up step: 1000 motionless star sprites into the dust field (three
    // random draws each).
    void fillDustField();

    // Moves on to the section playing at clock value c (running the steps
    // between sections for each one left behind). False once the last
    // section has ended.
    bool enter(float c);
    // Advances the show by one frame drawn with clock value c. No GL.
    void step(float c);
    // Draws the frame the last step prepared (the colour buffer is already
    // cleared). Sets the section's projection and blend function when the
    // frame is the first drawn of its section.
    void draw();
    // Ends the frame: `presented` false when Escape cut it (it is not shown
    // and the section ends). The magnets section counts presented frames.
    void finish(bool presented);

    size_t section() const { return section_; }
    float clock() const { return clock_; }  // clock value of the last stepped frame
    int64_t steps() const { return steps_; }
    int32_t frameCounter() const { return frameCounter_; }
    const TimelineState& state() const { return state_; }
    TimelineState& state() { return state_; }
    ShowRandom& random() { return random_; }
    Show& show() { return show_; }

private:
    static constexpr size_t kNoSection = static_cast<size_t>(-1);

    void leaveSection();
    void finishPreviousFrame();
    void advance(Scene& scene);
    void stepSection(float c);
    void drawFlash(float depth) const;

    Show& show_;
    TimelineState state_;
    ShowRandom random_;
    int32_t frameCounter_ = 0;  // 0; frames counted by the sections the schedule names (drives the magnets)
    size_t section_ = 0;        // 0; index into kSections; kSectionCount once the show is over
    bool sectionEntered_ = false;
    float clock_ = 0.0f;
    int64_t steps_ = 0;

    // What the frame draws that the step changes again before the frame
    // ends: the title's alpha and the flash level as drawn.
    float titleAlphaDrawn_ = 0.0f;
    float flashDrawn_ = 0.0f;

    // Work that follows a frame's drawing, done at the start of the next
    // step so that drawing changes nothing: the orbit camera written with
    // the previous frame's clock, the star drift, freeing particles shown
    // for the last time, magnetic objects back at rest.
    struct AfterDraw {
        bool orbitCamera = false;
        bool starDrift = false;
        ParticleSystem* retire = nullptr;
        Scene* drawn[2] = {nullptr, nullptr};
        float clock = 0.0f;
    } afterDraw_;

    size_t drawnSection_ = kNoSection;  // GL side: section whose projection is set
};

// ---- Per-section animation (timeline_steps.cpp): field writes only, no GL. ----
// Each takes the clock value c the frame is drawn with. Writes to lights,
// magnets or objects the scene lacks are skipped.

// The clock in whole units, cut toward zero.
int32_t wholeClock(float c);

// Title and ending (scene3; the ending passes c - 2178).
void animateTitle(double t, Scene& scene3);
void settleTitlePhase(float c, TimelineState& state);
void settleEnding(float c, TimelineState& state);
// Credits (scene2, first three credits).
void animateCredits(float c, Scene& scene2);
void settleCredits(float c, TimelineState& state);
// Flight (scene11, five sliding credits).
void animateFlight(float c, const TimelineState& state, Scene& scene11);
void settleFlight(float c, TimelineState& state);
// Sparks (scene, circling light shedding sparks).
void animateSparks(float c, TimelineState& state, Show& show, ShowRandom& random);
void settleSparks(float c, TimelineState& state);
// Orbit (scene6): its camera follows the clock of the previous frame.
void placeOrbitCamera(float c, Scene& scene6);
// Magnets (scene5 with scene10 over it); the magnets follow `frameCounter`.
void animateMagnets(float c, int32_t frameCounter, Show& show);
// Before the fountain: textures and visibility of scene8's objects.
void prepareFountain(TimelineState& state, Scene& scene8);
void animateFountain(float c, TimelineState& state, Show& show, ShowRandom& random);
// Stars (scene4): camera, and the drift of the star field after a frame.
void animateStars(float c, const TimelineState& state, Scene& scene4);
void driftStars(ParticleSystem& dustField);
// A flash level that starts at 1 when the section began and falls by `rate`
// per clock unit.
float fadeFromEntry(float c, const TimelineState& state, double rate);
