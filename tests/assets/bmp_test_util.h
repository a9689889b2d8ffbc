// Helpers shared by the bitmap and texture-list tests.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "assets/dib.h"
#include "platform/platform.h"
#include "platform/recorders.h"
#include "writers/bmp_writer.h"

namespace bmptest {

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

inline std::vector<uint8_t> expand(const bmpw::IndexedPicture& p) {
    std::vector<uint8_t> out;
    for (uint8_t i : p.indices) out.insert(out.end(), {p.palette[i].r, p.palette[i].g, p.palette[i].b});
    return out;
}

// A fresh working directory with data/script and data/pics while alive.
class ScratchDir {
public:
    explicit ScratchDir(const std::string& name)
        : old_(std::filesystem::current_path()),
          dir_(std::filesystem::temp_directory_path() / (name + std::to_string(::getpid()))) {
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_ / "data" / "script");
        std::filesystem::create_directories(dir_ / "data" / "pics");
        std::filesystem::current_path(dir_);
    }
    ~ScratchDir() {
        std::filesystem::current_path(old_);
        std::filesystem::remove_all(dir_);
    }
    void write(const std::string& relative, const std::string& bytes) const {
        std::ofstream(dir_ / relative, std::ios::binary) << bytes;
    }

private:
    std::filesystem::path old_, dir_;
};

}  // namespace bmptest
