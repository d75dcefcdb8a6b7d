#include "dialogs/ui/num_edit.h"

#include <QKeyEvent>
#include <algorithm>
#include <cmath>

#include "dialogs/number_text.h"

namespace pelmar {

TNumEdit::TNumEdit(QWidget* parent, bool allowMinus, bool allowComma)
    : QLineEdit(parent), allowMinus_(allowMinus), allowComma_(allowComma) {
    connect(this, &QLineEdit::textEdited, this, &TNumEdit::onTextEdited);
    connect(this, &QLineEdit::textChanged, this, &TNumEdit::onTextChanged);
}

void TNumEdit::setFilter(bool allowMinus, bool allowComma) {
    allowMinus_ = allowMinus;
    allowComma_ = allowComma;
}

std::optional<double> TNumEdit::number() const {
    if (allowComma_) return ReadNumber(text().toStdString());
    const std::optional<int> whole = ReadWholeNumber(text().toStdString());
    if (!whole) return std::nullopt;
    return *whole;
}

void TNumEdit::setNumber(double v) {
    if (hasFocus()) {
        const auto shown = number();
        if (shown && *shown == v && std::signbit(*shown) == std::signbit(v)) return;
    }
    const QString t = QString::fromStdString(NumberText(v));
    if (t != text()) setText(t);
}

void TNumEdit::fixEmpty() {
    const QString fixed = text().isEmpty() ? QStringLiteral("0") : text() == "-" ? QStringLiteral("-0") : text();
    if (fixed == text()) return;
    // Called from a handler of this change: the fixed text is the same change
    // and is not reported again.
    fixing_ = true;
    setText(fixed);
    fixing_ = false;
}

void TNumEdit::focusOutEvent(QFocusEvent* event) {
    // A whole-number field shows the number it took once it is left.
    if (!allowComma_ && text().contains(QLatin1Char(','))) {
        if (const std::optional<double> v = number()) {
            fixing_ = true;
            setText(QString::fromStdString(NumberText(*v)));
            fixing_ = false;
        }
    }
    QLineEdit::focusOutEvent(event);
}

void TNumEdit::keyPressEvent(QKeyEvent* event) {
    const QString t = event->text();
    const bool plainKey = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (plainKey && t.size() == 1 && t[0].isPrint()) {
        // Only the selected text is replaced, so the comma test looks at the rest.
        QString rest = text();
        if (hasSelectedText()) rest.remove(selectionStart(), selectedText().size());
        const std::string kept = FilterNumericInsert(rest.toStdString(), t.toStdString(), allowMinus_, true);
        if (kept.empty()) {
            event->accept();
            return;
        }
        if (kept != t.toStdString()) {  // the point typed as the comma
            QKeyEvent comma(event->type(), Qt::Key_Comma, event->modifiers(), QString::fromStdString(kept),
                            event->isAutoRepeat(), static_cast<quint16>(event->count()));
            QLineEdit::keyPressEvent(&comma);
            event->setAccepted(comma.isAccepted());
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

// Any edit by the user.  Typed keys have passed keyPressEvent already; what
// else was inserted (the part between the unchanged head and tail) is filtered
// here.
void TNumEdit::onTextEdited(const QString& now) {
    const QString& was = last_;
    qsizetype head = 0;
    const qsizetype shorter = std::min(was.size(), now.size());
    while (head < shorter && was[head] == now[head]) ++head;
    qsizetype tail = 0;
    while (tail < shorter - head && was[was.size() - 1 - tail] == now[now.size() - 1 - tail]) ++tail;
    const QString inserted = now.mid(head, now.size() - head - tail);
    if (inserted.isEmpty()) return;
    const QString around = now.left(head) + now.right(tail);
    const QString kept = QString::fromStdString(
        FilterNumericInsert(around.toStdString(), inserted.toStdString(), allowMinus_, true));
    if (kept == inserted) return;
    setText(now.left(head) + kept + now.right(tail));
    setCursorPosition(static_cast<int>(head + kept.size()));
    setModified(true);
}

void TNumEdit::onTextChanged(const QString& now) {
    // A filtered edit sets the text again from inside the change it filters;
    // the outer notice then carries the text before the filter.
    // A filter that let nothing through leaves the text as it was: no change.
    if (now != text() || now == last_) return;
    last_ = now;
    if (!fixing_) emit textChangedFiltered(now);
}

}  // namespace pelmar
