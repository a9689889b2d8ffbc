// Process-wide choices of the setup dialog and the run flags.
#pragma once

#include <cstdint>

extern int32_t screenWidth;   // 800
extern int32_t screenHeight;  // 600
extern int32_t screenBits;    // 32
extern bool musicEnabled;     // true
extern bool setupCancelled;   // false; the dialog was closed
extern bool quitRequested;    // false; a close request was taken by the frame pump
extern int32_t timelineFrames;  // 0; frame counter advanced by some scene loops
// The full-screen choice belongs to the window (glWindow.fullscreen, window/gl_window.h).
