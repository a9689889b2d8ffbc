// The draws of draws.h, written once for both GLs. They use the calls the
// show makes, in the combinations it makes them: lit meshes under
// positional, directional and spot lights with attenuation, materials with
// specular highlights, colour material, linear fog over a receding
// textured floor, sphere-mapped objects, the show's blend functions under
// a tinted, faded picture, depth writes and tests, culling of either face,
// mipmaps of a scaled picture, nested matrices and camera-facing quads, and
// indexed client arrays as the scene drawing sends them.
#include "tests/gl11/draws.h"

#include "platform/gl.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace DRAWS_NAMESPACE {

namespace {

void view() {
    glViewport(0, 0, kDrawWidth, kDrawHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, 4.0 / 3.0, 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0.0, 2.0, 5.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glClearColor(0.1f, 0.1f, 0.2f, 1.0f);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

// A floor of n x n quads as triangles at height y, normals up, texture
// coordinates repeating `repeat` times.
void floorGrid(int n, float half, float y, float repeat) {
    glBegin(GL_TRIANGLES);
    const auto corner = [&](int i, int j) {
        const float u = static_cast<float>(i) / static_cast<float>(n), v = static_cast<float>(j) / static_cast<float>(n);
        glNormal3f(0.0f, 1.0f, 0.0f);
        glTexCoord2f(u * repeat, v * repeat);
        glVertex3f(-half + 2 * half * u, y, half - 2 * half * v);
    };
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            corner(i, j), corner(i + 1, j), corner(i + 1, j + 1);
            corner(i, j), corner(i + 1, j + 1), corner(i, j + 1);
        }
    glEnd();
}

// A sphere of triangles centred at (cx, cy, cz), outward normals; the vertex
// colour follows the latitude when `colours` is set.
void sphere(float cx, float cy, float cz, float r, bool colours) {
    constexpr int kSlices = 24, kStacks = 16;
    glBegin(GL_TRIANGLES);
    const auto corner = [&](int i, int j) {
        const double theta = M_PI * j / kStacks, phi = 2 * M_PI * i / kSlices;
        const auto x = static_cast<float>(std::sin(theta) * std::cos(phi));
        const auto y = static_cast<float>(std::cos(theta));
        const auto z = static_cast<float>(std::sin(theta) * std::sin(phi));
        if (colours) glColor4f(0.5f + 0.5f * y, 0.3f, 0.5f - 0.5f * y, 1.0f);
        glNormal3f(x, y, z);
        glTexCoord2f(static_cast<float>(i) / kSlices, static_cast<float>(j) / kStacks);
        glVertex3f(cx + r * x, cy + r * y, cz + r * z);
    };
    for (int i = 0; i < kSlices; ++i)
        for (int j = 0; j < kStacks; ++j) {
            corner(i, j), corner(i, j + 1), corner(i + 1, j + 1);
            corner(i, j), corner(i + 1, j + 1), corner(i + 1, j);
        }
    glEnd();
}

// A square picture: coloured stripes and a fine checker, with the show's
// texture parameters and mipmaps. Sides that are not powers of two are
// scaled first, as the texture table does.
GLuint picture(int width, int height) {
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &rgb[(static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3];
            const bool check = ((x / 2) + (y / 2)) % 2 == 0;
            p[0] = static_cast<uint8_t>(x * 255 / width);
            p[1] = check ? 230 : 40;
            p[2] = static_cast<uint8_t>(y * 255 / height);
        }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLfloat>(GL_REPEAT));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLfloat>(GL_REPEAT));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLfloat>(GL_LINEAR));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLfloat>(GL_LINEAR_MIPMAP_NEAREST));
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    int w = 1, h = 1;
    while (w * 2 <= width) w *= 2;
    while (h * 2 <= height) h *= 2;
    if (w == width && h == height) {
        gluBuild2DMipmaps(GL_TEXTURE_2D, 3, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    } else {
        std::vector<uint8_t> scaled(static_cast<size_t>(w) * static_cast<size_t>(h) * 3);
        gluScaleImage(GL_RGB, width, height, GL_UNSIGNED_BYTE, rgb.data(), w, h, GL_UNSIGNED_BYTE, scaled.data());
        gluBuild2DMipmaps(GL_TEXTURE_2D, 3, w, h, GL_RGB, GL_UNSIGNED_BYTE, scaled.data());
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return name;
}

void light(GLenum l, const GLfloat position[4], const GLfloat ambient[4], const GLfloat diffuse[4],
           const GLfloat specular[4]) {
    glLightfv(l, GL_AMBIENT, ambient);
    glLightfv(l, GL_DIFFUSE, diffuse);
    glLightfv(l, GL_SPECULAR, specular);
    glLightfv(l, GL_POSITION, position);
    glEnable(l);
}

void material(const GLfloat ambient[4], const GLfloat diffuse[4], const GLfloat specular[4], GLfloat shininess) {
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, shininess);
}

