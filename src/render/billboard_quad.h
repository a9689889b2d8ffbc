// The corners of one camera-facing sprite, for use inside a GL_QUADS block:
// texture coordinate and vertex of each corner, placed with the viewer's
// right and up axes read from a model-view matrix (column-major, as
// glGetFloatv returns it). A negative half-size mirrors the sprite through
// its centre.
#pragma once

#include "platform/gl.h"

#include "assets/vec3.h"

inline void billboardCorners(const GLfloat m[16], const Vec3& centre, float s) {
    const float rx = m[0], ry = m[4], rz = m[8];
    const float ux = m[1], uy = m[5], uz = m[9];
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(centre.x + s * (-rx - ux), centre.y + s * (-ry - uy), centre.z + s * (-rz - uz));
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(centre.x + s * (rx - ux), centre.y + s * (ry - uy), centre.z + s * (rz - uz));
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(centre.x + s * (rx + ux), centre.y + s * (ry + uy), centre.z + s * (rz + uz));
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(centre.x + s * (ux - rx), centre.y + s * (uy - ry), centre.z + s * (uz - rz));
}
