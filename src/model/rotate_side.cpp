// Turning a vertex of a triangle or tetragon about a neighbouring vertex so
// that the interior angle there takes the typed value.
#include <cmath>
#include <numbers>

#include "model/construct.h"
#include "model/geometry.h"

namespace pelmar {

namespace {

constexpr Ext kPi = std::numbers::pi_v<Ext>;

struct Corner {
    Vec3 c, q, p;  // the angle's vertex, its fixed neighbour, the vertex that moves
    double angle = 0;
};

bool PickCorner(const DTri& t, const DKv& k, int kind, int which, Corner& r) {
    if (kind == 1) {
        const Vec3 v1 = Pos(t.S[1].P1), v2 = Pos(t.S[2].P1), v3 = Pos(t.S[3].P1);
        switch (which) {
            case 1: r = {v1, v2, v3, t.Ang[1].v}; return true;
            case 2: r = {v2, v1, v3, t.Ang[2].v}; return true;
            case 3: r = {v3, v1, v2, t.Ang[3].v}; return true;
            default: return false;
        }
    }
    if (kind == 2) {
        const Vec3 v1 = Pos(k.S[1].P1), v2 = Pos(k.S[2].P1), v3 = Pos(k.S[3].P1), v4 = Pos(k.S[4].P1);
        switch (which) {
            case 1: r = {v1, v2, v4, k.Ang[1].v}; return true;
            case 2: r = {v2, v1, v3, k.Ang[2].v}; return true;
            default: return false;
        }
    }
    return false;
}

}  // namespace

void RotateSideToAngle(const DTri& t, const DKv& k, int kind, double& x, double& y, double& z, int c) {
    Corner r;
    if (!PickCorner(t, k, kind, c, r)) return;
    x = r.p.x;
    y = r.p.y;
    z = r.p.z;

    const Vec3 u = r.p - r.c;
    const Vec3 w = r.q - r.c;
    const Ext lu = Norm(u), lw = Norm(w);
    // With two vertices on one place the angle is not defined: nothing moves.
    if (lu * lw == 0) return;

    // Axis: the normal of the plane of the three vertices.  Collinear
    // vertices span no plane; they are turned about the picture normal
    // (depth axis) made perpendicular to the side, or about Z when the side
    // itself runs along the depth axis.
    Vec3 n = Cross(r.c - r.q, r.p - r.q);
    Ext ln = Norm(n);
    if (ln == 0) {
        const Vec3 d = u * (1.0 / static_cast<double>(lu));
        n = Vec3{1, 0, 0} - d * d.x;
        ln = Norm(n);
        if (ln < 1e-9L) {
            n = {0, 0, 1};
            ln = 1;
        }
    }
    const Ext nx = n.x / ln, ny = n.y / ln, nz = n.z / ln;

    const Ext current = static_cast<Ext>(SafeArcCos(static_cast<double>(Dot(u, w) / (lu * lw)))) * 180.0L / kPi;
    const Ext delta = static_cast<Ext>(r.angle) - current;
    const Ext phi = -delta * kPi / 180.0L;
    const Ext cs = std::cos(phi), sn = std::sin(phi), one = 1 - cs;

    // Rodrigues' rotation matrix about (nx, ny, nz).
    const Ext m11 = nx * nx * one + cs, m12 = nx * ny * one - nz * sn, m13 = nx * nz * one + ny * sn;
    const Ext m21 = ny * nx * one + nz * sn, m22 = ny * ny * one + cs, m23 = ny * nz * one - nx * sn;
    const Ext m31 = nz * nx * one - ny * sn, m32 = nz * ny * one + nx * sn, m33 = nz * nz * one + cs;
    x = static_cast<double>(r.c.x + m11 * u.x + m12 * u.y + m13 * u.z);
    y = static_cast<double>(r.c.y + m21 * u.x + m22 * u.y + m23 * u.z);
    z = static_cast<double>(r.c.z + m31 * u.x + m32 * u.y + m33 * u.z);
}

}  // namespace pelmar
