// Renders the effect scene and, when ORBELUNE_PNG_DIR is set, saves it for a
// person to look at. Always checks that the frame is not empty.
#include <cstdlib>
#include <string>

#include "effect_scene.h"

TEST(Pictures, EffectSceneFrame) {
    TestGlContext gl(480, 360);
    ASSERT_TRUE(gl.ok());
    applyBaseGlState();
    setPerspective(65.0, 480, 360);
    effects::World world;
    effects::build(world);
    const char* dir = std::getenv("ORBELUNE_PNG_DIR");
    for (int n = 0; n <= 40; ++n) {
        effects::frame(world, n);
        if (dir && n % 20 == 0)
            gl.savePng((std::string(dir) + "/effects_" + std::to_string(n) + ".png").c_str());
    }
    // The overlay's frame colour on its top edge, the scene's own colours inside.
    uint8_t p[3];
    gl.pixel(240, 297, p);
    EXPECT_GT(p[0], 120);
    EXPECT_LT(p[2], 80);
    gl.pixel(240, 180, p);
    EXPECT_GT(p[0] + p[1] + p[2], 30);
}
