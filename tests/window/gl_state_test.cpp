// setupGlState on a real Mesa context: the states of the first frame that
// neither the golden frames (shading, sphere maps, fog mode) nor the
// renderer's tests (texturing, generation, blend function) show, and nothing touched when the
// texture list is missing.
#include "window/gl_state.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "assets/bmp_test_util.h"
#include "support/gl_context.h"

// setupGlState with its records shown as the show shows them.
static bool setupShown() {
    Diagnostics found;
    const bool ok = setupGlState(found);
    showDiagnostics(found);
    return ok;
}

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
    ASSERT_TRUE(setupShown());
    EXPECT_TRUE(rec.boxes.empty());
    for (GLenum cap : {GL_BLEND, GL_LIGHTING, GL_FOG}) EXPECT_FALSE(glIsEnabled(cap)) << cap;
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(integer(GL_DEPTH_FUNC), GL_LEQUAL);
    EXPECT_EQ(integer(GL_FOG_HINT), GL_NICEST);
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
    EXPECT_FALSE(setupShown());
    EXPECT_EQ(rec.boxes, (std::vector<RecordedBox>{{"Unable to open texture.dat", "multimedia error",
                                                     platform::Icon::Exclamation, platform::Buttons::Ok}}));
    for (GLenum cap : {GL_TEXTURE_2D, GL_DEPTH_TEST, GL_TEXTURE_GEN_S}) EXPECT_FALSE(glIsEnabled(cap)) << cap;
    EXPECT_EQ(integer(GL_DEPTH_FUNC), GL_LESS);
}
