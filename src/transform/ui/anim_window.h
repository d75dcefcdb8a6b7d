// FormAnim: the animation builder's window.  It shows and edits the five
// animation settings of the document, builds the animated GIF beside the
// document with BuildAnimation, shows the progress (frame n of N) with a
// cancel button, and on closing commits changed settings as one undo step.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "transform/anim_build.h"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace pelmar {

class TSpinEdit;
class WordTable;

// What the window works on; the main window fills it in.
struct AnimWindowContext {
    DProj* doc = nullptr;
    DrawingState* drawing = nullptr;
    const RedrawHost* redraw = nullptr;
    std::string docPath;                  // the document file; the GIF lies beside it
    std::function<void()> commit;         // one undo step of the document as it is
    std::function<void(const std::string&)> message;  // a message box
    std::function<std::string(int)> words;  // word-table line N; without it the built-in texts
    std::function<const WordTable&()> table;  // the word table itself (the messages of the formulas)
};

class TFormAnimation : public QDialog, public AnimHost {
    Q_OBJECT
public:
    explicit TFormAnimation(AnimWindowContext ctx, QWidget* parent = nullptr);
    ~TFormAnimation() override;

    void FormShow();
    // The captions and status texts from the context's word table.
    void WordsToAnim();
    // A word-table line through the window's words (the built-in text without
    // them), "&" shown as written.
    QString word(WordNo line) const;
    AnimResult Button1Click();
    void Button2Click();
    bool running() const { return running_; }
    const AnimResult& lastResult() const { return last_; }

    // AnimHost
    void setStatus(const std::string& text, TColor colour) override;
    void setProgress(int frame, int count) override;
    bool cancelRequested() override;
    bool pollDuringFrame() override;
    void showMessage(const std::string& text) override;
    const WordTable* words() const override;

    TSpinEdit* SpinEdit1;
    TSpinEdit* SpinEdit2;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QCheckBox* CheckBox2;
    QPushButton* Button1;
    QPushButton* Button2;
    QFrame* Panel1;
    QLabel* Label0;
    QLabel* ImStatus;  // a coloured mark beside the status
    QProgressBar* ProgressBar1;
    QLabel* Label1;  // the four settings' labels
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    AnimSettings current() const;
    void store();
    bool closeQuery();
    // A number still being typed counts as entered.
    void finishTyping();

    AnimWindowContext ctx_;
    AnimSettings kept_;
    AnimResult last_;
    bool running_ = false;
    bool cancel_ = false;
    int filling_ = 0;
};

// Shows the builder's window modally over `parent`.
void RunAnimationWindow(QWidget* parent, const AnimWindowContext& ctx);

}  // namespace pelmar
