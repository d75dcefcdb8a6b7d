// Hit tests of the cylinder, the cone, the pyramids and the prisms, built from
// the tests of their faces, sections, bases and points.
#include "editing/hit_test.h"

namespace pelmar {

namespace {

// A triangle or a tetragon, whichever the solid is built of.
PolyHit::Code HitFace(int x, int y, const DTri& t) { return HitTr(x, y, t); }
PolyHit::Code HitFace(int x, int y, const DKv& k) { return HitKv(x, y, k); }

template <class P>
PyramidHit::Code HitPyramid(int x, int y, const P& p) {
    PyramidHit::Code r = PyramidHit::None;
    for (std::size_t k = 1; k <= p.Face.size(); ++k)
        if (HitTr(x, y, p.Face[k])) r = PyramidHit::Face;
    if (HitFace(x, y, p.Base)) r = PyramidHit::Face;
    if (HitPo(x, y, p.HeightLine.P2)) r = PyramidHit::Apex;
    return r;
}

template <class P>
PrismHit::Code HitPrism(int x, int y, const P& p) {
    PrismHit::Code r = PrismHit::None;
    for (std::size_t k = 1; k <= p.Side.size(); ++k)
        if (HitKv(x, y, p.Side[k])) r = PrismHit::SideFace;
    if (HitFace(x, y, p.Base[1])) r = PrismHit::Base1;
    if (HitFace(x, y, p.Base[2])) r = PrismHit::Base2;
    return r;
}

}  // namespace

ZiHit::Code HitZi(int x, int y, const DZi& z) {
    ZiHit::Code r = ZiHit::None;
    if (HitKv(x, y, z.Sec[2])) r = ZiHit::Section;
    if (HitCi(x, y, z.Base[2])) r = ZiHit::UpperBase;
    if (HitCi(x, y, z.Base[1])) r = ZiHit::LowerBase;
    if (HitLi(x, y, z.Sec[1].S[1])) r = ZiHit::Side1;
    if (HitLi(x, y, z.Sec[1].S[3])) r = ZiHit::Side3;
    return r;
}

KoHit::Code HitKo(int x, int y, const DKo& k) {
    KoHit::Code r = KoHit::None;
    if (HitTr(x, y, k.Sec[2])) r = KoHit::Section;
    if (HitCi(x, y, k.Base)) r = KoHit::Base;
    if (HitPo(x, y, k.Axis.P2)) r = KoHit::Apex;
    if (HitPo(x, y, k.Sec[1].S[1].P2)) r = KoHit::Vertex2;
    if (HitPo(x, y, k.Sec[1].S[1].P1)) r = KoHit::Vertex1;
    return r;
}

PyramidHit::Code HitI3(int x, int y, const DPi3& p) { return HitPyramid(x, y, p); }
PyramidHit::Code HitI4(int x, int y, const DPi4& p) { return HitPyramid(x, y, p); }
PrismHit::Code HitR3(int x, int y, const DPr3& p) { return HitPrism(x, y, p); }
PrismHit::Code HitR4(int x, int y, const DPr4& p) { return HitPrism(x, y, p); }

}  // namespace pelmar
