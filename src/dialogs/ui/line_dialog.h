// The segment dialog ("Отрезок"): edits the segment working copy, a
// stand-alone segment or a part of another object (a radius, a side, an axis,
// an edge), and opens its ends and division points in the point dialog.
#pragma once

#include "dialogs/ui/dialog_registry.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace pelmar {

class TColorCombo;
class TNumEdit;
class TSpinEdit;

class TFormLi : public RecordDialog<DLine> {
    Q_OBJECT
public:
    explicit TFormLi(DialogRegistry& reg, QWidget* parent = nullptr);

    // VarToFormLi.
    void fill(DLine rec) override;
    // WordsToLi.
    void applyWords(const WordTable& words) override;
    // UpdateLiHints.
    void UpdateLiHints();
    // The walk of "Все отрезки" with the chosen categories, committed.
    void applyToAllLines(bool thickness, bool dashes, bool arrows);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    struct End {
        TNumEdit *x, *y, *xx, *yy, *zz;
        QCheckBox* arrow;
        TSpinEdit *len, *ang;
        QPushButton* open;
        QLabel *lx, *ly, *lxx, *lyy, *lzz, *llen, *lang;
    };
    DLine& cur() const;
    void build();
    void buildEnd(End& e, int n, QWidget* group);
    void connectHandlers();
    void connectEnd(End& e, DPoint DLine::*point);
    void openPoint(int role);

    DialogRegistry& reg_;
    QLabel *LabelLPath, *LabelLID, *LabelLLayer, *LabelLTol, *LabelLPt, *LabelLCol, *LabelLAng, *LabelLLen,
        *LabelLPri1, *LabelLPri2;
    QLineEdit* EditLID;
    QComboBox *ComboBoxLLayer, *ComboBoxLType;
    TSpinEdit *SpinEditLTol, *SpinEditLPri1, *SpinEditLPri2;
    TColorCombo* ColorComboBoxLCol;
    QCheckBox *CheckBoxLDis, *CheckBoxP3, *CheckBoxP4;
    TNumEdit *EditLAng, *EditLLen, *EditP3, *EditP4;
    End end1_{}, end2_{};
    QPushButton *ButtonP3, *ButtonP4, *ButtonLAlls, *ButtonLSave, *ButtonLLoad, *ButtonLiFocus;
    QString projectionWord_;
};

}  // namespace pelmar
