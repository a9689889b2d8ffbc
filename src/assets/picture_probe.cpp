// Signatures, the alpha walk and the texture memory estimate. The alpha of
// a bit-field bitmap is its header's alpha mask (the 56-, 108- and 124-byte
// headers carry one after the colour masks); a plain 32-bit bitmap's fourth
// byte counts as alpha unless it is 0 everywhere (the usual "unused" byte).
#include "assets/picture_probe.h"

#include <cstring>

namespace {

uint32_t u32(const uint8_t* p) { return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24; }

bool startsWith(const uint8_t* data, size_t size, size_t at, const void* bytes, size_t n) {
    return at <= size && size - at >= n && std::memcmp(data + at, bytes, n) == 0;
}

}  // namespace

const char* otherPictureFormat(const uint8_t* data, size_t size) {
    if (startsWith(data, size, 0, "\x89PNG\r\n\x1a\n", 8)) return "PNG";
    if (startsWith(data, size, 0, "\xFF\xD8\xFF", 3)) return "JPEG";
    if (startsWith(data, size, 0, "GIF87a", 6) || startsWith(data, size, 0, "GIF89a", 6)) return "GIF";
    if (startsWith(data, size, 0, "RIFF", 4) && startsWith(data, size, 8, "WEBP", 4)) return "WebP";
    if (startsWith(data, size, 0, "II*\0", 4) || startsWith(data, size, 0, "MM\0*", 4)) return "TIFF";
    return nullptr;
}

AlphaCoverage bitmapAlpha(const uint8_t* data, size_t size) {
    AlphaCoverage alpha;
    if (size < 54 || data[0] != 'B' || data[1] != 'M') return alpha;
    const uint32_t offset = u32(data + 10), header = u32(data + 14);
    const auto width = static_cast<int32_t>(u32(data + 18)), height = static_cast<int32_t>(u32(data + 22));
    const unsigned bits = data[28] | data[29] << 8;
    const uint32_t compression = u32(data + 30);
    if (bits != 32 || width <= 0 || height == 0 || height == INT32_MIN || (compression != 0 && compression != 3))
        return alpha;
    uint32_t mask = 0xFF000000u;
    if (compression == 3) {
        if (header < 56 || size < 14 + 56) return alpha;
        mask = u32(data + 14 + 52);
        if (mask == 0) return alpha;
    }
    const uint64_t pixels = uint64_t(width) * uint64_t(height < 0 ? -int64_t{height} : height);
    if (offset > size || (size - offset) / 4 < pixels) return alpha;
    bool anySet = false;
    for (uint64_t i = 0; i < pixels; ++i) {
        const uint32_t a = u32(data + offset + i * 4) & mask;
        anySet = anySet || a != 0;
        alpha.notOpaque += a != mask;
    }
    alpha.hasAlpha = compression == 3 || anySet;
    alpha.pixels = static_cast<int64_t>(pixels);
    if (!alpha.hasAlpha) alpha.notOpaque = 0;
    return alpha;
}

uint64_t textureBytes(int64_t width, int64_t height) {
    const uint64_t base = uint64_t(width > 0 ? width : 0) * uint64_t(height > 0 ? height : 0) * 4;
    return base + base / 3;
}
