// The show's pictures, drawn procedurally, and their BMP encodings.
//
// Overlays and sprites are added onto the scene (source alpha, one), so they
// are drawn as light on black: black stays transparent. The overlay rectangle
// is 4:3 on screen, so lettering on square pictures is squeezed to three
// quarters of its width to look square when shown. Surface textures tile.
#include "content/textures.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

#include "content/font.h"
#include "writers/bmp_writer.h"

namespace content {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

float clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }
float smoothstep(float a, float b, float x) {
    const float t = clamp01((x - a) / (b - a));
    return t * t * (3 - 2 * t);
}
// Distance of (u, v) from the picture's centre; 1 at the middle of each edge.
float centreDistance(float u, float v) {
    const float dx = (u - 0.5f) * 2, dy = (v - 0.5f) * 2;
    return std::sqrt(dx * dx + dy * dy);
}
// Distance between two texture coordinates on a repeating axis.
float wrapDelta(float a, float b) {
    float d = std::fabs(a - b);
    return std::min(d, 1.0f - d);
}

struct V {
    float x, y, z;
};
V norm3(V a) {
    const float l = std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
    return {a.x / l, a.y / l, a.z / l};
}
float dot3(V a, V b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// Fills a sphere-map picture: each pixel shows env(reflection direction)
// as seen by a viewer looking down -z.
Picture sphereMap(int size, const std::function<Rgbf(V)>& env) {
    return painted(size, size, [&](float u, float vp) {
        const float x = 2 * u - 1;
        const float y = 2 * (1 - vp) - 1;
        const float len = std::sqrt(x * x + y * y);
        const V n = len < 1.0f ? V{x, y, std::sqrt(1 - len * len)} : V{x / len, y / len, 0.0f};
        const V refl{2 * n.z * n.x, 2 * n.z * n.y, 2 * n.z * n.z - 1};
        return env(refl);
    });
}

// Ordered dither before a 5-bit-per-channel store.
void dither555(Picture& p) {
    static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const float d = ((bayer[y & 3][x & 3] + 0.5f) / 16.0f - 0.5f) / 31.0f;
            Rgbf& c = p.at(x, y);
            c = {c.r + d, c.g + d, c.b + d};
        }
}

// ---- Surfaces ------------------------------------------------------------------

Picture stone() {
    return painted(256, 256, [](float u, float v) {
        const float n = fbm(u, v, 6, 5, 11);
        const float detail = valueNoise(u, v, 64, 12);
        Rgbf c = mix(rgb8(58, 54, 50), rgb8(168, 158, 142), n);
        const float crack = std::fabs(fbm(u, v, 4, 4, 13) - 0.5f);
        if (crack < 0.025f) c = c * (0.5f + 0.5f * crack / 0.025f);
        return c * (0.85f + 0.3f * detail);
    });
}

Picture glow() {
    return painted(64, 64, [](float u, float v) {
        const float r = centreDistance(u, v);
        if (r >= 1.0f) return Rgbf{};
        const float halo = std::pow(1 - r, 2.2f) * 0.85f;
        const float core = std::exp(-r * r * 30.0f) * 0.5f;
        const float i = clamp01(halo + core);
        return Rgbf{i, i, i};
    });
}

Picture skyGradient() {
    Picture p = painted(256, 256, [](float u, float v) {
        const float t = v;  // 0 at the top
        Rgbf c = t < 0.7f ? mix(rgb8(18, 36, 104), rgb8(120, 150, 210), t / 0.7f)
                          : mix(rgb8(120, 150, 210), rgb8(250, 190, 130), (t - 0.7f) / 0.3f);
        const float cloud = smoothstep(0.55f, 0.8f, fbm(u, v * 0.5f + 0.25f, 4, 5, 71));
        return mix(c, rgb8(240, 236, 230), cloud * 0.6f * (1 - t * 0.5f));
    });
    dither555(p);
    return p;
}

