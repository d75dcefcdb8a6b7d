#include "dialogs/ui/coord_parts.h"

#include <QPainter>
#include <QPixmap>
#include <QPushButton>

#include "dialogs/ui/color_combo.h"

namespace pelmar {

void SetFeatureGlyph(QPushButton* b, bool set, bool colour) {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink = colour ? QColor(0, 0x80, 0) : QColor(0x80, 0x80, 0x80);
    p.setPen(QPen(ink, 1.5));
    p.setBrush(set ? QBrush(colour ? QColor(0x40, 0xC0, 0x40) : QColor(0xC0, 0xC0, 0xC0)) : Qt::NoBrush);
    p.drawEllipse(QRectF(2.5, 2.5, 11, 11));
    p.end();
    b->setIcon(QIcon(pm));
    b->setIconSize(QSize(16, 16));
    b->setProperty("set", set);
}

void SetSwatchGlyph(QPushButton* b, TColor color) {
    QPixmap pm(11, 21);
    pm.fill(ToQColor(color));
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.drawRect(0, 0, 10, 20);
    p.end();
    b->setIcon(QIcon(pm));
    b->setIconSize(QSize(11, 21));
}

}  // namespace pelmar
