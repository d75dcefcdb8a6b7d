// The shift and rotation of one graph of a coordinate system.  The curve output
// moves finished curves with it, and TransformFormula rewrites a surface
// formula so that the surface follows it.
#pragma once

namespace pelmar {

struct GraphTransform {
    bool Moved = false;
    double DX = 0, DY = 0, DZ = 0;  // the shift
    bool Rotated = false;
    double Angle = 0;               // degrees
    double CX = 0, CY = 0, CZ = 0;  // a point of the rotation axis
    double NX = 0, NY = 0, NZ = 1;  // the axis direction (not normalised)
};

}  // namespace pelmar
