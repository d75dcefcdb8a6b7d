// The exports as LibreOffice draws them, against the program's own picture of
// the same drawing.  Runs only where LibreOffice is installed; with
// PELMAR_OFFICE_SHOTS naming a folder the pictures are kept there.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <cstdlib>

#include "drawing/fake_redraw_host.h"
#include "office_fixture.h"
#include "sample_document.h"

namespace pelmar::test {
namespace {

// Ink: pixels clearly darker or more coloured than the white paper.
std::vector<bool> Ink(const QImage& img) {
    std::vector<bool> m(static_cast<std::size_t>(img.width() * img.height()));
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            m[static_cast<std::size_t>(y * img.width() + x)] = std::min({c.red(), c.green(), c.blue()}) < 200;
        }
    return m;
}

// Share of `a`'s ink that has ink of `b` within `r` pixels.
double Covered(const std::vector<bool>& a, const std::vector<bool>& b, int w, int h, int r) {
    long inked = 0, hit = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!a[static_cast<std::size_t>(y * w + x)]) continue;
            ++inked;
            bool found = false;
            for (int dy = -r; dy <= r && !found; ++dy)
                for (int dx = -r; dx <= r && !found; ++dx) {
                    const int xx = x + dx, yy = y + dy;
                    found = xx >= 0 && yy >= 0 && xx < w && yy < h && b[static_cast<std::size_t>(yy * w + xx)];
                }
            hit += found;
        }
    return inked == 0 ? 1.0 : static_cast<double>(hit) / static_cast<double>(inked);
}

QImage Convert(const QString& soffice, const QString& file, const QString& outDir, const QString& profile) {
    QProcess p;
    p.start(soffice, {"-env:UserInstallation=file://" + profile, "--headless", "--convert-to", "png", "--outdir",
                      outDir, file});
    if (!p.waitForFinished(180000)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    QString png = file;
    png = outDir + "/" + QFileInfo(png).completeBaseName() + ".png";
    return QImage(png).convertToFormat(QImage::Format_RGB32);
}

TEST(OfficePictures, LibreOfficeDrawsWhatTheProgramDraws) {
    const QString soffice = QStandardPaths::findExecutable("soffice");
    if (soffice.isEmpty()) GTEST_SKIP() << "LibreOffice is not installed";

    QTemporaryDir temp;
    const char* keep = std::getenv("PELMAR_OFFICE_SHOTS");
    const QString dir = keep && *keep ? QString::fromLocal8Bit(keep) : temp.path();
    QDir().mkpath(dir);

    auto doc = SampleDocument();
    DrawingState st;
    FakeRedrawHost host;
    host.view = {0, 0, doc->Im.Width, doc->Im.Height};
    RepaintProject(*doc, st, host, 1, true);
    const QImage own = st.DrawBitmap.convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(own.isNull());
    own.save(dir + "/pelmar.png");

    RunRig r(*doc);
    r.run.options.WordArrowNo = 2;
    r.run.options.WordDashNo = 4;
    const std::string base = dir.toStdString() + "/sample";
    ASSERT_TRUE(ExportToCorelDraw(8, base + ".cdr", RunMode::DoNotOpen, doc->Im, r.run));
    ASSERT_TRUE(ExportToOffice(base + "_text.doc", RunMode::DoNotOpen, doc->Im, r.run));

    const QString profile = temp.path() + "/profile";
    const QImage drawing = Convert(soffice, dir + "/sample.odg", dir, profile);
    const QImage text = Convert(soffice, dir + "/sample_text.odt", dir, profile);
    ASSERT_FALSE(drawing.isNull());
    ASSERT_FALSE(text.isNull());

    const int w = own.width(), h = own.height();
    const auto ownInk = Ink(own);
    // The drawing's page is the picture.
    const QImage d = drawing.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // The text's page holds the picture inside its margins (points).
    const double s = text.width() / (21.0009 / 2.54 * 72);
    QImage area(qRound(w * 0.75 * s), qRound(h * 0.75 * s), QImage::Format_RGB32);
    area.fill(Qt::white);
    {
        QPainter p(&area);
        p.drawImage(0, 0, text, qRound(WordApplication::PageLeftMargin * s), qRound(WordApplication::PageTopMargin * s));
    }
    const QImage t = area.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    d.save(dir + "/sample_odg_scaled.png");
    t.save(dir + "/sample_odt_cropped.png");
    for (const auto& [name, img] : {std::pair{"drawing", d}, std::pair{"text", t}}) {
        const auto ink = Ink(img);
        EXPECT_GT(Covered(ownInk, ink, w, h, 4), 0.85) << name;
        EXPECT_GT(Covered(ink, ownInk, w, h, 4), 0.85) << name;
    }
}

}  // namespace
}  // namespace pelmar::test
