// The GL 1.1 subset the show draws with, on OpenGL ES 2 (WebGL 1 rules).
//
// Each call keeps GL 1.1's meaning: immediate mode and client arrays become
// vertex buffers, the matrix stacks and GLU helpers are computed here with
// GL's own formulas, and lighting (eight lights, directional or positional,
// spot cut-off and exponent, attenuation), colour material, linear fog,
// sphere-map coordinates and the modulate texture environment run in a
// shader program generated for the fixed-function state of the draw and
// cached. Blending, depth, culling and scissor pass through to ES. What GL
// would refuse with GL_INVALID_ENUM or GL_INVALID_VALUE (a light beyond
// GL_LIGHT7, an unknown cap), and the few GL 1.1 values this subset leaves
// out, are recorded for gl11GetError and otherwise ignored.
//
// The layer works on the context current when gl11Attach is called and
// until gl11Detach; its state, like GL's, belongs to that one context.
// Drawing code reaches it through platform/gl.h, which maps the GL names
// onto these functions; the declarations here carry gl11 names only, so the
// layer links next to a desktop GL in one program.
#pragma once

#include <GLES2/gl2.h>

typedef double GLdouble;
typedef double GLclampd;

// GL 1.1 values that ES 2 does not define.
#define GL_QUADS 0x0007
#define GL_STACK_OVERFLOW 0x0503
#define GL_STACK_UNDERFLOW 0x0504
#define GL_CURRENT_COLOR 0x0B00
#define GL_CURRENT_NORMAL 0x0B02
#define GL_CURRENT_TEXTURE_COORDS 0x0B03
#define GL_LIGHTING 0x0B50
#define GL_SHADE_MODEL 0x0B54
#define GL_COLOR_MATERIAL 0x0B57
#define GL_FOG 0x0B60
#define GL_FOG_DENSITY 0x0B62
#define GL_FOG_START 0x0B63
#define GL_FOG_END 0x0B64
#define GL_FOG_MODE 0x0B65
#define GL_FOG_COLOR 0x0B66
#define GL_MATRIX_MODE 0x0BA0
#define GL_MODELVIEW_STACK_DEPTH 0x0BA3
#define GL_PROJECTION_STACK_DEPTH 0x0BA4
#define GL_MODELVIEW_MATRIX 0x0BA6
#define GL_PROJECTION_MATRIX 0x0BA7
#define GL_COLOR_LOGIC_OP 0x0BF2
#define GL_FOG_HINT 0x0C54
#define GL_TEXTURE_GEN_S 0x0C60
#define GL_TEXTURE_GEN_T 0x0C61
#define GL_MAX_LIGHTS 0x0D31
#define GL_AMBIENT 0x1200
#define GL_DIFFUSE 0x1201
#define GL_SPECULAR 0x1202
#define GL_POSITION 0x1203
#define GL_SPOT_DIRECTION 0x1204
#define GL_SPOT_EXPONENT 0x1205
#define GL_SPOT_CUTOFF 0x1206
#define GL_CONSTANT_ATTENUATION 0x1207
#define GL_LINEAR_ATTENUATION 0x1208
#define GL_QUADRATIC_ATTENUATION 0x1209
#define GL_EMISSION 0x1600
#define GL_SHININESS 0x1601
#define GL_AMBIENT_AND_DIFFUSE 0x1602
#define GL_MODELVIEW 0x1700
#define GL_PROJECTION 0x1701
#define GL_SMOOTH 0x1D01
#define GL_MODULATE 0x2100
#define GL_TEXTURE_ENV_MODE 0x2200
#define GL_TEXTURE_ENV 0x2300
#define GL_SPHERE_MAP 0x2402
#define GL_TEXTURE_GEN_MODE 0x2500
#define GL_EXP 0x0800
#define GL_EXP2 0x0801
#define GL_S 0x2000
#define GL_T 0x2001
#define GL_LIGHT0 0x4000
#define GL_VERTEX_ARRAY 0x8074
#define GL_NORMAL_ARRAY 0x8075
#define GL_TEXTURE_COORD_ARRAY 0x8078

#ifdef __cplusplus
extern "C" {
#endif

// Takes over the current ES 2 context with GL's initial state; gl11Detach
// releases the layer's programs and buffers while that context is current.
void gl11Attach(void);
void gl11Detach(void);
// Shader programs made since gl11Attach (one per fixed-function state drawn).
int gl11ProgramCount(void);

void gl11Viewport(GLint x, GLint y, GLsizei width, GLsizei height);
void gl11Begin(GLenum mode);
void gl11End(void);
void gl11Vertex3f(GLfloat x, GLfloat y, GLfloat z);
void gl11Normal3f(GLfloat x, GLfloat y, GLfloat z);
void gl11TexCoord2f(GLfloat s, GLfloat t);
void gl11Color3f(GLfloat r, GLfloat g, GLfloat b);
void gl11Color4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a);

void gl11EnableClientState(GLenum array);
void gl11DisableClientState(GLenum array);
void gl11VertexPointer(GLint size, GLenum type, GLsizei stride, const void* pointer);
void gl11NormalPointer(GLenum type, GLsizei stride, const void* pointer);
void gl11TexCoordPointer(GLint size, GLenum type, GLsizei stride, const void* pointer);
void gl11DrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices);

void gl11MatrixMode(GLenum mode);
void gl11LoadIdentity(void);
void gl11PushMatrix(void);
void gl11PopMatrix(void);
void gl11Rotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z);
void gl11Translatef(GLfloat x, GLfloat y, GLfloat z);
void gl11GluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar);
void gl11GluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX, GLdouble centerY,
                 GLdouble centerZ, GLdouble upX, GLdouble upY, GLdouble upZ);

void gl11Enable(GLenum cap);
void gl11Disable(GLenum cap);
GLboolean gl11IsEnabled(GLenum cap);
void gl11GetFloatv(GLenum pname, GLfloat* values);
void gl11GetIntegerv(GLenum pname, GLint* values);
void gl11GetTexEnviv(GLenum target, GLenum pname, GLint* values);
GLenum gl11GetError(void);

void gl11Lightfv(GLenum light, GLenum pname, const GLfloat* values);
void gl11Lightf(GLenum light, GLenum pname, GLfloat value);
void gl11Materialfv(GLenum face, GLenum pname, const GLfloat* values);
void gl11Materialf(GLenum face, GLenum pname, GLfloat value);
void gl11ShadeModel(GLenum mode);
void gl11Fogf(GLenum pname, GLfloat value);
void gl11Fogi(GLenum pname, GLint value);
void gl11Fogfv(GLenum pname, const GLfloat* values);
void gl11TexGeni(GLenum coord, GLenum pname, GLint value);
void gl11Hint(GLenum target, GLenum mode);
void gl11ClearDepth(GLclampd depth);

void gl11BindTexture(GLenum target, GLuint texture);
void gl11DeleteTextures(GLsizei count, const GLuint* textures);
void gl11TexParameterf(GLenum target, GLenum pname, GLfloat value);
GLint gl11GluScaleImage(GLenum format, GLint widthIn, GLint heightIn, GLenum typeIn, const void* dataIn,
                      GLint widthOut, GLint heightOut, GLenum typeOut, void* dataOut);
GLint gl11GluBuild2DMipmaps(GLenum target, GLint components, GLint width, GLint height, GLenum format,
                          GLenum type, const void* data);
void gl11ReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type,
                    void* pixels);

#ifdef __cplusplus
}
#endif
