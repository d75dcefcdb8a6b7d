// What the picture export needs of the windows: the main window's picture
// save dialog, the overwrite question of the save commands, the raster
// export dialog, the CorelDRAW and word-processor export dialogs, the
// progress window of the transparent PNG, the drawing's vector picture and a
// message box.  The main window implements it; tests use a fake.
#pragma once

#include <array>
#include <string>

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

class ExportHost {
public:
    virtual ~ExportHost() = default;

    // Line of the word table.
    virtual std::string wordLine(int line) = 0;

    // The main window's picture save dialog with its filter ("text|mask|..."),
    // proposing `fileName`.  False when cancelled; otherwise the chosen name
    // and the 1-based index of the chosen filter.
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

    // The progress window of the transparent PNG: created and shown, its
    // label set and repainted at once, closed (and freed).
    virtual void openPngProgress() = 0;
    virtual void setPngProgress(const std::string& text) = 0;
    virtual void closePngProgress() = 0;

    // Paints the vector picture of the last redraw (the metafile picture) at
    // picture size onto `canvas`.
    virtual void paintMetaPicture(Canvas& canvas) = 0;

    // A message that ends a failed export.
    virtual void showError(const std::string& text) = 0;
};

}  // namespace pelmar
