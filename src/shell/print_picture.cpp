#include "shell/print_picture.h"

#include <cmath>

#include "model/units.h"

namespace pelmar {

namespace {

int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

}  // namespace

std::optional<QRect> PrintRectangle(const PrintDevice& d, const PrintPage& p) {
    if (p.dpi <= 0 || !(d.dpiX > 0) || !(d.dpiY > 0)) return std::nullopt;
    const double sx = d.dpiX / p.dpi, sy = d.dpiY / p.dpi;
    const auto left = static_cast<double>(CmToPix(p.dpi, p.leftMarginMm / 10.0));
    const auto top = static_cast<double>(CmToPix(p.dpi, p.topMarginMm / 10.0));
    const int x1 = RoundEven(left * sx) - d.offsetX;
    const int y1 = RoundEven(top * sy) - d.offsetY;
    const int x2 = RoundEven(left * sx) + RoundEven(p.width * sx) - d.offsetX;
    const int y2 = RoundEven(top * sy) + RoundEven(p.height * sy) - d.offsetY;
    return QRect(QPoint(x1, y1), QSize(x2 - x1, y2 - y1));
}

}  // namespace pelmar
