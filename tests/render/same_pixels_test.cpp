// The renderer's faster ways of working give the results of the plain way:
// an overlay that cannot add anything sends no rectangle, an object goes out
// as one indexed draw, and the sprites of a particle system as one block --
// each compared, byte for byte, with the straightforward immediate-mode
// drawing on a real Mesa context, leaving the same current values behind;
// and the vortex turns a whole object with each ring's sines and cosines
// worked out once, bit for bit as turning vertex by vertex.
#include <cmath>
#include <cstring>

#include "render_fixture.h"

namespace {

using Pixels = std::vector<uint8_t>;

// A mipmapped picture with a colour ramp, so that texture coordinates show;
// RGB like the show's pictures, or RGBA (opaque).
GLuint rampTexture(int slot, GLint components = 3) {
    std::vector<uint8_t> texels;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            texels.insert(texels.end(), {uint8_t(x * 8), uint8_t(y * 8), uint8_t((x ^ y) * 8), 255});
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    gluBuild2DMipmaps(GL_TEXTURE_2D, components, 32, 32, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glBindTexture(GL_TEXTURE_2D, 0);
    TextureTable[static_cast<size_t>(slot)] = name;
    return name;
}

// A bumpy sheet of n x n cells with varied normals, placed away from its
// origin, plus one face that names a vertex that does not exist.
SceneObject& addSheet(Scene& scene, int n, float size, int32_t textureId) {
    SceneObject& o = scene.addObject();
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n; ++i) {
            MeshVertex v;
            const float x = size * (float(i) / n - 0.5f), y = size * (float(j) / n - 0.5f);
            v.position.setVec3(x, y, 0.3f * std::sin(3.0f * x) * std::cos(2.0f * y), 0.0f);
            v.basePosition = v.position;
            v.normal.setVec3(0.3f * std::cos(3.0f * x), 0.2f * std::sin(2.0f * y), 1.0f, 0.0f);
            v.normal.normalize();
            v.u = float(i) / 4, v.v = float(j) / 4;
            o.vertices.push_back(v);
        }
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            const uint32_t k = uint32_t(j * (n + 1) + i), up = k + uint32_t(n) + 1;
            o.faces.push_back(MeshFace{{k, k + 1, up}, {}});
            o.faces.push_back(MeshFace{{k + 1, up + 1, up}, {}});
        }
    o.faces.insert(o.faces.begin() + static_cast<std::ptrdiff_t>(o.faces.size() / 2),
                   MeshFace{{0, 1, uint32_t(o.vertices.size())}, {}});
    o.ringTable.assign(1, Vec3{});
    o.textureId = textureId;
    return o;
}

// drawScene as it sends triangles one glVertex call per corner.
void drawSceneImmediate(Scene& scene) {
    beginSceneFrame(scene);
    gluLookAt(scene.cameraPosition.x, scene.cameraPosition.y, scene.cameraPosition.z, scene.cameraTarget.x,
              scene.cameraTarget.y, scene.cameraTarget.z, 0.0, 1.0, 0.0);
    for (const auto& owned : scene.objects) {
        SceneObject& o = *owned;
        glPushMatrix();
        if (o.visible) {
            applyObjectSettings(o);
            glRotatef(o.rotation.x, 1.0f, 0.0f, 0.0f);
            glRotatef(o.rotation.y, 0.0f, 1.0f, 0.0f);
            glRotatef(o.rotation.z, 0.0f, 0.0f, 1.0f);
            const size_t count = o.vertices.size();
            glBegin(GL_TRIANGLES);
            for (const MeshFace& f : o.faces) {
                if (f.index[0] >= count || f.index[1] >= count || f.index[2] >= count) continue;
                for (uint32_t index : f.index) {
                    const MeshVertex& v = o.vertices[index];
                    glNormal3f(v.normal.x, v.normal.y, v.normal.z);
                    glTexCoord2f(v.u, v.v);
                    glVertex3f(v.position.x + o.position.x, v.position.y + o.position.y,
                               v.position.z + o.position.z);
                }
            }
            glEnd();
        }
        glPopMatrix();
    }
    for (const OmniLight& light : scene.omniLights) setupOmniLight(light);
    endSceneFrame(scene);
}

