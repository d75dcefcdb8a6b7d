// FormBrush, the fill sub-dialog ("Заливка"): the fill switch and the three
// fill colours of the object whose dialog opened it.  Modal; the changes of
// one session are one commit, made as it closes, and the opener redraws once
// the dialog has closed.
#pragma once

#include <QDialog>
#include <cstdint>

#include "dialogs/dialog_host.h"

class QCheckBox;
class QPushButton;

namespace pelmar {

class TColorBar;
class WordTable;

class TFormBrush : public QDialog {
    Q_OBJECT
public:
    // fill: the fill block of the working copy; nullptr (a BrushKind outside
    // 1..10) makes a dialog that changes nothing.  twoColours: the document's
    // shading uses two colours, so colour 3 cannot be chosen.
    TFormBrush(DFill* fill, bool twoColours, DialogCommit& commit, ColorChooser& colors, MessageSink& messages,
               const WordTable& words, QWidget* parent = nullptr);

    void FormShow();
    void CheckBox1Click();
    // Colour bar 1..3.
    void PanelClick(int panel);

    QCheckBox* CheckBox1;
    TColorBar* Panel1;
    TColorBar* Panel2;
    TColorBar* Panel3;
    QPushButton* Button1;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    TColorBar* panel(int n) const;

    DFill* fill_;
    bool twoColours_;
    SessionCommit session_;
    ColorChooser& colors_;
    MessageSink& messages_;
    const WordTable& words_;
};

// Puts the current words on the dialog.
void WordsToBrush(TFormBrush& form, const WordTable& words);

// The fill buttons of the object dialogs: the dialog for the working copy that
// brushKind names, shown modally, then the redraw.
void RunFillDialog(std::uint8_t brushKind, WorkingCopies& work, bool twoColours, DialogCommit& commit,
                   ColorChooser& colors, MessageSink& messages, const WordTable& words, QWidget* parent);

}  // namespace pelmar
