#include <gtest/gtest.h>

#include "scene/scene.h"

TEST(SceneRecord, AddOperationsAppendInCallOrderWithStartingValues) {
    Scene scene;
    const Color4 amb{0.1f, 0.2f, 0.3f, 0.4f}, dif{0.5f, 0.6f, 0.7f, 0.8f}, spe{1, 1, 1, 1};
    for (int i = 0; i < 3; ++i) scene.addOmniLight(float(i), 2, 3, 1, amb, dif, spe, 10 + i, 2.5f);
    ASSERT_EQ(scene.omniCount(), 3);
    EXPECT_EQ(scene.spotCount() + scene.magnetCount(), 0);
    const OmniLight& omni = scene.omniLights[2];
    EXPECT_EQ(omni.position.x, 2.0f);
    EXPECT_EQ(omni.position.w, 1.0f);
    EXPECT_TRUE(omni.ambient == amb && omni.diffuse == dif && omni.specular == spe);
    EXPECT_TRUE(omni.flareEnabled);
    EXPECT_EQ(omni.flareTexture, 1);  // the glow picture
    EXPECT_EQ(omni.flareSize, 2.5f);
    EXPECT_EQ(omni.lightNumber, 12);

    scene.addSpotLight(1, 2, 3, 4, 9);
    ASSERT_EQ(scene.spotCount(), 1);
    EXPECT_EQ(scene.spotLights[0].position.w, 4.0f);
    EXPECT_EQ(scene.spotLights[0].lightNumber, 9);
    EXPECT_TRUE(scene.spotLights[0].cutoff == 50.0f && scene.spotLights[0].exponent == 100.0f);

    scene.addMagnet(1, 2, 3, -4);
    ASSERT_EQ(scene.magnetCount(), 1);
    EXPECT_EQ(scene.magnets[0].z, 3.0f);
    EXPECT_EQ(scene.magnets[0].w, -4.0f);
}
