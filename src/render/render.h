// Drawing entry points of the renderer. Each operation switches on the GL
// state it needs and leaves a fixed state behind (see each source file).
#pragma once

#include <cstdint>
#include <vector>

#include "assets/color.h"
#include "assets/vec3.h"
#include "scene/scene.h"

// ---- Scene frames (render/scene_draw.cpp) -------------------------------------
// Draws the scene as its record stands; changes nothing in it. The frame's
// own changes (roll counter, vortex turns, spot directions) are made first
// by advanceScene, and a scene with magnets gets restoreMagneticObjects once
// the frame has been drawn.
void drawScene(const Scene& scene);
void beginSceneFrame(const Scene& scene);
void endSceneFrame(const Scene& scene);
void applyObjectSettings(const SceneObject& object);

// ---- Lights and flares (render/lights.cpp) -------------------------------------
void setupOmniLight(const OmniLight& light);
void setupSpotLight(const SpotLight& light);
void drawBillboard(const Vec3& centre, float halfSize);

// ---- Deformations and the per-frame advance (render/deform.cpp; no GL) ------
// One frame of a scene that is about to be drawn: its frame counter (the
// roll wobble) goes up by one, every visible vortex object moves its ring
// angles outward and turns its vertices by them, spot directions are
// normalised.
void advanceScene(Scene& scene);
// The place the magnets of the scene push a point at `position` to.
Vec3 magnetised(const Scene& scene, const Vec3& position);
// Every magnetic object back at its rest shape.
void restoreMagneticObjects(Scene& scene);
void shiftRings(SceneObject& object);
void rotateByRing(SceneObject& object, MeshVertex& vertex);
// rotateByRing for every vertex of the object, each ring's sines and cosines
// worked out once.
void rotateAllByRing(SceneObject& object);
// The angles of ring 0 (x, y, z of the first ring-table entry; none without a table).
void setRingAngles(SceneObject& object, float x, float y, float z);

// ---- Overlays (render/overlay.cpp) ---------------------------------------------
void drawOverlay(int32_t textureId, float depth);
void drawOverlayAt(int32_t textureId, float x, float y, float depth);

// ---- Particles (render/particles.cpp) ------------------------------------------
struct Particle {
    Vec3 position;                            // start position
    Vec3 velocity;                            // units per second
    float birthTime = 0.0f;                   // show clock at spawn
    float startSize = 0.0f;                   // half-width at birth
    float shrinkRate = 0.0f;                  // half-width lost per clock unit
    uint8_t alive = 0;                        // 1 while the slot holds a live sprite
};

// The sprite picture every particle system is made with.
inline constexpr int32_t kParticleTexture = 1;

struct ParticleSystem {
    Vec3 rotation;                  // degrees about x, y, z applied before drawing
    int32_t textureId = kParticleTexture;  // kParticleTexture
    std::vector<Particle> particles;  // fixed pool, sized once at creation

    explicit ParticleSystem(int32_t capacity) : particles(static_cast<size_t>(capacity)) {}
    int32_t capacity() const { return static_cast<int32_t>(particles.size()); }
};

void resetParticles(ParticleSystem& system);
void spawnParticle(ParticleSystem& system, const Vec3& position, const Vec3& velocity,
                   float startSize, float shrinkRate, float birthTime);
// Draws every live sprite at time `now`; changes nothing.
void drawParticles(const ParticleSystem& system, float now);
// Frees the slots of the sprites that drawParticles at `now` showed for the
// last time (their size had fallen below zero).
void retireParticles(ParticleSystem& system, float now);
