#include "editing/mouse_tools.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "editing/commit.h"
#include "editing/editing_state.h"
#include "editing/hit_test.h"
#include "editing/new_objects.h"
#include "editing/selection.h"
#include "editing/undo_store.h"
#include "model/construct.h"
#include "model/geometry.h"
#include "model/recompute.h"
#include "model/transform.h"
#include "model/translate.h"
#include "model/update.h"

namespace pelmar {

namespace {

using Ext = long double;

int RoundHalfEven(Ext v) { return static_cast<int>(std::nearbyint(v)); }

// A clicked point: picture position (px, ym), model point (0, px, ym).
void PlaceAt(DPoint& p, int px, int ym) {
    p.ScrX.v = px;
    p.ScrY.v = ym;
    p.X.v = 0;
    p.Y.v = px;
    p.Z.v = ym;
}

// Vertex i (1-based) of a polygon with n sides: end 1 of side i and end 2 of side i - 1.
template <class Poly>
void PlaceVertex(Poly& f, int n, int i, int px, int ym) {
    PlaceAt(f.S[static_cast<std::size_t>(i)].P1, px, ym);
    PlaceAt(f.S[static_cast<std::size_t>(i == 1 ? n : i - 1)].P2, px, ym);
}
template <class Poly>
void ShiftVertex(Poly& f, int n, int i, double dx, double dy) {
    PlaneShiftPoint(f.S[static_cast<std::size_t>(i)].P1, dx, dy);
    PlaneShiftPoint(f.S[static_cast<std::size_t>(i == 1 ? n : i - 1)].P2, dx, dy);
}

// Handle codes of a polygon's sides (first) and vertices (first + n): a side
// moves its two vertices, a vertex itself.
template <class Poly>
void ShiftPolygonHandle(Poly& f, int n, int code, int first, double dx, double dy) {
    const int k = code - first + 1;
    if (k >= 1 && k <= n) {
        ShiftVertex(f, n, k, dx, dy);
        ShiftVertex(f, n, k == n ? 1 : k + 1, dx, dy);
    } else if (k > n && k <= 2 * n) {
        ShiftVertex(f, n, k - n, dx, dy);
    }
}

double Dist2D(double ax, double ay, double bx, double by) { return std::hypot(ax - bx, ay - by); }

// The stretch factor of an axis drag: the mouse movement (mx, my) projected
// on the picture vector (vx, vy); 1 for a vector of length 0.
double StretchFactor(double vx, double vy, double mx, double my) {
    const double len = std::hypot(vx, vy);
    if (len == 0) return 1.0;
    const double t = (mx * vx + my * vy) / len;
    return (len + t) / len;
}

// New picture semi-axes of an ellipse.  Its outline comes from the two
// stored semi-diameters, so those are scaled along their own directions (an
// ellipse of the drawing plane keeps one along y and one along z); one of
// length 0 takes the drawing plane's direction.
void SetSemiAxes(DCircle& c, double a, double b) {
    const std::array<double, 3> m{c.Center.X.v, c.Center.Y.v, c.Center.Z.v};
    const auto scale = [&](std::array<double, 3>& q, double len, int axis) {
        std::array<double, 3> d{q[0] - m[0], q[1] - m[1], q[2] - m[2]};
        const double old = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
        if (old > 1e-9) {
            for (double& v : d) v *= len / old;
        } else {
            d = {0, 0, 0};
            d[static_cast<std::size_t>(axis)] = len;
        }
        for (std::size_t i = 0; i < 3; ++i) q[i] = m[i] + d[i];
    };
    scale(c.Q1, a, 1);
    scale(c.Q2, b, 2);
    c.A.v = a;
    c.B.v = b;
}

template <class R>
void StaleFill(DProj& doc, const R& r) {
    if (r.Fill.On) doc.FillValid = 0;
}

}  // namespace

int PictureCoord(int window, int zoom) {
    if (zoom <= 0) zoom = 100;
    return RoundHalfEven(static_cast<Ext>(window * 100) / zoom);
}

int ModelY(int window, int zoom, int pictureHeight) {
    if (zoom <= 0) zoom = 100;
    return RoundHalfEven(pictureHeight - static_cast<Ext>((window + 1) * 100) / zoom);
}

int WindowCoord(int picture, int zoom) { return RoundHalfEven(static_cast<Ext>(picture) * zoom / 100); }

std::string GeneralNumber(double v, char decimalSep) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15g", v);
    std::string s = buf;
    for (char& c : s)
        if (c == '.') c = decimalSep;
    return s;
}

