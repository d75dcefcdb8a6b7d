// A one-line edit for numbers with the dialogs' key filter.
//
// Typed keys pass the filter of NumKeyFilter: digits, Backspace and the
// editing keys, "-" where the minus is allowed, one decimal comma (the point
// key types the comma).  Where the comma is not allowed the field holds whole
// numbers: the comma is still taken, the number reads rounded half to even
// ("12,5" is 12, never 125) and shows so once the field is left.  Text that reaches the
// edit another way - pasted, dropped, from an input method - is filtered the
// same way, character by character; text set by the program is left as it
// is.
//
// Connect to textChangedFiltered, not to QLineEdit::textChanged: it is sent
// once per change, with the text after the filter.
#pragma once

#include <QLineEdit>
#include <optional>

namespace pelmar {

class TNumEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TNumEdit(QWidget* parent = nullptr, bool allowMinus = true, bool allowComma = true);

    void setFilter(bool allowMinus, bool allowComma);
    bool allowMinus() const { return allowMinus_; }
    bool allowComma() const { return allowComma_; }

    // The number the text holds, read with "," or "." (rounded in a
    // whole-number field); nullopt while it holds none ("", "-", "1-2").
    std::optional<double> number() const;

    // Shows a number.  When the edit has the focus and its text already reads
    // as that number ("1,50" for 1.5), the text the user is typing stays.
    void setNumber(double v);

    // The exit fix: "" becomes "0" and "-" becomes "-0", without a second
    // textChangedFiltered.
    void fixEmpty();

signals:
    void textChangedFiltered(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void onTextEdited(const QString& text);
    void onTextChanged(const QString& text);

    bool allowMinus_;
    bool allowComma_;
    QString last_;  // the text before the current change
    bool fixing_ = false;
};

}  // namespace pelmar
