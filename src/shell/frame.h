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

// The live show's step: its per-frame motion was made for about 60 frames a
// second. The frame cap, --start and the catch-up after a hidden spell use it.
constexpr int kLiveFps = 60;

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
// tick(). A frame: take at most one window event (pump); step the timeline
// and draw it; wait for its slot when the frames are capped; move the clock;
// the Escape test (a frame cut by Escape is not shown and its section ends);
// the driver's look at the finished picture; present; count it. While the
// window is hidden or minimised nothing is drawn or presented (the clock and
// the music go on); once it is shown again the show is stepped up to the
// clock at the live step without drawing and goes on from there.
//
// With a cap, each frame waits (asleep, on a monotonic clock) for its slot of
// 1 / maxFps s before the clock update; a frame that missed its slot by more
// than a slot starts a new grid instead of hurrying.
class FrameLoop {
public:
    FrameLoop(Timeline& timeline, ShowRun& run, const FramePacing& pacing = {});
    // Runs one frame (or one hidden spell). False, without running one, once
    // a stop was requested, the clock has reached --end or the last section
    // has ended.
    bool tick();

private:
    using PaceClock = std::chrono::steady_clock;

    bool running();
    void waitForSlot();
    void waitWhileHidden();
    void count();

    Timeline& timeline_;
    ShowRun& run_;
    FramePacing pacing_;
    PaceClock::duration slot_;  // zero: no cap
    PaceClock::time_point nextSlot_;
};

// Plays the timeline from the run's current clock to the end of the show.
void playTimeline(Timeline& timeline, ShowRun& run, const FramePacing& pacing = {});

// Steps frames n = firstFrame, firstFrame + 1, ... of a fixed step (clock value
// steppedClock(origin, n, fps)) while their clock is below `target`, without
// presenting any, and returns the first frame it did not step. The frame before
// `target` is drawn (not shown), so that the GL state one frame hands to the
// next (the lights get their parameters after the objects they light) is
// what a played run leaves: the frames that follow are the frames a run
// through every step draws.
int64_t seekTimeline(Timeline& timeline, float target, double origin, int fps, int64_t firstFrame = 0);

// Takes at most one window event: a posted quit sets `stopRequested`,
// anything else goes to the window's event handling. Returns the kind of the
// event taken (None when nothing was waiting).
platform::EventKind framePump(bool& stopRequested);

// Perspective for the show's 4:3 picture (the aspect of every screen mode),
// near 0.1, far 100; leaves the model-view matrix selected and identity.
void setProjection(int fieldOfView);
