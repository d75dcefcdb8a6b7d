// What the fill painters read of a fillable record, beside its fill (on and
// colours): FillInputs lists, per kind, every field its pass 1 painter reads.
// The painters are handed a copy of the record that holds only those fields
// and the fill (FillOnly), and the commit compares the same fields to decide
// whether the kept fill picture still shows the document.  So a field a
// painter comes to read must be listed here, or the painter sees it at its
// default value.
//
// Each FillInputs(r, v) calls v with a reference to each field, in a fixed
// order; r may be const.  The fields are Doubles, integers, bytes and flags.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

#include "model/records.h"

namespace pelmar {

// The parts of a point that the lists share.
namespace fill_parts {

template <class R, class T>
concept Of = std::same_as<std::remove_const_t<R>, T>;

template <class T>
inline constexpr bool Pyramid = false;
template <class B, std::size_t N>
inline constexpr bool Pyramid<DPyramid<B, N>> = true;
template <class T>
inline constexpr bool Prism = false;
template <class B, std::size_t N>
inline constexpr bool Prism<DPrism<B, N>> = true;

template <class P, class V>
void Screen(P& p, V& v) {
    v(p.ScrX.v);
    v(p.ScrY.v);
}
template <class P, class V>
void Space(P& p, V& v) {
    v(p.X.v);
    v(p.Y.v);
    v(p.Z.v);
}
template <class P, class V>
void Placed(P& p, V& v) {
    Screen(p, v);
    Space(p, v);
}

}  // namespace fill_parts

// FillEllipseOnCanvas (ellipse_paint.cpp): the picture centre, the semi-axes
// with their pixel corrections, the arc, the tilt and the plane it shades by.
template <class R, class V>
    requires fill_parts::Of<R, DCircle>
void FillInputs(R& c, V&& v) {
    fill_parts::Screen(c.Center, v);
    v(c.A.v);
    v(c.B.v);
    v(c.CorA1);
    v(c.CorA2);
    v(c.CorB1);
    v(c.CorB2);
    v(c.Arc1.v);
    v(c.Arc2.v);
    v(c.Tilt.v);
    v(c.PA);
    v(c.PB);
    v(c.PC);
    v(c.PD);
}

// FillTriangleOnCanvas and FillTetragonOnCanvas (polygon_paint.cpp): the
// vertices (end 1 of each side), on the picture and in space.
template <class R, class V>
    requires fill_parts::Of<R, DTri> || fill_parts::Of<R, DKv>
void FillInputs(R& f, V&& v) {
    for (auto& s : f.S) fill_parts::Placed(s.P1, v);
}

// A face of a pyramid or prism (FillVisibleFaces, polyhedron_paint.cpp): its
// fill as a triangle's or tetragon's, and the picture ends of its sides, by
// which the faces hide each other's test points.
template <class R, class V>
    requires fill_parts::Of<R, DTri> || fill_parts::Of<R, DKv>
void FaceInputs(R& f, V& v) {
    FillInputs(f, v);
    for (auto& s : f.S) fill_parts::Screen(s.P2, v);
}

// ShadeOrb (orb_paint.cpp): the centre and radius, and the contour ellipse
// that bounds the shaded pixels.
template <class R, class V>
    requires fill_parts::Of<R, DSf>
void FillInputs(R& s, V&& v) {
    v(s.Radius.v);
    fill_parts::Placed(s.Center, v);
    fill_parts::Screen(s.Contour.Center, v);
    v(s.Contour.A.v);
    v(s.Contour.B.v);
}

// ShadeCylinder and the fill of the base that faces the viewer (round_paint.cpp):
// both bases as filled ellipses with their centres in space, the radius, the
// contour section's vertices and which base is seen.
template <class R, class V>
    requires fill_parts::Of<R, DZi>
void FillInputs(R& z, V&& v) {
    for (auto& b : z.Base) {
        FillInputs(b, v);
        fill_parts::Space(b.Center, v);
    }
    v(z.Base[1].A3.v);
    for (auto& s : z.Sec[2].S) fill_parts::Screen(s.P1, v);
    v(z.UpperVisible);
}

// ShadeCone and the fill of its base when seen (round_paint.cpp): the base as
// a filled ellipse with its centre in space and its radius, the apex, the
// height and radius, the contour section's vertices, whether the base is seen
// and whether the apex is seen inside it.
template <class R, class V>
    requires fill_parts::Of<R, DKo>
void FillInputs(R& k, V&& v) {
    FillInputs(k.Base, v);
    fill_parts::Space(k.Base.Center, v);
    v(k.Base.A3.v);
    fill_parts::Placed(k.Axis.P2, v);
    v(k.Axis.Length.v);
    v(k.Radius.v);
    for (auto& s : k.Sec[2].S) fill_parts::Screen(s.P1, v);
    v(k.BaseVisible);
    v(k.ApexInside);
}

// DrawPyramid3/4 pass 1 (FillVisibleFaces, polyhedron_paint.cpp): the lateral
// faces and the base.
template <class R, class V>
    requires fill_parts::Pyramid<std::remove_const_t<R>>
void FillInputs(R& p, V&& v) {
    for (auto& f : p.Face) FaceInputs(f, v);
    FaceInputs(p.Base, v);
}

// DrawPrism3/4 pass 1 (FillVisibleFaces, polyhedron_paint.cpp): the lateral
// faces and both bases.
template <class R, class V>
    requires fill_parts::Prism<std::remove_const_t<R>>
void FillInputs(R& p, V&& v) {
    for (auto& f : p.Side) FaceInputs(f, v);
    for (auto& b : p.Base) FaceInputs(b, v);
}

// The values of visited fields in visiting order: the Doubles, and the
// integers, bytes and flags as integers.
struct FillFields {
    std::vector<double> reals;
    std::vector<std::int32_t> wholes;

    template <class T>
    void operator()(const T& field) {
        static_assert(std::is_arithmetic_v<T>);
        if constexpr (std::is_floating_point_v<T>)
            reals.push_back(field);
        else
            wholes.push_back(static_cast<std::int32_t>(field));
    }
};

template <class R>
FillFields FillFieldsOf(const R& r) {
    FillFields f;
    FillInputs(r, f);
    return f;
}

// A record of the kind that holds only what its fill painter reads: the fill
// and the fields FillInputs lists; everything else keeps its default.
template <class R>
R FillOnly(const R& r) {
    const FillFields f = FillFieldsOf(r);
    R out{};
    out.Fill = r.Fill;
    std::size_t reals = 0, wholes = 0;
    FillInputs(out, [&](auto& field) {
        using T = std::remove_reference_t<decltype(field)>;
        if constexpr (std::is_floating_point_v<T>)
            field = f.reals[reals++];
        else
            field = static_cast<T>(f.wholes[wholes++]);
    });
    return out;
}

}  // namespace pelmar
