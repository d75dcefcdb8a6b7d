#include "model/figure_reshape.h"

#include <algorithm>
#include <cmath>

#include "model/construct.h"

namespace pelmar {

namespace {

bool Finite(const DPoint& p) { return std::isfinite(p.X.v) && std::isfinite(p.Y.v) && std::isfinite(p.Z.v); }

// Far beyond any picture: a million pixels.
constexpr double kMaxSize = 1e6;

// The interior angle at v between the rays to a and to b, in degrees.
double AngleAt(Vec3 v, Vec3 a, Vec3 b) {
    const Vec3 u = a - v, w = b - v;
    const double c = (u.x * w.x + u.y * w.y + u.z * w.z) /
                     (std::hypot(u.x, u.y, u.z) * std::hypot(w.x, w.y, w.z));
    return std::acos(std::clamp(c, -1.0, 1.0)) * 180 / M_PI;
}

void SetVertex(DPoint& p, Vec3 v) { p.X.v = v.x, p.Y.v = v.y, p.Z.v = v.z; }

}  // namespace

Vec3 PointXYZ(const DPoint& p) { return Vec3{p.X.v, p.Y.v, p.Z.v}; }

bool SpansAngle(Vec3 v, Vec3 a, Vec3 b) {
    const Vec3 u = a - v, w = b - v;
    const double lu = std::sqrt(u.x * u.x + u.y * u.y + u.z * u.z);
    const double lw = std::sqrt(w.x * w.x + w.y * w.y + w.z * w.z);
    if (!(lu > 1e-9) || !(lw > 1e-9)) return false;
    const Vec3 n{u.y * w.z - u.z * w.y, u.z * w.x - u.x * w.z, u.x * w.y - u.y * w.x};
    const double ln = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    return ln > 1e-9 * lu * lw;  // sine of the angle not (almost) zero
}

bool HeightDrawable(double h) { return std::isfinite(h) && h >= 0 && h <= kMaxSize; }

bool FiniteVertices(const DTri& t) {
    for (std::size_t i = 1; i <= 3; ++i)
        if (!Finite(t.S[i].P1) || !Finite(t.S[i].P2)) return false;
    return std::isfinite(t.Height.v);
}

bool FiniteVertices(const DKv& k) {
    for (std::size_t i = 1; i <= 4; ++i)
        if (!Finite(k.S[i].P1) || !Finite(k.S[i].P2)) return false;
    return std::isfinite(k.Height.v);
}

// ---------------------------------------------------------------------------
// Triangle

DTri TriangleWithVertex(DTri t, int i, bool xCoord, double place) {
    SetPicturePlace(t.S[static_cast<std::size_t>(i)].P1, xCoord, place);
    return t;
}

std::optional<DTri> TriangleWithAngle(DTri t, int i, double a) {
    if (!std::isfinite(a)) return std::nullopt;
    t.Ang[static_cast<std::size_t>(i)].v = a;
    const double b = t.S[1].Length.v;
    const int type = t.Typ.v;
    if (type == 2 && (i == 1 || i == 3)) {
        // Isosceles: a base angle or the apex angle sets the height.
        if (i == 1 && !(a > 0 && a < 90)) return std::nullopt;
        if (i == 3 && !(a > 0 && a < 180)) return std::nullopt;
        t.Ang[2].v = i == 1 ? a : t.Ang[2].v;
        const double r = i == 1 ? std::tan(a * M_PI / 180) : 1 / std::tan(a / 2 * M_PI / 180);
        t.Height.v = std::nearbyint(r * (1000 * b / 2)) / 1000;
        if (!std::isfinite(t.Height.v)) return std::nullopt;
        TriIsoscelesApex(t);
    } else if (type == 3 && i == 2) {
        // Right: the angle at vertex 2 sets the leg.
        if (!(a > 0 && a < 90)) return std::nullopt;
        t.Height.v = std::tan(a * M_PI / 180) * b;
        if (!HeightDrawable(t.Height.v)) return std::nullopt;
        TriRightApex(t);
    } else if (type == 4) {
        // Free: the side from the vertex turns about it; case V, F, M as vertex numbers.
        if (!(a > 0 && a < 180)) return std::nullopt;
        static constexpr int kCase[4][3] = {{0, 0, 0}, {1, 2, 3}, {2, 1, 3}, {3, 1, 2}};
        const auto& c = kCase[i];
        if (!SpansAngle(TriVertex(t, c[0]), TriVertex(t, c[1]), TriVertex(t, c[2]))) return std::nullopt;
        DPoint& m = t.S[static_cast<std::size_t>(c[2])].P1;
        double x = m.X.v, y = m.Y.v, z = m.Z.v;
        RotateSideToAngle(t, DKv{}, 1, x, y, z, i);
        if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) return std::nullopt;
        m.X.v = x, m.Y.v = y, m.Z.v = z;
    }
    if (!FiniteVertices(t)) return std::nullopt;
    return t;
}

