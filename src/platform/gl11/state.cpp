// The fixed-function state the layer keeps: enables ES 2 does not have,
// lights, material, fog, texture-coordinate generation, the current colour,
// normal and texture coordinate, the errors GL would raise, and the queries
// the show makes. Light positions and spot directions are taken into eye
// space by the model-view matrix of the moment they are given, as in GL.
// Caps that ES 2 knows (blending, depth test, culling, scissor, stencil)
// and queries of ES state pass through.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/gl11/context.h"

namespace gl11 {

Context context;

void recordError(GLenum error) {
    if (context.error == GL_NO_ERROR) context.error = error;
}

// The layer's flag for a cap it keeps itself, or nullptr.
static bool* layerCap(GLenum cap) {
    if (cap >= GL_LIGHT0 && cap < GL_LIGHT0 + 8) return &context.lights[cap - GL_LIGHT0].enabled;
    switch (cap) {
    case GL_LIGHTING: return &context.lighting;
    case GL_FOG: return &context.fog;
    case GL_TEXTURE_2D: return &context.texture2d;
    case GL_COLOR_MATERIAL: return &context.colorMaterial;
    case GL_TEXTURE_GEN_S: return &context.genS;
    case GL_TEXTURE_GEN_T: return &context.genT;
    default: return nullptr;
    }
}

static bool esCap(GLenum cap) {
    return cap == GL_BLEND || cap == GL_DEPTH_TEST || cap == GL_CULL_FACE || cap == GL_SCISSOR_TEST ||
           cap == GL_STENCIL_TEST || cap == GL_DITHER;
}

static void setCap(GLenum cap, bool on) {
    if (bool* flag = layerCap(cap)) {
        *flag = on;
        ++context.serial;
    } else if (esCap(cap)) {
        (on ? glEnable : glDisable)(cap);
    } else {
        recordError(GL_INVALID_ENUM);
    }
}

static void copy4(float* to, const float* from) { std::memcpy(to, from, 4 * sizeof(float)); }

// The values of a query the layer answers itself; 0 when ES keeps it.
static int layerValues(GLenum pname, float* out) {
    switch (pname) {
    case GL_MODELVIEW_MATRIX:
        std::memcpy(out, context.modelView.entries[static_cast<size_t>(context.modelView.top)].m, 64);
        return 16;
    case GL_PROJECTION_MATRIX:
        std::memcpy(out, context.projection.entries[static_cast<size_t>(context.projection.top)].m, 64);
        return 16;
    case GL_CURRENT_COLOR: copy4(out, context.color); return 4;
    case GL_CURRENT_NORMAL: std::memcpy(out, context.normal, 3 * sizeof(float)); return 3;
    case GL_CURRENT_TEXTURE_COORDS:
        out[0] = context.texCoord[0], out[1] = context.texCoord[1], out[2] = 0, out[3] = 1;
        return 4;
    case GL_FOG_COLOR: copy4(out, context.fogColor); return 4;
    case GL_FOG_START: out[0] = context.fogStart; return 1;
    case GL_FOG_END: out[0] = context.fogEnd; return 1;
    case GL_FOG_DENSITY: out[0] = context.fogDensity; return 1;
    case GL_FOG_MODE: out[0] = static_cast<float>(context.fogMode); return 1;
    case GL_MATRIX_MODE: out[0] = static_cast<float>(context.matrixMode); return 1;
    case GL_MODELVIEW_STACK_DEPTH: out[0] = static_cast<float>(context.modelView.top + 1); return 1;
    case GL_PROJECTION_STACK_DEPTH: out[0] = static_cast<float>(context.projection.top + 1); return 1;
    case GL_SHADE_MODEL: out[0] = GL_SMOOTH; return 1;
    case GL_MAX_LIGHTS: out[0] = 8; return 1;
    default: return 0;
    }
}

static Light* lightOf(GLenum light) {
    if (light < GL_LIGHT0 || light >= GL_LIGHT0 + 8) {
        recordError(GL_INVALID_ENUM);
        return nullptr;
    }
    return &context.lights[light - GL_LIGHT0];
}

// The eye-space image of (x, y, z, w) under the current model-view matrix.
static void toEye(const float in[4], float out[4]) {
    const Matrix& m = context.modelView.entries[static_cast<size_t>(context.modelView.top)];
    for (int row = 0; row < 4; ++row)
        out[row] = m.m[row] * in[0] + m.m[4 + row] * in[1] + m.m[8 + row] * in[2] + m.m[12 + row] * in[3];
}

}  // namespace gl11

