#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "model/defaults.h"
#include "model/geometry.h"
#include "model/update.h"
#include "record_walk.h"

using namespace pelmar;

namespace {

// A source without default sets: every loader takes its built-in values.
DefaultsSource BuiltIn(std::int32_t pictureHeight = 600) {
    DefaultsSource s;
    s.programFolder = "/nowhere";
    s.pictureHeight = pictureHeight;
    return s;
}

// Collects the picture positions that lie off a width x height picture, and
// the ellipse outlines that reach beyond it.
struct OffPicture {
    double w, h;
    std::vector<std::string> bad;

    void point(const std::string& at, const DPoint& p) {
        if (!(p.ScrX.v >= 0 && p.ScrX.v <= w && p.ScrY.v >= 0 && p.ScrY.v <= h))
            bad.push_back(at + " at (" + std::to_string(p.ScrX.v) + ", " + std::to_string(p.ScrY.v) + ")");
        Ext sx = 0, sy = 0;
        ProjectXYZ(sx, sy, p.X.v, p.Y.v, p.Z.v);
        if (!(sx >= 0 && sx <= w && sy >= 0 && sy <= h))
            bad.push_back(at + " projects to (" + std::to_string(static_cast<double>(sx)) + ", " +
                          std::to_string(static_cast<double>(sy)) + ")");
    }
    void circle(const std::string& at, const DCircle& c) {
        const double r = std::max(std::fabs(c.A.v), std::fabs(c.B.v));
        const double x = c.Center.ScrX.v, y = c.Center.ScrY.v;
        if (!(x - r >= 0 && x + r <= w && y - r >= 0 && y + r <= h)) bad.push_back(at + " outline leaves the picture");
    }
};

template <class R>
std::vector<std::string> OffPictureParts(const R& rec, double w = 800, double h = 600) {
    OffPicture v{w, h, {}};
    test::WalkParts(rec, "", v);
    return v.bad;
}

template <class R>
void ExpectValidOnPicture(const R& rec, const char* kind) {
    const auto nonFinite = test::NonFiniteDoubles(rec);
    EXPECT_TRUE(nonFinite.empty()) << kind << ":" << test::JoinPaths(nonFinite);
    const auto off = OffPictureParts(rec);
    EXPECT_TRUE(off.empty()) << kind << ":" << test::JoinPaths(off);
}

}  // namespace

TEST(BuiltInDefaults, EveryKindIsFiniteAndLiesOnThePicture) {
    const auto src = BuiltIn();
    auto doc = NewDocument();  // records on the heap: the solids are large
    auto& o = doc->Obj;
    ForEachStore(o, [](auto& s) { s.resize(1); });
    LoadDefaultPoint(o.Po[1], 1, src);
    LoadDefaultLine(o.Li[1], 1, src);
    LoadDefaultCircle(o.Ci[1], 1, src);
    LoadDefaultTriangle(o.Tr[1], 1, src);
    LoadDefaultTetragon(o.Kv[1], 1, src);
    LoadDefaultXOY(o.Xy[1], 1, src);
    LoadDefaultOrb(o.Sf[1], 1, src);
    LoadDefaultCylinder(o.Zi[1], 1, src);
    LoadDefaultCone(o.Ko[1], 1, src);
    LoadDefaultPyramid3(o.I3[1], 1, src);
    LoadDefaultPyramid4(o.I4[1], 1, src);
    LoadDefaultPrism3(o.R3[1], 1, src);
    LoadDefaultPrism4(o.R4[1], 1, src);
    LoadDefaultXYZ(o.Xz[1], 1, src);
    ExpectValidOnPicture(o.Po[1], "point");
    ExpectValidOnPicture(o.Li[1], "segment");
    ExpectValidOnPicture(o.Ci[1], "ellipse");
    ExpectValidOnPicture(o.Tr[1], "triangle");
    ExpectValidOnPicture(o.Kv[1], "tetragon");
    ExpectValidOnPicture(o.Xy[1], "2D system");
    ExpectValidOnPicture(o.Sf[1], "sphere");
    ExpectValidOnPicture(o.Zi[1], "cylinder");
    ExpectValidOnPicture(o.Ko[1], "cone");
    ExpectValidOnPicture(o.I3[1], "pyramid3");
    ExpectValidOnPicture(o.I4[1], "pyramid4");
    ExpectValidOnPicture(o.R3[1], "prism3");
    ExpectValidOnPicture(o.R4[1], "prism4");
    ExpectValidOnPicture(o.Xz[1], "3D system");
}

