// The whole start-up on a small generated data folder with one file
// replaced by the input: the texture list, a bitmap, a scene script or a
// mesh (the input's first byte picks the role, its second which file of that
// role, the rest is the file). The window, its context and the unchanged
// show are made once; each execution then loads what the changed file feeds
// the way the show does (the textures into the GL for the list and bitmaps,
// every scene that reads a script or mesh, each in the context of the scenes
// before it) and draws one frame of such a scene on SDL's offscreen driver,
// and puts the unchanged files back. Checks that only the loaders' own messages appear,
// that a record that stops the show is a mesh's, and that no scene value
// read from a script is infinite or NaN.
#include <GL/gl.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "assets/dib.h"
#include "assets/texture_table.h"
#include "fuzz_support.h"
#include "scene/scene_script.h"
#include "shell/app.h"
#include "shell/timeline.h"
#include "window/gl_state.h"
#include "window/gl_window.h"
#include "writers/bmp_writer.h"
#include "writers/tds_writer.h"

namespace {

constexpr int kBitmaps = 4;
const char* const kScripts[] = {"scene", "scene2", "scene3", "scene4", "scene5",
                                "scene6", "scene7", "scene8", "scene10", "scene11"};

std::string bitmapPath(int i) { return "data/textures/t" + std::to_string(i) + ".bmp"; }
std::string meshPath(int i) { return "data/meshes/m" + std::to_string(i) + ".3ds"; }
std::string scriptPath(int i) { return std::string("data/script/") + kScripts[i] + ".dat"; }

struct DataFile {
    std::string path;
    std::string original;
};
std::vector<DataFile> roles[4];  // list, bitmaps, scripts, meshes

std::string bytesText(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

// Ten scripts with lights, magnets and one or two objects (a vortex among
// them); four tiny bitmaps of different kinds; three meshes. Small, so that
// an execution (the whole start-up) stays near a millisecond.
void writeDataFolder() {
    const std::string& dir = fuzzing::scratchDir();
    if (::chdir(dir.c_str()) != 0) std::abort();
    std::system("mkdir -p data/textures data/meshes data/script");

    std::string list;
    for (int i = 0; i < kBitmaps; ++i) list += bitmapPath(i) + "\n";
    roles[0].push_back({"data/script/texture.dat", list});

    bmpw::RgbPicture picture;
    picture.width = 4;
    picture.height = 4;
    for (int i = 0; i < 16; ++i) picture.rgb.insert(picture.rgb.end(), {uint8_t(i * 16), 80, uint8_t(255 - i)});
    const int depths[kBitmaps] = {24, 8, 4, 16};
    for (int i = 0; i < kBitmaps; ++i) {
        bmpw::BmpOptions options;
        options.bitsPerPixel = depths[i];
        if (i == 1) options.encoding = bmpw::Encoding::Rle;
        roles[1].push_back({bitmapPath(i), bytesText(bmpw::writeBmp(picture, options))});
    }

    tds::TdsObject quad;
    quad.vertices = {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}};
    quad.faces = {{0, 1, 2}, {0, 2, 3}};
    quad.uv = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    tds::TdsObject ring = quad;
    for (auto& v : ring.vertices) v = {v[0] * 3, v[1] * 3, 0.5f};
    roles[3].push_back({meshPath(0), bytesText(tds::write3ds({quad}))});
    roles[3].push_back({meshPath(1), bytesText(tds::write3ds({ring}))});
    roles[3].push_back({meshPath(2), bytesText(tds::write3ds({quad, ring}))});

    for (int s = 0; s < 10; ++s) {
        std::string text = "LIGHTS=ON\nFOG=ON\nFOG_START=1\nFOG_END=40\nCLEAR_COLOR=0.1,0.1,0.2,1\n";
        text += "ADD_OMNI=0,5,-5,1,2\nADD_OMNI=3,1,2,1,1\nADDMAGNET=0,0,1,2\nADDMAGNET=1,1,1,-1\n";
        text += "CAMERA_POSITION=0,0,-6,1\nCAMERA_TARGET=0,0,0,0\n";
        // One object a scene, every mesh and every bitmap named somewhere;
        // every third scene's object is the environment-mapped, magnetic vortex.
        text += "TEXTUREID=" + std::to_string(s % kBitmaps) + "\n";
        text += s % 3 == 1 ? "SHADING=ENVMAPPING\nVORTEX=ON\nMAGNETIC=ON\n" : "SHADING=TEXTUREMAPPING\nBLEND=ON\n";
        text += "OBJECT_POSITION=" + std::to_string(s % 2) + ",0,0,1\n";
        text += "FILENAME=data\\meshes\\m" + std::to_string(s % 3) + ".3ds\n";
        text += "EOF\n";
        roles[2].push_back({scriptPath(s), text});
    }
    for (const auto& role : roles)
        for (const DataFile& file : role) fuzzing::writeFile(file.path, file.original);
}

bool finite(const float* values, int count) {
    for (int i = 0; i < count; ++i)
        if (!std::isfinite(values[i])) return false;
    return true;
}

// Values a script sets directly (numbers parsed from its text).
void checkScriptValues(const Scene& scene) {
    auto vec = [](const Vec3& v) { const float f[4] = {v.x, v.y, v.z, v.w}; return finite(f, 4); };
    if (!vec(scene.cameraPosition) || !vec(scene.cameraTarget)) std::abort();
    if (!finite(scene.clearColor.data(), 4) || !finite(scene.fogColor.data(), 4)) std::abort();
    for (const OmniLight& l : scene.omniLights)
        if (!vec(l.position) || !std::isfinite(l.flareSize) || !finite(l.diffuse.data(), 4)) std::abort();
    for (const SpotLight& l : scene.spotLights)
        if (!vec(l.position)) std::abort();
    for (const Magnet& m : scene.magnets)
        if (!vec(m)) std::abort();
    for (const auto& o : scene.objects)
        if (!vec(o->position) || !finite(o->materialDiffuse.data(), 4)) std::abort();
}

// The show as the unchanged folder loads it, kept between executions: the
// light number and mesh totals each scene starts from, so that one scene
// can be loaded again in the context the whole start-up gives it.
struct SlotStart {
    int32_t lights = 0;
    MeshTotals meshes;
};
std::unique_ptr<Show> show;
SlotStart slotStart[10];
MeshTotals showTotals;
int32_t showLights = 0;

// False when a record stopped the show.
bool loadSlot(int i, Diagnostics& found) {
    const SceneSlot& slot = kSceneSlots[i];
    Scene& scene = showScene(*show, slot.id);
    scene = Scene{};
    lightCounter = slotStart[i].lights;
    meshTotals = slotStart[i].meshes;
    const bool read = scene.loadScene(slot.script, found);
    if (slot.roll != 0) {
        scene.rollEnabled = true;
        scene.rollAmplitude = slot.roll;
    }
    return read;
}

// Which scenes a file feeds: a script its own scene, a mesh every scene
// that names it (scene s names mesh s % 3); the list and bitmaps none.
bool slotReads(int role, int file, int slot) {
    if (role == 2) return slot == file;
    if (role == 3) return slot % 3 == file;
    return false;
}

// Loads the unchanged show once: textures, then the scenes in slot order,
// noting where each one starts.
void loadPristineShow() {
    Diagnostics quiet;
    show = std::make_unique<Show>();
    resetLightCounter();
    if (!setupGlState(quiet)) std::abort();
    for (int i = 0; i < 10; ++i) {
        slotStart[i] = {lightCounter, meshTotals};
        loadSlot(i, quiet);
    }
    showLights = lightCounter;
    showTotals = meshTotals;
}

// Loads what the changed file feeds and draws a scene it feeds (or
// `drawn`); checks the messages and the values read.
void runChanged(int role, int file, int drawn) {
    Diagnostics found;
    bool ready = true;
    if (role <= 1) {
        unloadTextures();
        ready = setupGlState(found);
    }
    bool ended = false;
    for (int i = 0; ready && !ended && i < 10; ++i)
        if (slotReads(role, file, i)) {
            ended = !loadSlot(i, found);
            drawn = i;
        }
    if (ended != stopsShow(found)) std::abort();
    if (ended) {
        if (!found.back().stops || found.back().caption != "multimedia error") std::abort();
    } else {
        if (ready) {
            drawScene(showScene(*show, kSceneSlots[drawn].id));
            glFinish();
        }
        for (const SceneSlot& slot : kSceneSlots) checkScriptValues(showScene(*show, slot.id));
    }
    for (const std::string& line : messageLines(found)) {
        const bool known = line.rfind("multimedia error: ", 0) == 0 || line.rfind("scenefile error: ", 0) == 0 ||
                           line.rfind("Error: ", 0) == 0;
        if (!known) std::abort();
    }
}

void restoreShow(int role, int file) {
    Diagnostics quiet;
    if (role <= 1) {
        unloadTextures();
        if (!setupGlState(quiet)) std::abort();
    }
    for (int i = 0; i < 10; ++i)
        if (slotReads(role, file, i)) loadSlot(i, quiet);
    lightCounter = showLights;
    meshTotals = showTotals;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("LP_NUM_THREADS", "0", 1);  // llvmpipe draws in this thread: no hand-over per frame
    unsetenv("DISPLAY");
    writeDataFolder();
    if (!createGlWindow("startup", 64, 48, 32, false)) std::abort();
    loadPristineShow();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const int role = data[0] % 4;
    const int file = data[1] % static_cast<int>(roles[role].size());
    const DataFile& target = roles[role][file];
    if (role == 1) {
        // Pictures above 2^16 pixels are the bitmap target's business; here
        // they would only make the executions slow.
        const DibResult probe = decodeDib(data + 2, size - 2, 1u << 16);
        if (probe.error == DibError::OverBudget) return 0;
    }
    fuzzing::writeFile(target.path, data + 2, size - 2);

    // Only what the changed file feeds is loaded again, in the context the
    // rest of the start-up gives it: the texture list and bitmaps go through
    // the texture load; a script or mesh through the load of every scene
    // reading it, with the light numbers and mesh totals of the scenes
    // before. The scene drawn is one the file feeds.
    runChanged(role, file, data[1] % 10);

    // Back to the unchanged show for the next input.
    fuzzing::writeFile(target.path, target.original);
    restoreShow(role, file);
    return 0;
}
