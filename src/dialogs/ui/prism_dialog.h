// The prism dialog: one dialog for the three-sided (kind r3) and the
// four-sided prism (kind r4).  The head; the lateral edge vector and its
// length; the rotation about the lateral edge through the lower base's
// centre; the type; the bases, the sides and the two spheres opened as
// parts; the view mode, the animation formulas and the fill.
//
// The edge values are taken when the user is done with them.  A typed
// length scales the edge vector, keeping its direction exactly; a zero
// vector becomes the vertical one.  A length or a component that would make
// the edge (0, 0, 0) is refused with a tip.  The irregular prism (the last
// type) has no edge vector: its edge controls are hidden.
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
    QLabel *LabelPRebP, *LabelPRebLe;
    std::array<TNumEdit*, 3> EditPRebP;
    TNumEdit* EditPRebLe;
    QPushButton *ButtonPNiz, *ButtonPVer;
    QPushButton *ButtonPrAnim, *ButtonPrBrush;

private:
    void build();
    void connectHandlers();
    template <class P>
    void VarToForm(const P& p, bool four);
    void setTypeItems(bool four);
};

}  // namespace pelmar
