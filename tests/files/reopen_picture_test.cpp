// A drawing saved and opened again draws as before, pixel for pixel: every
// kind, fills, and 3D systems with surfaces, outlines and shaded surfaces,
// with the companion files beside the document or without them.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <type_traits>

#include "doc_fixture.h"
#include "support/fake_redraw_host.h"
#include "drawing/redraw.h"
#include "files/document.h"
#include "model/defaults.h"
#include "model/transform.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

// A 3D system with a shaded sphere (its outline traced with the surface's
// second-order switch as given) and a saddle with its outline and sections.
DXZ SurfaceSystem(int i, std::uint8_t secondOrder, double shift) {
    DXZ x = NumberedXYZ(i);
    for (DPoint* p : {&x.Center, &x.AxisX.P1, &x.AxisX.P2, &x.AxisY.P1, &x.AxisY.P2, &x.AxisZ.P1, &x.AxisZ.P2})
        PlacedPoint(*p, p->X.v, p->Y.v + shift, p->Z.v);
    x.Layer.v = 1;
    x.Thick.v = 1;
    x.Scale.v = 10;
    x.SurfOn[4].v = true;
    x.Surf[4].s = "x^2+y^2+z^2-16";
    for (std::size_t k = 1; k <= 2; ++k) {
        DSection& s = x.Sections[3][1][k];
        s.On.v = true;
        s.C.v = k == 1 ? -4 : 4;
        for (std::size_t b = 0; b < 4; ++b) s.Bounds[b].v = b % 2 ? 4 : -4;
    }
    DOutLine& o = x.Outlines[3];
    o.On = true;
    o.X1 = 0, o.Y1 = 0, o.X2 = 800, o.Y2 = 600;
    o.Step1 = 10;
    o.Step2 = 3;
    o.FitMode = secondOrder;
    o.GradientOn = true;
    o.Colors = {0x2060F0, 0x20C040, 0xF04020};
    x.SurfOn[1].v = true;
    x.Surf[1].s = "x^2/8-y^2/8";
    for (std::size_t k = 1; k <= 3; ++k) {
        DSection& s = x.Sections[1][3][k];
        s.On.v = true;
        s.C.v = static_cast<double>(k) - 2;
        for (std::size_t b = 0; b < 4; ++b) s.Bounds[b].v = b % 2 ? 3 : -3;
    }
    x.Outlines[1].On = true;
    x.Outlines[1].X2 = 800;
    x.Outlines[1].Y2 = 600;
    x.Outlines[1].FitMode = secondOrder;
    for (std::size_t s = 1; s <= 4; ++s) {
        x.SurfThick[s].v = 1;
        x.SurfColorIndex[s].v = static_cast<std::int32_t>(s);
        x.Style[s].Visible.v = 1;
        x.Style[s].Hidden.v = 2;
        x.Style[s].Dash.v = 4;
        x.Style[s].Gap.v = 4;
    }
    UpdateXYZ(x, 0);
    return x;
}

// Every kind but the 3D system, two of each: the plane kinds of the file
// tests, with two of the 2D system's graphs on, and the solids from their
// built-in defaults, the second one of each moved aside with its fill on.
std::unique_ptr<DProj> EveryKindDocument() {
    auto d = DocumentOfEveryKind(2);
    d->Obj.Xz.resize(0);
    ForEachStore(d->Obj, [](auto& store) {
        for (std::size_t n = 1; n <= store.count(); ++n) {
            if (store[n].Layer.v == 0) store[n].Layer.v = 1;
            if (store[n].Thick.v == 0) store[n].Thick.v = 1;
        }
    });
    for (std::size_t n = 1; n <= d->Obj.Xy.count(); ++n)
        for (std::size_t g = 1; g <= 2; ++g) {
            d->Obj.Xy[n].GraphOn[g].v = true;
            d->Obj.Xy[n].GraphThick[g].v = 1;
        }
    const DefaultsSource src;
    auto solids = [&](auto& store, auto load, auto shift) {
        store.resize(0);
        for (int n = 1; n <= 2; ++n) {
            std::remove_cvref_t<decltype(store[1])> r;
            load(r, n, src);
            if (n == 2) {
                shift(r, 60.0, 40.0);
                r.Fill.On = true;
                r.Fill.Colors = {0xF0C080, 0x80F0C0, 0xC080F0};
            }
            store.add(r);
        }
    };
    DSubProj& o = d->Obj;
    solids(o.Sf, LoadDefaultOrb, PlaneShiftOrb);
    solids(o.Zi, LoadDefaultCylinder, PlaneShiftCylinder);
    solids(o.Ko, LoadDefaultCone, PlaneShiftCone);
    solids(o.I3, LoadDefaultPyramid3, PlaneShiftPyramid3);
    solids(o.I4, LoadDefaultPyramid4, PlaneShiftPyramid4);
    solids(o.R3, LoadDefaultPrism3, PlaneShiftPrism3);
    solids(o.R4, LoadDefaultPrism4, PlaneShiftPrism4);
    ProcessAfterReading(*d, nullptr);
    return d;
}

// The picture of a full redraw, as the drawing window shows it.
QImage Redraw(DProj& doc, DrawingState& st) {
    FakeRedrawHost host;
    RepaintProject(doc, st, host, RedrawMode::Window, true);
    return st.DrawBitmap.convertToFormat(QImage::Format_RGB32);
}

int DifferentPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return -1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

}  // namespace

TEST(ReopenedPicture, EveryKindDrawsAsBefore) {
    struct Case {
        const char* name;
        bool everyKind;     // all fourteen kinds, fills among them (the fill picture is used)
        std::uint8_t secondOrder;
        bool companions;    // the curves file and fill picture stay beside the document
    } cases[] = {
        {"3D systems, with companions", false, 1, true},
        {"3D systems, without companions", false, 1, false},
        {"every kind, with companions", true, 1, true},
        {"every kind, without companions", true, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto doc = c.everyKind ? EveryKindDocument() : NewDocument();
        doc->Obj.Xz.add(SurfaceSystem(1, c.secondOrder, 250));
        doc->Obj.Xz.add(SurfaceSystem(2, 0, 400));

        // Drawn once to compute curves and shading, then as the user sees it.
        DrawingState before;
        Redraw(*doc, before);
        const QImage shown = Redraw(*doc, before);

        TempDir dir;
        const std::string name = dir.file("Drawing.pel");
        DocumentContext save;
        save.BackPng = &before.BackPng;
        save.DecimalSeparator = ',';
        ASSERT_TRUE(WriteDocument(name, *doc, WriteModeDocument, save));
        if (!c.companions) {
            std::filesystem::remove(dir.file("Drawing.cur"));
            std::filesystem::remove(dir.file("Drawing.grd.png"));
        }

        auto back = NewDocument();
        DrawingState after;
        DocumentContext open;
        open.Proj = back.get();
        open.BackPng = &after.BackPng;
        std::uint8_t version = 0;
        ASSERT_EQ(ReadDocument(name, *back, version, ReadModeOpen, open), ReadOk);
        EXPECT_EQ(back->Obj.Xz[1].Outlines[3].FitMode, c.secondOrder);
        const QImage reopened = Redraw(*back, after);
        EXPECT_EQ(DifferentPixels(shown, reopened), 0);
        if (std::getenv("PELMAR_KEEP_PICTURES")) {
            shown.save(QString("reopen_%1_before.png").arg(&c - cases));
            reopened.save(QString("reopen_%1_after.png").arg(&c - cases));
        }
    }
}
