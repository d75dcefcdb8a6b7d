// The OK of a modal window with number fields, one rule for every window.
//
// OK is the user's "done" with the number being typed: it is taken as when
// the field is left.  Where the field tells something of it (refused, or
// another number taken), the window stays open on that field with the tip,
// and the OK goes no further: a second OK closes the window.  This holds
// whether OK is pressed by key or clicked: Return in a field that tells stops
// at the field (TNumEdit, TSpinEdit); a click on OK leaves the focus in the
// field, since OK takes it by Tab only, and the number is taken before the
// click reaches the window.
//
// The other ways out follow from it.  Where the window's close keeps what
// was typed (a window with no Cancel), the title-bar close is OK.  Escape
// and Cancel keep nothing of a number its field tells of: the field takes
// back what it held before the typing, also in the record it previews in.
#pragma once

#include <functional>

class QAbstractButton;
class QDialog;
class QKeyEvent;
class QWidget;

namespace pelmar {

// The user is done with the number being typed in `window` (before the
// window goes: its fields' receivers must still be whole).
void FinishTyping(QWidget* window);

// The number being typed in `window` is taken as when the field is left.
// Where the field told something of it, the focus goes back to the field,
// with the tip, and this returns true: the window stays.
bool KeepOpenForTold(QWidget* window);

// `ok` (OK, or another button that closes its window with what was typed)
// follows the rule above: a click on it that a field tells of stays in the
// window.
void HoldOkForTold(QAbstractButton* ok);

// The user leaves `window` without the number being typed: where its field
// tells of that number as it is taken, the field enters again the text it
// held before the typing, so that nothing of the number stays.  A number
// taken as typed stays.
void DropToldTyping(QWidget* window);

// `window` keeps what was typed when it closes: its title-bar close follows
// the rule of OK (a number told keeps it open on the field), and Escape
// closes it with nothing kept of a number told (DropToldTyping).
void CloseKeepsAsOk(QDialog* window);

// A key pressed in a number field: Return or Enter makes `enter` take the
// number, then `field` (the field's own key handling) runs; a number told as
// it was entered keeps the key from the window's default button.  False for
// any other key, which is left to the caller.
bool ReturnTakesNumber(QKeyEvent* event, const std::function<void()>& enter, const std::function<void()>& field);

}  // namespace pelmar
