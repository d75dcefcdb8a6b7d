// A document saves byte for byte as it was opened: every real of every kind
// of object, whatever its magnitude (coordinates far out near 1E13 included),
// reads back to a value that writes the same digits.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <random>
#include <memory>
#include <string>
#include <vector>

#include "doc_fixture.h"
#include "files/document.h"
#include "files/text_lines.h"
#include "model/defining_points.h"
#include "model/drag_rules.h"
#include "model/geometry.h"
#include "model/recompute.h"
#include "model/transform.h"
#include "model/update.h"
#include "support/links.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

// Mostly near 1E13 (as coordinates pushed far out become), else of any
// magnitude and sign.
double RandomReal(std::mt19937_64& rng) {
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::uniform_int_distribution<int> kind(0, 3);
    std::uniform_int_distribution<int> exponent(-12, 15);
    switch (kind(rng)) {
        case 0: return 1e13 * (1 + 0.5 * unit(rng));
        case 1: return -1e13 * (1 + 0.5 * unit(rng));
        case 2: return unit(rng) * std::pow(10.0, exponent(rng));
        default: return std::ldexp(unit(rng), std::uniform_int_distribution<int>(-60, 60)(rng));
    }
}

// Each transformation family with random arguments.
template <class R, class Fs>
void Transformed(R& r, std::mt19937& rng, const Fs& f) {
    auto v = [&](int lo, int hi) { return static_cast<double>(std::uniform_int_distribution<int>(lo, hi)(rng)); };
    switch (rng() % 5) {
        case 0: f.rotate(r, v(-50, 50), v(0, 400), v(-300, 0), v(-3, 3), v(-3, 3), 1 + v(0, 3), v(-179, 179)); break;
        case 1: f.homothety(r, v(-50, 50), v(0, 400), v(-300, 0), v(1, 30) / 10); break;
        case 2: f.central(r, v(-50, 50), v(0, 400), v(-300, 0)); break;
        case 3: f.axial(r, v(-50, 50), v(0, 400), v(-300, 0), v(-3, 3), v(-3, 3), 1 + v(0, 3)); break;
        default: f.mirror(r, 1 + v(0, 3), v(-3, 3), v(-3, 3), v(-200, 200)); break;
    }
}

template <class R>
struct Families {
    void (*rotate)(R&, double, double, double, double, double, double, double);
    void (*homothety)(R&, double, double, double, double);
    void (*central)(R&, double, double, double);
    void (*axial)(R&, double, double, double, double, double, double);
    void (*mirror)(R&, double, double, double, double);
};
constexpr Families<DXOY> XOYFamilies{RotateXOY, HomothetyXOY, CentralSymXOY, AxialSymXOY, MirrorSymXOY};
constexpr Families<DXZ> XYZFamilies{RotateXYZ, HomothetyXYZ, CentralSymXYZ, AxialSymXYZ, MirrorSymXYZ};
constexpr Families<DTri> TriFamilies{RotateTriangle, HomothetyTriangle, CentralSymTriangle, AxialSymTriangle, MirrorSymTriangle};
constexpr Families<DKv> KvFamilies{RotateTetragon, HomothetyTetragon, CentralSymTetragon, AxialSymTetragon, MirrorSymTetragon};
constexpr Families<DSf> OrbFamilies{RotateOrb, HomothetyOrb, CentralSymOrb, AxialSymOrb, MirrorSymOrb};
constexpr Families<DLine> LineFamilies{RotateLine, HomothetyLine, CentralSymLine, AxialSymLine, MirrorSymLine};

// Off the thousandths grid, as a point a link or a transformation placed is
// before it is stored; in depth mostly 0, so that plane figures come too.
Vec3 OffGrid(std::mt19937& rng) {
    std::uniform_real_distribution<double> u(-250.0, 250.0);
    return {rng() % 2 ? 0.0 : u(rng) / 4, 200 + u(rng), u(rng)};
}

// One vertex (end of a segment) put off the grid, as a link puts it.
void MoveOneVertex(DTri& t, std::mt19937& rng) { SetPos(t.S[1 + rng() % 3].P1, OffGrid(rng)); }
void MoveOneVertex(DKv& k, std::mt19937& rng) { SetPos(k.S[1 + rng() % 4].P1, OffGrid(rng)); }
void MoveOneVertex(DLine& l, std::mt19937& rng) { SetPos(rng() % 2 ? l.P1 : l.P2, OffGrid(rng)); }

