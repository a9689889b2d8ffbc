#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

#include "assets/vec3.h"

namespace {

using Fields = std::array<float, 5>;  // x, y, z, length, w

Vec3 make(const Fields& f) {
    Vec3 v;
    v.x = f[0], v.y = f[1], v.z = f[2], v.length = f[3], v.w = f[4];
    return v;
}
Fields fields(const Vec3& v) { return {v.x, v.y, v.z, v.length, v.w}; }

}  // namespace

TEST(Vec3, NormalizeScalesByTheReciprocalAndKeepsTheMeasuredLength) {
    Vec3 v = make({3, 0, 4, 0, 7});
    v.normalize();
    EXPECT_EQ(fields(v), (Fields{3 * 0.2f, 0, 4 * 0.2f, 5, 7}));  // length 5, not 1; w untouched

    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (Fields zeroish : {Fields{0, 0, 0, 9, 0}, Fields{nan, 1, 1, 0, 0}}) {
        Vec3 z = make(zeroish);
        z.normalize();
        EXPECT_TRUE(z.x == 0.0f && z.y == 0.0f && z.z == 0.0f) << z.x << " " << z.y << " " << z.z;
    }
}

TEST(Vec3, SetAddAndSumLeaveOrClearLengthAsDocumented) {
    Vec3 v = make({1, 1, 1, 42, 1});
    v.setVec3(2, 3, 4, 5);
    EXPECT_EQ(fields(v), (Fields{2, 3, 4, 42, 5}));
    v.addVec3(1, -1, 0.5f, -5);
    EXPECT_EQ(fields(v), (Fields{3, 2, 4.5f, 42, 0}));
    v.updateLength();
    EXPECT_EQ(v.length, std::sqrt(9.0f + 4.0f + 20.25f));
    EXPECT_EQ(fields(make({1, 2, 3, 4, 5}) + make({10, 20, 30, 40, 50})), (Fields{11, 22, 33, 0, 0}));
}
