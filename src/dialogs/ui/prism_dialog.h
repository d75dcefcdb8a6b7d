// The prism dialog: one dialog for the three-sided (kind r3) and the
// four-sided prism (kind r4).  The head; the lateral edge vector and its
// length; the rotation about the lateral edge through the lower base's
// centre; the type; the bases, the sides and the two spheres opened as
// parts; the view mode, the animation formulas and the fill.
//
// A typed length scales the edge vector, keeping its direction; a zero
// vector becomes the vertical one.  The irregular prism (the last type) has
// no edge vector: its edge controls are hidden.
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <functional>

#include "dialogs/ui/variant_dialog.h"
#include "model/records.h"

namespace pelmar {

class WordTable;

class PrismDialog : public VariantDialog<DPr3, DPr4> {
    Q_OBJECT
public:
    PrismDialog(WorkingCopies& work, DialogDocument& doc, DialogCommit& commit, QWidget* parent = nullptr);

    struct FillContext {
        bool own = true;  // the current object-list entry is a prism of the filled kind
        QString path;
    };
    std::function<FillContext(Kind)> context;

    // VarToFormR3, VarToFormR4.
    void fill(DPr3 rec) override;
    void fill(DPr4 rec) override;
    // WordsToPr.
    void applyWords(const WordTable& words) override;

signals:
    void partRequested(pelmar::Kind kind, int role);
    void brushRequested(int brushKind);
    void animRequested(int bodyKind);
    void reselect();
    void notANumber(const QString& text);

public:
    QLabel* LabelPPath;
    QLineEdit* EditPID;
    QPushButton *ButtonPSave, *ButtonPLoad;
    QLabel *LabelPRebP, *LabelPRebLe;
    std::array<TNumEdit*, 3> EditPRebP;
    TNumEdit* EditPRebLe;
    QPushButton* ButtonPAn2;
    TNumEdit* EditPAn2;
    TRadioGroup* RadioGroupPType;
    QPushButton *ButtonPNiz, *ButtonPVer;
    std::array<QPushButton*, 4> ButtonPGran;
    QCheckBox *CheckBoxPSOpi, *CheckBoxPSVpi;
    QPushButton *ButtonPSOpi, *ButtonPSVpi;
    QComboBox* ComboBoxPVid;
    QPushButton *ButtonPrAnim, *ButtonPrBrush;

private:
    void build();
    void connectHandlers();
    template <class P>
    void VarToForm(const P& p, bool four);
    void setTypeItems(bool four);
    void UpdatePrHints();
    void rotate();

    HeadGroup head_{};
    std::array<QString, 2> caption_;
    std::array<QStringList, 2> types_;
};

}  // namespace pelmar
