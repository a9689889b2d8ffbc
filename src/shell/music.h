// The soundtrack: one stream, started once before the show and released at
// its end.
#pragma once

#include <cstdint>

// The soundtrack file, relative to the working directory.
constexpr const char* kSoundtrackPath = "data\\music\\drabelfinal.mp3";

struct Soundtrack {
    uint32_t stream = 0;  // 0; handle of the soundtrack stream

    // Starts the soundtrack. False (after its message) when the audio
    // library is not the expected version; any other failure ends the
    // process. The first sound heard is `startSeconds` into the soundtrack.
    bool start(double startSeconds = 0.0);
    // Shutdown: frees the stream, then the audio library.
    void stop();
};

// "BASS ERROR" box with the text, releases the audio library and ends the
// process with status 1.
[[noreturn]] void fatalAudioError(const char* text);
