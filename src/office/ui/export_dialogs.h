// The shape exports' option dialogs as the picture export command opens
// them: what they need of the program, and the two entry points.
#pragma once

#include <functional>
#include <set>
#include <string>

#include "files/export_host.h"
#include "model/records.h"

class QWidget;

namespace pelmar {

class DesktopOpener;
class Form1;
class OfficeMessages;
class WordTable;
struct DrawingState;

struct OfficeExportContext {
    const DProj* proj = nullptr;   // the edited document
    DrawingState* st = nullptr;    // its drawing snapshot, `Running` and the painters
    std::function<std::string(int)> wordLine;
    std::string progDir;           // the program folder, ending in "/"
    DesktopOpener* desktop = nullptr;
    OfficeMessages* messages = nullptr;
    const WordTable* words = nullptr;  // the interface's language (Russian without it)
    // The option files already said to be unreadable in this session, each
    // with its reason: a file is told once, not at every opening.
    std::set<std::string>* toldUnreadable = nullptr;
};

// Creates the option dialog for the target in `state` (CdrFileName,
// WordFileName), shows it modally and frees it when it closes.
void RunCdrExportDialog(OfficeExportContext& ctx, ExportState& state, QWidget* parent = nullptr);
void RunWordExportDialog(OfficeExportContext& ctx, ExportState& state, QWidget* parent = nullptr);

// The main window's shape-export service: the option dialog on the window's
// document, drawing state, word table and program folder.  Without a desktop
// or messages the real ones are used.
std::function<void(Form1& window, ExportState& state, bool word)> OfficeExportService(
    DesktopOpener* desktop = nullptr, OfficeMessages* messages = nullptr);

}  // namespace pelmar
