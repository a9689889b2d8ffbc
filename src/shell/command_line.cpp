// Parsing of the command line. Options only preset what the setup dialog
// would choose (or replace it with --no-dialog) and bound the show's length;
// every option may be given once or more, the last one counts.

#include "shell/command_line.h"

#include <charconv>
#include <cmath>

namespace {

struct Mode {
    const char* text;
    int width, height, bits;
};
constexpr Mode kModes[] = {
    {"800x600x32", 800, 600, 32},
    {"800x600x16", 800, 600, 16},
    {"640x480x32", 640, 480, 32},
    {"640x480x16", 640, 480, 16},
};

bool parseSeconds(const std::string& text, double& out) {
    const char* first = text.data();
    const char* last = first + text.size();
    auto [end, ec] = std::from_chars(first, last, out);
    return ec == std::errc() && end == last && std::isfinite(out) && out >= 0.0;
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    for (size_t i = 0; i < args.size() && line.error.empty(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--no-dialog") {
            line.dialog = false;
        } else if (arg == "--windowed") {
            line.fullscreen = false;
        } else if (arg == "--fullscreen") {
            line.fullscreen = true;
        } else if (arg == "--no-music") {
            line.music = false;
        } else if (arg == "--help" || arg == "-h") {
            line.help = true;
        } else if (arg == "--version") {
            line.version = true;
        } else if (arg == "--mode") {
            if (!hasValue) {
                line.error = "--mode needs a value";
                break;
            }
            const std::string& value = args[++i];
            bool known = false;
            for (const Mode& mode : kModes) {
                if (value == mode.text) {
                    line.width = mode.width;
                    line.height = mode.height;
                    line.bits = mode.bits;
                    known = true;
                }
            }
            if (!known) line.error = "unknown mode '" + value + "'";
        } else if (arg == "--data") {
            if (!hasValue || args[i + 1].empty()) {
                line.error = "--data needs a folder";
                break;
            }
            line.dataDir = args[++i];
        } else if (arg == "--end") {
            double seconds = 0.0;
            if (!hasValue || !parseSeconds(args[i + 1], seconds)) {
                line.error = "--end needs a number of seconds";
                break;
            }
            ++i;
            line.endSeconds = seconds;
        } else {
            line.error = "unknown option '" + arg + "'";
        }
    }
    return line;
}

std::string usageText() {
    return "usage: orbelune [options]\n"
           "Plays the show from the data folder under the working directory.\n"
           "\n"
           "  --no-dialog        skip the setup dialog (defaults plus the options below)\n"
           "  --windowed         play in a window\n"
           "  --fullscreen       play full screen\n"
           "  --mode WxHxB       800x600x32, 800x600x16, 640x480x32 or 640x480x16\n"
           "  --no-music         play without the soundtrack\n"
           "  --data DIR         read the data folder from DIR (DIR/data, or DIR itself\n"
           "                     when it is the data folder)\n"
           "  --end SECONDS      end the show at that show time\n"
           "  --help             show this text\n"
           "  --version          show the version\n"
           "\n"
           "Exit status: 0 after the show or a cancelled setup, 1 when the show could\n"
           "not start or stopped on an error, 2 for a bad command line.\n";
}
