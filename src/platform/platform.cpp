#include "platform/platform.h"

#include <cstdio>
#include <cstdlib>

// STUB: replaced by the foundation work (keeps the seams working meanwhile).
namespace platform {
namespace {
MessageBoxHandler boxHandler;
ClockSource clockSource;
ExitHandler exitHandler;
std::string title;
}  // namespace

Answer messageBox(const std::string& text, const std::string& caption, Icon icon, Buttons b) {
    if (boxHandler) return boxHandler(text, caption, icon, b);
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    return b == Buttons::YesNo ? Answer::Yes : Answer::Ok;
}
void setMessageBoxHandler(MessageBoxHandler h) { boxHandler = std::move(h); }
void setWindowTitle(const std::string& t) { title = t; }
const std::string& windowTitle() { return title; }
uint32_t ticks() { return clockSource ? clockSource() : 0; }
void setClockSource(ClockSource s) { clockSource = std::move(s); }
void exitProcess(int code) {
    if (exitHandler) exitHandler(code);
    std::exit(code);
}
void setExitHandler(ExitHandler h) { exitHandler = std::move(h); }
}  // namespace platform
