// setupGlState on a real Mesa context: nothing touched when the texture list
// is missing (the state it sets shows in every golden frame).
#include "window/gl_state.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "assets/bmp_test_util.h"
#include "support/gl_context.h"

static GLint integer(GLenum name) {
    GLint v = -1;
    glGetIntegerv(name, &v);
    return v;
}

TEST(GlState, MissingTextureListLeavesTheGlUntouched) {
    TestGlContext gl;
    ASSERT_TRUE(gl.ok());
    bmptest::ScratchDir dir("orbelune_glstate_");
    BoxRecorder rec;
    EXPECT_FALSE(setupGlState());
    EXPECT_EQ(rec.boxes, (std::vector<RecordedBox>{{"Unable to open texture.dat", "multimedia error",
                                                     platform::Icon::Exclamation, platform::Buttons::Ok}}));
    for (GLenum cap : {GL_TEXTURE_2D, GL_DEPTH_TEST, GL_TEXTURE_GEN_S}) EXPECT_FALSE(glIsEnabled(cap)) << cap;
    EXPECT_EQ(integer(GL_DEPTH_FUNC), GL_LESS);
}
