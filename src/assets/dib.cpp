// Bitmap decoding. Reads the optional 14-byte "BM" file header, a 12-byte core
// or 40-byte info header, bit-field masks, the colour table and the pixel
// data (1/4/8-bit indices, RLE8, RLE4, 16-bit 5-5-5 or masked, 24 and 32
// bits), and produces R,G,B rows, bottom row first, without padding.
//
// The longer headers today's image editors write (56 bytes, 108 bytes "V4",
// 124 bytes "V5") are the 40-byte header followed by the colour masks and
// colour-space fields. They are read as the 40-byte header whose bit-field
// masks sit inside the header instead of after it; the alpha mask and the
// colour-space fields are ignored, and a V5 colour profile stored between the
// colour table and the pixels of a bare bitmap is skipped.
//
// Every read is bounds-checked against the buffer: truncated headers, tables
// or plain pixel rows are a conversion error; RLE data that stops early keeps
// what it decoded, and runs or deltas that leave the picture are clipped.
// Pixels an RLE stream never reaches are black, as are colour indices past
// the end of the colour table. Rows are converted one at a time with one
// tight loop per format.
#include "assets/dib.h"

#include <algorithm>
#include <array>
#include <bit>
#include <new>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace {

constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kV3HeaderSize = 56;   // + red, green, blue, alpha masks
constexpr uint32_t kV4HeaderSize = 108;  // + colour space, end points, gamma
constexpr uint32_t kV5HeaderSize = 124;  // + intent, profile offset and size
constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3;

uint16_t read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t read32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// The colour table expanded to 256 R,G,B entries; missing entries are black.
using Palette = std::array<uint8_t, 256 * 3>;

// One channel of a masked pixel: shift down, keep `mask`, widen through `lut`.
struct Channel {
    uint32_t shift = 0;
    uint32_t mask = 0;
    std::array<uint8_t, 256> lut{};
};

// Builds the extraction for a channel mask. Channels narrower than 8 bits are
// widened by repeating their bits (5 bits: (v << 3) | (v >> 2)); wider ones
// keep their top 8 bits; an empty mask gives 0.
Channel makeChannel(uint32_t mask) {
    Channel c;
    if (mask == 0) return c;
    const int low = std::countr_zero(mask);
    const int bits = 32 - std::countl_zero(mask) - low;
    if (bits >= 8) {
        c.shift = static_cast<uint32_t>(low + bits - 8);
        c.mask = 0xFF & (mask >> c.shift);
        for (int v = 0; v < 256; ++v) c.lut[v] = static_cast<uint8_t>(v);
    } else {
        c.shift = static_cast<uint32_t>(low);
        c.mask = mask >> low;
        for (uint32_t v = 0; v <= c.mask; ++v) {
            uint32_t wide = 0;
            for (int filled = 0; filled < 8; filled += bits) wide = (wide << bits) | v;
            // `wide` holds at least 8 bits of repeated pattern; keep the top 8.
            const int total = ((8 + bits - 1) / bits) * bits;
            c.lut[v] = static_cast<uint8_t>(wide >> (total - 8));
        }
    }
    return c;
}

struct Layout {
    DibHeader header;
    bool topDown = false;
    int32_t width = 0;
    int32_t height = 0;
    uint32_t masks[3] = {0, 0, 0};  // red, green, blue for bit fields
    Palette palette{};
    size_t pixelOffset = 0;
};

// ---- row converters (source row -> R,G,B row) ---------------------------------

void rowBgr24Scalar(const uint8_t* __restrict s, uint8_t* __restrict d, int32_t w) {
    for (int32_t x = 0; x < w; ++x, s += 3, d += 3) {
        d[0] = s[2];
        d[1] = s[1];
        d[2] = s[0];
    }
}

void rowBgrx32Scalar(const uint8_t* __restrict s, uint8_t* __restrict d, int32_t w) {
    for (int32_t x = 0; x < w; ++x, s += 4, d += 3) {
        d[0] = s[2];
        d[1] = s[1];
        d[2] = s[0];
    }
}

