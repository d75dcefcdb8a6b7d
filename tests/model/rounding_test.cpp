// Half-to-even rounding through rint, against nearbyint (which saves and
// restores the floating-point environment on every call and costs some twenty
// times as much): the same value and sign for every kind of input, and the
// projection of points the same as when it rounded with nearbyint.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>

#include "model/geometry.h"

using namespace pelmar;

namespace {

template <class T>
bool Same(T a, T b) {
    return (a == b && std::signbit(a) == std::signbit(b)) || (std::isnan(a) && std::isnan(b));
}

TEST(Rounding, RintGivesWhatNearbyintGives) {
    std::mt19937_64 rng(15);
    std::uniform_real_distribution<double> unit(-1, 1);
    std::uniform_int_distribution<int> power(-8, 70);
    for (int i = 0; i < 1'000'000; ++i) {
        double d;
        long double l;
        switch (i % 3) {
            case 0: {  // any bit pattern of a double
                const std::uint64_t b = rng();
                std::memcpy(&d, &b, sizeof d);
                l = static_cast<long double>(d) * (1 + std::ldexp(static_cast<long double>(rng() >> 11), -60));
                break;
            }
            case 1:  // halves and their neighbours, the cases where the two could differ
                d = std::nextafter(std::floor(unit(rng) * 1e6) + 0.5, (rng() & 1) ? 1e9 : -1e9);
                if (rng() % 3 == 0) d = std::floor(unit(rng) * 1e6) + 0.5;
                l = static_cast<long double>(std::floor(unit(rng) * 1e15)) + 0.5L;
                break;
            default:  // every magnitude
                d = unit(rng) * std::ldexp(1.0, power(rng));
                l = static_cast<long double>(unit(rng)) * std::ldexp(1.0L, power(rng));
        }
        ASSERT_TRUE(Same(Round(d), std::nearbyint(d))) << std::hexfloat << d;
        ASSERT_TRUE(Same(Round3(d), std::nearbyint(1000.0 * d) / 1000.0)) << std::hexfloat << d;
        ASSERT_TRUE(Same(RoundL(l), std::nearbyint(l))) << std::hexfloat << l;
    }
}

TEST(Rounding, ProjectionAsWithNearbyint) {
    std::mt19937_64 rng(16);
    std::uniform_real_distribution<double> coord(-5000, 5000);
    for (int i = 0; i < 1'000'000; ++i) {
        DPoint p;
        SetPos(p, {coord(rng), coord(rng), coord(rng)});
        if (i % 4 == 0) p.Y.v = std::floor(p.Y.v) + 0.5 + p.X.v / static_cast<double>(Sqrt8());  // near a half
        ProjectPoint(p);
        const Ext depth = static_cast<Ext>(p.X.v) / Sqrt8();
        ASSERT_EQ(p.ScrX.v, static_cast<double>(std::nearbyint(p.Y.v - depth)));
        ASSERT_EQ(p.ScrY.v, static_cast<double>(std::nearbyint(p.Z.v - depth)));
    }
}

}  // namespace
