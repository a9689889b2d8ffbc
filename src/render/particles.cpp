// Particle systems: a fixed pool of camera-facing sprites. Each live sprite
// moves in a straight line from its start position and shrinks with the show
// clock; in the frame where its size first falls below zero it is drawn once
// more (mirrored, as the half-size is negative), and retireParticles with
// that frame's clock then frees its slot. Sprites are drawn in slot order,
// blended, without writing depth.
//
// drawParticles turns the current model-view matrix by the system's rotation
// without push or pop, so the sprites sit in the world of the last scene
// drawn and the rotation stays in the matrix. It leaves blending off,
// lighting on, culling off, depth writes on and the sprite texture bound.
// Spawning and drawing allocate nothing; a full pool drops new sprites.
//
// The matrix does not change while the sprites are drawn, so it is read once
// and all sprites go out in one GL_QUADS block: the same quads, in slot
// order, as one drawBillboard call per sprite would send.
#include "platform/gl.h"

#include "assets/texture_table.h"
#include "render/billboard_quad.h"
#include "render/render.h"

void resetParticles(ParticleSystem& system) {
    for (Particle& p : system.particles) {
        p.alive = 0;
        p.position.x = 0.0f;
        p.position.y = 0.0f;
        p.position.z = 0.0f;
        p.startSize = 0.0f;
    }
}

void spawnParticle(ParticleSystem& system, const Vec3& position, const Vec3& velocity,
                   float startSize, float shrinkRate, float birthTime) {
    for (Particle& p : system.particles) {
        if (p.alive != 0) continue;
        p.position = position;
        p.velocity = velocity;
        p.startSize = startSize;
        p.shrinkRate = shrinkRate;
        p.birthTime = birthTime;
        p.alive = 1;
        return;
    }
}

void retireParticles(ParticleSystem& system, float now) {
    for (Particle& p : system.particles) {
        if (p.alive != 1) continue;
        const float age = now - p.birthTime;
        const float size = p.startSize - age * p.shrinkRate;
        if (size < 0.0f) p.alive = 0;
    }
}

void drawParticles(const ParticleSystem& system, float now) {
    glDepthMask(GL_FALSE);
    glEnable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glBindTexture(GL_TEXTURE_2D, textureName(system.textureId));
    glRotatef(system.rotation.x, 1.0f, 0.0f, 0.0f);
    glRotatef(system.rotation.y, 0.0f, 1.0f, 0.0f);
    glRotatef(system.rotation.z, 0.0f, 0.0f, 1.0f);
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    glBegin(GL_QUADS);
    for (const Particle& p : system.particles) {
        if (p.alive != 1) continue;
        const float age = now - p.birthTime;
        const float travel = age * 0.1f;
        Vec3 centre;
        centre.x = p.position.x + p.velocity.x * travel;
        centre.y = p.position.y + p.velocity.y * travel;
        centre.z = p.position.z + p.velocity.z * travel;
        const float size = p.startSize - age * p.shrinkRate;
        billboardCorners(m, centre, size);
    }
    glEnd();
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);
}
