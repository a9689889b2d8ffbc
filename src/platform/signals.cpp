// The handler only counts the signal and writes one byte to a pipe (both
// async-signal-safe). The watchdog thread sleeps on that pipe; woken, it
// gives the frame loop kGrace to take the signal (pollEvent hands it out as
// a close request), and when nobody did, leaves full screen and _exits: the
// main thread may be anywhere, so no destructor or atexit handler runs.
#include "platform/signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <thread>

#include "platform/platform.h"
#include "platform/sdl_internal.h"

namespace platform {
namespace {

constexpr auto kGrace = std::chrono::milliseconds(400);

// Shared with the signal handler, which can be handed nothing else.
std::atomic<int> signalsSeen{0};
std::atomic<int> signalsTaken{0};
std::atomic<int> lastSignal{0};
int wakeFds[2] = {-1, -1};

void onStopSignal(int signo) {
    const int saved = errno;
    lastSignal.store(signo);
    signalsSeen.fetch_add(1);
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(wakeFds[1], &byte, 1);
    errno = saved;
}

[[noreturn]] void endNow(int signo) {
    if (SDL_Window* window = detail::window(); window && displayModeSwitched())
        SDL_SetWindowFullscreen(window, 0);
    ::_exit(128 + signo);
}

void watch() {
    for (;;) {
        char byte;
        const ssize_t n = ::read(wakeFds[0], &byte, 1);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        const int seen = signalsSeen.load();
        const auto deadline = std::chrono::steady_clock::now() + kGrace;
        while (signalsTaken.load() < seen && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (signalsTaken.load() < seen) endNow(lastSignal.load());
    }
}

}  // namespace

void installStopSignals() {
    if (wakeFds[0] >= 0) return;
    if (::pipe2(wakeFds, O_CLOEXEC) != 0) return;
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    std::thread(watch).detach();
}

bool stopSignalPending() { return signalsTaken.load() < signalsSeen.load(); }

void takeStopSignal() { signalsTaken.store(signalsSeen.load()); }

}  // namespace platform
