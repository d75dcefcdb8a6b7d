// Type rules of the tetragon and the typed height.
//
// The rules move vertices 2, 3 and 4 (end 1 of sides 2, 3 and 4) in 3D only;
// the tetragon update copies the vertices into the side ends and projects
// them afterwards.  The side byte keeps the opposite side on the chosen side
// of side 1: the rules read vertex 3's picture position as it stood before
// they moved it.

#include <cmath>

#include "model/construct.h"
#include "model/geometry.h"

namespace pelmar {

namespace {

Vec3 Vertex(const DKv& k, int i) { return Pos(k.S[static_cast<std::size_t>(i)].P1); }
void SetVertex(DKv& k, int i, Vec3 v) { SetPos(k.S[static_cast<std::size_t>(i)].P1, v); }

// True when the side byte asks for the other side than the one vertex 3 lies on.
bool MirrorWanted(const DKv& k) {
    const double s = SideOfLine(k.S[3].P1, k.S[1]);
    return (k.Side3.v == 0 && s < 0) || (k.Side3.v == 1 && s > 0);
}

// The in-plane perpendicular to side 1, pointing towards vertex 3: (a × b) × a.
Vec3 PerpToSide1(const DKv& k) {
    const Vec3 v1 = Vertex(k, 1);
    const Vec3 a = Vertex(k, 2) - v1;
    const Vec3 b = Vertex(k, 3) - v1;
    return Cross(Cross(a, b), a);
}

}  // namespace

void KvMakeSquare(DKv& k) {
    const bool mirror = MirrorWanted(k);
    const Vec3 v1 = Vertex(k, 1), v2 = Vertex(k, 2);
    const Vec3 m = PerpToSide1(k);
    const double mn = Norm(m);
    if (mn < 1e-6) {
        // Side 1 without length or vertex 3 on its line: nothing to stand on.
        SetVertex(k, 2, v1);
        SetVertex(k, 3, v1);
        SetVertex(k, 4, v1);
        return;
    }
    const double s = Norm(v2 - v1);
    const Vec3 off = m * ((mirror ? -s : s) / mn);
    SetVertex(k, 3, v2 + off);
    SetVertex(k, 4, v1 + off);
}

void KvMakeRectangle(DKv& k) {
    const bool mirror = MirrorWanted(k);
    const Vec3 v1 = Vertex(k, 1), v2 = Vertex(k, 2), v3 = Vertex(k, 3);
    const Vec3 m = PerpToSide1(k);
    const double mn = Norm(m);
    if (mn < 1e-6) {
        SetVertex(k, 4, v1);
        return;
    }
    const double s = Norm(v3 - v2);  // side 2 keeps its length
    const Vec3 off = m * ((mirror ? -s : s) / mn);
    SetVertex(k, 3, v2 + off);
    SetVertex(k, 4, v1 + off);
}

void KvMakeRhombus(DKv& k) {
    const bool mirror = MirrorWanted(k);
    k.S[1].Length.v = LineLength(k.S[1]);
    k.S[2].Length.v = LineLength(k.S[2]);
    const Vec3 v1 = Vertex(k, 1), v2 = Vertex(k, 2);
    const Vec3 w = Vertex(k, 3) - v2;
    // Side 2 without length has no direction to stretch: vertex 3 falls onto
    // vertex 2 and vertex 4 onto vertex 1.
    const double len2 = k.S[2].Length.v;
    double f = len2 != 0 ? k.S[1].Length.v / len2 : 0.0;
    if (mirror) f = -f;
    SetVertex(k, 3, v2 + w * f);
    SetVertex(k, 4, v1 + w * f);
}

void KvMakeParallelogram(DKv& k) {
    const bool mirror = MirrorWanted(k);
    const Vec3 v1 = Vertex(k, 1), v2 = Vertex(k, 2);
    const Vec3 w = Vertex(k, 3) - v2;
    if (mirror) {
        SetVertex(k, 3, v2 - w);
        SetVertex(k, 4, v1 - w);
    } else {
        SetVertex(k, 4, v1 + w);
    }
}

void KvMakeTrapezium(DKv& k) {
    const bool mirror = MirrorWanted(k);
    const Vec3 v1 = Vertex(k, 1), v2 = Vertex(k, 2), v3 = Vertex(k, 3), v4 = Vertex(k, 4);
    const Vec3 base = v1 - v2;
    const double bn = Norm(base);
    const double f = bn != 0 ? Norm(v3 - v4) / bn : 0.0;
    SetVertex(k, 4, v3 + base * f);
    if (mirror) {
        for (int i : {3, 4}) {
            DPoint r = k.S[static_cast<std::size_t>(i)].P1;
            ReflectPointInLine(k.S[static_cast<std::size_t>(i)].P1, k.S[1], r);
            SetVertex(k, i, Pos(r));
        }
    }
}

void KvSetHeight(DKv& k) {
    const Vec3 v1 = Vertex(k, 1);
    const Vec3 d = Vertex(k, 2) - v1;
    for (int i : {4, 3}) {
        const Vec3 v = Vertex(k, i);
        double fx = 0, fy = 0, fz = 0;
        IntersectLinePlane(fx, fy, fz, v1, d, d.x, d.y, d.z, -Dot(d, v));
        double x = 0, y = 0, z = 0;
        PointAtDistance(x, y, z, {fx, fy, fz}, v, k.Height.v);
        SetVertex(k, i, {x, y, z});
    }
}

}  // namespace pelmar
