// Windows bitmap (BMP/DIB) decoding into 24-bit RGB, bottom row first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct RgbImage {
    int32_t width = 0;          // pixels
    int32_t height = 0;         // pixels
    std::vector<uint8_t> data;  // height rows of width*3 bytes R,G,B; first row = bottom row
};

// Decodes a BMP file; on failure shows the decoder's message box (caption
// "Error") and returns nothing.
std::optional<RgbImage> loadDib(const std::string& path);
