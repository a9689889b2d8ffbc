// The sizes GLU gives a picture: the power of two it scales a side to
// before building mipmaps. 3 * 2^k up to 4 * 2^k - 1 round up to 4 * 2^k,
// everything else rounds down. Shared by the texture loader and the
// browser's GL layer, whose gluBuild2DMipmaps works as Mesa's GLU does.
#pragma once

#include <cstdint>

inline int gluPowerOfTwoSide(int side) {
    int power = 1;
    for (auto v = static_cast<uint32_t>(side); v > 1; v >>= 1) {
        if (v == 3) return power * 4;
        power *= 2;
    }
    return power;
}
