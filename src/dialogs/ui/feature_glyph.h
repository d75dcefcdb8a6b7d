// The mark on a dialog button that opens a feature of the object (its
// animation formulas, its fill, an outline of a surface): filled when the
// feature is set, an empty ring when it is not.  Every object dialog draws
// its marks here, so they look the same everywhere.
#pragma once

class QPixmap;
class QPushButton;
class QString;
class QWidget;

namespace pelmar {

// The 16 x 16 mark: green on an enabled button, grey on a disabled one.
QPixmap FeatureGlyph(bool set, bool enabled);
// The mark on `b`, the grey one shown while `b` is disabled.  The button
// also carries the state as its property "set".
void SetFeatureGlyph(QPushButton* b, bool set);
// A button of the name that opens a feature, with the mark of one not set
// until the dialog is filled: the layout has room for the mark from the start.
QPushButton* FeatureButton(QWidget* parent, const QString& name);

}  // namespace pelmar
