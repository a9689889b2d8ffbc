// The process-wide texture table: entry i is the GL texture made from line i
// of data/script/texture.dat. Everything textured names its picture by index.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "assets/image.h"

constexpr int kTextureTableSize = 100;
extern std::array<uint32_t, kTextureTableSize> TextureTable;

// GL name for a texture index; an index outside 0..99 gives 0 (the GL's
// default texture).
uint32_t textureName(int32_t textureId);

// Reads the texture list and uploads every picture (needs a current GL
// context). False after a failure it has already reported.
bool loadTextures();
// Nothing for a path that cannot be opened (no message); otherwise loadDib.
std::optional<RgbImage> loadBitmap(const std::string& path);
