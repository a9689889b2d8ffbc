// The frame skeleton the show runs on, and the projection helper.
//
// GL state: each presented frame ends with the current colour (1, 1, 1, 1);
// setProjection leaves the model-view matrix selected and identity.

#include "shell/frame.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <limits>

#include "platform/platform.h"
#include "shell/music.h"
#include "shell/settings.h"
#include "shell/timeline.h"
#include "window/gl_window.h"

float showEndLimit = std::numeric_limits<float>::infinity();

namespace {
std::function<void()> presentObserver;
}  // namespace

void setPresentObserver(std::function<void()> observer) { presentObserver = std::move(observer); }

void framePump() {
    platform::Event event;
    if (!platform::pollEvent(event)) return;
    if (event.kind == platform::EventKind::Quit) {
        quitRequested = true;
        return;
    }
    glWindowProc(event);
}

void playTimeline(Timeline& timeline) {
    while (!quitRequested && demoClock < showEndLimit && timeline.enter(demoClock)) {
        framePump();
        paintBars();
        const bool escaped = glWindow.keyDown[VK_ESCAPE_CODE] != 0;
        glClear(GL_COLOR_BUFFER_BIT);
        timeline.step(demoClock);
        timeline.draw();
        updateClock();
        if (escaped) {  // this frame is not presented
            timeline.finish(false);
            continue;
        }
        if (presentObserver) presentObserver();
        platform::present();
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        timeline.finish(true);
    }
}

int64_t seekTimeline(Timeline& timeline, float target, double origin, int fps) {
    int64_t n = 0;
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