std::array<float, 6> currentNormalAndTexCoord() {
    GLfloat n[3], t[4];
    glGetFloatv(GL_CURRENT_NORMAL, n);
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, t);
    return {n[0], n[1], n[2], t[0], t[1], t[2]};
}

// Current values no drawing here leaves, to see which ones a draw does leave.
void unlikelyCurrentValues() {
    glNormal3f(9.0f, 8.0f, 7.0f);
    glTexCoord2f(6.0f, 5.0f);
}

size_t differingBytes(const Pixels& a, const Pixels& b) {
    size_t n = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) n += a[i] != b[i];
    return n + (a.size() > b.size() ? a.size() - b.size() : b.size() - a.size());
}

TEST_F(RenderTest, ObjectsSentAsOneIndexedDrawGiveTheImmediateModePixels) {
    rampTexture(2);
    rampTexture(3);
    Scene scene;
    scene.cameraPosition.setVec3(0.5f, 1.5f, 4.0f, 0.0f);
    scene.clearColorBuffer = scene.clearDepth = true;
    scene.clearColor = rgba(0.1f, 0.1f, 0.2f, 0.5f);
    scene.lightingEnabled = scene.fogEnabled = true;
    scene.fogStart = 2;
    scene.fogEnd = 9;
    scene.fogColor = rgba(0.3f, 0.2f, 0.1f);
    scene.addOmniLight(1, 2, 3, 1, rgba(0.2f, 0.2f, 0.2f), rgba(1, 0.9f, 0.8f), rgba(1, 1, 1), 0, 0.0f);
    SceneObject& sheet = addSheet(scene, 40, 4.0f, 2);
    sheet.position.setVec3(0.2f, -0.3f, -0.5f, 0.0f);
    sheet.rotation.setVec3(-30.0f, 10.0f, 5.0f, 0.0f);
    sheet.materialSpecular = rgba(0.6f, 0.6f, 0.6f);
    sheet.shininess = 20.0f;
    SceneObject& chrome = addSheet(scene, 12, 1.5f, 3);
    chrome.position.setVec3(-0.4f, 0.6f, 0.8f, 0.0f);
    chrome.shading = SHADING_ENVMAPPING;
    chrome.blend = true;

    // The lights reach the GL after the objects: compare second frames.
    unlikelyCurrentValues();
    drawSceneImmediate(scene);
    drawSceneImmediate(scene);
    const Pixels immediate = gl.readPixels();
    const auto immediateLeft = currentNormalAndTexCoord();
    unlikelyCurrentValues();
    drawScene(scene);
    drawScene(scene);
    const Pixels indexed = gl.readPixels();

    EXPECT_EQ(differingBytes(immediate, indexed), 0u);
    EXPECT_NE(immediate, Pixels(immediate.size(), immediate[0])) << "the frame shows something";
    EXPECT_EQ(currentNormalAndTexCoord(), immediateLeft);
    for (GLenum array : {GL_VERTEX_ARRAY, GL_NORMAL_ARRAY, GL_TEXTURE_COORD_ARRAY})
        EXPECT_FALSE(enabled(array)) << std::hex << array;
}

