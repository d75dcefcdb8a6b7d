#include "dialogs/ui/coord_parts.h"

#include <QAbstractSpinBox>
#include <QEvent>
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
#include "model/coord_limit.h"

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

// The number a field held when it got the focus, and then what it stored:
// what a number past the range the program takes leaves in the record.
class HeldNumber : public QObject {
public:
    HeldNumber(QWidget* field, std::function<std::optional<double>()> read) : QObject(field), read_(std::move(read)) {
        field->installEventFilter(this);
    }
    std::optional<double> held;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) held = read_();
        return false;
    }

private:
    std::function<std::optional<double>()> read_;
};


}  // namespace

void WatchModalNumber(TNumEdit* edit, const WordTable& words, std::function<NumberStored(double)> entered,
                      std::function<void(double)> typed, bool ownLimit) {
    edit->setWords([&words]() -> const WordTable& { return words; });
    auto* held = new HeldNumber(edit, [edit] { return edit->number(); });
    // A number past the bound is never stored, not even while it is typed.
    if (typed)
        QObject::connect(edit, &TNumEdit::numberTyped, edit, [edit, typed, ownLimit] {
            const std::optional<double> v = edit->typedNumber();
            if (v && std::isfinite(*v) && (ownLimit || WithinCoordLimit(*v))) typed(*v);
        });
    QObject::connect(edit, &TNumEdit::numberEntered, edit, [edit, held, &words, entered, ownLimit] {
        const std::optional<double> v = edit->typedNumber();
        const double taken = v && std::isfinite(*v) ? *v : 0;
        if (!ownLimit && !WithinCoordLimit(taken)) {  // what the field held goes back
            const NumberStored stored = entered(held->held.value_or(0));
            edit->showNumber(stored.value);
            ShowTextTip(edit, QString::fromStdString(LimitNote(words, LimitCase::Number)));
            return;
        }
        const NumberStored stored = entered(taken);
        held->held = stored.value;
        edit->showNumber(stored.value);
        // A field left with no number says what it took.
        const QString empty = v ? QString() : QString::fromStdString(EmptyNote(words, stored.value));
        if (const QString why = StoredWhy(words, stored, taken, empty); !why.isEmpty()) ShowTextTip(edit, why);
    });
}

void WatchModalNumber(TSpinEdit* spin, const WordTable& words, std::function<NumberStored(int)> entered) {
    spin->setWords([&words]() -> const WordTable& { return words; });
    auto* held = new HeldNumber(spin, [spin] { return std::optional<double>(spin->value()); });
    QObject::connect(spin, &TSpinEdit::numberEntered, spin, [spin, held, &words, entered] {
        const std::optional<double> v = spin->typedNumber();
        double taken = v && std::isfinite(*v) ? *v : spin->MinValue();
        // A field left with no number says what it took.
        QString why = v ? QString()
                        : QString::fromStdString(spin->bounded()
                                                     ? RangeNote(words, spin->minimum(), spin->maximum(), spin->MinValue())
                                                     : EmptyNote(words, spin->MinValue()));
        if (taken != std::nearbyint(taken)) {
            taken = std::nearbyint(taken);
            why = QString::fromStdString(WholeNote(words, SaturatedRound<int>(taken)));
        }
        const double lo = spin->minimum(), hi = spin->maximum();
        if (taken < lo || taken > hi) {
            taken = std::clamp(taken, lo, hi);
            why = QString::fromStdString(RangeNote(words, spin->minimum(), spin->maximum(), SaturatedRound<int>(taken)));
        }
        // Where their bounds leave them open, the whole numbers of these
        // windows are places in pixels.
        if (!WithinCoordLimit(taken)) {
            const NumberStored stored = entered(SaturatedRound<int>(held->held.value_or(spin->MinValue())));
            spin->showValue(SaturatedRound<int>(stored.value));
            ShowTextTip(spin, QString::fromStdString(LimitNote(words, LimitCase::Pixels)));
            return;
        }
        const NumberStored stored = entered(SaturatedRound<int>(taken));
        held->held = stored.value;
        spin->showValue(SaturatedRound<int>(stored.value));
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
        },
        true);
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