#if defined(__x86_64__) || defined(__i386__)
// Four pixels per 16-byte shuffle. Loads and stores are wider than the bytes
// they carry, so each vector loop stops while a full load and store still fit
// in both rows; the next store overwrites the spare bytes of the previous one.
__attribute__((target("ssse3"))) void rowBgr24Ssse3(const uint8_t* __restrict s, uint8_t* __restrict d,
                                                    int32_t w) {
    const __m128i order = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, -1, -1, -1, -1);
    int32_t x = 0;
    for (; x + 6 <= w; x += 4, s += 12, d += 12)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d),
                         _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s)), order));
    rowBgr24Scalar(s, d, w - x);
}

__attribute__((target("ssse3"))) void rowBgrx32Ssse3(const uint8_t* __restrict s, uint8_t* __restrict d,
                                                     int32_t w) {
    const __m128i order = _mm_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1);
    int32_t x = 0;
    for (; x + 6 <= w; x += 4, s += 16, d += 12)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d),
                         _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s)), order));
    rowBgrx32Scalar(s, d, w - x);
}

// Eight pixels per step: the two 12-byte halves go to the two lanes, are
// shuffled there and packed together; 32-byte stores overlap by 8 bytes.
__attribute__((target("avx2"))) void rowBgr24Avx2(const uint8_t* __restrict s, uint8_t* __restrict d,
                                                  int32_t w) {
    const __m256i order = _mm256_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, -1, -1, -1, -1,  //
                                           2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, -1, -1, -1, -1);
    const __m256i pack = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 7, 7);
    int32_t x = 0;
    for (; x + 11 <= w; x += 8, s += 24, d += 24) {
        const __m256i v = _mm256_inserti128_si256(
            _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s))),
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 12)), 1);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d),
                            _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(v, order), pack));
    }
    rowBgr24Ssse3(s, d, w - x);
}

__attribute__((target("avx2"))) void rowBgrx32Avx2(const uint8_t* __restrict s, uint8_t* __restrict d,
                                                   int32_t w) {
    const __m256i order = _mm256_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1,  //
                                           2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1);
    const __m256i pack = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 7, 7);
    int32_t x = 0;
    for (; x + 11 <= w; x += 8, s += 32, d += 24)
        _mm256_storeu_si256(
            reinterpret_cast<__m256i*>(d),
            _mm256_permutevar8x32_epi32(
                _mm256_shuffle_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(s)), order), pack));
    rowBgrx32Ssse3(s, d, w - x);
}

enum class Simd { None, Ssse3, Avx2 };

Simd simdLevel() {
    static const Simd level = __builtin_cpu_supports("avx2")    ? Simd::Avx2
                              : __builtin_cpu_supports("ssse3") ? Simd::Ssse3
                                                                : Simd::None;
    return level;
}

void rowBgr24(const uint8_t* s, uint8_t* d, int32_t w) {
    switch (simdLevel()) {
        case Simd::Avx2:
            return rowBgr24Avx2(s, d, w);
        case Simd::Ssse3:
            return rowBgr24Ssse3(s, d, w);
        case Simd::None:
            return rowBgr24Scalar(s, d, w);
    }
}
void rowBgrx32(const uint8_t* s, uint8_t* d, int32_t w) {
    switch (simdLevel()) {
        case Simd::Avx2:
            return rowBgrx32Avx2(s, d, w);
        case Simd::Ssse3:
            return rowBgrx32Ssse3(s, d, w);
        case Simd::None:
            return rowBgrx32Scalar(s, d, w);
    }
}
#else
void rowBgr24(const uint8_t* s, uint8_t* d, int32_t w) { rowBgr24Scalar(s, d, w); }
void rowBgrx32(const uint8_t* s, uint8_t* d, int32_t w) { rowBgrx32Scalar(s, d, w); }
#endif

void rowMasked16(const uint8_t* __restrict s, uint8_t* __restrict d, int32_t w, const Channel* ch) {
    for (int32_t x = 0; x < w; ++x, s += 2, d += 3) {
        const uint32_t v = read16(s);
        d[0] = ch[0].lut[(v >> ch[0].shift) & ch[0].mask];
        d[1] = ch[1].lut[(v >> ch[1].shift) & ch[1].mask];
        d[2] = ch[2].lut[(v >> ch[2].shift) & ch[2].mask];
    }
}

