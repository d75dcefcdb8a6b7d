// The picture window: the drawing in a scroll area at the document's zoom,
// the tool bar that chooses what the mouse does (ruler, draw with a kind,
// select, edit), the selection buttons, the copy of the picture to the
// clipboard, and a status bar of seven panels that the mouse tools and the
// redraw write into.  It plays the redraw's progress, status and picture
// roles; the main window plays the command role, tells which kinds may take
// a new object and runs the delete command on deleteRequested.  The
// document's signals reach it as src/app/document_wiring.cpp connects them.
// One view serves both picture modes: the redraw presents the metafile's
// picture in vector mode.
#pragma once

#include <QImage>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "drawing/redraw.h"
#include "editing/editing_host.h"
#include "editing/mouse_tools.h"

class QAction;
class QLabel;
class QProgressBar;
class QScrollArea;
class QStatusBar;
class QToolBar;

namespace pelmar {

struct EditingState;
class PaintBox;
class ScrollBox;

class PictureWindow : public QWidget,
                      public ProgressRole,
                      public StatusRole,
                      public PictureRole,
                      private MouseToolView {
    Q_OBJECT
public:
    // newObjectEnabled: the Enabled state of the main window's TBNew<k>
    // (every kind when empty).
    PictureWindow(EditingState& st, DrawingState& drawing, TextRole& texts, CommandRole& commands,
                  std::function<bool(Kind)> newObjectEnabled = {}, QWidget* parent = nullptr);
    ~PictureWindow() override;

    // The redraw with this window's roles; RepaintProject(1, False).
    RedrawHost redrawHost();
    void redraw(bool full = false);

    // 0: the no-document state; other values: a document is shown.
    void SetDrawWindowMode(int mode);
    // Kind buttons from the main window's new-object commands (on), or all off.
    void EnableDrawTools(bool on);
    // Sizes the scroll box to the picture at its zoom.
    void FitScrollBox();
    // The picture's words from the word table (caption, hints).
    void WordsToShowIm();

    // The picture window's part of the editing commands (the main window's
    // EditingCommandStates passes them on).
    void setCommandEnabled(EditingCommand c, bool on);
    bool isDown(EditingCommand c) const;
    void setDown(EditingCommand c, bool down);

    // TBCopy: the picture to the clipboard, with the metafile in vector mode.
    void copyPicture();

    std::string statusText(int panel) const;
    MouseTools& tools() { return tools_; }
    QWidget* paintBox() const;
    QScrollArea* scrollBox() const;
    // A tool button by its object name (TBLine, TBPo, TBSelAlls ...).
    QAction* toolButton(const char* name) const;

    // ProgressRole
    void processEvents() override;
    void showProgress(const std::string& text) override;
    void setProgress(int position) override;
    void hideProgress() override;
    // StatusRole
    std::string imageCaption() override { return caption_; }
    void setImageCaption(const std::string& caption) override;
    void setStatusPanel(int panel, const std::string& text) override;
    // PictureRole
    ViewPort imageView() override;
    void showPicture(const QImage& view, int boxWidth, int boxHeight, int left, int top) override;
    void showPreview(RedrawMode, const QImage&) override {}

    // The mouse handlers of the view (window pixels of the paint box).
    void pictureMouse(int what, const MouseInput& in);

signals:
    // The Delete key released over a shown document.
    void deleteRequested();

protected:
    void keyReleaseEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // MouseToolView
    MouseTool tool() const override;
    Kind drawKind() const override;
    void setRubberLine(bool on, int x1, int y1, int x2, int y2) override;
    void enableDrawTools() override { EnableDrawTools(true); }
    std::string wordLine(int line) override;
    char decimalSeparator() override;

    QAction* addTool(const char* name, int place, bool checkable);
    void present();
    void selectionButton(void (*command)(EditingState&));

    EditingState& st_;
    DrawingState& drawing_;
    TextRole& texts_;
    CommandRole& commands_;
    std::function<bool(Kind)> newObjectEnabled_;
    MouseTools tools_;

    QToolBar* toolBar_ = nullptr;
    ScrollBox* scroll_ = nullptr;
    PaintBox* paintBox_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    std::array<QLabel*, 7> panels_{};
    QProgressBar* progress_ = nullptr;
    std::array<QAction*, 6> kinds_{};  // TBPo .. TBXY
    QAction *line_ = nullptr, *adds_ = nullptr, *sell_ = nullptr, *edit_ = nullptr;
    QAction *selAll_ = nullptr, *selNone_ = nullptr, *selCurY_ = nullptr, *selCurN_ = nullptr, *copy_ = nullptr;
    std::string caption_;
    bool documentShown_ = false;
};

}  // namespace pelmar
