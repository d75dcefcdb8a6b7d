#include "files/ui/spin_edit.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>
#include <cmath>
#include <limits>

#include "files/number_text.h"
#include "files/ui/modal_ok.h"
#include "model/coord_limit.h"
#include "model/units.h"

namespace pelmar {

namespace {
bool TypingKey(const QKeyEvent& e) {
    return e.key() == Qt::Key_Backspace || e.key() == Qt::Key_Delete || (!e.text().isEmpty() && e.text()[0].isPrint());
}

// No digit yet: "", "-", ",".
bool TransientText(const QString& t) {
    return std::none_of(t.begin(), t.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}
}  // namespace

TSpinEdit::TSpinEdit(QWidget* parent) : QSpinBox(parent) {
    setMinMax(0, 0);
    connect(this, &QSpinBox::valueChanged, this, &TSpinEdit::send);
    // The line edit tells an edit of the user's before the change itself;
    // the number typed is reported after the spin box has read the text.
    connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString& now) {
        if (!typing_) from_ = lastText_;
        typing_ = true;
        userEdit_ = now != lastText_;
    });
    connect(lineEdit(), &QLineEdit::textChanged, this, [this](const QString& now) {
        lastText_ = now;
        if (!userEdit_) return;
        userEdit_ = false;
        emit numberTyped();
    });
    // The validator refuses a paste or a drop that is no number of the
    // edit's whole: the text stays as it was, and the tip says why.  A
    // refused key is told by keyPressEvent.
    connect(lineEdit(), &QLineEdit::inputRejected, this, [this] {
        if (keyTold_) return;
        const WordTable& w = WordsOf(words_);
        std::string note = NotNumberNote(w, {});
        if (bounded()) note += " " + BoundsNote(w, minimum(), maximum());
        ShowTextTip(this, QString::fromStdString(note));
    });
}

