// Hit tests of the cylinder, the cone, the pyramids and the prisms, built from
// the tests of their faces, sections, bases and points.
#include "editing/hit_test.h"

namespace pelmar {

namespace {

// A triangle or a tetragon, whichever the solid is built of.
std::uint8_t HitFace(int x, int y, const DTri& t) { return HitTr(x, y, t); }
std::uint8_t HitFace(int x, int y, const DKv& k) { return HitKv(x, y, k); }

template <class P>
std::uint8_t HitPyramid(int x, int y, const P& p) {
    std::uint8_t r = 0;
    for (std::size_t k = 1; k <= p.Face.size(); ++k)
        if (HitTr(x, y, p.Face[k])) r = 1;
    if (HitFace(x, y, p.Base)) r = 1;
    if (HitPo(x, y, p.HeightLine.P2)) r = 2;
    return r;
}

template <class P>
std::uint8_t HitPrism(int x, int y, const P& p) {
    std::uint8_t r = 0;
    for (std::size_t k = 1; k <= p.Side.size(); ++k)
        if (HitKv(x, y, p.Side[k])) r = 1;
    if (HitFace(x, y, p.Base[1])) r = 2;
    if (HitFace(x, y, p.Base[2])) r = 3;
    return r;
}

}  // namespace

std::uint8_t HitZi(int x, int y, const DZi& z) {
    std::uint8_t r = 0;
    if (HitKv(x, y, z.Sec[2])) r = 1;
    if (HitCi(x, y, z.Base[2])) r = 2;
    if (HitCi(x, y, z.Base[1])) r = 3;
    if (HitLi(x, y, z.Sec[1].S[1])) r = 4;
    if (HitLi(x, y, z.Sec[1].S[3])) r = 5;
    return r;
}

std::uint8_t HitKo(int x, int y, const DKo& k) {
    std::uint8_t r = 0;
    if (HitTr(x, y, k.Sec[2])) r = 1;
    if (HitCi(x, y, k.Base)) r = 2;
    if (HitPo(x, y, k.Axis.P2)) r = 3;
    if (HitPo(x, y, k.Sec[1].S[1].P2)) r = 4;
    if (HitPo(x, y, k.Sec[1].S[1].P1)) r = 5;
    return r;
}

std::uint8_t HitI3(int x, int y, const DPi3& p) { return HitPyramid(x, y, p); }
std::uint8_t HitI4(int x, int y, const DPi4& p) { return HitPyramid(x, y, p); }
std::uint8_t HitR3(int x, int y, const DPr3& p) { return HitPrism(x, y, p); }
std::uint8_t HitR4(int x, int y, const DPr4& p) { return HitPrism(x, y, p); }

}  // namespace pelmar
