// The frame loop the show runs on, seeking, and the projection helper.
//
// GL state: each presented frame ends with the current colour (1, 1, 1, 1);
// setProjection leaves the model-view matrix selected and identity.

#include "shell/frame.h"

#include <GL/gl.h>

#include <chrono>
#include <thread>

#include "platform/platform.h"
#include "shell/frame_stats.h"
#include "shell/schedule.h"
#include "shell/timeline.h"
#include "window/gl_window.h"

platform::EventKind framePump(bool& stopRequested) {
    platform::Event event;
    if (!platform::pollEvent(event)) return platform::EventKind::None;
    if (event.kind == platform::EventKind::Quit) {
        stopRequested = true;
        return event.kind;
    }
    glWindowProc(event);
    return event.kind;
}

FrameLoop::FrameLoop(Timeline& timeline, ShowRun& run, const FramePacing& pacing)
    : timeline_(timeline),
      run_(run),
      pacing_(pacing),
      slot_(pacing.maxFps > 0 ? std::chrono::duration_cast<PaceClock::duration>(
                                    std::chrono::duration<double>(1.0 / pacing.maxFps))
                              : PaceClock::duration::zero()),
      nextSlot_(PaceClock::now()) {}

bool FrameLoop::tick() {
    if (!running()) return false;
    if (framePump(run_.stopRequested) == platform::EventKind::Hidden) {
        waitWhileHidden();
        nextSlot_ = PaceClock::now();  // the frames start a new grid
        return true;
    }
    paintBars();
    const bool escaped = glWindow.keyDown[VK_ESCAPE_CODE] != 0;
    glClear(GL_COLOR_BUFFER_BIT);
    timeline_.step(run_.clock.now());
    timeline_.draw();
    if (!escaped) waitForSlot();
    run_.clock.update();
    if (escaped) {  // this frame is not presented
        timeline_.finish(false);
        return true;
    }
    if (run_.presented && !run_.presented(run_.clock.now())) run_.stopRequested = true;
    platform::present();
    count();
    return true;
}

bool FrameLoop::running() {
    return !run_.stopRequested && run_.clock.now() < run_.endLimit && timeline_.enter(run_.clock.now());
}

void FrameLoop::waitForSlot() {
    if (slot_ == PaceClock::duration::zero()) return;
    // The picture is finished before the wait (a software renderer
    // rasterises at the swap otherwise), so the swap at the slot only hands
    // it over and frames leave at even intervals.
    glFinish();
    nextSlot_ += slot_;
    const PaceClock::time_point now = PaceClock::now();
    if (nextSlot_ > now)
        std::this_thread::sleep_until(nextSlot_);
    else if (now - nextSlot_ > slot_)
        nextSlot_ = now;  // too late for this slot and the next: no catching up
}

// Hidden or minimised: nothing drawn or presented until the window is shown
// again, the show ends, or a quit comes; the clock goes on. Then the show's
// state is stepped up to the clock at the live step (the frame before it
// drawn, not shown, as after a seek).
void FrameLoop::waitWhileHidden() {
    while (!run_.stopRequested) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        run_.clock.update();
        if (!(run_.clock.now() < run_.endLimit) || !(run_.clock.now() < kShowEnd)) return;
        if (framePump(run_.stopRequested) == platform::EventKind::Shown) break;
    }
    seekTimeline(timeline_, run_.clock.now(), timeline_.clock(), kLiveFps, 1);
}

// A presented frame: timed for --stats, the current colour back to white,
// and counted by its section.
void FrameLoop::count() {
    if (pacing_.stats) pacing_.stats->presented(PaceClock::now());
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    timeline_.finish(true);
}

void playTimeline(Timeline& timeline, ShowRun& run, const FramePacing& pacing) {
    FrameLoop loop(timeline, run, pacing);
    while (loop.tick()) {
    }
}

int64_t seekTimeline(Timeline& timeline, float target, double origin, int fps, int64_t firstFrame) {
    int64_t n = firstFrame;
    for (float c = steppedClock(origin, n, fps); c < target && timeline.enter(c);
         c = steppedClock(origin, ++n, fps)) {
        timeline.step(c);
        if (!(steppedClock(origin, n + 1, fps) < target)) {
            glClear(GL_COLOR_BUFFER_BIT);
            timeline.draw();
            glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        }
        timeline.finish(true);
    }
    return n;
}

void setProjection(int fieldOfView) { projectPicture(fieldOfView); }
