// The main window's side of the logic's interfaces: command states for the
// editing core and the shell's rules, the object combo, the redraw's window
// needs (the picture window plays its progress, status and picture roles)
// and the picture export.  One object serves them all over the main window.
#pragma once

#include <QWidget>
#include <QImage>
#include <map>
#include <optional>

#include "drawing/host_roles.h"
#include "editing/editing_host.h"
#include "files/export_host.h"
#include "model/records.h"
#include "shell/command_lock.h"
#include "shell/command_rules.h"

namespace pelmar {

class Form1;

// The main command a command of the editing core stands for.
std::optional<MainCommand> MainCommandOf(EditingCommand c, Kind k);

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

class MainHosts : public MainCommandStates,
                  public MessageBox,
                  public TextRole,
                  public ProgressRole,
                  public StatusRole,
                  public CommandRole,
                  public PictureRole,
                  public ExportWindows {
public:
    explicit MainHosts(Form1& w);

    // Editing core.
    void SetEnabled(EditingCommand c, bool on);
    void SetKindEnabled(EditingCommand c, Kind k, bool on);
    bool IsDown(EditingCommand c) const;
    void SetDown(EditingCommand c, bool down);
    void RefreshDrawTools();
    void EnableTransForm(bool on);
    void SetObjectItems(const std::vector<std::string>& items);
    void SetObjectIndex(int index);
    void ResetView(const ViewReset& v);
    void ShowMessage(const std::string& text) override;

    // Shell rules.
    void setEnabled(MainCommand c, bool on) override;
    bool enabled(MainCommand c) const override;

    // The redraw's roles.
    std::string wordLine(int line) override;
    char decimalSeparator() override;
    void showMessage(const std::string& text) override { ShowMessage(text); }
    void processEvents() override;
    void showProgress(const std::string& text) override;
    void setProgress(int position) override;
    void hideProgress() override;
    std::string imageCaption() override;
    void setImageCaption(const std::string& caption) override;
    void setStatusPanel(int panel, const std::string& text) override;
    void commitFocusedEdits() override {}
    void setPlayImage(PlayImage image) override;
    void setPlayHint(const std::string& hint) override;
    void setPlayEnabled(bool on) override;
    void repaintPlay() override {}
    void lockCommands(bool lock) override;
    void selectNone() override;
    void updateSelectionUI() override;
    ViewPort imageView() override;
    void showPicture(const QImage& view, int boxWidth, int boxHeight, int left, int top) override;
    void showPreview(RedrawMode, const QImage&) override {}

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
    std::map<EditingCommand, bool> down_;
    ButtonLock lock_;
    PngProgress png_;
};

}  // namespace pelmar
