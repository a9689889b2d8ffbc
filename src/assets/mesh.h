// Mesh records: vertices and triangles of one scene object, and the two
// derived passes run after loading (normals, vortex rings). The render
// settings that share SceneObject live in scene/scene.h.
#pragma once

#include <cstdint>

#include "assets/vec3.h"

struct MeshVertex {
    Vec3 position;      // current (deformed) position, drawn
    Vec3 basePosition;  // rest position as loaded (file coords * scale)
    Vec3 normal;        // vertex normal
    float u = 0.0f;     // 0; texture s from the mapping list
    float v = 0.0f;     // 0; texture t, stored as read (not inverted)
    int32_t ring = 0;   // 0; vortex ring index (assignRings)
};

struct MeshFace {
    uint32_t index[3] = {0, 0, 0};  // corners A, B, C into the vertex array, file order
    Vec3 normal;                    // unit face normal (computeNormals)
};
