// The apply-to-all dialogs ("Все точки", "Все отрезки", "Все эллипсы"): a
// group "Категории" of check boxes, all checked at first; "Ok" only while
// one of them is checked.
#pragma once

#include <QDialog>
#include <QStringList>
#include <vector>

class QCheckBox;
class QPushButton;

namespace pelmar {

class TFormAllOpt : public QDialog {
    Q_OBJECT
public:
    TFormAllOpt(const QString& objectName, const QString& caption, const QStringList& categories,
                QWidget* parent = nullptr);
    // Box i, from 0.
    bool category(int i) const;

private:
    void UpdateOkButton();
    std::vector<QCheckBox*> boxes_;
    QPushButton* ok_;
};

// TFormPoOpt, TFormLiOpt, TFormCiOpt.
TFormAllOpt* NewFormPoOpt(QWidget* parent);
TFormAllOpt* NewFormLiOpt(QWidget* parent);
TFormAllOpt* NewFormCiOpt(QWidget* parent);

}  // namespace pelmar
