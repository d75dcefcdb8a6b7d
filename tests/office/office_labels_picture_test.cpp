// Labels and hidden edges as LibreOffice draws both exports: a red point's
// label at the picture's size and in its colour, a thin dashed line still
// dashed, and so is one with another drawn back over it, with the export
// dialogs' default dash numbers.  The written files
// say so too, where LibreOffice is not installed, and put every text of a
// lesson drawing (Latin and Cyrillic names with indices, axis letters and
// numbers) where the picture draws it, its arrowheads as large.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <regex>
#include <utility>

#include "drawing/coord_paint.h"
#include "drawing/figure_fixture.h"
#include "drawing/line_paint.h"
#include "drawing/point_paint.h"
#include "office/office_fonts.h"
#include "picture_match.h"
#include "platform/qt_canvas.h"
#include "platform/qt_text.h"

namespace pelmar::test {
namespace {

std::unique_ptr<DProj> LabelScene() {
    auto doc = NewDocument();
    doc->Im.Width = 400;
    doc->Im.Height = 300;
    DPoint p = MakePoint(150, 150, 2, 3, Red);  // ColorIndex 0 names black
    p.Name.s = "K";
    p.Lower.s = "1";
    p.NameFont.s = p.IndexFont.s = "DejaVu Serif";
    p.NameSize.v = 20;
    p.IndexSize.v = 12;
    // Up and to the right, near enough for a label too large to put its
    // index on the dot.
    p.LabelDist.v = 26;
    p.LabelAngle.v = 45;
    doc->Obj.Po.add(p);
    DLine hidden = MakeLine(40, 60, 360, 60, 1, Black);
    hidden.LineType.v = 2;
    hidden.Dash.v = 5;
    hidden.Gap.v = 4;
    doc->Obj.Li.add(hidden);
    // Lower down, a hidden edge and a section's side lying on it, drawn from
    // opposite ends.
    for (const bool back : {false, true}) {
        DLine edge = hidden;
        edge.P1.ScrY.v = edge.P2.ScrY.v = 90;
        if (back) std::swap(edge.P1, edge.P2);
        doc->Obj.Li.add(edge);
    }
    return doc;
}

ExportOptions DialogDefaults() {
    ExportOptions o;
    o.CdrDashNo = 9;   // the drawing-program dialog's default
    o.WordDashNo = 1;  // the word processor's "solid"
    return o;
}

bool IsRed(const QImage& img, int x, int y) {
    const QColor c = img.pixelColor(x, y);
    return c.red() > 150 && c.green() < 120 && c.blue() < 120;
}

// The boxes of the red blobs (8-connected) of the picture that lie wholly
// outside the point's dot, from left to right: the name's letter first,
// then the index.
std::vector<QRect> RedBlobs(const QImage& img, QPoint dot, int dotRadius) {
    const int w = img.width(), h = img.height();
    std::vector<int> seen(static_cast<std::size_t>(w * h), 0);
    std::vector<QRect> blobs;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (seen[static_cast<std::size_t>(y * w + x)] || !IsRed(img, x, y)) continue;
            QRect box;
            bool onDot = false;
            std::vector<QPoint> todo{{x, y}};
            seen[static_cast<std::size_t>(y * w + x)] = 1;
            while (!todo.empty()) {
                const QPoint q = todo.back();
                todo.pop_back();
                box |= QRect(q, QSize(1, 1));
                onDot = onDot || std::hypot(q.x() - dot.x(), q.y() - dot.y()) <= dotRadius + 1;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int xx = q.x() + dx, yy = q.y() + dy;
                        if (xx < 0 || yy < 0 || xx >= w || yy >= h) continue;
                        int& s = seen[static_cast<std::size_t>(yy * w + xx)];
                        if (s || !IsRed(img, xx, yy)) continue;
                        s = 1;
                        todo.emplace_back(xx, yy);
                    }
            }
            if (!onDot && box.width() * box.height() > 4) blobs.push_back(box);
        }
    std::sort(blobs.begin(), blobs.end(), [](const QRect& a, const QRect& b) { return a.left() < b.left(); });
    return blobs;
}

