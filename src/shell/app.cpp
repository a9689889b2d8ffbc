// Start-up in a fixed order, the show, and shutdown:
//   setup dialog (or the command line's choices) -> cancelled: status 0
//   ten scene records -> GL window -> base GL state and textures
//   loading screen -> ten scene scripts (with the roll of six scenes)
//   particle systems and star field -> soundtrack (if on) -> clock at 0
//   the nine scene loops -> release scenes, soundtrack, window.
// No window event is taken between opening the window and the first frame.

#include "shell/app.h"

#include <GL/gl.h>

#include <cstdlib>
#include <iostream>
#include <cstdio>
#include <memory>

#include "capture/bench_run.h"
#include "capture/offline_run.h"
#include "platform/platform.h"
#include "render/render.h"
#include "shell/author.h"
#include "shell/data_check.h"
#include "shell/data_folder.h"
#include "shell/frame.h"
#include "shell/frame_stats.h"
#include "shell/inspect.h"
#include "shell/music.h"
#include "shell/settings.h"
#include "shell/setup_dialog.h"
#include "shell/timeline.h"
#include "window/gl_state.h"
#include "window/gl_window.h"

namespace {

void applyOptions(const CommandLine& options) {
    if (options.fullscreen) glWindow.fullscreen = *options.fullscreen;
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
    paintBars();
    glClear(GL_COLOR_BUFFER_BIT);
    advanceScene(show.scene7);
    drawScene(show.scene7);
    drawOverlay(35, -25.0f);
    platform::present();
}

void buildParticles(Show& show, Timeline& timeline) {
    resetParticles(show.dustField);
    resetParticles(show.sparkSystem);
    resetParticles(show.fountainSystem);
    timeline.fillDustField();
}

// How far the picture is ahead of the music, in ms ("-" without music or
// when the stream's position is unknown).
std::string avLeadMs() {
    if (!musicEnabled) return "-";
    const double music = platform::audio().position(musicStream);
    if (music < 0.0) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", (demoClock / 10.0 - music) * 1000.0);
    return text;
}

// Picture and sound are never re-synchronised; this tells how far apart they
// ended up (ORBELUNE_AV_REPORT=1).
void reportAvDrift() {
    double music = platform::audio().position(musicStream);
    double picture = demoClock / 10.0;
    if (music < 0.0) {
        std::fprintf(stderr, "av: show clock %.3f s, music position unknown\n", picture);
        return;
    }
    std::fprintf(stderr, "av: show clock %.3f s, music position %.3f s, picture ahead by %.1f ms\n", picture,
                 music, (picture - music) * 1000.0);
}

}  // namespace

void loadShowScenes(Show& show) {
    for (const SceneSlot& slot : kSceneSlots) {
        Scene& scene = showScene(show, slot.id);
        scene.loadScene(slot.script);
        if (slot.roll != 0) {
            scene.rollEnabled = true;
            scene.rollAmplitude = slot.roll;
        }
    }
}

int runShow(const CommandLine& options) {
    applyOptions(options);
    if (options.dialog) runSetupDialog();
    if (setupCancelled) return 0;

    auto show = std::make_unique<Show>();
    auto timeline = std::make_unique<Timeline>(*show);
    if (!createGlWindow(kShowTitle, screenWidth, screenHeight, screenBits, glWindow.fullscreen)) return 1;
    if (!setupGlState()) {
        closeGlWindow();
        platform::messageBox("Initialization Failed.", "ERROR", platform::Icon::Exclamation);
        return 1;
    }
    showLoadingScreen(*show);
    loadShowScenes(*show);
    buildParticles(*show, *timeline);
    // --start: the show's state is stepped from 0 at the run's step (the
    // capture's, or 60 a second live) up to the start, so what follows is
    // what a run from 0 shows.
    const auto start = static_cast<float>(options.startSeconds * 10.0);
    const int fps = steppedClockFps() > 0 ? steppedClockFps() : kLiveFps;
    if (start > 0.0f) seekTimeline(*timeline, start, 0.0, fps);
    if (musicEnabled) {
        platform::setWindowTitle("music...");
        if (!startMusic(options.startSeconds)) return 1;  // the window goes with the process
    }
    startClock(start);
    platform::setWindowTitle(kShowTitle);
    // Live: vsync where the driver offers it and the frame cap; capture and
    // the bench run on their stepped clock as fast as they can.
    FramePacing pacing;
    const bool live = steppedClockFps() == 0;
    if (live) {
        platform::requestVsync();
        pacing.maxFps = options.maxFps;
    }
    FrameStats stats(1000.0 / (pacing.maxFps > 0 ? pacing.maxFps : kLiveFps));
    if (options.stats) pacing.stats = &stats;
    playTimeline(*timeline, pacing);
    if (options.stats) {
        const ColourBits bits = grantedColourBits();
        std::fprintf(stderr, "%s\n", stats.line(bits.red, bits.green, bits.blue, avLeadMs()).c_str());
    }
    if (musicEnabled && std::getenv("ORBELUNE_AV_REPORT")) reportAvDrift();

    timeline.reset();
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
    const DataFolderChoice data = findDataFolder(options.dataDir, defaultDataPlaces());
    if (options.help) {
        std::printf("%s\n%s\n", usageText().c_str(), describeDataFolder(data).c_str());
        return 0;
    }
    if (options.version) {
        std::printf("orbelune %s\n", ORBELUNE_VERSION);
        return 0;
    }
    if (const int status = useDataFolder(options, data); status != 0) return status;
    if (!options.inspect.empty()) return runInspect(options.inspect, options.out, std::cout);
    if (options.check) {
        std::cout << describeDataFolder(data) << '\n';
        return runDataCheck(std::cout);
    }
    if (!options.capture.empty()) return runCapture(options);
    if (options.bench) return runBench(options);
    if (!platform::showDisplayReachable()) {
        std::fprintf(stderr,
                     "orbelune: cannot open a display: no X11 or Wayland display answers (DISPLAY and\n"
                     "WAYLAND_DISPLAY unset or unreachable), so nobody could see the show.\n"
                     "To render it to a file instead: orbelune --capture show.mp4 (or a folder for PNG frames).\n");
        return 1;
    }
    if (options.author) return runAuthor(options);
    return runShow(options);
}
