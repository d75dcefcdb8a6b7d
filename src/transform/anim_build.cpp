#include "transform/anim_build.h"

#include <QPainter>
#include <chrono>
#include <exception>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "files/animated_gif.h"
#include "files/save_failure.h"
#include "files/word_table.h"
#include "model/coord_edits.h"
#include "model/recompute.h"
#include "transform/anim_steps.h"

namespace pelmar {

AnimSettings AnimSettingsOf(const DProj& doc) {
    return {doc.AnimDelay, doc.AnimFrames, doc.AnimStep, doc.AnimStart, doc.AnimLoop};
}

void PutAnimSettings(DProj& doc, const AnimSettings& s) {
    doc.AnimDelay = s.delay;
    doc.AnimFrames = s.frames;
    doc.AnimStep = s.step;
    doc.AnimStart = s.start;
    doc.AnimLoop = s.loop;
}

bool CommitAnimSettings(DProj& doc, const AnimSettings& kept, const std::function<void()>& commit) {
    const AnimSettings now = AnimSettingsOf(doc);
    if (now == kept) return false;
    PutAnimSettings(doc, kept);
    commit();
    PutAnimSettings(doc, now);
    return true;
}

std::string AnimationPath(const std::string& docPath) { return docPath + ".gif"; }

void AnimTimeBase(const std::string& startFormula, const std::string& stepFormula, Ext& start, Ext& step,
                  bool& corrected) {
    AnimEval ev;
    start = 0;
    step = 1;
    Ext v = 0;
    if (!startFormula.empty()) {
        if (ev.EvalAt(startFormula, 0, v))
            start = v;
        else
            corrected = true;
    }
    if (!stepFormula.empty()) {
        if (ev.EvalAt(stepFormula, 0, v))
            step = v;
        else
            corrected = true;
    }
}

namespace {

// The frame as the drawing window shows it: the drawing over the background
// picture when that is on (the drawing's background colour lets it through).
QImage FramePicture(const DProj& doc, const DrawingState& st) {
    if (!doc.Im.BackOn || st.BackBitmap.isNull()) return st.DrawBitmap;
    QImage frame(doc.Im.Width, doc.Im.Height, QImage::Format_RGB32);
    const TColor bg = doc.Im.Background;
    frame.fill(qRgb(static_cast<int>(bg & 0xFF), static_cast<int>((bg >> 8) & 0xFF),
                    static_cast<int>((bg >> 16) & 0xFF)));
    QImage drawing = st.DrawBitmap.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = frame.pixel(0, 0) | 0xFF000000u;
    for (int y = 0; y < drawing.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(drawing.scanLine(y));
        for (int x = 0; x < drawing.width(); ++x)
            if (row[x] == key) row[x] = 0;
    }
    QPainter painter(&frame);
    painter.drawImage(0, 0, st.BackBitmap);
    painter.drawImage(0, 0, drawing);
    return frame;
}

// The 3D systems' outlines whose surface moves by formulas are traced again,
// and so are the cached sections of those surfaces (outline k belongs to
// surface 1, 2, 4; the 55 section curves are five groups of eleven: surface
// 1, surface 2, then surface 4 in x, y and z).
void InvalidateMovedSurfaces(DProj& doc) {
    for (std::size_t i = 1; i <= doc.Obj.Xz.count(); ++i) {
        DXZ& x = doc.Obj.Xz[i];
        const std::size_t surfaces[3] = {1, 2, 4};
        for (std::size_t k = 1; k <= 3; ++k) {
            bool moved = false;
            for (const auto& texts : x.Texts) moved = moved || !texts[surfaces[k - 1]].empty();
            if (!moved) continue;
            x.Outlines[k].Lines.Valid = 0;
            const std::size_t first = k == 1 ? 1 : k == 2 ? 12 : 23, last = k == 1 ? 11 : k == 2 ? 22 : 55;
            for (std::size_t c = first; c <= last; ++c) x.Curves[c].Valid = 0;
        }
    }
}

// The drawing window's progress while frames are built.  A frame's traces
// would move the window's bar and handle its events for every column and
// scan line they trace, each a repaint of the window; here they move no bar
// (the builder's window counts the frames) and reach the builder's window at
// most every AnimPumpIntervalMs, where a stop ends the frame's traces.
class FrameProgress final : public ProgressRole {
public:
    FrameProgress(AnimHost& host, bool& running) : host_(host), running_(running) {}
    bool cancelled() const { return cancelled_; }

