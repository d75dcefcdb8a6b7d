// The copy question: copy the current object, the part of it being edited,
// or the selected objects.  The copy command decides which choices the
// window offers (CopyQuestion); the window shows them with the current
// object chosen, runs modally and reports the answer: Yes with the choice,
// No, or nothing at all when Esc or the close box ends it.
#pragma once

#include <QDialog>
#include <array>

#include "editing/editing_host.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace pelmar {

class WordTable;

class TFormQCopy : public QDialog {
    Q_OBJECT
public:
    // icon: the small picture beside the question (the style's question
    // picture when null).  `words` must outlive the window.
    TFormQCopy(const CopyQuestion& q, const WordTable& words, const QIcon& icon, QWidget* parent = nullptr);

    // Puts the word-table texts on the window; it runs at every show.
    void WordsToQCopy();

    const QuestionAnswer& answer() const { return answer_; }

    // The question as the copy command asks it: modal, then its answer.
    static QuestionAnswer Ask(const CopyQuestion& q, const WordTable& words, const QIcon& icon, QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void answerWith(int answer);

    const WordTable& words_;
    QLabel* question_ = nullptr;
    QGroupBox* group_ = nullptr;
    std::array<QRadioButton*, 3> choices_{};  // parent, child, selected
    QPushButton* yes_ = nullptr;
    QPushButton* no_ = nullptr;
    QuestionAnswer answer_;
};

}  // namespace pelmar
