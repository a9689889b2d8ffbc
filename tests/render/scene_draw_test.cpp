// Scene frames, lights and flares on a real Mesa context.
#include <cmath>

#include "render_fixture.h"

namespace {

void lookFromFront(Scene& scene) {
    scene.cameraPosition.setVec3(0.0f, 0.0f, 5.0f, 0.0f);
    scene.cameraTarget.setVec3(0.0f, 0.0f, 0.0f, 0.0f);
}

TEST_F(RenderTest, SceneFrameLeavesTheNeutralState) {
    const GLuint spotFlare = solidTexture(4, 255, 255, 255);
    solidTexture(2, 255, 255, 255);
    Scene scene;
    lookFromFront(scene);
    scene.clearColor = rgba(0.1f, 0.2f, 0.3f, 0.4f);
    scene.fogColor = rgba(0.5f, 0.6f, 0.7f, 0.8f);
    scene.fogStart = 3;
    scene.fogEnd = 40;
    scene.fogEnabled = scene.lightingEnabled = true;
    scene.rollEnabled = true;
    scene.rollAmplitude = 10;
    scene.frameCount = 156;
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

    EXPECT_EQ(scene.frameCount, 157);
    for (GLenum cap : {GL_CULL_FACE, GL_FOG, GL_BLEND, GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T,
                       GL_LIGHTING, GL_LIGHT1, GL_LIGHT2})
        EXPECT_FALSE(enabled(cap)) << std::hex << cap;
    EXPECT_TRUE(enabled(GL_DEPTH_TEST) && enabled(GL_TEXTURE_2D) && depthWrites());
    EXPECT_EQ(glInteger(GL_MATRIX_MODE), GL_MODELVIEW);
    EXPECT_EQ(glInteger(GL_MODELVIEW_STACK_DEPTH), 1);
    EXPECT_EQ(boundTexture(), spotFlare);
    const std::array<float, 4> white{1, 1, 1, 1};
    const std::pair<GLenum, std::array<float, 4>> floats[] = {  // components past the value's size ignored
        {GL_CURRENT_COLOR, white}, {GL_COLOR_CLEAR_VALUE, {0.1f, 0.2f, 0.3f, 0.4f}},
        {GL_FOG_COLOR, {0.5f, 0.6f, 0.7f, 0.8f}}, {GL_FOG_START, {3}}, {GL_FOG_END, {40}}};
    for (const auto& [name, want] : floats) {
        std::array<float, 4> got{};
        glGetFloatv(name, got.data());
        const size_t n = name == GL_FOG_START || name == GL_FOG_END ? 1 : 4;
        for (size_t i = 0; i < n; ++i) EXPECT_NEAR(got[i], want[i], 1e-6f) << std::hex << name << " " << i;
    }

    // Camera and roll stay on the matrix: frame 157 rolls by 10 * sin(1.57).
    const auto left = modelview();
    glLoadIdentity();
    gluLookAt(0, 0, 5, 0, 0, 0, 0, 1, 0);
    glRotatef(static_cast<float>(10.0 * std::sin(1.57)), 0, 0, 1);
    expectMatrixNear(left, modelview());
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

TEST_F(RenderTest, ObjectsAreLitWithTheLightValuesOfThePreviousFrame) {
    solidTexture(2, 255, 255, 255);
    Scene scene;
    lookFromFront(scene);
    scene.lightingEnabled = true;
    scene.addOmniLight(0, 0, 1, 0, rgba(0, 0, 0), rgba(1, 0, 0), rgba(0, 0, 0), 1, 0.0f);
    SceneObject& o = addQuad(scene, -3, -3, 3, 3, 0, 2);
    o.materialAmbient = rgba(0, 0, 0);
    o.materialDiffuse = rgba(1, 1, 1);

    drawScene(scene);  // GL defaults of light 1: no diffuse
    EXPECT_EQ(centre(), (Rgb{0, 0, 0}));
    GLfloat diffuse[4], position[4];
    glGetLightfv(GL_LIGHT1, GL_DIFFUSE, diffuse);
    glGetLightfv(GL_LIGHT1, GL_POSITION, position);
    EXPECT_EQ(diffuse[0], 1.0f);
    EXPECT_EQ(diffuse[1], 0.0f);
    EXPECT_NEAR(position[2], 1.0f, 1e-6f);  // a direction towards the viewer
    EXPECT_EQ(position[3], 0.0f);

    scene.omniLights[0].diffuse = rgba(0, 1, 0);
    clearAll();
    drawScene(scene);
    EXPECT_EQ(centre(), (Rgb{255, 0, 0}));
    clearAll();
    drawScene(scene);
    EXPECT_EQ(centre(), (Rgb{0, 255, 0}));
}

TEST_F(RenderTest, BillboardShowsThePictureMirroredAboutItsDiagonal) {
    // Texels: (s0,t0) red, (s1,t0) green, (s0,t1) blue, (s1,t1) yellow.
    makeTexture(3, 2, 2, {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 0, 255});
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_LIGHTING);
    glBindTexture(GL_TEXTURE_2D, TextureTable[3]);
    gluLookAt(3, 2, 4, 0, 0, 0, 0, 1, 0);
    glRotatef(30, 0, 0, 1);  // a rolled view: the sprite still faces the screen squarely
    Vec3 centreOfSprite;
    drawBillboard(centreOfSprite, 1.0f);
    const int cx = kWidth / 2, cy = kHeight / 2, d = 6;
    EXPECT_EQ(at(cx - d, cy - d), (Rgb{255, 0, 0}));
    EXPECT_EQ(at(cx + d, cy - d), (Rgb{0, 0, 255}));
    EXPECT_EQ(at(cx - d, cy + d), (Rgb{0, 255, 0}));
    EXPECT_EQ(at(cx + d, cy + d), (Rgb{255, 255, 0}));
    EXPECT_EQ(at(cx + 20, cy - d), (Rgb{0, 0, 0}));  // 2 units wide, about 22 px here
    EXPECT_EQ(at(cx + 9, cy - d), (Rgb{0, 0, 255}));
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

    // A flare of size 0 or a disabled flare draws nothing.
    wall.visible = false;
    for (int step = 0; step < 2; ++step) {
        if (step == 0) scene.omniLights[0].flareSize = 0.0f;
        if (step == 1) scene.omniLights[0].flareSize = 2.0f, scene.omniLights[0].flareEnabled = false;
        clearAll();
        drawScene(scene);
        EXPECT_EQ(at(90, 60), (Rgb{0, 0, 0})) << step;
    }
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

}  // namespace
