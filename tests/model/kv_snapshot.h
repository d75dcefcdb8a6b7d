// A flat snapshot of a tetragon record's values, bytes and editability flags
// (its sides, diagonals, centre and circles included), for comparing two
// records flag for flag.
#pragma once

#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "model/records.h"

namespace pelmar::kvtest {

using Snapshot = std::vector<std::pair<std::string, double>>;

struct Walker {
    Snapshot& out;

    void f(const std::string& p, double v) { out.emplace_back(p, v); }
    template <class T>
    void ed(const std::string& p, const Ed<T>& e) {
        f(p + ".e", e.e ? 1.0 : 0.0);
        f(p, static_cast<double>(e.v));
    }
    void head(const std::string& p, const DHead& h) {
        f(p + ".ID.e", h.ID.e);
        ed(p + ".Layer", h.Layer);
        ed(p + ".Thick", h.Thick);
        ed(p + ".Color", h.Color);
        ed(p + ".ColorIndex", h.ColorIndex);
        ed(p + ".Disabled", h.Disabled);
    }
    void point(const std::string& p, const DPoint& q) {
        ed(p + ".ScrX", q.ScrX);
        ed(p + ".ScrY", q.ScrY);
        ed(p + ".X", q.X);
        ed(p + ".Y", q.Y);
        ed(p + ".Z", q.Z);
        f(p + ".ID.e", q.ID.e);
        ed(p + ".Typ", q.Typ);
        ed(p + ".Radius", q.Radius);
        ed(p + ".Thick", q.Thick);
        f(p + ".Name.e", q.Name.e);
        ed(p + ".Color", q.Color);
        ed(p + ".ColorIndex", q.ColorIndex);
        ed(p + ".Layer", q.Layer);
        ed(p + ".Disabled", q.Disabled);
    }
    void line(const std::string& p, const DLine& l) {
        head(p, l);
        ed(p + ".Angle", l.Angle);
        ed(p + ".Length", l.Length);
        ed(p + ".LineType", l.LineType);
        ed(p + ".Dash", l.Dash);
        ed(p + ".Gap", l.Gap);
        ed(p + ".Arrow1", l.Arrow1);
        ed(p + ".Arrow2", l.Arrow2);
        ed(p + ".Frac3", l.Frac3);
        ed(p + ".Frac4", l.Frac4);
        point(p + ".P1", l.P1);
        point(p + ".P2", l.P2);
        point(p + ".P3", l.P3);
        point(p + ".P4", l.P4);
    }
    void circle(const std::string& p, const DCircle& c) {
        head(p, c);
        ed(p + ".A", c.A);
        ed(p + ".B", c.B);
        ed(p + ".A3", c.A3);
        ed(p + ".B3", c.B3);
        point(p + ".Center", c.Center);
        for (std::size_t i = 1; i <= 3; ++i) {
            line(p + ".R" + std::to_string(i), c.R[i]);
            ed(p + ".ShowR" + std::to_string(i), c.ShowR[i]);
        }
        ed(p + ".IsCircle", c.IsCircle);
        f(p + ".PA", c.PA);
        f(p + ".PB", c.PB);
        f(p + ".PC", c.PC);
        f(p + ".PD", c.PD);
        for (std::size_t i = 0; i < 3; ++i) {
            f(p + ".Q1[" + std::to_string(i) + "]", c.Q1[i]);
            f(p + ".Q2[" + std::to_string(i) + "]", c.Q2[i]);
        }
        ed(p + ".Tilt", c.Tilt);
        ed(p + ".ViewType", c.ViewType);
        ed(p + ".Arc1", c.Arc1);
        ed(p + ".Arc2", c.Arc2);
        ed(p + ".DashArc1", c.DashArc1);
        ed(p + ".DashArc2", c.DashArc2);
    }
    void kv(const DKv& k) {
        head("K", k);
        for (std::size_t i = 1; i <= 4; ++i) {
            line("S" + std::to_string(i), k.S[i]);
            ed("Ang" + std::to_string(i), k.Ang[i]);
        }
        ed("Typ", k.Typ);
        ed("Side3", k.Side3);
        ed("Height", k.Height);
        for (std::size_t i = 1; i <= 2; ++i) {
            circle("Circ" + std::to_string(i), k.Circ[i]);
            ed("CircOn" + std::to_string(i), k.CircOn[i]);
            line("Diag" + std::to_string(i), k.Diag[i]);
            ed("DiagOn" + std::to_string(i), k.DiagOn[i]);
        }
        point("Center", k.Center);
        ed("CenterOn", k.CenterOn);
        ed("View", k.View);
    }
};

// Every value and flag of k, in a fixed order.
inline Snapshot Snap(const DKv& k) {
    Snapshot s;
    Walker{s}.kv(k);
    return s;
}

// The first entry where two snapshots differ, or "" when they agree.
inline std::string FirstDifference(const Snapshot& a, const Snapshot& b) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (a[i].second != b[i].second && !(std::isnan(a[i].second) && std::isnan(b[i].second))) {
            char buf[96];
            std::snprintf(buf, sizeof buf, ": %.17g vs %.17g", a[i].second, b[i].second);
            return a[i].first + buf;
        }
    return a.size() == b.size() ? "" : "sizes differ";
}

}  // namespace pelmar::kvtest
