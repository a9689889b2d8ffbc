// The layer's own record of GL 1.1 state, shared by its files: what ES 2
// does not keep (matrices, lights, material, fog, texture-coordinate
// generation, the current vertex values, client arrays, the enables ES
// lacks) and the ES objects the layer draws with (one program per
// fixed-function state, streamed vertex and index buffers). Values start as
// GL 1.1 specifies them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "platform/gl11/gl11.h"

namespace gl11 {

// Column-major, as GL stores it: m[0..3] is the first column.
struct Matrix {
    float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
};

Matrix multiply(const Matrix& a, const Matrix& b);
// The inverse of `in`; the identity for a singular matrix.
Matrix inverse(const Matrix& in);

// A fixed-depth matrix stack; GL's minimum depths are 32 and 2, Mesa gives
// 32 to both.
struct MatrixStack {
    static constexpr int kDepth = 32;
    std::array<Matrix, kDepth> entries;  // all identity
    int top = 0;                         // 0
};

struct Light {
    float ambient[4] = {0, 0, 0, 1};
    float diffuse[4] = {0, 0, 0, 1};   // (1, 1, 1, 1) for light 0
    float specular[4] = {0, 0, 0, 1};  // (1, 1, 1, 1) for light 0
    float eyePosition[4] = {0, 0, 1, 0};
    float eyeSpotDirection[3] = {0, 0, -1};
    float spotExponent = 0.0f;  // 0
    float spotCutoff = 180.0f;  // 180 (no spot)
    float attenuation[3] = {1, 0, 0};
    bool enabled = false;  // false
};

struct Material {
    float ambient[4] = {0.2f, 0.2f, 0.2f, 1};
    float diffuse[4] = {0.8f, 0.8f, 0.8f, 1};
    float specular[4] = {0, 0, 0, 1};
    float emission[4] = {0, 0, 0, 1};
    float shininess = 0.0f;  // 0
};

struct ClientArray {
    bool enabled = false;          // false
    GLsizei stride = 0;            // 0: tightly packed
    const void* pointer = nullptr; // nullptr
};

// One vertex as the layer's shaders read it.
struct Vertex {
    float position[3];
    float normal[3];
    float texCoord[2];
    float color[4];
};

struct TextureInfo {
    bool complete = false;                        // false
    GLenum minFilter = GL_NEAREST_MIPMAP_LINEAR;  // GL's default
    float width = 0, height = 0;                  // level 0; 0
};

struct Program {
    uint32_t key = 0;    // 0
    GLuint id = 0;       // 0
    unsigned seen = 0;   // state serial whose uniforms it holds; 0
    GLint modelView = -1, projection = -1, normalMatrix = -1, lightAmbient = -1, lightDiffuse = -1,
          lightSpecular = -1, lightPosition = -1, lightSpot = -1, lightAttenuation = -1,
          sceneAmbient = -1, material = -1, fog = -1, fogColor = -1, sampler = -1, textureSize = -1,
          windowToEye = -1;
};

struct Context {
    bool attached = false;  // false
    GLenum error = GL_NO_ERROR;

    float color[4] = {1, 1, 1, 1};
    float normal[3] = {0, 0, 1};
    float texCoord[2] = {0, 0};

    bool lighting = false, fog = false, texture2d = false, colorMaterial = false;
    bool genS = false, genT = false;
    bool sphereS = false, sphereT = false;  // generation modes (GL's default is eye-linear)
    std::array<Light, 8> lights;
    Material material;
    float sceneAmbient[4] = {0.2f, 0.2f, 0.2f, 1};
    GLenum fogMode = GL_EXP;
    float fogStart = 0.0f, fogEnd = 1.0f, fogDensity = 1.0f;  // 0, 1, 1
    float fogColor[4] = {0, 0, 0, 0};

    GLint viewport[4] = {0, 0, 0, 0};  // as glViewport set it (the context's at attach)
    // Window position to eye space (for the layer's own mipmap level), and
    // the projection and viewport it was made from: made again only when
    // either changed, not at every upload.
    Matrix windowToEye, windowToEyeProjection;
    GLint windowToEyeViewport[4] = {-1, -1, -1, -1};  // no viewport: made at first use
    GLenum matrixMode = GL_MODELVIEW;
    MatrixStack modelView, projection;

    ClientArray vertexArray, normalArray, texCoordArray;
    bool inBegin = false;  // false
    GLenum primitive = GL_TRIANGLES;
    std::vector<Vertex> vertices;  // the glBegin block, or client arrays gathered

    // Bound texture and, per name, what sampling needs to know of it: only a
    // texture with its whole mipmap chain samples (GL 1.1 leaves an
    // incomplete one off); its minifying filter and level-0 size pick the
    // mipmap level the way Mesa does.
    GLuint boundTexture = 0;  // 0
    TextureInfo bound;
    std::unordered_map<GLuint, TextureInfo> textures;
    // Whether the ES context can take derivatives and sample a chosen level
    // in a fragment shader (OES_standard_derivatives, EXT_shader_texture_lod).
    bool explicitLevels = false;  // false

    // Bumped by every change that a program's uniforms hold.
    unsigned serial = 1;  // 1
    std::vector<Program> programs;
    const Program* current = nullptr;
    static constexpr int kStreamBuffers = 64;
    std::array<GLuint, kStreamBuffers> vertexBuffers{}, indexBuffers{};
    int nextBuffer = 0;  // 0
    GLuint quadIndices = 0;  // element buffer 0 1 2 0 2 3, 4 5 6 4 6 7, ...
    std::vector<uint16_t> indices;   // scratch for glDrawElements
    std::vector<uint8_t> pixels;     // scratch for glReadPixels
};

// The layer's state is a global for the reason GL's is: the GL calls it
// stands in for name no context, so there is exactly one, that of the
// context the layer is attached to.
extern Context context;

void recordError(GLenum error);
Matrix& currentMatrix();
// Draws vertices (GL_TRIANGLES or GL_QUADS; with indices, triangles) with
// the program of the current state.
void draw(GLenum mode, const Vertex* vertices, size_t count, const uint16_t* indices, size_t indexCount);
// Makes the program of the current fixed-function state current and its
// uniforms up to date; nullptr if it could not be built.
const Program* useProgram();
void releasePrograms();

}  // namespace gl11
