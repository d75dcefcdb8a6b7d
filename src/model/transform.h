// Transformations of single points and of whole object records.
//
// The point primitives move one 3D position in place.  The families apply one
// transformation to every defining point of a record and of its parts, fix up
// the few scalar fields the move invalidates and, for most kinds, run the
// kind's update procedure.  Members never fail and touch only the record they
// are given; the caller runs the dependency pass, the commit and the redraw.
//
// Arguments that describe no transformation leave the record as it is: a
// rotation axis of length 1e-5 or less, a homothety factor of 0, an axial
// symmetry axis without direction, or any argument that is not finite.
#pragma once

#include "model/records.h"
#include "model/translate.h"

namespace pelmar {

// Point primitives (RotateAroundAxis, MoveByVector, PlaneRotatePoint and
// ReflectInPlane are declared in geometry.h).
void ScaleFromCentre(double& x, double& y, double& z, double cx, double cy, double cz, double k);
void ReflectInCentre(double& x, double& y, double& z, double cx, double cy, double cz);
void ReflectInAxis(double& x, double& y, double& z, double px, double py, double pz, double vx, double vy,
                   double vz);
void ReflectCoordsInPlane(double& x, double& y, double& z, double a, double b, double c, double d);

// In-plane shift by (dx, dy) picture pixels, without reprojection and without
// any update.
void PlaneShiftPoint(DPoint& p, double dx, double dy);
void PlaneShiftLine(DLine& l, double dx, double dy);
void PlaneShiftCircle(DCircle& c, double dx, double dy);
void PlaneShiftTriangle(DTri& t, double dx, double dy);
void PlaneShiftTetragon(DKv& k, double dx, double dy);
void PlaneShiftXOY(DXOY& x, double dx, double dy);
void PlaneShiftOrb(DSf& s, double dx, double dy);
void PlaneShiftCylinder(DZi& z, double dx, double dy);
void PlaneShiftCone(DKo& k, double dx, double dy);
void PlaneShiftPyramid3(DPi3& p, double dx, double dy);
void PlaneShiftPyramid4(DPi4& p, double dx, double dy);
void PlaneShiftPrism3(DPr3& p, double dx, double dy);
void PlaneShiftPrism4(DPr4& p, double dx, double dy);
void PlaneShiftXYZ(DXZ& x, double dx, double dy);

// Translation by a 3D vector (TranslateCircle, TranslateOrb, TranslateCylinder
// and TranslateCone are declared in translate.h).
void TranslatePoint(DPoint& p, double dx, double dy, double dz);
void TranslateLine(DLine& l, double dx, double dy, double dz);
void TranslateTriangle(DTri& t, double dx, double dy, double dz);
void TranslateTetragon(DKv& k, double dx, double dy, double dz);
void TranslateXOY(DXOY& x, double dx, double dy, double dz);
void TranslatePyramid3(DPi3& p, double dx, double dy, double dz);
void TranslatePyramid4(DPi4& p, double dx, double dy, double dz);
void TranslatePrism3(DPr3& p, double dx, double dy, double dz);
void TranslatePrism4(DPr4& p, double dx, double dy, double dz);
void TranslateXYZ(DXZ& x, double dx, double dy, double dz);

// Rotation by angle degrees about the axis through C with direction N.
#define PELMAR_ROTATE_ARGS double cx, double cy, double cz, double nx, double ny, double nz, double angle
void RotatePoint(DPoint& p, PELMAR_ROTATE_ARGS);
void RotateLine(DLine& l, PELMAR_ROTATE_ARGS);
void RotateCircle(DCircle& c, PELMAR_ROTATE_ARGS);
void RotateTriangle(DTri& t, PELMAR_ROTATE_ARGS);
void RotateTetragon(DKv& k, PELMAR_ROTATE_ARGS);
void RotateXOY(DXOY& x, PELMAR_ROTATE_ARGS);
void RotateOrb(DSf& s, PELMAR_ROTATE_ARGS);
void RotateCylinder(DZi& z, PELMAR_ROTATE_ARGS);
void RotateCone(DKo& k, PELMAR_ROTATE_ARGS);
void RotatePyramid3(DPi3& p, PELMAR_ROTATE_ARGS);
void RotatePyramid4(DPi4& p, PELMAR_ROTATE_ARGS);
void RotatePrism3(DPr3& p, PELMAR_ROTATE_ARGS);
void RotatePrism4(DPr4& p, PELMAR_ROTATE_ARGS);
void RotateXYZ(DXZ& x, PELMAR_ROTATE_ARGS);
#undef PELMAR_ROTATE_ARGS

// Homothety with centre C and factor k.
void HomothetyPoint(DPoint& p, double cx, double cy, double cz, double k);
void HomothetyLine(DLine& l, double cx, double cy, double cz, double k);
void HomothetyCircle(DCircle& c, double cx, double cy, double cz, double k);
void HomothetyTriangle(DTri& t, double cx, double cy, double cz, double k);
void HomothetyTetragon(DKv& kv, double cx, double cy, double cz, double k);
void HomothetyXOY(DXOY& x, double cx, double cy, double cz, double k);
void HomothetyOrb(DSf& s, double cx, double cy, double cz, double k);
void HomothetyCylinder(DZi& z, double cx, double cy, double cz, double k);
void HomothetyCone(DKo& ko, double cx, double cy, double cz, double k);
void HomothetyPyramid3(DPi3& p, double cx, double cy, double cz, double k);
void HomothetyPyramid4(DPi4& p, double cx, double cy, double cz, double k);
void HomothetyPrism3(DPr3& p, double cx, double cy, double cz, double k);
void HomothetyPrism4(DPr4& p, double cx, double cy, double cz, double k);
void HomothetyXYZ(DXZ& x, double cx, double cy, double cz, double k);

// Central symmetry in C.
void CentralSymPoint(DPoint& p, double cx, double cy, double cz);
void CentralSymLine(DLine& l, double cx, double cy, double cz);
void CentralSymCircle(DCircle& c, double cx, double cy, double cz);
void CentralSymTriangle(DTri& t, double cx, double cy, double cz);
void CentralSymTetragon(DKv& k, double cx, double cy, double cz);
void CentralSymXOY(DXOY& x, double cx, double cy, double cz);
void CentralSymOrb(DSf& s, double cx, double cy, double cz);
void CentralSymCylinder(DZi& z, double cx, double cy, double cz);
void CentralSymCone(DKo& k, double cx, double cy, double cz);
void CentralSymPyramid3(DPi3& p, double cx, double cy, double cz);
void CentralSymPyramid4(DPi4& p, double cx, double cy, double cz);
void CentralSymPrism3(DPr3& p, double cx, double cy, double cz);
void CentralSymPrism4(DPr4& p, double cx, double cy, double cz);
void CentralSymXYZ(DXZ& x, double cx, double cy, double cz);

// Axial symmetry in the line through P with direction V.
#define PELMAR_AXIS_ARGS double px, double py, double pz, double vx, double vy, double vz
void AxialSymPoint(DPoint& p, PELMAR_AXIS_ARGS);
void AxialSymLine(DLine& l, PELMAR_AXIS_ARGS);
void AxialSymCircle(DCircle& c, PELMAR_AXIS_ARGS);
void AxialSymTriangle(DTri& t, PELMAR_AXIS_ARGS);
void AxialSymTetragon(DKv& k, PELMAR_AXIS_ARGS);
void AxialSymXOY(DXOY& x, PELMAR_AXIS_ARGS);
void AxialSymOrb(DSf& s, PELMAR_AXIS_ARGS);
void AxialSymCylinder(DZi& z, PELMAR_AXIS_ARGS);
void AxialSymCone(DKo& k, PELMAR_AXIS_ARGS);
void AxialSymPyramid3(DPi3& p, PELMAR_AXIS_ARGS);
void AxialSymPyramid4(DPi4& p, PELMAR_AXIS_ARGS);
void AxialSymPrism3(DPr3& p, PELMAR_AXIS_ARGS);
void AxialSymPrism4(DPr4& p, PELMAR_AXIS_ARGS);
void AxialSymXYZ(DXZ& x, PELMAR_AXIS_ARGS);
#undef PELMAR_AXIS_ARGS

// Mirror symmetry in the plane a·x + b·y + c·z + d = 0.
void MirrorSymPoint(DPoint& p, double a, double b, double c, double d);
void MirrorSymLine(DLine& l, double a, double b, double c, double d);
void MirrorSymCircle(DCircle& e, double a, double b, double c, double d);
void MirrorSymTriangle(DTri& t, double a, double b, double c, double d);
void MirrorSymTetragon(DKv& k, double a, double b, double c, double d);
void MirrorSymXOY(DXOY& x, double a, double b, double c, double d);
void MirrorSymOrb(DSf& s, double a, double b, double c, double d);
void MirrorSymCylinder(DZi& z, double a, double b, double c, double d);
void MirrorSymCone(DKo& k, double a, double b, double c, double d);
void MirrorSymPyramid3(DPi3& p, double a, double b, double c, double d);
void MirrorSymPyramid4(DPi4& p, double a, double b, double c, double d);
void MirrorSymPrism3(DPr3& p, double a, double b, double c, double d);
void MirrorSymPrism4(DPr4& p, double a, double b, double c, double d);
void MirrorSymXYZ(DXZ& x, double a, double b, double c, double d);

}  // namespace pelmar