const GLfloat kBlack[4] = {0, 0, 0, 1};
const GLfloat kGrey[4] = {0.3f, 0.3f, 0.3f, 1};
const GLfloat kWhite[4] = {1, 1, 1, 1};

void spotsAndAttenuation() {
    view();
    glEnable(GL_LIGHTING);
    const GLfloat spotAt[4] = {-1.0f, 2.5f, 0.5f, 1.0f}, red[4] = {1.0f, 0.3f, 0.2f, 1.0f};
    light(GL_LIGHT0, spotAt, kBlack, red, kWhite);
    const GLfloat down[3] = {0.3f, -1.0f, -0.2f};
    glLightfv(GL_LIGHT0, GL_SPOT_DIRECTION, down);
    glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, 35.0f);
    glLightf(GL_LIGHT0, GL_SPOT_EXPONENT, 6.0f);
    glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, 0.15f);
    const GLfloat spot2At[4] = {1.5f, 3.0f, 1.0f, 2.0f}, green[4] = {0.2f, 1.0f, 0.4f, 1.0f};
    light(GL_LIGHT0 + 1, spot2At, kBlack, green, kBlack);  // w = 2: placed at half these coordinates
    const GLfloat down2[3] = {0.0f, -1.0f, 0.0f};
    glLightfv(GL_LIGHT0 + 1, GL_SPOT_DIRECTION, down2);
    glLightf(GL_LIGHT0 + 1, GL_SPOT_CUTOFF, 50.0f);
    glLightf(GL_LIGHT0 + 1, GL_QUADRATIC_ATTENUATION, 0.3f);
    const GLfloat sun[4] = {0.5f, 1.0f, 0.8f, 0.0f}, blue[4] = {0.1f, 0.2f, 0.5f, 1.0f};
    light(GL_LIGHT0 + 2, sun, kGrey, blue, kWhite);
    const GLfloat lampAt[4] = {0.0f, 0.8f, 1.8f, 1.0f}, warm[4] = {0.6f, 0.5f, 0.2f, 1.0f};
    light(GL_LIGHT0 + 5, lampAt, kBlack, warm, warm);
    glLightf(GL_LIGHT0 + 5, GL_CONSTANT_ATTENUATION, 0.5f);
    glLightf(GL_LIGHT0 + 5, GL_LINEAR_ATTENUATION, 0.4f);
    const GLfloat ambient[4] = {0.2f, 0.2f, 0.25f, 1}, diffuse[4] = {0.9f, 0.9f, 0.8f, 1};
    material(ambient, diffuse, kWhite, 30.0f);
    floorGrid(32, 3.0f, -1.0f, 1.0f);
    const GLfloat shiny[4] = {0.8f, 0.8f, 0.8f, 1};
    material(kGrey, diffuse, shiny, 8.0f);
    sphere(0.3f, 0.0f, 0.0f, 0.9f, false);
}

