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

// "WxH" for archive captures: any size from 16 to 8192 pixels a side.
bool parseSize(const std::string& text, int& width, int& height) {
    size_t x = text.find('x');
    if (x == std::string::npos || text.find('x', x + 1) != std::string::npos) return false;
    auto number = [](const std::string& part, int& out) {
        auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), out);
        return ec == std::errc() && end == part.data() + part.size() && out >= 16 && out <= 8192;
    };
    return number(text.substr(0, x), width) && number(text.substr(x + 1), height);
}

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
                    line.freeSize = false;
                    known = true;
                }
            }
            int width = 0, height = 0;
            if (!known && parseSize(value, width, height)) {
                // Any WxH is accepted for captures; checked after parsing.
                line.width = width;
                line.height = height;
                line.bits = 32;
                line.freeSize = true;
                known = true;
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
        } else if (arg == "--start") {
            double seconds = 0.0;
            if (!hasValue || !parseSeconds(args[i + 1], seconds)) {
                line.error = "--start needs a number of seconds";
                break;
            }
            ++i;
            line.startSeconds = seconds;
        } else if (arg == "--capture" || arg == "--inspect" || arg == "--out") {
            if (!hasValue || args[i + 1].empty()) {
                line.error = arg + " needs a file";
                break;
            }
            (arg == "--capture" ? line.capture : arg == "--inspect" ? line.inspect : line.out) = args[++i];
        } else if (arg == "--fps") {
            int fps = 0;
            const std::string value = hasValue ? args[i + 1] : std::string();
            auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), fps);
            if (!hasValue || ec != std::errc() || end != value.data() + value.size() || fps < 1 || fps > 1000) {
                line.error = "--fps needs a whole number from 1 to 1000";
                break;
            }
            ++i;
            line.fps = fps;
        } else if (arg == "--bench") {
            line.bench = true;
        } else if (arg == "--check") {
            line.check = true;
        } else {
            line.error = "unknown option '" + arg + "'";
        }
    }
    if (line.error.empty() && line.freeSize && line.capture.empty() && !line.bench)
        line.error = "--mode WxH (without colour depth) is for --capture and --bench only";
    if (line.error.empty() && !line.out.empty() && line.inspect.empty())
        line.error = "--out goes with --inspect";
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
           "  --start SECONDS    begin the show at that show time (music too)\n"
           "\n"
           "Tools:\n"
           "  --capture FILE     render the show offline, without a display, at a fixed\n"
           "                     frame step into FILE.mp4, .mkv or .webm (with the\n"
           "                     soundtrack unless --no-music) or into an existing\n"
           "                     folder as numbered PNG frames; --mode also takes WxH\n"
           "  --fps N            frames per second of --capture and --bench (60)\n"
           "  --bench            play the show headless at a fixed step without output\n"
           "                     and print frame times per section as JSON\n"
           "  --check            check the data folder, report every problem, exit 0\n"
           "                     when clean, 1 otherwise\n"
           "  --inspect FILE     print as JSON what the show reads from a BMP, .3ds,\n"
           "                     texture list or scene script\n"
           "  --out FILE.png     with --inspect on a BMP: also write its pixels as PNG\n"
           "  --help             show this text\n"
           "  --version          show the version\n"
           "\n"
           "Exit status: 0 after the show or a cancelled setup, 1 when the show could\n"
           "not start or stopped on an error, 2 for a bad command line.\n";
}
