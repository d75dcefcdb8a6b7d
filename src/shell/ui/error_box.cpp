#include "shell/ui/error_box.h"

#include <QApplication>
#include <QMessageBox>

namespace pelmar {

void ShowErrorBox(const std::string& text) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), QString::fromStdString(text),
                    QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);  // a file name may hold '<'
    box.exec();
}

}  // namespace pelmar
