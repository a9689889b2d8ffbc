// Scene::load3ds: reads one .3ds mesh file (through the data path resolver
// and the bounded reader), appends one object per object block to the
// scene, then gives every object of the scene the normals of this call's
// flip flag. A file that cannot be opened or is not a .3ds file is reported
// in a box and ends the process; so is a file over the mesh file cap or one
// that would take the show past its vertex or face budget, each with its
// own message naming the file and the limit.
#include <algorithm>
#include <string>
#include <vector>

#include "assets/data_path.h"
#include "assets/file_read.h"
#include "platform/platform.h"
#include "scene/scene.h"
#include "scene/tds_reader.h"

MeshTotals meshTotals;

namespace {

[[noreturn]] void meshFileFailure(const std::string& text) {
    platform::messageBox(text, "multimedia error", platform::Icon::None);
    platform::exitProcess(1);
}

// The objects of the file as read at scale 1: the loader scales the copies,
// so x * scale comes out exactly as a read at that scale would give it.
std::shared_ptr<const std::vector<TdsMesh>> readMeshFile(const std::string& fileName, const std::string& path) {
    const FileBytes file = readFileBounded(path, kMeshFileCap);
    if (file.error == FileReadError::TooLarge)
        meshFileFailure(fileName + " is larger than " + capText(kMeshFileCap) + ", the limit for a mesh file");
    if (!file.ok()) meshFileFailure("cannot open 3ds-file");
    TdsReadResult read = read3ds(file.bytes, 1.0f);
    if (!read.isTds) meshFileFailure("3dsfile is fucked up");
    return std::make_shared<const std::vector<TdsMesh>>(std::move(read.objects));
}

void chargeBudget(const std::string& fileName, const std::vector<TdsMesh>& meshes) {
    int64_t vertices = 0, faces = 0;
    for (const TdsMesh& mesh : meshes) {
        vertices += static_cast<int64_t>(mesh.vertices.size());
        faces += static_cast<int64_t>(mesh.faces.size());
    }
    if (meshTotals.vertices + vertices > kShowVertexBudget)
        meshFileFailure(fileName + " takes the show past its budget of " + std::to_string(kShowVertexBudget) +
                        " vertices");
    if (meshTotals.faces + faces > kShowFaceBudget)
        meshFileFailure(fileName + " takes the show past its budget of " + std::to_string(kShowFaceBudget) +
                        " faces");
    meshTotals.vertices += vertices;
    meshTotals.faces += faces;
}

}  // namespace

void Scene::appendMeshFile(const std::string& fileName, float scale, bool flip, MeshFileCache& cache) {
    const std::string path = resolveDataPath(fileName);
    auto& meshes = cache[path];
    if (!meshes) meshes = readMeshFile(fileName, path);
    chargeBudget(fileName, *meshes);

    for (const TdsMesh& mesh : *meshes) {
        SceneObject& object = addObject();
        object.vertices = mesh.vertices;
        object.faces = mesh.faces;
        for (MeshVertex& vertex : object.vertices) {
            vertex.basePosition.x = vertex.basePosition.x * scale;
            vertex.basePosition.y = vertex.basePosition.y * scale;
            vertex.basePosition.z = vertex.basePosition.z * scale;
            vertex.position = vertex.basePosition;
        }
        object.computeNormals(flip);
        object.normalsFlipped = flip;
        object.assignRings(4.0f, Vec3{});
    }
}

// Normals depend only on an object's own vertices, faces and the flip, and
// nothing moves a vertex while scenes load: an object whose normals were
// made with this flip already has them. Ring tables start from zero again.
void Scene::settleNormals(bool flip) {
    for (auto& object : objects) {
        std::fill(object->ringTable.begin(), object->ringTable.end(), Vec3{});
        if (object->normalsFlipped == flip) continue;
        object->computeNormals(flip);
        object->normalsFlipped = flip;
    }
}

void Scene::load3ds(const std::string& fileName, float scale, bool flip) {
    MeshFileCache once;
    appendMeshFile(fileName, scale, flip, once);
    settleNormals(flip);
}
