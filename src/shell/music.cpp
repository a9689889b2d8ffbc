// The soundtrack stream through the platform's audio backend.

#include "shell/music.h"

#include "assets/data_path.h"
#include "assets/file_read.h"
#include "platform/platform.h"

bool Soundtrack::start(double startSeconds) {
    platform::AudioBackend& audio = platform::audio();
    if (audio.getVersion() != platform::kAudioVersion) {
        platform::messageBox("[error] Could not load bass.dll", "multimedia error",
                             platform::Icon::None);
        return false;
    }
    if (!audio.init(-1, 44100, 0)) fatalAudioError("[error] Can't initialize BASS Sound System");
    audio.start();
    audio.streamFree(stream);
    // A FIFO or a device would block the decoder's open: only a regular file.
    const std::string soundtrack = resolveDataPath(kSoundtrackPath);
    stream = isRegularFile(soundtrack) ? audio.streamCreateFile(soundtrack) : 0;
    if (!audio.streamPlayFrom(stream, startSeconds)) fatalAudioError("[error] Can't play stream");
    return true;
}

void Soundtrack::stop() {
    platform::audio().streamFree(stream);
    platform::audio().free();
}

void fatalAudioError(const char* text) {
    platform::messageBox(text, "BASS ERROR", platform::Icon::None);
    platform::audio().free();
    platform::exitProcess(1);
}
