// One way to read a file whole. Every loader (texture list, bitmaps, scene
// scripts, meshes) and every tool that reads what the show reads goes
// through readFileBounded, so that no file kind can hang or exhaust the
// program: the path must lead, after links, to a regular file; a folder,
// FIFO, device or socket is refused before it is opened for reading, and
// the file is read up to the size it had when it was opened and never past
// the cap its role gives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class FileReadError {
    None,
    CannotOpen,  // missing, no regular file, unreadable, or a read failed
    TooLarge,    // larger than the cap (only with OverCap::Refuse)
};

// What happens to a file larger than the cap.
enum class OverCap {
    Refuse,      // TooLarge, nothing read
    ReadPrefix,  // the first `cap` bytes (for a reader that never looks further)
};

struct FileBytes {
    std::vector<uint8_t> bytes;
    FileReadError error = FileReadError::None;
    uint64_t sizeAtOpen = 0;  // the file's size when opened (also for TooLarge)

    bool ok() const { return error == FileReadError::None; }
};

// Caps by role. Each is far above what a file of that role can usefully
// hold; docs/robustness.md gives the reasons.
constexpr size_t kTextureListCap = size_t{64} << 10;  // read as a prefix: 100 reads of 98 chars need < 20 KiB
constexpr size_t kScriptFileCap = size_t{16} << 20;   // 1024 keywords with their arguments
constexpr size_t kMeshFileCap = size_t{16} << 20;     // several of the largest 16-bit-list objects
constexpr size_t kBitmapFileCap = size_t{1} << 30;    // a 16384 x 16384 32-bit picture and its headers

// The file's bytes, or the reason there are none. Never throws; never
// blocks on a FIFO or a device; reads at most `cap` bytes.
FileBytes readFileBounded(const std::string& path, size_t cap, OverCap overCap = OverCap::Refuse);

// True when `path` leads, after links, to a regular file (for files another
// library opens by name, such as the soundtrack).
bool isRegularFile(const std::string& path);

// "N MiB" for a cap, as the refusal messages write it.
std::string capText(size_t cap);
