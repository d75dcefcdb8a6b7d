#include "drawing/polyhedron_paint.h"

#include <vector>

#include "drawing/fill_inputs.h"
#include "drawing/line_paint.h"
#include "drawing/orb_paint.h"
#include "drawing/polygon_paint.h"
#include "model/flip.h"
#include "platform/raster_surface.h"

namespace pelmar {

namespace {

// One face of a body: a triangle or a tetragon of the record.
struct FaceRef {
    const DTri* tri = nullptr;
    const DKv* kv = nullptr;

    FaceRef(const DTri& t) : tri(&t) {}
    FaceRef(const DKv& k) : kv(&k) {}  

    Vec3 testPoint() const { return tri ? FaceTestPoint(*tri) : FaceTestPoint(*kv); }
    bool hides(Vec3 p) const { return tri ? PointBehindTriangle(*tri, p) : PointBehindTetragon(*kv, p); }

    void fill(const DFill& bodyFill, const DImProj& im, RasterSurface& surface) const {
        if (tri) {
            DTri face = *tri;
            face.Fill.Colors = bodyFill.Colors;
            FillTriangleOnCanvas(face, im, surface);
        } else {
            DKv face = *kv;
            face.Fill.Colors = bodyFill.Colors;
            FillTetragonOnCanvas(face, im, surface);
        }
    }
};

// Fills, in order, every face whose test point no other face of the body hides.
void FillVisibleFaces(const std::vector<FaceRef>& faces, const DFill& fill, const DImProj& im,
                      RasterSurface& surface) {
    for (std::size_t i = 0; i < faces.size(); ++i) {
        const Vec3 t = faces[i].testPoint();
        bool hidden = false;
        for (std::size_t j = 0; j < faces.size() && !hidden; ++j)
            if (j != i) hidden = faces[j].hides(t);
        if (!hidden) faces[i].fill(fill, im, surface);
    }
}

template <class Body>
bool FillsOnPel(const Body& rec, const PaintTarget& target) {
    return target.is(TargetKind::Pel) && rec.Fill.On && target.raster;
}

void DrawFaceParts(const DTri& f, int part, const DImProj& im, const PaintTarget& target) {
    DrawTriangleParts(f, part, im, target);
}
void DrawFaceParts(const DKv& f, int part, const DImProj& im, const PaintTarget& target) {
    DrawTetragonParts(f, part, im, target);
}

template <class Body>
void DrawSpheres(const Body& b, int part, const DImProj& im, const PaintTarget& target) {
    if (b.OutSphereOn.v) DrawOrbOutline(b.OutSphere, part, im, target);
    if (b.InSphereOn.v) DrawOrbOutline(b.InSphere, part, im, target);
}

template <class Base, std::size_t N>
void DrawPyramid(const DPyramid<Base, N>& rec, const DImProj& im, const PaintTarget& target, int pass,
                 void (*flip)(DPyramid<Base, N>&, std::uint8_t, std::int32_t)) {
    if (pass == 1) {
        if (!FillsOnPel(rec, target)) return;
        const DPyramid<Base, N> body = FillOnly(rec);
        std::vector<FaceRef> faces;
        for (std::size_t i = 1; i <= N; ++i) faces.emplace_back(body.Face[i]);
        faces.emplace_back(body.Base);
        FillVisibleFaces(faces, body.Fill, im, *target.raster);
        return;
    }
    if (pass != 2) return;
    DPyramid<Base, N> p = rec;
    flip(p, FlipToScreen, im.Height);
    for (int part = 0; part <= 1; ++part) {
        DrawFaceParts(p.Base, part, im, target);
        for (std::size_t i = 1; i <= N; ++i) DrawTriangleParts(p.Face[i], part, im, target);
        if (p.HeightOn.v) DrawLineElement(p.HeightLine, part, im, target);
        DrawSpheres(p, part, im, target);
    }
}

template <class Base, std::size_t N>
void DrawPrism(const DPrism<Base, N>& rec, const DImProj& im, const PaintTarget& target, int pass,
               void (*flip)(DPrism<Base, N>&, std::uint8_t, std::int32_t)) {
    if (pass == 1) {
        if (!FillsOnPel(rec, target)) return;
        const DPrism<Base, N> body = FillOnly(rec);
        std::vector<FaceRef> faces;
        for (std::size_t i = 1; i <= N; ++i) faces.emplace_back(body.Side[i]);
        faces.emplace_back(body.Base[1]);
        faces.emplace_back(body.Base[2]);
        FillVisibleFaces(faces, body.Fill, im, *target.raster);
        return;
    }
    if (pass != 2) return;
    DPrism<Base, N> p = rec;
    flip(p, FlipToScreen, im.Height);
    for (int part = 0; part <= 1; ++part) {
        DrawFaceParts(p.Base[1], part, im, target);
        DrawFaceParts(p.Base[2], part, im, target);
        for (std::size_t i = 1; i <= N; ++i) DrawTetragonParts(p.Side[i], part, im, target);
        DrawSpheres(p, part, im, target);
    }
}

template <class Face>
Vec3 TestPointOf(const Face& f) {
    const Vec3 v1 = Pos(f.S[1].P1), v2 = Pos(f.S[2].P1), v3 = Pos(f.S[3].P1);
    return ((v1 + v2) * 0.5 + v3) * 0.5;
}

}  // namespace

Vec3 FaceTestPoint(const DTri& face) { return TestPointOf(face); }
Vec3 FaceTestPoint(const DKv& face) { return TestPointOf(face); }

void DrawPyramid3(const DPi3& rec, const DImProj& im, const PaintTarget& target, int pass) {
    DrawPyramid(rec, im, target, pass, FlipYPyramid3);
}
void DrawPyramid4(const DPi4& rec, const DImProj& im, const PaintTarget& target, int pass) {
    DrawPyramid(rec, im, target, pass, FlipYPyramid4);
}
void DrawPrism3(const DPr3& rec, const DImProj& im, const PaintTarget& target, int pass) {
    DrawPrism(rec, im, target, pass, FlipYPrism3);
}
void DrawPrism4(const DPr4& rec, const DImProj& im, const PaintTarget& target, int pass) {
    DrawPrism(rec, im, target, pass, FlipYPrism4);
}

}  // namespace pelmar
