// Icon drawing: every pixel is the average of 4 x 4 samples, each sample the
// ring behind the moon, the moon, then the ring in front, over a soft halo.
#include "content/icon.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace content {

namespace {

struct Rgba {
    float r = 0, g = 0, b = 0, a = 0;  // premultiplied
};

// `top` over `under`, both premultiplied.
Rgba over(Rgba top, Rgba under) {
    const float k = 1.0f - top.a;
    return {top.r + under.r * k, top.g + under.g * k, top.b + under.b * k, top.a + under.a * k};
}

Rgba solid(float r, float g, float b, float a) { return {r * a, g * a, b * a, a}; }

constexpr float kMoonRadius = 0.60f;
constexpr float kTilt = -0.38f;  // radians

// Coverage-free sample at (x, y), both from -1 to 1, y downwards.
Rgba sample(float x, float y) {
    const float d = std::sqrt(x * x + y * y);
    Rgba pixel;
    if (d > kMoonRadius) {
        const float t = (d - kMoonRadius) / 0.10f;
        pixel = solid(0.45f, 0.55f, 1.0f, 0.45f * std::exp(-t * t));
    }

    // The ring: an ellipse band, turned by kTilt; its lower half passes in front.
    const float rx = x * std::cos(kTilt) - y * std::sin(kTilt);
    const float ry = x * std::sin(kTilt) + y * std::cos(kTilt);
    const float e = std::sqrt((rx / 0.96f) * (rx / 0.96f) + (ry / 0.30f) * (ry / 0.30f));
    Rgba ring;
    if (e > 0.78f && e < 0.98f) {
        const float across = (e - 0.78f) / 0.20f;
        const float shade = 0.65f + 0.35f * std::sin(across * 3.14159f);
        ring = solid(0.55f * shade, 0.80f * shade, 1.0f * shade, 0.92f);
    }
    const bool ringInFront = ry > 0.0f;
    if (!ringInFront) pixel = over(ring, pixel);

    if (d <= kMoonRadius) {
        const float nx = x / kMoonRadius, ny = -y / kMoonRadius;
        const float nz = std::sqrt(std::max(0.0f, 1.0f - nx * nx - ny * ny));
        const float lx = -0.55f, ly = 0.55f, lz = 0.63f;
        const float diffuse = std::max(0.0f, nx * lx + ny * ly + nz * lz);
        const float highlight = std::pow(std::max(0.0f, 2.0f * diffuse * nz - lz), 24.0f);
        // Craters: a few darker discs on the lit face.
        float crater = 1.0f;
        const float spots[][3] = {{-0.22f, -0.18f, 0.12f}, {0.12f, 0.20f, 0.09f}, {-0.05f, 0.34f, 0.06f}};
        for (const auto& s : spots) {
            const float cx = x - s[0], cy = y - s[1];
            if (cx * cx + cy * cy < s[2] * s[2]) crater = 0.82f;
        }
        const float lit = diffuse * crater;
        pixel = solid(std::min(1.0f, 0.10f + 0.95f * lit + highlight), std::min(1.0f, 0.11f + 0.80f * lit + highlight),
                      std::min(1.0f, 0.28f + 0.45f * lit + highlight), 1.0f);
    }
    if (ringInFront) pixel = over(ring, pixel);
    return pixel;
}

uint8_t byte(float v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); }

}  // namespace

std::vector<uint8_t> drawIcon(int size) {
    constexpr int kSamples = 4;
    std::vector<uint8_t> rgba(static_cast<size_t>(size) * size * 4);
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            Rgba sum;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const float x = (px + (sx + 0.5f) / kSamples) / size * 2.0f - 1.0f;
                    const float y = (py + (sy + 0.5f) / kSamples) / size * 2.0f - 1.0f;
                    const Rgba s = sample(x, y);
                    sum = {sum.r + s.r, sum.g + s.g, sum.b + s.b, sum.a + s.a};
                }
            }
            const float n = kSamples * kSamples;
            const float a = sum.a / n;
            uint8_t* out = &rgba[(static_cast<size_t>(py) * size + px) * 4];
            out[0] = byte(a > 0 ? sum.r / n / a : 0);
            out[1] = byte(a > 0 ? sum.g / n / a : 0);
            out[2] = byte(a > 0 ? sum.b / n / a : 0);
            out[3] = byte(a);
        }
    }
    return rgba;
}

bool writeIcons(const std::filesystem::path& dir, const std::string& name) {
    for (int size : {32, 48, 64, 128, 256}) {
        const std::string edge = std::to_string(size);
        const std::filesystem::path folder = dir / (edge + "x" + edge) / "apps";
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        const std::vector<uint8_t> pixels = drawIcon(size);
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        image.width = static_cast<png_uint_32>(size);
        image.height = static_cast<png_uint_32>(size);
        image.format = PNG_FORMAT_RGBA;
        const std::string path = (folder / (name + ".png")).string();
        if (!png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0, nullptr)) {
            std::fprintf(stderr, "content: cannot write %s: %s\n", path.c_str(), image.message);
            return false;
        }
    }
    return true;
}

}  // namespace content
