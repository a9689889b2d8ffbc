// The soundtrack stream, started once before the show and released at its
// end, and the show clock in tenths of a second since it started. Picture and
// sound stay together only because both start at the same moment; the clock
// is never corrected against the stream.

#include "shell/music.h"

#include <cmath>

#include "assets/data_path.h"
#include "assets/file_read.h"
#include "platform/platform.h"

float demoClock = 0.0f;
uint32_t clockBase = 0;
uint32_t musicStream = 0;

namespace {
int stepFps = 0;           // 0: wall clock; else frames per second of the stepped clock
int64_t stepFrame = 0;     // frame of the step the clock shows (stepped clock)
}  // namespace

bool startMusic(double startSeconds) {
    platform::AudioBackend& audio = platform::audio();
    if (audio.getVersion() != platform::kAudioVersion) {
        platform::messageBox("[error] Could not load bass.dll", "multimedia error",
                             platform::Icon::None);
        return false;
    }
    if (!audio.init(-1, 44100, 0)) fatalAudioError("[error] Can't initialize BASS Sound System");
    audio.start();
    audio.streamFree(musicStream);
    // A FIFO or a device would block the decoder's open: only a regular file.
    const std::string soundtrack = resolveDataPath(kSoundtrackPath);
    musicStream = isRegularFile(soundtrack) ? audio.streamCreateFile(soundtrack) : 0;
    if (!audio.streamPlay(musicStream)) fatalAudioError("[error] Can't play stream");
    if (startSeconds > 0.0) audio.setPosition(musicStream, startSeconds);
    return true;
}

void stopMusic() {
    platform::audio().streamFree(musicStream);
    platform::audio().free();
}

void fatalAudioError(const char* text) {
    platform::messageBox(text, "BASS ERROR", platform::Icon::None);
    platform::audio().free();
    platform::exitProcess(1);
}

void startClock(float startTime) {
    if (stepFps > 0) {
        stepFrame = firstFrameAt(startTime, stepFps);
        demoClock = steppedClock(0.0, stepFrame, stepFps);
        return;
    }
    demoClock = startTime;
    // The base lies startTime before now, so the wall clock continues from it.
    clockBase = platform::ticks() - static_cast<uint32_t>(std::llround(static_cast<double>(startTime) * 100.0));
}

void useSteppedClock(int fps) { stepFps = fps; }

int steppedClockFps() { return stepFps; }

int64_t firstFrameAt(float time, int fps) {
    if (!(time > 0.0f)) return 0;
    auto n = static_cast<int64_t>(static_cast<double>(time) * fps / 10.0);
    if (n > 0) --n;
    while (steppedClock(0.0, n, fps) < time) ++n;
    return n;
}

float showTimeAt(uint32_t now, uint32_t base) {
    const auto elapsed = static_cast<int32_t>(now - base);
    return static_cast<float>(elapsed * 0.01);
}

float steppedClock(double origin, int64_t n, int fps) {
    return static_cast<float>(origin + static_cast<double>(n) * 10.0 / fps);
}

void updateClock() {
    if (stepFps > 0) {
        ++stepFrame;
        demoClock = steppedClock(0.0, stepFrame, stepFps);
        return;
    }
    demoClock = showTimeAt(platform::ticks(), clockBase);
}
