// A small scene that uses every effect of the renderer: fog, roll, lighting
// with omni and spot lights and their flares, an environment-mapped sphere,
// a magnetic floor under a moving magnet, a vortex plate, a particle
// fountain and a half-transparent overlay. Built in memory (no files).
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "render_fixture.h"

namespace effects {

constexpr int kFlare = 1, kChecker = 2, kSky = 3, kFrame = 19;

inline void makeTextures() {
    const int n = 64;
    std::vector<uint8_t> flare, checker, sky, frame;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const float dx = (x + 0.5f) / n - 0.5f, dy = (y + 0.5f) / n - 0.5f;
            const float r = std::sqrt(dx * dx + dy * dy) * 2.0f;
            const float glow = r >= 1.0f ? 0.0f : (1.0f - r) * (1.0f - r);
            const bool ray = std::fabs(dx) < 0.02f || std::fabs(dy) < 0.02f;
            const auto b = [](float f) { return static_cast<uint8_t>(f > 1.0f ? 255 : f * 255.0f); };
            flare.insert(flare.end(), {b(glow * 1.2f), b(glow * 0.9f + (ray ? 0.3f : 0.0f)),
                                       b(glow * 0.5f), b(glow + (ray && r < 1.0f ? 0.4f : 0.0f))});
            const bool dark = ((x / 8) + (y / 8)) % 2 == 0;
            checker.insert(checker.end(), {static_cast<uint8_t>(dark ? 60 : 230),
                                           static_cast<uint8_t>(dark ? 60 : 200),
                                           static_cast<uint8_t>(dark ? 90 : 160), 255});
            const float t = static_cast<float>(y) / n;
            const bool band = (y / 6) % 2 == 0;
            sky.insert(sky.end(), {b(0.2f + 0.8f * t), b(0.4f + 0.4f * t * (band ? 1.0f : 0.6f)),
                                   b(1.0f - 0.5f * t), 255});
            const bool edge = x < 3 || y < 3 || x >= n - 3 || y >= n - 3;
            frame.insert(frame.end(), {static_cast<uint8_t>(edge ? 255 : 0),
                                       static_cast<uint8_t>(edge ? 200 : 0),
                                       static_cast<uint8_t>(edge ? 40 : 0), 255});
        }
    makeTexture(kFlare, n, n, flare);
    makeTexture(kChecker, n, n, checker);
    makeTexture(kSky, n, n, sky);
    makeTexture(kFrame, n, n, frame);
}

inline void finishObject(SceneObject& o) {
    int32_t maxRing = 0;
    for (MeshVertex& v : o.vertices) {
        v.basePosition = v.position;
        const float x = 4.0f * v.position.x, y = 4.0f * v.position.y, z = 4.0f * v.position.z;
        v.ring = static_cast<int32_t>(std::sqrt(x * x + y * y + z * z));
        if (v.ring > maxRing) maxRing = v.ring;
    }
    o.maxRing = maxRing;
    o.ringTable.assign(static_cast<size_t>(maxRing) + 1, Vec3{});
}

// A grid of (n+1)^2 vertices in the plane spanned by unit axes a and b
// through the origin, half-size h, normal a x b.
inline SceneObject& addGrid(Scene& scene, int n, float h, Vec3 a, Vec3 b, Vec3 normal) {
    SceneObject& o = scene.addObject();
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n; ++i) {
            const float s = -h + 2.0f * h * i / n, t = -h + 2.0f * h * j / n;
            MeshVertex v;
            v.position.setVec3(a.x * s + b.x * t, a.y * s + b.y * t, a.z * s + b.z * t, 0);
            v.normal = normal;
            v.u = static_cast<float>(i) / n * 2.0f;
            v.v = static_cast<float>(j) / n * 2.0f;
            o.vertices.push_back(v);
        }
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            const uint32_t k = static_cast<uint32_t>(j * (n + 1) + i), up = k + n + 1;
            MeshFace f1, f2;
            f1.index[0] = k, f1.index[1] = k + 1, f1.index[2] = up + 1;
            f2.index[0] = k, f2.index[1] = up + 1, f2.index[2] = up;
            o.faces.push_back(f1);
            o.faces.push_back(f2);
        }
    finishObject(o);
    return o;
}

