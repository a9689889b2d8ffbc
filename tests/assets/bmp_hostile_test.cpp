// Damaged and hostile bitmaps: each failure gives its error, nothing reads or
// writes outside the buffers (run under ASan), and the lenient cases (short
// RLE data, overstated colour counts, stray indices) give the chosen pixels.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <limits>
#include <random>

#include "assets/dib.h"
#include "assets/image.h"
#include "bmp_test_util.h"

using namespace bmptest;
using bmpw::BmpOptions;
using bmpw::Encoding;
using bmpw::HeaderKind;

namespace {

std::vector<uint8_t> withOverrides(int bits, Encoding enc, const bmpw::Overrides& ov, int w = 4, int h = 3) {
    BmpOptions o;
    o.bitsPerPixel = bits;
    o.encoding = enc;
    o.overrides = ov;
    if (bits <= 8) return bmpw::writeBmp(patternPicture(w, h, 1 << std::min(bits, 4)), o);
    return bmpw::writeBmp(toRgb(patternPicture(w, h, 16)), o);
}

// Copies the bytes into a buffer of exactly that size, so ASan sees any overread.
DibResult decodeExact(const std::vector<uint8_t>& bytes) {
    std::unique_ptr<uint8_t[]> copy(new uint8_t[bytes.size() ? bytes.size() : 1]);
    std::copy(bytes.begin(), bytes.end(), copy.get());
    return decodeDib(copy.get(), bytes.size());
}

}  // namespace

TEST(BmpHostile, HeaderSizesOtherThan12Or40AreUnknown) {
    for (uint32_t size : {108u, 124u, 64u, 0u, 41u}) {
        bmpw::Overrides ov;
        ov.headerSize = size;
        if (size > 40) ov.extraHeaderBytes = size - 40;
        EXPECT_EQ(decode(withOverrides(24, Encoding::Plain, ov)).error, DibError::UnknownFormat) << size;
    }
}

TEST(BmpHostile, BadSizesDepthsAndCompressions) {
    struct Case {
        std::optional<int32_t> width, height;
        std::optional<uint16_t> bits;
        std::optional<uint32_t> compression;
        DibError want;
    } cases[] = {
        {0, {}, {}, {}, DibError::ConversionError},
        {-4, {}, {}, {}, DibError::ConversionError},
        {{}, 0, {}, {}, DibError::ConversionError},
        {{}, std::numeric_limits<int32_t>::min(), {}, {}, DibError::OutOfMemory},
        {16385, {}, {}, {}, DibError::OutOfMemory},
        {{}, -16385, {}, {}, DibError::OutOfMemory},
        {std::numeric_limits<int32_t>::max(),
         std::numeric_limits<int32_t>::max(),
         {},
         {},
         DibError::OutOfMemory},
        {{}, {}, 2, {}, DibError::ConversionError},
        {{}, {}, 0, {}, DibError::ConversionError},
        {{}, {}, 64, {}, DibError::ConversionError},
        {{}, {}, {}, 1, DibError::ConversionError},  // RLE8 at 24 bits
        {{}, {}, {}, 2, DibError::ConversionError},
        {{}, {}, {}, 4, DibError::ConversionError},  // embedded JPEG
        {{}, {}, {}, 0xFFFFFFFF, DibError::ConversionError},
    };
    for (const Case& c : cases) {
        bmpw::Overrides ov;
        ov.width = c.width;
        ov.height = c.height;
        ov.bitCount = c.bits;
        ov.compression = c.compression;
        EXPECT_EQ(decode(withOverrides(24, Encoding::Plain, ov)).error, c.want)
            << c.width.value_or(0) << " " << c.height.value_or(0) << " " << c.bits.value_or(0) << " "
            << c.compression.value_or(0);
    }
    // A huge RLE picture with no data is refused before anything is allocated.
    bmpw::Overrides big;
    big.width = 20000;
    big.pixelData = std::vector<uint8_t>{0, 1};
    EXPECT_EQ(decode(withOverrides(8, Encoding::Rle, big)).error, DibError::OutOfMemory);
    // The largest accepted side works.
    bmpw::Overrides wide;
    wide.width = kMaxDibSide;
    wide.height = 1;
    wide.pixelData = std::vector<uint8_t>{255, 1, 0, 1};
    DibResult r = decode(withOverrides(8, Encoding::Rle, wide));
    ASSERT_EQ(r.error, DibError::None);
    EXPECT_EQ(r.image->data.size(), size_t(kMaxDibSide) * 3);
}

