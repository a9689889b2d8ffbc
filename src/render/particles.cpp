#include "render/render.h"
// STUB
void resetParticles(ParticleSystem&) {}
void spawnParticle(ParticleSystem&, const Vec3&, const Vec3&, float, float, float) {}
void drawParticles(ParticleSystem&, float) {}
