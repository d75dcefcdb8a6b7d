#include <gtest/gtest.h>

#include "platform/qt_text.h"

#include <cmath>
#include <limits>

#include "drawing/point_paint.h"
#include "paint_fixture.h"
#include "support/recording_sinks.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

using Lines = std::vector<std::string>;

// ---------------------------------------------------------------------------
// The own picture

TEST(PointPel, DiscAndRingMarks) {
    RecordingCanvas rec;
    const DImProj im = Picture();
    DPoint p = MakePoint(50, 60, 2, 4);
    DrawPoint(p, im, PelTarget(rec));
    EXPECT_EQ(LinesStarting(rec, "fill"), (Lines{"fillEllipse #FF0000 [46,536,8,8]"}));

    // A ring is a disc with an inner disc of the background colour.
    rec.clear();
    p.Typ.v = 3;
    p.Radius.v = 5;
    p.Thick.v = 2;
    DrawPoint(p, im, PelTarget(rec));
    EXPECT_EQ(LinesStarting(rec, "fill"),
              (Lines{"fillEllipse #FF0000 [45,535,10,10]", "fillEllipse #FFFFFF [47,537,6,6]"}));

    // A ring as thick as its radius stays a disc.
    rec.clear();
    p.Thick.v = 5;
    DrawPoint(p, im, PelTarget(rec));
    EXPECT_EQ(LinesStarting(rec, "fill"), (Lines{"fillEllipse #FF0000 [45,535,10,10]"}));
}

TEST(PointPel, SmoothingFollowsThePicture) {
    RecordingCanvas rec;
    DImProj im = Picture();
    im.Smooth = false;
    DrawPoint(MakePoint(50, 60), im, PelTarget(rec));
    EXPECT_EQ(rec.lines().front(), "setAntialias 0");
    // Text is smoothed in raster mode whatever the option; in metafile mode only with it.
    EXPECT_EQ(LinesStarting(rec, "setTextAntialias"), (Lines{"setTextAntialias 1"}));
    rec.clear();
    im.PicMode = 1;
    DrawPoint(MakePoint(50, 60), im, PelTarget(rec));
    EXPECT_EQ(LinesStarting(rec, "setTextAntialias"), (Lines{"setTextAntialias 0"}));
}

TEST(PointPel, SelectedDiscTakesTheSelectionColourButNotItsLabel) {
    RecordingCanvas rec;
    DPoint p = MakePoint(50, 60);
    p.Name.s = "A";
    p.Selected = true;
    p.SelColor = Green;
    DrawPoint(p, Picture(), PelTarget(rec));
    EXPECT_EQ(Drawn(rec), (Lines{"fillEllipse #00FF00 [46,536,8,8]",
                                 "drawText font(Arial,16) #FF0000 \"A\" (50,540) center,center"}));
}

TEST(PointPel, DisabledAndEmptyPoints) {
    RecordingCanvas rec;
    DPoint p = MakePoint(50, 60);
    p.Name.s = "A";
    p.Disabled.v = true;
    DrawPoint(p, Picture(), PelTarget(rec));
    DrawPointElement(p, Picture(), PelTarget(rec));
    EXPECT_TRUE(rec.lines().empty());

    // Type 1 draws its label only; no name and no indices draw nothing visible.
    p.Disabled.v = false;
    p.Typ.v = 1;
    DrawPoint(p, Picture(), PelTarget(rec));
    EXPECT_EQ(Drawn(rec), (Lines{"drawText font(Arial,16) #FF0000 \"A\" (50,540) center,center"}));
    rec.clear();
    p.Typ.v = 2;
    p.Name.s.clear();
    DrawPoint(p, Picture(), PelTarget(rec));
    EXPECT_EQ(Drawn(rec), (Lines{"fillEllipse #FF0000 [46,536,8,8]"}));
    // A label of blanks only is neither measured nor drawn.
    for (const char* blank : {"", " ", "  "}) {
        rec.clear();
        p.Name.s = blank;
        p.Upper.s = " ";
        p.Lower.s = blank;
        DrawPoint(p, Picture(), PelTarget(rec));
        EXPECT_TRUE(LinesStarting(rec, "measureText").empty()) << '"' << blank << '"';
        EXPECT_EQ(Drawn(rec), (Lines{"fillEllipse #FF0000 [46,536,8,8]"}));
    }
}

