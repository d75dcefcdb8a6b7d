// The public members of the transformation families: each builds the
// family's operation and hands the record to the member of its kind.  An
// operation that describes no transformation leaves the record as it is.
#include "model/transform.h"
#include "model/transform_parts.h"

namespace pelmar {

namespace {

template <class R>
void Run(R& r, const xf::Op& op, void (*member)(R&, const xf::Op&)) {
    if (op.Valid()) member(r, op);
}

}  // namespace

#define PELMAR_UNPAREN(...) __VA_ARGS__

// The member of `family` for one kind: `params` is its parenthesised
// parameter list, `op` the operation it builds from them.
#define PELMAR_MEMBER(family, kind, Rec, params, op) \
    void family##kind(Rec& r, PELMAR_UNPAREN params) { Run(r, op, xf::Apply##kind); }

// The kinds of every family.
#define PELMAR_MEMBERS(family, params, op)                   \
    PELMAR_MEMBER(family, Point, DPoint, params, op)         \
    PELMAR_MEMBER(family, Line, DLine, params, op)           \
    PELMAR_MEMBER(family, Triangle, DTri, params, op)        \
    PELMAR_MEMBER(family, Tetragon, DKv, params, op)         \
    PELMAR_MEMBER(family, XOY, DXOY, params, op)             \
    PELMAR_MEMBER(family, Pyramid3, DPi3, params, op)        \
    PELMAR_MEMBER(family, Pyramid4, DPi4, params, op)        \
    PELMAR_MEMBER(family, Prism3, DPr3, params, op)          \
    PELMAR_MEMBER(family, Prism4, DPr4, params, op)          \
    PELMAR_MEMBER(family, XYZ, DXZ, params, op)

// The round kinds, which translate with members of their own.
#define PELMAR_ROUND_MEMBERS(family, params, op)             \
    PELMAR_MEMBER(family, Circle, DCircle, params, op)       \
    PELMAR_MEMBER(family, Orb, DSf, params, op)              \
    PELMAR_MEMBER(family, Cylinder, DZi, params, op)         \
    PELMAR_MEMBER(family, Cone, DKo, params, op)

#define PELMAR_ALL_MEMBERS(family, params, op) \
    PELMAR_MEMBERS(family, params, op)         \
    PELMAR_ROUND_MEMBERS(family, params, op)

PELMAR_MEMBERS(Translate, (double dx, double dy, double dz), xf::Translation(dx, dy, dz))
PELMAR_ALL_MEMBERS(Rotate, (double cx, double cy, double cz, double nx, double ny, double nz, double angle),
                   xf::Rotation(cx, cy, cz, nx, ny, nz, angle))
PELMAR_ALL_MEMBERS(Homothety, (double cx, double cy, double cz, double k), xf::Homothety(cx, cy, cz, k))
PELMAR_ALL_MEMBERS(CentralSym, (double cx, double cy, double cz), xf::CentralSym(cx, cy, cz))
PELMAR_ALL_MEMBERS(AxialSym, (double px, double py, double pz, double vx, double vy, double vz),
                   xf::AxialSym(px, py, pz, vx, vy, vz))
PELMAR_ALL_MEMBERS(MirrorSym, (double a, double b, double c, double d), xf::MirrorSym(a, b, c, d))

#undef PELMAR_ALL_MEMBERS
#undef PELMAR_ROUND_MEMBERS
#undef PELMAR_MEMBERS
#undef PELMAR_MEMBER
#undef PELMAR_UNPAREN

}  // namespace pelmar
