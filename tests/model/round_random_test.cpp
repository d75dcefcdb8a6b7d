// Randomised and degenerate spheres, cylinders and cones: every Double of the
// record stays finite through updates, repeated updates and translations.
#include <gtest/gtest.h>

#include <random>

#include "model/finite_check.h"
#include "model/geometry.h"
#include "model/round_make.h"
#include "model/translate.h"
#include "model/update.h"

namespace pelmar {
namespace {

class Dice {
public:
    explicit Dice(unsigned seed) : rng_(seed) {}
    double uni(double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng_); }
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool coin() { return pick(2) == 0; }

    // A length: zero, tiny, ordinary, negative or large.
    double length() {
        switch (pick(6)) {
            case 0: return 0;
            case 1: return 1e-7;
            case 2: return -uni(0, 100);
            case 3: return uni(1e4, 1e6);
            default: return uni(0, 300);
        }
    }
    // A point: the origin, a point on an axis, or anywhere.
    Vec3 point() {
        switch (pick(5)) {
            case 0: return {0, 0, 0};
            case 1: return {0, 0, Round3(uni(-300, 300))};
            default: return {uni(-500, 500), uni(-500, 500), uni(-500, 500)};
        }
    }
    // An offset from a point: none, upright, along the view direction, or any.
    Vec3 offset() {
        switch (pick(6)) {
            case 0: return {0, 0, 0};
            case 1: return {0, 0, uni(-200, 200)};
            case 2: {
                const double t = uni(-200, 200);
                return {t, t / std::sqrt(8.0), t / std::sqrt(8.0)};
            }
            case 3: return {uni(-1e-6, 1e-6), uni(-1e-6, 1e-6), uni(-1e-6, 1e-6)};
            default: return {uni(-300, 300), uni(-300, 300), uni(-300, 300)};
        }
    }
    double angle() {
        switch (pick(4)) {
            case 0: return uni(-1e9, 1e9);
            case 1: return 90.0 * (pick(9) - 4);
            default: return uni(-360, 360);
        }
    }
    // Base directions: none yet, ordinary, or degenerate.
    void base(DCircle& c, Vec3 centre, double r) {
        switch (pick(5)) {
            case 0: c.Q1 = c.Q2 = {}; break;
            case 1: c.Q1 = c.Q2 = {centre.x, centre.y, centre.z}; break;
            case 2: {
                const Vec3 a = centre + offset();
                c.Q1 = {a.x, a.y, a.z};
                c.Q2 = {2 * a.x - centre.x, 2 * a.y - centre.y, 2 * a.z - centre.z};
                break;
            }
            default: {
                const Vec3 a = centre + Vec3{0, r, 0} + offset() * 0.1, b = centre + Vec3{-r, 0, 0} + offset() * 0.1;
                c.Q1 = {a.x, a.y, a.z};
                c.Q2 = {b.x, b.y, b.z};
            }
        }
    }

private:
    std::mt19937 rng_;
};

template <class R>
void ExpectFinite(const R& r, const std::string& what) {
    const auto bad = test::NonFiniteDoubles(r);
    EXPECT_TRUE(bad.empty()) << what << test::JoinPaths(bad);
}

constexpr int kRounds = 120;

TEST(RoundSolidsRandom, SpheresStayFinite) {
    Dice d(20240611);
    for (int n = 0; n < kRounds; ++n) {
        DSf s = test::MakeOrb(d.point(), d.length(), static_cast<std::uint8_t>(1 + d.pick(6)));
        for (std::size_t i = 1; i <= 7; ++i) {
            s.SecOn[i].v = d.coin();
            const Vec3 nrm = d.pick(4) == 0 ? Vec3{} : d.offset();
            s.SecNX[i].v = nrm.x;
            s.SecNY[i].v = nrm.y;
            s.SecNZ[i].v = nrm.z;
            s.SecH[i].v = d.pick(3) == 0 ? s.Radius.v : d.uni(-50, 300);
        }
        const int role = std::array<int, 3>{0, -1, 1}[static_cast<std::size_t>(d.pick(3))];
        UpdateOrb(s, role);
        ExpectFinite(s, "sphere " + std::to_string(n));
        UpdateOrb(s, role);
        ExpectFinite(s, "sphere again " + std::to_string(n));
        const Vec3 v = d.offset();
        TranslateOrb(s, v.x, v.y, v.z);
        ExpectFinite(s, "sphere moved " + std::to_string(n));
    }
}

TEST(RoundSolidsRandom, CylindersStayFinite) {
    Dice d(777);
    for (int n = 0; n < kRounds; ++n) {
        const Vec3 p0 = d.point();
        const Vec3 p1 = p0 + d.offset();
        DZi z = test::MakeCylinder(p0, p1, d.length(), static_cast<std::uint8_t>(1 + d.pick(6)));
        if (d.coin()) z.Axis.Length.v = d.length();
        d.base(z.Base[1], p0, z.Radius.v);
        z.SecPos1.v = d.angle();
        z.SecPos2.v = d.angle();
        z.OutSphereOn.v = d.coin();
        z.InSphereOn.v = d.coin();
        for (std::size_t i = 1; i <= 4; ++i) z.SecOn[i].v = d.coin();
        const int role = d.coin() ? 0 : 1;
        UpdateCylinder(z, role);
        ExpectFinite(z, "cylinder " + std::to_string(n));
        UpdateCylinder(z, role);
        ExpectFinite(z, "cylinder again " + std::to_string(n));
        const Vec3 v = d.offset();
        TranslateCylinder(z, v.x, v.y, v.z);
        ExpectFinite(z, "cylinder moved " + std::to_string(n));
    }
}

TEST(RoundSolidsRandom, ConesStayFinite) {
    Dice d(4242);
    for (int n = 0; n < kRounds; ++n) {
        const Vec3 p0 = d.point();
        const Vec3 apex = p0 + d.offset();
        DKo k = test::MakeCone(p0, apex, d.length(), static_cast<std::uint8_t>(1 + d.pick(6)));
        if (d.coin()) k.Axis.Length.v = d.length();
        d.base(k.Base, p0, k.Radius.v);
        k.SecPos1.v = d.angle();
        k.SecPos2.v = d.angle();
        k.OutSphereOn.v = d.coin();
        k.InSphereOn.v = d.coin();
        const int role = d.coin() ? 0 : 1;
        UpdateCone(k, role);
        ExpectFinite(k, "cone " + std::to_string(n));
        UpdateCone(k, role);
        ExpectFinite(k, "cone again " + std::to_string(n));
        const Vec3 v = d.offset();
        TranslateCone(k, v.x, v.y, v.z);
        ExpectFinite(k, "cone moved " + std::to_string(n));
    }
}

}  // namespace
}  // namespace pelmar
