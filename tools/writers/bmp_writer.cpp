// Bitmap writer: lays out the optional "BM" file header, the core or info
// header, bit-field masks, the colour table and the pixel data, then applies
// the caller's raw overrides.
#include "writers/bmp_writer.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace bmpw {

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

void set32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

size_t rowStride(int width, int bits) { return ((static_cast<size_t>(width) * bits + 31) / 32) * 4; }

// Packs one row of indices at 1, 4 or 8 bits, leftmost pixel in the high bits.
void packIndexRow(const uint8_t* idx, int width, int bits, uint8_t* out) {
    const int perByte = 8 / bits;
    const unsigned mask = (1u << bits) - 1;
    for (int x = 0; x < width; ++x) {
        const int shift = 8 - bits * (x % perByte + 1);
        out[x / perByte] |= static_cast<uint8_t>((idx[x] & mask) << shift);
    }
}

// Scales an 8-bit channel into the bits of `mask` (a contiguous mask).
uint32_t toMask(uint8_t v, uint32_t mask) {
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    const int bits = std::popcount(mask);
    uint32_t scaled = bits >= 8 ? static_cast<uint32_t>(v) << (bits - 8) : v >> (8 - bits);
    return (scaled << shift) & mask;
}

// Pixel rows of a true-colour picture in file order.
std::vector<uint8_t> packTrueColor(const RgbPicture& p, const BmpOptions& o, uint32_t rm, uint32_t gm,
                                   uint32_t bm) {
    const size_t stride = rowStride(p.width, o.bitsPerPixel);
    std::vector<uint8_t> out(stride * p.height, 0);
    for (int fileRow = 0; fileRow < p.height; ++fileRow) {
        const int y = o.topDown ? p.height - 1 - fileRow : fileRow;
        const uint8_t* src = p.rgb.data() + static_cast<size_t>(y) * p.width * 3;
        uint8_t* dst = out.data() + stride * fileRow;
        for (int x = 0; x < p.width; ++x) {
            const uint8_t r = src[3 * x], g = src[3 * x + 1], b = src[3 * x + 2];
            switch (o.bitsPerPixel) {
                case 16: {
                    uint32_t v = o.encoding == Encoding::BitFields
                                     ? toMask(r, rm) | toMask(g, gm) | toMask(b, bm)
                                     : (static_cast<uint32_t>(r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
                    dst[2 * x] = static_cast<uint8_t>(v);
                    dst[2 * x + 1] = static_cast<uint8_t>(v >> 8);
                    break;
                }
                case 24:
                    dst[3 * x] = b;
                    dst[3 * x + 1] = g;
                    dst[3 * x + 2] = r;
                    break;
                case 32: {
                    uint32_t v = o.encoding == Encoding::BitFields
                                     ? toMask(r, rm) | toMask(g, gm) | toMask(b, bm)
                                     : (static_cast<uint32_t>(r) << 16) | (g << 8) | b;
                    for (int i = 0; i < 4; ++i) dst[4 * x + i] = static_cast<uint8_t>(v >> (8 * i));
                    break;
                }
                default:
                    break;
            }
        }
    }
    return out;
}

std::vector<uint8_t> packIndexed(const IndexedPicture& p, const BmpOptions& o) {
    if (o.encoding == Encoding::Rle) {
        std::vector<uint8_t> rows = p.indices;
        if (o.topDown) {
            for (int y = 0; y < p.height; ++y)
                std::copy_n(p.indices.begin() + static_cast<size_t>(p.height - 1 - y) * p.width, p.width,
                            rows.begin() + static_cast<size_t>(y) * p.width);
        }
        return o.bitsPerPixel == 4 ? encodeRle4(rows, p.width, p.height)
                                   : encodeRle8(rows, p.width, p.height);
    }
    const size_t stride = rowStride(p.width, o.bitsPerPixel);
    std::vector<uint8_t> out(stride * p.height, 0);
    for (int fileRow = 0; fileRow < p.height; ++fileRow) {
        const int y = o.topDown ? p.height - 1 - fileRow : fileRow;
        packIndexRow(p.indices.data() + static_cast<size_t>(y) * p.width, p.width, o.bitsPerPixel,
                     out.data() + stride * fileRow);
    }
    return out;
}

// Assembles headers, masks, colour table and pixels, then applies overrides.
std::vector<uint8_t> assemble(int width, int height, const std::vector<Rgb>& palette,
                              const std::vector<uint8_t>& pixels, const BmpOptions& o, uint32_t rm,
                              uint32_t gm, uint32_t bm) {
    const Overrides& ov = o.overrides;
    const bool core = o.header == HeaderKind::Core;
    const bool rle = o.encoding == Encoding::Rle;
    const bool bitFields = o.encoding == Encoding::BitFields;
    const std::vector<uint8_t>& data = ov.pixelData ? *ov.pixelData : pixels;

    std::vector<uint8_t> out;
    if (o.fileHeader) {
        out.push_back('B');
        out.push_back('M');
        put32(out, 0);  // file size, patched below
        put32(out, 0);  // reserved
        put32(out, 0);  // data offset, patched below
    }
    const uint32_t kindSize = core                           ? 12u
                              : o.header == HeaderKind::Info ? 40u
                              : o.header == HeaderKind::V3   ? 56u
                              : o.header == HeaderKind::V4   ? 108u
                                                             : 124u;
    const uint32_t headerSize = ov.headerSize.value_or(kindSize);
    const size_t headerAt = out.size();
    const int32_t w = ov.width.value_or(width);
    const int32_t h = ov.height.value_or(o.topDown ? -height : height);
    const uint16_t bitCount = ov.bitCount.value_or(static_cast<uint16_t>(o.bitsPerPixel));
    put32(out, headerSize);
    if (core) {
        put16(out, static_cast<uint32_t>(w) & 0xFFFF);
        put16(out, static_cast<uint32_t>(h) & 0xFFFF);
        put16(out, ov.planes.value_or(1));
        put16(out, bitCount);
    } else {
        const uint32_t compression = ov.compression.value_or(rle         ? (o.bitsPerPixel == 4 ? 2u : 1u)
                                                             : bitFields ? 3u
                                                                         : 0u);
        put32(out, static_cast<uint32_t>(w));
        put32(out, static_cast<uint32_t>(h));
        put16(out, ov.planes.value_or(1));
        put16(out, bitCount);
        put32(out, compression);
        put32(out, ov.imageSize.value_or(static_cast<uint32_t>(data.size())));
        put32(out, 2835);  // 72 dpi
        put32(out, 2835);
        put32(out, ov.colorsUsed.value_or(static_cast<uint32_t>(palette.size())));
        put32(out, ov.colorsImportant.value_or(0));
    }
    if (kindSize >= 56) {
        // Masks (alpha none), then for V4 and V5 the colour space: sRGB with
        // zero end points and gamma; V5 adds intent and the profile's place.
        put32(out, bitFields ? rm : 0);
        put32(out, bitFields ? gm : 0);
        put32(out, bitFields ? bm : 0);
        put32(out, 0);
    }
    size_t profileField = 0;
    if (kindSize >= 108) {
        put32(out, 0x73524742);  // 'sRGB'
        out.insert(out.end(), 48, 0);
    }
    if (kindSize >= 124) {
        put32(out, 4);  // LCS_GM_IMAGES
        profileField = out.size();
        put32(out, 0);
        put32(out, static_cast<uint32_t>(o.profile.size()));
        put32(out, 0);
    }
    for (uint32_t i = 0; i < ov.extraHeaderBytes; ++i) out.push_back(0);
    if (bitFields && kindSize == 40) {
        put32(out, rm);
        put32(out, gm);
        put32(out, bm);
    }
    for (const Rgb& c : palette) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        if (!core) out.push_back(0);
    }
    auto putProfile = [&] {
        if (profileField == 0 || o.profile.empty()) return;
        set32(out, profileField, static_cast<uint32_t>(out.size() - headerAt));
        out.insert(out.end(), o.profile.begin(), o.profile.end());
    };
    if (o.profileBeforePixels) putProfile();
    const size_t offset = out.size();
    out.insert(out.end(), data.begin(), data.end());
    if (!o.profileBeforePixels) putProfile();
    if (o.fileHeader) {
        set32(out, 2, static_cast<uint32_t>(out.size()));
        set32(out, 10, ov.dataOffset.value_or(static_cast<uint32_t>(offset)));
    }
    if (ov.truncateTo && *ov.truncateTo < out.size()) out.resize(*ov.truncateTo);
    return out;
}

// Emits an RLE stream; `putRun` / `putAbsolute` know the pixel packing.
template <typename PutRun, typename PutAbsolute>
std::vector<uint8_t> encodeRle(const std::vector<uint8_t>& indices, int width, int height, PutRun putRun,
                               PutAbsolute putAbsolute) {
    std::vector<uint8_t> out;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = indices.data() + static_cast<size_t>(y) * width;
        int x = 0;
        while (x < width) {
            int run = 1;
            while (x + run < width && run < 255 && row[x + run] == row[x]) ++run;
            if (run >= 3) {
                putRun(out, run, row + x);
                x += run;
                continue;
            }
            // Literal stretch up to the next run of three equal indices.
            int end = x;
            while (end < width && end - x < 255) {
                if (end + 2 < width && row[end] == row[end + 1] && row[end] == row[end + 2]) break;
                ++end;
            }
            const int n = end - x;
            if (n >= 3) {
                putAbsolute(out, n, row + x);
            } else {
                for (int i = 0; i < n; ++i) putRun(out, 1, row + x + i);
            }
            x = end;
        }
        out.push_back(0);  // end of line
        out.push_back(0);
    }
    out.push_back(0);  // end of bitmap
    out.push_back(1);
    return out;
}

}  // namespace

