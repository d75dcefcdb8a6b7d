// The guard of an edit whose text goes into a document: a character the
// document cannot hold is dropped as it is typed or pasted (the rest of a
// paste is kept), and once the edit is done a message names it.  In a text
// set in "Symbol" a sign of the Symbol font is taken as its code.  Texts the
// program puts on the edit (setText) are never reported.
#pragma once

#include <QValidator>
#include <functional>
#include <string>

class QLineEdit;

namespace pelmar {

class WordTable;

// Where a guard's message goes: the word table of the moment (the built-in
// words without it) and a message box (no message without it).
struct TextRoute {
    std::function<const WordTable&()> words;
    std::function<void(const std::string&)> show;
};

class TextGuard : public QValidator {
    Q_OBJECT
public:
    // symbol: whether the edit's text is set in "Symbol" now (never without it).
    TextGuard(QLineEdit* edit, TextRoute route, std::function<bool()> symbol);

    State validate(QString& input, int& pos) const override;

private:
    void report(const std::u32string& refused) const;

    TextRoute route_;
    std::function<bool()> symbol_;
    // Refused by the change the edit is making; reported when the change
    // turns out to be the user's (textEdited), forgotten otherwise.
    mutable std::u32string pending_;
    QString shown_;  // the edit's text before the change
};

// Puts a guard on `edit` and returns it (the edit owns it).
TextGuard* GuardText(QLineEdit* edit, TextRoute route, std::function<bool()> symbol = {});

// A multi-line text checked as a whole: true when the document holds it as
// it is; otherwise the message names what it cannot hold.
bool TextHeld(const QString& text, const TextRoute& route);

}  // namespace pelmar
