// Element-by-element expectations for vectors and matrices: within a stated
// tolerance, or the same bits when the tolerance is 0 (so that the sign of a
// zero and NaNs count).
#pragma once

#include "geometry/primitives.h"
#include "geometry_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace ftv::test {

inline void expect_close(float actual, float expected, float tolerance, const std::string& what) {
    if (tolerance == 0) {
        EXPECT_EQ(bits(actual), bits(expected)) << what << ": " << actual << " vs " << expected;
    } else {
        EXPECT_NEAR(actual, expected, tolerance) << what;
    }
}

inline void expect_close(const Vec3& actual, const Vec3& expected, float tolerance, const std::string& what) {
    expect_close(actual.x, expected.x, tolerance, what + " x");
    expect_close(actual.y, expected.y, tolerance, what + " y");
    expect_close(actual.z, expected.z, tolerance, what + " z");
}

// All sixteen elements, or the upper 3x3 block alone.
inline void expect_close(const Mat4& actual, const Mat4& expected, float tolerance, const std::string& what,
                         int size = 4) {
    for (int i = 0; i < size; ++i)
        for (int j = 0; j < size; ++j)
            expect_close(actual.m[i][j], expected.m[i][j], tolerance,
                         what + " [" + std::to_string(i) + "][" + std::to_string(j) + "]");
}

}  // namespace ftv::test
