// A real Mesa GL context for tests: a hidden window on SDL's offscreen
// driver (no display needed), compatibility profile or OpenGL ES 2, made
// current.
#pragma once

#include "platform/gl.h"

#include <cstdint>
#include <vector>

enum class TestGlApi { compatibility, es2 };

class TestGlContext {
public:
    TestGlContext(int width = 160, int height = 120, TestGlApi api = TestGlApi::compatibility);
    ~TestGlContext();
    TestGlContext(const TestGlContext&) = delete;
    TestGlContext& operator=(const TestGlContext&) = delete;

    bool ok() const { return context_ != nullptr; }
    // RGB bytes of the back buffer, bottom row first.
    std::vector<uint8_t> readPixels() const;
    // RGB of one pixel (x from the left, y from the bottom).
    void pixel(int x, int y, uint8_t rgb[3]) const;

private:
    void* window_ = nullptr;
    void* context_ = nullptr;
    int width_, height_;
};
