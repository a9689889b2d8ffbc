// The program's icon for desktop menus: a lit moon with a tilted ring on a
// transparent ground, drawn at any size (supersampled, straight RGBA, top row
// first) and written as PNG files in the layout of an icon theme.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace content {

// size x size pixels, 4 bytes each (R, G, B, A), top row first.
std::vector<uint8_t> drawIcon(int size);

// Writes DIR/NxN/apps/NAME.png for every size the menus use; false (with a
// message on stderr) when a file cannot be written.
bool writeIcons(const std::filesystem::path& dir, const std::string& name);

}  // namespace content
