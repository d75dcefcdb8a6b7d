// Projection and numeric primitives of the oblique projection.  Intermediate
// arithmetic is long double; results are stored as double.
#include "model/geometry.h"

#include <charconv>
#include <cmath>
#include <tuple>
#include <utility>

namespace pelmar {

namespace {

struct V3 {
    Ext x = 0, y = 0, z = 0;
};

V3 L(Vec3 v) { return {v.x, v.y, v.z}; }
V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V3 operator*(V3 a, Ext k) { return {a.x * k, a.y * k, a.z * k}; }
Ext DotL(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 CrossL(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
Ext NormL(V3 a) { return std::sqrt(DotL(a, a)); }

void Store3(double& x, double& y, double& z, V3 v) {
    x = static_cast<double>(v.x);
    y = static_cast<double>(v.y);
    z = static_cast<double>(v.z);
}

V3 Pos3(const DPoint& p) { return {p.X.v, p.Y.v, p.Z.v}; }

// Gaussian elimination with partial pivoting on an n x (n+1) augmented matrix.
// A pivot counts as zero by IsZero when tolerant, else only when exactly 0.
template <std::size_t N>
bool SolveGauss(std::array<std::array<Ext, N + 1>, N>& m, std::array<Ext, N>& x, bool tolerant) {
    auto zero = [tolerant](Ext v) { return tolerant ? IsZero(static_cast<double>(v)) : v == 0; };
    x.fill(0);
    for (std::size_t k = 0; k + 1 < N; ++k) {
        std::size_t p = k;
        for (std::size_t i = k + 1; i < N; ++i)
            if (std::fabs(m[i][k]) > std::fabs(m[p][k])) p = i;
        for (std::size_t j = 0; j <= N; ++j) SwapExt(m[k][j], m[p][j]);
        for (std::size_t i = k + 1; i < N; ++i) {
            if (zero(m[k][k])) return false;
            const Ext f = m[i][k] / m[k][k];
            for (std::size_t j = 0; j <= N; ++j) m[i][j] -= f * m[k][j];
        }
    }
    for (std::size_t i = N; i-- > 0;) {
        Ext s = m[i][N];
        for (std::size_t j = i + 1; j < N; ++j) s -= m[i][j] * x[j];
        if (zero(m[i][i])) return false;
        x[i] = s / m[i][i];
    }
    return true;
}

}  // namespace

Ext Sqrt8() { return std::sqrt(8.0L); }

std::uint8_t SolveQuadratic(Ext& x1, Ext& x2, Ext a, Ext b, Ext c) {
    x1 = 0;
    x2 = 0;
    if (a == 0) {
        if (b == 0) return c == 0 ? 5 : 0;
        x1 = -c / b;
        return 1;
    }
    const Ext d = b * b - 4 * a * c;
    if (d < 0) return 0;
    if (d == 0) {
        x1 = -b / (2 * a);
        return 1;
    }
    const Ext r = std::sqrt(d);
    x1 = (-b - r) / (2 * a);
    x2 = (-b + r) / (2 * a);
    return 2;
}

double SafeArcCos(double x) {
    if (x >= 1) x = 1;
    if (!(x >= -1)) x = -1;  // also catches NaN
    return std::acos(x);
}

std::pair<double, double> ScreenPlace(const DPoint& p) {
    const Ext depth = static_cast<Ext>(p.X.v) / Sqrt8();
    return {static_cast<double>(RoundL(p.Y.v - depth)), static_cast<double>(RoundL(p.Z.v - depth))};
}

void ProjectPoint(DPoint& p) { std::tie(p.ScrX.v, p.ScrY.v) = ScreenPlace(p); }

void SetPicturePlace(DPoint& p, bool xCoord, double place) {
    const Ext depth = static_cast<Ext>(p.X.v) / Sqrt8();
    (xCoord ? p.Y : p.Z).v = static_cast<double>(place + depth);
    ProjectPoint(p);
}

double AsFiled(double x) {
    if (!std::isfinite(x) || x == 0) return x;
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, x, std::chars_format::scientific, 14).ptr;
    double back = x;
    std::from_chars(text, end, back, std::chars_format::scientific);
    return back;
}

void ProjectXYZ(Ext& sx, Ext& sy, Ext x, Ext y, Ext z) {
    const Ext depth = x / Sqrt8();
    sx = y - depth;
    sy = z - depth;
}

void SolveCramer2(const std::array<double, 6>& s, std::array<double, 2>& r) {
    r = {0, 0};
    const Ext a1 = s[0], b1 = s[1], c1 = s[2], a2 = s[3], b2 = s[4], c2 = s[5];
    const Ext det = a1 * b2 - a2 * b1;
    if (det >= 1e-6L) {  // signed on purpose: the callers pass rotation systems (det = 1)
        r[0] = static_cast<double>((c1 * b2 - b1 * c2) / det);
        r[1] = static_cast<double>((a1 * c2 - c1 * a2) / det);
    }
}

bool SolveLinear2(const std::array<double, 6>& s, std::array<double, 2>& r) {
    Ext a1 = s[0], b1 = s[1], c1 = s[2], a2 = s[3], b2 = s[4], c2 = s[5];
    if (std::fabs(a1 * b2 - b1 * a2) <= 1e-6L) return false;
    if (a1 == 0) {
        std::swap(a1, a2);
        std::swap(b1, b2);
        std::swap(c1, c2);
    }
    const Ext m = a2 / a1;
    a2 -= m * a1;
    b2 -= m * b1;
    c2 -= m * c1;
    const Ext y = c2 / b2;
    const Ext x = (c1 - y * b1) / a1;
    r[0] = static_cast<double>(x);
    r[1] = static_cast<double>(y);
    return true;
}

bool SolveLinear3(std::array<std::array<Ext, 4>, 3> m, std::array<Ext, 3>& x) {
    return SolveGauss<3>(m, x, true);
}

bool SolveLinear5(std::array<std::array<Ext, 6>, 5> m, std::array<Ext, 5>& x) {
    return SolveGauss<5>(m, x, false);
}

void SwapExt(Ext& a, Ext& b) { std::swap(a, b); }

double Det3(double a, double b, double c, double d, double e, double f, double g, double h, double i) {
    const Ext A = a, B = b, C = c, D = d, E = e, F = f, G = g, H = h, I = i;
    return static_cast<double>(A * E * I + B * F * G + D * H * C - C * E * G - F * H * A - D * B * I);
}

void PointAtDistance(double& x, double& y, double& z, Vec3 p, Vec3 q, double dist) {
    const V3 P = L(p);
    const V3 v = L(q) - P;
    const Ext n = NormL(v);
    if (n == 0) {
        Store3(x, y, z, P);
        return;
    }
    Store3(x, y, z, P + v * (dist / n));
}

double SideOfLineXY(double px, double py, double x1, double y1, double x2, double y2) {
    const Ext X1 = x1, Y1 = y1, X2 = x2, Y2 = y2, PX = px, PY = py;
    return static_cast<double>((Y2 - Y1) * PX + (X1 - X2) * PY - (Y2 - Y1) * X1 + (X2 - X1) * Y1);
}

double SideOfLine(const DPoint& p, const DLine& l) {
    return SideOfLineXY(p.ScrX.v, p.ScrY.v, l.P1.ScrX.v, l.P1.ScrY.v, l.P2.ScrX.v, l.P2.ScrY.v);
}

double PlaneValue(Vec3 p, double a, double b, double c, double d) {
    return static_cast<double>(static_cast<Ext>(a) * p.x + static_cast<Ext>(b) * p.y +
                               static_cast<Ext>(c) * p.z + d);
}

void PlaneBy3Points(Vec3 p1, Vec3 p2, Vec3 p3, double& a, double& b, double& c, double& d) {
    const V3 P1 = L(p1);
    const V3 n = CrossL(L(p2) - P1, L(p3) - P1);
    a = static_cast<double>(n.x);
    b = static_cast<double>(n.y);
    c = static_cast<double>(n.z);
    d = static_cast<double>(-DotL(n, P1));
}

bool InsideHexahedron(const std::array<Vec3, 8>& corners, Vec3 t) {
    // Plane through three corners and a corner on the inner side of that face (1-based).
    static constexpr int faces[6][4] = {{1, 2, 3, 8}, {6, 2, 3, 8}, {5, 6, 7, 1},
                                        {4, 8, 5, 2}, {1, 2, 6, 8}, {3, 4, 8, 1}};
    auto c = [&](int i) { return corners[static_cast<std::size_t>(i - 1)]; };
    for (const auto& f : faces) {
        double a, b, cc, d;
        PlaneBy3Points(c(f[0]), c(f[1]), c(f[2]), a, b, cc, d);
        const Ext vt = PlaneValue(t, a, b, cc, d);
        const Ext vr = PlaneValue(c(f[3]), a, b, cc, d);
        if (vt * vr < -1e-5L) return false;
    }
    return true;
}

double DistPointLine(const DPoint& p, const DLine& l) {
    const Ext x1 = l.P1.ScrX.v, y1 = l.P1.ScrY.v, x2 = l.P2.ScrX.v, y2 = l.P2.ScrY.v;
    const Ext len = std::sqrt((x1 - x2) * (x1 - x2) + (y2 - y1) * (y2 - y1));
    if (len == 0) {
        const Ext dx = p.ScrX.v - x1, dy = p.ScrY.v - y1;
        return static_cast<double>(std::sqrt(dx * dx + dy * dy));
    }
    return static_cast<double>(std::fabs(static_cast<Ext>(SideOfLine(p, l))) / len);
}

double DistPointPlane(const DPoint& p, const DPoint& a, const DPoint& b, const DPoint& c) {
    double A, B, C, D;
    PlaneBy3Points(Pos(a), Pos(b), Pos(c), A, B, C, D);
    const Ext n = std::sqrt(static_cast<Ext>(A) * A + static_cast<Ext>(B) * B + static_cast<Ext>(C) * C);
    if (IsZero(static_cast<double>(n))) return 0;
    return static_cast<double>(std::fabs(static_cast<Ext>(PlaneValue(Pos(p), A, B, C, D))) / n);
}

void ReflectPointInLine(const DPoint& p, const DLine& l, DPoint& r) {
    const V3 P = Pos3(p);
    const V3 d = Pos3(l.P1) - Pos3(l.P2);
    double fx, fy, fz;
    IntersectLinePlane(fx, fy, fz, Pos(l.P1), {static_cast<double>(d.x), static_cast<double>(d.y),
                                               static_cast<double>(d.z)},
                       static_cast<double>(d.x), static_cast<double>(d.y), static_cast<double>(d.z),
                       static_cast<double>(-DotL(d, P)));
    const V3 F{fx, fy, fz};
    const V3 m = F * 2 - P;
    r.X.v = static_cast<double>(m.x);
    r.Y.v = static_cast<double>(m.y);
    r.Z.v = static_cast<double>(m.z);
}

bool IntersectLines2D(double& x, double& y, double p1x, double p1y, double d1x, double d1y, double p2x,
                      double p2y, double d2x, double d2y) {
    x = p1x;
    y = p1y;
    const Ext r1 = static_cast<Ext>(d1y) * p1x - static_cast<Ext>(d1x) * p1y;
    const Ext r2 = static_cast<Ext>(d2y) * p2x - static_cast<Ext>(d2x) * p2y;
    std::array<double, 2> s{};
    if (!SolveLinear2({d1y, -d1x, static_cast<double>(r1), d2y, -d2x, static_cast<double>(r2)}, s)) return false;
    x = s[0];
    y = s[1];
    return true;
}

bool IntersectLines3D(double& x, double& y, double& z, Vec3 p1, Vec3 d1, Vec3 p2, Vec3 d2) {
    const bool d1zero = d1.x == 0 && d1.y == 0 && d1.z == 0;
    const bool d2zero = d2.x == 0 && d2.y == 0 && d2.z == 0;
    const bool bothX = d1.y == 0 && d1.z == 0 && d2.y == 0 && d2.z == 0;
    const bool bothYorZ = d1.x == 0 && ((d1.z == 0 && d2.x == 0 && d2.z == 0) ||  // both along Y
                                        (d1.y == 0 && d2.x == 0 && d2.y == 0));   // both along Z
    if (d1zero || d2zero || bothX || bothYorZ) {
        Store3(x, y, z, (L(p1) + L(p2)) * 0.5L);
        return true;
    }
    const V3 D1 = L(d1), D2 = L(d2), w = L(p2) - L(p1);
    // t·d1 − s·d2 = P2 − P1 in two coordinates; u and v pick them (0 x, 1 y, 2 z).
    auto comp = [](V3 v, int i) { return i == 0 ? v.x : (i == 1 ? v.y : v.z); };
    static constexpr int pairs[3][2] = {{0, 1}, {0, 2}, {2, 1}};  // the (y, z) case solves z first
    for (const auto& pr : pairs) {
        const int u = pr[0], v = pr[1];
        const Ext det = -comp(D1, u) * comp(D2, v) + comp(D1, v) * comp(D2, u);
        if (std::fabs(det) <= 0.001L) continue;
        std::array<double, 2> ts{};
        if (!SolveLinear2({static_cast<double>(comp(D1, u)), static_cast<double>(-comp(D2, u)),
                           static_cast<double>(comp(w, u)), static_cast<double>(comp(D1, v)),
                           static_cast<double>(-comp(D2, v)), static_cast<double>(comp(w, v))},
                          ts))
            return false;
        Store3(x, y, z, L(p1) + D1 * static_cast<Ext>(ts[0]));
        return true;
    }
    return false;
}

void UnprojectToPlane(double& x, double& y, double& z, Vec3 p1, Vec3 d, Vec3 p3, double sx, double sy) {
    const V3 P1 = L(p1);
    const V3 n = CrossL(L(p3) - P1, L(d));
    const Ext k = DotL(n, P1);
    const Ext q = -1 / Sqrt8();
    std::array<std::array<Ext, 4>, 3> m{{{q, 1, 0, sx}, {q, 0, 1, sy}, {n.x, n.y, n.z, k}}};
    std::array<Ext, 3> r{};
    if (!SolveLinear3(m, r)) {
        Store3(x, y, z, P1);
        return;
    }
    Store3(x, y, z, {r[0], r[1], r[2]});
}

bool IntersectLinePlane(double& x, double& y, double& z, Vec3 p, Vec3 d, double a, double b, double c,
                        double dd) {
    x = p.x;
    y = p.y;
    z = p.z;
    const Ext dx = d.x, dy = d.y, dz = d.z, px = p.x, py = p.y, pz = p.z;
    const std::array<Ext, 4> plane{a, b, c, -static_cast<Ext>(dd)};
    const std::array<Ext, 4> xy{dy, -dx, 0, dy * px - dx * py};
    const std::array<Ext, 4> xz{dz, 0, -dx, dz * px - dx * pz};
    const std::array<Ext, 4> yz{0, dz, -dy, dz * py - dy * pz};
    std::array<std::array<Ext, 4>, 3> m;
    if (!IsZero(d.x))
        m = {plane, xy, xz};
    else if (!IsZero(d.y))
        m = {plane, xy, yz};
    else if (!IsZero(d.z))
        m = {plane, xz, yz};
    else
        return false;
    std::array<Ext, 3> r{};
    const bool ok = SolveLinear3(m, r);
    Store3(x, y, z, {r[0], r[1], r[2]});
    return ok;
}

bool IntersectPlanes(double& x, double& y, double& z, double& dx, double& dy, double& dz, double a1,
                     double b1, double c1, double d1, double a2, double b2, double c2, double d2) {
    x = y = z = dx = dy = dz = 0;
    const V3 dir = CrossL({a1, b1, c1}, {a2, b2, c2});
    const Ext ax = std::fabs(dir.x), ay = std::fabs(dir.y), az = std::fabs(dir.z);
    if (ax < 0.001L && ay < 0.001L && az < 0.001L) return false;
    Store3(dx, dy, dz, dir);
    const Ext A1 = a1, B1 = b1, C1 = c1, D1 = d1, A2 = a2, B2 = b2, C2 = c2, D2 = d2;
    // The coordinate set to 0: the first direction component above 0.001; a
    // component of exactly 0.001 is taken only when no other one qualifies.
    int zeroed;
    if (ax > 0.001L)
        zeroed = 0;
    else if (ay > 0.001L)
        zeroed = 1;
    else if (az >= 0.001L)
        zeroed = 2;
    else
        zeroed = ax >= 0.001L ? 0 : 1;
    if (zeroed == 0) {  // x = 0: B·y + C·z = −D, determinant DX
        y = static_cast<double>((-D1 * C2 + C1 * D2) / dir.x);
        z = static_cast<double>((-B1 * D2 + D1 * B2) / dir.x);
    } else if (zeroed == 1) {  // y = 0: A·x + C·z = −D, determinant −DY
        x = static_cast<double>((-D1 * C2 + C1 * D2) / -dir.y);
        z = static_cast<double>((-A1 * D2 + D1 * A2) / -dir.y);
    } else {  // z = 0: A·x + B·y = −D, determinant DZ
        x = static_cast<double>((-D1 * B2 + B1 * D2) / dir.z);
        y = static_cast<double>((-A1 * D2 + D1 * A2) / dir.z);
    }
    return true;
}

bool IntersectLineSphere(double& x1, double& y1, double& z1, double& x2, double& y2, double& z2, Vec3 p,
                         Vec3 d, Vec3 centre, double r) {
    x1 = y1 = z1 = x2 = y2 = z2 = 0;
    const V3 P = L(p), D = L(d);
    const V3 w = P - L(centre);
    const Ext a = DotL(D, D), b = 2 * DotL(D, w), c = DotL(w, w) - static_cast<Ext>(r) * r;
    Ext t1, t2;
    const std::uint8_t n = SolveQuadratic(t1, t2, a, b, c);
    if (n == 0) return false;
    if (n == 1) t2 = t1;  // a tangent line touches the sphere once: both points are that point
    Store3(x1, y1, z1, P + D * t1);
    Store3(x2, y2, z2, P + D * t2);
    return true;
}

namespace {

// A rounded picture coordinate as a pixel, kept inside the int range.
int ToPixel(double v) {
    const double r = Round(v);
    if (!(r > -2e9)) return -2000000000;  // also NaN
    if (r > 2e9) return 2000000000;
    return static_cast<int>(r);
}

// Shared part of the hidden-point tests: the viewing line through p meets the
// face's plane (through v1, v2, v3) nearer to the viewer than p.
bool FaceNearer(Vec3 v1, Vec3 v2, Vec3 v3, Vec3 p, int& px, int& py) {
    double a, b, c, d;
    PlaneBy3Points(v1, v2, v3, a, b, c, d);
    const double k = static_cast<double>(1 / Sqrt8());
    double fx, fy, fz;
    IntersectLinePlane(fx, fy, fz, p, {1, k, k}, a, b, c, d);
    if (!(std::fabs(static_cast<Ext>(fx) + 6000) > std::fabs(static_cast<Ext>(p.x) + 6000))) return false;
    DPoint q;
    SetPos(q, p);
    ProjectPoint(q);
    px = ToPixel(q.ScrX.v);
    py = ToPixel(q.ScrY.v);
    return true;
}

}  // namespace

bool PointBehindTriangle(const DTri& t, Vec3 p) {
    int x = 0, y = 0;
    if (!FaceNearer(Pos(t.S[1].P1), Pos(t.S[2].P1), Pos(t.S[3].P1), p, x, y)) return false;
    return PtInTriRec(x, y, t);
}

bool PointBehindTetragon(const DKv& k, Vec3 p) {
    int x = 0, y = 0;
    if (!FaceNearer(Pos(k.S[1].P1), Pos(k.S[2].P1), Pos(k.S[3].P1), p, x, y)) return false;
    return PtInKvRec(x, y, k);
}

}  // namespace pelmar
