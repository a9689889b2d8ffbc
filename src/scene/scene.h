// Scene record: everything one section of the show draws. Objects with their
// render settings, omni and spot lights, magnets, camera, clear/fog/lighting
// switches. Scripts fill it (scene/scene_script.cpp), the timeline animates
// chosen fields, the renderer reads it. Lists only grow, in call order.
#pragma once

#include <cstdint>
#include <istream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "assets/color.h"
#include "assets/diagnostic.h"
#include "assets/mesh.h"
#include "assets/vec3.h"

class ScriptWatcher;

// How an object's texture coordinates are produced while it is drawn.
enum ShadingMode : int32_t {
    SHADING_TEXTUREMAPPING = 1,  // coordinates from the mesh, generation off
    SHADING_ENVMAPPING = 2,      // sphere-map generation on
    SHADING_FLARE = 3,           // generation left as the previous draw left it
};

struct SceneObject {
    // Geometry -------------------------------------------------------------
    std::vector<MeshVertex> vertices;  // empty until the vertex list is read
    std::vector<MeshFace> faces;       // empty until the face list is read
    bool normalsFlipped = false;       // false; the flip of the last computeNormals
    int32_t maxRing = 0;               // 0; largest vertex ring
    std::vector<Vec3> ringTable;       // maxRing + 1 entries once built; x, y, z = angles (rad)

    int32_t faceCount() const { return static_cast<int32_t>(faces.size()); }
    int32_t vertexCount() const { return static_cast<int32_t>(vertices.size()); }

    // Face normals (unit, from corner order) and vertex normals (average of
    // the face normals naming the vertex, negated when flip).
    void computeNormals(bool flip);
    // Rings by distance: trunc(|scale * position - centre|) orders the
    // vertices outward, and each distinct distance is one ring, numbered
    // from 0 without gaps (so the table holds at most one entry per vertex,
    // wherever the vertices lie). Rebuilds ringTable (all zero).
    void assignRings(float scale, Vec3 centre);

    // Render settings (values as created by addObject) ----------------------
    Vec3 position;                                   // offset added to every vertex when drawn
    Vec3 rotation;                                   // degrees about x, then y, then z
    Color4 materialAmbient{0.2f, 0.2f, 0.2f, 1.0f};  // 0.2 0.2 0.2 1
    Color4 materialDiffuse{0.8f, 0.8f, 0.8f, 1.0f};  // 0.8 0.8 0.8 1
    Color4 materialSpecular{0.0f, 0.0f, 0.0f, 1.0f}; // 0 0 0 1
    float shininess = 50.0f;                         // 50
    int32_t textureId = 0;                           // 0; TextureTable index
    int32_t shading = SHADING_TEXTUREMAPPING;        // 1; a ShadingMode (any value may occur)
    bool magnetic = false;                           // false
    bool visible = true;                             // true
    bool blend = false;                              // false
    bool cullFace = true;                            // true
    bool cullBack = true;                            // true; cull back faces (false: front)
    bool vortex = false;                             // false
    bool depthTest = true;                           // true
};

struct OmniLight {
    Vec3 position;              // x, y, z, w = homogeneous light position
    Color4 ambient{};           // given
    Color4 diffuse{};           // given
    Color4 specular{};          // given
    int32_t flareTexture = 1;   // 1
    int32_t lightNumber = 0;    // given; GL_LIGHT0 + lightNumber
    float flareSize = 0.0f;     // given; half-size of the flare, <= 0 hides it
};

struct SpotLight {
    Vec3 position;              // x, y, z, w; w is also the flare half-size
    Vec3 direction;             // 0; normalised each time the light is applied
    float cutoff = 50.0f;       // 50 degrees
    float exponent = 100.0f;    // 100
    Color4 ambient{};           // 0 0 0 0
    Color4 diffuse{};           // 0 0 0 0
    int32_t flareTexture = 1;   // 1
    int32_t lightNumber = 0;    // given
};

