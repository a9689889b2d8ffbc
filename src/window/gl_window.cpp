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
    if (!system.startVideo()) {
        creationError("Failed To Register The Window Class.");
        return false;
    }
    if (glWindow.fullscreen && !system.setDisplayMode(width, height, colourBits)) {
        if (!acceptWindowed()) return false;
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

    if (!system.showWindow() && glWindow.fullscreen) {
        // The display did not take the mode after all: back to the desktop
        // mode with a visible cursor, then the same question as above.
        system.makeWindowed(width, height);
        system.showCursor(true);
        glWindow.fullscreen = false;
        if (!acceptWindowed()) {
            closeGlWindow();
            return false;
        }
    }
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
