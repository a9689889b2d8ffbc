// The page around the show: the page's clock and its
// animation frames, the window title (document.title), what the page says
// of the run (window.orbelune), the end of the process and the display
// checks, which in a page always find the canvas. page.js keeps the page's
// side: Module.page is its object, and every call here goes through it.

#include <emscripten.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>

#include "platform/browser.h"
#include "platform/platform.h"
#include "platform/web/web_internal.h"

namespace platform {
namespace {

// The seam tests replace and the title, process-wide as on the desktop.
ClockSource clockSource;
std::string title;
// The page calls back into the one frame function; it outlives main.
std::function<bool()> frameFunction;

void onAnimationFrame() {
    if (!frameFunction || !frameFunction()) {
        frameFunction = nullptr;
        emscripten_cancel_main_loop();
    }
}

const char* stateName(browser::PageState state) {
    switch (state) {
        case browser::PageState::Dialog: return "dialog";
        case browser::PageState::Loading: return "loading";
        case browser::PageState::Playing: return "playing";
        case browser::PageState::Ended: return "ended";
        case browser::PageState::Error: return "error";
    }
    return "error";
}

}  // namespace

bool displayAvailable() { return true; }
bool showDisplayReachable() { return true; }
void useOffscreenVideo() {}

void setWindowTitle(const std::string& text) {
    title = text;
    EM_ASM({ Module.page.setTitle(UTF8ToString($0)); }, title.c_str());
}

const std::string& windowTitle() { return title; }

uint32_t ticks() {
    if (clockSource) return clockSource();
    return static_cast<uint32_t>(static_cast<uint64_t>(detail::clockMs()));
}

void setClockSource(ClockSource source) { clockSource = std::move(source); }

void exitProcess(int code) {
    std::fflush(nullptr);
    EM_ASM({ Module.page.exited($0); }, code);
    emscripten_force_exit(code);
    __builtin_unreachable();
}

namespace browser {

double nowMs() { return emscripten_get_now(); }

void runEachAnimationFrame(std::function<bool()> frame, bool unpaced) {
    frameFunction = std::move(frame);
    emscripten_set_main_loop(onAnimationFrame, 0, 0);
    if (unpaced) emscripten_set_main_loop_timing(EM_TIMING_SETIMMEDIATE, 0);
}

void setPageState(PageState state, const std::string& text) {
    EM_ASM({ Module.page.setState(UTF8ToString($0), UTF8ToString($1)); }, stateName(state), text.c_str());
}

void framePresented(double showSeconds, unsigned long long frames) {
    EM_ASM({ Module.page.framePresented($0, $1); }, showSeconds, static_cast<double>(frames));
}

void publishReport(const std::string& json) {
    EM_ASM({ Module.page.report(UTF8ToString($0)); }, json.c_str());
}

}  // namespace browser
}  // namespace platform

// The page calls this when it starts another run in place of this one: no
// more frames, no more sound.
extern "C" EMSCRIPTEN_KEEPALIVE void orbelune_stop() {
    platform::frameFunction = nullptr;
    emscripten_cancel_main_loop();
    platform::audio().free();
}
