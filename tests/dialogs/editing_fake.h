// A fake editing core for the kinds' dialogs: a document, the working copies,
// the object-list entry and the nesting path; its commit stores the working
// copy into the document (or, for an open part, into its parent's working
// copy), counts one undo step and refills the open dialog, as the real commit does.
#pragma once

#include <QDir>
#include <QTemporaryDir>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/ui/default_set.h"
#include "dialogs/ui/dialog_registry.h"
#include "model/update.h"

namespace pelmar::test {

// The colour dialog: records the colours it starts at and answers with
// `answer` (nullopt: Cancel).
struct ScriptedColors : ColorChooser {
    std::optional<TColor> answer;
    std::vector<TColor> asked;
    std::optional<TColor> chooseColor(TColor initial) override {
        asked.push_back(initial);
        return answer;
    }
};

class FakeEditing : public DialogSession, public DialogCommit, public DialogDocument {
public:
    std::unique_ptr<DProj> doc = NewDocument();
    WorkingCopies work;
    ObjListEntry current{{'p', 'o', 0}, 1};
    int undoSteps = 0, redraws = 0;
    bool changed = false;
    std::vector<std::string> messages;
    std::vector<Kind> backTo;
    QTemporaryDir folder;
    DialogRegistry reg{*this, *this, *this};

    FakeEditing() { RegisterAll(); }

    void RegisterAll() {
        RegisterPointDialog(reg);
        RegisterLineDialog(reg);
        RegisterEllipseDialog(reg);
    }

    void select(Kind k, int index) {
        current = ObjListEntry{{InfoOf(k).code[0], InfoOf(k).code[1], 0}, static_cast<std::uint8_t>(index)};
        doc->Role.fill(0);
    }
    std::uint8_t& roleSlot(Kind k) { return doc->Role[static_cast<std::size_t>(KindNumber(k)) - 1]; }

    // ---- DialogSession
    WorkingCopies& copies() override { return work; }
    DProj& proj() override { return *doc; }
    ObjListEntry entry() const override { return current; }
    void setBackTo(Kind parent, bool) override { backTo.push_back(parent); }
    std::string pathCaption(Kind k) const override { return std::string(InfoOf(k).code) + " path"; }
    std::string defaultSetName(Kind k) const override {
        return QDir(folder.path()).filePath(QString("De%1.set").arg(InfoOf(k).fileWord)).toStdString();
    }
    std::uint8_t readDefaultSet(Kind k, DProj& d, std::uint8_t& version) const override {
        return ReadDocument(defaultSetName(k), d, version, 2);
    }
    int fills = 0;
    void runFill(std::uint8_t, QWidget*) override { ++fills; }
    void showMessage(const std::string& text) override { messages.push_back(text); }
    const WordTable* table = nullptr;  // the built-in texts while null
    const WordTable& words() const override { return table ? *table : BuiltInWords(); }
    void dialogOpened(Kind) override {}
    void dialogClosed(Kind) override {}
    void reselect() override {}
    int rememberedPage(Kind) const override { return 1; }
    void rememberPage(Kind, int) override {}
    std::string readFailureText(std::uint8_t result) const override { return "read failed " + std::to_string(result); }
    // The section and outline dialogs of a 3D system.
    std::uint8_t sechPlane = 1;
    ScriptedColors colors;
    QImage picture;
    TColor moveColor = 0x0000FF;
    SurfaceDialogContext surfaceDialogs() override { return {sechPlane, colors, picture, moveColor}; }

    // The commit tried on the working copies: the document, the counters and
    // the open dialogs stay as they were.  Every kind may change.
    bool trying = false;
    KindMask trialKinds() const override { return KindMask().set(); }
    void tryCommit(bool writeBack) override {
        const auto savedDoc = std::make_unique<DProj>(*doc);
        const int steps = undoSteps;
        const bool wasChanged = changed;
        trying = true;
        ApplyObject(writeBack);
        trying = false;
        *doc = *savedDoc;
        undoSteps = steps;
        changed = wasChanged;
    }
    // A kind's open dialog shows the record (not while a commit is tried).
    template <class R>
    void fillOpen(Kind k, const R& rec) {
        if (!trying) reg.Fill(k, rec);
    }
    template <class R>
    void fillOpen(const R& rec) {
        if (!trying) reg.Fill(rec);
    }

    // ---- DialogCommit: the point writes back into an open segment's ends.
    void ApplyObject(bool) override {
        ++undoSteps;
        changed = true;
        const int pr = doc->Role[0];
        UpdatePoint(work.CurPoint, pr);
        UpdateLine(work.CurLine, doc->Role[1]);
        if (pr == 3) work.CurCircle.Center = work.CurPoint;
        if (doc->Role[2] == 0 && std::string(current.code, 2) == "ci") doc->Obj.Ci[current.index] = work.CurCircle;
        const bool live = current.index >= 1 && current.index <= doc->Obj.count(static_cast<Kind>(KindFromCode(std::string(current.code, 2))));
        if (!live) return;
        if (pr == 0 && std::string(current.code, 2) == "po") doc->Obj.Po[current.index] = work.CurPoint;
        if (pr >= 1 && pr <= 2) (pr == 1 ? work.CurLine.P1 : work.CurLine.P2) = work.CurPoint;
        if (pr == 0 && std::string(current.code, 2) == "li") doc->Obj.Li[current.index] = work.CurLine;
        fillOpen(Kind::po, work.CurPoint);
        fillOpen(Kind::li, work.CurLine);
        fillOpen(Kind::ci, work.CurCircle);
    }
    void ApplyObjectInStep(bool writeBack, std::uint64_t&) override { ApplyObject(writeBack); }
    std::uint64_t BeforeDocumentChange() override { return 0; }
    void RepaintProject() override { ++redraws; }
    bool NoRedraw() const override { return false; }

    // ---- DialogDocument
    DialogPlace dialogPlace() const override { return {doc->DlgLeft, doc->DlgTop, doc->RolledUp}; }
    void setDialogPosition(int left, int top) override { doc->DlgLeft = left, doc->DlgTop = top; }
    void setDialogsRolledUp(bool r) override { doc->RolledUp = r; }
    int resolution() const override { return 96; }
};

}  // namespace pelmar::test