TEST(PointPel, LabelPlacementAndIndices) {
    RecordingCanvas rec;
    DPoint p = MakePoint(50, 60, 1);
    p.Name.s = "A";
    p.Upper.s = "2";
    p.Lower.s = "k";
    p.LabelDist.v = 20;
    p.LabelAngle.v = 0;  // to the right
    DrawPoint(p, Picture(), PelTarget(rec));
    // Name font 1.6 x 10 = 16 px, index font 1.6 x 8 = 13 px.  With the
    // recording canvas's measures: W1 = Wn = 9.6, Hn = 19.2, Hu = 15.6, k = 0.2:
    // xi = 70 + 4.8 - 1.92, yu = 540 - 9.6 - 9.36 + 3.84, yl = 540 + 9.6 - 4.68 - 6.72.
    EXPECT_EQ(Drawn(rec), (Lines{"drawText font(Arial,16) #FF0000 \"A\" (70,540) center,center",
                                 "drawText font(Arial,13) #FF0000 \"2\" (72.88,524.88) near,near",
                                 "drawText font(Arial,13) #FF0000 \"k\" (72.88,538.2) near,near"}));
    // Measured: "1" and the name in the name font, then both indices.
    EXPECT_EQ(LinesStarting(rec, "measureText"),
              (Lines{"measureText font(Arial,16) \"1\"", "measureText font(Arial,16) \"A\"",
                     "measureText font(Arial,13) \"2\"", "measureText font(Arial,13) \"k\""}));

    // An empty index, or a lone blank, is measured as "1".
    rec.clear();
    p.Upper.s = "";
    p.Lower.s = " ";
    DrawPoint(p, Picture(), PelTarget(rec));
    const Lines m = LinesStarting(rec, "measureText");
    ASSERT_EQ(m.size(), 4u);
    EXPECT_EQ(m[2], "measureText font(Arial,13) \"1\"");
    EXPECT_EQ(m[3], "measureText font(Arial,13) \"1\"");
}

TEST(PointPel, IndicesSitCloserToOpenCapitals) {
    auto indexX = [](const std::string& name) {
        RecordingCanvas rec;
        DPoint p = MakePoint(50, 60, 1);
        p.Name.s = name;
        p.Upper.s = "2";
        DrawPoint(p, Picture(), PelTarget(rec));
        const Lines d = LinesStarting(rec, "drawText font(Arial,13)");
        EXPECT_EQ(d.size(), 1u);
        return d.empty() ? std::string() : d[0];
    };
    // k = 0.1 for "T": xi = 50 + 4.8 - 0.96; k = 0.2 for "A": 50 + 4.8 - 1.92.
    EXPECT_NE(indexX("T").find("(53.84,"), std::string::npos);
    EXPECT_NE(indexX("A").find("(52.88,"), std::string::npos);
    EXPECT_NE(indexX("").find("(48.08,"), std::string::npos);  // empty name: k = 0.2, no width
}

TEST(PointPel, LabelAngleIsCounterClockwiseOnThePicture) {
    RecordingCanvas rec;
    DPoint p = MakePoint(50, 60, 1);
    p.Name.s = "A";
    p.LabelDist.v = 20;
    p.LabelAngle.v = 90;
    DrawPoint(p, Picture(), PelTarget(rec));
    EXPECT_EQ(Drawn(rec), (Lines{"drawText font(Arial,16) #FF0000 \"A\" (50,520) center,center"}));
}

TEST(PointPel, FontSizesInPoints) {
    DImProj im = Picture(800, 600, 300);
    im.FontUnit = 2;
    EXPECT_EQ(LabelPixelSize(12, im), 50);
    im.FontUnit = 1;
    EXPECT_EQ(LabelPixelSize(12, im), 19);  // Round(19.2)
    EXPECT_EQ(LabelPixelSize(0, im), 0);
}

