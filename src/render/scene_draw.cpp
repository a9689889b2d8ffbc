// One frame of one scene, drawn from its record without changing it.
//
// Sets clear colour and fog from the scene, performs the scene's clears,
// places the look-at camera (with the optional roll wobble about the view
// axis), then draws every visible object as one triangle list with its own
// material and switches, its vertices moved by the magnets on the way (the
// vortex has already turned them, advanceScene). The lights get their parameters only after the objects, so the
// objects are lit with what the lights received in the scene's previous
// frame; each light then draws its flare. The frame ends in a fixed neutral
// state: culling, fog, blending, sphere-map generation, lighting and the
// scene's lights off, depth test on, current colour white, the model-view
// matrix holding camera and roll, and the last texture still bound. The
// projection matrix is never touched.
//
// loadSceneLights leaves what a drawn frame of the scene leaves for the
// next one without drawing: the clear colour and the lights' parameters
// (placed under the scene's camera), with the model-view matrix holding
// camera and roll; nothing else changes.
#include "platform/gl.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "assets/texture_table.h"
#include "render/render.h"

static GLenum glLight(int32_t lightNumber) {
    return static_cast<GLenum>(GL_LIGHT0 + lightNumber);
}

static void setEnabled(GLenum cap, bool on) {
    if (on)
        glEnable(cap);
    else
        glDisable(cap);
}

void beginSceneFrame(const Scene& scene) {
    glClearColor(scene.clearColor[0], scene.clearColor[1], scene.clearColor[2],
                 scene.clearColor[3]);
    glFogf(GL_FOG_START, static_cast<GLfloat>(scene.fogStart));
    glFogf(GL_FOG_END, static_cast<GLfloat>(scene.fogEnd));
    glFogfv(GL_FOG_COLOR, scene.fogColor.data());
    if (scene.clearColorBuffer) glClear(GL_COLOR_BUFFER_BIT);
    if (scene.clearDepth) glClear(GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    if (scene.lightingEnabled) {
        glEnable(GL_LIGHTING);
        for (const OmniLight& light : scene.omniLights) glEnable(glLight(light.lightNumber));
        for (const SpotLight& light : scene.spotLights) glEnable(glLight(light.lightNumber));
    } else {
        glDisable(GL_LIGHTING);
    }
    // Fog is switched off by the previous frame's end, never here.
    if (scene.fogEnabled) glEnable(GL_FOG);
}

void applyObjectSettings(const SceneObject& object) {
    if (object.shading == SHADING_TEXTUREMAPPING) {
        glDisable(GL_TEXTURE_GEN_S);
        glDisable(GL_TEXTURE_GEN_T);
    } else if (object.shading == SHADING_ENVMAPPING) {
        glEnable(GL_TEXTURE_GEN_S);
        glEnable(GL_TEXTURE_GEN_T);
    }
    setEnabled(GL_BLEND, object.blend);
    setEnabled(GL_DEPTH_TEST, object.depthTest);
    glCullFace(object.cullBack ? GL_BACK : GL_FRONT);
    setEnabled(GL_CULL_FACE, object.cullFace);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, object.materialAmbient.data());
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, object.materialDiffuse.data());
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, object.materialSpecular.data());
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, object.shininess);
    glBindTexture(GL_TEXTURE_2D, textureName(object.textureId));
}

// The object's triangles, each corner moved by the scene's magnets (when
// `magnets` is given) and offset by the object's position. A face naming a
// vertex that does not exist is left out whole.
//
// The triangles go out as one indexed draw from client arrays rather than
// vertex by vertex: the GL sees the same triangles, in the same order, with
// the same corner values (positions offset here exactly as they would be per
// call), but a software GL shades each shared vertex once instead of once per
// face. The arrays are scratch space kept between frames (file statics on
// purpose: nothing outside this draw reads them, and handing them through
// every drawScene would only move them); they only grow when a larger
// object than any before is drawn. Afterwards the current
// normal and texture coordinate are those of the last corner, as a
// glBegin/glEnd block would leave them, and the client arrays are off.
namespace {

struct DrawVertex {
    float position[3];
    float normal[3];
    float texCoord[2];
};

std::vector<DrawVertex> drawVertices;
std::vector<uint32_t> drawIndices;

}  // namespace

