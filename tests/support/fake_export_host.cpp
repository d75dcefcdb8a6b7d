#include "support/fake_export_host.h"

#include <algorithm>
#include <filesystem>

namespace pelmar {

namespace {
constexpr int BitsOfItem[4] = {1, 4, 8, 24};
}

FakeExportHost::FakeExportHost() : words{{625, "Не могу сохранить файл!"}} {}

std::string FakeExportHost::wordLine(int line) {
    auto it = words.find(line);
    return it == words.end() ? std::string() : it->second;
}

bool FakeExportHost::runSavePictureDialog(const std::string& filter, const std::string& fileName, std::string& chosen,
                                          int& filterIndex) {
    dialogFilter = filter;
    dialogName = fileName;
    dialogFilterIndex = filterIndex;
    log.push_back("save dialog " + fileName);
    if (dialogCancels) return false;
    chosen = chosenName;
    filterIndex = chosenFilter;
    return true;
}

bool FakeExportHost::checkSaveFileName(std::string& fileName, const std::string& ext) {
    const std::string dotted = "." + ext;
    if (fileName.size() < dotted.size() || fileName.compare(fileName.size() - dotted.size(), dotted.size(), dotted) != 0)
        fileName += dotted;
    log.push_back("check " + fileName);
    if (!std::filesystem::exists(fileName)) return true;
    log.push_back("replace? " + std::string(replaceExisting ? "yes" : "no"));
    return replaceExisting;
}

BitColorsResult FakeExportHost::runBitColors(const BitColorsSetup& setup, ExportState& state) {
    setups.push_back(setup);
    log.push_back("bit colors");
    BitColorsResult r;
    r.quality = quality;
    if (bitColorsOk) {
        const int item = std::clamp(bitColorsItem >= 0 ? bitColorsItem : setup.selected, 0, 3);
        state.ExportBitsPerPixel = BitsOfItem[item];
        state.ExportDialogOK = true;
        r.transparent = transparent;
    }
    return r;
}

void FakeExportHost::runCdrExport(ExportState& state) {
    log.push_back("cdr " + state.CdrFileName);
    if (shapeExport) shapeExport(state, false);
}
void FakeExportHost::runWordExport(ExportState& state) {
    log.push_back("word " + state.OfficeApp + " " + state.WordFileName);
    if (shapeExport) shapeExport(state, true);
}

void FakeExportHost::showProgress(const std::string&) {
    progressOpen = true;
    log.push_back("png progress open");
}
void FakeExportHost::setProgress(int percent) { progress.push_back(std::to_string(percent) + "%"); }
void FakeExportHost::hideProgress() {
    progressOpen = false;
    log.push_back("png progress close");
}

void FakeExportHost::paintMetaPicture(Canvas& canvas) {
    if (metaPicture) metaPicture(canvas);
}

void FakeExportHost::showMessage(const std::string& text) {
    errors.push_back(text);
    log.push_back("error");
}

}  // namespace pelmar
