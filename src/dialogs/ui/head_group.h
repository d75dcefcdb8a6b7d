// The "Главная 1" group that heads the figure dialogs: name, layer, thickness
// with its unit label, colour, the disabled box and the default-set buttons.
// The controls are named after the dialog's letter ("EditTID", "EditKID", ...).
#pragma once

#include <QString>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace pelmar {

class TColorCombo;
class TSpinEdit;

struct HeadGroup {
    QLineEdit* id;
    QComboBox* layer;
    TSpinEdit* tol;
    QLabel* pt;
    TColorCombo* col;
    QCheckBox* dis;
    QPushButton* save;
    QPushButton* load;
};

// Builds the group on `page` and adds it to `v`.
HeadGroup BuildHeadGroup(QWidget* page, QVBoxLayout* v, const QString& letter);

}  // namespace pelmar
