// The one GL include of all drawing code. A native build draws with the
// system's GL 1.1 and GLU (Mesa); a build with ORBELUNE_GL_LAYER (always in
// the browser) draws through the GL 1.1 subset on OpenGL ES 2 in
// platform/gl11, under the same names: the macros below send each GL and
// GLU call the show makes to the layer. Calls ES 2 has with the same
// meaning and no state of the layer's (glClear, glScissor,
// glBlendFunc, glDepthFunc, glDepthMask, glCullFace, glClearColor,
// glPixelStorei, glGenTextures, glFinish) go to ES directly.
#pragma once

#if defined(__EMSCRIPTEN__) && !defined(ORBELUNE_GL_LAYER)
#define ORBELUNE_GL_LAYER
#endif

#ifdef ORBELUNE_GL_LAYER
#include "platform/gl11/gl11.h"

#define glViewport gl11Viewport
#define glBegin gl11Begin
#define glEnd gl11End
#define glVertex3f gl11Vertex3f
#define glNormal3f gl11Normal3f
#define glTexCoord2f gl11TexCoord2f
#define glColor3f gl11Color3f
#define glColor4f gl11Color4f
#define glEnableClientState gl11EnableClientState
#define glDisableClientState gl11DisableClientState
#define glVertexPointer gl11VertexPointer
#define glNormalPointer gl11NormalPointer
#define glTexCoordPointer gl11TexCoordPointer
#define glDrawElements gl11DrawElements
#define glMatrixMode gl11MatrixMode
#define glLoadIdentity gl11LoadIdentity
#define glPushMatrix gl11PushMatrix
#define glPopMatrix gl11PopMatrix
#define glRotatef gl11Rotatef
#define glTranslatef gl11Translatef
#define gluPerspective gl11GluPerspective
#define gluLookAt gl11GluLookAt
#define glEnable gl11Enable
#define glDisable gl11Disable
#define glIsEnabled gl11IsEnabled
#define glGetFloatv gl11GetFloatv
#define glGetIntegerv gl11GetIntegerv
#define glGetTexEnviv gl11GetTexEnviv
#define glGetError gl11GetError
#define glLightfv gl11Lightfv
#define glLightf gl11Lightf
#define glMaterialfv gl11Materialfv
#define glMaterialf gl11Materialf
#define glShadeModel gl11ShadeModel
#define glFogf gl11Fogf
#define glFogi gl11Fogi
#define glFogfv gl11Fogfv
#define glTexGeni gl11TexGeni
#define glHint gl11Hint
#define glClearDepth gl11ClearDepth
#define glBindTexture gl11BindTexture
#define glDeleteTextures gl11DeleteTextures
#define glTexParameterf gl11TexParameterf
#define gluScaleImage gl11GluScaleImage
#define gluBuild2DMipmaps gl11GluBuild2DMipmaps
#define glReadPixels gl11ReadPixels
#else
#include <GL/gl.h>
#include <GL/glu.h>
#endif
