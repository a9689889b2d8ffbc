// Screen overlays: one textured 4:3 rectangle in eye space, independent of
// the camera, for the loading picture, full-screen pictures, fades and
// sliding strips. The caller's current colour tints the picture and its
// alpha scales it under the current blend function.
//
// The model-view matrix is reset to identity (the last scene's camera is
// discarded) and left so; blending ends off, lighting and depth test end on
// whatever they were before. Culling, fog and texture-coordinate generation
// are left as the caller had them; the picture's texture stays bound.
//
// A picture whose alpha is zero or below adds nothing under the additive
// blend function (GL_SRC_ALPHA, GL_ONE): every pixel it covers keeps its
// value. Such a picture (the title before it appears, a credit after its
// fade) makes all its state changes but sends no rectangle, sparing a
// software rasteriser a full-screen blended fill.
#include "platform/gl.h"

#include "assets/texture_table.h"
#include "render/render.h"

// Rectangle half-extents and its z before the depth shift: at depth -20 it
// fills a 90-degree, 4:3 view exactly. The half-width is 40/3, not a rounded
// 13.3, which would leave the outermost pixel column on each side uncovered
// at 640 x 480 and wider (a full-screen flash would show two dark lines).
static constexpr float kHalfWidth = 40.0f / 3.0f;
static constexpr float kHalfHeight = 10.0f;
static constexpr float kPlaneZ = 10.0f;

// True when a rectangle drawn now could not change a pixel: the current
// alpha is zero or below (the vertex colour is clamped to 0) and the blend
// adds the source scaled by that alpha to the destination unchanged, with
// nothing that takes its alpha elsewhere (texture environment other than
// modulate) or writes outside the colour blend (logic op, stencil). Depth is
// not written, as the overlay turns the depth test off.
static bool addsNothing() {
    GLfloat color[4];
    glGetFloatv(GL_CURRENT_COLOR, color);
    if (!(color[3] <= 0.0f)) return false;
    GLint value[6];
    glGetIntegerv(GL_BLEND_SRC_RGB, &value[0]);
    glGetIntegerv(GL_BLEND_SRC_ALPHA, &value[1]);
    glGetIntegerv(GL_BLEND_DST_RGB, &value[2]);
    glGetIntegerv(GL_BLEND_DST_ALPHA, &value[3]);
    glGetIntegerv(GL_BLEND_EQUATION_RGB, &value[4]);
    glGetIntegerv(GL_BLEND_EQUATION_ALPHA, &value[5]);
    if (value[0] != GL_SRC_ALPHA || value[1] != GL_SRC_ALPHA || value[2] != GL_ONE ||
        value[3] != GL_ONE || value[4] != GL_FUNC_ADD || value[5] != GL_FUNC_ADD)
        return false;
    GLint envMode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &envMode);
    return envMode == GL_MODULATE && !glIsEnabled(GL_COLOR_LOGIC_OP) && !glIsEnabled(GL_STENCIL_TEST);
}

void drawOverlayAt(int32_t textureId, float x, float y, float depth) {
    glLoadIdentity();
    glPushMatrix();
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glBindTexture(GL_TEXTURE_2D, textureName(textureId));
    glTranslatef(x, y, depth);
    if (addsNothing()) {
        // The current normal and texture coordinate the rectangle would leave.
        glNormal3f(0.0f, 0.0f, 1.0f);
        glTexCoord2f(0.0f, 1.0f);
    } else {
        glBegin(GL_QUADS);
        glNormal3f(0.0f, 0.0f, 1.0f);
        glTexCoord2f(0.0f, 0.0f);
        glVertex3f(-kHalfWidth, -kHalfHeight, kPlaneZ);
        glTexCoord2f(1.0f, 0.0f);
        glVertex3f(kHalfWidth, -kHalfHeight, kPlaneZ);
        glTexCoord2f(1.0f, 1.0f);
        glVertex3f(kHalfWidth, kHalfHeight, kPlaneZ);
        glTexCoord2f(0.0f, 1.0f);
        glVertex3f(-kHalfWidth, kHalfHeight, kPlaneZ);
        glEnd();
    }
    glPopMatrix();
    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
}

void drawOverlay(int32_t textureId, float depth) {
    drawOverlayAt(textureId, 0.0f, 0.0f, depth);
}
