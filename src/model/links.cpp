// Resolution of point links: each getter reads one selector, picks the part it
// names and hands the rest of the selectors on, down to a point.
#include "model/links.h"

#include <algorithm>
#include <array>

#include "model/geometry.h"

namespace pelmar {

namespace {

// The selector of this level (0 when none is left) and the ones after it.
struct Step {
    int s;
    LinkSelectors rest;
};

Step Take(LinkSelectors sel) {
    if (sel.empty()) return {0, sel};
    return {sel.front(), sel.subspan(1)};
}

// Cylinder and cone sections by selector: the contour comes first, then the
// main section and the two additional ones; the record keeps main, contour,
// add1, add2.
constexpr std::array<int, 4> SectionSlot{2, 1, 3, 4};

bool FromBase(DPoint& p, const DTri& t, LinkSelectors sel) { return LinkFromTriangle(p, t, sel); }
bool FromBase(DPoint& p, const DKv& k, LinkSelectors sel) { return LinkFromTetragon(p, k, sel); }

// Pyramids: 1 height line; 2 base; then the faces; then the circumscribed and
// the inscribed sphere.
template <class BaseT, std::size_t NF>
bool FromPyramid(DPoint& p, const DPyramid<BaseT, NF>& y, LinkSelectors sel) {
    const auto [s, rest] = Take(sel);
    constexpr int nf = static_cast<int>(NF);
    if (s == 1) return LinkFromLine(p, y.HeightLine, rest);
    if (s == 2) return FromBase(p, y.Base, rest);
    if (s >= 3 && s <= 2 + nf) return LinkFromTriangle(p, y.Face[static_cast<std::size_t>(s - 2)], rest);
    if (s == 3 + nf) return LinkFromOrb(p, y.OutSphere, rest);
    if (s == 4 + nf) return LinkFromOrb(p, y.InSphere, rest);
    return false;
}

// Prisms: 1, 2 the bases; then the side tetragons; then the circumscribed and
// the inscribed sphere.
template <class BaseT, std::size_t NS>
bool FromPrism(DPoint& p, const DPrism<BaseT, NS>& r, LinkSelectors sel) {
    const auto [s, rest] = Take(sel);
    constexpr int ns = static_cast<int>(NS);
    if (s == 1 || s == 2) return FromBase(p, r.Base[static_cast<std::size_t>(s)], rest);
    if (s >= 3 && s <= 2 + ns) return LinkFromTetragon(p, r.Side[static_cast<std::size_t>(s - 2)], rest);
    if (s == 3 + ns) return LinkFromOrb(p, r.OutSphere, rest);
    if (s == 4 + ns) return LinkFromOrb(p, r.InSphere, rest);
    return false;
}

// The index-th live object of a store, handed to its getter; an index outside
// the live objects names nothing.
template <class T, std::size_t N, class G>
bool FromStore(DPoint& p, const Store<T, N>& store, int index, LinkSelectors sel, G getter) {
    if (index < 1 || index > store.count()) return false;
    return getter(p, store[static_cast<std::size_t>(index)], sel);
}

}  // namespace

bool LinkFromPoint(DPoint& p, const DPoint& src, LinkSelectors) {
    const Vec3 v = Pos(src);
    SetPos(p, v);
    return true;
}

bool LinkFromLine(DPoint& p, const DLine& l, LinkSelectors sel) {
    const auto [s, rest] = Take(sel);
    switch (s) {
        case 1: return LinkFromPoint(p, l.P1, rest);
        case 2: return LinkFromPoint(p, l.P2, rest);
        case 3: return LinkFromPoint(p, l.P3, rest);
        case 4: return LinkFromPoint(p, l.P4, rest);
        default: return false;
    }
}

bool LinkFromCircle(DPoint& p, const DCircle& c, LinkSelectors sel) {
    const auto [s, rest] = Take(sel);
    if (s >= 1 && s <= 3) return LinkFromLine(p, c.R[static_cast<std::size_t>(s)], rest);
    if (s == 4) return LinkFromPoint(p, c.Center, rest);
    return false;
}

bool LinkFromTriangle(DPoint& p, const DTri& t, LinkSelectors sel) {
    const auto [s, rest] = Take(sel);
    if (s >= 1 && s <= 3) return LinkFromLine(p, t.S[static_cast<std::size_t>(s)], rest);
    if (s >= 4 && s <= 8) return LinkFromLine(p, t.Lines[static_cast<std::size_t>(s - 3)], rest);
    if (s == 9) return LinkFromCircle(p, t.Circ[1], rest);
    if (s == 10) return LinkFromCircle(p, t.Circ[2], rest);
    return false;
}

bool LinkFromTetragon(DPoint& p, const DKv& k, LinkSelectors sel) {
    const auto [s, rest] = Take(sel);
    if (s >= 1 && s <= 4) return LinkFromLine(p, k.S[static_cast<std::size_t>(s)], rest);
    switch (s) {
        case 5: return LinkFromLine(p, k.Diag[1], rest);
        case 6: return LinkFromLine(p, k.Diag[2], rest);
        case 7: return LinkFromPoint(p, k.Center, rest);
        case 8: return LinkFromCircle(p, k.Circ[1], rest);
        case 9: return LinkFromCircle(p, k.Circ[2], rest);
        default: return false;
    }
}

bool LinkFromXOY(DPoint& p, const DXOY& x, LinkSelectors sel) { return LinkFromPoint(p, x.Center, sel); }

bool LinkFromOrb(DPoint& p, const DSf& s, LinkSelectors sel) {
    const auto [k, rest] = Take(sel);
    if (k >= 1 && k <= 7) return LinkFromCircle(p, s.Sec[static_cast<std::size_t>(k)], rest);
    if (k == 8) return LinkFromPoint(p, s.Center, rest);
    if (k == 9) return LinkFromCircle(p, s.Contour, rest);
    return false;
}

bool LinkFromCylinder(DPoint& p, const DZi& z, LinkSelectors sel) {
    const auto [s, rest] = Take(sel);
    switch (s) {
        case 1: return LinkFromLine(p, z.Axis, rest);
        case 2: return LinkFromCircle(p, z.Base[1], rest);
        case 3: return LinkFromCircle(p, z.Base[2], rest);
        case 4:
        case 5:
        case 6:
        case 7:
            return LinkFromTetragon(p, z.Sec[static_cast<std::size_t>(SectionSlot[static_cast<std::size_t>(s - 4)])],
                                    rest);
        case 8: return LinkFromOrb(p, z.OutSphere, rest);
        case 9: return LinkFromOrb(p, z.InSphere, rest);
        default: return false;
    }
}

bool LinkFromCone(DPoint& p, const DKo& k, LinkSelectors sel) {
    const auto [s, rest] = Take(sel);
    switch (s) {
        case 1: return LinkFromLine(p, k.Axis, rest);
        case 2: return LinkFromCircle(p, k.Base, rest);
        case 3:
        case 4:
        case 5:
        case 6:
            return LinkFromTriangle(p, k.Sec[static_cast<std::size_t>(SectionSlot[static_cast<std::size_t>(s - 3)])],
                                    rest);
        case 7: return LinkFromOrb(p, k.OutSphere, rest);
        case 8: return LinkFromOrb(p, k.InSphere, rest);
        default: return false;
    }
}

bool LinkFromPyramid3(DPoint& p, const DPi3& t, LinkSelectors sel) { return FromPyramid(p, t, sel); }
bool LinkFromPyramid4(DPoint& p, const DPi4& t, LinkSelectors sel) { return FromPyramid(p, t, sel); }
bool LinkFromPrism3(DPoint& p, const DPr3& r, LinkSelectors sel) { return FromPrism(p, r, sel); }
bool LinkFromPrism4(DPoint& p, const DPr4& r, LinkSelectors sel) { return FromPrism(p, r, sel); }

bool LinkFromXYZ(DPoint& p, const DXZ& x, LinkSelectors sel) { return LinkFromPoint(p, x.Center, sel); }

void ResolveLink(const DProj& doc, DPoint& p, DLink link) {
    const std::array<std::uint8_t, 4> sels{link.sel(1), link.sel(2), link.sel(3), link.sel(4)};
    const LinkSelectors sel(sels);
    const int i = link.index();
    const DSubProj& o = doc.Obj;
    switch (link.kind()) {
        case 1: FromStore(p, o.Po, i, sel, LinkFromPoint); break;
        case 2: FromStore(p, o.Li, i, sel, LinkFromLine); break;
        case 3: FromStore(p, o.Ci, i, sel, LinkFromCircle); break;
        case 4: FromStore(p, o.Tr, i, sel, LinkFromTriangle); break;
        case 5: FromStore(p, o.Kv, i, sel, LinkFromTetragon); break;
        case 6: FromStore(p, o.Xy, i, sel, LinkFromXOY); break;
        case 7: FromStore(p, o.Sf, i, sel, LinkFromOrb); break;
        case 8: FromStore(p, o.Zi, i, sel, LinkFromCylinder); break;
        case 9: FromStore(p, o.Ko, i, sel, LinkFromCone); break;
        case 10: FromStore(p, o.I3, i, sel, LinkFromPyramid3); break;
        case 11: FromStore(p, o.I4, i, sel, LinkFromPyramid4); break;
        case 12: FromStore(p, o.R3, i, sel, LinkFromPrism3); break;
        case 13: FromStore(p, o.R4, i, sel, LinkFromPrism4); break;
        case 14: FromStore(p, o.Xz, i, sel, LinkFromXYZ); break;
        default: break;  // 0 = free point; above 14 names no kind
    }
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
