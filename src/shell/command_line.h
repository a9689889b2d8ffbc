// Command-line options. With none the program behaves as the plain show: the
// setup dialog first, then its choices.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct CommandLine {
    bool dialog = true;                  // true; false with --no-dialog
    std::optional<bool> fullscreen;      // unset; --windowed / --fullscreen
    int width = 0, height = 0, bits = 0; // 0; --mode WxHxB (0: not given)
    bool freeSize = false;               // false; --mode WxH or WxHxB of any size (capture, bench)
    bool desktopSize = false;            // false; --mode desktop (the live show at the display's own size)
    bool music = true;                   // true; false with --no-music
    std::string dataDir;                 // empty; --data DIR
    std::optional<double> endSeconds;    // unset; --end SECONDS
    double startSeconds = 0.0;           // 0; --start SECONDS
    std::string capture;                 // empty; --capture FILE|DIR
    int fps = 60;                        // 60; --fps N (capture and bench)
    int maxFps = 60;                     // 60; --max-fps N (live show; 0: no cap)
    bool stats = false;                  // false; --stats
    bool bench = false;                  // false; --bench
    bool check = false;                  // false; --check
    bool author = false;                 // false; --author
    std::string inspect;                 // empty; --inspect FILE
    std::string out;                     // empty; --out FILE.png (with --inspect)
    bool help = false;                   // false
    bool version = false;                // false
    std::string error;                   // empty; what was wrong with the arguments
};

// Parses argv[1..]; on a bad argument `error` says why.
CommandLine parseCommandLine(const std::vector<std::string>& args);
// The text --help prints (the data folder in use is added by the caller).
std::string usageText();
// The manual page, section 6, in roff: the same texts as --help with
// examples and the files read.
std::string manPageText();
