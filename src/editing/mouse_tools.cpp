#include "editing/mouse_tools.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <tuple>
#include <utility>
#include <vector>

#include "editing/commit.h"
#include "editing/editing_state.h"
#include "editing/hit_test.h"
#include "editing/kind_access.h"
#include "editing/new_objects.h"
#include "editing/selection.h"
#include "editing/undo_store.h"
#include "files/document.h"
#include "model/construct.h"
#include "model/coord_limit.h"
#include "model/drag_rules.h"
#include "model/geometry.h"
#include "model/recompute.h"
#include "model/transform.h"
#include "model/translate.h"
#include "model/update.h"

namespace pelmar {

namespace {

using Ext = long double;

// Half to even, saturated to the range of int.
int RoundHalfEven(Ext v) { return SaturatedRound<int>(static_cast<double>(v)); }

}  // namespace

// The records an edit drag starts from: every selected object and every
// object built on others (creation number 2 and up), as the press found
// them.  Each move puts them back, drags the selected ones by the whole
// offset from the press and recomputes the others from there, so that what
// a move shows depends on the press and the mouse alone: a shape the type
// passes through on the way (flat, one point, height 0) is not where the
// next move starts.
class MouseTools::PressCopies {
public:
    explicit PressCopies(const EditingState& st) {
        ForEachKind([&](auto kc) {
            constexpr Kind K = decltype(kc)::value;
            const auto& store = KindT<K>::store(st.Doc().Obj);
            for (std::size_t i = 1; i <= store.count(); ++i)
                if (store[i].Number >= 2 || IsSelected(st, K, static_cast<int>(i))) of<K>().emplace_back(i, store[i]);
        });
    }

    void restore(DProj& doc) const {
        ForEachKind([&](auto kc) {
            constexpr Kind K = decltype(kc)::value;
            auto& store = KindT<K>::store(doc.Obj);
            for (const auto& [i, rec] : std::get<Slot(K)>(lists_))
                if (i <= store.count()) store[i] = rec;
        });
    }

private:
    template <Kind K>
    using List = std::vector<std::pair<std::size_t, typename KindT<K>::Rec>>;
    template <Kind K>
    List<K>& of() {
        return std::get<Slot(K)>(lists_);
    }
    std::tuple<List<Kind::po>, List<Kind::li>, List<Kind::ci>, List<Kind::tr>, List<Kind::kv>, List<Kind::xy>,
               List<Kind::sf>, List<Kind::zi>, List<Kind::ko>, List<Kind::i3>, List<Kind::i4>, List<Kind::r3>,
               List<Kind::r4>, List<Kind::xz>>
        lists_;
};

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
    view_.setStatusPanel(5, view_.word(WordNo::LengthIs) + GeneralNumber(len, sep));
    view_.setStatusPanel(6, view_.word(WordNo::AngleIs) + GeneralNumber(angle, sep));
}

MouseTools::MouseTools(EditingState& st, MouseToolView& view) : st_(st), view_(view) {}

MouseTools::~MouseTools() = default;