TEST(PointPel, OtherTargetsAndMissingSurfaces) {
    RecordingCanvas rec;
    PaintTarget t = PelTarget(rec);
    t.kind = TargetKindOf("xyz");
    DPoint p = MakePoint(50, 60);
    p.Name.s = "A";
    DrawPoint(p, Picture(), t);
    EXPECT_TRUE(rec.lines().empty());
    PaintTarget none;
    none.kind = TargetKind::Pel;
    DrawPoint(p, Picture(), none);  // no canvas: nothing, no crash
    none.kind = TargetKind::Cdr;
    DrawPoint(p, Picture(), none);
    none.kind = TargetKind::Wrd;
    DrawPoint(p, Picture(), none);
}

// A point "O" with both indices linked to a point where it stands: its label is left out on a target only where the
// linked-to point shows a label of its own there.
TEST(PointLabel, LinkedPointShowsItsLabelUnlessTheLinkedToPointShowsOne) {
    const DLink circumcentre{{4, 1, 0, 9, 0, 4}}, vertex{{4, 1, 0, 1, 0, 1}};  // kind, index, selectors
    using Change = void (*)(DProj&, DPoint&);
    const Change none = [](DProj&, DPoint&) {};
    const char* all = "pel cdr wrd";
    const struct { const char* what; DLink link; Change change; const char* drawnOn; bool withDoc = true; } cases[] = {
        {"circumcentre, its label blank", circumcentre, none, all},
        {"a labelled vertex", vertex, none, ""},
        {"... without the document to look in", vertex, none, all, false},
        {"... of a disabled triangle", vertex, [](DProj& d, DPoint&) { d.Obj.Tr[1].Disabled.v = true; }, all},
        {"... disabled", vertex, [](DProj& d, DPoint&) { d.Obj.Tr[1].S[1].P1.Disabled.v = true; }, all},
        {"... elsewhere", vertex, [](DProj& d, DPoint&) { d.Obj.Tr[1].S[1].P1.ScrX.v += 1; }, all},
        {"... with an index only: the word processor shows none", vertex,
         [](DProj& d, DPoint&) { d.Obj.Tr[1].S[1].P1.Name.s = " "; }, "wrd"},
        {"the named centre of a circumcircle not shown", circumcentre,
         [](DProj& d, DPoint&) { d.Obj.Tr[1].Circ[1].Center.Name.s = "Q", d.Obj.Tr[1].CircOn[1].v = false; }, all},
        {"a blank vertex linked on to a labelled one", DLink{{4, 2, 0, 1, 0, 1}},
         [](DProj& d, DPoint&) { d.Obj.Tr[2].S[1].P1.Link = DLink{{4, 1, 0, 1, 0, 1}}; }, ""},
        {"itself", DLink{{1, 1}}, [](DProj& d, DPoint& p) { d.Obj.Po.add(p); }, all},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto doc = NewDocument();
        DTri t;
        t.S[1].P1 = MakePoint(300, 200), t.Circ[1].Center = MakePoint(300, 200, 1), t.CircOn[1].v = true;
        doc->Obj.Tr.add(t), doc->Obj.Tr.add(t);
        doc->Obj.Tr[1].S[1].P1.Name.s = "A", doc->Obj.Tr[1].S[1].P1.Lower.s = "1";
        DPoint p = MakePoint(300, 200);
        p.Name.s = "O", p.Upper.s = "x7", p.Lower.s = "y8", p.Link = c.link;
        c.change(*doc, p);
        for (const char* word : {"pel", "cdr", "wrd"}) {
            RecordingCanvas canvas, measure;
            RecordingCdrSink cdr;
            RecordingWordSink wrd;
            const DProj* in = c.withDoc ? doc.get() : nullptr;
            DrawPoint(p, Picture(), {TargetKindOf(word), &canvas, nullptr, &cdr, &wrd, {}, &measure, nullptr, in});
            std::string drawn = cdr.text() + wrd.text();
            for (const std::string& l : Drawn(canvas)) drawn += l;
            for (const char* text : {"\"O\"", "\"x7\"", "\"y8\""})
                EXPECT_EQ(drawn.find(text) != std::string::npos, std::string(c.drawnOn).find(word) != std::string::npos)
                    << word << " " << text;
        }
    }
}

