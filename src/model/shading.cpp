// Shading and screen-ellipse geometry: the projected outline of a 3D ellipse,
// the gradient colour of a shaded pixel and the viewing-ray tests of the bodies.
#include "model/shading.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>

namespace pelmar {

namespace {

constexpr Ext kTol = 1e-5L;

using V3 = std::array<Ext, 3>;
using M3 = std::array<V3, 3>;

V3 Sub(const V3& a, const V3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
V3 Add(const V3& a, const V3& b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }
V3 Mul(const V3& a, Ext k) { return {a[0] * k, a[1] * k, a[2] * k}; }
V3 CrossE(const V3& a, const V3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
Ext LenE(const V3& a) { return std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]); }
V3 ToExt(const std::array<double, 3>& p) { return {p[0], p[1], p[2]}; }

V3 Apply(const M3& m, const V3& v) {
    return {m[0][0] * v[0] + m[0][1] * v[1] + m[0][2] * v[2], m[1][0] * v[0] + m[1][1] * v[1] + m[1][2] * v[2],
            m[2][0] * v[0] + m[2][1] * v[1] + m[2][2] * v[2]};
}

// Rotation by angle about the unit axis a (Rodrigues).
M3 Rotation(const V3& a, Ext angle) {
    const Ext c = std::cos(angle), s = std::sin(angle), k = 1 - c;
    return {{{c + k * a[0] * a[0], k * a[0] * a[1] - s * a[2], k * a[0] * a[2] + s * a[1]},
             {k * a[1] * a[0] + s * a[2], c + k * a[1] * a[1], k * a[1] * a[2] - s * a[0]},
             {k * a[2] * a[0] - s * a[1], k * a[2] * a[1] + s * a[0], c + k * a[2] * a[2]}}};
}

// A value that can be stored as a finite Double.
bool FitsDouble(Ext v) { return std::isfinite(v) && std::fabs(v) <= static_cast<Ext>(DBL_MAX); }

// Writes the visible point of depth x on the ray of (px, py).
void OnRay(double& x, double& y, double& z, Ext t, double px, double py) {
    const Ext s8 = Sqrt8();
    x = static_cast<double>(t);
    y = static_cast<double>(px + t / s8);
    z = static_cast<double>(py + t / s8);
}

// The viewing ray of (px, py) carried into the frame of an upright body: the
// origin o and direction w of t ↦ o + t·w.
void TiltedRay(V3& o, V3& w, const std::array<double, 3>& pivot, std::array<double, 3> tiltAxis, double theta,
               double px, double py) {
    V3 a = ToExt(tiltAxis);
    const Ext n = LenE(a);
    if (n > kTol) a = Mul(a, 1 / n);
    const M3 back = Rotation(a, -static_cast<Ext>(theta));
    const Ext s8 = Sqrt8();
    const V3 p = ToExt(pivot);
    o = Add(Apply(back, Sub(V3{0, px, py}, p)), p);
    w = Apply(back, V3{1, 1 / s8, 1 / s8});
}

std::uint8_t Channel(TColor c, int shift) { return static_cast<std::uint8_t>((c >> shift) & 0xFF); }

// Linear blend of two colours by a fraction in 0..1, channel by channel.
TColor Blend(TColor from, TColor to, Ext fraction) {
    if (from == to) return from;
    fraction = std::clamp<Ext>(fraction, 0, 1);
    TColor out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int a = Channel(from, shift), b = Channel(to, shift);
        const int v = a + static_cast<int>(std::rint(static_cast<Ext>(b - a) * fraction));
        out |= static_cast<TColor>(std::clamp(v, 0, 255)) << shift;
    }
    return out;
}

// num/den for a gradient band; a band of no width gives 0.
Ext BandFraction(Ext num, Ext den) { return den > 0 ? num / den : 0; }

}  // namespace

