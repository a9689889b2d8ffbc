// The frame skeleton every scene loop runs on, and the projection helper.
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

void runSceneLoop(const SceneLoop& loop) {
    while (!quitRequested && demoClock < loop.endTime && demoClock < showEndLimit) {
        framePump();
        paintBars();
        glClear(GL_COLOR_BUFFER_BIT);
        if (loop.draw) loop.draw(demoClock);
        updateClock();
        if (loop.afterClock) loop.afterClock();
        if (glWindow.keyDown[VK_ESCAPE_CODE]) break;  // this frame is not presented
        if (presentObserver) presentObserver();
        platform::present();
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        if (loop.afterSwap) loop.afterSwap();
        if (quitRequested) break;
    }
}

void setProjection(int fieldOfView) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fieldOfView, kPictureAspect, static_cast<double>(0.1f), 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