void TSpinEdit::send(int v) {
    // A value typed is reported only once it is whole and within the bounds:
    // the spin box takes no other.
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
    if (bounded()) return hint;
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

std::optional<double> TSpinEdit::typedNumber() const { return ReadNumber(stripped(text()).toStdString()); }

QString TSpinEdit::stripped(const QString& text) const {
    QString t = text;
    if (!prefix().isEmpty() && t.startsWith(prefix())) t.remove(0, prefix().size());
    if (!suffix().isEmpty() && t.endsWith(suffix())) t.chop(suffix().size());
    return t;
}

QValidator::State TSpinEdit::validate(QString& input, int&) const {
    const std::string t = stripped(input).toStdString();
    const WholeText whole = ReadWholeText(t, minimum(), maximum());
    // A number with a fraction is taken as typed and rounded when the edit
    // is left; until then the spin box keeps its value.
    if (whole.state == WholeTextState::Acceptable && t.find_first_of(",.") != std::string::npos)
        return QValidator::Intermediate;
    switch (whole.state) {
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
    if (typing()) return;
    showValue(v);
}

void TSpinEdit::showValue(int v) {
    typing_ = false;
    setValue(v);
    // The same value leaves a text that is not its own ("12,5") as it is.
    if (cleanText() != textFromValue(value())) lineEdit()->setText(prefix() + textFromValue(value()) + suffix());
}

QString TSpinEdit::textFromValue(int value) const { return QString::number(value); }

// Qt's own fixup drops the locale's group separator, which would join
// "1,5" into 15; a number out of range is left as it is, and the value stays.
void TSpinEdit::fixup(QString& input) const {
    if (TransientText(stripped(input))) input = prefix() + QString::number(minValue_) + suffix();
}

// The user is done: the receivers take the whole number (and may show what
// they stored); what is left of the text becomes the edit's value, with a
// tip where that is not the number typed.  A number taken as it was typed
// is done too: a zero keeps no sign ("-0" shows as 0).
void TSpinEdit::finishTyping() {
    if (!typing_) {
        if (const std::optional<double> typed = typedNumber(); typed && *typed == 0 && value() == 0)
            showValue(0);
        return;
    }
    typing_ = false;
    emit numberEntered();
    const WordTable& w = WordsOf(words_);
    if (isTransient()) {
        // Nothing typed: the least value, and the tip says so.
        showValue(minValue_);
        ShowTextTip(this, QString::fromStdString(bounded() ? RangeNote(w, minimum(), maximum(), minValue_)
                                                           : EmptyNote(w, minValue_)));
        return;
    }
    const std::optional<double> typed = typedNumber();
    if (!typed) return;
    const double whole = std::nearbyint(*typed);
    const int taken = std::clamp(SaturatedRound<int>(whole), minimum(), maximum());
    if (cleanText() == textFromValue(taken) && value() == taken) return;
    showValue(taken);
    if (taken != whole) ShowTextTip(this, QString::fromStdString(RangeNote(w, minimum(), maximum(), taken)));
    else if (*typed != whole) ShowTextTip(this, QString::fromStdString(WholeNote(w, taken)));
}

void TSpinEdit::enterText(const QString& text) {
    lineEdit()->setText(text);
    typing_ = true;
    finishTyping();
}

void TSpinEdit::stepBy(int steps) {
    QSpinBox::stepBy(steps);
    typing_ = true;
    finishTyping();
}

void TSpinEdit::keyPressEvent(QKeyEvent* event) {
    if (ReturnTakesNumber(event, [this] { finishTyping(); }, [this, event] { QSpinBox::keyPressEvent(event); }))
        return;
    const QLineEdit* line = lineEdit();
    // A key typed over the same text is typing too.
    if (TypingKey(*event)) {
        if (!typing_) from_ = line->text();
        typing_ = true;
    }
    const QString before = line->text();
    const QString key = event->text();
    const bool plainKey = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) &&
                          key.size() == 1 && key[0].isPrint();
    // What the key would make of the text: it replaces the selection only.
    const qsizetype from = line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
    const qsizetype to = line->hasSelectedText() ? from + line->selectedText().size() : from;
    const QString wanted = before.left(from) + key + before.mid(to);
    // A typed key refused is told here, with what it would have made.
    keyTold_ = plainKey;
    QSpinBox::keyPressEvent(event);
    keyTold_ = false;
    if (plainKey && wanted != before && line->text() == before) tellRefused(stripped(wanted), key);
}

// A minus or a digit the edit did not take is told by its own tip; any other
// sign as no part of a number.
void TSpinEdit::tellRefused(const QString& wanted, const QString& key) {
    const WordTable& w = WordsOf(words_);
    const std::string t = wanted.toStdString();
    const std::size_t minus = t.rfind('-');
    if (minus != std::string::npos && (minus != 0 || minimum() >= 0)) {
        ShowTextTip(this, QString::fromStdString(MinusNote(w, minimum() < 0)));
        return;
    }
    // A number as such, that only its bounds refuse: an unbounded edit holds
    // a place in pixels, and a number past the whole numbers is past the
    // range of coordinates long before.
    const bool number = t.find_first_not_of("-0123456789,.") == std::string::npos && ReadNumber(t).has_value();
    if (!number)
        ShowTextTip(this, QString::fromStdString(NotNumberNote(w, key.toStdString())));
    else if (!bounded())
        ShowTextTip(this, QString::fromStdString(LimitNote(w, LimitCase::Pixels)));
    else if (ReadWholeText(t, minimum(), maximum()).state == WholeTextState::Invalid)
        ShowTextTip(this, QString::fromStdString(BoundsNote(w, minimum(), maximum())));
}

void TSpinEdit::focusInEvent(QFocusEvent* event) {
    typing_ = false;
    QSpinBox::focusInEvent(event);
}

void TSpinEdit::focusOutEvent(QFocusEvent* event) {
    if (event->reason() != Qt::PopupFocusReason) finishTyping();
    QSpinBox::focusOutEvent(event);
}

}  // namespace pelmar
