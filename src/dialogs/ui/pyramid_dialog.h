// The pyramid dialog: one dialog for the three-sided (kind i3) and the
// four-sided pyramid (kind i4).  The head; the height (shown, typed, opened
// as a segment); the side of the base plane the apex lies on; the rotation
// about the height; the type; the base, the faces and the two spheres opened
// as parts; the view mode, the animation formula and the fill.
//
// A height is taken when the user is done with it, and moves the apex along
// the height line; one below a pixel is refused with a tip (the apex would
// fall into the base); a height line of length 0 takes a height only where
// the type places the apex by it.
// Choosing the other apex side mirrors the apex in the base plane.  Choosing
// a type without a sphere switches that sphere off (the three-sided
// arbitrary pyramid has no inscribed sphere, the four-sided type
// "Пирамида" neither); filling the dialog with such a type switches it off
// in the working copy too, without a commit.
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <functional>

#include "dialogs/ui/variant_dialog.h"
#include "model/records.h"

namespace pelmar {

class WordTable;

class PyramidDialog : public VariantDialog<DPi3, DPi4> {
    Q_OBJECT
public:
    PyramidDialog(WorkingCopies& work, DialogDocument& doc, DialogCommit& commit, QWidget* parent = nullptr);

    // VarToFormI3, VarToFormI4 with the context of the moment.
    void fill(DPi3 rec) override;
    void fill(DPi4 rec) override;
    // WordsToPi.
    void applyWords(const WordTable& words) override;

signals:
    // A part button: the part of the current variant in its kind's dialog.
    void partRequested(pelmar::Kind kind, int role);
    void brushRequested(int brushKind);
    void animRequested(int bodyKind);
    void reselect();  // the shape changed: the selection marks are redrawn
    // The angle to rotate by holds no number.
    void notANumber(const QString& text);

public:
    QCheckBox* CheckBoxPH;
    TNumEdit* EditPH;
    QPushButton* ButtonPH;
    TRadioGroup* RadioGroupPVer;
    QPushButton* ButtonPBase;
    QPushButton *ButtonPiAnim, *ButtonPiBrush;

private:
    void build();
    void connectHandlers();
    template <class P>
    void VarToForm(const P& p, bool four);
    void UpdatePiHints();
};

}  // namespace pelmar
