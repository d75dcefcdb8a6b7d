// Labels and hidden edges as LibreOffice draws both exports: a red point's
// label at the picture's size and in its colour, a thin dashed line still
// dashed, with the export dialogs' default dash numbers.  The written files
// say so too, where LibreOffice is not installed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "drawing/figure_fixture.h"
#include "picture_match.h"

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
    return doc;
}

ExportOptions DialogDefaults() {
    ExportOptions o;
    o.CdrDashNo = 9;   // the drawing-program dialog's default
    o.WordDashNo = 1;  // the word processor's "solid"
    return o;
}

bool Red(const QImage& img, int x, int y) {
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
            if (seen[static_cast<std::size_t>(y * w + x)] || !Red(img, x, y)) continue;
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
                        if (s || !Red(img, xx, yy)) continue;
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

}  // namespace
}  // namespace pelmar::test
