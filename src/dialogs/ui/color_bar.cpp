#include "dialogs/ui/color_bar.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace pelmar {

TColorBar::TColorBar(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void TColorBar::setColor(const QColor& c) {
    if (color_ == c) return;
    color_ = c;
    update();
}

QSize TColorBar::sizeHint() const { return {160, 22}; }

void TColorBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    p.fillRect(r, isEnabled() ? color_ : palette().color(QPalette::Disabled, QPalette::Window));
    p.setPen(palette().color(QPalette::Dark));
    p.drawRect(r);
    if (hasFocus()) {
        QStyleOptionFocusRect o;
        o.initFrom(this);
        o.rect = rect().adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &o, &p, this);
    }
}

}  // namespace pelmar
