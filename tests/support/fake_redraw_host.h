// A stand-in for the windows around the redraw, for tests: it plays every
// role of the main window, keeps what the redraw shows and writes every call
// that changes something as one text line.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "drawing/redraw_host.h"
#include "shell/command_lock.h"

namespace pelmar {

class FakeRedrawHost : public TextRole,
                       public ProgressRole,
                       public StatusRole,
                       public CommandRole,
                       public PictureRole,
                       public MainCommandStates {
public:
    FakeRedrawHost();

    // What the fake holds; tests set and read these directly.
    std::map<int, std::string> words;              // the built-in texts of the lines the redraw reads
    std::map<std::string, bool> buttons;           // enabled state of the tool buttons, by object name
    std::string caption = "Рисунок (Растровое)";
    std::map<int, std::string> panels;
    ViewPort view{0, 0, 400, 300};
    char separator = ',';
    int playImage = 10;
    std::string playHint;
    bool playEnabled = true;
    bool commandsEnabled = true;
    QImage shown;           // the last picture shown
    int boxWidth = 0, boxHeight = 0;
    QImage preview;         // the last preview
    int previewMode = 0;
    std::function<void()> onProcessEvents;  // what the user does while events are handled

    std::vector<std::string> log;
    std::string logText() const;

    // Texts.
    std::string wordLine(int line) override;
    char decimalSeparator() override { return separator; }
    void showMessage(const std::string& text) override;
    // Progress: the drawing window's status panel 2 and progress bar.
    void processEvents() override;
    void showProgress(const std::string& text) override;
    void setProgress(int position) override;
    void hideProgress() override;
    // Status.
    std::string imageCaption() override { return caption; }
    void setImageCaption(const std::string& c) override;
    void setStatusPanel(int panel, const std::string& text) override;
    // Commands.
    void commitFocusedEdits() override;
    void setPlayImage(PlayImage image) override;
    void setPlayHint(const std::string& hint) override;
    void setPlayEnabled(bool on) override;
    void repaintPlay() override {}
    void lockCommands(bool lock) override;
    void selectNone() override;
    void updateSelectionUI() override;
    // The commands' states are those of their tool buttons.
    bool enabled(MainCommand c) const override;
    void setEnabled(MainCommand c, bool on) override;
    // Picture.
    ViewPort imageView() override { return view; }
    void showPicture(const QImage& v, int boxW, int boxH, int left, int top) override;
    void showPreview(RedrawMode mode, const QImage& picture) override;

private:
    ButtonLock lock_;
};

}  // namespace pelmar
