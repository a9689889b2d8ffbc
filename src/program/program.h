// The program as the command line starts it: the plain show, or one of the
// tools and drivers that use it (--check, --inspect, --capture, --bench,
// --author).
#pragma once

#include <string>
#include <vector>

// Parses the arguments (argv without the program name), handles --help and
// --version, chooses the data folder, then runs what they ask for. 0 after
// the show or a cancelled setup, 1 after a failure to start, 2 for a bad
// command line.
int runProgram(const std::vector<std::string>& args);