std::vector<uint8_t> encodeRle8(const std::vector<uint8_t>& indices, int width, int height) {
    return encodeRle(
        indices, width, height,
        [](std::vector<uint8_t>& out, int n, const uint8_t* px) {
            out.push_back(static_cast<uint8_t>(n));
            out.push_back(px[0]);
        },
        [](std::vector<uint8_t>& out, int n, const uint8_t* px) {
            out.push_back(0);
            out.push_back(static_cast<uint8_t>(n));
            out.insert(out.end(), px, px + n);
            if (n & 1) out.push_back(0);
        });
}

std::vector<uint8_t> encodeRle4(const std::vector<uint8_t>& indices, int width, int height) {
    return encodeRle(
        indices, width, height,
        [](std::vector<uint8_t>& out, int n, const uint8_t* px) {
            out.push_back(static_cast<uint8_t>(n));
            out.push_back(static_cast<uint8_t>(((px[0] & 15) << 4) | (px[0] & 15)));
        },
        [](std::vector<uint8_t>& out, int n, const uint8_t* px) {
            out.push_back(0);
            out.push_back(static_cast<uint8_t>(n));
            const int bytes = (n + 1) / 2;
            for (int i = 0; i < bytes; ++i) {
                uint8_t hi = px[2 * i] & 15;
                uint8_t lo = 2 * i + 1 < n ? px[2 * i + 1] & 15 : 0;
                out.push_back(static_cast<uint8_t>((hi << 4) | lo));
            }
            if (bytes & 1) out.push_back(0);
        });
}

