// The GL window: creation in the classic order with a message for every step
// that fails, the windowed fallback when the full-screen mode is refused,
// release in reverse order, the viewport/projection for a client size, and
// the handling of window events (key table, close request, resize).
//
// GL state: createGlWindow and resizeGlView leave the viewport at the client
// size, a 90-degree perspective in the projection matrix and the model-view
// matrix selected and identity.

#include "window/gl_window.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "platform/platform.h"

bool fullscreen = true;
std::array<uint8_t, 256> keyDown{};

namespace {

// What exists right now, so a partial creation releases only that.
bool contextExists = false;
bool deviceContextExists = false;
bool windowCreated = false;

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
        fullscreen = false;
        return true;
    }
    platform::messageBox("Program Will Now Close.", "ERROR", platform::Icon::Stop);
    return false;
}

}  // namespace

bool createGlWindow(const std::string& title, int width, int height, int colourBits,
                    bool fullscreenRequested) {
    fullscreen = fullscreenRequested;
    if (!platform::registerWindowClass()) {
        creationError("Failed To Register The Window Class.");
        return false;
    }
    if (fullscreen && !platform::changeDisplayMode(width, height, colourBits)) {
        if (!acceptWindowed()) return false;
    }
    if (fullscreen) platform::showCursor(false);

    if (!platform::createWindow(title, width, height, colourBits, fullscreen))
        return failCreation("Window Creation Error.");
    windowCreated = true;
    platform::setWindowTitle(title);
    if (!platform::getDeviceContext()) return failCreation("Can't Create A GL Device Context.");
    deviceContextExists = true;
    if (!platform::choosePixelFormat(colourBits, 16))
        return failCreation("Can't Find A Suitable PixelFormat.");
    if (!platform::setPixelFormat()) return failCreation("Can't Set The PixelFormat.");
    if (!platform::createContext()) return failCreation("Can't Create A GL Rendering Context.");
    contextExists = true;
    if (!platform::makeCurrent()) return failCreation("Can't Activate The GL Rendering Context.");

    if (!platform::showWindow() && fullscreen) {
        // The display did not take the mode after all: back to the desktop
        // mode with a visible cursor, then the same question as above.
        platform::makeWindowed(width, height);
        platform::showCursor(true);
        fullscreen = false;
        if (!acceptWindowed()) {
            closeGlWindow();
            return false;
        }
    }
    resizeGlView(width, height);
    return true;
}

void closeGlWindow() {
    if (fullscreen) {
        platform::restoreDisplayMode();
        platform::showCursor(true);
    }
    if (contextExists) {
        if (!platform::releaseCurrent()) shutdownError("Release Of DC And RC Failed.");
        if (!platform::deleteContext()) shutdownError("Release Rendering Context Failed.");
        contextExists = false;
    }
    if (deviceContextExists) {
        if (!platform::releaseDeviceContext()) shutdownError("Release Device Context Failed.");
        deviceContextExists = false;
    }
    if (windowCreated) {
        if (!platform::destroyWindow()) shutdownError("Could Not Release hWnd.");
        windowCreated = false;
    }
    if (!platform::unregisterWindowClass()) shutdownError("Could Not Unregister Class.");
}

void resizeGlView(int width, int height) {
    if (height == 0) height = 1;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(90.0, static_cast<GLfloat>(width) / static_cast<GLfloat>(height), 0.1f, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void glWindowProc(const platform::Event& event) {
    using platform::EventKind;
    switch (event.kind) {
        case EventKind::Close:
            platform::postQuit();
            break;
        case EventKind::KeyDown:
            if (event.key >= 0 && event.key < 256) keyDown[static_cast<size_t>(event.key)] = 1;
            break;
        case EventKind::KeyUp:
            if (event.key >= 0 && event.key < 256) keyDown[static_cast<size_t>(event.key)] = 0;
            break;
        case EventKind::Resize:
            resizeGlView(event.width, event.height);
            break;
        default:
            break;
    }
}
