// A spin edit for whole numbers that keeps its pair MinValue/MaxValue.
//
// Both 0 means unbounded.  What the user types stays as typed while the edit
// has the focus: an empty or "-" text is no value yet, a number outside the
// bounds or with a decimal separator ("," or ".", whatever the locale) is
// not taken yet, and a refill from the record (setFillValue) leaves the text
// alone.  When the user is done - the edit is left, Return is pressed, or
// the arrows, the wheel or the page keys step the value - numberEntered is
// sent; then an empty or "-" text becomes MinValue (0 when unbounded), a
// number is rounded half to even ("12,5" is 12, never 125) and kept within
// the bounds, with a tip at the edit where that changed what was typed or
// filled in what was not (a Return whose number is told so goes no further,
// to no default button).  A key that would make a number past the bounds
// is refused with the bounds' tip (unbounded: the range of coordinates).
//
// Connect to `changed`: it is sent for every new value, set by the program or
// typed.
#pragma once

#include <QSpinBox>
#include <optional>

#include "files/ui/text_tip.h"

namespace pelmar {

class TSpinEdit : public QSpinBox {
    Q_OBJECT
public:
    explicit TSpinEdit(QWidget* parent = nullptr);

    void setMinMax(int minValue, int maxValue);
    int MinValue() const { return minValue_; }
    int MaxValue() const { return maxValue_; }
    bool bounded() const { return minValue_ != 0 || maxValue_ != 0; }
    // The words of the tips.
    void setWords(TextWords words) { words_ = std::move(words); }

    // The text is empty or "-": a value being typed.
    bool isTransient() const;
    // The value a handler stores: MinValue while the text is transient.
    int checkedValue() const;
    // The number the text holds as typed (not rounded, not bounded);
    // nullopt while it holds none.
    std::optional<double> typedNumber() const;

    // Shows a value from a record; the text the user is typing stays.
    void setFillValue(int v);
    // Shows a value whatever the edit holds.
    void showValue(int v);
    // The user is done with what was typed, as when the edit is left.
    void finishTyping();
    // What was typed is stored as it reads: nothing waits for the user to
    // be done, and a refill may show the record again.  The text stays.
    void typedTaken() { typing_ = false; }
    // The user has changed the text since the edit got the focus or was
    // last entered, and is still in it.
    bool typing() const { return typing_ && hasFocus(); }
    // The text before the typing: what the edit held when the user changed
    // it first since it got the focus or was last entered.
    const QString& typedFrom() const { return from_; }
    // `text` entered as if typed: the value and the receivers of
    // numberEntered take it (the user leaves a number that was refused).
    void enterText(const QString& text);

    // Unbounded, the edit is as wide as a picture coordinate needs, not as
    // the largest integer.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void changed(int value);
    // The user changed the text.
    void numberTyped();
    // The user is done with what was typed (left, Return) or stepped the value.
    void numberEntered();

protected:
    void fixup(QString& input) const override;
    QValidator::State validate(QString& input, int& pos) const override;
    int valueFromText(const QString& text) const override;
    // Plain digits and "-", as the edit reads them, in any locale.
    QString textFromValue(int value) const override;
    void stepBy(int steps) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void send(int v);
    QSize narrowed(QSize hint) const;
    QString stripped(const QString& text) const;
    void tellRefused(const QString& wanted, const QString& key);

    std::optional<int> sent_;  // the value `changed` last reported
    int minValue_ = 0;
    int maxValue_ = 0;
    bool typing_ = false;
    bool userEdit_ = false;  // the change under way is the user's
    bool keyTold_ = false;   // a typed key is under way: keyPressEvent tells its refusal
    QString lastText_;       // the line edit's text before the change
    QString from_;           // the line edit's text before the typing
    TextWords words_;
};

}  // namespace pelmar