using namespace gl11;

void gl11Attach(void) {
    context = Context{};
    context.lights[0].diffuse[0] = context.lights[0].diffuse[1] = context.lights[0].diffuse[2] = 1;
    context.lights[0].specular[0] = context.lights[0].specular[1] = context.lights[0].specular[2] = 1;
    glGenBuffers(Context::kStreamBuffers, context.vertexBuffers.data());
    glGenBuffers(Context::kStreamBuffers, context.indexBuffers.data());
    glGetIntegerv(GL_VIEWPORT, context.viewport);
    const auto* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    context.explicitLevels = extensions && std::strstr(extensions, "OES_standard_derivatives") &&
                             std::strstr(extensions, "EXT_shader_texture_lod");
    context.attached = true;
}

void gl11Detach(void) {
    if (!context.attached) return;
    releasePrograms();
    glDeleteBuffers(Context::kStreamBuffers, context.vertexBuffers.data());
    glDeleteBuffers(Context::kStreamBuffers, context.indexBuffers.data());
    if (context.quadIndices) glDeleteBuffers(1, &context.quadIndices);
    context = Context{};
}

GLenum gl11GetError(void) {
    const GLenum error = context.error;
    context.error = GL_NO_ERROR;
    return error != GL_NO_ERROR ? error : glGetError();
}

void gl11Enable(GLenum cap) { setCap(cap, true); }
void gl11Disable(GLenum cap) { setCap(cap, false); }

GLboolean gl11IsEnabled(GLenum cap) {
    if (const bool* flag = layerCap(cap)) return *flag ? GL_TRUE : GL_FALSE;
    if (cap == GL_COLOR_LOGIC_OP) return GL_FALSE;  // ES 2 has no logic op
    return glIsEnabled(cap);
}

void gl11GetFloatv(GLenum pname, GLfloat* values) {
    if (layerValues(pname, values) == 0) glGetFloatv(pname, values);
}

void gl11GetIntegerv(GLenum pname, GLint* values) {
    float v[16];
    const int count = layerValues(pname, v);
    if (count == 0) return glGetIntegerv(pname, values);
    for (int i = 0; i < count; ++i) values[i] = static_cast<GLint>(v[i]);
}

void gl11GetTexEnviv(GLenum target, GLenum pname, GLint* values) {
    if (target != GL_TEXTURE_ENV || pname != GL_TEXTURE_ENV_MODE) return recordError(GL_INVALID_ENUM);
    values[0] = GL_MODULATE;  // the only environment of this subset
}

void gl11Color4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    context.color[0] = r, context.color[1] = g, context.color[2] = b, context.color[3] = a;
}

void gl11Color3f(GLfloat r, GLfloat g, GLfloat b) { gl11Color4f(r, g, b, 1.0f); }

void gl11Normal3f(GLfloat x, GLfloat y, GLfloat z) {
    context.normal[0] = x, context.normal[1] = y, context.normal[2] = z;
}

void gl11TexCoord2f(GLfloat s, GLfloat t) { context.texCoord[0] = s, context.texCoord[1] = t; }

void gl11Lightfv(GLenum light, GLenum pname, const GLfloat* values) {
    Light* l = lightOf(light);
    if (!l) return;
    switch (pname) {
    case GL_AMBIENT: copy4(l->ambient, values); break;
    case GL_DIFFUSE: copy4(l->diffuse, values); break;
    case GL_SPECULAR: copy4(l->specular, values); break;
    case GL_POSITION: toEye(values, l->eyePosition); break;
    case GL_SPOT_DIRECTION: {
        const float direction[4] = {values[0], values[1], values[2], 0.0f};
        float eye[4];
        toEye(direction, eye);
        std::memcpy(l->eyeSpotDirection, eye, 3 * sizeof(float));
        break;
    }
    default: return gl11Lightf(light, pname, values[0]);
    }
    ++context.serial;
}