Picture marble() {
    return painted(256, 256, [](float u, float v) {
        const float turb = fbm(u, v, 4, 5, 21);
        const float s = 0.5f + 0.5f * std::sin(2 * kPi * (2 * u + v + 2.5f * turb));
        const float vein = std::pow(s, 6.0f);
        Rgbf base = mix(rgb8(236, 232, 224), rgb8(214, 208, 200), fbm(u, v, 8, 3, 22));
        return mix(base, rgb8(84, 98, 112), vein * 0.8f);
    });
}

Picture flash() { return Picture(64, 64, Rgbf{1, 1, 1}); }

Rgbf studioEnv(V r) {
    const float e = r.y;
    Rgbf c = e > 0 ? mix(rgb8(215, 225, 242), rgb8(52, 78, 150), std::sqrt(e))
                   : mix(rgb8(92, 84, 78), rgb8(16, 14, 14), std::sqrt(-e));
    c = c + Rgbf{1, 1, 1} * (0.55f * std::exp(-e * e * 90));
    const V sun = norm3({0.45f, 0.62f, 0.64f});
    const float s = std::max(0.0f, dot3(r, sun));
    c = c + Rgbf{1.0f, 0.95f, 0.85f} * (std::pow(s, 180.0f) * 2.5f + std::pow(s, 10.0f) * 0.25f);
    const V box = norm3({-0.7f, 0.3f, 0.5f});
    const float b = std::max(0.0f, dot3(r, box));
    c = c + Rgbf{0.7f, 0.85f, 1.0f} * (b > 0.97f ? 0.8f : 0.0f);
    return c;
}

Picture metal() { return sphereMap(256, studioEnv); }

Picture rockTexture() {
    // A width that is not a multiple of 4.
    return painted(250, 250, [](float u, float v) {
        const float n = fbm(u, v, 5, 6, 31);
        const float ridge = 1 - std::fabs(2 * fbm(u, v, 3, 4, 37) - 1);
        Rgbf c = mix(rgb8(62, 54, 48), rgb8(156, 140, 118), n);
        return c * (0.65f + 0.55f * ridge * ridge * ridge);
    });
}

Picture grass() {
    return painted(256, 256, [](float u, float v) {
        const float patches = fbm(u, v, 4, 4, 41);
        const float fine = valueNoise(u, v, 128, 42);
        Rgbf c = mix(rgb8(52, 86, 40), rgb8(118, 132, 64), patches);
        c = mix(c, rgb8(124, 100, 70), smoothstep(0.62f, 0.75f, fbm(u, v, 8, 3, 43)));
        return c * (0.8f + 0.4f * fine);
    });
}

Picture moon() {
    struct Crater {
        float u, v, r;
    };
    std::vector<Crater> craters;
    Rng rng(1234);
    for (int i = 0; i < 110; ++i) {
        const float r = 0.008f + 0.06f * std::pow(rng.uniform(), 3.0f);
        craters.push_back({rng.uniform(), rng.range(0.1f, 0.9f), r});
    }
    return painted(512, 256, [&](float u, float v) {
        float h = 0.55f + 0.35f * (fbm(u, v, 6, 6, 61) - 0.5f);
        float shade = 0;
        for (const Crater& c : craters) {
            float du = u - c.u;
            if (du > 0.5f) du -= 1.0f;
            if (du < -0.5f) du += 1.0f;
            du *= 2.0f;  // the picture is twice as wide as it is tall
            const float dv = v - c.v;
            const float d = std::sqrt(du * du + dv * dv) / c.r;
            if (d < 1.0f) {
                h -= 0.18f * (1 - d * d);
                shade += 0.22f * (du / c.r);
            } else if (d < 1.35f) {
                h += 0.12f * (1 - (d - 1) / 0.35f);
            }
        }
        const float mare = smoothstep(0.55f, 0.7f, fbm(u, v, 3, 3, 62));
        const float g = clamp01(h + shade - mare * 0.18f);
        return Rgbf{g * 0.96f, g * 0.95f, g * 0.92f};
    });
}

