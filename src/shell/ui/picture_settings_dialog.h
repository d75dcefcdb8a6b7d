// FormImage, the project options dialog: the picture's size, resolution,
// colour, type and anti-aliasing; the background picture; the print page
// with its preview; the fill page's way to the fill settings; the info
// texts.  It edits its own copy of the settings; OK hands the copy back.
#pragma once

#include <QDialog>
#include <QImage>
#include <array>
#include <functional>
#include <string>
#include <utility>

#include "files/ui/text_guard.h"
#include "shell/picture_settings.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace pelmar {

class ColorChooser;
class MessageSink;
class TNumEdit;
class TRadioGroup;
class TSpinEdit;
class WordTable;

// What the dialog asks of the desktop.
struct PictureDialogServices {
    ColorChooser* colors = nullptr;
    MessageSink* messages = nullptr;
    // The open dialog for a background picture, started at the current one;
    // "" when cancelled.
    std::function<std::string(const std::string& current)> choosePicture;
};

class FormImage : public QDialog {
    Q_OBJECT
public:
    FormImage(const WordTable& words, PictureDialogServices services, QWidget* parent = nullptr);
    ~FormImage() override;

    // The desktop's dialogs for the next show.
    void setServices(PictureDialogServices services) { services_ = std::move(services); }

    // Fills the dialog: the document's settings (with its background picture
    // and its drawn picture for the print preview), or a new project's.
    void open(const PictureSettings& settings, bool fromNew, const QImage& background = {},
              const QImage& picture = {});

    // OK was pressed; the copy with what the user set.
    bool NewProjOK() const { return ok_; }
    // The dialog was closed through the fill page's button.
    bool fillRequested() const { return fillRequest_; }
    const PictureSettings& settings() const { return s_; }
    // The background picture fitted to the picture.
    const QImage& background() const { return fitted_; }

    void applyWords();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    // The messages of the info texts' guards.
    TextRoute textRoute() const;
    // A message of the dialog's own in the interface's language.
    QString said(const char* russian, const char* english) const;
    void fill();
    void sizeChanged(bool width);
    // A centimetre edit entered: the pixels it makes.
    void cmEntered(bool width);
    void showCm();
    void resolutionChosen(int item);
    void chooseBackColor();
    void typeClicked(int item);
    void showSwatch();
    void fillBackgroundTab();
    void backOnToggled(bool on);
    void browseBackground();
    bool loadBackground();
    void showBackgroundPreview();
    void showFileName();
    void paperChosen(int item);
    // A paper side or margin entered: stored in whole millimetres, shown as
    // stored, with a tip where that is not the number typed.  A paper side
    // is bounded by what a page can be and leaves the margins on the page;
    // a margin lies inside the page.
    void paperEntered(bool width);
    void marginEntered(bool top);
    void millimetresEntered(TNumEdit* e, int& kept, std::pair<int, int> range, const QString& refused,
                            const QString& rounded);
    // After the page was chosen or turned (with the control `at`).
    void keepMarginsOnPage(QWidget* at);
    // The field in which a number is being typed counts as left.
    void finishTyping();
    void orientation(bool portrait);
    void drawOrientation();
    // The preview of the copy, or of what the print page's fields show
    // while a number is typed in one of them.
    void drawPreview();
    void memoChanged();
    void finish(bool fill);

    const WordTable& words_;
    PictureDialogServices services_;
    PictureSettings s_;
    bool fromNew_ = false;
    bool ok_ = false;
    bool fillRequest_ = false;
    int filling_ = 0;
    QImage back_;     // the background picture as read
    QImage fitted_;   // fitted to the picture
    QImage picture_;  // the drawn picture, for the print preview

    QTabWidget* tabs_ = nullptr;
    QLabel *labelWidth_ = nullptr, *labelHeight_ = nullptr, *labelPix1_ = nullptr, *labelPix2_ = nullptr;
    QLabel *labelSm1_ = nullptr, *labelSm2_ = nullptr;
    TSpinEdit *spin1_ = nullptr, *spin2_ = nullptr;
    TNumEdit *edit1_ = nullptr, *edit2_ = nullptr;
    QComboBox* combo3_ = nullptr;
    QPushButton* buttonF_ = nullptr;
    QLabel* image1_ = nullptr;
    TRadioGroup *radioFont_ = nullptr, *radioType_ = nullptr;
    QCheckBox* antiA_ = nullptr;

    QGroupBox* groupBox1_ = nullptr;
    QCheckBox* checkFon_ = nullptr;
    QPushButton *buttonFon_ = nullptr, *buttonUpd_ = nullptr;
    QLineEdit* editFon_ = nullptr;
    TRadioGroup* radioFon_ = nullptr;
    QLabel *imageFon_ = nullptr, *labelFon_ = nullptr;

    QLabel *labelPri1_ = nullptr, *labelPri2_ = nullptr, *labelPri3_ = nullptr, *labelPri4_ = nullptr,
           *labelPri5_ = nullptr;
    std::array<QLabel*, 4> labelPrism_{};
    QComboBox* comboPri_ = nullptr;
    TNumEdit *editPri1_ = nullptr, *editPri2_ = nullptr, *editPri3_ = nullptr, *editPri4_ = nullptr;
    QGroupBox *groupPri1_ = nullptr, *groupPri2_ = nullptr;
    QRadioButton *portrait_ = nullptr, *landscape_ = nullptr;
    QLabel *imageOri_ = nullptr, *imagePri_ = nullptr;
    QPushButton *buttonPri1_ = nullptr, *buttonPri2_ = nullptr;

    QPushButton* button3_ = nullptr;
    QLabel *labelI1_ = nullptr, *labelI2_ = nullptr, *labelI3_ = nullptr;
    QLineEdit *editI1_ = nullptr, *editI2_ = nullptr;
    QPlainTextEdit* memo_ = nullptr;
    QPushButton *button1_ = nullptr, *button2_ = nullptr;
};

}  // namespace pelmar