// The dashes along row y from x0 to x1: runs of ink and the shortest gap.
void Dashes(const QImage& img, int y, int x0, int x1, int& runs, int& shortestGap) {
    runs = 0;
    shortestGap = 1 << 20;
    bool was = false;
    int gap = 0;
    for (int x = x0; x <= x1; ++x) {
        bool ink = false;
        for (int dy = -1; dy <= 1; ++dy) ink = ink || qGray(img.pixel(x, y + dy)) < 170;
        if (ink && !was) {
            ++runs;
            if (runs > 1) shortestGap = std::min(shortestGap, gap);
        }
        gap = ink ? 0 : gap + 1;
        was = ink;
    }
}

TEST(OfficePictures, LabelsAndDashesAsThePictureShowsThem) {
    auto doc = LabelScene();
    if (QStandardPaths::findExecutable("soffice").isEmpty()) GTEST_SKIP() << "LibreOffice is not installed";
    const ThreePictures p = DrawThreeWays(*doc, "labels", DialogDefaults());
    ASSERT_FALSE(p.own.isNull() || p.drawing.isNull() || p.text.isNull());
    const QPoint dot(150, 300 - 150);
    const std::vector<QRect> own = RedBlobs(p.own, dot, 3);
    ASSERT_EQ(own.size(), 2u);  // "K" and "1"
    for (const auto& [name, img] : {std::pair{"drawing", p.drawing}, std::pair{"text", p.text}}) {
        const std::vector<QRect> blobs = RedBlobs(img, dot, 3);
        ASSERT_EQ(blobs.size(), 2u) << name << ": the label is not red, or its index runs into the dot";
        const QRect letter = blobs[0], index = blobs[1];
        EXPECT_NEAR(double(letter.height()) / own[0].height(), 1.0, 0.1) << name;
        EXPECT_NEAR(double(letter.width()) / own[0].width(), 1.0, 0.15) << name;
        // LibreOffice's ascent of a font can differ from Qt's by a few pixels.
        EXPECT_NEAR(letter.center().x(), own[0].center().x(), 4) << name;
        EXPECT_NEAR(letter.center().y(), own[0].center().y(), 6) << name;
        // The index sits low beside the letter as on the picture, clear of
        // the dot.
        EXPECT_GT(index.left(), letter.center().x()) << name;
        EXPECT_NEAR(index.bottom() - letter.bottom(), own[1].bottom() - own[0].bottom(), 4) << name;
        EXPECT_NEAR(index.height(), own[1].height(), 4) << name;
        int runs = 0, gap = 0;
        Dashes(img, 300 - 60, 60, 340, runs, gap);
        EXPECT_GE(runs, 20) << name << ": the hidden line is not dashed";
        EXPECT_GE(gap, 2) << name << ": the dashes run together";
        // The two lines on each other darken the dashes' smoothed ends only.
        Dashes(img, 300 - 90, 60, 340, runs, gap);
        EXPECT_GE(runs, 20) << name << ": the hidden edge under the section's side is not dashed";
        EXPECT_GE(gap, 1) << name << ": the dashes of the edge and the side fill each other's gaps";
    }
}

// Without LibreOffice: the files carry the picture's label size, the label's
// colour and a dash for the dashed line.
TEST(OfficeFiles, LabelSizeColourAndDashFollowThePicture) {
    auto doc = LabelScene();
    RunRig r(*doc);
    r.run.options = DialogDefaults();
    ASSERT_TRUE(ExportToCorelDraw(8, r.path("l.cdr"), RunMode::DoNotOpen, doc->Im, r.run));
    ASSERT_TRUE(ExportToOffice(r.path("l.doc"), RunMode::DoNotOpen, doc->Im, r.run));
    // The name is drawn 32 pixels high (20 x 1.6), 24 points at 96 dots per inch.
    for (const char* file : {"l.odg", "l.odt"}) {
        const std::string content = ZipText(r.path(file), "content.xml");
        ASSERT_FALSE(content.empty()) << file;
        EXPECT_NE(content.find("fo:font-size=\"24"), std::string::npos) << file;
        EXPECT_EQ(content.find("fo:font-size=\"30"), std::string::npos) << file;
        EXPECT_NE(content.find("fo:color=\"#ff0000\""), std::string::npos) << file;
        EXPECT_NE(content.find("draw:stroke-dash=\"Dash\""), std::string::npos) << file;
    }
}