Picture planet() {
    const V light = norm3({-0.65f, 0.35f, -0.68f});
    return painted(512, 256, [&](float u, float vp) {
        const float t = 1 - vp;
        const float turb = fbm(u, vp, 4, 5, 51);
        const float band = 0.5f + 0.5f * std::sin(t * kPi * 11 + 3.0f * turb);
        Rgbf c = mix(rgb8(120, 64, 40), rgb8(236, 206, 160), band);
        c = mix(c, rgb8(190, 110, 70), smoothstep(0.6f, 0.9f, fbm(u, vp, 8, 3, 52)) * 0.5f);
        const float phi = 2 * kPi * u;
        const float theta = kPi * (t - 0.5f);
        const V n{std::cos(theta) * std::sin(phi), std::sin(theta), std::cos(theta) * std::cos(phi)};
        const float lit = 0.06f + 1.05f * std::pow(std::max(0.0f, dot3(n, light)), 0.8f);
        return c * lit;
    });
}

Picture tunnelPanels() {
    return painted(256, 256, [](float u, float v) {
        const float pu = u * 4, pv = v * 4;
        const float fu = pu - std::floor(pu), fv = pv - std::floor(pv);
        const int row = static_cast<int>(pv);
        const float seam = std::min(std::min(fu, 1 - fu), std::min(fv, 1 - fv));
        Rgbf c = mix(rgb8(44, 48, 56), rgb8(92, 98, 110), fbm(u, v, 8, 4, 81));
        c = c * (0.8f + 0.4f * (1 - fv));  // lit from above: lighter top edge
        if (seam < 0.03f) c = c * 0.35f;
        if (row % 2 == 0 && fv > 0.42f && fv < 0.58f && fu > 0.1f && fu < 0.9f)
            c = mix(c, rgb8(80, 220, 255), 0.85f);
        const float rivet = std::hypot(fu - 0.08f, fv - 0.08f);
        if (rivet < 0.025f) c = rgb8(170, 176, 186);
        return c;
    });
}

Picture ringBands() {
    return painted(128, 128, [](float u, float v) {
        float i = 0;
        const float centres[] = {0.2f, 0.34f, 0.5f, 0.62f, 0.8f};
        const float widths[] = {0.04f, 0.02f, 0.07f, 0.015f, 0.05f};
        for (int k = 0; k < 5; ++k) i += std::exp(-std::pow((u - centres[k]) / widths[k], 2.0f));
        i *= smoothstep(0.0f, 0.12f, u) * smoothstep(1.0f, 0.88f, u);
        i *= 0.75f + 0.25f * valueNoise(u, v, 32, 91);
        return mix(rgb8(255, 170, 80), rgb8(170, 120, 255), u) * clamp01(i);
    });
}

Picture tiles(Rgbf light, Rgbf dark, Rgbf grout, int count, uint32_t seed) {
    return painted(256, 256, [=](float u, float v) {
        const float pu = u * count, pv = v * count;
        const float fu = pu - std::floor(pu), fv = pv - std::floor(pv);
        const float tileTint = valueNoise(std::floor(pu) / count + 0.01f, std::floor(pv) / count + 0.01f, count, seed);
        const float vein = std::pow(0.5f + 0.5f * std::sin(2 * kPi * (u * 2 + 3 * fbm(u, v, 4, 5, seed + 1))), 5.0f);
        Rgbf c = mix(light, dark, 0.25f * tileTint + 0.5f * vein);
        const float edge = std::min(std::min(fu, 1 - fu), std::min(fv, 1 - fv));
        if (edge < 0.035f) c = grout;
        else if (edge < 0.08f) c = c * (0.85f + 0.15f * (edge - 0.035f) / 0.045f);
        return c;
    });
}

Picture sandstone() {
    return painted(256, 256, [](float u, float v) {
        const float strata = 0.5f + 0.5f * std::sin(2 * kPi * (v * 5 + 0.35f * fbm(u, v, 3, 4, 141)));
        Rgbf c = mix(rgb8(186, 150, 104), rgb8(236, 208, 160), strata);
        const float flute = 0.5f + 0.5f * std::cos(2 * kPi * u * 8);
        c = c * (0.72f + 0.28f * flute);
        return c * (0.9f + 0.2f * valueNoise(u, v, 64, 142));
    });
}

