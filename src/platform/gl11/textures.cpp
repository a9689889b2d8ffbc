// Textures and pixels: binding (the layer samples only a texture whose
// whole mipmap chain it built, as GL leaves an incomplete texture off),
// parameters, GLU's image scaling and mipmap building with the filters of
// Mesa's GLU, and reading the colour buffer back.
//
// gluScaleImage works as Mesa's GLU does: bytes widened to 16 bits (v * 257),
// each output pixel the area-weighted mean of the input pixels its box
// covers (the box one input pixel wide where the image grows), narrowed
// again by dropping the low byte; an exact halving is the 2 x 2 mean.
// gluBuild2DMipmaps scales a side that is not a power of two to the nearest
// one GLU picks (and down to the largest size ES takes), uploads it as level
// 0 and halves it level by level down to 1 x 1: the rounded mean of 2 x 2
// pixels, or the truncated mean of two once a side is 1. Both honour the
// unpack and pack row alignments. Only unsigned bytes in RGB or RGBA are
// part of this subset.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/gl11/context.h"
#include "platform/glu_sizes.h"

namespace gl11 {

namespace {

constexpr GLint kGluInvalidEnum = 100900;
constexpr GLint kGluInvalidValue = 100901;

int components(GLenum format) {
    return format == GL_RGB ? 3 : format == GL_RGBA ? 4 : 0;
}

size_t rowBytes(GLint width, int comps, GLenum alignmentName) {
    GLint alignment = 4;
    glGetIntegerv(alignmentName, &alignment);
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(comps);
    const auto a = static_cast<size_t>(std::max(alignment, 1));
    return (bytes + a - 1) / a * a;
}

// The image as tightly packed 16-bit values.
std::vector<uint16_t> widen(const void* data, GLint width, GLint height, int comps) {
    const size_t row = rowBytes(width, comps, GL_UNPACK_ALIGNMENT);
    const size_t tight = static_cast<size_t>(width) * static_cast<size_t>(comps);
    std::vector<uint16_t> out(tight * static_cast<size_t>(height));
    for (size_t y = 0; y < static_cast<size_t>(height); ++y)
        for (size_t i = 0; i < tight; ++i)
            out[y * tight + i] = static_cast<uint16_t>(static_cast<const uint8_t*>(data)[y * row + i] * 257);
    return out;
}

// The next smaller level: the rounded mean of each 2 x 2 block, or, once
// a side is 1, the truncated mean of each pair.
template <typename T>
std::vector<T> halve(const std::vector<T>& in, GLint width, GLint height, int comps) {
    const auto w = static_cast<size_t>(std::max(width / 2, 1)), h = static_cast<size_t>(std::max(height / 2, 1));
    const auto c = static_cast<size_t>(comps), rowIn = static_cast<size_t>(width) * c;
    std::vector<T> out(w * h * c);
    if (width == 1 || height == 1) {
        for (size_t p = 0; p < w * h; ++p)
            for (size_t k = 0; k < c; ++k)
                out[p * c + k] = static_cast<T>((in[2 * p * c + k] + in[(2 * p + 1) * c + k]) / 2);
        return out;
    }
    for (size_t y = 0; y < h; ++y)
        for (size_t x = 0; x < w; ++x)
            for (size_t k = 0; k < c; ++k) {
                const size_t at = 2 * y * rowIn + 2 * x * c + k;
                const unsigned sum = in[at] + in[at + c] + in[at + rowIn] + in[at + rowIn + c];
                out[(y * w + x) * c + k] = static_cast<T>((sum + 2) / 4);
            }
    return out;
}

std::vector<uint16_t> scale(const std::vector<uint16_t>& in, GLint widthIn, GLint heightIn, int comps,
                            GLint widthOut, GLint heightOut) {
    if (widthIn == widthOut * 2 && heightIn == heightOut * 2) return halve(in, widthIn, heightIn, comps);
    std::vector<uint16_t> out(static_cast<size_t>(widthOut) * static_cast<size_t>(heightOut) *
                              static_cast<size_t>(comps));
    const float convY = static_cast<float>(heightIn) / static_cast<float>(heightOut);
    const float convX = static_cast<float>(widthIn) / static_cast<float>(widthOut);
    const float halfY = heightIn > heightOut ? convY / 2 : 0.5f;
    const float halfX = widthIn > widthOut ? convX / 2 : 0.5f;
    for (GLint i = 0; i < heightOut; ++i) {
        const float centreY = convY * (static_cast<float>(i) + 0.5f);
        const float lowY = centreY - halfY, highY = centreY + halfY;
        for (GLint j = 0; j < widthOut; ++j) {
            const float centreX = convX * (static_cast<float>(j) + 0.5f);
            const float lowX = centreX - halfX, highX = centreX + halfX;
            float totals[4] = {0, 0, 0, 0}, area = 0;
            for (float y = lowY, yInt = std::floor(lowY); y < highY; yInt += 1, y = yInt) {
                const auto row = static_cast<size_t>((static_cast<GLint>(yInt) + heightIn) % heightIn);
                const float partY = (highY < yInt + 1 ? highY : yInt + 1) - y;
                for (float x = lowX, xInt = std::floor(lowX); x < highX; xInt += 1, x = xInt) {
                    const auto column = static_cast<size_t>((static_cast<GLint>(xInt) + widthIn) % widthIn);
                    const float part = ((highX < xInt + 1 ? highX : xInt + 1) - x) * partY;
                    area += part;
                    const size_t at = (row * static_cast<size_t>(widthIn) + column) * static_cast<size_t>(comps);
                    for (int k = 0; k < comps; ++k) totals[k] += static_cast<float>(in[at + static_cast<size_t>(k)]) * part;
                }
            }
            const size_t at = (static_cast<size_t>(i) * static_cast<size_t>(widthOut) + static_cast<size_t>(j)) *
                              static_cast<size_t>(comps);
            for (int k = 0; k < comps; ++k)
                out[at + static_cast<size_t>(k)] = static_cast<uint16_t>((totals[k] + 0.5f) / area);
        }
    }
    return out;
}

}  // namespace

}  // namespace gl11

