// The tip that tells at a field what a change of its text left out, or what
// a number field took instead of the number typed.  Unlike a
// tool tip it covers no other control: it stands above or below the field,
// beside it, or outside its window where the window has no free room.  It
// takes no clicks and no keys: a click where it stands reaches the control
// under it, and typing goes on in the field.  It goes when the focus leaves
// the field (a tip shown as the field is left: at the next change of the
// focus), at the next click, when the field's window moves or hides, or
// after ten seconds.
#pragma once

#include <QRect>
#include <QString>
#include <functional>

class QWidget;

namespace pelmar {

class WordTable;

// The word table of the moment (the built-in words without it).
using TextWords = std::function<const WordTable&()>;
const WordTable& WordsOf(const TextWords& words);

// Shows `text` at `field` (plain text, wrapped where the screen has no room
// for one line), in place of a tip shown before.
void ShowTextTip(QWidget* field, const QString& text);

// The text of the tip on screen; empty when none is shown.
QString ShownTextTip();

// The field the tip on screen stands at; null when none is shown.
QWidget* TextTipField();

// How many tips were shown so far: a caller tells whether something it ran
// showed one.
int TextTipSerial();

// Where the tip on screen stands (global coordinates); empty when none is
// shown.
QRect TextTipPlace();

}  // namespace pelmar
