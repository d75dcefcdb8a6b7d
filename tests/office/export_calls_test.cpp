// The call sequences of the two shape exports.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <cmath>
#include <random>

#include "model/update.h"
#include "office/office_export.h"
#include "office_fixture.h"
#include "sample_document.h"

namespace pelmar::test {
namespace {

int Count(const std::vector<std::string>& calls, const std::string& call) {
    return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}

TEST(CdrExport, OneObjectOfEachKind) {
    auto doc = SampleDocument();
    RunRig r(*doc);
    r.run.options.CdrOwnArrows = false;
    r.run.options.CdrArrowNo = 5;
    r.run.options.CdrDashNo = 7;
    const std::string target = r.path("drawing.cdr");
    ASSERT_TRUE(ExportToCorelDraw(12, target, RunMode::DoNotOpen, doc->Im, r.run));

    const auto& c = r.run.calls;
    ASSERT_GE(c.size(), 30u);
    EXPECT_EQ(c[0], "FileNew");
    EXPECT_EQ(c[1], "SetPageOrientation 0");  // not shown: no SetDocVisible
    EXPECT_EQ(c[2], "SetPageSize 2116667 1587500");
    EXPECT_EQ(c[c.size() - 2], "FileSave \"" + r.path("drawing.odg") + "\" 0 0 0 0");
    EXPECT_EQ(c.back(), "FileExit 0");
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(r.path("drawing.odg"))));
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(target)));

    // Ten layers, each made and selected, in order.
    auto layers = r.calls("NewLayer");
    ASSERT_EQ(layers.size(), 10u);
    for (int n = 1; n <= 10; ++n) {
        const std::string name = "\"Layer_" + std::to_string(n) + "\"";
        EXPECT_EQ(layers[static_cast<std::size_t>(n - 1)], "NewLayer " + name);
        EXPECT_TRUE(r.has("SelectLayer " + name));
    }

    // The centre point: a disc of radius 4 px around the page origin, its
    // name as a text; the segment: units, y upwards, dash and arrow numbers.
    EXPECT_TRUE(r.has("CreateEllipse 10583 -10583 -10583 10583 0 0 0"));
    EXPECT_EQ(r.calls("CreateArtisticText \"A\"").size(), 1u);
    EXPECT_TRUE(r.has("BeginDrawCurve -793750 -529167"));
    EXPECT_TRUE(r.has("DrawCurveLineTo -264583 -529167"));
    EXPECT_TRUE(r.has("ApplyOutline 2646 2 0 0 50 0 7 5 0 0"));
    EXPECT_TRUE(r.has("StoreColor 5 255 0 0 0"));

    // Every object that drew something is one group of its remembered shapes.
    const int groups = Count(c, "Group");
    EXPECT_GE(groups, 10);
    EXPECT_LE(groups, 14);
    EXPECT_EQ(static_cast<int>(r.calls("GetObjectsCDRStaticID").size()),
              static_cast<int>(r.calls("AppendObjectToSelection").size()));
    for (std::size_t i = 0; i < c.size(); ++i)
        if (c[i] == "Group") {
            EXPECT_EQ(c[i - 1].rfind("AppendObjectToSelection", 0), 0u) << i;
        }

    // Status: the start, then one text per object with its layer.
    ASSERT_FALSE(r.ui.statuses.empty());
    EXPECT_EQ(r.ui.statuses[0], "Записываю OpenDocument Drawing (.odg)...");
    for (int k = 0; k < KindCount; ++k) {
        const std::string text = BuiltInWord(FirstKindLine + k);
        EXPECT_TRUE(std::any_of(r.ui.statuses.begin(), r.ui.statuses.end(), [&](const std::string& s) {
            return s.rfind("Слой ", 0) == 0 && s.size() > text.size() && s.compare(s.size() - text.size(), text.size(), text) == 0;
        })) << text;
    }
    EXPECT_TRUE(r.ui.questions.empty());
    EXPECT_EQ(r.ui.done, 14);  // progress over every object
    EXPECT_EQ(r.ui.total, 14);
}