// Dashed segments lying on each other, drawn from opposite ends, go into
// both files the same way round in every direction (also a hair off
// vertical), so that their dashes fall on each other; one with an arrowhead
// keeps its direction.
TEST(OfficeFiles, CoincidentDashedLinesRunOneWay) {
    auto doc = NewDocument();
    doc->Im.Width = 400;
    doc->Im.Height = 300;
    const struct {
        double x1, y1, x2, y2;
        bool arrow = false;
    } rows[] = {{40, 60, 360, 60},  {200, 20, 200, 280}, {40, 20, 360, 280},         {40, 280, 360, 20},
                {50, 250, 250, 50}, {300, 30, 300 + 1e-9, 250}, {300, 30, 300 - 1e-9, 250}, {40, 60, 360, 60, true}};
    for (const auto& row : rows) {
        DLine l = MakeLine(row.x1, row.y1, row.x2, row.y2, 1, Black);
        l.LineType.v = 2;
        l.Arrow2.v = row.arrow;
        doc->Obj.Li.add(l);
        std::swap(l.P1, l.P2);
        doc->Obj.Li.add(l);
    }
    RunRig r(*doc);
    r.run.options = DialogDefaults();
    ASSERT_TRUE(ExportToCorelDraw(8, r.path("c.cdr"), RunMode::DoNotOpen, doc->Im, r.run));
    ASSERT_TRUE(ExportToOffice(r.path("c.doc"), RunMode::DoNotOpen, doc->Im, r.run));
    const std::regex path("<draw:path[^>]* svg:x=\"([^\"]*)\" svg:y=\"([^\"]*)\"[^>]* svg:d=\"([^\"]*)\"");
    for (const char* file : {"c.odg", "c.odt"}) {
        const std::string content = ZipText(r.path(file), "content.xml");
        std::vector<std::string> paths;
        for (std::sregex_iterator it(content.begin(), content.end(), path), end; it != end; ++it)
            paths.push_back((*it)[1].str() + " " + (*it)[2].str() + " " + (*it)[3].str());
        ASSERT_EQ(paths.size(), 2 * std::size(rows)) << file;
        for (std::size_t i = 0; i < std::size(rows); ++i)
            EXPECT_EQ(paths[2 * i] == paths[2 * i + 1], !rows[i].arrow) << file << ", row " << i << ": " << paths[2 * i];
    }
}

