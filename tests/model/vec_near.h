// Test helper: the closeness check of two points, and sqrt(8), the factor of
// the oblique view's depth axis.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "model/geometry.h"

namespace pelmar::test {

inline const double kS8 = std::sqrt(8.0);

inline void ExpectNear(Vec3 a, Vec3 b, double tol = 1e-9, const std::string& what = {}) {
    EXPECT_NEAR(a.x, b.x, tol) << what;
    EXPECT_NEAR(a.y, b.y, tol) << what;
    EXPECT_NEAR(a.z, b.z, tol) << what;
}

}  // namespace pelmar::test
