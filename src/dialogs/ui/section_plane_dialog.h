// The section-plane dialog ("Сечение сферы"): the normal vector and the
// distance from the centre of one of the sphere's seven section planes.
// Modal; "Ok" and Esc close it, and the sphere dialog redraws afterwards.
//
// A number is stored into the sphere working copy and committed when the
// user is done with it (the field left, Return): the picture is drawn only
// when the dialog closes, and a part of a number ("6" on the way to "60")
// would be taken by rules the whole number is not.  "" and "-" are 0 then.
// The field then shows what the record holds: a normal that would become
// zero is refused, and a distance at which the plane misses the sphere is
// made 0 by the sphere's update; a tip says why.  What is typed when the
// dialog is closed with Esc is dropped, with Ok stored; showing the dialog
// stores nothing.  The numbers of one session are one undo step, and Ok
// switches the plane's section on within it.
#pragma once

#include <QDialog>
#include <cstdint>

#include "dialogs/dialog_host.h"
#include "files/number_text.h"
#include "model/records.h"

class QPushButton;

namespace pelmar {

class TNumEdit;

class TFormOrb : public QDialog {
    Q_OBJECT
public:
    // plane: OrbPlaneNo, 1..7.
    TFormOrb(DSf& sphere, int plane, DialogCommit& commit, QWidget* parent = nullptr);

    int plane() const { return plane_; }

    TNumEdit* Edit1;  // normal X
    TNumEdit* Edit2;  // normal Y
    TNumEdit* Edit3;  // normal Z
    TNumEdit* Edit4;  // distance H
    QPushButton* Button1;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void entered(int which);
    double stored(int which) const;
    QString said(const char* russian, const char* english) const;
    QString limitNote(LimitCase what) const;

    DSf& s_;
    int plane_;
    DialogCommit& commit_;
    bool closing_ = false;
    std::uint64_t step_ = 0;  // the undo step of the window's session
};

}  // namespace pelmar
