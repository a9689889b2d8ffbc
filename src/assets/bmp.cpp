#include "assets/image.h"
// STUB: replaced by the BMP work.
std::optional<RgbImage> loadDib(const std::string&) { return std::nullopt; }
