#include "editing/ui/delete_question.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "editing/ui/question_parts.h"
#include "files/word_table.h"

namespace pelmar {

namespace {

// Lines after the caption: the question, the group, its two items, the
// refusal, Yes and No.
enum Line { Question = 1, Group, Current, Selected, Refusal, Yes, No };

}  // namespace

TFormQDel::TFormQDel(const DeleteQuestion& q, const WordTable& words, const QIcon& icon, QWidget* parent)
    : QDialog(parent), words_(words) {
    setObjectName("FormQDel");
    SetQuestionFrame(*this);
    auto* layout = new QVBoxLayout(this);
    question_ = AddQuestionLine(*this, *layout, icon);

    group_ = new QGroupBox(this);
    group_->setObjectName("RadioGroup1");
    auto* itemsLayout = new QVBoxLayout(group_);
    items_ = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) {
        auto* item = new QRadioButton(group_);
        items_->addButton(item, i);
        itemsLayout->addWidget(item);
    }
    layout->addWidget(group_);

    refusal_ = new QLabel(this);
    refusal_->setObjectName("Label2");
    refusal_->setTextFormat(Qt::PlainText);
    QPalette red = refusal_->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    refusal_->setPalette(red);
    // Hidden, it keeps its room: the window has the same size either way.
    QSizePolicy keep = refusal_->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    refusal_->setSizePolicy(keep);
    layout->addWidget(refusal_);

    auto* buttons = new QHBoxLayout;
    yes_ = new QPushButton(this);
    yes_->setObjectName("Button1");
    yes_->setDefault(true);
    no_ = new QPushButton(this);
    no_->setObjectName("Button2");
    buttons->addStretch(1);
    buttons->addWidget(yes_);
    buttons->addWidget(no_);
    layout->addLayout(buttons);
    connect(yes_, &QPushButton::clicked, this, [this] { answerWith(items_->checkedId() + 1); });
    connect(no_, &QPushButton::clicked, this, [this] { answerWith(0); });

    // What the command offers.
    if (QAbstractButton* chosen = items_->button(q.chosen == 1 ? 1 : 0)) chosen->setChecked(true);
    group_->setEnabled(q.choiceEnabled);
    yes_->setEnabled(q.yesEnabled);
    refusal_->setHidden(!q.cannotDeleteAll);
    WordsToQDel();
}

void TFormQDel::WordsToQDel() {
    const auto word = [this](int line) { return words_.WordLine(WordNo::DeleteCaption + line); };
    setWindowTitle(QString::fromStdString(word(0)));
    question_->setText(QString::fromStdString(word(Question)));
    group_->setTitle(ButtonText(word(Group)));
    items_->button(0)->setText(ButtonText(word(Current)));
    items_->button(1)->setText(ButtonText(word(Selected)));
    refusal_->setText(QString::fromStdString(word(Refusal)));
    yes_->setText(ButtonText(word(Yes)));
    no_->setText(ButtonText(word(No)));
    FixQuestionSize(*this, QSize(295, 0));
}

void TFormQDel::showEvent(QShowEvent* event) {
    WordsToQDel();
    QDialog::showEvent(event);
}

void TFormQDel::answerWith(int answer) {
    answer_.done = true;
    answer_.answer = answer;
    accept();
}

QuestionAnswer TFormQDel::Ask(const DeleteQuestion& q, const WordTable& words, const QIcon& icon, QWidget* parent) {
    TFormQDel window(q, words, icon, parent);
    window.exec();
    return window.answer();
}

}  // namespace pelmar
