// The object dialogs of the kinds, created on demand and filled through one
// registry: each kind's dialog file registers its creator, and the editing
// core shows and closes a kind's dialog here (its dialog host); a kind's
// open dialog is refilled from its working copy on the document's
// objectChanged.
//
// A creator builds the dialog; the registry puts the session's words on it
// (it never fills it) and remembers the open dialog of each kind until the
// dialog closes.  The three- and four-sided pyramids share one dialog, and
// so do the prisms: a kind opens, finds and closes the dialog its partner
// opened.
#pragma once

#include <QCheckBox>
#include <QImage>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "dialogs/dialog_host.h"
#include "dialogs/ui/dialog_words.h"
#include "editing/editing_host.h"
#include "editing/kind_access.h"
#include "dialogs/ui/object_dialog.h"
#include "dialogs/ui/spin_edit.h"
#include "model/coord_limit.h"
#include "model/records.h"

namespace pelmar {

// What a kind's dialog reaches of the editing core beyond the commit.
class WordTable;

// What the section and outline dialogs of a 3D system reach besides the
// working copy: the plane the section dialog shows (SechPlane, 1 x, 2 y, 3 z
// = const, kept between openings), the colour dialog of the outline's
// gradient colours, the picture of the moment (the back buffer, or the
// metafile as the picture window shows it) and the move colour the outline's
// search window is drawn in over it.
struct SurfaceDialogContext {
    std::uint8_t& sechPlane;
    ColorChooser& colors;
    QImage picture;
    TColor moveColor;
};

class DialogSession {
public:
    virtual ~DialogSession() = default;
    // CurPoint .. CurXZ.
    virtual WorkingCopies& copies() = 0;
    // The working copies made what the commit (ApplyObject(writeBack)) would
    // make of them now - the open parts written back, the kind's update, the
    // parts reloaded - while nothing is stored, refilled or recorded.  The
    // caller keeps trialKinds() aside before and puts them back after.
    virtual void tryCommit(bool writeBack) = 0;
    // The kinds whose working copies tryCommit may change.
    virtual KindMask trialKinds() const = 0;
    // The edited document: its objects and the role bytes of the nesting path.
    virtual DProj& proj() = 0;
    // The current object-list entry (kind code and index).
    virtual ObjListEntry entry() const = 0;
    std::string entryCode() const {
        const ObjListEntry e = entry();
        return std::string(e.code, 2);
    }
    // The main window's Back-to command of a parent kind (TBTo<k>, MeTo<k>).
    virtual void setBackTo(Kind parent, bool enabled) = 0;
    // The red path label of a kind's dialog.
    virtual std::string pathCaption(Kind k) const = 0;
    // Default sets: "DefaultSet/De<kind>.set" in the program folder, where
    // they are saved.
    virtual std::string defaultSetName(Kind k) const = 0;
    // Reads the kind's default set as new objects take it: the user's own,
    // else the shipped one.  Results as ReadDocument.
    virtual std::uint8_t readDefaultSet(Kind k, DProj& doc, std::uint8_t& version) const = 0;
    // A message box with OK, and the reader's message of a failed read.
    virtual void showMessage(const std::string& text) = 0;
    virtual std::string readFailureText(std::uint8_t result) const = 0;
    // The fill sub-dialog for the working copy `brushKind` names, shown
    // modally over `parent`, then the redraw.
    virtual void runFill(std::uint8_t brushKind, QWidget* parent) = 0;
    // The word table of the moment (the shell's).
    virtual const WordTable& words() const = 0;
    // A kind's dialog was created (its open flag is set) or closed by any
    // means (its open flag is cleared).
    virtual void dialogOpened(Kind) = 0;
    virtual void dialogClosed(Kind) = 0;
    // The shape changed: the selection marks are put on it again.
    virtual void reselect() = 0;
    // The page a tabbed dialog shows when next created (FormTrTab,
    // FormKvTab: 1 or 2), and the page last entered.
    virtual int rememberedPage(Kind) const = 0;
    virtual void rememberPage(Kind, int) = 0;
    virtual SurfaceDialogContext surfaceDialogs() = 0;
};

// What puts records of type R on a dialog.  A dialog that edits two kinds
// (the pyramids', the prisms') fills from both records.
template <class R>
class RecordFiller {
public:
    virtual ~RecordFiller() = default;
    // VarToForm<k>: puts a copy of the record on the controls.
    virtual void fill(R rec) = 0;
};

// An object dialog that shows records of type R.
template <class R>
class RecordDialog : public ObjectDialog, public RecordFiller<R> {
public:
    using ObjectDialog::ObjectDialog;
};

class DialogRegistry : public DialogHost {
public:
    using Creator = std::function<ObjectDialog*(DialogRegistry&)>;

    DialogRegistry(DialogSession& session, DialogDocument& doc, DialogCommit& commit)
        : session_(session), doc_(doc), commit_(commit) {}
    // The dialogs still open go with the registry, without closing.
    ~DialogRegistry() override;
    DialogRegistry(const DialogRegistry&) = delete;
    DialogRegistry& operator=(const DialogRegistry&) = delete;

    DialogSession& session() const { return session_; }
    DialogDocument& document() const { return doc_; }
    DialogCommit& commitTarget() const { return commit_; }

    void setCreator(Kind k, Creator creator);
    bool hasCreator(Kind k) const;

