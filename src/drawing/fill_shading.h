// The light of a fill: the flat colour of a figure under a vector light, and
// the colour of each pixel under a point light, from the figure's plane and
// the project's shading settings.
#pragma once

#include <array>
#include <memory>

#include "model/records.h"
#include "model/shading.h"

namespace pelmar {

class FillShading {
public:
    // (a, b, c, d): the plane a·x + b·y + c·z + d = 0 of the figure; (a, b, c)
    // is also its normal.
    FillShading(const DFill& fill, const DImProj& im, double a, double b, double c, double d);

    bool pointLight() const { return pointLight_; }
    // The one colour of the whole fill: the light direction of a vector
    // light, or the position of a point light, against the normal.
    TColor flat() const { return flat_; }
    // The colour of pixel (x, y) of the screen picture under the point light:
    // the plane's point seen there, lit from the light's position.
    TColor at(int x, int y) const;

private:
    DFill fill_;
    double a_, b_, c_, d_;
    double percent_;
    bool twoColours_;
    int border_;
    bool pointLight_;
    int height_;
    std::array<double, 3> light_;
    long double invSqrt8_;
    long double den_;  // the plane's value along the viewing direction
    TColor flat_;
    std::shared_ptr<const ShadeTable> table_;  // under a point light
};

// The pixels (x0..x1, y0..y1) of a box given by its edges, clipped to a
// picture of w x h; false when nothing of it lies on the picture.
bool ClipPixelBox(double left, double top, double right, double bottom, int w, int h, int& x0, int& y0, int& x1,
                  int& y1);

}  // namespace pelmar
