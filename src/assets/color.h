#pragma once

#include <array>

// Colours are four floats red, green, blue, alpha in 0..1.
using Color4 = std::array<float, 4>;
