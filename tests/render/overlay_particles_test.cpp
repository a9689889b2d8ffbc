// Screen overlays and particle systems on a real Mesa context.
#include "render_fixture.h"

namespace {

Vec3 vec(float x, float y, float z) {
    Vec3 v;
    v.setVec3(x, y, z, 0.0f);
    return v;
}

TEST_F(RenderTest, OverlayLeavesLightingAndDepthTestOnAndTheRestAsFound) {
    const GLuint picture = solidTexture(19, 255, 255, 255);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glEnable(GL_FOG);
    glTranslatef(1, 2, 3);  // a camera left by some scene
    drawOverlay(19, -20);
    for (GLenum cap : {GL_LIGHTING, GL_DEPTH_TEST, GL_CULL_FACE, GL_FOG, GL_TEXTURE_GEN_S})
        EXPECT_TRUE(enabled(cap)) << std::hex << cap;
    EXPECT_FALSE(enabled(GL_BLEND));
    EXPECT_EQ(glInteger(GL_MODELVIEW_STACK_DEPTH), 1);
    EXPECT_EQ(boundTexture(), picture);
    expectMatrixNear(modelview(), {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
}

// At the show's window sizes, under the 90-degree projection.
TEST(Overlay, AtMinusTwentyFillsTheViewAndAtMinusTwentyFiveTheMiddleTwoThirds) {
    for (auto [w, h] : {std::pair{800, 600}, {640, 480}}) {
        TestGlContext gl(w, h);
        ASSERT_TRUE(gl.ok());
        applyBaseGlState();
        setPerspective(90.0, w, h);
        glDisable(GL_TEXTURE_GEN_S);
        glDisable(GL_TEXTURE_GEN_T);
        solidTexture(19, 0, 255, 0);
        std::vector<uint8_t> rgb;
        const auto green = [&](int x, int y) {
            return rgb[(static_cast<size_t>(y) * w + x) * 3 + 1] == 255;
        };
        const auto draw = [&](float x, float depth) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            drawOverlayAt(19, x, 0.0f, depth);
            rgb = gl.readPixels();
        };
        draw(0.0f, -20);
        int uncovered = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) uncovered += green(x, y) ? 0 : 1;
        EXPECT_EQ(uncovered, 0) << w;

        // Covered from 1/6 to 5/6 of each side; one pixel of slack at the edges.
        draw(0.0f, -25);
        const auto side = [](int p, int size) {
            const double f = (p + 0.5) / size, slack = 1.0 / size;
            return f < 1.0 / 6 - slack || f > 5.0 / 6 + slack ? 0
                   : f > 1.0 / 6 + slack && f < 5.0 / 6 - slack ? 1 : -1;
        };
        int wrong = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int sx = side(x, w), sy = side(y, h);
                if (sx >= 0 && sy >= 0) wrong += green(x, y) == (sx == 1 && sy == 1) ? 0 : 1;
            }
        EXPECT_EQ(wrong, 0) << w;

        // Moved right by half its width at depth -20: the right half is covered.
        draw(40.0f / 3.0f, -20);
        EXPECT_FALSE(green(w / 2 - 2, 10));
        EXPECT_TRUE(green(w / 2 + 2, 10));
        TextureTable.fill(0);
    }
}

TEST_F(RenderTest, ParticlesLeaveTheirRotationInTheMatrixAndANeutralState) {
    const GLuint sprite = solidTexture(1, 255, 255, 255);
    ParticleSystem system(4);
    resetParticles(system);
    system.rotation.setVec3(30, 40, 50, 0);
    gluLookAt(0, 1, 5, 0, 0, 0, 0, 1, 0);
    const auto camera = modelview();
    glDisable(GL_LIGHTING);
    glEnable(GL_CULL_FACE);
    drawParticles(system, 0.0f);
    EXPECT_TRUE(enabled(GL_LIGHTING) && !enabled(GL_BLEND) && !enabled(GL_CULL_FACE) && depthWrites());
    EXPECT_EQ(boundTexture(), sprite);
    const auto left = modelview();
    glLoadMatrixf(camera.data());
    glRotatef(30, 1, 0, 0);
    glRotatef(40, 0, 1, 0);
    glRotatef(50, 0, 0, 1);
    expectMatrixNear(left, modelview());
}

TEST_F(RenderTest, ParticlesMoveShrinkAndAreFreedAfterOneLastDraw) {
    solidTexture(1, 255, 255, 255);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    ParticleSystem system(2);
    resetParticles(system);
    const auto drawAt = [&](float now) {
        clearAll();
        glLoadIdentity();
        gluLookAt(0, 0, 5, 0, 0, 0, 0, 1, 0);
        drawParticles(system, now);
        retireParticles(system, now);
    };
    // Velocity in units per second, clock in tenths: at clock 10 it has moved 1 unit.
    spawnParticle(system, vec(-1, 0, 0), vec(1, 0, 0), 0.5f, 0.1f, 0.0f);
    drawAt(10.0f);  // size 0.5 - 10 * 0.1 = -0.5: freed, but drawn this once (mirrored)
    EXPECT_EQ(system.particles[0].alive, 0);
    EXPECT_EQ(centre(), (Rgb{255, 255, 255}));
    EXPECT_EQ(at(kWidth / 2 - 12, kHeight / 2), (Rgb{0, 0, 0}));
    drawAt(11.0f);
    EXPECT_EQ(centre(), (Rgb{0, 0, 0}));

    // The freed slot is the first one found by the next spawn.
    spawnParticle(system, vec(0, 0, 0), vec(0, 0, 0), 0.5f, 0.0f, 11.0f);
    EXPECT_EQ(system.particles[0].alive, 1);
    EXPECT_EQ(system.particles[1].alive, 0);
    // Shrink rate 0: never dies.
    drawAt(1.0e6f);
    EXPECT_EQ(system.particles[0].alive, 1);
    EXPECT_EQ(centre(), (Rgb{255, 255, 255}));
}

TEST(Particles, FullPoolDropsNewSpritesAndResetEmptiesEverySlot) {
    ParticleSystem system(2);
    resetParticles(system);
    for (float x : {1.0f, 2.0f, 3.0f}) spawnParticle(system, vec(x, 0, 0), vec(0, x, 0), x, 0.5f, x);
    EXPECT_EQ(system.particles[0].position.x, 1.0f);
    EXPECT_EQ(system.particles[1].position.x, 2.0f);  // the third found no slot
    resetParticles(system);
    for (const Particle& p : system.particles) EXPECT_TRUE(p.alive == 0 && p.position.x == 0.0f && p.startSize == 0.0f);
}

}  // namespace
