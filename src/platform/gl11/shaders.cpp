// One GLSL ES 1.00 program per fixed-function state, generated the first
// time that state draws and kept until the layer detaches. The state's key
// holds what changes the code (lighting, each light off, directional,
// positional or spot, colour material, fog mode, sphere-map S and T, a
// complete texture); values (matrices, colours, positions, fog range) are
// uniforms, uploaded when the state serial moved since the program last
// drew. Straight-line code per enabled light, no loop or branch over the
// eight: a software ES renderer runs that several times faster.
//
// The vertex shader is GL 1.1's per-vertex lighting in eye space (emission
// plus material ambient times the scene ambient, and per light the
// attenuated, spot-weighted sum of ambient, diffuse and specular with an
// infinite viewer; alpha from the material's diffuse), clamped to 0..1; the
// unlit colour is the vertex colour clamped. Sphere-map coordinates reflect
// the eye direction about the eye-space normal. The fragment shader
// modulates by the texture and blends toward the fog colour by the linear,
// exp or exp2 factor of the eye distance |z|. With a nearest-mipmap filter
// it also picks the texture's level itself, as Mesa does (see below).
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/gl11/context.h"

namespace gl11 {

namespace {

enum KeyBit : uint32_t {
    kLighting = 1u << 0,
    kColorMaterial = 1u << 17,
    kFogShift = 18,  // 2 bits: 0 off, 1 linear, 2 exp, 3 exp2
    kSphereS = 1u << 20,
    kSphereT = 1u << 21,
    kTexture = 1u << 22,
    kExplicitLevel = 1u << 23,
};
constexpr int kLightShift = 1;  // 2 bits per light: 0 off, 1 directional, 2 positional, 3 spot

uint32_t lightKind(const Light& light) {
    if (!light.enabled) return 0;
    if (light.eyePosition[3] == 0.0f) return 1;
    return light.spotCutoff == 180.0f ? 2 : 3;
}

uint32_t stateKey() {
    uint32_t key = 0;
    if (context.lighting) {
        key |= kLighting;
        for (size_t i = 0; i < context.lights.size(); ++i)
            key |= lightKind(context.lights[i]) << (kLightShift + 2 * i);
        if (context.colorMaterial) key |= kColorMaterial;
    }
    if (context.fog) {
        const uint32_t mode = context.fogMode == GL_LINEAR ? 1 : context.fogMode == GL_EXP ? 2 : 3;
        key |= mode << kFogShift;
    }
    if (context.genS && context.sphereS) key |= kSphereS;
    if (context.genT && context.sphereT) key |= kSphereT;
    if (context.texture2d && context.bound.complete) {
        key |= kTexture;
        const GLenum filter = context.bound.minFilter;
        if (context.explicitLevels && (filter == GL_LINEAR_MIPMAP_NEAREST || filter == GL_NEAREST_MIPMAP_NEAREST))
            key |= kExplicitLevel;
    }
    return key;
}

const char* const kVertexShader = R"(
attribute vec3 aPosition;
attribute vec3 aNormal;
attribute vec2 aTexCoord;
attribute vec4 aColor;
uniform mat4 uModelView;
uniform mat4 uProjection;
uniform mat3 uNormalMatrix;
varying vec4 vColor;
varying vec2 vTexCoord;
varying float vFogDistance;
#ifdef EXPLICIT_LEVEL
varying vec3 vEye;
#endif
#ifdef LIGHTING
uniform vec4 uLightAmbient[8];
uniform vec4 uLightDiffuse[8];
uniform vec4 uLightSpecular[8];
uniform vec4 uLightPosition[8];     // eye space: a point, or a unit direction
uniform vec4 uLightSpot[8];         // unit direction, cosine of the cut-off
uniform vec4 uLightAttenuation[8];  // constant, linear, quadratic, spot exponent
uniform vec4 uSceneAmbient;
uniform vec4 uMaterial[5];          // ambient, diffuse, specular, emission, shininess
vec3 lightTerm(int i, vec3 vp, float weight, vec3 n, vec3 ma, vec3 md) {
    float nDotVp = max(dot(n, vp), 0.0);
    vec3 c = ma * uLightAmbient[i].rgb + nDotVp * md * uLightDiffuse[i].rgb;
    if (nDotVp > 0.0) {
        float nDotH = max(dot(n, normalize(vp + vec3(0.0, 0.0, 1.0))), 0.0);
        float shininess = uMaterial[4].x;
        float f = shininess == 0.0 ? 1.0 : (nDotH > 0.0 ? pow(nDotH, shininess) : 0.0);
        c += f * uMaterial[2].rgb * uLightSpecular[i].rgb;
    }
    return weight * c;
}
float attenuation(int i, float d) {
    return 1.0 / (uLightAttenuation[i].x + uLightAttenuation[i].y * d + uLightAttenuation[i].z * d * d);
}
float spot(int i, vec3 vp) {
    float c = dot(-vp, uLightSpot[i].xyz);
    if (c < uLightSpot[i].w) return 0.0;
    return uLightAttenuation[i].w == 0.0 ? 1.0 : pow(max(c, 0.0), uLightAttenuation[i].w);
}
#endif
void main() {
    vec4 eye = uModelView * vec4(aPosition, 1.0);
    gl_Position = uProjection * eye;
    vec3 e = eye.xyz / eye.w;
    vec3 n = uNormalMatrix * aNormal;
#ifdef LIGHTING
#ifdef COLOR_MATERIAL
    vec3 ma = aColor.rgb, md = aColor.rgb;
    float alpha = aColor.a;
#else
    vec3 ma = uMaterial[0].rgb, md = uMaterial[1].rgb;
    float alpha = uMaterial[1].a;
#endif
    vec3 c = uMaterial[3].rgb + ma * uSceneAmbient.rgb;
    vec3 d;
    float dist;
LIGHTS
    vColor = clamp(vec4(c, alpha), 0.0, 1.0);
#else
    vColor = clamp(aColor, 0.0, 1.0);
#endif
    vTexCoord = aTexCoord;
#if defined(SPHERE_S) || defined(SPHERE_T)
    vec3 u = normalize(e);
    vec3 r = u - 2.0 * n * dot(n, u);
    float m = 2.0 * sqrt(r.x * r.x + r.y * r.y + (r.z + 1.0) * (r.z + 1.0));
#ifdef SPHERE_S
    vTexCoord.s = r.x / m + 0.5;
#endif
#ifdef SPHERE_T
    vTexCoord.t = r.y / m + 0.5;
#endif
#endif
    vFogDistance = abs(e.z);
#ifdef EXPLICIT_LEVEL
    vEye = e;
#endif
}
)";

// With a nearest-mipmap filter the level is chosen here rather than by the
// ES sampler, as Mesa chooses it. Mesa takes one level per 2 x 2 block from
// the block's top-left pixel: rho^2 is the larger of |T(right) - T(top-left)|^2
// and |T(below) - T(top-left)|^2, T in texels, and the level is log2(rho)
// rounded to the nearest integer, 0 (magnified) for rho <= 1; an explicit
// level just above 0 keeps the minifying filter on level 0.
// Mesa's rasterizer places vertices at 1/256 pixel, so its T follows the
// triangle as drawn; a renderer with coarser sub-pixel steps (SwiftShader
// has 1/16) interpolates over a slightly moved triangle, and on small far
// triangles that moves the level boundary from one triangle to the next.
// So T at those pixel centres is found from the geometry, not from the
// interpolation: the pixel's ray (window to eye space through the viewport
// and the inverse projection, one matrix) meets the triangle's plane in eye
// space, and T there follows from T's gradient along the plane, taken from
// the derivatives of T and of the eye position, which stay exact because
// both are interpolated with the same weights. A triangle seen edge-on
// falls back to the derivatives.
// This costs about a third of the frame rate in SwiftShader where textured
// triangles fill the picture; without it the level boundary wanders by a
// few pixels from triangle to triangle.
const char* const kExplicitLevelExtensions =
    "#extension GL_OES_standard_derivatives : enable\n#extension GL_EXT_shader_texture_lod : enable\n";

const char* const kFragmentShader = R"(
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
uniform sampler2D uTexture;
#ifdef EXPLICIT_LEVEL
uniform vec2 uTextureSize;          // level 0, in texels
// Window position (x, y, 1, 0) to the homogeneous eye-space point on its
// ray at depth -1; column 3 is half the step from there to depth 1.
uniform mat4 uWindowToEye;
varying vec3 vEye;
// Where the ray from `near` to `far` (homogeneous) meets the plane through
// vEye, as an offset from vEye: small, so that differences of two keep
// their precision.
vec3 rayToPlane(vec4 near, vec4 far, vec3 normal) {
    vec3 n = near.xyz / near.w, d = far.xyz / far.w - n, from = n - vEye;
    return from - d * (dot(normal, from) / dot(normal, d));
}
#endif
uniform vec4 uFog;  // start, end, density, 1 / (end - start)
uniform vec4 uFogColor;
varying vec4 vColor;
varying vec2 vTexCoord;
varying float vFogDistance;
void main() {
    vec4 c = vColor;
#if defined(TEXTURE) && defined(EXPLICIT_LEVEL)
    vec2 texel = vTexCoord * uTextureSize;
    vec2 tx = dFdx(texel), ty = dFdy(texel);
    vec3 ex = dFdx(vEye), ey = dFdy(vEye);
    vec3 normal = cross(ex, ey);
    vec2 quad = mod(floor(gl_FragCoord.xy), 2.0);
    vec3 topLeft = vec3(floor(gl_FragCoord.xy) + vec2(0.5 - quad.x, 1.5 - quad.y), 1.0);
    vec4 a = uWindowToEye * vec4(topLeft, 0.0), depth = 2.0 * uWindowToEye[3];
    vec3 tl = rayToPlane(a, a + depth, normal), tr = rayToPlane(a + uWindowToEye[0], a + uWindowToEye[0] + depth, normal);
    vec3 bl = rayToPlane(a - uWindowToEye[1], a - uWindowToEye[1] + depth, normal);
    vec3 across = tr - tl, down = bl - tl;
    // The offsets as combinations of ex and ey (Gram matrix g): T's
    // differences are the same combinations of tx and ty.
    float g11 = dot(ex, ex), g12 = dot(ex, ey), g22 = dot(ey, ey), det = g11 * g22 - g12 * g12;
    vec2 ddx = tx, ddy = ty;
    if (det > 1e-6 * g11 * g22) {
        vec2 pa = vec2(dot(ex, across), dot(ey, across)), pd = vec2(dot(ex, down), dot(ey, down));
        vec2 ka = vec2(g22 * pa.x - g12 * pa.y, g11 * pa.y - g12 * pa.x) / det;
        vec2 kd = vec2(g22 * pd.x - g12 * pd.y, g11 * pd.y - g12 * pd.x) / det;
        ddx = ka.x * tx + ka.y * ty;
        ddy = kd.x * tx + kd.y * ty;
    }
    float rho2 = max(dot(ddx, ddx), dot(ddy, ddy));
    float level = rho2 > 1.0 ? max(floor(0.5 * log2(rho2) + 0.5), 1.0 / 256.0) : 0.0;
    c *= texture2DLodEXT(uTexture, vTexCoord, level);
#elif defined(TEXTURE)
    c *= texture2D(uTexture, vTexCoord);
#endif
#if defined(FOG_LINEAR)
    float f = (uFog.y - vFogDistance) * uFog.w;
#elif defined(FOG_EXP)
    float f = exp(-uFog.z * vFogDistance);
#elif defined(FOG_EXP2)
    float f = exp(-(uFog.z * vFogDistance) * (uFog.z * vFogDistance));
#endif
#if defined(FOG_LINEAR) || defined(FOG_EXP) || defined(FOG_EXP2)
    c.rgb = mix(uFogColor.rgb, c.rgb, clamp(f, 0.0, 1.0));
#endif
    gl_FragColor = c;
}
)";

