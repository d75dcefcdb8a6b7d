#include "platform/qt_text.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

namespace pelmar {

QFont MakeQFont(const Font& font, bool antialias) {
    QFont f(QString::fromStdString(font.family));
    const double size = std::isfinite(font.pixelSize) ? std::nearbyint(font.pixelSize) : 1.0;
    f.setPixelSize(static_cast<int>(std::clamp(size, 1.0, 10000.0)));
    f.setBold(font.bold);
    f.setItalic(font.italic);
    // Unhinted outlines keep the measured widths the same on every device.
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(antialias ? QFont::PreferAntialias : QFont::NoAntialias);
    return f;
}

SizeF MeasureTextQt(const Font& font, const std::string& text) {
    if (text.empty()) return {};
    const QFontMetricsF fm(MakeQFont(font, true));
    return {fm.horizontalAdvance(QString::fromStdString(text)), fm.lineSpacing()};
}

TextPlacement PlaceText(const Font& font, const std::string& text, PointF at, TextFormat format) {
    const QFontMetricsF fm(MakeQFont(font, true));
    TextPlacement p;
    p.width = fm.horizontalAdvance(QString::fromStdString(text));
    p.height = fm.lineSpacing();
    p.ascent = fm.ascent();
    auto offset = [](TextAlign a, double size) {
        switch (a) {
            case TextAlign::Near: return 0.0;
            case TextAlign::Center: return size / 2;
            case TextAlign::Far: return size;
        }
        return 0.0;
    };
    p.left = at.x - offset(format.horizontal, p.width);
    p.top = at.y - offset(format.vertical, p.height);
    return p;
}

}  // namespace pelmar
