#include "shell/ui/main_window.h"

#include <cerrno>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProgressBar>
#include <QScrollArea>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QWidgetAction>
#include <QWindowStateChangeEvent>
#include <filesystem>

#include "editing/clipboard.h"
#include "editing/delete_objects.h"
#include "editing/edited_document.h"
#include "editing/ui/link_dialog.h"
#include "editing/ui/picture_window.h"
#include "editing/kind_access.h"
#include "editing/new_objects.h"
#include "editing/object_list.h"
#include "editing/selection.h"
#include "editing/undo_store.h"
#include "files/document.h"
#include "files/picture_export.h"
#include "platform/qt_canvas.h"
#include "shell/ui/about_dialog.h"
#include "shell/ui/dialog_session.h"
#include "files/save_failure.h"
#include "platform/side_file.h"
#include "shell/ui/help_window.h"
#include "shell/default_sets.h"
#include "shell/ui/main_window_hosts.h"
#include "shell/ui/options_dialog.h"
#include "shell/ui/main_window_transform.h"
#include "transform/ui/trans_window.h"
#include "shell/ui/print_dialog.h"
#include "shell/ui/project_options.h"
#include "shell/program_folder.h"
#include "shell/ui/qt_questions.h"
#include "shell/ui/tool_icons.h"
#include "shell/user_folders.h"
#include "shell/window_layout.h"
#include "shell/zoom.h"