Picture lapis() {
    return painted(256, 256, [](float u, float v) {
        Rgbf c = mix(rgb8(18, 36, 110), rgb8(60, 90, 190), fbm(u, v, 6, 5, 151));
        const float fleck = valueNoise(u, v, 96, 152);
        if (fleck > 0.9f) c = mix(c, rgb8(240, 200, 90), (fleck - 0.9f) * 10);
        const float band = std::fabs(std::sin(2 * kPi * v * 6));
        if (band < 0.08f) c = rgb8(200, 160, 70);
        return c;
    });
}

Rgbf sunsetEnv(V r) {
    const float e = r.y;
    Rgbf c = e > 0 ? mix(rgb8(255, 150, 90), rgb8(60, 30, 110), std::pow(e, 0.6f))
                   : mix(rgb8(40, 60, 70), rgb8(6, 14, 20), std::sqrt(-e));
    const V sun = norm3({0.6f, 0.08f, 0.8f});
    const float s = std::max(0.0f, dot3(r, sun));
    c = c + rgb8(255, 220, 160) * (std::pow(s, 90.0f) * 2.0f + std::pow(s, 6.0f) * 0.3f);
    return c + Rgbf{1, 0.8f, 0.6f} * (0.35f * std::exp(-e * e * 120));
}

Picture chrome() { return sphereMap(256, sunsetEnv); }

// A soft, matte-looking environment: shades unlit objects as if lit from
// the upper left.
Rgbf clayEnv(V r) {
    const V key = norm3({-0.6f, 0.7f, 0.4f});
    const float k = 0.5f + 0.5f * dot3(r, key);
    const Rgbf c = mix(rgb8(30, 26, 34), rgb8(200, 186, 168), k * k);
    return c + rgb8(40, 60, 110) * (0.5f * std::max(0.0f, -r.y));
}

Picture clay() { return sphereMap(128, clayEnv); }

Picture vortexArms() {
    return painted(256, 256, [](float u, float v) {
        const float r = centreDistance(u, v);
        if (r >= 1) return Rgbf{};
        const float a = std::atan2((v - 0.5f) * 2, (u - 0.5f) * 2);
        const float arms = std::pow(0.5f + 0.5f * std::cos(5 * a + 9 * std::log(r + 0.06f)), 3.0f);
        const float edge = smoothstep(1.0f, 0.6f, r);
        const float core = std::exp(-r * r * 60);
        const Rgbf c = mix(rgb8(255, 80, 200), rgb8(60, 200, 255), r);
        return c * (arms * edge * 0.9f) + Rgbf{1, 1, 1} * core;
    });
}

Picture copper() {
    return painted(256, 256, [](float u, float v) {
        const float brush = valueNoise(u, v, 4, 181) * 0.3f + valueNoise2(u, v, 8, 256, 182) * 0.7f;
        Rgbf c = mix(rgb8(150, 80, 36), rgb8(238, 162, 96), brush);
        return c * (0.85f + 0.3f * fbm(u, v, 4, 3, 183));
    });
}

Picture grid() {
    return painted(256, 256, [](float u, float v) {
        const auto line = [](float x, int n, float w) {
            const float f = x * n - std::floor(x * n);
            return std::exp(-std::pow(std::min(f, 1 - f) / w, 2.0f));
        };
        const float major = std::max(line(u, 8, 0.05f), line(v, 8, 0.05f));
        const float minor = std::max(line(u, 32, 0.06f), line(v, 32, 0.06f));
        Rgbf c = rgb8(10, 16, 40);
        c = c + rgb8(60, 110, 200) * (minor * 0.5f);
        c = c + rgb8(120, 240, 255) * major;
        return c;
    });
}

Picture clouds() {
    return painted(256, 256, [](float u, float v) {
        const float n = fbm(u, v, 4, 6, 211);
        const float cover = smoothstep(0.48f, 0.72f, n);
        return mix(rgb8(70, 120, 200), rgb8(245, 245, 250), cover);
    });
}

