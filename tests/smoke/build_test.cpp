#include <gtest/gtest.h>
#include "scene/scene.h"
TEST(Build, SceneDefaults) { Scene s; EXPECT_TRUE(s.clearDepth); EXPECT_EQ(s.fogEnd, 50); }
