#include "office/ui/export_dialogs.h"

#include <memory>

#include "office/ui/cdr_export_dialog.h"
#include "office/ui/desktop.h"
#include "office/ui/word_export_dialog.h"
#include "shell/ui/main_window.h"

namespace pelmar {

void RunCdrExportDialog(OfficeExportContext& ctx, ExportState& state, QWidget* parent) {
    CdrExportDialog dialog(ctx, state, parent);
    dialog.exec();
}

void RunWordExportDialog(OfficeExportContext& ctx, ExportState& state, QWidget* parent) {
    WordExportDialog dialog(ctx, state, parent);
    dialog.exec();
}

std::function<void(Form1& window, ExportState& state, bool word)> OfficeExportService(DesktopOpener* desktop,
                                                                                     OfficeMessages* messages) {
    auto told = std::make_shared<std::set<std::string>>();
    return [desktop, messages, told](Form1& w, ExportState& state, bool word) {
        QtDesktopOpener realDesktop;
        QtOfficeMessages realMessages(&w);
        OfficeExportContext ctx;
        ctx.proj = &w.document();
        ctx.st = &w.drawing();
        ctx.wordLine = [&w](int line) { return w.shell().words.WordLine(line); };
        ctx.progDir = w.shell().ProgDir;
        ctx.desktop = desktop ? desktop : &realDesktop;
        ctx.messages = messages ? messages : &realMessages;
        ctx.words = &w.shell().words;
        ctx.toldUnreadable = told.get();
        if (word) RunWordExportDialog(ctx, state, &w);
        else RunCdrExportDialog(ctx, state, &w);
    };
}

}  // namespace pelmar
