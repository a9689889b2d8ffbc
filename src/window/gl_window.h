// The one GL window of the show and its context, the key table and the
// event handling.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace platform {
struct Event;
}

extern bool fullscreen;                    // true; full screen wanted, later: in force
extern std::array<uint8_t, 256> keyDown;   // all 0; 1 while the key with that virtual-key code is down

constexpr int VK_ESCAPE_CODE = 27;

// Opens the window (full screen at width x height when asked and possible),
// with a current double-buffered RGBA GL context, 16-bit depth, viewport and
// 90-degree projection. False after telling the user what failed.
bool createGlWindow(const std::string& title, int width, int height, int colourBits,
                    bool fullscreenRequested);
// Releases display mode, context, window and video in that order; safe after
// a partial creation. Each failed release is reported and the rest goes on.
void closeGlWindow();
// Viewport and 90-degree projection for a client area (height 0 counts as 1).
void resizeGlView(int width, int height);
// Handles one window event: keys into keyDown, a close request posts the quit
// the frame pump takes in a later frame, a resize resets the view.
void glWindowProc(const platform::Event& event);
