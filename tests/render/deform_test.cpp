// Magnets and the vortex: alone on the vertex arrays, and inside scene frames.
#include <cmath>

#include "render_fixture.h"

namespace {

MeshVertex vertexAt(float x, float y, float z) {
    MeshVertex v;
    v.position.setVec3(x, y, z, 0.0f);
    v.basePosition = v.position;
    return v;
}

TEST(Magnets, StrengthZeroAndAVertexOnTheMagnetStayPut) {
    for (auto [at, strength] : {std::pair{vertexAt(0.5f, -4, 7), 0.0f}, {vertexAt(1, 2, 3), 25.0f}}) {
        Scene scene;
        scene.addMagnet(1, 2, 3, strength);
        const Vec3 p = magnetised(scene, at.position);
        EXPECT_TRUE(p.x == at.position.x && p.y == at.position.y && p.z == at.position.z) << strength;
    }
}

TEST(Vortex, RingAnglesMoveOutwardAndTurnPositionsAndNormals) {
    SceneObject o;
    o.maxRing = 2;
    o.ringTable.assign(3, Vec3{});
    setRingAngles(o, 0.1f, 0.2f, 0.3f);
    shiftRings(o);
    shiftRings(o);
    for (const Vec3& ring : o.ringTable) EXPECT_EQ(ring.z, 0.3f);
    setRingAngles(o, 0, 0, 0);
    shiftRings(o);
    EXPECT_EQ(o.ringTable[1].x, 0.0f);
    EXPECT_EQ(o.ringTable[2].y, 0.2f);

    // The three steps: about X by -ax, then Y by +ay, then Z by +az.
    const float s = std::sin(0.5f);
    const auto turned = [&](float ax, float ay, float az, MeshVertex v) {
        o.ringTable[2].setVec3(ax, ay, az, 0);
        v.normal.setVec3(0, 0, 1, 0);
        v.ring = 2;
        rotateByRing(o, v);
        return v;
    };
    MeshVertex v = turned(0.5f, 0, 0, vertexAt(0, 1, 0));
    EXPECT_NEAR(v.position.y, std::cos(0.5f), 1e-6f);
    EXPECT_NEAR(v.position.z, -s, 1e-6f);
    EXPECT_NEAR(v.normal.y, s, 1e-6f);
    EXPECT_NEAR(turned(0, 0.5f, 0, vertexAt(1, 0, 0)).position.z, -s, 1e-6f);
    v = turned(0, 0, 0.5f, vertexAt(1, 0, 0));
    EXPECT_NEAR(v.position.y, s, 1e-6f);
    // A ring the table does not hold is left alone.
    v.ring = 3;
    rotateByRing(o, v);
    EXPECT_NEAR(v.position.y, s, 1e-6f);
}

// A vortex object whose vertices lie on the x axis in rings 0 to 3, with
// normals along x; one degenerate face keeps it drawable.
SceneObject& addRingObject(Scene& scene) {
    SceneObject& o = scene.addObject();
    for (float x : {0.1f, 0.3f, 0.6f, 0.9f}) {
        MeshVertex v = vertexAt(x, 0, 0);
        v.normal.setVec3(1, 0, 0, 0);
        v.ring = static_cast<int32_t>(x * 4.0f);
        o.vertices.push_back(v);
    }
    o.faces.resize(1);
    o.maxRing = 3;
    o.ringTable.assign(4, Vec3{});
    o.vortex = true;
    return o;
}

float angleOf(const Vec3& p) { return std::atan2(p.y, p.x); }

// One frame of a scene as the timeline plays it: advanced, drawn, and its
// magnetic objects put back at rest.
void playFrame(Scene& scene) {
    advanceScene(scene);
    drawScene(scene);
    if (scene.magnetCount() > 0) restoreMagneticObjects(scene);
}

TEST_F(RenderTest, MagnetsDeformTheDrawnShapeAndTheFrameEndRestoresIt) {
    solidTexture(2, 255, 255, 255);
    Scene scene;
    scene.cameraPosition.setVec3(0, 0, 5, 0);
    SceneObject& quad = addQuad(scene, -1, -1, 1, 1, 0, 2);
    quad.magnetic = true;
    // No magnets: drawn as it is, and nothing is restored.
    quad.vertices[0].position.x = -1.5f;
    playFrame(scene);
    EXPECT_EQ(quad.vertices[0].position.x, -1.5f);
    quad.vertices[0].position.x = -1.0f;

    // Strength 1 at the centre: corners (distance sqrt 2) move out by a third.
    scene.addMagnet(0, 0, 0, 1.0f);
    SceneObject& plain = addQuad(scene, 2, 2, 3, 3, 0, 2);
    plain.vertices[0].position.x = 2.5f;  // not magnetic: left alone
    clearAll();
    playFrame(scene);
    // x = 1.2 lies outside the rest shape and inside the deformed one (1.33).
    const int px = kWidth / 2 + static_cast<int>(1.2f / 5.0f * kHeight / 2);
    EXPECT_EQ(at(px, kHeight / 2), (Rgb{255, 255, 255}));
    for (const MeshVertex& v : quad.vertices) EXPECT_EQ(v.position.x, v.basePosition.x);
    EXPECT_EQ(plain.vertices[0].position.x, 2.5f);
}

// The angles fed into ring 0 reach ring k in frame k (ring 1 in frame 1 too)
// and the turns build up; a magnetic object keeps its rest shape meanwhile.
TEST_F(RenderTest, MagneticVortexObjectKeepsItsRestShapeWhileItsNormalsTurn) {
    Scene scene;
    scene.addMagnet(5, 5, 5, 0.5f);
    SceneObject& o = addRingObject(scene);
    o.magnetic = true;
    setRingAngles(o, 0, 0, 0.1f);
    SceneObject& hidden = addRingObject(scene);  // a hidden object's vortex stands still
    hidden.visible = false;
    setRingAngles(hidden, 0, 0, 0.1f);
    playFrame(scene);
    playFrame(scene);
    for (const MeshVertex& v : o.vertices) {
        EXPECT_EQ(v.position.x, v.basePosition.x);
        EXPECT_EQ(v.position.y, 0.0f);
    }
    EXPECT_NEAR(angleOf(o.vertices[0].normal), 0.2f, 1e-6f);
    EXPECT_NEAR(angleOf(o.vertices[1].normal), 0.2f, 1e-6f);
    EXPECT_NEAR(angleOf(o.vertices[2].normal), 0.1f, 1e-6f);
    EXPECT_NEAR(angleOf(o.vertices[3].normal), 0.0f, 1e-6f);
    EXPECT_EQ(angleOf(hidden.vertices[0].normal), 0.0f);
}

}  // namespace
