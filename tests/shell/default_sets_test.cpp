// The shipped default sets: made by the generator exactly as they are kept in
// share/pelmar/DefaultSet/, found when the program folder has none, and
// drawn as a teacher draws.
//
// PELMAR_WRITE_DEFAULT_SETS=1 rewrites the shipped files;
// PELMAR_DEFAULT_SET_PICTURES=<folder> writes a picture of every default
// object there for looking at.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <algorithm>
#include <cmath>
#include <random>
#include <set>

#include "support/fake_redraw_host.h"
#include "model/finite_check.h"
#include "model/record_walk.h"
#include "drawing/picture_extent.h"
#include "drawing/redraw.h"
#include "editing/edited_document.h"
#include "editing/editing_state.h"
#include "support/quiet_windows.h"
#include "editing/kind_access.h"
#include "editing/new_objects.h"
#include "files/document.h"
#include "model/defaults.h"
#include "shell/default_sets.h"
#include "shell/file_commands.h"
#include "shell_test_util.h"
#include "window_session.h"

namespace pelmar {
namespace {

using test::ReadBytes;
using test::Scratch;

const std::string Shipped = PELMAR_TEST_DATA "/../../share/pelmar/";
constexpr char ShippedSeparator = ',';

// The default object of every kind as a new object gets it with an empty
// program folder and the shipped sets.
struct ShippedDefaults {
    Scratch s;
    std::string prog = s.folder("pelmar");
    DefaultsSource src;
    std::unique_ptr<DProj> doc = NewDocument();

