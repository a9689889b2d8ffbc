// Decoding of every bitmap layout: hand-built files with known bytes, and the
// same picture written in each layout decoding to the same pixels.
#include <gtest/gtest.h>

#include "assets/dib.h"
#include "bmp_test_util.h"

using namespace bmptest;
using bmpw::BmpOptions;
using bmpw::Encoding;
using bmpw::HeaderKind;

namespace {

void put16(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(x & 0xFF);
    v.push_back((x >> 8) & 0xFF);
}
void put32(std::vector<uint8_t>& v, uint32_t x) {
    put16(v, x & 0xFFFF);
    put16(v, x >> 16);
}

// "BM" header plus a 40-byte info header, written field by field.
std::vector<uint8_t> infoFile(int32_t w, int32_t h, uint16_t bits, uint32_t compression, uint32_t colorsUsed,
                              const std::vector<uint8_t>& table, const std::vector<uint8_t>& pixels) {
    std::vector<uint8_t> f = {'B', 'M'};
    put32(f, 0);
    put32(f, 0);
    put32(f, static_cast<uint32_t>(54 + table.size()));
    put32(f, 40);
    put32(f, static_cast<uint32_t>(w));
    put32(f, static_cast<uint32_t>(h));
    put16(f, 1);
    put16(f, bits);
    put32(f, compression);
    put32(f, 0);
    put32(f, 0);
    put32(f, 0);
    put32(f, colorsUsed);
    put32(f, 0);
    f.insert(f.end(), table.begin(), table.end());
    f.insert(f.end(), pixels.begin(), pixels.end());
    return f;
}

RgbImage mustDecode(const std::vector<uint8_t>& bytes) {
    DibResult r = decode(bytes);
    EXPECT_EQ(r.error, DibError::None);
    EXPECT_TRUE(r.image.has_value());
    return r.image.value_or(RgbImage{});
}

}  // namespace

TEST(BmpDecode, HandBuiltFilesGiveKnownPixels) {
    // 2 x 2, 24 bits: bottom row red, green; top row blue, white; rows padded to 8 bytes.
    {
        RgbImage img = mustDecode(infoFile(2, 2, 24, 0, 0, {},
                                           {0, 0, 255, 0, 255, 0, 0, 0,  //
                                            255, 0, 0, 255, 255, 255, 0, 0}));
        EXPECT_EQ(img.width, 2);
        EXPECT_EQ(img.height, 2);
        EXPECT_EQ(img.data, (std::vector<uint8_t>{255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255}));
    }
    // 1 bit, table (black, white); leftmost pixel in the high bit. 10 x 1: 1011001110.
    {
        RgbImage img =
            mustDecode(infoFile(10, 1, 1, 0, 0, {0, 0, 0, 0, 255, 255, 255, 0}, {0xB3, 0x80, 0, 0}));
        const int bits[10] = {1, 0, 1, 1, 0, 0, 1, 1, 1, 0};
        ASSERT_EQ(img.data.size(), 30u);
        for (int x = 0; x < 10; ++x)
            for (int c = 0; c < 3; ++c) EXPECT_EQ(img.data[x * 3 + c], bits[x] ? 255 : 0) << x;
    }
    // 4 bits: high nibble first; 3 x 1 with indices 1, 2, 0.
    {
        std::vector<uint8_t> table(16 * 4, 0);
        table[4 + 2] = 200;  // entry 1 red (stored B,G,R,0)
        table[8 + 1] = 100;  // entry 2 green
        table[0] = 50;       // entry 0 blue
        RgbImage img = mustDecode(infoFile(3, 1, 4, 0, 0, table, {0x12, 0x00, 0, 0}));
        EXPECT_EQ(img.data, (std::vector<uint8_t>{200, 0, 0, 0, 100, 0, 0, 0, 50}));
    }
    // 16 bits 5-5-5: channels widened as (v << 3) | (v >> 2); bit 15 ignored.
    {
        const uint16_t px[2] = {static_cast<uint16_t>(0x8000 | (31 << 10) | (1 << 5) | 16), 0};
        RgbImage img = mustDecode(infoFile(2, 1, 16, 0, 0, {}, {uint8_t(px[0]), uint8_t(px[0] >> 8), 0, 0}));
        EXPECT_EQ(img.data, (std::vector<uint8_t>{255, 8, 132, 0, 0, 0}));
    }
    // 32 bits: B, G, R, unused.
    {
        RgbImage img = mustDecode(infoFile(1, 1, 32, 0, 0, {}, {1, 2, 3, 99}));
        EXPECT_EQ(img.data, (std::vector<uint8_t>{3, 2, 1}));
    }
}

