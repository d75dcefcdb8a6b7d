#include "editing/nesting.h"

#include <optional>

#include "editing/edited_document.h"
#include "editing/editing_state.h"
#include "editing/kind_access.h"
#include "editing/role_tables.h"
#include "files/held_text.h"
#include "platform/qt_text.h"

namespace pelmar {

namespace {

using Caption = std::optional<std::string>;

template <Kind K>
const typename KindT<K>::Rec& W(const EditingState& st) {
    return KindT<K>::work(*st.Work);
}

bool IsCurrent(const EditingState& st, Kind k) {
    Kind cur;
    return CurrentKind(st, cur) && cur == k;
}

std::string Num(int n) { return std::to_string(n); }

// A point's name as its label shows it (a name set in "Symbol": its signs).
std::string Label(const DPoint& p) { return IsSymbolFamily(p.NameFont.s) ? SymbolShown(p.Name.s) : p.Name.s; }

template <class R>
std::string TopForm(const R& r) {
    std::string s;
    if constexpr (std::is_same_v<R, DPoint>) s = Label(r);
    else s = r.ID.s;
    if (r.Number != 0) s += "[" + Num(r.Number) + "]";
    return s;
}

// Label texts of vertices.
template <class F>
std::string Vertex(const F& figure, int i) {
    return Label(figure.S[static_cast<std::size_t>(i)].P1);
}

Caption Cap(const EditingState& st, Kind k);

Caption Join(const Caption& parent, const std::string& piece) {
    if (!parent) return std::nullopt;
    return *parent + " / " + piece;
}

Caption PointCaption(const EditingState& st) {
    const std::uint8_t r = RoleOf(st, Kind::po);
    const DPoint& p = W<Kind::po>(st);
    if (r == 0) return TopForm(p);
    Caption parent;
    switch (r) {
        case 1: case 2: case 8: case 9: parent = Cap(st, Kind::li); break;
        case 3: parent = Cap(st, Kind::ci); break;
        case 4: parent = Cap(st, Kind::xy); break;
        case 5: parent = Cap(st, Kind::kv); break;
        case 6: parent = Cap(st, Kind::sf); break;
        case 7: parent = Cap(st, Kind::xz); break;
        default: return std::nullopt;
    }
    // The centre of a cylinder's lower base is named after the axis's end 1.
    const bool lowerBase = r == 3 && RoleOf(st, Kind::ci) == 7;
    return Join(parent, lowerBase ? Label(W<Kind::zi>(st).Axis.P1) : Label(p));
}

Caption LineCaption(const EditingState& st) {
    const std::uint8_t r = RoleOf(st, Kind::li);
    if (r == 0) return TopForm(W<Kind::li>(st));
    const std::string side = Word(st, WordNo::Side) + " ";
    Caption c;
    if (r >= 1 && r <= 3) {
        c = Join(Cap(st, Kind::ci), Word(st, WordNo::Radius) + " " + Num(r));
    } else if (r >= 4 && r <= 6) {
        const DTri& t = W<Kind::tr>(st);
        const int i = r - 3;
        c = Join(Cap(st, Kind::tr), side + Vertex(t, i) + Vertex(t, i % 3 + 1));
    } else if (r >= 7 && r <= 11) {
        const DTri& t = W<Kind::tr>(st);
        const std::size_t i = static_cast<std::size_t>(r - 6);
        const int kind = t.LineKind[i].v, vertex = t.LineVertex[i].v;
        if (kind < 1 || kind > 3 || vertex < 1 || vertex > 3) return std::nullopt;
        c = Join(Cap(st, Kind::tr), Word(st, WordNo::Side + kind) + " " + Vertex(t, vertex));
    } else if (r == 12 || r == 13) {
        std::string name;
        if (IsCurrent(st, Kind::xy)) name = W<Kind::xy>(st).ID.s;
        else if (IsCurrent(st, Kind::xz)) name = W<Kind::xz>(st).ID.s;
        else return std::nullopt;
        c = name + " / " + Word(st, WordNo::Axis) + (r == 12 ? " X" : " Y");
    } else if (r == 29) {
        c = W<Kind::xz>(st).ID.s + " / " + Word(st, WordNo::Axis) + " Z";
    } else if (r >= 14 && r <= 17) {
        const DKv& k = W<Kind::kv>(st);
        const int i = r - 13;
        c = Join(Cap(st, Kind::kv), side + Vertex(k, i) + Vertex(k, i % 4 + 1));
    } else if (r == 18 || r == 19) {
        const DKv& k = W<Kind::kv>(st);
        c = Join(Cap(st, Kind::kv), Word(st, WordNo::Diagonal) + " " + (r == 18 ? Vertex(k, 1) + Vertex(k, 3) : Vertex(k, 2) + Vertex(k, 4)));
    } else if (r == 20 || r == 21) {
        const DLine& axis = r == 20 ? W<Kind::zi>(st).Axis : W<Kind::ko>(st).Axis;
        c = Join(Cap(st, r == 20 ? Kind::zi : Kind::ko), Word(st, WordNo::Height) + " " + Label(axis.P1) + Label(axis.P2));
    } else if (r == 22) {
        const DLine* h = nullptr;
        if (IsCurrent(st, Kind::i3)) h = &W<Kind::i3>(st).HeightLine;
        else if (IsCurrent(st, Kind::i4)) h = &W<Kind::i4>(st).HeightLine;
        else return std::nullopt;
        Kind cur;
        CurrentKind(st, cur);
        c = Join(Cap(st, cur), Word(st, WordNo::Height) + " " + Label(h->P1) + Label(h->P2));
    } else {
        return std::nullopt;
    }
    if (!c) return c;

    // Lateral edges: side 1 of a pyramid's face, side 1 of a prism's side face.
    const std::uint8_t tr = RoleOf(st, Kind::tr), kv = RoleOf(st, Kind::kv);
    if (r == 4 && IsCurrent(st, Kind::i3) && tr >= 6 && tr <= 8) {
        const DPi3& p = W<Kind::i3>(st);
        *c += Vertex(p.Base, tr - 5) + Label(p.HeightLine.P2);
    } else if (r == 4 && IsCurrent(st, Kind::i4) && tr >= 6 && tr <= 9) {
        const DPi4& p = W<Kind::i4>(st);
        *c += Vertex(p.Base, tr - 5) + Label(p.HeightLine.P2);
    } else if (r == 14 && IsCurrent(st, Kind::r3) && kv >= 8 && kv <= 10) {
        const DPr3& p = W<Kind::r3>(st);
        *c += Vertex(p.Base[1], kv - 7) + Vertex(p.Base[2], kv - 7);
    } else if (r == 14 && IsCurrent(st, Kind::r4) && kv >= 8 && kv <= 11) {
        const DPr4& p = W<Kind::r4>(st);
        *c += Vertex(p.Base[1], kv - 7) + Vertex(p.Base[2], kv - 7);
    }
    return c;
}

Caption CircleCaption(const EditingState& st) {
    const std::uint8_t r = RoleOf(st, Kind::ci);
    switch (r) {
        case 0: return TopForm(W<Kind::ci>(st));
        case 1: case 2: return Join(Cap(st, Kind::tr), Word(st, r == 1 ? WordNo::Incircle : WordNo::Circumcircle));
        case 10: case 11: return Join(Cap(st, Kind::kv), Word(st, r == 10 ? WordNo::Incircle : WordNo::Circumcircle));
        case 3: case 4: case 5: return Join(Cap(st, Kind::sf), Word(st, WordNo::Section) + " " + Num(r - 2));
        case 12: case 13: case 14: case 15: return Join(Cap(st, Kind::sf), Word(st, WordNo::Section) + " " + Num(r - 8));
        case 6: return Join(Cap(st, Kind::sf), Word(st, WordNo::Contour));
        case 7: case 8: return Join(Cap(st, Kind::zi), Word(st, r == 7 ? WordNo::LowerBase : WordNo::UpperBase));
        case 9: return Join(Cap(st, Kind::ko), Word(st, WordNo::Base));
        default: return std::nullopt;
    }
}

// "Грань" k, a blank, and the names of the pyramid's base vertex k, the apex
// and base vertex k + 1.
template <class P>
std::string PyramidFace(const EditingState& st, const P& p, int k, int n) {
    return Word(st, WordNo::Face) + Num(k) + " " + Vertex(p.Base, k) + Label(p.HeightLine.P2) + Vertex(p.Base, k % n + 1);
}

// "Грань" k and the names of lower k, upper k, upper k + 1, lower k + 1.
template <class P>
std::string PrismFace(const EditingState& st, const P& p, int k, int n) {
    const int k1 = k % n + 1;
    return Word(st, WordNo::Face) + Num(k) + " " + Vertex(p.Base[1], k) + Vertex(p.Base[2], k) + Vertex(p.Base[2], k1) +
           Vertex(p.Base[1], k1);
}

Caption TriangleCaption(const EditingState& st) {
    const std::uint8_t r = RoleOf(st, Kind::tr);
    switch (r) {
        case 0: return TopForm(W<Kind::tr>(st));
        case 1: return Join(Cap(st, Kind::ko), Word(st, WordNo::Section) + " Main");
        case 2: return Join(Cap(st, Kind::ko), Word(st, WordNo::Contour));
        case 3: case 4: return Join(Cap(st, Kind::ko), Word(st, WordNo::Section) + " " + Num(r - 2));
        case 5:
            if (!IsCurrent(st, Kind::i3)) return std::nullopt;
            return Join(Cap(st, Kind::i3), Word(st, WordNo::Base));
        case 6: case 7: case 8: case 9:
            if (IsCurrent(st, Kind::i3) && r <= 8) return Join(Cap(st, Kind::i3), PyramidFace(st, W<Kind::i3>(st), r - 5, 3));
            if (IsCurrent(st, Kind::i4)) return Join(Cap(st, Kind::i4), PyramidFace(st, W<Kind::i4>(st), r - 5, 4));
            return std::nullopt;
        case 10: case 11: return Join(Cap(st, Kind::r3), Word(st, r == 10 ? WordNo::LowerBase : WordNo::UpperBase));
        default: return std::nullopt;
    }
}

Caption TetragonCaption(const EditingState& st) {
    const std::uint8_t r = RoleOf(st, Kind::kv);
    switch (r) {
        case 0: return TopForm(W<Kind::kv>(st));
        case 1: return Join(Cap(st, Kind::zi), Word(st, WordNo::Section) + " Main");
        case 2: return Join(Cap(st, Kind::zi), Word(st, WordNo::Contour));
        case 3: case 4: return Join(Cap(st, Kind::zi), Word(st, WordNo::Section) + " " + Num(r - 2));
        case 5:
            if (!IsCurrent(st, Kind::i4)) return std::nullopt;
            return Join(Cap(st, Kind::i4), Word(st, WordNo::Base));
        case 6: case 7:
            if (!IsCurrent(st, Kind::r4)) return std::nullopt;
            return Join(Cap(st, Kind::r4), Word(st, r == 6 ? WordNo::LowerBase : WordNo::UpperBase));
        case 8: case 9: case 10: case 11:
            if (IsCurrent(st, Kind::r3) && r <= 10) return Join(Cap(st, Kind::r3), PrismFace(st, W<Kind::r3>(st), r - 7, 3));
            if (IsCurrent(st, Kind::r4)) return Join(Cap(st, Kind::r4), PrismFace(st, W<Kind::r4>(st), r - 7, 4));
            return std::nullopt;
        default: return std::nullopt;
    }
}

Caption OrbCaption(const EditingState& st) {
    const std::uint8_t r = RoleOf(st, Kind::sf);
    if (r == 0) return TopForm(W<Kind::sf>(st));
    if (r != 1 && r != 2) return std::nullopt;
    Kind cur;
    if (!CurrentKind(st, cur)) return std::nullopt;
    switch (cur) {
        case Kind::zi: case Kind::ko: case Kind::i3: case Kind::i4: case Kind::r3: case Kind::r4: break;
        default: return std::nullopt;
    }
    return Join(Cap(st, cur), Word(st, r == 1 ? WordNo::CircumSphere : WordNo::InSphere));
}

Caption Cap(const EditingState& st, Kind k) {
    switch (k) {
        case Kind::po: return PointCaption(st);
        case Kind::li: return LineCaption(st);
        case Kind::ci: return CircleCaption(st);
        case Kind::tr: return TriangleCaption(st);
        case Kind::kv: return TetragonCaption(st);
        case Kind::sf: return OrbCaption(st);
        default: return VisitKind(k, [&](auto kc) -> Caption { return TopForm(W<kc.value>(st)); });
    }
}

// Copies the level's working copy into the slot its role names in every
// parent kind that has one.
template <Kind L>
void CopyUp(EditingState& st, std::uint8_t role) {
    using Part = typename KindT<L>::Rec;
    const Part& part = KindT<L>::work(*st.Work);
    ForEachKind([&](auto pc) {
        using Parent = typename KindT<pc.value>::Rec;
        if constexpr (!std::is_same_v<Parent, Part>) {
            if (const auto* row = FindSlot<Parent, Part>(role)) row->get(KindT<pc.value>::work(*st.Work)) = part;
        }
    });
}

void CopyLevelUp(EditingState& st, Kind level, std::uint8_t role) {
    if (role == 0) return;
    switch (level) {
        case Kind::po: CopyUp<Kind::po>(st, role); break;
        case Kind::li: CopyUp<Kind::li>(st, role); break;
        case Kind::ci: CopyUp<Kind::ci>(st, role); break;
        case Kind::tr: CopyUp<Kind::tr>(st, role); break;
        case Kind::kv: CopyUp<Kind::kv>(st, role); break;
        case Kind::sf: CopyUp<Kind::sf>(st, role); break;
        default: break;  // the 2D coordinate system and the top-level kinds are never parts
    }
}

// The parent kind whose slot a role of a level names: with several
// candidates the current one.  False when no parent being edited has it.
template <Kind L>
bool ParentOf(const EditingState& st, std::uint8_t role, Kind& parent) {
    using Part = typename KindT<L>::Rec;
    Kind cur;
    const bool hasCur = CurrentKind(st, cur);
    bool found = false;
    ForEachKind([&](auto pc) {
        using Parent = typename KindT<pc.value>::Rec;
        if constexpr (!std::is_same_v<Parent, Part>) {
            const auto* row = FindSlot<Parent, Part>(role);
            if (!row || found) return;
            if (row->chosen && !(hasCur && cur == pc.value)) return;
            parent = pc.value;
            found = true;
        }
    });
    return found;
}

template <Kind L>
void ReloadLevel(EditingState& st, std::uint8_t role) {
    using Part = typename KindT<L>::Rec;
    Kind parent;
    if (role == 0 || !ParentOf<L>(st, role, parent)) return;
    VisitKind(parent, [&](auto pc) {
        using Parent = typename KindT<pc.value>::Rec;
        if constexpr (!std::is_same_v<Parent, Part>) {
            if (const auto* row = FindSlot<Parent, Part>(role))
                KindT<L>::work(*st.Work) = row->get(KindT<pc.value>::work(*st.Work));
        }
    });
}

bool ParentOfLevel(const EditingState& st, Kind level, std::uint8_t role, Kind& parent) {
    switch (level) {
        case Kind::po: return ParentOf<Kind::po>(st, role, parent);
        case Kind::li: return ParentOf<Kind::li>(st, role, parent);
        case Kind::ci: return ParentOf<Kind::ci>(st, role, parent);
        case Kind::tr: return ParentOf<Kind::tr>(st, role, parent);
        case Kind::kv: return ParentOf<Kind::kv>(st, role, parent);
        case Kind::sf: return ParentOf<Kind::sf>(st, role, parent);
        default: return false;
    }
}

}  // namespace

std::uint8_t RoleOf(const EditingState& st, Kind k) { return st.Proj->Role[Slot(k)]; }

std::string PathCaption(const EditingState& st, Kind k) { return Cap(st, k).value_or(std::string()); }

void WriteBack(EditingState& st, Kind level, std::uint8_t role) {
    if (role == 0 || !IsPartLevel(level)) return;
    CopyLevelUp(st, level, role);
    // Every higher level along its own role byte; a part's slot is always
    // written before its parent is copied on, so one pass in kind order
    // carries the innermost change up to the top-level working copy.
    for (Kind higher : PartLevels)
        if (static_cast<int>(higher) > static_cast<int>(level)) CopyLevelUp(st, higher, RoleOf(st, higher));
}

template <Kind L>
void AddSlotParents(KindMask& mask, std::uint8_t role) {
    using Part = typename KindT<L>::Rec;
    ForEachKind([&](auto pc) {
        using Parent = typename KindT<pc.value>::Rec;
        if constexpr (!std::is_same_v<Parent, Part>) {
            if (FindSlot<Parent, Part>(role)) mask.set(Slot(pc.value));
        }
    });
}

KindMask WriteBackTargets(const EditingState& st) {
    KindMask mask;
    for (Kind level : PartLevels) {
        const std::uint8_t role = RoleOf(st, level);
        if (role == 0) continue;
        switch (level) {
            case Kind::po: AddSlotParents<Kind::po>(mask, role); break;
            case Kind::li: AddSlotParents<Kind::li>(mask, role); break;
            case Kind::ci: AddSlotParents<Kind::ci>(mask, role); break;
            case Kind::tr: AddSlotParents<Kind::tr>(mask, role); break;
            case Kind::kv: AddSlotParents<Kind::kv>(mask, role); break;
            case Kind::sf: AddSlotParents<Kind::sf>(mask, role); break;
            default: break;
        }
    }
    return mask;
}

void Reload(EditingState& st, Kind level, std::uint8_t role) {
    switch (level) {
        case Kind::po: ReloadLevel<Kind::po>(st, role); break;
        case Kind::li: ReloadLevel<Kind::li>(st, role); break;
        case Kind::ci: ReloadLevel<Kind::ci>(st, role); break;
        case Kind::tr: ReloadLevel<Kind::tr>(st, role); break;
        case Kind::kv: ReloadLevel<Kind::kv>(st, role); break;
        case Kind::sf: ReloadLevel<Kind::sf>(st, role); break;
        default: break;
    }
}

bool OpenPart(EditingState& st, Kind part, std::uint8_t role) {
    Kind parent;
    if (role == 0 || !ParentOfLevel(st, part, role, parent)) return false;
    st.Proj->Role[Slot(part)] = role;
    Reload(st, part, role);
    const std::uint8_t apply = st.ApplyEnabled;
    st.ApplyEnabled = 0;  // filling the dialog commits nothing
    if (parent != part && DialogIsOpen(st, parent)) st.Dialogs.Close(parent);
    st.Dialogs.Create(part);
    st.Dialogs.Refill(part);
    st.ApplyEnabled = apply;
    emit st.Document.kindCommandEnabled(EditingCommand::BackTo, parent, true);
    return true;
}

}  // namespace pelmar