TEST_F(RenderTest, SpritesSentAsOneBlockGiveThePixelsOfOneBillboardEach) {
    rampTexture(1);
    ParticleSystem system(64);
    resetParticles(system);
    system.rotation.setVec3(10.0f, 20.0f, 5.0f, 0.0f);
    for (int i = 0; i < 60; ++i) {
        Vec3 at, velocity;
        at.setVec3(0.1f * float(i % 7) - 0.3f, 0.07f * float(i % 5) - 0.2f, -0.05f * float(i % 9), 0.0f);
        velocity.setVec3(0.3f * std::sin(float(i)), 0.2f * std::cos(float(i)), 0.1f, 0.0f);
        spawnParticle(system, at, velocity, 0.2f + 0.01f * float(i % 10), 0.002f * float(i % 4), float(i % 6));
    }
    spawnParticle(system, Vec3{}, Vec3{}, 0.1f, 1.0f, 0.0f);  // past its end: drawn mirrored, then freed
    ParticleSystem copy = system;
    const float now = 3.0f;
    const auto frameStart = [] {
        clearAll();
        glLoadIdentity();
        gluLookAt(0.2, 0.4, 2.5, 0, 0, 0, 0, 1, 0);
    };

    frameStart();
    unlikelyCurrentValues();
    glDepthMask(GL_FALSE);
    glEnable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glBindTexture(GL_TEXTURE_2D, textureName(copy.textureId));
    glRotatef(copy.rotation.x, 1.0f, 0.0f, 0.0f);
    glRotatef(copy.rotation.y, 0.0f, 1.0f, 0.0f);
    glRotatef(copy.rotation.z, 0.0f, 0.0f, 1.0f);
    for (Particle& p : copy.particles) {
        if (p.alive != 1) continue;
        const float age = now - p.birthTime, travel = age * 0.1f;
        Vec3 centre;
        centre.setVec3(p.position.x + p.velocity.x * travel, p.position.y + p.velocity.y * travel,
                       p.position.z + p.velocity.z * travel, 0.0f);
        const float size = p.startSize - age * p.shrinkRate;
        if (size < 0.0f) p.alive = 0;
        drawBillboard(centre, size);
    }
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);
    const Pixels oneEach = gl.readPixels();
    const auto oneEachLeft = currentNormalAndTexCoord();

    frameStart();
    unlikelyCurrentValues();
    drawParticles(system, now);
    retireParticles(system, now);
    const Pixels oneBlock = gl.readPixels();

    EXPECT_EQ(differingBytes(oneEach, oneBlock), 0u);
    EXPECT_NE(oneEach, Pixels(oneEach.size(), 0)) << "the sprites show";
    EXPECT_EQ(currentNormalAndTexCoord(), oneEachLeft);
    for (size_t i = 0; i < system.particles.size(); ++i)
        EXPECT_EQ(system.particles[i].alive, copy.particles[i].alive) << i;
    EXPECT_EQ(system.particles[60].alive, 0);
}

// The overlay rectangle drawn by hand, as drawOverlayAt sends it.
void handDrawnOverlay(int32_t textureId, float depth) {
    glLoadIdentity();
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glBindTexture(GL_TEXTURE_2D, textureName(textureId));
    glTranslatef(0.0f, 0.0f, depth);
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 0.0f, 1.0f);
    for (auto [s, t] : {std::pair{0.0f, 0.0f}, {1.0f, 0.0f}, {1.0f, 1.0f}, {0.0f, 1.0f}}) {
        glTexCoord2f(s, t);
        glVertex3f((2 * s - 1) * (40.0f / 3.0f), (2 * t - 1) * 10.0f, 10.0f);
    }
    glEnd();
    glLoadIdentity();
    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
}