// A lesson drawing: a 2D system with its axis letters and numbers, labels
// with indices in Latin and Cyrillic letters, upright and italic, and arrows.
std::unique_ptr<DProj> LessonScene() {
    auto doc = NewDocument();
    doc->Im.Width = 600;
    doc->Im.Height = 400;
    DXOY x;
    x.Layer.v = 1;
    x.Thick.v = 1;
    x.Color.v = Blue;
    x.Center = MakePoint(200, 250, 2, 3, Black);
    x.AxisX = MakeLine(20, 250, 380, 250);
    x.AxisY = MakeLine(200, 120, 200, 380);
    for (DLine* a : {&x.AxisX, &x.AxisY}) {
        a->Arrow2.v = true;
        a->Arrow2Len.v = 10;
        a->Arrow2Angle.v = 15;
        a->P2.Name.s = a == &x.AxisX ? "x" : "y";
        a->P2.NameFont.s = "Times New Roman";
        a->P2.NameItalic.v = true;
        a->P2.NameSize.v = 14;
        a->P2.LabelDist.v = 14;
        a->P2.LabelAngle.v = a == &x.AxisX ? -60 : 150;
    }
    x.ScaleX.v = x.ScaleY.v = 40;
    x.DivX.v = x.DivY.v = 1;
    x.MarkWidth.v = 1;
    x.MarkHeight.v = 10;
    x.NumbersOn.v = true;
    x.NumberStep.v = 1;
    x.NumberFont.s = "Arial";
    x.NumberSize.v = 10;
    doc->Obj.Xy.add(x);
    struct L {
        double x, y;
        const char *name, *lower, *upper, *font;
        bool italic;
    };
    for (const L& l : {L{450, 320, "Б", "1", "", "Times New Roman", false}, L{540, 320, "М", "1", "", "Times New Roman", true},
                       L{450, 220, "A", "1", "", "Times New Roman", true}, L{540, 220, "K", "", "2", "Arial", false},
                       L{450, 120, "Ж", "12", "", "Arial", false}}) {
        DPoint p = MakePoint(l.x, l.y, 1, 0, 0x0000FF);  // red
        p.Name.s = l.name;
        p.Lower.s = l.lower;
        p.Upper.s = l.upper;
        p.NameFont.s = p.IndexFont.s = l.font;
        p.NameItalic.v = l.italic;
        p.NameSize.v = 16;
        p.IndexSize.v = 10;
        doc->Obj.Po.add(p);
    }
    for (int i = 0; i < 2; ++i) {
        DLine a = MakeLine(420, 40 + 30 * i, 580, 40 + 30 * i, 1 + 2 * i, Black);
        a.Arrow2.v = true;
        a.Arrow2Len.v = 10 + 6 * i;
        a.Arrow2Angle.v = 15;
        a.Arrow1.v = i == 1;
        a.Arrow1Len.v = 12;
        a.Arrow1Angle.v = 25;
        doc->Obj.Li.add(a);
    }
    return doc;
}

// The texts and arrowheads the own picture draws: each text's left end and
// baseline, each arrowhead's length and width.
class PictureCatcher final : public Canvas {
public:
    struct Text {
        std::string text;
        double left, baseline, width;
    };
    std::vector<Text> texts;
    std::vector<std::pair<double, double>> arrowheads;

    void setAntialias(bool) override {}
    void setTextAntialias(bool) override {}
    void setRotation(double, PointF) override {}
    void resetTransform() override {}
    void setClipRect(const RectF&) override {}
    void resetClip() override {}
    void drawLine(const Pen&, PointF, PointF) override {}
    void drawPolyline(const Pen&, std::span<const PointF>) override {}
    void drawPolygon(const Pen&, std::span<const PointF>) override {}
    void fillPolygon(Rgb, std::span<const PointF> p) override {
        if (p.size() != 3) return;  // tip, barb, barb
        const PointF base{(p[1].x + p[2].x) / 2, (p[1].y + p[2].y) / 2};
        arrowheads.emplace_back(std::hypot(base.x - p[0].x, base.y - p[0].y), std::hypot(p[2].x - p[1].x, p[2].y - p[1].y));
    }
    void drawEllipse(const Pen&, const RectF&) override {}
    void fillEllipse(Rgb, const RectF&) override {}
    void drawArc(const Pen&, const RectF&, double, double) override {}
    void fillPie(Rgb, const RectF&, double, double) override {}
    void fillRect(Rgb, const RectF&) override {}
    void drawText(const Font& f, Rgb, const std::string& text, PointF at, TextFormat format) override {
        const TextPlacement p = PlaceText(f, text, at, format);
        texts.push_back({text, p.left, p.top + p.ascent, p.width});
    }
    SizeF measureText(const Font& f, const std::string& text) override { return measure_.measureText(f, text); }
    RectF measureInk(const Font& f, const std::string& text) override { return measure_.measureInk(f, text); }

private:
    QImage image_{8, 8, QImage::Format_RGB32};
    QtCanvas measure_{image_};
};

std::map<std::string, std::string> Attributes(const std::string& s) {
    std::map<std::string, std::string> a;
    static const std::regex attr("([a-z:-]+)=\"([^\"]*)\"");
    for (std::sregex_iterator it(s.begin(), s.end(), attr), end; it != end; ++it) a[(*it)[1]] = (*it)[2];
    return a;
}

double Points(const std::string& length) {
    const double v = std::stod(length);
    return length.find("cm") != std::string::npos ? v / 2.54 * 72 : v;
}

