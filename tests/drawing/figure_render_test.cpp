// A document with every plane kind drawn by the whole redraw: the raster
// picture against a golden picture, the metafile's structure, and the
// metafile as an EMF reader shows it.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "drawing/redraw.h"
#include "figure_fixture.h"
#include "support/fake_redraw_host.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

constexpr int W = 320, H = 240;
const char* const Golden = PELMAR_TEST_DATA "/figures_raster.png";

DPoint Named(DPoint p, const char* name) {
    p.Name.s = name;
    p.NameFont.s = "DejaVu Sans";
    p.LabelDist.v = 12;
    p.LabelAngle.v = 45;
    return p;
}

// Points, segments, a whole ellipse with its centre and a radius, an arc
// across 0 degrees, a tilted mixed outline, a filled ellipse, a triangle with
// its circles and special lines, a tetragon with its diagonals and centre,
// and a filled triangle; every fill under the point light.
std::unique_ptr<DProj> Document() {
    auto d = NewDocument();
    d->Im = Picture(W, H);
    d->Im.Smooth = true;
    DSubProj& o = d->Obj;

    o.Po.add(Named(MakePoint(25, 215, 2, 4, Red), "A"));
    DPoint ring = MakePoint(70, 215, 3, 6, Green);
    ring.Thick.v = 2;
    o.Po.add(ring);

    DLine arrow = MakeLine(15, 190, 125, 190, 2, Black);
    arrow.Arrow2.v = true;
    arrow.Arrow2Len.v = 12;
    arrow.Arrow2Angle.v = 20;
    o.Li.add(arrow);
    DLine dashed = MakeLine(15, 170, 125, 170, 2, Blue);
    dashed.LineType.v = 2;
    dashed.Dash.v = 8;
    dashed.Gap.v = 4;
    dashed.P1.Typ.v = 2;
    dashed.P1.Radius.v = 3;
    o.Li.add(dashed);

    DCircle whole = MakeEllipse(185, 200, 40, 25, 2, Blue);
    whole.Center.Typ.v = 2;
    whole.Center.Radius.v = 3;
    whole.ShowR[1].v = true;
    whole.R[1] = MakeLine(185, 200, 225, 200, 1, Blue);
    o.Ci.add(whole);
    DCircle arc = MakeEllipse(280, 195, 30, 30, 3, Red);
    arc.Arc1.v = 300;
    arc.Arc2.v = 60;
    o.Ci.add(arc);
    DCircle mixed = MakeEllipse(60, 115, 45, 28, 2, Black);
    mixed.ViewType.v = 4;
    mixed.DashArc1.v = 90;
    mixed.DashArc2.v = 180;
    mixed.Tilt.v = 20;
    o.Ci.add(mixed);
    DCircle filled = MakeEllipse(165, 115, 38, 28, 1, Black);
    SetFill(filled.Fill, Red, 0x00C0FF, Blue);
    o.Ci.add(filled);

    DTri tri = MakeTriangle({0, 225, 85}, {0, 312, 85}, {0, 255, 155}, 2, 2);
    for (auto& on : tri.CircOn) on.v = true;
    for (std::size_t i = 1; i <= 3; ++i) tri.LineOn[i].v = true;
    UpdateTriangle(tri, 0, true);
    o.Tr.add(tri);
    DTri solid = MakeTriangle({0, 140, 8}, {0, 235, 18}, {0, 185, 70}, 12);
    SetFill(solid.Fill, 0x00FFFF, 0x0080FF, 0x800000);
    o.Tr.add(solid);

    DKv kv = MakeTetragon({0, 12, 8}, {0, 115, 8}, {0, 125, 62}, {0, 25, 62}, 5, 2);
    kv.DiagOn[1].v = kv.DiagOn[2].v = true;
    kv.CenterOn.v = true;
    kv.Center.Typ.v = 2;
    kv.Center.Radius.v = 3;
    o.Kv.add(kv);
    return d;
}

struct Render {
    std::unique_ptr<DProj> proj = Document();
    DrawingState st;
    FakeRedrawHost host;

    explicit Render(int picMode, const std::string& metaPath = {}) {
        proj->Im.PicMode = static_cast<std::uint8_t>(picMode);
        st.MetaPath = metaPath;
        host.view = {0, 0, W, H};
        RepaintProject(*proj, st, host, RedrawMode::Window, true);
    }
};

// Pixels whose largest channel difference exceeds `tol`.
int Differing(const QImage& a, const QImage& b, int tol) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            const int d = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                    std::abs(qBlue(p) - qBlue(q))});
            if (d > tol) ++n;
        }
    return n;
}