void MouseTools::repaint() {
    st_.Document.requestRedraw();
    // The redraw writes panel 4 too; the press point stays shown while its drag runs.
    if (leftHeld() && !pressText_.empty()) view_.setStatusPanel(4, pressText_);
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
        // A release that never came (the mouse let go outside any window of
        // ours) ends the last drag here.
        if (drag_) drag_->leftReleased();
        finishEditDrag();
        drag_.reset();
        drag_.emplace(st_.Document);
    }
    if (in.right) ++vertexStep_;
    if (mouseButtons_ == 1) vertexStep_ = 0;
    if (tool == MouseTool::Draw && view_.drawKind() == Kind::tr && vertexStep_ > 1) vertexStep_ = 2;
    if (tool == MouseTool::Draw && view_.drawKind() == Kind::kv && vertexStep_ > 2) vertexStep_ = 3;

    switch (tool) {
        case MouseTool::Ruler:
            if (mouseButtons_ == 1) {
                drag_->holdUndo();
                dragEndX_ = p.px;
                dragEndY_ = p.py;
                showRubber();
            }
            break;
        case MouseTool::Draw: drawPress(p); break;
        case MouseTool::Select:
            if (mouseButtons_ == 1) {
                drag_->holdUndo();
                const EditedDocument::SelectionMarks marks(st_);
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
    // A new object: created, then undo held off for the commits of its drag.
    const auto begin = [&](auto create) {
        if (!create()) return false;
        drag_->holdUndo();
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
            } else if (vertexStep_ == 1 && leftHeld()) {
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
            } else if ((vertexStep_ == 1 || vertexStep_ == 2) && leftHeld()) {
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
    drag_->holdUndo();
    pressCopies_.reset();
    if (!AnyObjectAt(st_, p.px, p.ym)) return;
    editDragActive_ = true;
    drag_->beginEdit();
    const int handle = st_.DragHandle;
    grip_ = {};
    ForEachKind([&](auto kc) {
        constexpr Kind K = decltype(kc)::value;
        const auto& store = KindT<K>::store(st_.Doc().Obj);
        for (int i = 1; i <= store.count(); ++i)
            if (IsSelected(st_, K, i)) TakeHandle(store[static_cast<std::size_t>(i)], handle, p.px, p.ym, grip_);
    });
    pressCopies_ = std::make_unique<PressCopies>(st_);
    editAtX_ = p.px;
    editAtYM_ = p.ym;
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
    if (leftHeld() && lengthTool()) lengthAndAngle(p);

    switch (view_.tool()) {
        case MouseTool::Ruler:
            if (leftHeld()) {
                dragEndX_ = p.px;
                dragEndY_ = p.py;
                showRubber();
            }
            break;
        case MouseTool::Draw:
            if (leftHeld()) drawMove(p);
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
    if (!drag_ || !pressCopies_) return;
    // Above 100 % zoom a mouse step can stay on the same picture pixel: no
    // move, and no change of the document.
    if (p.px == editAtX_ && p.ym == editAtYM_) return;
    editAtX_ = p.px;
    editAtYM_ = p.ym;
    dragTo(false);
    repaint();
}

void MouseTools::finishEditDrag() {
    if (!editDragActive_) return;
    editDragActive_ = false;
    if (drag_ && drag_->changed() && pressCopies_) dragTo(true);
    pressCopies_.reset();
}

void MouseTools::dragTo(bool filed) {
    DProj& doc = st_.Doc();
    // The drag's one undo step before its first change; the selected
    // objects and those built on them move under the fill comparison,
    // which has marked the fill picture before the redraw is asked for.
    const FillWatch step = drag_->step();
    // Every move starts again from the press, with the whole offset of the
    // mouse since then, and ends in the update a commit runs.  The moves
    // show what that update gives; the release stores the last one as its
    // file gives it back, the objects built on the dragged ones with them.
    pressCopies_->restore(doc);
    const DragStep move{static_cast<double>(editAtX_ - dragStartX_), static_cast<double>(editAtYM_ - dragStartYM_),
                        static_cast<double>(editAtX_), static_cast<double>(editAtYM_), grip_, doc.Im.YOrient == 2};
    const int handle = st_.DragHandle;
    ForEachKind([&](auto kc) {
        constexpr Kind K = decltype(kc)::value;
        auto& store = KindT<K>::store(doc.Obj);
        for (int i = 1; i <= store.count(); ++i)
            if (IsSelected(st_, K, i)) {
                auto& rec = store[static_cast<std::size_t>(i)];
                Drag(rec, handle, move);
                if (filed) ObjectAsFiled(rec, doc.Im);
            }
    });
    if (filed) RecomputeLinkedAsFiled(doc);
    else RecomputeLinked(doc);
    ReloadCurrentDependent(st_);
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
    const bool drawing = tool == MouseTool::Draw && leftHeld();

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
        if (drag_) drag_->leftReleased();
    }
    if (editDragActive_ && left) {
        finishEditDrag();
        repaint();
    }
    UpdateSelectionUI(st_);
    if (tool == MouseTool::Draw && left) view_.enableDrawTools();
    // An edit drag that moved nothing (a click on an object, or on nothing)
    // leaves the document, its changed mark and the undo steps alone.
    if (tool == MouseTool::Draw || (tool == MouseTool::Edit && drag_ && drag_->changed())) ApplyObject(st_, true);
    // The drag ends only when no button is held: a right release in the
    // middle of a drag must not turn the drag's commits into undo steps.
    if (noneHeld) drag_.reset();
}

}  // namespace pelmar
