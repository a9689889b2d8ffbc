// Drawing allocates nothing: 100 frames of a scene with every effect, with
// global operator new counting. Only allocations made on this thread count
// (the GL driver's worker threads are not the renderer's). The warm-up is
// two frames: the scene's lights receive their values after the objects, so
// the lighting state the driver builds its programs for (a real spot cut-off
// instead of the default) first appears in the second frame, and Mesa
// compiles it then.
#include <cstdlib>
#include <new>

#include "effect_scene.h"

namespace {
thread_local bool counting = false;
long allocations = 0;
}  // namespace

void* operator new(std::size_t size) {
    if (counting) ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (counting) ++allocations;
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

TEST(Allocation, HundredFramesWithEveryEffectAllocateNothing) {
    TestGlContext gl(320, 240);
    ASSERT_TRUE(gl.ok());
    applyBaseGlState();
    setPerspective(65.0, 320, 240);
    effects::World world;
    effects::build(world);
    effects::frame(world, 0);
    effects::frame(world, 1);
    glFinish();

    counting = true;
    for (int n = 2; n < 102; ++n) effects::frame(world, n);
    glFinish();
    counting = false;
    EXPECT_EQ(allocations, 0);
    // The frames did run the effects: particles alive, the plate twisted.
    int alive = 0;
    for (const Particle& p : world.fountain.particles) alive += p.alive;
    EXPECT_GT(alive, 100);
    const MeshVertex& corner = world.scene.objects[2]->vertices[0];
    EXPECT_NE(corner.position.x, corner.basePosition.x);
}
