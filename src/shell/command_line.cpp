// Parsing of the command line. Options only preset what the setup dialog
// would choose (or replace it with --no-dialog) and bound the show's length;
// every option may be given once or more, the last one counts. The help
// text and the manual page are written from one table of options.

#include "shell/command_line.h"

#include <charconv>
#include <cmath>
#include <string_view>

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

// "WxH" or "WxHxB" for captures: any size from 16 to 8192 pixels a side,
// colour depth 16 or 32 (32 when left out).
bool parseSize(const std::string& text, int& width, int& height, int& bits) {
    int parts[3] = {0, 0, 32};
    int count = 0;
    for (std::string_view rest(text); count < 3; ++count) {
        const size_t x = rest.find('x');
        const std::string_view part = rest.substr(0, x);
        auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), parts[count]);
        if (ec != std::errc() || end != part.data() + part.size()) return false;
        if (x == std::string_view::npos) break;
        rest.remove_prefix(x + 1);
    }
    if (count < 1 || count > 2) return false;
    width = parts[0];
    height = parts[1];
    bits = parts[2];
    return width >= 16 && width <= 8192 && height >= 16 && height <= 8192 && (bits == 16 || bits == 32);
}

bool parseSeconds(const std::string& text, double& out) {
    const char* first = text.data();
    const char* last = first + text.size();
    auto [end, ec] = std::from_chars(first, last, out);
    return ec == std::errc() && end == last && std::isfinite(out) && out >= 0.0;
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args, CommandLineUse use) {
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
            bool known = value == "desktop";
            line.desktopSize = known;
            if (known) line.freeSize = false;
            for (const Mode& mode : kModes) {
                if (value == mode.text) {
                    line.width = mode.width;
                    line.height = mode.height;
                    line.bits = mode.bits;
                    line.freeSize = false;
                    known = true;
                }
            }
            int width = 0, height = 0, bits = 0;
            if (!known && parseSize(value, width, height, bits)) {
                // Any size is accepted for captures; checked after parsing.
                line.width = width;
                line.height = height;
                line.bits = bits;
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
            line.fpsGiven = true;
        } else if (arg == "--max-fps") {
            int fps = 0;
            const std::string value = hasValue ? args[i + 1] : std::string();
            auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), fps);
            if (!hasValue || ec != std::errc() || end != value.data() + value.size() || fps < 0 || fps > 1000) {
                line.error = "--max-fps needs a whole number from 0 (no cap) to 1000";
                break;
            }
            ++i;
            line.maxFps = fps;
        } else if (arg == "--stats") {
            line.stats = true;
        } else if (arg == "--bench") {
            line.bench = true;
        } else if (arg == "--check") {
            line.check = true;
        } else if (arg == "--author") {
            line.author = true;
        } else {
            line.error = "unknown option '" + arg + "'";
        }
    }
    if (line.error.empty() && line.desktopSize && (!line.capture.empty() || line.bench))
        line.error = "--mode desktop is the display's own size; --capture and --bench take a WxH size";
    if (line.error.empty() && line.freeSize && line.capture.empty() && !line.bench && use == CommandLineUse::Program)
        line.error = "the show plays in 800x600x32, 800x600x16, 640x480x32, 640x480x16 or desktop; "
                     "other sizes are for --capture and --bench";
    if (line.error.empty() && line.endSeconds && line.startSeconds >= *line.endSeconds)
        line.error = "--start must be before --end";
    if (line.error.empty() && line.author && (!line.capture.empty() || line.bench || line.check || !line.inspect.empty()))
        line.error = "--author plays live in a window; it does not go with --capture, --bench, --check or --inspect";
    if (line.error.empty() && !line.out.empty() && line.inspect.empty())
        line.error = "--out goes with --inspect";
    return line;
}