void RandomChoices(DTri& t, std::mt19937& rng) {
    t.Typ.v = static_cast<std::uint8_t>(1 + rng() % 4);
    t.Side3.v = static_cast<std::uint8_t>(rng() % 2);
    t.Height.v = 20 + static_cast<double>(rng() % 100000) / 1000;
    for (std::size_t i = 1; i <= 5; ++i) {
        t.LineOn[i].v = rng() % 2;
        t.LineVertex[i].v = static_cast<std::uint8_t>(1 + rng() % 3);
        t.LineMode[i].v = static_cast<std::uint8_t>(1 + rng() % 3);
        t.LineKind[i].v = static_cast<std::uint8_t>(1 + rng() % 3);
        t.Lines[i].Length.v = static_cast<double>(rng() % 100000) / 1000;
    }
    for (auto& on : t.CircOn) on.v = rng() % 2;
}

// After the first update, one to three at random: the recompute after a link
// moved a vertex (no type rule), the commit of an edit (the type rule) or a
// transformation.
template <class R, class Fs>
void RandomUpdates(R& r, std::mt19937& rng, const Fs& f, void (*update)(R&, bool)) {
    update(r, false);
    for (int n = 1 + static_cast<int>(rng() % 3); n > 0; --n) {
        switch (rng() % 3) {
            case 0: MoveOneVertex(r, rng), update(r, false); break;
            case 1: update(r, true); break;
            default: Transformed(r, rng, f); break;
        }
    }
}

// The edit tool's drag handles of each kind, in kind order (0 moves the whole object).
const std::vector<std::vector<int>> Handles = {
    {0}, {0, LiDrag::End1, LiDrag::End2}, {0, CiDrag::Radius, CiDrag::SemiAxisA, CiDrag::SemiAxisB, CiDrag::Outline},
    {0, TrDrag::Side1, TrDrag::Vertex3}, {0, KvDrag::Side2, KvDrag::Vertex4}, {0, XyDrag::AxisX, XyDrag::AxisYEnd1},
    {0, SfDrag::Radius}, {0, ZiDrag::UpperBase, ZiDrag::LowerBase}, {0, KoDrag::Base, KoDrag::Apex},
    {0, PyramidDrag::Apex3}, {0, PyramidDrag::Apex4}, {0, PrismDrag::Base1Of3, PrismDrag::Base2Of3},
    {0, PrismDrag::Base1Of4, PrismDrag::Base2Of4}, {0, XzDrag::AxisYEnd1, XzDrag::AxisZEnd2}};

// One drag: a handle taken at a pixel, then one to three mouse steps of whole pixels.
template <class R>
void DraggedAtRandom(R& r, const std::vector<int>& handles, std::mt19937& rng) {
    const int handle = handles[rng() % handles.size()];
    std::uniform_int_distribution<int> at(50, 750), step(-40, 40);
    double x = at(rng), y = at(rng);
    DragGrip grip;
    TakeHandle(r, handle, static_cast<int>(x), static_cast<int>(y), grip);
    for (int n = 1 + static_cast<int>(rng() % 3); n > 0; --n) {
        const double dx = step(rng), dy = step(rng);
        Drag(r, handle, DragStep{dx, dy, x += dx, y += dy, grip, true});
    }
}

}  // namespace

// Random reals written into the objects' real lines: the file opened and
// saved twice writes the same bytes both times.
TEST(SaveDrift, OpenSaveOpenSaveWritesTheSameBytes) {
    TempDir dir;
    const std::string first = dir.file("First.pel"), second = dir.file("Second.pel"), third = dir.file("Third.pel");
    auto plain = DocumentOfEveryKind(1);
    ProcessAfterReading(*plain, nullptr);
    const std::string text = DocumentText(*plain, LiveWindows{}, {}, ',');
    const std::size_t firstObject = text.find("<POINT");
    ASSERT_NE(firstObject, std::string::npos);
    DocumentContext comma;
    comma.DecimalSeparator = ',';
    std::mt19937_64 rng(20261208);
    int compared = 0;
    for (int round = 0; round < 4; ++round) {
        std::string bytes;
        std::size_t at = 0;
        for (const std::string& line : SplitLines(text)) {
            const bool real = at > firstObject && line.find(',') != std::string::npos &&
                              line.find_first_not_of("-0123456789,E") == std::string::npos;
            bytes += (real && rng() % 3 != 0 ? FormatReal(RandomReal(rng), ',') : line) + "\r\n";
            at += line.size() + 2;
        }
        WriteFileBytes(first, bytes);
        auto doc = NewDocument(), again = NewDocument();
        std::uint8_t version = 0;
        if (ReadDocument(first, *doc, version, ReadModeOpen, comma) != ReadOk) continue;  // refused as damaged
        ASSERT_TRUE(WriteDocument(second, *doc, WriteModeDocument, comma));
        ASSERT_EQ(ReadDocument(second, *again, version, ReadModeOpen, comma), ReadOk);
        ASSERT_TRUE(WriteDocument(third, *again, WriteModeDocument, comma));
        ASSERT_EQ(FirstDifferentLine(ReadFileBytes(second), ReadFileBytes(third)), "") << "round " << round;
        ++compared;
    }
    EXPECT_GT(compared, 2);
}

