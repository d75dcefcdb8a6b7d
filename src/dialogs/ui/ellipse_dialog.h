// The ellipse dialog ("Эллипс / Окружность"): edits the ellipse working copy,
// a stand-alone ellipse or a circle of another object, and opens its centre
// and its three radius segments.
#pragma once

#include <array>

#include "dialogs/ui/dialog_parts.h"
#include "dialogs/ui/dialog_registry.h"

namespace pelmar {

class TFormCi : public SessionDialog<DCircle> {
    Q_OBJECT
public:
    explicit TFormCi(DialogRegistry& reg, QWidget* parent = nullptr);

    // VarToFormCi.
    void fill(DCircle rec) override;
    // UpdateCiHints.
    void updateHints() override;
    // The walk of "Все эллипсы" with the chosen categories, committed.
    void applyToAllEllipses(bool thickness, bool dashes);

private:
    void build();
    void connectHandlers();
    void placeAxisEnds(bool a, bool b);

    HeadGroup head_{};
    QLabel *LabelCPath, *LabelCx, *LabelCy, *LabelCRad,
        *LabelCAn, *LabelCx3, *LabelCy3, *LabelCz3, *LabelCRad3, *LabelCDug1, *LabelCDug2, *LabelCDush1,
        *LabelCDush2, *LabelCPri1, *LabelCPri2;
    QComboBox* ComboBoxCTyp;
    TSpinEdit *SpinEditCx, *SpinEditCy, *SpinEditCa, *SpinEditCb, *SpinEditCx3, *SpinEditCy3,
        *SpinEditCz3, *SpinEditCa3, *SpinEditCb3, *SpinEditCPri1, *SpinEditCPri2;
    QCheckBox *CheckBoxCCi, *CheckBoxCCi3;
    std::array<QCheckBox*, 3> CheckBoxCEn{};
    std::array<QPushButton*, 3> ButtonCRad{};
    std::array<QPushButton*, 4> Correction{};  // a1, a2, b1, b2
    TNumEdit *EditCAn, *EditCDug1, *EditCDug2, *EditCDush1, *EditCDush2;
    QPushButton *ButtonCCenter, *ButtonCAll, *ButtonCiAnim, *ButtonCiBrush;
};

}  // namespace pelmar
