// Damaged and hostile bitmaps: each failure gives its error, nothing reads or
// writes outside the buffers (run under ASan), and the lenient cases (short
// RLE data, overstated colour counts, stray indices) give the chosen pixels.
// Random damage: fuzz/; paths that cannot be opened: hardening/fault_injection_test.
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

TEST(BmpHostile, BadHeadersSizesDepthsAndCompressions) {
    for (uint32_t size : {52u, 64u, 41u, 0u}) {
        bmpw::Overrides ov;
        ov.headerSize = size;
        ov.extraHeaderBytes = size > 40 ? size - 40 : 0;
        EXPECT_EQ(decode(fileWith(24, Encoding::Plain, ov)).error, DibError::UnknownFormat) << size;
    }
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min(), kMax = std::numeric_limits<int32_t>::max();
    const auto conv = DibError::ConversionError, oom = DibError::OutOfMemory;
    struct Case {
        int32_t width, height;
        uint16_t bits;
        uint32_t compression;
        DibError want;
    } cases[] = {{0, 5, 24, 0, conv},      {-9, 5, 24, 0, conv},   {9, 0, 24, 0, conv},
                 {9, kMin, 24, 0, oom},    {16385, 5, 24, 0, oom}, {9, -16385, 24, 0, oom},
                 {kMax, kMax, 24, 0, oom}, {9, 5, 2, 0, conv},     {9, 5, 0, 0, conv},
                 {9, 5, 64, 0, conv},      {9, 5, 24, 1, conv},    {9, 5, 24, 2, conv},
                 {9, 5, 8, 2, conv},       {9, 5, 24, 4, conv},    {9, 5, 24, 0xFFFFFFFF, conv}};
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

TEST(BmpHostile, TruncatedFilesAreRefusedExceptForShortRleData) {
    struct Variant {
        int bits;
        Encoding enc;
        bool fileHeader;
        HeaderKind header;
    } variants[] = {
        {24, Encoding::Plain, true, HeaderKind::Info}, {8, Encoding::Plain, true, HeaderKind::Core},
        {4, Encoding::Plain, false, HeaderKind::Info}, {16, Encoding::BitFields, true, HeaderKind::Info},
        {8, Encoding::Rle, true, HeaderKind::Info},    {4, Encoding::Rle, false, HeaderKind::Info},
        {1, Encoding::Plain, true, HeaderKind::Info},  {32, Encoding::Plain, false, HeaderKind::Core}};
    for (const Variant& v : variants) {
        const Bytes full = fileWith(v.bits, v.enc, {}, v.fileHeader, v.header);
        for (size_t len = 0; len < full.size(); ++len) {
            const DibResult r = decode(Bytes(full.begin(), full.begin() + len));
            SCOPED_TRACE(::testing::Message()
                         << "bits " << v.bits << " length " << len << " of " << full.size());
            if (r.image) {  // only RLE data, or a last row short of its padding
                EXPECT_TRUE(v.enc == Encoding::Rle || full.size() - len < 4);
                EXPECT_EQ(r.image->data.size(), 9u * 5 * 3);
            } else {
                EXPECT_EQ(r.error, DibError::ConversionError);
            }
        }
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