// The styles of a written part by name: their properties' attributes.
std::map<std::string, std::map<std::string, std::string>> Styles(const std::string& xml, const char* properties) {
    std::map<std::string, std::map<std::string, std::string>> styles;
    const std::regex style(std::string("<style:style style:name=\"([^\"]+)\"[^>]*><") + properties + " ([^>]*)/>");
    for (std::sregex_iterator it(xml.begin(), xml.end(), style), end; it != end; ++it)
        styles[(*it)[1]] = Attributes((*it)[2]);
    return styles;
}

TEST(OfficeFiles, TextsAndArrowheadsWhereThePictureDrawsThem) {
    auto doc = LessonScene();
    const DImProj& im = doc->Im;
    PictureCatcher picture;
    PaintTarget pel;
    pel.kind = TargetKind::Pel;
    pel.canvas = &picture;
    DrawXOY(doc->Obj.Xy[1], true, 1, im, 'm', pel, 2);
    for (std::size_t i = 1; i <= doc->Obj.Po.count(); ++i) DrawPoint(doc->Obj.Po[i], im, pel);
    for (std::size_t i = 1; i <= doc->Obj.Li.count(); ++i) DrawLine(doc->Obj.Li[i], im, pel);
    ASSERT_EQ(picture.texts.size(), 2u + 14 + 5 + 5u);  // axis letters, numbers, names, indices
    ASSERT_EQ(picture.arrowheads.size(), 5u);

    RunRig r(*doc);
    r.run.options.WordArrowNo = 2;
    r.run.options.CdrOwnArrows = true;  // the dialog's default: the picture's own outlines
    ASSERT_TRUE(ExportToCorelDraw(8, r.path("l.cdr"), RunMode::DoNotOpen, im, r.run));
    ASSERT_TRUE(ExportToOffice(r.path("l.doc"), RunMode::DoNotOpen, im, r.run));
    const double px = im.Dpi / 72.0;
    for (const bool text : {false, true}) {
        SCOPED_TRACE(text ? "text" : "drawing");
        const std::string content = ZipText(r.path(text ? "l.odt" : "l.odg"), "content.xml");
        const auto graphics = Styles(content, "style:graphic-properties");
        const auto spans = Styles(content, "style:text-properties");
        // The page's corner on the text's page lies inside its margins.
        const double left0 = text ? WordApplication::PageLeftMargin : 0, top0 = text ? WordApplication::PageTopMargin : 0;

        std::vector<PictureCatcher::Text> unmatched = picture.texts;
        static const std::regex frame("<draw:frame ([^>]*)><draw:text-box><text:p[^>]*><text:span text:style-name=\"("
                                      "[^\"]+)\">([^<]*)</text:span></text:p>");
        int frames = 0;
        for (std::sregex_iterator it(content.begin(), content.end(), frame), end; it != end; ++it, ++frames) {
            const std::string shown = (*it)[3];
            SCOPED_TRACE(shown);
            auto a = Attributes((*it)[1]);
            const auto& box = graphics.at(a["draw:style-name"]);
            const auto& run = spans.at((*it)[2]);
            // No room around the text, and a frame that grows away from its
            // upper left corner.
            for (const char* side : {"fo:padding-left", "fo:padding-top"}) EXPECT_EQ(box.at(side), "0cm");
            EXPECT_EQ(box.at("draw:textarea-horizontal-align"), "left");
            EXPECT_EQ(box.at("draw:textarea-vertical-align"), "top");
            // Where LibreOffice puts the baseline: the line's ascent, as it
            // reads it from the font file, below the frame's top (a text
            // puts the font's line gap above it).
            const std::string family = run.at("fo:font-family");
            const bool bold = run.at("fo:font-weight") == "bold", italic = run.at("fo:font-style") == "italic";
            const LineShares line = OfficeLineShares(family, bold, italic);
            const double size = Points(run.at("fo:font-size"));
            const double left = (Points(a["svg:x"]) - left0) * px;
            const double baseline = (Points(a["svg:y"]) - top0 + size * (line.ascent + (text ? line.gap : 0))) * px;
            const auto drawn = std::min_element(unmatched.begin(), unmatched.end(), [&](const auto& p, const auto& q) {
                return (p.text != shown) + std::hypot(p.left - left, p.baseline - baseline) / 1e4 <
                       (q.text != shown) + std::hypot(q.left - left, q.baseline - baseline) / 1e4;
            });
            ASSERT_NE(drawn, unmatched.end());
            ASSERT_EQ(drawn->text, shown);
            EXPECT_NEAR(left, drawn->left, 0.5);
            EXPECT_NEAR(baseline, drawn->baseline, 0.5);
            EXPECT_NEAR(Points(a["svg:width"]) * px, drawn->width, 0.1 * drawn->width + 0.5);
            unmatched.erase(drawn);
        }
        EXPECT_EQ(frames, static_cast<int>(picture.texts.size()));

        // The word processor's arrowheads as long and as wide as the
        // picture's.
        if (!text) continue;
        const std::string styles = ZipText(r.path("l.odt"), "styles.xml");
        std::vector<std::pair<double, double>> written;
        static const std::regex path("<draw:path draw:style-name=\"([^\"]+)\"");
        for (std::sregex_iterator it(content.begin(), content.end(), path), end; it != end; ++it)
            for (const auto& g = graphics.at((*it)[1]); const char* end : {"start", "end"}) {
                const std::string e = std::string("draw:marker-") + end;
                if (!g.count(e)) continue;
                std::smatch m;
                ASSERT_TRUE(std::regex_search(styles, m, std::regex("<draw:marker draw:name=\"" + g.at(e) +
                                                                     "\" svg:viewBox=\"0 0 20 ([0-9.]+)\"")));
                const double width = Points(g.at(e + "-width")) * px;
                written.emplace_back(width * std::stod(m[1]) / 20, width);
            }
        auto sorted = picture.arrowheads;
        std::sort(sorted.begin(), sorted.end());
        std::sort(written.begin(), written.end());
        ASSERT_EQ(written.size(), sorted.size());
        for (std::size_t i = 0; i < sorted.size(); ++i) {
            EXPECT_NEAR(written[i].first, sorted[i].first, 0.3) << i;
            EXPECT_NEAR(written[i].second, sorted[i].second, 0.3) << i;
        }
    }
}

