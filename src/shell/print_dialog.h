// The print host of the running program: the system's printers, the error
// box and Qt's print dialog.
#pragma once

#include "shell/print_picture.h"

class QWidget;

namespace pelmar {

class QtPrintHost : public PrintHost {
public:
    explicit QtPrintHost(QWidget* parent) : parent_(parent) {}
    std::vector<std::string> printerNames() override;
    void showError(const std::string& text) override;
    bool choosePrinter(QPrinter& printer) override;

private:
    QWidget* parent_;
};

}  // namespace pelmar
