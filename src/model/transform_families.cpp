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

// Translate family
void TranslatePoint(DPoint& r, double dx, double dy, double dz) { Run(r, xf::Translation(dx, dy, dz), xf::ApplyPoint); }
void TranslateLine(DLine& r, double dx, double dy, double dz) { Run(r, xf::Translation(dx, dy, dz), xf::ApplyLine); }
void TranslateTriangle(DTri& r, double dx, double dy, double dz) {
    Run(r, xf::Translation(dx, dy, dz), xf::ApplyTriangle);
}
void TranslateTetragon(DKv& r, double dx, double dy, double dz) {
    Run(r, xf::Translation(dx, dy, dz), xf::ApplyTetragon);
}
void TranslateXOY(DXOY& r, double dx, double dy, double dz) { Run(r, xf::Translation(dx, dy, dz), xf::ApplyXOY); }
void TranslatePyramid3(DPi3& r, double dx, double dy, double dz) {
    Run(r, xf::Translation(dx, dy, dz), xf::ApplyPyramid3);
}
void TranslatePyramid4(DPi4& r, double dx, double dy, double dz) {
    Run(r, xf::Translation(dx, dy, dz), xf::ApplyPyramid4);
}
void TranslatePrism3(DPr3& r, double dx, double dy, double dz) { Run(r, xf::Translation(dx, dy, dz), xf::ApplyPrism3); }
void TranslatePrism4(DPr4& r, double dx, double dy, double dz) { Run(r, xf::Translation(dx, dy, dz), xf::ApplyPrism4); }
void TranslateXYZ(DXZ& r, double dx, double dy, double dz) { Run(r, xf::Translation(dx, dy, dz), xf::ApplyXYZ); }


// Rotate family
void RotatePoint(DPoint& r, double cx, double cy, double cz, double nx, double ny, double nz, double angle) {
    Run(r, xf::Rotation(cx, cy, cz, nx, ny, nz, angle), xf::ApplyPoint);
}
void RotateLine(DLine& r, double cx, double cy, double cz, double nx, double ny, double nz, double angle) {
    Run(r, xf::Rotation(cx, cy, cz, nx, ny, nz, angle), xf::ApplyLine);
}
void RotateCircle(DCircle& r, double cx, double cy, double cz, double nx, double ny, double nz, double angle) {
    Run(r, xf::Rotation(cx, cy, cz, nx, ny, nz, angle), xf::ApplyCircle);
}
void RotateTriangle(DTri& r, double cx, double cy, double cz, double nx, double ny, double nz, double angle) {
    Run(r, xf::Rotation(cx, cy, cz, nx, ny, nz, angle), xf::ApplyTriangle);
}
void RotateTetragon(DKv& r, double cx, double cy, double cz, double nx, double ny, double nz, double angle) {
    Run(r, xf::Rotation(cx, cy, cz, nx, ny, nz, angle), xf::ApplyTetragon);
}
void RotateXOY(DXOY& r, double cx, double cy, double cz, double nx, double ny, double nz, double angle) {
    Run(r, xf::Rotation(cx, cy, cz, nx, ny, nz, angle), xf::ApplyXOY);
}
void RotateOrb(DSf& r, double cx, double cy, double cz, double nx, double ny, double nz, double angle) {
    Run(r, xf::Rotation(cx, cy, cz, nx, ny, nz, angle), xf::ApplyOrb);
}
void RotateCylinder(DZi& r, double cx, double cy, double cz, double nx, double ny, double nz, double angle) {
    Run(r, xf::Rotation(cx, cy, cz, nx, ny, nz, angle), xf::ApplyCylinder);
}
void RotateCone(DKo& r, double cx, double cy, double cz, double nx, double ny, double nz, double angle) {
    Run(r, xf::Rotation(cx, cy, cz, nx, ny, nz, angle), xf::ApplyCone);
}
void RotatePyramid3(DPi3& r, double cx, double cy, double cz, double nx, double ny, double nz, double angle) {
    Run(r, xf::Rotation(cx, cy, cz, nx, ny, nz, angle), xf::ApplyPyramid3);
}
void RotatePyramid4(DPi4& r, double cx, double cy, double cz, double nx, double ny, double nz, double angle) {
    Run(r, xf::Rotation(cx, cy, cz, nx, ny, nz, angle), xf::ApplyPyramid4);
}
void RotatePrism3(DPr3& r, double cx, double cy, double cz, double nx, double ny, double nz, double angle) {
    Run(r, xf::Rotation(cx, cy, cz, nx, ny, nz, angle), xf::ApplyPrism3);
}
void RotatePrism4(DPr4& r, double cx, double cy, double cz, double nx, double ny, double nz, double angle) {
    Run(r, xf::Rotation(cx, cy, cz, nx, ny, nz, angle), xf::ApplyPrism4);
}
void RotateXYZ(DXZ& r, double cx, double cy, double cz, double nx, double ny, double nz, double angle) {
    Run(r, xf::Rotation(cx, cy, cz, nx, ny, nz, angle), xf::ApplyXYZ);
}


