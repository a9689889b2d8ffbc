// Helpers shared by the bitmap and texture-list tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "assets/dib.h"
#include "platform/platform.h"
#include "writers/bmp_writer.h"

namespace bmptest {

inline DibResult decode(const std::vector<uint8_t>& bytes) { return decodeDib(bytes.data(), bytes.size()); }

// A picture of `colors` distinct colours with no long runs and some long
// runs, so RLE streams use both encoded and absolute runs.
inline bmpw::IndexedPicture patternPicture(int width, int height, int colors) {
    bmpw::IndexedPicture p;
    p.width = width;
    p.height = height;
    for (int i = 0; i < colors; ++i)
        p.palette.push_back({static_cast<uint8_t>(i * 37 + 5), static_cast<uint8_t>(255 - i * 11),
                             static_cast<uint8_t>(i * 97)});
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            p.indices.push_back(
                static_cast<uint8_t>(x < width / 2 ? (x * 7 + y * 3) % colors : (y % colors)));
    return p;
}

// The R,G,B bytes (bottom row first) an indexed picture stands for.
inline std::vector<uint8_t> expand(const bmpw::IndexedPicture& p) {
    std::vector<uint8_t> out;
    for (uint8_t i : p.indices) {
        out.push_back(p.palette[i].r);
        out.push_back(p.palette[i].g);
        out.push_back(p.palette[i].b);
    }
    return out;
}

inline bmpw::RgbPicture toRgb(const bmpw::IndexedPicture& p) { return {p.width, p.height, expand(p)}; }

struct Box {
    std::string text, caption;
    platform::Icon icon;
};

// Records message boxes while alive.
class BoxRecorder {
public:
    BoxRecorder() {
        platform::setMessageBoxHandler([this](const std::string& text, const std::string& caption,
                                              platform::Icon icon, platform::Buttons) {
            boxes.push_back({text, caption, icon});
            return platform::Answer::Ok;
        });
    }
    ~BoxRecorder() { platform::setMessageBoxHandler({}); }
    std::vector<Box> boxes;
};

}  // namespace bmptest
