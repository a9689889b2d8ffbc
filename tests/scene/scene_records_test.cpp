#include <gtest/gtest.h>

#include "scene/scene.h"

TEST(SceneRecord, NewSceneStartsEmptyWithItsDefaults) {
    const Scene scene;
    EXPECT_EQ(scene.objectCount(), 0);
    EXPECT_EQ(scene.omniCount(), 0);
    EXPECT_EQ(scene.spotCount(), 0);
    EXPECT_EQ(scene.magnetCount(), 0);
    EXPECT_EQ(scene.clearColor, (Color4{0, 0, 0, 0.5f}));
    EXPECT_EQ(scene.fogColor, (Color4{0, 0, 0, 0.5f}));
    EXPECT_TRUE(scene.clearDepth);
    EXPECT_FALSE(scene.clearColorBuffer);
    EXPECT_FALSE(scene.fogEnabled);
    EXPECT_FALSE(scene.lightingEnabled);
    EXPECT_EQ(scene.fogStart, 0);
    EXPECT_EQ(scene.fogEnd, 50);
}

TEST(SceneRecord, AddOperationsAppendInCallOrderWithStartingValues) {
    Scene scene;
    const Color4 amb{0.1f, 0.2f, 0.3f, 0.4f}, dif{0.5f, 0.6f, 0.7f, 0.8f}, spe{1, 1, 1, 1};
    scene.addOmniLight(1, 2, 3, 1, amb, dif, spe, 0, 2.5f);
    scene.addOmniLight(4, 5, 6, 0, amb, dif, spe, 1, 0.0f);
    scene.addOmniLight(7, 8, 9, 1, amb, dif, spe, 5, -1.0f);
    ASSERT_EQ(scene.omniCount(), 3);
    EXPECT_EQ(scene.spotCount(), 0);
    EXPECT_EQ(scene.magnetCount(), 0);
    const OmniLight& first = scene.omniLights[0];
    EXPECT_EQ(first.position.x, 1.0f);
    EXPECT_EQ(first.position.w, 1.0f);
    EXPECT_EQ(first.position.length, 0.0f);
    EXPECT_EQ(first.ambient, amb);
    EXPECT_EQ(first.diffuse, dif);
    EXPECT_EQ(first.specular, spe);
    EXPECT_TRUE(first.flareEnabled);
    EXPECT_EQ(first.flareTexture, 1);
    EXPECT_EQ(first.flareSize, 2.5f);
    EXPECT_EQ(scene.omniLights[1].position.x, 4.0f);
    EXPECT_EQ(scene.omniLights[2].lightNumber, 5);

    scene.addSpotLight(1, 2, 3, 4, 9);
    ASSERT_EQ(scene.spotCount(), 1);
    const SpotLight& spot = scene.spotLights[0];
    EXPECT_EQ(spot.position.w, 4.0f);
    EXPECT_EQ(spot.lightNumber, 9);
    EXPECT_EQ(spot.cutoff, 50.0f);
    EXPECT_EQ(spot.exponent, 100.0f);
    EXPECT_EQ(spot.ambient, (Color4{0, 0, 0, 0}));
    EXPECT_EQ(spot.diffuse, (Color4{0, 0, 0, 0}));
    EXPECT_EQ(spot.direction.x, 0.0f);
    EXPECT_EQ(spot.direction.z, 0.0f);

    scene.addMagnet(1, 2, 3, -4);
    ASSERT_EQ(scene.magnetCount(), 1);
    EXPECT_EQ(scene.magnets[0].x, 1.0f);
    EXPECT_EQ(scene.magnets[0].z, 3.0f);
    EXPECT_EQ(scene.magnets[0].w, -4.0f);
    EXPECT_EQ(scene.magnets[0].length, 0.0f);
    EXPECT_EQ(scene.omniCount(), 3);
}

TEST(SceneRecord, AddObjectUsesCreationValues) {
    Scene scene;
    SceneObject& object = scene.addObject();
    ASSERT_EQ(scene.objectCount(), 1);
    EXPECT_EQ(&object, scene.objects[0].get());
    EXPECT_EQ(object.vertexCount(), 0);
    EXPECT_EQ(object.faceCount(), 0);
    EXPECT_EQ(object.materialDiffuse, (Color4{0.8f, 0.8f, 0.8f, 1.0f}));
    EXPECT_TRUE(object.cullFace);
    EXPECT_TRUE(object.visible);
    EXPECT_EQ(object.shading, 1);
    EXPECT_EQ(object.shininess, 50.0f);
    // Earlier objects stay where they are while the list grows.
    for (int i = 0; i < 100; ++i) scene.addObject();
    EXPECT_EQ(scene.objects[0].get(), &object);
}
