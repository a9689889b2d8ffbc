// The show's fixed timeline as a machine that advances one frame at a time:
// step() moves everything the show carries from frame to frame (camera paths,
// lights, magnets, spinning objects, vortex rings, fades, credit alphas,
// particle bursts and their random sequence, star drift, frame counters)
// without a single GL call, and drawAt() only draws what the steps left. The
// nine sections are units of their own (shell/sections/); the timeline walks
// them in schedule order.
//
// The show steps at kStepRate steps a second, on the clock values of that
// grid; a picture at any time between two steps is drawn from the poses the
// steps left (shell/step_poses.h), interpolated. Because the state advances
// without drawing, any moment can be reached by stepping from the start
// (seekTimeline, frame.h), and the frames that follow are the frames a run
// from the start draws.
#pragma once

#include <cstddef>
#include <cstdint>

#include "render/render.h"
#include "scene/scene.h"
#include "shell/schedule.h"
#include "shell/step_poses.h"

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
    explicit Timeline(Show& show) : show_(show), poses_(show, state_) {}

    // Start-up step: 1000 motionless star sprites into the dust field (three
    // random draws each).
    void fillDustField();

    // Moves on to the section playing at clock value c (entering each one
    // on the way). False once the last section has ended.
    bool enter(float c);
    // Advances the show by one step with clock value c and keeps its pose
    // (keepPose false: a step that no picture will be drawn beside). No GL.
    void step(float c, bool keepPose = true);
    // Ends the step: counts it where its section counts presented frames.
    void finish();
    // True once a step later than time t has been taken since the last cut
    // (the picture at t lies between two steps).
    bool hasStepAfter(float t) const { return poses_.count() > 0 && t < poses_.pose(0).clock; }
    // While the show plays at time t: a section remains and t is before the show's end.
    bool playing(float t) const { return section_ < kSectionCount && t < kShowEnd; }

    // Draws the picture at time t between the last two steps: the GL state
    // the picture at t - 1 / kStepRate left is put back first (its scenes'
    // lights and clear colour, as the steps before t hold them), then the
    // colour buffer is cleared and the frame drawn from the two poses around
    // t, blended by how far t lies between them: the section's draw, then
    // its flash. Poses of different sections are not blended: the earlier
    // one is drawn; with one pose since a cut, or none after t, the newest
    // is drawn as it is. At a step's own clock the picture is the step's
    // frame, bit for bit. Sets the section's projection and blend function
    // when the frame is the first drawn of its section. Changes nothing the
    // steps read.
    void drawAt(float t);
    // Escape: the section shown ends, and nothing stepped before the cut is
    // drawn again (the next step enters the section after it, unless the
    // newest step has already done so).
    void cut();

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
    void drawSection(size_t section, float clock);
    void loadLightsOf(const StepPose& before, const StepPose& shown, float a);

    Show& show_;
    TimelineState state_;
    ShowRandom random_;
    int32_t frameCounter_ = 0;  // 0; frames counted by the sections that count them (drives the magnets)
    size_t section_ = 0;        // 0; index into kSections; kSectionCount once the show is over
    bool sectionStepped_ = false;  // false; the section has had its first step
    float clock_ = 0.0f;
    int64_t steps_ = 0;
    StepPoses poses_;

    size_t drawnSection_ = kNoSection;  // GL side: section whose projection is set
};
