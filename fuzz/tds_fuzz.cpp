// .3ds files: the bytes through read3ds, then, as a FILENAME line loads them,
// written to a file and loaded into a scene with Scene::load3ds. (Loading
// into a scene that already holds objects, with flipped normals, is the
// script target's part.) Checks that every face names vertices of its own
// object, that ring tables cover every vertex ring, and that a refused file
// ends the load with one "multimedia error" record that stops the show.
// Rings are numbered by distinct distance, so far vertices cost no more than
// near ones: every input is loaded.
#include <algorithm>
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "scene/scene.h"
#include "scene/scene_script.h"
#include "scene/tds_reader.h"

namespace {

void checkScene(const Scene& scene) {
    for (const auto& object : scene.objects) {
        const size_t vertices = object->vertices.size();
        for (const MeshFace& face : object->faces)
            for (uint32_t corner : face.index)
                if (corner >= vertices) std::abort();
        if (object->ringTable.size() != size_t(object->maxRing) + 1) std::abort();
        if (object->ringTable.size() > std::max<size_t>(vertices, 1)) std::abort();  // by need
        for (const MeshVertex& vertex : object->vertices)
            if (vertex.ring < 0 || vertex.ring > object->maxRing) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const TdsReadResult parsed = read3ds({data, size}, 1.0f);
    if (parsed.isTds != (size >= 6 && data[0] == 0x4D && data[1] == 0x4D)) std::abort();
    for (const TdsMesh& mesh : parsed.objects)
        for (const MeshFace& face : mesh.faces)
            for (uint32_t corner : face.index)
                if (corner >= mesh.vertices.size()) std::abort();

    static const std::string path = fuzzing::scratchDir() + "/input.3ds";
    fuzzing::writeFile(path, data, size);

    resetLightCounter();  // and the show's mesh totals: each input is a fresh show
    Diagnostics found;
    Scene scene;
    if (!scene.load3ds(path, 1.0f, false, found)) {
        if (found.size() != 1 || !found.front().stops) std::abort();
        if (messageLine(found.front()) != "multimedia error: 3dsfile is fucked up") std::abort();
        return 0;
    }
    if (!found.empty()) std::abort();
    checkScene(scene);
    return 0;
}
