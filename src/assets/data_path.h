// Data paths in scripts and lists are written on Windows: backslashes and a
// letter case that may differ from the files on disk. They all begin with
// "data\", which stands for the data folder in use: the folder the program
// chose at start-up (any name, anywhere), or "data" under the working
// directory when none was chosen.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Makes `folder` the one that paths beginning with "data" lead to; an empty
// path goes back to "data" under the working directory.
void setDataFolder(const std::filesystem::path& folder);
// The folder set above (empty when none was set).
const std::filesystem::path& dataFolder();

// The path with '/' for each '\', as a shell command on Linux names it.
std::string withSlashes(std::string_view path);

// Turns '\' into '/', replaces a leading "data" component (any letter case)
// by the data folder when one was set, and when the exact path does not
// exist matches each further component case-insensitively (first match in
// sorted order). Returns the converted path unchanged when nothing matches.
std::string resolveDataPath(std::string_view path);
