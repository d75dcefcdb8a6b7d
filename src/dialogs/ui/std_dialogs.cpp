#include "dialogs/ui/std_dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QMessageBox>

#include "dialogs/ui/color_combo.h"

namespace pelmar {

std::optional<TColor> QtColorChooser::chooseColor(TColor initial) {
    const QColor c = QColorDialog::getColor(ToQColor(initial), parent_);
    if (!c.isValid()) return std::nullopt;
    return FromQColor(c);
}

void QtMessageSink::showMessage(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), QString::fromStdString(text),
                    QMessageBox::Ok, parent_);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace pelmar
