// The GL window in a page: the canvas is the window and a WebGL 1 context
// on it the GL context. Its drawing buffer is exactly the chosen mode's
// size; page.css scales it to the largest 4:3 box of the stage, so the
// picture is pillarboxed (or letterboxed) in a page of any shape, and full
// screen is the browser's: the stage asks for it when the window opens
// (the setup dialog's OK click is the user gesture it needs; without one
// the browser refuses and the picture stays in the page). The drawing
// buffer is preserved, so the last frame stays on the canvas after the
// show and a test can read it at any time. A frame is presented when the
// animation-frame callback returns; present() only counts it.

#include <emscripten.h>
#include <emscripten/html5.h>

#include <string>

#include "platform/browser.h"
#include "platform/gl.h"
#include "platform/platform.h"

namespace platform {
namespace {

constexpr const char* kCanvas = "#canvas";

struct WindowState {
    bool videoUp = false;                        // false
    bool open = false;                           // false; the canvas is sized and titled
    bool fullscreenWanted = false;               // false
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = 0; // 0: none
    bool cursorShown = true;                     // true
    int depthBits = 16;                          // 16
    uint64_t frames = 0;                         // 0; frames presented
};

// The page has one canvas, so one window per process as on the desktop.
WindowState state;

class CanvasWindowSystem final : public WindowSystem {
public:
    bool startVideo() override {
        state.videoUp = true;
        return true;
    }
    // The canvas takes any size; the browser decides about full screen.
    bool setDisplayMode(int, int, int) override {
        state.fullscreenWanted = true;
        return state.videoUp;
    }
    bool openWindow(const std::string& title, int width, int height, int, bool fullscreen) override {
        if (!state.videoUp || width <= 0 || height <= 0) return false;
        if (emscripten_set_canvas_element_size(kCanvas, width, height) != EMSCRIPTEN_RESULT_SUCCESS) return false;
        setWindowTitle(title);
        if (fullscreen) EM_ASM({ Module.page.requestFullscreen(); });
        state.open = true;
        return true;
    }
    bool windowTakesGl() override { return state.open; }
    bool requestGlBuffers(int, int depthBits) override {
        state.depthBits = depthBits;
        return true;
    }
    bool loadGl() override { return state.open; }
    bool createGlContext() override {
        if (!state.open) return false;
        EmscriptenWebGLContextAttributes attributes;
        emscripten_webgl_init_context_attributes(&attributes);
        attributes.alpha = false;
        attributes.depth = state.depthBits > 0;
        attributes.stencil = false;
        attributes.antialias = false;  // as the desktop's pixel format: no multisampling
        attributes.preserveDrawingBuffer = true;
        attributes.majorVersion = 1;
        attributes.minorVersion = 0;
        state.context = emscripten_webgl_create_context(kCanvas, &attributes);
        return state.context > 0;
    }
    bool makeGlContextCurrent() override {
        if (state.context <= 0 || emscripten_webgl_make_context_current(state.context) != EMSCRIPTEN_RESULT_SUCCESS)
            return false;
        gl11Attach();  // the show draws through the GL 1.1 layer
        return true;
    }
    bool showWindow() override { return state.open; }
    void makeWindowed(int, int) override { restoreDesktopMode(); }
    void restoreDesktopMode() override {
        if (state.fullscreenWanted) EM_ASM({ Module.page.exitFullscreen(); });
        state.fullscreenWanted = false;
    }
    void showCursor(bool visible) override {
        EM_ASM({ Module.page.showCursor($0); }, visible);
        state.cursorShown = visible;
    }
    bool releaseGlContext() override {
        gl11Detach();
        return emscripten_webgl_make_context_current(0) == EMSCRIPTEN_RESULT_SUCCESS;
    }
    bool deleteGlContext() override {
        // The context stays with the canvas (and so does the last frame):
        // only the program's handle goes.
        const bool had = state.context > 0;
        if (had) emscripten_webgl_destroy_context(state.context);
        state.context = 0;
        return had;
    }
    bool unloadGl() override { return true; }
    bool closeWindow() override {
        const bool had = state.open;
        state.open = false;
        return had;
    }
    bool stopVideo() override {
        const bool wasUp = state.videoUp;
        state.videoUp = false;
        return wasUp;
    }
};

CanvasWindowSystem canvasSystem;
WindowSystem* currentSystem = &canvasSystem;

}  // namespace

WindowSystem& windowSystem() { return *currentSystem; }
WindowSystem& sdlWindowSystem() { return canvasSystem; }
void setWindowSystem(WindowSystem* system) { currentSystem = system ? system : &canvasSystem; }

bool windowExists() { return state.open; }

// The screen in device pixels: what full screen shows.
bool desktopSize(int& width, int& height) {
    const double ratio = emscripten_get_device_pixel_ratio();
    width = static_cast<int>(EM_ASM_DOUBLE({ return screen.width; }) * ratio + 0.5);
    height = static_cast<int>(EM_ASM_DOUBLE({ return screen.height; }) * ratio + 0.5);
    return width > 0 && height > 0;
}
bool displayModeSwitched() { return false; }
bool cursorVisible() { return state.cursorShown; }

void drawableSize(int& width, int& height) {
    width = height = 0;
    if (state.open) emscripten_get_canvas_element_size(kCanvas, &width, &height);
}

void present() { ++state.frames; }

uint64_t presentedFrames() { return state.frames; }

namespace browser {
void finishDrawing() {
    EM_ASM({
        var pixel = new Uint8Array(4);
        GLctx.readPixels(0, 0, 1, 1, GLctx.RGBA, GLctx.UNSIGNED_BYTE, pixel);
    });
}
}  // namespace browser

// Animation frames come at the display's rate.
int requestVsync() { return 1; }

}  // namespace platform
