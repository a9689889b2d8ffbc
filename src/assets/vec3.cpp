#include "assets/vec3.h"
// STUB: replaced by the meshes work.
void Vec3::updateLength() {}
void Vec3::normalize() {}
void Vec3::setVec3(float nx, float ny, float nz, float nw) { x = nx; y = ny; z = nz; w = nw; }
void Vec3::addVec3(float dx, float dy, float dz, float dw) { x += dx; y += dy; z += dz; w += dw; }
Vec3 operator+(const Vec3& a, const Vec3& b) { Vec3 r; r.x = a.x + b.x; r.y = a.y + b.y; r.z = a.z + b.z; return r; }
