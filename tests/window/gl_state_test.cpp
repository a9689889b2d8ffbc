// setupGlState on a real Mesa context: the states the first frame starts
// from (the depth function does not show in the golden frames), and nothing
// touched when the texture list is missing.
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

TEST(GlState, SetsTheBaseState) {
    TestGlContext gl;
    ASSERT_TRUE(gl.ok());
    bmptest::ScratchDir dir("orbelune_glstate_");
    dir.write("data/script/texture.dat", "");
    BoxRecorder rec;
    ASSERT_TRUE(setupGlState());
    EXPECT_TRUE(rec.boxes.empty());
    for (GLenum cap : {GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_2D, GL_DEPTH_TEST})
        EXPECT_TRUE(glIsEnabled(cap)) << cap;
    for (GLenum cap : {GL_BLEND, GL_LIGHTING, GL_FOG}) EXPECT_FALSE(glIsEnabled(cap)) << cap;
    const std::pair<GLenum, GLint> ints[] = {{GL_SHADE_MODEL, GL_SMOOTH},  {GL_DEPTH_FUNC, GL_LEQUAL},
                                             {GL_BLEND_SRC, GL_SRC_ALPHA}, {GL_BLEND_DST, GL_ONE},
                                             {GL_FOG_MODE, GL_LINEAR},     {GL_FOG_HINT, GL_NICEST}};
    for (const auto& [name, want] : ints) EXPECT_EQ(integer(name), want) << name;
    for (GLenum coord : {GL_S, GL_T}) {
        GLint mode = 0;
        glGetTexGeniv(coord, GL_TEXTURE_GEN_MODE, &mode);
        EXPECT_EQ(mode, GL_SPHERE_MAP);
    }
    const std::pair<GLenum, std::vector<GLfloat>> floats[] = {{GL_COLOR_CLEAR_VALUE, {0, 0, 0, 0.5f}},
                                                              {GL_FOG_COLOR, {0, 0, 0, 1}},
                                                              {GL_FOG_START, {0}},
                                                              {GL_FOG_END, {10}},
                                                              {GL_FOG_DENSITY, {1}},
                                                              {GL_DEPTH_CLEAR_VALUE, {1}}};
    for (const auto& [name, want] : floats) {
        std::vector<GLfloat> got(4, -1);
        glGetFloatv(name, got.data());
        got.resize(want.size());
        EXPECT_EQ(got, want) << name;
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
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
