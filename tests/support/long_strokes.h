// Random lines and ellipses of any size through a picture, for the tests
// that check the canvases and painters keep only what the picture shows.
#pragma once

#include <array>
#include <cmath>
#include <numbers>
#include <random>
#include <utility>

#include "platform/canvas.h"

namespace pelmar::test {

inline double Uniform(std::mt19937_64& rng) { return std::uniform_real_distribution<double>(0, 1)(rng); }

// A segment at a random angle, its length up to 10^maxLog10 on a log scale,
// through the point `via()` draws (after the length and angle), that point
// anywhere along it.
template <class Via>
std::array<PointF, 2> LongSegment(std::mt19937_64& rng, double maxLog10, Via via) {
    const double length = std::pow(10.0, Uniform(rng) * maxLog10);
    const double angle = Uniform(rng) * 2 * std::numbers::pi;
    const PointF v = via();
    const double before = Uniform(rng) * length;
    const PointF d{std::cos(angle), std::sin(angle)};
    return {PointF{v.x - d.x * before, v.y - d.y * before},
            PointF{v.x + d.x * (length - before), v.y + d.y * (length - before)}};
}

// An ellipse or arc through a random point of `inner`: its larger semi-axis
// from 10^minLog10 to 10^maxLog10 on a log scale, a circle or flat up to 1:100.
struct ArcCase {
    RectF box;
    double start = 0, sweep = 360;
    double rx = 0, ry = 0;
    PointF centre;
};

inline ArcCase RandomArc(std::mt19937_64& rng, const RectF& inner, double minLog10, double maxLog10) {
    ArcCase a;
    const double r = std::pow(10.0, minLog10 + Uniform(rng) * (maxLog10 - minLog10));
    const double ratio = Uniform(rng) < 0.4 ? 1 : std::pow(10.0, -2 * Uniform(rng));
    a.rx = r;
    a.ry = r * ratio;
    if (Uniform(rng) < 0.5) std::swap(a.rx, a.ry);
    const double t = Uniform(rng) * 2 * std::numbers::pi;
    const PointF via{inner.x + Uniform(rng) * inner.w, inner.y + Uniform(rng) * inner.h};
    a.centre = {via.x - a.rx * std::cos(t), via.y - a.ry * std::sin(t)};
    a.box = {a.centre.x - a.rx, a.centre.y - a.ry, 2 * a.rx, 2 * a.ry};
    a.start = 360 * Uniform(rng);
    a.sweep = Uniform(rng) < 0.3 ? 360 : (Uniform(rng) < 0.5 ? -1 : 1) * (1 + 358 * Uniform(rng));
    return a;
}

}  // namespace pelmar::test
