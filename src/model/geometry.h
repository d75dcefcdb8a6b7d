// Projection and geometry primitives of the oblique projection, with their
// fixed tolerances; the point-in-figure tests; the point moves.
//
// Axes: X is the depth axis, Y points right, Z up.  A 3D point (X, Y, Z) is
// drawn at picture (Y - X/sqrt8, Z - X/sqrt8).  "Extended" arithmetic is long
// double (80-bit on x86-64).
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <utility>

#include "model/records.h"

namespace pelmar {

using Ext = long double;

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, double k) { return {a.x * k, a.y * k, a.z * k}; }
inline double Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 Cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double Norm(Vec3 a) { return std::sqrt(Dot(a, a)); }

// The 3D position of a point record, and writing one back (picture position untouched).
inline Vec3 Pos(const DPoint& p) { return {p.X.v, p.Y.v, p.Z.v}; }
inline void SetPos(DPoint& p, Vec3 v) {
    p.X.v = v.x;
    p.Y.v = v.y;
    p.Z.v = v.z;
}

// sqrt(8), taken at run time in extended precision.
Ext Sqrt8();

// Round half to even, and to 0.001.  rint rounds in the current rounding
// mode, which the program never changes from round-to-nearest-even; unlike
// nearbyint it compiles to one instruction (nearbyint saves and restores the
// floating-point environment on every call).
inline double Round(double x) { return std::rint(x); }
inline long double RoundL(long double x) { return std::rint(x); }
inline double Round3(double x) { return std::rint(1000.0 * x) / 1000.0; }

// x as a document file keeps it: rounded to fifteen significant digits, the
// digits the writer puts down.  A value computed from such values is computed
// again the same from the file.
double AsFiled(double x);

// |x| < 1e-5, and |a - b| < 1e-5.
inline bool IsZero(double x) { return std::fabs(static_cast<Ext>(x)) < 1e-5L; }
inline bool NearlyEqual(double a, double b) { return IsZero(a - b); }

// Real roots of A·x² + B·x + C = 0: returns 0, 1 or 2, or 5 when A = B = C = 0.
std::uint8_t SolveQuadratic(Ext& x1, Ext& x2, Ext a, Ext b, Ext c);

double SafeArcCos(double x);

// Where ProjectPoint puts the point in the picture (ScrX, ScrY).
std::pair<double, double> ScreenPlace(const DPoint& p);
void ProjectPoint(DPoint& p);
// The picture X (xCoord) or Y of p made exactly `place`: its 3D Y or Z is set
// at its depth so that the point is seen there, not moved by a difference
// from its rounded picture position, so no fraction of a pixel stays.  The
// point moves parallel to the picture and is projected again.
void SetPicturePlace(DPoint& p, bool xCoord, double place);
void ProjectXYZ(Ext& sx, Ext& sy, Ext x, Ext y, Ext z);

void SolveCramer2(const std::array<double, 6>& s, std::array<double, 2>& r);
bool SolveLinear2(const std::array<double, 6>& s, std::array<double, 2>& r);
bool SolveLinear3(std::array<std::array<Ext, 4>, 3> m, std::array<Ext, 3>& x);
bool SolveLinear5(std::array<std::array<Ext, 6>, 5> m, std::array<Ext, 5>& x);
void SwapExt(Ext& a, Ext& b);
double Det3(double a, double b, double c, double d, double e, double f, double g, double h, double i);

void PointAtDistance(double& x, double& y, double& z, Vec3 p, Vec3 q, double dist);

double SideOfLine(const DPoint& p, const DLine& l);
double SideOfLineXY(double px, double py, double x1, double y1, double x2, double y2);

double PlaneValue(Vec3 p, double a, double b, double c, double d);
void PlaneBy3Points(Vec3 p1, Vec3 p2, Vec3 p3, double& a, double& b, double& c, double& d);
bool InsideHexahedron(const std::array<Vec3, 8>& corners, Vec3 t);  // corners C1..C8 at [0..7]

// Picture distance from P to the line through L's ends; when the ends share
// one picture position, the picture distance from P to that position.
double DistPointLine(const DPoint& p, const DLine& l);
double DistPointPlane(const DPoint& p, const DPoint& a, const DPoint& b, const DPoint& c);
void ReflectPointInLine(const DPoint& p, const DLine& l, DPoint& r);

// Crossing of the picture lines P1 + t·d1 and P2 + s·d2.  The outputs start at
// P1; false (outputs left at P1) when the lines are parallel.
bool IntersectLines2D(double& x, double& y, double p1x, double p1y, double d1x, double d1y, double p2x,
                      double p2y, double d2x, double d2y);
// Meeting point of the 3D lines P1 + t·d1 and P2 + s·d2, from the first pair of
// coordinates (xy, xz, yz) whose 2 x 2 determinant exceeds 0.001.  A zero
// direction, or two directions both along one axis, give the midpoint of P1
// and P2.  The outputs are in-out: when no pair of coordinates determines the
// crossing (parallel lines off the axes) they keep the caller's values and the
// result is false, so callers set them to their fallback first.
bool IntersectLines3D(double& x, double& y, double& z, Vec3 p1, Vec3 d1, Vec3 p2, Vec3 d2);
void UnprojectToPlane(double& x, double& y, double& z, Vec3 p1, Vec3 d, Vec3 p3, double sx, double sy);
bool IntersectLinePlane(double& x, double& y, double& z, Vec3 p, Vec3 d, double a, double b, double c,
                        double dd);
bool IntersectPlanes(double& x, double& y, double& z, double& dx, double& dy, double& dz, double a1,
                     double b1, double c1, double d1, double a2, double b2, double c2, double d2);
bool IntersectLineSphere(double& x1, double& y1, double& z1, double& x2, double& y2, double& z2, Vec3 p,
                         Vec3 d, Vec3 centre, double r);
bool PointBehindTriangle(const DTri& t, Vec3 p);
bool PointBehindTetragon(const DKv& k, Vec3 p);

// Point-in-figure tests on picture pixels (boundary inside).
bool PtInEllipse(int x, int y, double cx, double cy, double a, double b, double cosT, double sinT);
bool PtInTriangle(int x, int y, double x1, double y1, double x2, double y2, double x3, double y3);
bool PtInQuad(int x, int y, double x1, double y1, double x2, double y2, double x3, double y3, double x4,
              double y4);
bool PtInTriRec(int x, int y, const DTri& t);
bool PtInKvRec(int x, int y, const DKv& k);

// Point moves.
void RotateAroundAxis(double& x, double& y, double& z, double cx, double cy, double cz, double angle,
                      double nx, double ny, double nz);
void MoveByVector(double& x, double& y, double& z, double dx, double dy, double dz);
void PlaneRotatePoint(DPoint& p, double cx, double cy, double angle);
void ReflectInPlane(double& x, double& y, double& z, double a, double b, double c, double d);

}  // namespace pelmar