std::uint8_t CalcScreenEllipse(const std::array<double, 3>& p0, const std::array<double, 3>& p1,
                               const std::array<double, 3>& p2, double& cx, double& cy, double& r1,
                               double& r2, double& angle, double& a, double& b, double& c, double& d,
                               double& e, double& f) {
    cx = cy = r1 = r2 = angle = a = b = c = d = e = f = 0;

    const V3 m = ToExt(p0), q1 = ToExt(p1), q2 = ToExt(p2);
    const V3 u = Sub(q1, m), w = Sub(q2, m);
    const V3 n = CrossE(u, w);
    if (IsZero(static_cast<double>(LenE(u)))) return ScreenEllipseZeroU;
    if (IsZero(static_cast<double>(LenE(w)))) return ScreenEllipseZeroW;
    if (IsZero(static_cast<double>(LenE(n)))) return ScreenEllipseParallel;

    // Five points of the outline at 60°, −60°, 0°, 90° and 180°.
    const Ext h = std::sqrt(0.75L);
    const std::array<V3, 5> pts{Add(Add(m, Mul(u, 0.5L)), Mul(w, h)), Sub(Add(m, Mul(u, 0.5L)), Mul(w, h)), q1,
                                q2, Sub(Mul(m, 2), q1)};
    std::array<std::array<Ext, 6>, 5> sys{};
    for (std::size_t i = 0; i < pts.size(); ++i) {
        Ext x = 0, y = 0;
        ProjectXYZ(x, y, pts[i][0], pts[i][1], pts[i][2]);
        sys[i] = {x * y, y * y, x, y, 1, -x * x};
    }
    std::array<Ext, 5> sol{};
    if (!SolveLinear5(sys, sol)) return ScreenEllipseNoConic;

    const Ext A = 1, B = sol[0], C = sol[1], D = sol[2], E = sol[3], F = sol[4];
    Ext ox = 0, oy = 0;
    ProjectXYZ(ox, oy, m[0], m[1], m[2]);
    Ext oCx = 0, oCy = 0, oR1 = 0, oR2 = 0, oAngle = 0;
    std::uint8_t status = ScreenEllipseOk;

    // The axes of the conic parallel to the picture axes.
    auto axisAligned = [&] {
        oCx = ox;
        oCy = oy;
        if (C <= 0) return;  // no real ellipse; also keeps E²/(4C) defined
        const Ext k = D * D / 4 + E * E / (4 * C) - F;
        if (k <= 0) return;
        oR1 = std::sqrt(k);
        oR2 = std::sqrt(k / C);
        oAngle = 0;
    };

    if (IsZero(static_cast<double>(B)) && !IsZero(static_cast<double>(C))) {
        axisAligned();
    } else {
        const Ext p = -(A + C), q = A * C - B * B / 4, disc = p * p - 4 * q;
        if (disc < 0) {
            status = ScreenEllipseComplex;
        } else {
            const Ext l1 = (-p - std::sqrt(disc)) / 2, l2 = (-p + std::sqrt(disc)) / 2;
            const double dl1 = static_cast<double>(l1), dl2 = static_cast<double>(l2), dA = static_cast<double>(A);
            if (!IsZero(dl1) && !IsZero(dl2) && !NearlyEqual(dl1, dA) && !NearlyEqual(dl2, dA)) {
                Ext e1x = -B / (A - l1), e1y = 2, e2x = -B / (A - l2), e2y = 2;
                const Ext n1 = std::sqrt(e1x * e1x + e1y * e1y), n2 = std::sqrt(e2x * e2x + e2y * e2y);
                e1x /= n1;
                e1y /= n1;
                e2x /= n2;
                e2y /= n2;
                oAngle = IsZero(static_cast<double>(e1x)) ? std::acos(-1.0L) / 2 : std::atan(e1y / e1x);
                const Ext dp = D * e1x + E * e1y, ep = D * e2x + E * e2y;
                const Ext k = dp * dp / (4 * l1) + ep * ep / (4 * l2) - F;
                oCx = ox;
                oCy = oy;
                if (k / l1 <= 0) {
                    status = ScreenEllipseNegativeAxis;
                } else {
                    oR1 = std::sqrt(k / l1);
                    if (k / l2 <= 0)
                        status = ScreenEllipseNegativeAxis;
                    else
                        oR2 = std::sqrt(k / l2);
                }
            } else {
                axisAligned();
            }
        }
    }

    // A conic out of the range of Doubles (points nearly on one line) counts as not found.
    for (Ext v : {B, C, D, E, F, oCx, oCy, oR1, oR2, oAngle})
        if (!FitsDouble(v)) return ScreenEllipseNoConic;

    a = static_cast<double>(A);
    b = static_cast<double>(B);
    c = static_cast<double>(C);
    d = static_cast<double>(D);
    e = static_cast<double>(E);
    f = static_cast<double>(F);
    cx = static_cast<double>(oCx);
    cy = static_cast<double>(oCy);
    r1 = static_cast<double>(oR1);
    r2 = static_cast<double>(oR2);
    angle = static_cast<double>(oAngle);
    return status;
}

