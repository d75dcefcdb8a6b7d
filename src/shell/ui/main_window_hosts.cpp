#include "shell/ui/main_window_hosts.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QMenu>
#include <algorithm>

#include "editing/selection.h"
#include "editing/ui/picture_window.h"
#include "files/picture_export.h"
#include "files/ui/bit_colors_dialog.h"
#include "files/ui/png_progress_window.h"
#include "shell/ui/main_window.h"
#include "shell/ui/tool_icons.h"
#include "shell/user_folders.h"

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

MainHosts::MainHosts(Form1& w) : w_(w), png_(&w) {}

// ---------------------------------------------------------------------------
// The redraw's command role

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
    MainCommandStates& states = w_;
    if (lock) lock_.lock(states);
    else lock_.unlock(states);
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

// ---------------------------------------------------------------------------
// Picture export

bool MainHosts::runSavePictureDialog(const std::string& filter, const std::string& fileName, std::string& chosen,
                                     int& filterIndex) {
    const QStringList filters = QtFilters(filter);
    QString selected = filters.value(std::max(filterIndex - 1, 0));
    KeepQtSettingsReadable();
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
    else
        w_.ShowMessage(std::string(w_.shell_.words.Said("Вывод в графическую программу в этой версии недоступен.",
                                                        "The export to a drawing program is not available in this version.")));
}

void MainHosts::runWordExport(ExportState& state) {
    if (w_.setup_.services.officeExport) w_.setup_.services.officeExport(w_, state, true);
    else
        w_.ShowMessage(std::string(w_.shell_.words.Said("Вывод в текстовый редактор в этой версии недоступен.",
                                                        "The export to a word processor is not available in this version.")));
}

void MainHosts::paintMetaPicture(Canvas& canvas) { PaintMetaPicture(w_.draw_, w_.pic_->redrawHost(), canvas); }

}  // namespace pelmar
