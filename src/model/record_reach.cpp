#include "model/record_reach.h"

#include <initializer_list>

#include "model/coord_limit.h"

namespace pelmar {

namespace {

bool All(std::initializer_list<double> values) {
    for (const double v : values)
        if (!WithinCoordLimit(v)) return false;
    return true;
}

template <class Sides>
bool SidesWithin(const Sides& sides) {
    for (const DLine& s : sides)
        if (!WithinCoordLimit(s)) return false;
    return true;
}

template <class Body>
bool AxisBodyWithin(const Body& b) {
    return WithinCoordLimit(b.Radius.v) && WithinCoordLimit(b.Axis);
}

}  // namespace

bool WithinCoordLimit(const DPoint& p) { return All({p.X.v, p.Y.v, p.Z.v, p.ScrX.v, p.ScrY.v}); }

bool WithinCoordLimit(const DLine& l) {
    return WithinCoordLimit(l.P1) && WithinCoordLimit(l.P2) && WithinCoordLimit(l.Length.v);
}

bool WithinCoordLimit(const DCircle& c) {
    return WithinCoordLimit(c.Center) && All({c.A.v, c.B.v, c.A3.v, c.B3.v});
}

bool WithinCoordLimit(const DTri& t) { return SidesWithin(t.S); }
bool WithinCoordLimit(const DKv& k) { return SidesWithin(k.S); }

bool WithinCoordLimit(const DXOY& x) {
    return WithinCoordLimit(x.Center) && WithinCoordLimit(x.AxisX) && WithinCoordLimit(x.AxisY) &&
           All({x.ScaleX.v, x.ScaleY.v, x.DivX.v, x.DivY.v});
}

bool WithinCoordLimit(const DSf& s) { return WithinCoordLimit(s.Center) && WithinCoordLimit(s.Radius.v); }

bool WithinCoordLimit(const DZi& z) {
    return AxisBodyWithin(z) && WithinCoordLimit(z.Base[1].Center) && WithinCoordLimit(z.Base[2].Center);
}

bool WithinCoordLimit(const DKo& k) { return AxisBodyWithin(k) && WithinCoordLimit(k.Base.Center); }

bool WithinCoordLimit(const DPi3& p) { return WithinCoordLimit(p.Base) && WithinCoordLimit(p.HeightLine); }
bool WithinCoordLimit(const DPi4& p) { return WithinCoordLimit(p.Base) && WithinCoordLimit(p.HeightLine); }

bool WithinCoordLimit(const DPr3& p) {
    return WithinCoordLimit(p.Base[1]) && WithinCoordLimit(p.Base[2]) &&
           All({p.EdgeX.v, p.EdgeY.v, p.EdgeZ.v, p.EdgeLen.v});
}
bool WithinCoordLimit(const DPr4& p) {
    return WithinCoordLimit(p.Base[1]) && WithinCoordLimit(p.Base[2]) &&
           All({p.EdgeX.v, p.EdgeY.v, p.EdgeZ.v, p.EdgeLen.v});
}

bool WithinCoordLimit(const DXZ& x) {
    return WithinCoordLimit(x.Center) && WithinCoordLimit(x.AxisX) && WithinCoordLimit(x.AxisY) &&
           WithinCoordLimit(x.AxisZ) && All({x.Scale.v, x.Div.v});
}

}  // namespace pelmar
