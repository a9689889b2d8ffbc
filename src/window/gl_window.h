// The one GL window of the show and its context, the key table and the
// event handling.
#pragma once

#include <array>
#include <cstdint>
#include <string>

extern bool fullscreen;                    // true; full screen wanted, later: in force
extern std::array<uint8_t, 256> keyDown;   // all 0; 1 while the key with that virtual-key code is down

constexpr int VK_ESCAPE_CODE = 27;

bool createGlWindow(const std::string& title, int width, int height, int colourBits,
                    bool fullscreenRequested);
void closeGlWindow();
void resizeGlView(int width, int height);