MouseTools::Pos MouseTools::at(const MouseInput& in) const {
    const DProj& doc = st_.Doc();
    return {PictureCoord(in.x, doc.Zoom), PictureCoord(in.y, doc.Zoom), ModelY(in.y, doc.Zoom, doc.Im.Height)};
}

bool MouseTools::lengthTool() const {
    const MouseTool t = view_.tool();
    return t == MouseTool::Ruler || (t == MouseTool::Draw && view_.drawKind() != Kind::po);
}

void MouseTools::lengthAndAngle(const Pos& p) {
    const Ext dx = static_cast<Ext>(dragStartX_) - p.px, dy = static_cast<Ext>(dragStartYM_) - p.ym;
    const double len = static_cast<double>(std::nearbyint(1000 * std::sqrt(dx * dx + dy * dy)) / 1000);
    DLine scratch{};
    PlaceAt(scratch.P1, dragStartX_, dragStartYM_);
    PlaceAt(scratch.P2, p.px, p.ym);
    const double angle = LineScreenAngle(scratch);
    const char sep = view_.decimalSeparator();
    view_.setStatusPanel(5, view_.wordLine(350) + GeneralNumber(len, sep));
    view_.setStatusPanel(6, view_.wordLine(351) + GeneralNumber(angle, sep));
}

void MouseTools::repaint() {
    view_.repaintPicture();
    // The redraw writes panel 4 too; the press point stays shown while its drag runs.
    if (noRedraw_ && !pressText_.empty()) view_.setStatusPanel(4, pressText_);
}

void MouseTools::showRubber() {
    const int z = st_.Doc().Zoom;
    view_.setRubberLine(true, WindowCoord(dragStartX_, z), WindowCoord(dragStartY_, z), WindowCoord(dragEndX_, z),
                        WindowCoord(dragEndY_, z));
}

// ---------------------------------------------------------------------------
// Press

void MouseTools::press(const MouseInput& in) {
    if (in.left && in.right) mouseButtons_ = 3;
    else if (in.left) mouseButtons_ = 1;
    else if (in.right) mouseButtons_ = 2;
    const Pos p = at(in);
    const MouseTool tool = view_.tool();

    if (mouseButtons_ == 1 && lengthTool()) {
        pressText_ = "x,y=" + std::to_string(p.px) + "," + std::to_string(p.ym);
        view_.setStatusPanel(4, pressText_);
    }
    if (mouseButtons_ == 1) {
        dragStartX_ = p.px;
        dragStartY_ = p.py;
        dragStartYM_ = p.ym;
        noRedraw_ = true;
    }
    if (in.right) ++vertexStep_;
    if (mouseButtons_ == 1) vertexStep_ = 0;
    if (tool == MouseTool::Draw && view_.drawKind() == Kind::tr && vertexStep_ > 1) vertexStep_ = 2;
    if (tool == MouseTool::Draw && view_.drawKind() == Kind::kv && vertexStep_ > 2) vertexStep_ = 3;

    switch (tool) {
        case MouseTool::Ruler:
            if (mouseButtons_ == 1) {
                st_.UndoGate = false;
                dragEndX_ = p.px;
                dragEndY_ = p.py;
                showRubber();
            }
            break;
        case MouseTool::Draw: drawPress(p); break;
        case MouseTool::Select:
            if (mouseButtons_ == 1) {
                st_.UndoGate = false;
                if (SelectAt(st_, p.px, p.ym, in.shift ? 1 : 0, false)) {
                    repaint();
                    ReloadCurrentSelected(st_);
                }
            }
            break;
        case MouseTool::Edit:
            if (mouseButtons_ == 1) editPress(p);
            break;
        case MouseTool::None: break;
    }
    UpdateSelectionUI(st_);
}

