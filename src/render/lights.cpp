// Lights and lens flares.
//
// After a scene's objects are drawn, each light is loaded into its
// fixed-function GL light (GL_LIGHT0 + lightNumber) and a camera-facing,
// additively blended sprite is drawn at its position with the flare texture.
// Omni flares are depth-tested but write no depth, so they never hide each
// other; spot flares write depth, so a nearer one drawn first hides a farther
// one. Both leave culling and sphere-map generation off, the flare texture
// bound, blending off, lighting on and depth writes on; the model-view
// matrix is not changed. drawBillboard, shared with the particles, only
// draws one quad with the texture already bound.
#include <GL/gl.h>

#include "assets/texture_table.h"
#include "render/billboard_quad.h"
#include "render/render.h"

static GLenum glLight(int32_t lightNumber) {
    return static_cast<GLenum>(GL_LIGHT0 + lightNumber);
}

static void beginFlare(int32_t flareTexture) {
    glDisable(GL_CULL_FACE);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glBindTexture(GL_TEXTURE_2D, textureName(flareTexture));
    glEnable(GL_BLEND);
    glDisable(GL_LIGHTING);
}

static void endFlare() {
    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);
}

void setupOmniLight(const OmniLight& light) {
    const GLenum l = glLight(light.lightNumber);
    const GLfloat position[4] = {light.position.x, light.position.y, light.position.z,
                                 light.position.w};
    glLightfv(l, GL_AMBIENT, light.ambient.data());
    glLightfv(l, GL_DIFFUSE, light.diffuse.data());
    glLightfv(l, GL_SPECULAR, light.specular.data());
    glLightfv(l, GL_POSITION, position);

    beginFlare(light.flareTexture);
    if (light.flareSize > 0.0f) {
        glDepthMask(GL_FALSE);
        drawBillboard(light.position, light.flareSize);
        glDepthMask(GL_TRUE);
    }
    endFlare();
}

void setupSpotLight(const SpotLight& light) {
    const GLenum l = glLight(light.lightNumber);
    const GLfloat position[4] = {light.position.x, light.position.y, light.position.z,
                                 light.position.w};
    const GLfloat direction[3] = {light.direction.x, light.direction.y, light.direction.z};
    glLightfv(l, GL_AMBIENT, light.ambient.data());
    glLightfv(l, GL_DIFFUSE, light.diffuse.data());
    glLightfv(l, GL_POSITION, position);
    glLightf(l, GL_SPOT_CUTOFF, light.cutoff);
    glLightf(l, GL_SPOT_EXPONENT, light.exponent);
    glLightfv(l, GL_SPOT_DIRECTION, direction);

    beginFlare(light.flareTexture);
    drawBillboard(light.position, light.position.w);
    endFlare();
}

void drawBillboard(const Vec3& centre, float s) {
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    glBegin(GL_QUADS);
    billboardCorners(m, centre, s);
    glEnd();
}
