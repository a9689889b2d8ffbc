// The GL window on SDL2, one step at a time. The window code above walks the
// steps in a fixed order and reports failures in its own words; here each
// step is SDL work:
//   start video        -> SDL video subsystem up, the event filter set
//   set display mode   -> the display offers the size (or full screen at the
//                         desktop's own size, no switch); the switch happens
//                         when the full-screen window is shown and is checked
//                         then
//   open window        -> SDL window with an OpenGL visual, hidden until shown
//   window takes GL    -> the window is an OpenGL window
//   request GL buffers -> GL attributes (RGBA, double buffer, colour, depth)
//   load GL            -> GL library bound to the window
//   context, current   -> SDL_GL_CreateContext, SDL_GL_MakeCurrent
// SDL never reports a refused full-screen mode, so showWindow compares the
// resulting display mode and drawable size with the request.
// Release steps always do their work and report whether there was anything
// to release.

#include <GL/gl.h>
#include <SDL_syswm.h>

#include <cstring>
#include <string>

#include "platform/platform.h"
#include "platform/sdl_internal.h"

namespace platform {
namespace {

struct WindowState {
    bool videoUp = false;          // false; SDL video subsystem initialised by us
    SDL_Window* window = nullptr;  // nullptr
    SDL_GLContext context = nullptr;  // nullptr
    bool libraryBound = false;     // false; SDL_GL_LoadLibrary reference held
    bool fullscreenWanted = false; // false; setDisplayMode accepted the size
    bool desktopSize = false;      // false; full screen at the desktop's own size, no mode switch
    bool modeSwitched = false;     // false; the full-screen window is up
    bool cursorShown = true;       // true
    SDL_DisplayMode wantedMode{};  // the accepted full-screen mode
    uint64_t frames = 0;           // 0; buffers presented
    bool finishAfterSwap = false;  // false; the window has no visible surface
};

// SDL's video state is process-wide, and so is the one window on it.
WindowState state;

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

// Display 0's desktop mode, when video is up and the display tells it.
bool desktopMode(SDL_DisplayMode& mode) {
    return state.videoUp && SDL_GetDesktopDisplayMode(0, &mode) == 0 && mode.w > 0 && mode.h > 0;
}

Uint32 fullscreenFlag() {
    return state.desktopSize ? SDL_WINDOW_FULLSCREEN_DESKTOP : SDL_WINDOW_FULLSCREEN;
}

bool sizeIs(int width, int height, int wantWidth, int wantHeight) {
    return width == wantWidth && height == wantHeight;
}

// The size the X server gives the window; SDL's own idea of it follows
// its requests, which nobody carries out without a window manager. True
// (nothing to contradict SDL) on any other video driver.
bool xWindowIs(int width, int height) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(state.window, &info) || info.subsystem != SDL_SYSWM_X11) return true;
    XWindowAttributes attributes{};
    return XGetWindowAttributes(info.info.x11.display, info.info.x11.window, &attributes) != 0 &&
           attributes.width == width && attributes.height == height;
}

// True when the full-screen window shows exactly the wanted mode. A window
// at the desktop's size may come out smaller on Wayland, where the
// compositor centres it; its picture follows the size it gets.
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
           sizeIs(current.w, current.h, wantW, wantH) &&
           (state.desktopSize || sizeIs(drawW, drawH, wantW, wantH)) && xWindowIs(wantW, wantH);
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

namespace {

class SdlWindowSystem final : public WindowSystem {
public:
    bool startVideo() override {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
        detail::keepOnlyShowEvents();
        state.videoUp = true;
        return true;
    }

    bool setDisplayMode(int width, int height, int colourBits) override {
        if (!state.videoUp) return false;
        if (width == 0 && height == 0) {
            SDL_DisplayMode desktop{};
            if (!desktopMode(desktop)) return false;
            state.wantedMode = desktop;
            state.fullscreenWanted = true;
            state.desktopSize = true;
            return true;
        }
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
        state.desktopSize = false;
        return true;
    }

    bool openWindow(const std::string& title, int width, int height, int colourBits,
                    bool fullscreen) override {
        if (!state.videoUp || width <= 0 || height <= 0) return false;
        applyGlAttributes(colourBits, 16);
        Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
        flags |= !fullscreen ? static_cast<Uint32>(SDL_WINDOW_RESIZABLE) : fullscreenFlag();
        state.window = SDL_CreateWindow(title.c_str(), 0, 0, width, height, flags);
        if (!state.window) return false;
        if (fullscreen && !state.desktopSize) SDL_SetWindowDisplayMode(state.window, &state.wantedMode);
        // Without a visible surface a swap neither flushes nor waits: frames would
        // pile up in the GL's queue for as long as the show runs.
        const char* driver = SDL_GetCurrentVideoDriver();
        state.finishAfterSwap = driver && (std::strcmp(driver, "offscreen") == 0 ||
                                           std::strcmp(driver, "dummy") == 0);
        SDL_DisableScreenSaver();
        return true;
    }

