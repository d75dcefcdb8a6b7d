// FormOL, the outline (silhouette) of one surface of a 3D system ("Контур"):
// the search window in picture pixels over a preview of the picture, the two
// steps, the convexity direction, whether the outline is built, and the
// gradient fill with its three colours.  Modal; the changes of one session
// are one commit, made as it closes.
#pragma once

#include <QDialog>
#include <QImage>

#include "dialogs/dialog_host.h"

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class QToolButton;

namespace pelmar {

class DialogRegistry;
struct SurfaceDialogContext;
class TColorBar;
class TRadioGroup;
class TSpinEdit;

class TFormOL : public QDialog {
    Q_OBJECT
public:
    // outline: 1, 2 the Cartesian surfaces, 3 the implicit surface (1..3).
    TFormOL(DialogRegistry& reg, int outline, QWidget* parent = nullptr);
    // What is being typed is taken before the window closes or goes.
    ~TFormOL() override;
    void done(int result) override;

    // Controls loaded from the outline, the preview drawn, the words put on.
    void FormShow();
    // The picture fitted into 200 x 200 with the search window over it.
    void DrawOutlinePreview();

    // Spin edit 1..6 entered as v (the field left, Return, an arrow): stored
    // and committed where it changes the outline; what is stored.  The radio
    // group, check boxes 1 and 2 and colour panels 2..4 clicked; help button
    // 1 or 2 clicked.
    int SpinEditChange(int n, int v);
    void RadioGroup1Click();
    void CheckBox1Click();
    void CheckBox2Click();
    void PanelClick(int panel);
    void SpeedButtonClick(int n);

    TSpinEdit* SpinEdit1;
    TSpinEdit* SpinEdit2;
    TSpinEdit* SpinEdit3;
    TSpinEdit* SpinEdit4;
    TSpinEdit* SpinEdit5;
    TSpinEdit* SpinEdit6;
    TRadioGroup* RadioGroup1;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    TColorBar* Panel2;
    TColorBar* Panel3;
    TColorBar* Panel4;
    QToolButton* SpeedButton1;
    QToolButton* SpeedButton2;
    QFrame* Panel1;
    QLabel* Image1;
    QPushButton* Button1;

protected:
    void showEvent(QShowEvent* event) override;

private:
    TFormOL(DialogRegistry& reg, int outline, const SurfaceDialogContext& ctx, QWidget* parent);
    DOutLine& outline();
    TSpinEdit* spin(int n) const;
    TColorBar* panel(int n) const;
    // A change stored into the outline: committed with the session.
    void changed();

    DialogRegistry& reg_;
    SessionCommit session_;
    int n_;
    ColorChooser& colors_;
    QImage picture_;
    TColor moveColor_;
    bool filling_ = false;
};

}  // namespace pelmar