TEST(CdrExport, GroupingAndSkippedObjects) {
    auto doc = NewDocument();
    DPoint empty = MakePoint(50, 50, 1, 4, Red);  // no disc, no name: no shape
    doc->Obj.Po.add(empty);
    DLine off = MakeLine(10, 10, 90, 90);
    off.Disabled.v = true;
    doc->Obj.Li.add(off);
    doc->Obj.Li.add(MakeLine(10, 90, 90, 10));

    RunRig grouped(*doc);
    ASSERT_TRUE(ExportToCorelDraw(8, grouped.path("a.odg"), RunMode::DoNotOpen, doc->Im, grouped.run));
    EXPECT_EQ(grouped.calls("BeginDrawCurve").size(), 1u);  // the disabled segment is skipped
    EXPECT_EQ(Count(grouped.run.calls, "Group"), 1);        // the empty point makes no group

    RunRig loose(*doc);
    loose.run.CdrGroupMode = 0;
    ASSERT_TRUE(ExportToCorelDraw(8, loose.path("b.odg"), RunMode::OpenAndClose, doc->Im, loose.run));
    EXPECT_TRUE(loose.has("SetDocVisible 1"));
    EXPECT_EQ(loose.desktop.opened, std::vector<std::string>{loose.path("b.odg")}) << "written, then opened";
    EXPECT_TRUE(loose.calls("GetObjectsCDRStaticID").empty());
    EXPECT_EQ(Count(loose.run.calls, "Group"), 0);
}

// A point linked to a labelled point prints no second label over it.
TEST(OfficeExport, LinkedPointOnALabelledPointPrintsNoSecondLabel) {
    auto doc = NewDocument();
    DPoint a = MakePoint(20, 20, 1, 4, Red);
    a.Name.s = "A";
    for (const DLink& link : {DLink{}, DLink{{1, 1}}}) a.Link = link, doc->Obj.Po.add(a);  // point 2 on point 1
    RunRig cdr(*doc), wrd(*doc);
    ASSERT_TRUE(ExportToCorelDraw(8, cdr.path("a.odg"), RunMode::DoNotOpen, doc->Im, cdr.run) &&
                ExportToOffice(wrd.path("a.odt"), RunMode::DoNotOpen, doc->Im, wrd.run));
    EXPECT_EQ(cdr.calls("CreateArtisticText \"A\"").size(), 1u);
    EXPECT_EQ(wrd.calls("Selection.TypeText \"A\"").size(), 1u);
}

TEST(WordExport, OneObjectOfEachKind) {
    auto doc = SampleDocument();
    RunRig r(*doc);
    r.run.options.WordArrowNo = 3;
    r.run.options.WordDashNo = 4;
    ASSERT_TRUE(ExportToOffice(r.path("text.doc"), RunMode::DoNotOpen, doc->Im, r.run));

    const auto& c = r.run.calls;
    EXPECT_EQ(c[0], "Documents.Add");
    EXPECT_EQ(c[1], "ActiveDocument.PageSetup.LeftMargin");
    EXPECT_EQ(c[2], "ActiveDocument.PageSetup.TopMargin");
    // The centre point (300 pt, 225 pt) with radius 3 pt, after the margins.
    EXPECT_TRUE(r.has("ActiveDocument.Shapes.AddShape 9 382.05 278.7 6 6"));
    EXPECT_TRUE(r.has("ActiveDocument.Shapes.AddLine 160.05 431.7 310.05 431.7"));
    EXPECT_TRUE(r.has("put \"Selection.ShapeRange.Line.DashStyle\" 4"));
    EXPECT_TRUE(r.has("put \"Selection.ShapeRange.Line.EndArrowheadStyle\" 3"));
    EXPECT_TRUE(r.has("Selection.TypeText \"A\""));
    EXPECT_TRUE(r.has("put \"Selection.Font.ColorIndex\" 1"));

    // Names O1 .. On in order, then one group of all of them.
    const auto names = r.calls("put \"Selection.ShapeRange.Name\"");
    ASSERT_GE(names.size(), 10u);
    std::string range = "ActiveDocument.Shapes.Range";
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string n = "\"O" + std::to_string(i + 1) + "\"";
        EXPECT_EQ(names[i], "put \"Selection.ShapeRange.Name\" " + n);
        range += " " + n;
    }
    EXPECT_TRUE(r.has(range));
    EXPECT_EQ(Count(c, "Group"), 1);
    EXPECT_EQ(c[c.size() - 2], "ActiveDocument.SaveAs \"" + r.path("text.odt") + "\"");
    EXPECT_EQ(c.back(), "Quit");
    EXPECT_EQ(r.ui.statuses[0], "Записываю OpenDocument Text (.odt)...");
}

