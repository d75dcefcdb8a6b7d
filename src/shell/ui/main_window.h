// Form1, the main window: the menu and the tool bar with every command, the
// object and zoom combos, and the picture window with its mouse tools inside
// the MDI area.  It works on the application's document, editing, drawing and
// shell state, and answers the editing core and the redraw through the hosts
// of main_window_hosts.h; it follows the edited document as
// app/document_wiring.h connects it.
#pragma once

#include <QMainWindow>
#include <QPoint>
#include <QRect>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "drawing/redraw.h"
#include "editing/editing_state.h"
#include "editing/link_choice.h"
#include "files/export_host.h"
#include "shell/application.h"
#include "shell/command_lock.h"
#include "shell/command_rules.h"
#include "shell/command_table.h"
#include "shell/file_commands.h"
#include "shell/startup.h"
#include "shell/window_layout.h"

class QAction;
class QComboBox;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QScrollArea;
class QToolBar;
class QToolButton;

namespace pelmar {

class Form1;
class EditingDialogSession;
class PrintHost;
class MainHosts;
class MainTransform;
class PictureWindow;

// What the main window asks of the desktop; each left empty takes the real
// window (message boxes, file dialogs, the print dialog, the browser).
struct MainWindowServices {
    FileQuestions* questions = nullptr;
    QuestionBox* objectQuestions = nullptr;  // the delete and copy questions
    PrintHost* printer = nullptr;
    ExportWindows* exporter = nullptr;  // the picture export's save dialog and option windows
    std::function<bool(const std::string& url)> openUrl;
    // The new-object link dialog for a kind: its answer and, when linked,
    // one link per defining point.  Left empty, the link dialog itself.
    std::function<LinkResult(Kind, NewLinks& links)> askLinks;
    // The drawing-program (word = false) and word-processor exports, which
    // live above the shell; the program passes them in.
    std::function<void(Form1& window, ExportState& state, bool word)> officeExport;
};

struct MainWindowSetup {
    std::vector<std::string> arguments;     // command line without the program name
    MainWindowServices services;
};

// The window itself answers the no-project state, the Back-to family, the
// command states of the shell's rules and the core's message box.
class Form1 : public QMainWindow,
              private NoProjectHost,
              private BackToHost,
              private MainCommandStates,
              private MessageBox {
    Q_OBJECT
public:
    // The window works on the application's document, editing, drawing,
    // export and shell state.
    Form1(Application& app, MainWindowSetup setup, QWidget* parent = nullptr);
    ~Form1() override;

    // The command of a menu item or tool button, as a click runs it.
    void run(MainCommand c);
    // The actions of a command (nullptr where it has none).
    QAction* menuAction(MainCommand c) const { return menu_[static_cast<std::size_t>(c)]; }
    QAction* toolAction(MainCommand c) const { return tool_[static_cast<std::size_t>(c)]; }
    bool commandEnabled(MainCommand c) const;
    // Enables or disables the menu item and the tool button of a command.
    void setCommandEnabled(MainCommand c, bool on);

    // The object combo and the zoom combo chosen as by the user.
    void chooseObject(int index);
    void chooseZoom(int item);

    ShellState& shell() { return shell_; }
    EditingState& editing() { return app_.editing(); }
    DProj& document() { return *proj_; }
    Application& application() { return app_; }
    DrawingState& drawing() { return draw_; }
    FileCommands& files() { return *files_; }
    EditingDialogSession& dialogSession() { return *dialogs_; }
    QMdiSubWindow* pictureWindow() const { return pictureSub_; }
    PictureWindow* picture() const { return pic_; }
    MainTransform& transform() const { return *trans_; }
    QScrollArea* pictureScroll() const;
    // The picture window's place and size as a normal window: its geometry,
    // or while it is maximised or minimised the one a restore gives back.
    QRect pictureNormalGeometry() const;
    // The picture window in a state (1 normal, 2 maximised, 3 minimised, any
    // other value keeps the present one) with a normal geometry (an empty
    // one keeps the present one), as an opened document stores them.
    void restorePictureWindow(int state, const QRect& normal);
    QComboBox* objectCombo() const { return comboObj_; }
    QComboBox* zoomCombo() const { return comboMas_; }

    // Redraws the picture now (RepaintProject mode 1), with the redraw the
    // document owes; drawPicture only draws (the document's redrawNeeded).
    void redraw(bool full);
    void drawPicture(bool full);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class MainHosts;

    void buildActions();
    void buildMenu();
    void buildToolBar();
    // The "»" button pressed: the tool buttons that did not fit, in a menu.
    void showToolBarRest();
    void buildPictureWindow();
    void wordsToMain();
    void applyToolbarGroups(const std::array<bool, ToolGroupCount>& show);
    void showRecentFiles(const std::array<RecentMenuItem, 5>& items);
    MainWindowHooks hooks();
    void setNoProjectState(bool startUp);
    // NoProjectHost and BackToHost.
    MainCommandStates& commands() override { return *this; }
    std::array<bool, KindCount>& dialogOpen() override;
    void closeObjectDialog(KindDialog d) override;
    void deleteUndoFiles() override;
    void setCaption(const std::string& caption) override;
    void leaveDocument() override;
    std::array<std::uint8_t, KindCount>& roleBytes() override { return proj_->Role; }
    void setApplyEnabled(bool on) override;
    void keepWorkingCopy(Kind k) override;
    void restoreWorkingCopy(Kind k) override;
    void createObjectDialog(Kind k) override;
    void fillObjectDialog(Kind k) override;
    // MainCommandStates and MessageBox.
    void setEnabled(MainCommand c, bool on) override { setCommandEnabled(c, on); }
    bool enabled(MainCommand c) const override { return commandEnabled(c); }
    void ShowMessage(const std::string& text) override { setup_.services.questions->showMessage(text); }
    void documentOpened();
    void defaultWindowLayout();
    // The main window's geometry and the outer sizes of the windows it places.
    MainGeometry layoutGeometry();
    // A window's frame margins, estimated while the window system has not framed it.
    FrameMargins margins(const QWidget* w) const;
    void placePicture(const WindowLayout& l);
    // The picture window in a state (as restorePictureWindow) at a normal geometry.
    void setPictureWindow(int state, const QRect& normal);
    // Where a picture window can be placed, in the MDI area's coordinates:
    // its view, and the part of it within the screen's available area.
    PictureArea pictureArea() const;
    // An object dialog opens: at the dialogs' place below the tool bar.
    void dialogOpening();
    // The words changed: the dialogs are measured again, and a picture window
    // where the layout put it takes its place beside their new room.
    void dialogWordsChanged();
    void layOutAgainWhenFramed();
    // The object dialogs, the transformations window and every other window
    // of the program closed or hidden.
    void closeOwnWindows();
    void newObject(Kind k, bool fromToolBar);
    void undoRedo(bool undo);
    // The folder of the document's own files (prints, exports): its folder,
    // or the user's documents folder while it is untitled.
    std::string documentFolder() const;
    void printPicture();
    void exportPicture();
    void openHelp();
    void showProjectOptions();
    // Shows the drawn picture again for the scroll position and view size.
    void present();

    Application& app_;
    MainWindowSetup setup_;
    ShellState& shell_;
    DProj* proj_;
    DrawingState& draw_;
    ExportState& export_;
    std::unique_ptr<MainHosts> hosts_;
    WorkingCopies kept_;  // the working copy a Back-to keeps
    std::unique_ptr<FileCommands> files_;
    std::unique_ptr<EditingDialogSession> dialogs_;  // the object dialogs

    std::array<QAction*, CommandCount> menu_{};
    std::array<QAction*, CommandCount> tool_{};
    std::map<std::string, QAction*> separators_;
    std::map<std::string, QMenu*> menus_;
    QToolBar* toolBar_ = nullptr;
    QToolButton* toolBarMore_ = nullptr;  // the bar's "»" button
    QComboBox* comboObj_ = nullptr;
    QComboBox* comboMas_ = nullptr;
    QMdiArea* mdi_ = nullptr;
    QMdiSubWindow* pictureSub_ = nullptr;
    PictureWindow* pic_ = nullptr;
    QPoint dialogPlace_;  // the object dialogs' place of the last default layout
    // The client width each kind's dialog opens with in the words of the
    // moment; empty until the layout first needs them.
    std::vector<int> dialogWidths_;
    QRect pictureLaid_;  // the picture window's geometry of the last layout
    QRect pictureNormal_;  // the picture window's normal geometry while it is maximised or minimised
    bool pictureOpened_ = false;  // an opened document placed the picture window, the layout did not since
    bool layoutBeforeFrame_ = false;  // the last layout came before the main window's frame was known
    // The transformations window was placed (by the layout or an opened
    // document) before the window system framed it.
    bool transBeforeFrame_ = true;
    std::unique_ptr<MainTransform> trans_;  // FormTrans and the animation builder
    bool fromToolBar_ = false;
    bool closed_ = false;  // the window has closed: the settings are written once
    bool asking_ = false;  // the save question of a close is up
    std::unique_ptr<FileQuestions> ownQuestions_;
    std::unique_ptr<QuestionBox> ownObjectQuestions_;
    std::unique_ptr<PrintHost> ownPrinter_;
};

}  // namespace pelmar
