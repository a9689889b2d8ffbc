// The generator's fixed pseudo-random sequence (xorshift32): the same numbers
// on every run, so the data folder comes out byte for byte the same. Pictures
// scatter craters and cells with it, the soundtrack's noise sources read it,
// and value noise hashes its lattice points with latticeHash.
#pragma once

#include <cstdint>

namespace content {

class Rng {
public:
    explicit Rng(uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
    uint32_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    float uniform() { return static_cast<float>(next() >> 8) / 16777216.0f; }  // 0 <= x < 1
    float range(float lo, float hi) { return lo + (hi - lo) * uniform(); }     // lo <= x < hi

private:
    uint32_t state_;
};

// Scrambles the combined coordinates of a noise lattice point into its value
// in 0..1.
inline float latticeHash(uint32_t h) {
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    h ^= h >> 15;
    return static_cast<float>(h & 0xFFFFFF) / 16777215.0f;
}

}  // namespace content