Picture stainedGlass() {
    constexpr int cells = 4;
    std::vector<std::array<float, 2>> seeds;
    std::vector<Rgbf> tints;
    Rng rng(221);
    for (int i = 0; i < cells * cells; ++i) {
        seeds.push_back({(i % cells + rng.range(0.15f, 0.85f)) / cells, (i / cells + rng.range(0.15f, 0.85f)) / cells});
        const Rgbf palette[] = {rgb8(255, 220, 150), rgb8(170, 230, 255), rgb8(255, 190, 230), rgb8(200, 255, 190)};
        tints.push_back(palette[rng.next() % 4]);
    }
    return painted(128, 128, [&](float u, float v) {
        float best = 9, second = 9;
        size_t bestIndex = 0;
        for (size_t i = 0; i < seeds.size(); ++i) {
            const float du = wrapDelta(u, seeds[i][0]), dv = wrapDelta(v, seeds[i][1]);
            const float d = std::sqrt(du * du + dv * dv);
            if (d < best) {
                second = best;
                best = d;
                bestIndex = i;
            } else if (d < second) {
                second = d;
            }
        }
        const float lead = smoothstep(0.0f, 0.02f, second - best);
        return tints[bestIndex] * (0.25f + 0.75f * lead);
    });
}

Picture nebula() {
    return painted(256, 256, [](float u, float v) {
        const float r = centreDistance(u, v);
        const float fade = smoothstep(1.0f, 0.3f, r);
        const float a = fbm(u, v, 3, 6, 261), b = fbm(u, v, 5, 5, 262);
        const Rgbf c = rgb8(200, 60, 160) * smoothstep(0.45f, 0.8f, a) + rgb8(60, 110, 255) * smoothstep(0.5f, 0.85f, b);
        return c * fade;
    });
}

Picture sand() {
    return painted(256, 256, [](float u, float v) {
        const float ripple = 0.5f + 0.5f * std::sin(2 * kPi * (6 * v + 0.8f * fbm(u, v, 4, 4, 271)));
        Rgbf c = mix(rgb8(196, 170, 128), rgb8(232, 212, 172), ripple);
        return c * (0.9f + 0.2f * valueNoise(u, v, 128, 272));
    });
}

Picture slateFloor() {
    return tiles(rgb8(96, 104, 122), rgb8(40, 44, 58), rgb8(14, 14, 18), 4, 281);
}

Picture aurora() {
    return painted(256, 64, [](float u, float v) {
        const float curtain = std::pow(0.5f + 0.5f * std::sin(2 * kPi * (u * 6 + 0.7f * fbm(u, v, 4, 4, 291))), 2.0f);
        const float vertical = smoothstep(0.0f, 0.3f, v) * smoothstep(1.0f, 0.6f, v);
        const Rgbf c = mix(rgb8(60, 255, 170), rgb8(150, 80, 255), v);
        return c * (curtain * vertical);
    });
}

// ---- Overlays ------------------------------------------------------------------

// Lettered picture: lines centred, glow in `tint`. Square pictures are shown
// 4:3, so the dots are three quarters as wide as they are tall.
Picture lettering(int size, const std::vector<std::string>& lines, const std::vector<float>& dotHeights,
                  float top, float bottom, Rgbf tint, float glowStrength) {
    Picture p(size, size);
    float total = 0;
    for (size_t i = 0; i < lines.size(); ++i) total += dotHeights[i] * (i + 1 < lines.size() ? kLineAdvance : kGlyphHeight);
    float y = top + (bottom - top - total) * 0.5f;
    for (size_t i = 0; i < lines.size(); ++i) {
        TextStyle style;
        style.dotHeight = dotHeights[i];
        style.dotWidth = dotHeights[i] * 0.75f;
        // Long lines shrink to fit nine tenths of the width.
        const float fit = size * 0.9f / textWidth(lines[i], style);
        if (fit < 1.0f) {
            style.dotHeight *= fit;
            style.dotWidth *= fit;
        }
        drawTextCentred(p, lines[i], size * 0.5f, y, style);
        y += dotHeights[i] * kLineAdvance;
    }
    for (Rgbf& c : p.pixels) c = {clamp01(c.r), clamp01(c.g), clamp01(c.b)};
    addGlow(p, std::max(2, size / 128), 3, tint, glowStrength);
    return p;
}

