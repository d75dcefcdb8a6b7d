// The 2D coordinate-system dialog ("Система координат 2D"): on the first
// page the head, the scales, the division marks and their labels, the grid
// and the parts (centre, axes); on the second the six graphs - two
// Cartesian, two polar, a parametric and an implicit one - each with its
// on box, its formula, its options and its equation-parameter animation.
//
// Formulas are stored as typed, key by key: the picture shows a typed
// formula at the next redraw.  When the user is done with one the drawer
// cannot draw, a tip at its field says why.  Only the implicit graph's
// formula and the scales make the implicit graph be traced again
// (model/coord_edits.h).  A scale or a division length must be above 0.
#pragma once

#include <array>

#include "dialogs/ui/dialog_parts.h"
#include "dialogs/ui/dialog_registry.h"

class QTabWidget;

namespace pelmar {

class TFontCombo;
class TNumEdit;

class TFormXY : public SessionDialog<DXOY> {
    Q_OBJECT
public:
    explicit TFormXY(DialogRegistry& reg, QWidget* parent = nullptr);

    // VarToFormXY.
    void fill(DXOY rec) override;
    // WordsToXY(1).
    void applyWords(const WordTable& words) override;
    // UpdateXYHints.
    void updateHints() override;

    void showPage(int page);
    int page() const;

private:
    void build();
    void buildPage1(QWidget* page);
    void buildPage2(QWidget* page);
    void connectHandlers();
    void runOptions(int graph);
    void runAnimation(int graph);
    // The commit of a formula edit: ApplyObject, no redraw.
    void applyOnly();

    HeadGroup head_{};
    QString thickWord_;

public:
    QTabWidget* PageControl1;
    QLabel* LabelX2Path;
    TNumEdit *EditXMasx, *EditXMasy, *EditXRazx, *EditXRazy;
    QPushButton *ButtonXCenter, *ButtonXX, *ButtonXY;
    QCheckBox* CheckBoxXSEn;
    TSpinEdit *SpinEditXSTol, *SpinEditXSJump;
    TSpinEdit *SpinEditXRazW, *SpinEditXRazH;
    QCheckBox* CheckBoxXPodEn;
    TSpinEdit* SpinEditXPodJump;
    TFontCombo* FontComboBoxX;
    QCheckBox *CheckBoxXPodIt, *CheckBoxXPodBo;
    TSpinEdit* SpinEditXPodSize;
    std::array<QCheckBox*, 6> CheckBoxX2;  // CheckBoxX21 .. CheckBoxX26
    // EditX21 .. EditX24, EditX251, EditX26, then EditX252: graph 1..6 and the
    // parametric graph's second function.
    std::array<QLineEdit*, 7> EditX2;
    std::array<QPushButton*, 6> ButtonX;   // ButtonX1 .. ButtonX6, the options
    std::array<QPushButton*, 6> BitBtn;    // BitBtn1 .. BitBtn6, the animation
};

}  // namespace pelmar
