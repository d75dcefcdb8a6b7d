#include "files/ui/text_guard.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>
#include <limits>

#include "files/held_text.h"
#include "files/ui/text_tip.h"
#include "files/word_table.h"

namespace pelmar {

TextGuard::TextGuard(QLineEdit* edit, TextWords words, std::function<bool()> symbol)
    : QValidator(edit),
      edit_(edit),
      words_(std::move(words)),
      symbol_(std::move(symbol)),
      limit_(edit->maxLength()),
      shown_(edit->text()) {
    edit->setMaxLength(std::numeric_limits<int>::max());
    edit->installEventFilter(this);
    // The edit validates before it sends its signals: textEdited comes first
    // and only for the user's changes, textChanged after it for every change.
    connect(edit, &QLineEdit::textEdited, this, [this] {
        if (!pending_.empty() || cut_) report();
    });
    connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) {
        pending_.clear();
        pendingSet_.clear();
        cut_ = false;
        made_.clear();
        shown_ = text;
    });
}

QValidator::State TextGuard::validate(QString& input, int& pos) const {
    if (putting_ || (!made_.isNull() && input == made_)) return Acceptable;
    // Composed as a whole: a combining mark typed after its letter joins it.
    const QString text = input.normalized(QString::NormalizationForm_C);
    // What the change put in place of the text before it; only that is
    // taken, what stays keeps its meaning.
    qsizetype head = 0, tail = 0;
    const qsizetype common = std::min(text.size(), shown_.size());
    while (head < common && text[head] == shown_[head]) ++head;
    while (tail < common - head && text[text.size() - 1 - tail] == shown_[shown_.size() - 1 - tail]) ++tail;
    const QString inserted = text.mid(head, text.size() - head - tail);
    const qsizetype room = std::max<qsizetype>(0, limit_ - head - tail);
    const bool symbol = symbolNow();
    const HeldText held = HoldText(inserted.toStdString(), symbol, TextLines::one, static_cast<std::size_t>(room));
    const QString kept = QString::fromStdString(symbol ? SymbolShown(held.text) : held.text);
    if (kept == inserted && !held.cut && text == input && text.size() <= limit_) return Acceptable;
    for (const char32_t c : held.refused)
        if (pendingSet_.insert(c).second) pending_.push_back(c);
    cut_ = cut_ || held.cut;
    if (kept.isEmpty() && !inserted.isEmpty() && shown_.size() <= limit_) {
        // Nothing of it kept: the text stays as it was, a selection it
        // replaced too.
        input = shown_;
        pos = static_cast<int>(shown_.size() - tail);
    } else {
        input = text.left(head) + kept + text.right(tail);
        if (input.size() > limit_) {  // a text longer than the limit before the change (put whole)
            input.truncate(limit_);
            cut_ = true;
        }
        // The cursor stays after what was put in.
        pos = static_cast<int>(std::min(head + kept.size(), input.size()));
    }
    made_ = input;
    return Acceptable;
}

void TextGuard::Put(QLineEdit* edit, const QString& text) {
    auto* guard = qobject_cast<TextGuard*>(const_cast<QValidator*>(edit->validator()));
    if (guard) guard->putting_ = true;
    edit->setText(text);
    if (guard) guard->putting_ = false;
}

bool TextGuard::eventFilter(QObject* watched, QEvent* event) {
    // A key whose every character is refused is no change at all: the edit
    // never sees it, so that a selection stays for the next key to replace.
    if (watched == edit_ && event->type() == QEvent::KeyPress && !edit_->isReadOnly()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        // Backspace takes a sign with the mark of its form (the later of two
        // codes), as Delete does: the mark alone would make it the other code.
        const int at = edit_->cursorPosition();
        if (plain && key->key() == Qt::Key_Backspace && !edit_->hasSelectedText() && at > 1 &&
            edit_->text()[at - 1].unicode() >= 0xFE00 && edit_->text()[at - 1].unicode() <= 0xFE0F)
            edit_->cursorBackward(true, 1);
        if (plain && !text.isEmpty() && QChar::isPrint(text.toUcs4().front())) {
            const HeldText held = HoldText(text.toStdString(), symbolNow());
            if (held.text.empty() && !held.refused.empty()) {
                for (const char32_t c : held.refused)
                    if (pendingSet_.insert(c).second) pending_.push_back(c);
                report();
                return true;
            }
        }
    }
    return QValidator::eventFilter(watched, event);
}

void TextGuard::report() {
    const std::string message = RefusedTextMessage(WordsOf(words_), pending_, cut_ ? limit_ : -1);
    pending_.clear();
    pendingSet_.clear();
    cut_ = false;
    // A tip, not a box: the keys typed after a refused one go on into the edit.
    ShowTextTip(edit_, QString::fromStdString(message));
}

TextGuard* GuardText(QLineEdit* edit, TextWords words, std::function<bool()> symbol) {
    auto* guard = new TextGuard(edit, std::move(words), std::move(symbol));
    edit->setValidator(guard);
    return guard;
}

bool TextHeld(QString& text, const TextRoute& route) {
    const HeldText held = HoldText(text.toStdString(), false, TextLines::many);
    if (!held.refused.empty()) {
        if (route.show) route.show(RefusedTextMessage(WordsOf(route.words), held.refused));
        return false;
    }
    text = QString::fromStdString(held.text);
    return true;
}

}  // namespace pelmar
