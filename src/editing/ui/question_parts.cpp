#include "editing/ui/question_parts.h"

#include <QBoxLayout>
#include <QDialog>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "files/word_table.h"

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

QuestionWindow::QuestionWindow(const char* name, const WordTable& words, WordNo captionLine, const QIcon& icon,
                               QWidget* parent)
    : QDialog(parent), words_(words), captionLine_(captionLine) {
    setObjectName(name);
    SetQuestionFrame(*this);
    layout_ = new QVBoxLayout(this);
    question_ = AddQuestionLine(*this, *layout_, icon);
}

void QuestionWindow::addButtons(const QIcon& yes, const QIcon& no) {
    auto* buttons = new QHBoxLayout;
    yes_ = new QPushButton(yes, QString(), this);
    yes_->setObjectName("Button1");
    yes_->setDefault(true);
    no_ = new QPushButton(no, QString(), this);
    no_->setObjectName("Button2");
    buttons->addStretch(1);
    buttons->addWidget(yes_);
    buttons->addWidget(no_);
    layout_->addLayout(buttons);
    const auto answerWith = [this](int answer) {
        answer_.done = true;
        answer_.answer = answer;
        accept();
    };
    connect(yes_, &QPushButton::clicked, this, [this, answerWith] { answerWith(chosen()); });
    connect(no_, &QPushButton::clicked, this, [answerWith] { answerWith(0); });
}

void QuestionWindow::setYesEnabled(bool on) { yes_->setEnabled(on); }

std::string QuestionWindow::word(int line) const { return words_.WordLine(captionLine_ + line); }

void QuestionWindow::putWords(int yes, QSize least) {
    setWindowTitle(QString::fromStdString(word(0)));
    question_->setText(QString::fromStdString(word(1)));
    yes_->setText(ButtonText(word(yes)));
    no_->setText(ButtonText(word(yes + 1)));
    FixQuestionSize(*this, least);
}

void QuestionWindow::showEvent(QShowEvent* event) {
    applyWords();
    QDialog::showEvent(event);
}

}  // namespace pelmar