IndexedPicture indexPicture(const RgbPicture& picture, int maxColors) {
    IndexedPicture out;
    out.width = picture.width;
    out.height = picture.height;
    const size_t n = static_cast<size_t>(picture.width) * picture.height;
    out.indices.resize(n);
    std::map<uint32_t, uint8_t> seen;
    bool exact = true;
    for (size_t i = 0; i < n && exact; ++i) {
        const uint8_t* p = picture.rgb.data() + 3 * i;
        const uint32_t key = (p[0] << 16) | (p[1] << 8) | p[2];
        auto it = seen.find(key);
        if (it == seen.end()) {
            if (static_cast<int>(seen.size()) == maxColors) {
                exact = false;
                break;
            }
            it = seen.emplace(key, static_cast<uint8_t>(seen.size())).first;
            out.palette.push_back({p[0], p[1], p[2]});
        }
        out.indices[i] = it->second;
    }
    if (exact) return out;

    // Fixed palette: grey ramp for 2 colours, otherwise a colour cube.
    out.palette.clear();
    if (maxColors <= 2) {
        out.palette = {{0, 0, 0}, {255, 255, 255}};
    } else {
        int levels = 1;
        while ((levels + 1) * (levels + 1) * (levels + 1) <= maxColors) ++levels;
        for (int r = 0; r < levels; ++r)
            for (int g = 0; g < levels; ++g)
                for (int b = 0; b < levels; ++b)
                    out.palette.push_back({static_cast<uint8_t>(r * 255 / (levels - 1)),
                                           static_cast<uint8_t>(g * 255 / (levels - 1)),
                                           static_cast<uint8_t>(b * 255 / (levels - 1))});
    }
    for (size_t i = 0; i < n; ++i) {
        const uint8_t* p = picture.rgb.data() + 3 * i;
        int best = 0, bestDist = 1 << 30;
        for (size_t k = 0; k < out.palette.size(); ++k) {
            const Rgb& c = out.palette[k];
            const int d =
                (c.r - p[0]) * (c.r - p[0]) + (c.g - p[1]) * (c.g - p[1]) + (c.b - p[2]) * (c.b - p[2]);
            if (d < bestDist) {
                bestDist = d;
                best = static_cast<int>(k);
            }
        }
        out.indices[i] = static_cast<uint8_t>(best);
    }
    return out;
}

