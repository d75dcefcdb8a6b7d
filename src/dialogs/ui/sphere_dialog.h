// The sphere dialog ("Сфера"): edits the sphere working copy, a stand-alone
// sphere or the inscribed or circumscribed sphere of a body, and opens its
// centre, its contour and its seven section circles as parts, each section's
// plane in the section-plane dialog, the body animation and the fill.
//
// The centre and the radius are shown in whole pixels; a fill never stores
// what it shows, so a radius of 50,5 stays 50,5 until the user types another.
// Typing 250 as the picture X of a centre at 200 moves the centre by 50
// pixels.  The radius is taken when the user is done with it; one below one
// pixel is refused: the record keeps its radius and the edit shows it again
// with a tip.
#pragma once

#include <array>

#include "dialogs/ui/dialog_parts.h"
#include "dialogs/ui/dialog_registry.h"

class QToolButton;

namespace pelmar {

class TFormSf : public SessionDialog<DSf> {
    Q_OBJECT
public:
    explicit TFormSf(DialogRegistry& reg, QWidget* parent = nullptr);
    ~TFormSf() override;

    // VarToFormSf.
    void fill(DSf rec) override;
    // UpdateSfHints.
    void updateHints() override;

private:
    void build();
    void connectHandlers();
    void openPlane(int plane);

    HeadGroup head_{};
    QLabel *LabelSPath, *LabelSx, *LabelSy, *LabelSRad;
    TSpinEdit *SpinEditSx, *SpinEditSy, *SpinEditSRad;
    QPushButton *ButtonSCenter, *ButtonSTe, *ButtonSfAnim, *ButtonSfBrush;
    QCheckBox* CheckBoxSTe;
    std::array<QCheckBox*, 7> CheckBoxSe{};
    // The small buttons of the sections: the circle ("1" .. "7") and its plane ("+").
    std::array<QToolButton*, 7> ButtonSe{}, ButtonSSP{};
    QComboBox* ComboBoxSVid;
};

}  // namespace pelmar
