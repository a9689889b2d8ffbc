// A frame drawn through the GL 1.1 layer allocates nothing once its states
// have been drawn before: the layer's programs, buffers and scratch arrays
// are made the first time and reused. The frame has the show's kinds of
// draws (a lit, fogged, textured triangle block, sphere-mapped indexed
// client arrays, thousands of camera-facing quads, a blended picture) and a
// read-back; global operator new counts on this thread only, leaving out
// Mesa's own allocations (its compiler, its rasteriser threads).
#include <gtest/gtest.h>

#include <vector>

#include "support/allocation_count.h"
#include "support/gl_context.h"

namespace {

struct Corner {
    float position[3], normal[3], texCoord[2];
};

struct Frame {
    std::vector<Corner> corners;
    std::vector<uint32_t> indices;
    std::vector<uint8_t> pixels;
    GLuint texture = 0;
};

void setUp(Frame& f) {
    for (int j = 0; j <= 20; ++j)
        for (int i = 0; i <= 20; ++i)
            f.corners.push_back({{i * 0.2f - 2.0f, 0.0f, j * 0.2f - 2.0f}, {0.0f, 1.0f, 0.0f}, {i / 20.0f, j / 20.0f}});
    for (uint32_t j = 0; j < 20; ++j)
        for (uint32_t i = 0; i < 20; ++i) {
            const uint32_t a = j * 21 + i;
            f.indices.insert(f.indices.end(), {a, a + 1, a + 22, a, a + 22, a + 21});
        }
    f.pixels.resize(160 * 120 * 3);
    std::vector<uint8_t> image(64 * 64 * 3, 128);
    glGenTextures(1, &f.texture);
    glBindTexture(GL_TEXTURE_2D, f.texture);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLfloat>(GL_LINEAR_MIPMAP_NEAREST));
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, 64, 64, GL_RGB, GL_UNSIGNED_BYTE, image.data());
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
}

void draw(Frame& f) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(90.0, 4.0 / 3.0, 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0.0, 2.0, 4.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHT0 + 1);
    glEnable(GL_FOG);
    glBindTexture(GL_TEXTURE_2D, f.texture);
    glBegin(GL_TRIANGLES);
    for (const Corner& c : f.corners) {
        glNormal3f(c.normal[0], c.normal[1], c.normal[2]);
        glTexCoord2f(c.texCoord[0], c.texCoord[1]);
        glVertex3f(c.position[0], c.position[1] + 0.5f, c.position[2]);
    }
    glEnd();
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(Corner), f.corners[0].position);
    glNormalPointer(GL_FLOAT, sizeof(Corner), f.corners[0].normal);
    glTexCoordPointer(2, GL_FLOAT, sizeof(Corner), f.corners[0].texCoord);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(f.indices.size()), GL_UNSIGNED_INT, f.indices.data());
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    const GLfloat position[4] = {0.0f, 3.0f, 0.0f, 1.0f};
    glLightfv(GL_LIGHT0 + 1, GL_POSITION, position);
    glLightf(GL_LIGHT0 + 1, GL_SPOT_CUTOFF, 40.0f);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glEnable(GL_BLEND);
    glDepthMask(GL_FALSE);
    glBegin(GL_QUADS);
    for (int i = 0; i < 3000; ++i) {
        GLfloat m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        const float x = static_cast<float>(i % 60) * 0.07f - 2.0f, y = static_cast<float>(i / 60) * 0.05f;
        glTexCoord2f(0.0f, 0.0f), glVertex3f(x - 0.02f * m[0], y, 0.0f);
        glTexCoord2f(0.0f, 1.0f), glVertex3f(x + 0.02f * m[0], y, 0.0f);
        glTexCoord2f(1.0f, 1.0f), glVertex3f(x + 0.02f * m[0], y + 0.02f, 0.0f);
        glTexCoord2f(1.0f, 0.0f), glVertex3f(x - 0.02f * m[0], y + 0.02f, 0.0f);
    }
    glEnd();
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 160, 120, GL_RGB, GL_UNSIGNED_BYTE, f.pixels.data());
}

TEST(Gl11SteadyState, RepeatedFramesAllocateNothing) {
    void* warmUp[4];
    backtrace(warmUp, 4);  // loads the unwinder before anything is counted
    TestGlContext gl(160, 120, TestGlApi::es2);
    ASSERT_TRUE(gl.ok());
    gl11Attach();
    Frame f;
    setUp(f);
    draw(f);
    draw(f);
    const int programs = gl11ProgramCount();
    counting = true;
    for (int i = 0; i < 3; ++i) draw(f);
    counting = false;
    EXPECT_EQ(allocations, 0);
    EXPECT_EQ(gl11ProgramCount(), programs);
    EXPECT_GE(programs, 3) << "lit, sphere-mapped and unlit draws each have a program";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    gl11Detach();
}

}  // namespace