void MouseTools::drawPress(const Pos& p) {
    const bool leftAlone = mouseButtons_ == 1;
    WorkingCopies& w = st_.Copies;
    // A new object: created, then the gate closed for the commits of its drag.
    const auto begin = [&](auto create) {
        if (!create()) return false;
        st_.UndoGate = false;
        return true;
    };
    bool commit = false, redrawAfter = true;
    switch (view_.drawKind()) {
        case Kind::po:
            if (leftAlone && begin([&] { return NewPoint(st_, false, false, false); })) {
                PlaceAt(w.CurPoint, p.px, p.ym);
                commit = true;
            }
            break;
        case Kind::li:
            if (leftAlone && begin([&] { return NewLine(st_, false, false, false); })) {
                PlaceAt(w.CurLine.P1, p.px, p.ym);
                PlaceAt(w.CurLine.P2, p.px, p.ym);
                commit = true;
            }
            break;
        case Kind::ci:
            if (leftAlone && begin([&] { return NewCircle(st_, false, false, false); })) {
                DCircle& c = w.CurCircle;
                PlaceAt(c.Center, p.px, p.ym);
                c.A.v = c.B.v = 0;
                c.Q1 = c.Q2 = {0.0, static_cast<double>(p.px), static_cast<double>(p.ym)};
                c.Is3D = true;
                commit = true;
            }
            break;
        case Kind::tr:
            if (vertexStep_ == 0 && leftAlone) {
                if (begin([&] { return NewTriangle(st_, false, false, false); })) {
                    for (int i = 1; i <= 3; ++i) PlaceVertex(w.CurTri, 3, i, p.px, p.ym);
                    w.CurTri.CircOn[2].v = false;
                    w.CurTri.Typ.v = 4;
                    commit = true;
                }
            } else if (vertexStep_ == 1 && noRedraw_) {
                // Vertex 2 fixed by the right button while the left one draws.
                for (int i = 2; i <= 3; ++i) PlaceVertex(w.CurTri, 3, i, p.px, p.ym);
                commit = true;
                redrawAfter = false;
            }
            break;
        case Kind::kv:
            if (vertexStep_ == 0 && leftAlone) {
                if (begin([&] { return NewTetragon(st_, false, false, false); })) {
                    for (int i = 1; i <= 4; ++i) PlaceVertex(w.CurKv, 4, i, p.px, p.ym);
                    w.CurKv.CircOn[2].v = false;
                    w.CurKv.Typ.v = 6;
                    commit = true;
                }
            } else if ((vertexStep_ == 1 || vertexStep_ == 2) && noRedraw_) {
                for (int i = vertexStep_ + 1; i <= 4; ++i) PlaceVertex(w.CurKv, 4, i, p.px, p.ym);
                commit = true;
                redrawAfter = false;
            }
            break;
        case Kind::xy:
            if (leftAlone && begin([&] { return NewXOY(st_, false, false, false); })) {
                DXOY& x = w.CurXOY;
                for (DPoint* q : {&x.Center, &x.AxisX.P1, &x.AxisX.P2, &x.AxisY.P1, &x.AxisY.P2})
                    PlaceAt(*q, p.px, p.ym);
                commit = true;
            }
            break;
        default: break;
    }
    if (!commit) return;
    ApplyObject(st_, true);
    if (redrawAfter) repaint();
}