std::vector<uint8_t> writeBmp(const IndexedPicture& picture, const BmpOptions& options) {
    std::vector<Rgb> palette = picture.palette;
    const size_t full = size_t{1} << options.bitsPerPixel;
    if (!options.overrides.colorsUsed && palette.size() < full) palette.resize(full);
    if (options.overrides.colorsUsed && palette.size() > *options.overrides.colorsUsed)
        palette.resize(*options.overrides.colorsUsed);
    // Replaced pixel data needs no (possibly mismatched) picture to encode.
    const std::vector<uint8_t> pixels =
        options.overrides.pixelData ? std::vector<uint8_t>{} : packIndexed(picture, options);
    return assemble(picture.width, picture.height, palette, pixels, options, 0, 0, 0);
}

std::vector<uint8_t> writeBmp(const RgbPicture& picture, const BmpOptions& options) {
    const int bits = options.bitsPerPixel;
    if (bits == 1 || bits == 4 || bits == 8) return writeBmp(indexPicture(picture, 1 << bits), options);
    uint32_t rm = options.redMask, gm = options.greenMask, bm = options.blueMask;
    if (options.encoding == Encoding::BitFields && (rm | gm | bm) == 0) {
        if (bits == 16) {
            rm = 0xF800, gm = 0x07E0, bm = 0x001F;
        } else {
            rm = 0x00FF0000, gm = 0x0000FF00, bm = 0x000000FF;
        }
    }
    BmpOptions o = options;
    o.overrides.colorsUsed = options.overrides.colorsUsed.value_or(0);
    const std::vector<uint8_t> pixels =
        options.overrides.pixelData ? std::vector<uint8_t>{} : packTrueColor(picture, options, rm, gm, bm);
    return assemble(picture.width, picture.height, {}, pixels, o, rm, gm, bm);
}

bool saveFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace bmpw