// Fifteen digits written read back to a double that writes the same digits.
TEST(SaveDrift, RealTextsAreFixedPoints) {
    std::mt19937_64 rng(7);
    for (int i = 0; i < 50000; ++i) {
        const double v = i % 2 ? RandomReal(rng) : std::bit_cast<double>(rng());
        if (!std::isfinite(v)) continue;
        const std::string once = FormatReal(v, ',');
        double back = 0;
        ASSERT_TRUE(ParseReal(once, ',', back)) << once;
        ASSERT_EQ(FormatReal(back, ','), once) << v;
    }
}

// Objects as edits leave them save as they reopen: what an update computes
// from the stored values is computed the same from the file.
TEST(SaveDrift, EditedObjectsSaveAsTheyReopen) {
    const struct {
        const char* name;
        void (*make)(DProj&, std::mt19937&);
        int rounds = 40;
    } edits[] = {
        {"an ellipse drawn with the mouse",
         [](DProj& d, std::mt19937& rng) {
             // Pressed at a pixel, released where its radius is to the thousandth.
             const int x = 20 + static_cast<int>(rng() % 400), y = 20 + static_cast<int>(rng() % 300);
             const double dx = rng() % 90, dy = rng() % 90;
             const double len = Round3(std::sqrt(dx * dx + dy * dy));
             DCircle c = MakeCircle(1);
             c.Center.X.v = 0, c.Center.Y.v = x, c.Center.Z.v = y;
             c.Q1 = {0.0, x + len, static_cast<double>(y)};
             c.Q2 = {0.0, static_cast<double>(x), y + len};
             c.A.v = c.B.v = len;
             UpdateCircle(c, 0);
             d.Obj.Ci.add(c);
         }},
        {"coordinate systems transformed",
         [](DProj& d, std::mt19937& rng) {
             DXOY x = NumberedXOY(1);
             DXZ z = NumberedXYZ(1);
             UpdateXOY(x, 0), UpdateXYZ(z, 0);
             Transformed(x, rng, XOYFamilies);
             Transformed(z, rng, XYZFamilies);
             d.Obj.Xy.add(x), d.Obj.Xz.add(z);
         }},
        {"a triangle updated from vertices off the grid",
         [](DProj& d, std::mt19937& rng) {
             DTri t = MakeTriangle(1);
             SetVertices(t, std::array<Vec3, 3>{OffGrid(rng), OffGrid(rng), OffGrid(rng)});
             RandomChoices(t, rng);
             RandomUpdates<DTri>(t, rng, TriFamilies, [](DTri& r, bool typed) { UpdateTriangle(r, 0, typed); });
             d.Obj.Tr.add(t);
         },
         300},
        {"a tetragon of every type edited and transformed from vertices off the grid",
         [](DProj& d, std::mt19937& rng) {
             DKv k = MakeTetragon(1);
             SetVertices(k, std::array<Vec3, 4>{OffGrid(rng), OffGrid(rng), OffGrid(rng), OffGrid(rng)});
             k.Typ.v = static_cast<std::uint8_t>(1 + rng() % 7);
             k.Side3.v = static_cast<std::uint8_t>(rng() % 2);
             for (auto& on : k.CircOn) on.v = rng() % 2;
             // Types 1-5 apply their rule on every commit, as reading does;
             // the plane and the arbitrary quadrilateral stay as placed.
             RandomUpdates<DKv>(k, rng, KvFamilies,
                                [](DKv& r, bool typed) { UpdateTetragon(r, 0, typed || r.Typ.v <= 5); });
             d.Obj.Kv.add(k);
         },
         600},
        {"a sphere with sections, transformed",
         [](DProj& d, std::mt19937& rng) {
             DSf s = MakeOrb(1);
             s.View.v = static_cast<std::uint8_t>(1 + rng() % 6);
             std::uniform_int_distribution<int> n(-5, 5);
             for (std::size_t i = 1; i <= 7; ++i) {
                 s.SecOn[i].v = rng() % 2;
                 s.SecNX[i].v = n(rng), s.SecNY[i].v = n(rng), s.SecNZ[i].v = n(rng);
                 s.SecH[i].v = static_cast<double>(rng() % 50000) / 1000;
             }
             UpdateOrb(s, 0);
             for (int t = 1 + static_cast<int>(rng() % 2); t > 0; --t) Transformed(s, rng, OrbFamilies);
             d.Obj.Sf.add(s);
         },
         100},
        {"a segment updated from ends off the grid",
         [](DProj& d, std::mt19937& rng) {
             DLine l = MakeLine(1);
             SetPos(l.P1, OffGrid(rng));
             SetPos(l.P2, OffGrid(rng));
             l.Frac3.v = static_cast<double>(rng() % 1000) / 1000;
             RandomUpdates<DLine>(l, rng, LineFamilies, [](DLine& r, bool) { UpdateLine(r, 0); });
             d.Obj.Li.add(l);
         },
         300},
        {"every handle of every kind dragged",
         [](DProj& d, std::mt19937& rng) {
             static const std::unique_ptr<DProj> every = DocumentOfEveryKind(1);
             std::size_t kind = 0;
             ForEachStore((d = *every).Obj, [&](auto& store) {
                 for (std::size_t i = 1, k = kind++; i <= store.count(); ++i) DraggedAtRandom(store[i], Handles[k], rng);
             });
         },
         16},
    };
    std::mt19937 rng(1208);
    for (const auto& edit : edits) {
        for (int round = 0; round < edit.rounds; ++round) {
            auto d = NewDocument();
            edit.make(*d, rng);
            ASSERT_EQ(FirstDifferentLine(SavedText(*d), SavedText(*Reopened(*d))), "") << edit.name << " round " << round;
        }
    }
}

