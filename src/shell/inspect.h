// --inspect: what the show's own loaders read from one file, as JSON.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

enum class InspectKind { Bitmap, Mesh, TextureList, Script };

// By extension (.bmp/.dib, .3ds, texture.dat), else by the first bytes
// ("BM", a 0x4D4D main chunk), else a scene script.
InspectKind inspectKind(const std::string& path);

// 64-bit FNV-1a of a byte run.
uint64_t fnv1a64(const uint8_t* data, size_t size);

// Writes the JSON report for `path` to `out`. For a bitmap with a non-empty
// `pngOut`, the decoded pixels are also written there as a PNG. Returns 0
// when the file loaded cleanly, 1 when the loaders reported a problem.
int runInspect(const std::string& path, const std::string& pngOut, std::ostream& out);