// The per-light lines of the vertex shader for the lights in `key`.
std::string lightCode(uint32_t key) {
    std::string code;
    for (int i = 0; i < 8; ++i) {
        const uint32_t kind = (key >> (kLightShift + 2 * i)) & 3u;
        if (kind == 0) continue;
        const std::string n = std::to_string(i);
        if (kind == 1) {
            code += "    c += lightTerm(" + n + ", uLightPosition[" + n + "].xyz, 1.0, n, ma, md);\n";
            continue;
        }
        code += "    d = uLightPosition[" + n + "].xyz - e;\n    dist = length(d);\n    d /= dist;\n";
        code += "    c += lightTerm(" + n + ", d, attenuation(" + n + ", dist)" +
                (kind == 3 ? " * spot(" + n + ", d)" : "") + ", n, ma, md);\n";
    }
    return code;
}

std::string defines(uint32_t key) {
    std::string d;
    if (key & kLighting) d += "#define LIGHTING\n";
    if (key & kColorMaterial) d += "#define COLOR_MATERIAL\n";
    if (key & kSphereS) d += "#define SPHERE_S\n";
    if (key & kSphereT) d += "#define SPHERE_T\n";
    if (key & kTexture) d += "#define TEXTURE\n";
    if (key & kExplicitLevel) d += "#define EXPLICIT_LEVEL\n";
    static const char* const kFog[] = {"", "#define FOG_LINEAR\n", "#define FOG_EXP\n", "#define FOG_EXP2\n"};
    d += kFog[(key >> kFogShift) & 3u];
    return d;
}