void materialsAndColourMaterial() {
    view();
    glEnable(GL_LIGHTING);
    const GLfloat at[4] = {2.0f, 3.0f, 3.0f, 1.0f};
    light(GL_LIGHT0, at, kGrey, kWhite, kWhite);
    const GLfloat ambient[4] = {0.1f, 0.0f, 0.2f, 1}, diffuse[4] = {0.2f, 0.5f, 0.9f, 0.6f},
                  specular[4] = {1.0f, 0.9f, 0.5f, 1};
    material(ambient, diffuse, specular, 64.0f);
    sphere(-1.1f, 0.0f, 0.0f, 0.9f, false);
    glEnable(GL_COLOR_MATERIAL);
    material(ambient, diffuse, specular, 4.0f);
    sphere(1.1f, 0.0f, 0.0f, 0.9f, true);
    glDisable(GL_COLOR_MATERIAL);
    const GLfloat both[4] = {0.9f, 0.7f, 0.1f, 1}, glow[4] = {0.1f, 0.0f, 0.3f, 1};
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, both);
    glMaterialfv(GL_FRONT, GL_EMISSION, glow);
    glMaterialfv(GL_BACK, GL_DIFFUSE, kBlack);  // one-sided lighting: no effect
    sphere(0.0f, 1.2f, -0.8f, 0.6f, false);
}

void linearFogOverTexture() {
    view();
    glEnable(GL_TEXTURE_2D);
    picture(64, 64);
    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    const GLfloat fogColour[4] = {0.5f, 0.4f, 0.3f, 1};
    glFogfv(GL_FOG_COLOR, fogColour);
    glFogf(GL_FOG_START, 3.0f);
    glFogf(GL_FOG_END, 12.0f);
    glHint(GL_FOG_HINT, GL_NICEST);
    glColor3f(0.9f, 1.0f, 0.8f);
    floorGrid(16, 12.0f, -1.0f, 6.0f);
    sphere(0.0f, 0.2f, -4.0f, 1.2f, false);
}

void sphereMapLit() {
    view();
    glEnable(GL_TEXTURE_2D);
    picture(32, 32);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glEnable(GL_LIGHTING);
    const GLfloat at[4] = {-2.0f, 2.0f, 4.0f, 1.0f};
    light(GL_LIGHT0, at, kGrey, kWhite, kWhite);
    const GLfloat diffuse[4] = {0.9f, 0.8f, 0.7f, 1};
    material(kGrey, diffuse, kWhite, 16.0f);
    glPushMatrix();
    glRotatef(25.0f, 0.3f, 1.0f, 0.2f);
    sphere(-1.0f, 0.0f, 0.0f, 1.0f, false);
    glPopMatrix();
    glDisable(GL_LIGHTING);
    sphere(1.2f, 0.0f, 0.5f, 0.8f, false);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
}

void quad(float x0, float y0, float x1, float y1, float z) {
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(x0, y0, z);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(x1, y0, z);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(x1, y1, z);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(x0, y1, z);
    glEnd();
}

void blendFunctions() {
    view();
    glEnable(GL_TEXTURE_2D);
    picture(64, 64);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    quad(-3.0f, -2.0f, 3.0f, 2.0f, -1.0f);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    const GLenum functions[4][2] = {{GL_SRC_ALPHA, GL_ONE},
                                    {GL_DST_COLOR, GL_ONE_MINUS_SRC_ALPHA},
                                    {GL_DST_COLOR, GL_ONE_MINUS_DST_ALPHA},
                                    {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA}};
    for (int i = 0; i < 4; ++i) {
        glBlendFunc(functions[i][0], functions[i][1]);
        glColor4f(0.9f, 0.6f - 0.1f * static_cast<float>(i), 0.3f + 0.2f * static_cast<float>(i),
                  0.25f + 0.2f * static_cast<float>(i));
        const float x = -2.6f + 1.35f * static_cast<float>(i);
        quad(x, -1.5f, x + 1.6f, 1.5f, 0.0f);
    }
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glColor4f(1.0f, 1.0f, 1.0f, -0.5f);  // alpha below 0 clamps to nothing added
    quad(-3.0f, -2.0f, 3.0f, 2.0f, 0.5f);
    glColor4f(0.2f, 0.2f, 0.9f, 1.5f);   // above 1 clamps to 1
    quad(-0.5f, -0.5f, 0.5f, 0.5f, 0.6f);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}