namespace {

// One loader call per record type, for the walks over every kind.
void Load(DPoint& r, int n, const DefaultsSource& s) { LoadDefaultPoint(r, n, s); }
void Load(DLine& r, int n, const DefaultsSource& s) { LoadDefaultLine(r, n, s); }
void Load(DCircle& r, int n, const DefaultsSource& s) { LoadDefaultCircle(r, n, s); }
void Load(DTri& r, int n, const DefaultsSource& s) { LoadDefaultTriangle(r, n, s); }
void Load(DKv& r, int n, const DefaultsSource& s) { LoadDefaultTetragon(r, n, s); }
void Load(DXOY& r, int n, const DefaultsSource& s) { LoadDefaultXOY(r, n, s); }
void Load(DSf& r, int n, const DefaultsSource& s) { LoadDefaultOrb(r, n, s); }
void Load(DZi& r, int n, const DefaultsSource& s) { LoadDefaultCylinder(r, n, s); }
void Load(DKo& r, int n, const DefaultsSource& s) { LoadDefaultCone(r, n, s); }
void Load(DPi3& r, int n, const DefaultsSource& s) { LoadDefaultPyramid3(r, n, s); }
void Load(DPi4& r, int n, const DefaultsSource& s) { LoadDefaultPyramid4(r, n, s); }
void Load(DPr3& r, int n, const DefaultsSource& s) { LoadDefaultPrism3(r, n, s); }
void Load(DPr4& r, int n, const DefaultsSource& s) { LoadDefaultPrism4(r, n, s); }
void Load(DXZ& r, int n, const DefaultsSource& s) { LoadDefaultXYZ(r, n, s); }

}  // namespace

// Each loader names its object after its own kind and writes the common head
// over whatever the slot held.
TEST(BuiltInDefaults, EveryKindTakesItsNameAndHead) {
    const auto src = BuiltIn();
    auto doc = NewDocument();
    std::size_t kind = 0;
    ForEachStore(doc->Obj, [&](auto& store) {
        const KindInfo& info = KindTable[kind++];
        store.resize(1);
        auto& rec = store[1];
        rec.ID.s = "stale";
        rec.Layer.v = 7;
        rec.Thick.v = 9;
        rec.ColorIndex.v = 5;
        rec.Disabled.v = true;
        Load(rec, 7, src);
        EXPECT_EQ(rec.ID.s, std::string(info.namePrefix) + "7") << info.code;
        EXPECT_EQ(rec.Layer.v, 1) << info.code;
        EXPECT_EQ(rec.Thick.v, info.kind == Kind::po ? 2 : 1) << info.code;
        EXPECT_EQ(rec.ColorIndex.v, 0) << info.code;
        EXPECT_FALSE(rec.Disabled.v) << info.code;
    });
}

TEST(BuiltInDefaults, NewPointNumberedThree) {
    DPoint p;
    LoadDefaultPoint(p, 3, BuiltIn());
    EXPECT_EQ(p.ID.s, "Point №3");
    EXPECT_EQ(p.X.v, 0);
    EXPECT_EQ(p.Y.v, 100);
    EXPECT_EQ(p.Z.v, 100);
    EXPECT_EQ(p.ScrX.v, 100);
    EXPECT_EQ(p.ScrY.v, 100);
    EXPECT_EQ(p.Typ.v, 3);
    EXPECT_EQ(p.Radius.v, 4);
    EXPECT_EQ(p.Thick.v, 2);
    EXPECT_EQ(p.Name.s, "A");
    EXPECT_EQ(p.NameFont.s, "Times New Roman");
    EXPECT_TRUE(p.NameItalic.v);
    EXPECT_FALSE(p.NameBold.v);
    EXPECT_EQ(p.NameSize.v, 14);
    EXPECT_EQ(p.IndexFont.s, "Symbol");
    EXPECT_EQ(p.IndexSize.v, 8);
    EXPECT_EQ(p.LabelDist.v, 20);
    EXPECT_EQ(p.LabelAngle.v, -45);
    EXPECT_EQ(p.Layer.v, 1);
    EXPECT_EQ(p.Upper.s, "");
    EXPECT_EQ(p.Lower.s, "");
    EXPECT_FALSE(p.IndexBold.v);
    EXPECT_FALSE(p.IndexItalic.v);
    EXPECT_FALSE(p.Link.linked());
}