// A magnet is a Vec3: x, y, z its place, w its strength.
using Magnet = Vec3;

// Vertices and faces the meshes of the whole show may hold, over all its
// scenes (the bundled show uses a small fraction: docs/robustness.md). A
// mesh file that would take the show past either is refused.
constexpr int64_t kShowVertexBudget = int64_t{1} << 22;
constexpr int64_t kShowFaceBudget = int64_t{1} << 22;

// What the meshes loaded so far hold, over all scenes of the run.
struct MeshTotals {
    int64_t vertices = 0;
    int64_t faces = 0;
};
// Counted by every mesh load; 0 at start. resetLightCounter puts it back
// too. A global for the reason lightCounter is (scene_script.h).
extern MeshTotals meshTotals;

struct TdsMesh;
// Mesh files one script has read, by resolved path, as read at scale 1, so
// that a file named by several FILENAME lines is read and parsed once.
using MeshFileCache = std::map<std::string, std::shared_ptr<const std::vector<TdsMesh>>>;

struct Scene {
    std::vector<std::unique_ptr<SceneObject>> objects;  // load order
    std::vector<Magnet> magnets;
    std::vector<OmniLight> omniLights;
    std::vector<SpotLight> spotLights;
    Vec3 cameraPosition;                              // eye (x, y, z)
    Vec3 cameraTarget;                                // looked-at point; up is (0, 1, 0)
    Color4 clearColor{0.0f, 0.0f, 0.0f, 0.5f};        // 0 0 0 0.5
    Color4 fogColor{0.0f, 0.0f, 0.0f, 0.5f};          // 0 0 0 0.5
    int32_t fogEnd = 50;                              // 50
    int32_t fogStart = 0;                             // 0
    int32_t frameCount = 0;                           // 0; raised at the start of every draw
    int32_t rollAmplitude = 0;                        // 0; degrees, read only when rollEnabled
    bool fogEnabled = false;                          // false
    bool lightingEnabled = false;                     // false
    bool rollEnabled = false;                         // false
    bool clearDepth = true;                           // true
    bool clearColorBuffer = false;                    // false

    int32_t objectCount() const { return static_cast<int32_t>(objects.size()); }
    int32_t magnetCount() const { return static_cast<int32_t>(magnets.size()); }
    int32_t omniCount() const { return static_cast<int32_t>(omniLights.size()); }
    int32_t spotCount() const { return static_cast<int32_t>(spotLights.size()); }

    // Appends a new object with creation defaults (after the caller read the
    // object name from the file).
    SceneObject& addObject();
    void addOmniLight(float x, float y, float z, float w, const Color4& ambient,
                      const Color4& diffuse, const Color4& specular,
                      int32_t lightNumber, float flareSize);
    void addSpotLight(float x, float y, float z, float w, int32_t lightNumber);
    void addMagnet(float x, float y, float z, float strength);

    // Reads one .3ds file, appends its objects, recomputes normals and rings of
    // every object of the scene (scene/load3ds.cpp). False after an unusable
    // file, whose record (one that stops the show) is in `report`.
    bool load3ds(const std::string& fileName, float scale, bool flip, Diagnostics& report);
    // load3ds in two halves, for the script loader: appendMeshFile appends
    // one file's objects with normals (flip) and rings of their own, reading
    // the file through `cache`; settleNormals(flip) then gives the objects
    // loaded with another flip the normals of that flip (and every ring
    // table zeroed angles). One append per
    // line and one settle at the end leave every object exactly as a
    // load3ds per line would, with work in proportion to the objects.
    bool appendMeshFile(const std::string& fileName, float scale, bool flip, MeshFileCache& cache,
                        Diagnostics& report);
    void settleNormals(bool flip);
    // Reads one scene script (scene/scene_script.cpp), its warnings and a mesh
    // failure in `report`; a watcher sees each line. False when a mesh
    // failure ended the reading (the show stops there).
    bool loadScene(const std::string& fileName, Diagnostics& report, ScriptWatcher* watcher = nullptr);
};
