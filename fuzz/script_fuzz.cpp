// Scene scripts through Scene::loadScene. The run works in a scratch folder
// that holds a few small mesh files for FILENAME lines to name ("m.3ds" one
// object, "two.3ds" two, "none.3ds" none, "bad.3ds" not a mesh at all,
// "far.3ds" one object with a far vertex); any other name is a missing file.
// Checks that warnings never end the load, that only a mesh file does, that
// the scene stays within what 1024 keyword lines can add, and that no value
// read from the script is infinite or NaN.
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "scene/scene.h"
#include "scene/scene_script.h"
#include "writers/tds_writer.h"

namespace {

void writeMeshes() {
    const std::string& dir = fuzzing::scratchDir();
    tds::TdsObject triangle;
    triangle.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    triangle.faces = {{0, 1, 2}};
    triangle.uv = {{0, 0}, {1, 0}, {0, 1}};
    tds::TdsObject far = triangle;
    far.vertices[2] = {0, 1e6f, 0};
    tds::write3dsFile(dir + "/m.3ds", {triangle});
    tds::write3dsFile(dir + "/two.3ds", {triangle, triangle});
    tds::write3dsFile(dir + "/far.3ds", {far});
    tds::writeBytesFile(dir + "/none.3ds", tds::header(tds::kMain, 6));
    fuzzing::writeFile(dir + "/bad.3ds", std::string("not a mesh\n"));
    if (::chdir(dir.c_str()) != 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    writeMeshes();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::writeFile("s.dat", data, size);
    resetLightCounter();

    Diagnostics found;
    Scene scene;
    const bool ended = !scene.loadScene("s.dat", found);
    if (ended != stopsShow(found)) std::abort();
    if (ended) {
        const std::string last = messageLine(found.back());
        if (!found.back().stops || found.back().line <= 0 ||
            (last != "multimedia error: cannot open 3ds-file" && last != "multimedia error: 3dsfile is fucked up"))
            std::abort();
    }
    // Warnings: at most the stopping one plus one per SHADING line, each on
    // a line of the file.
    for (size_t i = 0; i + (ended ? 1 : 0) < found.size(); ++i)
        if (messageLine(found[i]).rfind("scenefile error: no valid attrib found on line ", 0) != 0 ||
            found[i].line <= 0 || found[i].stops)
            std::abort();
    const size_t lights = scene.omniLights.size() + scene.spotLights.size();
    if (lights > size_t(kScriptKeywordLimit) || lightCounter != int32_t(lights)) std::abort();
    if (scene.magnets.size() > size_t(kScriptKeywordLimit)) std::abort();
    if (scene.objects.size() > 2 * size_t(kScriptKeywordLimit)) std::abort();
    auto finite = [](const float* v, int n) {
        for (int i = 0; i < n; ++i)
            if (!std::isfinite(v[i])) return false;
        return true;
    };
    auto finiteVec = [&](const Vec3& v) {
        const float f[4] = {v.x, v.y, v.z, v.w};
        return finite(f, 4);
    };
    if (!finiteVec(scene.cameraPosition) || !finiteVec(scene.cameraTarget)) std::abort();
    if (!finite(scene.clearColor.data(), 4) || !finite(scene.fogColor.data(), 4)) std::abort();
    for (const OmniLight& l : scene.omniLights)
        if (!finiteVec(l.position) || !std::isfinite(l.flareSize) || !finite(l.ambient.data(), 4) ||
            !finite(l.diffuse.data(), 4) || !finite(l.specular.data(), 4))
            std::abort();
    for (const SpotLight& l : scene.spotLights)
        if (!finiteVec(l.position)) std::abort();
    for (const Magnet& m : scene.magnets)
        if (!finiteVec(m)) std::abort();
    for (const auto& object : scene.objects) {
        if (!finiteVec(object->position) || !finite(object->materialAmbient.data(), 4) ||
            !finite(object->materialDiffuse.data(), 4) || !finite(object->materialSpecular.data(), 4))
            std::abort();
    }
    for (const auto& object : scene.objects)
        for (const MeshFace& face : object->faces)
            for (uint32_t corner : face.index)
                if (corner >= object->vertices.size()) std::abort();
    return 0;
}