TEST(WordExport, SingleShapeIsNotGroupedAndEmptyPointsAreNotCounted) {
    auto doc = NewDocument();
    doc->Obj.Po.add(MakePoint(50, 50, 1, 4, Red));
    doc->Obj.Li.add(MakeLine(10, 90, 90, 10));
    RunRig r(*doc);
    ASSERT_TRUE(ExportToOffice(r.path("one.odt"), RunMode::DoNotOpen, doc->Im, r.run));
    EXPECT_TRUE(r.calls("ActiveDocument.Shapes.AddShape").empty());
    EXPECT_EQ(r.calls("put \"Selection.ShapeRange.Name\""),
              std::vector<std::string>{"put \"Selection.ShapeRange.Name\" \"O1\""});
    EXPECT_TRUE(r.calls("ActiveDocument.Shapes.Range").empty());
    EXPECT_EQ(Count(r.run.calls, "Group"), 0);
}

TEST(WordExport, ShapeWritersConvertAsTheWordProcessorExpects) {
    WordApplication app;
    app.DocumentsAdd();
    WordExportSink sink(app, 96);
    sink.Start();
    app.clearLog();
    // A ring of 4 px with an inner radius of 2 px: a 6 pt box, a 1.5 pt line.
    sink.OfficeOval(3, Red, 100, 100, 4, 2);
    // A whole ellipse tilted by 150 degrees: extents exchanged, turned by 60.
    sink.OfficeArc(Blue, false, 0, 200, 200, 40, 40, 20, 20, 1, 150, 0, 360);
    // An empty point draws nothing.
    sink.OfficeOval(1, Red, 10, 10, 4, 2);
    // An untilted whole turn stays a whole ellipse, though the tangent of
    // 360 degrees is not quite 0.
    sink.OfficeArc(Blue, false, 0, 100, 100, 40, 40, 20, 20, 1, 0, 0, 360);
    const std::string log = app.text();
    EXPECT_NE(log.find("ActiveDocument.Shapes.AddShape 9 157.05 128.7 6 6"), std::string::npos) << log;
    EXPECT_NE(log.find("put \"Selection.ShapeRange.Line.Weight\" 1.5"), std::string::npos);
    EXPECT_NE(log.find("ActiveDocument.Shapes.AddShape 9 220.05 176.7 30 60"), std::string::npos) << log;
    EXPECT_NE(log.find("put \"Selection.ShapeRange.Rotation\" 60"), std::string::npos);
    EXPECT_NE(log.find("ActiveDocument.Shapes.AddShape 9 130.05 116.7 60 30"), std::string::npos) << log;
    EXPECT_EQ(log.find("Adjustments"), std::string::npos);
    EXPECT_EQ(sink.WordShapeCount, 3);
}

TEST(WordExport, EllipseAngleAndColourIndexes) {
    // The exact quarter turns.
    const std::pair<double, double> exact[] = {{-450, -90}, {-270, 90}, {-90, -90}, {90, 90}, {270, 270}, {450, 90}};
    for (auto [a, r] : exact) EXPECT_EQ(EllipseAngle(3, 5, a), r) << a;
    // On a circle the angle stays; on any ellipse it stays in its half-turn
    // and keeps the axes' directions.
    std::mt19937 gen(18);
    std::uniform_real_distribution<double> angle(-629, 629), len(0.5, 50);
    for (int i = 0; i < 2000; ++i) {
        const double a = angle(gen), v = len(gen), h = len(gen);
        EXPECT_NEAR(EllipseAngle(v, v, a), a, 1e-9) << a;
        const double e = EllipseAngle(v, h, a);
        EXPECT_EQ(std::floor((e + 90) / 180), std::floor((a + 90) / 180)) << a;
        const double k = std::round(a / 180) * 180;
        if (std::abs(a - k) < 1e-12) {
            EXPECT_NEAR(e, k, 1e-9);
        }
    }
    EXPECT_TRUE(std::isfinite(EllipseAngle(0, 0, 30)));
    // The word processor's colour of each index is the program's colour.
    std::vector<int> seen;
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(WordIndexColour(WordColorIndex(i)), IndexToColor(static_cast<std::uint8_t>(i))) << i;
        seen.push_back(WordColorIndex(i));
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(std::unique(seen.begin(), seen.end()), seen.end());
}

