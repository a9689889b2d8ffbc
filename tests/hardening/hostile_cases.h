// The hostile files of tests/data with the loader each one attacks, shared by
// the outcome tests and the memory-bound test.
#pragma once

#include <string>
#include <vector>

#include "writers/bmp_writer.h"

namespace hardening {

enum class HostileKind { Bitmap, Mesh, Script, TextureList };

struct HostileFile {
    std::string name;  // file name inside tests/data
    HostileKind kind;
};

std::vector<HostileFile> hostileFiles();
// Loads the file with its loader; returns its records' messages (a refused allocation that a loader
// turns into "Out of memory." shows here).
std::vector<std::string> loadHostile(const HostileFile& file);

// A black RLE8 bitmap of side x side pixels whose data is one end-of-bitmap
// escape: a few hundred bytes that ask for side * side * 3 bytes of picture.
inline std::string blankRleBitmap(int side, uint32_t colors = 256) {
    bmpw::BmpOptions o;
    o.bitsPerPixel = 8, o.encoding = bmpw::Encoding::Rle;
    o.overrides.pixelData = std::vector<uint8_t>{0, 1};
    o.overrides.colorsUsed = colors;
    const std::vector<uint8_t> file =
        bmpw::writeBmp(bmpw::IndexedPicture{side, side, {}, std::vector<bmpw::Rgb>(colors)}, o);
    return std::string(file.begin(), file.end());
}

}  // namespace hardening
