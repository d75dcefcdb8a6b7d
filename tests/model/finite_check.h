// Test helper: walks every Double of a record of any kind, nested records
// and computed curves included, with a readable path for each (or none).
#pragma once

#include <cmath>
#include <cstddef>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "model/records.h"

namespace pelmar::test {

// A path that is never written out: a walk that looks only at the values
// (AllFinite) builds no strings.
struct NoPath {};
inline NoPath operator+(NoPath, const char*) { return {}; }
inline NoPath operator+(NoPath, const std::string&) { return {}; }

// f(path, value) for every Double of the record.
template <class At = std::string, class F>
void ForEachDouble(const DPoint& p, const std::type_identity_t<At>& at, F&& f) {
    f(at + ".ScrX", p.ScrX.v);
    f(at + ".ScrY", p.ScrY.v);
    f(at + ".X", p.X.v);
    f(at + ".Y", p.Y.v);
    f(at + ".Z", p.Z.v);
}

template <class At = std::string, class F>
void ForEachDouble(const DLine& l, const std::type_identity_t<At>& at, F&& f) {
    f(at + ".Angle", l.Angle.v);
    f(at + ".Length", l.Length.v);
    f(at + ".Frac3", l.Frac3.v);
    f(at + ".Frac4", l.Frac4.v);
    ForEachDouble<At>(l.P1, at + ".P1", f);
    ForEachDouble<At>(l.P2, at + ".P2", f);
    ForEachDouble<At>(l.P3, at + ".P3", f);
    ForEachDouble<At>(l.P4, at + ".P4", f);
}

template <class At = std::string, class F>
void ForEachDouble(const DCircle& c, const std::type_identity_t<At>& at, F&& f) {
    f(at + ".A", c.A.v);
    f(at + ".B", c.B.v);
    f(at + ".A3", c.A3.v);
    f(at + ".B3", c.B3.v);
    ForEachDouble<At>(c.Center, at + ".Center", f);
    for (std::size_t i = 1; i <= 3; ++i) ForEachDouble<At>(c.R[i], at + ".R[" + std::to_string(i) + "]", f);
    f(at + ".PA", c.PA);
    f(at + ".PB", c.PB);
    f(at + ".PC", c.PC);
    f(at + ".PD", c.PD);
    for (std::size_t i = 0; i < 3; ++i) {
        f(at + ".Q1[" + std::to_string(i) + "]", c.Q1[i]);
        f(at + ".Q2[" + std::to_string(i) + "]", c.Q2[i]);
    }
    f(at + ".Tilt", c.Tilt.v);
    f(at + ".Arc1", c.Arc1.v);
    f(at + ".Arc2", c.Arc2.v);
    f(at + ".DashArc1", c.DashArc1.v);
    f(at + ".DashArc2", c.DashArc2.v);
}

template <class At = std::string, class F>
void ForEachDouble(const DTri& t, const std::type_identity_t<At>& at, F&& f) {
    for (std::size_t i = 1; i <= 3; ++i) {
        ForEachDouble<At>(t.S[i], at + ".S[" + std::to_string(i) + "]", f);
        f(at + ".Ang[" + std::to_string(i) + "]", t.Ang[i].v);
    }
    f(at + ".Height", t.Height.v);
    for (std::size_t i = 1; i <= 2; ++i) ForEachDouble<At>(t.Circ[i], at + ".Circ[" + std::to_string(i) + "]", f);
    for (std::size_t i = 1; i <= 5; ++i) ForEachDouble<At>(t.Lines[i], at + ".Lines[" + std::to_string(i) + "]", f);
}

template <class At = std::string, class F>
void ForEachDouble(const DKv& k, const std::type_identity_t<At>& at, F&& f) {
    for (std::size_t i = 1; i <= 4; ++i) {
        ForEachDouble<At>(k.S[i], at + ".S[" + std::to_string(i) + "]", f);
        f(at + ".Ang[" + std::to_string(i) + "]", k.Ang[i].v);
    }
    f(at + ".Height", k.Height.v);
    for (std::size_t i = 1; i <= 2; ++i) ForEachDouble<At>(k.Circ[i], at + ".Circ[" + std::to_string(i) + "]", f);
    for (std::size_t i = 1; i <= 2; ++i) ForEachDouble<At>(k.Diag[i], at + ".Diag[" + std::to_string(i) + "]", f);
    ForEachDouble<At>(k.Center, at + ".Center", f);
}

template <class At = std::string, class F>
void ForEachDouble(const DSf& s, const std::type_identity_t<At>& at, F&& f) {
    f(at + ".Radius", s.Radius.v);
    ForEachDouble<At>(s.Center, at + ".Center", f);
    ForEachDouble<At>(s.Contour, at + ".Contour", f);
    for (std::size_t i = 1; i <= 7; ++i) {
        const std::string n = "[" + std::to_string(i) + "]";
        f(at + ".SecNX" + n, s.SecNX[i].v);
        f(at + ".SecNY" + n, s.SecNY[i].v);
        f(at + ".SecNZ" + n, s.SecNZ[i].v);
        f(at + ".SecH" + n, s.SecH[i].v);
        ForEachDouble<At>(s.Sec[i], at + ".Sec" + n, f);
    }
}

template <class At = std::string, class F>
void ForEachDouble(const DZi& z, const std::type_identity_t<At>& at, F&& f) {
    f(at + ".Radius", z.Radius.v);
    ForEachDouble<At>(z.Axis, at + ".Axis", f);
    for (std::size_t i = 1; i <= 2; ++i) ForEachDouble<At>(z.Base[i], at + ".Base[" + std::to_string(i) + "]", f);
    ForEachDouble<At>(z.OutSphere, at + ".OutSphere", f);
    ForEachDouble<At>(z.InSphere, at + ".InSphere", f);
    for (std::size_t i = 1; i <= 4; ++i) ForEachDouble<At>(z.Sec[i], at + ".Sec[" + std::to_string(i) + "]", f);
    f(at + ".SecPos1", z.SecPos1.v);
    f(at + ".SecPos2", z.SecPos2.v);
}

template <class At = std::string, class F>
void ForEachDouble(const DKo& k, const std::type_identity_t<At>& at, F&& f) {
    f(at + ".Radius", k.Radius.v);
    ForEachDouble<At>(k.Axis, at + ".Axis", f);
    ForEachDouble<At>(k.Base, at + ".Base", f);
    for (std::size_t i = 1; i <= 4; ++i) ForEachDouble<At>(k.Sec[i], at + ".Sec[" + std::to_string(i) + "]", f);
    f(at + ".SecPos1", k.SecPos1.v);
    f(at + ".SecPos2", k.SecPos2.v);
    ForEachDouble<At>(k.OutSphere, at + ".OutSphere", f);
    ForEachDouble<At>(k.InSphere, at + ".InSphere", f);
}

template <class At = std::string, class BaseT, std::size_t NF, class F>
void ForEachDouble(const DPyramid<BaseT, NF>& p, const std::type_identity_t<At>& at, F&& f) {
    ForEachDouble<At>(p.HeightLine, at + ".HeightLine", f);
    for (std::size_t i = 1; i <= NF; ++i) ForEachDouble<At>(p.Face[i], at + ".Face[" + std::to_string(i) + "]", f);
    ForEachDouble<At>(p.Base, at + ".Base", f);
    ForEachDouble<At>(p.OutSphere, at + ".OutSphere", f);
    ForEachDouble<At>(p.InSphere, at + ".InSphere", f);
}

template <class At = std::string, class BaseT, std::size_t NS, class F>
void ForEachDouble(const DPrism<BaseT, NS>& p, const std::type_identity_t<At>& at, F&& f) {
    f(at + ".EdgeX", p.EdgeX.v);
    f(at + ".EdgeY", p.EdgeY.v);
    f(at + ".EdgeZ", p.EdgeZ.v);
    f(at + ".EdgeLen", p.EdgeLen.v);
    for (std::size_t i = 0; i < 3; ++i) f(at + ".EdgeExact[" + std::to_string(i) + "]", p.EdgeExact[i]);
    for (std::size_t i = 1; i <= NS; ++i) ForEachDouble<At>(p.Side[i], at + ".Side[" + std::to_string(i) + "]", f);
    for (std::size_t i = 1; i <= 2; ++i) ForEachDouble<At>(p.Base[i], at + ".Base[" + std::to_string(i) + "]", f);
    ForEachDouble<At>(p.OutSphere, at + ".OutSphere", f);
    ForEachDouble<At>(p.InSphere, at + ".InSphere", f);
}

template <class At = std::string, class F>
void ForEachDouble(const DCurve2& c, const std::type_identity_t<At>& at, F&& f) {
    f(at + ".Position", c.Position);
    const auto& lines = c.lines();
    for (std::size_t i = 0; i < lines.size(); ++i)
        for (std::size_t j = 0; j < lines[i].points().size(); ++j) {
            const CurvePoint& q = lines[i].points()[j];
            const auto n = at + "[" + std::to_string(i) + "][" + std::to_string(j) + "]";
            f(n + ".x", q.x);
            f(n + ".y", q.y);
        }
}

template <class At = std::string, class F>
void ForEachDouble(const DXOY& x, const std::type_identity_t<At>& at, F&& f) {
    ForEachDouble<At>(x.Center, at + ".Center", f);
    ForEachDouble<At>(x.AxisX, at + ".AxisX", f);
    ForEachDouble<At>(x.AxisY, at + ".AxisY", f);
    f(at + ".ScaleX", x.ScaleX.v);
    f(at + ".ScaleY", x.ScaleY.v);
    f(at + ".DivX", x.DivX.v);
    f(at + ".DivY", x.DivY.v);
    f(at + ".ParA", x.ParA.v);
    f(at + ".ParB", x.ParB.v);
    f(at + ".ParH", x.ParH.v);
    ForEachDouble<At>(x.Curves, at + ".Curves", f);
}

template <class At = std::string, class F>
void ForEachDouble(const DXZ& x, const std::type_identity_t<At>& at, F&& f) {
    ForEachDouble<At>(x.Center, at + ".Center", f);
    ForEachDouble<At>(x.AxisX, at + ".AxisX", f);
    ForEachDouble<At>(x.AxisY, at + ".AxisY", f);
    ForEachDouble<At>(x.AxisZ, at + ".AxisZ", f);
    f(at + ".Scale", x.Scale.v);
    f(at + ".Div", x.Div.v);
    f(at + ".ParT1", x.ParT1.v);
    f(at + ".ParT2", x.ParT2.v);
    f(at + ".ParH", x.ParH.v);
    for (std::size_t i = 1; i <= 55; ++i) ForEachDouble<At>(x.Curves[i], at + ".Curves[" + std::to_string(i) + "]", f);
    for (std::size_t i = 1; i <= 3; ++i)
        ForEachDouble<At>(x.Outlines[i].Lines, at + ".Outlines[" + std::to_string(i) + "]", f);
}

// True when every Double of the record is finite (NonFiniteDoubles names
// those that are not, more slowly).
template <class R>
bool AllFinite(const R& r) {
    bool finite = true;
    ForEachDouble<NoPath>(r, NoPath{}, [&](NoPath, double v) { finite = finite && std::isfinite(v); });
    return finite;
}

// Paths of the Doubles that are NaN or infinite; empty when all are finite.
template <class R>
std::vector<std::string> NonFiniteDoubles(const R& r) {
    std::vector<std::string> bad;
    ForEachDouble(r, "", [&](const std::string& path, double v) {
        if (!std::isfinite(v)) bad.push_back(path + " = " + std::to_string(v));
    });
    return bad;
}

// Paths of the Doubles in which two records of one kind differ (bit for bit,
// NaN equal to NaN).
template <class R>
std::vector<std::string> DifferingDoubles(const R& a, const R& b) {
    std::vector<std::pair<std::string, double>> va, vb;
    ForEachDouble(a, "", [&](const std::string& p, double v) { va.emplace_back(p, v); });
    ForEachDouble(b, "", [&](const std::string& p, double v) { vb.emplace_back(p, v); });
    std::vector<std::string> diff;
    for (std::size_t i = 0; i < va.size(); ++i) {
        const double x = va[i].second, y = vb[i].second;
        if (x == y || (std::isnan(x) && std::isnan(y))) continue;
        diff.push_back(va[i].first + ": " + std::to_string(x) + " vs " + std::to_string(y));
    }
    return diff;
}

// Joins paths for a failure message.
inline std::string JoinPaths(const std::vector<std::string>& v, std::size_t max = 10) {
    std::string s;
    for (std::size_t i = 0; i < v.size() && i < max; ++i) s += "\n  " + v[i];
    if (v.size() > max) s += "\n  ... " + std::to_string(v.size() - max) + " more";
    return s;
}

}  // namespace pelmar::test
