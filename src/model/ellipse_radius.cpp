// Placing the outer end of an ellipse's radius segment on its outline.
#include <cmath>
#include <numbers>

#include "model/construct.h"
#include "model/geometry.h"

namespace pelmar {

void PlaceEllipseRadius(DCircle& c, int k) {
    constexpr Ext pi = std::numbers::pi_v<Ext>;
    DLine& r = c.R[static_cast<std::size_t>(k)];
    const Ext t = (static_cast<Ext>(r.Angle.v) - c.Tilt.v) * pi / 180.0L;
    const Ext a = c.A.v, b = c.B.v;

    // Distance from the centre to the outline in the direction t (measured
    // from axis a): with c := cos² of the eccentric angle, r² = a²c + b²(1 − c).
    Ext share = 0;
    if (t != pi / 2 && t != -pi / 2 && b != 0) {
        const Ext tn = std::tan(t);
        share = 1.0L / (a * a * tn * tn / (b * b) + 1.0L);
        if (!std::isfinite(share)) share = 0;
    }
    const Ext dist = std::sqrt(std::fabs(a * a * share + b * b * (1.0L - share)));

    r.P1.ScrX.v = c.Center.ScrX.v;
    r.P1.ScrY.v = c.Center.ScrY.v;
    r.P2.ScrX.v = static_cast<double>(r.P1.ScrX.v + dist * std::cos(t));
    r.P2.ScrY.v = static_cast<double>(r.P1.ScrY.v + dist * std::sin(t));
    PlaneRotatePoint(r.P2, c.Center.ScrX.v, c.Center.ScrY.v, c.Tilt.v);
}

}  // namespace pelmar