namespace {

// The cosine between normal and light that the shading goes by; false when
// the angle counts as 0 (no light, no normal, or no shading border).
bool ShadeCosine(double nx, double ny, double nz, const std::array<double, 3>& light, int border, Ext& cosA) {
    const V3 nv{nx, ny, nz}, lv = ToExt(light);
    const Ext len = LenE(nv), llen = LenE(lv);
    // A zero light vector (a point light on the surface) shades nothing.
    if (!(len > kTol && llen > kTol && (border == 90 || border == 180))) return false;
    Ext dot = nv[0] * lv[0] + nv[1] * lv[1] + nv[2] * lv[2];
    if (border == 90) dot = std::fabs(dot);
    cosA = std::clamp<Ext>(dot / len / llen, -1, 1);
    return true;
}

constexpr Ext kDegreesPerRadian = 57.29577951308232L;

// Degrees; kept as a Double so that right angles come out exact.
double ShadeAngle(Ext cosA) { return static_cast<double>(std::acos(cosA) * kDegreesPerRadian); }

TColor ShadeOfAngle(TColor c1, TColor c2, TColor c3, double ang, double percent, bool twoColours, int border) {
    if (twoColours) return Blend(c1, c2, BandFraction(ang, border));
    const Ext split = static_cast<Ext>(border) * percent / 100;
    if (ang <= split) return Blend(c1, c2, BandFraction(ang, split));
    return Blend(c2, c3, BandFraction(ang - split, border - split));
}

// Half the width of a guard band round a step of the table.  A step's
// cosine is worked out from its angle to within about 1e-15 (the angle is
// rounded to a Double of at most 180, and its cosine moves by at most
// pi/180 per degree); the guard is a thousand times that, and still so
// narrow that hardly a pixel ever falls into one.
constexpr Ext kGuard = 1e-12L;

}  // namespace

TColor ShadeColor(TColor c1, TColor c2, TColor c3, double nx, double ny, double nz,
                  const std::array<double, 3>& light, double percent, bool twoColours, int border) {
    Ext cosA = 1;
    const double ang = ShadeCosine(nx, ny, nz, light, border, cosA) ? ShadeAngle(cosA) : 0;
    return ShadeOfAngle(c1, c2, c3, ang, percent, twoColours, border);
}

ShadeTable::ShadeTable(TColor c1, TColor c2, TColor c3, double percent, bool twoColours, int border)
    : c1_(c1), c2_(c2), c3_(c3), percent_(percent), twoColours_(twoColours), border_(border) {
    flat_ = ShadeOfAngle(c1, c2, c3, 0, percent, twoColours, border);
    if (border != 90 && border != 180) return;  // every angle counts as 0
    const Ext split = static_cast<Ext>(border) * percent / 100;
    if (!std::isfinite(static_cast<double>(split))) {
        exactOnly_ = true;
        return;
    }
    // The angles where a channel of a band's blend rounds to the next value:
    // from + rint((to - from) * (angle - start) / width) steps where the
    // product passes k + 1/2.
    std::vector<Ext> angles;
    auto band = [&](TColor from, TColor to, Ext start, Ext width) {
        if (!(width > 0)) return;
        for (int shift = 0; shift <= 16; shift += 8) {
            const int d = std::abs(static_cast<int>((to >> shift) & 0xFF) - static_cast<int>((from >> shift) & 0xFF));
            for (int k = 0; k < d; ++k) angles.push_back(start + width * (k + 0.5L) / d);
        }
    };
    if (twoColours) {
        band(c1, c2, 0, border);
    } else {
        angles.push_back(split);
        band(c1, c2, 0, split);
        band(c2, c3, split, border - split);
    }
    for (const Ext a : angles)
        if (a >= 0 && a <= border) steps_.push_back(std::cos(a / kDegreesPerRadian));
    std::sort(steps_.begin(), steps_.end());
    steps_.erase(std::unique(steps_.begin(), steps_.end()), steps_.end());
    // The colour between two steps, from a cosine half way; with a border of
    // 90 the cosines are those of 0 to 90 degrees.
    colours_.reserve(steps_.size() + 1);
    const Ext lowest = border == 90 ? 0 : -1;
    for (std::size_t k = 0; k <= steps_.size(); ++k) {
        const Ext lo = k == 0 ? lowest : steps_[k - 1], hi = k == steps_.size() ? 1 : steps_[k];
        colours_.push_back(ShadeOfAngle(c1, c2, c3, ShadeAngle((lo + hi) / 2), percent, twoColours, border));
    }
    if (steps_.size() >= 0xFFFF) return;
    fastSteps_.assign(steps_.begin(), steps_.end());
    std::size_t k = 0;
    for (int b = 0; b <= kBuckets; ++b) {
        const double edge = -1 + 2.0 * b / kBuckets;
        while (k < fastSteps_.size() && fastSteps_[k] < edge) ++k;
        bucketStart_[static_cast<std::size_t>(b)] = static_cast<std::uint16_t>(k);
    }
    fast_ = true;
}