TEST(FigureRender, RasterPictureMatchesTheGoldenPicture) {
    Render r(0);
    ASSERT_EQ(r.st.DrawBitmap.size(), QSize(W, H));
    QTemporaryDir dir;
    const QString png = dir.filePath("figures.png");
    ASSERT_TRUE(r.st.DrawBitmap.convertToFormat(QImage::Format_RGB32).save(png, "PNG"));
    const QImage picture = QImage(png).convertToFormat(QImage::Format_RGB32);

    if (std::getenv("PELMAR_WRITE_GOLDEN")) {
        ASSERT_TRUE(picture.save(Golden, "PNG"));
    }
    const QImage golden = QImage(Golden).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(golden.isNull()) << "missing " << Golden << " (PELMAR_WRITE_GOLDEN=1 writes it)";
    ASSERT_EQ(golden.size(), picture.size());
    // Fonts and smoothing differ a little between machines; shapes do not.
    EXPECT_LE(Differing(picture, golden, 64), W * H / 200);
    EXPECT_LE(Differing(picture, golden, 16), W * H / 50);

    // The fills are there: the filled ellipse's centre and the filled triangle.
    EXPECT_NE(picture.pixel(165, H - 115) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_NE(picture.pixel(185, H - 30) & 0xFFFFFF, 0xFFFFFFu);
}

// EMF record types read here.
constexpr std::uint32_t EmrHeader = 1, EmrEof = 14, EmrComment = 70;

// A little-endian value of the file at `off`; 0 beyond its end.
template <class T>
T Get(const std::string& b, std::size_t off) {
    T v{};
    if (off + sizeof v <= b.size()) b.copy(reinterpret_cast<char*>(&v), sizeof v, off);
    return v;
}

TEST(FigureRender, MetafileIsAWellFormedEmf) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("Temp/MetaTemp.emf").toStdString();
    Render r(1, path);
    std::ifstream f(path, std::ios::binary);
    ASSERT_TRUE(f.good());
    const std::string b((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    ASSERT_GE(b.size(), 108u);

    // The header: its type, the " EMF" signature, the file's size and record count.
    EXPECT_EQ(Get<std::uint32_t>(b, 0), EmrHeader);
    EXPECT_EQ(Get<std::uint32_t>(b, 40), 0x464D4520u);
    EXPECT_EQ(Get<std::uint32_t>(b, 48), static_cast<std::uint32_t>(b.size()));
    // Bounds within the picture.
    EXPECT_GE(Get<std::int32_t>(b, 8), 0);
    EXPECT_LE(Get<std::int32_t>(b, 16), W);
    EXPECT_LE(Get<std::int32_t>(b, 20), H);

    std::uint32_t records = 0, plus = 0, drawing = 0, last = 0;
    std::size_t off = 0;
    while (off + 8 <= b.size()) {
        const auto type = Get<std::uint32_t>(b, off);
        const auto size = Get<std::uint32_t>(b, off + 4);
        ASSERT_TRUE(size >= 8 && size % 4 == 0 && off + size <= b.size()) << "record " << records;
        ++records;
        last = type;
        if (type == EmrComment && size >= 16 && b.compare(off + 12, 4, "EMF+") == 0) ++plus;
        // Polygons, polylines, ellipses, arcs and text.
        if ((type >= 2 && type <= 8) || type == 42 || type == 45 || type == 84 || (type >= 85 && type <= 92)) ++drawing;
        off += size;
    }
    EXPECT_EQ(off, b.size());
    EXPECT_EQ(records, Get<std::uint32_t>(b, 52));
    EXPECT_EQ(last, EmrEof);
    EXPECT_GT(plus, 0u);
    // Every outline, line, mark and label of the document is drawn.
    EXPECT_GE(drawing, 30u);

    // The metafile picture holds pass 2 alone: no fills.
    ASSERT_EQ(r.st.MetaImage.size(), QSize(W, H));
    EXPECT_EQ(qAlpha(r.st.MetaImage.pixel(165, H - 115)), 0);
}

TEST(FigureRender, MetafileShowsTheSameDrawingInAnEmfReader) {
    const QString inkscape = QStandardPaths::findExecutable("inkscape");
    const QString office = QStandardPaths::findExecutable("soffice").isEmpty()
                               ? QStandardPaths::findExecutable("libreoffice")
                               : QStandardPaths::findExecutable("soffice");
    if (inkscape.isEmpty() && office.isEmpty()) GTEST_SKIP() << "neither inkscape nor libreoffice is installed";

    QTemporaryDir dir;
    const QString emf = dir.filePath("MetaTemp.emf");
    Render r(1, emf.toStdString());
    QProcess proc;
    QString png;
    if (!inkscape.isEmpty()) {
        png = dir.filePath("inkscape.png");
        proc.start(inkscape, {emf, "--export-type=png", "--export-background=white",
                              "--export-background-opacity=1", "--export-filename=" + png});
    } else {
        png = dir.filePath("MetaTemp.png");
        // A profile of its own: an office started by another test at the same
        // time would take the work over and write nothing here.
        proc.start(office, {"-env:UserInstallation=file://" + dir.filePath("profile"), "--headless", "--convert-to",
                            "png", "--outdir", dir.path(), emf});
    }
    ASSERT_TRUE(proc.waitForFinished(180000));
    const QImage shown(png);
    ASSERT_FALSE(shown.isNull()) << proc.readAllStandardError().toStdString();

    // The layout, roughly: both pictures on white, shrunk to cells of 8 x 8
    // pixels, where the drawing is dark in one it is dark in the other.
    auto cells = [](const QImage& img) {
        QImage onWhite(img.size(), QImage::Format_RGB32);
        onWhite.fill(Qt::white);
        {
            QPainter p(&onWhite);
            p.drawImage(0, 0, img);
        }
        return onWhite.scaled(W / 8, H / 8, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .convertToFormat(QImage::Format_Grayscale8);
    };
    const QImage a = cells(r.st.MetaImage), b = cells(shown);
    int inked = 0, missed = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const int ga = qGray(a.pixel(x, y)), gb = qGray(b.pixel(x, y));
            if (ga < 200) ++inked;
            if (std::abs(ga - gb) > 80) ++missed;
        }
    EXPECT_GT(inked, a.width() * a.height() / 20);
    EXPECT_LE(missed, a.width() * a.height() / 20);
}

}  // namespace
