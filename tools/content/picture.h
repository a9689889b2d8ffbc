// In-memory pictures for the content generator: float RGB pixels stored top
// row first (as a picture is looked at), drawing helpers, tileable noise and
// the conversions to the BMP writer's layouts (bottom row first).
#pragma once

#include <cstdint>
#include <vector>

#include "content/rng.h"
#include "writers/bmp_writer.h"

namespace content {

struct Rgbf {
    float r = 0.0f;  // 0
    float g = 0.0f;  // 0
    float b = 0.0f;  // 0
};

inline Rgbf operator+(Rgbf a, Rgbf b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Rgbf operator*(Rgbf a, float s) { return {a.r * s, a.g * s, a.b * s}; }
inline Rgbf operator*(Rgbf a, Rgbf b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }
Rgbf mix(Rgbf a, Rgbf b, float t);
// Colour from 0..255 components.
Rgbf rgb8(int r, int g, int b);

struct Picture {
    int width = 0;             // pixels
    int height = 0;            // pixels
    std::vector<Rgbf> pixels;  // width*height, top row first

    Picture() = default;
    Picture(int w, int h, Rgbf fill = {});
    Rgbf& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    const Rgbf& at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    // Adds colour c weighted by coverage a (0..1) at (x, y); outside is ignored.
    void add(int x, int y, Rgbf c, float a);
    // Blends towards colour c by coverage a at (x, y); outside is ignored.
    void blend(int x, int y, Rgbf c, float a);
};

// Fills every pixel from f(u, v) with u, v in 0..1 at the pixel centres
// (v = 0 at the top row).
template <typename F>
void fill(Picture& p, F f) {
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            p.at(x, y) = f((x + 0.5f) / p.width, (y + 0.5f) / p.height);
}

// A new w x h picture filled from f(u, v) as above.
template <typename F>
Picture painted(int w, int h, F f) {
    Picture p(w, h);
    fill(p, f);
    return p;
}

// Antialiased filled rectangle (coverage by area), added or blended.
void fillRect(Picture& p, float x0, float y0, float x1, float y1, Rgbf c, bool additive);
// Adds a soft blur of the picture's brightness in colour `tint` (box blur
// passes of the given radius), for glowing lettering.
void addGlow(Picture& p, int radius, int passes, Rgbf tint, float strength);
// Multiplies every pixel by s.
void scale(Picture& p, float s);

// Tileable value noise: lattice of `period` cells over 0..1 in u and v,
// smooth interpolation, values in 0..1. fbm sums octaves (period doubling).
float valueNoise(float u, float v, int period, uint32_t seed);
// The same with separate lattice periods across (u) and down (v), for
// streaks and strata that still tile.
float valueNoise2(float u, float v, int periodU, int periodV, uint32_t seed);
float fbm(float u, float v, int period, int octaves, uint32_t seed, float gain = 0.5f);

// Conversions for the BMP writer.
bmpw::RgbPicture toRgb(const Picture& p);
// Indexed picture with the given palette; every pixel takes the nearest entry.
bmpw::IndexedPicture toIndexed(const Picture& p, const std::vector<bmpw::Rgb>& palette);
// A ramp of n colours from black through `mid` to `top`.
std::vector<bmpw::Rgb> rampPalette(int n, Rgbf mid, Rgbf top);

}  // namespace content