void MouseTools::editPress(const Pos& p) {
    st_.UndoGate = false;
    if (!AnyObjectAt(st_, p.px, p.ym)) return;
    editDragActive_ = true;
    BeginEditDrag(st_);
    const int code = st_.DragHandle;
    DSubProj& o = st_.Doc().Obj;
    const auto offsetTo = [&](const DPoint& end) {
        grabOffsetX_ = p.px - RoundHalfEven(end.ScrX.v);
        grabOffsetY_ = p.ym - RoundHalfEven(end.ScrY.v);
    };
    for (int i = 1; i <= o.Li.count(); ++i)
        if (IsSelected(st_, Kind::li, i) && (code == 1 || code == 2)) offsetTo(code == 1 ? o.Li[i].P1 : o.Li[i].P2);
    for (int i = 1; i <= o.Ci.count(); ++i) {
        if (!IsSelected(st_, Kind::ci, i)) continue;
        const DCircle& c = o.Ci[i];
        if (code == 11)
            grabOffsetX_ = RoundHalfEven(Dist2D(p.px, p.ym, c.Center.ScrX.v, c.Center.ScrY.v) - c.A.v);
        // A flat ellipse keeps no ratio: its drag takes both distances as they are.
        grabAxisRatio_ = c.B.v != 0 ? c.A.v / c.B.v : 0.0;
    }
    for (int i = 1; i <= o.Xy.count(); ++i) {
        if (!IsSelected(st_, Kind::xy, i)) continue;
        const DXOY& x = o.Xy[i];
        if (code == 43) offsetTo(x.AxisX.P1);
        if (code == 44) offsetTo(x.AxisX.P2);
        if (code == 45) offsetTo(x.AxisY.P1);
        if (code == 46) offsetTo(x.AxisY.P2);
    }
    for (int i = 1; i <= o.Sf.count(); ++i)
        if (IsSelected(st_, Kind::sf, i) && code == 52) {
            const DSf& s = o.Sf[i];
            grabOffsetX_ = RoundHalfEven(Dist2D(p.px, p.ym, s.Center.ScrX.v, s.Center.ScrY.v) - s.Radius.v);
        }
    for (int i = 1; i <= o.Xz.count(); ++i) {
        if (!IsSelected(st_, Kind::xz, i) || code < 125 || code > 130) continue;
        const DXZ& x = o.Xz[i];
        const DPoint* ends[] = {&x.AxisX.P1, &x.AxisX.P2, &x.AxisY.P1, &x.AxisY.P2, &x.AxisZ.P1, &x.AxisZ.P2};
        offsetTo(*ends[code - 125]);
    }
    repaint();
}

// ---------------------------------------------------------------------------
// Move

void MouseTools::move(const MouseInput& in) {
    if (haveLast_ && in.x == lastMouseX_ && in.y == lastMouseY_) return;
    haveLast_ = true;
    lastMouseX_ = in.x;
    lastMouseY_ = in.y;
    const Pos p = at(in);
    view_.setStatusPanel(0, "X=" + std::to_string(p.px));
    view_.setStatusPanel(1, "Y=" + std::to_string(p.ym));
    if (noRedraw_ && lengthTool()) lengthAndAngle(p);

    switch (view_.tool()) {
        case MouseTool::Ruler:
            if (noRedraw_) {
                dragEndX_ = p.px;
                dragEndY_ = p.py;
                showRubber();
            }
            break;
        case MouseTool::Draw:
            if (noRedraw_) drawMove(p);
            break;
        case MouseTool::Edit:
            if (editDragActive_) editMove(p);
            break;
        default: break;
    }
}

