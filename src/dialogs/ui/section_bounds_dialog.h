// FormSech2, the bounds of one section ("Границы"): the interval of each of
// the two free coordinates of its plane.  Modal.  Each edit stores its bound
// as it is typed, while its text is a number the range rule takes as it is
// (dialogs/graph_rules.h); what is typed stays in the field, and an emptied
// field means 0 once it is left, when the rule decides what is stored.  Nothing is marked or
// committed here (the section dialog shows the sections again when it
// returns).
#pragma once

#include <QDialog>

#include "model/records.h"

class QLabel;
class QPushButton;

namespace pelmar {

class TNumEdit;
class WordTable;

class TFormSech2 : public QDialog {
    Q_OBJECT
public:
    // plane: 1 x, 2 y, 3 z = const, which names the free coordinates.
    // scale: the system's pixels per unit, which bounds how far a bound
    // reaches in the picture (0: no such bound).
    TFormSech2(DSection& sec, int plane, const WordTable& words, QWidget* parent = nullptr, double scale = 0);
    // What is being typed is taken before the window closes or goes.
    ~TFormSech2() override;
    void done(int result) override;

    // Bound 0..3 (low and high of the first free coordinate, then of the
    // second) typed or entered as v.
    void EditChange(int bound, double v);

    QLabel* Label11;
    QLabel* Label21;
    TNumEdit* Edit11;
    TNumEdit* Edit12;
    TNumEdit* Edit21;
    TNumEdit* Edit22;
    QPushButton* ButtonOk;

protected:
    void showEvent(QShowEvent* event) override;

private:
    TNumEdit* edit(int bound) const;

    DSection& sec_;
    int plane_;
    double scale_;
    const WordTable& words_;
    bool shown_ = false;
    bool filling_ = false;
};

}  // namespace pelmar
