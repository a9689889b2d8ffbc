// The GL window: creation in the classic order with a message for every step
// that fails, full screen at the display's own size when the mode is refused
// (the windowed fallback question only when no full screen can be had),
// release in reverse order, the viewport/projection for a client size, and
// the handling of window events (key table, close request, resize).
//
// GL state: createGlWindow and resizeGlView leave the viewport on the 4:3
// picture inside the client area (the scissor test on and set to it when it
// does not fill the client area, off otherwise), a 4:3 perspective of the
// field of view in force (90 degrees until the show sets its own) in the
// projection matrix and the model-view matrix selected and identity.

#include "window/gl_window.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/platform.h"

GlWindow glWindow;

namespace {

void creationError(const char* text) {
    platform::messageBox(text, "ERROR", platform::Icon::Exclamation);
}

void shutdownError(const char* text) {
    platform::messageBox(text, "SHUTDOWN ERROR", platform::Icon::Information);
}

// Releases what exists, then reports the failed creation step.
bool failCreation(const char* text) {
    closeGlWindow();
    creationError(text);
    return false;
}

const char* const kModeQuestion =
    "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?";

// The fallback question; false when the user declined (already told).
bool acceptWindowed() {
    if (platform::messageBox(kModeQuestion, "Wexo GL", platform::Icon::Exclamation,
                             platform::Buttons::YesNo) == platform::Answer::Yes) {
        glWindow.fullscreen = false;
        return true;
    }
    platform::messageBox("Program Will Now Close.", "ERROR", platform::Icon::Stop);
    return false;
}

}  // namespace

bool createGlWindow(const std::string& title, int width, int height, int colourBits,
                    bool fullscreenRequested) {
    platform::WindowSystem& system = platform::windowSystem();
    glWindow.fullscreen = fullscreenRequested;
    glWindow.fieldOfView = 90;
    if (!system.startVideo()) {
        creationError("Failed To Register The Window Class.");
        return false;
    }
    // 0 x 0: the desktop's own size, full screen without a mode switch.
    const bool desktop = width <= 0 || height <= 0;
    if (desktop && !platform::desktopSize(width, height)) {
        width = 800;
        height = 600;
    }
    // A mode the display cannot take: full screen at its own size, the
    // picture between bars. Only without any full screen the question.
    bool atDesktopSize = desktop;
    if (glWindow.fullscreen && !(!desktop && system.setDisplayMode(width, height, colourBits))) {
        atDesktopSize = true;
        if (!system.setDisplayMode(0, 0, colourBits) && !acceptWindowed()) return false;
    }
    if (glWindow.fullscreen) system.showCursor(false);

    if (!system.openWindow(title, width, height, colourBits, glWindow.fullscreen))
        return failCreation("Window Creation Error.");
    glWindow.windowOpen = true;
    platform::setWindowTitle(title);
    if (!system.windowTakesGl()) return failCreation("Can't Create A GL Device Context.");
    glWindow.glBound = true;
    if (!system.requestGlBuffers(colourBits, 16)) return failCreation("Can't Find A Suitable PixelFormat.");
    if (!system.loadGl()) return failCreation("Can't Set The PixelFormat.");
    if (!system.createGlContext()) return failCreation("Can't Create A GL Rendering Context.");
    glWindow.contextExists = true;
    if (!system.makeGlContextCurrent()) return failCreation("Can't Activate The GL Rendering Context.");

    if (!system.showWindow() && glWindow.fullscreen &&
        !(!atDesktopSize && system.setDisplayMode(0, 0, colourBits) && system.showWindow())) {
        // The display did not take the mode after all, nor full screen at its
        // own size: back to the desktop mode with a visible cursor, then the
        // same question as above.
        system.makeWindowed(width, height);
        system.showCursor(true);
        glWindow.fullscreen = false;
        if (!acceptWindowed()) {
            closeGlWindow();
            return false;
        }
    }
    int drawWidth = 0, drawHeight = 0;
    platform::drawableSize(drawWidth, drawHeight);
    if (drawWidth > 0 && drawHeight > 0)
        resizeGlView(drawWidth, drawHeight);
    else
        resizeGlView(width, height);
    return true;
}

