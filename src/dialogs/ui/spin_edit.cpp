#include "dialogs/ui/spin_edit.h"

#include <QFontMetrics>

#include <QLineEdit>
#include <limits>

#include "model/units.h"

namespace pelmar {

namespace {
bool TransientText(const QString& t) { return t.isEmpty() || t == "-"; }
}  // namespace

TSpinEdit::TSpinEdit(QWidget* parent) : QSpinBox(parent) {
    setMinMax(0, 0);
    connect(this, &QSpinBox::valueChanged, this, &TSpinEdit::send);
    // After the spin box has read the text: a transient text reads as
    // MinValue, and a number typed after it may be the value the spin box
    // held all along, which it does not report.
    connect(lineEdit(), &QLineEdit::textChanged, this, [this] { send(checkedValue()); });
}

void TSpinEdit::send(int v) {
    if (sent_ && *sent_ == v) return;
    sent_ = v;
    emit changed(v);
}

void TSpinEdit::setMinMax(int minValue, int maxValue) {
    minValue_ = minValue;
    maxValue_ = maxValue;
    if (minValue == 0 && maxValue == 0) {
        setRange(-std::numeric_limits<int>::max(), std::numeric_limits<int>::max());
    } else {
        setRange(minValue, maxValue);
    }
}

QSize TSpinEdit::narrowed(QSize hint) const {
    if (minValue_ != 0 || maxValue_ != 0) return hint;
    const QFontMetrics fm(font());
    hint.rwidth() -= fm.horizontalAdvance(textFromValue(minimum())) - fm.horizontalAdvance(QStringLiteral("-999999"));
    return hint;
}

QSize TSpinEdit::sizeHint() const { return narrowed(QSpinBox::sizeHint()); }

QSize TSpinEdit::minimumSizeHint() const { return narrowed(QSpinBox::minimumSizeHint()); }

bool TSpinEdit::isTransient() const { return TransientText(cleanText()); }

int TSpinEdit::checkedValue() const {
    int v = value();
    CheckSpinEdit(cleanText().toStdString(), v, minValue_);
    return v;
}

void TSpinEdit::setFillValue(int v) {
    if (hasFocus() && isTransient() && v == minValue_) return;
    setValue(v);
}

void TSpinEdit::fixup(QString& input) const {
    QString t = input;
    if (!prefix().isEmpty() && t.startsWith(prefix())) t.remove(0, prefix().size());
    if (!suffix().isEmpty() && t.endsWith(suffix())) t.chop(suffix().size());
    if (TransientText(t.trimmed())) {
        input = prefix() + QString::number(minValue_) + suffix();
        return;
    }
    QSpinBox::fixup(input);
}

}  // namespace pelmar