// LibreOffice draws every text of the lesson drawing where the picture does,
// in both exports: within a pixel and a half, as its pictures put each text
// on whole pixels of a page that is then cut and scaled to the picture (the
// files themselves hold the places to half a pixel, above).  The pages' own
// offsets are measured on the system's axes.
TEST(OfficePictures, LessonTextsWhereThePictureDrawsThem) {
    if (QStandardPaths::findExecutable("soffice").isEmpty()) GTEST_SKIP() << "LibreOffice is not installed";
    auto doc = LessonScene();
    ExportOptions options;
    options.CdrOwnArrows = true;
    const ThreePictures p = DrawThreeWays(*doc, "lesson", options);
    ASSERT_FALSE(p.own.isNull() || p.drawing.isNull() || p.text.isNull());
    const std::vector<QRect> words = Words(p.own);
    ASSERT_GE(words.size(), 12u);  // of 21 names and numbers: close ones join, in wide fonts
    for (const auto& [name, img] : {std::pair{"drawing", p.drawing}, std::pair{"text", p.text}}) {
        // The axes cross at (200, 150): a stretch of each beside the ticks.
        const double dx = Shift(p.own, img, QRect(195, 90, 10, 12)).x();
        const double dy = Shift(p.own, img, QRect(250, 145, 12, 10)).y();
        for (const QRect& w : words) {
            const QPointF d = Shift(p.own, img, w) - QPointF(dx, dy);
            EXPECT_LE(std::abs(d.x()), 1.5) << name << " at " << w.x() << ", " << w.y();
            EXPECT_LE(std::abs(d.y()), 1.5) << name << " at " << w.x() << ", " << w.y();
        }
    }
}

}  // namespace
}  // namespace pelmar::test
