// The triangle dialog: the head, the vertices, angles, side lengths, type,
// third point and height on the first page; the five bisector, height and
// median lines on the second.  It edits the kind's working copy and writes
// every change through the editing core's commit.
//
// Typed angles and lengths reshape the triangle by its type.  Values that no
// triangle can take (an isosceles side not longer than half the base, a base
// angle of 90 degrees or more, an apex angle outside 0..180, an angle that
// puts the apex too far to draw, a vertex turned about coincident or
// collinear vertices, a height of 0) are refused: the edit shows the stored
// value, a tip says why, and the record stays as it was.
#pragma once

#include <array>
#include <functional>

#include "dialogs/ui/figure_dialog.h"
#include "model/records.h"

namespace pelmar {

class TRadioGroup;

class WordTable;

class TriangleDialog : public FigureDialog<DTri, 3> {
    Q_OBJECT
public:
    // work: the working copy the handlers store into.
    TriangleDialog(DTri& work, DialogDocument& doc, DialogCommit& commit, QWidget* parent = nullptr);

    // What the filler takes from the editing core beside the record.
    struct FillContext {
        int role = 0;               // the triangle's role in its parent
        bool topIsCone = false;     // the current object-list entry is a cone
        bool topIsTriangle = true;  // ... a triangle
        QString path;               // the path caption
    };
    std::function<FillContext()> context;
    // VarToFormTr with the context of the moment.
    void fill(DTri rec) override;

    // Puts the record on the controls.  role: the triangle's role in its
    // parent (0 for a top-level triangle); topIsCone: the current entry of
    // the object list is a cone; topIsTriangle: it is a triangle (the fill
    // button is for top-level triangles only).
    void VarToForm(const DTri& t, int role = 0, bool topIsCone = false, bool topIsTriangle = true);

signals:
    // A part button: the part opens in the dialog of its kind
    // (segment, ellipse) with the given role.
    void partRequested(pelmar::Kind kind, int role);
    void brushRequested();
    void reselect();  // the shape changed: the selection marks are redrawn
    void pageEntered(int page);  // 1 or 2

public:
    QLineEdit* EditTID;
    QPushButton* ButtonTSave;
    QPushButton* ButtonTLoad;
    std::array<TNumEdit*, 3> EditTAng, EditTLen;
    TRadioGroup* RadioGroupTTyp;
    TRadioGroup* RadioGroupT3P;
    QLabel* LabelTH;
    TNumEdit* EditTH;
    std::array<QPushButton*, 3> ButtonTLine;
    QCheckBox* CheckBoxTcOpiEn;
    QCheckBox* CheckBoxTcVpiEn;
    QPushButton* ButtonTcOpi;
    QPushButton* ButtonTcVpi;
    QComboBox* ComboBoxTVid;
    QPushButton* ButtonTrBrush;
    std::array<QCheckBox*, 5> CheckBoxTbEn;
    std::array<QPushButton*, 5> ButtonTbProp;  // Button8 .. Button12
    std::array<TRadioGroup*, 5> RadioGroupTbVe, RadioGroupTbLe, RadioGroupTbTy;
    QLabel* LabelT2Path;

protected:
    QString refusal(Value what, int i, double v) const override;
    QString ruledType() const override;
    bool needsPlane() const override;

private:
    void buildPage1(QWidget* page);
    void buildPage2(QWidget* page);
    void connectHandlers();
    void typeEnables(int index);
};

}  // namespace pelmar
