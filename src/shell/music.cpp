// The soundtrack stream through the platform's audio backend.

#include "shell/music.h"

#include "assets/data_path.h"
#include "assets/file_read.h"
#include "platform/platform.h"

namespace {

Diagnostic audioFailure(const char* caption, const char* text) {
    Diagnostic d;
    d.file = kSoundtrackPath;
    d.caption = caption;
    d.text = text;
    d.stops = true;
    return d;
}

// A failure past the library check: the library is released again.
bool audioError(const char* text, Diagnostics& report) {
    platform::audio().free();
    report.push_back(audioFailure("BASS ERROR", text));
    return false;
}

}  // namespace

bool Soundtrack::start(double startSeconds, Diagnostics& report) {
    platform::AudioBackend& audio = platform::audio();
    if (audio.getVersion() != platform::kAudioVersion) {
        report.push_back(audioFailure("multimedia error", "[error] Could not load bass.dll"));
        return false;
    }
    if (!audio.init(-1, 44100, 0)) return audioError("[error] Can't initialize BASS Sound System", report);
    audio.start();
    audio.streamFree(stream);
    // A FIFO or a device would block the decoder's open: only a regular file.
    const std::string soundtrack = resolveDataPath(kSoundtrackPath);
    stream = isRegularFile(soundtrack) ? audio.streamCreateFile(soundtrack) : 0;
    if (!audio.streamPlayFrom(stream, startSeconds)) return audioError("[error] Can't play stream", report);
    return true;
}

void Soundtrack::stop() {
    platform::audio().streamFree(stream);
    platform::audio().free();
}