using namespace gl11;

void gl11BindTexture(GLenum target, GLuint texture) {
    if (target != GL_TEXTURE_2D) return recordError(GL_INVALID_ENUM);
    glBindTexture(GL_TEXTURE_2D, texture);
    context.boundTexture = texture;
    const auto found = context.textures.find(texture);
    context.bound = found != context.textures.end() ? found->second : TextureInfo{};
    ++context.serial;
}

void gl11DeleteTextures(GLsizei count, const GLuint* textures) {
    if (count < 0) return recordError(GL_INVALID_VALUE);
    for (GLsizei i = 0; i < count; ++i) {
        context.textures.erase(textures[i]);
        if (textures[i] == context.boundTexture) gl11BindTexture(GL_TEXTURE_2D, 0);
    }
    glDeleteTextures(count, textures);
}

void gl11TexParameterf(GLenum target, GLenum pname, GLfloat value) {
    if (target != GL_TEXTURE_2D) return recordError(GL_INVALID_ENUM);
    glTexParameteri(target, pname, static_cast<GLint>(value));
    const auto filter = static_cast<GLenum>(value);
    const bool known = filter == GL_NEAREST || filter == GL_LINEAR || filter == GL_NEAREST_MIPMAP_NEAREST ||
                       filter == GL_LINEAR_MIPMAP_NEAREST || filter == GL_NEAREST_MIPMAP_LINEAR ||
                       filter == GL_LINEAR_MIPMAP_LINEAR;
    if (pname == GL_TEXTURE_MIN_FILTER && known) {  // ES refuses any other value, as GL does
        context.bound.minFilter = filter;
        if (context.boundTexture) context.textures[context.boundTexture] = context.bound;
        ++context.serial;
    }
}

