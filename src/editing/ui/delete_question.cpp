#include "editing/ui/delete_question.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "files/word_table.h"

namespace pelmar {

namespace {

// Lines after the caption: the question, the group, its two items, the
// refusal, Yes and No.
enum Line { Group = 2, Current, Selected, Refusal, Yes };

}  // namespace

TFormQDel::TFormQDel(const DeleteQuestion& q, const WordTable& words, const QIcon& icon, QWidget* parent)
    : QuestionWindow("FormQDel", words, WordNo::DeleteCaption, icon, parent) {
    group_ = new QGroupBox(this);
    group_->setObjectName("RadioGroup1");
    auto* itemsLayout = new QVBoxLayout(group_);
    items_ = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) {
        auto* item = new QRadioButton(group_);
        items_->addButton(item, i);
        itemsLayout->addWidget(item);
    }
    layout_->addWidget(group_);

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
    layout_->addWidget(refusal_);
    addButtons(QIcon(), QIcon());

    // What the command offers.
    if (QAbstractButton* chosen = items_->button(q.chosen == 1 ? 1 : 0)) chosen->setChecked(true);
    group_->setEnabled(q.choiceEnabled);
    setYesEnabled(q.yesEnabled);
    refusal_->setHidden(!q.cannotDeleteAll);
    WordsToQDel();
}

int TFormQDel::chosen() const { return items_->checkedId() + 1; }

void TFormQDel::WordsToQDel() {
    group_->setTitle(ButtonText(word(Group)));
    items_->button(0)->setText(ButtonText(word(Current)));
    items_->button(1)->setText(ButtonText(word(Selected)));
    refusal_->setText(QString::fromStdString(word(Refusal)));
    putWords(Yes, QSize(295, 0));
}

QuestionAnswer TFormQDel::Ask(const DeleteQuestion& q, const WordTable& words, const QIcon& icon, QWidget* parent) {
    TFormQDel window(q, words, icon, parent);
    window.exec();
    return window.answer();
}

}  // namespace pelmar