TEST(BmpDecode, ColorCountFollowsHeaderAndDepth) {
    DibHeader h;
    h.size = 40;
    h.bitCount = 8;
    EXPECT_EQ(dibColorCount(h), 256u);
    h.colorsUsed = 7;
    EXPECT_EQ(dibColorCount(h), 7u);
    h.colorsUsed = 0x12345;
    EXPECT_EQ(dibColorCount(h), 0x2345u);
    h.size = 12;  // a core header has no colours-used field
    EXPECT_EQ(dibColorCount(h), 256u);
    h.bitCount = 1;
    EXPECT_EQ(dibColorCount(h), 2u);
    h.bitCount = 4;
    EXPECT_EQ(dibColorCount(h), 16u);
    h.bitCount = 24;
    EXPECT_EQ(dibColorCount(h), 0u);
}

TEST(BmpDecode, IndexedLayoutsAgree) {
    // Odd sizes exercise row padding and half-filled bytes.
    for (int bits : {1, 4, 8}) {
        const bmpw::IndexedPicture pic = patternPicture(bits == 1 ? 11 : 13, 7, 1 << std::min(bits, 4));
        const std::vector<uint8_t> want = expand(pic);
        for (HeaderKind header : {HeaderKind::Info, HeaderKind::Core})
            for (bool fileHeader : {true, false})
                for (bool rle : {false, true})
                    for (bool topDown : {false, true}) {
                        if (rle && (bits == 1 || header == HeaderKind::Core)) continue;
                        if (topDown && header == HeaderKind::Core) continue;
                        BmpOptions o;
                        o.header = header;
                        o.bitsPerPixel = bits;
                        o.fileHeader = fileHeader;
                        o.encoding = rle ? Encoding::Rle : Encoding::Plain;
                        o.topDown = topDown;
                        DibResult r = decode(bmpw::writeBmp(pic, o));
                        SCOPED_TRACE(::testing::Message()
                                     << "bits " << bits << " core " << (header == HeaderKind::Core) << " BM "
                                     << fileHeader << " rle " << rle << " topdown " << topDown);
                        ASSERT_EQ(r.error, DibError::None);
                        EXPECT_EQ(r.image->width, pic.width);
                        EXPECT_EQ(r.image->height, pic.height);
                        EXPECT_EQ(r.image->data, want);
                    }
    }
}

namespace {

// Channel values that survive 5 bits exactly (multiples of 8 plus their top bits).
void expectTrueColorLayoutsAgree(int width) {
    bmpw::RgbPicture pic{width, 5, {}};
    for (int i = 0; i < width * 5 * 3; ++i) {
        const int v = (i * 13) % 32;
        pic.rgb.push_back(static_cast<uint8_t>((v << 3) | (v >> 2)));
    }
    struct Variant {
        int bits;
        Encoding enc;
        HeaderKind header;
        bool topDown;
    } variants[] = {
        {24, Encoding::Plain, HeaderKind::Info, false},    {24, Encoding::Plain, HeaderKind::Core, false},
        {24, Encoding::Plain, HeaderKind::Info, true},     {32, Encoding::Plain, HeaderKind::Info, false},
        {32, Encoding::Plain, HeaderKind::Core, false},    {16, Encoding::Plain, HeaderKind::Info, false},
        {16, Encoding::Plain, HeaderKind::Core, true},     {32, Encoding::BitFields, HeaderKind::Info, false},
        {32, Encoding::BitFields, HeaderKind::Info, true}, {16, Encoding::BitFields, HeaderKind::Info, false},
    };
    for (const Variant& v : variants)
        for (bool fileHeader : {true, false}) {
            BmpOptions o;
            o.bitsPerPixel = v.bits;
            o.encoding = v.enc;
            o.header = v.header;
            o.topDown = v.topDown && v.header == HeaderKind::Info;
            o.fileHeader = fileHeader;
            if (v.bits == 16 && v.enc == Encoding::BitFields) {  // 5-5-5 masks: exact
                o.redMask = 0x7C00, o.greenMask = 0x03E0, o.blueMask = 0x001F;
            }
            SCOPED_TRACE(::testing::Message()
                         << "width " << width << " bits " << v.bits << " enc " << int(v.enc) << " core "
                         << (v.header == HeaderKind::Core) << " BM " << fileHeader);
            DibResult r = decode(bmpw::writeBmp(pic, o));
            ASSERT_EQ(r.error, DibError::None);
            EXPECT_EQ(r.image->data, pic.rgb);
        }
}

}  // namespace

