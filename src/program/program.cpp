// The dispatch from the command line to what it asks for. This folder sits
// above every other: the show (shell) and its drivers (capture) meet only
// here.
#include "program/program.h"

#include <cstdio>
#include <iostream>

#include "capture/bench_run.h"
#include "capture/offline_run.h"
#include "platform/platform.h"
#include "shell/app.h"
#include "shell/author.h"
#include "shell/command_line.h"
#include "shell/data_check.h"
#include "shell/data_folder.h"
#include "shell/inspect.h"

int runProgram(const std::vector<std::string>& args) {
    const CommandLine options = parseCommandLine(args);
    if (!options.error.empty()) {
        std::fprintf(stderr, "orbelune: %s\nTry 'orbelune --help'.\n", options.error.c_str());
        return 2;
    }
    const DataFolderChoice data = findDataFolder(options.dataDir, defaultDataPlaces());
    if (options.help) {
        std::printf("%s\n%s\n", usageText().c_str(), describeDataFolder(data).c_str());
        return 0;
    }
    if (options.version) {
        std::printf("orbelune %s\n", ORBELUNE_VERSION);
        return 0;
    }
    if (const int status = useDataFolder(options, data); status != 0) return status;
    if (!options.inspect.empty()) return runInspect(options.inspect, options.out, std::cout);
    if (options.check) {
        std::cout << describeDataFolder(data) << '\n';
        return runDataCheck(std::cout);
    }
    if (!options.capture.empty()) return runCapture(options);
    if (options.bench) return runBench(options);
    if (!platform::showDisplayReachable()) {
        std::fprintf(stderr,
                     "orbelune: cannot open a display: no X11 or Wayland display answers (DISPLAY and\n"
                     "WAYLAND_DISPLAY unset or unreachable, or a Wayland display without a seat),\n"
                     "so nobody could see the show.\n"
                     "To render it to a file instead: orbelune --capture show.mp4 (or a folder for PNG frames).\n");
        return 1;
    }
    if (options.author) return runAuthor(options);
    return runShow(options);
}