void MouseTools::drawMove(const Pos& p) {
    WorkingCopies& w = st_.Copies;
    switch (view_.drawKind()) {
        case Kind::po: PlaceAt(w.CurPoint, p.px, p.ym); break;
        case Kind::li: PlaceAt(w.CurLine.P2, p.px, p.ym); break;
        case Kind::ci: {
            DCircle& c = w.CurCircle;
            if (c.IsCircle.v) {
                const Ext dx = static_cast<Ext>(dragStartX_) - p.px, dy = static_cast<Ext>(dragStartYM_) - p.ym;
                const double len = static_cast<double>(std::nearbyint(1000 * std::sqrt(dx * dx + dy * dy)) / 1000);
                c.A.v = c.B.v = len;
                c.Q1[1] = c.Center.Y.v + len;
                c.Q2[2] = c.Center.Z.v + len;
            } else {
                SetSemiAxes(c, std::abs(dragStartX_ - p.px), std::abs(dragStartY_ - p.py));
            }
            break;
        }
        case Kind::tr:
            for (int i = vertexStep_ == 0 ? 2 : 3; i <= 3; ++i) PlaceVertex(w.CurTri, 3, i, p.px, p.ym);
            break;
        case Kind::kv:
            for (int i = std::min(vertexStep_, 2) + 2; i <= 4; ++i) PlaceVertex(w.CurKv, 4, i, p.px, p.ym);
            break;
        case Kind::xy: {
            DXOY& x = w.CurXOY;
            // The axes cross at the press point, each mirrored about it; which
            // end takes the mouse is decided as the hit tests compare (ceiling 10000).
            const auto ends = [](int mouse, int mirror, int& e1, int& e2) {
                if (MinOf(2, mouse, mirror) == mirror) {
                    e1 = mirror;
                    e2 = mouse;
                } else {
                    e1 = mouse;
                    e2 = mirror;
                }
            };
            int x1, x2, y1, y2;
            ends(p.px, 2 * dragStartX_ - p.px, x1, x2);
            ends(p.ym, 2 * dragStartYM_ - p.ym, y1, y2);
            PlaceAt(x.AxisX.P1, x1, dragStartYM_);
            PlaceAt(x.AxisX.P2, x2, dragStartYM_);
            PlaceAt(x.AxisY.P1, dragStartX_, y1);
            PlaceAt(x.AxisY.P2, dragStartX_, y2);
            break;
        }
        default: return;
    }
    ApplyObject(st_, true);
    repaint();
}

