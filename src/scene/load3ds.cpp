// Scene::load3ds: reads one .3ds mesh file (through the data path resolver),
// appends one object per object block to the scene, then rebuilds normals
// and vortex rings of every object of the scene with this call's flip flag.
// A file that cannot be opened, is not a .3ds file, is implausibly large or
// would take the scene's ring tables beyond their bound is reported in a box
// and ends the process.
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "assets/data_path.h"
#include "platform/platform.h"
#include "scene/scene.h"
#include "scene/tds_reader.h"

namespace {

// Several times the largest object the 16-bit lists can describe (about
// 2.2 MiB with mapping and face sub-chunks). Bounds what a hostile file can
// make the loader hold: an object block costs 7 bytes of file but a few
// hundred bytes of memory.
constexpr size_t kLargestMeshFile = 16u << 20;

// Ring-table entries (20 bytes each) one scene may hold over all its objects.
// A ring is a quarter unit of distance from the object's origin, so a single
// far vertex asks for up to 65536 entries (1.3 MiB) from a few dozen bytes
// of file; this bounds what such files, or one such file named again and
// again by a script, can make the scene hold. Real meshes stay far below it.
constexpr size_t kSceneRingEntries = size_t{1} << 20;

[[noreturn]] void meshFileFailure(const char* text) {
    platform::messageBox(text, "multimedia error", platform::Icon::None);
    platform::exitProcess(1);
}

// The whole file, or false when it is larger than kLargestMeshFile.
bool readWhole(std::ifstream& in, std::vector<uint8_t>& bytes) {
    char block[1 << 16];
    while (in) {
        in.read(block, sizeof block);
        const size_t got = static_cast<size_t>(in.gcount());
        if (bytes.size() + got > kLargestMeshFile) return false;
        bytes.insert(bytes.end(), block, block + got);
    }
    return true;
}

}  // namespace

void Scene::load3ds(const std::string& fileName, float scale, bool flip) {
    std::vector<uint8_t> bytes;
    {
        const std::string path = resolveDataPath(fileName);
        std::error_code ec;
        std::ifstream in;
        if (!std::filesystem::is_directory(path, ec)) in.open(path, std::ios::binary);
        if (!in.is_open()) meshFileFailure("cannot open 3ds-file");
        if (!readWhole(in, bytes)) meshFileFailure("3dsfile is fucked up");
    }

    TdsReadResult file = read3ds(bytes, scale);
    if (!file.isTds) meshFileFailure("3dsfile is fucked up");

    for (TdsMesh& mesh : file.objects) {
        SceneObject& object = addObject();
        object.vertices = std::move(mesh.vertices);
        object.faces = std::move(mesh.faces);
    }
    size_t ringEntries = 0;
    for (auto& object : objects) {
        object->computeNormals(flip);
        object->assignRings(4.0f, Vec3{});
        ringEntries += object->ringTable.size();
        if (ringEntries > kSceneRingEntries) meshFileFailure("3dsfile is fucked up");
    }
}
