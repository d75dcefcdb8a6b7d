// "Все точки": which style categories of the current point go to every point.
#pragma once

#include <QDialog>
#include <array>

class QCheckBox;
class QPushButton;

namespace pelmar {

class TFormPoOpt : public QDialog {
    Q_OBJECT
public:
    explicit TFormPoOpt(QWidget* parent = nullptr);
    // Box i (0..3): type, name font, index font, label radius.
    bool category(int i) const;

private:
    void UpdateOkButton();
    std::array<QCheckBox*, 4> boxes_{};
    QPushButton* ok_;
};

}  // namespace pelmar
