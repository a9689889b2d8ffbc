// Draws for checking the GL 1.1 layer against Mesa: draws.cpp is compiled
// twice, once against Mesa's GL 1.1 and GLU (namespace mesa) and once
// through the layer (namespace layer, ORBELUNE_GL_LAYER), so both run the
// very same calls. Each draw starts from a fresh context of 160 x 120 and
// sets everything it uses itself.
#pragma once

#include <cstdint>
#include <vector>

constexpr int kDrawWidth = 160, kDrawHeight = 120;

struct NamedDraw {
    const char* name;
    void (*draw)();
};

#define GL11_DRAWS(ns)                                                                          \
    namespace ns {                                                                              \
    extern const std::vector<NamedDraw> draws;                                                  \
    /* RGB rows of the colour buffer, bottom first, read with pack alignment `alignment`. */    \
    std::vector<uint8_t> readRgb(int x, int y, int width, int height, int alignment);           \
    /* Matrices, current colour and the error after each step of a fixed sequence of calls. */ \
    std::vector<float> matrixQueries();                                                         \
    std::vector<unsigned> errorsOfBadCalls();                                                   \
    /* gluScaleImage of a fixed RGB picture of `width` x `height` to `toWidth` x `toHeight`. */ \
    std::vector<uint8_t> scaledImage(int width, int height, int toWidth, int toHeight);         \
    }

GL11_DRAWS(mesa)
GL11_DRAWS(layer)
