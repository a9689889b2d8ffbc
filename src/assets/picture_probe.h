// What the texture list's pictures hold beyond what the bitmap decoder
// reads: another image format under a .bmp name (by its signature), a
// 32-bit bitmap's alpha channel (which the show ignores), and the memory a
// large picture takes as a texture. For the data check; every read stays
// inside the bytes given.
#pragma once

#include <cstddef>
#include <cstdint>

// "PNG", "JPEG", "GIF", "WebP" or "TIFF" when the bytes start with that
// format's signature, else nullptr.
const char* otherPictureFormat(const uint8_t* data, size_t size);

struct AlphaCoverage {
    bool hasAlpha = false;  // false; 32 bits a pixel with an alpha mask, or a fourth byte that is not all 0
    int64_t pixels = 0;     // 0
    int64_t notOpaque = 0;  // 0; pixels whose alpha is below its full value
};
// The alpha of an uncompressed or bit-field 32-bit BMP file (nothing for
// other depths, or when the file is shorter than its pixels).
AlphaCoverage bitmapAlpha(const uint8_t* data, size_t size);

// Bytes a width x height picture takes as a texture: 4 a pixel, and a third
// more for the smaller copies of its mipmap chain.
uint64_t textureBytes(int64_t width, int64_t height);
// Sides above this many pixels are worth a remark about memory.
constexpr int kLargeTextureSide = 2048;
