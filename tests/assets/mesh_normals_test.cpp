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
    object.faces.push_back(MeshFace{{a, b, c}});
}

void expectVec(const Vec3& v, float x, float y, float z) {
    EXPECT_EQ((std::array<float, 3>{v.x, v.y, v.z}), (std::array<float, 3>{x, y, z}));
}

// A = (0,0,0), B = (1,0,0), C = (0,1,0): face normal (0, 0, 1).
SceneObject triangleXY() {
    SceneObject object;
    addVertex(object, 0, 0, 0);
    addVertex(object, 1, 0, 0);
    addVertex(object, 0, 1, 0);
    addFace(object, 0, 1, 2);
    return object;
}

}  // namespace

TEST(MeshNormals, SingleTriangleAndFlip) {
    SceneObject object = triangleXY();
    // The rest position is not what normals are computed from.
    object.vertices[1].basePosition.setVec3(0, 0, 5, 0);

    object.computeNormals(false);
    expectVec(object.faces[0].normal, 0, 0, 1);
    for (const MeshVertex& v : object.vertices) expectVec(v.normal, 0, 0, 1);

    object.computeNormals(true);
    expectVec(object.faces[0].normal, 0, 0, 1);  // face normals follow the corner order
    for (const MeshVertex& v : object.vertices) expectVec(v.normal, 0, 0, -1);

    // Clockwise corners turn the face round.
    object.faces[0].index[1] = 2;
    object.faces[0].index[2] = 1;
    object.computeNormals(false);
    expectVec(object.faces[0].normal, 0, 0, -1);
}

TEST(MeshNormals, VertexNormalIsThePlainAverage) {
    // Two faces share vertex 0: normals (0, 0, 1) and (1, 0, 0).
    SceneObject object = triangleXY();
    addVertex(object, 0, 0, 1);
    addFace(object, 0, 2, 3);
    object.computeNormals(false);
    expectVec(object.faces[1].normal, 1, 0, 0);
    expectVec(object.vertices[0].normal, 0.5f, 0, 0.5f);  // not normalised again
    expectVec(object.vertices[1].normal, 0, 0, 1);
    expectVec(object.vertices[3].normal, 1, 0, 0);
}

TEST(MeshNormals, DegenerateFacesCountForEveryCornerTheyName) {
    SceneObject object = triangleXY();
    addFace(object, 0, 0, 1);  // names vertex 0 twice, zero area
    object.computeNormals(false);
    expectVec(object.faces[1].normal, 0, 0, 0);
    expectVec(object.vertices[0].normal, 0, 0, 1.0f / 3.0f);  // three uses
    expectVec(object.vertices[1].normal, 0, 0, 0.5f);
    expectVec(object.vertices[2].normal, 0, 0, 1);
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

TEST(MeshNormals, UnusedVerticesAndBadIndicesStaySafe) {
    SceneObject object = triangleXY();
    addVertex(object, 5, 5, 5);    // named by no face
    addFace(object, 0, 1, 999);    // out of range: contributes nothing
    object.computeNormals(true);
    expectVec(object.vertices[3].normal, 0, 0, 0);
    expectVec(object.vertices[1].normal, 0, 0, -1);
    expectVec(object.faces[1].normal, 0, 0, 0);
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
