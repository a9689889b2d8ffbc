// Shared set-up for the renderer tests: a real GL context in the base state
// the show starts its frames from, textures made in place and written into
// the texture table, and meshes built directly in memory.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "assets/texture_table.h"
#include "render/render.h"
#include "support/gl_context.h"
#include "window/gl_state.h"

using Rgb = std::array<int, 3>;

// A one-texel texture, nearest filtering, no mipmaps, stored in TextureTable[slot].
inline GLuint solidTexture(int slot, uint8_t r, uint8_t g, uint8_t b) {
    const uint8_t rgba[4] = {r, g, b, 255};
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    glBindTexture(GL_TEXTURE_2D, 0);
    TextureTable[static_cast<size_t>(slot)] = name;
    return name;
}

// An axis-aligned quad (two triangles facing +z) at depth z, normals (0, 0, 1),
// texture coordinates 0..1, rest shape = current shape.
inline SceneObject& addQuad(Scene& scene, float x0, float y0, float x1, float y1, float z,
                            int32_t textureId) {
    SceneObject& o = scene.addObject();
    const float xs[4] = {x0, x1, x1, x0};
    const float ys[4] = {y0, y0, y1, y1};
    o.vertices.resize(4);
    for (int i = 0; i < 4; ++i) {
        MeshVertex& v = o.vertices[static_cast<size_t>(i)];
        v.position.setVec3(xs[i], ys[i], z, 0.0f);
        v.basePosition = v.position;
        v.normal.setVec3(0.0f, 0.0f, 1.0f, 0.0f);
        v.u = (i == 1 || i == 2) ? 1.0f : 0.0f;
        v.v = (i >= 2) ? 1.0f : 0.0f;
    }
    o.faces.resize(2);
    o.faces[0].index[0] = 0, o.faces[0].index[1] = 1, o.faces[0].index[2] = 2;
    o.faces[1].index[0] = 0, o.faces[1].index[1] = 2, o.faces[1].index[2] = 3;
    o.ringTable.assign(1, Vec3{});
    o.textureId = textureId;
    return o;
}

inline Color4 rgba(float r, float g, float b, float a = 1.0f) { return {r, g, b, a}; }

class RenderTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 160;
    static constexpr int kHeight = 120;
    TestGlContext gl{kWidth, kHeight};

    void SetUp() override {
        ASSERT_TRUE(gl.ok());
        TextureTable.fill(0);
        applyBaseGlState();
        glMatrixMode(GL_PROJECTION);
        gluPerspective(90.0, double(kWidth) / kHeight, 0.1, 100.0);
        glMatrixMode(GL_MODELVIEW);
        clearAll();
    }
    void TearDown() override { TextureTable.fill(0); }

    static void clearAll() {
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    Rgb at(int x, int y) const {
        uint8_t p[3];
        gl.pixel(x, y, p);
        return {p[0], p[1], p[2]};
    }
    Rgb centre() const { return at(kWidth / 2, kHeight / 2); }
};

inline bool enabled(GLenum cap) { return glIsEnabled(cap) == GL_TRUE; }

// A real-GL state query of one integer (texture names read as GLuint).
inline GLint glInteger(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}
inline GLuint boundTexture() { return static_cast<GLuint>(glInteger(GL_TEXTURE_BINDING_2D)); }
inline bool depthWrites() {
    GLboolean on = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &on);
    return on == GL_TRUE;
}

inline std::array<float, 16> modelview() {
    std::array<float, 16> m{};
    glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
    return m;
}
