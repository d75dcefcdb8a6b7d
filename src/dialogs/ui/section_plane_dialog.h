// The section-plane dialog ("Сечение сферы"): the normal vector and the
// distance from the centre of one of the sphere's seven section planes.
// Modal; "Ok" and Esc close it, and the sphere dialog redraws afterwards.
//
// Every value the user types is stored into the sphere working copy at once
// and committed.  A text that is no number yet ("", "-") keeps the previous
// value silently, and so does a normal that would become zero; showing the
// dialog stores nothing.
#pragma once

#include <QDialog>

#include "dialogs/dialog_host.h"
#include "model/records.h"

class QLineEdit;
class QPushButton;

namespace pelmar {

class TFormOrb : public QDialog {
    Q_OBJECT
public:
    // plane: OrbPlaneNo, 1..7.
    TFormOrb(DSf& sphere, int plane, DialogCommit& commit, QWidget* parent = nullptr);

    int plane() const { return plane_; }

    QLineEdit* Edit1;  // normal X
    QLineEdit* Edit2;  // normal Y
    QLineEdit* Edit3;  // normal Z
    QLineEdit* Edit4;  // distance H
    QPushButton* Button1;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void typed(int which);

    DSf& s_;
    int plane_;
    DialogCommit& commit_;
};

}  // namespace pelmar