// ---------------------------------------------------------------------------
// The exports

struct ExportPoint {
    DImProj im = Picture(800, 600, 100);
    DPoint p;
    RecordingCanvas measure;
    ExportPoint() {
        p = MakePoint(100, 200, 3, 4, Red);
        p.Thick.v = 1;
        p.Name.s = "A";
        p.Upper.s = "2";
        p.Lower.s = "k";
        p.NameFont.s = "Times New Roman";
        p.NameItalic.v = true;
        p.IndexBold.v = true;
        p.LabelDist.v = 10;
        p.LabelAngle.v = 90;
        p.ColorIndex.v = 9;
    }
    PaintTarget target(const char* word) {
        PaintTarget t;
        t.kind = TargetKindOf(word);
        t.measure = &measure;
        return t;
    }
};

TEST(PointExport, CdrRingAndLabel) {
    ExportPoint e;
    RecordingCdrSink cdr;
    PaintTarget t = e.target("cdr");
    t.cdr = &cdr;
    DrawPoint(e.p, e.im, t);
    // At 100 dpi a pixel is 2540 units; the page origin is the picture centre
    // (400, 300) with y upwards.  The point lies at (100, 400) on the picture.
    // Label centre (100, 390).  The name and the indices stand where the own
    // picture puts them (fonts 16 and 13 px; the indices' left 100 + 4.8 -
    // 0.2 x 9.6, tops 374.88 and 388.2), by their baselines, and as large
    // (11.52 and 9.36 points at 100 dpi).
    const double ascent = PlaceText({"Arial", 13, true, false}, "1", {0, 0}, {}).ascent;
    auto at = [&](const char* text, double top) {
        return "CreateArtisticText \"" + std::string(text) + "\" " + std::to_string(CdrX(e.im, 102.88)) + " " +
               std::to_string(CdrY(e.im, top + ascent));
    };
    const TextPlacement name =
        PlaceText({"Times New Roman", 16, false, true}, "A", {100, 390}, {TextAlign::Center, TextAlign::Center});
    EXPECT_EQ(cdr.lines(),
              (Lines{
                  "CreateEllipse -243840 -772160 -264160 -751840 0 0 0",
                  "CdrSetOutlineColor #FF0000",
                  "CdrSetFillColor #FF0000",
                  "SetOutlineWidth 2540",
                  "CdrRememberShape",
                  "CreateEllipse -246380 -769620 -261620 -754380 0 0 0",
                  "CdrSetOutlineColor #FFFFFF",
                  "CdrSetFillColor #FFFFFF",
                  "SetOutlineWidth 2540",
                  "CdrRememberShape",
                  "CreateArtisticText \"A\" " + std::to_string(CdrX(e.im, name.left)) + " " +
                      std::to_string(CdrY(e.im, name.top + name.ascent)),
                  "SetCharacterAttributes 0 0 \"Times New Roman\" 8 115 0 0 0 0 0 1000 1000 1",
                  "CdrSetFillColor #FF0000",
                  "CdrRememberShape",
                  at("2", 374.88),
                  "SetCharacterAttributes 0 0 \"Arial\" 13 94 0 0 0 0 0 1000 1000 1",
                  "CdrSetFillColor #FF0000",
                  "CdrRememberShape",
                  at("k", 388.2),
                  "SetCharacterAttributes 0 0 \"Arial\" 13 94 0 0 0 0 0 1000 1000 1",
                  "CdrSetFillColor #FF0000",
                  "CdrRememberShape",
              }));
    EXPECT_EQ(e.measure.lines(),
              (Lines{"measureText font(Times New Roman,16,italic) \"1\"", "measureText font(Times New Roman,16,italic) \"A\"",
                     "measureText font(Arial,13,bold) \"2\"", "measureText font(Arial,13,bold) \"k\""}));
}

