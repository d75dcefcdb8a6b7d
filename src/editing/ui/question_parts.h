// What the delete and copy questions share: the window's frame and size, the
// question line with its small picture, Yes and No, the answer, and
// word-table texts on controls.
#pragma once

#include <QDialog>
#include <QSize>
#include <QString>
#include <string>

#include "drawing/word_lines.h"
#include "editing/editing_host.h"

class QBoxLayout;
class QIcon;
class QLabel;
class QPushButton;
class QVBoxLayout;

namespace pelmar {

class WordTable;

// A modal question with its texts from the word table, from `captionLine`
// on: the caption, then the question.  Yes and No stand at the bottom; Yes
// answers what `chosen()` says, No answers 0, and Esc or the close box end
// it without an answer.  The texts are put on the window at every show.
class QuestionWindow : public QDialog {
public:
    const QuestionAnswer& answer() const { return answer_; }

protected:
    // `words` must outlive the window; `icon`: the small picture beside the
    // question (the style's question picture when null).
    QuestionWindow(const char* name, const WordTable& words, WordNo captionLine, const QIcon& icon, QWidget* parent);

    // Adds Yes (`Button1`, the default) and No (`Button2`) below what the
    // layout holds, with the pictures given (none when null).
    void addButtons(const QIcon& yes, const QIcon& no);
    void setYesEnabled(bool on);
    // The word `line` lines after the caption.
    std::string word(int line) const;
    // Caption, question, Yes (line `yes`) and No (the line after it); then
    // the window's size fixed to its texts, never below `least`.
    void putWords(int yes, QSize least);

    void showEvent(QShowEvent* event) override;
    virtual void applyWords() = 0;
    // The answer Yes gives.
    virtual int chosen() const = 0;

    QVBoxLayout* layout_ = nullptr;

private:
    const WordTable& words_;
    WordNo captionLine_;
    QLabel* question_ = nullptr;
    QPushButton* yes_ = nullptr;
    QPushButton* no_ = nullptr;
    QuestionAnswer answer_;
};

// A fixed border with the close box only, no help button; modal and above
// the object dialogs.
void SetQuestionFrame(QDialog& window);

// The question line: `Image1`, the 16 x 16 picture (the style's question
// picture when `icon` is null), then `Label1`, added to `layout`.  Returns
// the label.
QLabel* AddQuestionLine(QDialog& window, QBoxLayout& layout, const QIcon& icon);

// The window's size fixed to what its texts need, never below `least`.
void FixQuestionSize(QDialog& window, QSize least);

// A word-table text for a button, a group or a radio button: "&" shows as
// written.
QString ButtonText(const std::string& text);

}  // namespace pelmar
