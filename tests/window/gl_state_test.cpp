// setupGlState on a real Mesa context: the states the first frame starts
// from, and nothing touched when the texture list is missing.
#include "window/gl_state.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "assets/texture_table.h"
#include "platform/platform.h"
#include "support/gl_context.h"

namespace fs = std::filesystem;

namespace {

class GlStateTest : public ::testing::Test {
protected:
    void SetUp() override {
        old_ = fs::current_path();
        dir_ = fs::temp_directory_path() / ("orbelune_glstate_" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "data" / "script");
        fs::current_path(dir_);
        platform::setMessageBoxHandler(
            [this](const std::string& text, const std::string&, platform::Icon, platform::Buttons) {
                boxes_.push_back(text);
                return platform::Answer::Ok;
            });
    }
    void TearDown() override {
        platform::setMessageBoxHandler({});
        fs::current_path(old_);
        fs::remove_all(dir_);
    }
    static bool on(GLenum cap) { return glIsEnabled(cap) == GL_TRUE; }
    static GLint integer(GLenum name) {
        GLint v = -1;
        glGetIntegerv(name, &v);
        return v;
    }

    TestGlContext gl_;
    fs::path old_, dir_;
    std::vector<std::string> boxes_;
};

}  // namespace

TEST_F(GlStateTest, SetsTheBaseState) {
    ASSERT_TRUE(gl_.ok());
    std::ofstream(dir_ / "data" / "script" / "texture.dat") << "";
    ASSERT_TRUE(setupGlState());
    EXPECT_TRUE(boxes_.empty());

    EXPECT_TRUE(on(GL_TEXTURE_GEN_S));
    EXPECT_TRUE(on(GL_TEXTURE_GEN_T));
    EXPECT_TRUE(on(GL_TEXTURE_2D));
    EXPECT_TRUE(on(GL_DEPTH_TEST));
    EXPECT_FALSE(on(GL_BLEND));
    EXPECT_FALSE(on(GL_LIGHTING));
    EXPECT_FALSE(on(GL_FOG));

    EXPECT_EQ(integer(GL_SHADE_MODEL), GL_SMOOTH);
    EXPECT_EQ(integer(GL_DEPTH_FUNC), GL_LEQUAL);
    EXPECT_EQ(integer(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(integer(GL_BLEND_DST), GL_ONE);
    EXPECT_EQ(integer(GL_FOG_MODE), GL_LINEAR);
    EXPECT_EQ(integer(GL_FOG_HINT), GL_NICEST);
    GLint genS = 0, genT = 0;
    glGetTexGeniv(GL_S, GL_TEXTURE_GEN_MODE, &genS);
    glGetTexGeniv(GL_T, GL_TEXTURE_GEN_MODE, &genT);
    EXPECT_EQ(genS, GL_SPHERE_MAP);
    EXPECT_EQ(genT, GL_SPHERE_MAP);

    GLfloat clear[4], fog[4], start = -1, end = -1, density = -1, depth = -1;
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    glGetFloatv(GL_FOG_COLOR, fog);
    glGetFloatv(GL_FOG_START, &start);
    glGetFloatv(GL_FOG_END, &end);
    glGetFloatv(GL_FOG_DENSITY, &density);
    glGetFloatv(GL_DEPTH_CLEAR_VALUE, &depth);
    EXPECT_EQ(clear[0], 0.0f);
    EXPECT_EQ(clear[1], 0.0f);
    EXPECT_EQ(clear[2], 0.0f);
    EXPECT_EQ(clear[3], 0.5f);
    EXPECT_EQ(fog[0], 0.0f);
    EXPECT_EQ(fog[3], 1.0f);
    EXPECT_EQ(start, 0.0f);
    EXPECT_EQ(end, 10.0f);
    EXPECT_EQ(density, 1.0f);
    EXPECT_EQ(depth, 1.0f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GlStateTest, MissingTextureListLeavesTheGlUntouched) {
    ASSERT_TRUE(gl_.ok());
    EXPECT_FALSE(setupGlState());
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0], "Unable to open texture.dat");
    EXPECT_FALSE(on(GL_TEXTURE_2D));
    EXPECT_FALSE(on(GL_DEPTH_TEST));
    EXPECT_FALSE(on(GL_TEXTURE_GEN_S));
    EXPECT_EQ(integer(GL_SHADE_MODEL), GL_SMOOTH);  // the GL default
    EXPECT_EQ(integer(GL_DEPTH_FUNC), GL_LESS);
}
