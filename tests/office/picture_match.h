// Draws a document three ways, the program's own picture and LibreOffice's
// pictures of both shape exports, and compares where they put ink.  With
// PELMAR_OFFICE_SHOTS naming a folder the pictures are kept there.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QStandardPaths>
#include <cstdlib>
#include <regex>
#include <zip.h>

#include "support/fake_redraw_host.h"
#include "office_fixture.h"

namespace pelmar::test {

// Ink: pixels clearly darker or more coloured than the white paper.
inline std::vector<bool> Ink(const QImage& img) {
    std::vector<bool> m(static_cast<std::size_t>(img.width() * img.height()));
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            m[static_cast<std::size_t>(y * img.width() + x)] = std::min({c.red(), c.green(), c.blue()}) < 200;
        }
    return m;
}

// Share of `a`'s ink that has ink of `b` within `r` pixels.
inline double Covered(const std::vector<bool>& a, const std::vector<bool>& b, int w, int h, int r) {
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

// The text of one entry of a zip package; empty when it is missing.
inline std::string ZipText(const std::string& path, const char* entry) {
    int err = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_RDONLY, &err);
    if (!z) return {};
    std::string text;
    if (zip_file_t* f = zip_fopen(z, entry, 0)) {
        char buf[4096];
        zip_int64_t n = 0;
        while ((n = zip_fread(f, buf, sizeof buf)) > 0) text.append(buf, static_cast<std::size_t>(n));
        zip_fclose(f);
    }
    zip_close(z);
    return text;
}

// The page width of a written text, in points.
inline double PageWidth(const std::string& odt) {
    const std::string styles = ZipText(odt, "styles.xml");
    std::smatch m;
    if (!std::regex_search(styles, m, std::regex("fo:page-width=\"([0-9.]+)cm\""))) return 0;
    return std::stod(m[1]) / 2.54 * 72;
}

inline QImage Convert(const QString& soffice, const QString& file, const QString& outDir, const QString& profile) {
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

// The program's own picture of a document and LibreOffice's pictures of its
// two shape exports, each brought to the picture's size (the text's page cut
// to the picture's area); null pictures when LibreOffice is not installed.
struct ThreePictures {
    QImage own, drawing, text;
};

inline ThreePictures DrawThreeWays(DProj& doc, const QString& stem, const ExportOptions& options) {
    ThreePictures out;
    const QString soffice = QStandardPaths::findExecutable("soffice");
    if (soffice.isEmpty()) return out;
    QTemporaryDir temp;
    const char* keep = std::getenv("PELMAR_OFFICE_SHOTS");
    const QString dir = keep && *keep ? QString::fromLocal8Bit(keep) : temp.path();
    QDir().mkpath(dir);

    DrawingState st;
    FakeRedrawHost host;
    host.view = {0, 0, doc.Im.Width, doc.Im.Height};
    RepaintProject(doc, st, host, RedrawMode::Window, true);
    const QImage own = st.DrawBitmap.convertToFormat(QImage::Format_RGB32);
    if (own.isNull()) return out;
    own.save(dir + "/" + stem + "_pelmar.png");

    RunRig r(doc);
    r.run.options = options;
    const std::string base = dir.toStdString() + "/" + stem.toStdString();
    if (!ExportToCorelDraw(8, base + ".cdr", RunMode::DoNotOpen, doc.Im, r.run)) return out;
    if (!ExportToOffice(base + "_text.doc", RunMode::DoNotOpen, doc.Im, r.run)) return out;

    const QString profile = temp.path() + "/profile";
    const QImage drawing = Convert(soffice, dir + "/" + stem + ".odg", dir, profile);
    const QImage text = Convert(soffice, dir + "/" + stem + "_text.odt", dir, profile);
    const double pageWidth = PageWidth(base + "_text.odt");
    if (drawing.isNull() || text.isNull() || pageWidth <= 0) return out;

    const int w = own.width(), h = own.height();
    // The drawing's page is the picture.
    const QImage d = drawing.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // The text's page holds the picture inside its margins (points).
    const double s = text.width() / pageWidth, pt = 72.0 / doc.Im.Dpi;
    QImage area(qRound(w * pt * s), qRound(h * pt * s), QImage::Format_RGB32);
    area.fill(Qt::white);
    {
        QPainter p(&area);
        p.drawImage(0, 0, text, qRound(WordApplication::PageLeftMargin * s), qRound(WordApplication::PageTopMargin * s));
    }
    const QImage t = area.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    d.save(dir + "/" + stem + "_odg_scaled.png");
    t.save(dir + "/" + stem + "_odt_cropped.png");
    out.own = own;
    out.drawing = d;
    out.text = t;
    return out;
}

// The boxes of the small drawings of a picture (letters, digits and the
// indices beside them: ink apart from the long lines), each word one box.
inline std::vector<QRect> Words(const QImage& img) {
    const int w = img.width(), h = img.height();
    const auto ink = Ink(img);
    std::vector<int> seen(ink.size(), 0);
    std::vector<QRect> parts;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (seen[static_cast<std::size_t>(y * w + x)] || !ink[static_cast<std::size_t>(y * w + x)]) continue;
            QRect box;
            std::vector<QPoint> todo{{x, y}};
            seen[static_cast<std::size_t>(y * w + x)] = 1;
            while (!todo.empty()) {
                const QPoint q = todo.back();
                todo.pop_back();
                box |= QRect(q, QSize(1, 1));
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int xx = q.x() + dx, yy = q.y() + dy;
                        if (xx < 0 || yy < 0 || xx >= w || yy >= h) continue;
                        const auto i = static_cast<std::size_t>(yy * w + xx);
                        if (seen[i] || !ink[i]) continue;
                        seen[i] = 1;
                        todo.emplace_back(xx, yy);
                    }
            }
            if (box.width() <= 40 && box.height() <= 40) parts.push_back(box);
        }
    // Parts side by side, or an index beside its letter, make one word.
    std::vector<QRect> words;
    for (const QRect& part : parts) {
        QRect box = part;
        for (auto it = words.begin(); it != words.end();)
            if (it->adjusted(-3, -4, 3, 4).intersects(box)) {
                box |= *it;
                it = words.erase(it);
            } else {
                ++it;
            }
        words.push_back(box);
    }
    return words;
}

