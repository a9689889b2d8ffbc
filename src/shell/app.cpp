// Start-up in a fixed order, the show, and shutdown:
//   setup dialog (or the command line's choices) -> cancelled: status 0
//   ten scene records -> GL window -> the stages of shell/startup.h, each
//   stage's records shown as boxes (a record that stops the show: status 1)
//   -> clock at 0 -> the nine scene loops -> release scenes, soundtrack,
//   window.
// No window event is taken between opening the window and the first frame.
// A driver (capture, the bench, tests) may run it offscreen, on a stepped
// clock, with a look at each finished frame (shell/show_driver.h).

#include "shell/app.h"

#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <memory>

#include "platform/platform.h"
#include "shell/frame.h"
#include "shell/frame_stats.h"
#include "shell/misdraw_warnings.h"
#include "shell/music.h"
#include "shell/settings.h"
#include "shell/setup_dialog.h"
#include "shell/startup.h"
#include "shell/timeline.h"
#include "window/gl_window.h"

namespace {

// How far the picture is ahead of the music, in ms ("-" without music or
// when the stream's position is unknown).
std::string avLeadMs(const Settings& settings, const Soundtrack& soundtrack, const ShowClock& clock) {
    if (!settings.music) return "-";
    const double music = platform::audio().position(soundtrack.stream);
    if (music < 0.0) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", (clock.now() / 10.0 - music) * 1000.0);
    return text;
}

// How far apart picture and sound ended up, with both positions and the
// moment in real time, against which a recording of what was heard can be
// laid (ORBELUNE_AV_REPORT=1; scripts/av-check).
void reportAvDrift(const Soundtrack& soundtrack, const ShowClock& clock) {
    const double music = platform::audio().position(soundtrack.stream);
    const double picture = clock.now() / 10.0;
    const double real = std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
    if (music < 0.0) {
        std::fprintf(stderr, "av: at %.6f s real time, show clock %.3f s, music position unknown\n", real, picture);
        return;
    }
    std::fprintf(stderr, "av: at %.6f s real time, show clock %.3f s, music position %.3f s, picture ahead by %.1f ms\n",
                 real, picture, music, (picture - music) * 1000.0);
}

}  // namespace

int runShow(const CommandLine& options, const ShowDriver& driver) {
    Settings settings = settingsFrom(options);
    if (driver.offscreen) {
        // Never a visible window, never a display: Mesa renders through EGL.
        platform::useOffscreenVideo();
        settings.fullscreen = false;
        settings.music = false;
    } else if (options.dialog) {
        runSetupDialog(settings);
    }
    if (settings.cancelled) return 0;

    ShowRun run;
    run.clock = ShowClock(driver.stepFps);
    if (options.endSeconds) run.endLimit = static_cast<float>(*options.endSeconds * 10.0);
    run.presented = driver.presented;
    auto show = std::make_unique<Show>();
    auto timeline = std::make_unique<Timeline>(*show);
    if (!createGlWindow(kShowTitle, settings.width, settings.height, settings.bits, settings.fullscreen)) return 1;
    // --start is reached at the run's step (the driver's, or 60 a second live).
    const bool live = driver.stepFps == 0;
    Soundtrack soundtrack;
    Startup startup(*show, *timeline, settings.music ? &soundtrack : nullptr, options.startSeconds,
                    live ? kStepRate : driver.stepFps);
    while (!startup.done())
        if (!stepShown(startup)) return 1;
    warnOfMisdraws(*show);
    if (settings.music) run.clock.followMusic(soundtrack.stream);
    run.clock.start(static_cast<float>(options.startSeconds * 10.0));
    platform::setWindowTitle(kShowTitle);
    // Live: vsync where the driver offers it and the frame cap (by default
    // the display's own rate); a stepped run goes as fast as it can.
    FramePacing pacing;
    if (live) {
        platform::requestVsync();
        const int refresh = platform::displayRefreshRate();
        pacing.maxFps = options.maxFps >= 0 ? options.maxFps : refresh > 0 ? refresh : kStepRate;
    }
    FrameStats stats(1000.0 / (pacing.maxFps > 0 ? pacing.maxFps : kStepRate));
    if (options.stats) pacing.stats = &stats;
    playTimeline(*timeline, run, pacing);
    if (options.stats) {
        const ColourBits bits = grantedColourBits();
        const std::string lead = avLeadMs(settings, soundtrack, run.clock);
        std::fprintf(stderr, "%s\n", stats.line(bits.red, bits.green, bits.blue, lead).c_str());
    }
    if (settings.music && std::getenv("ORBELUNE_AV_REPORT")) reportAvDrift(soundtrack, run.clock);

    timeline.reset();
    show.reset();
    if (settings.music) soundtrack.stop();
    closeGlWindow();
    return 0;
}
