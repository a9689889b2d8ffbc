// The bitmap decoder proper: bytes in, RgbImage or an error out, with no
// message boxes, so that fuzzers, tools and loadDib can share it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "assets/image.h"

// A bitmap header in its 40-byte form (a 12-byte core header is widened; the
// masks and colour-space fields of the 56-, 108- and 124-byte forms are kept
// apart).
struct DibHeader {
    uint32_t size = 0;             // 12, 40, 56, 108 or 124 as stored in the file
    int32_t width = 0;             // pixels
    int32_t height = 0;            // pixels; negative = rows stored top row first
    uint16_t planes = 1;           // 1
    uint16_t bitCount = 0;         // bits per pixel
    uint32_t compression = 0;      // 0 plain, 1 RLE8, 2 RLE4, 3 bit fields
    uint32_t imageSize = 0;        // 0
    int32_t xPelsPerMeter = 0;     // 0
    int32_t yPelsPerMeter = 0;     // 0
    uint32_t colorsUsed = 0;       // 0 = the full table for the depth
    uint32_t colorsImportant = 0;  // 0
};

// Colour-table length: a non-zero colours-used field of a 40-byte or longer
// header (its low 16 bits), otherwise 2, 16 or 256 for 1, 4 or 8 bits and 0
// for the rest.
uint32_t dibColorCount(const DibHeader& header);

// Whether a header of this size is read: 12, 40, 56, 108 or 124 bytes.
bool dibHeaderSizeKnown(uint32_t size);

enum class DibError {
    None,
    UnknownFormat,    // header size not 12, 40, 56, 108 or 124
    OutOfMemory,      // picture too large to hold
    ConversionError,  // short file, bad size, unknown depth or compression
    OverBudget,       // more pixels than the caller allows (no text: the caller words it)
};

// The message text loadDib shows for an error ("" for None).
const char* dibErrorText(DibError error);

// Sides above this many pixels are refused as "Out of memory.".
constexpr int32_t kMaxDibSide = 16384;

struct DibResult {
    std::optional<RgbImage> image;
    DibError error = DibError::None;  // None exactly when image is set
    DibHeader header;                 // as far as it was read (size 0: not even that)
};

// No limit of the caller's own on the picture's pixels.
constexpr uint64_t kAnyPixelCount = UINT64_MAX;

// Decodes a whole BMP/DIB file held in memory. Never reads outside
// [data, data + size). A picture of more than maxPixels pixels is refused
// with OverBudget once its header is read, before anything is allocated.
DibResult decodeDib(const uint8_t* data, size_t size, uint64_t maxPixels = kAnyPixelCount);

// decodeDib with loadDib's records: an empty file reports "Failed to open
// DIB file %s.\n" (`path` in place of %s), an error its text. OverBudget
// reports nothing: the caller words it with its budget.
DibResult decodeDibReported(const std::vector<uint8_t>& bytes, const std::string& path, uint64_t maxPixels,
                            Diagnostics& report);
