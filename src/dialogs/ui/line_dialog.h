// The segment dialog ("Отрезок"): edits the segment working copy, a
// stand-alone segment or a part of another object (a radius, a side, an axis,
// an edge), and opens its ends and division points in the point dialog.
#pragma once

#include "dialogs/ui/dialog_parts.h"
#include "dialogs/ui/dialog_registry.h"

namespace pelmar {

class TFormLi : public SessionDialog<DLine> {
    Q_OBJECT
public:
    explicit TFormLi(DialogRegistry& reg, QWidget* parent = nullptr);

    // VarToFormLi.
    void fill(DLine rec) override;
    // WordsToLi.
    void applyWords(const WordTable& words) override;
    // UpdateLiHints.
    void updateHints() override;
    // The walk of "Все отрезки" with the chosen categories, committed.
    void applyToAllLines(bool thickness, bool dashes, bool arrows);

private:
    struct End {
        TNumEdit *x, *y, *xx, *yy, *zz;
        QCheckBox* arrow;
        TSpinEdit *len, *ang;
        QPushButton* open;
        QLabel *lx, *ly, *lxx, *lyy, *lzz, *llen, *lang;
    };
    void build();
    void buildEnd(End& e, int n, QWidget* group);
    void connectHandlers();
    void connectEnd(End& e, DPoint DLine::*point, int group);
    void openPoint(int role);

    HeadGroup head_{};
    QLabel *LabelLPath, *LabelLAng, *LabelLLen,
        *LabelLPri1, *LabelLPri2;
    QComboBox* ComboBoxLType;
    TSpinEdit *SpinEditLPri1, *SpinEditLPri2;
    QCheckBox *CheckBoxP3, *CheckBoxP4;
    TNumEdit *EditLAng, *EditLLen, *EditP3, *EditP4;
    End end1_{}, end2_{};
    QPushButton *ButtonP3, *ButtonP4, *ButtonLAlls, *ButtonLiFocus;
    QString projectionWord_;
};

}  // namespace pelmar