void rowMasked32(const uint8_t* __restrict s, uint8_t* __restrict d, int32_t w, const Channel* ch) {
    for (int32_t x = 0; x < w; ++x, s += 4, d += 3) {
        const uint32_t v = read32(s);
        d[0] = ch[0].lut[(v >> ch[0].shift) & ch[0].mask];
        d[1] = ch[1].lut[(v >> ch[1].shift) & ch[1].mask];
        d[2] = ch[2].lut[(v >> ch[2].shift) & ch[2].mask];
    }
}

void rowIndexed8(const uint8_t* __restrict s, uint8_t* __restrict d, int32_t w, const Palette& pal) {
    for (int32_t x = 0; x < w; ++x, d += 3) {
        const uint8_t* c = &pal[s[x] * 3];
        d[0] = c[0];
        d[1] = c[1];
        d[2] = c[2];
    }
}

// Unpacks 1- or 4-bit indices (leftmost pixel in the high bits) to one byte each.
void unpackIndices(const uint8_t* __restrict s, uint8_t* __restrict idx, int32_t w, int bits) {
    if (bits == 4) {
        int32_t x = 0;
        for (; x + 1 < w; x += 2, ++s) {
            idx[x] = *s >> 4;
            idx[x + 1] = *s & 15;
        }
        if (x < w) idx[x] = *s >> 4;
    } else {
        for (int32_t x = 0; x < w; ++x) idx[x] = (s[x >> 3] >> (7 - (x & 7))) & 1;
    }
}

// ---- RLE ------------------------------------------------------------------------

// Decodes an RLE8 or RLE4 stream into `out` (already black). Stops at the end
// of the bitmap, the end of the data or the last row; never writes outside.
void decodeRle(const uint8_t* p, const uint8_t* end, bool rle4, const Layout& L, uint8_t* out) {
    const int32_t w = L.width, h = L.height;
    const size_t rowBytes = static_cast<size_t>(w) * 3;
    const uint8_t* pal = L.palette.data();
    int32_t x = 0, y = 0;
    auto rowPtr = [&](int32_t row) {
        return out + rowBytes * static_cast<size_t>(L.topDown ? h - 1 - row : row);
    };
    uint8_t* row = rowPtr(0);

    while (end - p >= 2 && y < h) {
        const uint8_t count = p[0], value = p[1];
        p += 2;
        if (count > 0) {
            const int32_t n = std::min<int32_t>(count, w - x);
            if (n > 0) {
                uint8_t* d = row + static_cast<size_t>(x) * 3;
                if (!rle4 || (value >> 4) == (value & 15)) {
                    const uint8_t* c = pal + (rle4 ? (value & 15) : value) * 3;
                    for (int32_t i = 0; i < n; ++i, d += 3) {
                        d[0] = c[0];
                        d[1] = c[1];
                        d[2] = c[2];
                    }
                } else {
                    const uint8_t* c[2] = {pal + (value >> 4) * 3, pal + (value & 15) * 3};
                    for (int32_t i = 0; i < n; ++i, d += 3) {
                        const uint8_t* ci = c[i & 1];
                        d[0] = ci[0];
                        d[1] = ci[1];
                        d[2] = ci[2];
                    }
                }
                x += n;
            }
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            if (++y < h) row = rowPtr(y);
        } else if (value == 1) {  // end of bitmap
            break;
        } else if (value == 2) {  // delta
            if (end - p < 2) break;
            x += p[0];
            y += p[1];
            p += 2;
            if (x > w) x = w;
            if (y < h) row = rowPtr(y);
        } else {  // absolute run of `value` pixels, padded to 16 bits
            const int32_t n = value;
            const size_t bytes = rle4 ? (static_cast<size_t>(n) + 1) / 2 : static_cast<size_t>(n);
            const size_t have = std::min(bytes, static_cast<size_t>(end - p));
            const int32_t avail =
                rle4 ? static_cast<int32_t>(std::min<size_t>(have * 2, n)) : static_cast<int32_t>(have);
            const int32_t m = std::min(avail, w - x);
            uint8_t* d = row + static_cast<size_t>(x) * 3;
            for (int32_t i = 0; i < m; ++i, d += 3) {
                const uint8_t idx = rle4 ? ((p[i >> 1] >> ((i & 1) ? 0 : 4)) & 15) : p[i];
                const uint8_t* c = pal + idx * 3;
                d[0] = c[0];
                d[1] = c[1];
                d[2] = c[2];
            }
            x += m;
            const size_t padded = bytes + (bytes & 1);
            if (padded > static_cast<size_t>(end - p)) break;
            p += padded;
        }
    }
}

