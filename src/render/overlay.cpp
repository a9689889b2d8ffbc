// Screen overlays: one textured 4:3 rectangle in eye space, independent of
// the camera, for the loading picture, full-screen pictures, fades and
// sliding strips. The caller's current colour tints the picture and its
// alpha scales it under the current blend function.
//
// The model-view matrix is reset to identity (the last scene's camera is
// discarded) and left so; blending ends off, lighting and depth test end on
// whatever they were before. Culling, fog and texture-coordinate generation
// are left as the caller had them; the picture's texture stays bound.
#include <GL/gl.h>

#include "assets/texture_table.h"
#include "render/render.h"

// Rectangle half-extents and its z before the depth shift: at depth -20 it
// fills a 90-degree, 4:3 view exactly. The half-width is 40/3, not a rounded
// 13.3, which would leave the outermost pixel column on each side uncovered
// at 640 x 480 and wider (a full-screen flash would show two dark lines).
static constexpr float kHalfWidth = 40.0f / 3.0f;
static constexpr float kHalfHeight = 10.0f;
static constexpr float kPlaneZ = 10.0f;

void drawOverlayAt(int32_t textureId, float x, float y, float depth) {
    glLoadIdentity();
    glPushMatrix();
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glBindTexture(GL_TEXTURE_2D, textureName(textureId));
    glTranslatef(x, y, depth);
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
    glPopMatrix();
    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
}

void drawOverlay(int32_t textureId, float depth) {
    drawOverlayAt(textureId, 0.0f, 0.0f, depth);
}
