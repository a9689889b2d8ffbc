// Decoding of every bitmap layout: hand-built files with known bytes, the same
// picture written in each layout and header form, and editors' files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "bmp_test_util.h"

using namespace bmptest;

namespace {

// A "BM" file with a 40-byte info header, laid out by hand.
Bytes infoFile(int32_t w, uint16_t bits, const Bytes& table, const Bytes& pixels, int32_t h = 1) {
    Bytes f(54, 0);
    auto set = [&](size_t at, uint32_t v, int n) {
        for (int i = 0; i < n; ++i) f[at + i] = uint8_t(v >> (8 * i));
    };
    f[0] = 'B', f[1] = 'M';
    set(10, uint32_t(54 + table.size()), 4);
    set(14, 40, 4), set(18, uint32_t(w), 4), set(22, uint32_t(h), 4), set(26, 1, 2), set(28, bits, 2);
    f.insert(f.end(), table.begin(), table.end());
    f.insert(f.end(), pixels.begin(), pixels.end());
    return f;
}

// Decodes `file` onto heap memory that just held `pattern` (the allocator
// hands a freed block of the picture's size straight back).
Bytes decodeOver(const Bytes& file, size_t pictureBytes, int pattern) {
    Bytes exact(file);
    exact.shrink_to_fit();
    void* block = std::malloc(pictureBytes);
    std::memset(block, pattern, pictureBytes);
    volatile uint8_t keep = static_cast<uint8_t*>(block)[pictureBytes / 2];
    (void)keep;
    std::free(block);
    const DibResult r = decodeDib(exact.data(), exact.size());
    EXPECT_EQ(r.error, DibError::None);
    return r.image ? Bytes(r.image->data.begin(), r.image->data.end()) : Bytes{};
}

Bytes pixelsOf(const Bytes& file) {
    DibResult r = decode(file);
    EXPECT_EQ(r.error, DibError::None);
    return r.image ? Bytes(r.image->data.begin(), r.image->data.end()) : Bytes{};
}

}  // namespace

TEST(BmpDecode, HandBuiltFilesGiveKnownPixels) {
    // 2 x 2, 24 bits, rows padded to 8 bytes: bottom row red, green; top row blue, white.
    DibResult r =
        decode(infoFile(2, 24, {}, {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0}, 2));
    ASSERT_TRUE(r.image);
    EXPECT_EQ(r.image->width, 2);
    EXPECT_EQ(r.image->height, 2);
    EXPECT_EQ(Bytes(r.image->data.begin(), r.image->data.end()), (Bytes{255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255}));
    // 1 bit, table (black, white), leftmost pixel in the high bit: 1011 0011 10.
    Bytes bits;
    for (int b : {1, 0, 1, 1, 0, 0, 1, 1, 1, 0}) bits.insert(bits.end(), 3, uint8_t(b * 255));
    EXPECT_EQ(pixelsOf(infoFile(10, 1, {0, 0, 0, 0, 255, 255, 255, 0}, {0xB3, 0x80, 0, 0})), bits);
    // 4 bits, high nibble first: indices 1, 2, 0 with entries (B,G,R,0).
    Bytes table(64, 0);
    table[6] = 200, table[9] = 100, table[0] = 50;
    EXPECT_EQ(pixelsOf(infoFile(3, 4, table, {0x12, 0x00, 0, 0})), (Bytes{200, 0, 0, 0, 100, 0, 0, 0, 50}));
    // 16 bits 5-5-5, widened as (v << 3) | (v >> 2), bit 15 ignored: r 31, g 1, b 16.
    const uint16_t px = 0x8000 | (31 << 10) | (1 << 5) | 16;
    EXPECT_EQ(pixelsOf(infoFile(1, 16, {}, {uint8_t(px), uint8_t(px >> 8), 0, 0})), (Bytes{255, 8, 132}));
    // 32 bits: B, G, R and an unused byte.
    EXPECT_EQ(pixelsOf(infoFile(1, 32, {}, {1, 2, 3, 99})), (Bytes{3, 2, 1}));
}

// Only the low 16 bits of an info header's colours-used field count. (The
// counts that follow from the depth show in every layout's round trip below.)
TEST(BmpDecode, ColorCountTakesTheLow16BitsOfColorsUsed) {
    DibHeader h;
    h.size = 40, h.bitCount = 8, h.colorsUsed = 0x12345;
    EXPECT_EQ(dibColorCount(h), 0x2345u);
    h.size = 12, h.bitCount = 4;  // a core header has no colours-used field
    EXPECT_EQ(dibColorCount(h), 16u);
}

