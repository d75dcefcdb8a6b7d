#include "model/round_reshape.h"

#include <cmath>

#include "model/construct.h"
#include "model/geometry.h"
#include "model/normal_rule.h"

namespace pelmar {

namespace {

bool Takes(double size) { return std::isfinite(size) && size >= SmallestRoundSize; }

Vec3 At(const std::array<double, 3>& a) { return {a[0], a[1], a[2]}; }
std::array<double, 3> Arr(Vec3 v) { return {v.x, v.y, v.z}; }

// The base's two outline points at `radius` from its centre, each along its
// own direction.
void PlaceOutline(DCircle& base, double radius) {
    const Vec3 m = Pos(base.Center);
    for (std::array<double, 3>* q : {&base.Q1, &base.Q2}) {
        Vec3 d = At(*q) - m;
        const double n = Norm(d);
        if (n != 0) d = d * (1 / n);
        *q = Arr(m + d * radius);
    }
}

// The normal of the base's plane through its centre and its outline points,
// towards the side the upper base or the apex is built on.
Vec3 BaseNormal(const DCircle& base) {
    const Vec3 m = Pos(base.Center);
    return Cross(At(base.Q1) - m, At(base.Q2) - m);
}

// The axis from `base` at `height` along its present direction, or along the
// base's normal when it has none; false when neither gives a direction.
bool StretchAxis(DLine& axis, const DCircle& base, double height) {
    SetPos(axis.P1, Pos(base.Center));
    const Vec3 p1 = Pos(axis.P1);
    const bool flat = IsZero(axis.Length.v) || IsZero(Norm(Pos(axis.P2) - p1));
    axis.Length.v = height;
    if (flat) {
        const Vec3 n = BaseNormal(base);
        const double len = Norm(n);
        if (len == 0 || !std::isfinite(len)) return false;
        SetPos(axis.P2, p1 + n * (height / len));
    } else {
        SetLineLength(axis);
    }
    ProjectPoint(axis.P2);
    const DPoint& e = axis.P2;
    return std::isfinite(e.X.v) && std::isfinite(e.Y.v) && std::isfinite(e.Z.v) && std::isfinite(e.ScrX.v) &&
           std::isfinite(e.ScrY.v);
}

}  // namespace

std::optional<DSf> OrbWithCentre(DSf s, bool xCoord, double picture) {
    if (!std::isfinite(picture)) return std::nullopt;
    DPoint& c = s.Center;
    Ed<double>& scr = xCoord ? c.ScrX : c.ScrY;
    Ed<double>& space = xCoord ? c.Y : c.Z;
    // A centre moved beyond the range of a double has no place to go.
    const double moved = Round3(space.v + (picture - scr.v));
    if (!std::isfinite(moved)) return std::nullopt;
    space.v = moved;
    scr.v = picture;
    return s;
}

std::optional<DSf> OrbWithRadius(DSf s, double radius) {
    if (!Takes(radius)) return std::nullopt;
    s.Radius.v = radius;
    return s;
}

std::optional<DSf> OrbWithPlane(DSf s, int plane, SectionField which, double value) {
    if (plane < 1 || plane > 7 || !std::isfinite(value)) return std::nullopt;
    const auto i = static_cast<std::size_t>(plane);
    switch (which) {
        case SectionField::NormalX: s.SecNX[i].v = value; break;
        case SectionField::NormalY: s.SecNY[i].v = value; break;
        case SectionField::NormalZ: s.SecNZ[i].v = value; break;
        case SectionField::Distance: s.SecH[i].v = value; return s;
    }
    // The update takes a normal this short for none and puts (0, 0, 1) in
    // its place; a typed one keeps the normal the plane had.
    if (!NormalHasDirection(s.SecNX[i].v, s.SecNY[i].v, s.SecNZ[i].v)) return std::nullopt;
    return s;
}

std::optional<DZi> CylinderWithRadius(DZi z, double radius) {
    if (!Takes(radius)) return std::nullopt;
    z.Radius.v = radius;
    PlaceOutline(z.Base[1], radius);
    return z;
}

std::optional<DKo> ConeWithRadius(DKo k, double radius) {
    if (!Takes(radius)) return std::nullopt;
    k.Radius.v = radius;
    PlaceOutline(k.Base, radius);
    return k;
}

std::optional<DZi> CylinderWithHeight(DZi z, double height) {
    if (!Takes(height)) return std::nullopt;
    SetPos(z.Axis.P2, Pos(z.Base[2].Center));
    if (!StretchAxis(z.Axis, z.Base[1], height)) return std::nullopt;
    SetPos(z.Base[2].Center, Pos(z.Axis.P2));
    ProjectPoint(z.Base[2].Center);
    return z;
}

std::optional<DKo> ConeWithHeight(DKo k, double height) {
    if (!Takes(height)) return std::nullopt;
    if (!StretchAxis(k.Axis, k.Base, height)) return std::nullopt;
    return k;
}

}  // namespace pelmar