std::optional<DTri> TriangleWithSide(DTri t, int i, double l) {
    if (!std::isfinite(l)) return std::nullopt;
    const std::size_t k = static_cast<std::size_t>(i);
    t.S[k].Length.v = l;
    const double b = t.S[1].Length.v;
    const int type = t.Typ.v;
    auto stretch = [&](std::size_t side, std::size_t next) {
        // A side of length 0 gives no direction to stretch along.
        if (!(l > 0) || !(LineLength(t.S[side]) > 0)) return false;
        SetLineLength(t.S[side]);
        DPoint& v = t.S[next].P1;
        v.X.v = t.S[side].P2.X.v, v.Y.v = t.S[side].P2.Y.v, v.Z.v = t.S[side].P2.Z.v;
        return true;
    };
    if (i == 1) {
        if (!stretch(1, 2)) return std::nullopt;
    } else if (i == 2) {
        if (type == 2) {
            if (l < b / 2) return std::nullopt;  // the two sides cannot meet
            t.Height.v = std::sqrt(l * l - (b / 2) * (b / 2));
        }
        if (!stretch(2, 3)) return std::nullopt;
    } else if (type == 3) {
        if (!(l > 0)) return std::nullopt;
        t.Height.v = l;
    } else if (type == 4) {
        if (!stretch(3, 1)) return std::nullopt;
    }
    if (!FiniteVertices(t)) return std::nullopt;
    return t;
}

std::optional<DTri> TriangleWithHeight(DTri t, double h) {
    if (!HeightDrawable(h)) return std::nullopt;
    t.Height.v = h;
    return t;
}

// ---------------------------------------------------------------------------
// Tetragon

DKv TetragonWithVertex(DKv k, int i, bool xCoord, double place) {
    SetPicturePlace(k.S[static_cast<std::size_t>(i)].P1, xCoord, place);
    if (k.Typ.v == 4 || k.Typ.v == 5) {
        const DPoint &v1 = k.S[1].P1, &v2 = k.S[2].P1, &v3 = k.S[3].P1;
        // The side test of the rule's mirror, on the picture places.
        const double s = SideOfLineXY(v3.ScrX.v, v3.ScrY.v, v1.ScrX.v, v1.ScrY.v, v2.ScrX.v, v2.ScrY.v);
        if (s != 0) k.Side3.v = s > 0 ? 0 : 1;
    }
    return k;
}

std::optional<DKv> TetragonWithAngle(DKv k, int i, double a) {
    if (!std::isfinite(a)) return std::nullopt;
    k.Ang[static_cast<std::size_t>(i)].v = a;
    const int type = k.Typ.v;
    const Vec3 v1 = KvVertex(k, 1), v2 = KvVertex(k, 2), v3 = KvVertex(k, 3), v4 = KvVertex(k, 4);
    auto turned = [&](int c, Vec3& out) {
        double x = 0, y = 0, z = 0;
        RotateSideToAngle(DTri{}, k, 2, x, y, z, c);
        if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) return false;
        out = {x, y, z};
        return true;
    };
    if (i == 1 && (type == 3 || type == 4)) {
        // Rhombus, parallelogram: the angle at vertex 1 turns side 2.
        if (!(a > 0 && a < 180) || !SpansAngle(v2, v1, v3)) return std::nullopt;
        k.Ang[2].v = 180 - a;
        Vec3 p;
        if (!turned(2, p)) return std::nullopt;
        SetVertex(k.S[3].P1, p);
        if (type == 3)
            KvMakeRhombus(k);
        else
            KvMakeParallelogram(k);
    } else if (type == 5 && (i == 1 || i == 2)) {
        // Trapezium: the turned side's end slides along the top side's line.
        if (!(a > 0 && a < 180)) return std::nullopt;
        const Vec3 v = i == 1 ? v1 : v2;
        const bool turns = i == 1 ? SpansAngle(v1, v2, v4) && AngleAt(v1, v2, v3) < a
                                  : SpansAngle(v2, v1, v3) && AngleAt(v2, v1, v4) < a;
        if (turns) {
            Vec3 t;
            if (!turned(i, t)) return std::nullopt;
            double x = t.x, y = t.y, z = t.z;
            if (!IntersectLines3D(x, y, z, v, t - v, v3, v4 - v3)) return std::nullopt;  // parallel: no corner
            SetVertex(k.S[i == 1 ? 4 : 3].P1, {x, y, z});
            KvMakeTrapezium(k);
        }
    }
    if (!FiniteVertices(k)) return std::nullopt;
    return k;
}

std::optional<DKv> TetragonWithSide(DKv k, int i, double l) {
    const std::size_t s = static_cast<std::size_t>(i);
    // A side of length 0 gives no direction to stretch along.
    if (!std::isfinite(l) || !(l > 0) || !(LineLength(k.S[s]) > 0)) return std::nullopt;
    k.S[s].Length.v = l;
    SetLineLength(k.S[s]);
    DPoint& next = k.S[s % 4 + 1].P1;
    SetVertex(next, {k.S[s].P2.X.v, k.S[s].P2.Y.v, k.S[s].P2.Z.v});
    if (!FiniteVertices(k)) return std::nullopt;
    return k;
}

std::optional<DKv> TetragonWithHeight(DKv k, double h) {
    if (!HeightDrawable(h)) return std::nullopt;
    k.Height.v = h;
    KvSetHeight(k);
    if (!FiniteVertices(k)) return std::nullopt;
    return k;
}

}  // namespace pelmar
