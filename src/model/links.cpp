// Resolution of point links: each getter reads one selector, picks the part it
// names and hands the rest of the selectors on, down to a point.
#include "model/links.h"

#include <algorithm>
#include <array>
#include <span>

#include "model/geometry.h"

namespace pelmar {

namespace {

// The element selectors still to be read, one per nesting level, outermost first.
using LinkSelectors = std::span<const std::uint8_t>;

// The selector of this level (0 when none is left) and the ones after it.
struct Step {
    int s;
    LinkSelectors rest;
};

Step Take(LinkSelectors sel) {
    if (sel.empty()) return {0, sel};
    return {sel.front(), sel.subspan(1)};
}

// An element inside a part that is shown only while `on` is set.
LinkedElement ShownIf(bool on, LinkedElement e) {
    e.shown = e.shown && on;
    return e;
}

// Cylinder and cone sections by selector: the contour comes first, then the
// main section and the two additional ones; the record keeps main, contour,
// add1, add2.
constexpr std::array<std::size_t, 4> SectionSlot{2, 1, 3, 4};

// The per-kind element getters: each picks the element its first selector
// names and hands it, with the remaining selectors, to the getter of the
// element's kind, down to a point.  A selector that names nothing gives no point.
LinkedElement PointIn(const DPoint& p, LinkSelectors) { return {&p, !p.Disabled.v}; }

LinkedElement PointIn(const DLine& l, LinkSelectors sel) {
    const auto [s, rest] = Take(sel);
    switch (s) {
        case 1: return PointIn(l.P1, rest);
        case 2: return PointIn(l.P2, rest);
        case 3: return ShownIf(l.Show3.v, PointIn(l.P3, rest));
        case 4: return ShownIf(l.Show4.v, PointIn(l.P4, rest));
        default: return {};
    }
}

LinkedElement PointIn(const DCircle& c, LinkSelectors sel) {
    const auto [s, rest] = Take(sel);
    if (s >= 1 && s <= 3) {
        const auto i = static_cast<std::size_t>(s);
        return ShownIf(c.ShowR[i].v, PointIn(c.R[i], rest));
    }
    if (s == 4) return PointIn(c.Center, rest);
    return {};
}

LinkedElement PointIn(const DTri& t, LinkSelectors sel) {
    const auto [s, rest] = Take(sel);
    if (s >= 1 && s <= 3) return PointIn(t.S[static_cast<std::size_t>(s)], rest);
    if (s >= 4 && s <= 8) {
        const auto i = static_cast<std::size_t>(s - 3);
        return ShownIf(t.LineOn[i].v, PointIn(t.Lines[i], rest));
    }
    if (s == 9 || s == 10) {
        const auto i = static_cast<std::size_t>(s - 8);
        return ShownIf(t.CircOn[i].v, PointIn(t.Circ[i], rest));
    }
    return {};
}

LinkedElement PointIn(const DKv& k, LinkSelectors sel) {
    const auto [s, rest] = Take(sel);
    if (s >= 1 && s <= 4) return PointIn(k.S[static_cast<std::size_t>(s)], rest);
    switch (s) {
        case 5: return ShownIf(k.DiagOn[1].v, PointIn(k.Diag[1], rest));
        case 6: return ShownIf(k.DiagOn[2].v, PointIn(k.Diag[2], rest));
        case 7: return ShownIf(k.CenterOn.v, PointIn(k.Center, rest));
        case 8: return ShownIf(k.CircOn[1].v, PointIn(k.Circ[1], rest));
        case 9: return ShownIf(k.CircOn[2].v, PointIn(k.Circ[2], rest));
        default: return {};
    }
}

LinkedElement PointIn(const DXOY& x, LinkSelectors sel) { return PointIn(x.Center, sel); }
LinkedElement PointIn(const DXZ& x, LinkSelectors sel) { return PointIn(x.Center, sel); }

LinkedElement PointIn(const DSf& o, LinkSelectors sel) {
    const auto [s, rest] = Take(sel);
    if (s >= 1 && s <= 7) {
        const auto i = static_cast<std::size_t>(s);
        return ShownIf(o.SecOn[i].v, PointIn(o.Sec[i], rest));
    }
    if (s == 8) return PointIn(o.Center, rest);
    if (s == 9) return ShownIf(o.ContourOn.v, PointIn(o.Contour, rest));
    return {};
}

// The circumscribed and the inscribed sphere of a solid, by their selectors.
template <class Solid>
LinkedElement SphereIn(const Solid& b, int s, int out, LinkSelectors rest) {
    if (s == out) return ShownIf(b.OutSphereOn.v, PointIn(b.OutSphere, rest));
    if (s == out + 1) return ShownIf(b.InSphereOn.v, PointIn(b.InSphere, rest));
    return {};
}

LinkedElement PointIn(const DZi& z, LinkSelectors sel) {
    const auto [s, rest] = Take(sel);
    switch (s) {
        case 1: return PointIn(z.Axis, rest);
        case 2: return PointIn(z.Base[1], rest);
        case 3: return PointIn(z.Base[2], rest);
        case 4:
        case 5:
        case 6:
        case 7: {
            const std::size_t slot = SectionSlot[static_cast<std::size_t>(s - 4)];
            return ShownIf(z.SecOn[slot].v, PointIn(z.Sec[slot], rest));
        }
        default: return SphereIn(z, s, 8, rest);
    }
}

LinkedElement PointIn(const DKo& k, LinkSelectors sel) {
    const auto [s, rest] = Take(sel);
    switch (s) {
        case 1: return PointIn(k.Axis, rest);
        case 2: return PointIn(k.Base, rest);
        case 3:
        case 4:
        case 5:
        case 6: {
            const std::size_t slot = SectionSlot[static_cast<std::size_t>(s - 3)];
            return ShownIf(k.SecOn[slot].v, PointIn(k.Sec[slot], rest));
        }
        default: return SphereIn(k, s, 7, rest);
    }
}

// Pyramids: 1 height line; 2 base; then the faces; then the circumscribed and
// the inscribed sphere.
template <class BaseT, std::size_t NF>
LinkedElement PointIn(const DPyramid<BaseT, NF>& y, LinkSelectors sel) {
    const auto [s, rest] = Take(sel);
    constexpr int nf = static_cast<int>(NF);
    if (s == 1) return ShownIf(y.HeightOn.v, PointIn(y.HeightLine, rest));
    if (s == 2) return PointIn(y.Base, rest);
    if (s >= 3 && s <= 2 + nf) return PointIn(y.Face[static_cast<std::size_t>(s - 2)], rest);
    return SphereIn(y, s, 3 + nf, rest);
}

// Prisms: 1, 2 the bases; then the side tetragons; then the circumscribed and
// the inscribed sphere.
template <class BaseT, std::size_t NS>
LinkedElement PointIn(const DPrism<BaseT, NS>& r, LinkSelectors sel) {
    const auto [s, rest] = Take(sel);
    constexpr int ns = static_cast<int>(NS);
    if (s == 1 || s == 2) return PointIn(r.Base[static_cast<std::size_t>(s)], rest);
    if (s >= 3 && s <= 2 + ns) return PointIn(r.Side[static_cast<std::size_t>(s - 2)], rest);
    return SphereIn(r, s, 3 + ns, rest);
}

// The index-th live object of a store: an index outside the live objects
// names nothing; a disabled object shows none of its points.
template <class T, std::size_t N>
LinkedElement PointInStore(const Store<T, N>& store, int index, LinkSelectors sel) {
    if (index < 1 || index > store.count()) return {};
    const T& r = store[static_cast<std::size_t>(index)];
    return ShownIf(!r.Disabled.v, PointIn(r, sel));
}

}  // namespace

LinkedElement LinkedPoint(const DProj& doc, const DLink& link) {
    const std::array<std::uint8_t, 4> sels{link.sel(1), link.sel(2), link.sel(3), link.sel(4)};
    const LinkSelectors sel(sels);
    const int i = link.index();
    const DSubProj& o = doc.Obj;
    switch (link.kind()) {
        case 1: return PointInStore(o.Po, i, sel);
        case 2: return PointInStore(o.Li, i, sel);
        case 3: return PointInStore(o.Ci, i, sel);
        case 4: return PointInStore(o.Tr, i, sel);
        case 5: return PointInStore(o.Kv, i, sel);
        case 6: return PointInStore(o.Xy, i, sel);
        case 7: return PointInStore(o.Sf, i, sel);
        case 8: return PointInStore(o.Zi, i, sel);
        case 9: return PointInStore(o.Ko, i, sel);
        case 10: return PointInStore(o.I3, i, sel);
        case 11: return PointInStore(o.I4, i, sel);
        case 12: return PointInStore(o.R3, i, sel);
        case 13: return PointInStore(o.R4, i, sel);
        case 14: return PointInStore(o.Xz, i, sel);
        default: return {};  // 0 = free point; above 14 names no kind
    }
}

void ResolveLink(const DProj& doc, DPoint& p, DLink link) {
    if (const LinkedElement e = LinkedPoint(doc, link); e.point) SetPos(p, Pos(*e.point));
}

void ClearPointLink(DPoint& p) { p.Link.b.fill(0); }

int MaxObjectNumber(const DProj& doc) {
    int m = 0;
    ForEachStore(doc.Obj, [&m](const auto& store) {
        for (std::size_t i = 1; i <= store.count(); ++i) m = std::max(m, static_cast<int>(store[i].Number));
    });
    return m;
}

}  // namespace pelmar