const std::vector<OverlayText> kOverlayTexts = {
    {19, {"vantrel :: tamsk orbelune", "a real-time show"}},
    {23, {"vantrel", "presents"}},
    {24, {"tamsk orbelune", "a real-time show", "of light and metal"}},
    {25, {"231 seconds", "nine scenes", "one soundtrack"}},
    {30, {"code", "vantrel"}},
    {31, {"made with", "C++20 and OpenGL"}},
    {32, {"window by SDL2", "dialog by FLTK"}},
    {33, {"music synthesized", "encoded with LAME"}},
    {34, {"meshes and pictures", "made by code"}},
    {35, {"loading", "vantrel"}},
};

const std::vector<std::string>& textOf(int index) {
    for (const OverlayText& t : kOverlayTexts)
        if (t.index == index) return t.lines;
    static const std::vector<std::string> none;
    return none;
}

Picture title() {
    const auto& lines = textOf(19);
    return lettering(512, lines, {4.0f, 2.8f}, 180, 330, Rgbf{0.25f, 0.5f, 1.0f}, 1.6f);
}

// Credits of the second section sit at the lower right of the view; only the
// top nine tenths of the picture are on screen, so the lettering keeps to it.
Picture creditLower(int index) {
    const auto& lines = textOf(index);
    std::vector<float> heights(lines.size(), 3.2f);
    if (lines.size() == 2) heights = {4.6f, 3.4f};
    return lettering(256, lines, heights, 30, 210, Rgbf{1.0f, 0.6f, 0.2f}, 1.4f);
}

Picture creditSlide(int index) {
    const auto& lines = textOf(index);
    std::vector<float> heights(lines.size(), 4.6f);
    heights[0] = 6.0f;
    return lettering(256, lines, heights, 40, 216, Rgbf{0.4f, 0.8f, 1.0f}, 1.5f);
}

Picture loadingPicture() {
    const auto& lines = textOf(35);
    Picture p = lettering(512, lines, {5.0f, 2.5f}, 170, 330, Rgbf{}, 0.0f);
    for (int x = 150; x < 362; ++x)
        for (int y = 336; y < 339; ++y) p.at(x, y) = {1, 1, 1};
    return p;
}

Picture framePicture() {
    return painted(512, 512, [](float u, float v) {
        // Screen-proportioned coordinates: the picture is shown 4:3.
        const float x = (u - 0.5f) * (4.0f / 3.0f), y = (v - 0.5f);
        const auto rectDist = [&](float hx, float hy) {
            const float dx = std::fabs(x) - hx, dy = std::fabs(y) - hy;
            return std::fabs(std::max(dx, dy) < 0 ? std::max(dx, dy)
                                                  : std::hypot(std::max(dx, 0.0f), std::max(dy, 0.0f)));
        };
        const float outer = rectDist(0.6667f - 0.055f, 0.5f - 0.055f);
        const float inner = rectDist(0.6667f - 0.08f, 0.5f - 0.08f);
        float i = std::exp(-std::pow(outer / 0.004f, 2.0f)) + 0.6f * std::exp(-std::pow(inner / 0.0025f, 2.0f));
        i += 0.25f * std::exp(-outer / 0.02f);
        // Corner rosettes and edge diamonds.
        const float cx = 0.6667f - 0.055f, cy = 0.5f - 0.055f;
        const float corner = std::hypot(std::fabs(x) - cx, std::fabs(y) - cy);
        i += std::exp(-std::pow(corner / 0.012f, 2.0f)) * 1.2f + 0.4f * std::exp(-corner / 0.03f);
        const float dTop = std::fabs(x) + std::fabs(std::fabs(y) - cy) * 1.0f;
        const float dSide = std::fabs(y) + std::fabs(std::fabs(x) - cx);
        i += std::exp(-std::pow(std::min(dTop, dSide) / 0.012f, 2.0f));
        return mix(rgb8(40, 90, 200), rgb8(240, 248, 255), clamp01(i - 0.3f)) * clamp01(i);
    });
}