TEST(BuiltInDefaults, NamesOfObjectsAndParts) {
    EXPECT_EQ(DefaultName(Kind::zi, 2), "Cylinder №2");
    EXPECT_EQ(DefaultName(Kind::tr, 12), "Trian №12");
    EXPECT_EQ(DefaultName(Kind::xz, 0), " ");
    EXPECT_EQ(DefaultName(Kind::po, -1), " ");

    const auto src = BuiltIn();
    DLine l;
    LoadDefaultLine(l, -1, src);
    EXPECT_EQ(l.ID.s, " ");
    EXPECT_EQ(l.P1.ID.s, " ");
    EXPECT_EQ(l.P2.ID.s, " ");
    auto pyr = std::make_unique<DPi3>();
    LoadDefaultPyramid3(*pyr, 2, src);
    EXPECT_EQ(pyr->ID.s, "Pyramid3 №2");
    EXPECT_EQ(pyr->Base.ID.s, " ");
    EXPECT_EQ(pyr->Face[3].ID.s, " ");
    EXPECT_EQ(pyr->HeightLine.ID.s, " ");
}

TEST(BuiltInDefaults, SegmentHasDifferentArrowAngles) {
    DLine l;
    LoadDefaultLine(l, 1, BuiltIn());
    EXPECT_EQ(l.ID.s, "Line №1");
    EXPECT_EQ(l.Arrow1Angle.v, 15);
    EXPECT_EQ(l.Arrow2Angle.v, 12);
    EXPECT_FALSE(l.Arrow1.v);
    EXPECT_TRUE(l.Arrow2.v);
    EXPECT_EQ(l.Arrow1Len.v, 30);
    EXPECT_EQ(l.Arrow2Len.v, 30);
    EXPECT_EQ(l.LineType.v, 1);
    EXPECT_EQ(l.Dash.v, 5);
    EXPECT_EQ(l.Gap.v, 5);
    EXPECT_EQ(l.Thick.v, 1);
    // The ends are default points.
    EXPECT_EQ(l.P1.Y.v, 100);
    EXPECT_EQ(l.P2.Z.v, 100);
}

TEST(BuiltInDefaults, EllipseIsACircleOfRadiusSeventy) {
    DCircle c;
    LoadDefaultCircle(c, 4, BuiltIn());
    EXPECT_EQ(c.ID.s, "Circle №4");
    EXPECT_NEAR(c.A.v, 70, 1e-9);
    EXPECT_NEAR(c.B.v, 70, 1e-9);
    EXPECT_NEAR(c.A3.v, 70, 1e-9);
    EXPECT_NEAR(c.B3.v, 70, 1e-9);
    EXPECT_TRUE(c.IsCircle.v);
    EXPECT_EQ(c.Tilt.v, 0);
    EXPECT_EQ(Pos(c.Center).y, 100);
    for (std::size_t i = 1; i <= 3; ++i) {
        EXPECT_FALSE(c.ShowR[i].v);
        EXPECT_NEAR(Norm(Pos(c.R[i].P2) - Pos(c.Center)), 70, 0.01) << "radius " << i << " ends on the outline";
    }
}

TEST(BuiltInDefaults, PolygonsTakeTheirTypesAndParts) {
    const auto src = BuiltIn();
    DTri t;
    LoadDefaultTriangle(t, 1, src);
    EXPECT_EQ(t.Typ.v, 4);
    for (std::size_t i = 1; i <= 5; ++i) {
        EXPECT_FALSE(t.LineOn[i].v);
        EXPECT_EQ(t.LineVertex[i].v, 3);
        EXPECT_EQ(t.LineMode[i].v, 1);
        EXPECT_EQ(t.LineKind[i].v, 3);
    }
    EXPECT_FALSE(t.CircOn[1].v);
    EXPECT_EQ(t.S[2].Arrow1Angle.v, 15) << "sides are default segments";
    auto k = std::make_unique<DKv>();
    LoadDefaultTetragon(*k, 1, src);
    EXPECT_EQ(k->Typ.v, 6);
    EXPECT_FALSE(k->CircOn[2].v);
    EXPECT_EQ(k->Center.Name.s, "A") << "the centre is a default point";
}

