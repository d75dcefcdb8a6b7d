#include <QPainter>
#include <algorithm>
#include <cmath>

#include "drawing/redraw.h"
#include "files/picture_export.h"
#include "files/picture_files.h"
#include "files/picture_recording.h"
#include "platform/qt_canvas.h"

namespace pelmar {

namespace {

constexpr int Scale = 4;       // the picture is rendered four times enlarged
constexpr int StripRows = 8;   // large rows per strip = two result rows
// The largest enlarged band painted at once (a 1200 x 900 picture takes
// three); a taller picture is painted in more bands.  Bands up to this size
// are reused by the allocator from one export to the next, where a larger
// one costs fresh pages each time, more than painting the picture again.
constexpr long long BandBytes = 32LL * 1000 * 1000;

std::uint8_t RoundByte(double v) { return static_cast<std::uint8_t>(std::nearbyint(v)); }

// Folds the four large rows from `firstLargeRow` on into one result row.
void FoldRow(const QImage& band, int firstLargeRow, int width, std::uint8_t* out) {
    const QRgb* rows[4];
    for (int r = 0; r < 4; ++r) rows[r] = reinterpret_cast<const QRgb*>(band.constScanLine(firstLargeRow + r));
    for (int x = 0; x < width; ++x) {
        int n = 0;
        unsigned sr = 0, sg = 0, sb = 0;
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c) {
                const QRgb px = rows[r][4 * x + c] & 0xFFFFFFu;
                if (px == 0xFFFFFFu) continue;
                ++n;
                sr += static_cast<unsigned>(qRed(px));
                sg += static_cast<unsigned>(qGreen(px));
                sb += static_cast<unsigned>(qBlue(px));
            }
        std::uint8_t* o = out + 4 * static_cast<std::size_t>(x);
        if (n == 0) {
            o[3] = 0;  // stays white
        } else {
            o[0] = RoundByte(static_cast<double>(sr) / n);
            o[1] = RoundByte(static_cast<double>(sg) / n);
            o[2] = RoundByte(static_cast<double>(sb) / n);
            o[3] = RoundByte(255.0 - (16 - n) * 255.0 / 16);
        }
    }
}

// A white band of the enlarged picture, as tall as asked and memory allows
// (a whole number of strips, at least one); null when not even one strip fits.
QImage NewBand(int largeWidth, long long largeRows, int bandRows) {
    long long rows = bandRows > 0 ? bandRows : BandBytes / (4LL * largeWidth);
    rows = std::min(rows, largeRows + StripRows - 1);
    rows = std::max<long long>(StripRows, rows / StripRows * StripRows);
    for (;;) {
        QImage band(largeWidth, static_cast<int>(std::min<long long>(rows, 1 << 30)), QImage::Format_RGB32);
        if (!band.isNull() || rows == StripRows) return band;
        rows = std::max<long long>(StripRows, rows / 2 / StripRows * StripRows);
    }
}

}  // namespace

QImage FoldTransparent(int width, int height, const QImage* fills, const PictureRecording& picture,
                       const std::function<void(int percent)>& onPercent, int bandRows) {
    if (width <= 0 || height <= 0 || width > (1 << 28) / Scale) return {};
    QImage result(width, height, QImage::Format_RGBA8888);
    if (result.isNull()) return {};
    const long long large = static_cast<long long>(Scale) * height;
    QImage band = NewBand(Scale * width, large, bandRows);
    if (band.isNull()) return {};
    result.fill(QColor(255, 255, 255, 255));

    const int strips = static_cast<int>(large / StripRows + (large % StripRows ? 1 : 0));
    const int stripsPerBand = band.height() / StripRows;
    const bool withFills = fills && !fills->isNull();
    int lastPercent = 0;
    for (int first = 1; first <= strips; first += stripsPerBand) {
        band.fill(Qt::white);
        const int top = StripRows * (1 - first);
        if (withFills) {
            QPainter p(&band);
            p.drawImage(QRect(0, top, Scale * width, Scale * height), *fills);
        }
        {
            // Played without smoothing: the fold below makes the soft edges.
            QtCanvas canvas(band, false);
            picture.replay(canvas, Scale, 0, top, false, true);
            canvas.finish();
        }
        for (int s = first; s < first + stripsPerBand && s <= strips; ++s) {
            for (int k = 0; k < 2; ++k) {
                const int y = 2 * (s - 1) + k;
                if (y >= height) break;
                FoldRow(band, StripRows * (s - first) + 4 * k, width, result.scanLine(y));
            }
            const int percent = static_cast<int>(std::nearbyint(s * 100.0 / strips));
            if (percent > lastPercent && onPercent) onPercent(percent);
            lastPercent = std::max(lastPercent, percent);
        }
    }
    return result;
}

std::string SaveTransparentPng(const std::string& fileName, const DProj& proj, const DrawingState& st,
                               const ExportHost& host) {
    const DImProj& pic = st.DrawProj ? st.DrawProj->Im : proj.Im;
    const auto ppm = PngPixelsPerMetre(proj.Im.Dpi);
    if (!ppm) return "the resolution does not fit in the file";
    if (pic.Width <= 0 || pic.Height <= 0) return "empty picture";

    host.pngProgress.showProgress("");
    PictureRecording picture;
    host.windows.paintMetaPicture(picture);
    const QImage* fills = proj.FillValid && !st.BackPng.isNull() ? &st.BackPng : nullptr;
    const QImage result = FoldTransparent(pic.Width, pic.Height, fills, picture, [&](int percent) {
        host.pngProgress.setProgress(percent);
    });
    const std::string error = result.isNull() ? std::string("out of memory") : WritePngFile(fileName, result, true, *ppm);
    host.pngProgress.hideProgress();
    return error;
}

void PaintMetaPicture(DrawingState& st, const RedrawHost& host, Canvas& canvas) {
    if (!st.DrawProj || st.DrawProj->Im.PicMode != 1) return;
    // Pass 1 of the painting goes to the back buffer: keep the window's one.
    // The export runs (a redraw asked for meanwhile waits) and paints to the
    // end: it has no stop switch.
    QImage kept = st.DrawBitmap;
    const bool wasRunning = st.Running;
    st.Running = true;
    DrawAllObjects(*st.DrawProj, *st.DrawProj, st, host, false, 'm', &canvas);
    st.Running = wasRunning;
    st.DrawBitmap = kept;
}

}  // namespace pelmar
