// How a typed value reshapes a sphere, a cylinder or a cone: the sphere's
// centre in the picture, its radius and its section planes; the radius and
// the height of a cylinder or cone.  Each rule takes the record and gives the
// reshaped one, or nothing when the body cannot take the value; the caller's
// record then stays as it was.  The derived parts are left to the kind's
// update procedure, which the commit runs.
#pragma once

#include <optional>

#include "model/records.h"

namespace pelmar {

// The smallest radius and height a body keeps (the updates raise anything
// smaller to it); a typed value below it is refused, so that the base circle
// never collapses onto its centre and loses its plane.
inline constexpr double SmallestRoundSize = 1.0;

// A new picture X (xCoord) or picture Y of the sphere's centre: the centre's
// 3D Y or Z moves by the same amount, to three decimals; the depth stays.
// Nothing when that coordinate would leave the range of a double.
std::optional<DSf> OrbWithCentre(DSf s, bool xCoord, double picture);
std::optional<DSf> OrbWithRadius(DSf s, double radius);

// A value typed for section plane 1..7: a component of its normal or its
// distance from the centre.  Refused when it is no finite number, or when it
// would leave the normal too short to give the plane a direction (a zero
// normal): the plane keeps its previous values.
enum class SectionField { NormalX, NormalY, NormalZ, Distance };
std::optional<DSf> OrbWithPlane(DSf s, int plane, SectionField which, double value);

// The radius, with the base's two stored outline points moved to it along
// their directions from the base's centre (a point on the centre stays).
std::optional<DZi> CylinderWithRadius(DZi z, double radius);
std::optional<DKo> ConeWithRadius(DKo k, double radius);

// The height: the axis keeps its direction and takes the new length; the
// upper base's centre (the apex) goes to the axis' new end.  An axis of
// length zero has no direction: it is rebuilt along the base's normal.
std::optional<DZi> CylinderWithHeight(DZi z, double height);
std::optional<DKo> ConeWithHeight(DKo k, double height);

}  // namespace pelmar
