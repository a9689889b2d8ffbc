// The life of the program: options, setup dialog, window, loading, the show
// and the orderly end. Returns the process exit status.
#pragma once

#include <string>
#include <vector>

#include "shell/command_line.h"

constexpr const char* kShowTitle = "vantrel :: tamsk orbelune";

// Parses the arguments (argv without the program name), handles --help and
// --version, chooses the data folder, then plays the show. 0 after the show or a cancelled
// setup, 1 after a failure to start, 2 for a bad command line.
int runProgram(const std::vector<std::string>& args);

// Start-up, show and shutdown with the options already parsed (the data
// folder already chosen). Process-ending errors exit from inside.
int runShow(const CommandLine& options);

struct Show;
// Loads the ten scene scripts in slot order, setting the roll of six scenes
// right after each is loaded.
void loadShowScenes(Show& show);