// ---- header parsing -----------------------------------------------------------------

DibError parse(const uint8_t* data, size_t size, Layout& L) {
    size_t headerPos = 0;
    bool haveOffset = false;
    if (size >= 2 && data[0] == 'B' && data[1] == 'M') {
        if (size < 14) return DibError::ConversionError;
        L.pixelOffset = read32(data + 10);
        haveOffset = true;
        headerPos = 14;
    }
    if (size < headerPos + 4) return DibError::ConversionError;
    DibHeader& hd = L.header;
    const uint8_t* h = data + headerPos;
    hd.size = read32(h);
    if (!dibHeaderSizeKnown(hd.size)) return DibError::UnknownFormat;
    if (size - headerPos < hd.size) return DibError::ConversionError;

    int64_t width, height;
    if (hd.size == kCoreHeaderSize) {
        hd.width = read16(h + 4);
        hd.height = read16(h + 6);
        hd.planes = read16(h + 8);
        hd.bitCount = read16(h + 10);
        width = hd.width;
        height = hd.height;
    } else {
        hd.width = static_cast<int32_t>(read32(h + 4));
        hd.height = static_cast<int32_t>(read32(h + 8));
        hd.planes = read16(h + 12);
        hd.bitCount = read16(h + 14);
        hd.compression = read32(h + 16);
        hd.imageSize = read32(h + 20);
        hd.xPelsPerMeter = static_cast<int32_t>(read32(h + 24));
        hd.yPelsPerMeter = static_cast<int32_t>(read32(h + 28));
        hd.colorsUsed = read32(h + 32);
        hd.colorsImportant = read32(h + 36);
        width = hd.width;
        height = hd.height;
        if (height < 0) {
            L.topDown = true;
            height = -height;
        }
    }
    if (width <= 0 || height <= 0) return DibError::ConversionError;
    if (width > kMaxDibSide || height > kMaxDibSide) return DibError::OutOfMemory;
    L.width = static_cast<int32_t>(width);
    L.height = static_cast<int32_t>(height);

    const uint32_t bits = hd.bitCount, comp = hd.compression;
    const bool valid =
        (comp == kRgb && (bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32)) ||
        (comp == kRle8 && bits == 8) || (comp == kRle4 && bits == 4) ||
        (comp == kBitFields && (bits == 16 || bits == 32));
    if (!valid) return DibError::ConversionError;

    size_t tablePos = headerPos + hd.size;
    if (comp == kBitFields) {
        if (hd.size >= kV3HeaderSize) {
            for (int i = 0; i < 3; ++i) L.masks[i] = read32(h + kInfoHeaderSize + 4 * i);
        } else {
            if (size - tablePos < 12) return DibError::ConversionError;
            for (int i = 0; i < 3; ++i) L.masks[i] = read32(data + tablePos + 4 * i);
            tablePos += 12;
        }
    }

    const size_t entrySize = hd.size == kCoreHeaderSize ? 3 : 4;
    size_t count = dibColorCount(hd);
    const size_t fits = (size - tablePos) / entrySize;
    if (count > fits) {
        if (hd.size >= kInfoHeaderSize && hd.colorsUsed != 0) {
            count = fits;  // an overstated colours-used field
        } else {
            return DibError::ConversionError;
        }
    }
    for (size_t i = 0; i < std::min<size_t>(count, 256); ++i) {
        const uint8_t* e = data + tablePos + i * entrySize;
        L.palette[i * 3] = e[2];
        L.palette[i * 3 + 1] = e[1];
        L.palette[i * 3 + 2] = e[0];
    }
    if (!haveOffset) {
        L.pixelOffset = tablePos + count * entrySize;
        // A bare V5 bitmap may keep its colour profile (offset counted from
        // the header's start) right where the pixels would begin.
        if (hd.size == kV5HeaderSize) {
            const uint32_t profileAt = read32(h + 112), profileSize = read32(h + 116);
            if (profileSize != 0 && headerPos + uint64_t{profileAt} == L.pixelOffset)
                L.pixelOffset += profileSize;
        }
    }
    if (L.pixelOffset > size) return DibError::ConversionError;

    if (comp == kRgb || comp == kBitFields) {
        const size_t stride = ((static_cast<size_t>(L.width) * bits + 31) / 32) * 4;
        const size_t lastRow = (static_cast<size_t>(L.width) * bits + 7) / 8;
        if (size - L.pixelOffset < stride * (L.height - 1) + lastRow) return DibError::ConversionError;
    }
    return DibError::None;
}

}  // namespace

