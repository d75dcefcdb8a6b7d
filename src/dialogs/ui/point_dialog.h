// The point dialog ("Точка"): edits the point working copy, a stand-alone
// point or a part of another object (an end of a segment, a centre, a vertex).
#pragma once

#include "dialogs/ui/dialog_parts.h"
#include "dialogs/ui/dialog_registry.h"

namespace pelmar {

class TFontCombo;
class TRadioGroup;

class TFormPo : public SessionDialog<DPoint> {
    Q_OBJECT
public:
    explicit TFormPo(DialogRegistry& reg, QWidget* parent = nullptr);

    // VarToFormPo.
    void fill(DPoint rec) override;
    // UpdatePoHints.
    void updateHints() override;

    // The all-points button's dialog is modal; tests and callers may run its
    // walk without it.
    void applyToAllPoints(bool type, bool nameFont, bool indexFont, bool labelRadius);

private:
    void build();
    void connectHandlers();
    void pictureEdit(TNumEdit* edit, bool isX);
    void spaceEdit(TNumEdit* edit, int axis);
    NumberNote segmentRule();

    HeadGroup head_{};
    QLabel* LabelPPath;
    TNumEdit *EditPx, *EditPy, *EditPxx, *EditPyy, *EditPzz;
    TRadioGroup* RadioGroupPTyp;
    TSpinEdit *SpinEditPRad, *SpinEditPTol;
    QLineEdit *EditPName, *EditPUp, *EditPDown;
    TFontCombo *FontComboBoxP1, *FontComboBoxP2;
    QCheckBox *CheckBoxPBo1, *CheckBoxPIt1, *CheckBoxPBo2, *CheckBoxPIt2;
    TSpinEdit *SpinEditPSize1, *SpinEditPSize2, *SpinEditPNRad, *SpinEditPNAng;
    QPushButton *ButtonPAll, *ButtonPoAnim;
    QLabel *LabelPx, *LabelPy, *LabelPxx, *LabelPyy, *LabelPzz, *LabelPRad, *LabelPTol, *LabelPName,
        *LabelPIndex, *LabelNRad, *LabelPNAng;
};

}  // namespace pelmar
