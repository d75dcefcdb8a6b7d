#include "editing/ui/copy_question.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

#include "files/word_table.h"

namespace pelmar {

namespace {

// Lines after the caption: the question, the group, its three choices, Yes
// and No.
enum Line { Group = 2, FirstChoice, Yes = FirstChoice + 3 };

}  // namespace

TFormQCopy::TFormQCopy(const CopyQuestion& q, const WordTable& words, const QIcon& icon, QWidget* parent)
    : QuestionWindow("FormQCopy", words, WordNo::CopyCaption, icon, parent) {
    group_ = new QGroupBox(this);
    group_->setObjectName("GroupBox1");
    auto* choicesLayout = new QVBoxLayout(group_);
    for (std::size_t i = 0; i < choices_.size(); ++i) {
        choices_[i] = new QRadioButton(group_);
        choices_[i]->setObjectName(QString("RadioButton%1").arg(i + 1));
        choicesLayout->addWidget(choices_[i]);
    }
    layout_->addWidget(group_, 1);
    addButtons(style()->standardIcon(QStyle::SP_DialogYesButton), style()->standardIcon(QStyle::SP_DialogNoButton));

    // What the command offers; the current object is chosen.
    choices_[0]->setChecked(true);
    choices_[1]->setEnabled(q.childEnabled);
    choices_[2]->setEnabled(q.selectedEnabled);
    WordsToQCopy();
}

int TFormQCopy::chosen() const {
    for (std::size_t i = 0; i < choices_.size(); ++i)
        if (choices_[i]->isChecked()) return static_cast<int>(i) + 1;
    return 0;
}

void TFormQCopy::WordsToQCopy() {
    group_->setTitle(ButtonText(word(Group)));
    for (std::size_t i = 0; i < choices_.size(); ++i)
        choices_[i]->setText(ButtonText(word(FirstChoice + static_cast<int>(i))));
    putWords(Yes, QSize(295, 184));
}

QuestionAnswer TFormQCopy::Ask(const CopyQuestion& q, const WordTable& words, const QIcon& icon, QWidget* parent) {
    TFormQCopy window(q, words, icon, parent);
    window.exec();
    return window.answer();
}

}  // namespace pelmar
