#include "files/ui/text_guard.h"

#include <QLineEdit>
#include <QTimer>
#include <algorithm>

#include "files/held_text.h"
#include "files/word_table.h"

namespace pelmar {

namespace {

const WordTable& WordsOf(const TextRoute& route) {
    static const WordTable builtIn;
    return route.words ? route.words() : builtIn;
}

}  // namespace

TextGuard::TextGuard(QLineEdit* edit, TextRoute route, std::function<bool()> symbol)
    : QValidator(edit), route_(std::move(route)), symbol_(std::move(symbol)), shown_(edit->text()) {
    // The edit validates before it sends its signals: textEdited comes first
    // and only for the user's changes, textChanged after it for every change.
    connect(edit, &QLineEdit::textEdited, this, [this] {
        if (!pending_.empty()) report(pending_);
    });
    connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) {
        pending_.clear();
        shown_ = text;
    });
}

QValidator::State TextGuard::validate(QString& input, int& pos) const {
    const bool symbol = symbol_ && symbol_();
    const HeldText held = HoldText(input.toStdString(), symbol);
    if (held.refused.empty() && held.text == input.toStdString()) return Acceptable;
    for (const char32_t c : held.refused)
        if (pending_.find(c) == std::u32string::npos) pending_.push_back(c);
    // What the change put in place of the text before it: when nothing of
    // it is kept, the text stays as it was, a selection it replaced too.
    qsizetype head = 0, tail = 0;
    const qsizetype common = std::min(input.size(), shown_.size());
    while (head < common && input[head] == shown_[head]) ++head;
    while (tail < common - head && input[input.size() - 1 - tail] == shown_[shown_.size() - 1 - tail]) ++tail;
    const QString inserted = input.mid(head, input.size() - head - tail);
    if (HoldText(inserted.toStdString(), symbol).text.empty() && input.size() - tail - head > 0) {
        input = shown_;
        pos = static_cast<int>(shown_.size() - tail);
        return Acceptable;
    }
    // The cursor stays after what was before it.
    pos = static_cast<int>(QString::fromStdString(HoldText(input.left(pos).toStdString(), symbol).text).size());
    input = QString::fromStdString(held.text);
    return Acceptable;
}

void TextGuard::report(const std::u32string& refused) const {
    if (!route_.show) return;
    // After the edit, not from inside it: a message box would run its own
    // event loop while the edit is still changing.
    const std::string message = RefusedTextMessage(WordsOf(route_), refused);
    QTimer::singleShot(0, this, [show = route_.show, message] { show(message); });
}

TextGuard* GuardText(QLineEdit* edit, TextRoute route, std::function<bool()> symbol) {
    auto* guard = new TextGuard(edit, std::move(route), std::move(symbol));
    edit->setValidator(guard);
    return guard;
}

bool TextHeld(const QString& text, const TextRoute& route) {
    const HeldText held = HoldText(text.toStdString(), false);
    if (held.refused.empty()) return true;
    if (route.show) route.show(RefusedTextMessage(WordsOf(route), held.refused));
    return false;
}

}  // namespace pelmar
