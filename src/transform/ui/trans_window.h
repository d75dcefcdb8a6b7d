// FormTrans: the modeless, always-on-top transformations window.  Six tabs
// (translation, rotation, homothety, central, axial and mirror symmetry),
// three scope boxes and the Apply button, which runs ApplyTransformation on
// the document through the host.  The window cannot be closed; minimising
// rolls it up to its caption instead.
#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "transform/trans_apply.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace pelmar {

class TFormTrans : public QWidget {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 382;
    static constexpr int ClientHeight = 150;

    explicit TFormTrans(QWidget* parent = nullptr);

    // The document Apply works on and its host; null while there is none.
    void setDocument(DProj* doc, TransHost* host);
    // Enables or disables the window's controls; enabling also resets the
    // scope to "Все".
    void EnableTransForm(bool enable);
    // "Выделенные" is available only while something is selected; losing it
    // while checked moves the scope to "Текущий" (to "Все" while that is unavailable).
    void setSelectionAvailable(bool anySelected);
    // "Текущий" is available only while the current object is not a
    // dependent one; losing it while checked moves the scope to "Все".
    void setCurrentAvailable(bool available);

    // The captions from the word table: line N is word(N).
    void WordsToTrans(const std::function<std::string(int)>& word);

    TransOutcome Button1Click();
    void toggleRollUp();
    bool rolledUp() const { return rolled_; }

    // The edits of a tab in the order Apply reads them.
    const std::vector<QLineEdit*>& tabEdits(TransTab tab) const {
        return edits_[static_cast<std::size_t>(tab) - 1];
    }

    QTabWidget* PageControl1;
    QCheckBox* CheckBoxAlls;
    QCheckBox* CheckBoxCurr;
    QCheckBox* CheckBoxSell;
    QPushButton* Button1;

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void scopeClicked(QCheckBox* box, bool checked);

    DProj* doc_ = nullptr;
    TransHost* host_ = nullptr;
    bool rolled_ = false;
    bool enabled_ = false;
    std::array<std::vector<QLineEdit*>, 6> edits_;
    std::vector<QWidget*> switchable_;  // what EnableTransForm enables
    std::array<QToolButton*, 6> tabButtons_{};  // the tabs, in two rows
};

}  // namespace pelmar
