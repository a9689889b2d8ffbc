// Writes Windows bitmap files in every layout the decoder reads: core
// (12-byte), info (40-byte) and the newer 56-, 108- (V4) and 124-byte (V5)
// headers (masks inside the header, sRGB colour space, an optional V5
// colour profile), 1/4/8-bit palettes, RLE8 and RLE4,
// 16-bit 5-5-5, 24 and 32 bits, bit-field masks (16 and 32 bits), top-down
// rows, with or without the 14-byte "BM" file header. Any header field can
// be overridden and the pixel data replaced, so tests can build hostile files.
//
// Pictures are given bottom row first, like the decoder's output, so a
// written file decodes back to the same bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace bmpw {

struct Rgb {
    uint8_t r = 0;  // 0
    uint8_t g = 0;  // 0
    uint8_t b = 0;  // 0
    bool operator==(const Rgb&) const = default;
};

// A true-colour picture: height rows of width R,G,B triples, bottom row first.
struct RgbPicture {
    int width = 0;             // pixels
    int height = 0;            // pixels
    std::vector<uint8_t> rgb;  // width*height*3 bytes
};

// A palette picture: one index per pixel, bottom row first.
struct IndexedPicture {
    int width = 0;                 // pixels
    int height = 0;                // pixels
    std::vector<uint8_t> indices;  // width*height entries
    std::vector<Rgb> palette;      // written as the colour table
};

// Core 12 bytes, Info 40, V3 56 (masks in the header), V4 108, V5 124.
enum class HeaderKind { Core, Info, V3, V4, V5 };
enum class Encoding { Plain, Rle, BitFields };

// Header fields that, when set, replace what the writer would compute.
struct Overrides {
    std::optional<uint32_t> headerSize;  // size field only; see extraHeaderBytes
    std::optional<int32_t> width;        // core header keeps the low 16 bits
    std::optional<int32_t> height;       // core header keeps the low 16 bits
    std::optional<uint16_t> planes;      // 1 otherwise
    std::optional<uint16_t> bitCount;
    std::optional<uint32_t> compression;
    std::optional<uint32_t> imageSize;
    std::optional<uint32_t> colorsUsed;
    std::optional<uint32_t> colorsImportant;
    std::optional<uint32_t> dataOffset;             // file-header offset field
    std::optional<std::vector<uint8_t>> pixelData;  // replaces the encoded pixels
    uint32_t extraHeaderBytes = 0;     // zero bytes appended to the header (e.g. 68 for a 108-byte header)
    std::optional<size_t> truncateTo;  // cut the finished file to this many bytes
};

struct BmpOptions {
    HeaderKind header = HeaderKind::Info;  // Info
    int bitsPerPixel = 24;                 // 1, 4, 8, 16, 24 or 32
    Encoding encoding = Encoding::Plain;   // Rle needs 4 or 8 bits; BitFields 16 or 32
    bool fileHeader = true;                // the 14-byte "BM" header
    bool topDown = false;                  // negative height, rows stored top row first (info only)
    // Channel masks for Encoding::BitFields; 0 means the default for the depth
    // (16 bits: 5-6-5, 32 bits: 8-8-8 in the low three bytes).
    uint32_t redMask = 0;    // 0
    uint32_t greenMask = 0;  // 0
    uint32_t blueMask = 0;   // 0
    // V5 only: colour profile bytes, stored after the pixel data (as image
    // editors do) or between the colour table and the pixels.
    std::vector<uint8_t> profile;     // none
    bool profileBeforePixels = false;  // false
    Overrides overrides;
};

// Writes an indexed picture at 1, 4 or 8 bits (plain or RLE). The palette is
// written as given (at least 2^bits entries are written unless colorsUsed is
// overridden, padding with black).
std::vector<uint8_t> writeBmp(const IndexedPicture& picture, const BmpOptions& options);

// Writes a true-colour picture at any depth. For 1, 4 and 8 bits the picture
// is first turned into an indexed one with indexPicture().
std::vector<uint8_t> writeBmp(const RgbPicture& picture, const BmpOptions& options);

// Exact palette of the picture's colours when there are at most maxColors of
// them (in order of first appearance); otherwise a fixed palette (a colour
// cube sized to maxColors) with each pixel mapped to the nearest entry.
IndexedPicture indexPicture(const RgbPicture& picture, int maxColors);

// Run-length encoders for rows of indices (bottom row first): runs of equal
// indices become encoded runs, the rest absolute runs (padded to a 16-bit
// boundary); every row ends with an end-of-line escape and the data with the
// end-of-bitmap escape.
std::vector<uint8_t> encodeRle8(const std::vector<uint8_t>& indices, int width, int height);
std::vector<uint8_t> encodeRle4(const std::vector<uint8_t>& indices, int width, int height);

bool saveFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace bmpw
