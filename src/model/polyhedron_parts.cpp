// Pieces shared by the pyramid and prism updates.
#include "model/polyhedron_parts.h"

namespace pelmar::poly {

void CopyStyle(DHead& part, const DHead& body, bool thick) {
    part.Color.v = body.Color.v;
    part.ColorIndex.v = body.ColorIndex.v;
    part.Layer.v = body.Layer.v;
    if (thick) part.Thick.v = body.Thick.v;
}

void ViewPart(Ed<std::uint8_t>& view, std::uint8_t mode) {
    switch (mode) {
        case 1:
        case 2:
        case 3:
            view.v = mode;
            view.e = false;
            break;
        case 4: view.e = true; break;
        case 5:
        case 6:
            view.v = 4;
            view.e = false;
            break;
        default: break;
    }
}

void ViewEdge(Ed<std::uint8_t>& lineType, std::uint8_t mode) {
    switch (mode) {
        case 1:
        case 2:
        case 3:
            lineType.v = mode;
            lineType.e = false;
            break;
        case 4: lineType.e = true; break;
        default: break;
    }
}

void ViewSpheres(DSf& out, DSf& in, std::uint8_t mode) {
    switch (mode) {
        case 1:
        case 2:
            out.View.v = in.View.v = mode;
            out.View.e = in.View.e = false;
            break;
        case 3:
        case 4: out.View.e = in.View.e = true; break;
        case 5:
            out.View.v = 5;
            in.View.v = 2;
            break;
        default: break;
    }
}

namespace {

template <class Fig>
void LockSidesAndAngles(Fig& f, std::size_t n) {
    for (std::size_t i = 1; i <= n; ++i) {
        f.S[i].Length.e = f.S[i].Angle.e = false;
        f.Ang[i].e = false;
    }
    f.Height.e = f.Side3.e = f.Typ.e = false;
}

}  // namespace

void LockLinkedBase(DTri& t) { LockSidesAndAngles(t, 3); }
void LockLinkedBase(DKv& k) { LockSidesAndAngles(k, 4); }

}  // namespace pelmar::poly