namespace {

// One option as --help and the manual page show it.
struct OptionHelp {
    const char* name;
    const char* value;  // "" for a switch
    const char* text;   // one paragraph
};

constexpr OptionHelp kShowOptions[] = {
    {"--no-dialog", "", "skip the setup dialog (defaults plus the options below)"},
    {"--windowed", "", "play in a window"},
    {"--fullscreen", "", "play full screen"},
    {"--mode", "WxHxB",
     "800x600x32, 800x600x16, 640x480x32, 640x480x16, or desktop: the display's own size, full screen without a "
     "mode switch; --capture and --bench also take any WxH or WxHxB"},
    {"--no-music", "", "play without the soundtrack"},
    {"--data", "DIR",
     "read the show from DIR: DIR itself when it holds the folders script and textures, else DIR/data"},
    {"--start", "SECONDS", "begin the show at that show time (music too)"},
    {"--end", "SECONDS", "end the show at that show time (after --start)"},
    {"--max-fps", "N",
     "at most N frames a second in the live show (the display's refresh rate, 60 when unknown; 0: no cap); the "
     "show steps 60 times a second whatever the rate, frames between its steps are drawn in between"},
    {"--stats", "", "after the show, one line of frame pacing figures on stderr"},
    {"--author", "",
     "play in a window for making the data, at 60 frames a second: time, section and a timeline bar on screen, "
     "pause, exact seeks, frame steps, slow speeds, a loop (--start A --end B plays A to B over and over) and a "
     "free camera with the section's camera path, by key (see KEYS) and by clicking the bar; a changed file of "
     "the data folder is loaded again at the same show time, and a loader problem is shown over the picture "
     "instead of ending the program"},
};

constexpr OptionHelp kToolOptions[] = {
    {"--capture", "FILE",
     "render the show offline, without a display, at a fixed frame step into FILE.mp4, .mkv or .webm (with the "
     "soundtrack unless --no-music) or into an existing folder as numbered PNG frames"},
    {"--fps", "N",
     "frames per second of --capture and --bench (60): frame k shows the show at k / N seconds, which steps 60 "
     "times a second at any N (at 30 every second frame of 60, at 120 those frames and one drawn between each "
     "two)"},
    {"--bench", "", "play the show headless at a fixed step without output and print frame times per section as JSON"},
    {"--check", "", "check the data folder, report every problem, exit 0 when clean, 1 otherwise"},
    {"--inspect", "FILE", "print as JSON what the show reads from a BMP, .3ds, texture list or scene script"},
    {"--out", "FILE.png", "with --inspect on a BMP: also write its pixels as PNG"},
    {"--help", "", "show this text and the data folder in use"},
    {"--version", "", "show the version"},
};

constexpr const char* kSummary = "Plays the show: a real-time 3D flight in time with its soundtrack.";

constexpr const char* kDataSearch =
    "The show is read from the first data folder found, a folder holding script and textures: the --data "
    "folder; data under the working directory; $XDG_DATA_HOME/orbelune/data (~/.local/share/orbelune/data when "
    "XDG_DATA_HOME is unset); share/orbelune/data of the installed tree, beside the program's bin folder. The "
    "program never writes into it. Other relative paths (--capture, --inspect, --out) are taken from the working "
    "directory; a path beginning with data/ leads into the data folder.";

constexpr const char* kKeys =
    "Escape ends each section it is held through, one frame each, so an ordinary press ends the show; closing "
    "the window ends it too. With --author: Space pauses and resumes, Left/Right move 1 s (with Shift 10 s), "
    "PageUp/PageDown go to the previous/next section, comma and period step one frame back and on, 1/2/4/8 "
    "play at full, half, quarter and eighth speed, I and O set the loop's start and end at the play head and U "
    "clears it, Home goes to the start (of the loop), H hides the text and the bar, C switches to the free "
    "camera with the section's camera path and back (W/S, A/D, R/F and a mouse drag move it), a click or drag "
    "on the bar seeks, Escape ends.";

constexpr const char* kFullScreen =
    "Full screen on a display that cannot take the chosen mode plays at the display's own size, the 4:3 picture "
    "at the largest size between black bars (--mode desktop does so without any mode switch); only where no full "
    "screen can be had at all does it ask whether to play in a window. While the music plays the picture "
    "follows it. Every message box is also written on stderr.";

constexpr const char* kExitStatus =
    "0 after the show or a cancelled setup, 1 when the show could not start or stopped on an error, 2 for a bad "
    "command line.";

struct Example {
    const char* command;
    const char* text;
};
constexpr Example kExamples[] = {
    {"orbelune", "the setup dialog, then the show"},
    {"orbelune --no-dialog --windowed --no-music", "the show in a window, without sound"},
    {"orbelune --no-dialog --mode desktop", "full screen at the display's own size, no mode switch"},
    {"orbelune --capture show.mp4 --mode 1280x720", "the whole show as a video"},
    {"orbelune --capture frames/ --fps 10 --start 30 --end 31", "ten PNG frames into the folder frames"},
    {"orbelune --data my-show --check", "check a data folder of one's own"},
};

// `text` broken into lines of at most `width` characters, each after `indent`.
std::string wrapped(std::string_view text, size_t indent, size_t width, bool indentFirst) {
    std::string out;
    size_t column = 0;
    bool lineStart = true;
    if (indentFirst) out.append(indent, ' ');
    column = indent;
    while (!text.empty()) {
        const size_t space = text.find(' ');
        const std::string_view word = text.substr(0, space);
        if (!lineStart && column + 1 + word.size() > width) {
            out += '\n';
            out.append(indent, ' ');
            column = indent;
            lineStart = true;
        }
        if (!lineStart) {
            out += ' ';
            ++column;
        }
        out += word;
        column += word.size();
        lineStart = false;
        text = space == std::string_view::npos ? std::string_view() : text.substr(space + 1);
    }
    return out + '\n';
}

template <size_t N>
void listOptions(std::string& out, const OptionHelp (&options)[N]) {
    constexpr size_t kTextColumn = 21;
    for (const OptionHelp& option : options) {
        std::string head = std::string("  ") + option.name;
        if (*option.value) head += std::string(" ") + option.value;
        if (head.size() + 2 > kTextColumn) {
            out += head + '\n' + wrapped(option.text, kTextColumn, 79, true);
        } else {
            head.resize(kTextColumn, ' ');
            out += head + wrapped(option.text, kTextColumn, 79, false);
        }
    }
}

// Text for roff: hyphens as minus signs, backslashes escaped, no line may
// begin with a control character.
std::string roff(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '-')
            out += "\\-";
        else if (c == '\\')
            out += "\\e";
        else
            out += c;
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out.insert(0, "\\&");
    return out;
}