TEST(BmpDecode, TrueColorLayoutsAgree) {
    // Widths below and well above the vector loops' step.
    for (int width : {7, 37, 64}) expectTrueColorLayoutsAgree(width);
}

TEST(BmpDecode, BitFieldMasksWidenEachChannel) {
    // 5-6-5 masks: 6-bit green widens as (v << 2) | (v >> 4).
    bmpw::RgbPicture pic{3, 1, {255, 255, 255, 0, 4, 8, 248, 252, 0}};
    BmpOptions o;
    o.bitsPerPixel = 16;
    o.encoding = Encoding::BitFields;
    RgbImage img = mustDecode(bmpw::writeBmp(pic, o));
    EXPECT_EQ(img.data, (std::vector<uint8_t>{255, 255, 255, 0, 4, 8, 255, 255, 0}));

    // 32-bit masks in another byte order (R in the low byte), and an empty mask.
    BmpOptions o32;
    o32.bitsPerPixel = 32;
    o32.encoding = Encoding::BitFields;
    o32.redMask = 0x000000FF, o32.greenMask = 0xFF000000, o32.blueMask = 0;
    bmpw::RgbPicture one{1, 1, {10, 20, 30}};
    EXPECT_EQ(mustDecode(bmpw::writeBmp(one, o32)).data, (std::vector<uint8_t>{10, 20, 0}));
}

TEST(BmpDecode, PixelDataFollowsTableOrFileHeaderOffset) {
    // Bare 40-byte header: pixels right after a 3-entry table (colours used 3).
    bmpw::IndexedPicture pic{2, 1, {2, 1}, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}};
    BmpOptions o;
    o.bitsPerPixel = 8;
    o.fileHeader = false;
    o.overrides.colorsUsed = 3;
    EXPECT_EQ(mustDecode(bmpw::writeBmp(pic, o)).data, (std::vector<uint8_t>{7, 8, 9, 4, 5, 6}));

    // With "BM" the offset field wins, even past a gap after the table.
    std::vector<uint8_t> f = infoFile(1, 1, 24, 0, 0, {}, {0xEE, 0xEE, 0xEE, 0xEE, 1, 2, 3, 0});
    f[10] = 58;
    EXPECT_EQ(mustDecode(f).data, (std::vector<uint8_t>{3, 2, 1}));
}

TEST(BmpDecode, RleEscapesDecodeAsDefined) {
    // 6 x 3 RLE8, palette entry i = (i, 10i, 0). Unreached pixels stay black.
    bmpw::IndexedPicture pic{6, 3, std::vector<uint8_t>(18, 0), {}};
    for (int i = 0; i < 256; ++i) pic.palette.push_back({uint8_t(i), uint8_t(10 * i), 0});
    BmpOptions o;
    o.bitsPerPixel = 8;
    o.encoding = Encoding::Rle;
    o.overrides.pixelData = std::vector<uint8_t>{2, 5,              // run: two pixels of 5
                                                 0, 3, 7, 8, 9, 0,  // absolute: 7 8 9 + pad byte
                                                 0, 0,              // end of line
                                                 0, 2, 2, 1,        // delta: right 2, up 1 -> row 2, x 2
                                                 1, 4,              // one pixel of 4 at (2, 2)
                                                 0, 1,              // end of bitmap
                                                 3, 3};             // ignored after the end
    RgbImage img = mustDecode(bmpw::writeBmp(pic, o));
    auto px = [&](int x, int y) { return int(img.data[(y * 6 + x) * 3]); };
    const int want[3][6] = {{5, 5, 7, 8, 9, 0}, {0, 0, 0, 0, 0, 0}, {0, 0, 4, 0, 0, 0}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(px(x, y), want[y][x]) << x << "," << y;
    EXPECT_EQ(img.data[(2 * 6 + 2) * 3 + 1], 40);

    // RLE4: a run alternates the two nibbles; an absolute run of 3 takes 2 bytes + pad.
    bmpw::IndexedPicture pic4{6, 1, std::vector<uint8_t>(6, 0), {}};
    for (int i = 0; i < 16; ++i) pic4.palette.push_back({uint8_t(i + 1), 0, 0});
    BmpOptions o4;
    o4.bitsPerPixel = 4;
    o4.encoding = Encoding::Rle;
    o4.overrides.pixelData = std::vector<uint8_t>{3, 0x12, 0, 3, 0x34, 0x50, 0, 0, 0, 1};
    RgbImage img4 = mustDecode(bmpw::writeBmp(pic4, o4));
    const int want4[6] = {2, 3, 2, 4, 5, 6};
    for (int x = 0; x < 6; ++x) EXPECT_EQ(img4.data[x * 3], want4[x]) << x;
}
