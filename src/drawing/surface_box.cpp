// The box of a surface and the section curves that show it.
#include <algorithm>
#include <cmath>

#include "drawing/curve_builder.h"
#include "drawing/formula.h"
#include "drawing/surface_internal.h"

namespace pelmar {

namespace {

// Running minimum and maximum of one axis.
struct Span {
    bool seen = false;
    double lo = 0, hi = 0;
    void take(double v) {
        if (!seen) {
            lo = hi = v;
            seen = true;
        } else {
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    }
};

void ReplaceLetter(std::string& s, char letter, const std::string& with) {
    std::string r;
    r.reserve(s.size() + with.size() * 4);
    for (char ch : s) {
        if (ch == letter)
            r += with;
        else
            r += ch;
    }
    s = std::move(r);
}

void RenameLetter(std::string& s, char from, char to) { std::replace(s.begin(), s.end(), from, to); }

}  // namespace

SurfaceBox MakeSurfaceBox(const SurfaceSections& sec) {
    Span x, y, z;
    for (int i = 0; i < SurfaceSectionCount; ++i) {
        if (!sec.On[static_cast<std::size_t>(i)]) continue;
        const double v = sec.Value[static_cast<std::size_t>(i)];
        const auto& b = sec.Bounds[static_cast<std::size_t>(i)];
        switch (i / 11) {
            case 0:  // x = v; free y, z
                x.take(v);
                y.take(b[0]), y.take(b[1]);
                z.take(b[2]), z.take(b[3]);
                break;
            case 1:  // y = v; free x, z
                y.take(v);
                x.take(b[0]), x.take(b[1]);
                z.take(b[2]), z.take(b[3]);
                break;
            default:  // z = v; free x, y
                z.take(v);
                x.take(b[0]), x.take(b[1]);
                y.take(b[2]), y.take(b[3]);
                break;
        }
    }
    return {x.lo, x.hi, y.lo, y.hi, z.lo, z.hi};
}

std::array<Vec3, 8> SurfaceBoxCorners(const SurfaceBox& b, const GraphTransform& t) {
    std::array<Vec3, 8> c{{{b.xmax, b.ymin, b.zmin},
                           {b.xmax, b.ymax, b.zmin},
                           {b.xmin, b.ymax, b.zmin},
                           {b.xmin, b.ymin, b.zmin},
                           {b.xmax, b.ymin, b.zmax},
                           {b.xmax, b.ymax, b.zmax},
                           {b.xmin, b.ymax, b.zmax},
                           {b.xmin, b.ymin, b.zmax}}};
    for (Vec3& p : c) {
        if (t.Rotated) RotateAroundAxis(p.x, p.y, p.z, t.CX, t.CY, t.CZ, t.Angle, t.NX, t.NY, t.NZ);
        if (t.Moved) MoveByVector(p.x, p.y, p.z, t.DX, t.DY, t.DZ);
    }
    return c;
}

bool IsSurfaceKind(const std::string& kind) { return kind == SurfaceKindCartesian || kind == SurfaceKindImplicit; }

std::string SectionFormula(const std::string& kind, int group, const std::string& formula, double c,
                           char decimalSep) {
    std::string number = FormulaNumberText(c);
    if (decimalSep != '.') RenameLetter(number, '.', decimalSep);
    const std::string bracketed = "(" + number + ")";
    // Letters are matched lower-cased, as the evaluator reads them.
    std::string s = formula;
    for (char& ch : s)
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    const bool cartesian = kind == SurfaceKindCartesian;
    switch (group) {
        case 1:
            ReplaceLetter(s, 'x', bracketed);
            RenameLetter(s, 'y', 'x');
            if (!cartesian) RenameLetter(s, 'z', 'y');
            break;
        case 2:
            ReplaceLetter(s, 'y', bracketed);
            RenameLetter(s, 'z', 'y');
            break;
        case 3:
            if (cartesian)
                s = formula + "-" + bracketed;
            else
                ReplaceLetter(s, 'z', bracketed);
            break;
        default:
            break;
    }
    return s;
}

std::string SurfaceRayFormula(const std::string& kind, const std::string& formula, const GraphTransform& t) {
    std::string s = kind == SurfaceKindCartesian ? formula + "-z" : formula;
    if (t.Rotated || t.Moved) {
        std::string r;
        TransformFormula(s, t, r);
        return r;
    }
    return s;
}

void ClipSectionWindow(SurfaceSection& p, int width, int height) {
    CurveWindow w{p.Left, p.Right, p.Bottom, p.Top};
    CutWindowToPicture(static_cast<std::uint8_t>(p.Group), p.OriginX, p.OriginY, width, height, 0, w);
    p.Left = w.Left, p.Right = w.Right, p.Bottom = w.Bottom, p.Top = w.Top;
}

std::vector<SurfaceSection> PlanSurfaceSections(const std::string& kind, const std::string& formula,
                                                int surfaceNo, const SurfaceSections& sec, double s, double cx,
                                                double cy, char decimalSep, int pictureWidth, int pictureHeight) {
    std::vector<SurfaceSection> plan;
    if (!IsSurfaceKind(kind)) return plan;
    const bool cartesian = kind == SurfaceKindCartesian;
    const double r8 = static_cast<double>(Sqrt8());
    for (int g = 1; g <= 3; ++g) {
        for (int k = 1; k <= 11; ++k) {
            const auto i = static_cast<std::size_t>((g - 1) * 11 + k - 1);
            if (!sec.On[i]) continue;
            const double c = sec.Value[i];
            const auto& b = sec.Bounds[i];
            SurfaceSection p;
            p.Group = g;
            p.K = k;
            p.Position = c;
            p.F = SectionFormula(kind, g, formula, c, decimalSep);
            switch (g) {
                case 1:
                    p.OriginX = cx - c * s / r8;
                    p.OriginY = cy + c * s / r8;
                    p.Left = -b[0] * s;
                    p.Right = b[1] * s;
                    break;
                case 2:
                    p.OriginX = cx + c * s;
                    p.OriginY = cy;
                    break;
                default:
                    p.OriginX = cx;
                    p.OriginY = cy - c * s;
                    break;
            }
            if (g != 1) {  // the first axis is the depth axis, drawn shortened and pointing left-down
                p.Left = b[1] * s / r8;
                p.Right = -b[0] * s / r8;
            }
            p.Bottom = -b[2] * s;
            p.Top = b[3] * s;
            if (cartesian) {
                p.Traced = g == 3;
                p.G = g == 3 ? formula + "-z" : formula;
                p.Slot = g == 3 ? 11 * surfaceNo - 1 + k : 0;
            } else {
                p.Traced = true;
                p.G = formula;
                p.Slot = 32 + 11 * (g - 1) + k;
            }
            ClipSectionWindow(p, pictureWidth, pictureHeight);
            plan.push_back(std::move(p));
        }
    }
    return plan;
}

int TracedSectionCount(const std::vector<SurfaceSection>& plan) {
    return static_cast<int>(std::count_if(plan.begin(), plan.end(), [](const SurfaceSection& p) { return p.Traced; }));
}

}  // namespace pelmar
