// The soundtrack stream, started once before the show and released at its
// end, and the show clock in tenths of a second since it started. Picture and
// sound stay together only because both start at the same moment; the clock
// is never corrected against the stream.

#include "shell/music.h"

#include "assets/data_path.h"
#include "platform/platform.h"

float demoClock = 0.0f;
uint32_t clockBase = 0;
uint32_t musicStream = 0;

bool startMusic() {
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

void startClock() {
    demoClock = 0.0f;
    clockBase = platform::ticks();
}

float showTimeAt(uint32_t now, uint32_t base) {
    const auto elapsed = static_cast<int32_t>(now - base);
    return static_cast<float>(elapsed * 0.01);
}

void updateClock() { demoClock = showTimeAt(platform::ticks(), clockBase); }
