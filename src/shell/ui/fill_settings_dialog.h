// FormImageBr, the fill settings dialog: where the light of the shaded fills
// comes from, two or three colours, the border of colour 2 and the angle
// range.  Every change goes into the document at once and marks its shaded
// picture stale; "Применить" builds the drawing again so that the new shading
// shows.  There is no cancel.  The caller runs the window's session as one
// change of the document (editing/commit.h, DocumentChange): one undo step
// when the settings differ at its end, none when it ends as it began.
#pragma once

#include <QDialog>
#include <array>
#include <functional>

class QGroupBox;
class QPushButton;
class QTabWidget;

namespace pelmar {

class TNumEdit;
class TRadioGroup;
class WordTable;
struct DProj;

class FormImageBr : public QDialog {
    Q_OBJECT
public:
    // `apply` builds the drawing (the full redraw).
    FormImageBr(const WordTable& words, DProj& doc, std::function<void()> apply, QWidget* parent = nullptr);
    ~FormImageBr() override;

    // Fills the controls from the document.
    void load();
    void applyWords();

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void enableFillControls();
    // A number entered: stored with its fallback, shown as stored, with a
    // tip where that is not the number typed.
    void editEntered(TNumEdit* edit);
    // The number being typed counts as entered.
    void leaveFocusedEdit();
    const WordTable& words_;
    DProj& doc_;
    std::function<void()> apply_;
    int filling_ = 0;
    QTabWidget* tabs_ = nullptr;
    TRadioGroup *radioG1_ = nullptr, *radioG2_ = nullptr, *radioG3_ = nullptr;
    QGroupBox *groupG1_ = nullptr, *groupG2_ = nullptr, *groupG3_ = nullptr;
    TNumEdit* editG1_ = nullptr;
    std::array<TNumEdit*, 3> editGP_{};
    std::array<TNumEdit*, 3> editGV_{};
    QPushButton *bitBtn1_ = nullptr, *button1_ = nullptr;
};

}  // namespace pelmar
