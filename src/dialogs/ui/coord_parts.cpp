#include "dialogs/ui/coord_parts.h"

#include <QPainter>
#include <QPixmap>
#include <QPushButton>

#include "dialogs/ui/color_combo.h"

namespace pelmar {

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