TEST(OfficeExport, RunModesAndMissingProgram) {
    auto doc = SampleDocument();
    // Open but do not close: a copy in the temporary folder is opened; no
    // file at the chosen name.
    RunRig open(*doc);
    ASSERT_TRUE(ExportToOffice(open.path("kept.doc"), RunMode::OpenDoNotClose, doc->Im, open.run));
    EXPECT_EQ(open.desktop.opened, std::vector<std::string>{open.path("Temp/kept.odt")});
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(open.path("Temp/kept.odt"))));
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(open.path("kept.odt"))));
    EXPECT_TRUE(open.calls("ActiveDocument.SaveAs").empty());
    EXPECT_TRUE(open.has("put Visible 1"));

    // No program for the type: a run that only writes the file does not ask;
    // one that opens it asks, naming the type.  No ends the run with nothing
    // written, Yes writes the chosen file without opening anything.
    for (const RunMode mode : {RunMode::DoNotOpen, RunMode::OpenAndClose, RunMode::OpenDoNotClose})
        for (const bool yes : {false, true})
            for (const bool text : {false, true}) {
                SCOPED_TRACE(std::to_string(int(mode)) + (yes ? " yes" : " no") + (text ? " odt" : " odg"));
                RunRig declined(*doc);
                declined.desktop.installed = false;
                declined.ui.answer = yes;
                const std::string written = declined.path(text ? "x.odt" : "x.odg");
                const bool ok = text ? ExportToOffice(declined.path("x.doc"), mode, doc->Im, declined.run)
                                     : ExportToCorelDraw(9, declined.path("x.cdr"), mode, doc->Im, declined.run);
                const bool asked = mode != RunMode::DoNotOpen;
                EXPECT_EQ(ok, yes || !asked);
                ASSERT_EQ(declined.ui.questions.size(), asked ? 1u : 0u);
                if (asked) {
                    EXPECT_EQ(declined.ui.questions[0], std::string("Не найдена программа для файлов ") +
                                                            (text ? "OpenDocument Text (.odt)" : "OpenDocument Drawing (.odg)") +
                                                            ".\n\rСохранить файл, не открывая его?");
                }
                EXPECT_EQ(QFileInfo::exists(QString::fromStdString(written)), ok);
                EXPECT_TRUE(declined.desktop.opened.empty());
                EXPECT_EQ(declined.run.calls.empty(), !ok);
            }

    // A program that cannot be started, or a file that cannot be written, is
    // an error the dialog shows; Running is cleared in every case.
    RunRig failing(*doc);
    failing.desktop.openError = "cannot start";
    bool running = false;
    std::vector<std::string> shown;
    auto show = [&](const std::string& s) { shown.push_back(s); };
    EXPECT_FALSE(RunGuarded(running, [&] {
        EXPECT_TRUE(running);
        return ExportToCorelDraw(8, failing.path("y.cdr"), RunMode::OpenDoNotClose, doc->Im, failing.run);
    }, show));
    EXPECT_FALSE(running);
    EXPECT_FALSE(RunGuarded(running, [&] {
        return ExportToOffice(failing.path("missing/folder/z.doc"), RunMode::DoNotOpen, doc->Im, failing.run);
    }, show));
    EXPECT_FALSE(running);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], "cannot start");
    // The file the user named and why, in the interface's words.
    EXPECT_EQ(shown[1], "Не могу сохранить файл!\n\r" + failing.path("missing/folder/z.odt") + ": папка не найдена");
}

TEST(OfficeExport, FileNames) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"a.cdr", ".odg", "a.odg"}, {"b.DOC", ".odt", "b.odt"}, {"c.odg", ".odg", "c.odg"},
        {"d", ".odt", "d.odt"},     {"e.png", ".odg", "e.png.odg"}};
    for (auto [in, ext, out] : cases) EXPECT_EQ(OdfFileName(in, ext), out) << in;
}

}  // namespace
}  // namespace pelmar::test