    void processEvents() override {
        const auto now = std::chrono::steady_clock::now();
        if (now - last_ < std::chrono::milliseconds(AnimPumpIntervalMs)) return;
        last_ = now;
        if (!host_.pollDuringFrame()) return;
        cancelled_ = true;
        running_ = false;
    }
    void showProgress(const std::string&) override {}
    void setProgress(int) override {}
    void hideProgress() override {}

private:
    AnimHost& host_;
    bool& running_;  // the drawing's stop switch
    bool cancelled_ = false;
    std::chrono::steady_clock::time_point last_{};  // the build's first pump polls
};

// The drawing window's commands and caption while frames are built: the
// builder's window is modal, so a frame's drawing neither locks and unlocks
// the main window's commands nor turns its play button, nor times itself in
// the picture window's caption (each a repaint of the main window per frame);
// the selection was cleared before the first frame.
class FrameCommands final : public CommandRole, public StatusRole {
public:
    explicit FrameCommands(StatusRole& status) : status_(status) {}

    void commitFocusedEdits() override {}
    void setPlayImage(PlayImage) override {}
    void setPlayHint(const std::string&) override {}
    void setPlayEnabled(bool) override {}
    void repaintPlay() override {}
    void lockCommands(bool) override {}
    void selectNone() override {}
    void updateSelectionUI() override {}

