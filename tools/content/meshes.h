// Procedural triangle meshes for the bundled scenes: parametric surfaces
// (spheres, tori, knots, tubes), terrain grids, lathed shapes (columns, a
// fountain basin), discs and noisy rocks. Triangles run counter-clockwise
// seen from the side the surface faces, so face normals point outwards.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace content {

struct V3 {
    float x = 0.0f;  // 0
    float y = 0.0f;  // 0
    float z = 0.0f;  // 0
};
inline V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline V3 operator*(V3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
V3 cross(V3 a, V3 b);
float dot(V3 a, V3 b);
V3 normalized(V3 a);

struct Mesh {
    std::vector<V3> positions;
    std::vector<std::array<float, 2>> uv;         // one per position
    std::vector<std::array<uint16_t, 3>> faces;   // counter-clockwise from outside

    size_t triangleCount() const { return faces.size(); }
    // Appends another mesh (indices shifted).
    void append(const Mesh& other);
    void translate(V3 offset);
    // Reverses the corner order of every face (the surface then faces the other way).
    void flipWinding();
    // Turns every position about the x, y or z axis by `radians` (right-handed).
    void rotateX(float radians);
    void rotateY(float radians);
    void rotateZ(float radians);
};

// Grid surface over (s, t) in 0..1: (cols+1) x (rows+1) vertices from
// point(s, t); quads split in two. The surface faces along d/ds x d/dt.
Mesh parametric(int cols, int rows, const std::function<V3(float, float)>& point, float uRepeat = 1.0f,
                float vRepeat = 1.0f);

Mesh sphere(float radius, int slices, int stacks, float uRepeat = 1.0f, float vRepeat = 1.0f);
Mesh torus(float major, float minor, int segments, int sides, float uRepeat = 4.0f, float vRepeat = 1.0f);
// A tube of the given radius around a closed (p, q) torus knot.
Mesh torusKnot(int p, int q, float major, float minor, float tube, int segments, int sides);
// Terrain over x in [-sx/2, sx/2], z in [-sz/2, sz/2], facing +y.
Mesh terrain(int cols, int rows, float sx, float sz, const std::function<float(float, float)>& height,
             float uvRepeat);
// Open cylinder along +z from z0 to z1, seen from outside; radius may vary
// with the angle a (radians) and z.
Mesh tube(int sides, int rings, float z0, float z1, const std::function<float(float, float)>& radius,
          float uRepeat, float vRepeat);
// Surface of revolution about +y of the profile (radius, height) points,
// listed bottom to top; the outside faces away from the axis.
Mesh lathe(const std::vector<std::array<float, 2>>& profile, int sides, float uRepeat = 1.0f);
// Flat disc in the x-y plane facing +z, from radius r0 to r1.
Mesh disc(float r0, float r1, int rings, int sectors);
// A lumpy closed rock: a sphere pushed in and out by 3-D noise.
Mesh rock(float radius, float roughness, int slices, int stacks, uint32_t seed);

// Smooth 3-D value noise in 0..1.
float noise3(float x, float y, float z, uint32_t seed);

}  // namespace content