namespace pelmar {

namespace {

Kind KindOfDialog(KindDialog d) {
    switch (d) {
        case KindDialog::Po: return Kind::po;
        case KindDialog::Li: return Kind::li;
        case KindDialog::Ci: return Kind::ci;
        case KindDialog::Tr: return Kind::tr;
        case KindDialog::Kv: return Kind::kv;
        case KindDialog::XY: return Kind::xy;
        case KindDialog::Sf: return Kind::sf;
        case KindDialog::Zi: return Kind::zi;
        case KindDialog::Ko: return Kind::ko;
        case KindDialog::Pi: return Kind::i3;
        case KindDialog::Pr: return Kind::r3;
        case KindDialog::XZ: break;
    }
    return Kind::xz;
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

// Word-table texts show "&" as written.
QString ActionText(const std::string& s) { return Q(s).replace(QLatin1Char('&'), QStringLiteral("&&")); }

constexpr int ToolButtonSize = 23;

}  // namespace

Form1::Form1(Application& app, MainWindowSetup setup, QWidget* parent)
    : QMainWindow(parent),
      app_(app),
      setup_(std::move(setup)),
      shell_(app.shell()),
      proj_(app.document().Proj.get()),
      draw_(app.document().Drawing),
      export_(app.exports()) {
    setObjectName(QStringLiteral("Form1"));
    hosts_ = std::make_unique<MainHosts>(*this);

    if (!shell_.ProgDir.empty() && shell_.ProgDir.back() != '/') shell_.ProgDir += '/';
    shell_.arguments = setup_.arguments;
    std::error_code ec;
    std::filesystem::create_directories(shell_.ProgDir + "Temp", ec);

    MainWindowServices& sv = setup_.services;
    if (!sv.questions) {
        ownQuestions_ = std::make_unique<QtFileQuestions>(this, shell_.words);
        sv.questions = ownQuestions_.get();
    }
    if (!sv.objectQuestions) {
        ownObjectQuestions_ = std::make_unique<QtObjectQuestions>(this, shell_.words);
        sv.objectQuestions = ownObjectQuestions_.get();
    }
    if (!sv.printer) {
        ownPrinter_ = std::make_unique<QtPrintHost>(this);
        sv.printer = ownPrinter_.get();
    }
    if (!sv.exporter) sv.exporter = hosts_.get();
    if (!sv.openUrl)
        sv.openUrl = [](const std::string& url) { return QDesktopServices::openUrl(QUrl(Q(url))); };
    if (!sv.askLinks)
        sv.askLinks = [this](Kind k, NewLinks& links) {
            const QAction* tool = toolAction(NewObjectCommand(k));
            return LinkDialog::Ask(*proj_, k, tool ? tool->icon() : QIcon(), this, links);
        };

    EditingState& st = app_.editing();
    dialogs_ = std::make_unique<EditingDialogSession>(
        st, EditingDialogSession::Setup{[this]() -> const WordTable& { return shell_.words; },
                                        [this]() -> QWidget* { return this; },
                                        [this] { dialogOpening(); },
                                        [this] {
                                            app_.edited().ensureDrawn();
                                            const bool vector = proj_->Im.PicMode == 1 && !draw_.MetaImage.isNull();
                                            return vector ? draw_.MetaImage : draw_.DrawBitmap;
                                        }});
    st.DialogWindows = &dialogs_->registry();
    st.Questions = sv.objectQuestions;
    st.Messages = this;
    SetProgramFolder(st, shell_.ProgDir);
    st.Defaults.readDocument = ShippedSetReader(
        shell_.ProgDir, shell_.shippedDirs,
        [](const std::string& name, DProj& doc, std::uint8_t& version, std::uint8_t mode) {
            return ReadDocument(name, doc, version, mode);
        });
    st.BackPng = &draw_.BackPng;
    st.Words = &shell_.words;
    st.Windows = [this] {
        LiveWindows w = WindowsFromRecord(*proj_);
        if (pictureSub_) {
            // A maximised or minimised window keeps the place it is restored to.
            const QRect g = pictureNormalGeometry();
            w.PicState = pictureSub_->isMaximized() ? 2 : pictureSub_->isMinimized() ? 3 : 1;
            w.PicLeft = g.left();
            w.PicTop = g.top();
            w.PicWidth = g.width();
            w.PicHeight = g.height();
            w.PicScrollHorz = pictureScroll()->horizontalScrollBar()->value();
            w.PicScrollVert = pictureScroll()->verticalScrollBar()->value();
        }
        w.ComboIndex = comboObj_ ? comboObj_->currentIndex() : -1;
        if (trans_) trans_->storeWindows(w);
        return w;
    };

    buildActions();
    buildMenu();
    buildToolBar();
    buildPictureWindow();
    trans_ = std::make_unique<MainTransform>(*this, pic_->redrawHost());
    trans_->window().installEventFilter(this);

    DocumentView view;
    view.setCaption = [this](const std::string& c) { setCaption(c); };
    view.showRecentFiles = [this](const std::array<RecentMenuItem, 5>& items) { showRecentFiles(items); };
    view.documentOpened = [this] { documentOpened(); };
    view.leaveDocument = [this] { setNoProjectState(false); };
    view.redraw = [this] { redraw(false); };
    files_ = std::make_unique<FileCommands>(st, shell_, *sv.questions, std::move(view));

    app_.showMessage = [this](const std::string& text) { setup_.services.questions->showMessage(text); };
    // A change of language: the main window with the picture and
    // transformations windows, then the open object dialogs in kind order.
    connect(&app_.languageChanged(), &LanguageSignal::changed, this, [this] { wordsToMain(); });
    connect(&app_.languageChanged(), &LanguageSignal::changed, this,
            [this] {
                dialogs_->registry().WordsToOpenDialogs();
                dialogWordsChanged();
            });
    app_.created(hooks());
    st.UndoOn = shell_.settings.UndoOn;
    // Undo keeps ten steps at least, also when no settings file gave a depth.
    st.UndoSteps = shell_.settings.UndoSteps = UndoDepth(shell_.settings.UndoSteps);
    st.MoveColor = shell_.settings.MoveColor;
    st.ShapeColor = shell_.settings.ShapeColor;
}

// The document outlives the window: its signals reach it no more.
Form1::~Form1() { app_.edited().disconnect(this); }

MainWindowHooks Form1::hooks() {
    MainWindowHooks h;
    h.setNoProjectState = [this](bool startUp) { setNoProjectState(startUp); };
    h.documentStartValues = [this] {
        proj_->Zoom = 100;
        proj_->Im.Background = 0xFFFFFF;
        app_.editing().ApplyEnabled = 1;
    };
    h.showRecentFiles = [this](const std::array<RecentMenuItem, 5>& items) { showRecentFiles(items); };
    h.resetRunState = [this] {
        draw_.Running = false;
    };
    h.showError = [this](const std::string& text) { setup_.services.questions->showMessage(text); };
    // Over the window, once it is on the screen.
    h.showNotice = [this](const std::string& text) {
        QTimer::singleShot(0, this, [this, text] { setup_.services.questions->showMessage(text); });
    };
    h.wordsToMain = [this] { wordsToMain(); };
    h.disableCombos = [this] {
        comboObj_->setEnabled(false);
        comboMas_->setEnabled(false);
    };
    h.applyToolbarGroups = [this](const std::array<bool, ToolGroupCount>& show) { applyToolbarGroups(show); };
    h.openDocument = [this](const std::string& file) {
        app_.editing().UndoLoading = false;
        return files_->OpenDocument(file);
    };
    h.setCaption = [this](const std::string& c) { setCaption(c); };
    h.defaultWindowLayout = [this] { defaultWindowLayout(); };
    h.unsavedChanges = [this] { return app_.editing().Changed; };
    h.querySaveChanges = [this] { return files_->QuerySaveChanges(); };
    h.deleteUndoFiles = [this] { DeleteUndoFiles(app_.editing()); };
    // The metafile of the last drawing is a scratch file of this run.
    h.freePictures = [this] { DropMetafile(draw_); };
    return h;
}

// ---------------------------------------------------------------------------
// Menu and tool bar

void Form1::buildActions() {
    for (const CommandInfo& info : CommandTable) {
        const auto i = static_cast<std::size_t>(info.command);
        const MainCommand c = info.command;
        if (info.menu) {
            auto* a = new QAction(this);
            a->setObjectName(QLatin1String(info.menu));
            if (info.shortcut && *info.shortcut) {
                a->setShortcut(QKeySequence(QLatin1String(info.shortcut)));
                // The object dialogs and the tool windows are windows of their
                // own: the menu's keys (Ctrl+Z, Ctrl+S ...) work there too, but
                // not past a modal dialog.
                a->setShortcutContext(Qt::ApplicationShortcut);
            }
            connect(a, &QAction::triggered, this, [this, c] { run(c); });
            menu_[i] = a;
        }
        if (info.tool) {
            auto* a = new QAction(this);
            a->setObjectName(QLatin1String(info.tool));
            a->setIcon(ToolIcon(info.tool));
            connect(a, &QAction::triggered, this, [this, c] {
                fromToolBar_ = true;
                run(c);
                fromToolBar_ = false;
            });
            tool_[i] = a;
        }
    }
}

void Form1::buildMenu() {
    QMenu* top = nullptr;
    QMenu* sub = nullptr;
    for (const MenuEntry& e : MenuTree) {
        if (e.level == 0) {
            top = menuBar()->addMenu(QString());
            top->setObjectName(QLatin1String(e.name));
            menus_[e.name] = top;
            sub = nullptr;
            continue;
        }
        QMenu* into = e.level == 2 && sub ? sub : top;
        if (!into) continue;
        if (!e.name) {
            into->addSeparator();
        } else if (e.command == MainCommand::None) {
            sub = into->addMenu(QString());
            sub->setObjectName(QLatin1String(e.name));
            menus_[e.name] = sub;
        } else if (QAction* a = menuAction(e.command)) {
            into->addAction(a);
        }
    }
}

void Form1::buildToolBar() {
    toolBar_ = addToolBar(QStringLiteral("ToolBar1"));
    toolBar_->setObjectName(QStringLiteral("ToolBar1"));
    toolBar_->setIconSize(QSize(ToolButtonSize, ToolButtonSize));
    toolBar_->setMovable(false);
    for (const ToolItem& item : ToolBarItems) {
        switch (item.kind) {
            case ToolItemKind::Separator: {
                QAction* s = toolBar_->addSeparator();
                s->setObjectName(QLatin1String(item.name));
                separators_[item.name] = s;
                break;
            }
            case ToolItemKind::Combo: {
                auto* combo = new QComboBox(toolBar_);
                combo->setObjectName(QLatin1String(item.name));
                const bool objects = std::string(item.name) == "ComboObj";
                combo->setMaxVisibleItems(objects ? 20 : 10);
                combo->setMinimumContentsLength(objects ? 16 : 5);
                combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
                combo->setFocusPolicy(Qt::ClickFocus);
                if (objects) {
                    comboObj_ = combo;
                    connect(combo, &QComboBox::activated, this, [this](int i) { chooseObject(i); });
                } else {
                    comboMas_ = combo;
                    for (int k = 0; k < static_cast<int>(ZoomPercents.size()); ++k) combo->addItem(Q(ZoomItemText(k)));
                    connect(combo, &QComboBox::activated, this, [this](int i) { chooseZoom(i); });
                }
                toolBar_->addWidget(combo)->setObjectName(QLatin1String(item.name) + QStringLiteral("Item"));
                break;
            }
            case ToolItemKind::Button:
                if (QAction* a = toolAction(item.command)) toolBar_->addAction(a);
                break;
        }
    }
    // The "»" button of a bar that does not fit lists the buttons left off
    // in a menu.  Qt's own way, the bar growing rows downwards inside the
    // main window, puts them under the object dialogs, which stay on top
    // just below the bar.
    if ((toolBarMore_ = toolBar_->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"))))
        toolBarMore_->installEventFilter(this);
}

void Form1::showToolBarRest() {
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("ToolBarRest"));
    for (QAction* a : toolBar_->actions()) {
        const QWidget* shown = toolBar_->widgetForAction(a);
        if (!a->isVisible() || (shown && shown->isVisible()) || qobject_cast<QWidgetAction*>(a)) continue;
        if (a->isSeparator()) menu.addSeparator();
        else menu.addAction(a);
    }
    if (!menu.isEmpty()) menu.exec(toolBarMore_->mapToGlobal(QPoint(0, toolBarMore_->height())));
}

void Form1::buildPictureWindow() {
    mdi_ = new QMdiArea(this);
    mdi_->setObjectName(QStringLiteral("MdiArea"));
    setCentralWidget(mdi_);
    pic_ = new PictureWindow(app_.editing(), draw_, app_.texts(), *hosts_,
                             [this](Kind k) { return commandEnabled(NewObjectCommand(k)); });
    connect(pic_, &PictureWindow::deleteRequested, this, [this] { run(MainCommand::Delete); });
    pictureSub_ = mdi_->addSubWindow(pic_, Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowMinMaxButtonsHint);
    pictureSub_->setObjectName(QStringLiteral("FormShowImFrame"));
    pictureSub_->setAttribute(Qt::WA_DeleteOnClose, false);
    pictureSub_->show();
    pictureNormal_ = pictureSub_->geometry();
    pictureSub_->installEventFilter(this);
    // A larger or smaller view shows more or less of the drawn picture.
    pictureScroll()->viewport()->installEventFilter(this);
}

QScrollArea* Form1::pictureScroll() const { return pic_->scrollBox(); }

namespace {
constexpr Qt::WindowStates NotNormal = Qt::WindowMinimized | Qt::WindowMaximized;
}  // namespace

QRect Form1::pictureNormalGeometry() const {
    return pictureSub_->windowState() & NotNormal ? pictureNormal_ : pictureSub_->geometry();
}

void Form1::restorePictureWindow(int state, const QRect& normal) {
    // The place an opened document gives stays through the layouts the main
    // window makes on its own as it comes up (the first resize, the frame).
    pictureOpened_ = true;
    // A place off the screen (a file from a larger screen, or an earlier
    // version's minimised window) is brought where the window can be seen,
    // and so it is the place the next documents keep.
    setPictureWindow(state, KeepPictureInside(normal.isEmpty() ? pictureNormalGeometry() : normal, pictureArea()));
}

PictureArea Form1::pictureArea() const {
    const QWidget* view = pictureSub_->parentWidget();
    const QScreen* s = screen();
    if (!s) return {view->rect(), view->rect()};
    const QRect available = s->availableGeometry();
    // A main window coming up maximised may not have its size yet: the area
    // is the view it has once it fills the screen.
    if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
        const FrameMargins m = margins(this);
        const QSize around = size() - view->size() + QSize(m.left + m.right, m.top + m.bottom);
        const QRect whole(QPoint(0, 0), available.size() - around);
        return {whole, whole};
    }
    // Otherwise the view, and the part of it on the screen.
    const QRect seen = view->rect() & QRect(view->mapFromGlobal(available.topLeft()), available.size());
    return {view->rect(), seen.isEmpty() ? view->rect() : seen};
}

void Form1::setPictureWindow(int state, const QRect& normal) {
    const Qt::WindowStates now = pictureSub_->windowState() & NotNormal;
    const Qt::WindowStates wanted = state == 1   ? Qt::WindowNoState
                                    : state == 2 ? Qt::WindowMaximized
                                    : state == 3 ? Qt::WindowMinimized
                                                 : now;
    QRect place = normal.isEmpty() ? pictureNormalGeometry() : normal;
    // A size too small for the picture (a minimised window's, stored by an
    // earlier version) grows to the least the layout gives.
    place.setSize(place.size().expandedTo(QSize(MinPictureWidth, MinPictureHeight)));
    if (wanted == now && place == pictureNormalGeometry()) return;
    // The sub-window gives back on a restore the geometry it had when it was
    // maximised or minimised: it is placed as a normal window first.
    if (now) pictureSub_->showNormal();
    pictureSub_->setGeometry(place);
    if (wanted & Qt::WindowMinimized) pictureSub_->showMinimized();
    else if (wanted & Qt::WindowMaximized) pictureSub_->showMaximized();
}

void Form1::wordsToMain() {
    const WordTable& w = shell_.words;
    for (const MenuEntry& e : MenuTree) {
        if (!e.name || e.word == 0) continue;
        auto m = menus_.find(e.name);
        if (m != menus_.end()) m->second->setTitle(ActionText(w.WordLine(e.word)));
    }
    for (const CommandInfo& info : CommandTable) {
        const auto i = static_cast<std::size_t>(info.command);
        if (menu_[i] && info.menuWord) menu_[i]->setText(ActionText(w.WordLine(info.menuWord)));
        if (tool_[i]) {
            const std::string hint = info.hintWord ? w.WordLine(info.hintWord) : w.WordLine(info.menuWord);
            tool_[i]->setText(ActionText(hint));
            tool_[i]->setToolTip(Q(hint));
        }
    }
    for (const ToolItem& item : ToolBarItems) {
        if (item.kind != ToolItemKind::Combo || !item.hintWord) continue;
        QComboBox* c = std::string(item.name) == "ComboObj" ? comboObj_ : comboMas_;
        c->setToolTip(Q(w.WordLine(item.hintWord)));
    }
    pic_->WordsToShowIm();
    pic_->setImageCaption(w.WordLine(WordNo::ImageCaption) + " " +
                            w.WordLine(proj_->Im.PicMode == 1 ? WordNo::VectorPicture : WordNo::RasterPicture));
    if (trans_) trans_->wordsToTrans();
}

void Form1::applyToolbarGroups(const std::array<bool, ToolGroupCount>& show) {
    for (const ToolItem& item : ToolBarItems) {
        const bool visible = ToolItemVisible(item, show);
        if (item.kind == ToolItemKind::Button) {
            if (QAction* a = toolAction(item.command)) a->setVisible(visible);
        } else if (item.kind == ToolItemKind::Separator) {
            separators_[item.name]->setVisible(visible);
        }
    }
}

void Form1::showRecentFiles(const std::array<RecentMenuItem, 5>& items) {
    for (int n = 1; n <= 5; ++n) {
        QAction* a = menuAction(RecentFileCommand(n));
        const RecentMenuItem& item = items[static_cast<std::size_t>(n - 1)];
        a->setText(ActionText(item.caption));
        a->setEnabled(item.enabled);
        a->setToolTip(Q(item.hint));
        a->setStatusTip(Q(item.hint));
    }
}

bool Form1::commandEnabled(MainCommand c) const {
    if (QAction* a = menuAction(c)) return a->isEnabled();
    if (QAction* a = toolAction(c)) return a->isEnabled();
    return false;
}

void Form1::setCommandEnabled(MainCommand c, bool on) {
    if (QAction* a = menuAction(c)) a->setEnabled(on);
    if (QAction* a = toolAction(c)) a->setEnabled(on);
}

void Form1::setCaption(const std::string& caption) {
    setWindowTitle(Q(caption));
}

// ---------------------------------------------------------------------------
// Life of the window

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == toolBarMore_ && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        showToolBarRest();
        return true;
    }
    // The picture window leaves the normal state: its normal geometry is kept
    // for the files written meanwhile.  The sub-window tells its own state
    // changes as overrides, some after it took the maximised geometry (and
    // the MDI area drops the maximised state for a moment to resize it):
    // only a change asked for counts.
    if (watched == pictureSub_ && event->type() == QEvent::WindowStateChange) {
        const auto* change = static_cast<QWindowStateChangeEvent*>(event);
        if (!change->isOverride() && !(change->oldState() & NotNormal)) pictureNormal_ = pictureSub_->geometry();
    }
    if (pic_ && watched == pictureScroll()->viewport() && event->type() == QEvent::Resize) present();
    // Placed before the window system framed it, the transformations window
    // is kept wholly on the screen once its frame is known.
    if (trans_ && watched == &trans_->window() && transBeforeFrame_ &&
        (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
        QWidget& t = trans_->window();
        if (!MarginsOf(t.frameGeometry(), t.geometry()).none()) {
            transBeforeFrame_ = false;
            if (const QScreen* s = t.screen()) {
                const QRect frame = t.frameGeometry();
                const QPoint at = KeepInside(frame.topLeft(), frame.size(), s->availableGeometry());
                if (at != frame.topLeft()) t.move(at);
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void Form1::present() {
    if (!files_ || !files_->hasDocument() || draw_.Running) return;
    PresentBackBuffer(*draw_.DrawProj, draw_, *pic_);
}

void Form1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    trans_->show();
    // The windows are laid out at the first show too, for a window that is
    // not resized after it (the first resize lays them out again).
    if (shell_.FirstResize) defaultWindowLayout();
    MainWindowShown(shell_, hooks());
    toolBar_->setIconSize(QSize(ToolButtonSize, ToolButtonSize));
}

void Form1::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (isVisible()) MainWindowResized(shell_, hooks());
    layOutAgainWhenFramed();
}

void Form1::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    layOutAgainWhenFramed();
}

void Form1::layOutAgainWhenFramed() {
    if (layoutBeforeFrame_ && !MarginsOf(frameGeometry(), geometry()).none()) defaultWindowLayout();
}

void Form1::closeEvent(QCloseEvent* event) {
    if (closed_) {  // closed already (a second Exit or a signal after the close)
        event->accept();
        return;
    }
    // A close asked for while the save question is up (a signal) waits for its answer.
    if (asking_) {
        event->ignore();
        return;
    }
    asking_ = true;
    const bool mayClose = MainWindowMayClose(hooks());
    asking_ = false;
    if (!mayClose) {
        event->ignore();
        return;
    }
    closed_ = true;
    draw_.Running = false;
    closeOwnWindows();
    MainWindowClosing(shell_, hooks());
    std::error_code ec;
    std::filesystem::remove(app_.editing().UndoFolder, ec);  // only when nothing else is left in it
    event->accept();
    // The program ends with its main window, whatever other windows are up.
    QCoreApplication::quit();
}

void Form1::closeOwnWindows() {
    // The object dialogs have no parent window; every window of the program
    // is one of its own.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w == this || !w->isVisible()) continue;
        w->close();
        // The transformations window refuses to be closed by the user.
        if (w->isVisible()) w->hide();
    }
}

void Form1::setNoProjectState(bool startUp) {
    SetNoProjectState(startUp, *this);
    if (files_) files_->setHasDocument(false);
    SetChanged(app_.editing(), false);
    app_.editing().Untitled = true;
}

std::array<bool, KindCount>& Form1::dialogOpen() { return app_.editing().DialogOpen; }

void Form1::closeObjectDialog(KindDialog d) { app_.editing().DialogWindows->Close(KindOfDialog(d)); }

void Form1::deleteUndoFiles() { DeleteUndoFiles(app_.editing()); }

void Form1::setApplyEnabled(bool on) { app_.editing().ApplyEnabled = on ? 1 : 0; }

void Form1::keepWorkingCopy(Kind k) {
    VisitKind(k, [&](auto kc) {
        constexpr Kind K = decltype(kc)::value;
        KindT<K>::work(kept_) = KindT<K>::work(app_.editing().Copies);
    });
}

void Form1::restoreWorkingCopy(Kind k) {
    VisitKind(k, [&](auto kc) {
        constexpr Kind K = decltype(kc)::value;
        KindT<K>::work(app_.editing().Copies) = KindT<K>::work(kept_);
    });
}

void Form1::createObjectDialog(Kind k) { app_.editing().Dialogs.Create(k); }

void Form1::fillObjectDialog(Kind k) { app_.editing().Dialogs.Refill(k); }

void Form1::leaveDocument() {
    // No selection is left, and Export and Print stay off without a document.
    app_.editing().Sel = {};
    app_.editing().SelCount = 0;
    draw_.DrawBitmap = QImage(1, 1, QImage::Format_RGB32);
    draw_.DrawBitmap.fill(Qt::white);
    draw_.MetaImage = QImage();
    pic_->showPicture(QImage(), 1, 1, 0, 0);
    pic_->SetDrawWindowMode(0);
    comboObj_->clear();
    comboObj_->setEnabled(false);
    comboMas_->setCurrentIndex(-1);
    comboMas_->setEnabled(false);
    shell_.DocName.clear();
    trans_->enable(false);
}

void Form1::documentOpened() {
    comboObj_->setEnabled(true);
    comboMas_->setEnabled(true);
    tool_[static_cast<std::size_t>(MainCommand::Play)]->setEnabled(true);
    const DProj& d = *proj_;
    // A new document (or one that never stored it) takes the layout's
    // dialog place rather than the screen's corner over the tool bar.
    if (proj_->DlgLeft == 0 && proj_->DlgTop == 0 && !app_.editing().UndoLoading) {
        proj_->DlgLeft = dialogPlace_.x();
        proj_->DlgTop = dialogPlace_.y();
    }
    pic_->SetDrawWindowMode(1);
    if (proj_->Im.BackOn) LoadOpenedBackground(*this);
    trans_->documentOpened();
    pic_->setImageCaption(shell_.words.WordLine(WordNo::ImageCaption) + " " + shell_.words.WordLine(d.Im.PicMode == 1 ? WordNo::VectorPicture : WordNo::RasterPicture));
}

FrameMargins Form1::margins(const QWidget* w) const {
    const FrameMargins own = MarginsOf(w->frameGeometry(), w->geometry());
    return w == this ? own : EstimatedMargins(own, MarginsOf(frameGeometry(), geometry()));
}

MainGeometry Form1::layoutGeometry() {
    MainGeometry g;
    const QRect frame = frameGeometry();
    g.left = frame.left();
    g.top = frame.top();
    g.width = frame.width();
    g.height = frame.height();
    g.clientWidth = width();
    // The status bars are the picture window's own; the main window has none.
    g.clientHeight = height();
    // The tool bar's lower edge in the client area (the menu above it).
    g.toolBarHeight = toolBar_->mapTo(this, QPoint(0, toolBar_->height())).y();
    g.client = mapToGlobal(QPoint(0, 0));
    if (const QScreen* s = screen()) g.available = s->availableGeometry();
    // A window the window system has not framed yet is taken with a frame
    // like the main window's.
    g.transFrame = margins(&trans_->window()).grow(trans_->window().size());
    // Room for the widest dialog of any kind, framed like an open dialog (or,
    // with none open, like the main window), so that the picture window need
    // not move for whichever dialog opens.
    if (dialogWidths_.empty())
        for (int n = 1; n <= KindCount; ++n)
            dialogWidths_.push_back(dialogs_->registry().measure(static_cast<Kind>(n)).width());
    FrameMargins dialogFrame = MarginsOf(frame, geometry());
    for (int n = 1; n <= KindCount; ++n)
        if (const ObjectDialog* d = dialogs_->registry().dialog(static_cast<Kind>(n))) dialogFrame = margins(d);
    g.dialogFrameWidth = DialogRoom(dialogWidths_, dialogFrame);
    return g;
}

void Form1::placePicture(const WindowLayout& l) {
    // The MDI area starts below the menu and the tool bar; the layout keeps
    // the picture window's minimum size on a small main window.
    // Where the MDI area is smaller than the main window's client (menu and
    // status bars), the picture window keeps inside it, down to its minimum.
    const int w = std::max(std::min(l.pictureWidth, mdi_->width() - l.pictureLeft - 10), MinPictureWidth);
    const int h = std::max(std::min(l.pictureHeight, mdi_->height() - 5), MinPictureHeight);
    // A maximised or minimised picture window stays so: the layout's place
    // is where it is restored to.
    setPictureWindow(0, QRect(l.pictureLeft, l.pictureTop, w, h));
    pictureLaid_ = pictureNormalGeometry();
}

void Form1::defaultWindowLayout() {
    // The menu and the tool bar where they are shown, also at the first show.
    if (layout()) layout()->activate();
    const MainGeometry g = layoutGeometry();
    const WindowLayout l = DefaultWindowLayout(g);
    trans_->place(l.transLeft, l.transTop);
    transBeforeFrame_ = MarginsOf(trans_->window().frameGeometry(), trans_->window().geometry()).none();
    // Laid out before the window system framed the main window: once it has,
    // the windows are placed again with the frames known.
    layoutBeforeFrame_ = MarginsOf(frameGeometry(), geometry()).none();
    if (!pictureOpened_) placePicture(l);
    // The open object dialogs move to the shared place below the tool bar,
    // where the dialogs opened later appear too.
    for (int n = 1; n <= KindCount; ++n)
        if (ObjectDialog* d = dialogs_->registry().dialog(static_cast<Kind>(n))) d->move(l.dialogLeft, l.dialogTop);
    dialogPlace_ = QPoint(l.dialogLeft, l.dialogTop);
    proj_->DlgLeft = l.dialogLeft;
    proj_->DlgTop = l.dialogTop;
}

void Form1::dialogOpening() {
    // A dialog opening at the layout's place takes it below the tool bar as
    // the main window stands now: the window system may have moved or framed
    // the main window since the layout.
    const QPoint place(proj_->DlgLeft, proj_->DlgTop);
    if (place == dialogPlace_) {
        const WindowLayout l = DefaultWindowLayout(layoutGeometry());
        dialogPlace_ = QPoint(l.dialogLeft, l.dialogTop);
        proj_->DlgLeft = l.dialogLeft;
        proj_->DlgTop = l.dialogTop;
        for (int n = 1; n <= KindCount; ++n)
            if (ObjectDialog* d = dialogs_->registry().dialog(static_cast<Kind>(n)); d && d->pos() == place)
                d->move(dialogPlace_);
    }
    // The picture window stays: the layout kept room for a dialog of any kind
    // (the dialog may open at a press on the picture, and a picture moving
    // under the held button would put the drawing off the pointer).
}

void Form1::dialogWordsChanged() {
    // Only a picture window where the layout put it moves: what the user
    // placed stays.
    dialogWidths_.clear();
    if (pictureSub_->geometry() == pictureLaid_ && !pictureSub_->isMaximized())
        placePicture(DefaultWindowLayout(layoutGeometry()));
}

// ---------------------------------------------------------------------------
// Commands

void Form1::redraw(bool full) {
    // A redraw asked for here is the one the document owes, given now; the
    // build run starts on the picture of every change.
    if (!full) app_.edited().requestRedraw();
    app_.edited().ensureDrawn();
    if (full) drawPicture(true);
}

void Form1::drawPicture(bool full) {
    if (app_.editing().Proj == proj_) pic_->redraw(full);
}

void Form1::chooseObject(int index) {
    if (index < 0) return;
    SetCurObjIndex(app_.editing(), index);
    SelectCurrentObject(app_.editing(), app_.editing().Dialogs, true);
    UpdateSelectionUI(app_.editing());
    trans_->currentChanged();
}

void Form1::chooseZoom(int item) {
    proj_->Zoom = ZoomOfItem(item, proj_->Zoom);
    if (comboMas_->currentIndex() != item && item >= 0) comboMas_->setCurrentIndex(item);
    draw_.DrawProj->Zoom = proj_->Zoom;
    pic_->FitScrollBox();
    PresentBackBuffer(*draw_.DrawProj, draw_, *pic_);
}

void Form1::newObject(Kind k, bool fromToolBar) {
    // The tool buttons ask for links to existing objects first.
    NewLinks links{};
    LinkResult answer = LinkResult::Independent;
    if (fromToolBar) answer = setup_.services.askLinks(k, links);
    ApplyNewObjectLinks(app_.editing(), k, answer, links);
}

void Form1::undoRedo(bool undo) {
    if (undo) app_.edited().undo();
    else app_.edited().redo();
}

void Form1::printPicture() {
    app_.edited().ensureDrawn();
    PrintJob job;
    job.doc = proj_;
    job.title = shell_.DocName;
    // Printed to a file: a PDF named after the document, beside it.
    job.pdfFile = ProposedFile(documentFolder(), shell_.DocName, ".pdf");
    if (proj_->Im.PicMode == 1 && !draw_.MetaImage.isNull()) {
        // A vector picture prints as vectors over its fills.
        const int width = proj_->Im.Width, height = proj_->Im.Height;
        job.pictureWidth = width;
        job.pictureHeight = height;
        QImage back = draw_.DrawBitmap;
        const bool smooth = proj_->Im.Smooth;
        job.paint = [this, back, width, height, smooth](QPainter& p, const QRect& r) {
            if (!back.isNull() && back.size() == QSize(width, height)) p.drawImage(r, back);
            else p.fillRect(r, Qt::white);
            p.save();
            p.translate(r.topLeft());
            p.scale(static_cast<double>(r.width()) / width, static_cast<double>(r.height()) / height);
            p.setClipRect(QRect(0, 0, width, height));
            {
                QtCanvas canvas(p, smooth);
                hosts_->paintMetaPicture(canvas);
            }
            p.restore();
        };
    } else {
        job.pictureWidth = draw_.DrawBitmap.width();
        job.pictureHeight = draw_.DrawBitmap.height();
        job.paint = PaintImage(draw_.DrawBitmap);
    }
    PrintPicture(job, *setup_.services.printer);
    toolBar_->setIconSize(QSize(ToolButtonSize, ToolButtonSize));
}

void Form1::exportPicture() {
    app_.edited().ensureDrawn();
    const std::string folder = export_.LastDir.empty() ? documentFolder() : StartFolder(shell_, export_.LastDir);
    ExportPicture(*proj_, draw_, export_, ExportHost(app_.texts(), hosts_->pngProgress(), *setup_.services.exporter),
                  shell_.ProgDir, shell_.DocName, folder);
}

std::string Form1::documentFolder() const {
    return app_.editing().Untitled ? StartFolder(shell_, std::string()) : StartFolder(shell_, shell_.settings.DocDir);
}

void Form1::openHelp() {
    // The page lies in the program folder or among the shipped files; the
    // program's own help window shows it, whatever the desktop offers.
    const std::string code = shell_.words.LanguageCode();
    std::string file = HelpPage(shell_.ProgDir, shell_.shippedDirs, code);
    const std::string cannotOpen = shell_.words.WordLine(WordNo::CannotOpenFile);
    // A page of the user's own that cannot be read is said with the reason,
    // and the shipped page is shown in its place.
    if (!file.empty() && !shell_.shippedDirs.empty() && file.rfind(shell_.ProgDir, 0) == 0) {
        const SideFileBytes read = ReadSideFile(file, MaxHelpFileBytes, SideFileCap::Refuse);
        if (read.state != SideFileBytes::State::Read) {
            const WordTable& w = shell_.words;
            std::string said = read.error == EFBIG
                                   ? cannotOpen + "\n\r" + file + ": " +
                                         std::string(w.Said("страница больше 16 МБ", "the page is larger than 16 MB"))
                                   : OpenFailedText(cannotOpen, file + ": " + SideFileReason(read), &w);
            file = HelpPage(shell_.shippedDirs.front(), shell_.shippedDirs, code);
            if (!file.empty()) said += "\n\r" + std::string(w.Said("Показана поставляемая справка.", "The shipped help is shown."));
            setup_.services.questions->showMessage(said);
        }
    }
    if (file.empty()) {
        setup_.services.questions->showMessage(cannotOpen + "\n" + shell_.ProgDir + "Pelmar.html");
        return;
    }
    const HelpLinks links{setup_.services.openUrl, [this, cannotOpen](const std::string& url) {
                              setup_.services.questions->showMessage(cannotOpen + "\n" + url);
                          }};
    OwnHelpWindow(*this, links).showPage(file, Q(MainCaption(shell_.words.WordLine(InfoOf(MainCommand::Help).menuWord))));
}

void Form1::showProjectOptions() {
    app_.edited().ensureDrawn();
    ShowProjectOptions(*this);
}

void Form1::run(MainCommand c) {
    if (!commandEnabled(c)) return;
    // A number still being typed in an object dialog belongs to the document
    // as it is now: it is done first, as a click into this window would make
    // it, so that a save writes it and an opened or undone document never
    // takes it.
    dialogs_->registry().finishTyping();
    using C = MainCommand;
    if (std::optional<Kind> k = KindOfCommand(c)) {
        if (c >= C::NewPo && c <= C::NewXZ) {
            newObject(*k, fromToolBar_);
        } else {
            BackTo(*k, *this);
        }
        return;
    }
    switch (c) {
        case C::New: files_->NewProject(); break;
        case C::Open: files_->OpenDocumentDialog(); break;
        case C::Save: files_->Save(); break;
        case C::SaveAs:
            if (files_->SaveDocumentAs()) SetChanged(app_.editing(), false);
            break;
        case C::Close: files_->Close(); break;
        case C::Export: exportPicture(); break;
        case C::Print: printPicture(); break;
        case C::File1: case C::File2: case C::File3: case C::File4: case C::File5:
            files_->OpenRecent(static_cast<int>(c) - static_cast<int>(C::File1) + 1);
            break;
        case C::Exit: close(); break;
        case C::Delete: DeleteObjects(app_.editing()); break;
        case C::Undo: undoRedo(true); break;
        case C::Redo: undoRedo(false); break;
        case C::Copy: CopyObjects(app_.editing()); break;
        case C::Paste: PasteObjects(app_.editing()); break;
        case C::OptProg: ProgramOptions(*this).exec(); break;
        case C::OptProj: showProjectOptions(); break;
        case C::WinObj: break;
        case C::WinImg:
            mdi_->setActiveSubWindow(pictureSub_);
            pictureSub_->setFocus();
            break;
        case C::WinTrans: trans_->focus(); break;
        case C::WinDef:
            pictureOpened_ = false;
            defaultWindowLayout();
            break;
        case C::Help: openHelp(); break;
        case C::About: ShowAboutBox(shell_.words, shell_.settings.LangFile, this); break;
        case C::Play: redraw(true); break;
        case C::Anim:
            app_.edited().ensureDrawn();
            trans_->runAnimation();
            break;
        default: break;
    }
}

}  // namespace pelmar
