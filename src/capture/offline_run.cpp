// Capture: the show played offline into a frame sink. The normal start-up
// runs offscreen; the driver's present observer reads each finished
// frame back (into one buffer allocated before the show) and hands it to the
// sink, and a progress line on stderr shows frames done, speed and time
// left a few times a second. Ctrl+C ends the show after the current frame,
// so the sink closes a complete, playable file.
#include "capture/offline_run.h"

#include "platform/gl.h"

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "assets/data_path.h"
#include "capture/frame_sink.h"
#include "shell/app.h"
#include "shell/music.h"
#include "shell/schedule.h"
#include "shell/settings.h"
#include "shell/show_clock.h"

namespace {

// Set by the SIGINT handler, so it cannot be handed to it: a file static.
volatile std::sig_atomic_t interrupted = 0;

void onInterrupt(int) { interrupted = 1; }

class Progress {
public:
    explicit Progress(int64_t total) : total_(total), begin_(Clock::now()), last_(begin_) {}

    void frameDone(int64_t done) {
        auto now = Clock::now();
        if (now - last_ < std::chrono::milliseconds(250) && done < total_) return;
        last_ = now;
        double seconds = std::chrono::duration<double>(now - begin_).count();
        double fps = seconds > 0.0 ? static_cast<double>(done) / seconds : 0.0;
        double left = fps > 0.0 ? static_cast<double>(total_ - done) / fps : 0.0;
        std::fprintf(stderr, "\rcapture: frame %lld of %lld  %.1f fps  %d:%02d left   ",
                     static_cast<long long>(done), static_cast<long long>(total_), fps,
                     static_cast<int>(left) / 60, static_cast<int>(left) % 60);
        std::fflush(stderr);
        printed_ = true;
    }
    ~Progress() {
        if (printed_) std::fputc('\n', stderr);
    }

private:
    using Clock = std::chrono::steady_clock;
    int64_t total_;
    Clock::time_point begin_, last_;
    bool printed_ = false;
};

}  // namespace

int64_t OfflineSpan::firstFrame() const { return firstFrameAt(static_cast<float>(start), fps); }

int64_t OfflineSpan::frameCount() const {
    const auto limit = static_cast<float>(end);
    const int64_t first = firstFrame();
    int64_t n = firstFrameAt(limit, fps);  // the first frame the run does not show
    return n > first ? n - first : 0;
}

float OfflineSpan::frameClock(int64_t n) const { return steppedClock(0.0, firstFrame() + n, fps); }

OfflineSpan offlineSpan(const CommandLine& options) {
    OfflineSpan span;
    span.start = options.startSeconds * 10.0;
    span.end = options.endSeconds ? std::min<double>(kShowEnd, *options.endSeconds * 10.0) : kShowEnd;
    span.fps = options.fps;
    return span;
}

CommandLine offlineOptions(const CommandLine& options) {
    CommandLine run = options;
    run.dialog = false;
    run.fullscreen = false;
    run.music = false;
    return run;
}

ShowDriver offlineDriver(const CommandLine& options, PresentObserver presented) {
    ShowDriver driver;
    driver.stepFps = options.fps;
    driver.offscreen = true;
    driver.presented = std::move(presented);
    return driver;
}

int runCapture(const CommandLine& options) {
    const CommandLine run = offlineOptions(options);

    CaptureTarget target;
    const Settings settings = settingsFrom(options);
    target.path = options.capture;
    target.width = settings.width;
    target.height = settings.height;
    target.fps = options.fps;
    target.startSeconds = offlineSpan(run).frameClock(0) / 10.0;  // the soundtrack from the first frame
    if (options.music && captureKind(options.capture) == CaptureKind::Video) {
        std::string soundtrack = resolveDataPath(kSoundtrackPath);
        std::error_code ec;
        if (!std::filesystem::is_regular_file(soundtrack, ec)) {
            std::fprintf(stderr, "orbelune: capture: the soundtrack %s is missing (use --no-music)\n",
                         kSoundtrackPath);
            return 1;
        }
        target.soundtrack = std::filesystem::absolute(soundtrack, ec).string();
    }

    std::string error;
    std::unique_ptr<FrameSink> sink = openFrameSink(target, error);
    if (!sink) {
        std::fprintf(stderr, "orbelune: capture: %s\n", error.c_str());
        return 1;
    }

    const OfflineSpan span = offlineSpan(run);
    std::vector<uint8_t> frame(static_cast<size_t>(target.width) * static_cast<size_t>(target.height) * 3);
    int64_t done = 0;
    bool writeFailed = false;
    Progress progress(span.frameCount());
    interrupted = 0;
    auto previous = std::signal(SIGINT, onInterrupt);
    const ShowDriver driver = offlineDriver(run, [&](float) {
        if (writeFailed) return false;
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, target.width, target.height, GL_RGB, GL_UNSIGNED_BYTE, frame.data());
        if (!sink->writeFrame(frame.data())) {
            writeFailed = true;
            return false;
        }
        progress.frameDone(++done);
        return interrupted == 0;
    });

    int status = runShow(run, driver);
    std::signal(SIGINT, previous);
    bool finished = sink->finish();
    if (status != 0) return status;
    if (writeFailed || !finished) {
        std::fprintf(stderr, "orbelune: capture: %s\n", sink->error().c_str());
        return 1;
    }
    if (interrupted) std::fprintf(stderr, "orbelune: capture stopped after %lld frames\n", static_cast<long long>(done));
    return 0;
}
