// The 3D coordinate-system dialog ("Система координат 3D"): on the first
// page the head, the scale, the division marks and their labels and the
// parts (centre, three axes); on the second the four graphs - two Cartesian
// surfaces, a parametric curve and an implicit surface - each with its on
// box, its formulas and its options, the three surfaces also with their
// sections, their outline and the second-order switch of the outline.
//
// A surface's controls are enabled while the surface is on.  A formula the
// drawer cannot draw is told at its field when the user is done with it; the
// scale and the division length must be above 0.  Each field
// marks exactly the cached curves it feeds not computed (model/coord_edits.h):
// a surface's formula its own sections and outline, the scale all of them;
// where a surface's outline has the gradient on, the shaded picture too.
#pragma once

#include <array>

#include "dialogs/ui/dialog_parts.h"
#include "dialogs/ui/dialog_registry.h"

class QTabWidget;

namespace pelmar {

class TFontCombo;
class TNumEdit;

class TFormXZ : public SessionDialog<DXZ> {
    Q_OBJECT
public:
    explicit TFormXZ(DialogRegistry& reg, QWidget* parent = nullptr);

    // VarToFormXZ.
    void fill(DXZ rec) override;
    // WordsToXZ.
    void applyWords(const WordTable& words) override;
    // UpdateXZHints.
    void updateHints() override;

    void showPage(int page);
    int page() const;

private:
    void build();
    void buildPage1(QWidget* page);
    void buildPage2(QWidget* page);
    void connectHandlers();
    void applyOnly();
    // The shaded picture is made again when surface s (1, 2 or 4) takes part
    // in it through its outline's gradient.
    void staleShading(int surface);
    void runOptions(int surface);

    HeadGroup head_{};
    QString thickWord_;

public:
    QTabWidget* PageControl1;
    QLabel* LabelYPath;
    TNumEdit *EditYMas, *EditYRaz;
    QPushButton *ButtonYCenter, *ButtonY_X, *ButtonY_Y, *ButtonY_Z;
    TSpinEdit *SpinEditYRazW, *SpinEditYRazH;
    QCheckBox* CheckBoxYPodEn;
    TSpinEdit* SpinEditYPodJump;
    TFontCombo* FontComboBoxY;
    QCheckBox *CheckBoxYPodIt, *CheckBoxYPodBo;
    TSpinEdit* SpinEditYPodSize;
    std::array<QCheckBox*, 4> CheckBoxY;      // CheckBoxY1 .. CheckBoxY4
    // EditY1, EditY2, EditY31, EditY4, then EditY32, EditY33: surface 1..4
    // and the parametric curve's second and third functions.
    std::array<QLineEdit*, 6> EditY;
    std::array<QPushButton*, 4> ButtonY;      // ButtonY1 .. ButtonY4, the options
    // Per outline 1..3 (surfaces 1, 2, 4): sections, outline, second order.
    std::array<QPushButton*, 3> ButtonSections;  // ButtonY11, ButtonY22, ButtonY33
    std::array<QPushButton*, 3> ButtonOutline;   // ButtonY10, ButtonY20, ButtonY30
    std::array<QCheckBox*, 3> CheckBoxSecond;    // CheckBoxY10, CheckBoxY20, CheckBoxY40
};

}  // namespace pelmar