GLuint compile(GLenum type, const std::string& source) {
    const GLuint shader = glCreateShader(type);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[1024] = "";
        glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        std::fprintf(stderr, "gl11: shader not compiled: %s\n", log);
    }
    return shader;
}

Program build(uint32_t key) {
    Program p;
    p.key = key;
    std::string vertex = kVertexShader;
    vertex.replace(vertex.find("LIGHTS\n"), 7, lightCode(key));
    const GLuint vs = compile(GL_VERTEX_SHADER, defines(key) + vertex);
    const std::string extensions = key & kExplicitLevel ? kExplicitLevelExtensions : "";
    const GLuint fs = compile(GL_FRAGMENT_SHADER, extensions + defines(key) + kFragmentShader);
    p.id = glCreateProgram();
    glAttachShader(p.id, vs);
    glAttachShader(p.id, fs);
    glBindAttribLocation(p.id, 0, "aPosition");
    glBindAttribLocation(p.id, 1, "aNormal");
    glBindAttribLocation(p.id, 2, "aTexCoord");
    glBindAttribLocation(p.id, 3, "aColor");
    glLinkProgram(p.id);
    glDeleteShader(vs);
    glDeleteShader(fs);
    GLint ok = GL_FALSE;
    glGetProgramiv(p.id, GL_LINK_STATUS, &ok);
    if (!ok) {
        glDeleteProgram(p.id);
        p.id = 0;
        return p;
    }
    const auto at = [&](const char* name) { return glGetUniformLocation(p.id, name); };
    p.modelView = at("uModelView");
    p.projection = at("uProjection");
    p.normalMatrix = at("uNormalMatrix");
    p.lightAmbient = at("uLightAmbient");
    p.lightDiffuse = at("uLightDiffuse");
    p.lightSpecular = at("uLightSpecular");
    p.lightPosition = at("uLightPosition");
    p.lightSpot = at("uLightSpot");
    p.lightAttenuation = at("uLightAttenuation");
    p.sceneAmbient = at("uSceneAmbient");
    p.material = at("uMaterial");
    p.fog = at("uFog");
    p.fogColor = at("uFogColor");
    p.sampler = at("uTexture");
    p.textureSize = at("uTextureSize");
    p.windowToEye = at("uWindowToEye");
    return p;
}

