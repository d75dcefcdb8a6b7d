// Solids for the painter tests, and an independent reckoning of what a
// shaded cylinder or cone shows at a pixel: the viewing ray met with the
// finite body in world coordinates, without the painters' frames.
#pragma once

#include <QImage>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "figure_fixture.h"
#include "model/geometry.h"
#include "model/round_make.h"
#include "model/shading.h"
#include "model/update.h"

namespace pelmar::test {

// A picture whose shading is easy to tell apart: three colours over 180
// degrees under a point light in front, to the right and above.
inline DImProj ShadedPicture(int w = 240, int h = 200) {
    DImProj im = Picture(w, h);
    im.LightSource = 1;
    im.LightX = 400;
    im.LightY = 300;
    im.LightZ = 400;
    im.BorderAngle = 180;
    im.BorderPercent = 50;
    im.TwoColors = 0;
    return im;
}

constexpr std::array<TColor, 3> Shades{0x2020E0, 0x20C020, 0xC02020};

template <class Solid>
void FillOn(Solid& s) {
    s.Fill.On = true;
    s.Fill.Colors = Shades;
}

inline bool IsWhite(const QImage& img, int x, int y) { return (img.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF; }

inline int Channel(TColor c, int i) { return static_cast<int>((c >> (8 * i)) & 0xFF); }
inline int ColourDistance(TColor a, TColor b) {
    int d = 0;
    for (int i = 0; i < 3; ++i) d = std::max(d, std::abs(Channel(a, i) - Channel(b, i)));
    return d;
}

// What a body shows at a pixel: nothing, a flat face, or its lateral surface
// with the colour of the surface point seen there.
struct Seen {
    enum What { Nothing, Face, Side } what = Nothing;
    TColor colour = 0;
};

// The model ray of pixel (x, y): o + t·w, larger t nearer to the viewer.
struct Ray {
    Vec3 o, w;
    Ray(int x, int y, int height) {
        const double k = static_cast<double>(1 / Sqrt8());
        o = {0, static_cast<double>(x), static_cast<double>(height - y)};
        w = {1, k, k};
    }
    Vec3 at(double t) const { return o + w * t; }
};

inline TColor LitColour(const DImProj& im, Vec3 p, Vec3 n) {
    const std::array<double, 3> light = im.LightSource == 2 ? std::array<double, 3>{im.LightDX, im.LightDY, im.LightDZ}
                                                            : std::array<double, 3>{im.LightX - p.x, im.LightY - p.y,
                                                                                    im.LightZ - p.z};
    return ShadeColor(Shades[0], Shades[1], Shades[2], n.x, n.y, n.z, light, im.BorderPercent, im.TwoColors == 1,
                      im.BorderAngle);
}

// Roots of a·t² + b·t + c = 0, the larger second; false without real roots.
inline bool Roots(double a, double b, double c, double& t1, double& t2) {
    if (std::fabs(a) < 1e-12) return false;
    const double disc = b * b - 4 * a * c;
    if (disc < 0) return false;
    const double s = std::sqrt(disc);
    t1 = (-b - s) / (2 * a);
    t2 = (-b + s) / (2 * a);
    if (t1 > t2) std::swap(t1, t2);
    return true;
}

// A cylinder from base centre p0 to p1 with radius r.
inline Seen SeeCylinder(Vec3 p0, Vec3 p1, double r, const DImProj& im, int x, int y) {
    const Ray ray(x, y, im.Height);
    const Vec3 d = p1 - p0;
    const double h = Norm(d);
    const Vec3 u = d * (1 / h);
    const Vec3 o = ray.o - p0;
    const Vec3 A = o - u * Dot(o, u), B = ray.w - u * Dot(ray.w, u);
    double best = -1e300;
    Seen seen;
    double t1, t2;
    if (Roots(Dot(B, B), 2 * Dot(A, B), Dot(A, A) - r * r, t1, t2))
        for (double t : {t1, t2}) {
            const Vec3 p = ray.at(t);
            const double s = Dot(p - p0, u);
            if (s < 0 || s > h || t <= best) continue;
            best = t;
            seen = {Seen::Side, LitColour(im, p, (p - p0) - u * s)};
        }
    const double wu = Dot(ray.w, u);
    if (wu != 0)
        for (double s : {0.0, h}) {
            const double t = (s - Dot(o, u)) / wu;
            const Vec3 q = ray.at(t) - p0;
            if (Norm(q - u * s) <= r && t > best) {
                best = t;
                seen = {Seen::Face, 0};
            }
        }
    return seen;
}

// A cone with base centre p0, apex and base radius r.
inline Seen SeeCone(Vec3 p0, Vec3 apex, double r, const DImProj& im, int x, int y) {
    const Ray ray(x, y, im.Height);
    const Vec3 d = p0 - apex;
    const double h = Norm(d);
    const Vec3 u = d * (1 / h);
    const double k = (r / h) * (r / h);
    const Vec3 o = ray.o - apex;
    const double s0 = Dot(o, u), sw = Dot(ray.w, u);
    const Vec3 P0 = o - u * s0, Pw = ray.w - u * sw;
    double best = -1e300;
    Seen seen;
    double t1, t2;
    if (Roots(Dot(Pw, Pw) - k * sw * sw, 2 * (Dot(P0, Pw) - k * s0 * sw), Dot(P0, P0) - k * s0 * s0, t1, t2))
        for (double t : {t1, t2}) {
            const Vec3 v = ray.at(t) - apex;
            const double s = Dot(v, u);
            if (s < 0 || s > h || t <= best) continue;
            best = t;
            seen = {Seen::Side, LitColour(im, ray.at(t), (v - u * s) - u * (k * s))};
        }
    if (sw != 0) {
        const double t = (h - s0) / sw;
        const Vec3 v = ray.at(t) - apex;
        if (Norm(v - u * h) <= r && t > best) seen = {Seen::Face, 0};
    }
    return seen;
}

// Compares a shaded picture with what the body shows.  Pixels within `margin`
// of an edge between what the body shows and the background or another part
// are left out.  Returns the pixels that disagree: painted outside the body,
// not painted on it, or (on the lateral surface) in another colour.
template <class See>
int Disagreeing(const QImage& img, See see, int margin, int& compared) {
    const int w = img.width(), h = img.height(), gw = w + 2 * margin;
    std::vector<Seen> grid(static_cast<std::size_t>(gw * (h + 2 * margin)));
    for (int y = -margin; y < h + margin; ++y)
        for (int x = -margin; x < w + margin; ++x)
            grid[static_cast<std::size_t>((y + margin) * gw + x + margin)] = see(x, y);
    auto at = [&](int x, int y) -> const Seen& {
        return grid[static_cast<std::size_t>((y + margin) * gw + x + margin)];
    };
    int bad = 0;
    compared = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Seen& s = at(x, y);
            bool clear = true;
            for (int dy = -margin; dy <= margin && clear; ++dy)
                for (int dx = -margin; dx <= margin && clear; ++dx)
                    if (at(x + dx, y + dy).what != s.what) clear = false;
            if (!clear) continue;
            ++compared;
            const bool painted = !IsWhite(img, x, y);
            if (s.what == Seen::Nothing && painted) ++bad;
            if (s.what != Seen::Nothing && !painted) ++bad;
            if (s.what == Seen::Side && ColourDistance(PixelColour(img, x, y), s.colour) > 2) ++bad;
        }
    return bad;
}

}  // namespace pelmar::test