// ---- Encoding ------------------------------------------------------------------

std::vector<bmpw::Rgb> greyPalette(int n) {
    std::vector<bmpw::Rgb> out;
    for (int i = 0; i < n; ++i) {
        const auto g = static_cast<uint8_t>(i * 255 / (n - 1));
        out.push_back({g, g, g});
    }
    return out;
}

// The writer's settings for a layout; a depth of 8 bits or less takes a palette.
bmpw::BmpOptions layoutOptions(BmpLayout layout) {
    bmpw::BmpOptions o;
    switch (layout) {
    case BmpLayout::Rgb24: break;
    case BmpLayout::Rgb24Bare: o.fileHeader = false; break;
    case BmpLayout::Rgb32: o.bitsPerPixel = 32; break;
    case BmpLayout::Rgb16: o.bitsPerPixel = 16; break;
    case BmpLayout::Pal8: o.bitsPerPixel = 8; break;
    case BmpLayout::Pal8Rle: o.bitsPerPixel = 8; o.encoding = bmpw::Encoding::Rle; break;
    case BmpLayout::Pal8Core: o.bitsPerPixel = 8; o.header = bmpw::HeaderKind::Core; break;
    case BmpLayout::Pal4: o.bitsPerPixel = 4; break;
    case BmpLayout::Pal4Rle: o.bitsPerPixel = 4; o.encoding = bmpw::Encoding::Rle; break;
    case BmpLayout::Mono1: o.bitsPerPixel = 1; break;
    }
    return o;
}

std::vector<uint8_t> encode(const Picture& p, BmpLayout layout, const std::vector<bmpw::Rgb>& palette) {
    const bmpw::BmpOptions o = layoutOptions(layout);
    if (o.bitsPerPixel <= 8) return bmpw::writeBmp(toIndexed(p, palette), o);
    return bmpw::writeBmp(toRgb(p), o);
}

struct TextureRecipe {
    int index;
    const char* file;
    const char* listPath;  // nullptr: data\textures\<file>
    BmpLayout layout;
    std::function<Picture()> draw;
    std::function<std::vector<bmpw::Rgb>()> palette;
};

}  // namespace

const std::vector<OverlayText>& overlayTexts() { return kOverlayTexts; }

