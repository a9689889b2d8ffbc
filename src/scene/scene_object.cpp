// Derived mesh data, computed once after a mesh has been read: unit face
// normals from the corner order, vertex normals as the plain average of the
// face normals that name each vertex, and the vortex ring of every vertex
// with a fresh, all-zero ring table of one entry per distinct distance.
//
// The vertex-normal average accumulates into each vertex in face order and
// corner order, which is exactly the order of a per-vertex scan over all
// faces, so the floats come out identical to that scan while the work is one
// pass over the faces and one over the vertices.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "scene/scene.h"

namespace {

// Distances beyond this are folded onto it before rings are numbered, so
// that absurd (or infinite) coordinates stay within an integer.
constexpr int32_t kLargestRing = 65535;

bool indicesValid(const MeshFace& face, size_t vertexCount) {
    return face.index[0] < vertexCount && face.index[1] < vertexCount &&
           face.index[2] < vertexCount;
}

}  // namespace

void SceneObject::computeNormals(bool flip) {
    const size_t count = vertices.size();

    // Face normals: e1 = B - A, e2 = C - A, n = e1 x e2, normalised.
    for (MeshFace& face : faces) {
        face.normal = Vec3{};
        if (!indicesValid(face, count)) continue;  // the loader drops such faces
        const Vec3& a = vertices[face.index[0]].position;
        const Vec3& b = vertices[face.index[1]].position;
        const Vec3& c = vertices[face.index[2]].position;
        const float e1x = b.x - a.x, e1y = b.y - a.y, e1z = b.z - a.z;
        const float e2x = c.x - a.x, e2y = c.y - a.y, e2z = c.z - a.z;
        face.normal.x = e1y * e2z - e2y * e1z;
        face.normal.y = e1z * e2x - e1x * e2z;
        face.normal.z = e1x * e2y - e1y * e2x;
        face.normal.normalize();
    }

    // Vertex normals: sums in face order, corner order; then divide.
    std::vector<int32_t> uses(count, 0);
    for (MeshVertex& vertex : vertices) vertex.normal = Vec3{};
    for (const MeshFace& face : faces) {
        if (!indicesValid(face, count)) continue;
        for (uint32_t corner : face.index) {
            Vec3& sum = vertices[corner].normal;
            sum.x += face.normal.x;
            sum.y += face.normal.y;
            sum.z += face.normal.z;
            ++uses[corner];
        }
    }
    for (size_t k = 0; k < count; ++k) {
        Vec3& n = vertices[k].normal;
        if (uses[k] == 0) continue;  // unused vertex: never drawn, normal stays (0, 0, 0)
        const float divisor = static_cast<float>(uses[k]);
        n.x = n.x / divisor;
        n.y = n.y / divisor;
        n.z = n.z / divisor;
        if (flip) {
            n.x = -n.x;
            n.y = -n.y;
            n.z = -n.z;
        }
    }
}

void SceneObject::assignRings(float scale, Vec3 centre) {
    // Distances first (in quarter units once the caller's scale is 4), then
    // the distinct distances in increasing order become rings 0, 1, 2, ...
    // A mesh whose distances leave no gaps keeps ring = distance.
    std::vector<int32_t> distances;
    distances.reserve(vertices.size());
    for (MeshVertex& vertex : vertices) {
        const float dx = scale * vertex.position.x - centre.x;
        const float dy = scale * vertex.position.y - centre.y;
        const float dz = scale * vertex.position.z - centre.z;
        const float distance = std::sqrt(dx * dx + dy * dy + dz * dz);
        int32_t d = 0;
        if (std::isnan(distance))
            d = 0;
        else if (distance >= static_cast<float>(kLargestRing))
            d = kLargestRing;
        else
            d = static_cast<int32_t>(distance);  // truncation toward zero
        vertex.ring = d;
        distances.push_back(d);
    }
    std::sort(distances.begin(), distances.end());
    distances.erase(std::unique(distances.begin(), distances.end()), distances.end());
    const bool gapless = distances.empty() || distances.back() == static_cast<int32_t>(distances.size()) - 1;
    if (!gapless) {
        for (MeshVertex& vertex : vertices)
            vertex.ring = static_cast<int32_t>(std::lower_bound(distances.begin(), distances.end(), vertex.ring) -
                                               distances.begin());
    }
    maxRing = distances.empty() ? 0 : static_cast<int32_t>(distances.size()) - 1;
    ringTable.assign(static_cast<size_t>(maxRing) + 1, Vec3{});
}
