#include "office/ui/export_dialogs.h"

#include "office/ui/cdr_export_dialog.h"
#include "office/ui/word_export_dialog.h"

namespace pelmar {

void RunCdrExportDialog(OfficeExportContext& ctx, ExportState& state, QWidget* parent) {
    CdrExportDialog dialog(ctx, state, parent);
    dialog.exec();
}

void RunWordExportDialog(OfficeExportContext& ctx, ExportState& state, QWidget* parent) {
    WordExportDialog dialog(ctx, state, parent);
    dialog.exec();
}

}  // namespace pelmar