void closeGlWindow() {
    platform::WindowSystem& system = platform::windowSystem();
    if (glWindow.fullscreen) {
        system.restoreDesktopMode();
        system.showCursor(true);
    }
    if (glWindow.contextExists) {
        if (!system.releaseGlContext()) shutdownError("Release Of DC And RC Failed.");
        if (!system.deleteGlContext()) shutdownError("Release Rendering Context Failed.");
        glWindow.contextExists = false;
    }
    if (glWindow.glBound) {
        if (!system.unloadGl()) shutdownError("Release Device Context Failed.");
        glWindow.glBound = false;
    }
    if (glWindow.windowOpen) {
        if (!system.closeWindow()) shutdownError("Could Not Release hWnd.");
        glWindow.windowOpen = false;
    }
    if (!system.stopVideo()) shutdownError("Could Not Unregister Class.");
}

PictureRect pictureRect(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    PictureRect r;
    if (static_cast<int64_t>(width) * 3 >= static_cast<int64_t>(height) * 4) {
        r.height = height;
        r.width = std::clamp(static_cast<int>(std::lround(height * kPictureAspect)), 1, width);
    } else {
        r.width = width;
        r.height = std::clamp(static_cast<int>(std::lround(width / kPictureAspect)), 1, height);
    }
    r.x = (width - r.width) / 2;
    r.y = (height - r.height) / 2;
    return r;
}

void resizeGlView(int width, int height) {
    if (height == 0) height = 1;
    const PictureRect picture = pictureRect(width, height);
    glWindow.drawableWidth = width;
    glWindow.drawableHeight = height;
    glWindow.picture = picture;
    glViewport(picture.x, picture.y, picture.width, picture.height);
    if (picture == PictureRect{0, 0, width, height}) {
        glDisable(GL_SCISSOR_TEST);
    } else {
        // Scenes clear with their own colours: keep those clears off the bars.
        glScissor(picture.x, picture.y, picture.width, picture.height);
        glEnable(GL_SCISSOR_TEST);
    }
    projectPicture(glWindow.fieldOfView);
}

void projectPicture(int fieldOfView) {
    glWindow.fieldOfView = fieldOfView;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fieldOfView, kPictureAspect, static_cast<double>(0.1f), 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void paintBars() {
    const PictureRect& p = glWindow.picture;
    const int w = glWindow.drawableWidth, h = glWindow.drawableHeight;
    if (p == PictureRect{0, 0, w, h}) return;
    // Beside the picture (pillarbox) or above and below it (letterbox).
    const PictureRect bars[2] = {
        p.x > 0 ? PictureRect{0, 0, p.x, h} : PictureRect{0, 0, w, p.y},
        p.x > 0 ? PictureRect{p.x + p.width, 0, w - p.x - p.width, h}
                : PictureRect{0, p.y + p.height, w, h - p.y - p.height},
    };
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    for (const PictureRect& bar : bars) {
        if (bar.width <= 0 || bar.height <= 0) continue;
        glScissor(bar.x, bar.y, bar.width, bar.height);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glScissor(p.x, p.y, p.width, p.height);
    glClearColor(clear[0], clear[1], clear[2], clear[3]);
}

void glWindowProc(const platform::Event& event) {
    using platform::EventKind;
    switch (event.kind) {
        case EventKind::Close:
            platform::postQuit();
            break;
        case EventKind::KeyDown:
            if (event.key >= 0 && event.key < 256) glWindow.keyDown[static_cast<size_t>(event.key)] = 1;
            break;
        case EventKind::KeyUp:
            if (event.key >= 0 && event.key < 256) glWindow.keyDown[static_cast<size_t>(event.key)] = 0;
            break;
        case EventKind::Resize:
            resizeGlView(event.width, event.height);
            break;
        default:
            break;
    }
}

ColourBits grantedColourBits() {
    ColourBits bits;
    glGetIntegerv(GL_RED_BITS, &bits.red);
    glGetIntegerv(GL_GREEN_BITS, &bits.green);
    glGetIntegerv(GL_BLUE_BITS, &bits.blue);
    return bits;
}
