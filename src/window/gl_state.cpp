// The base GL state every frame starts from. After the texture list is
// loaded: smooth shading, sphere-map texture-coordinate generation for S and
// T (switched on), 2D texturing on for the whole run, black clear colour,
// depth test with less-or-equal, additive blend function (blending itself
// off), linear fog parameters (fog itself off). Lighting stays off.
#include "window/gl_state.h"

#include <GL/gl.h>

#include "assets/texture_table.h"

bool setupGlState(Diagnostics& report) {
    if (!loadTextures(report)) return false;
    applyBaseGlState();
    return true;
}

void applyBaseGlState() {
    glShadeModel(GL_SMOOTH);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_2D);
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    const GLfloat fogColor[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glFogfv(GL_FOG_COLOR, fogColor);
    glFogf(GL_FOG_DENSITY, 1.0f);
    glHint(GL_FOG_HINT, GL_NICEST);
    glFogf(GL_FOG_START, 0.0f);
    glFogf(GL_FOG_END, 10.0f);
}