    std::string imageCaption() override { return status_.imageCaption(); }
    void setImageCaption(const std::string&) override {}
    void setStatusPanel(int panel, const std::string& text) override { status_.setStatusPanel(panel, text); }

private:
    StatusRole& status_;
};

}  // namespace

void SetFrameObjects(DProj& proj, const DSubProj& base, AnimEval& ev) {
    // What the 3D systems traced for the last frame, kept apart from the
    // objects put back: where a system stands as it stood then, and no
    // formula moves the surface, it is not traced again.
    std::vector<DXZ> before(proj.Obj.Xz.count());
    for (std::size_t i = 1; i <= before.size(); ++i) before[i - 1] = std::move(proj.Obj.Xz[i]);
    proj.Obj = base;
    SetTimeAll(proj, ev);
    RecomputeLinked(proj);
    // Traced curves lie where the system stood when they were traced: they
    // are the frame's only where the system, moved by a formula or by what
    // it is linked to, still stands there.
    for (std::size_t i = 1; i <= proj.Obj.Xy.count(); ++i) RetraceIfMoved(proj.Obj.Xy[i], base.Xy[i]);
    for (std::size_t i = 1; i <= proj.Obj.Xz.count(); ++i) {
        DXZ& x = proj.Obj.Xz[i];
        if (i <= before.size() && SamePlace(x, before[i - 1])) {
            x.Curves = std::move(before[i - 1].Curves);
            for (std::size_t k = 1; k <= x.Outlines.size(); ++k)
                x.Outlines[k].Lines = std::move(before[i - 1].Outlines[k].Lines);
        } else {
            RetraceIfMoved(x, base.Xz[i]);
        }
    }
    InvalidateMovedSurfaces(proj);
}

AnimResult BuildAnimation(DProj& proj, DrawingState& st, const RedrawHost& redrawHost, AnimHost& host,
                          const std::string& gifPath) {
    AnimResult result;
    // Frames draw no selected object: the selection is cleared once, as a
    // drawing with the play button clears it, before the document is kept,
    // so that the document put back holds no mark the selection has lost.
    if (proj.AnimFrames >= AnimFramesMin) redrawHost.commands.selectNone();
    const auto saved = std::make_unique<DProj>(proj);
    const QImage savedShading = st.BackPng;
    const int count = proj.AnimFrames;
    const std::int64_t delay = proj.AnimDelay;

    bool corrected = false;
    Ext t = 0, step = 1;
    AnimTimeBase(proj.AnimStart, proj.AnimStep, t, step, corrected);

    ClearLinkedFormulas(proj);
    // Every frame starts from the document's objects.
    const auto base = std::make_unique<DSubProj>(proj.Obj);
    // Frames are raster pictures whatever the picture mode.
    proj.Im.PicMode = 0;

    AnimatedGifWriter gif;
    AnimatedGifWriter::Options options;
    options.loop = proj.AnimLoop && count > 1;
    const bool noFrames = count < AnimFramesMin;
    // Why the file could not be written, with the system's reason.
    std::string writeError = noFrames ? std::string() : gif.Open(gifPath, proj.Im.Width, proj.Im.Height, options);

    AnimEval ev(redrawHost.texts.decimalSeparator());
    FrameProgress frameProgress(host, st.Running);
    FrameCommands frameCommands(redrawHost.status);
    const RedrawHost frameHost(redrawHost.texts, frameProgress, frameCommands, frameCommands, redrawHost.picture);
    bool cancelled = false;
    // The frames' curves belong to the frames, not to the working copies.
    EditState* const edit = std::exchange(st.Edit, nullptr);
    // A part that cannot be drawn is told once for the whole build, not in
    // every frame.
    st.Told = false;
    st.HoldTold = true;
    for (int i = 0; writeError.empty() && i < count; ++i) {
        host.setStatus(std::string(AnimBuildingFrame) + " " + std::to_string(i + 1), AnimBlack);
        host.setProgress(i + 1, count);
        ev.t = static_cast<double>(t);
        // What fails outside the drawing's own guard (no memory for a frame)
        // ends the build as a file that cannot be written, and the document
        // is put back below all the same.
        try {
            SetFrameObjects(proj, *base, ev);
            if (HasGradientFills(proj)) proj.FillValid = 0;
            RepaintProject(proj, st, frameHost, RedrawMode::Window, true);
            if (!frameProgress.cancelled()) writeError = gif.AddFrame(FramePicture(proj, st), delay);
        } catch (const std::exception&) {
            writeError = "out of memory";
        }
        if (!writeError.empty()) break;
        if (frameProgress.cancelled()) {
            cancelled = true;
            break;
        }
        ++result.frames;
        t += step;
        if (host.cancelRequested()) {
            cancelled = true;
            break;
        }
    }

    if (!cancelled && !noFrames && writeError.empty()) {
        host.setStatus(AnimSaving, AnimBlack);
        writeError = gif.Finish();
    } else {
        gif.Cancel();
    }

    st.Edit = edit;
    // The document, and the shading kept for it, as they were.
    proj = *saved;
    st.BackPng = savedShading;
    RepaintProject(proj, st, redrawHost, RedrawMode::Window, false);
    st.HoldTold = false;

    // A red status says in a few words why there is no file; a file that
    // could not be written is told with its reason.
    const WordTable* const words = host.words();
    const auto said = [words](std::string_view russian, std::string_view english) {
        return std::string(Said(words, russian, english));
    };
    const std::string notDone = std::string(AnimNotDone) + " ";
    if (cancelled) {
        result.outcome = AnimOutcome::Cancelled;
        result.error = said("Построение отменено.", "The build was cancelled.");
        host.setStatus(notDone + said("Отменено.", "Cancelled."), AnimRed);
    } else if (noFrames) {
        result.outcome = AnimOutcome::Failed;
        result.error = said("Количество кадров ", "The frame count ") + std::to_string(count) +
                       said(" меньше 1: строить нечего.", " is below 1: there is nothing to build.");
        host.setStatus(notDone + said("Нет кадров.", "No frames."), AnimRed);
    } else if (!writeError.empty()) {
        result.outcome = AnimOutcome::Failed;
        result.error = said("Не могу записать файл ", "Cannot write the file ") + gifPath + "\n" +
                       said("Причина: ", "Reason: ") + SaveReasonText(writeError, words);
        host.setStatus(notDone + said("Файл не записан.", "The file is not written."), AnimRed);
        host.showMessage(std::string(AnimNotDone) + "\n" + result.error);
    } else if (corrected || ev.failed) {
        result.outcome = AnimOutcome::Corrected;
        host.setStatus(AnimCorrected, AnimOlive);
    } else {
        result.outcome = AnimOutcome::Created;
        host.setStatus(AnimDone, AnimGreen);
    }
    return result;
}

}  // namespace pelmar
