// Geometry: glBegin/glEnd blocks of triangles or quads and indexed
// triangles from client arrays, sent to ES as vertex buffers (WebGL 1 has
// no client-side arrays). Each vertex carries position, normal, texture
// coordinate and colour; a glBegin vertex takes the current values at its
// glVertex, a client-array vertex the arrays' values and the current ones
// for what is not enabled. Quads are drawn as two triangles each (0 1 2,
// 0 2 3) through one shared index buffer, in runs of at most 16384 quads;
// incomplete trailing primitives are dropped as GL drops them. Indices go
// to ES as 16-bit values; a draw naming a vertex beyond 65535 is expanded
// into unindexed triangles. Buffers are streamed through a ring so that a
// buffer is not respecified while ES may still read it; the scratch arrays
// only grow, so a show that repeats its frames allocates nothing.
#include <algorithm>
#include <cstring>

#include "platform/gl11/context.h"

namespace gl11 {

namespace {

constexpr size_t kQuadsPerRun = 16384;  // 65536 vertices: the reach of a 16-bit index

void bindQuadIndices() {
    if (context.quadIndices == 0) {
        std::vector<uint16_t> pattern(kQuadsPerRun * 6);
        for (size_t q = 0; q < kQuadsPerRun; ++q) {
            const auto v = static_cast<uint16_t>(q * 4);
            const uint16_t quad[6] = {v, static_cast<uint16_t>(v + 1), static_cast<uint16_t>(v + 2), v,
                                      static_cast<uint16_t>(v + 2), static_cast<uint16_t>(v + 3)};
            std::memcpy(&pattern[q * 6], quad, sizeof quad);
        }
        glGenBuffers(1, &context.quadIndices);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, context.quadIndices);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(pattern.size() * sizeof(uint16_t)),
                     pattern.data(), GL_STATIC_DRAW);
        return;
    }
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, context.quadIndices);
}

void pointAttributes(size_t firstVertex) {
    const auto stride = static_cast<GLsizei>(sizeof(Vertex));
    const auto base = static_cast<uintptr_t>(firstVertex * sizeof(Vertex));
    const auto at = [base](size_t offset) { return reinterpret_cast<const void*>(base + offset); };
    for (GLuint a = 0; a < 4; ++a) glEnableVertexAttribArray(a);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, at(offsetof(Vertex, position)));
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride, at(offsetof(Vertex, normal)));
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride, at(offsetof(Vertex, texCoord)));
    glVertexAttribPointer(3, 4, GL_FLOAT, GL_FALSE, stride, at(offsetof(Vertex, color)));
}

Vertex currentVertex(float x, float y, float z) {
    Vertex v;
    v.position[0] = x, v.position[1] = y, v.position[2] = z;
    std::memcpy(v.normal, context.normal, sizeof v.normal);
    std::memcpy(v.texCoord, context.texCoord, sizeof v.texCoord);
    std::memcpy(v.color, context.color, sizeof v.color);
    return v;
}

const float* arrayElement(const ClientArray& array, size_t tightSize, size_t index) {
    const size_t stride = array.stride ? static_cast<size_t>(array.stride) : tightSize;
    return reinterpret_cast<const float*>(static_cast<const uint8_t*>(array.pointer) + index * stride);
}

Vertex arrayVertex(size_t index) {
    const float* p = arrayElement(context.vertexArray, 3 * sizeof(float), index);
    Vertex v = currentVertex(p[0], p[1], p[2]);
    if (context.normalArray.enabled)
        std::memcpy(v.normal, arrayElement(context.normalArray, 3 * sizeof(float), index), sizeof v.normal);
    if (context.texCoordArray.enabled)
        std::memcpy(v.texCoord, arrayElement(context.texCoordArray, 2 * sizeof(float), index), sizeof v.texCoord);
    return v;
}

uint32_t indexAt(GLenum type, const void* indices, size_t i) {
    switch (type) {
    case GL_UNSIGNED_BYTE: return static_cast<const uint8_t*>(indices)[i];
    case GL_UNSIGNED_SHORT: return static_cast<const uint16_t*>(indices)[i];
    default: return static_cast<const uint32_t*>(indices)[i];
    }
}

ClientArray* clientArray(GLenum array) {
    switch (array) {
    case GL_VERTEX_ARRAY: return &context.vertexArray;
    case GL_NORMAL_ARRAY: return &context.normalArray;
    case GL_TEXTURE_COORD_ARRAY: return &context.texCoordArray;
    default: recordError(GL_INVALID_ENUM); return nullptr;
    }
}