TEST(BuiltInDefaults, CoordinateSystemsCarryTheirSettings) {
    const auto src = BuiltIn();
    auto x = std::make_unique<DXOY>();
    LoadDefaultXOY(*x, 1, src);
    EXPECT_EQ(x->ScaleX.v, 20);
    EXPECT_EQ(x->ScaleY.v, 20);
    EXPECT_EQ(x->DivX.v, 1);
    EXPECT_EQ(x->DivY.v, 1);
    EXPECT_EQ(x->MarkWidth.v, 1);
    EXPECT_EQ(x->MarkHeight.v, 5);
    EXPECT_FALSE(x->GridOn.v);
    EXPECT_EQ(x->GridThick.v, 1);
    EXPECT_EQ(x->GridStep.v, 2);
    EXPECT_TRUE(x->NumbersOn.v);
    EXPECT_EQ(x->NumberStep.v, 1);
    EXPECT_EQ(x->NumberFont.s, "Symbol");
    EXPECT_FALSE(x->NumbersItalic.v);
    EXPECT_FALSE(x->NumbersBold.v);
    EXPECT_EQ(x->NumberSize.v, 10);
    const std::array<std::string, 6> graphs{"2*sin(x)", "2*eks(x)",     "3*sin(3*x)",
                                            "1+sin(x)", "3*(sin(x))^3", "x^2-y^2-9"};
    for (std::size_t i = 1; i <= 6; ++i) {
        EXPECT_EQ(x->Graph[i].s, graphs[i - 1]) << i;
        EXPECT_FALSE(x->GraphOn[i].v) << i;
        EXPECT_EQ(x->GraphThick[i].v, 1) << i;
        EXPECT_EQ(x->GraphColor[i].v, 0u) << i;
    }
    EXPECT_EQ(x->Graph2.s, "3*(cos(x))^3");
    EXPECT_EQ(x->ParA.v, 0);
    EXPECT_EQ(x->ParB.v, 6.28);
    EXPECT_EQ(x->ParH.v, 0.005);

    auto s = std::make_unique<DXZ>();
    LoadDefaultXYZ(*s, 1, src);
    EXPECT_EQ(s->Scale.v, 20);
    EXPECT_EQ(s->Div.v, 1);
    EXPECT_EQ(s->MarkWidth.v, 1);
    EXPECT_EQ(s->MarkHeight.v, 5);
    EXPECT_TRUE(s->NumbersOn.v);
    EXPECT_EQ(s->NumberStep.v, 1);
    EXPECT_EQ(s->NumberFont.s, "Symbol");
    EXPECT_FALSE(s->NumbersItalic.v);
    EXPECT_FALSE(s->NumbersBold.v);
    EXPECT_EQ(s->NumberSize.v, 10);
    const std::array<std::string, 4> surfaces{"x^2+y^2", "(x^2+y^2)^0.5", "5*sin(x)", "x^2+y^2+z^2-9"};
    for (std::size_t i = 1; i <= 4; ++i) {
        EXPECT_EQ(s->Surf[i].s, surfaces[i - 1]) << i;
        EXPECT_FALSE(s->SurfOn[i].v) << i;
        EXPECT_EQ(s->SurfThick[i].v, 1) << i;
        EXPECT_EQ(s->SurfColor[i].v, 0u) << i;
    }
    EXPECT_EQ(s->Surf3More[1].s, "5*cos(x)");
    EXPECT_EQ(s->Surf3More[2].s, "x/2");
    EXPECT_EQ(s->ParT1.v, 0);
    EXPECT_EQ(s->ParT2.v, 18.84);
    EXPECT_EQ(s->ParH.v, 0.005);
    for (std::size_t a = 1; a <= 3; ++a)
        for (std::size_t b = 1; b <= 3; ++b) {
            const auto& first = s->Sections[a][b][1];
            EXPECT_TRUE(first.On.v);
            EXPECT_EQ(first.Bounds[0].v, -7);
            EXPECT_EQ(first.Bounds[3].v, 7);
            EXPECT_FALSE(s->Sections[a][b][2].On.v);
            EXPECT_EQ(s->Sections[a][b][11].Bounds[1].v, 0);
        }
}

// The coordinate systems, pyramids and prisms are given in the older picture
// orientation and are converted by the picture height, as an older document.
TEST(BuiltInDefaults, OlderOrientationValuesAreConvertedByThePictureHeight) {
    for (std::int32_t h : {600, 1000}) {
        const auto src = BuiltIn(h);
        auto x = std::make_unique<DXOY>();
        LoadDefaultXOY(*x, 1, src);
        EXPECT_EQ(Pos(x->Center).z, -200 + h);
        EXPECT_EQ(x->Center.ScrY.v, -200 + h);
        EXPECT_EQ(x->Center.ScrX.v, 200);

        auto s = std::make_unique<DXZ>();
        LoadDefaultXYZ(*s, 1, src);
        EXPECT_EQ(Pos(s->Center).z, -250 + h);
        EXPECT_EQ(s->AxisZ.P1.Z.v, -450 + h);
        EXPECT_EQ(s->AxisZ.P2.Z.v, -50 + h);
        EXPECT_EQ(s->AxisX.P1.X.v, -300);
        EXPECT_EQ(s->AxisY.P2.Y.v, 450);

        auto p = std::make_unique<DPi3>();
        LoadDefaultPyramid3(*p, 1, src);
        EXPECT_EQ(Pos(p->Base.S[3].P1).z, -200 + h);
        EXPECT_EQ(Pos(p->Base.S[3].P1).x, 100);
        EXPECT_EQ(Pos(p->HeightLine.P2).z, -50 + h);

        auto r = std::make_unique<DPr4>();
        LoadDefaultPrism4(*r, 1, src);
        EXPECT_EQ(Pos(r->Base[1].S[4].P1).z, -200 + h);
        EXPECT_EQ(Pos(r->Base[1].S[4].P1).y, 300);
        // A quadrilateral base keeps vertex 4 at a whole picture pixel: its depth
        // is exact to within one pixel's depth (sqrt 8).
        for (std::size_t k = 1; k <= 4; ++k) {
            const Vec3 d = Pos(r->Base[2].S[k].P1) - Pos(r->Base[1].S[k].P1);
            EXPECT_NEAR(d.x, 30, k == 4 ? 2.83 : 1e-9) << "upper base along the edge (30, 30, 150), vertex " << k;
            EXPECT_NEAR(d.y, 30, 1e-9) << k;
            EXPECT_NEAR(d.z, 150, 1e-9) << k;
        }
        EXPECT_EQ(r->EdgeZ.v, 150);
    }
}

