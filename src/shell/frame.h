// The frame loop the show runs on, seeking, and the projection helper. The
// show runs while no stop was requested, the clock is below --end and a
// section remains.
#pragma once

#include <chrono>
#include <cstdint>
#include <limits>

#include "platform/platform.h"
#include "shell/show_clock.h"
#include "shell/show_driver.h"

class Timeline;
class FrameStats;

// How a live run paces its frames. The default (no cap) is what capture,
// the bench and the tests use.
struct FramePacing {
    int maxFps = 0;                // 0: frames run back to back; else at most this many a second
    FrameStats* stats = nullptr;   // not null: each presented frame is timed
};

// One run of the frame loop: its clock, where it ends, whether it was asked
// to stop, and the driver's look at each presented frame.
struct ShowRun {
    ShowClock clock;
    float endLimit = std::numeric_limits<float>::infinity();  // +infinity; clock units (--end)
    bool stopRequested = false;  // false; a posted quit was taken, or the observer said stop
    PresentObserver presented;   // empty: none
};

// The frame loop: one tick() per displayed frame, its order said once in
// tick(). A frame at time t (the clock's reading): take at most one window
// event (pump); take the show's steps up to t and the first one after it
// (stepTo); draw the picture at t between the last two; wait for its slot
// when the frames are capped; move the clock; the Escape test (a frame cut
// by Escape is not shown and its section ends); the driver's look at the
// finished picture; present. The steps are those of a 60-fps capture
// whatever the rate the frames come at: live they are taken as the clock
// passes them, and the display shows its own rate. While the window is
// hidden or minimised a tick draws and presents nothing, only looks for the
// window to be shown again (the clock and the music go on); the first frame
// after it takes the steps it missed without drawing them. tick() never
// waits but for the frame cap's slot, so a caller that paces the frames
// itself (a browser's animation frame) gives no cap and it never blocks;
// playTimeline rests between ticks while the window is hidden.
//
// With a cap, each frame waits (asleep, on a monotonic clock) for its slot of
// 1 / maxFps s before the clock update; a frame that missed its slot by more
// than a slot starts a new grid instead of hurrying.
class FrameLoop {
public:
    FrameLoop(Timeline& timeline, ShowRun& run, const FramePacing& pacing = {});
    // Runs one frame (or one look while hidden). False, without running one, once
    // a stop was requested, the clock has reached --end or the last section
    // has ended.
    bool tick();
    bool hidden() const { return hidden_; }  // the window is hidden or minimised

private:
    using PaceClock = std::chrono::steady_clock;

    bool running() const;
    void waitForSlot();
    void watchWhileHidden();
    void count();

    Timeline& timeline_;
    ShowRun& run_;
    FramePacing pacing_;
    PaceClock::duration slot_;  // zero: no cap
    PaceClock::time_point nextSlot_;
    bool hidden_ = false;
};

// Plays the timeline from the run's current clock to the end of the show.
void playTimeline(Timeline& timeline, ShowRun& run, const FramePacing& pacing = {});

// Takes the show's steps (clock stepClock(n)) after the last one taken up to
// time t and the first one after it, each finished as it is taken: then the
// picture at t lies between the last two. At least one is taken after a cut;
// none past the show's end.
void stepTo(Timeline& timeline, float t);

// Steps a fresh timeline from 0 to `target` for a run whose frames come at
// `fps` a second: the frame of that rate before `target` is drawn (not
// shown), so that the GL state one frame hands to the next (the lights get
// their parameters after the objects they light) is what a run from 0
// leaves, and the frames that follow are the frames such a run draws.
void seekTimeline(Timeline& timeline, float target, int fps);

// Takes at most one window event: a posted quit sets `stopRequested`,
// anything else goes to the window's event handling. Returns the kind of the
// event taken (None when nothing was waiting).
platform::EventKind framePump(bool& stopRequested);

// Perspective for the show's 4:3 picture (the aspect of every screen mode),
// near 0.1, far 100; leaves the model-view matrix selected and identity.
void setProjection(int fieldOfView);