TColor ShadeTable::at(double nx, double ny, double nz, const std::array<double, 3>& light) const {
    if (fast_) {
        // The cosine in doubles, for normals and lights clear of the zero
        // test and of overflow: within a few 1e-16 of the long double one,
        // so a cosine clear of the guard bands (widened a little) falls
        // between the same two steps.
        const double nn = nx * nx + ny * ny + nz * nz;
        const double ll = light[0] * light[0] + light[1] * light[1] + light[2] * light[2];
        if (nn > 1e-9 && ll > 1e-9 && nn < 1e300 && ll < 1e300) {
            double dot = nx * light[0] + ny * light[1] + nz * light[2];
            if (border_ == 90) dot = std::fabs(dot);
            const double c = std::clamp(dot / (std::sqrt(nn) * std::sqrt(ll)), -1.0, 1.0);
            const int bucket = std::clamp(static_cast<int>((c + 1) * (kBuckets / 2)), 0, kBuckets);
            const auto b = static_cast<std::size_t>(bucket);
            std::size_t k = bucketStart_[b];
            const std::size_t n = fastSteps_.size();
            while (k < n && fastSteps_[k] <= c) ++k;
            constexpr double guard = 2 * static_cast<double>(kGuard);
            if ((k == 0 || c - fastSteps_[k - 1] > guard) && (k == n || fastSteps_[k] - c > guard)) return colours_[k];
        }
    }
    Ext cosA = 1;
    if (!ShadeCosine(nx, ny, nz, light, border_, cosA)) return flat_;
    if (!exactOnly_ && !std::isnan(static_cast<double>(cosA))) {
        const auto k = static_cast<std::size_t>(std::upper_bound(steps_.begin(), steps_.end(), cosA) - steps_.begin());
        const bool guarded = (k > 0 && cosA - steps_[k - 1] <= kGuard) || (k < steps_.size() && steps_[k] - cosA <= kGuard);
        if (!guarded) return colours_[k];
    }
    return ShadeOfAngle(c1_, c2_, c3_, ShadeAngle(cosA), percent_, twoColours_, border_);
}

std::shared_ptr<const ShadeTable> SharedShadeTable(TColor c1, TColor c2, TColor c3, double percent,
                                                   bool twoColours, int border) {
    struct Entry {
        TColor c1 = 0, c2 = 0, c3 = 0;
        double percent = 0;
        bool two = false;
        int border = 0;
        std::shared_ptr<const ShadeTable> table;
    };
    constexpr std::size_t kKept = 8;
    thread_local std::array<Entry, kKept> kept;
    thread_local std::size_t nextSlot = 0;
    for (const Entry& e : kept)
        if (e.table && e.c1 == c1 && e.c2 == c2 && e.c3 == c3 && std::memcmp(&e.percent, &percent, sizeof percent) == 0 &&
            e.two == twoColours && e.border == border)
            return e.table;
    Entry& e = kept[nextSlot];
    nextSlot = (nextSlot + 1) % kKept;
    e = {c1, c2, c3, percent, twoColours, border,
         std::make_shared<const ShadeTable>(c1, c2, c3, percent, twoColours, border)};
    return e.table;
}

void RayHitSphere(double& x, double& y, double& z, double cx, double cy, double cz, double r, double px,
                  double py) {
    x = y = z = 0;
    const Ext s8 = Sqrt8();
    const Ext dy = static_cast<Ext>(px) - cy, dz = static_cast<Ext>(py) - cz;
    const Ext b = -2 * static_cast<Ext>(cx) + 2 * dy / s8 + 2 * dz / s8;
    const Ext c = static_cast<Ext>(cx) * cx + dy * dy + dz * dz - static_cast<Ext>(r) * r;
    const Ext disc = b * b - 5 * c;
    if (disc < 0) return;
    OnRay(x, y, z, (-b + std::sqrt(disc)) / 2.5L, px, py);
}