TEST(BuiltInDefaults, SolidsTakeTheirOwnValues) {
    const auto src = BuiltIn();
    auto s = std::make_unique<DSf>();
    LoadDefaultOrb(*s, 1, src);
    EXPECT_EQ(s->View.v, 4);
    EXPECT_NEAR(s->Radius.v, 70, 1e-9);
    EXPECT_TRUE(s->SecOn[3].v);
    EXPECT_FALSE(s->SecOn[4].v);
    EXPECT_TRUE(s->ContourOn.v);

    auto z = std::make_unique<DZi>();
    LoadDefaultCylinder(*z, 1, src);
    EXPECT_EQ(z->View.v, 4);
    EXPECT_TRUE(z->SecOn[2].v);
    EXPECT_FALSE(z->SecOn[1].v);
    EXPECT_FALSE(z->OutSphereOn.v);
    EXPECT_FALSE(z->InSphereOn.v);

    auto k = std::make_unique<DKo>();
    LoadDefaultCone(*k, 1, src);
    EXPECT_EQ(k->View.v, 4);
    EXPECT_TRUE(k->SecOn[2].v);
    EXPECT_FALSE(k->OutSphereOn.v);

    auto p3 = std::make_unique<DPi3>();
    LoadDefaultPyramid3(*p3, 1, src);
    EXPECT_EQ(p3->Orient.v, 1);
    EXPECT_EQ(p3->Typ.v, 3);
    EXPECT_FALSE(p3->OutSphereOn.v);
    EXPECT_FALSE(p3->InSphereOn.v);

    auto p = std::make_unique<DPi4>();
    LoadDefaultPyramid4(*p, 1, src);
    EXPECT_EQ(p->Orient.v, 1);
    EXPECT_EQ(p->Typ.v, 2);
    EXPECT_FALSE(p->OutSphereOn.v);
    EXPECT_FALSE(p->InSphereOn.v);

    auto r = std::make_unique<DPr3>();
    LoadDefaultPrism3(*r, 1, src);
    EXPECT_EQ(r->Typ.v, 2);
    EXPECT_EQ(r->EdgeX.v, 30);
    EXPECT_EQ(r->EdgeY.v, 30);
    EXPECT_EQ(r->EdgeZ.v, 150);
    EXPECT_FALSE(r->OutSphereOn.v);

    auto r4 = std::make_unique<DPr4>();
    LoadDefaultPrism4(*r4, 1, src);
    EXPECT_EQ(r4->Typ.v, 4);
    EXPECT_FALSE(r4->InSphereOn.v);
}

// The height of 100 stands: the parts put both ends of the axis on the default
// point, and the update takes the height from the axis' ends.
TEST(BuiltInDefaults, CylinderAndConeStandOneHundredHigh) {
    const auto src = BuiltIn();
    auto z = std::make_unique<DZi>();
    LoadDefaultCylinder(*z, 1, src);
    EXPECT_NEAR(z->Axis.Length.v, 100, 1e-9);
    const Vec3 axis = Pos(z->Base[2].Center) - Pos(z->Base[1].Center);
    EXPECT_NEAR(axis.z, 100, 1e-9);
    EXPECT_NEAR(z->Radius.v, 70, 1e-9);
    // The base lies flat: its outline points are the radius away in the horizontal plane.
    EXPECT_NEAR(Norm(Vec3{z->Base[1].Q1[0], z->Base[1].Q1[1], z->Base[1].Q1[2]} - Pos(z->Base[1].Center)), 70,
                1e-9);
    EXPECT_EQ(z->Base[1].Q1[2], z->Base[1].Center.Z.v);
    EXPECT_EQ(z->Base[1].Q2[2], z->Base[1].Center.Z.v);

    auto k = std::make_unique<DKo>();
    LoadDefaultCone(*k, 1, src);
    EXPECT_NEAR(k->Axis.Length.v, 100, 1e-9);
    EXPECT_NEAR((Pos(k->Axis.P2) - Pos(k->Base.Center)).z, 100, 1e-9);
    EXPECT_EQ(k->Base.Q1[2], k->Base.Center.Z.v);
}

