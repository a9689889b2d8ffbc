// The soundtrack: one stream, started once before the show and released at
// its end.
#pragma once

#include <cstdint>

#include "assets/diagnostic.h"

// The soundtrack file, relative to the working directory.
constexpr const char* kSoundtrackPath = "data\\music\\drabelfinal.mp3";

struct Soundtrack {
    uint32_t stream = 0;  // 0; handle of the soundtrack stream

    // Starts the soundtrack. False after a failure, whose record (one that
    // stops the show) is in `report`: the audio library is not the expected
    // version ("multimedia error"), or it does not start or play the stream
    // ("BASS ERROR", the library released again). The first sound heard is
    // `startSeconds` into the soundtrack.
    bool start(double startSeconds, Diagnostics& report);
    // Shutdown: frees the stream, then the audio library.
    void stop();
};
