#include "dialogs/ui/feature_glyph.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

namespace pelmar {

QPixmap FeatureGlyph(bool set, bool enabled) {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink = enabled ? QColor(0, 0x80, 0) : QColor(0x80, 0x80, 0x80);
    const QColor inside = enabled ? QColor(0x40, 0xC0, 0x40) : QColor(0xC0, 0xC0, 0xC0);
    p.setPen(QPen(ink, 1.5));
    p.setBrush(set ? QBrush(inside) : Qt::NoBrush);
    p.drawEllipse(QRectF(2.5, 2.5, 11, 11));
    return pm;
}

void SetFeatureGlyph(QPushButton* b, bool set) {
    QIcon icon(FeatureGlyph(set, true));
    icon.addPixmap(FeatureGlyph(set, false), QIcon::Disabled);
    b->setIcon(icon);
    b->setIconSize(QSize(16, 16));
    b->setProperty("set", set);
}

QPushButton* FeatureButton(QWidget* parent, const QString& name) {
    auto* b = new QPushButton(parent);
    b->setObjectName(name);
    SetFeatureGlyph(b, false);
    return b;
}

}  // namespace pelmar
