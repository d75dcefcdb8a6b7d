#include "dialogs/ui/coord_parts.h"

#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

#include "dialogs/number_text.h"
#include "dialogs/ui/color_combo.h"
#include "dialogs/ui/num_edit.h"
#include "dialogs/ui/spin_edit.h"
#include "files/word_table.h"

namespace pelmar {

void SetSwatchGlyph(QPushButton* b, TColor color) {
    QPixmap pm(11, 21);
    pm.fill(ToQColor(color));
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.drawRect(0, 0, 10, 20);
    p.end();
    b->setIcon(QIcon(pm));
    b->setIconSize(QSize(11, 21));
}

namespace {

// The tip where the stored value is not the number taken from the field.
QString StoredWhy(const WordTable& words, const NumberStored& stored, double taken, QString why) {
    if (!stored.why.isEmpty() && stored.value != taken) return stored.why;
    if (stored.value != taken) return QString::fromStdString(ChangedNote(words, stored.value));
    return why;
}

}  // namespace

void WatchModalNumber(TNumEdit* edit, const WordTable& words, std::function<NumberStored(double)> entered,
                      std::function<void(double)> typed) {
    edit->setWords([&words]() -> const WordTable& { return words; });
    if (typed)
        QObject::connect(edit, &TNumEdit::numberTyped, edit, [edit, typed] {
            const std::optional<double> v = edit->typedNumber();
            if (v && std::isfinite(*v)) typed(*v);
        });
    QObject::connect(edit, &TNumEdit::numberEntered, edit, [edit, &words, entered] {
        const std::optional<double> v = edit->typedNumber();
        const double taken = v && std::isfinite(*v) ? *v : 0;
        const NumberStored stored = entered(taken);
        edit->showNumber(stored.value);
        if (const QString why = StoredWhy(words, stored, taken, {}); !why.isEmpty()) ShowTextTip(edit, why);
    });
}

void WatchModalNumber(TSpinEdit* spin, const WordTable& words, std::function<NumberStored(int)> entered) {
    spin->setWords([&words]() -> const WordTable& { return words; });
    QObject::connect(spin, &TSpinEdit::numberEntered, spin, [spin, &words, entered] {
        const std::optional<double> v = spin->typedNumber();
        double taken = v && std::isfinite(*v) ? *v : spin->MinValue();
        QString why;
        if (taken != std::nearbyint(taken)) {
            taken = std::nearbyint(taken);
            why = QString::fromStdString(WholeNote(words, static_cast<int>(std::clamp(taken, -2e9, 2e9))));
        }
        const double lo = spin->minimum(), hi = spin->maximum();
        if (taken < lo || taken > hi) {
            taken = std::clamp(taken, lo, hi);
            why = QString::fromStdString(RangeNote(words, spin->minimum(), spin->maximum(), static_cast<int>(taken)));
        }
        const NumberStored stored = entered(static_cast<int>(taken));
        spin->showValue(static_cast<int>(stored.value));
        if (why = StoredWhy(words, stored, taken, why); !why.isEmpty()) ShowTextTip(spin, why);
    });
}

void WatchRuledNumber(TNumEdit* edit, const WordTable& words, RuledNumber n) {
    // The field's value before the typing, while the user types.
    auto before = std::make_shared<std::optional<double>>();
    WatchModalNumber(
        edit, words,
        [n, before](double v) {
            if (*before) n.set(**before);
            before->reset();
            const GraphNumber g = n.rule(v);
            if (g.value) n.set(*g.value);
            return NumberStored{n.get(), QString::fromStdString(g.why)};
        },
        [n, before](double v) {
            if (n.quiet && n.quiet()) return;
            if (!*before) *before = n.get();
            n.set(**before);
            const GraphNumber g = n.rule(v);
            if (g.value && *g.value == v) n.set(v);
        });
}

void FinishTyping(QWidget* window) {
    QWidget* f = window->focusWidget();
    for (QWidget* w = f; w && w != window; w = w->parentWidget()) {
        if (auto* edit = qobject_cast<TNumEdit*>(w)) return edit->finishTyping();
        if (auto* spin = qobject_cast<TSpinEdit*>(w)) return spin->finishTyping();
    }
}

void TellFormulaFaults(QLineEdit* edit, FormulaField field, TextWords words) {
    // Told once per change: leaving a field the user only looked at says nothing.
    auto changed = std::make_shared<bool>(false);
    QObject::connect(edit, &QLineEdit::textEdited, edit, [changed] { *changed = true; });
    QObject::connect(edit, &QLineEdit::editingFinished, edit, [edit, field, words, changed] {
        if (!*changed) return;
        *changed = false;
        const std::string note = FormulaNote(WordsOf(words), edit->text().toStdString(), field);
        if (!note.empty()) ShowTextTip(edit, QString::fromStdString(note));
    });
}

}  // namespace pelmar
