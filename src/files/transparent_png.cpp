#include <QPainter>
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

std::uint8_t RoundByte(double v) { return static_cast<std::uint8_t>(std::nearbyint(v)); }

}  // namespace

QImage FoldTransparent(int width, int height, const QImage* fills, const PictureRecording& picture,
                       const std::function<void(int percent)>& onPercent) {
    if (width <= 0 || height <= 0) return {};
    QImage result(width, height, QImage::Format_RGBA8888);
    QImage strip(Scale * width, StripRows, QImage::Format_RGB32);
    if (result.isNull() || strip.isNull()) return {};
    result.fill(QColor(255, 255, 255, 255));

    const long long large = static_cast<long long>(Scale) * height;
    const int strips = static_cast<int>(large / StripRows + (large % StripRows ? 1 : 0));
    const bool withFills = fills && !fills->isNull();
    int lastPercent = 0;
    for (int s = 1; s <= strips; ++s) {
        strip.fill(Qt::white);
        const int top = StripRows * (1 - s);
        if (withFills) {
            QPainter p(&strip);
            p.drawImage(QRect(0, top, Scale * width, Scale * height), *fills);
        }
        {
            // Played without smoothing: the fold below makes the soft edges.
            QtCanvas canvas(strip, false);
            picture.replay(canvas, Scale, 0, top, false);
            canvas.finish();
        }
        for (int k = 0; k < 2; ++k) {
            const int y = 2 * (s - 1) + k;
            if (y >= height) break;
            auto* out = result.scanLine(y);
            const QRgb* rows[4];
            for (int r = 0; r < 4; ++r) rows[r] = reinterpret_cast<const QRgb*>(strip.constScanLine(4 * k + r));
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
        const int percent = static_cast<int>(std::nearbyint(s * 100.0 / strips));
        if (percent > lastPercent && onPercent) onPercent(percent);
        lastPercent = std::max(lastPercent, percent);
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
    QImage kept = st.DrawBitmap;
    DrawAllObjects(*st.DrawProj, *st.DrawProj, st, host, false, 'm', &canvas);
    st.DrawBitmap = kept;
}

}  // namespace pelmar
