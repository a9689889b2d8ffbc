// The frame loop the show runs on, seeking, and the projection helper.
//
// GL state: each presented frame ends with the current colour (1, 1, 1, 1);
// setProjection leaves the model-view matrix selected and identity.

#include "shell/frame.h"

#include "platform/gl.h"

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
    if (hidden_) {
        watchWhileHidden();
        return true;
    }
    if (framePump(run_.stopRequested) == platform::EventKind::Hidden) {
        hidden_ = true;
        return true;
    }
    paintBars();
    const bool escaped = glWindow.keyDown[VK_ESCAPE_CODE] != 0;
    const float t = run_.clock.now();
    stepTo(timeline_, t);
    timeline_.drawAt(t);
    if (!escaped) waitForSlot();
    run_.clock.update();
    if (escaped) {  // this frame is not presented
        timeline_.cut();
        return true;
    }
    if (run_.presented && !run_.presented(run_.clock.now())) run_.stopRequested = true;
    platform::present();
    count();
    return true;
}

bool FrameLoop::running() const {
    return !run_.stopRequested && run_.clock.now() < run_.endLimit && timeline_.playing(run_.clock.now());
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

// Hidden or minimised: nothing is drawn or presented until the window is
// shown again; the clock goes on, and the first frame after it takes the
// steps it passed.
void FrameLoop::watchWhileHidden() {
    run_.clock.update();
    if (framePump(run_.stopRequested) != platform::EventKind::Shown) return;
    hidden_ = false;
    nextSlot_ = PaceClock::now();  // the frames start a new grid
}

// A presented frame: timed for --stats and the current colour back to white.
void FrameLoop::count() {
    if (pacing_.stats) pacing_.stats->presented(PaceClock::now());
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void playTimeline(Timeline& timeline, ShowRun& run, const FramePacing& pacing) {
    FrameLoop loop(timeline, run, pacing);
    while (loop.tick())
        if (loop.hidden()) std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

void stepTo(Timeline& timeline, float t) {
    int64_t next = timeline.steps() > 0 ? firstFrameAt(timeline.clock(), kStepRate) + 1 : 0;
    while (!timeline.hasStepAfter(t)) {
        const float c = stepClock(next++);
        if (!timeline.enter(c)) break;
        // Only the last three steps are drawn from: the one after t, the one
        // at or before it and the one before that (for its lights).
        timeline.step(c, stepClock(next + 1) > t);
        timeline.finish();
    }
}

void seekTimeline(Timeline& timeline, float target, int fps) {
    const int64_t frame = firstFrameAt(target, fps);
    if (frame == 0) return;
    const float before = steppedClock(0.0, frame - 1, fps);
    stepTo(timeline, before);
    timeline.drawAt(before);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void setProjection(int fieldOfView) { projectPicture(fieldOfView); }
