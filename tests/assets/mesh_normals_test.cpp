#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "scene/scene.h"

namespace {

void addVertex(SceneObject& object, float x, float y, float z) {
    MeshVertex v;
    v.position.setVec3(x, y, z, 0);
    v.basePosition = v.position;
    object.vertices.push_back(v);
}

void addFace(SceneObject& object, uint32_t a, uint32_t b, uint32_t c) {
    object.faces.push_back(MeshFace{{a, b, c}, {}});
}

}  // namespace

// Face normals follow the corner order; a vertex's normal is the plain
// average (not normalised again) of the faces that name it, counted once per
// corner, negated by the flip; positions, not rest positions, count.
TEST(MeshNormals, FaceCrossProductsAveragedPerCorner) {
    using V = std::array<float, 3>;
    struct Case {
        const char* what;
        std::vector<V> moreVertices;  // after A (0,0,0), B (1,0,0), C (0,1,0)
        std::vector<std::array<uint32_t, 3>> faces;
        bool flip;
        std::vector<V> faceNormals, vertexNormals;
    };
    const Case cases[] = {
        {"one face", {}, {{0, 1, 2}}, false, {{0, 0, 1}}, {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}}},
        {"flipped", {}, {{0, 1, 2}}, true, {{0, 0, 1}}, {{0, 0, -1}, {0, 0, -1}, {0, 0, -1}}},
        {"clockwise", {}, {{0, 2, 1}}, false, {{0, 0, -1}}, {{0, 0, -1}, {0, 0, -1}, {0, 0, -1}}},
        {"shared", {{0, 0, 1}}, {{0, 1, 2}, {0, 2, 3}}, false, {{0, 0, 1}, {1, 0, 0}},
         {{0.5f, 0, 0.5f}, {0, 0, 1}, {0.5f, 0, 0.5f}, {1, 0, 0}}},
        {"degenerate", {}, {{0, 1, 2}, {0, 0, 1}}, false, {{0, 0, 1}, {0, 0, 0}},
         {{0, 0, 1.0f / 3.0f}, {0, 0, 0.5f}, {0, 0, 1}}},
        {"unused vertex, index out of range", {{5, 5, 5}}, {{0, 1, 2}, {0, 1, 999}}, true, {{0, 0, 1}, {0, 0, 0}},
         {{0, 0, -1}, {0, 0, -1}, {0, 0, -1}, {0, 0, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SceneObject object;
        for (const V& p : {V{0, 0, 0}, V{1, 0, 0}, V{0, 1, 0}}) addVertex(object, p[0], p[1], p[2]);
        for (const V& p : c.moreVertices) addVertex(object, p[0], p[1], p[2]);
        object.vertices[1].basePosition.setVec3(0, 0, 5, 0);
        for (const auto& f : c.faces) addFace(object, f[0], f[1], f[2]);
        object.computeNormals(c.flip);
        std::vector<V> faces, vertices;
        for (const MeshFace& f : object.faces) faces.push_back({f.normal.x, f.normal.y, f.normal.z});
        for (const MeshVertex& v : object.vertices) vertices.push_back({v.normal.x, v.normal.y, v.normal.z});
        EXPECT_EQ(faces, c.faceNormals);
        EXPECT_EQ(vertices, c.vertexNormals);
    }
}

TEST(MeshNormals, SumsRunInFaceOrderThenCornerOrder) {
    // Vertex 0 is named by three faces, at corner 2, 1 and 0 in face order.
    // Their normals have x = 1, -1 and about -1e-8, so the float sum depends
    // on the order of the additions (face order gives -1e-8, corner-major 0).
    SceneObject object;
    addVertex(object, 0, 0, 0);
    addVertex(object, 0, 1, 0);
    addVertex(object, 0, 0, -1);
    addVertex(object, 1, 0, -1e-8f);
    addVertex(object, 0, 1, 0);
    addVertex(object, 0, 0, 1);
    addFace(object, 1, 5, 0);  // normal (1, 0, 0), vertex 0 at corner 2
    addFace(object, 2, 0, 1);  // normal (-1, 0, 0), at corner 1
    addFace(object, 0, 4, 3);  // normal about (-1e-8, 0, -1), at corner 0
    object.computeNormals(false);

    const float a = object.faces[0].normal.x, b = object.faces[1].normal.x, c = object.faces[2].normal.x;
    ASSERT_NE(((0.0f + a) + b) + c, ((0.0f + c) + b) + a) << "the case must be order sensitive";
    const float expected = (((0.0f + a) + b) + c) / 3.0f;
    EXPECT_EQ(object.vertices[0].normal.x, expected);
}

// Rings of the vertices of `object` after assignRings(4, centre).
std::vector<int32_t> ringsOf(SceneObject& object, float cx = 0.0f) {
    Vec3 centre;
    centre.x = cx;
    object.assignRings(4.0f, centre);
    std::vector<int32_t> rings;
    for (const MeshVertex& v : object.vertices) rings.push_back(v.ring);
    return rings;
}

// Rings rank the distances (quarter units from the unscaled centre,
// truncated): a mesh whose distances leave no gap keeps ring = distance, one
// with gaps gets consecutive rings, so the table never has more entries than
// the object has vertices.
TEST(MeshRings, DistinctQuarterUnitDistancesFromTheUnscaledCentre) {
    struct Case {
        std::vector<float> xs;
        float centre;
        std::vector<int32_t> rings;
    };
    const std::vector<Case> cases = {
        {{0.0f, 0.3f, 0.5f, 0.75f, 0.26f}, 0.0f, {0, 1, 2, 3, 1}},  // no gaps: the distances
        {{1.0f, 0.2f, 0.3f, -0.3f}, 0.0f, {2, 0, 1, 1}},          // 4, 0, 1, 1
        {{1.0f, 0.2f, 0.3f, -0.3f}, 1.0f, {2, 0, 0, 1}},          // |4x - 1|, not |4(x - 1)|: 3, 0, 0, 2
        {{1e30f, std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN(), 3.0f},
         0.0f, {2, 2, 0, 1}},  // huge and infinite fold onto one ring, NaN counts as 0
        {{}, 0.0f, {}},
    };
    for (const Case& c : cases) {
        SceneObject object;
        for (float x : c.xs) addVertex(object, x, 0, 0);
        object.maxRing = 7;
        EXPECT_EQ(ringsOf(object, c.centre), c.rings);
        const int32_t largest = c.rings.empty() ? 0 : *std::max_element(c.rings.begin(), c.rings.end());
        EXPECT_EQ(object.maxRing, largest);
        EXPECT_EQ(object.ringTable.size(), static_cast<size_t>(largest) + 1);
    }

    // A rebuild replaces the table with a zeroed one.
    SceneObject object;
    for (float x : {1.0f, 0.2f, 0.3f}) addVertex(object, x, 0, 0);
    ringsOf(object);
    object.ringTable[0].x = 1.0f;
    ringsOf(object);
    EXPECT_EQ(object.ringTable.size(), 3u);
    EXPECT_EQ(object.ringTable[0].x, 0.0f);
}
