// The process-wide texture table: entry i is the GL texture made from line i
// of data/script/texture.dat. Everything textured names its picture by index.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "assets/image.h"

constexpr int kTextureTableSize = 100;
// A global on purpose: the names belong to the one GL context of the
// process, and every draw call that textures something (scene objects,
// flares, particles, overlays) looks its picture up here; threading the
// table through each of them would add a parameter to every draw for no
// second table that could ever exist.
extern std::array<uint32_t, kTextureTableSize> TextureTable;

// GL name for a texture index; an index outside 0..99 gives 0 (the GL's
// default texture).
uint32_t textureName(int32_t textureId);

// Reads the texture list and uploads every picture (needs a current GL
// context). False after a failure it has already reported.
bool loadTextures();
// Texture pixels (width x height, summed over the list) the show may load.
// The bundled show uses a small fraction of it (docs/robustness.md); a
// picture that would take the sum past it is refused before its pixels are
// allocated.
constexpr uint64_t kTexturePixelBudget = uint64_t{1} << 26;

// One picture of the list. No image and no refusal: the file cannot be
// opened (no message) or the decoder refused it (its "Error" box shown).
struct ListedBitmap {
    std::optional<RgbImage> image;
    std::string refusal;  // the bitmap cap's or the pixel budget's message, if one was hit
};
ListedBitmap loadListedBitmap(const std::string& path, uint64_t maxPixels);
// The pictures of a list in order, each handed to `use` (which uploads it, or
// keeps it), within kTexturePixelBudget; at the first failure its message is
// shown ("multimedia error") and the result is false. loadTextures is this
// with a GL upload.
bool loadListedPictures(const std::vector<std::string>& entries,
                        const std::function<void(size_t, RgbImage&&)>& use);
// Nothing for a path that cannot be opened (no message); otherwise loadDib.
std::optional<RgbImage> loadBitmap(const std::string& path);

// The entries of a texture list, in table order: the list is read in text
// mode (CR LF is one newline) in reads of at most 98 characters; each read
// that ends before the end of the stream is one entry, its last character
// (normally the newline) dropped. At most kTextureTableSize entries.
std::vector<std::string> readTextureList(std::string_view text);
std::vector<std::string> readTextureList(std::istream& in);
// The entries of the list file at `path` (read with the bounded reader), or
// nothing when it cannot be opened.
std::optional<std::vector<std::string>> readTextureListFile(const std::string& path);
