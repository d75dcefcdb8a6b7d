#include "dialogs/ui/spin_edit.h"

#include <QFontMetrics>

#include <QLineEdit>
#include <algorithm>
#include <limits>

#include "dialogs/number_text.h"
#include "model/units.h"

namespace pelmar {

namespace {
// No digit yet: "", "-", ",".
bool TransientText(const QString& t) {
    return std::none_of(t.begin(), t.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}
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
    CheckSpinEdit(isTransient() ? std::string() : cleanText().toStdString(), v, minValue_);
    return v;
}

QString TSpinEdit::stripped(const QString& text) const {
    QString t = text;
    if (!prefix().isEmpty() && t.startsWith(prefix())) t.remove(0, prefix().size());
    if (!suffix().isEmpty() && t.endsWith(suffix())) t.chop(suffix().size());
    return t;
}

QValidator::State TSpinEdit::validate(QString& input, int&) const {
    switch (ReadWholeText(stripped(input).toStdString(), minimum(), maximum()).state) {
        case WholeTextState::Acceptable: return QValidator::Acceptable;
        case WholeTextState::Intermediate: return QValidator::Intermediate;
        case WholeTextState::Invalid: break;
    }
    return QValidator::Invalid;
}

int TSpinEdit::valueFromText(const QString& text) const {
    const std::optional<int> v = ReadWholeNumber(stripped(text).toStdString());
    return v ? std::clamp(*v, minimum(), maximum()) : minValue_;
}

void TSpinEdit::setFillValue(int v) {
    if (hasFocus() && isTransient() && v == minValue_) return;
    setValue(v);
}

QString TSpinEdit::textFromValue(int value) const { return QString::number(value); }

// Qt's own fixup drops the locale's group separator, which would join
// "1,5" into 15; a number out of range is left as it is, and the value stays.
void TSpinEdit::fixup(QString& input) const {
    if (TransientText(stripped(input))) input = prefix() + QString::number(minValue_) + suffix();
}

}  // namespace pelmar
