#include "editing/restore.h"

#include <initializer_list>

#include "editing/edited_document.h"
#include "editing/editing_state.h"
#include "editing/kind_access.h"
#include "editing/nesting.h"
#include "editing/role_tables.h"

namespace pelmar {

namespace {

constexpr std::uint32_t R(std::initializer_list<int> roles) {
    std::uint32_t m = 0;
    for (int r : roles) m |= 1u << r;
    return m;
}
constexpr std::uint32_t Range(int a, int b) {
    std::uint32_t m = 0;
    for (int r = a; r <= b; ++r) m |= 1u << r;
    return m;
}

using enum Kind;

constexpr RestoreStep Po(std::uint32_t m) { return {po, m}; }
constexpr RestoreStep Li(std::uint32_t m) { return {li, m}; }
constexpr RestoreStep Ci(std::uint32_t m) { return {ci, m}; }
constexpr RestoreStep Tr(std::uint32_t m) { return {tr, m}; }
constexpr RestoreStep Kv(std::uint32_t m) { return {kv, m}; }
constexpr RestoreStep Sf(std::uint32_t m) { return {sf, m}; }

constexpr RestoreRow Row(Kind top, Kind active, std::initializer_list<RestoreStep> steps) {
    RestoreRow r{top, active, {}, 0};
    for (const RestoreStep& s : steps) r.steps[static_cast<std::size_t>(r.count++)] = s;
    return r;
}

// The seven sections and the contour of a sphere; the sections alone.
constexpr std::uint32_t kSphereCircles = R({3, 4, 5, 6, 12, 13, 14, 15});
constexpr std::uint32_t kSections = R({3, 4, 5, 12, 13, 14, 15});
constexpr std::uint32_t kRadii = Range(1, 3);
constexpr std::uint32_t kSpheres = R({1, 2});

constexpr auto kTable = std::to_array<RestoreRow>({
    // segment
    Row(li, po, {Po(R({1, 2}))}),
    // ellipse
    Row(ci, li, {Li(kRadii)}),
    Row(ci, po, {Po(R({3}))}),
    Row(ci, po, {Li(kRadii), Po(R({2}))}),
    // triangle
    Row(tr, ci, {Ci(R({1, 2}))}),
    Row(tr, li, {Li(Range(4, 6))}),
    Row(tr, li, {Li(Range(7, 11))}),
    Row(tr, li, {Ci(R({1, 2})), Li(kRadii)}),
    Row(tr, po, {Li(Range(4, 6)), Po(R({1}))}),
    Row(tr, po, {Li(Range(7, 11)), Po(R({2}))}),
    Row(tr, po, {Ci(R({1, 2})), Po(R({3}))}),
    Row(tr, po, {Ci(R({1, 2})), Li(kRadii), Po(R({2}))}),
    // tetragon
    Row(kv, ci, {Ci(R({10, 11}))}),
    Row(kv, li, {Li(Range(14, 17))}),
    Row(kv, li, {Li(R({18, 19}))}),
    Row(kv, li, {Ci(R({10, 11})), Li(kRadii)}),
    Row(kv, po, {Li(Range(14, 17)), Po(R({1}))}),
    Row(kv, po, {Po(R({5}))}),
    Row(kv, po, {Ci(R({10, 11})), Po(R({3}))}),
    Row(kv, po, {Ci(R({10, 11})), Li(kRadii), Po(R({2}))}),
    // 2D coordinate system
    Row(xy, li, {Li(R({12, 13}))}),
    Row(xy, po, {Po(R({4}))}),
    Row(xy, po, {Li(R({12, 13})), Po(R({2}))}),
    // sphere
    Row(sf, ci, {Ci(kSphereCircles)}),
    Row(sf, li, {Ci(kSections), Li(kRadii)}),
    Row(sf, po, {Po(R({6}))}),
    Row(sf, po, {Ci(kSections), Li(kRadii), Po(R({2}))}),
    // cylinder
    Row(zi, sf, {Sf(kSpheres)}),
    Row(zi, kv, {Kv(Range(1, 4))}),
    Row(zi, ci, {Ci(R({7, 8}))}),
    Row(zi, ci, {Sf(kSpheres), Ci(kSphereCircles)}),
    Row(zi, li, {Li(R({20}))}),
    Row(zi, li, {Ci(R({7, 8})), Li(kRadii)}),
    Row(zi, li, {Sf(kSpheres), Ci(kSphereCircles), Li(kRadii)}),
    Row(zi, li, {Kv(Range(1, 4)), Li(Range(14, 19))}),
    Row(zi, po, {Li(R({20})), Po(R({1, 2}))}),
    Row(zi, po, {Sf(kSpheres), Po(R({6}))}),
    Row(zi, po, {Ci(R({7, 8})), Li(kRadii), Po(R({2}))}),
    Row(zi, po, {Sf(kSpheres), Ci(kSphereCircles), Li(kRadii), Po(R({2}))}),
    Row(zi, po, {Kv(Range(1, 4)), Po(R({5}))}),
    Row(zi, po, {Kv(Range(1, 4)), Li(Range(14, 17)), Po(R({1}))}),
    // cone
    Row(ko, sf, {Sf(kSpheres)}),
    Row(ko, tr, {Tr(Range(1, 4))}),
    Row(ko, ci, {Ci(R({9}))}),
    Row(ko, ci, {Sf(kSpheres), Ci(kSphereCircles)}),
    Row(ko, li, {Li(R({21}))}),
    Row(ko, li, {Ci(R({9})), Li(kRadii)}),
    Row(ko, li, {Sf(kSpheres), Ci(kSphereCircles), Li(kRadii)}),
    Row(ko, li, {Tr(Range(1, 4)), Li(Range(4, 11))}),
    Row(ko, po, {Li(R({21})), Po(R({1, 2}))}),
    Row(ko, po, {Sf(kSpheres), Po(R({6}))}),
    Row(ko, po, {Ci(R({9})), Li(kRadii), Po(R({2}))}),
    Row(ko, po, {Sf(kSpheres), Ci(kSphereCircles), Li(kRadii), Po(R({2}))}),
    Row(ko, po, {Tr(Range(1, 4)), Li(Range(4, 6)), Po(R({1}))}),
    Row(ko, po, {Tr(Range(1, 4)), Li(Range(7, 11)), Po(R({2}))}),
    // three-sided pyramid
    Row(i3, sf, {Sf(kSpheres)}),
    Row(i3, tr, {Tr(R({5}))}),
    Row(i3, tr, {Tr(R({6, 7, 8}))}),
    Row(i3, ci, {Sf(kSpheres), Ci(kSphereCircles)}),
    Row(i3, li, {Li(R({22}))}),
    Row(i3, li, {Sf(kSpheres), Ci(kSphereCircles), Li(kRadii)}),
    Row(i3, li, {Tr(Range(5, 8)), Li(Range(4, 11))}),
    Row(i3, po, {Li(R({22})), Po(R({1, 2}))}),
    Row(i3, po, {Sf(kSpheres), Po(R({6}))}),
    Row(i3, po, {Sf(kSpheres), Ci(kSphereCircles), Li(kRadii), Po(R({2}))}),
    Row(i3, po, {Tr(Range(5, 8)), Li(Range(4, 6)), Po(R({1}))}),
    Row(i3, po, {Tr(Range(5, 8)), Li(Range(7, 11)), Po(R({2}))}),
    // four-sided pyramid
    Row(i4, sf, {Sf(kSpheres)}),
    Row(i4, kv, {Kv(R({5}))}),
    Row(i4, tr, {Tr(Range(6, 9))}),
    Row(i4, ci, {Sf(kSpheres), Ci(kSphereCircles)}),
    Row(i4, li, {Li(R({22}))}),
    Row(i4, li, {Sf(kSpheres), Ci(kSphereCircles), Li(kRadii)}),
    Row(i4, li, {Kv(R({5})), Li(Range(14, 19))}),
    Row(i4, li, {Tr(Range(6, 9)), Li(Range(4, 11))}),
    Row(i4, po, {Li(R({22})), Po(R({1, 2}))}),
    Row(i4, po, {Sf(kSpheres), Po(R({6}))}),
    Row(i4, po, {Kv(R({5})), Po(R({5}))}),
    Row(i4, po, {Sf(kSpheres), Ci(kSphereCircles), Li(kRadii), Po(R({2}))}),
    Row(i4, po, {Kv(R({5})), Li(Range(14, 17)), Po(R({1}))}),
    Row(i4, po, {Tr(Range(6, 9)), Li(Range(4, 6)), Po(R({1}))}),
    Row(i4, po, {Tr(Range(6, 9)), Li(Range(7, 11)), Po(R({2}))}),
    // three-sided prism
    Row(r3, sf, {Sf(kSpheres)}),
    Row(r3, kv, {Kv(R({8, 9, 10}))}),
    Row(r3, tr, {Tr(R({10, 11}))}),
    Row(r3, ci, {Sf(kSpheres), Ci(kSphereCircles)}),
    Row(r3, li, {Sf(kSpheres), Ci(kSphereCircles), Li(kRadii)}),
    Row(r3, li, {Tr(R({10, 11})), Li(Range(4, 11))}),
    Row(r3, li, {Kv(Range(8, 10)), Li(Range(14, 19))}),
    Row(r3, po, {Sf(kSpheres), Po(R({6}))}),
    Row(r3, po, {Kv(Range(8, 10)), Po(R({5}))}),
    Row(r3, po, {Sf(kSpheres), Ci(kSphereCircles), Li(kRadii), Po(R({2}))}),
    Row(r3, po, {Tr(R({10, 11})), Li(Range(4, 6)), Po(R({1}))}),
    Row(r3, po, {Tr(R({10, 11})), Li(Range(7, 11)), Po(R({2}))}),
    Row(r3, po, {Kv(Range(8, 10)), Li(Range(14, 17)), Po(R({1}))}),
    // four-sided prism
    Row(r4, sf, {Sf(kSpheres)}),
    Row(r4, kv, {Kv(Range(6, 11))}),
    Row(r4, ci, {Sf(kSpheres), Ci(kSphereCircles)}),
    Row(r4, li, {Sf(kSpheres), Ci(kSphereCircles), Li(kRadii)}),
    Row(r4, li, {Kv(Range(6, 11)), Li(Range(14, 19))}),
    Row(r4, po, {Sf(kSpheres), Po(R({6}))}),
    Row(r4, po, {Kv(Range(6, 11)), Po(R({5}))}),
    Row(r4, po, {Sf(kSpheres), Ci(kSphereCircles), Li(kRadii), Po(R({2}))}),
    Row(r4, po, {Kv(Range(6, 11)), Li(Range(14, 17)), Po(R({1}))}),
    // 3D coordinate system
    Row(xz, li, {Li(R({12, 13, 29}))}),
    Row(xz, po, {Po(R({7}))}),
    Row(xz, po, {Li(R({12, 13, 29})), Po(R({2}))}),
});

bool InSet(std::uint32_t set, std::uint8_t role) { return role < 32 && (set >> role) & 1u; }

// The row's levels hold roles of their sets, and every other role byte but
// the top kind's own is 0.
bool Matches(const EditingState& st, const RestoreRow& row) {
    std::array<bool, KindCount> onPath{};
    onPath[Slot(row.top)] = true;
    for (int i = 0; i < row.count; ++i) {
        const RestoreStep& s = row.steps[static_cast<std::size_t>(i)];
        if (!InSet(s.roles, RoleOf(st, s.level))) return false;
        onPath[Slot(s.level)] = true;
    }
    for (int k = 0; k < KindCount; ++k)
        if (!onPath[static_cast<std::size_t>(k)] && st.Proj->Role[static_cast<std::size_t>(k)] != 0) return false;
    return true;
}

// Copies the part of every level, from the top down, into its kind's working copy.
template <class ParentRec>
bool Descend(EditingState& st, ParentRec& parent, const RestoreStep* steps, int n);

template <Kind L, class ParentRec>
bool DescendInto(EditingState& st, ParentRec& parent, const RestoreStep* steps, int n) {
    using Part = typename KindT<L>::Rec;
    const auto* row = FindSlot<ParentRec, Part>(RoleOf(st, L));
    if (!row) return false;
    Part& work = KindT<L>::work(*st.Work);
    work = row->get(parent);
    return Descend(st, work, steps + 1, n - 1);
}

template <class ParentRec>
bool Descend(EditingState& st, ParentRec& parent, const RestoreStep* steps, int n) {
    if (n == 0) return true;
    switch (steps->level) {
        case po: return DescendInto<po>(st, parent, steps, n);
        case li: return DescendInto<li>(st, parent, steps, n);
        case ci: return DescendInto<ci>(st, parent, steps, n);
        case tr: return DescendInto<tr>(st, parent, steps, n);
        case kv: return DescendInto<kv>(st, parent, steps, n);
        case sf: return DescendInto<sf>(st, parent, steps, n);
        default: return false;
    }
}

void FillWork(EditingState& st, Kind k) {
    st.Dialogs.Refill(k);
}

// The top-level object's own dialog in place of the stored one.
void FallBackToTop(EditingState& st, Kind top, int activeKind) {
    ClearRoleBytes(st);
    Kind active;
    if (KindFromNumber(activeKind, active) && active != top && DialogIsOpen(st, active)) st.Dialogs.Close(active);
    if (!DialogIsOpen(st, top)) st.Dialogs.Create(top);
    FillWork(st, top);
}

}  // namespace

std::span<const RestoreRow> RestoreTable() { return kTable; }

bool RestoreCurrentObject(EditingState& st, int activeKind) {
    Kind top;
    if (!CurrentKind(st, top)) return false;
    const std::uint8_t i = CurrentEntryIndex(st);
    const bool live = VisitKind(top, [&](auto kc) {
        const auto& store = KindT<kc.value>::store(st.Proj->Obj);
        if (i < 1 || i > store.count()) return false;
        KindT<kc.value>::work(*st.Work) = store[i];
        return true;
    });
    if (!live) return false;
    st.Work->index(top) = i;

    bool restored = false;
    if (activeKind == KindNumber(top)) {
        FillWork(st, top);
        restored = true;
    } else if (activeKind == 0) {
        // No dialog was open: there is no part to return into.
        ClearRoleBytes(st);
        restored = true;
    } else {
        for (const RestoreRow& row : kTable) {
            if (row.top != top || KindNumber(row.active) != activeKind || !Matches(st, row)) continue;
            const bool done = VisitKind(top, [&](auto kc) {
                return Descend(st, KindT<kc.value>::work(*st.Work), row.steps.data(), row.count);
            });
            if (!done) break;
            FillWork(st, row.active);
            emit st.Document.kindCommandEnabled(EditingCommand::BackTo, top, true);
            for (int s = 0; s + 1 < row.count; ++s)
                emit st.Document.kindCommandEnabled(EditingCommand::BackTo, row.steps[static_cast<std::size_t>(s)].level, true);
            restored = true;
            break;
        }
        if (!restored) FallBackToTop(st, top, activeKind);
    }
    st.Proj->Role[Slot(top)] = 0;
    return restored;
}

}  // namespace pelmar