TEST(BuiltInDefaults, NothingOfTheSlotsFormerObjectSurvives) {
    const auto src = BuiltIn();
    DLine l;
    l.Number = 42;
    l.Selected = true;
    l.SelColor = 0x123456;
    l.P3.Name.s = "stale";
    l.P3.Link.b[0] = 1;
    l.Show4.v = true;
    LoadDefaultLine(l, 1, src);
    EXPECT_EQ(l.Number, 0);
    EXPECT_FALSE(l.Selected);
    EXPECT_EQ(l.SelColor, 0u);
    EXPECT_EQ(l.P3.Name.s, "");
    EXPECT_FALSE(l.P3.Link.linked());
    EXPECT_FALSE(l.Show4.v);

    DCircle c;
    c.Fill.On = true;
    c.CorA1 = 1;
    c.Anim[0] = "x";
    c.Q1 = {1, 2, 3};
    LoadDefaultCircle(c, 1, src);
    EXPECT_FALSE(c.Fill.On);
    EXPECT_EQ(c.CorA1, 0);
    EXPECT_EQ(c.Anim[0], "");
    EXPECT_NEAR(c.A.v, 70, 1e-9) << "the shape does not come from stale semi-diameters";
}

// ---------------------------------------------------------------------------
// Default sets

namespace {

// A document reader that logs what it was asked and answers from a prepared
// document.
struct FakeReader {
    std::shared_ptr<std::vector<std::string>> names = std::make_shared<std::vector<std::string>>();
    std::shared_ptr<DProj> file = NewDocument();
    std::uint8_t result = 0;

    DocumentReader reader() {
        return [names = names, file = file, result = result](const std::string& name, DProj& doc,
                                                              std::uint8_t& version, std::uint8_t mode) {
            names->push_back(name);
            EXPECT_EQ(mode, 1);
            int live = 0;
            ForEachStore(doc.Obj, [&](const auto& s) { live += s.count(); });
            EXPECT_EQ(live, 0) << "the reader is handed a scratch document of its own";
            doc.Obj = file->Obj;
            doc.Im = file->Im;
            version = 12;
            return result;
        };
    }
    DefaultsSource source(std::int32_t pictureHeight = 600) {
        DefaultsSource s;
        s.programFolder = "/opt/pelmar/";
        s.readDocument = reader();
        s.pictureHeight = pictureHeight;
        return s;
    }
};

}  // namespace

TEST(DefaultSets, FileNamesUnderTheProgramFolder) {
    EXPECT_EQ(DefaultSetFile(Kind::po, "/home/u/.local/share/pelmar"),
              "/home/u/.local/share/pelmar/DefaultSet/DePoint.set");
    EXPECT_EQ(DefaultSetFile(Kind::tr, "/p/"), "/p/DefaultSet/DeTriangle.set");
    EXPECT_EQ(DefaultSetFile(Kind::xz, ""), "DefaultSet/DeXYZ.set");

    FakeReader fake;
    fake.result = 1;  // nothing to read: the loaders also ask for their parts' files
    const auto src = fake.source();
    auto check = [&](Kind k, auto load) {
        fake.names->clear();
        load();
        ASSERT_FALSE(fake.names->empty());
        EXPECT_EQ(fake.names->front(), DefaultSetFile(k, "/opt/pelmar/"));
    };
    check(Kind::po, [&] { DPoint r; LoadDefaultPoint(r, 1, src); });
    check(Kind::li, [&] { DLine r; LoadDefaultLine(r, 1, src); });
    EXPECT_EQ(*fake.names, (std::vector<std::string>{"/opt/pelmar/DefaultSet/DeLine.set",
                                                     "/opt/pelmar/DefaultSet/DePoint.set",
                                                     "/opt/pelmar/DefaultSet/DePoint.set"}));
    check(Kind::ci, [&] { DCircle r; LoadDefaultCircle(r, 1, src); });
    check(Kind::tr, [&] { DTri r; LoadDefaultTriangle(r, 1, src); });
    check(Kind::kv, [&] { auto r = std::make_unique<DKv>(); LoadDefaultTetragon(*r, 1, src); });
    check(Kind::xy, [&] { auto r = std::make_unique<DXOY>(); LoadDefaultXOY(*r, 1, src); });
    check(Kind::sf, [&] { auto r = std::make_unique<DSf>(); LoadDefaultOrb(*r, 1, src); });
    check(Kind::zi, [&] { auto r = std::make_unique<DZi>(); LoadDefaultCylinder(*r, 1, src); });
    check(Kind::ko, [&] { auto r = std::make_unique<DKo>(); LoadDefaultCone(*r, 1, src); });
    check(Kind::i3, [&] { auto r = std::make_unique<DPi3>(); LoadDefaultPyramid3(*r, 1, src); });
    check(Kind::i4, [&] { auto r = std::make_unique<DPi4>(); LoadDefaultPyramid4(*r, 1, src); });
    check(Kind::r3, [&] { auto r = std::make_unique<DPr3>(); LoadDefaultPrism3(*r, 1, src); });
    check(Kind::r4, [&] { auto r = std::make_unique<DPr4>(); LoadDefaultPrism4(*r, 1, src); });
    check(Kind::xz, [&] { auto r = std::make_unique<DXZ>(); LoadDefaultXYZ(*r, 1, src); });
}

