#include "platform/platform.h"
#include <cstdio>
#include <cstdlib>
// STUB: replaced by the foundation work.
namespace platform {
Answer messageBox(const std::string& text, const std::string& caption, Icon, Buttons b) { std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str()); return b == Buttons::YesNo ? Answer::Yes : Answer::Ok; }
void setMessageBoxHandler(MessageBoxHandler) {}
static std::string title;
void setWindowTitle(const std::string& t) { title = t; }
const std::string& windowTitle() { return title; }
uint32_t ticks() { return 0; }
void setClockSource(ClockSource) {}
void exitProcess(int code) { std::exit(code); }
void setExitHandler(ExitHandler) {}
}
