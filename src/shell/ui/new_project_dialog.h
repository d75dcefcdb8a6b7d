// The new-project dialog: which kinds of objects a new document starts with
// and how many of each.  New shows it modally and reads NewProjOK and
// NewObjCounts afterwards.
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>

#include "model/records.h"

class QCheckBox;
class QPushButton;
class QGroupBox;

namespace pelmar {

class TSpinEdit;
class WordTable;

class FormNew : public QDialog {
    Q_OBJECT
public:
    // The words are read each time the dialog is shown; `words` must outlive it.
    explicit FormNew(const WordTable& words, QWidget* parent = nullptr);

    bool NewProjOK() const { return newProjOK_; }
    // Per kind in kind order: the count chosen, 0 for a kind not ticked.
    const std::array<std::uint8_t, KindCount>& NewObjCounts() const { return counts_; }

    // Puts the word-table texts on the dialog.
    void applyWords();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void kindToggled();
    void accept() override;

    const WordTable& words_;
    std::array<QCheckBox*, KindCount> check_{};
    std::array<TSpinEdit*, KindCount> spin_{};
    QGroupBox* plane_ = nullptr;
    QGroupBox* solids_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    bool newProjOK_ = false;
    std::array<std::uint8_t, KindCount> counts_{};
};

}  // namespace pelmar