void gl11Lightf(GLenum light, GLenum pname, GLfloat value) {
    Light* l = lightOf(light);
    if (!l) return;
    switch (pname) {
    case GL_SPOT_EXPONENT:
        if (value < 0 || value > 128) return recordError(GL_INVALID_VALUE);
        l->spotExponent = value;
        break;
    case GL_SPOT_CUTOFF:
        if ((value < 0 || value > 90) && value != 180) return recordError(GL_INVALID_VALUE);
        l->spotCutoff = value;
        break;
    case GL_CONSTANT_ATTENUATION:
    case GL_LINEAR_ATTENUATION:
    case GL_QUADRATIC_ATTENUATION:
        if (value < 0) return recordError(GL_INVALID_VALUE);
        l->attenuation[pname - GL_CONSTANT_ATTENUATION] = value;
        break;
    default: return recordError(GL_INVALID_ENUM);
    }
    ++context.serial;
}

// One-sided lighting reads the front material only, so a value given for
// the back face alone changes nothing that is drawn.
void gl11Materialfv(GLenum face, GLenum pname, const GLfloat* values) {
    if (face != GL_FRONT && face != GL_BACK && face != GL_FRONT_AND_BACK) return recordError(GL_INVALID_ENUM);
    Material& m = context.material;
    if (pname == GL_SHININESS && (values[0] < 0 || values[0] > 128)) return recordError(GL_INVALID_VALUE);
    if (pname != GL_AMBIENT && pname != GL_DIFFUSE && pname != GL_SPECULAR && pname != GL_EMISSION &&
        pname != GL_SHININESS && pname != GL_AMBIENT_AND_DIFFUSE)
        return recordError(GL_INVALID_ENUM);
    if (face == GL_BACK) return;
    switch (pname) {
    case GL_AMBIENT_AND_DIFFUSE: copy4(m.diffuse, values); [[fallthrough]];
    case GL_AMBIENT: copy4(m.ambient, values); break;
    case GL_DIFFUSE: copy4(m.diffuse, values); break;
    case GL_SPECULAR: copy4(m.specular, values); break;
    case GL_EMISSION: copy4(m.emission, values); break;
    default: m.shininess = values[0]; break;
    }
    ++context.serial;
}

void gl11Materialf(GLenum face, GLenum pname, GLfloat value) {
    if (pname != GL_SHININESS) return recordError(GL_INVALID_ENUM);
    gl11Materialfv(face, pname, &value);
}

// Flat shading is not part of this subset.
void gl11ShadeModel(GLenum mode) {
    if (mode != GL_SMOOTH) recordError(GL_INVALID_ENUM);
}

void gl11Fogf(GLenum pname, GLfloat value) {
    switch (pname) {
    case GL_FOG_MODE: {
        const auto mode = static_cast<GLenum>(value);
        if (mode != GL_LINEAR && mode != GL_EXP && mode != GL_EXP2) return recordError(GL_INVALID_ENUM);
        context.fogMode = mode;
        break;
    }
    case GL_FOG_DENSITY:
        if (value < 0) return recordError(GL_INVALID_VALUE);
        context.fogDensity = value;
        break;
    case GL_FOG_START: context.fogStart = value; break;
    case GL_FOG_END: context.fogEnd = value; break;
    default: return recordError(GL_INVALID_ENUM);
    }
    ++context.serial;
}

void gl11Fogi(GLenum pname, GLint value) { gl11Fogf(pname, static_cast<GLfloat>(value)); }

void gl11Fogfv(GLenum pname, const GLfloat* values) {
    if (pname != GL_FOG_COLOR) return gl11Fogf(pname, values[0]);
    for (int i = 0; i < 4; ++i) context.fogColor[i] = std::clamp(values[i], 0.0f, 1.0f);
    ++context.serial;
}

// Sphere-map generation only; GL's other modes are not part of this subset.
void gl11TexGeni(GLenum coord, GLenum pname, GLint value) {
    if ((coord != GL_S && coord != GL_T) || pname != GL_TEXTURE_GEN_MODE || value != GL_SPHERE_MAP)
        return recordError(GL_INVALID_ENUM);
    (coord == GL_S ? context.sphereS : context.sphereT) = true;
    ++context.serial;
}

// Fog is computed per fragment, what GL_NICEST asks for; other hints go to ES.
void gl11Hint(GLenum target, GLenum mode) {
    if (target != GL_FOG_HINT) glHint(target, mode);
}

void gl11ClearDepth(GLclampd depth) { glClearDepthf(static_cast<GLfloat>(std::clamp(depth, 0.0, 1.0))); }