// Float arrays of the one size each the layer reads (3, 3 and 2).
void setPointer(GLenum array, bool sizeOk, GLenum type, GLsizei stride, const void* pointer) {
    if (type != GL_FLOAT) return recordError(GL_INVALID_ENUM);
    if (!sizeOk || stride < 0) return recordError(GL_INVALID_VALUE);
    ClientArray* a = clientArray(array);
    a->stride = stride;
    a->pointer = pointer;
}

}  // namespace

void draw(GLenum mode, const Vertex* vertices, size_t count, const uint16_t* indices, size_t indexCount) {
    if (count == 0 || (indices && indexCount == 0)) return;
    if (!context.attached || !useProgram()) return recordError(GL_INVALID_OPERATION);
    const int slot = context.nextBuffer;
    context.nextBuffer = (slot + 1) % Context::kStreamBuffers;
    glBindBuffer(GL_ARRAY_BUFFER, context.vertexBuffers[static_cast<size_t>(slot)]);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(count * sizeof(Vertex)), vertices, GL_STREAM_DRAW);
    if (indices) {
        pointAttributes(0);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, context.indexBuffers[static_cast<size_t>(slot)]);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indexCount * sizeof(uint16_t)), indices,
                     GL_STREAM_DRAW);
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indexCount), GL_UNSIGNED_SHORT, nullptr);
    } else if (mode == GL_QUADS) {
        bindQuadIndices();
        for (size_t first = 0; first + 4 <= count; first += kQuadsPerRun * 4) {
            const size_t quads = std::min(kQuadsPerRun, (count - first) / 4);
            pointAttributes(first);
            glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(quads * 6), GL_UNSIGNED_SHORT, nullptr);
        }
    } else {
        pointAttributes(0);
        glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(count - count % 3));
    }
}

}  // namespace gl11

using namespace gl11;

void gl11Begin(GLenum mode) {
    if (context.inBegin) return recordError(GL_INVALID_OPERATION);
    if (mode != GL_TRIANGLES && mode != GL_QUADS) return recordError(GL_INVALID_ENUM);
    context.inBegin = true;
    context.primitive = mode;
    context.vertices.clear();
}

void gl11Vertex3f(GLfloat x, GLfloat y, GLfloat z) {
    if (context.inBegin) context.vertices.push_back(currentVertex(x, y, z));
}

void gl11End(void) {
    if (!context.inBegin) return recordError(GL_INVALID_OPERATION);
    context.inBegin = false;
    draw(context.primitive, context.vertices.data(), context.vertices.size(), nullptr, 0);
}

void gl11EnableClientState(GLenum array) {
    if (ClientArray* a = clientArray(array)) a->enabled = true;
}

void gl11DisableClientState(GLenum array) {
    if (ClientArray* a = clientArray(array)) a->enabled = false;
}

void gl11VertexPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) {
    setPointer(GL_VERTEX_ARRAY, size == 3, type, stride, pointer);
}

void gl11NormalPointer(GLenum type, GLsizei stride, const void* pointer) {
    setPointer(GL_NORMAL_ARRAY, true, type, stride, pointer);
}

void gl11TexCoordPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) {
    setPointer(GL_TEXTURE_COORD_ARRAY, size == 2, type, stride, pointer);
}

void gl11DrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices) {
    if (mode != GL_TRIANGLES || (type != GL_UNSIGNED_BYTE && type != GL_UNSIGNED_SHORT && type != GL_UNSIGNED_INT))
        return recordError(GL_INVALID_ENUM);
    if (count < 0) return recordError(GL_INVALID_VALUE);
    if (!context.vertexArray.enabled || !context.vertexArray.pointer || count < 3) return;
    const auto n = static_cast<size_t>(count - count % 3);
    uint32_t highest = 0;
    for (size_t i = 0; i < n; ++i) highest = std::max(highest, indexAt(type, indices, i));
    context.vertices.clear();
    if (highest > 0xFFFF) {
        for (size_t i = 0; i < n; ++i) context.vertices.push_back(arrayVertex(indexAt(type, indices, i)));
        return draw(GL_TRIANGLES, context.vertices.data(), n, nullptr, 0);
    }
    for (size_t v = 0; v <= highest; ++v) context.vertices.push_back(arrayVertex(v));
    context.indices.resize(n);
    for (size_t i = 0; i < n; ++i) context.indices[i] = static_cast<uint16_t>(indexAt(type, indices, i));
    draw(GL_TRIANGLES, context.vertices.data(), context.vertices.size(), context.indices.data(), n);
}
