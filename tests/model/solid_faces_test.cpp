// Pyramids and prisms of every type on random bases, as built, moved and
// tilted: every face has its vertices at the solid's vertices, in 3D and in
// the picture, and every vertex is drawn where its 3D position projects.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>

#include "model/defaults.h"
#include "model/geometry.h"
#include "model/polyhedron_make.h"
#include "model/random_shapes.h"
#include "model/transform.h"
#include "model/update.h"

using namespace pelmar;

namespace {

using Gen = test::RandomShapes;

std::string Where(Vec3 v) {
    std::ostringstream s;
    s << "(" << v.x << ", " << v.y << ", " << v.z << ")";
    return s.str();
}

// p stands on the vertex: the same 3D position and the same picture position.
void ExpectAt(const DPoint& p, const DPoint& vertex, const std::string& what) {
    EXPECT_LT(Norm(Pos(p) - Pos(vertex)), 1e-6) << what << " at " << Where(Pos(p)) << ", vertex at "
                                                << Where(Pos(vertex));
    EXPECT_EQ(p.ScrX.v, vertex.ScrX.v) << what;
    EXPECT_EQ(p.ScrY.v, vertex.ScrY.v) << what;
}

// The vertex is drawn where its 3D position projects.
void ExpectProjected(const DPoint& p, const std::string& what) {
    DPoint q = p;
    ProjectPoint(q);
    EXPECT_EQ(p.ScrX.v, q.ScrX.v) << what << " at " << Where(Pos(p));
    EXPECT_EQ(p.ScrY.v, q.ScrY.v) << what << " at " << Where(Pos(p));
}

// A face whose vertex i stands on corners[i - 1], its sides joined.
template <class Fig, std::size_t N>
void ExpectFace(const Fig& f, const std::array<const DPoint*, N>& corners, const std::string& what) {
    for (std::size_t i = 1; i <= N; ++i) {
        const std::string at = what + " vertex " + std::to_string(i);
        ExpectAt(f.S[i].P1, *corners[i - 1], at);
        ExpectAt(f.S[i].P2, *corners[i % N], at + " (end of the side before)");
    }
}

template <class Fig>
void ExpectVerticesProjected(const Fig& f, const std::string& what) {
    for (std::size_t i = 1; i <= f.S.size(); ++i) ExpectProjected(f.S[i].P1, what + " vertex " + std::to_string(i));
}

template <class B, std::size_t N>
void ExpectFaces(const DPyramid<B, N>& p, const std::string& what) {
    ExpectVerticesProjected(p.Base, what + ": base");
    ExpectProjected(p.HeightLine.P2, what + ": apex");
    for (std::size_t k = 1; k <= N; ++k)
        ExpectFace(p.Face[k],
                   std::array<const DPoint*, 3>{&p.Base.S[k].P1, &p.HeightLine.P2, &p.Base.S[k % N + 1].P1},
                   what + ": face " + std::to_string(k));
}

template <class B, std::size_t N>
void ExpectFaces(const DPrism<B, N>& p, std::uint8_t freeType, const std::string& what) {
    const auto& lower = p.Base[1];
    const auto& upper = p.Base[2];
    ExpectVerticesProjected(lower, what + ": lower base");
    ExpectVerticesProjected(upper, what + ": upper base");
    if (p.Typ.v != freeType) {
        const Vec3 e{p.EdgeX.v, p.EdgeY.v, p.EdgeZ.v};
        for (std::size_t k = 1; k <= N; ++k)
            EXPECT_LT(Norm(Pos(upper.S[k].P1) - Pos(lower.S[k].P1) - e), 2e-3)
                << what << ": upper vertex " << k << " is not the lower one moved by the edge";
    }
    for (std::size_t k = 1; k <= N; ++k) {
        const std::size_t k1 = k % N + 1;
        ExpectFace(p.Side[k],
                   std::array<const DPoint*, 4>{&lower.S[k].P1, &upper.S[k].P1, &upper.S[k1].P1, &lower.S[k1].P1},
                   what + ": side " + std::to_string(k));
    }
}

void Check(const DPi3& p, const std::string& what) { ExpectFaces(p, what); }
void Check(const DPi4& p, const std::string& what) { ExpectFaces(p, what); }
void Check(const DPr3& p, const std::string& what) { ExpectFaces(p, 3, what); }
void Check(const DPr4& p, const std::string& what) { ExpectFaces(p, 5, what); }

void Update(DPi3& p) { UpdatePyramid3(p, 0); }
void Update(DPi4& p) { UpdatePyramid4(p, 0); }
void Update(DPr3& p) { UpdatePrism3(p, 0); }
void Update(DPr4& p) { UpdatePrism4(p, 0); }

void Translate(DPi3& p, Vec3 v) { TranslatePyramid3(p, v.x, v.y, v.z); }
void Translate(DPi4& p, Vec3 v) { TranslatePyramid4(p, v.x, v.y, v.z); }
void Translate(DPr3& p, Vec3 v) { TranslatePrism3(p, v.x, v.y, v.z); }
void Translate(DPr4& p, Vec3 v) { TranslatePrism4(p, v.x, v.y, v.z); }

void Rotate(DPi3& p, Vec3 c, Vec3 n, double a) { RotatePyramid3(p, c.x, c.y, c.z, n.x, n.y, n.z, a); }
void Rotate(DPi4& p, Vec3 c, Vec3 n, double a) { RotatePyramid4(p, c.x, c.y, c.z, n.x, n.y, n.z, a); }
void Rotate(DPr3& p, Vec3 c, Vec3 n, double a) { RotatePrism3(p, c.x, c.y, c.z, n.x, n.y, n.z, a); }
void Rotate(DPr4& p, Vec3 c, Vec3 n, double a) { RotatePrism4(p, c.x, c.y, c.z, n.x, n.y, n.z, a); }

void Shift(DPi3& p, double dx, double dy) { PlaneShiftPyramid3(p, dx, dy); }
void Shift(DPi4& p, double dx, double dy) { PlaneShiftPyramid4(p, dx, dy); }
void Shift(DPr3& p, double dx, double dy) { PlaneShiftPrism3(p, dx, dy); }
void Shift(DPr4& p, double dx, double dy) { PlaneShiftPrism4(p, dx, dy); }

// Built, moved, tilted, dragged in the picture and updated again: the faces
// are checked after each step.
template <class Solid>
void Exercise(Solid p, Gen& g, const std::string& what) {
    Update(p);
    Check(p, what + " built");
    Translate(p, g.Point(200));
    Check(p, what + " moved");
    Rotate(p, g.Point(200), g.Point(1) + Vec3{0, 0, 0.01}, g.Real(-180, 180));
    Check(p, what + " tilted");
    Rotate(p, g.Point(200), g.Point(1) + Vec3{0.01, 0, 0}, g.Real(-180, 180));
    Check(p, what + " tilted again");
    const double dx = std::nearbyint(g.Real(-50, 50));
    Shift(p, dx, std::nearbyint(g.Real(-50, 50)));
    Update(p);
    Check(p, what + " dragged");
}

constexpr int kRounds = 40;

TEST(SolidFaces, BuiltInSolidsMovedAndTilted) {
    Gen g(11);
    const DefaultsSource builtIn;
    for (int round = 0; round < kRounds; ++round) {
        const std::string n = " #" + std::to_string(round);
        DPi3 p3;
        LoadDefaultPyramid3(p3, 1, builtIn);
        Exercise(p3, g, "built-in triangular pyramid" + n);
        DPi4 p4;
        LoadDefaultPyramid4(p4, 1, builtIn);
        Exercise(p4, g, "built-in quadrangular pyramid" + n);
        DPr3 r3;
        LoadDefaultPrism3(r3, 1, builtIn);
        Exercise(r3, g, "built-in triangular prism" + n);
        DPr4 r4;
        LoadDefaultPrism4(r4, 1, builtIn);
        Exercise(r4, g, "built-in quadrangular prism" + n);
        if (HasFailure()) return;
    }
}

// Every type of every solid on random bases; the base and side types a type
// keeps are drawn from all their values, the plane quadrilateral among them.
TEST(SolidFaces, EveryTypeOnRandomBasesMovedAndTilted) {
    Gen g(12);
    const Vec3 at{0, 250, 200};
    for (int round = 0; round < kRounds; ++round) {
        const std::string n = " of type ";
        const std::string r = " #" + std::to_string(round);
        for (std::uint8_t typ = 1; typ <= 3; ++typ) {
            Exercise(g.Pyramid3(at, typ), g, "triangular pyramid" + n + std::to_string(typ) + r);
            Exercise(g.Pyramid4(at, typ), g, "quadrangular pyramid" + n + std::to_string(typ) + r);
            Exercise(g.Prism3(at, typ), g, "triangular prism" + n + std::to_string(typ) + r);
        }
        for (std::uint8_t typ = 1; typ <= 5; ++typ)
            Exercise(g.Prism4(at, typ), g, "quadrangular prism" + n + std::to_string(typ) + r);
        if (HasFailure()) return;
    }
}

}  // namespace
