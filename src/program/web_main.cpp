// The show in a web page. The page starts the program with its address's
// options as the command line and then calls it once per animation frame;
// nothing here may wait. So the run is a small state: the setup dialog (a
// form on the page) until its OK, then one start-up step per frame (the
// page draws in between: the loading picture and the titles show), then
// one frame of the show per animation frame, paced as the desktop paces it
// (at most --max-fps a second on the wall clock; every animation frame on
// the stepped clock of --fps). A message box on the page holds start-up
// until it is closed, as a modal box does. With `bench` the show plays on
// the stepped clock without music and the frame times go to the page as the
// --bench report.

#include <cstdio>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "assets/data_path.h"
#include "capture/bench_run.h"
#include "capture/offline_run.h"
#include "platform/browser.h"
#include "platform/platform.h"
#include "shell/app.h"
#include "shell/command_line.h"
#include "shell/data_folder.h"
#include "shell/frame.h"
#include "shell/frame_slots.h"
#include "shell/music.h"
#include "shell/settings.h"
#include "shell/setup_dialog.h"
#include "shell/startup.h"
#include "shell/timeline.h"
#include "window/gl_window.h"

namespace {

using platform::browser::PageState;

class PageShow {
public:
    explicit PageShow(const CommandLine& options)
        : options_(options.bench ? offlineOptions(options) : options),
          settings_(settingsFrom(options_)),
          slots_(options_.maxFps) {
        run_.clock = ShowClock(stepFps(options_));
        if (options_.bench) {
            bench_.emplace(options_);
            run_.presented = [this](float) {
                platform::browser::finishDrawing();
                return bench_->presented();
            };
        }
    }

    // Opens the dialog when the options ask for it, else begins loading.
    // The soundtrack is decoded meanwhile (unless the options turn it off).
    void begin() {
        if (settings_.music) platform::browser::prepareSoundtrack(resolveDataPath(kSoundtrackPath));
        if (!options_.dialog) {
            startLoading();
            return;
        }
        platform::browser::openDialog(
            setupDialogTemplate(),
            [this](platform::DialogHost& dialog, platform::DialogMessage message, uintptr_t wParam) {
                return setupDialogProc(settings_, dialog, message, wParam);
            },
            [this] {
                if (settings_.cancelled)
                    finish(PageState::Ended, "The show was not started.");
                else
                    startLoading();
            });
    }

    // One animation frame. False once the run is over.
    bool frame() {
        if (stage_ == Stage::Dialog || platform::browser::boxOpen()) return stage_ != Stage::Done;
        if (stage_ == Stage::Loading) {
            loadStep();
        } else if (stage_ == Stage::Playing && due()) {
            playFrame();
        }
        return stage_ != Stage::Done;
    }

private:
    enum class Stage { Dialog, Loading, Playing, Done };

    // The bench and `fps` run on the stepped clock, the show on the wall clock.
    static int stepFps(const CommandLine& options) { return options.fpsGiven || options.bench ? options.fps : 0; }

    // In the OK click (or at once without the dialog): the window, so that
    // full screen is asked for in the user's gesture.
    void startLoading() {
        stage_ = Stage::Loading;
        platform::browser::setPageState(PageState::Loading);
        show_ = std::make_unique<Show>();
        timeline_ = std::make_unique<Timeline>(*show_);
        if (options_.endSeconds) run_.endLimit = static_cast<float>(*options_.endSeconds * 10.0);
        if (!createGlWindow(kShowTitle, settings_.width, settings_.height, settings_.bits, settings_.fullscreen))
            return stop();
        const int fps = run_.clock.stepFps() > 0 ? run_.clock.stepFps() : kStepRate;
        startup_.emplace(*show_, *timeline_, settings_.music ? &soundtrack_ : nullptr, options_.startSeconds, fps);
    }

    // One stage of start-up; the soundtrack's waits for its decoding. Then
    // the clock starts and the frames begin.
    void loadStep() {
        if (startup_->atSoundtrack() && !platform::browser::soundtrackSettled()) return;
        if (!stepShown(*startup_)) return stop();
        if (!startup_->done()) return;
        run_.clock.start(static_cast<float>(options_.startSeconds * 10.0));
        platform::setWindowTitle(kShowTitle);
        loop_.emplace(*timeline_, run_);
        slots_.start(platform::browser::nowMs());
        stage_ = Stage::Playing;
        platform::browser::setPageState(PageState::Playing);
    }

    // Live: at most --max-fps frames a second on the page's clock. The
    // stepped clock: every animation frame.
    bool due() { return run_.clock.stepFps() > 0 || slots_.due(platform::browser::nowMs()); }

    // Frames until one is presented: a frame cut by Escape is not shown, so
    // the next one is drawn over it in the same animation frame.
    void playFrame() {
        const uint64_t before = platform::presentedFrames();
        while (platform::presentedFrames() == before) {
            if (!loop_->tick()) return finish(PageState::Ended, "The show has ended.");
        }
        platform::browser::framePresented(timeline_->clock() / 10.0, platform::presentedFrames());
    }

    // After the last frame (or the dialog closed): everything released in
    // the desktop's order, the last frame left on the canvas.
    void finish(PageState state, const std::string& text) {
        if (stage_ == Stage::Playing) {
            loop_.reset();
            timeline_.reset();
            show_.reset();
            if (settings_.music) soundtrack_.stop();
            closeGlWindow();
        }
        stage_ = Stage::Done;
        if (bench_) {
            std::ostringstream report;
            bench_->write(report);
            platform::browser::publishReport(report.str());
        }
        platform::browser::setPageState(state, text);
    }

    // Start-up failed after its boxes: the run ends there, as the desktop's
    // process does.
    void stop() {
        stage_ = Stage::Done;
        platform::browser::setPageState(PageState::Error);
    }

    CommandLine options_;
    Settings settings_;
    ShowRun run_;
    Soundtrack soundtrack_;
    std::unique_ptr<Show> show_;
    std::unique_ptr<Timeline> timeline_;
    std::optional<Startup> startup_;   // once the window is open
    std::optional<FrameLoop> loop_;     // once loaded
    std::optional<BenchTimes> bench_;  // with `bench`: the frame times
    Stage stage_ = Stage::Dialog;
    FrameSlots slots_;
};

// The page calls into the run long after main has returned.
std::unique_ptr<PageShow> pageShow;

}  // namespace

// What ends the program before the show, as the command line does; the
// page shows what was printed.
int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    CommandLine options = parseCommandLine(args, CommandLineUse::Page);
    if (!options.error.empty()) {
        std::fprintf(stderr, "orbelune: %s\nTry 'orbelune --help'.\n", options.error.c_str());
        platform::exitProcess(2);
    }
    if (options.help || options.version) {
        std::printf("%s\n", options.help ? usageText().c_str() : "orbelune " ORBELUNE_VERSION);
        platform::exitProcess(0);
    }
    const DataFolderChoice data = findDataFolder(options.dataDir, defaultDataPlaces());
    if (const int status = useDataFolder(options, data); status != 0) platform::exitProcess(status);
    pageShow = std::make_unique<PageShow>(options);
    pageShow->begin();
    platform::browser::runEachAnimationFrame([] { return pageShow->frame(); }, options.bench);
    return 0;
}
