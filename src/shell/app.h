// The life of the program: options, setup dialog, window, loading, the show
// and the orderly end. Returns the process exit status.
#pragma once

#include <string>
#include <vector>

#include "shell/command_line.h"

constexpr const char* kShowTitle = "vantrel :: tamsk orbelune";

// Parses the arguments (argv without the program name), handles --help,
// --version and --data, then plays the show. 0 after the show or a cancelled
// setup, 1 after a failure to start, 2 for a bad command line.
int runProgram(const std::vector<std::string>& args);

// Start-up, show and shutdown with the options already parsed (the working
// directory already set). Process-ending errors exit from inside.
int runShow(const CommandLine& options);

struct Show;
// Loads the ten scene scripts in slot order, setting the roll of six scenes
// right after each is loaded.
void loadShowScenes(Show& show);

// Makes `dir` the working directory the data paths are read from: the folder
// holding "data", or the data folder itself. False with a reason otherwise.
bool enterDataFolder(const std::string& dir, std::string& reason);