// How far `other` shows what `own` shows inside `box`: the shift (up to 12
// pixels each way, to a tenth of a pixel) that matches their darkness best.
inline QPointF Shift(const QImage& own, const QImage& other, QRect box) {
    box.adjust(-3, -3, 3, 3);
    auto dark = [](const QImage& img, int x, int y) {
        return x < 0 || y < 0 || x >= img.width() || y >= img.height() ? 0.0 : 255.0 - qGray(img.pixel(x, y));
    };
    constexpr int R = 12, N = 2 * R + 1;
    std::vector<double> cost(N * N);
    int best = 0;
    for (int dy = -R; dy <= R; ++dy)
        for (int dx = -R; dx <= R; ++dx) {
            double sum = 0;
            for (int y = box.top(); y <= box.bottom(); ++y)
                for (int x = box.left(); x <= box.right(); ++x) {
                    const double d = dark(own, x, y) - dark(other, x + dx, y + dy);
                    sum += d * d;
                }
            const int i = (dy + R) * N + dx + R;
            cost[static_cast<std::size_t>(i)] = sum;
            if (sum < cost[static_cast<std::size_t>(best)]) best = i;
        }
    // A parabola through the best cost and its neighbours.
    auto at = [&](int i) { return cost[static_cast<std::size_t>(i)]; };
    auto vertex = [](double a, double m, double c) { return a - 2 * m + c > 0 ? 0.5 * (a - c) / (a - 2 * m + c) : 0.0; };
    const int bx = best % N, by = best / N;
    double x = bx - R, y = by - R;
    if (bx > 0 && bx < N - 1) x += vertex(at(best - 1), at(best), at(best + 1));
    if (by > 0 && by < N - 1) y += vertex(at(best - N), at(best), at(best + N));
    return {x, y};
}

// The share of each picture's ink that the other covers must exceed `least`.
inline void MatchWithLibreOffice(DProj& doc, const QString& stem, const ExportOptions& options, double least) {
    if (QStandardPaths::findExecutable("soffice").isEmpty()) GTEST_SKIP() << "LibreOffice is not installed";
    const ThreePictures p = DrawThreeWays(doc, stem, options);
    ASSERT_FALSE(p.own.isNull() || p.drawing.isNull() || p.text.isNull());
    const int w = p.own.width(), h = p.own.height();
    const auto ownInk = Ink(p.own);
    for (const auto& [name, img] : {std::pair{"drawing", p.drawing}, std::pair{"text", p.text}}) {
        const auto ink = Ink(img);
        EXPECT_GT(Covered(ownInk, ink, w, h, 4), least) << name;
        EXPECT_GT(Covered(ink, ownInk, w, h, 4), least) << name;
    }
}

}  // namespace pelmar::test