TEST_F(RenderTest, OverlayThatAddsNothingLeavesThePixelsAndStateOfADrawnOne) {
    rampTexture(2);
    // With an alpha channel, so that a replacing texture environment takes
    // its alpha from the picture.
    const GLuint picture = rampTexture(19, 4);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    // A background that is not one colour: a sheet drawn over a clear.
    Scene scene;
    scene.cameraPosition.setVec3(0.0f, 0.0f, 3.0f, 0.0f);
    scene.clearColorBuffer = scene.clearDepth = true;
    scene.clearColor = rgba(0.2f, 0.3f, 0.4f, 0.5f);
    addSheet(scene, 8, 3.0f, 2);
    const auto background = [&] {
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);  // the unlit sheet takes the current colour
        drawScene(scene);
    };
    background();
    const Pixels before = gl.readPixels();
    ASSERT_NE(before, Pixels(before.size(), before[0]));

    struct Case {
        GLenum source, destination, envMode;
        float alpha;
        bool addsNothing;
    };
    const Case cases[] = {
        {GL_SRC_ALPHA, GL_ONE, GL_MODULATE, 0.0f, true},
        {GL_SRC_ALPHA, GL_ONE, GL_MODULATE, -0.7f, true},
        {GL_SRC_ALPHA, GL_ONE, GL_MODULATE, 0.02f, false},
        {GL_DST_COLOR, GL_ONE_MINUS_SRC_ALPHA, GL_MODULATE, 0.0f, false},
        {GL_SRC_ALPHA, GL_ONE, GL_REPLACE, 0.0f, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << std::hex << c.source << " " << c.destination << " "
                                          << c.envMode << " alpha " << c.alpha);
        glBlendFunc(c.source, c.destination);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, static_cast<GLint>(c.envMode));
        background();
        glColor4f(0.5f, 1.0f, 1.0f, c.alpha);
        handDrawnOverlay(19, -20.0f);
        const Pixels drawn = gl.readPixels();
        const auto drawnLeft = currentNormalAndTexCoord();

        background();
        glColor4f(0.5f, 1.0f, 1.0f, c.alpha);
        glTranslatef(1, 2, 3);
        unlikelyCurrentValues();
        drawOverlay(19, -20.0f);
        EXPECT_EQ(differingBytes(gl.readPixels(), drawn), 0u);
        EXPECT_EQ(differingBytes(drawn, before) == 0, c.addsNothing);
        // What a drawn overlay leaves, left by a skipped one too.
        EXPECT_EQ(currentNormalAndTexCoord(), drawnLeft);
        EXPECT_TRUE(enabled(GL_LIGHTING) && enabled(GL_DEPTH_TEST) && !enabled(GL_BLEND));
        EXPECT_EQ(boundTexture(), picture);
        EXPECT_EQ(glInteger(GL_MODELVIEW_STACK_DEPTH), 1);
        EXPECT_EQ(modelview(), (std::array<float, 16>{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}));
    }
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
}

TEST(Vortex, TurningAWholeObjectMatchesTurningEachVertex) {
    Scene scene;
    SceneObject& a = addSheet(scene, 9, 3.0f, 0);
    a.assignRings(4.0f, Vec3{});
    ASSERT_GT(a.maxRing, 3);
    for (size_t r = 0; r < a.ringTable.size(); ++r)
        a.ringTable[r].setVec3(0.3f * float(r), -0.11f * float(r), 0.05f + 0.7f * float(r % 3), 0.0f);
    a.vertices[3].ring = -1;                          // outside the table: left alone
    a.vertices[4].ring = a.maxRing + 1;               // likewise
    a.ringTable.resize(static_cast<size_t>(a.maxRing));  // the last ring has no angles
    SceneObject& b = scene.addObject();
    b.vertices = a.vertices;
    b.ringTable = a.ringTable;
    b.maxRing = a.maxRing;

    for (int pass = 0; pass < 3; ++pass) {  // the turns build up
        for (MeshVertex& v : a.vertices) rotateByRing(a, v);
        rotateAllByRing(b);
    }
    size_t turned = 0;
    for (size_t i = 0; i < a.vertices.size(); ++i) {
        const MeshVertex &x = a.vertices[i], &y = b.vertices[i];
        EXPECT_EQ(std::memcmp(&x, &y, sizeof x), 0) << "vertex " << i;
        turned += x.position.x != x.basePosition.x;
    }
    EXPECT_GT(turned, a.vertices.size() / 2);
    EXPECT_EQ(b.vertices[3].position.x, b.vertices[3].basePosition.x);
}

}  // namespace
