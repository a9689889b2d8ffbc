// Bitmap files through loadDib, the way the texture list reads them: the
// input is written to a file, mapped and decoded. Checks that a decoded
// picture has the announced size and that every failure shows exactly one
// "Error" box with one of the decoder's texts.
//
// Pictures of more than 2^22 pixels are passed over: they run the same code
// as small ones, only longer, and would slow the search a hundredfold; the
// size caps themselves are covered by the hostile files in tests/data.
#include <cstdlib>
#include <cstring>
#include <string>

#include "assets/dib.h"
#include "assets/image.h"
#include "fuzz_support.h"

namespace {

int64_t readSigned(const uint8_t* p, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
    return bytes == 2 ? int64_t(v) : int64_t(int32_t(v));
}

bool hugePicture(const uint8_t* data, size_t size) {
    const size_t at = size >= 2 && data[0] == 'B' && data[1] == 'M' ? 14 : 0;
    if (size < at + 12) return false;
    const int64_t header = readSigned(data + at, 4);
    const int side = header == 12 ? 2 : 4;
    const int64_t w = readSigned(data + at + 4, side), h = readSigned(data + at + 4 + side, side);
    return std::abs(w) * std::abs(h) > (int64_t{1} << 22);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (hugePicture(data, size)) return 0;
    static const std::string path = fuzzing::scratchDir() + "/input.bmp";
    fuzzing::writeFile(path, data, size);

    Diagnostics found;
    const std::optional<RgbImage> image = loadDib(path, found);
    if (image) {
        if (!found.empty()) std::abort();
        if (image->width <= 0 || image->height <= 0 || image->width > kMaxDibSide ||
            image->height > kMaxDibSide)
            std::abort();
        if (image->data.size() != size_t(image->width) * size_t(image->height) * 3) std::abort();
        return 0;
    }
    if (found.size() != 1 || found.front().stops) std::abort();
    const std::string line = messageLine(found.front());
    const bool known = line == "Error: Unknown DIB file format." || line == "Error: Out of memory." ||
                       line == "Error: Image file conversion error." ||
                       (size == 0 && line == "Error: Failed to open DIB file " + path + ".");
    if (!known) std::abort();
    return 0;
}
