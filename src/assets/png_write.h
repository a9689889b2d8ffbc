// Writes an RGB picture as a PNG file (capture's frames, --inspect's dumps).
#pragma once

#include <cstdint>
#include <string>

// Writes one RGB picture (bottom row first, as GL reads it back) as a PNG,
// top row first. False when the file cannot be written.
bool writePng(const std::string& path, const uint8_t* rgbBottomUp, int width, int height);
