// Drags of typed figures, round solids and a coordinate system's axis
// through the edit tool's press, moves and release, on paths that cross the
// shapes the type passes through (flat, one point, height 0, an axis end on
// the centre): after every move the handle stands where the type lets it
// follow the mouse, and never jumps; the release leaves a figure of its type
// that a save, an opening and a save again give byte for byte.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "editing/commit.h"
#include "editing/new_objects.h"
#include "editing/reopen.h"
#include "editing/selection.h"
#include "editing/undo_store.h"
#include "edit_tool.h"
#include "editing_fixture.h"
#include "model/drag_rules.h"

using namespace pelmar;
using namespace pelmar::test;

// Named apart: the editing tests build as one unit.
namespace drag_press {

using Spot = std::array<double, 2>;

// What is dragged: a figure's vertex (its corners given), the default
// cylinder's upper base or cone's apex, a coordinate system's X axis (vertex
// 0) or its end 1 (vertex 1).
struct Row {
    const char* what;
    Kind kind;
    int type;
    std::vector<Spot> corners;
    std::size_t vertex;
    // The mouse from the handle through these points, in moves of `step`
    // pixels that land on each of them.
    std::vector<Spot> path;
    int step;
    // A solid let go with its height 0 by a drag before: its handle there.
    bool flatFirst = false;
};

// A picture position of the model's upward y; a vertex of a figure in the
// drawing plane, unrounded.
Spot At(const DPoint& p) { return {p.ScrX.v, p.ScrY.v}; }
Spot InPlane(const DPoint& p) { return {p.Y.v, p.Z.v}; }
double Dist(Spot a, Spot b) { return std::hypot(a[0] - b[0], a[1] - b[1]); }

void PutFigure(Editing& e, const Row& r) {
    ASSERT_TRUE(NewDefaultObject(*e, r.kind));
    ShowCurrent(*e, r.kind);
    const auto put = [&](auto& w, int free) {
        const int n = static_cast<int>(r.corners.size());
        for (int i = 1; i <= n; ++i) {
            const Spot c = r.corners[static_cast<std::size_t>(i - 1)];
            PlaceVertex(w, n, i, static_cast<int>(c[0]), static_cast<int>(c[1]));
        }
        for (int t : {free, r.type}) w.Typ.v = static_cast<std::uint8_t>(t), ApplyObject(*e, false);
    };
    if (r.kind == Kind::tr) put(e->Copies.CurTri, 4);
    else if (r.kind == Kind::kv) put(e->Copies.CurKv, 7);
}

// The handle's picture position, and the line it may move along (a solid's
// axis at the press: the handle follows the mouse's projection on it).
Spot Handle(const DProj& doc, const Row& r) {
    switch (r.kind) {
        case Kind::tr: return At(doc.Obj.Tr[1].S[r.vertex].P1);
        case Kind::kv: return At(doc.Obj.Kv[1].S[r.vertex].P1);
        case Kind::zi: return At(doc.Obj.Zi[1].Base[r.flatFirst ? 1 : 2].Center);
        case Kind::xy: return At(doc.Obj.Xy[1].AxisX.P1);
        default: return At(doc.Obj.Ko[1].Axis.P2);
    }
}
Spot AxisFoot(const DProj& doc, const Row& r) {
    return r.kind == Kind::zi ? At(doc.Obj.Zi[1].Base[1].Center) : At(doc.Obj.Ko[1].Base.Center);
}
Spot AxisTop(const DProj& doc, const Row& r) {
    return r.kind == Kind::zi ? At(doc.Obj.Zi[1].Base[2].Center) : At(doc.Obj.Ko[1].Axis.P2);
}

// What breaks the type's own shape, from the vertices ("" when nothing
// does).  The shapes the type passes through (flat, one point, height 0) keep
// it; the paths end away from them, so that after the release the solid has
// a height and the figure sides and an area.
std::string TypeBroken(const DProj& doc, const Row& r, bool released) {
    std::string why;
    const auto expect = [&](bool ok, const std::string& what) {
        if (!ok) why += what + "; ";
    };
    if (r.kind == Kind::zi || r.kind == Kind::ko) {
        expect(!released || Dist(AxisTop(doc, r), AxisFoot(doc, r)) > 10, "no height");
        return why;
    }
    if (r.kind == Kind::xy) {
        // The axes cross at the centre; a dragged axis keeps the centre
        // 10 pixels from its end 1 and 30 from its end 2.
        const DXOY& x = doc.Obj.Xy[1];
        const double c = x.Center.ScrX.v;
        expect(x.AxisY.P1.ScrX.v == c && x.AxisY.P2.ScrX.v == c, "the Y axis off the centre");
        expect(x.AxisX.P1.ScrX.v < c, "end 1 past the centre");
        if (r.vertex == 0)
            expect(x.AxisX.P1.ScrX.v + 10 <= c + 1e-9 && c <= x.AxisX.P2.ScrX.v - 30 + 1e-9, "the centre near an end");
        return why;
    }
    std::vector<Spot> v;
    if (r.kind == Kind::tr) {
        const DTri& t = doc.Obj.Tr[1];
        expect(t.Typ.v == r.type, "type " + std::to_string(t.Typ.v));
        for (std::size_t i = 1; i <= 3; ++i) v.push_back(InPlane(t.S[i].P1));
    } else {
        const DKv& k = doc.Obj.Kv[1];
        expect(k.Typ.v == r.type, "type " + std::to_string(k.Typ.v));
        for (std::size_t i = 1; i <= 4; ++i) v.push_back(InPlane(k.S[i].P1));
    }
    const std::size_t n = v.size();
    const auto vec = [&](std::size_t i) { return Spot{v[(i + 1) % n][0] - v[i][0], v[(i + 1) % n][1] - v[i][1]}; };
    const auto side = [&](std::size_t i) { return Dist(v[i], v[(i + 1) % n]); };
    const auto cross = [&](std::size_t i, std::size_t j) { return vec(i)[0] * vec(j)[1] - vec(i)[1] * vec(j)[0]; };
    const auto dot = [&](std::size_t i, std::size_t j) { return vec(i)[0] * vec(j)[0] + vec(i)[1] * vec(j)[1]; };
    constexpr double tol = 0.05;
    const auto near = [&](double a, double b, const std::string& what) {
        expect(std::abs(a - b) <= tol, what + " " + std::to_string(a) + " vs " + std::to_string(b));
    };
    if (released) {
        double area = 0;
        for (std::size_t i = 0; i < n; ++i) {
            expect(side(i) > 10, "side " + std::to_string(i + 1) + " short");
            area += v[i][0] * v[(i + 1) % n][1] - v[(i + 1) % n][0] * v[i][1];
        }
        expect(std::abs(area) / 2 > 500, "flat");
    }
    if (r.kind == Kind::tr) {
        if (r.type == 1) {  // equilateral
            near(side(0), side(1), "sides 1, 2");
            near(side(0), side(2), "sides 1, 3");
        } else {  // right-angled at vertex 1, its leg on side 3 as long as drawn
            near(dot(2, 0) / std::max(1.0, side(0)), 0, "angle 1");
            near(side(2), Dist(r.corners[2], r.corners[0]), "side 3");
        }
        return why;
    }
    switch (r.type) {
        case 1:  // square: equal sides at right angles
            for (std::size_t i = 1; i < 4; ++i) near(side(0), side(i), "sides 1, " + std::to_string(i + 1));
            near(dot(0, 1) / std::max(1.0, side(0)), 0, "angle 2");
            break;
        case 2:  // rectangle
            near(side(0), side(2), "sides 1, 3");
            near(side(1), side(3), "sides 2, 4");
            near(dot(0, 1) / std::max(1.0, side(0)), 0, "angle 2");
            break;
        case 3:  // rhombus
            for (std::size_t i = 1; i < 4; ++i) near(side(0), side(i), "sides 1, " + std::to_string(i + 1));
            break;
        case 4:  // parallelogram
            near(v[0][0] + v[2][0], v[1][0] + v[3][0], "diagonals' middles x");
            near(v[0][1] + v[2][1], v[1][1] + v[3][1], "diagonals' middles y");
            break;
        case 5:  // trapezium: side 3 along side 1
            near(cross(0, 2) / std::max(1.0, side(0) + side(2)), 0, "sides 1, 3 parallel");
            break;
        default: break;
    }
    return why;
}

std::string Bytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

void RunRow(const Row& r) {
    Editing e;
    e->UndoOn = false;
    DProj& doc = *e.doc;
    const bool alongAxis = r.kind == Kind::zi || r.kind == Kind::ko;
    Spot axis{};  // the solid's axis as it was made, from the top down
    if (alongAxis) {
        ASSERT_TRUE(NewDefaultObject(*e, r.kind));
        const Spot top = AxisTop(doc, r), foot = AxisFoot(doc, r);
        axis = {foot[0] - top[0], foot[1] - top[1]};
        if (r.flatFirst) {  // the top dragged onto the foot and let go there
            EditToolView view;
            MouseTools tools(*e, view);
            SelectNoneCommand(*e);
            ASSERT_TRUE(SelectAt(*e, int(std::nearbyint(top[0])), int(std::nearbyint(top[1])), 0, false));
            tools.press(MouseAt(doc, int(std::nearbyint(top[0])), int(std::nearbyint(top[1])), true));
            tools.move(MouseAt(doc, int(std::nearbyint(foot[0])), int(std::nearbyint(foot[1])), true));
            tools.release(MouseAt(doc, int(std::nearbyint(foot[0])), int(std::nearbyint(foot[1])), false));
            e.edited->ensureStored();
            ASSERT_LT(Dist(AxisTop(doc, r), AxisFoot(doc, r)), 1);
        }
    } else if (r.kind == Kind::xy) {
        // Axes from (100; 400) to (350; 400) and from (200; 250) to (200; 550).
        ASSERT_TRUE(NewDefaultObject(*e, r.kind));
        ShowCurrent(*e, r.kind);
        DXOY& x = e->Copies.CurXOY;
        PlaceAt(x.Center, 200, 400);
        PlaceAt(x.AxisX.P1, 100, 400), PlaceAt(x.AxisX.P2, 350, 400);
        PlaceAt(x.AxisY.P1, 200, 250), PlaceAt(x.AxisY.P2, 200, 550);
        ApplyObject(*e, false);
    } else {
        PutFigure(e, r);
    }
    e->UndoOn = true;
    SelectNoneCommand(*e);
    const Spot start = Handle(doc, r);
    const bool axisLine = r.kind == Kind::xy && r.vertex == 0, axisEnd = r.kind == Kind::xy && r.vertex == 1;
    const Spot press{std::nearbyint(start[0]) + (axisLine ? 20 : 0), std::nearbyint(start[1])};
    ASSERT_TRUE(SelectAt(*e, int(press[0]), int(press[1]), 0, false));
    const double centre = r.kind == Kind::xy ? doc.Obj.Xy[1].Center.ScrX.v : 0;
    // Where the type lets the handle go with the mouse at m: with the mouse,
    // on the mouse's projection on the solid's axis, or along the X axis to a
    // pixel before the centre.
    const auto allowed = [&](Spot m) {
        if (axisEnd) return Spot{std::min(m[0] - press[0] + start[0], centre - 1), start[1]};
        if (!alongAxis) return Spot{m[0] - press[0] + start[0], m[1] - press[1] + start[1]};
        const Spot& d = axis;
        const double t = ((m[0] - press[0]) * d[0] + (m[1] - press[1]) * d[1]) / (d[0] * d[0] + d[1] * d[1]);
        return Spot{start[0] + t * d[0], start[1] + t * d[1]};
    };

    const int undoPos = e->UndoPos;
    EditToolView view;
    MouseTools tools(*e, view);
    tools.press(MouseAt(doc, int(press[0]), int(press[1]), true));
    Spot mouse = press, handle = start, axisY = r.kind == Kind::xy ? At(doc.Obj.Xy[1].AxisY.P1) : Spot{};
    int moves = 0;
    for (const Spot& to : r.path) {
        const double length = Dist(mouse, to);
        const int n = std::max(1, static_cast<int>(std::ceil(length / r.step)));
        const Spot from = mouse;
        for (int s = 1; s <= n; ++s) {
            const Spot m{std::nearbyint(from[0] + (to[0] - from[0]) * s / n),
                         std::nearbyint(from[1] + (to[1] - from[1]) * s / n)};
            const double step = Dist(mouse, m);
            tools.move(MouseAt(doc, int(m[0]), int(m[1]), true));
            ++moves;
            const Spot now = Handle(doc, r);
            const std::string at = "move " + std::to_string(moves) + " to (" + std::to_string(int(m[0])) + "; " +
                                   std::to_string(int(m[1])) + "), the handle at (" + std::to_string(now[0]) + "; " +
                                   std::to_string(now[1]) + ")";
            ASSERT_LE(Dist(now, allowed(m)), step + 1) << at;
            ASSERT_LE(Dist(now, handle), step + 1) << at << ": a jump";
            ASSERT_EQ(TypeBroken(doc, r, false), "") << at;
            if (r.kind == Kind::xy) {  // the Y axis pushed along, never thrown
                const Spot y1 = At(doc.Obj.Xy[1].AxisY.P1);
                ASSERT_LE(Dist(y1, axisY), step + 1) << at << ": the Y axis jumps";
                axisY = y1;
            }
            mouse = m;
            handle = now;
        }
    }
    tools.release(MouseAt(doc, int(mouse[0]), int(mouse[1]), false));
    e.edited->ensureStored();
    EXPECT_EQ(e->UndoPos, undoPos + 1) << "one undo step";
    EXPECT_EQ(TypeBroken(doc, r, true), "");
    for (const KindInfo& k : KindTable)
        VisitKind(k.kind, [&](auto kc) {
            const auto& store = KindT<decltype(kc)::value>::store(doc.Obj);
            for (std::size_t i = 1; i <= store.count(); ++i) EXPECT_TRUE(ObjectIsFinite(store[i])) << k.code;
        });

    const std::string name = e->ProgDir + "dragged.pel";
    ASSERT_TRUE(WriteDocument(name, doc, WriteModeDocument, DocumentContext{}));
    const std::string saved = Bytes(name);
    ASSERT_EQ(OpenDocumentState(*e, name), ReadOk);
    EXPECT_EQ(TypeBroken(doc, r, true), "") << "reopened";
    ASSERT_TRUE(WriteDocument(name, doc, WriteModeDocument, DocumentContext{}));
    EXPECT_TRUE(Bytes(name) == saved) << "saved again after opening: " << FirstDifference(Bytes(name), saved);
}

TEST(DragFromPress, HandlesThroughTheShapesTheTypePassesThrough) {
    using enum Kind;
    const std::vector<Spot> pa{{100, 100}, {220, 100}, {260, 170}, {140, 170}},
        tz{{100, 100}, {250, 100}, {200, 170}, {130, 170}}, sq{{100, 100}, {200, 100}, {200, 200}, {100, 200}},
        re{{100, 100}, {220, 100}, {220, 160}, {100, 160}},
        rh{{100, 100}, {200, 100}, {260, 180}, {160, 180}}, eq{{100, 100}, {200, 100}, {150, 187}},
        ra{{100, 100}, {200, 100}, {100, 170}};
    // Across side 1 and back; along side 1 through the neighbour and on; the
    // solids' handles through the other base and on, and back up.
    const Row rows[] = {
        {"parallelogram vertex 3 across side 1", kv, 4, pa, 3, {{260, 50}}, 3},
        {"parallelogram vertex 3 onto side 1 and back", kv, 4, pa, 3, {{260, 100}, {250, 40}, {270, 130}}, 3},
        {"trapezium vertex 3 across side 1", kv, 5, tz, 3, {{200, 50}}, 3},
        {"equilateral vertex 1 through vertex 2", tr, 1, eq, 1, {{200, 100}, {290, 100}}, 4},
        {"equilateral vertex 1 through vertex 2 and back", tr, 1, eq, 1, {{200, 100}, {260, 100}, {120, 110}}, 4},
        {"square vertex 2 through vertex 1", kv, 1, sq, 2, {{100, 100}, {20, 100}}, 4},
        {"square vertex 2 onto vertex 1 and away", kv, 1, sq, 2, {{100, 100}, {100, 40}, {170, 120}}, 4},
        {"square vertex 2 onto where vertex 3 stood", kv, 1, sq, 2, {{200, 200}, {150, 230}}, 4},
        {"right-angled vertex 2 over vertex 1, in line with vertex 3", tr, 3, ra, 2, {{100, 150}, {60, 160}}, 4},
        {"rectangle vertex 2 onto the line to vertex 3", kv, 2, re, 2, {{160, 130}, {140, 160}}, 3},
        {"rhombus vertex 2 through vertex 1", kv, 3, rh, 2, {{100, 100}, {30, 100}}, 4},
        {"trapezium vertex 2 through vertex 1", kv, 5, tz, 2, {{100, 100}, {40, 100}}, 3},
        {"parallelogram vertex 1 past vertex 2", kv, 4, pa, 1, {{220, 100}, {300, 100}}, 4},
        {"cylinder upper base through the lower", zi, 0, {}, 0, {{-1, -1}}, 3},
        {"cone apex through the base", ko, 0, {}, 0, {{-1, -1}}, 3},
        {"cylinder let go flat, a base dragged off the other", zi, 0, {}, 0, {{-1, -1}}, 3, true},
        {"cone let go flat, its apex dragged off the base", ko, 0, {}, 0, {{-1, -1}}, 3, true},
        {"coordinate system's X axis end 1 through the centre and back", xy, 0, {}, 1, {{-1, -1}}, 3},
        {"coordinate system's X axis past its centre's margin and back", xy, 0, {}, 0, {{-1, -1}}, 3},
    };
    for (Row r : rows) {
        SCOPED_TRACE(r.what);
        if (r.kind == zi || r.kind == ko) {
            // The default solid's handle straight to the other base's centre,
            // half as far beyond it, and back above the start; or, let go
            // flat, up, down through the base and back to half the height.
            Editing probe;
            ASSERT_TRUE(NewDefaultObject(*probe, r.kind));
            const Spot top = AxisTop(*probe.doc, r), foot = AxisFoot(*probe.doc, r);
            const auto on = [&](double t) {
                return Spot{std::nearbyint(top[0] + t * (foot[0] - top[0])), std::nearbyint(top[1] + t * (foot[1] - top[1]))};
            };
            r.path = r.flatFirst ? std::vector<Spot>{on(0.3), on(1.4), on(0.5)} : std::vector<Spot>{on(1), on(1.5), on(-0.3)};
        } else if (r.kind == xy) {
            // End 1 across the centre and back; the axis its length to the
            // right and up, then back left of where it was.
            if (r.vertex == 1) r.path = {{200, 400}, {240, 400}, {90, 400}};
            else r.path = {{370, 400}, {370, 440}, {110, 440}};
        }
        RunRow(r);
    }
}

}  // namespace drag_press
