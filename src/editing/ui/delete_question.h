// The delete question: delete the current object or the selected objects.
// The delete command decides what the window offers (DeleteQuestion); the
// window shows it, runs modally and reports the answer: Yes with the chosen
// item, No, or nothing at all when Esc or the close box ends it.
#pragma once

#include "editing/ui/question_parts.h"

class QButtonGroup;
class QGroupBox;

namespace pelmar {

class TFormQDel : public QuestionWindow {
    Q_OBJECT
public:
    TFormQDel(const DeleteQuestion& q, const WordTable& words, const QIcon& icon, QWidget* parent = nullptr);

    // Puts the word-table texts on the window; it runs at every show.
    void WordsToQDel();

    // The question as the delete command asks it: modal, then its answer.
    static QuestionAnswer Ask(const DeleteQuestion& q, const WordTable& words, const QIcon& icon, QWidget* parent);

protected:
    void applyWords() override { WordsToQDel(); }
    int chosen() const override;

private:
    QGroupBox* group_ = nullptr;
    QButtonGroup* items_ = nullptr;
    QLabel* refusal_ = nullptr;
};

}  // namespace pelmar
