// Vec3: the one vector record of the show. Five floats: x, y, z, a cached
// magnitude (`length`, written only by updateLength/normalize) and a spare
// fourth component `w` (homogeneous w of light positions, magnet strength,
// magnet displacement scratch).
#pragma once

struct Vec3 {
    float x = 0.0f;       // 0
    float y = 0.0f;       // 0
    float z = 0.0f;       // 0
    float length = 0.0f;  // 0; magnitude cache, see updateLength
    float w = 0.0f;       // 0

    // length = sqrt(x*x + y*y + z*z)
    void updateLength();
    // Makes (x, y, z) unit length; a zero (or NaN) length gives (0, 0, 0).
    // `length` keeps the magnitude measured before scaling.
    void normalize();
    // Sets x, y, z, w; leaves length.
    void setVec3(float nx, float ny, float nz, float nw);
    // Adds to x, y, z, w in place; leaves length.
    void addVec3(float dx, float dy, float dz, float dw);
};

// Component sum of x, y, z; length and w of the result are 0.
Vec3 operator+(const Vec3& a, const Vec3& b);
