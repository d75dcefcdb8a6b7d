// The main window's side of the redraw's command role (the play button, the
// commands a full redraw locks) and of the picture export's dialogs.  The
// picture window plays the redraw's progress, status and picture roles
// itself; the application answers the texts.
#pragma once

#include <QWidget>

#include "drawing/host_roles.h"
#include "files/export_host.h"
#include "shell/command_lock.h"
#include "shell/command_rules.h"

namespace pelmar {

class Form1;

// The progress window of the transparent PNG export.
class PngProgress : public ProgressRole {
public:
    explicit PngProgress(QWidget* parent) : parent_(parent) {}
    void processEvents() override;
    void showProgress(const std::string& text) override;
    void setProgress(int position) override;
    void hideProgress() override;

private:
    QWidget* parent_;
    QWidget* window_ = nullptr;
};

class MainHosts : public CommandRole, public ExportWindows {
public:
    explicit MainHosts(Form1& w);

    // The redraw's command role.
    void commitFocusedEdits() override {}
    void setPlayImage(PlayImage image) override;
    void setPlayHint(const std::string& hint) override;
    void setPlayEnabled(bool on) override;
    void repaintPlay() override {}
    void lockCommands(bool lock) override;
    void selectNone() override;
    void updateSelectionUI() override;

    // Picture export.
    bool runSavePictureDialog(const std::string& filter, const std::string& fileName, std::string& chosen,
                              int& filterIndex) override;
    bool checkSaveFileName(std::string& fileName, const std::string& ext) override;
    BitColorsResult runBitColors(const BitColorsSetup& setup, ExportState& state) override;
    void runCdrExport(ExportState& state) override;
    void runWordExport(ExportState& state) override;
    void paintMetaPicture(Canvas& canvas) override;
    ProgressRole& pngProgress() { return png_; }

private:
    Form1& w_;
    ButtonLock lock_;
    PngProgress png_;
};

}  // namespace pelmar
