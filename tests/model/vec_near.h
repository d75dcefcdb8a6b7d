// Test helper: the closeness check of two points, and sqrt(8), the factor of
// the oblique view's depth axis.
#pragma once

#include <gtest/gtest.h>

#include <cmath>

#include "model/geometry.h"

namespace pelmar::test {

inline const double kS8 = std::sqrt(8.0);

inline void ExpectNear(Vec3 a, Vec3 b, double tol = 1e-9) {
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
    EXPECT_NEAR(a.z, b.z, tol);
}

}  // namespace pelmar::test
