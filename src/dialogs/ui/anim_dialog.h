// The animation formula dialogs: modal, one edit per formula of the current
// object, left only by "Ok" (no Cancel and no close box; Esc and a close
// asked of the window manager, Alt+F4, are refused).  The caption has no
// buttons.  "Ok" stores the edits as typed and commits where the dialog
// does.  The dialogs only keep texts; nothing checks a formula.
#pragma once

#include <QDialog>
#include <QString>
#include <string>
#include <vector>

#include "dialogs/dialog_host.h"

class QLabel;
class QLineEdit;

namespace pelmar {

class WordTable;

class TFormAnim : public QDialog {
    Q_OBJECT
public:
    struct Row {
        QString label;
        std::string* field;        // the formula text in the working copy; nullptr: never stored
        bool enabled;              // loaded and editable; a disabled edit shows empty
        bool visible = true;
        bool storeAlways = false;  // "Ok" stores it even while disabled or hidden
    };
    // commit: ApplyObject(True) after "Ok"; nullptr stores without a commit.
    TFormAnim(const QString& objectName, const QString& caption, std::vector<Row> rows, DialogCommit* commit,
              QWidget* parent = nullptr);

    int rowCount() const { return static_cast<int>(rows_.size()); }
    QLineEdit* edit(int i) const { return edits_.at(static_cast<std::size_t>(i)); }
    // The caption the window draws itself.
    QWidget* caption() const { return caption_; }
    QLabel* label(int i) const { return labels_.at(static_cast<std::size_t>(i)); }
    // Button1Click.
    void ok();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    std::vector<Row> rows_;
    std::vector<QLineEdit*> edits_;
    std::vector<QLabel*> labels_;
    DialogCommit* commit_;
    QWidget* caption_ = nullptr;
    bool permitClose_ = false;
};

// TFormAnimPo: 3D X, Y, Z and the label angle of the point.
TFormAnim* NewFormAnimPo(DPoint& p, const WordTable& words, DialogCommit& commit, QWidget* parent);
// TFormAnimCi: a, b, tilt, the arc angles and the three radius angles.
TFormAnim* NewFormAnimCi(DCircle& c, const WordTable& words, DialogCommit& commit, QWidget* parent);

// The openers of the coordinate-system and solid dialogs pass their working
// copies and the number that chooses the mode.
//
// TFormAnimX1, the bounds of a graph: graph 1..6 of CurXOY (X1, X2, Y1, Y2;
// a polar or parametric graph shows two of them and "Ok" empties the other
// two) or 13, the curve of CurXZ (t1, t2).  "Ok" stores without a commit: the
// coordinate-system dialog commits when its graph options come back.  Other
// numbers give a dialog that stores nothing.
TFormAnim* NewFormAnimX1(WorkingCopies& work, int graph, const WordTable& words, QWidget* parent);
// TFormAnimX2, the rotation and translation of graph 1..6 of CurXOY or of
// surface graph - 10 (graph 11..14) of CurXZ, each edit enabled as the
// graph's rotation or translation is on; a 2D graph has no Z and no normal.
// "Ok" stores without a commit, as NewFormAnimX1's: the graph options it is
// opened from are one change, committed when they close.
TFormAnim* NewFormAnimX2(WorkingCopies& work, int graph, const WordTable& words, QWidget* parent);
// TFormAnimX3, the equation parameter "$" of graph 1..6 of CurXOY; the
// parametric graph 5 also shows the system's seventh parameter.
TFormAnim* NewFormAnimX3(WorkingCopies& work, int graph, const WordTable& words, DialogCommit& commit,
                         QWidget* parent);
// TFormAnimZK, the body formulas (AnimBodyKind): 0 sphere, 1 cylinder,
// 2 cone, 3, 4 pyramids, 5, 6 prisms.
TFormAnim* NewFormAnimZK(WorkingCopies& work, int bodyKind, const WordTable& words, DialogCommit& commit,
                         QWidget* parent);

}  // namespace pelmar
