// Window title, the millisecond clock, process exit and the display checks.

#include "platform/platform.h"

#include <FL/x.H>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

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
// A socket connected to WAYLAND_DISPLAY's compositor, or -1.
int connectWayland() {
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
    if (fd < 0) return -1;
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// True when WAYLAND_DISPLAY's compositor answers and offers a seat (input),
// without which SDL's Wayland driver crashes as it starts. Asks in the
// protocol's own words: the registry of globals, then a sync whose answer
// marks the end of the list; at most two seconds and 64 KiB of answer.
bool waylandHasSeat() {
    const int fd = connectWayland();
    if (fd < 0) return false;
    // wl_display (object 1): get_registry -> object 2, sync -> callback 3.
    const uint32_t ask[6] = {1, (12u << 16) | 1u, 2, 1, (12u << 16) | 0u, 3};
    bool seat = false, done = false;
    if (send(fd, ask, sizeof ask, MSG_NOSIGNAL) == static_cast<ssize_t>(sizeof ask)) {
        std::vector<uint8_t> in;
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (!done && in.size() < 65536) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
            pollfd wait{fd, POLLIN, 0};
            if (left.count() <= 0 || poll(&wait, 1, static_cast<int>(left.count())) <= 0) break;
            uint8_t chunk[4096];
            const ssize_t got = recv(fd, chunk, sizeof chunk, 0);
            if (got <= 0) break;
            in.insert(in.end(), chunk, chunk + got);
            // Whole messages: object id, then size (high 16 bits) and opcode.
            size_t at = 0;
            while (in.size() - at >= 8) {
                uint32_t head[2];
                std::memcpy(head, &in[at], sizeof head);
                const size_t size = head[1] >> 16;
                if (size < 8 || size % 4 != 0) {
                    done = true;  // not the protocol: give up
                    break;
                }
                if (in.size() - at < size) break;
                if (head[0] == 3) done = true;  // the sync's answer: every global was listed
                if (head[0] == 2 && (head[1] & 0xffff) == 0 && size >= 16) {
                    // wl_registry.global: name, interface (length with its NUL, padded), version.
                    uint32_t length = 0;
                    std::memcpy(&length, &in[at + 12], 4);
                    static constexpr char kSeat[] = "wl_seat";
                    seat = seat || (length == sizeof kSeat && size >= 16 + sizeof kSeat &&
                                    std::memcmp(&in[at + 16], kSeat, sizeof kSeat) == 0);
                }
                at += size;
            }
            in.erase(in.begin(), in.begin() + static_cast<std::ptrdiff_t>(at));
        }
    }
    close(fd);
    return seat && done;
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
    // Chosen by hand: SDL reports what it cannot do, but its Wayland driver
    // crashes on a compositor without a seat.
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (driver && *driver) return std::strcmp(driver, "wayland") != 0 || waylandHasSeat();
    if (x11Answers()) {
        const int fd = connectWayland();
        if (fd >= 0) close(fd);
        // SDL may prefer the Wayland display: not one it would crash on.
        if (fd >= 0 && !waylandHasSeat()) setenv("SDL_VIDEODRIVER", "x11", 1);
        return true;
    }
    return waylandHasSeat();
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