static void sendTriangles(const SceneObject& object, const Scene* magnets) {
    const MeshVertex* vertices = object.vertices.data();
    const size_t vertexCount = object.vertices.size();
    const size_t faceCount = object.faces.size();
    if (drawIndices.size() < faceCount * 3) drawIndices.resize(faceCount * 3);
    size_t indexCount = 0;
    for (const MeshFace& face : object.faces) {
        if (face.index[0] >= vertexCount || face.index[1] >= vertexCount ||
            face.index[2] >= vertexCount)
            continue;
        drawIndices[indexCount] = face.index[0];
        drawIndices[indexCount + 1] = face.index[1];
        drawIndices[indexCount + 2] = face.index[2];
        indexCount += 3;
    }
    if (indexCount == 0) return;

    if (drawVertices.size() < vertexCount) drawVertices.resize(vertexCount);
    const float ox = object.position.x, oy = object.position.y, oz = object.position.z;
    for (size_t i = 0; i < vertexCount; ++i) {
        const MeshVertex& v = vertices[i];
        DrawVertex& d = drawVertices[i];
        const Vec3 p = magnets ? magnetised(*magnets, v.position) : v.position;
        d.position[0] = p.x + ox;
        d.position[1] = p.y + oy;
        d.position[2] = p.z + oz;
        d.normal[0] = v.normal.x;
        d.normal[1] = v.normal.y;
        d.normal[2] = v.normal.z;
        d.texCoord[0] = v.u;
        d.texCoord[1] = v.v;
    }

    const DrawVertex* base = drawVertices.data();
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(DrawVertex), base->position);
    glNormalPointer(GL_FLOAT, sizeof(DrawVertex), base->normal);
    glTexCoordPointer(2, GL_FLOAT, sizeof(DrawVertex), base->texCoord);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indexCount), GL_UNSIGNED_INT, drawIndices.data());
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);

    const DrawVertex& last = base[drawIndices[indexCount - 1]];
    glNormal3f(last.normal[0], last.normal[1], last.normal[2]);
    glTexCoord2f(last.texCoord[0], last.texCoord[1]);
}

void endSceneFrame(const Scene& scene) {
    glDisable(GL_CULL_FACE);
    glDisable(GL_FOG);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_LIGHTING);
    for (const OmniLight& light : scene.omniLights) glDisable(glLight(light.lightNumber));
    for (const SpotLight& light : scene.spotLights) glDisable(glLight(light.lightNumber));
    glColor3f(1.0f, 1.0f, 1.0f);
}

// The look-at camera and the roll wobble about the view axis, onto the
// model-view matrix.
static void placeCamera(const Scene& scene) {
    gluLookAt(scene.cameraPosition.x, scene.cameraPosition.y, scene.cameraPosition.z,
              scene.cameraTarget.x, scene.cameraTarget.y, scene.cameraTarget.z, 0.0, 1.0, 0.0);
    if (scene.rollEnabled) {
        const double frames = scene.frameCount + static_cast<double>(scene.frameFraction);
        const double degrees = std::sin(frames * 0.01) * scene.rollAmplitude;
        glRotatef(static_cast<GLfloat>(degrees), 0.0f, 0.0f, 1.0f);
    }
}

void loadSceneLights(const Scene& scene) {
    glClearColor(scene.clearColor[0], scene.clearColor[1], scene.clearColor[2], scene.clearColor[3]);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    placeCamera(scene);
    for (const OmniLight& light : scene.omniLights) loadOmniLight(light);
    for (const SpotLight& light : scene.spotLights) loadSpotLight(light);
}

void drawScene(const Scene& scene) {
    beginSceneFrame(scene);
    placeCamera(scene);
    for (const auto& owned : scene.objects) {
        const SceneObject& object = *owned;
        glPushMatrix();
        if (object.visible) {
            applyObjectSettings(object);
            glRotatef(object.rotation.x, 1.0f, 0.0f, 0.0f);
            glRotatef(object.rotation.y, 0.0f, 1.0f, 0.0f);
            glRotatef(object.rotation.z, 0.0f, 0.0f, 1.0f);
            sendTriangles(object, object.magnetic ? &scene : nullptr);
        }
        glPopMatrix();
    }
    for (const OmniLight& light : scene.omniLights) setupOmniLight(light);
    for (const SpotLight& light : scene.spotLights) setupSpotLight(light);
    endSceneFrame(scene);
}