template <size_t N>
void manOptions(std::string& out, const OptionHelp (&options)[N]) {
    for (const OptionHelp& option : options) {
        if (*option.value)
            out += ".TP\n.BI \"" + roff(option.name) + " \" " + roff(option.value) + "\n";
        else
            out += ".TP\n.B " + roff(option.name) + "\n";
        out += roff(option.text) + "\n";
    }
}

}  // namespace

std::string usageText() {
    std::string out = "usage: orbelune [options]\n";
    out += wrapped(kSummary, 0, 79, false) + '\n';
    listOptions(out, kShowOptions);
    out += "\nTools:\n";
    listOptions(out, kToolOptions);
    out += '\n' + wrapped(kDataSearch, 0, 79, false);
    out += '\n' + wrapped(kKeys, 0, 79, false);
    out += '\n' + wrapped(std::string("Exit status: ") + kExitStatus, 0, 79, false);
    return out;
}

std::string manPageText() {
    std::string out = ".TH ORBELUNE 6 \"\" \"orbelune " ORBELUNE_VERSION "\" \"Games\"\n";
    out += ".SH NAME\norbelune \\- a real\\-time 3D show in time with its soundtrack\n";
    out += ".SH SYNOPSIS\n.B orbelune\n[\\fIoptions\\fR]\n";
    out += ".SH DESCRIPTION\n" + roff(kSummary) + "\nWith no options it first shows a setup dialog (music, full "
           "screen, screen mode).\n" + roff(kFullScreen) + "\n";
    out += ".SH OPTIONS\n";
    manOptions(out, kShowOptions);
    out += ".SS Tools\n";
    manOptions(out, kToolOptions);
    out += ".SH KEYS\n" + roff(kKeys) + "\n";
    out += ".SH FILES\n" + roff(kDataSearch) + "\n";
    out += ".SH ENVIRONMENT\n.TP\n.B XDG_DATA_HOME\nwhere the user's own data folder is looked for "
           "(orbelune/data below it).\n";
    out += ".SH EXIT STATUS\n" + roff(kExitStatus) + "\n";
    out += ".SH EXAMPLES\n";
    for (const Example& example : kExamples)
        out += ".TP\n.B " + roff(example.command) + "\n" + roff(example.text) + "\n";
    return out;
}