// The inverse transpose of the model-view's upper 3 x 3 (column-major):
// its cofactors over its determinant.
void normalMatrix(const Matrix& mv, float out[9]) {
    const float* m = mv.m;
    const float a = m[0], b = m[4], c = m[8], d = m[1], e = m[5], f = m[9], g = m[2], h = m[6], i = m[10];
    const float cof[9] = {e * i - f * h, -(d * i - f * g), d * h - e * g,
                          -(b * i - c * h), a * i - c * g, -(a * h - b * g),
                          b * f - c * e, -(a * f - c * d), a * e - b * d};
    const float det = a * cof[0] + b * cof[1] + c * cof[2];
    const float scale = det != 0.0f ? 1.0f / det : 1.0f;
    // Row r of the inverse transpose is row r of the cofactor matrix; stored by columns.
    for (int r = 0; r < 3; ++r)
        for (int col = 0; col < 3; ++col) out[col * 3 + r] = cof[r * 3 + col] * scale;
}

void uploadLights(const Program& p) {
    float ambient[32], diffuse[32], specular[32], position[32], spotValues[32], attenuation[32];
    for (size_t i = 0; i < context.lights.size(); ++i) {
        const Light& l = context.lights[i];
        float* pos = position + 4 * i;
        std::memcpy(ambient + 4 * i, l.ambient, 16);
        std::memcpy(diffuse + 4 * i, l.diffuse, 16);
        std::memcpy(specular + 4 * i, l.specular, 16);
        const float w = l.eyePosition[3];
        const float scale = w != 0.0f ? 1.0f / w : 1.0f;
        for (int k = 0; k < 3; ++k) pos[k] = l.eyePosition[k] * scale;
        pos[3] = 1.0f;
        if (w == 0.0f) {
            const float len = std::sqrt(pos[0] * pos[0] + pos[1] * pos[1] + pos[2] * pos[2]);
            for (int k = 0; k < 3 && len > 0.0f; ++k) pos[k] /= len;
        }
        const float* dir = l.eyeSpotDirection;
        const float len = std::sqrt(dir[0] * dir[0] + dir[1] * dir[1] + dir[2] * dir[2]);
        for (int k = 0; k < 3; ++k) spotValues[4 * i + k] = len > 0.0f ? dir[k] / len : 0.0f;
        spotValues[4 * i + 3] = static_cast<float>(std::cos(l.spotCutoff * M_PI / 180.0));
        std::memcpy(attenuation + 4 * i, l.attenuation, 12);
        attenuation[4 * i + 3] = l.spotExponent;
    }
    glUniform4fv(p.lightAmbient, 8, ambient);
    glUniform4fv(p.lightDiffuse, 8, diffuse);
    glUniform4fv(p.lightSpecular, 8, specular);
    glUniform4fv(p.lightPosition, 8, position);
    glUniform4fv(p.lightSpot, 8, spotValues);
    glUniform4fv(p.lightAttenuation, 8, attenuation);
    glUniform4fv(p.sceneAmbient, 1, context.sceneAmbient);
    const Material& m = context.material;
    float material[20] = {};
    std::memcpy(material, m.ambient, 16);
    std::memcpy(material + 4, m.diffuse, 16);
    std::memcpy(material + 8, m.specular, 16);
    std::memcpy(material + 12, m.emission, 16);
    material[16] = m.shininess;
    glUniform4fv(p.material, 5, material);
}

