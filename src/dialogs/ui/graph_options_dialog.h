// The graph options dialog ("Свойства графика"): line thickness and colour,
// the style of visible and hidden lines, the bounds and a rotation and
// translation of one graph of a 2D coordinate system (graph 1..6) or of one
// surface of a 3D coordinate system (graph 11..14).  Modal; it writes the
// user's edits straight into the system's working copy and never commits:
// the button that opened it commits when it returns.
//
// Which groups a graph has is one table (GraphOptionsRule).  A bound or a
// transformation is stored as it is typed while its text is a number its
// rule takes as it is; what is typed stays in the field.  When the field is
// left an emptied field means 0, the number goes through the field's rule
// (dialogs/graph_rules.h: the limit of a graph's numbers, a range never
// empty nor shorter than its step, at most a million samples, a normal never zero; a
// parametric step is at least 0.0001, a polar step above 0) and the field
// shows what is stored, with a tip where that is not what was typed.
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <utility>

#include "dialogs/dialog_host.h"
#include "dialogs/graph_rules.h"
#include "model/records.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;

namespace pelmar {

class TColorCombo;
class TNumEdit;
class TRadioGroup;
class TSpinEdit;
class WordTable;

// The groups of the dialog for a graph number.
struct GraphOptionsRule {
    bool parametric = false;      // t1, t2, H editable (else shown disabled)
    bool cartesian = false;       // x1 .. y2 loaded and editable (else emptied)
    bool polar = false;           // a, b, H loaded and editable (else emptied)
    bool within = false;          // "В пределах координатных осей" loaded and editable
    bool surface = false;         // a 3D surface: Z and the normal too
    enum Hidden { Disabled, BySolid, Hidden } hidden = Disabled;  // the hidden-lines group
    bool boundsAnimation = false; // the bounds' animation button
};
GraphOptionsRule GraphOptionsRuleOf(int graph);

class TFormXOYOpt : public QDialog {
    Q_OBJECT
public:
    // graph: 1..6 a graph of CurXOY, 11..14 a surface of CurXZ.
    TFormXOYOpt(WorkingCopies& work, int graph, const WordTable& words, int dpi, QWidget* parent = nullptr);
    // What is being typed is taken before the window closes or goes.
    ~TFormXOYOpt() override;
    void done(int result) override;

    int graph() const { return graph_; }
    // The Ok button.
    void ok() { accept(); }

    // Controls by their names.
    QTabWidget* PageControl1;
    TSpinEdit* SpinEdit1;
    QLabel* LabelPt;
    TColorCombo* ColorComboBox1;
    TRadioGroup *RadioGroupVi1, *RadioGroupVi2;
    TSpinEdit *SpinEditDot1, *SpinEditDot2;
    QLabel *LabelDot3, *LabelDot4;
    QGroupBox *GroupBoxDec, *GroupBoxPol, *GroupBoxPar;
    std::array<TNumEdit*, 4> LabeledEditDec;   // x1, x2, y1, y2
    std::array<TNumEdit*, 3> EditGranPol;      // a, b, H
    std::array<TNumEdit*, 3> EditX2;           // t1, t2, H
    QCheckBox* CheckBoxGran;
    QPushButton *ButtonX1Anim, *ButtonX2Anim, *Button1;
    QCheckBox *CheckBoxTrans1, *CheckBoxTrans2;
    TNumEdit* EditTrans;
    std::array<TNumEdit*, 3> LabeledEditTrans11;  // centre X, Y, Z
    std::array<TNumEdit*, 3> LabeledEditTrans12;  // normal X, Y, Z
    std::array<TNumEdit*, 3> LabeledEditTrans2;   // vector X, Y, Z

private:
    // The fields of the graph addressed.
    struct Fields {
        Ed<std::int32_t>* thick;
        Ed<TColor>* color;
        Ed<std::int32_t>* colorIndex;
        DGraphStyle* style;
        DGraphMove* move;
        std::array<Ed<double>*, 3> par;
        std::array<Ed<double>*, 3> polar;
        std::array<Ed<double>*, 4> bounds;
        Ed<bool>* within;
    };
    Fields fields();
    void build();
    void putWords(const WordTable& words);
    void load();
    void connectHandlers();
    void enableDashes();
    void enableTransforms();
    void UpdateGraphOptHints();
    void DrawAnimGlyph(int which);
    // A surface's edit of its rotation or translation: its outline is traced again.
    void staleOutline();
    // field: the number the edit shows, null where the graph has none.
    void numberEdit(TNumEdit* edit, std::function<double*()> field, std::function<void(double)> store,
                    std::function<GraphNumber(double)> rule);
    void transEdit(TNumEdit* edit, Ed<double> DGraphMove::*field);
    void rangeEdit(TNumEdit* edit, bool polar, std::size_t part);

    WorkingCopies& work_;
    const int graph_;
    const GraphOptionsRule rule_;
    const WordTable& words_;
    const int dpi_;
    int filling_ = 0;
    QString pt_;
};

}  // namespace pelmar