std::vector<TextureFile> buildTextures() {
    const auto none = [] { return std::vector<bmpw::Rgb>{}; };
    const auto amber = [] { return rampPalette(256, Rgbf{1.0f, 0.55f, 0.15f}, Rgbf{1, 1, 0.9f}); };
    const auto ice = [] { return rampPalette(256, Rgbf{0.3f, 0.55f, 1.0f}, Rgbf{1, 1, 1}); };
    const auto cyan16 = [] { return rampPalette(16, Rgbf{0.35f, 0.75f, 1.0f}, Rgbf{1, 1, 1}); };
    const auto silver16 = [] { return rampPalette(16, Rgbf{0.3f, 0.5f, 0.95f}, Rgbf{0.95f, 0.97f, 1}); };
    const auto mono = [] { return std::vector<bmpw::Rgb>{{0, 0, 0}, {255, 255, 255}}; };
    const std::vector<TextureRecipe> recipes = {
        {0, "stone.bmp", nullptr, BmpLayout::Rgb24, stone, none},
        {1, "glow.bmp", nullptr, BmpLayout::Pal8, glow, [] { return greyPalette(256); }},
        {2, "sky.bmp", nullptr, BmpLayout::Rgb16, skyGradient, none},
        {3, "frame.bmp", nullptr, BmpLayout::Pal4, framePicture, silver16},
        {4, "marble.bmp", "data\\TEXTURES\\Marble.BMP", BmpLayout::Rgb24Bare, marble, none},
        {5, "flash.bmp", nullptr, BmpLayout::Mono1, flash, mono},
        {6, "metal.bmp", nullptr, BmpLayout::Rgb32, metal, none},
        {7, "rock.bmp", nullptr, BmpLayout::Rgb24, rockTexture, none},
        {8, "grass.bmp", nullptr, BmpLayout::Rgb24, grass, none},
        {9, "moon.bmp", nullptr, BmpLayout::Rgb24, moon, none},
        {10, "planet.bmp", nullptr, BmpLayout::Rgb24, planet, none},
        {11, "panels.bmp", nullptr, BmpLayout::Rgb24, tunnelPanels, none},
        {12, "bands.bmp", nullptr, BmpLayout::Rgb24, ringBands, none},
        {13, "fountain1.bmp", nullptr, BmpLayout::Rgb24,
         [] { return tiles(rgb8(236, 244, 250), rgb8(120, 160, 200), rgb8(60, 80, 110), 4, 131); }, none},
        {14, "fountain2.bmp", nullptr, BmpLayout::Rgb24, sandstone, none},
        {15, "fountain3.bmp", nullptr, BmpLayout::Rgb24, lapis, none},
        {16, "chrome.bmp", nullptr, BmpLayout::Rgb24, chrome, none},
        {17, "vortex.bmp", nullptr, BmpLayout::Rgb24, vortexArms, none},
        {18, "copper.bmp", nullptr, BmpLayout::Rgb24, copper, none},
        {19, "title.bmp", nullptr, BmpLayout::Pal8Rle, title, ice},
        {20, "grid.bmp", nullptr, BmpLayout::Rgb24, grid, none},
        {21, "clouds.bmp", nullptr, BmpLayout::Rgb24, clouds, none},
        {22, "glass.bmp", nullptr, BmpLayout::Rgb24, stainedGlass, none},
        {23, "credit1.bmp", nullptr, BmpLayout::Pal8Core, [] { return creditLower(23); }, amber},
        {24, "credit2.bmp", nullptr, BmpLayout::Pal8Core, [] { return creditLower(24); }, amber},
        {25, "credit3.bmp", nullptr, BmpLayout::Pal8Core, [] { return creditLower(25); }, amber},
        {26, "nebula.bmp", nullptr, BmpLayout::Rgb24, nebula, none},
        {27, "sand.bmp", nullptr, BmpLayout::Rgb24, sand, none},
        {28, "slate.bmp", nullptr, BmpLayout::Rgb24, slateFloor, none},
        {29, "aurora.bmp", nullptr, BmpLayout::Rgb24, aurora, none},
        {30, "slide1.bmp", nullptr, BmpLayout::Pal4Rle, [] { return creditSlide(30); }, cyan16},
        {31, "slide2.bmp", nullptr, BmpLayout::Pal4Rle, [] { return creditSlide(31); }, cyan16},
        {32, "slide3.bmp", nullptr, BmpLayout::Pal4Rle, [] { return creditSlide(32); }, cyan16},
        {33, "slide4.bmp", nullptr, BmpLayout::Pal4Rle, [] { return creditSlide(33); }, cyan16},
        {34, "slide5.bmp", nullptr, BmpLayout::Pal4Rle, [] { return creditSlide(34); }, cyan16},
        {35, "loading.bmp", nullptr, BmpLayout::Mono1, loadingPicture, mono},
        {36, "clay.bmp", nullptr, BmpLayout::Rgb24, clay, none},
    };
    std::vector<TextureFile> out;
    for (const TextureRecipe& s : recipes) {
        TextureFile f;
        f.index = s.index;
        f.fileName = s.file;
        f.listPath = s.listPath ? s.listPath : std::string("data\\textures\\") + s.file;
        f.layout = s.layout;
        f.bytes = encode(s.draw(), s.layout, s.palette());
        out.push_back(std::move(f));
    }
    return out;
}

std::string textureList(const std::vector<TextureFile>& set) {
    std::string out;
    for (const TextureFile& f : set) out += f.listPath + "\r\n";
    return out;
}

}  // namespace content