// Objects built on others, recomputed as a commit stores them after the point
// they are built on moved off the grid: each is as its file gives it back
// (the round kinds moved as a whole, the others through their linked points,
// some on a segment's division point), and the document saves as it reopens.
TEST(SaveDrift, LinkedObjectsSaveAsTheyReopen) {
    auto d = DocumentOfEveryKind(2);
    auto& o = d->Obj;
    o.Po[1].Number = 1;
    o.Li[1].P1.Link = LinkTo(Kind::po, 1);
    o.Li[1].Frac3.v = 0.37;
    o.Li[1].Show3.v = true;
    o.Li[1].Number = 2;
    int number = 3, n = 0;
    ForEachStore(o, [&](auto& store) {
        for (std::size_t i = 1; i <= store.count(); ++i) {
            if (store[i].Number != 0) continue;
            store[i].Number = number++;
            bool first = true;
            ForEachDefiningPoint(store[i], [&](DPoint& p) {
                if (first) p.Link = ++n % 2 ? LinkTo(Kind::po, 1) : LinkTo(Kind::li, 1, 3);
                first = false;
            });
        }
    });
    RecomputeLinkedAsFiled(*d);
    std::mt19937 rng(65);
    for (int round = 0; round < 12; ++round) {
        SetPos(o.Po[1], OffGrid(rng));
        ObjectAsFiled(o.Po[1], d->Im);
        // What the plain pass shows (a drag's moves) is what the stored
        // pass gives, to the digits a file holds.
        auto shown = std::make_unique<DProj>(*d);
        RecomputeLinked(*shown);
        RecomputeLinkedAsFiled(*d);
        EXPECT_EQ(FirstDifferentLine(SavedText(*shown), SavedText(*d), 1e-6), "") << "round " << round;
        int kind = 0;
        ForEachStore(o, [&](auto& store) {
            ++kind;
            for (std::size_t i = 1; i <= store.count(); ++i) {
                auto back = store[i];
                ObjectAsFiled(back, d->Im);
                EXPECT_TRUE(back == store[i]) << "kind " << kind << " object " << i << " round " << round;
            }
        });
        ASSERT_EQ(FirstDifferentLine(SavedText(*d), SavedText(*Reopened(*d))), "") << "round " << round;
    }
}
