// The frame skeleton the show runs on, and the projection helper.
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

namespace {

using PaceClock = std::chrono::steady_clock;

// Hidden or minimised: nothing drawn or presented until the window is shown
// again, the show ends, or a quit comes; the clock goes on. Then the show's
// state is stepped up to the clock at the live step (the frame before it
// drawn, not shown, as after a seek).
void waitWhileHidden(Timeline& timeline, ShowRun& run) {
    while (!run.stopRequested) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        run.clock.update();
        if (!(run.clock.now() < run.endLimit) || !(run.clock.now() < kShowEnd)) return;
        if (framePump(run.stopRequested) == platform::EventKind::Shown) break;
    }
    seekTimeline(timeline, run.clock.now(), timeline.clock(), kLiveFps, 1);
}

}  // namespace

void playTimeline(Timeline& timeline, ShowRun& run, const FramePacing& pacing) {
    const auto slot = pacing.maxFps > 0 ? std::chrono::duration_cast<PaceClock::duration>(
                                              std::chrono::duration<double>(1.0 / pacing.maxFps))
                                        : PaceClock::duration::zero();
    PaceClock::time_point nextSlot = PaceClock::now();
    ShowClock& clock = run.clock;
    while (!run.stopRequested && clock.now() < run.endLimit && timeline.enter(clock.now())) {
        if (framePump(run.stopRequested) == platform::EventKind::Hidden) {
            waitWhileHidden(timeline, run);
            nextSlot = PaceClock::now();
            continue;
        }
        paintBars();
        const bool escaped = glWindow.keyDown[VK_ESCAPE_CODE] != 0;
        glClear(GL_COLOR_BUFFER_BIT);
        timeline.step(clock.now());
        timeline.draw();
        if (slot > PaceClock::duration::zero() && !escaped) {
            // The picture is finished before the wait (a software renderer
            // rasterises at the swap otherwise), so the swap at the slot only
            // hands it over and frames leave at even intervals.
            glFinish();
            nextSlot += slot;
            const PaceClock::time_point now = PaceClock::now();
            if (nextSlot > now)
                std::this_thread::sleep_until(nextSlot);
            else if (now - nextSlot > slot)
                nextSlot = now;  // too late for this slot and the next: no catching up
        }
        clock.update();
        if (escaped) {  // this frame is not presented
            timeline.finish(false);
            continue;
        }
        if (run.presented && !run.presented(clock.now())) run.stopRequested = true;
        platform::present();
        if (pacing.stats) pacing.stats->presented(PaceClock::now());
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        timeline.finish(true);
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

void setProjection(int fieldOfView) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fieldOfView, kPictureAspect, static_cast<double>(0.1f), 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