void depthAndCulling() {
    view();
    glColor3f(0.8f, 0.3f, 0.3f);
    quad(-2.0f, -1.0f, 1.0f, 1.5f, 0.0f);
    glDepthMask(GL_FALSE);
    glColor3f(0.3f, 0.8f, 0.3f);
    glPushMatrix();
    glRotatef(50.0f, 0.0f, 1.0f, 0.0f);
    quad(-1.5f, -1.2f, 1.5f, 1.0f, 0.0f);  // cuts through the red one, writes no depth
    glPopMatrix();
    glDepthMask(GL_TRUE);
    glColor3f(0.3f, 0.3f, 0.9f);
    quad(-0.5f, -2.0f, 2.5f, 0.0f, -0.5f);  // behind the red one where they overlap
    glDisable(GL_DEPTH_TEST);
    glColor3f(0.9f, 0.9f, 0.2f);
    quad(1.5f, 0.8f, 2.5f, 1.8f, -3.0f);  // far away, drawn over everything
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glColor3f(0.9f, 0.5f, 0.9f);
    sphere(-2.2f, -1.2f, 0.8f, 0.6f, false);  // the outside shows
    glCullFace(GL_FRONT);
    glColor3f(0.5f, 0.9f, 0.9f);
    sphere(2.4f, -1.2f, 0.8f, 0.6f, false);  // the inside shows
    glDisable(GL_CULL_FACE);
}

void mipmapsOfScaledPicture() {
    view();
    glEnable(GL_TEXTURE_2D);
    picture(96, 80);  // scaled to 64 x 64 first
    glColor3f(1.0f, 1.0f, 1.0f);
    floorGrid(4, 20.0f, -1.0f, 24.0f);
    quad(-1.0f, -0.5f, 1.0f, 1.5f, -1.0f);
}

// Camera-facing quads as the flares draw them: the model-view matrix read back.
void billboard(float cx, float cy, float cz, float s) {
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    const float rx = m[0], ry = m[4], rz = m[8], ux = m[1], uy = m[5], uz = m[9];
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(cx + s * (-rx - ux), cy + s * (-ry - uy), cz + s * (-rz - uz));
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(cx + s * (rx - ux), cy + s * (ry - uy), cz + s * (rz - uz));
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(cx + s * (rx + ux), cy + s * (ry + uy), cz + s * (rz + uz));
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(cx + s * (ux - rx), cy + s * (uy - ry), cz + s * (uz - rz));
    glEnd();
}

