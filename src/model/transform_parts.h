// Inner pieces of the transformation families: one operation value that
// names the family and holds its arguments, and one member per part kind
// that applies it.  Composite members are built from their parts' members.
#pragma once

#include <array>
#include <cstdint>

#include "model/geometry.h"
#include "model/records.h"

namespace pelmar::xf {

enum class Family { Translate, Rotate, Homothety, Central, Axial, Mirror };

struct Op {
    Family family = Family::Translate;
    std::array<double, 7> a{};  // the family's arguments in the order of its members

    // The family's point primitive on one 3D position.
    void Move(double& x, double& y, double& z) const;
    void Move(Vec3& v) const { Move(v.x, v.y, v.z); }
    // Whether the arguments describe a transformation at all (see transform.h).
    bool Valid() const;
    double K() const { return a[3]; }  // homothety factor
};

Op Translation(double dx, double dy, double dz);
Op Rotation(double cx, double cy, double cz, double nx, double ny, double nz, double angle);
Op Homothety(double cx, double cy, double cz, double k);
Op CentralSym(double cx, double cy, double cz);
Op AxialSym(double px, double py, double pz, double vx, double vy, double vz);
Op MirrorSym(double a, double b, double c, double d);

void ApplyPoint(DPoint& p, const Op& op);
void ApplyLine(DLine& l, const Op& op);
void ApplyCircle(DCircle& c, const Op& op);
void ApplyTriangle(DTri& t, const Op& op);
void ApplyTetragon(DKv& k, const Op& op);
void ApplyXOY(DXOY& x, const Op& op);
void ApplyOrb(DSf& s, const Op& op);
void ApplyCylinder(DZi& z, const Op& op);
void ApplyCone(DKo& k, const Op& op);
void ApplyPyramid3(DPi3& p, const Op& op);
void ApplyPyramid4(DPi4& p, const Op& op);
void ApplyPrism3(DPr3& p, const Op& op);
void ApplyPrism4(DPr4& p, const Op& op);
void ApplyXYZ(DXZ& x, const Op& op);

// Every point of every polyline of a curve set moved by (dx, dy) in the
// picture: x += dx, y -= dy.
void ShiftCurves(DCurve2& set, double dx, double dy);
// An outline window edge moved by Round(d) pixels, kept in the Integer range.
void AddPixels(std::int32_t& w, double d);

}  // namespace pelmar::xf
