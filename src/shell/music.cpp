// The soundtrack stream, started once before the show and released at its
// end, and the show clock in tenths of a second since it started. Picture and
// sound stay together only because both start at the same moment; the clock
// is never corrected against the stream.

#include "shell/music.h"

#include <cmath>

#include "assets/data_path.h"
#include "platform/platform.h"

float demoClock = 0.0f;
uint32_t clockBase = 0;
uint32_t musicStream = 0;

namespace {
double clockStart = 0.0;   // tenths of a second at startClock
int stepFps = 0;           // 0: wall clock; else frames per second of the stepped clock
int64_t stepFrame = 0;     // updateClock calls since startClock (stepped clock)
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
    musicStream = audio.streamCreateFile(resolveDataPath(kSoundtrackPath));
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
    clockStart = startTime;
    stepFrame = 0;
    demoClock = startTime;
    // The base lies startTime before now, so the wall clock continues from it.
    clockBase = platform::ticks() - static_cast<uint32_t>(std::llround(static_cast<double>(startTime) * 100.0));
}

void useSteppedClock(int fps) { stepFps = fps; }

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
        demoClock = steppedClock(clockStart, stepFrame, stepFps);
        return;
    }
    demoClock = showTimeAt(platform::ticks(), clockBase);
}
