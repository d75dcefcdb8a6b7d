// The guard of a one-line edit whose text goes into a document: what is
// typed or pasted is taken as the document holds it (HoldText): a line break
// or a tab becomes a space, one at the end of a paste is dropped, a character
// the document cannot hold is dropped (the rest of a paste is kept), and a
// text longer than the edit's limit is cut.  A tip at the edit tells what was
// refused or cut; it takes no keys, so typing goes on into the edit.  A key
// refused whole leaves the edit as it was, its selection too.  An edit of a
// text set in "Symbol" shows the signs the label draws (α for the code of
// "a") and takes what it shows as those codes.  A text the program puts on
// the edit with Put is shown whole, as it is.
#pragma once

#include <QValidator>
#include <functional>
#include <string>
#include <unordered_set>

#include "files/ui/text_tip.h"

class QLineEdit;

namespace pelmar {


// Where a whole-text check's message goes: the words and a message box (no
// message without it).
struct TextRoute {
    TextWords words;
    std::function<void(const std::string&)> show;
};

class TextGuard : public QValidator {
    Q_OBJECT
public:
    // symbol: whether the edit's text is set in "Symbol" now (never without
    // it).  The edit's own length limit becomes the guard's: the edit takes
    // any length, so that what is cut is seen and told.
    TextGuard(QLineEdit* edit, TextWords words, std::function<bool()> symbol);

    State validate(QString& input, int& pos) const override;

    // Puts `text` on `edit` as it is, unchecked and untold, where the edit is
    // guarded; setText otherwise.
    static void Put(QLineEdit* edit, const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void report();
    bool symbolNow() const { return symbol_ && symbol_(); }

    QLineEdit* edit_;
    TextWords words_;
    std::function<bool()> symbol_;
    int limit_;
    // Refused or cut by the change the edit is making; told when the change
    // turns out to be the user's (textEdited), forgotten otherwise.
    mutable std::u32string pending_;
    mutable std::unordered_set<char32_t> pendingSet_;
    mutable bool cut_ = false;
    // The text this guard made of the change: the edit checks it once more,
    // and it is not taken again (in a Symbol text the character of a code
    // may itself be a sign the font shows at another code).
    mutable QString made_;
    QString shown_;  // the edit's text before the change
    bool putting_ = false;
};

// Puts a guard on `edit` and returns it (the edit owns it).
TextGuard* GuardText(QLineEdit* edit, TextWords words = {}, std::function<bool()> symbol = {});

// A multi-line text checked as a whole: true when the document holds it,
// and `text` is then as the document holds it (composed, its tabs spaces);
// otherwise the message names what it cannot hold.
bool TextHeld(QString& text, const TextRoute& route);

}  // namespace pelmar
