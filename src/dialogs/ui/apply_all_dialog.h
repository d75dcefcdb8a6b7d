// The apply-to-all dialogs ("Все точки", "Все отрезки", "Все эллипсы"): a
// group "Категории" of check boxes, all checked at first; "Ok" only while
// one of them is checked.
#pragma once

#include <QDialog>
#include <span>
#include <vector>

#include "dialogs/ui/dialog_words.h"

class QCheckBox;
class QPushButton;

namespace pelmar {

class TFormAllOpt : public QDialog {
    Q_OBJECT
public:
    // words: WordsToPoOpt, WordsToLiOpt or WordsToCiOpt, put on the dialog
    // from `table`.
    TFormAllOpt(const QString& objectName, int categories, std::span<const WordTarget> words,
                const WordTable& table, QWidget* parent = nullptr);
    // Box i, from 0.
    bool category(int i) const;

private:
    void UpdateOkButton();
    std::vector<QCheckBox*> boxes_;
    QPushButton* ok_;
};

// TFormPoOpt, TFormLiOpt, TFormCiOpt.
TFormAllOpt* NewFormPoOpt(const WordTable& words, QWidget* parent);
TFormAllOpt* NewFormLiOpt(const WordTable& words, QWidget* parent);
TFormAllOpt* NewFormCiOpt(const WordTable& words, QWidget* parent);

}  // namespace pelmar
