#include "office/export_dialogs.h"

#include "office/cdr_export_dialog.h"
#include "office/word_export_dialog.h"

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