TEST(DefaultSets, AReadSetBypassesTheBuiltInValuesAndTheUpdate) {
    FakeReader fake;
    fake.file->Obj.Sf.resize(2);
    DSf& filed = fake.file->Obj.Sf[1];
    filed.ID.s = "mine";
    filed.View.v = 2;
    filed.Radius = {false, 33};
    filed.ColorIndex.v = 3;
    filed.Color.v = 0;  // an update would derive it from the index
    filed.Anim = "sin(x)";
    filed.Number = 5;
    fake.file->Obj.Sf[2].Radius.v = 99;  // only the first object counts
    auto s = std::make_unique<DSf>();
    LoadDefaultOrb(*s, 2, fake.source());
    EXPECT_EQ(s->ID.s, "Orb №2");
    EXPECT_EQ(s->View.v, 2);
    EXPECT_EQ(s->Radius.v, 33);
    EXPECT_FALSE(s->Radius.e);
    EXPECT_EQ(s->Color.v, 0u);
    EXPECT_EQ(s->Anim, "sin(x)");
    EXPECT_EQ(s->Number, 5);
}

TEST(DefaultSets, AFileWithoutAnObjectOfTheKindGivesTheBuiltInValues) {
    FakeReader fake;  // every file read holds just one point
    fake.file->Obj.Po.resize(1);
    fake.file->Obj.Po[1].Typ.v = 2;
    fake.file->Obj.Po[1].Radius.v = 9;
    DLine l;
    l.Arrow1Angle.v = 77;
    LoadDefaultLine(l, 1, fake.source());
    EXPECT_EQ(l.Arrow1Angle.v, 15);
    EXPECT_EQ(l.Arrow2Angle.v, 12);
    EXPECT_EQ(l.P1.Radius.v, 9) << "the ends come from the point's default set";
    EXPECT_EQ(l.P2.Typ.v, 2);
}

TEST(DefaultSets, UnreadableFilesGiveTheBuiltInValues) {
    for (std::uint8_t result : {1, 2, 3, 4}) {
        FakeReader fake;
        fake.result = result;
        fake.file->Obj.Po.resize(1);
        fake.file->Obj.Po[1].Radius.v = 9;
        DPoint p;
        LoadDefaultPoint(p, 1, fake.source());
        EXPECT_EQ(p.Radius.v, 4) << int(result);
    }
    DPoint p;
    LoadDefaultPoint(p, 1, DefaultsSource{});
    EXPECT_EQ(p.Radius.v, 4) << "the reader of a default source opens nothing";
}

TEST(DefaultSets, GraphsOfAnotherPictureHeightAreComputedAgain) {
    FakeReader fake;
    fake.file->Im.Height = 500;
    fake.file->Obj.Xy.resize(1);
    fake.file->Obj.Xy[1].Curves.Valid = 1;
    fake.file->Obj.Xz.resize(1);
    for (auto& c : fake.file->Obj.Xz[1].Curves) c.Valid = 1;
    for (auto& o : fake.file->Obj.Xz[1].Outlines) o.Lines.Valid = 1;

    for (std::int32_t h : {500, 600}) {
        const std::uint8_t kept = h == 500 ? 1 : 0;
        auto x = std::make_unique<DXOY>();
        LoadDefaultXOY(*x, 1, fake.source(h));
        EXPECT_EQ(x->Curves.Valid, kept) << h;
        auto s = std::make_unique<DXZ>();
        LoadDefaultXYZ(*s, 1, fake.source(h));
        for (std::size_t i = 1; i <= 55; ++i) EXPECT_EQ(s->Curves[i].Valid, kept) << h << " curve " << i;
        for (std::size_t i = 1; i <= 3; ++i) EXPECT_EQ(s->Outlines[i].Lines.Valid, kept) << h << " outline " << i;
    }
}

