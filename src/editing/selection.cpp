#include "editing/selection.h"

#include <span>
#include <utility>

#include "editing/commit.h"
#include "editing/edited_document.h"
#include "editing/editing_state.h"
#include "editing/hit_test.h"
#include "editing/kind_access.h"
#include "model/drag_rules.h"

namespace pelmar {

// ---------------------------------------------------------------------------
// Marks

namespace {

template <class R>
void Own(R& r, TColor color, bool marked) {
    r.SelColor = color;
    r.Selected = marked;
}

template <class T, std::size_t N>
void MarkAll(Arr1<T, N>& parts, TColor color, bool marked) {
    for (auto& p : parts) Mark(p, color, marked);
}

template <class R>
void MarkPart(R& r, TColor color, bool marked) {
    Mark(r, color, marked);
}

template <class T, std::size_t N>
void MarkPart(Arr1<T, N>& parts, TColor color, bool marked) {
    MarkAll(parts, color, marked);
}

// Marks the parts (records or arrays of them) in order.
template <class... Parts>
void MarkParts(TColor color, bool marked, Parts&... parts) {
    (MarkPart(parts, color, marked), ...);
}

}  // namespace

void Mark(DPoint& r, TColor color, bool marked) { Own(r, color, marked); }

void Mark(DLine& r, TColor color, bool marked) {
    Own(r, color, marked);
    MarkParts(color, marked, r.P1, r.P2, r.P3, r.P4);
}

void Mark(DCircle& r, TColor color, bool marked) {
    Own(r, color, marked);
    MarkParts(color, marked, r.Center, r.R);
}

void Mark(DTri& r, TColor color, bool marked) { MarkParts(color, marked, r.S, r.Lines, r.Circ[2], r.Circ[1]); }

void Mark(DKv& r, TColor color, bool marked) {
    MarkParts(color, marked, r.S, r.Diag, r.Circ[2], r.Circ[1], r.Center);
}

void Mark(DXOY& r, TColor color, bool marked) {
    Own(r, color, marked);
    MarkParts(color, marked, r.AxisX, r.AxisY, r.Center);
}

void Mark(DSf& r, TColor color, bool marked) { MarkParts(color, marked, r.Sec, r.Contour, r.Center); }

void Mark(DZi& r, TColor color, bool marked) {
    MarkParts(color, marked, r.Axis, r.Base, r.Sec, r.OutSphere, r.InSphere);
}

void Mark(DKo& r, TColor color, bool marked) {
    MarkParts(color, marked, r.Axis, r.Base, r.Sec, r.OutSphere, r.InSphere);
}

void Mark(DPi3& r, TColor color, bool marked) {
    MarkParts(color, marked, r.Face, r.Base, r.HeightLine, r.OutSphere, r.InSphere);
}

void Mark(DPi4& r, TColor color, bool marked) {
    MarkParts(color, marked, r.Face, r.Base, r.HeightLine, r.OutSphere, r.InSphere);
}

void Mark(DPr3& r, TColor color, bool marked) { MarkParts(color, marked, r.Side, r.Base, r.OutSphere, r.InSphere); }

void Mark(DPr4& r, TColor color, bool marked) { MarkParts(color, marked, r.Side, r.Base, r.OutSphere, r.InSphere); }

void Mark(DXZ& r, TColor color, bool marked) {
    Own(r, color, marked);
    MarkParts(color, marked, r.AxisX, r.AxisY, r.AxisZ, r.Center);
}

// ---------------------------------------------------------------------------
// Handles

namespace {

// A tetragon of type 6 whose four vertices share one depth moves every
// vertex freely, and so does type 7; judged on the record itself.
bool Vertex4Free(const DKv& k) {
    if (k.Typ.v == 7) return true;
    if (k.Typ.v != 6) return false;
    const double x = k.S[1].P1.X.v;
    return k.S[2].P1.X.v == x && k.S[3].P1.X.v == x && k.S[4].P1.X.v == x;
}

void Colour(DPoint& p, TColor h) { p.SelColor = h; }

// Every side of a polygon with both its ends.
template <class Sides>
void ColourSides(Sides& sides, TColor h) {
    for (auto& s : sides) {
        s.SelColor = h;
        Colour(s.P1, h);
        Colour(s.P2, h);
    }
}

// Vertices 1 to `count` of a polygon: vertex i is end 1 of side i and end 2
// of the side before it.
template <class T, std::size_t N>
void ColourVertices(Arr1<T, N>& sides, int count, TColor h) {
    for (std::size_t i = 1; i <= static_cast<std::size_t>(count); ++i) {
        Colour(sides[i].P1, h);
        Colour(sides[i == 1 ? N : i - 1].P2, h);
    }
}

// The handles of the object, painted in the handle colour h.
void MarkHandles(DPoint&, TColor, TColor) {}
void MarkHandles(DLine& l, TColor h, TColor) {
    Mark(l.P1, h, true);
    Mark(l.P2, h, true);
}
void MarkHandles(DCircle& c, TColor h, TColor move) { c.SelColor = c.Tilt.v != 0 ? move : h; }
void MarkHandles(DTri& t, TColor h, TColor) {
    if (t.Typ.v == 4) {
        ColourSides(t.S, h);
        return;
    }
    ColourVertices(t.S, 2, h);
}
void MarkHandles(DKv& k, TColor h, TColor) {
    const int typ = k.Typ.v;
    if (typ == 7) return;
    if (typ == 6 && Vertex4Free(k)) {
        ColourSides(k.S, h);
        return;
    }
    ColourVertices(k.S, typ >= 4 ? 3 : 2, h);
    if (typ == 6) {
        k.S[1].SelColor = h;
        k.S[2].SelColor = h;
    }
}
void MarkHandles(DXOY& x, TColor h, TColor) {
    Mark(x.AxisX, h, true);
    Mark(x.AxisY, h, true);
}
void MarkHandles(DSf& s, TColor h, TColor) { s.SelColor = h; }
void MarkHandles(DZi& z, TColor h, TColor) {
    z.SelColor = h;
    Mark(z.Base[1], h, true);
    Mark(z.Base[2], h, true);
    Mark(z.Sec[1], h, true);
}
void MarkHandles(DKo& k, TColor h, TColor) {
    k.SelColor = h;
    Mark(k.Axis.P2, h, true);
    Mark(k.Base, h, true);
    DTri& main = k.Sec[1];
    for (DPoint* p : {&main.S[1].P1, &main.S[3].P2, &main.S[1].P2, &main.S[2].P1}) Mark(*p, h, true);
}
void MarkHandles(DPi3& p, TColor h, TColor) {
    p.SelColor = h;
    if (p.Typ.v != 1) Mark(p.HeightLine.P2, h, true);
}
void MarkHandles(DPi4& p, TColor h, TColor) {
    p.SelColor = h;
    Mark(p.HeightLine.P2, h, true);
}
void MarkHandles(DPr3& p, TColor h, TColor) {
    p.SelColor = h;
    if (p.Typ.v == 1) MarkAll(p.Base, h, true);
}
void MarkHandles(DPr4& p, TColor h, TColor) {
    p.SelColor = h;
    if (p.Typ.v == 2) MarkAll(p.Base, h, true);
}
void MarkHandles(DXZ& x, TColor h, TColor move) {
    x.SelColor = move;
    for (DPoint* p : {&x.AxisY.P1, &x.AxisY.P2, &x.AxisZ.P1, &x.AxisZ.P2}) Mark(*p, h, true);
}

// Hit code -> DragHandle, per kind and shape.
struct HandleRow {
    int hit, handle;
};
using Handles = std::span<const HandleRow>;

constexpr HandleRow kLine[] = {{LiHit::End1, LiDrag::End1}, {LiHit::End2, LiDrag::End2}};
constexpr HandleRow kCircle[] = {{CiHit::CircleOutline, CiDrag::Radius}, {CiHit::HandleA, CiDrag::SemiAxisA},
                                 {CiHit::HandleB, CiDrag::SemiAxisB}, {CiHit::EllipseOutline, CiDrag::Outline}};
constexpr HandleRow kTriFixed[] = {{PolyHit::Vertex1, TrDrag::Vertex1}, {PolyHit::Vertex2, TrDrag::Vertex2}};
constexpr HandleRow kTriFree[] = {{PolyHit::Side1, TrDrag::Side1},     {PolyHit::Side2, TrDrag::Side2},
                                  {PolyHit::Side3, TrDrag::Side3},     {PolyHit::Vertex1, TrDrag::Vertex1},
                                  {PolyHit::Vertex2, TrDrag::Vertex2}, {PolyHit::Vertex3, TrDrag::Vertex3}};
constexpr HandleRow kKv13[] = {{PolyHit::Vertex1, KvDrag::Vertex1}, {PolyHit::Vertex2, KvDrag::Vertex2}};
constexpr HandleRow kKv45[] = {{PolyHit::Vertex1, KvDrag::Vertex1}, {PolyHit::Vertex2, KvDrag::Vertex2},
                               {PolyHit::Vertex3, KvDrag::Vertex3}};
constexpr HandleRow kKv6Free[] = {{PolyHit::Side1, KvDrag::Side1},     {PolyHit::Side2, KvDrag::Side2},
                                  {PolyHit::Side3, KvDrag::Side3},     {PolyHit::Side4, KvDrag::Side4},
                                  {PolyHit::Vertex1, KvDrag::Vertex1}, {PolyHit::Vertex2, KvDrag::Vertex2},
                                  {PolyHit::Vertex3, KvDrag::Vertex3}, {PolyHit::Vertex4, KvDrag::Vertex4}};
constexpr HandleRow kKv6Plane[] = {{PolyHit::Side1, KvDrag::Side1}, {PolyHit::Side2, KvDrag::Side2},
                                   {PolyHit::Vertex1, KvDrag::Vertex1}, {PolyHit::Vertex2, KvDrag::Vertex2},
                                   {PolyHit::Vertex3, KvDrag::Vertex3}};
constexpr HandleRow kXOY[] = {{XyHit::AxisX, XyDrag::AxisX},         {XyHit::AxisY, XyDrag::AxisY},
                              {XyHit::AxisXEnd1, XyDrag::AxisXEnd1}, {XyHit::AxisXEnd2, XyDrag::AxisXEnd2},
                              {XyHit::AxisYEnd1, XyDrag::AxisYEnd1}, {XyHit::AxisYEnd2, XyDrag::AxisYEnd2}};
constexpr HandleRow kOrb[] = {{SfHit::RadiusRing, SfDrag::Radius}};
constexpr HandleRow kCylinder[] = {{ZiHit::UpperBase, ZiDrag::UpperBase}, {ZiHit::LowerBase, ZiDrag::LowerBase},
                                   {ZiHit::Side1, ZiDrag::Side1}, {ZiHit::Side3, ZiDrag::Side3}};
constexpr HandleRow kCone[] = {{KoHit::Base, KoDrag::Base}, {KoHit::Apex, KoDrag::Apex},
                               {KoHit::Vertex2, KoDrag::Vertex2}, {KoHit::Vertex1, KoDrag::Vertex1}};
constexpr HandleRow kPyramid3[] = {{PyramidHit::Apex, PyramidDrag::Apex3}};
constexpr HandleRow kPyramid4[] = {{PyramidHit::Apex, PyramidDrag::Apex4}};
constexpr HandleRow kPrism3[] = {{PrismHit::Base1, PrismDrag::Base1Of3}, {PrismHit::Base2, PrismDrag::Base2Of3}};
constexpr HandleRow kPrism4[] = {{PrismHit::Base1, PrismDrag::Base1Of4}, {PrismHit::Base2, PrismDrag::Base2Of4}};
// The axes, the centre and the X axis's ends move the whole system.
constexpr HandleRow kXYZ[] = {{XzHit::AxisYEnd1, XzDrag::AxisYEnd1}, {XzHit::AxisYEnd2, XzDrag::AxisYEnd2},
                              {XzHit::AxisZEnd1, XzDrag::AxisZEnd1}, {XzHit::AxisZEnd2, XzDrag::AxisZEnd2}};

Handles HandlesOf(const DPoint&) { return {}; }
Handles HandlesOf(const DLine&) { return kLine; }
Handles HandlesOf(const DCircle&) { return kCircle; }
Handles HandlesOf(const DTri& t) { return t.Typ.v == 4 ? Handles(kTriFree) : Handles(kTriFixed); }
Handles HandlesOf(const DKv& k) {
    switch (k.Typ.v) {
        case 1: case 2: case 3: return kKv13;
        case 4: case 5: return kKv45;
        case 6: return Vertex4Free(k) ? Handles(kKv6Free) : Handles(kKv6Plane);
        default: return {};
    }
}
Handles HandlesOf(const DXOY&) { return kXOY; }
Handles HandlesOf(const DSf&) { return kOrb; }
Handles HandlesOf(const DZi&) { return kCylinder; }
Handles HandlesOf(const DKo&) { return kCone; }
Handles HandlesOf(const DPi3& p) { return p.Typ.v != 1 ? Handles(kPyramid3) : Handles(); }
Handles HandlesOf(const DPi4&) { return kPyramid4; }
Handles HandlesOf(const DPr3& p) { return p.Typ.v == 1 ? Handles(kPrism3) : Handles(); }
Handles HandlesOf(const DPr4& p) { return p.Typ.v == 2 ? Handles(kPrism4) : Handles(); }
Handles HandlesOf(const DXZ&) { return kXYZ; }

// The hit tests as plain codes (0 = no hit).
int HitCode(int x, int y, const DPoint& r) { return HitPo(x, y, r) ? 1 : 0; }
int HitCode(int x, int y, const DLine& r) { return static_cast<int>(HitLi(x, y, r)); }
int HitCode(int x, int y, const DCircle& r) { return static_cast<int>(HitCi(x, y, r)); }
int HitCode(int x, int y, const DTri& r) { return static_cast<int>(HitTr(x, y, r)); }
int HitCode(int x, int y, const DKv& r) { return static_cast<int>(HitKv(x, y, r)); }
int HitCode(int x, int y, const DXOY& r) { return static_cast<int>(HitXY(x, y, r)); }
int HitCode(int x, int y, const DSf& r) { return static_cast<int>(HitSf(x, y, r)); }
int HitCode(int x, int y, const DZi& r) { return static_cast<int>(HitZi(x, y, r)); }
int HitCode(int x, int y, const DKo& r) { return static_cast<int>(HitKo(x, y, r)); }
int HitCode(int x, int y, const DPi3& r) { return static_cast<int>(HitI3(x, y, r)); }
int HitCode(int x, int y, const DPi4& r) { return static_cast<int>(HitI4(x, y, r)); }
int HitCode(int x, int y, const DPr3& r) { return static_cast<int>(HitR3(x, y, r)); }
int HitCode(int x, int y, const DPr4& r) { return static_cast<int>(HitR4(x, y, r)); }
int HitCode(int x, int y, const DXZ& r) { return static_cast<int>(HitXZ(x, y, r)); }

// SelectCur without the reload of the current object: a command that marks
// many objects reloads it once, when all are marked.
void MarkSelected(EditingState& st, Kind k, int index, bool moving) {
    if (index < 1 || index > st.Proj->Obj.count(k)) return;
    const TColor handle = moving ? st.MoveColor : st.ShapeColor;
    st.Sel[Slot(k)].set(static_cast<std::size_t>(index));
    VisitKind(k, [&](auto kc) {
        auto& rec = KindT<kc.value>::store(st.Proj->Obj)[static_cast<std::size_t>(index)];
        Mark(rec, st.MoveColor, true);
        MarkHandles(rec, handle, st.MoveColor);
    });
}

// Runs f with undo snapshots off: selecting takes no undo step, and is no
// change of the document.
template <class F>
void GateClosed(EditingState& st, F&& f) {
    const EditedDocument::UndoPause pause(st);
    const EditedDocument::SelectionMarks marks(st);
    f();
}

void Refresh(EditingState& st) {
    st.Document.requestRedraw();
    ReloadCurrentSelected(st);
    UpdateSelectionUI(st);
}

// The current object's kind and index; false when there is none.
bool CurrentObject(const EditingState& st, Kind& k, int& index) {
    if (!CurrentKind(st, k)) return false;
    index = CurrentEntryIndex(st);
    return index >= 1 && index <= st.Proj->Obj.count(k);
}

// Marks every selected object but the points again, with the handles for
// moving or for shaping.
void RemarkSelected(EditingState& st, bool moving) {
    ForEachKind([&](auto kc) {
        constexpr Kind K = decltype(kc)::value;
        if constexpr (K != Kind::po) {
            for (int i = 1; i <= st.Proj->Obj.count(K); ++i)
                if (IsSelected(st, K, i)) MarkSelected(st, K, i, moving);
        }
    });
    ReloadCurrentSelected(st);
}

int NumberOf(EditingState& st, Kind k, int index) {
    return VisitKind(k, [&](auto kc) {
        return static_cast<int>(KindT<kc.value>::store(st.Proj->Obj)[static_cast<std::size_t>(index)].Number);
    });
}

}  // namespace

// ---------------------------------------------------------------------------

bool IsSelected(const EditingState& st, Kind k, int index) {
    return index >= 1 && index < 256 && st.Sel[Slot(k)].test(static_cast<std::size_t>(index));
}

void SelectCur(EditingState& st, Kind k, int index, bool moving) {
    MarkSelected(st, k, index, moving);
    ReloadCurrentSelected(st);
}

void DeselectCur(EditingState& st, Kind k, int index) {
    if (index < 1 || index > st.Proj->Obj.count(k)) return;
    VisitKind(k, [&](auto kc) {
        Mark(KindT<kc.value>::store(st.Proj->Obj)[static_cast<std::size_t>(index)], st.MoveColor, false);
    });
    --st.SelCount;
    ReloadCurrentSelected(st);
    st.Sel[Slot(k)].reset(static_cast<std::size_t>(index));
}

int CurrentSelectedKind(const EditingState& st) {
    Kind k;
    if (!CurrentKind(st, k)) return 0;
    return IsSelected(st, k, CurrentEntryIndex(st)) ? KindNumber(k) : 0;
}

bool SelectAt(EditingState& st, int x, int y, int mode, bool remarkOnly) {
    bool changed = false;
    if (!remarkOnly) {
        const bool empty = st.SelCount == 0;
        ForEachKind([&](auto kc) {
            constexpr Kind K = decltype(kc)::value;
            auto& store = KindT<K>::store(st.Proj->Obj);
            const auto takes = [&](std::size_t i) { return store[i].Number <= 1 && HitCode(x, y, store[i]) != 0; };
            if (!empty && mode == 0) {
                for (std::size_t i = 1; i <= store.count(); ++i)
                    if (IsSelected(st, K, static_cast<int>(i))) {
                        changed = true;
                        DeselectCur(st, K, static_cast<int>(i));
                    }
            }
            for (std::size_t i = 1; i <= store.count(); ++i) {
                if (!takes(i)) continue;
                changed = true;
                if (!empty && mode != 0 && IsSelected(st, K, static_cast<int>(i))) {
                    DeselectCur(st, K, static_cast<int>(i));
                } else {
                    SelectCur(st, K, static_cast<int>(i), true);
                    ++st.SelCount;
                }
            }
        });
    }
    if (st.SelCount == 1) {
        MarkSelectionForShape(st);
    } else if (st.SelCount > 1) {
        RemarkSelected(st, true);
    }
    UpdateSelectionUI(st);
    return changed;
}

bool AnyObjectAt(EditingState& st, int x, int y) {
    st.DragHandle = 0;
    bool any = false;
    ForEachKind([&](auto kc) {
        constexpr Kind K = decltype(kc)::value;
        const auto& store = KindT<K>::store(st.Proj->Obj);
        for (std::size_t i = 1; i <= store.count(); ++i) {
            if (!IsSelected(st, K, static_cast<int>(i))) continue;
            const int hit = HitCode(x, y, store[i]);
            if (hit == 0) continue;
            any = true;
            for (const HandleRow& r : HandlesOf(store[i]))
                if (r.hit == hit) st.DragHandle = r.handle;
        }
    });
    if (st.SelCount > 1) st.DragHandle = 0;
    return any;
}

void MarkSelectionForShape(EditingState& st) { RemarkSelected(st, false); }

void SelectNone(EditingState& st) {
    // Freed slots of the stores hold fresh records, so the live objects are
    // all there is to unmark.
    ForEachKind([&](auto kc) {
        constexpr Kind K = decltype(kc)::value;
        auto& store = KindT<K>::store(st.Proj->Obj);
        for (std::size_t i = 1; i <= store.count(); ++i) Mark(store[i], st.MoveColor, false);
        Mark(KindT<K>::work(*st.Work), st.MoveColor, false);
    });
    st.SelCount = 0;
    for (auto& s : st.Sel) s.reset();
    UpdateSelectionUI(st);
}

void UpdateSelectionUI(EditingState& st) {
    EditedDocument& d = st.Document;
    const int total = st.Proj->Obj.ObjTotal;
    if (st.SelCount == 0) {
        emit d.commandEnabled(EditingCommand::EditTool, false);
        emit d.toolLeft(EditingCommand::EditTool, EditingCommand::SelectTool);
        emit d.commandEnabled(EditingCommand::SelectNone, false);
        emit d.commandEnabled(EditingCommand::SelectAll, true);
    } else {
        emit d.commandEnabled(EditingCommand::EditTool, true);
        emit d.commandEnabled(EditingCommand::SelectNone, true);
        emit d.commandEnabled(EditingCommand::SelectAll, st.SelCount < total);
    }
    const bool currentSelected = CurrentSelectedKind(st) != 0;
    emit d.commandEnabled(EditingCommand::SelectCurrent, !currentSelected);
    emit d.commandEnabled(EditingCommand::DeselectCurrent, currentSelected);

    const bool none = st.SelCount == 0;
    emit d.commandEnabled(EditingCommand::Export, none);
    emit d.commandEnabled(EditingCommand::Print, none);
    emit d.commandEnabled(EditingCommand::CopyPicture, none);
    emit d.commandEnabled(EditingCommand::TransSelected, !none);
    if (none) emit d.toolLeft(EditingCommand::TransSelected, EditingCommand::TransCurrent);
}

namespace {

void ReloadCurrentIf(EditingState& st, bool (*wanted)(EditingState&, Kind, int)) {
    st.Document.ensureStored();
    Kind k;
    if (!CurrentKind(st, k)) return;
    const int index = st.Work->index(k);
    if (index < 1 || index > st.Proj->Obj.count(k) || !wanted(st, k, index)) return;
    VisitKind(k, [&](auto kc) {
        KindT<kc.value>::work(*st.Work) = KindT<kc.value>::store(st.Proj->Obj)[static_cast<std::size_t>(index)];
    });
    ApplyObject(st, false);
}

}  // namespace

void ReloadCurrentSelected(EditingState& st) {
    ReloadCurrentIf(st, [](EditingState& s, Kind k, int i) { return IsSelected(s, k, i); });
}

void ReloadCurrentDependent(EditingState& st) {
    ReloadCurrentIf(st, [](EditingState& s, Kind k, int i) { return NumberOf(s, k, i) >= 2; });
}

void SelectAllObjects(EditingState& st) {
    GateClosed(st, [&] {
        int n = 0;
        ForEachKind([&](auto kc) {
            constexpr Kind K = decltype(kc)::value;
            for (int i = 1; i <= st.Proj->Obj.count(K); ++i) {
                if (NumberOf(st, K, i) >= 2) continue;
                MarkSelected(st, K, i, true);
                ++n;
            }
        });
        st.SelCount = n;
        if (n == 1) MarkSelectionForShape(st);
        Refresh(st);
    });
}

void SelectNoneCommand(EditingState& st) {
    GateClosed(st, [&] {
        SelectNone(st);
        Refresh(st);
    });
}

void SelectCurrentCommand(EditingState& st) {
    GateClosed(st, [&] {
        Kind k;
        int index;
        if (!CurrentObject(st, k, index) || CurrentSelectedKind(st) != 0 || NumberOf(st, k, index) >= 2) return;
        SelectCur(st, k, index, st.SelCount != 0);
        ++st.SelCount;
        SelectAt(st, 0, 0, 1, true);
        Refresh(st);
    });
}

void DeselectCurrentCommand(EditingState& st) {
    GateClosed(st, [&] {
        Kind k;
        int index;
        if (!CurrentObject(st, k, index) || CurrentSelectedKind(st) == 0) return;
        DeselectCur(st, k, index);
        SelectAt(st, 0, 0, 1, true);
        Refresh(st);
    });
}

}  // namespace pelmar
