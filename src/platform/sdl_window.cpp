// The GL window on SDL2, one step at a time. The window code above walks the
// steps of a classic window set-up (register, mode switch, window, device
// context, pixel format, context, current, show) and reports failures in its
// own words; here each step does the SDL work that stands in for it:
//   register class      -> SDL video subsystem up
//   mode switch         -> the display offers the size; the switch happens when
//                          the full-screen window is shown and is checked then
//   window              -> SDL window with an OpenGL visual, hidden until shown
//   device context      -> the window is an OpenGL window
//   choose pixel format -> GL attributes (RGBA, double buffer, colour, depth)
//   set pixel format    -> GL library bound to the window
//   context, current    -> SDL_GL_CreateContext, SDL_GL_MakeCurrent
// SDL never reports a refused full-screen mode, so showWindow compares the
// resulting display mode and drawable size with the request.
// Release steps always do their work; an injected failure only changes the
// result, so tests can see every message without leaking anything.

#include <GL/gl.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/sdl_internal.h"

namespace platform {
namespace {

constexpr size_t kStepCount = static_cast<size_t>(WindowStep::UnregisterClass) + 1;

struct WindowState {
    bool videoUp = false;          // false; SDL video subsystem initialised by us
    SDL_Window* window = nullptr;  // nullptr
    SDL_GLContext context = nullptr;  // nullptr
    bool libraryBound = false;     // false; SDL_GL_LoadLibrary reference held
    bool fullscreenWanted = false; // false; changeDisplayMode accepted the size
    bool modeSwitched = false;     // false; the full-screen window is up
    bool cursorShown = true;       // true
    SDL_DisplayMode wantedMode{};  // the accepted full-screen mode
    uint64_t frames = 0;           // 0; buffers presented
    bool finishAfterSwap = false;  // false; the window has no visible surface
    std::array<bool, kStepCount> failing{};  // all false; injected failures
    std::vector<std::string> log;  // steps taken since the last clear
};

WindowState state;

bool injected(WindowStep step) { return state.failing[static_cast<size_t>(step)]; }

void record(std::string entry) {
    // A run takes a couple of dozen steps; keep the log bounded all the same.
    if (state.log.size() < 1000) state.log.push_back(std::move(entry));
}

// GL attributes for the requested colour depth; read by SDL when it picks the
// window's visual and again when it creates the context.
bool applyGlAttributes(int colourBits, int depthBits) {
    const int channel = colourBits <= 16 ? 5 : 8;
    int failures = 0;
    failures += SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK,
                                    SDL_GL_CONTEXT_PROFILE_COMPATIBILITY) != 0;
    failures += SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1) != 0;
    failures += SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channel) != 0;
    failures += SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, colourBits <= 16 ? 6 : 8) != 0;
    failures += SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channel) != 0;
    failures += SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0) != 0;
    failures += SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depthBits) != 0;
    failures += SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0) != 0;
    return failures == 0;
}

bool sizeIs(int width, int height, int wantWidth, int wantHeight) {
    return width == wantWidth && height == wantHeight;
}

// True when the full-screen window shows exactly the wanted mode.
bool fullscreenHolds() {
    if (!state.window) return false;
    const int wantW = state.wantedMode.w, wantH = state.wantedMode.h;
    SDL_DisplayMode windowMode{}, current{};
    int drawW = 0, drawH = 0;
    const int display = SDL_GetWindowDisplayIndex(state.window);
    if (display < 0 || SDL_GetWindowDisplayMode(state.window, &windowMode) != 0 ||
        SDL_GetCurrentDisplayMode(display, &current) != 0)
        return false;
    SDL_GL_GetDrawableSize(state.window, &drawW, &drawH);
    return (SDL_GetWindowFlags(state.window) & SDL_WINDOW_FULLSCREEN) &&
           sizeIs(windowMode.w, windowMode.h, wantW, wantH) &&
           sizeIs(current.w, current.h, wantW, wantH) && sizeIs(drawW, drawH, wantW, wantH);
}

}  // namespace

namespace detail {
SDL_Window* window() { return state.window; }

void shutdownVideo() {
    if (state.window) SDL_SetWindowFullscreen(state.window, 0);
    SDL_Quit();
    state.window = nullptr;
    state.context = nullptr;
    state.videoUp = false;
    state.libraryBound = false;
    state.modeSwitched = false;
}
}  // namespace detail

void setWindowStepFailure(WindowStep step, bool fail) {
    state.failing[static_cast<size_t>(step)] = fail;
}
void clearWindowStepFailures() { state.failing.fill(false); }
const std::vector<std::string>& windowCallLog() { return state.log; }
void clearWindowCallLog() { state.log.clear(); }

bool registerWindowClass() {
    record("registerClass");
    if (injected(WindowStep::RegisterClass)) return false;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    detail::keepOnlyShowEvents();
    state.videoUp = true;
    return true;
}

bool changeDisplayMode(int width, int height, int colourBits) {
    record("changeDisplayMode");
    if (injected(WindowStep::ChangeDisplayMode) || !state.videoUp) return false;
    SDL_DisplayMode want{};
    want.w = width;
    want.h = height;
    want.format = colourBits <= 16 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB888;
    SDL_DisplayMode got{};
    // The colour depth of an X display cannot be switched: only the size counts.
    if (!SDL_GetClosestDisplayMode(0, &want, &got) || got.w != width || got.h != height)
        return false;
    state.wantedMode = got;
    state.fullscreenWanted = true;
    return true;
}

