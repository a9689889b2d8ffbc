// Helpers shared by the fuzz targets. Loaders that take a path get their
// input through a file in a private scratch folder (on tmpfs when there is
// one); the loaders' records are checked instead of boxes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzzing {

// The scratch folder, created on first use and removed at exit.
const std::string& scratchDir();
// Replaces the file at `path` with the bytes; aborts when that fails (a
// broken harness must not look like a clean run).
void writeFile(const std::string& path, const uint8_t* data, size_t size);
void writeFile(const std::string& path, const std::string& text);

}  // namespace fuzzing