void RayHitCylinder(double& x, double& y, double& z, double cx, double cy, double /*cz*/, double r, double px,
                    double py) {
    x = y = z = 0;
    const Ext s8 = Sqrt8();
    const Ext dy = static_cast<Ext>(px) - cy;
    const Ext b = -2 * static_cast<Ext>(cx) + 2 * dy / s8;
    const Ext c = static_cast<Ext>(cx) * cx + dy * dy - static_cast<Ext>(r) * r;
    const Ext disc = b * b - 4.5L * c;
    if (disc < 0) return;
    OnRay(x, y, z, (-b + std::sqrt(disc)) / 2.25L, px, py);
}

void RayHitCone(double& x, double& y, double& z, double cx, double cy, double cz, double sa, double sb,
                double sc, double px, double py, bool far) {
    x = y = z = 0;
    auto coef = [](double s) -> Ext { return s == 0 ? 1 : 1 / (static_cast<Ext>(s) * s); };
    const Ext ka = coef(sa), kb = coef(sb), kc = coef(sc);
    const Ext s8 = Sqrt8();
    const Ext dy = static_cast<Ext>(px) - cy, dz = static_cast<Ext>(py) - cz;
    const Ext qa = ka + kb / 8 - kc / 8;
    const Ext qb = -2 * static_cast<Ext>(cx) * ka + 2 * dy * kb / s8 - 2 * dz * kc / s8;
    const Ext qc = static_cast<Ext>(cx) * cx * ka + dy * dy * kb - dz * dz * kc;
    const Ext disc = qb * qb - 4 * qa * qc;
    if (disc < 0) return;
    Ext t = 0;
    if (qa != 0) {
        const Ext t1 = (-qb - std::sqrt(disc)) / (2 * qa), t2 = (-qb + std::sqrt(disc)) / (2 * qa);
        t = far ? std::min(t1, t2) : std::max(t1, t2);
    }
    OnRay(x, y, z, t, px, py);
}

void RayHitTiltedCylinder(double& x, double& y, double& z, double cx, double cy, double r,
                          const std::array<double, 3>& pivot, std::array<double, 3> tiltAxis, double theta,
                          double px, double py) {
    x = y = z = 0;
    V3 o{}, w{};
    TiltedRay(o, w, pivot, tiltAxis, theta, px, py);
    const Ext dx = o[0] - cx, dy = o[1] - cy;
    Ext t1 = 0, t2 = 0;
    const std::uint8_t n = SolveQuadratic(t1, t2, w[0] * w[0] + w[1] * w[1], 2 * (dx * w[0] + dy * w[1]),
                                          dx * dx + dy * dy - static_cast<Ext>(r) * r);
    Ext t = t1;
    if (n == 2 && t1 < t2) t = t2;
    OnRay(x, y, z, t, px, py);
}

void RayHitTiltedCone(double& x, double& y, double& z, double cx, double cy, double cz, double r, double h,
                      const std::array<double, 3>& pivot, std::array<double, 3> tiltAxis, double theta,
                      double px, double py, std::uint8_t far) {
    x = y = z = 0;
    V3 o{}, w{};
    TiltedRay(o, w, pivot, tiltAxis, theta, px, py);
    // h²·((x − cx)² + (y − cy)²) − r²·(z − cz)² = 0, free of divisions.
    const Ext hh = static_cast<Ext>(h) * h, rr = static_cast<Ext>(r) * r;
    const Ext dx = o[0] - cx, dy = o[1] - cy, dz = o[2] - cz;
    const Ext qa = hh * (w[0] * w[0] + w[1] * w[1]) - rr * w[2] * w[2];
    const Ext qb = 2 * (hh * (dx * w[0] + dy * w[1]) - rr * dz * w[2]);
    const Ext qc = hh * (dx * dx + dy * dy) - rr * dz * dz;
    Ext t1 = 0, t2 = 0;
    const std::uint8_t n = SolveQuadratic(t1, t2, qa, qb, qc);
    Ext t = t1;
    if (n == 2) t = far == 1 ? std::min(t1, t2) : std::max(t1, t2);
    OnRay(x, y, z, t, px, py);
}

}  // namespace pelmar
