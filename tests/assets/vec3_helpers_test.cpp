#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "assets/vec3.h"

namespace {

Vec3 make(float x, float y, float z, float length = 0.0f, float w = 0.0f) {
    Vec3 v;
    v.x = x;
    v.y = y;
    v.z = z;
    v.length = length;
    v.w = w;
    return v;
}

}  // namespace

TEST(Vec3, NormalizeScalesOnceAndKeepsTheMeasuredLength) {
    Vec3 v = make(3, 0, 4, 0, 7);
    v.normalize();
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    EXPECT_FLOAT_EQ(v.y, 0.0f);
    EXPECT_FLOAT_EQ(v.z, 0.8f);
    EXPECT_FLOAT_EQ(v.length, 5.0f);  // the magnitude before scaling, not 1
    EXPECT_FLOAT_EQ(v.w, 7.0f);       // w is not part of the vector

    // Multiplied by the reciprocal, bit for bit.
    Vec3 u = make(1, 2, 3);
    u.normalize();
    const float r = 1.0f / std::sqrt(14.0f);
    EXPECT_EQ(u.x, 1.0f * r);
    EXPECT_EQ(u.y, 2.0f * r);
    EXPECT_EQ(u.z, 3.0f * r);
}

TEST(Vec3, NormalizeOfZeroOrNanGivesZero) {
    Vec3 zero = make(0, 0, 0, 9);
    zero.normalize();
    EXPECT_EQ(zero.x, 0.0f);
    EXPECT_EQ(zero.y, 0.0f);
    EXPECT_EQ(zero.z, 0.0f);
    EXPECT_EQ(zero.length, 0.0f);

    Vec3 nan = make(std::numeric_limits<float>::quiet_NaN(), 1, 1);
    nan.normalize();
    EXPECT_EQ(nan.x, 0.0f);
    EXPECT_EQ(nan.y, 0.0f);
    EXPECT_EQ(nan.z, 0.0f);
}

TEST(Vec3, SetAndAddLeaveTheLengthCache) {
    Vec3 v = make(1, 1, 1, 42, 1);
    v.setVec3(2, 3, 4, 5);
    EXPECT_EQ(v.x, 2.0f);
    EXPECT_EQ(v.y, 3.0f);
    EXPECT_EQ(v.z, 4.0f);
    EXPECT_EQ(v.w, 5.0f);
    EXPECT_EQ(v.length, 42.0f);
    v.addVec3(1, -1, 0.5f, -5);
    EXPECT_EQ(v.x, 3.0f);
    EXPECT_EQ(v.y, 2.0f);
    EXPECT_EQ(v.z, 4.5f);
    EXPECT_EQ(v.w, 0.0f);
    EXPECT_EQ(v.length, 42.0f);
    v.updateLength();
    EXPECT_FLOAT_EQ(v.length, std::sqrt(9.0f + 4.0f + 20.25f));
}

TEST(Vec3, SumAddsXyzAndZeroesLengthAndW) {
    const Vec3 s = make(1, 2, 3, 4, 5) + make(10, 20, 30, 40, 50);
    EXPECT_EQ(s.x, 11.0f);
    EXPECT_EQ(s.y, 22.0f);
    EXPECT_EQ(s.z, 33.0f);
    EXPECT_EQ(s.length, 0.0f);
    EXPECT_EQ(s.w, 0.0f);
}