void matrixStacks() {
    view();
    glEnable(GL_TEXTURE_2D);
    picture(16, 16);
    for (int i = 0; i < 6; ++i) {
        glPushMatrix();
        glRotatef(60.0f * static_cast<float>(i), 0.0f, 1.0f, 0.0f);
        glTranslatef(1.8f, 0.0f, 0.0f);
        glRotatef(20.0f * static_cast<float>(i), 1.0f, 0.5f, 0.0f);
        glColor3f(0.4f + 0.1f * static_cast<float>(i), 0.8f, 1.0f - 0.1f * static_cast<float>(i));
        quad(-0.7f, -0.7f, 0.7f, 0.7f, 0.0f);
        glPushMatrix();
        glTranslatef(0.0f, 0.9f, 0.0f);
        billboard(0.0f, 0.0f, 0.0f, 0.4f);
        glPopMatrix();
        glPopMatrix();
    }
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(90.0, 4.0 / 3.0, 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glColor3f(1.0f, 0.5f, 0.2f);
    quad(-13.3f, 8.0f, -9.0f, 10.0f, -10.0f);  // an eye-space strip at the top left
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

// The scene drawing's way: one indexed triangle list from interleaved
// client arrays, 32-bit indices, the current colour for every vertex.
void clientArrays() {
    view();
    glEnable(GL_LIGHTING);
    const GLfloat at[4] = {1.0f, 3.0f, 2.0f, 1.0f};
    light(GL_LIGHT0, at, kGrey, kWhite, kWhite);
    const GLfloat diffuse[4] = {0.8f, 0.6f, 0.3f, 1};
    material(kGrey, diffuse, kWhite, 12.0f);
    struct Corner {
        float position[3], normal[3], texCoord[2];
    };
    constexpr int kSide = 12;
    std::vector<Corner> corners;
    std::vector<uint32_t> indices;
    for (int j = 0; j <= kSide; ++j)
        for (int i = 0; i <= kSide; ++i) {
            const float x = -2.5f + 5.0f * static_cast<float>(i) / kSide, z = 2.0f - 4.0f * static_cast<float>(j) / kSide;
            const float y = 0.4f * std::sin(2.0f * x) * std::cos(1.5f * z);
            const float dx = 0.8f * std::cos(2.0f * x) * std::cos(1.5f * z), dz = -0.6f * std::sin(2.0f * x) * std::sin(1.5f * z);
            const float len = std::sqrt(dx * dx + 1.0f + dz * dz);
            corners.push_back({{x, y, z}, {-dx / len, 1.0f / len, -dz / len}, {static_cast<float>(i) / kSide, 0.0f}});
        }
    for (uint32_t j = 0; j < kSide; ++j)
        for (uint32_t i = 0; i < kSide; ++i) {
            const uint32_t a = j * (kSide + 1) + i, b = a + 1, c = a + kSide + 1, d = c + 1;
            indices.insert(indices.end(), {a, b, d, a, d, c});
        }
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(Corner), corners[0].position);
    glNormalPointer(GL_FLOAT, sizeof(Corner), corners[0].normal);
    glTexCoordPointer(2, GL_FLOAT, sizeof(Corner), corners[0].texCoord);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_INT, indices.data());
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}

void putMatrices(std::vector<float>& out) {
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    out.insert(out.end(), m, m + 16);
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    out.insert(out.end(), m, m + 16);
}

}  // namespace

const std::vector<NamedDraw> draws = {
    {"SpotsAndAttenuation", spotsAndAttenuation},
    {"MaterialsAndColourMaterial", materialsAndColourMaterial},
    {"LinearFogOverTexture", linearFogOverTexture},
    {"SphereMapLit", sphereMapLit},
    {"BlendFunctions", blendFunctions},
    {"DepthAndCulling", depthAndCulling},
    {"MipmapsOfScaledPicture", mipmapsOfScaledPicture},
    {"MatrixStacks", matrixStacks},
    {"ClientArrays", clientArrays},
};

