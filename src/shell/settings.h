// The run's choices: screen mode, full screen and music. The command line
// gives the starting values, the setup dialog may change them; runShow makes
// one record and hands it to whatever reads it.
#pragma once

#include <cstdint>

struct CommandLine;

struct Settings {
    int32_t width = 800;     // 800; 0 with height 0: the display's own size
    int32_t height = 600;    // 600
    int32_t bits = 32;       // 32
    bool fullscreen = true;  // true; wanted (the window says what came of it)
    bool music = true;       // true
    bool cancelled = false;  // false; the setup dialog was closed
};

// The defaults changed by what the command line says (--mode, --windowed,
// --fullscreen, --no-music).
Settings settingsFrom(const CommandLine& options);
