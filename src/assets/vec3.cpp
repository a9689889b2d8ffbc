// Vec3 helpers: magnitude cache, normalisation, in-place set/add and the
// component sum used to offset vertex positions by an object's position.
#include "assets/vec3.h"

#include <cmath>

void Vec3::updateLength() { length = std::sqrt(x * x + y * y + z * z); }

void Vec3::normalize() {
    updateLength();
    // A zero or NaN magnitude gives the zero vector.
    if (length == 0.0f || std::isnan(length)) {
        x = y = z = 0.0f;
        return;
    }
    const float r = 1.0f / length;
    x *= r;
    y *= r;
    z *= r;
}

void Vec3::setVec3(float nx, float ny, float nz, float nw) {
    x = nx;
    y = ny;
    z = nz;
    w = nw;
}

void Vec3::addVec3(float dx, float dy, float dz, float dw) {
    x += dx;
    y += dy;
    z += dz;
    w += dw;
}

Vec3 operator+(const Vec3& a, const Vec3& b) {
    Vec3 r;
    r.x = a.x + b.x;
    r.y = a.y + b.y;
    r.z = a.z + b.z;
    return r;
}
