#include "dialogs/ui/color_combo.h"

#include <QPainter>
#include <QPixmap>

#include "model/update.h"

namespace pelmar {

QColor ToQColor(TColor c) { return QColor(int(c & 0xFF), int(c >> 8 & 0xFF), int(c >> 16 & 0xFF)); }

TColor FromQColor(const QColor& c) {
    return static_cast<TColor>(c.red()) | static_cast<TColor>(c.green()) << 8 | static_cast<TColor>(c.blue()) << 16;
}

namespace {

constexpr const char* ColorNames[16] = {"Black", "Maroon", "Green", "Olive",  "Navy",    "Purple", "Teal", "Gray",
                                        "Silver", "Red",   "Lime",  "Yellow", "Blue", "Fuchsia", "Aqua", "White"};

QIcon Swatch(const QColor& c, const QSize& size) {
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.setBrush(c);
    p.drawRect(QRect(QPoint(0, 0), size).adjusted(0, 1, -1, -2));
    return QIcon(pm);
}

}  // namespace

TColorCombo::TColorCombo(QWidget* parent) : QComboBox(parent) {
    const QSize swatch(24, 14);
    setIconSize(swatch);
    for (int i = 0; i < 16; ++i)
        addItem(Swatch(ToQColor(IndexToColor(static_cast<std::uint8_t>(i))), swatch), QString::fromLatin1(ColorNames[i]));
    // Only a pick by the user drops a kept value; filling goes through setColor.
    connect(this, &QComboBox::activated, this, [this] { kept_.reset(); });
}

void TColorCombo::setColor(std::uint8_t colorIndex, TColor color) {
    const int item = colorIndex < 16 ? colorIndex : -1;
    if (currentIndex() != item) setCurrentIndex(item);
    if (item >= 0 && IndexToColor(colorIndex) == color) {
        kept_.reset();
    } else {
        kept_ = color;
    }
}

std::uint8_t TColorCombo::colorIndex() const {
    return currentIndex() < 0 ? 0 : static_cast<std::uint8_t>(currentIndex());
}

TColor TColorCombo::colorValue() const {
    if (kept_) return *kept_;
    return IndexToColor(colorIndex());
}

}  // namespace pelmar
