#include "shell/print_dialog.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "shell/error_box.h"

namespace pelmar {

std::vector<std::string> QtPrintHost::printerNames() {
    std::vector<std::string> names;
    for (const QString& n : QPrinterInfo::availablePrinterNames()) names.push_back(n.toStdString());
    return names;
}

void QtPrintHost::showError(const std::string& text) { ShowErrorBox(text); }

bool QtPrintHost::choosePrinter(QPrinter& printer) {
    QPrintDialog dialog(&printer, parent_);
    dialog.setObjectName("PrintDialog1");
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace pelmar