    bool windowTakesGl() override {
        return state.window && (SDL_GetWindowFlags(state.window) & SDL_WINDOW_OPENGL) != 0;
    }

    bool requestGlBuffers(int colourBits, int depthBits) override {
        return applyGlAttributes(colourBits, depthBits);
    }

    bool loadGl() override {
        if (!state.window) return false;
        if (SDL_GL_LoadLibrary(nullptr) != 0) return false;
        state.libraryBound = true;
        return true;
    }

    bool createGlContext() override {
        if (!state.window) return false;
        state.context = SDL_GL_CreateContext(state.window);
        return state.context != nullptr;
    }

    bool makeGlContextCurrent() override {
        if (!state.context) return false;
        if (SDL_GL_MakeCurrent(state.window, state.context) != 0) return false;
        SDL_GL_SetSwapInterval(0);  // frames run back to back; some drivers refuse, which is fine
        return true;
    }

    bool showWindow() override {
        if (!state.window) return false;
        // Full screen of the kind chosen last (after a lost mode: the desktop's size).
        if (state.fullscreenWanted) SDL_SetWindowFullscreen(state.window, fullscreenFlag());
        SDL_ShowWindow(state.window);
        SDL_RaiseWindow(state.window);
        if (!state.fullscreenWanted) return true;
        // X applies the switch asynchronously: give it a moment to settle. A
        // Wayland window is sized only once it shows a picture: black ones.
        bool holds = fullscreenHolds();
        for (int tries = 0; !holds && tries < 50; ++tries) {
            glClear(GL_COLOR_BUFFER_BIT);
            SDL_GL_SwapWindow(state.window);
            SDL_Delay(10);
            SDL_PumpEvents();
            holds = fullscreenHolds();
        }
        state.modeSwitched = holds;
        return holds;
    }

    void makeWindowed(int width, int height) override {
        if (!state.window) return;
        SDL_SetWindowFullscreen(state.window, 0);
        SDL_SetWindowSize(state.window, width, height);
        SDL_SetWindowBordered(state.window, SDL_TRUE);
        SDL_SetWindowResizable(state.window, SDL_TRUE);
        state.modeSwitched = false;
        state.fullscreenWanted = false;
        state.desktopSize = false;
    }

    void restoreDesktopMode() override {
        if (state.window && (SDL_GetWindowFlags(state.window) & SDL_WINDOW_FULLSCREEN))
            SDL_SetWindowFullscreen(state.window, 0);
        state.modeSwitched = false;
        state.fullscreenWanted = false;
        state.desktopSize = false;
    }

    void showCursor(bool visible) override {
        if (state.videoUp) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
        state.cursorShown = visible;
    }

    bool releaseGlContext() override { return SDL_GL_MakeCurrent(state.window, nullptr) == 0; }

    bool deleteGlContext() override {
        if (state.context) SDL_GL_DeleteContext(state.context);
        const bool had = state.context != nullptr;
        state.context = nullptr;
        return had;
    }

    bool unloadGl() override {
        if (state.libraryBound) SDL_GL_UnloadLibrary();
        state.libraryBound = false;
        return true;
    }

    bool closeWindow() override {
        const bool had = state.window != nullptr;
        if (state.window) SDL_DestroyWindow(state.window);
        state.window = nullptr;
        state.modeSwitched = false;
        state.fullscreenWanted = false;
        state.desktopSize = false;
        return had;
    }

    bool stopVideo() override {
        const bool wasUp = state.videoUp;
        if (state.videoUp) SDL_QuitSubSystem(SDL_INIT_VIDEO);
        state.videoUp = false;
        return wasUp;
    }
};

// The seam tests put a window system of their own in front of SDL's; one
// per process, like the window it stands for.
SdlWindowSystem sdlSystem;
WindowSystem* currentSystem = &sdlSystem;

}  // namespace

WindowSystem& windowSystem() { return *currentSystem; }
WindowSystem& sdlWindowSystem() { return sdlSystem; }
void setWindowSystem(WindowSystem* system) { currentSystem = system ? system : &sdlSystem; }

bool windowExists() { return state.window != nullptr; }
bool displayModeSwitched() { return state.modeSwitched; }
bool cursorVisible() { return state.cursorShown; }

bool desktopSize(int& width, int& height) {
    SDL_DisplayMode desktop{};
    if (!desktopMode(desktop)) return false;
    width = desktop.w;
    height = desktop.h;
    return true;
}

void drawableSize(int& width, int& height) {
    width = height = 0;
    if (state.window) SDL_GL_GetDrawableSize(state.window, &width, &height);
}

void present() {
    if (state.window) {
        SDL_GL_SwapWindow(state.window);
        if (state.finishAfterSwap) glFinish();
    }
    ++state.frames;
}

uint64_t presentedFrames() { return state.frames; }

int requestVsync() {
    if (!state.context) return 0;
    if (SDL_GL_SetSwapInterval(-1) != 0) SDL_GL_SetSwapInterval(1);
    return SDL_GL_GetSwapInterval();
}

}  // namespace platform
