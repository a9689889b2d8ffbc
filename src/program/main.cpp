// Program entry: everything happens in runProgram; the exit goes through the
// platform so a switched display mode is restored first. SIGINT and SIGTERM
// end the program at any stage (platform/signals.h).

#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/signals.h"
#include "program/program.h"

int main(int argc, char** argv) {
    platform::installStopSignals();
    std::vector<std::string> args(argv + 1, argv + argc);
    platform::exitProcess(runProgram(args));
}
