// Bitmap decoding speed: our decoder against SDL_LoadBMP and stb_image on the
// same bytes in memory (a 1024 x 1024 24-bit file and a 1024 x 1024 RLE8 file).
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <stb/stb_image.h>

#include "assets/dib.h"
#include "writers/bmp_writer.h"

namespace {

constexpr int kSide = 1024;

const std::vector<uint8_t>& file24() {
    static const std::vector<uint8_t> bytes = [] {
        bmpw::RgbPicture p{kSide, kSide, {}};
        p.rgb.reserve(size_t(kSide) * kSide * 3);
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x) {
                p.rgb.push_back(static_cast<uint8_t>(x ^ y));
                p.rgb.push_back(static_cast<uint8_t>(x * 3 + y));
                p.rgb.push_back(static_cast<uint8_t>(y * 5));
            }
        return bmpw::writeBmp(p, {});
    }();
    return bytes;
}

// Bands of long runs mixed with stretches of noise (absolute runs), like a
// typical title picture.
const std::vector<uint8_t>& fileRle8() {
    static const std::vector<uint8_t> bytes = [] {
        bmpw::IndexedPicture p{kSide, kSide, {}, {}};
        for (int i = 0; i < 256; ++i)
            p.palette.push_back(
                {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 7)});
        uint32_t seed = 12345;
        p.indices.reserve(size_t(kSide) * kSide);
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x) {
                seed = seed * 1664525u + 1013904223u;
                const bool noise = ((x / 64) + (y / 32)) % 4 == 0;
                p.indices.push_back(static_cast<uint8_t>(noise ? seed >> 24 : (x / 40 + y / 16)));
            }
        bmpw::BmpOptions o;
        o.bitsPerPixel = 8;
        o.encoding = bmpw::Encoding::Rle;
        return bmpw::writeBmp(p, o);
    }();
    return bytes;
}

void ours(benchmark::State& state, const std::vector<uint8_t>& bytes) {
    for (auto _ : state) {
        DibResult r = decodeDib(bytes.data(), bytes.size());
        if (!r.image) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(r.image->data.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kSide * kSide * 3);
}

void sdl(benchmark::State& state, const std::vector<uint8_t>& bytes) {
    for (auto _ : state) {
        SDL_Surface* s = SDL_LoadBMP_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1);
        if (!s) {
            state.SkipWithError(SDL_GetError());
            break;
        }
        benchmark::DoNotOptimize(s->pixels);
        SDL_FreeSurface(s);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kSide * kSide * 3);
}

void stb(benchmark::State& state, const std::vector<uint8_t>& bytes) {
    for (auto _ : state) {
        int w, h, n;
        stbi_uc* px = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &n, 3);
        if (!px) {
            state.SkipWithError(stbi_failure_reason());
            break;
        }
        benchmark::DoNotOptimize(px);
        stbi_image_free(px);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kSide * kSide * 3);
}

void Ours24(benchmark::State& s) { ours(s, file24()); }
void Sdl24(benchmark::State& s) { sdl(s, file24()); }
void Stb24(benchmark::State& s) { stb(s, file24()); }
void OursRle8(benchmark::State& s) { ours(s, fileRle8()); }
void SdlRle8(benchmark::State& s) { sdl(s, fileRle8()); }
void StbRle8(benchmark::State& s) { stb(s, fileRle8()); }

BENCHMARK(Ours24)->Unit(benchmark::kMicrosecond);
BENCHMARK(Sdl24)->Unit(benchmark::kMicrosecond);
BENCHMARK(Stb24)->Unit(benchmark::kMicrosecond);
BENCHMARK(OursRle8)->Unit(benchmark::kMicrosecond);
BENCHMARK(SdlRle8)->Unit(benchmark::kMicrosecond);
BENCHMARK(StbRle8)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
