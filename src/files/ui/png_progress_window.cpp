#include "files/ui/png_progress_window.h"

#include <QLabel>
#include <QVBoxLayout>

namespace pelmar {

TFormPng::TFormPng(QWidget* parent) : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("FormPng");
    setWindowTitle("Png");
    setAttribute(Qt::WA_DeleteOnClose);  // closing frees the window
    Label1 = new QLabel("0%", this);
    Label1->setObjectName("Label1");
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setMinimumWidth(120);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TFormPng::setProgress(const std::string& text) {
    Label1->setText(QString::fromStdString(text));
    Label1->repaint();
}

}  // namespace pelmar