bool dibHeaderSizeKnown(uint32_t size) {
    return size == kCoreHeaderSize || size == kInfoHeaderSize || size == kV3HeaderSize || size == kV4HeaderSize ||
           size == kV5HeaderSize;
}

uint32_t dibColorCount(const DibHeader& header) {
    if (header.size >= kInfoHeaderSize && header.colorsUsed != 0) return header.colorsUsed & 0xFFFF;
    switch (header.bitCount) {
        case 1:
            return 2;
        case 4:
            return 16;
        case 8:
            return 256;
        default:
            return 0;
    }
}

const char* dibErrorText(DibError error) {
    switch (error) {
        case DibError::UnknownFormat:
            return "Unknown DIB file format.";
        case DibError::OutOfMemory:
            return "Out of memory.";
        case DibError::ConversionError:
            return "Image file conversion error.";
        case DibError::OverBudget:
        case DibError::None:
            break;
    }
    return "";
}

DibResult decodeDib(const uint8_t* data, size_t size, uint64_t maxPixels) {
    DibResult result;
    Layout L;
    result.error = parse(data, size, L);
    result.header = L.header;
    if (result.error != DibError::None) return result;
    if (static_cast<uint64_t>(L.width) * static_cast<uint64_t>(L.height) > maxPixels) {
        result.error = DibError::OverBudget;
        return result;
    }

    const int32_t w = L.width, h = L.height;
    const uint32_t bits = L.header.bitCount, comp = L.header.compression;
    const size_t rowBytes = static_cast<size_t>(w) * 3;
    RgbImage image;
    image.width = w;
    image.height = h;
    try {
        const uint8_t* pixels = data + L.pixelOffset;
        if (comp == kRle8 || comp == kRle4) {
            // Deltas skip pixels, so the stream writes into a black picture.
            image.data.assign(rowBytes * static_cast<size_t>(h), 0);
            decodeRle(pixels, data + size, comp == kRle4, L, image.data.data());
        } else {
            // Every byte is written by a row converter, so the picture is
            // not cleared first (PixelBytes leaves new bytes as they are).
            image.data.resize(rowBytes * static_cast<size_t>(h));
            const size_t stride = ((static_cast<size_t>(w) * bits + 31) / 32) * 4;
            Channel ch[3];
            if (bits == 16 || comp == kBitFields) {
                const uint32_t def555[3] = {0x7C00, 0x03E0, 0x001F};
                const uint32_t* m = comp == kBitFields ? L.masks : def555;
                for (int i = 0; i < 3; ++i) ch[i] = makeChannel(m[i]);
            }
            std::vector<uint8_t> indices(bits < 8 ? static_cast<size_t>(w) : 0);
            for (int32_t y = 0; y < h; ++y) {
                const uint8_t* src = pixels + stride * static_cast<size_t>(L.topDown ? h - 1 - y : y);
                uint8_t* d = image.data.data() + rowBytes * static_cast<size_t>(y);
                switch (bits) {
                    case 1:
                    case 4:
                        unpackIndices(src, indices.data(), w, static_cast<int>(bits));
                        rowIndexed8(indices.data(), d, w, L.palette);
                        break;
                    case 8:
                        rowIndexed8(src, d, w, L.palette);
                        break;
                    case 16:
                        rowMasked16(src, d, w, ch);
                        break;
                    case 24:
                        rowBgr24(src, d, w);
                        break;
                    case 32:
                        if (comp == kBitFields) {
                            rowMasked32(src, d, w, ch);
                        } else {
                            rowBgrx32(src, d, w);
                        }
                        break;
                }
            }
        }
    } catch (const std::bad_alloc&) {
        result.error = DibError::OutOfMemory;
        return result;
    }
    result.image = std::move(image);
    return result;
}