// Every layout in every header form it allows decodes to the picture it was
// written from, at widths around the vector converters' steps. The decoder
// does not clear its picture first, so each file is decoded onto memory that
// just held 0x00 and then 0xFF: a byte left unwritten shows as a difference.
// A V5 profile before the pixels of a bare file is skipped.
TEST(BmpDecode, EveryLayoutAndHeaderGivesItsPictureWritingEveryByte) {
    struct Layout {
        int bits;
        Encoding encoding;
    } layouts[] = {{1, Encoding::Plain},  {4, Encoding::Plain},     {8, Encoding::Plain},
                   {4, Encoding::Rle},    {8, Encoding::Rle},       {16, Encoding::Plain},
                   {16, Encoding::BitFields}, {24, Encoding::Plain}, {32, Encoding::Plain},
                   {32, Encoding::BitFields}};
    for (int width : {1, 2, 3, 5, 7, 11, 13, 19, 37, 64}) {
        for (const Layout& l : layouts) {
            bmpw::IndexedPicture indexed = patternPicture(width, 5, 1 << std::min(l.bits, 4));
            for (auto& c : indexed.palette)  // channels exact in 5 bits
                for (uint8_t* ch : {&c.r, &c.g, &c.b}) *ch = uint8_t((*ch & 0xF8) | (*ch >> 5));
            const Bytes wanted = expand(indexed);
            for (HeaderKind kind : {HeaderKind::Core, HeaderKind::Info, HeaderKind::V3, HeaderKind::V4, HeaderKind::V5}) {
                for (int v = 0; v < 8; ++v) {
                    BmpOptions o;
                    o.bitsPerPixel = l.bits, o.encoding = l.encoding, o.header = kind;
                    o.fileHeader = v & 1;
                    o.topDown = v & 2;
                    if (kind == HeaderKind::Core && (o.topDown || l.encoding != Encoding::Plain)) continue;
                    if (o.topDown && (l.encoding == Encoding::Rle || (l.bits == 1 && kind == HeaderKind::Info))) continue;
                    if (v & 4) {
                        if (kind != HeaderKind::V5) continue;
                        o.profile = Bytes(40, 0xC3), o.profileBeforePixels = !o.fileHeader;
                    }
                    if (l.bits == 16) o.redMask = 0x7C00, o.greenMask = 0x03E0, o.blueMask = 0x001F;
                    SCOPED_TRACE(::testing::Message() << "width " << width << ", " << l.bits << " bits, encoding "
                                                      << int(l.encoding) << ", header " << int(kind) << ", variant " << v);
                    const Bytes file = l.bits <= 8 ? bmpw::writeBmp(indexed, o)
                                                   : bmpw::writeBmp(bmpw::RgbPicture{width, 5, wanted}, o);
                    EXPECT_EQ(decodeOver(file, wanted.size(), 0x00), wanted);
                    EXPECT_EQ(decodeOver(file, wanted.size(), 0xFF), wanted);
                }
            }
        }
    }
    // 5-6-5 masks widen green from 6 bits; 32-bit masks in another order, one empty.
    BmpOptions o;
    o.bitsPerPixel = 16;
    o.encoding = Encoding::BitFields;
    EXPECT_EQ(pixelsOf(bmpw::writeBmp(bmpw::RgbPicture{2, 1, {0, 4, 8, 248, 252, 0}}, o)),
              (Bytes{0, 4, 8, 255, 255, 0}));
    o.bitsPerPixel = 32;
    o.redMask = 0x000000FF, o.greenMask = 0xFF000000, o.blueMask = 0;
    EXPECT_EQ(pixelsOf(bmpw::writeBmp(bmpw::RgbPicture{1, 1, {10, 20, 30}}, o)), (Bytes{10, 20, 0}));
}

TEST(BmpDecode, RleEscapesDecodeAsDefined) {
    // RLE8, 6 x 3, entry i = (i, 10i, 0): run, absolute + pad, end of line,
    // delta, run, end of bitmap, then ignored bytes. Unreached pixels stay black.
    bmpw::IndexedPicture pic{6, 3, Bytes(18, 0), {}};
    for (int i = 0; i < 256; ++i) pic.palette.push_back({uint8_t(i), uint8_t(10 * i), 0});
    BmpOptions o;
    o.bitsPerPixel = 8;
    o.encoding = Encoding::Rle;
    o.overrides.pixelData = Bytes{2, 5, 0, 3, 7, 8, 9, 0, 0, 0, 0, 2, 2, 1, 1, 4, 0, 1, 3, 3};
    EXPECT_EQ(firstChannel(bmpw::writeBmp(pic, o)), (Bytes{5, 5, 7, 8, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0}));
    EXPECT_EQ(pixelsOf(bmpw::writeBmp(pic, o))[(2 * 6 + 2) * 3 + 1], 40);
    // RLE4: a run alternates its two nibbles; an absolute run of 3 takes 2 bytes + pad.
    pic = {6, 1, Bytes(6, 0), {}};
    for (int i = 0; i < 16; ++i) pic.palette.push_back({uint8_t(i + 1), 0, 0});
    o.bitsPerPixel = 4;
    o.overrides.pixelData = Bytes{3, 0x12, 0, 3, 0x34, 0x50, 0, 0, 0, 1};
    EXPECT_EQ(firstChannel(bmpw::writeBmp(pic, o)), (Bytes{2, 3, 2, 4, 5, 6}));
}

TEST(BmpDecode, EditorsFilesGiveTheirPlainBitmapsPixels) {
    // One 6 x 4 picture (channels 0, 8, 16, 24, 255: exact in 5 and 6 bits)
    // saved by ImageMagick ("convert src.png x.bmp", and "BMP3:" for the
    // 40-byte reference) and by GIMP 2.10 (default, 16 and 32 bits, with and
    // without colour-space data). Alpha is dropped.
    auto read = [](const std::string& name) {
        std::ifstream in(std::string(AUTHORED_BITMAPS) + "/" + name, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    };
    const Bytes reference = pixelsOf(read("imagemagick_bmp3_24.bmp"));
    ASSERT_EQ(reference.size(), 6u * 4u * 3u);
    struct Case {
        const char* file;
        uint32_t headerSize;
    } cases[] = {{"imagemagick_v5_24.bmp", 124},     {"imagemagick_v5_32_alpha.bmp", 124},
                 {"gimp_v5_24.bmp", 124},            {"gimp_v5_16_r5g6b5.bmp", 124},
                 {"gimp_v5_16_a1r5g5b5.bmp", 124},   {"gimp_v5_32_x8r8g8b8.bmp", 124},
                 {"gimp_56_16_r5g6b5.bmp", 56},      {"gimp_56_32_a8r8g8b8.bmp", 56}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const Bytes file = read(c.file);
        EXPECT_EQ(decode(file).header.size, c.headerSize);
        EXPECT_EQ(pixelsOf(file), reference);
    }
}
