// The stages of start-up, in the show's fixed order:
//   textures and the base GL state ("textures...") -> the loading picture
//   -> ten scene scripts ("<script>..."), each followed by its roll
//   -> particle systems and star field -> the step to --start
//   -> the soundtrack ("music..."), when music is on.
// Every stage is one call of step.
#include "shell/startup.h"

#include <GL/gl.h>

#include <iterator>

#include "platform/platform.h"
#include "render/render.h"
#include "shell/frame.h"
#include "shell/music.h"
#include "shell/schedule.h"
#include "shell/timeline.h"
#include "window/gl_state.h"
#include "window/gl_window.h"

namespace {

constexpr size_t kFirstScript = 2;  // after the textures and the loading picture
constexpr size_t kParticles = kFirstScript + std::size(kSceneSlots);
constexpr size_t kSeek = kParticles + 1;
constexpr size_t kMusic = kSeek + 1;
constexpr size_t kStageCount = kMusic + 1;

// One frame while the scenes load: the still-empty scene7 and the loading picture.
void showLoadingScreen(Show& show) {
    setProjection(65);
    paintBars();
    glClear(GL_COLOR_BUFFER_BIT);
    advanceScene(show.scene7);
    drawScene(show.scene7);
    drawOverlay(kLoadingPicture, -25.0f);
    platform::present();
}

bool loadSlot(Show& show, const SceneSlot& slot, Diagnostics& report) {
    Scene& scene = showScene(show, slot.id);
    const bool read = scene.loadScene(slot.script, report);
    if (slot.roll != 0) {
        scene.rollEnabled = true;
        scene.rollAmplitude = slot.roll;
    }
    return read;
}

}  // namespace

void startShowState(Show& show, Timeline& timeline) {
    resetParticles(show.dustField);
    resetParticles(show.sparkSystem);
    resetParticles(show.fountainSystem);
    timeline.fillDustField();
}

void loadShowScenes(Show& show, Diagnostics& report) {
    for (const SceneSlot& slot : kSceneSlots)
        if (!loadSlot(show, slot, report)) return;
}

Startup::Startup(Show& show, Timeline& timeline, Soundtrack* soundtrack, double startSeconds, int stepFps)
    : show_(show), timeline_(timeline), soundtrack_(soundtrack), startSeconds_(startSeconds), stepFps_(stepFps) {}

bool Startup::done() const { return stage_ >= kStageCount; }

bool Startup::step(Diagnostics& report) {
    const size_t stage = stage_++;
    if (stage == 0) return setupGlState(report);
    if (stage == 1) {
        showLoadingScreen(show_);
    } else if (stage < kParticles) {
        return loadSlot(show_, kSceneSlots[stage - kFirstScript], report);
    } else if (stage == kParticles) {
        startShowState(show_, timeline_);
    } else if (stage == kSeek) {
        // The show's state is stepped from 0 up to the start, so what
        // follows is what a run from 0 shows.
        const auto start = static_cast<float>(startSeconds_ * 10.0);
        if (start > 0.0f) seekTimeline(timeline_, start, 0.0, stepFps_);
    } else if (stage == kMusic && soundtrack_) {
        platform::setWindowTitle("music...");
        return soundtrack_->start(startSeconds_, report);
    }
    return true;
}

bool stepShown(Startup& startup) {
    const bool textures = startup.atTextures();
    Diagnostics found;
    const bool ok = startup.step(found);
    showDiagnostics(found);
    if (!ok && textures) {
        closeGlWindow();
        platform::messageBox("Initialization Failed.", "ERROR", platform::Icon::Exclamation);
    }
    return ok;
}
