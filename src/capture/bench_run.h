// --bench: the show played headless at a fixed step, timed per frame.
#pragma once

#include "shell/command_line.h"

// Prints the JSON report on stdout; returns the exit status.
int runBench(const CommandLine& options);
