// Pieces the coordinate-system dialogs and their modal windows share: the
// swatch glyph of a graph's or a surface's colour button, the number fields
// of the modal windows, and the word on a formula the drawer cannot draw.
#pragma once

#include <QString>
#include <functional>

#include "dialogs/formula_check.h"
#include "dialogs/graph_rules.h"
#include "files/ui/modal_ok.h"
#include "files/ui/text_tip.h"
#include "model/records.h"

class QLineEdit;
class QPushButton;
class QWidget;

namespace pelmar {

class TNumEdit;
class TSpinEdit;
class WordTable;

// An 11 x 21 rectangle in the graph's colour with a black pen.
void SetSwatchGlyph(QPushButton* b, TColor color);

// What a modal window's field stored of a number the user entered, and why
// where that is not the number (empty: "the object took N" where it differs).
struct NumberStored {
    double value = 0;
    QString why = {};
};

// A number field of a modal window that writes straight into a working copy.
// While the user types, `typed` (where given) gets every text that is a
// number, and the text stays as typed.  When the user is done (the field
// left, Return, a step of a spin edit's arrows or wheel) `entered` gets the
// whole number - "" and "-" mean 0, a spin edit's MinValue; a spin edit's
// number rounded half to even and kept within its bounds - and returns what
// is stored then.  The field shows that, and a tip says why where it is not
// what was typed.  A number past the range of coordinates is refused with
// the range's tip, unless `ownLimit`: the caller's rule bounds the number
// and says so itself.
void WatchModalNumber(TNumEdit* edit, const WordTable& words, std::function<NumberStored(double)> entered,
                      std::function<void(double)> typed = {}, bool ownLimit = false);
void WatchModalNumber(TSpinEdit* spin, const WordTable& words, std::function<NumberStored(int)> entered);

// A number field of a modal window whose number goes through a rule of
// dialogs/graph_rules.h.  While the user types, a number the rule takes as it
// is goes into the record at once (`set`); one it would not take leaves the
// record as it was before the typing.  When the user is done, the rule
// decides on the whole number what is stored, and the field shows that with
// the rule's word where it is not what was typed.  `rule` sees the record as
// it was before the typing.  Nothing is stored while `quiet` says so (the
// window fills its fields).
struct RuledNumber {
    std::function<double()> get;
    std::function<void(double)> set;
    std::function<GraphNumber(double)> rule;
    std::function<bool()> quiet = {};
};
void WatchRuledNumber(TNumEdit* edit, const WordTable& words, RuledNumber number);

// A formula field of a coordinate system: when the user is done with a text
// he changed (the field left, Return), a tip at the field says why the
// drawer cannot draw it (dialogs/formula_check.h).  The text stays as typed.
void TellFormulaFaults(QLineEdit* edit, FormulaField field, TextWords words);

}  // namespace pelmar
