// Start-up in a fixed order, the show, and shutdown:
//   setup dialog (or the command line's choices) -> cancelled: status 0
//   ten scene records -> GL window -> base GL state and textures
//   loading screen -> ten scene scripts (with the roll of six scenes)
//   particle systems and star field -> soundtrack (if on) -> clock at 0
//   the nine scene loops -> release scenes, soundtrack, window.
// No window event is taken between opening the window and the first frame.

#include "shell/app.h"

#include <GL/gl.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "platform/platform.h"
#include "render/render.h"
#include "shell/frame.h"
#include "shell/music.h"
#include "shell/settings.h"
#include "shell/setup_dialog.h"
#include "shell/timeline.h"
#include "window/gl_state.h"
#include "window/gl_window.h"

namespace fs = std::filesystem;

namespace {

// The scene records in slot order, the script each is loaded from and the
// roll amplitude set right after loading (0: no roll).
struct SceneSlot {
    Scene Show::*scene;
    const char* script;
    int32_t roll;
};
constexpr SceneSlot kSceneSlots[] = {
    {&Show::scene, "data\\script\\scene.dat", 10},
    {&Show::scene2, "data\\script\\scene2.dat", 18},
    {&Show::scene3, "data\\script\\scene3.dat", 0},
    {&Show::scene4, "data\\script\\scene4.dat", 30},
    {&Show::scene5, "data\\script\\scene5.dat", 0},
    {&Show::scene6, "data\\script\\scene6.dat", 25},
    {&Show::scene7, "data\\script\\scene7.dat", 0},
    {&Show::scene8, "data\\script\\scene8.dat", 15},
    {&Show::scene10, "data\\script\\scene10.dat", 0},
    {&Show::scene11, "data\\script\\scene11.dat", 15},
};

void applyOptions(const CommandLine& options) {
    if (options.fullscreen) fullscreen = *options.fullscreen;
    if (options.width > 0) {
        screenWidth = options.width;
        screenHeight = options.height;
        screenBits = options.bits;
    }
    if (!options.music) musicEnabled = false;
    if (options.endSeconds) showEndLimit = static_cast<float>(*options.endSeconds * 10.0);
}

// One frame while the scenes load: the still-empty scene7 and picture 35.
void showLoadingScreen(Show& show) {
    setProjection(65);
    glClear(GL_COLOR_BUFFER_BIT);
    drawScene(show.scene7);
    drawOverlay(35, -25.0f);
    platform::swapWindow();
}

void buildParticles(Show& show) {
    resetParticles(show.dustField);
    resetParticles(show.sparkSystem);
    resetParticles(show.fountainSystem);
    fillDustField(show);
}

bool isDataName(const std::string& name) {
    if (name.size() != 4) return false;
    const char* data = "data";
    for (size_t i = 0; i < 4; ++i)
        if (std::tolower(static_cast<unsigned char>(name[i])) != data[i]) return false;
    return true;
}

bool holdsDataFolder(const fs::path& dir) {
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        if (isDataName(it->path().filename().string()) && it->is_directory(ec)) return true;
    return false;
}

}  // namespace

void loadShowScenes(Show& show) {
    for (const SceneSlot& slot : kSceneSlots) {
        Scene& scene = show.*slot.scene;
        scene.loadScene(slot.script);
        if (slot.roll != 0) {
            scene.rollEnabled = true;
            scene.rollAmplitude = slot.roll;
        }
    }
}

bool enterDataFolder(const std::string& dir, std::string& reason) {
    std::error_code ec;
    fs::path path = fs::path(dir).lexically_normal();
    if (!path.has_filename() && path.has_parent_path()) path = path.parent_path();
    if (!fs::is_directory(path, ec)) {
        reason = "not a folder";
        return false;
    }
    if (!holdsDataFolder(path) && isDataName(path.filename().string())) {
        path = fs::absolute(path, ec).parent_path();
        if (ec) {
            reason = ec.message();
            return false;
        }
    }
    fs::current_path(path, ec);
    if (ec) {
        reason = ec.message();
        return false;
    }
    return true;
}

int runShow(const CommandLine& options) {
    applyOptions(options);
    if (options.dialog) runSetupDialog();
    if (setupCancelled) return 0;

    auto show = std::make_unique<Show>();
    if (!createGlWindow(kShowTitle, screenWidth, screenHeight, screenBits, fullscreen)) return 1;
    if (!setupGlState()) {
        closeGlWindow();
        platform::messageBox("Initialization Failed.", "ERROR", platform::Icon::Exclamation);
        return 1;
    }
    showLoadingScreen(*show);
    loadShowScenes(*show);
    buildParticles(*show);
    if (musicEnabled) {
        platform::setWindowTitle("music...");
        if (!startMusic()) return 1;  // the window goes with the process
    }
    startClock();
    platform::setWindowTitle(kShowTitle);
    setProjection(90);
    runTimeline(*show);

    show.reset();
    if (musicEnabled) stopMusic();
    closeGlWindow();
    return 0;
}

int runProgram(const std::vector<std::string>& args) {
    const CommandLine options = parseCommandLine(args);
    if (!options.error.empty()) {
        std::fprintf(stderr, "orbelune: %s\nTry 'orbelune --help'.\n", options.error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(usageText().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("orbelune %s\n", ORBELUNE_VERSION);
        return 0;
    }
    if (!options.dataDir.empty()) {
        std::string reason;
        if (!enterDataFolder(options.dataDir, reason)) {
            std::fprintf(stderr, "orbelune: cannot use data folder '%s': %s\n",
                         options.dataDir.c_str(), reason.c_str());
            return 1;
        }
    }
    return runShow(options);
}
