// FormPng: the small window ("Png") that shows the progress of the
// transparent PNG export.  It frees itself when closed.
#pragma once

#include <QWidget>
#include <string>

class QLabel;

namespace pelmar {

class TFormPng : public QWidget {
    Q_OBJECT
public:
    explicit TFormPng(QWidget* parent = nullptr);

    void FormShow() {}
    // Shows `text` and repaints the label at once.
    void setProgress(const std::string& text);

    QLabel* Label1;
};

}  // namespace pelmar
