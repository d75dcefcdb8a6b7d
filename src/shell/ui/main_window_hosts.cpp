#include "shell/ui/main_window_hosts.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLocale>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolBar>
#include <algorithm>

#include "drawing/redraw_host.h"
#include "editing/kind_access.h"
#include "editing/selection.h"
#include "editing/undo_store.h"
#include "editing/ui/picture_window.h"
#include "files/ui/bit_colors_dialog.h"
#include "files/picture_export.h"
#include "files/ui/png_progress_window.h"
#include "shell/ui/main_window.h"
#include "shell/ui/main_window_transform.h"
#include "shell/ui/tool_icons.h"

namespace pelmar {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// Splits "Text|*.a|Text|*.b" into Qt's filter list.
QStringList QtFilters(const std::string& filter) {
    const QStringList parts = Q(filter).split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) out << parts[i];
    return out;
}

}  // namespace

std::optional<MainCommand> MainCommandOf(EditingCommand c, Kind k) {
    using M = MainCommand;
    switch (c) {
        case EditingCommand::Save: return M::Save;
        case EditingCommand::SaveAs: return M::SaveAs;
        case EditingCommand::Close: return M::Close;
        case EditingCommand::Export: return M::Export;
        case EditingCommand::Print: return M::Print;
        case EditingCommand::Copy: return M::Copy;
        case EditingCommand::Paste: return M::Paste;
        case EditingCommand::OptProj: return M::OptProj;
        case EditingCommand::WinObj: return M::WinObj;
        case EditingCommand::Anim: return M::Anim;
        case EditingCommand::Undo: return M::Undo;
        case EditingCommand::Redo: return M::Redo;
        case EditingCommand::Delete: return M::Delete;
        case EditingCommand::NewObject: return NewObjectCommand(k);
        case EditingCommand::BackTo: return BackToCommand(k);
        default: return std::nullopt;
    }
}

// ---------------------------------------------------------------------------

void PngProgress::processEvents() { QApplication::processEvents(); }

void PngProgress::showProgress(const std::string& text) {
    auto* form = new TFormPng(parent_);
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->show();
    window_ = form;
    setProgress(0);
    if (!text.empty()) form->setProgress(text);
}

void PngProgress::setProgress(int position) {
    if (auto* form = static_cast<TFormPng*>(window_)) {
        form->setProgress(std::to_string(position) + "%");
        QApplication::processEvents();
    }
}

void PngProgress::hideProgress() {
    if (window_) window_->close();
    window_ = nullptr;
}

// ---------------------------------------------------------------------------
// Editing core

MainHosts::MainHosts(Form1& w) : w_(w), png_(&w) {}

namespace {
bool PictureCommand(EditingCommand c) { return c >= EditingCommand::DrawLine && c <= EditingCommand::CopyPicture; }
}  // namespace

void MainHosts::SetEnabled(EditingCommand c, bool on) {
    if (w_.trans_ && w_.trans_->setEnabled(c, on)) return;
    if (PictureCommand(c)) w_.pic_->setCommandEnabled(c, on);
    else if (std::optional<MainCommand> m = MainCommandOf(c, Kind::po)) setEnabled(*m, on);
}

void MainHosts::SetKindEnabled(EditingCommand c, Kind k, bool on) {
    if (std::optional<MainCommand> m = MainCommandOf(c, k)) setEnabled(*m, on);
}

bool MainHosts::IsDown(EditingCommand c) const {
    if (w_.trans_)
        if (std::optional<bool> down = w_.trans_->isDown(c)) return *down;
    if (PictureCommand(c)) return w_.pic_->isDown(c);
    auto i = down_.find(c);
    return i != down_.end() && i->second;
}

void MainHosts::SetDown(EditingCommand c, bool down) {
    if (w_.trans_ && w_.trans_->setDown(c, down)) return;
    if (PictureCommand(c)) w_.pic_->setDown(c, down);
    else down_[c] = down;
}

void MainHosts::RefreshDrawTools() { w_.pic_->EnableDrawTools(w_.pic_->isDown(EditingCommand::DrawTools)); }

void MainHosts::SetObjectItems(const std::vector<std::string>& items) {
    QComboBox* combo = w_.comboObj_;
    combo->clear();
    for (const std::string& s : items) combo->addItem(Q(s));
}

void MainHosts::SetObjectIndex(int index) {
    w_.comboObj_->setCurrentIndex(index);
    if (w_.trans_) w_.trans_->currentChanged();
}

void MainHosts::EnableTransForm(bool on) {
    if (w_.trans_) w_.trans_->enable(on);
}

void MainHosts::ResetView(const ViewReset& v) {
    if (v.zoomItem >= 0) w_.comboMas_->setCurrentIndex(v.zoomItem);
    w_.pic_->showPicture(QImage(), v.boxWidth, v.boxHeight, 0, 0);
    w_.pic_->FitScrollBox();
    w_.pictureScroll()->horizontalScrollBar()->setValue(v.scrollHorz);
    w_.pictureScroll()->verticalScrollBar()->setValue(v.scrollVert);
}

