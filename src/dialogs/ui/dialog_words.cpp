#include "dialogs/ui/dialog_words.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>
#include <QWidget>
#include <cstdlib>

#include "dialogs/ui/radio_group.h"
#include "files/word_table.h"

namespace pelmar {

QString WordText(const char* pattern, const WordTable& words) {
    QString out;
    for (const char* p = pattern; *p;) {
        if (*p == '{') {
            char* end = nullptr;
            const long line = std::strtol(p + 1, &end, 10);
            if (end && *end == '}') {
                out += QString::fromStdString(words.WordLine(static_cast<int>(line)));
                p = end + 1;
                continue;
            }
        }
        const char* q = p + 1;
        while (*q && *q != '{') ++q;
        out += QString::fromUtf8(p, static_cast<int>(q - p));
        p = q;
    }
    return out;
}

namespace {

QString Escaped(QString s) { return s.replace('&', QStringLiteral("&&")); }

// The tab widget whose page `w` is.
QTabWidget* TabsOf(QWidget* w) {
    QWidget* stack = w->parentWidget();
    auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
    return tabs && tabs->indexOf(w) >= 0 ? tabs : nullptr;
}

bool SetCaption(QWidget* w, const QString& text) {
    if (auto* l = qobject_cast<QLabel*>(w)) l->setText(text);
    else if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setText(Escaped(text));
    else if (auto* g = qobject_cast<QGroupBox*>(w)) g->setTitle(Escaped(text));
    else if (QTabWidget* tabs = TabsOf(w)) tabs->setTabText(tabs->indexOf(w), Escaped(text));
    else return false;
    return true;
}

bool SetItem(QWidget* w, int item, const QString& text) {
    if (auto* r = qobject_cast<TRadioGroup*>(w); r && item < r->count()) r->setItemText(item, Escaped(text));
    else if (auto* c = qobject_cast<QComboBox*>(w); c && item < c->count()) c->setItemText(item, text);
    else return false;
    return true;
}

}  // namespace

int ApplyWords(QWidget& window, std::span<const WordTarget> targets, const WordTable& words) {
    int missing = 0;
    for (const WordTarget& t : targets) {
        const QString text = WordText(t.text, words);
        if (!*t.control) {
            window.setWindowTitle(text);
            continue;
        }
        QWidget* w = window.findChild<QWidget*>(QString::fromLatin1(t.control));
        bool done = w != nullptr;
        if (w && t.slot == WordSlot::Caption) done = SetCaption(w, text);
        if (w && t.slot == WordSlot::Item) done = SetItem(w, t.item, text);
        if (w && t.slot == WordSlot::Hint) w->setToolTip(text);
        Q_ASSERT_X(done, "ApplyWords", t.control);  // a word list names only the window's controls
        if (!done) ++missing;
    }
    return missing;
}

const WordTable& BuiltInWords() {
    static const WordTable table = [] {
        WordTable t;
        t.LoadWords("");
        return t;
    }();
    return table;
}

}  // namespace pelmar
