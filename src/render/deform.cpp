// Mesh deformations: magnets and the vortex.
//
// Magnets push every vertex of a magnetic object away from each magnet of
// the scene (or pull it in, for a negative strength) by a factor that falls
// off with the squared distance. The displacement is worked out from the
// vertex positions while the object is drawn and never stored; after each
// drawn frame of a scene with magnets its magnetic objects are put back at
// their rest shape, so nothing builds up. The vortex keeps three angles per ring (a vertex's ring is its
// distance from the object's origin in quarter units); each frame the angles
// move one ring outward and every vertex position and normal is turned by
// the angles of its ring, so the turns build up from frame to frame.
//
// Everything here works in place on the vertex and ring arrays and makes no
// GL call; nothing is allocated per frame (rotateAllByRing keeps a table of
// sines and cosines per ring that grows only when an object has more rings
// than any before).
#include <cmath>
#include <cstddef>
#include <vector>

#include "render/render.h"

Vec3 magnetised(const Scene& scene, const Vec3& position) {
    float px = position.x;
    float py = position.y;
    float pz = position.z;
    for (const Magnet& m : scene.magnets) {
        const float dx = px - m.x;
        const float dy = py - m.y;
        const float dz = pz - m.z;
        const float len = std::sqrt(dx * dx + dy * dy + dz * dz);
        const float k = m.w / (len * len + 1.0f);
        px = dx * (1.0f + k) + m.x;
        py = dy * (1.0f + k) + m.y;
        pz = dz * (1.0f + k) + m.z;
    }
    Vec3 moved = position;
    moved.x = px;
    moved.y = py;
    moved.z = pz;
    return moved;
}

void advanceScene(Scene& scene) {
    scene.frameCount += 1;
    for (const auto& owned : scene.objects) {
        SceneObject& object = *owned;
        if (!object.visible || !object.vortex) continue;
        shiftRings(object);
        if (object.vertexCount() > 0) rotateAllByRing(object);
    }
    for (SpotLight& light : scene.spotLights) light.direction.normalize();
}

void restoreMagneticObjects(Scene& scene) {
    for (const auto& object : scene.objects) {
        if (!object->magnetic) continue;
        for (MeshVertex& v : object->vertices) {
            v.position.x = v.basePosition.x;
            v.position.y = v.basePosition.y;
            v.position.z = v.basePosition.z;
        }
    }
}

// The highest ring whose angles may be read or written: maxRing, kept within
// the table actually built.
static int32_t lastRing(const SceneObject& object) {
    const auto entries = static_cast<int32_t>(object.ringTable.size());
    return object.maxRing < entries ? object.maxRing : entries - 1;
}

void shiftRings(SceneObject& object) {
    for (int32_t i = lastRing(object); i >= 1; --i) {
        Vec3& outer = object.ringTable[static_cast<size_t>(i)];
        const Vec3& inner = object.ringTable[static_cast<size_t>(i - 1)];
        outer.x = inner.x;
        outer.y = inner.y;
        outer.z = inner.z;
    }
}

// Turns (x, y, z) about X by -ax, then Y by ay, then Z by az, given the sines
// and cosines of the three angles.
static void turn(Vec3& p, double sx, double cx, double sy, double cy, double sz, double cz) {
    const double x = p.x, y = p.y, z = p.z;
    const double y1 = y * cx + z * sx;
    const double z1 = z * cx - y * sx;
    const double x2 = x * cy + z1 * sy;
    const double z2 = z1 * cy - x * sy;
    const double x3 = x2 * cz - y1 * sz;
    const double y3 = y1 * cz + x2 * sz;
    p.x = static_cast<float>(x3);
    p.y = static_cast<float>(y3);
    p.z = static_cast<float>(z2);
}

void rotateByRing(SceneObject& object, MeshVertex& vertex) {
    // A ring outside the table (a mesh whose rings were never built) has no
    // angles and is left as it is.
    if (vertex.ring < 0 || vertex.ring > lastRing(object)) return;
    const Vec3& a = object.ringTable[static_cast<size_t>(vertex.ring)];
    const double sx = std::sin(static_cast<double>(a.x)), cx = std::cos(static_cast<double>(a.x));
    const double sy = std::sin(static_cast<double>(a.y)), cy = std::cos(static_cast<double>(a.y));
    const double sz = std::sin(static_cast<double>(a.z)), cz = std::cos(static_cast<double>(a.z));
    turn(vertex.position, sx, cx, sy, cy, sz, cz);
    turn(vertex.normal, sx, cx, sy, cy, sz, cz);
}

// The same turns for every vertex of the object, with the sines and cosines
// of each ring's angles worked out once per ring instead of once per vertex
// (the values are the same, so the results are too). The table is scratch
// space kept between frames that grows only with the largest ring count (a
// function static: no value in it outlives one call).
void rotateAllByRing(SceneObject& object) {
    struct RingTurn {
        double sx, cx, sy, cy, sz, cz;
    };
    static std::vector<RingTurn> turns;
    const int32_t last = lastRing(object);
    if (last < 0) return;
    if (turns.size() < static_cast<size_t>(last) + 1) turns.resize(static_cast<size_t>(last) + 1);
    for (int32_t r = 0; r <= last; ++r) {
        const Vec3& a = object.ringTable[static_cast<size_t>(r)];
        turns[static_cast<size_t>(r)] = {std::sin(static_cast<double>(a.x)), std::cos(static_cast<double>(a.x)),
                                         std::sin(static_cast<double>(a.y)), std::cos(static_cast<double>(a.y)),
                                         std::sin(static_cast<double>(a.z)), std::cos(static_cast<double>(a.z))};
    }
    for (MeshVertex& vertex : object.vertices) {
        if (vertex.ring < 0 || vertex.ring > last) continue;
        const RingTurn& t = turns[static_cast<size_t>(vertex.ring)];
        turn(vertex.position, t.sx, t.cx, t.sy, t.cy, t.sz, t.cz);
        turn(vertex.normal, t.sx, t.cx, t.sy, t.cy, t.sz, t.cz);
    }
}

void setRingAngles(SceneObject& object, float x, float y, float z) {
    if (object.ringTable.empty()) return;
    object.ringTable[0].x = x;
    object.ringTable[0].y = y;
    object.ringTable[0].z = z;
}
