#include <gtest/gtest.h>

#include "scene/scene.h"
#include "support/gl_context.h"

TEST(Build, SceneDefaultsAndGlContext) {
    Scene s;
    EXPECT_TRUE(s.clearDepth);
    EXPECT_EQ(s.fogEnd, 50);
    TestGlContext gl(64, 48);
    ASSERT_TRUE(gl.ok());
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    uint8_t p[3];
    gl.pixel(3, 3, p);
    EXPECT_EQ(p[0], 255);
    EXPECT_EQ(p[1], 0);
}
