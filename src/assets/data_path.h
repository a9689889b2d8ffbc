// Data paths in scripts and lists are written on Windows: backslashes and a
// letter case that may differ from the files on disk.
#pragma once

#include <string>
#include <string_view>

// Turns '\' into '/', and when the exact path does not exist matches each
// component case-insensitively (first match in sorted order). Returns the
// converted path unchanged when nothing matches.
std::string resolveDataPath(std::string_view path);
