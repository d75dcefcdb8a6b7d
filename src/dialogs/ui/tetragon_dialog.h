// The tetragon dialog: the head, the vertices, angles, side lengths, type,
// third side and height on the first page; the circles, diagonals, centre,
// view and fill on the second.  It edits the kind's working copy and writes
// every change through the editing core's commit.
//
// Typed angles, lengths and the height reshape the tetragon by its type.
// Values no tetragon can take (an angle outside 0..180, a vertex turned about
// coincident or collinear vertices, a trapezium side turned parallel to the
// top side or not beyond the diagonal, a side or a height of 0) are refused:
// the edit shows the stored value, a tip says why, and the record stays as
// it was.
#pragma once

#include <array>
#include <functional>

#include "dialogs/ui/figure_dialog.h"
#include "model/records.h"

namespace pelmar {

class TRadioGroup;

class WordTable;

class TetragonDialog : public FigureDialog<DKv, 4> {
    Q_OBJECT
public:
    TetragonDialog(DKv& work, DialogDocument& doc, DialogCommit& commit, QWidget* parent = nullptr);

    // What the filler takes from the editing core beside the record.
    struct FillContext {
        int role = 0;               // the tetragon's role in its parent
        int pyramidType = 0;        // the pyramid's type when the tetragon is its base
        bool topIsTetragon = true;  // the current object-list entry is a tetragon
        QString path;               // the path caption
    };
    std::function<FillContext()> context;
    // VarToFormKv with the context of the moment.
    void fill(DKv rec) override;

    // role: the tetragon's role in its parent (0 top-level); pyramidType: the
    // type of the pyramid whose base it is (role 5), else 0; topIsTetragon:
    // the current object-list entry is a tetragon.
    void VarToForm(const DKv& k, int role = 0, int pyramidType = 0, bool topIsTetragon = true);

signals:
    void partRequested(pelmar::Kind kind, int role);
    void brushRequested();
    void reselect();
    void pageEntered(int page);  // 1 or 2

public:
    QLineEdit* EditKID;
    QPushButton* ButtonKSave;
    QPushButton* ButtonKLoad;
    std::array<TNumEdit*, 4> EditKAng, EditKLen;
    TRadioGroup* RadioGroupKTyp;
    TRadioGroup* RadioGroupK3L;
    QLabel* LabelKH;
    TNumEdit* EditKH;
    std::array<QPushButton*, 4> ButtonKLine;
    QCheckBox* CheckBoxKcOpiEn;
    QCheckBox* CheckBoxKcVpiEn;
    QPushButton* ButtonKcOpi;
    QPushButton* ButtonKcVpi;
    QCheckBox* CheckBoxKd13En;
    QCheckBox* CheckBoxKd24En;
    QCheckBox* CheckBoxKOEn;
    QPushButton* ButtonKd13;
    QPushButton* ButtonKd24;
    QPushButton* ButtonKO;
    QComboBox* ComboBoxKVid;
    QPushButton* ButtonKvBrush;
    QLabel* LabelKPath;

protected:
    QString refusal(Value what, int i, double v) const override;
    QString ruledType() const override;
    bool needsPlane() const override;

private:
    void buildPage1(QWidget* page);
    void buildPage2(QWidget* page);
    void connectHandlers();
};

}  // namespace pelmar
