// A stand-in for the windows around the picture export, for tests: it plays
// every role of the export's windows, answers the dialogs as told and writes
// every call as one text line.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "files/export_host.h"

namespace pelmar {

class FakeExportHost : public TextRole, public ProgressRole, public ExportWindows {
public:
    FakeExportHost();

    // Answers.
    std::map<int, std::string> words;
    bool dialogCancels = false;
    std::string chosenName;  // what the save dialog returns
    int chosenFilter = 1;
    bool replaceExisting = true;     // the answer to the overwrite question
    bool bitColorsOk = true;         // "Ok" or "Отмена"
    int bitColorsItem = -1;          // the item the user picks; -1 keeps the set-up's
    bool transparent = false;        // the state of "Прозрачный цвет фона" on Ok
    int quality = 100;
    std::function<void(Canvas&)> metaPicture;  // paints the metafile picture
    // Runs the shape exports' option dialogs (word: the text export); without
    // it they are only logged.
    std::function<void(ExportState&, bool word)> shapeExport;

    // What the export did.
    std::string dialogFilter;
    std::string dialogName;
    int dialogFilterIndex = 0;  // the type the dialog proposed
    std::vector<BitColorsSetup> setups;
    std::vector<std::string> progress;  // the labels of the PNG progress window
    std::vector<std::string> errors;
    std::vector<std::string> log;
    bool progressOpen = false;

    // Texts: errors are the messages that end a failed export.
    std::string wordLine(int line) override;
    char decimalSeparator() override { return ','; }
    void showMessage(const std::string& text) override;
    // The PNG progress window.
    void processEvents() override {}
    void showProgress(const std::string& text) override;
    void setProgress(int percent) override;
    void hideProgress() override;
    // The export's windows.
    bool runSavePictureDialog(const std::string& filter, const std::string& fileName, std::string& chosen,
                              int& filterIndex) override;
    bool checkSaveFileName(std::string& fileName, const std::string& ext) override;
    BitColorsResult runBitColors(const BitColorsSetup& setup, ExportState& state) override;
    void runCdrExport(ExportState& state) override;
    void runWordExport(ExportState& state) override;
    void paintMetaPicture(Canvas& canvas) override;
};

}  // namespace pelmar
