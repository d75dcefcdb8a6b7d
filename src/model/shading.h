// Shading and screen-ellipse geometry shared by the updates and the painters
// of shaded bodies.  IsZero, NearlyEqual and SolveQuadratic live in geometry.h.
//
// The viewing ray of a picture point (px, py) is (t, px + t/sqrt8, py + t/sqrt8);
// a larger t is nearer to the viewer.  Every routine with output arguments sets
// them all to 0 first, so an output that a case does not reach stays 0.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/geometry.h"

namespace pelmar {

// Status codes of CalcScreenEllipse.
enum : std::uint8_t {
    ScreenEllipseOk = 0,
    ScreenEllipseNoConic = 4,        // the five-point conic was not found
    ScreenEllipseNegativeAxis = 5,   // a squared semi-axis came out negative
    ScreenEllipseComplex = 6,        // complex eigenvalues (rounding only)
    ScreenEllipseZeroU = 11,         // first semi-diameter of zero length
    ScreenEllipseZeroW = 12,         // second semi-diameter of zero length
    ScreenEllipseParallel = 13,      // the two semi-diameters are parallel
};

// Projects the 3D ellipse p0 + u·cos θ + w·sin θ (u = p1 − p0, w = p2 − p0) onto
// the picture.  On status 0: (cx, cy) the projection of p0, r1 the major and r2 the
// minor picture semi-axis, angle the direction of r1 in radians, and a..f the
// conic x² + b·xy + c·y² + d·x + e·y + f = 0 (a = 1) through the projected outline.
std::uint8_t CalcScreenEllipse(const std::array<double, 3>& p0, const std::array<double, 3>& p1,
                               const std::array<double, 3>& p2, double& cx, double& cy, double& r1,
                               double& r2, double& angle, double& a, double& b, double& c, double& d,
                               double& e, double& f);

// Colour of one shaded pixel with outward normal (nx, ny, nz) and the light vector:
// a gradient over the angle between them from c1 through c2 (to c3 with three
// colours, split at percent of border).  border is 90 (both sides alike) or 180.
TColor ShadeColor(TColor c1, TColor c2, TColor c3, double nx, double ny, double nz,
                  const std::array<double, 3>& light, double percent, bool twoColours, int border);

// ShadeColor for one fill and one set of shading settings, without an arc
// cosine per pixel: the colour depends only on the cosine between normal and
// light, and steps at a few hundred cosines at most.  The table holds the
// cosines where a colour channel steps, each with a narrow guard band, and
// the colour between them; a cosine inside a guard band is shaded the slow
// way.  at() gives exactly ShadeColor's colour.
class ShadeTable {
public:
    ShadeTable(TColor c1, TColor c2, TColor c3, double percent, bool twoColours, int border);

    TColor at(double nx, double ny, double nz, const std::array<double, 3>& light) const;

private:
    TColor c1_, c2_, c3_;
    double percent_;
    bool twoColours_;
    int border_;
    bool exactOnly_ = false;     // settings the table does not cover
    TColor flat_ = 0;            // the colour at angle 0 (no light, or no shading border)
    std::vector<Ext> steps_;     // cosines where the colour may step, ascending
    std::vector<TColor> colours_;  // colours_[k]: between steps_[k - 1] and steps_[k]
    // The same steps as doubles, for the cosine worked out in doubles, and
    // for each of kBuckets equal parts of -1..1 the number of steps below it.
    static constexpr int kBuckets = 256;
    std::vector<double> fastSteps_;
    std::array<std::uint16_t, kBuckets + 1> bucketStart_{};
    bool fast_ = false;
};

// The table of one set of colours and settings, shared: the tables asked for
// last on this thread are kept, so that the fills of a drawing with the same
// colours and settings build theirs once.
std::shared_ptr<const ShadeTable> SharedShadeTable(TColor c1, TColor c2, TColor c3, double percent,
                                                   bool twoColours, int border);

// Visible point of a sphere (centre, radius r) on the ray of (px, py).
void RayHitSphere(double& x, double& y, double& z, double cx, double cy, double cz, double r, double px,
                  double py);
// Visible point of an upright cylinder round the vertical line through (cx, cy);
// cz does not enter the test.
void RayHitCylinder(double& x, double& y, double& z, double cx, double cy, double cz, double r, double px,
                    double py);
// Point of the elliptic cone with vertex (cx, cy, cz) and semi-axes sa, sb, sc on the
// ray: the near side, or the far side when far is set.
void RayHitCone(double& x, double& y, double& z, double cx, double cy, double cz, double sa, double sb,
                double sc, double px, double py, bool far);

// Visible point of a cylinder whose axis is tilted by theta (radians) about the
// tilt axis through the pivot; (cx, cy) and r describe the upright cylinder.
void RayHitTiltedCylinder(double& x, double& y, double& z, double cx, double cy, double r,
                          const std::array<double, 3>& pivot, std::array<double, 3> tiltAxis, double theta,
                          double px, double py);
// The same for a cone with vertex (cx, cy, cz) and horizontal and vertical
// semi-axes r and h when upright; far = 1 takes the far side of the surface.
void RayHitTiltedCone(double& x, double& y, double& z, double cx, double cy, double cz, double r, double h,
                      const std::array<double, 3>& pivot, std::array<double, 3> tiltAxis, double theta,
                      double px, double py, std::uint8_t far);

}  // namespace pelmar
