// Scene::load3ds: reads one .3ds mesh file (through the data path resolver
// and the bounded reader), appends one object per object block to the
// scene, then gives every object of the scene the normals of this call's
// flip flag. A file that cannot be opened or is not a .3ds file is a record
// that stops the show; so is a file over the mesh file cap or one that would
// take the show past its vertex or face budget, each with its own message
// naming the file and the limit.
#include <algorithm>
#include <string>
#include <vector>

#include "assets/data_path.h"
#include "assets/file_read.h"
#include "scene/scene.h"
#include "scene/tds_reader.h"

MeshTotals meshTotals;

namespace {

void meshFileFailure(const std::string& fileName, const std::string& text, Diagnostics& report,
                     std::string hint = "") {
    Diagnostic d;
    d.file = fileName;
    d.caption = "multimedia error";
    d.text = text;
    d.hint = std::move(hint);
    d.stops = true;
    report.push_back(std::move(d));
}

// The objects of the file as read at scale 1: the loader scales the copies,
// so x * scale comes out exactly as a read at that scale would give it.
// Nothing after a failure, which is in `report`.
std::shared_ptr<const std::vector<TdsMesh>> readMeshFile(const std::string& fileName, const std::string& path,
                                                          Diagnostics& report) {
    const FileBytes file = readFileBounded(path, kMeshFileCap);
    if (file.error == FileReadError::TooLarge) {
        meshFileFailure(fileName, fileName + " is larger than " + capText(kMeshFileCap) + ", the limit for a mesh file",
                        report);
        return nullptr;
    }
    if (!file.ok()) {
        const bool spaced = !fileName.empty() && (fileName.back() == ' ' || fileName.back() == '\t');
        meshFileFailure(fileName, "cannot open 3ds-file", report,
                        spaced ? "the path ends with white space, which counts as part of it" : "");
        return nullptr;
    }
    TdsReadResult read = read3ds(file.bytes, 1.0f);
    if (!read.isTds) {
        meshFileFailure(fileName, "3dsfile is fucked up", report,
                        "it is not a .3ds file (export one with: assimp export in.obj out.3ds -ptv)");
        return nullptr;
    }
    return std::make_shared<const std::vector<TdsMesh>>(std::move(read.objects));
}

bool chargeBudget(const std::string& fileName, const std::vector<TdsMesh>& meshes, Diagnostics& report) {
    int64_t vertices = 0, faces = 0;
    for (const TdsMesh& mesh : meshes) {
        vertices += static_cast<int64_t>(mesh.vertices.size());
        faces += static_cast<int64_t>(mesh.faces.size());
    }
    if (meshTotals.vertices + vertices > kShowVertexBudget) {
        meshFileFailure(fileName, fileName + " takes the show past its budget of " + std::to_string(kShowVertexBudget) +
                        " vertices", report);
        return false;
    }
    if (meshTotals.faces + faces > kShowFaceBudget) {
        meshFileFailure(fileName, fileName + " takes the show past its budget of " + std::to_string(kShowFaceBudget) +
                        " faces", report);
        return false;
    }
    meshTotals.vertices += vertices;
    meshTotals.faces += faces;
    return true;
}

}  // namespace

bool Scene::appendMeshFile(const std::string& fileName, float scale, bool flip, MeshFileCache& cache,
                           Diagnostics& report) {
    const std::string path = resolveDataPath(fileName);
    auto& meshes = cache[path];
    if (!meshes) meshes = readMeshFile(fileName, path, report);
    if (!meshes || !chargeBudget(fileName, *meshes, report)) return false;

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
    return true;
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

bool Scene::load3ds(const std::string& fileName, float scale, bool flip, Diagnostics& report) {
    MeshFileCache once;
    if (!appendMeshFile(fileName, scale, flip, once, report)) return false;
    settleNormals(flip);
    return true;
}