void restoreDisplayMode() {
    record("restoreDisplayMode");
    if (state.window && (SDL_GetWindowFlags(state.window) & SDL_WINDOW_FULLSCREEN))
        SDL_SetWindowFullscreen(state.window, 0);
    state.modeSwitched = false;
    state.fullscreenWanted = false;
}

void showCursor(bool visible) {
    record(visible ? "showCursor 1" : "showCursor 0");
    if (state.videoUp) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
    state.cursorShown = visible;
}

bool createWindow(const std::string& title, int width, int height, int colourBits,
                  bool fullscreen) {
    record("createWindow");
    if (injected(WindowStep::CreateWindow) || !state.videoUp || width <= 0 || height <= 0)
        return false;
    applyGlAttributes(colourBits, 16);
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    flags |= fullscreen ? SDL_WINDOW_FULLSCREEN : SDL_WINDOW_RESIZABLE;
    state.window = SDL_CreateWindow(title.c_str(), 0, 0, width, height, flags);
    if (!state.window) return false;
    if (fullscreen) SDL_SetWindowDisplayMode(state.window, &state.wantedMode);
    // Without a visible surface a swap neither flushes nor waits: frames would
    // pile up in the GL's queue for as long as the show runs.
    const char* driver = SDL_GetCurrentVideoDriver();
    state.finishAfterSwap = driver && (std::strcmp(driver, "offscreen") == 0 ||
                                       std::strcmp(driver, "dummy") == 0);
    SDL_DisableScreenSaver();
    return true;
}

bool getDeviceContext() {
    record("getDeviceContext");
    if (injected(WindowStep::DeviceContext) || !state.window) return false;
    return (SDL_GetWindowFlags(state.window) & SDL_WINDOW_OPENGL) != 0;
}

bool choosePixelFormat(int colourBits, int depthBits) {
    record("choosePixelFormat");
    if (injected(WindowStep::ChoosePixelFormat)) return false;
    return applyGlAttributes(colourBits, depthBits);
}

bool setPixelFormat() {
    record("setPixelFormat");
    if (injected(WindowStep::SetPixelFormat) || !state.window) return false;
    if (SDL_GL_LoadLibrary(nullptr) != 0) return false;
    state.libraryBound = true;
    return true;
}

bool createContext() {
    record("createContext");
    if (injected(WindowStep::CreateContext) || !state.window) return false;
    state.context = SDL_GL_CreateContext(state.window);
    return state.context != nullptr;
}

bool makeCurrent() {
    record("makeCurrent");
    if (injected(WindowStep::MakeCurrent) || !state.context) return false;
    if (SDL_GL_MakeCurrent(state.window, state.context) != 0) return false;
    SDL_GL_SetSwapInterval(0);  // frames run back to back; some drivers refuse, which is fine
    return true;
}

bool showWindow() {
    record("showWindow");
    if (!state.window) return false;
    SDL_ShowWindow(state.window);
    SDL_RaiseWindow(state.window);
    if (!state.fullscreenWanted) return true;
    // X applies the switch asynchronously: give it a moment to settle.
    bool holds = fullscreenHolds();
    for (int tries = 0; !holds && tries < 50; ++tries) {
        SDL_Delay(10);
        SDL_PumpEvents();
        holds = fullscreenHolds();
    }
    if (injected(WindowStep::ShowFullscreen)) holds = false;
    state.modeSwitched = holds;
    return holds;
}

void makeWindowed(int width, int height) {
    record("makeWindowed");
    if (!state.window) return;
    SDL_SetWindowFullscreen(state.window, 0);
    SDL_SetWindowSize(state.window, width, height);
    SDL_SetWindowBordered(state.window, SDL_TRUE);
    SDL_SetWindowResizable(state.window, SDL_TRUE);
    state.modeSwitched = false;
    state.fullscreenWanted = false;
}

bool releaseCurrent() {
    record("releaseCurrent");
    bool ok = SDL_GL_MakeCurrent(state.window, nullptr) == 0;
    return ok && !injected(WindowStep::ReleaseCurrent);
}

bool deleteContext() {
    record("deleteContext");
    if (state.context) SDL_GL_DeleteContext(state.context);
    const bool ok = state.context != nullptr;
    state.context = nullptr;
    return ok && !injected(WindowStep::DeleteContext);
}

bool releaseDeviceContext() {
    record("releaseDeviceContext");
    if (state.libraryBound) SDL_GL_UnloadLibrary();
    state.libraryBound = false;
    return !injected(WindowStep::ReleaseDeviceContext);
}

bool destroyWindow() {
    record("destroyWindow");
    const bool ok = state.window != nullptr;
    if (state.window) SDL_DestroyWindow(state.window);
    state.window = nullptr;
    state.modeSwitched = false;
    state.fullscreenWanted = false;
    return ok && !injected(WindowStep::DestroyWindow);
}

bool unregisterWindowClass() {
    record("unregisterClass");
    const bool ok = state.videoUp;
    if (state.videoUp) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    state.videoUp = false;
    return ok && !injected(WindowStep::UnregisterClass);
}

bool windowExists() { return state.window != nullptr; }
bool displayModeSwitched() { return state.modeSwitched; }
bool cursorVisible() { return state.cursorShown; }

void swapWindow() {
    if (state.window) {
        SDL_GL_SwapWindow(state.window);
        if (state.finishAfterSwap) glFinish();
    }
    ++state.frames;
}

uint64_t presentedFrames() { return state.frames; }

}  // namespace platform