inline SceneObject& addSphere(Scene& scene, float radius, int stacks, int slices) {
    SceneObject& o = scene.addObject();
    const float pi = 3.14159265f;
    for (int j = 0; j <= stacks; ++j)
        for (int i = 0; i <= slices; ++i) {
            const float th = pi * j / stacks, ph = 2.0f * pi * i / slices;
            MeshVertex v;
            v.normal.setVec3(std::sin(th) * std::cos(ph), std::cos(th), std::sin(th) * std::sin(ph), 0);
            v.position.setVec3(radius * v.normal.x, radius * v.normal.y, radius * v.normal.z, 0);
            v.u = static_cast<float>(i) / slices;
            v.v = static_cast<float>(j) / stacks;
            o.vertices.push_back(v);
        }
    for (int j = 0; j < stacks; ++j)
        for (int i = 0; i < slices; ++i) {
            const uint32_t k = static_cast<uint32_t>(j * (slices + 1) + i), below = k + slices + 1;
            MeshFace f1, f2;  // counter-clockwise seen from outside
            f1.index[0] = k, f1.index[1] = k + 1, f1.index[2] = below;
            f2.index[0] = k + 1, f2.index[1] = below + 1, f2.index[2] = below;
            o.faces.push_back(f1);
            o.faces.push_back(f2);
        }
    finishObject(o);
    return o;
}

inline Vec3 v3(float x, float y, float z, float w = 0.0f) {
    Vec3 v;
    v.setVec3(x, y, z, w);
    return v;
}

struct World {
    Scene scene;
    ParticleSystem fountain{400};
    uint32_t seed = 12345;

    float random() {  // 0..1, deterministic
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>(seed >> 8) / 16777216.0f;
    }
};

inline void build(World& world) {
    makeTextures();
    Scene& s = world.scene;
    s.cameraPosition.setVec3(0, 2.5f, 9, 0);
    s.cameraTarget.setVec3(0, 0, 0, 0);
    s.clearColor = rgba(0.02f, 0.02f, 0.08f, 0.5f);
    s.clearColorBuffer = true;
    s.fogColor = rgba(0.05f, 0.05f, 0.15f, 1.0f);
    s.fogStart = 6;
    s.fogEnd = 22;
    s.fogEnabled = s.lightingEnabled = true;
    s.rollEnabled = true;
    s.rollAmplitude = 6;
    s.addOmniLight(2.5f, 2.5f, 2, 1, rgba(0.1f, 0.1f, 0.1f), rgba(1, 0.8f, 0.5f),
                   rgba(1, 1, 1), 0, 0.9f);
    s.addSpotLight(-3, 3.5f, 1, 0.7f, 1);
    SpotLight& spot = s.spotLights[0];
    spot.direction.setVec3(3, -3.5f, -1, 0);
    spot.diffuse = rgba(0.5f, 0.7f, 1.0f);
    spot.cutoff = 35.0f;
    spot.exponent = 4.0f;
    s.addMagnet(0, -0.5f, 1.5f, -0.8f);

    SceneObject& floor = addGrid(s, 24, 7, v3(1, 0, 0), v3(0, 0, -1), v3(0, 1, 0));
    floor.position.setVec3(0, -1.5f, -1, 0);
    floor.textureId = kChecker;
    floor.magnetic = true;
    floor.materialDiffuse = rgba(0.9f, 0.9f, 0.9f);

    SceneObject& ball = addSphere(s, 1.1f, 16, 24);
    ball.position.setVec3(-2.6f, 0.2f, 0, 0);
    ball.textureId = kSky;
    ball.shading = SHADING_ENVMAPPING;
    ball.materialSpecular = rgba(1, 1, 1);
    ball.shininess = 30.0f;

    SceneObject& plate = addGrid(s, 16, 1.3f, v3(1, 0, 0), v3(0, 1, 0), v3(0, 0, 1));
    plate.position.setVec3(2.4f, 0.4f, 0, 0);
    plate.textureId = kChecker;
    plate.vortex = true;
    plate.cullFace = false;

    resetParticles(world.fountain);
}

// One frame as the show draws it: clear, animate, scene, particles, overlay.
inline void frame(World& world, int n) {
    Scene& s = world.scene;
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    s.magnets[0].x = 2.0f * std::sin(n * 0.05f);
    setRingAngles(*s.objects[2], 0.02f * std::sin(n * 0.15f), 0, 0.15f * std::sin(n * 0.5f));
    drawScene(s);
    const float now = static_cast<float>(n);
    for (int i = 0; i < 5; ++i) {
        const float a = world.random() * 6.2831853f, r = 0.3f + 0.5f * world.random();
        spawnParticle(world.fountain, v3(0, -1.2f, 1.5f), v3(r * std::cos(a), 1.0f, r * std::sin(a)),
                      0.12f, 0.004f, now);
    }
    drawParticles(world.fountain, now);
    glColor4f(1, 1, 1, 0.6f);
    drawOverlayAt(kFrame, 0, 0, -33);
    glColor4f(1, 1, 1, 1);
}

}  // namespace effects
