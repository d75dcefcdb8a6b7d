// The program's own open and save dialogs: the toolkit's file dialog with a
// panel on its right that previews the file under the cursor.  A picture
// file is shown as a picture; a document is drawn in miniature and its header
// data are listed (file size, time, date, picture size, format version,
// author, caption).  The preview button, or a double click on the preview,
// opens the preview full size.
#pragma once

#include <QFileDialog>
#include <QImage>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "drawing/word_lines.h"
#include "model/records.h"

class QLabel;
class QToolButton;

namespace pelmar {

struct DrawingState;
struct RedrawHost;
class TSilentPaintPanel;
class TPreviewImage;

// What the preview draws with.  Documents are read into the drawing state's
// preview document, never into the open document.
struct ZorDialogContext {
    DrawingState* Drawing = nullptr;  // the dialog keeps a drawing state of its own when null
    DProj* Proj = nullptr;            // the open document (only read); a blank one when null
    const RedrawHost* Host = nullptr;  // the main window's side of the redraw; none when null
    std::function<std::string(int)> WordLine;  // the word table; the built-in texts when empty
};

class TOpenZorDialog : public QFileDialog {
    Q_OBJECT
public:
    explicit TOpenZorDialog(QWidget* owner = nullptr, ZorDialogContext context = {});
    ~TOpenZorDialog() override;

    // Runs the dialog; true when the user confirmed a file.
    virtual bool Execute();
    // True while Execute runs.
    bool Running() const { return running_; }
    // 0 for the open dialog, 1 for the save dialog: which preview the redraw paints.
    virtual std::uint8_t PreviewDialogKind() const { return 0; }

    // Opens the preview full size in a window of its own (modal).
    void PreviewClick();

    // The dialog's notifications: shown, selected file changed, closed.
    void DoShow();
    void DoSelectionChange(const QString& fileName);
    void DoClose();

    // The filter in the form "Text|patterns|Text|patterns...".
    QString Filter() const { return filter_; }
    void SetFilter(const QString& filter);
    QString FileName() const;
    void SetFileName(const QString& name);
    void SetInitialDir(const QString& dir);

    // The miniature of a document, painted by the redraw and fitted into
    // its box.
    void ShowPreviewPicture(const QImage& picture);

    QWidget* PicturePanel;
    QLabel* PictureLabel;
    QToolButton* PreviewButton;
    TSilentPaintPanel* PaintPanel;
    QString SavedFilename;
    QLabel* LabelSize1;
    QLabel* LabelSize2;
    QLabel* LabelTime1;
    QLabel* LabelTime2;
    QLabel* LabelDate1;
    QLabel* LabelDate2;
    QLabel* LabelSizeIm1;
    QLabel* LabelSizeIm2;
    QLabel* LabelVer1;
    QLabel* LabelVer2;
    QLabel* LabelAuth1;
    QLabel* LabelAuth2;
    QLabel* LabelCapt1;
    QLabel* LabelCapt2;
    TPreviewImage* ImageCtrl;

protected:
    // Shows the dialog modally, Running() meanwhile.
    bool Run();
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    class PreviewHost;

    void BuildPanel();
    void LayoutPanel();
    void NoPreview();
    bool PicturePreview(const QString& fileName);
    void DocumentPreview(const QString& fileName);
    std::string Word(WordNo line) const;
    DrawingState& Drawing();
    DProj& OpenDocument();

    ZorDialogContext context_;
    QString filter_;
    std::unique_ptr<DrawingState> ownDrawing_;
    std::unique_ptr<DProj> ownProj_;
    std::unique_ptr<PreviewHost> host_;
    bool running_ = false;
};

class TSaveZorDialog : public TOpenZorDialog {
    Q_OBJECT
public:
    using TOpenZorDialog::TOpenZorDialog;
    bool Execute() override;
    std::uint8_t PreviewDialogKind() const override { return 1; }
};

// The dialogs' filter "Text|patterns|..." as the toolkit's name filters
// ("Text (patterns)"), "*.*" standing for every file.
QStringList NameFiltersOf(const QString& filter);

}  // namespace pelmar