    ShippedDefaults() {
        src.programFolder = prog;
        src.readDocument = ShippedSetReader(prog, {Shipped}, BindDocumentReader(nullptr));
        DSubProj& o = doc->Obj;
        o.Po.resize(1), LoadDefaultPoint(o.Po[1], 1, src);
        o.Li.resize(1), LoadDefaultLine(o.Li[1], 1, src);
        o.Ci.resize(1), LoadDefaultCircle(o.Ci[1], 1, src);
        o.Tr.resize(1), LoadDefaultTriangle(o.Tr[1], 1, src);
        o.Kv.resize(1), LoadDefaultTetragon(o.Kv[1], 1, src);
        o.Xy.resize(1), LoadDefaultXOY(o.Xy[1], 1, src);
        o.Sf.resize(1), LoadDefaultOrb(o.Sf[1], 1, src);
        o.Zi.resize(1), LoadDefaultCylinder(o.Zi[1], 1, src);
        o.Ko.resize(1), LoadDefaultCone(o.Ko[1], 1, src);
        o.I3.resize(1), LoadDefaultPyramid3(o.I3[1], 1, src);
        o.I4.resize(1), LoadDefaultPyramid4(o.I4[1], 1, src);
        o.R3.resize(1), LoadDefaultPrism3(o.R3[1], 1, src);
        o.R4.resize(1), LoadDefaultPrism4(o.R4[1], 1, src);
        o.Xz.resize(1), LoadDefaultXYZ(o.Xz[1], 1, src);
    }
};

// The picture of a document holding only the objects of one kind.
QImage Picture(const DProj& all, Kind k) {
    auto doc = NewDocument();
    doc->Im = all.Im;
    int n = 0;
    ForEachStore(doc->Obj, [&](auto& store) {
        if (++n != KindNumber(k)) return;
        ForEachStore(all.Obj, [&](const auto& from) {
            if constexpr (std::is_same_v<std::decay_t<decltype(from)>, std::decay_t<decltype(store)>>) store = from;
        });
    });
    DrawingState st;
    FakeRedrawHost host;
    host.view = {0, 0, doc->Im.Width, doc->Im.Height};
    RepaintProject(*doc, st, host, RedrawMode::Window, true);
    return st.DrawBitmap.convertToFormat(QImage::Format_RGB32);
}

TEST(DefaultSets, ShippedFilesAreWhatTheGeneratorMakes) {
    Scratch s;
    const std::string made = s.folder("made");
    ASSERT_TRUE(WriteDefaultSets(made, ShippedSeparator));
    if (std::getenv("PELMAR_WRITE_DEFAULT_SETS")) {
        ASSERT_TRUE(WriteDefaultSets(Shipped, ShippedSeparator));
    }
    // A change of the loaders, updates or writer changes the sets: look at
    // the pictures (scripts/shell_screens.sh), then remake them.
    for (const KindInfo& k : KindTable) {
        const std::string name = DefaultSetFile(k.kind, "");
        const std::string shipped = ReadBytes(Shipped + name), now = ReadBytes(made + name);
        ASSERT_FALSE(shipped.empty()) << "missing " << Shipped + name << " (PELMAR_WRITE_DEFAULT_SETS=1 writes it)";
        if (now == shipped) continue;
        const auto [a, b] = std::mismatch(now.begin(), now.end(), shipped.begin(), shipped.end());
        const auto line = std::count(now.begin(), a, '\n') + 1;
        ADD_FAILURE() << name << " differs from line " << line << " on; PELMAR_WRITE_DEFAULT_SETS=1 remakes the sets";
    }
}

TEST(DefaultSets, EveryKindDrawsSomething) {
    ShippedDefaults d;
    const char* out = std::getenv("PELMAR_DEFAULT_SET_PICTURES");
    for (const KindInfo& k : KindTable) {
        const QImage pic = Picture(*d.doc, k.kind);
        ASSERT_FALSE(pic.isNull());
        int ink = 0;
        for (int y = 0; y < pic.height(); ++y)
            for (int x = 0; x < pic.width(); ++x) ink += (pic.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
        EXPECT_GT(ink, 100) << k.fileWord;
        if (out) {
            QDir().mkpath(out);
            pic.save(QString(out) + "/" + k.fileWord + ".png");
        }
    }
}

// A ticked fill of a shipped object is a light-to-dark blue, not black: the
// picture gains blue but hardly any dark pixels, so edges, dashes and labels
// stay readable on it.
TEST(DefaultSets, TickedFillsAreBluesThatKeepLinesReadable) {
    ShippedDefaults d;
    auto filled = NewDocument();
    *filled = *d.doc;
    int fillable = 0;
    ForEachStore(filled->Obj, [&](auto& store) {
        if constexpr (requires { store[1].Fill.On; }) {
            for (std::size_t i = 1; i <= store.count(); ++i) store[i].Fill.On = true;
            ++fillable;
        }
    });
    EXPECT_EQ(fillable, 10);
    auto count = [](const QImage& pic, auto&& test) {
        int n = 0;
        for (int y = 0; y < pic.height(); ++y)
            for (int x = 0; x < pic.width(); ++x) n += test(QColor(pic.pixel(x, y))) ? 1 : 0;
        return n;
    };
    auto dark = [](const QColor& c) { return qGray(c.rgb()) < 80; };
    auto blue = [](const QColor& c) { return c.blue() - c.red() > 25; };
    for (const KindInfo& k : KindTable) {
        const QImage plain = Picture(*d.doc, k.kind), full = Picture(*filled, k.kind);
        if (plain == full) continue;  // nothing to fill
        EXPECT_GT(count(full, blue), 2000) << k.fileWord;
        const int before = count(plain, dark), after = count(full, dark);
        EXPECT_LE(after, before + before / 4 + 20) << k.fileWord;
    }
}

// A new object from the shipped sets lies inside the picture it enters,
// whatever the picture's size: its drawn box is inside, it leaves ink on the
// picture and none on the picture's outermost pixels.
TEST(DefaultSets, NewObjectsLieInsideThePicture) {
    Scratch s;
    const std::string prog = s.folder("pelmar");
    std::mt19937 rng(28);
    std::vector<std::pair<int, int>> sizes{{400, 300}, {800, 600}, {240, 180}, {160, 120}, {5000, 5000},
                                           {1200, 160}, {160, 1200}, {5000, 200}};
    for (int i = 0; i < 5; ++i)
        sizes.emplace_back(160 + static_cast<int>(rng() % 1500), 160 + static_cast<int>(rng() % 1500));
    for (const auto& [w, h] : sizes) {
        for (const KindInfo& k : KindTable) {
            auto doc = NewDocument();
            doc->Im.Width = w;
            doc->Im.Height = h;
            auto edited = std::make_unique<EditedDocument>(*doc);
            EditingState* st = &edited->state();
            QuietWindows quiet(*st);
            st->UndoOn = false;
            st->Defaults.programFolder = prog;
            st->Defaults.readDocument = ShippedSetReader(prog, {Shipped}, BindDocumentReader(nullptr));
            ASSERT_TRUE(NewDefaultObject(*st, k.kind));
            const std::optional<RectF> box = VisitKind(k.kind, [&](auto kc) {
                return PictureExtent(KindT<kc.value>::store(doc->Obj)[1], doc->Im);
            });
            ASSERT_TRUE(box.has_value()) << k.fileWord;
            const std::string where = std::string(k.fileWord) + " in " + std::to_string(w) + " x " + std::to_string(h);
            EXPECT_GE(box->x, 0) << where;
            EXPECT_GE(box->y, 0) << where;
            EXPECT_LE(box->x + box->w, w) << where;
            EXPECT_LE(box->y + box->h, h) << where;
            if (w * h > 1500 * 1500) continue;  // the pixels of the smaller pictures suffice
            const QImage pic = Picture(*doc, k.kind);
            int ink = 0, edge = 0;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const bool inked = (pic.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
                    ink += inked;
                    edge += inked && (x == 0 || y == 0 || x == w - 1 || y == h - 1);
                }
            EXPECT_GT(ink, 100) << where;
            EXPECT_EQ(edge, 0) << where;
        }
        // A new project with one object of every kind: each lies inside too.
        auto doc = NewDocument();
        doc->Im.Width = w;
        doc->Im.Height = h;
        auto edited = std::make_unique<EditedDocument>(*doc);
        EditingState& st = edited->state();
        st.Defaults.programFolder = prog;
        st.Defaults.readDocument = ShippedSetReader(prog, {Shipped}, BindDocumentReader(nullptr));
        ForEachKind([&](auto kc) { KindT<kc.value>::store(doc->Obj).resize(1); });
        LoadDefaultObjects(*doc, st);
        for (const KindInfo& k : KindTable) {
            const std::optional<RectF> box = VisitKind(k.kind, [&](auto kc) {
                return PictureExtent(KindT<kc.value>::store(doc->Obj)[1], doc->Im);
            });
            ASSERT_TRUE(box.has_value()) << k.fileWord;
            const std::string where = std::string(k.fileWord) + " of a new project, " + std::to_string(w) + " x " +
                                      std::to_string(h);
            EXPECT_TRUE(box->x >= 0 && box->y >= 0 && box->x + box->w <= w && box->y + box->h <= h) << where;
        }
    }
}

// The shipped 2D system's numbers stand clear of the ticks and the axes:
// along each tick, past the ink of the axis and the tick, blank pixels come
// before the number's ink; the centre's "O" keeps away from the y axis; a
// grid does not cross the digits.
TEST(DefaultSets, AxisNumbersStandClearOfTicksAndAxes) {
    ShippedDefaults d;
    const QImage pic = Picture(*d.doc, Kind::xy);
    const DXOY& x = d.doc->Obj.Xy[1];
    const int cx = static_cast<int>(std::lround(x.Center.ScrX.v));
    const int cy = d.doc->Im.Height - static_cast<int>(std::lround(x.Center.ScrY.v));
    const int step = static_cast<int>(std::lround(x.ScaleX.v));
    ASSERT_EQ(step, static_cast<int>(std::lround(x.ScaleY.v)));
    auto inked = [&](int px, int py) { return qGray(pic.pixel(px, py)) < 170; };
    // The blank pixels between the ink next to the axis and the next ink,
    // walking from `from` by `dir`; `any` tells whether a cross line is inked.
    auto gapAfterTick = [](int from, int dir, auto&& any) {
        int at = from;
        for (int n = 0; n < 12 && any(at); ++n) at += dir;
        int gap = 0;
        while (!any(at) && gap < 40) at += dir, ++gap;
        return gap;
    };
    for (int i : {-5, -4, -3, -2, 2, 3, 4}) {  // the ticks but those next to the centre
        const int y = cy - i * step, xt = cx + i * step;
        const int yGap = gapAfterTick(cx + 1, 1, [&](int px) {
            for (int py = y - 3; py <= y + 3; ++py)
                if (inked(px, py)) return true;
            return false;
        });
        const int xGap = gapAfterTick(cy + 1, 1, [&](int py) {
            for (int px = xt - 3; px <= xt + 3; ++px)
                if (inked(px, py)) return true;
            return false;
        });
        EXPECT_GE(yGap, 2) << "y number " << i;
        EXPECT_LT(yGap, 12) << "y number " << i;
        EXPECT_GE(xGap, 2) << "x number " << i;
        EXPECT_LT(xGap, 12) << "x number " << i;
    }
    int nearAxis = 0;
    for (int py = cy - 3 * step + 2; py <= cy - 5; ++py)  // above the centre's dot
        for (int px = cx - 4; px <= cx - 2; ++px)
            nearAxis += std::abs(py - (cy - step)) > 1 && std::abs(py - (cy - 2 * step)) > 1 && inked(px, py);
    EXPECT_EQ(nearAxis, 0);

    // With the grid on (a line through every second number) the digits
    // show as without it.
    auto grid = NewDocument();
    *grid = *d.doc;
    grid->Obj.Xy[1].GridOn.v = true;
    const QImage gridPic = Picture(*grid, Kind::xy);
    auto same = [&](int x0, int x1, int y0, int y1) {
        int differ = 0;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) differ += pic.pixel(x, y) != gridPic.pixel(x, y);
        return differ;
    };
    for (int i : {-4, -2, 2, 4}) {
        const int xt = cx + i * step, y = cy - i * step;
        EXPECT_EQ(same(xt - 4, xt + 4, cy + 7, cy + 16), 0) << "x number " << i;
        EXPECT_EQ(same(cx + 6, cx + 12, y - 4, y + 4), 0) << "y number " << i;
    }
    EXPECT_FALSE(pic == gridPic);

    // Every number of the 2D system and of the 3D system (its depth numbers
    // too) keeps two blank pixels at least between its ink (what numbering
    // adds) and any other ink: axes and ticks, and the 2D system's grid
    // through every tick; but where the 3D system's three axes meet.
    grid->Obj.Xy[1].GridStep.v = 1;
    for (const Kind k : {Kind::xy, Kind::xz}) {
        auto bare = NewDocument();
        *bare = *d.doc;
        bare->Obj.Xy[1].NumbersOn.v = bare->Obj.Xz[1].NumbersOn.v = false;
        const QImage numbered = Picture(*d.doc, k), plain = Picture(*bare, k);
        const QImage gridded = k == Kind::xy ? Picture(*grid, k) : numbered;
        const DPoint& o = k == Kind::xy ? x.Center : d.doc->Obj.Xz[1].Center;
        const int ox = static_cast<int>(std::lround(o.ScrX.v));
        const int oy = d.doc->Im.Height - static_cast<int>(std::lround(o.ScrY.v));
        const int spared = k == Kind::xz ? 2 * step : 0;
        auto dark = [](const QImage& img, int px, int py) {
            return img.rect().contains(px, py) && qGray(img.pixel(px, py)) < 170;
        };
        auto other = [&](int px, int py) {
            return dark(plain, px, py) || (dark(gridded, px, py) && !dark(numbered, px, py));
        };
        int numberInk = 0, touching = 0;
        for (int py = 0; py < numbered.height() && touching < 5; ++py)
            for (int px = 0; px < numbered.width() && touching < 5; ++px) {
                if (!dark(numbered, px, py) || dark(plain, px, py)) continue;
                if (std::abs(px - ox) < spared && std::abs(py - oy) < spared) continue;
                ++numberInk;
                bool near = false;
                for (int dy = -2; dy <= 2 && !near; ++dy)
                    for (int dx = -2; dx <= 2 && !near; ++dx) near = other(px + dx, py + dy);
                if (near) ADD_FAILURE() << (k == Kind::xy ? "2D" : "3D") << " number ink at " << px << "," << py;
                touching += near;
            }
        EXPECT_GT(numberInk, 300);
    }
}

// The shipped 3D system outlines a surface once its outline is switched on:
// a paraboloid gains the outline's ink, all of it inside the outline's
// window (picture pixels counted up from the bottom edge), and the outline
// rises as high as the surface's sections: its top rim, far above the
// system's axes, is drawn too.
TEST(DefaultSets, ShippedOutlineDrawsAParaboloidsOutline) {
    ShippedDefaults d;
    DXZ& x = d.doc->Obj.Xz[1];
    const QImage bare = Picture(*d.doc, Kind::xz);
    x.Surf[1].s = "(x^2+y^2)/4";
    x.SurfOn[1].v = true;
    const QImage sections = Picture(*d.doc, Kind::xz);
    x.Outlines[1].On = true;
    const QImage outlined = Picture(*d.doc, Kind::xz);
    const DOutLine& o = x.Outlines[1];
    const int h = d.doc->Im.Height;
    int inside = 0, outside = 0, surfaceTop = h, outlineTop = h;
    for (int py = 0; py < outlined.height(); ++py)
        for (int px = 0; px < outlined.width(); ++px) {
            if (sections.pixel(px, py) != bare.pixel(px, py)) surfaceTop = std::min(surfaceTop, py);
            if (qGray(outlined.pixel(px, py)) > 200 || outlined.pixel(px, py) == sections.pixel(px, py)) continue;
            outlineTop = std::min(outlineTop, py);
            const bool in = px >= o.X1 - 2 && px <= o.X2 + 2 && h - py >= o.Y1 - 2 && h - py <= o.Y2 + 2;
            ++(in ? inside : outside);
        }
    EXPECT_GT(inside, 300) << "window " << o.X1 << ", " << o.Y1 << " - " << o.X2 << ", " << o.Y2;
    EXPECT_EQ(outside, 0);
    EXPECT_LE(outlineTop, surfaceTop + 3) << "the top rim is cut off";
    EXPECT_GT(surfaceTop, 0) << "the surface lies inside the picture";
}

// The names a reader sees on an object: every named point, each once.
struct Names {
    std::multiset<std::string> seen;
    void point(const std::string&, const DPoint& p) {
        if (!p.Name.s.empty()) seen.insert(p.Name.s + (p.Lower.s.empty() ? "" : "_" + p.Lower.s));
    }
    void circle(const std::string&, const DCircle&) {}
};

template <class R>
std::multiset<std::string> NamesOf(const R& rec) {
    Names n;
    test::WalkParts(rec, "", n);
    return n.seen;
}

template <class R>
void ExpectFinite(const R& rec, const char* what) {
    test::ForEachDouble(rec, what, [](const std::string& at, double v) { EXPECT_TRUE(std::isfinite(v)) << at; });
}

template <std::size_t N>
void ExpectPlainEdges(const Arr1<DLine, N>& sides, const std::string& what) {
    for (const DLine& s : sides) {
        EXPECT_FALSE(s.Arrow1.v || s.Arrow2.v) << what;
        EXPECT_GT(s.Length.v, 10) << what;
    }
}

TEST(DefaultSets, ObjectsLookAsATeacherDrawsThem) {
    ShippedDefaults d;
    const DSubProj& o = d.doc->Obj;
    using Set = std::multiset<std::string>;
    EXPECT_EQ(NamesOf(o.Po[1]), Set{"A"});
    EXPECT_EQ(NamesOf(o.Li[1]), (Set{"A", "B"}));
    EXPECT_FALSE(o.Li[1].Arrow1.v || o.Li[1].Arrow2.v);
    EXPECT_EQ(NamesOf(o.Ci[1]), Set{"O"});
    EXPECT_NEAR(o.Ci[1].A.v, o.Ci[1].B.v, 1e-9);  // a circle, not an ellipse
    EXPECT_EQ(NamesOf(o.Tr[1]), (Set{"A", "B", "C"}));
    ExpectPlainEdges(o.Tr[1].S, "triangle");
    EXPECT_EQ(NamesOf(o.Kv[1]), (Set{"A", "B", "C", "D"}));
    ExpectPlainEdges(o.Kv[1].S, "tetragon");
    EXPECT_EQ(NamesOf(o.Xy[1]), (Set{"O", "x", "y"}));
    EXPECT_EQ(NamesOf(o.Sf[1]), Set{"O"});
    EXPECT_EQ(NamesOf(o.Zi[1]), (Set{"O", "O_1"}));
    EXPECT_EQ(NamesOf(o.Ko[1]), (Set{"O", "S"}));
    EXPECT_EQ(NamesOf(o.I3[1]), (Set{"A", "B", "C", "S", "O"}));
    EXPECT_EQ(NamesOf(o.I4[1]), (Set{"A", "B", "C", "D", "S", "O"}));
    EXPECT_EQ(NamesOf(o.R3[1]), (Set{"A", "B", "C", "A_1", "B_1", "C_1"}));
    EXPECT_EQ(NamesOf(o.R4[1]), (Set{"A", "B", "C", "D", "A_1", "B_1", "C_1", "D_1"}));
    EXPECT_EQ(NamesOf(o.Xz[1]), (Set{"O", "x", "y", "z"}));

    // Solids hide what lies behind: automatic view, some edge dashed.
    for (std::uint8_t view : {o.Sf[1].View.v, o.Zi[1].View.v, o.Ko[1].View.v, o.I3[1].View.v, o.I4[1].View.v,
                              o.R3[1].View.v, o.R4[1].View.v})
        EXPECT_EQ(view, 5);
    auto dashed = [](const auto& sides) {
        return std::any_of(sides.begin(), sides.end(), [](const DLine& l) { return l.LineType.v == 2; });
    };
    EXPECT_TRUE(dashed(o.I3[1].Base.S));
    EXPECT_TRUE(dashed(o.R4[1].Base[1].S));
    EXPECT_EQ(o.I4[1].HeightLine.LineType.v, 2);
    EXPECT_EQ(o.Zi[1].Base[1].ViewType.v, 4);  // its far half dashed
    EXPECT_GT(o.Zi[1].Base[1].Dash.v, 0);
    for (const auto& f : o.I4[1].Face) ExpectPlainEdges(f.S, "pyramid face");
    for (const auto& s : o.R3[1].Side) ExpectPlainEdges(s.S, "prism side");

    // Axes of a sensible length, in whole units, with arrows.
    const DXOY& xy = o.Xy[1];
    const double xUnits = (xy.AxisX.P2.Y.v - xy.AxisX.P1.Y.v) / xy.ScaleX.v;
    const double yUnits = (xy.AxisY.P2.Z.v - xy.AxisY.P1.Z.v) / xy.ScaleY.v;
    EXPECT_GE(xUnits, 8);
    EXPECT_LE(xUnits, 20);
    EXPECT_GE(yUnits, 8);
    EXPECT_LE(yUnits, 20);
    EXPECT_TRUE(xy.AxisX.Arrow2.v && xy.AxisY.Arrow2.v);

    ExpectFinite(o.Po[1], "point");
    ExpectFinite(o.Li[1], "segment");
    ExpectFinite(o.Ci[1], "ellipse");
    ExpectFinite(o.Tr[1], "triangle");
    ExpectFinite(o.Kv[1], "tetragon");
    ExpectFinite(o.Xy[1], "2D system");
    ExpectFinite(o.Sf[1], "sphere");
    ExpectFinite(o.Zi[1], "cylinder");
    ExpectFinite(o.Ko[1], "cone");
    ExpectFinite(o.I3[1], "pyramid 3");
    ExpectFinite(o.I4[1], "pyramid 4");
    ExpectFinite(o.R3[1], "prism 3");
    ExpectFinite(o.R4[1], "prism 4");
    ExpectFinite(o.Xz[1], "3D system");
}

TEST(DefaultSets, TheUsersOwnSetComesFirstAndTheBuiltInValuesLast) {
    ShippedDefaults d;
    // The user's own point set in the program folder.
    auto own = NewDocument();
    DPoint p = d.doc->Obj.Po[1];
    p.Name.s = "Z";
    own->Obj.Po.add(p);
    std::filesystem::create_directories(d.prog + "DefaultSet");
    ASSERT_TRUE(WriteDocument(DefaultSetFile(Kind::po, d.prog), *own, WriteModeDefaultSet, DocumentContext{}));
    DPoint fromUser;
    LoadDefaultPoint(fromUser, 2, d.src);
    EXPECT_EQ(fromUser.Name.s, "Z");
    EXPECT_EQ(fromUser.ID.s, "Point №2");
    // Nothing shipped and nothing of the user's: the built-in values.
    DefaultsSource none = d.src;
    none.readDocument = ShippedSetReader(d.prog, {d.s.folder("empty")}, BindDocumentReader(nullptr));
    DLine builtIn, expect;
    LoadDefaultLine(builtIn, 1, none);
    LoadDefaultLine(expect, 1, DefaultsSource{});
    EXPECT_EQ(builtIn.Arrow2.v, expect.Arrow2.v);
    EXPECT_EQ(builtIn.P2.ScrX.v, expect.P2.ScrX.v);
}

// «Загрузить» in a new profile, where the user has saved no set: the shipped
// set, said nothing of, and no set of the user's made for it.
TEST(DefaultSets, LoadInANewProfileTakesTheShippedSet) {
    test::WindowSession s;
    s.answers.counts[Slot(Kind::po)] = 1;
    test::StartNew(s);
    QWidget* po = s.open(Kind::po);
    ASSERT_TRUE(po);
    DPoint& working = s.w->editing().Copies.CurPoint;
    working.Name.s = "mine";
    QTest::mouseClick(po->findChild<QPushButton*>("ButtonPLoad"), Qt::LeftButton);
    EXPECT_EQ(s.answers.messages, std::vector<std::string>{});
    EXPECT_NE(working.Name.s, "mine");
    EXPECT_FALSE(std::filesystem::exists(s.prog() + "DefaultSet"));
    s.stop();
}

}  // namespace
}  // namespace pelmar
