// What the picture export needs of the windows: the texts and the message
// box that ends a failed export, the progress window of the transparent PNG,
// and the export's own windows (the main window's picture save dialog, the
// overwrite question of the save commands, the raster export dialog, the
// CorelDRAW and word-processor export dialogs) with the drawing's vector
// picture.  The main window plays these roles; tests use a fake.
#pragma once

#include <array>
#include <concepts>
#include <string>

#include "drawing/host_roles.h"

namespace pelmar {

class Canvas;

// The export's settings that outlive one export (program globals): written
// by the raster export dialog and read by the export, and the targets handed
// to the CorelDRAW and word-processor exports.
struct ExportState {
    int ExportBitsPerPixel = 24;  // 1, 4, 8 or 24
    bool ExportDialogOK = false;  // set by the dialog's "Ok"
    std::string CdrFileName;
    std::string WordFileName;
    std::string OfficeApp;  // at most five characters
    // The save dialog's last choice in this run: the folder (ending in "/";
    // empty before the first export) and the 1-based type by picture mode
    // (raster, metafile).
    std::string LastDir;
    std::array<int, 2> LastFilter{1, 1};
};

// How the raster export dialog is set up before it is shown.
struct BitColorsSetup {
    std::array<bool, 4> itemEnabled{};  // "2", "16", "256", "16M"
    int selected = 2;                   // 0-based item
    std::string thirdCaption = "256";
    bool checkEnabled = false;
    bool checked = false;
    bool spinEnabled = false;
    std::string spinText;  // empty: the edit shows no number
    bool labelEnabled = false;
};

// What the dialog's controls hold when it has closed.
struct BitColorsResult {
    bool transparent = false;  // "Прозрачный цвет фона"
    int quality = 100;         // JPEG quality, 1..100
};

class ExportWindows {
public:
    virtual ~ExportWindows() = default;

    // The main window's picture save dialog with its filter ("text|mask|..."),
    // proposing `fileName` (with its folder) and the 1-based filter
    // `filterIndex`.  False when cancelled; otherwise the chosen name and the
    // 1-based index of the chosen filter.
    virtual bool runSavePictureDialog(const std::string& filter, const std::string& fileName, std::string& chosen,
                                      int& filterIndex) = 0;

    // The file-name check of the save commands: appends "." + ext unless the
    // name already ends with it (case-sensitive), then asks before an existing
    // file is replaced.  True = go on and write.
    virtual bool checkSaveFileName(std::string& fileName, const std::string& ext) = 0;

    // Shows FormBitColors modally with this set-up.  Its "Ok" writes
    // state.ExportBitsPerPixel and sets state.ExportDialogOK.
    virtual BitColorsResult runBitColors(const BitColorsSetup& setup, ExportState& state) = 0;

    // Creates the CorelDRAW or word-processor export dialog, puts its words
    // on it and shows it modally; it reads its target from the state.
    virtual void runCdrExport(ExportState& state) = 0;
    virtual void runWordExport(ExportState& state) = 0;

    // Paints the vector picture of the last redraw (the metafile picture) at
    // picture size onto `canvas`.
    virtual void paintMetaPicture(Canvas& canvas) = 0;
};

struct ExportHost {
    TextRole& texts;
    // The progress window of the transparent PNG: created and shown with an
    // empty label (showProgress), its label set to the percentage and
    // repainted at once (setProgress), closed and freed (hideProgress).
    ProgressRole& pngProgress;
    ExportWindows& windows;

    ExportHost(TextRole& t, ProgressRole& p, ExportWindows& w) : texts(t), pngProgress(p), windows(w) {}

    // A window that plays every role.
    template <class W>
        requires std::derived_from<W, TextRole> && std::derived_from<W, ProgressRole> &&
                 std::derived_from<W, ExportWindows>
    ExportHost(W& w) : ExportHost(w, w, w) {}  // NOLINT(google-explicit-constructor)
};

}  // namespace pelmar
