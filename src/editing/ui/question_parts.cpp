#include "editing/ui/question_parts.h"

#include <QBoxLayout>
#include <QDialog>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QStyle>

namespace pelmar {

void SetQuestionFrame(QDialog& window) {
    // Above the object dialogs, which stay on top of the main window.
    window.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint);
    window.setModal(true);
}

QLabel* AddQuestionLine(QDialog& window, QBoxLayout& layout, const QIcon& icon) {
    auto* line = new QHBoxLayout;
    auto* image = new QLabel(&window);
    image->setObjectName("Image1");
    image->setFixedSize(16, 16);
    const QIcon shown = icon.isNull() ? window.style()->standardIcon(QStyle::SP_MessageBoxQuestion) : icon;
    image->setPixmap(shown.pixmap(16, 16));
    auto* text = new QLabel(&window);
    text->setObjectName("Label1");
    text->setTextFormat(Qt::PlainText);
    line->addWidget(image);
    line->addWidget(text, 1);
    layout.addLayout(line);
    return text;
}

void FixQuestionSize(QDialog& window, QSize least) {
    window.setMinimumSize(0, 0);
    window.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    window.setFixedSize(window.sizeHint().expandedTo(least));
}

QString ButtonText(const std::string& text) { return QString::fromStdString(text).replace("&", "&&"); }

}  // namespace pelmar
