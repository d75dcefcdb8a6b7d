#include "support/fake_redraw_host.h"

namespace pelmar {

FakeRedrawHost::FakeRedrawHost()
    : words{{265, "Построить чертеж"},
            {266, "Остановить построение"},
            {331, "сек."},
            {349, "Декартов график"},
            {352, "Градиент построен"},
            {353, "Градиент не построен"}} {}

std::string FakeRedrawHost::logText() const {
    std::string s;
    for (std::size_t i = 0; i < log.size(); ++i) {
        if (i) s += '\n';
        s += log[i];
    }
    return s;
}

std::string FakeRedrawHost::wordLine(int line) {
    auto it = words.find(line);
    return it == words.end() ? std::string() : it->second;
}

void FakeRedrawHost::processEvents() {
    log.push_back("processEvents");
    if (onProcessEvents) onProcessEvents();
}

void FakeRedrawHost::commitFocusedEdits() { log.push_back("commitFocusedEdits"); }

void FakeRedrawHost::setPlayImage(PlayImage image) {
    playImage = static_cast<int>(image);
    log.push_back("playImage " + std::to_string(playImage));
}

void FakeRedrawHost::setPlayHint(const std::string& hint) {
    playHint = hint;
    log.push_back("playHint " + hint);
}

void FakeRedrawHost::setPlayEnabled(bool on) {
    playEnabled = on;
    log.push_back(std::string("playEnabled ") + (on ? "1" : "0"));
}

bool FakeRedrawHost::enabled(MainCommand c) const {
    auto it = buttons.find(InfoOf(c).tool);
    return it == buttons.end() ? true : it->second;
}

void FakeRedrawHost::setEnabled(MainCommand c, bool on) { buttons[InfoOf(c).tool] = on; }

void FakeRedrawHost::lockCommands(bool lock) {
    if (lock)
        lock_.lock(*this);
    else
        lock_.unlock(*this);
    commandsEnabled = !lock;
    log.push_back(std::string("commands ") + (lock ? "0" : "1"));
}

void FakeRedrawHost::selectNone() { log.push_back("selectNone"); }

void FakeRedrawHost::updateSelectionUI() { log.push_back("updateSelectionUI"); }

void FakeRedrawHost::setImageCaption(const std::string& c) {
    caption = c;
    log.push_back("caption " + c);
}

void FakeRedrawHost::setStatusPanel(int panel, const std::string& text) {
    panels[panel] = text;
    log.push_back("panel " + std::to_string(panel) + " " + text);
}

void FakeRedrawHost::showProgress(const std::string& text) {
    setStatusPanel(2, text);
    log.push_back("showProgressBar");
}

void FakeRedrawHost::setProgress(int position) { log.push_back("progress " + std::to_string(position)); }

void FakeRedrawHost::hideProgress() {
    log.push_back("hideProgressBar");
    setStatusPanel(2, "");
}

void FakeRedrawHost::showMessage(const std::string& text) { log.push_back("message " + text); }

void FakeRedrawHost::showPicture(const QImage& v, int boxW, int boxH, int left, int top) {
    shown = v;
    boxWidth = boxW;
    boxHeight = boxH;
    log.push_back("showPicture " + std::to_string(boxW) + "x" + std::to_string(boxH) + " at " +
                  std::to_string(left) + "," + std::to_string(top));
}

void FakeRedrawHost::showPreview(RedrawMode mode, const QImage& picture) {
    preview = picture;
    previewMode = static_cast<int>(mode);
    log.push_back("showPreview " + std::to_string(previewMode) + " " + std::to_string(picture.width()) + "x" +
                  std::to_string(picture.height()));
}

}  // namespace pelmar
