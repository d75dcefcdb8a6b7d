#include "editing/fit_new_object.h"

#include <algorithm>
#include <cmath>

#include "drawing/picture_extent.h"
#include "files/document.h"
#include "model/geometry.h"
#include "model/transform.h"
#include "model/update.h"

namespace pelmar {

namespace {

// Picture shift (x right, y down) as a shift of the record, whose picture
// y runs upwards.
void Shift(DPoint& r, double dx, double dy) { PlaneShiftPoint(r, dx, -dy); }
void Shift(DLine& r, double dx, double dy) { PlaneShiftLine(r, dx, -dy); }
void Shift(DCircle& r, double dx, double dy) { PlaneShiftCircle(r, dx, -dy); }
void Shift(DTri& r, double dx, double dy) { PlaneShiftTriangle(r, dx, -dy); }
void Shift(DKv& r, double dx, double dy) { PlaneShiftTetragon(r, dx, -dy); }
void Shift(DXOY& r, double dx, double dy) { PlaneShiftXOY(r, dx, -dy); }
void Shift(DSf& r, double dx, double dy) { PlaneShiftOrb(r, dx, -dy); }
void Shift(DZi& r, double dx, double dy) { PlaneShiftCylinder(r, dx, -dy); }
void Shift(DKo& r, double dx, double dy) { PlaneShiftCone(r, dx, -dy); }
void Shift(DPi3& r, double dx, double dy) { PlaneShiftPyramid3(r, dx, -dy); }
void Shift(DPi4& r, double dx, double dy) { PlaneShiftPyramid4(r, dx, -dy); }
void Shift(DPr3& r, double dx, double dy) { PlaneShiftPrism3(r, dx, -dy); }
void Shift(DPr4& r, double dx, double dy) { PlaneShiftPrism4(r, dx, -dy); }
void Shift(DXZ& r, double dx, double dy) { PlaneShiftXYZ(r, dx, -dy); }

// The ends of an axis drawn k times as long from the system's centre.
void ShortenAxis(DLine& axis, Vec3 c, double k) {
    for (DPoint* end : {&axis.P1, &axis.P2}) {
        double x = end->X.v, y = end->Y.v, z = end->Z.v;
        ScaleFromCentre(x, y, z, c.x, c.y, c.z, k);
        SetPos(*end, {x, y, z});
        ProjectPoint(*end);
    }
}

// Scales by k about the picture point (x, y) (y down): the point of the
// picture plane there is the 3D point (0, x, height - y).
void Scale(DPoint&, double, double, double, double) {}
void Scale(DLine& r, double cx, double cz, double k, double) { HomothetyLine(r, 0, cx, cz, k); }
void Scale(DCircle& r, double cx, double cz, double k, double) { HomothetyCircle(r, 0, cx, cz, k); }
void Scale(DTri& r, double cx, double cz, double k, double) { HomothetyTriangle(r, 0, cx, cz, k); }
void Scale(DKv& r, double cx, double cz, double k, double) { HomothetyTetragon(r, 0, cx, cz, k); }
void Scale(DSf& r, double cx, double cz, double k, double) { HomothetyOrb(r, 0, cx, cz, k); }
void Scale(DZi& r, double cx, double cz, double k, double) { HomothetyCylinder(r, 0, cx, cz, k); }
void Scale(DKo& r, double cx, double cz, double k, double) { HomothetyCone(r, 0, cx, cz, k); }
void Scale(DPi3& r, double cx, double cz, double k, double) { HomothetyPyramid3(r, 0, cx, cz, k); }
void Scale(DPi4& r, double cx, double cz, double k, double) { HomothetyPyramid4(r, 0, cx, cz, k); }
void Scale(DPr3& r, double cx, double cz, double k, double) { HomothetyPrism3(r, 0, cx, cz, k); }
void Scale(DPr4& r, double cx, double cz, double k, double) { HomothetyPrism4(r, 0, cx, cz, k); }
// A coordinate system keeps its scale and shows fewer units.
void Scale(DXOY& r, double, double, double k, double) {
    const Vec3 c = Pos(r.Center);
    ShortenAxis(r.AxisX, c, k);
    ShortenAxis(r.AxisY, c, k);
    r.Curves.Valid = 0;
    UpdateXOY(r, 0);
}
void Scale(DXZ& r, double, double, double k, double) {
    const Vec3 c = Pos(r.Center);
    ShortenAxis(r.AxisX, c, k);
    ShortenAxis(r.AxisY, c, k);
    ShortenAxis(r.AxisZ, c, k);
    for (auto& curves : r.Curves) curves.Valid = 0;
    for (auto& o : r.Outlines) o.Lines.Valid = 0;
    UpdateXYZ(r, 0);
}

// The whole-pixel shift that brings [lo, hi] into [m, size - m], or centres
// it when it is wider than that.
double Into(double lo, double hi, double size, double m) {
    if (hi - lo > size - 2 * m) return std::round((size - lo - hi) / 2);
    if (lo < m) return std::ceil(m - lo);
    if (hi > size - m) return std::floor(size - m - hi);
    return 0;
}

}  // namespace

double FitMargin(const DImProj& im) { return std::clamp(std::min(im.Width, im.Height) / 40.0, 2.0, 12.0); }

template <class R>
void FitIntoPicture(R& rec, const DImProj& im) {
    const double w = im.Width, h = im.Height, m = FitMargin(im);
    if (!(w > 2 * m) || !(h > 2 * m)) return;
    // The moves and scalings change the object's own points: it is then made
    // what its document's file gives back, its derived points recomputed as
    // the reader recomputes them, so that a save and a reopening keep it.
    bool changed = false;
    // Labels keep their size while the figure shrinks: a few rounds.
    for (int round = 0; round < 6; ++round) {
        const std::optional<RectF> box = PictureExtent(rec, im);
        if (!box) break;
        const double k = std::min((w - 2 * m) / std::max(box->w, 1.0), (h - 2 * m) / std::max(box->h, 1.0));
        if (k >= 1) break;
        const PointF c = box->center();
        Scale(rec, c.x, h - c.y, std::max(k * 0.97, 0.05), h);
        UpdateAsRead(rec);
        changed = true;
    }
    if (const std::optional<RectF> box = PictureExtent(rec, im)) {
        const double dx = Into(box->x, box->x + box->w, w, m), dy = Into(box->y, box->y + box->h, h, m);
        if (dx != 0 || dy != 0) {
            Shift(rec, dx, dy);
            changed = true;
        }
    }
    if (changed) ObjectAsReadBack(rec, im);
}

template void FitIntoPicture(DPoint&, const DImProj&);
template void FitIntoPicture(DLine&, const DImProj&);
template void FitIntoPicture(DCircle&, const DImProj&);
template void FitIntoPicture(DTri&, const DImProj&);
template void FitIntoPicture(DKv&, const DImProj&);
template void FitIntoPicture(DXOY&, const DImProj&);
template void FitIntoPicture(DSf&, const DImProj&);
template void FitIntoPicture(DZi&, const DImProj&);
template void FitIntoPicture(DKo&, const DImProj&);
template void FitIntoPicture(DPi3&, const DImProj&);
template void FitIntoPicture(DPi4&, const DImProj&);
template void FitIntoPicture(DPr3&, const DImProj&);
template void FitIntoPicture(DPr4&, const DImProj&);
template void FitIntoPicture(DXZ&, const DImProj&);

}  // namespace pelmar
