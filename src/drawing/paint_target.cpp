#include "drawing/paint_target.h"

#include <cmath>
#include <limits>

namespace pelmar {

TargetKind TargetKindOf(std::string_view word) {
    if (word == "pel") return TargetKind::Pel;
    if (word == "cdr") return TargetKind::Cdr;
    if (word == "wrd") return TargetKind::Wrd;
    return TargetKind::None;
}

const char* TargetWord(TargetKind kind) {
    switch (kind) {
        case TargetKind::Pel:
            return "pel";
        case TargetKind::Cdr:
            return "cdr";
        case TargetKind::Wrd:
            return "wrd";
        case TargetKind::None:
            break;
    }
    return "";
}

int RoundToInt(double v) {
    if (std::isnan(v)) return 0;
    const double r = std::rint(v);
    if (r >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    if (r <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    return static_cast<int>(r);
}

int CdrUnits(int dpi, double v) {
    if (dpi == 0) return 0;
    return RoundToInt(10000.0 * v / dpi * 2.54 * 10.0);
}

int CdrX(const DImProj& im, double x) { return CdrUnits(im.Dpi, x - im.Width / 2.0); }

int CdrY(const DImProj& im, double y) { return CdrUnits(im.Dpi, -(y - im.Height / 2.0)); }

int CdrAngle(double degrees) { return RoundToInt(-degrees * 1000000.0); }

}  // namespace pelmar
