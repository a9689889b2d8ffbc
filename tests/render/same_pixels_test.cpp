// The renderer's faster ways of working, held by what they must draw rather
// than by a second copy of the plain way: an object's triangles land the same
// wherever its faces and offset come from, and it leaves the last corner's
// values current; sprites sent as one block cover what one sprite each
// covers, a mirrored sprite included; an overlay that adds nothing leaves the
// pixels alone and the state of a drawn one, and a drawn one fills the whole
// 4:3 picture; and the vortex turns a whole object with each ring's sines and
// cosines worked out once, bit for bit as turning vertex by vertex. The
// show's own frames are the golden frames'.
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

// A lit, fogged scene: a textured sheet away from its origin and an
// environment-mapped, blended one over it.
void buildSheets(Scene& scene) {
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

}  // namespace

// The lights reach the GL after the objects, so each comparison draws a
// scene twice and reads the second frame.
TEST_F(RenderTest, AnObjectsTrianglesLandTheSameWhereverTheyComeFrom) {
    rampTexture(2);
    rampTexture(3);
    const auto frame = [&](const Scene& scene) {
        drawScene(scene);
        drawScene(scene);
        return gl.readPixels();
    };
    Scene scene;
    buildSheets(scene);
    unlikelyCurrentValues();
    const Pixels reference = frame(scene);
    ASSERT_NE(reference, Pixels(reference.size(), reference[0])) << "the frame shows something";

    // The last corner sent is the last corner of the last face that names
    // vertices the object has, and the arrays are off again.
    const SceneObject& chrome = *scene.objects[1];
    const MeshVertex& last = chrome.vertices[chrome.faces.back().index[2]];
    EXPECT_EQ(currentNormalAndTexCoord(),
              (std::array<float, 6>{last.normal.x, last.normal.y, last.normal.z, last.u, last.v, 0.0f}));
    for (GLenum array : {GL_VERTEX_ARRAY, GL_NORMAL_ARRAY, GL_TEXTURE_COORD_ARRAY})
        EXPECT_FALSE(enabled(array)) << std::hex << array;

    {  // The face that names a missing vertex sends nothing.
        Scene same;
        buildSheets(same);
        for (const auto& o : same.objects)
            std::erase_if(o->faces, [&](const MeshFace& f) { return f.index[2] >= o->vertices.size(); });
        EXPECT_EQ(differingBytes(frame(same), reference), 0u);
    }
    {  // The sheet's offset, added to each corner, or already in its vertices.
        Scene same;
        buildSheets(same);
        SceneObject& sheet = *same.objects[0];
        for (MeshVertex& v : sheet.vertices) {
            v.position.x += sheet.position.x;
            v.position.y += sheet.position.y;
            v.position.z += sheet.position.z;
        }
        sheet.position.setVec3(0.0f, 0.0f, 0.0f, 0.0f);
        EXPECT_EQ(differingBytes(frame(same), reference), 0u);
    }
    {  // The sheet's faces split over two objects drawn one after the other.
        Scene same;
        buildSheets(same);
        SceneObject& first = *same.objects[0];
        SceneObject& second = same.addObject();
        second = first;
        const auto half = static_cast<std::ptrdiff_t>(first.faces.size() / 3);
        first.faces.erase(first.faces.begin() + half, first.faces.end());
        second.faces.erase(second.faces.begin(), second.faces.begin() + half);
        std::swap(same.objects[1], same.objects[2]);  // the chrome still last
        EXPECT_EQ(differingBytes(frame(same), reference), 0u);
    }
}

// Sprites in slot order, one block: each lands where it lands alone, and one
// whose size fell below zero is drawn once more, mirrored, over the same
// square, then freed.
TEST_F(RenderTest, SpritesSentAsOneBlockCoverWhatEachCoversAlone) {
    rampTexture(1);
    ParticleSystem system(64);
    resetParticles(system);
    for (int i = 0; i < 60; ++i) {
        Vec3 at, velocity;
        at.setVec3(0.1f * float(i % 7) - 0.3f, 0.07f * float(i % 5) - 0.2f, -0.05f * float(i % 9), 0.0f);
        velocity.setVec3(0.3f * std::sin(float(i)), 0.2f * std::cos(float(i)), 0.1f, 0.0f);
        spawnParticle(system, at, velocity, 0.2f + 0.01f * float(i % 10), 0.002f * float(i % 4), float(i % 6));
    }
    const float now = 3.0f;
    const auto frameStart = [] {
        clearAll();
        glLoadIdentity();
        gluLookAt(0.2, 0.4, 2.5, 0, 0, 0, 0, 1, 0);
    };
    frameStart();
    unlikelyCurrentValues();
    drawParticles(system, now);
    const Pixels oneBlock = gl.readPixels();
    ASSERT_NE(oneBlock, Pixels(oneBlock.size(), 0)) << "the sprites show";

    frameStart();
    unlikelyCurrentValues();
    const auto before = modelview();
    for (const Particle& p : system.particles) {
        ParticleSystem alone(1);
        alone.particles[0] = p;
        drawParticles(alone, now);
    }
    EXPECT_EQ(differingBytes(gl.readPixels(), oneBlock), 0u);
    EXPECT_EQ(modelview(), before);  // a system without rotation leaves the matrix as it was
    EXPECT_TRUE(depthWrites() && !enabled(GL_BLEND) && enabled(GL_LIGHTING) && !enabled(GL_CULL_FACE));

    solidTexture(1, 200, 100, 50);
    const auto square = [&](float startSize, float shrinkRate) {
        ParticleSystem one(1);
        resetParticles(one);
        spawnParticle(one, Vec3{}, Vec3{}, startSize, shrinkRate, 0.0f);
        frameStart();
        drawParticles(one, 1.0f);
        retireParticles(one, 1.0f);
        return std::pair{gl.readPixels(), one.particles[0].alive};
    };
    const auto [shown, stillAlive] = square(0.5f, 0.0f);
    const auto [mirrored, freed] = square(1.5f, 2.0f);  // size -0.5 at 1.0
    EXPECT_EQ(differingBytes(mirrored, shown), 0u);
    EXPECT_EQ(stillAlive, 1);
    EXPECT_EQ(freed, 0);
}

TEST_F(RenderTest, OverlayThatAddsNothingLeavesThePixelsAndTheStateOfADrawnOne) {
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

    // What a drawn overlay leaves behind.
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    background();
    glColor4f(0.5f, 1.0f, 1.0f, 0.02f);
    drawOverlay(19, -20.0f);
    const auto drawnLeft = currentNormalAndTexCoord();

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
        glTranslatef(1, 2, 3);
        unlikelyCurrentValues();
        drawOverlay(19, -20.0f);
        EXPECT_EQ(differingBytes(gl.readPixels(), before) == 0, c.addsNothing);
        EXPECT_EQ(currentNormalAndTexCoord(), drawnLeft);
        EXPECT_TRUE(enabled(GL_LIGHTING) && enabled(GL_DEPTH_TEST) && !enabled(GL_BLEND));
        EXPECT_EQ(boundTexture(), picture);
        EXPECT_EQ(glInteger(GL_MODELVIEW_STACK_DEPTH), 1);
        EXPECT_EQ(modelview(), (std::array<float, 16>{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}));
    }
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);

    // At depth -20 the picture fills a 90-degree 4:3 view to its last pixel.
    solidTexture(5, 255, 255, 255);
    clearAll();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    drawOverlay(5, -20.0f);
    const Pixels full = gl.readPixels();
    EXPECT_EQ(full, Pixels(full.size(), 255));
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