TEST(BmpHostile, TruncatedFilesNeverReadPastTheEnd) {
    struct Variant {
        int bits;
        Encoding enc;
        HeaderKind header;
        bool fileHeader;
    } variants[] = {
        {24, Encoding::Plain, HeaderKind::Info, true}, {8, Encoding::Plain, HeaderKind::Core, true},
        {4, Encoding::Plain, HeaderKind::Info, false}, {16, Encoding::BitFields, HeaderKind::Info, true},
        {8, Encoding::Rle, HeaderKind::Info, true},    {4, Encoding::Rle, HeaderKind::Info, false},
        {1, Encoding::Plain, HeaderKind::Info, true},  {32, Encoding::Plain, HeaderKind::Core, false}};
    for (const Variant& v : variants) {
        BmpOptions o;
        o.bitsPerPixel = v.bits;
        o.encoding = v.enc;
        o.header = v.header;
        o.fileHeader = v.fileHeader;
        const bmpw::IndexedPicture pic = patternPicture(9, 5, 1 << std::min(v.bits, 4));
        const std::vector<uint8_t> full =
            v.bits <= 8 ? bmpw::writeBmp(pic, o) : bmpw::writeBmp(toRgb(pic), o);
        const DibResult whole = decodeExact(full);
        ASSERT_EQ(whole.error, DibError::None);
        for (size_t len = 0; len < full.size(); ++len) {
            std::vector<uint8_t> cut(full.begin(), full.begin() + len);
            const DibResult r = decodeExact(cut);
            SCOPED_TRACE(::testing::Message() << "bits " << v.bits << " rle " << (v.enc == Encoding::Rle)
                                              << " length " << len << " of " << full.size());
            if (r.error == DibError::None) {
                // Only RLE data, or a last row missing just its padding, may be short.
                ASSERT_TRUE(v.enc == Encoding::Rle || full.size() - len < 4);
                ASSERT_EQ(r.image->data.size(), whole.image->data.size());
            } else {
                EXPECT_EQ(r.error, DibError::ConversionError);
            }
        }
    }
}

TEST(BmpHostile, ShortRleDataKeepsDecodedPixelsAndLeavesTheRestBlack) {
    bmpw::IndexedPicture pic{4, 2, {1, 1, 1, 1, 1, 1, 1, 1}, {{0, 0, 0}, {200, 100, 50}}};
    BmpOptions o;
    o.bitsPerPixel = 8;
    o.encoding = Encoding::Rle;
    o.overrides.pixelData = std::vector<uint8_t>{4, 1, 0, 0, 0, 5, 1, 1};  // absolute run of 5 cut short
    DibResult r = decode(bmpw::writeBmp(pic, o));
    ASSERT_EQ(r.error, DibError::None);
    std::vector<uint8_t> want = {200, 100, 50, 200, 100, 50, 200, 100, 50, 200, 100, 50,
                                 200, 100, 50, 200, 100, 50, 0,   0,   0,  0,   0,   0};
    EXPECT_EQ(r.image->data, want);
}

TEST(BmpHostile, RleRunsAndDeltasAreClippedToThePicture) {
    bmpw::IndexedPicture pic{4, 3, std::vector<uint8_t>(12, 0), {{0, 0, 0}, {9, 9, 9}, {7, 7, 7}}};
    const std::vector<std::vector<uint8_t>> streams = {
        {255, 1, 0, 0, 2, 2},                    // run past the row end does not wrap to the next row
        {0, 255, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0},  // absolute run longer than the row (data cut too)
        {0, 2, 255, 255, 1, 1},                  // delta far outside: nothing more is drawn
        {0, 2, 250, 0, 2, 2, 0, 0, 1, 2},        // delta past the right edge, then a run
        {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 2},    // more line ends than rows
        {0, 2},                                  // delta escape without its two bytes
    };
    for (size_t i = 0; i < streams.size(); ++i) {
        for (int bits : {8, 4}) {
            BmpOptions o;
            o.bitsPerPixel = bits;
            o.encoding = Encoding::Rle;
            o.overrides.pixelData = streams[i];
            DibResult r = decodeExact(bmpw::writeBmp(pic, o));
            ASSERT_EQ(r.error, DibError::None) << i;
            ASSERT_EQ(r.image->data.size(), 36u);
            if (i == 0 && bits == 8) {  // row 0 full; row 1 only the two pixels after the line end
                for (int x = 0; x < 4; ++x) EXPECT_EQ(r.image->data[x * 3], 9);
                EXPECT_EQ(r.image->data[15], 7);
                for (size_t k = 18; k < 36; ++k) EXPECT_EQ(r.image->data[k], 0) << k;
            }
            if (i == 3 && bits == 8) {  // row 0 stays black, the run lands at the start of row 1
                for (size_t k = 0; k < 12; ++k) EXPECT_EQ(r.image->data[k], 0);
                EXPECT_EQ(r.image->data[12], 7);
                EXPECT_EQ(r.image->data[18], 0);
            }
        }
    }
}

