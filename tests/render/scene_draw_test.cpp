// Scene frames, lights and flares on a real Mesa context; the particle pool.
#include "render_fixture.h"

namespace {

// From z = 5 towards the origin (the target a scene starts with).
void lookFromFront(Scene& scene) { scene.cameraPosition.setVec3(0.0f, 0.0f, 5.0f, 0.0f); }

TEST_F(RenderTest, SceneFrameLeavesTheNeutralState) {
    const GLuint spotFlare = solidTexture(4, 255, 255, 255);
    solidTexture(2, 255, 255, 255);
    Scene scene;
    lookFromFront(scene);
    scene.fogEnabled = scene.lightingEnabled = true;
    scene.addOmniLight(1, 1, 1, 1, rgba(0, 0, 0), rgba(1, 1, 1), rgba(0, 0, 0), 1, 0.5f);
    scene.addSpotLight(-1, 1, 1, 0.5f, 2);
    scene.spotLights[0].flareTexture = 4;
    SceneObject& o = addQuad(scene, -1, -1, 1, 1, 0, 2);
    o.blend = o.cullFace = true;
    o.depthTest = false;
    o.shading = SHADING_ENVMAPPING;
    glColor4f(0.2f, 0.3f, 0.4f, 0.5f);

    advanceScene(scene);
    drawScene(scene);

    for (GLenum cap : {GL_CULL_FACE, GL_FOG, GL_BLEND, GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T,
                       GL_LIGHTING, GL_LIGHT1, GL_LIGHT2})
        EXPECT_FALSE(enabled(cap)) << std::hex << cap;
    EXPECT_TRUE(enabled(GL_DEPTH_TEST) && enabled(GL_TEXTURE_2D) && depthWrites());
    EXPECT_EQ(glInteger(GL_MATRIX_MODE), GL_MODELVIEW);
    EXPECT_EQ(glInteger(GL_MODELVIEW_STACK_DEPTH), 1);
    EXPECT_EQ(boundTexture(), spotFlare);
    GLfloat colour[4];  // the current colour back to white
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_TRUE(colour[0] == 1 && colour[1] == 1 && colour[2] == 1 && colour[3] == 1);

    // With no flare drawn after it, the blended object's state is the frame's own to undo.
    scene.omniLights.clear();
    scene.spotLights.clear();
    drawScene(scene);
    EXPECT_FALSE(enabled(GL_BLEND));
}

TEST_F(RenderTest, SceneFrameClearsOnlyWhatTheSceneAsks) {
    glClearColor(1, 0, 0, 1);
    glClearDepth(0.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearDepth(1.0);
    Scene scene;
    scene.clearColor = rgba(0, 1, 0);
    scene.clearDepth = false;
    drawScene(scene);
    GLfloat depth = -1;
    glReadPixels(5, 5, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    EXPECT_EQ(depth, 0.0f);
    EXPECT_EQ(centre(), (Rgb{255, 0, 0}));

    scene.clearDepth = true;
    scene.clearColorBuffer = true;
    drawScene(scene);
    glReadPixels(5, 5, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    EXPECT_EQ(depth, 1.0f);
    EXPECT_EQ(centre(), (Rgb{0, 255, 0}));
}

TEST_F(RenderTest, ObjectSettingsCarryOverOnlyWhereTheObjectSetsNothing) {
    const GLuint picture = solidTexture(2, 255, 255, 255);
    SceneObject o;
    o.cullFace = false;
    o.cullBack = false;
    o.materialDiffuse = rgba(0.1f, 0.2f, 0.3f, 0.4f);
    // Generation: mode 1 switches it off, 2 on, anything else leaves it.
    const std::pair<int32_t, bool> steps[] = {
        {SHADING_FLARE, true}, {SHADING_TEXTUREMAPPING, false}, {0, false},
        {SHADING_ENVMAPPING, true}, {7, true}};
    for (auto [shading, expectOn] : steps) {
        o.shading = shading;
        applyObjectSettings(o);
        EXPECT_EQ(enabled(GL_TEXTURE_GEN_S), expectOn) << shading;
        EXPECT_EQ(enabled(GL_TEXTURE_GEN_T), expectOn) << shading;
    }
    // The cull side is set even with culling off.
    EXPECT_EQ(glInteger(GL_CULL_FACE_MODE), GL_FRONT);
    EXPECT_FALSE(enabled(GL_CULL_FACE));
    GLfloat back[4];
    glGetMaterialfv(GL_BACK, GL_DIFFUSE, back);
    EXPECT_NEAR(back[3], 0.4f, 1e-6f);
    // Texture indices outside the table bind texture 0.
    for (int32_t id : {2, 100, -1}) {
        o.textureId = id;
        applyObjectSettings(o);
        EXPECT_EQ(boundTexture(), id == 2 ? picture : 0u) << id;
    }
}

TEST_F(RenderTest, FlareBehindAnObjectIsHiddenUnlessTheObjectSwitchedDepthTestOff) {
    solidTexture(2, 0, 0, 100);
    solidTexture(7, 255, 0, 0);
    Scene scene;
    lookFromFront(scene);
    SceneObject& wall = addQuad(scene, -10, -10, 0, 10, 0, 2);  // covers the left half
    scene.addOmniLight(0, 0, -3, 1, rgba(0, 0, 0), rgba(1, 1, 1), rgba(0, 0, 0), 0, 2.0f);
    scene.omniLights[0].flareTexture = 7;
    drawScene(scene);
    EXPECT_EQ(at(70, 60), (Rgb{0, 0, 100}));
    EXPECT_EQ(at(90, 60), (Rgb{255, 0, 0}));

    wall.depthTest = false;
    clearAll();
    drawScene(scene);
    EXPECT_EQ(at(70, 60), (Rgb{255, 0, 100}));

    // A flare of size 0 draws nothing.
    wall.visible = false;
    scene.omniLights[0].flareSize = 0.0f;
    clearAll();
    drawScene(scene);
    EXPECT_EQ(at(90, 60), (Rgb{0, 0, 0}));
}

TEST_F(RenderTest, OmniSpritesDoNotHideEachOtherWhileSpotSpritesDo) {
    solidTexture(7, 255, 0, 0);
    solidTexture(8, 0, 255, 0);
    // Near sprite (drawn first) red, far sprite green; they overlap at the centre.
    Scene omni;
    lookFromFront(omni);
    omni.addOmniLight(-0.5f, 0, 1, 1, rgba(0, 0, 0), rgba(0, 0, 0), rgba(0, 0, 0), 0, 1.0f);
    omni.addOmniLight(0.5f, 0, -1, 1, rgba(0, 0, 0), rgba(0, 0, 0), rgba(0, 0, 0), 1, 1.0f);
    omni.omniLights[0].flareTexture = 7;
    omni.omniLights[1].flareTexture = 8;
    drawScene(omni);
    EXPECT_EQ(centre(), (Rgb{255, 255, 0}));
    EXPECT_EQ(at(92, 60), (Rgb{0, 255, 0}));

    Scene spot;
    lookFromFront(spot);
    spot.addSpotLight(-0.5f, 0, 1, 1, 0);
    spot.addSpotLight(0.5f, 0, -1, 1, 1);
    spot.spotLights[0].flareTexture = 7;
    spot.spotLights[1].flareTexture = 8;
    spot.spotLights[0].direction.setVec3(0, 0, -3, 0);
    clearAll();
    advanceScene(spot);
    drawScene(spot);
    EXPECT_EQ(centre(), (Rgb{255, 0, 0}));
    EXPECT_EQ(at(92, 60), (Rgb{0, 255, 0}));
    // The frame's advance normalised the direction the light is given.
    EXPECT_EQ(spot.spotLights[0].direction.z, -1.0f);
    GLfloat direction[3];
    glGetLightfv(GL_LIGHT0, GL_SPOT_DIRECTION, direction);
    EXPECT_NEAR(direction[2], -1.0f, 1e-6f);
}

Vec3 vec(float x, float y, float z) {
    Vec3 v;
    v.setVec3(x, y, z, 0.0f);
    return v;
}

// How sprites move, shrink and are freed after one last (mirrored) draw:
// same_pixels_test and the golden frames.
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
