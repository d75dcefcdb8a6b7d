// A stand-in for the windows around the redraw, for tests: it keeps what the
// redraw shows and writes every call that changes something as one text line.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "drawing/redraw_host.h"

namespace pelmar {

class FakeRedrawHost : public RedrawHost {
public:
    FakeRedrawHost();

    // What the fake holds; tests set and read these directly.
    std::map<int, std::string> words;              // the built-in texts of the lines the redraw reads
    std::map<std::string, bool> buttons;           // enabled state of the tool buttons
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

    std::string wordLine(int line) override;
    char decimalSeparator() override { return separator; }
    void processEvents() override;
    void commitFocusedEdits() override;
    void setPlayImage(int imageIndex) override;
    void setPlayHint(const std::string& hint) override;
    void setPlayEnabled(bool on) override;
    void repaintPlay() override {}
    bool toolButtonEnabled(const std::string& name) override;
    void setToolButtonEnabled(const std::string& name, bool on) override;
    void repaintToolBar() override {}
    void setCommandsEnabled(bool on) override;
    void selectNone() override;
    void updateSelectionUI() override;
    std::string imageCaption() override { return caption; }
    void setImageCaption(const std::string& c) override;
    void setStatusPanel(int panel, const std::string& text) override;
    void hideProgressBar() override;
    void showProgressBar() override;
    void setProgressPosition(int position) override;
    void showMessage(const std::string& text) override;
    ViewPort imageView() override { return view; }
    void showPicture(const QImage& v, int boxW, int boxH, int left, int top) override;
    void showPreview(int mode, const QImage& picture) override;
};

}  // namespace pelmar
