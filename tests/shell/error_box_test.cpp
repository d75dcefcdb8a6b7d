#include "shell/ui/error_box.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

namespace pelmar {
namespace {

TEST(ErrorBox, ShowsTheTextWithOneOkButton) {
    QString text;
    int buttons = -1;
    bool ok = false;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::TextFormat format = Qt::AutoText;
    // Looks at the box once it runs, then presses its OK button.
    std::function<void()> look = [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            QTimer::singleShot(10, look);
            return;
        }
        text = box->text();
        format = box->textFormat();
        icon = box->icon();
        buttons = static_cast<int>(box->buttons().size());
        QAbstractButton* button = box->button(QMessageBox::Ok);
        ok = button != nullptr;
        if (button) button->click();
        else box->close();
    };
    QTimer::singleShot(0, look);
    ShowErrorBox("Cann`t find \"<b>Переводы/x.trs\". Setup Russian include.");
    EXPECT_EQ(text, QString::fromUtf8("Cann`t find \"<b>Переводы/x.trs\". Setup Russian include."));
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(buttons, 1);
    EXPECT_TRUE(ok);
    EXPECT_EQ(format, Qt::PlainText);
}

}  // namespace
}  // namespace pelmar
