#include "editing/ui/copy_question.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

#include "editing/ui/question_parts.h"
#include "files/word_table.h"

namespace pelmar {

namespace {

// Lines after the caption: the question, the group, its three choices, Yes
// and No.
enum Line { Question = 1, Group, FirstChoice, Yes = FirstChoice + 3, No };

}  // namespace

TFormQCopy::TFormQCopy(const CopyQuestion& q, const WordTable& words, const QIcon& icon, QWidget* parent)
    : QDialog(parent), words_(words) {
    setObjectName("FormQCopy");
    SetQuestionFrame(*this);
    auto* layout = new QVBoxLayout(this);
    question_ = AddQuestionLine(*this, *layout, icon);

    group_ = new QGroupBox(this);
    group_->setObjectName("GroupBox1");
    auto* choicesLayout = new QVBoxLayout(group_);
    for (std::size_t i = 0; i < choices_.size(); ++i) {
        choices_[i] = new QRadioButton(group_);
        choices_[i]->setObjectName(QString("RadioButton%1").arg(i + 1));
        choicesLayout->addWidget(choices_[i]);
    }
    layout->addWidget(group_, 1);

    auto* buttons = new QHBoxLayout;
    yes_ = new QPushButton(style()->standardIcon(QStyle::SP_DialogYesButton), QString(), this);
    yes_->setObjectName("Button1");
    yes_->setDefault(true);
    no_ = new QPushButton(style()->standardIcon(QStyle::SP_DialogNoButton), QString(), this);
    no_->setObjectName("Button2");
    buttons->addStretch(1);
    buttons->addWidget(yes_);
    buttons->addWidget(no_);
    layout->addLayout(buttons);
    connect(yes_, &QPushButton::clicked, this, [this] {
        for (std::size_t i = 0; i < choices_.size(); ++i)
            if (choices_[i]->isChecked()) return answerWith(static_cast<int>(i) + 1);
    });
    connect(no_, &QPushButton::clicked, this, [this] { answerWith(0); });

    // What the command offers; the current object is chosen.
    choices_[0]->setChecked(true);
    choices_[1]->setEnabled(q.childEnabled);
    choices_[2]->setEnabled(q.selectedEnabled);
    WordsToQCopy();
}

void TFormQCopy::WordsToQCopy() {
    const auto word = [this](int line) { return words_.WordLine(WordNo::CopyCaption + line); };
    setWindowTitle(QString::fromStdString(word(0)));
    question_->setText(QString::fromStdString(word(Question)));
    group_->setTitle(ButtonText(word(Group)));
    for (std::size_t i = 0; i < choices_.size(); ++i)
        choices_[i]->setText(ButtonText(word(FirstChoice + static_cast<int>(i))));
    yes_->setText(ButtonText(word(Yes)));
    no_->setText(ButtonText(word(No)));
    FixQuestionSize(*this, QSize(295, 184));
}

void TFormQCopy::showEvent(QShowEvent* event) {
    WordsToQCopy();
    QDialog::showEvent(event);
}

void TFormQCopy::answerWith(int answer) {
    answer_.done = true;
    answer_.answer = answer;
    accept();
}

QuestionAnswer TFormQCopy::Ask(const CopyQuestion& q, const WordTable& words, const QIcon& icon, QWidget* parent) {
    TFormQCopy window(q, words, icon, parent);
    window.exec();
    return window.answer();
}

}  // namespace pelmar
