// The copy question: copy the current object, the part of it being edited,
// or the selected objects.  The copy command decides which choices the
// window offers (CopyQuestion); the window shows them with the current
// object chosen, runs modally and reports the answer: Yes with the choice,
// No, or nothing at all when Esc or the close box ends it.
#pragma once

#include <array>

#include "editing/ui/question_parts.h"

class QGroupBox;
class QRadioButton;

namespace pelmar {

class TFormQCopy : public QuestionWindow {
    Q_OBJECT
public:
    TFormQCopy(const CopyQuestion& q, const WordTable& words, const QIcon& icon, QWidget* parent = nullptr);

    // Puts the word-table texts on the window; it runs at every show.
    void WordsToQCopy();

    // The question as the copy command asks it: modal, then its answer.
    static QuestionAnswer Ask(const CopyQuestion& q, const WordTable& words, const QIcon& icon, QWidget* parent);

protected:
    void applyWords() override { WordsToQCopy(); }
    int chosen() const override;

private:
    QGroupBox* group_ = nullptr;
    std::array<QRadioButton*, 3> choices_{};  // parent, child, selected
};

}  // namespace pelmar
