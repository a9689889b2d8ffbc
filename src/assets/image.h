// Windows bitmap (BMP/DIB) decoding into 24-bit RGB, bottom row first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "assets/diagnostic.h"

// An allocator that leaves the elements a resize adds uninitialised (plain
// bytes are default-initialised), so a decoder that writes every byte does
// not clear the whole picture first.
template <typename T>
struct DefaultInitAllocator : std::allocator<T> {
    using std::allocator<T>::allocator;
    template <typename U>
    void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) {
        ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

// Pixel bytes: a vector whose resize(n) does not zero; use resize(n, 0) or
// assign(n, 0) for a black picture.
using PixelBytes = std::vector<uint8_t, DefaultInitAllocator<uint8_t>>;

struct RgbImage {
    int32_t width = 0;   // pixels
    int32_t height = 0;  // pixels
    PixelBytes data;     // height rows of width*3 bytes R,G,B; first row = bottom row
};

// Decodes a BMP file; on failure reports the decoder's message (caption
// "Error") and returns nothing. A file that cannot be read whole (missing,
// no regular file, empty, over the bitmap cap) is "Failed to open DIB file".
std::optional<RgbImage> loadDib(const std::string& path, Diagnostics& report);
