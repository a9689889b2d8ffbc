// Float pictures, drawing helpers, tileable noise and BMP-writer conversions.
#include "content/picture.h"

#include <algorithm>
#include <cmath>

namespace content {

Rgbf mix(Rgbf a, Rgbf b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgbf rgb8(int r, int g, int b) { return {r / 255.0f, g / 255.0f, b / 255.0f}; }

Picture::Picture(int w, int h, Rgbf fillColour)
    : width(w), height(h), pixels(static_cast<size_t>(w) * h, fillColour) {}

void Picture::add(int x, int y, Rgbf c, float a) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    at(x, y) = at(x, y) + c * a;
}

void Picture::blend(int x, int y, Rgbf c, float a) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    at(x, y) = mix(at(x, y), c, a);
}

void fillRect(Picture& p, float x0, float y0, float x1, float y1, Rgbf c, bool additive) {
    const int ix0 = std::max(0, static_cast<int>(std::floor(x0)));
    const int iy0 = std::max(0, static_cast<int>(std::floor(y0)));
    const int ix1 = std::min(p.width - 1, static_cast<int>(std::ceil(x1)));
    const int iy1 = std::min(p.height - 1, static_cast<int>(std::ceil(y1)));
    for (int y = iy0; y <= iy1; ++y) {
        const float cy = std::min<float>(y + 1, y1) - std::max<float>(y, y0);
        if (cy <= 0) continue;
        for (int x = ix0; x <= ix1; ++x) {
            const float cx = std::min<float>(x + 1, x1) - std::max<float>(x, x0);
            if (cx <= 0) continue;
            if (additive)
                p.add(x, y, c, cx * cy);
            else
                p.blend(x, y, c, cx * cy);
        }
    }
}

namespace {

// Box blur of n values lying `stride` apart: each output is the sum of the
// inputs within r of it over the full window 2r + 1 (`inv` is its inverse),
// so the ends fade towards zero.
void blurLine(const float* in, float* out, int n, size_t stride, int r, float inv) {
    for (int i = 0; i < n; ++i) {
        float s = 0;
        for (int k = -r; k <= r; ++k) {
            const int j = i + k;
            if (j >= 0 && j < n) s += in[static_cast<size_t>(j) * stride];
        }
        out[static_cast<size_t>(i) * stride] = s * inv;
    }
}

// One box-blur pass along rows, then along columns, of a luminance buffer.
void boxBlur(std::vector<float>& v, int w, int h, int r) {
    std::vector<float> tmp(v.size());
    const float inv = 1.0f / (2 * r + 1);
    for (int y = 0; y < h; ++y) {
        const size_t row = static_cast<size_t>(y) * w;
        blurLine(v.data() + row, tmp.data() + row, w, 1, r, inv);
    }
    for (int x = 0; x < w; ++x) blurLine(tmp.data() + x, v.data() + x, h, static_cast<size_t>(w), r, inv);
}

}  // namespace

void addGlow(Picture& p, int radius, int passes, Rgbf tint, float strength) {
    std::vector<float> lum(p.pixels.size());
    for (size_t i = 0; i < lum.size(); ++i) {
        const Rgbf& c = p.pixels[i];
        lum[i] = (c.r + c.g + c.b) / 3.0f;
    }
    for (int i = 0; i < passes; ++i) boxBlur(lum, p.width, p.height, radius);
    for (size_t i = 0; i < lum.size(); ++i) p.pixels[i] = p.pixels[i] + tint * (lum[i] * strength);
}

void scale(Picture& p, float s) {
    for (Rgbf& c : p.pixels) c = c * s;
}

namespace {

float lattice(int x, int y, int periodX, int periodY, uint32_t seed) {
    const auto wrap = [](int i, int period) { return static_cast<uint32_t>(((i % period) + period) % period); };
    return latticeHash(wrap(x, periodX) * 0x8DA6B343u ^ wrap(y, periodY) * 0xD8163841u ^ seed * 0xCB1AB31Fu);
}

float smooth(float t) { return t * t * t * (t * (t * 6 - 15) + 10); }

}  // namespace

float valueNoise(float u, float v, int period, uint32_t seed) { return valueNoise2(u, v, period, period, seed); }

float valueNoise2(float u, float v, int periodU, int periodV, uint32_t seed) {
    const float x = u * periodU;
    const float y = v * periodV;
    const int x0 = static_cast<int>(std::floor(x));
    const int y0 = static_cast<int>(std::floor(y));
    const float fx = smooth(x - x0);
    const float fy = smooth(y - y0);
    const float a = lattice(x0, y0, periodU, periodV, seed);
    const float b = lattice(x0 + 1, y0, periodU, periodV, seed);
    const float c = lattice(x0, y0 + 1, periodU, periodV, seed);
    const float d = lattice(x0 + 1, y0 + 1, periodU, periodV, seed);
    return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

float fbm(float u, float v, int period, int octaves, uint32_t seed, float gain) {
    float sum = 0;
    float amp = 1;
    float norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * valueNoise(u, v, period << i, seed + static_cast<uint32_t>(i) * 101u);
        norm += amp;
        amp *= gain;
    }
    return sum / norm;
}

namespace {

uint8_t toByte(float v) {
    const float c = std::clamp(v, 0.0f, 1.0f);
    return static_cast<uint8_t>(std::lround(c * 255.0f));
}

}  // namespace

bmpw::RgbPicture toRgb(const Picture& p) {
    bmpw::RgbPicture out;
    out.width = p.width;
    out.height = p.height;
    out.rgb.reserve(static_cast<size_t>(p.width) * p.height * 3);
    for (int y = p.height - 1; y >= 0; --y) {
        for (int x = 0; x < p.width; ++x) {
            const Rgbf& c = p.at(x, y);
            out.rgb.push_back(toByte(c.r));
            out.rgb.push_back(toByte(c.g));
            out.rgb.push_back(toByte(c.b));
        }
    }
    return out;
}

bmpw::IndexedPicture toIndexed(const Picture& p, const std::vector<bmpw::Rgb>& palette) {
    bmpw::IndexedPicture out;
    out.width = p.width;
    out.height = p.height;
    out.palette = palette;
    out.indices.reserve(static_cast<size_t>(p.width) * p.height);
    for (int y = p.height - 1; y >= 0; --y) {
        for (int x = 0; x < p.width; ++x) {
            const Rgbf& c = p.at(x, y);
            const int r = toByte(c.r), g = toByte(c.g), b = toByte(c.b);
            int best = 0;
            int bestDist = 1 << 30;
            for (size_t i = 0; i < palette.size(); ++i) {
                const int dr = r - palette[i].r, dg = g - palette[i].g, db = b - palette[i].b;
                const int dist = dr * dr * 3 + dg * dg * 4 + db * db * 2;
                if (dist < bestDist) {
                    bestDist = dist;
                    best = static_cast<int>(i);
                }
            }
            out.indices.push_back(static_cast<uint8_t>(best));
        }
    }
    return out;
}

std::vector<bmpw::Rgb> rampPalette(int n, Rgbf mid, Rgbf top) {
    std::vector<bmpw::Rgb> out;
    for (int i = 0; i < n; ++i) {
        const float t = n > 1 ? static_cast<float>(i) / (n - 1) : 1.0f;
        const Rgbf c = t < 0.6f ? mix({}, mid, t / 0.6f) : mix(mid, top, (t - 0.6f) / 0.4f);
        out.push_back({toByte(c.r), toByte(c.g), toByte(c.b)});
    }
    return out;
}

}  // namespace content
