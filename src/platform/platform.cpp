// Window title, the millisecond clock, process exit and the display checks.

#include "platform/platform.h"

#include <FL/x.H>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/sdl_internal.h"

namespace platform {
namespace {
// The seam tests replace (the clock), the title, and whether the X display
// was opened (once per process: FLTK keeps the connection), process-wide
// like the SDL state behind them.
ClockSource clockSource;
std::string title;
int xDisplayState = -1;  // -1 not tried, 0 could not open, 1 open (handed to FLTK)

bool headlessDriver(const char* driver) {
    return driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}
// True when a Wayland compositor listens on WAYLAND_DISPLAY's socket.
bool waylandAnswers() {
    const char* name = std::getenv("WAYLAND_DISPLAY");
    if (!name || !*name) return false;
    std::string path = name;
    if (path.front() != '/') {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        if (!runtime || !*runtime) return false;
        path = std::string(runtime) + "/" + path;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path)) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool connected = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return connected;
}

bool x11Answers() {
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) return false;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    XCloseDisplay(display);
    return true;
}
}  // namespace

bool showDisplayReachable() {
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (driver && *driver) return true;  // chosen by hand: SDL reports what it cannot do
    return x11Answers() || waylandAnswers();
}

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

void useOffscreenVideo() {
    // Through the environment, which SDL reads when video starts and the
    // display checks read before it has.
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
}

void setWindowTitle(const std::string& text) {
    title = text;
    if (SDL_Window* w = detail::window()) SDL_SetWindowTitle(w, title.c_str());
}

const std::string& windowTitle() { return title; }

uint32_t ticks() { return clockSource ? clockSource() : SDL_GetTicks(); }

void setClockSource(ClockSource source) { clockSource = std::move(source); }

void exitProcess(int code) {
    std::fflush(nullptr);
    detail::shutdownVideo();
    std::exit(code);
}

}  // namespace platform
