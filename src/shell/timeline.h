// The show's fixed timeline as a machine that advances one frame at a time:
// step() moves everything the show carries from frame to frame (camera paths,
// lights, magnets, spinning objects, vortex rings, fades, credit alphas,
// particle bursts and their random sequence, star drift, frame counters)
// without a single GL call, and draw() only draws what step() left. The
// nine sections are units of their own (shell/sections/); the timeline walks
// them in schedule order.
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
    float titlePictureAlpha = 0.0f;  // 0; the title picture's alpha as drawn: its fade as the frame before left it
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

    // Moves on to the section playing at clock value c (entering each one
    // on the way). False once the last section has ended.
    bool enter(float c);
    // Advances the show by one frame drawn with clock value c. No GL.
    void step(float c);
    // Draws the frame the last step prepared (the colour buffer is already
    // cleared): the section's draw, then its flash. Sets the section's
    // projection and blend function when the frame is the first drawn of
    // its section. Changes nothing the steps read.
    void draw();
    // Ends the frame: `presented` false when Escape cut it (it is not shown
    // and the section ends). Counts the frame where its section counts
    // presented frames.
    void finish(bool presented);

    size_t section() const { return section_; }
    float clock() const { return clock_; }  // clock value of the last stepped frame
    int64_t steps() const { return steps_; }
    int32_t frameCounter() const { return frameCounter_; }
    const TimelineState& state() const { return state_; }
    ShowRandom& random() { return random_; }
    Show& show() { return show_; }

private:
    static constexpr size_t kNoSection = static_cast<size_t>(-1);

    void leaveSection();

    Show& show_;
    TimelineState state_;
    ShowRandom random_;
    int32_t frameCounter_ = 0;  // 0; frames counted by the sections that count them (drives the magnets)
    size_t section_ = 0;        // 0; index into kSections; kSectionCount once the show is over
    bool sectionStepped_ = false;  // false; the section has had its first step
    float clock_ = 0.0f;
    int64_t steps_ = 0;

    size_t drawnSection_ = kNoSection;  // GL side: section whose projection is set
};
