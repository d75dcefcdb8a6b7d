// Ellipses, triangles and tetragons for the figure painter tests.
#pragma once

#include <QImage>
#include <array>

#include "model/geometry.h"
#include "model/update.h"
#include "paint_fixture.h"

namespace pelmar::test {

// An ellipse parallel to the picture, centred on the document position
// (x, y), with a hidden centre mark and its radius segments off.
inline DCircle MakeEllipse(double x, double y, double a, double b, int thick = 1, TColor colour = Blue) {
    DCircle c;
    c.Center = MakePoint(x, y, 1, 0, colour);
    c.A.v = a;
    c.B.v = b;
    c.Thick.v = thick;
    c.Color.v = colour;
    c.Layer.v = 1;
    c.ViewType.v = 1;
    c.Dash.v = 6;
    c.Gap.v = 3;
    c.PA = 1;  // the plane X = 0
    for (auto& r : c.R) r = MakeLine(x, y, x + a, y, thick, colour);
    return c;
}

// Fill colours 1..3 and the project's light for the fill tests.
inline void SetFill(DFill& f, TColor c1 = Red, TColor c2 = Green, TColor c3 = Blue) {
    f.On = true;
    f.Colors = {c1, c2, c3};
}

// The thickness of a figure's circles and inner lines, which its update
// leaves to the dialogs.
inline void PartThickness(DTri& t, int thick) {
    for (auto& c : t.Circ) c.Thick.v = thick;
    for (auto& l : t.Lines) l.Thick.v = thick;
}
inline void PartThickness(DKv& k, int thick) {
    for (auto& c : k.Circ) c.Thick.v = thick;
    for (auto& d : k.Diag) d.Thick.v = thick;
}

// A figure from its 3D vertices, computed by its update; with X = 0 for
// every vertex it lies parallel to the picture at picture (Y, Z).
inline DTri MakeTriangle(Vec3 v1, Vec3 v2, Vec3 v3, std::uint8_t colourIndex = 0, int thick = 1) {
    DTri t;
    const std::array<Vec3, 3> v{v1, v2, v3};
    for (std::size_t i = 1; i <= 3; ++i) {
        SetPos(t.S[i].P1, v[i - 1]);
        SetPos(t.S[i].P2, v[i % 3]);
        ProjectPoint(t.S[i].P1);
        ProjectPoint(t.S[i].P2);
        t.S[i].LineType.v = 1;
    }
    t.Typ.v = 4;
    t.View.v = 1;
    t.Layer.v = 1;
    t.Thick.v = thick;
    t.ColorIndex.v = colourIndex;
    for (std::size_t i = 1; i <= 5; ++i) {
        t.LineVertex[i].v = static_cast<std::uint8_t>((i - 1) % 3 + 1);
        t.LineMode[i].v = 1;
        t.LineKind[i].v = static_cast<std::uint8_t>((i - 1) % 3 + 1);
    }
    UpdateTriangle(t, 0, true);
    PartThickness(t, thick);
    return t;
}

inline DKv MakeTetragon(Vec3 v1, Vec3 v2, Vec3 v3, Vec3 v4, std::uint8_t colourIndex = 0, int thick = 1) {
    DKv k;
    const std::array<Vec3, 4> v{v1, v2, v3, v4};
    for (std::size_t i = 1; i <= 4; ++i) {
        SetPos(k.S[i].P1, v[i - 1]);
        SetPos(k.S[i].P2, v[i % 4]);
        ProjectPoint(k.S[i].P1);
        ProjectPoint(k.S[i].P2);
        k.S[i].LineType.v = 1;
    }
    k.Typ.v = 7;
    k.View.v = 1;
    k.Layer.v = 1;
    k.Thick.v = thick;
    k.ColorIndex.v = colourIndex;
    UpdateTetragon(k, 0, true);
    PartThickness(k, thick);
    return k;
}

// A white picture of w x h for the fill tests.
inline QImage WhiteImage(int w, int h) {
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    return img;
}

// The colour of a pixel as the document writes colours.
inline TColor PixelColour(const QImage& img, int x, int y) {
    const QRgb p = img.pixel(x, y);
    return static_cast<TColor>(qRed(p) | (qGreen(p) << 8) | (qBlue(p) << 16));
}

}  // namespace pelmar::test