std::vector<uint8_t> readRgb(int x, int y, int width, int height, int alignment) {
    const size_t row = (static_cast<size_t>(width) * 3 + static_cast<size_t>(alignment) - 1) /
                       static_cast<size_t>(alignment) * static_cast<size_t>(alignment);
    std::vector<uint8_t> rgb(row * static_cast<size_t>(height), 0xEE);
    glPixelStorei(GL_PACK_ALIGNMENT, alignment);
    glReadPixels(x, y, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return rgb;
}

std::vector<float> matrixQueries() {
    std::vector<float> out;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(75.0, 1.6, 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(3.0, -2.0, 7.0, 0.5, 1.0, -1.0, 0.1, 1.0, 0.0);
    putMatrices(out);
    glPushMatrix();
    glRotatef(33.0f, 1.0f, 2.0f, 3.0f);
    glTranslatef(-1.0f, 4.0f, 0.5f);
    glRotatef(-120.0f, 0.0f, 0.0f, 1.0f);
    glRotatef(10.0f, 0.0f, 0.0f, 0.0f);  // no axis: no change
    putMatrices(out);
    glPopMatrix();
    putMatrices(out);
    glColor4f(0.25f, 0.5f, 0.75f, 0.125f);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    out.insert(out.end(), colour, colour + 4);
    glColor3f(1.0f, 0.0f, 0.5f);
    glGetFloatv(GL_CURRENT_COLOR, colour);
    out.insert(out.end(), colour, colour + 4);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    out.push_back(static_cast<float>(mode));
    GLint env = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &env);
    out.push_back(static_cast<float>(env));
    const GLenum switched[] = {GL_LIGHTING, GL_LIGHT0 + 3, GL_FOG, GL_TEXTURE_2D, GL_TEXTURE_GEN_S, GL_BLEND};
    for (GLenum cap : switched) glEnable(cap);
    glDisable(GL_BLEND);
    const GLenum asked[] = {GL_LIGHTING,       GL_LIGHT0 + 3,      GL_LIGHT0 + 4, GL_FOG,        GL_TEXTURE_2D,
                            GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_BLEND,      GL_DEPTH_TEST, GL_COLOR_LOGIC_OP};
    for (GLenum cap : asked) out.push_back(glIsEnabled(cap) ? 1.0f : 0.0f);
    // What the overlays and the window read back: blend state and clear colour.
    glBlendFunc(GL_DST_COLOR, GL_ONE_MINUS_SRC_ALPHA);
    const GLenum blend[] = {GL_BLEND_SRC_RGB, GL_BLEND_SRC_ALPHA, GL_BLEND_DST_RGB, GL_BLEND_DST_ALPHA,
                            GL_BLEND_EQUATION_RGB, GL_BLEND_EQUATION_ALPHA};
    for (GLenum pname : blend) {
        GLint value = 0;
        glGetIntegerv(pname, &value);
        out.push_back(static_cast<float>(value));
    }
    glClearColor(0.5f, 0.25f, 0.125f, 0.75f);
    glGetFloatv(GL_COLOR_CLEAR_VALUE, colour);
    out.insert(out.end(), colour, colour + 4);
    out.push_back(glIsEnabled(GL_STENCIL_TEST) ? 1.0f : 0.0f);
    return out;
}

std::vector<unsigned> errorsOfBadCalls() {
    std::vector<unsigned> errors;
    const auto step = [&errors] { errors.push_back(glGetError()); };
    const GLfloat values[4] = {1, 1, 1, 1};
    step();
    glEnable(GL_LIGHT0 + 8), step();
    glLightfv(GL_LIGHT0 + 9, GL_DIFFUSE, values), step();
    glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, 120.0f), step();
    glLightf(GL_LIGHT0, GL_SPOT_EXPONENT, -1.0f), step();
    glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, -0.5f), step();
    glMaterialf(GL_FRONT, GL_SHININESS, 200.0f), step();
    glMatrixMode(GL_MODELVIEW), glLoadIdentity(), glPopMatrix(), step();
    glMatrixMode(GL_PROJECTION), glPopMatrix(), step();
    glMatrixMode(GL_MODELVIEW);
    for (int i = 0; i < 40; ++i) glPushMatrix();
    step();
    glFogf(GL_FOG_DENSITY, -1.0f), step();
    glBegin(GL_TRIANGLES), glVertex3f(0, 0, 0), glEnd(), step();
    glEnd(), step();
    glDrawElements(GL_TRIANGLES, -3, GL_UNSIGNED_INT, nullptr), step();
    glBindTexture(GL_TEXTURE_2D, 0), step();
    return errors;
}

std::vector<uint8_t> scaledImage(int width, int height, int toWidth, int toHeight) {
    std::vector<uint8_t> in(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    for (size_t i = 0; i < in.size(); ++i) in[i] = static_cast<uint8_t>((i * 37 + (i / 7) * 11) & 0xFF);
    std::vector<uint8_t> out(static_cast<size_t>(toWidth) * static_cast<size_t>(toHeight) * 3);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    gluScaleImage(GL_RGB, width, height, GL_UNSIGNED_BYTE, in.data(), toWidth, toHeight, GL_UNSIGNED_BYTE, out.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return out;
}

}  // namespace DRAWS_NAMESPACE