// Homothety family
void HomothetyPoint(DPoint& r, double cx, double cy, double cz, double k) {
    Run(r, xf::Homothety(cx, cy, cz, k), xf::ApplyPoint);
}
void HomothetyLine(DLine& r, double cx, double cy, double cz, double k) {
    Run(r, xf::Homothety(cx, cy, cz, k), xf::ApplyLine);
}
void HomothetyCircle(DCircle& r, double cx, double cy, double cz, double k) {
    Run(r, xf::Homothety(cx, cy, cz, k), xf::ApplyCircle);
}
void HomothetyTriangle(DTri& r, double cx, double cy, double cz, double k) {
    Run(r, xf::Homothety(cx, cy, cz, k), xf::ApplyTriangle);
}
void HomothetyTetragon(DKv& r, double cx, double cy, double cz, double k) {
    Run(r, xf::Homothety(cx, cy, cz, k), xf::ApplyTetragon);
}
void HomothetyXOY(DXOY& r, double cx, double cy, double cz, double k) {
    Run(r, xf::Homothety(cx, cy, cz, k), xf::ApplyXOY);
}
void HomothetyOrb(DSf& r, double cx, double cy, double cz, double k) {
    Run(r, xf::Homothety(cx, cy, cz, k), xf::ApplyOrb);
}
void HomothetyCylinder(DZi& r, double cx, double cy, double cz, double k) {
    Run(r, xf::Homothety(cx, cy, cz, k), xf::ApplyCylinder);
}
void HomothetyCone(DKo& r, double cx, double cy, double cz, double k) {
    Run(r, xf::Homothety(cx, cy, cz, k), xf::ApplyCone);
}
void HomothetyPyramid3(DPi3& r, double cx, double cy, double cz, double k) {
    Run(r, xf::Homothety(cx, cy, cz, k), xf::ApplyPyramid3);
}
void HomothetyPyramid4(DPi4& r, double cx, double cy, double cz, double k) {
    Run(r, xf::Homothety(cx, cy, cz, k), xf::ApplyPyramid4);
}
void HomothetyPrism3(DPr3& r, double cx, double cy, double cz, double k) {
    Run(r, xf::Homothety(cx, cy, cz, k), xf::ApplyPrism3);
}
void HomothetyPrism4(DPr4& r, double cx, double cy, double cz, double k) {
    Run(r, xf::Homothety(cx, cy, cz, k), xf::ApplyPrism4);
}
void HomothetyXYZ(DXZ& r, double cx, double cy, double cz, double k) {
    Run(r, xf::Homothety(cx, cy, cz, k), xf::ApplyXYZ);
}


