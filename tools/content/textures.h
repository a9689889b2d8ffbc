// The bundled texture set: every picture of the show, the BMP layout each one
// is stored in, and the texture list naming them in index order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "content/picture.h"

namespace content {

// How a picture is stored; together the set uses every layout the decoder reads.
enum class BmpLayout {
    Rgb24,         // 24 bits, info header
    Rgb24Bare,     // 24 bits, info header, no "BM" file header
    Rgb32,         // 32 bits
    Rgb16,         // 16 bits, 5-5-5
    Pal8,          // 8-bit palette
    Pal8Rle,       // 8-bit palette, RLE8
    Pal8Core,      // 8-bit palette, 12-byte core header
    Pal4,          // 4-bit palette
    Pal4Rle,       // 4-bit palette, RLE4
    Mono1,         // 1 bit
};

struct TextureFile {
    int index = 0;          // line of the texture list (0-based)
    std::string fileName;   // file name on disk, under data/textures/
    std::string listPath;   // path as written in the list
    BmpLayout layout = BmpLayout::Rgb24;
    std::vector<uint8_t> bytes;  // the encoded BMP
};

// Builds every picture and encodes it; entries in index order 0, 1, 2, ...
std::vector<TextureFile> buildTextures();
// The text of data/script/texture.dat for the given set (CR LF line ends).
std::string textureList(const std::vector<TextureFile>& set);

// The lettering on the overlay pictures (also used by tests and docs).
struct OverlayText {
    int index;
    std::vector<std::string> lines;
};
const std::vector<OverlayText>& overlayTexts();

}  // namespace content