TEST(PointExport, CdrSkipsBlankTextsAndEmptyMarks) {
    ExportPoint e;
    RecordingCdrSink cdr;
    PaintTarget t = e.target("cdr");
    t.cdr = &cdr;
    e.p.Typ.v = 1;
    e.p.Name.s = "";
    e.p.Upper.s = "  ";
    e.p.Lower.s = "";
    DrawPoint(e.p, e.im, t);
    EXPECT_TRUE(cdr.lines().empty());

    // Point sizes: 10 pt is drawn 14 px high at 100 dpi, 10.08 points; the
    // style codes follow the flags.
    e.im.FontUnit = 2;
    e.p.Name.s = "B";
    e.p.NameBold.v = true;
    DrawPoint(e.p, e.im, t);
    ASSERT_EQ(cdr.lines().size(), 4u);
    EXPECT_EQ(cdr.lines()[1], "SetCharacterAttributes 0 0 \"Times New Roman\" 14 101 0 0 0 0 0 1000 1000 1");
}

TEST(PointExport, WordOvalAndTextBox) {
    ExportPoint e;
    RecordingWordSink wrd;
    PaintTarget t = e.target("wrd");
    t.wrd = &wrd;
    DrawPoint(e.p, e.im, t);
    // The name and each index in a box of its own where the own picture
    // draws them (as CdrRingAndLabel), the box's top the font's ascent above
    // the baseline; sizes in points at 100 dpi.
    const Font name{"Times New Roman", 16, false, true}, index{"Arial", 13, true, false};
    const TextPlacement n = PlaceText(name, "A", {100, 390}, {TextAlign::Center, TextAlign::Center});
    const double indexAscent = PlaceText(index, "1", {0, 0}, {}).ascent;
    auto box = [](const char* text, const Font& f, double left, double baseline, const char* flags, double size) {
        return "OfficeTextBox 30 30 \"" + std::string(text) + "\" " + RecordingCanvas::Num(left) + " " +
               RecordingCanvas::Num(WordBoxTop(f, baseline)) + " \"\" \"\" \"" + f.family + "\" \"" + f.family + "\" " +
               flags + " " + RecordingCanvas::Num(size) + " 9 #FF0000";
    };
    EXPECT_EQ(wrd.lines(), (Lines{"OfficeOval 3 #FF0000 100 400 4 3",
                                  box("A", name, n.left, n.top + n.ascent, "1 0 1 0", 11.52),
                                  box("k", index, 102.88, 388.2 + indexAscent, "0 1 0 1", 9.36),
                                  box("2", index, 102.88, 374.88 + indexAscent, "0 1 0 1", 9.36)}));

    // An empty name suppresses the indices too; the mark stays.
    wrd.clear();
    e.p.Name.s = " ";
    DrawPoint(e.p, e.im, t);
    EXPECT_EQ(wrd.lines(), (Lines{"OfficeOval 3 #FF0000 100 400 4 3"}));
}

TEST(PointExport, UnitConversions) {
    DImProj im = Picture(800, 600, 96);
    EXPECT_EQ(CdrUnits(96, 1), 2646);  // 254000 / 96 = 2645.83
    EXPECT_EQ(CdrUnits(96, 96), 254000);
    EXPECT_EQ(CdrUnits(0, 5), 0);
    EXPECT_EQ(CdrX(im, 400), 0);
    EXPECT_EQ(CdrY(im, 300), 0);
    EXPECT_EQ(CdrX(im, 496), 254000);
    EXPECT_EQ(CdrY(im, 204), 254000);  // y runs upwards
    EXPECT_EQ(CdrAngle(30), -30000000);
    EXPECT_EQ(CdrAngle(-0.5), 500000);
    EXPECT_EQ(CdrUnits(1, 1e12), std::numeric_limits<int>::max());
    EXPECT_EQ(RoundToInt(2.5), 2);
    EXPECT_EQ(RoundToInt(std::nan("")), 0);
}

}  // namespace