// CentralSym family
void CentralSymPoint(DPoint& r, double cx, double cy, double cz) { Run(r, xf::CentralSym(cx, cy, cz), xf::ApplyPoint); }
void CentralSymLine(DLine& r, double cx, double cy, double cz) { Run(r, xf::CentralSym(cx, cy, cz), xf::ApplyLine); }
void CentralSymCircle(DCircle& r, double cx, double cy, double cz) {
    Run(r, xf::CentralSym(cx, cy, cz), xf::ApplyCircle);
}
void CentralSymTriangle(DTri& r, double cx, double cy, double cz) {
    Run(r, xf::CentralSym(cx, cy, cz), xf::ApplyTriangle);
}
void CentralSymTetragon(DKv& r, double cx, double cy, double cz) {
    Run(r, xf::CentralSym(cx, cy, cz), xf::ApplyTetragon);
}
void CentralSymXOY(DXOY& r, double cx, double cy, double cz) { Run(r, xf::CentralSym(cx, cy, cz), xf::ApplyXOY); }
void CentralSymOrb(DSf& r, double cx, double cy, double cz) { Run(r, xf::CentralSym(cx, cy, cz), xf::ApplyOrb); }
void CentralSymCylinder(DZi& r, double cx, double cy, double cz) {
    Run(r, xf::CentralSym(cx, cy, cz), xf::ApplyCylinder);
}
void CentralSymCone(DKo& r, double cx, double cy, double cz) { Run(r, xf::CentralSym(cx, cy, cz), xf::ApplyCone); }
void CentralSymPyramid3(DPi3& r, double cx, double cy, double cz) {
    Run(r, xf::CentralSym(cx, cy, cz), xf::ApplyPyramid3);
}
void CentralSymPyramid4(DPi4& r, double cx, double cy, double cz) {
    Run(r, xf::CentralSym(cx, cy, cz), xf::ApplyPyramid4);
}
void CentralSymPrism3(DPr3& r, double cx, double cy, double cz) { Run(r, xf::CentralSym(cx, cy, cz), xf::ApplyPrism3); }
void CentralSymPrism4(DPr4& r, double cx, double cy, double cz) { Run(r, xf::CentralSym(cx, cy, cz), xf::ApplyPrism4); }
void CentralSymXYZ(DXZ& r, double cx, double cy, double cz) { Run(r, xf::CentralSym(cx, cy, cz), xf::ApplyXYZ); }


// AxialSym family
void AxialSymPoint(DPoint& r, double px, double py, double pz, double vx, double vy, double vz) {
    Run(r, xf::AxialSym(px, py, pz, vx, vy, vz), xf::ApplyPoint);
}
void AxialSymLine(DLine& r, double px, double py, double pz, double vx, double vy, double vz) {
    Run(r, xf::AxialSym(px, py, pz, vx, vy, vz), xf::ApplyLine);
}
void AxialSymCircle(DCircle& r, double px, double py, double pz, double vx, double vy, double vz) {
    Run(r, xf::AxialSym(px, py, pz, vx, vy, vz), xf::ApplyCircle);
}
void AxialSymTriangle(DTri& r, double px, double py, double pz, double vx, double vy, double vz) {
    Run(r, xf::AxialSym(px, py, pz, vx, vy, vz), xf::ApplyTriangle);
}
void AxialSymTetragon(DKv& r, double px, double py, double pz, double vx, double vy, double vz) {
    Run(r, xf::AxialSym(px, py, pz, vx, vy, vz), xf::ApplyTetragon);
}
void AxialSymXOY(DXOY& r, double px, double py, double pz, double vx, double vy, double vz) {
    Run(r, xf::AxialSym(px, py, pz, vx, vy, vz), xf::ApplyXOY);
}
void AxialSymOrb(DSf& r, double px, double py, double pz, double vx, double vy, double vz) {
    Run(r, xf::AxialSym(px, py, pz, vx, vy, vz), xf::ApplyOrb);
}
void AxialSymCylinder(DZi& r, double px, double py, double pz, double vx, double vy, double vz) {
    Run(r, xf::AxialSym(px, py, pz, vx, vy, vz), xf::ApplyCylinder);
}
void AxialSymCone(DKo& r, double px, double py, double pz, double vx, double vy, double vz) {
    Run(r, xf::AxialSym(px, py, pz, vx, vy, vz), xf::ApplyCone);
}
void AxialSymPyramid3(DPi3& r, double px, double py, double pz, double vx, double vy, double vz) {
    Run(r, xf::AxialSym(px, py, pz, vx, vy, vz), xf::ApplyPyramid3);
}
void AxialSymPyramid4(DPi4& r, double px, double py, double pz, double vx, double vy, double vz) {
    Run(r, xf::AxialSym(px, py, pz, vx, vy, vz), xf::ApplyPyramid4);
}
void AxialSymPrism3(DPr3& r, double px, double py, double pz, double vx, double vy, double vz) {
    Run(r, xf::AxialSym(px, py, pz, vx, vy, vz), xf::ApplyPrism3);
}
void AxialSymPrism4(DPr4& r, double px, double py, double pz, double vx, double vy, double vz) {
    Run(r, xf::AxialSym(px, py, pz, vx, vy, vz), xf::ApplyPrism4);
}
void AxialSymXYZ(DXZ& r, double px, double py, double pz, double vx, double vy, double vz) {
    Run(r, xf::AxialSym(px, py, pz, vx, vy, vz), xf::ApplyXYZ);
}


