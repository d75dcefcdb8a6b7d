// A one-line edit for numbers with the dialogs' key filter.
//
// Typed keys pass the filter of NumKeyFilter: digits, Backspace and the
// editing keys, "-" at the start of the number where the minus is allowed,
// one decimal comma (the point key types the comma).  Text that reaches the
// edit another way - pasted, dropped, from an input method - passes the same
// filter whole or not at all: "-1/2" is refused, never cut into "-12"; text
// set by the program is left as it is.  A key or a text refused is told by a
// tip at the edit, and the edit keeps what it held.
//
// What the user types stays as typed while the edit has the focus: "" and
// "-" are no number yet, and a refill from the record (setNumber) leaves the
// text alone.  When the user is done - the edit is left, or Return is
// pressed (a Return whose number is told with a tip goes no further, to no
// default button) - numberEntered is sent, and then the text is made a number
// without a further textChangedFiltered: "" and "-" become "0" (unless the
// field keeps an empty text as a value of its own), and in a whole-number
// field (no comma allowed) "12,5" becomes "12" (rounded half to even).  A
// zero keeps no minus once the edit is left, also where its keys were taken
// as they were typed.
//
// Connect to textChangedFiltered, not to QLineEdit::textChanged: it is sent
// once per change, with the text after the filter.
#pragma once

#include <QLineEdit>
#include <optional>

#include "files/number_text.h"
#include "files/ui/text_tip.h"

namespace pelmar {

class TNumEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TNumEdit(QWidget* parent = nullptr, bool allowMinus = true, bool allowComma = true);

    void setFilter(bool allowMinus, bool allowComma);
    bool allowMinus() const { return allowMinus_; }
    bool allowComma() const { return allowComma_; }
    // The words of the tips.
    void setWords(TextWords words) { words_ = std::move(words); }
    // An empty text means something of its own in this field (no value at
    // all): it stays empty when the user is done.
    void setEmptyKept(bool kept) { emptyKept_ = kept; }

    // The number the text holds, read with "," or "." (rounded in a
    // whole-number field); nullopt while it holds none ("", "-", "1-2").
    std::optional<double> number() const;
    // The same, never rounded: what the user typed.
    std::optional<double> typedNumber() const;

    // Shows a number from the record; the text the user is typing stays.  A
    // focused edit whose text already reads as that number ("1,50" for 1.5)
    // keeps it too.
    void setNumber(double v);
    // Shows a number whatever the edit holds.
    void showNumber(double v);
    // The user is done with what was typed, as when the edit is left.
    void finishTyping();
    // What was typed is stored as it reads: nothing waits for the user to
    // be done, and a refill may show the record again (undo, a change made
    // elsewhere).  The text stays.
    void typedTaken() { typing_ = false; }
    // The user has changed the text since the edit got the focus or was
    // last entered, and is still in it.
    bool typing() const { return typing_ && hasFocus(); }
    // The text before the typing: what the edit held when the user changed
    // it first since it got the focus or was last entered.
    const QString& typedFrom() const { return from_; }
    // `text` entered as if typed: the receivers of the change and of
    // numberEntered take it (the user leaves a number that was refused).
    void enterText(const QString& text);

    // The exit fix: "" becomes "0" and "-" becomes "-0", without a second
    // textChangedFiltered.
    void fixEmpty();

signals:
    void textChangedFiltered(const QString& text);
    // The user changed the text (a key, a paste, a cut).
    void numberTyped();
    // The user is done with what was typed: the edit was left or Return
    // pressed after a change.
    void numberEntered();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void onTextEdited(const QString& text);
    void onTextChanged(const QString& text);
    void tellMinus();
    void tellRefused(const QString& inserted, const NumericInsert& kept, const QString& shown);

    bool allowMinus_;
    bool allowComma_;
    QString last_;  // the text before the current change
    QString from_;  // the text before the typing
    bool fixing_ = false;
    bool typing_ = false;
    bool emptyKept_ = false;
    TextWords words_;
};

}  // namespace pelmar