void MainHosts::ShowMessage(const std::string& text) { w_.setup_.services.questions->showMessage(text); }

// ---------------------------------------------------------------------------
// Shell rules

void MainHosts::setEnabled(MainCommand c, bool on) {
    if (QAction* a = w_.menuAction(c)) a->setEnabled(on);
    if (QAction* a = w_.toolAction(c)) a->setEnabled(on);
}

bool MainHosts::enabled(MainCommand c) const { return w_.commandEnabled(c); }

// ---------------------------------------------------------------------------
// Redraw

std::string MainHosts::wordLine(int line) { return w_.shell_.words.WordLine(line); }

char MainHosts::decimalSeparator() { return w_.shell_.DecimalSep; }

void MainHosts::processEvents() { QApplication::processEvents(); }

void MainHosts::setPlayImage(PlayImage image) {
    if (QAction* a = w_.toolAction(MainCommand::Play))
        a->setIcon(ToolIcon(image == PlayImage::Running ? "TBStop" : "TBPlay"));
}

void MainHosts::setPlayHint(const std::string& hint) {
    if (QAction* a = w_.toolAction(MainCommand::Play)) a->setToolTip(Q(hint));
}

void MainHosts::setPlayEnabled(bool on) {
    if (QAction* a = w_.toolAction(MainCommand::Play)) a->setEnabled(on);
}

// A full redraw locks the commands that would change the document, the
// menus and the combos; Play stays, to stop it.
void MainHosts::lockCommands(bool lock) {
    if (lock) lock_.lock(*this);
    else lock_.unlock(*this);
    for (const char* name : {"MeFile", "MeObjects", "MeEdit", "MeOptX"}) {
        auto m = w_.menus_.find(name);
        if (m != w_.menus_.end()) m->second->setEnabled(!lock);
    }
    const bool combos = !lock && w_.files_ && w_.files_->hasDocument();
    w_.comboObj_->setEnabled(combos);
    w_.comboMas_->setEnabled(combos);
}

void MainHosts::selectNone() { SelectNone(w_.app_.editing()); }

void MainHosts::updateSelectionUI() { UpdateSelectionUI(w_.app_.editing()); }

std::string MainHosts::imageCaption() { return w_.pic_->imageCaption(); }

// The MDI frame takes its title from the picture window.
void MainHosts::setImageCaption(const std::string& caption) { w_.pic_->setImageCaption(caption); }

void MainHosts::setStatusPanel(int panel, const std::string& text) { w_.pic_->setStatusPanel(panel, text); }

void MainHosts::showProgress(const std::string& text) { w_.pic_->showProgress(text); }

void MainHosts::setProgress(int position) { w_.pic_->setProgress(position); }

void MainHosts::hideProgress() { w_.pic_->hideProgress(); }

ViewPort MainHosts::imageView() { return w_.pic_->imageView(); }

void MainHosts::showPicture(const QImage& view, int boxWidth, int boxHeight, int left, int top) {
    w_.pic_->showPicture(view, boxWidth, boxHeight, left, top);
}

// ---------------------------------------------------------------------------
// Picture export

bool MainHosts::runSavePictureDialog(const std::string& filter, const std::string& fileName, std::string& chosen,
                                     int& filterIndex) {
    const QStringList filters = QtFilters(filter);
    QString selected = filters.value(std::max(filterIndex - 1, 0));
    const QString name = QFileDialog::getSaveFileName(&w_, QString(), Q(fileName), filters.join(QStringLiteral(";;")),
                                                      &selected, QFileDialog::DontConfirmOverwrite);
    if (name.isEmpty()) return false;
    chosen = name.toStdString();
    filterIndex = static_cast<int>(filters.indexOf(selected)) + 1;
    if (filterIndex < 1) filterIndex = 1;
    return true;
}

bool MainHosts::checkSaveFileName(std::string& fileName, const std::string& ext) {
    return w_.files_->CheckSaveFileName(fileName, ext);
}

BitColorsResult MainHosts::runBitColors(const BitColorsSetup& setup, ExportState& state) {
    TFormBitColors dialog(&w_);
    dialog.onWords = [this](TFormBitColors& d) { WordsToBitColors(d, w_.shell_.words); };
    return dialog.run(setup, state);
}

void MainHosts::runCdrExport(ExportState& state) {
    if (w_.setup_.services.officeExport) w_.setup_.services.officeExport(w_, state, false);
    else ShowMessage("The export to a drawing program is not available in this version.");
}

void MainHosts::runWordExport(ExportState& state) {
    if (w_.setup_.services.officeExport) w_.setup_.services.officeExport(w_, state, true);
    else ShowMessage("The export to a word processor is not available in this version.");
}

void MainHosts::paintMetaPicture(Canvas& canvas) { PaintMetaPicture(w_.draw_, RedrawHost(*this), canvas); }

}  // namespace pelmar
