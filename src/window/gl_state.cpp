#include "window/gl_state.h"
// STUB: replaced by the texture-list work.
bool setupGlState() { return true; }
