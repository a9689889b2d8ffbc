// Damaged and hostile bitmaps: each failure gives its error, nothing reads or
// writes outside the buffers (run under ASan), and the lenient cases (short
// RLE data, overstated colour counts, stray indices) give the chosen pixels.
// Paths that cannot be opened: hardening/fault_injection_test.
#include <gtest/gtest.h>

#include <limits>

#include "bmp_test_util.h"

using namespace bmptest;

namespace {

Bytes fileWith(int bits, Encoding enc, const bmpw::Overrides& ov, bool fileHeader = true,
               HeaderKind header = HeaderKind::Info) {
    BmpOptions o;
    o.bitsPerPixel = bits, o.encoding = enc, o.overrides = ov, o.fileHeader = fileHeader, o.header = header;
    const bmpw::IndexedPicture pic = patternPicture(9, 5, 1 << std::min(bits, 4));
    return bits <= 8 ? bmpw::writeBmp(pic, o) : bmpw::writeBmp(bmpw::RgbPicture{9, 5, expand(pic)}, o);
}

// RLE8 with the given stream over a 4 x 3 picture; palette 1 = 9s, 2 = 7s.
Bytes rle8(const Bytes& stream, int width = 4, int height = 3) {
    BmpOptions o;
    o.bitsPerPixel = 8, o.encoding = Encoding::Rle, o.overrides.pixelData = stream;
    return bmpw::writeBmp(bmpw::IndexedPicture{width, height, {}, {{0, 0, 0}, {9, 9, 9}, {7, 7, 7}}}, o);
}

}  // namespace

// (Negative and zero sides, INT_MIN heights, sides above the cap, 2-bit
// pixels, header size 64 and compression 7: the tests/data files.)
TEST(BmpHostile, BadHeadersSizesDepthsAndCompressions) {
    for (uint32_t size : {52u, 41u, 0u}) {
        bmpw::Overrides ov;
        ov.headerSize = size;
        ov.extraHeaderBytes = size > 40 ? size - 40 : 0;
        EXPECT_EQ(decode(fileWith(24, Encoding::Plain, ov)).error, DibError::UnknownFormat) << size;
    }
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    const auto conv = DibError::ConversionError, oom = DibError::OutOfMemory;
    struct Case {
        int32_t width, height;
        uint16_t bits;
        uint32_t compression;
        DibError want;
    } cases[] = {{0, 5, 24, 0, conv},     {9, -16385, 24, 0, oom}, {kMax, kMax, 24, 0, oom},
                 {9, 5, 0, 0, conv},      {9, 5, 64, 0, conv},     {9, 5, 24, 1, conv},
                 {9, 5, 24, 2, conv},     {9, 5, 8, 2, conv},      {9, 5, 24, 4, conv},
                 {9, 5, 24, 0xFFFFFFFF, conv}};
    for (const Case& c : cases) {
        bmpw::Overrides ov;
        ov.width = c.width, ov.height = c.height, ov.bitCount = c.bits, ov.compression = c.compression;
        EXPECT_EQ(decode(fileWith(24, Encoding::Plain, ov)).error, c.want)
            << c.width << " " << c.height << " " << c.bits << " " << c.compression;
    }
    // A bare file whose overstated colour table leaves no pixel data (the
    // pictures at and above the side limit, and the other damaged tables,
    // are tests/data files run by hardening/hostile_files_test).
    bmpw::Overrides table;
    table.colorsUsed = 60000;
    EXPECT_EQ(decode(fileWith(8, Encoding::Plain, table, false)).error, DibError::ConversionError);
}

// Plain pixel rows cut short are refused, except for the last row's padding
// (cut headers, tables and masks: the tests/data files; random cuts: fuzz/).
TEST(BmpHostile, PlainRowsCutShortAreRefusedButTheLastRowsPaddingMayBeMissing) {
    for (int bits : {1, 4, 24, 32}) {
        const Bytes full = fileWith(bits, Encoding::Plain, {});
        const size_t padding = (4 - (9 * bits + 7) / 8 % 4) % 4;  // of each 9-pixel row
        EXPECT_TRUE(decode(Bytes(full.begin(), full.end() - static_cast<std::ptrdiff_t>(padding))).image) << bits;
        EXPECT_EQ(decode(Bytes(full.begin(), full.end() - static_cast<std::ptrdiff_t>(padding + 1))).error,
                  DibError::ConversionError) << bits;
    }
}

TEST(BmpHostile, RleDataIsClippedToThePictureAndMayEndEarly) {
    using B = Bytes;
    // A run past the row end does not wrap; the next line starts fresh.
    EXPECT_EQ(firstChannel(rle8({255, 1, 0, 0, 2, 2})), (B{9, 9, 9, 9, 7, 7, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(firstChannel(rle8({255, 1, 0, 1})), (B{9, 9, 9, 9, 0, 0, 0, 0, 0, 0, 0, 0}));
    // An absolute run longer than the row, its data cut short.
    EXPECT_EQ(firstChannel(rle8({0, 255, 1, 2, 1, 2, 1, 1})), (B{9, 7, 9, 7, 0, 0, 0, 0, 0, 0, 0, 0}));
    // A delta past the right edge, then a run at the start of the next line.
    EXPECT_EQ(firstChannel(rle8({0, 2, 250, 0, 2, 2, 0, 0, 1, 2})), (B{0, 0, 0, 0, 7, 0, 0, 0, 0, 0, 0, 0}));
    // A delta far above the picture, more line ends than rows, an escape without its bytes.
    EXPECT_EQ(firstChannel(rle8({1, 1, 0, 2, 255, 255, 1, 1})), (B{9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(firstChannel(rle8({0, 0, 0, 0, 0, 0, 0, 0, 2, 2})), B(12, 0));
    EXPECT_EQ(firstChannel(rle8({1, 2, 0, 2})), (B{7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    // The same streams as RLE4 stay inside the picture too.
    for (const Bytes& s : {B{255, 0x12, 0, 0}, B{0, 255, 0x12}, B{0, 2, 250, 9, 2, 0x11}, B{0, 2}}) {
        BmpOptions o;
        o.bitsPerPixel = 4, o.encoding = Encoding::Rle, o.overrides.pixelData = s;
        EXPECT_TRUE(decode(bmpw::writeBmp(patternPicture(4, 3, 16), o)).image);
    }
}
