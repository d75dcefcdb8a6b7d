// Records placed directly in picture pixels for the hit tests, and a table
// row type for clicks and their expected codes.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/records.h"

namespace pelmar::test {

struct Click {
    int x, y;
    int code;
    const char* what;
};

inline DPoint At(double x, double y, std::int32_t radius = 2) {
    DPoint p;
    p.ScrX.v = x;
    p.ScrY.v = y;
    p.Radius.v = radius;
    return p;
}

inline DLine Seg(DPoint a, DPoint b, std::int32_t thick = 1) {
    DLine l;
    l.Thick.v = thick;
    l.P1 = a;
    l.P2 = b;
    return l;
}

inline DCircle Ellipse(double cx, double cy, double a, double b, bool circle, std::int32_t thick = 1,
                       double tilt = 0, std::int32_t centreRadius = 2) {
    DCircle c;
    c.Thick.v = thick;
    c.Center = At(cx, cy, centreRadius);
    c.A.v = a;
    c.B.v = b;
    c.IsCircle.v = circle;
    c.Tilt.v = tilt;
    return c;
}

// Vertex i is end 1 of side i; side i runs to vertex i + 1.
template <class Fig, std::size_t N>
Fig Polygon(const std::array<std::array<double, 2>, N>& v, std::int32_t radius = 2) {
    Fig f;
    f.Thick.v = 1;
    for (std::size_t i = 1; i <= N; ++i) {
        const auto& a = v[i - 1];
        const auto& b = v[i % N];
        f.S[i] = Seg(At(a[0], a[1], radius), At(b[0], b[1], radius));
    }
    return f;
}

inline DTri Tri(double x1, double y1, double x2, double y2, double x3, double y3, std::int32_t radius = 2) {
    return Polygon<DTri, 3>({{{x1, y1}, {x2, y2}, {x3, y3}}}, radius);
}

inline DKv Quad(double x1, double y1, double x2, double y2, double x3, double y3, double x4, double y4,
                std::int32_t radius = 2) {
    return Polygon<DKv, 4>({{{x1, y1}, {x2, y2}, {x3, y3}, {x4, y4}}}, radius);
}

// Far away from every test position: a part set to this is never hit.
inline DTri FarTri() { return Tri(-5000, -5000, -4900, -5000, -4950, -4900); }
inline DKv FarQuad() { return Quad(-5000, -5000, -4900, -5000, -4900, -4900, -5000, -4900); }

// Codes of a test over a square of pixels, to compare a record with a
// changed copy of it.
template <class F>
std::vector<int> CodeMap(F&& hit, int x0, int y0, int x1, int y1, int step = 3) {
    std::vector<int> codes;
    for (int y = y0; y <= y1; y += step)
        for (int x = x0; x <= x1; x += step) codes.push_back(static_cast<int>(hit(x, y)));
    return codes;
}

// Each click of the table gives its code.
template <class Rec, class F>
void ExpectCodes(F hit, const Rec& rec, const std::vector<Click>& table) {
    for (const Click& c : table)
        EXPECT_EQ(static_cast<int>(hit(c.x, c.y, rec)), c.code) << c.what << " at (" << c.x << ", " << c.y << ")";
}

}  // namespace pelmar::test