TEST(BmpHostile, ColourTablesTooShortOrIndexedPastTheirEnd) {
    // Index beyond a 2-entry table: black.
    bmpw::IndexedPicture pic{3, 1, {0, 1, 5}, {{10, 20, 30}, {40, 50, 60}}};
    BmpOptions o;
    o.bitsPerPixel = 8;
    o.overrides.colorsUsed = 2;
    DibResult r = decode(bmpw::writeBmp(pic, o));
    ASSERT_EQ(r.error, DibError::None);
    EXPECT_EQ(r.image->data, (std::vector<uint8_t>{10, 20, 30, 40, 50, 60, 0, 0, 0}));

    // Colours used far beyond the file: clamped; with "BM" the pixels are still found.
    BmpOptions big = o;
    big.overrides.colorsUsed = 60000;
    std::vector<uint8_t> f = bmpw::writeBmp(pic, big);
    r = decodeExact(f);
    ASSERT_EQ(r.error, DibError::None);
    EXPECT_EQ(std::vector<uint8_t>(r.image->data.begin(), r.image->data.begin() + 6),
              (std::vector<uint8_t>{10, 20, 30, 40, 50, 60}));
    // ... but a bare file then has no pixel data left after its table.
    big.fileHeader = false;
    EXPECT_EQ(decodeExact(bmpw::writeBmp(pic, big)).error, DibError::ConversionError);

    // A full 256-entry table that the file does not hold: conversion error.
    BmpOptions core;
    core.header = HeaderKind::Core;
    core.bitsPerPixel = 8;
    core.overrides.truncateTo = 14 + 12 + 100 * 3;
    EXPECT_EQ(decodeExact(bmpw::writeBmp(pic, core)).error, DibError::ConversionError);

    // Pixel offset past the end of the file.
    BmpOptions far = o;
    far.overrides.dataOffset = 1u << 31;
    EXPECT_EQ(decodeExact(bmpw::writeBmp(pic, far)).error, DibError::ConversionError);
}

TEST(BmpHostile, RandomDamageNeverCrashes) {
    std::mt19937 rng(1234);
    std::vector<std::vector<uint8_t>> seeds;
    for (int bits : {1, 4, 8, 16, 24, 32})
        for (Encoding enc : {Encoding::Plain, Encoding::Rle, Encoding::BitFields}) {
            if (enc == Encoding::Rle && bits != 4 && bits != 8) continue;
            if (enc == Encoding::BitFields && bits != 16 && bits != 32) continue;
            BmpOptions o;
            o.bitsPerPixel = bits;
            o.encoding = enc;
            const bmpw::IndexedPicture pic = patternPicture(6, 4, 1 << std::min(bits, 4));
            seeds.push_back(bits <= 8 ? bmpw::writeBmp(pic, o) : bmpw::writeBmp(toRgb(pic), o));
        }
    int decoded = 0;
    for (int iter = 0; iter < 6000; ++iter) {
        std::vector<uint8_t> f = seeds[iter % seeds.size()];
        const int flips = 1 + static_cast<int>(rng() % 4);
        for (int k = 0; k < flips; ++k) {
            // Header bytes are hit more often than pixel bytes.
            const size_t at = (rng() % 2) ? rng() % std::min<size_t>(f.size(), 70) : rng() % f.size();
            f[at] = static_cast<uint8_t>(rng());
        }
        if (rng() % 4 == 0) f.resize(rng() % (f.size() + 1));
        const DibResult r = decodeExact(f);
        if (r.image) {
            ++decoded;
            ASSERT_EQ(r.image->data.size(), size_t(r.image->width) * size_t(r.image->height) * 3);
        }
    }
    EXPECT_GT(decoded, 100);
}

TEST(LoadDib, EachFailureShowsOneBoxWithCaptionError) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "orbelune_loaddib_test";
    std::filesystem::create_directories(dir);
    auto file = [&](const char* name, const std::vector<uint8_t>& bytes) {
        const std::string path = (dir / name).string();
        EXPECT_TRUE(bmpw::saveFile(path, bytes));
        return path;
    };
    bmpw::Overrides v4;
    v4.headerSize = 108;
    v4.extraHeaderBytes = 68;
    bmpw::Overrides huge;
    huge.width = 100000;
    bmpw::Overrides cut;
    cut.truncateTo = 60;
    const std::string missing = (dir / "missing.bmp").string();
    std::filesystem::remove(missing);
    struct Case {
        std::string path, text;
    } cases[] = {
        {missing, "Failed to open DIB file " + missing + ".\n"},
        {file("empty.bmp", {}), "Failed to open DIB file " + (dir / "empty.bmp").string() + ".\n"},
        {dir.string(), "Failed to open DIB file " + dir.string() + ".\n"},
        {file("v4.bmp", withOverrides(24, Encoding::Plain, v4)), "Unknown DIB file format."},
        {file("huge.bmp", withOverrides(24, Encoding::Plain, huge)), "Out of memory."},
        {file("cut.bmp", withOverrides(24, Encoding::Plain, cut)), "Image file conversion error."},
    };
    for (const Case& c : cases) {
        BoxRecorder rec;
        EXPECT_FALSE(loadDib(c.path).has_value()) << c.path;
        ASSERT_EQ(rec.boxes.size(), 1u) << c.path;
        EXPECT_EQ(rec.boxes[0].text, c.text);
        EXPECT_EQ(rec.boxes[0].caption, "Error");
    }
    BoxRecorder rec;
    std::optional<RgbImage> ok = loadDib(file("ok.bmp", withOverrides(24, Encoding::Plain, {})));
    ASSERT_TRUE(ok.has_value());
    EXPECT_EQ(ok->width, 4);
    EXPECT_TRUE(rec.boxes.empty());
    std::filesystem::remove_all(dir);
}