void MouseTools::editMove(const Pos& p) {
    // The drag's one undo step, before its first change.
    DragChange(st_);
    const double dx = p.px - dragStartX_, dy = p.ym - dragStartYM_;
    const int code = st_.DragHandle;
    DProj& doc = st_.Doc();
    DSubProj& o = doc.Obj;
    const double px = p.px, ym = p.ym;

    // Runs `fn` on every selected object of one kind.
    const auto eachSelected = [&](auto& store, Kind kind, auto fn) {
        for (int i = 1; i <= store.count(); ++i)
            if (IsSelected(st_, kind, i)) fn(store[static_cast<std::size_t>(i)]);
    };
    // Moves an axis end along its axis, keeping it on its side of the centre.
    const auto slide = [](double& v, double want, double centre, bool below) {
        const double old = v;
        v = want;
        if (below ? !(v < centre) : !(v > centre)) v = old;
    };

    eachSelected(o.Po, Kind::po, [&](DPoint& pt) { PlaneShiftPoint(pt, dx, dy); });

    eachSelected(o.Li, Kind::li, [&](DLine& l) {
        if (code == 0) PlaneShiftLine(l, dx, dy);
        else if (code == 1 || code == 2) PlaceAt(code == 1 ? l.P1 : l.P2, p.px - grabOffsetX_, p.ym - grabOffsetY_);
        UpdateLine(l, 0);
    });

    eachSelected(o.Ci, Kind::ci, [&](DCircle& c) {
        StaleFill(doc, c);
        const double cx = c.Center.ScrX.v, cy = c.Center.ScrY.v;
        switch (code) {
            case 0: PlaneShiftCircle(c, dx, dy); break;
            case 11: {
                const double r = std::max(0.0, Dist2D(px, ym, cx, cy) - grabOffsetX_);
                SetSemiAxes(c, r, r);
                break;
            }
            case 12: SetSemiAxes(c, std::abs(cx - px), c.B.v); break;
            case 13: SetSemiAxes(c, c.A.v, std::abs(cy - ym)); break;
            case 14: {
                const double k = grabAxisRatio_;
                if (k > 0 && std::isfinite(k)) {
                    const double b =
                        RoundHalfEven(std::sqrt(((px - cx) * (px - cx) + k * k * (ym - cy) * (ym - cy)) / (k * k)));
                    SetSemiAxes(c, RoundHalfEven(k * b), b);
                } else {
                    SetSemiAxes(c, std::abs(cx - px), std::abs(cy - ym));
                }
                break;
            }
            default: break;
        }
        UpdateCircle(c, 0);
    });

    // Triangles and tetragons: the whole figure, or one vertex handle from `firstHandle` on.
    const auto polygon = [&](auto& store, Kind kind, int sides, int firstHandle, auto shift, auto update) {
        eachSelected(store, kind, [&](auto& f) {
            StaleFill(doc, f);
            if (code == 0) shift(f, dx, dy);
            else ShiftPolygonHandle(f, sides, code, firstHandle, dx, dy);
            update(f, 0, false);
        });
    };
    polygon(o.Tr, Kind::tr, 3, 21, PlaneShiftTriangle, UpdateTriangle);
    polygon(o.Kv, Kind::kv, 4, 31, PlaneShiftTetragon, UpdateTetragon);

    eachSelected(o.Xy, Kind::xy, [&](DXOY& x) {
        DPoint& c = x.Center;
        const auto centreXFromY = [&] {  // picture x and model y from Y-axis end 1
            c.ScrX.v = x.AxisY.P1.ScrX.v;
            c.Y.v = x.AxisY.P1.Y.v;
        };
        const auto centreYFromX = [&] {  // picture y and model z from X-axis end 1
            c.ScrY.v = x.AxisX.P1.ScrY.v;
            c.Z.v = x.AxisX.P1.Z.v;
        };
        const bool up = doc.Im.YOrient == 2;
        const auto testX1 = [&] { return x.AxisX.P1.ScrX.v + 10 > c.ScrX.v; };
        const auto testX2 = [&] { return x.AxisX.P2.ScrX.v - 30 < c.ScrX.v; };
        const auto testY2 = [&] { return up ? x.AxisY.P2.ScrY.v - 30 < c.ScrY.v : x.AxisY.P2.ScrY.v + 30 > c.ScrY.v; };
        const auto testY1 = [&] { return up ? x.AxisY.P1.ScrY.v + 10 > c.ScrY.v : x.AxisY.P1.ScrY.v - 10 < c.ScrY.v; };
        switch (code) {
            case 0: PlaneShiftXOY(x, dx, dy); break;
            case 41:
            case 42: {
                // The dragged axis moves; an end that comes too near the
                // centre carries the other axis along.
                const bool alongX = code == 41;
                DLine& other = alongX ? x.AxisY : x.AxisX;
                PlaneShiftLine(alongX ? x.AxisX : x.AxisY, dx, dy);
                const auto carry = [&](auto test, auto centre) {
                    if (test()) {
                        PlaneShiftLine(other, dx, dy);
                        centre();
                    }
                };
                if (alongX) {
                    centreYFromX();
                    carry(testX1, centreXFromY);
                    carry(testX2, centreXFromY);
                    carry(testY2, centreYFromX);
                    carry(testY1, centreYFromX);
                } else {
                    centreXFromY();
                    carry(testY2, centreYFromX);
                    carry(testY1, centreYFromX);
                    carry(testX2, centreXFromY);
                    carry(testX1, centreXFromY);
                }
                break;
            }
            case 43: if (x.AxisX.P1.Y.v < c.Y.v) slide(x.AxisX.P1.Y.v, px - grabOffsetX_, c.Y.v, true); break;
            case 44: if (x.AxisX.P2.Y.v > c.Y.v) slide(x.AxisX.P2.Y.v, px - grabOffsetX_, c.Y.v, false); break;
            case 45: if (x.AxisY.P1.Z.v < c.Z.v) slide(x.AxisY.P1.Z.v, ym - grabOffsetY_, c.Z.v, true); break;
            case 46: if (x.AxisY.P2.Z.v > c.Z.v) slide(x.AxisY.P2.Z.v, ym - grabOffsetY_, c.Z.v, false); break;
            default: break;
        }
        UpdateXOY(x, 0);
    });

    eachSelected(o.Sf, Kind::sf, [&](DSf& s) {
        StaleFill(doc, s);
        if (code == 0) PlaneShiftOrb(s, dx, dy);
        else if (code == 52)
            s.Radius.v = std::max(0.0, Dist2D(px, ym, s.Center.ScrX.v, s.Center.ScrY.v) - grabOffsetX_);
        UpdateOrb(s, 0);
    });

    // Axis stretch: the movement since the last event along the picture vector v.
    const auto stretch = [&](const DPoint& from, const DPoint& to) {
        return StretchFactor(to.ScrX.v - from.ScrX.v, to.ScrY.v - from.ScrY.v, dx, dy);
    };
    const auto modelVec = [](const DPoint& from, const DPoint& to) {
        return std::array<double, 3>{to.X.v - from.X.v, to.Y.v - from.Y.v, to.Z.v - from.Z.v};
    };

    eachSelected(o.Zi, Kind::zi, [&](DZi& z) {
        StaleFill(doc, z);
        if (code == 0) {
            PlaneShiftCylinder(z, dx, dy);
        } else if (code == 62 || code == 63) {
            const double f = stretch(z.Base[1].Center, z.Base[2].Center) - 1;
            const auto w = modelVec(z.Base[1].Center, z.Base[2].Center);
            TranslateCircle(z.Base[code == 62 ? 2 : 1], f * w[0], f * w[1], f * w[2]);
        }
        UpdateCylinder(z, 0);
    });

    eachSelected(o.Ko, Kind::ko, [&](DKo& k) {
        StaleFill(doc, k);
        if (code == 0) {
            PlaneShiftCone(k, dx, dy);
        } else if (code == 72 || code == 73) {
            const double f = stretch(k.Base.Center, k.Axis.P2) - 1;
            const auto w = modelVec(k.Base.Center, k.Axis.P2);
            if (code == 73) TranslatePoint(k.Axis.P2, f * w[0], f * w[1], f * w[2]);
            else TranslateCircle(k.Base, f * w[0], f * w[1], f * w[2]);
        }
        UpdateCone(k, 0);
    });

    const auto pyramid = [&](auto& store, Kind kind, int apexCode, int heightType, auto shift, auto update) {
        eachSelected(store, kind, [&](auto& r) {
            StaleFill(doc, r);
            if (code == 0) {
                shift(r, dx, dy);
            } else if (code == apexCode) {
                PlaneShiftPoint(r.HeightLine.P2, dx, dy);
                if (r.Typ.v == heightType)
                    r.HeightLine.Length.v =
                        DistPointPlane(r.HeightLine.P2, r.Base.S[1].P1, r.Base.S[2].P1, r.Base.S[3].P1);
            }
            update(r, 0);
        });
    };
    pyramid(o.I3, Kind::i3, 82, 2, PlaneShiftPyramid3, UpdatePyramid3);
    pyramid(o.I4, Kind::i4, 92, 1, PlaneShiftPyramid4, UpdatePyramid4);

    const auto prism = [&](auto& store, Kind kind, int first, int heightType, auto shift, auto update) {
        eachSelected(store, kind, [&](auto& r) {
            StaleFill(doc, r);
            if (code == 0) {
                shift(r, dx, dy);
            } else if ((code == first || code == first + 1) && r.Typ.v == heightType) {
                const DPoint& a = r.Base[1].S[1].P1;
                const DPoint& b = r.Base[2].S[1].P1;
                const double sign = code == first ? -1.0 : 1.0;
                const double f = StretchFactor(b.ScrX.v - a.ScrX.v, b.ScrY.v - a.ScrY.v, sign * dx, sign * dy);
                r.EdgeX.v *= f;
                r.EdgeY.v *= f;
                r.EdgeZ.v *= f;
                if (code == first) {
                    for (std::size_t s = 1; s <= r.Base[1].S.size(); ++s) {
                        DPoint& v = r.Base[1].S[s].P1;
                        const DPoint& top = r.Base[2].S[s].P1;
                        v.X.v = top.X.v - r.EdgeX.v;
                        v.Y.v = top.Y.v - r.EdgeY.v;
                        v.Z.v = top.Z.v - r.EdgeZ.v;
                    }
                }
            }
            update(r, 0);
        });
    };
    prism(o.R3, Kind::r3, 102, 1, PlaneShiftPrism3, UpdatePrism3);
    prism(o.R4, Kind::r4, 112, 2, PlaneShiftPrism4, UpdatePrism4);

    eachSelected(o.Xz, Kind::xz, [&](DXZ& x) {
        doc.FillValid = 0;
        const double cx = x.Center.X.v;
        const double shiftIn = RoundHalfEven(cx / std::sqrt(8.0));
        switch (code) {
            case 0: PlaneShiftXYZ(x, dx, dy); break;
            case 127: slide(x.AxisY.P1.Y.v, shiftIn + px - grabOffsetX_, x.Center.Y.v, true); break;
            case 128: slide(x.AxisY.P2.Y.v, shiftIn + px - grabOffsetX_, x.Center.Y.v, false); break;
            case 129: slide(x.AxisZ.P1.Z.v, shiftIn + ym - grabOffsetY_, x.Center.Z.v, true); break;
            case 130: slide(x.AxisZ.P2.Z.v, shiftIn + ym - grabOffsetY_, x.Center.Z.v, false); break;
            default: break;
        }
        UpdateXYZ(x, 0);
    });

    dragStartX_ = p.px;
    dragStartY_ = p.py;
    dragStartYM_ = p.ym;
    RecomputeLinked(doc);
    ReloadCurrentDependent(st_);
    repaint();
    ReloadCurrentSelected(st_);
}

