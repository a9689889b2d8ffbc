// Which data folder the show reads. In this order:
//   1. --data DIR: DIR itself when it holds script/ and textures/, else DIR/data;
//   2. data under the working directory;
//   3. $XDG_DATA_HOME/orbelune/data (~/.local/share/orbelune/data by default);
//   4. share/orbelune/data of the installed tree the program runs from, found
//      relative to the executable, so an installed tree may be moved.
// A folder counts when it holds script/ and textures/ (any letter case).
// The program only reads from it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Where the search looks; defaultDataPlaces() fills it from the process.
struct DataPlaces {
    std::filesystem::path workingDirectory;  // the folder the program was started in
    std::string xdgDataHome;                 // $XDG_DATA_HOME (empty: unset)
    std::string home;                        // $HOME (empty: unset)
    std::filesystem::path executable;        // this program's file (empty: unknown)
};

struct DataFolderChoice {
    std::filesystem::path folder;      // absolute; empty when none was found
    std::string origin;                // how it was found, e.g. "--data", "./data"
    std::vector<std::string> lookedIn; // every place tried, in order
    std::string error;                 // why none was taken (empty when found)
};

DataPlaces defaultDataPlaces();

// True when `dir` holds folders named script and textures (any letter case).
bool isDataFolder(const std::filesystem::path& dir);

// Runs the search above; `option` is the --data value (empty: not given).
DataFolderChoice findDataFolder(const std::string& option, const DataPlaces& places);

// One line for --help and --check saying which folder is in use.
std::string describeDataFolder(const DataFolderChoice& choice);

// True when `path` (relative to the working directory) lies inside `folder`.
bool liesInside(const std::filesystem::path& path, const std::filesystem::path& folder);

struct CommandLine;
// Makes the found folder the one data paths lead to, for the run the options
// ask for. A run that needs the show's data and has none, or outputs that
// would land inside the data folder, end it here: returns the exit status
// (1 no data folder, 2 a bad output path; the reason on stderr), 0 to go on.
int useDataFolder(const CommandLine& options, const DataFolderChoice& choice);
