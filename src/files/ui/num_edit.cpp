#include "files/ui/num_edit.h"

#include <QKeyEvent>
#include <algorithm>
#include <cmath>

#include "files/number_text.h"
#include "files/ui/modal_ok.h"
#include "files/word_table.h"

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

std::optional<double> TNumEdit::typedNumber() const { return ReadNumber(text().toStdString()); }

std::optional<double> TNumEdit::number() const {
    if (allowComma_) return typedNumber();
    const std::optional<int> whole = ReadWholeNumber(text().toStdString());
    if (!whole) return std::nullopt;
    return *whole;
}

void TNumEdit::setNumber(double v) {
    if (typing()) return;
    if (hasFocus()) {
        const auto shown = number();
        if (shown && *shown == v && std::signbit(*shown) == std::signbit(v)) return;
    }
    showNumber(v);
}

void TNumEdit::showNumber(double v) {
    typing_ = false;
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

// The user is done: the receivers take the whole number (and may show what
// they stored), then the text becomes a number.  A number taken as it was
// typed is done too: a zero keeps no sign ("-0" shows as 0).
void TNumEdit::finishTyping() {
    const bool typed = typing_;
    typing_ = false;
    if (typed) emit numberEntered();
    // What is left of the text becomes a number: the receivers of the change
    // have been told at numberEntered.
    fixing_ = true;
    const QString t = text();
    const std::optional<double> v = typedNumber();
    if (typed && !v) {
        // No digit ("", "-", ","): empty where the field keeps an empty text,
        // else 0.
        const QString fixed = emptyKept_ ? QString() : QStringLiteral("0");
        if (fixed != t) setText(fixed);
    } else if (v && *v == 0 && t.startsWith(u'-')) {
        setText(QString::fromStdString(NumberText(0)));
    } else if (typed && v && (t.endsWith(u',') || (!allowComma_ && t.contains(u',')))) {
        // The number it took, without a separator that nothing follows (a
        // whole-number field: rounded).
        if (const std::optional<double> n = number()) setText(QString::fromStdString(NumberText(*n)));
    }
    fixing_ = false;
}

void TNumEdit::enterText(const QString& text) {
    setText(text);
    typing_ = true;
    finishTyping();
}

void TNumEdit::focusInEvent(QFocusEvent* event) {
    typing_ = false;
    QLineEdit::focusInEvent(event);
}

void TNumEdit::focusOutEvent(QFocusEvent* event) {
    // A context menu of the edit takes the focus for a moment only.
    if (event->reason() != Qt::PopupFocusReason) finishTyping();
    QLineEdit::focusOutEvent(event);
}

void TNumEdit::tellMinus() {
    ShowTextTip(this, QString::fromStdString(MinusNote(WordsOf(words_), allowMinus_)));
}

// What the filter refused of `inserted` is told: a minus (or a digit before
// the minus) out of its place in a number by the minus tip, anything else as
// no number, quoting `shown`.
void TNumEdit::tellRefused(const QString& inserted, const NumericInsert& kept, const QString& shown) {
    const std::string t = inserted.toStdString();
    const bool numberish = !t.empty() && t.find_first_not_of("0123456789-,.") == std::string::npos;
    const bool digits = t.find_first_not_of("0123456789") == std::string::npos;
    if (numberish && (kept.minusRefused || digits)) tellMinus();
    else ShowTextTip(this, QString::fromStdString(NotNumberNote(WordsOf(words_), shown.toStdString())));
}

void TNumEdit::keyPressEvent(QKeyEvent* event) {
    if (ReturnTakesNumber(event, [this] { finishTyping(); }, [this, event] { QLineEdit::keyPressEvent(event); }))
        return;
    const QString t = event->text();
    const bool plainKey = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (plainKey && t.size() == 1 && t[0].isPrint()) {
        // Only the selected text is replaced, so the filter looks at the rest.
        const qsizetype from = hasSelectedText() ? selectionStart() : cursorPosition();
        const qsizetype to = hasSelectedText() ? from + selectedText().size() : from;
        const NumericInsert kept = FilterNumericInsert(text().left(from).toStdString(), t.toStdString(),
                                                       text().mid(to).toStdString(), allowMinus_, true);
        if (kept.kept.empty()) {
            // The key is refused, and the text stays as it is.
            tellRefused(t, kept, t);
            event->accept();
            return;
        }
        if (kept.kept != t.toStdString()) {  // the point typed as the comma
            QKeyEvent comma(event->type(), Qt::Key_Comma, event->modifiers(), QString::fromStdString(kept.kept),
                            event->isAutoRepeat(), static_cast<quint16>(event->count()));
            QLineEdit::keyPressEvent(&comma);
            event->setAccepted(comma.isAccepted());
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

// Any edit by the user.  Typed keys have passed keyPressEvent already; what
// else was inserted (the part between the unchanged head and tail: a paste,
// a drop, an input method) is taken only whole: a text that the filter would
// cut is refused, and the edit keeps what it held.  Blanks at the ends of the
// text go (a number copied with its line end); a point becomes the comma.
void TNumEdit::onTextEdited(const QString& edited) {
    const QString was = last_;  // the text before this edit (the filter's setText moves last_)
    const QString now = edited.trimmed();
    qsizetype head = 0;
    const qsizetype shorter = std::min(was.size(), now.size());
    while (head < shorter && was[head] == now[head]) ++head;
    qsizetype tail = 0;
    while (tail < shorter - head && was[was.size() - 1 - tail] == now[now.size() - 1 - tail]) ++tail;
    const QString inserted = now.mid(head, now.size() - head - tail);
    const NumericInsert kept = FilterNumericInsert(now.left(head).toStdString(), inserted.toStdString(),
                                                   now.right(tail).toStdString(), allowMinus_, true);
    const QString k = QString::fromStdString(kept.kept);
    if (k.size() != inserted.size() || (inserted.isEmpty() && now != edited)) {
        // Refused whole (or only blanks were inserted): the text it replaced
        // comes back, selected.
        const qsizetype removed = was.size() - head - tail;
        setText(was);
        if (removed > 0) setSelection(static_cast<int>(head), static_cast<int>(removed));
        else setCursorPosition(static_cast<int>(head));
        tellRefused(inserted, kept, inserted.isEmpty() ? QString() : now);
        return;
    }
    if (k != inserted || now != edited) {
        setText(now.left(head) + k + now.right(tail));
        setCursorPosition(static_cast<int>(head + k.size()));
        setModified(true);
    }
    // Only a change that is left in the text counts.
    if (text() == was) return;
    if (!typing_) from_ = was;
    typing_ = true;
    emit numberTyped();
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