// ---------------------------------------------------------------------------
// Release

void MouseTools::drawRelease(const Pos& p) {
    WorkingCopies& w = st_.Copies;
    switch (view_.drawKind()) {
        case Kind::po: PlaceAt(w.CurPoint, p.px, p.ym); break;
        case Kind::li: PlaceAt(w.CurLine.P2, p.px, p.ym); break;
        case Kind::tr: PlaceVertex(w.CurTri, 3, 3, p.px, p.ym); break;
        case Kind::kv: PlaceVertex(w.CurKv, 4, 4, p.px, p.ym); break;
        case Kind::ci:
        case Kind::xy: break;
        default: return;
    }
    ApplyObject(st_, true);
    repaint();
}

void MouseTools::release(const MouseInput& in) {
    int released;
    if (in.left) {
        released = 2;
        mouseButtons_ = 1;
    } else if (in.right) {
        released = 1;
        mouseButtons_ = 2;
    } else {
        released = mouseButtons_;
        mouseButtons_ = 0;
    }
    // Both buttons let go at once end the drag too.
    const bool left = released == 1 || released == 3;
    const bool noneHeld = !in.left && !in.right;
    const Pos p = at(in);
    const MouseTool tool = view_.tool();
    // A release outside any drag of ours (the press went to another window).
    const bool drawing = tool == MouseTool::Draw && noRedraw_;

    if (left) {
        pressText_.clear();
        view_.setStatusPanel(4, "");
        view_.setStatusPanel(5, "");
        view_.setStatusPanel(6, "");
    }
    if (tool == MouseTool::Ruler && left) view_.setRubberLine(false, 0, 0, 0, 0);
    if (drawing && left) drawRelease(p);
    if (left) {
        vertexStep_ = 0;
        noRedraw_ = false;
    }
    if (tool == MouseTool::Edit && editDragActive_ && left) {
        editDragActive_ = false;
        repaint();
    }
    UpdateSelectionUI(st_);
    if (tool == MouseTool::Draw && left) view_.enableDrawTools();
    if (tool == MouseTool::Draw || tool == MouseTool::Edit) ApplyObject(st_, true);
    // The gate opens again only when no button is held: a right release in
    // the middle of a drag must not turn the drag's commits into undo steps.
    if (noneHeld) {
        if (st_.DragRunning) EndEditDrag(st_);
        st_.UndoGate = true;
    }
}

}  // namespace pelmar