    // CreateForm<k>: a new dialog unless one is open, with the words on it;
    // shown.  Nothing for a kind without a creator.
    ObjectDialog* open(Kind k);
    // The client size the kind's dialog takes when it opens now: with the
    // words of the moment, grown to its content.  The dialog is built unseen
    // and freed again; nothing is registered or filled.  An empty size for a
    // kind without a creator.
    QSize measure(Kind k);
    // After a language change: the open dialogs take the new words, in kind
    // order, and are sized for them as a new dialog would be.
    void WordsToOpenDialogs();
    // The number still being typed in an open dialog is done, as leaving its
    // field makes it: taken by the field's rule and committed.  Before a
    // command of the main window, whose keys work in the dialogs too.
    void finishTyping();
    void Show(Kind k) override { open(k); }
    // Closes the kind's open dialog.
    void Close(Kind k) override;
    ObjectDialog* dialog(Kind k) const;
    bool isOpen(Kind k) const { return dialog(k) != nullptr; }

    // VarToForm<k>: fills the kind's open dialog.
    template <class R>
    void Fill(Kind k, const R& rec) {
        if (auto* d = dynamic_cast<RecordFiller<R>*>(dialog(k))) d->fill(rec);
    }
    // The same, the kind taken from the record's type.
    template <class R>
    void Fill(const R& rec) {
        Fill(KindOfRec<R>::value, rec);
    }
    // The kind's open dialog shows its working copy again (the document's
    // objectChanged).
    void refill(Kind k);
    // The focused control of the kind's open dialog, by object name; showing
    // a page (1 or 2) of a tabbed dialog, as when the user enters it; making
    // a named control the focused one.
    std::string ActiveControl(Kind k) const override;
    void SelectPage(Kind k, int page) override;
    void Activate(Kind k, const std::string& name) override;

    // Opening a part of the current object in its kind's dialog: the part's
    // role byte, the part copied into its working copy, its dialog shown and
    // filled from the part inside the parent, the parent's dialog closed and
    // the Back-to command of the parent enabled.
    template <class R>
    void OpenPart(Kind parent, Kind part, int role, const R& inParent, R& workingCopy) {
        if (auto* d = dialog(parent)) d->flushPendingEdit();
        session_.proj().Role[static_cast<std::size_t>(KindNumber(part)) - 1] = static_cast<std::uint8_t>(role);
        workingCopy = inParent;
        open(part);
        Fill(part, inParent);
        Close(parent);
        session_.setBackTo(parent, true);
    }

    // Role byte of a kind's level in the nesting path.
    int role(Kind k) const { return session_.proj().Role[static_cast<std::size_t>(KindNumber(k)) - 1]; }

private:
    DialogSession& session_;
    DialogDocument& doc_;
    DialogCommit& commit_;
    std::array<Creator, KindCount> creators_{};
    std::array<QPointer<ObjectDialog>, KindCount> open_{};
};

// A dialog that edits its kind's working copy of the session (cur()); the
// size hints are made again whenever the mouse moves over it.
template <class R>
class SessionDialog : public RecordDialog<R> {
public:
    // UpdatePoHints, UpdateLiHints, ...: the size hints of the controls.
    virtual void updateHints() = 0;
    // WordsToPo, WordsToCi, ...: the dialog's words from its table.
    void applyWords(const WordTable& words) override {
        RecordDialog<R>::applyWords(words);
        ApplyWords(*this, words_, words);
        this->fitContent();  // the words may need more room than the design size
        updateHints();
    }

protected:
    SessionDialog(DialogRegistry& reg, const char* name, std::span<const WordTarget> words, QWidget* parent,
                  QSize client = QSize(380, 431), int rollDown = 433)
        : RecordDialog<R>(client, rollDown, reg.document(), reg.commitTarget(), parent), reg_(reg), words_(words) {
        this->setObjectName(name);
        this->setMouseTracking(true);
    }
    R& cur() const { return KindT<RecordKind<R>>::work(reg_.session().copies()); }
    // A check box stores into field(working copy) and commits when focused;
    // `field` is a member pointer or a function of the record.
    template <class Field>
    void connectCheck(QCheckBox* box, Field field) {
        QObject::connect(box, &QCheckBox::toggled, this, [this, box, field](bool on) {
            if (this->filling()) return;
            std::invoke(field, cur()).v = on;
            this->commitIfFocused(box);
        });
    }
    // A spin edit's number stored into field(working copy) as it is typed,
    // within the edit's bounds; the hints follow.
    template <class Field>
    void connectSpin(TSpinEdit* spin, Field field) {
        this->watchNumber(spin, {.store = [this, field](double v) {
                                     auto& f = std::invoke(field, cur()).v;
                                     f = SaturatedRound<std::remove_reference_t<decltype(f)>>(v);
                                     return ObjectDialog::NumberNote::taken();
                                 },
                                 .shown = [this, field] { return double(std::invoke(field, cur()).v); }});
    }
    void refreshHints() override { updateHints(); }
    void mouseMoveEvent(QMouseEvent* event) override {
        updateHints();
        RecordDialog<R>::mouseMoveEvent(event);
    }

    DialogRegistry& reg_;
    const std::span<const WordTarget> words_;
};

// The dialogs of this library, registered in one call.
void RegisterPointDialog(DialogRegistry& reg);
void RegisterLineDialog(DialogRegistry& reg);
void RegisterEllipseDialog(DialogRegistry& reg);
void RegisterTriangleDialog(DialogRegistry& reg);
void RegisterTetragonDialog(DialogRegistry& reg);
void RegisterPyramidDialog(DialogRegistry& reg);
void RegisterPrismDialog(DialogRegistry& reg);
void RegisterXOYDialog(DialogRegistry& reg);
void RegisterXYZDialog(DialogRegistry& reg);
void RegisterSphereDialog(DialogRegistry& reg);
void RegisterCylinderDialog(DialogRegistry& reg);
void RegisterConeDialog(DialogRegistry& reg);

}  // namespace pelmar
