// Window title, the millisecond clock, process exit and the display check.

#include "platform/platform.h"

#include <FL/x.H>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/sdl_internal.h"

namespace platform {
namespace {
ClockSource clockSource;
ExitHandler exitHandler;
std::string title;
int xDisplayState = -1;  // -1 not tried, 0 could not open, 1 open (handed to FLTK)

bool headlessDriver(const char* driver) {
    return driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}
}  // namespace

bool displayAvailable() {
    const char* driver = SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GetCurrentVideoDriver()
                                                     : std::getenv("SDL_VIDEODRIVER");
    if (headlessDriver(driver)) return false;
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) return false;
    if (xDisplayState < 0) {
        // FLTK ends the process when it cannot open a display: open it first.
        if (Display* display = XOpenDisplay(nullptr)) {
            fl_open_display(display);
            xDisplayState = 1;
        } else {
            xDisplayState = 0;
        }
    }
    return xDisplayState == 1;
}

void setWindowTitle(const std::string& text) {
    title = text;
    if (SDL_Window* w = detail::window()) SDL_SetWindowTitle(w, title.c_str());
}

const std::string& windowTitle() { return title; }

uint32_t ticks() { return clockSource ? clockSource() : SDL_GetTicks(); }

void setClockSource(ClockSource source) { clockSource = std::move(source); }

void exitProcess(int code) {
    if (exitHandler) exitHandler(code);
    std::fflush(nullptr);
    detail::shutdownVideo();
    std::exit(code);
}

void setExitHandler(ExitHandler handler) { exitHandler = std::move(handler); }

}  // namespace platform