// The matrix taking (window x, window y, 1, 0) to the homogeneous eye-space
// point of that pixel at normalised depth -1, its column 3 half the step to
// depth 1: the inverse projection after the viewport's inverse.
const Matrix& windowToEye() {
    const Matrix& projection = context.projection.entries[static_cast<size_t>(context.projection.top)];
    const GLint* v = context.viewport;
    if (std::memcmp(&projection, &context.windowToEyeProjection, sizeof projection) == 0 &&
        std::memcmp(v, context.windowToEyeViewport, sizeof context.windowToEyeViewport) == 0)
        return context.windowToEye;
    context.windowToEyeProjection = projection;
    std::memcpy(context.windowToEyeViewport, v, sizeof context.windowToEyeViewport);
    const Matrix in = inverse(projection);
    // ndc = window * (2 / size) - (2 * origin / size + 1)
    const float sx = v[2] > 0 ? 2.0f / static_cast<float>(v[2]) : 0.0f;
    const float sy = v[3] > 0 ? 2.0f / static_cast<float>(v[3]) : 0.0f;
    const float ox = -(static_cast<float>(v[0]) * sx + 1.0f), oy = -(static_cast<float>(v[1]) * sy + 1.0f);
    Matrix& out = context.windowToEye;
    for (int row = 0; row < 4; ++row) {
        const float c0 = in.m[row], c1 = in.m[4 + row], c2 = in.m[8 + row], c3 = in.m[12 + row];
        out.m[row] = c0 * sx;
        out.m[4 + row] = c1 * sy;
        out.m[8 + row] = c0 * ox + c1 * oy + c3 - c2;
        out.m[12 + row] = c2;
    }
    return out;
}

void upload(const Program& p) {
    const Matrix& mv = context.modelView.entries[static_cast<size_t>(context.modelView.top)];
    glUniformMatrix4fv(p.modelView, 1, GL_FALSE, mv.m);
    glUniformMatrix4fv(p.projection, 1, GL_FALSE,
                       context.projection.entries[static_cast<size_t>(context.projection.top)].m);
    float nm[9];
    normalMatrix(mv, nm);
    glUniformMatrix3fv(p.normalMatrix, 1, GL_FALSE, nm);
    if (p.key & kLighting) uploadLights(p);
    const float range = context.fogEnd - context.fogStart;
    glUniform4f(p.fog, context.fogStart, context.fogEnd, context.fogDensity, range != 0.0f ? 1.0f / range : 0.0f);
    glUniform4fv(p.fogColor, 1, context.fogColor);
    glUniform1i(p.sampler, 0);
    if (p.key & kExplicitLevel) {
        glUniform2f(p.textureSize, context.bound.width, context.bound.height);
        glUniformMatrix4fv(p.windowToEye, 1, GL_FALSE, windowToEye().m);
    }
}

}  // namespace

const Program* useProgram() {
    const uint32_t key = stateKey();
    Program* found = nullptr;
    for (Program& p : context.programs)
        if (p.key == key) found = &p;
    if (!found) {
        context.programs.push_back(build(key));
        found = &context.programs.back();
        context.current = nullptr;  // the vector may have moved
    }
    if (found->id == 0) return nullptr;
    if (context.current != found) {
        glUseProgram(found->id);
        context.current = found;
    }
    if (found->seen != context.serial) {
        upload(*found);
        found->seen = context.serial;
    }
    return found;
}

void releasePrograms() {
    for (const Program& p : context.programs)
        if (p.id) glDeleteProgram(p.id);
    context.programs.clear();
    context.current = nullptr;
}

}  // namespace gl11

int gl11ProgramCount(void) { return static_cast<int>(gl11::context.programs.size()); }
