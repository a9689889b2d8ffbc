// Runs the real program in a child process, headless: no DISPLAY, SDL's
// offscreen video and dummy audio drivers, stdout discarded, stderr kept.
// In a sanitizer build the child also gets the LeakSanitizer suppressions
// for the GL libraries (tests/lsan.supp) with those libraries loaded up front.
#pragma once

#include <string>
#include <vector>

namespace hardening {

struct ProgramRun {
    int status = -1;                    // exit status; -1 after a signal or a time-out
    std::string signal;                 // the signal's name, or "time-out"
    std::vector<std::string> messages;  // non-empty stderr lines (LF or CR ended)
    double seconds = 0;                 // wall time
    double secondsAfterSignal = -1;     // wall time from the planned signal to the end; -1: none sent
};

// A signal sent while the child is held inside its load: its opening of a
// file whose name ends with `heldFile` never returns (a preloaded shim,
// tests/hardening/hold_open.c), and the signal goes once it is held there.
// A child that ends before it is held gets no signal.
struct SignalPlan {
    int signo = 0;         // 0: none
    std::string heldFile;  // the file name whose opening holds the child
};

// Runs ORBELUNE_BINARY with `args`; kills it after `timeoutSeconds`.
ProgramRun runProgram(const std::vector<std::string>& args, int timeoutSeconds, SignalPlan plan = {});

// True when this test binary (and so the program beside it) was built with
// AddressSanitizer.
bool sanitizerBuild();

}  // namespace hardening
