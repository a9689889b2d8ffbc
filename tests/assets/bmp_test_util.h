// Helpers shared by the bitmap and texture-list tests.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "assets/dib.h"
#include "platform/platform.h"
#include "platform/recorders.h"
#include "support/scratch_folder.h"
#include "writers/bmp_writer.h"

namespace bmptest {

using bmpw::BmpOptions;
using bmpw::Encoding;
using bmpw::HeaderKind;
using Bytes = std::vector<uint8_t>;

// Decodes from a buffer of exactly the file's size, so ASan sees any overread.
inline DibResult decode(const std::vector<uint8_t>& bytes) {
    std::vector<uint8_t> exact(bytes);
    exact.shrink_to_fit();
    return decodeDib(exact.data(), exact.size());
}

// `colors` distinct colours in short stretches and long runs, so RLE streams
// use both absolute and encoded runs.
inline bmpw::IndexedPicture patternPicture(int width, int height, int colors) {
    bmpw::IndexedPicture p{width, height, {}, {}};
    for (int i = 0; i < colors; ++i)
        p.palette.push_back({uint8_t(i * 37 + 5), uint8_t(255 - i * 11), uint8_t(i * 97)});
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            p.indices.push_back(uint8_t((x < width / 2 ? x * 7 + y * 3 : y) % colors));
    return p;
}

// The first (red) byte of each decoded pixel; empty when decoding failed.
inline Bytes firstChannel(const Bytes& file) {
    const DibResult r = decode(file);
    Bytes out;
    for (size_t i = 0; r.image && i < r.image->data.size(); i += 3) out.push_back(r.image->data[i]);
    return out;
}

inline std::vector<uint8_t> expand(const bmpw::IndexedPicture& p) {
    std::vector<uint8_t> out;
    for (uint8_t i : p.indices) out.insert(out.end(), {p.palette[i].r, p.palette[i].g, p.palette[i].b});
    return out;
}

// A fresh working directory with data/script and data/pics while alive.
class ScratchDir : public ScratchFolder {
public:
    explicit ScratchDir(const std::string& name) : ScratchFolder(name), cwd_(withDataFolders(root())) {}

private:
    static const std::filesystem::path& withDataFolders(const std::filesystem::path& root) {
        std::filesystem::create_directories(root / "data" / "script");
        std::filesystem::create_directories(root / "data" / "pics");
        return root;
    }
    WorkingDirectory cwd_;
};

}  // namespace bmptest
