#include "assets/texture_table.h"
// STUB: replaced by the texture-list work.
std::array<uint32_t, kTextureTableSize> TextureTable{};
uint32_t textureName(int32_t id) { return id >= 0 && id < kTextureTableSize ? TextureTable[static_cast<size_t>(id)] : 0; }
bool loadTextures() { return true; }
std::optional<RgbImage> loadBitmap(const std::string&) { return std::nullopt; }