GLint gl11GluScaleImage(GLenum format, GLint widthIn, GLint heightIn, GLenum typeIn, const void* dataIn,
                        GLint widthOut, GLint heightOut, GLenum typeOut, void* dataOut) {
    const int comps = components(format);
    if (comps == 0 || typeIn != GL_UNSIGNED_BYTE || typeOut != GL_UNSIGNED_BYTE) return kGluInvalidEnum;
    if (widthIn <= 0 || heightIn <= 0 || widthOut <= 0 || heightOut <= 0) return kGluInvalidValue;
    const std::vector<uint16_t> out =
        scale(widen(dataIn, widthIn, heightIn, comps), widthIn, heightIn, comps, widthOut, heightOut);
    const size_t row = rowBytes(widthOut, comps, GL_PACK_ALIGNMENT);
    const size_t tight = static_cast<size_t>(widthOut) * static_cast<size_t>(comps);
    for (size_t y = 0; y < static_cast<size_t>(heightOut); ++y)
        for (size_t i = 0; i < tight; ++i)
            static_cast<uint8_t*>(dataOut)[y * row + i] = static_cast<uint8_t>(out[y * tight + i] >> 8);
    return 0;
}

GLint gl11GluBuild2DMipmaps(GLenum target, GLint comps, GLint width, GLint height, GLenum format, GLenum type,
                            const void* data) {
    const GLenum internal = comps == 3 || comps == GL_RGB ? GL_RGB : comps == 4 || comps == GL_RGBA ? GL_RGBA : 0;
    if (target != GL_TEXTURE_2D || internal == 0 || components(format) == 0 || type != GL_UNSIGNED_BYTE)
        return kGluInvalidEnum;
    if (width <= 0 || height <= 0) return kGluInvalidValue;
    const int n = components(format), m = components(internal);
    GLint maxSide = 64;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
    GLint w = gluPowerOfTwoSide(width), h = gluPowerOfTwoSide(height);
    while (w > maxSide || h > maxSide) w = std::max(w / 2, 1), h = std::max(h / 2, 1);
    std::vector<uint16_t> wide = widen(data, width, height, n);
    if (w != width || h != height) wide = scale(wide, width, height, n, w, h);
    // Bytes from here on, RGB and RGBA converted by adding an opaque alpha or dropping it.
    std::vector<uint8_t> image(static_cast<size_t>(w) * static_cast<size_t>(h) * static_cast<size_t>(m), 0xFF);
    for (size_t p = 0; p < static_cast<size_t>(w) * static_cast<size_t>(h); ++p)
        for (size_t k = 0; k < static_cast<size_t>(std::min(n, m)); ++k)
            image[p * static_cast<size_t>(m) + k] = static_cast<uint8_t>(wide[p * static_cast<size_t>(n) + k] >> 8);
    GLint unpack = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpack);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const GLint levelWidth = w, levelHeight = h;
    for (GLint level = 0;; ++level) {
        glTexImage2D(GL_TEXTURE_2D, level, static_cast<GLint>(internal), w, h, 0, internal, GL_UNSIGNED_BYTE,
                     image.data());
        if (w == 1 && h == 1) break;
        image = halve(image, w, h, m);
        w = std::max(w / 2, 1), h = std::max(h / 2, 1);
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, unpack);
    context.bound.complete = true;
    context.bound.width = static_cast<float>(levelWidth), context.bound.height = static_cast<float>(levelHeight);
    if (context.boundTexture) context.textures[context.boundTexture] = context.bound;
    ++context.serial;
    return 0;
}

void gl11ReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, void* pixels) {
    if (type != GL_UNSIGNED_BYTE || components(format) == 0) return recordError(GL_INVALID_ENUM);
    if (width < 0 || height < 0) return recordError(GL_INVALID_VALUE);
    if (format == GL_RGBA) return glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    const size_t w = static_cast<size_t>(width), h = static_cast<size_t>(height);
    context.pixels.resize(w * h * 4);
    GLint pack = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &pack);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, context.pixels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, pack);
    const size_t row = rowBytes(width, 3, GL_PACK_ALIGNMENT);
    for (size_t r = 0; r < h; ++r)
        for (size_t c = 0; c < w; ++c)
            std::memcpy(static_cast<uint8_t*>(pixels) + r * row + c * 3, &context.pixels[(r * w + c) * 4], 3);
}