// MirrorSym family
void MirrorSymPoint(DPoint& r, double a, double b, double c, double d) {
    Run(r, xf::MirrorSym(a, b, c, d), xf::ApplyPoint);
}
void MirrorSymLine(DLine& r, double a, double b, double c, double d) {
    Run(r, xf::MirrorSym(a, b, c, d), xf::ApplyLine);
}
void MirrorSymCircle(DCircle& r, double a, double b, double c, double d) {
    Run(r, xf::MirrorSym(a, b, c, d), xf::ApplyCircle);
}
void MirrorSymTriangle(DTri& r, double a, double b, double c, double d) {
    Run(r, xf::MirrorSym(a, b, c, d), xf::ApplyTriangle);
}
void MirrorSymTetragon(DKv& r, double a, double b, double c, double d) {
    Run(r, xf::MirrorSym(a, b, c, d), xf::ApplyTetragon);
}
void MirrorSymXOY(DXOY& r, double a, double b, double c, double d) { Run(r, xf::MirrorSym(a, b, c, d), xf::ApplyXOY); }
void MirrorSymOrb(DSf& r, double a, double b, double c, double d) { Run(r, xf::MirrorSym(a, b, c, d), xf::ApplyOrb); }
void MirrorSymCylinder(DZi& r, double a, double b, double c, double d) {
    Run(r, xf::MirrorSym(a, b, c, d), xf::ApplyCylinder);
}
void MirrorSymCone(DKo& r, double a, double b, double c, double d) { Run(r, xf::MirrorSym(a, b, c, d), xf::ApplyCone); }
void MirrorSymPyramid3(DPi3& r, double a, double b, double c, double d) {
    Run(r, xf::MirrorSym(a, b, c, d), xf::ApplyPyramid3);
}
void MirrorSymPyramid4(DPi4& r, double a, double b, double c, double d) {
    Run(r, xf::MirrorSym(a, b, c, d), xf::ApplyPyramid4);
}
void MirrorSymPrism3(DPr3& r, double a, double b, double c, double d) {
    Run(r, xf::MirrorSym(a, b, c, d), xf::ApplyPrism3);
}
void MirrorSymPrism4(DPr4& r, double a, double b, double c, double d) {
    Run(r, xf::MirrorSym(a, b, c, d), xf::ApplyPrism4);
}
void MirrorSymXYZ(DXZ& r, double a, double b, double c, double d) { Run(r, xf::MirrorSym(a, b, c, d), xf::ApplyXYZ); }

}  // namespace pelmar