TEST(DefaultSets, CylinderAndConeStandOneHundredHighWhateverTheDefaultSegment) {
    FakeReader fake;  // the segment's default set holds a long slanted segment
    fake.file->Obj.Li.resize(1);
    DLine& l = fake.file->Obj.Li[1];
    SetPos(l.P1, {0, 100, 100});
    SetPos(l.P2, {40, 420, 380});
    l.Length.v = Norm(Pos(l.P2) - Pos(l.P1));
    auto z = std::make_unique<DZi>();
    LoadDefaultCylinder(*z, 1, fake.source());
    EXPECT_NEAR(z->Axis.Length.v, 100, 1e-9);
    const Vec3 axis = Pos(z->Base[2].Center) - Pos(z->Base[1].Center);
    EXPECT_NEAR(axis.x, 0, 1e-9);
    EXPECT_NEAR(axis.y, 0, 1e-9);
    EXPECT_NEAR(axis.z, 100, 1e-9);

    auto k = std::make_unique<DKo>();
    LoadDefaultCone(*k, 1, fake.source());
    EXPECT_NEAR(k->Axis.Length.v, 100, 1e-9);
    EXPECT_NEAR(Norm(Pos(k->Axis.P2) - Pos(k->Base.Center)), 100, 1e-9);
}

TEST(BuiltInDefaults, NothingOfASolidSlotsFormerObjectSurvives) {
    const auto src = BuiltIn();
    auto p = std::make_unique<DPr4>();
    p->Number = 12;
    p->Anim = {"a", "b", "c"};
    p->Fill.On = true;
    p->SelColor = 0xABCDEF;
    p->Base[1].S[1].P3.Name.s = "stale";
    p->Side[3].Diag[1].P4.Link.b[0] = 2;
    LoadDefaultPrism4(*p, 1, src);
    EXPECT_EQ(p->Number, 0);
    EXPECT_EQ(p->Anim, (std::array<std::string, 3>{}));
    EXPECT_FALSE(p->Fill.On);
    EXPECT_EQ(p->SelColor, 0u);
    EXPECT_EQ(p->Base[1].S[1].P3.Name.s, "");
    EXPECT_FALSE(p->Side[3].Diag[1].P4.Link.linked());
}

// A new object of any kind, whose sets hold none of its own kind (so every
// part is loaded from its own kind's set, down to the points), reads each set
// file once; the parts still take what their sets hold.
TEST(DefaultSets, EachSetFileIsReadOnceForANewObject) {
    FakeReader fake;  // every file read holds just one point
    fake.file->Obj.Po.resize(1);
    fake.file->Obj.Po[1].Radius.v = 9;
    const auto src = fake.source();
    auto once = [&](const char* kind, auto load) {
        fake.names->clear();
        load();
        std::vector<std::string> sorted = *fake.names;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end()) << kind;
        EXPECT_FALSE(sorted.empty()) << kind;
    };
    once("point", [&] { DPoint r; LoadDefaultPoint(r, 1, src); });
    once("segment", [&] {
        DLine r;
        LoadDefaultLine(r, 1, src);
        EXPECT_EQ(r.P1.Radius.v, 9);
        EXPECT_EQ(r.P2.Radius.v, 9);
    });
    once("triangle", [&] { auto r = std::make_unique<DTri>(); LoadDefaultTriangle(*r, 1, src); });
    once("tetragon", [&] { auto r = std::make_unique<DKv>(); LoadDefaultTetragon(*r, 1, src); });
    once("cylinder", [&] { auto r = std::make_unique<DZi>(); LoadDefaultCylinder(*r, 1, src); });
    once("cone", [&] { auto r = std::make_unique<DKo>(); LoadDefaultCone(*r, 1, src); });
    once("prism", [&] {
        auto r = std::make_unique<DPr4>();
        LoadDefaultPrism4(*r, 1, src);
        EXPECT_EQ(r->OutSphere.Center.Radius.v, 9) << "a part's point still comes from the point's set";
    });
    once("3D system", [&] { auto r = std::make_unique<DXZ>(); LoadDefaultXYZ(*r, 1, src); });
    // The next new object reads the files again (they may have changed).
    fake.names->clear();
    DPoint p;
    LoadDefaultPoint(p, 1, src);
    LoadDefaultPoint(p, 1, src);
    EXPECT_EQ(fake.names->size(), 2u);
}
