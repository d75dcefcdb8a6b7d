// The delete question: delete the current object or the selected objects.
// The delete command decides what the window offers (DeleteQuestion); the
// window shows it, runs modally and reports the answer: Yes with the chosen
// item, No, or nothing at all when Esc or the close box ends it.
#pragma once

#include <QDialog>

#include "editing/editing_host.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;

namespace pelmar {

class WordTable;

class TFormQDel : public QDialog {
    Q_OBJECT
public:
    // icon: the small picture beside the question (the style's question
    // picture when null).  `words` must outlive the window.
    TFormQDel(const DeleteQuestion& q, const WordTable& words, const QIcon& icon, QWidget* parent = nullptr);

    // Puts the word-table texts on the window; it runs at every show.
    void WordsToQDel();

    const QuestionAnswer& answer() const { return answer_; }

    // The question as the delete command asks it: modal, then its answer.
    static QuestionAnswer Ask(const DeleteQuestion& q, const WordTable& words, const QIcon& icon, QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void answerWith(int answer);

    const WordTable& words_;
    QLabel* question_ = nullptr;
    QGroupBox* group_ = nullptr;
    QButtonGroup* items_ = nullptr;
    QLabel* refusal_ = nullptr;
    QPushButton* yes_ = nullptr;
    QPushButton* no_ = nullptr;
    QuestionAnswer answer_;
};

}  // namespace pelmar
