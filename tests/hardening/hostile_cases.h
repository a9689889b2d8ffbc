// The hostile files of tests/data with the loader each one attacks, shared by
// the outcome tests and the memory-bound test.
#pragma once

#include <string>
#include <vector>

namespace hardening {

enum class HostileKind { Bitmap, Mesh, Script, TextureList };

struct HostileFile {
    std::string name;  // file name inside tests/data
    HostileKind kind;
};

std::vector<HostileFile> hostileFiles();
// Loads the file with its loader, messages collected and a process-ending
// error caught; returns the messages (a refused allocation that a loader
// turns into "Out of memory." shows here).
std::vector<std::string> loadHostile(const HostileFile& file);

}  // namespace hardening
