#include "window/gl_window.h"
// STUB: replaced by the foundation work.
bool fullscreen = true;
std::array<uint8_t, 256> keyDown{};
bool createGlWindow(const std::string&, int, int, int, bool) { return false; }
void closeGlWindow() {}
void resizeGlView(int, int) {}
