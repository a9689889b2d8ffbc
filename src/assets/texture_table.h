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

// The texture list, relative to the working directory.
constexpr const char* kTextureListPath = "data\\script\\texture.dat";

// Reads the texture list and uploads every picture (needs a current GL
// context). False after a failure, whose records are in `report`.
bool loadTextures(Diagnostics& report);
// Deletes every texture of the table and empties it (after a partial load too).
void unloadTextures();
// Texture pixels (width x height, summed over the list) the show may load.
// The bundled show uses a small fraction of it (docs/robustness.md); a
// picture that would take the sum past it is refused before its pixels are
// allocated.
constexpr uint64_t kTexturePixelBudget = uint64_t{1} << 26;

// One picture of the list: its image, or none and the records saying why (a
// path that does not open, the bitmap cap, the pixel budget, the decoder's
// "Error" followed by the list's "Unable to open").
struct ListedBitmap {
    std::optional<RgbImage> image;
    Diagnostics diagnostics;
};
ListedBitmap loadListedBitmap(const std::string& path, uint64_t maxPixels);
// Whether the first picture that fails ends the list (the show) or the rest
// is still read (the data check).
enum class ListFailure { ends, goesOn };
// The pictures of a list in order, each handed to `use` (which uploads it, or
// keeps it), within kTexturePixelBudget; each failure's records name the
// list's line (file, line, the path as its text). False after any failure.
// loadTextures is this with a GL upload.
bool loadListedPictures(const std::vector<std::string>& entries, const std::function<void(size_t, RgbImage&&)>& use,
                        Diagnostics& report, ListFailure onFailure);

// The entries of a texture list, in table order: the list is read in text
// mode (CR LF is one newline) in reads of at most 98 characters; each read
// that ends before the end of the stream is one entry, its last character
// (normally the newline) dropped. At most kTextureTableSize entries.
std::vector<std::string> readTextureList(std::string_view text);
std::vector<std::string> readTextureList(std::istream& in);

struct TextureListFile {
    std::vector<std::string> entries;
    std::optional<std::string> unreadLastLine;  // a last line without its newline, which is no entry
};
// The list file at `path` (through the bounded reader), or nothing after
// "Unable to open texture.dat".
std::optional<TextureListFile> readTextureListFile(const std::string& path, Diagnostics& report);
