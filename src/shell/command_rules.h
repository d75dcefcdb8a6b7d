// Which commands are enabled when, and the commands that are plain logic
// over the windows: the no-project state, the states after New or Open, the
// selection rule, the new-object capacities and the Back-to family.  The
// windows stand behind small interfaces, so that tests answer for them.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "model/records.h"
#include "shell/command_table.h"

namespace pelmar {

// The enabled state of the commands; a command's menu item and tool button
// are enabled together.
class MainCommandStates {
public:
    virtual ~MainCommandStates() = default;
    virtual void setEnabled(MainCommand c, bool on) = 0;
    virtual bool enabled(MainCommand c) const = 0;
};

using CommandState = std::pair<MainCommand, bool>;
void ApplyStates(MainCommandStates& states, const std::vector<CommandState>& list);

// The object dialogs: the two pyramid kinds share one, so do the two prisms.
enum class KindDialog : std::uint8_t { Po, Li, Ci, Tr, Kv, XY, Sf, Zi, Ko, Pi, Pr, XZ };
KindDialog DialogOf(Kind k);

// A set of kinds.
class KindSet {
public:
    constexpr KindSet() = default;
    constexpr KindSet(std::initializer_list<Kind> kinds) {
        for (Kind k : kinds) bits_ |= Bit(k);
    }
    static constexpr KindSet All() {
        KindSet s;
        s.bits_ = (1u << KindCount) - 1;
        return s;
    }
    constexpr bool has(Kind k) const { return (bits_ & Bit(k)) != 0; }
    constexpr bool operator==(const KindSet&) const = default;

private:
    static constexpr std::uint32_t Bit(Kind k) { return 1u << (KindNumber(k) - 1); }
    std::uint32_t bits_ = 0;
};

// ---------------------------------------------------------------------------
// The no-project state (start-up and Close)

// The commands that need a document.
const std::vector<MainCommand>& DocumentCommands();

// What the no-project state does to the windows beside the commands.
class NoProjectHost {
public:
    virtual ~NoProjectHost() = default;
    virtual MainCommandStates& commands() = 0;
    virtual std::array<bool, KindCount>& dialogOpen() = 0;  // FormPoOpen .. FormXZOpen
    virtual void closeObjectDialog(KindDialog d) = 0;
    virtual void deleteUndoFiles() = 0;
    virtual void setCaption(const std::string& caption) = 0;  // main window and application title
    // Not at start-up: the transformations window disabled, the draw tools
    // off, the pictures emptied, the object combo emptied and the zoom combo
    // blank, both disabled.
    virtual void leaveDocument() = 0;
};

// Disables every command that needs a document, closes the open object
// dialogs (a shared dialog once) and clears their flags, deletes the undo
// files, sets the caption "Pelmar"; when not at start-up, leaveDocument.
void SetNoProjectState(bool startUp, NoProjectHost& host);

// ---------------------------------------------------------------------------
// A document set up by New or Open

struct DocumentFacts {
    bool untitled = true;                  // the document has no file yet
    bool undoLoading = false;              // an undo snapshot is being reloaded
    bool raster = true;                    // picture mode raster
    std::array<int, KindCount> counts{};   // objects of each kind
};

// A kind may take one more object while it holds fewer than its capacity.
bool NewObjectEnabled(Kind k, int count);

// The command states after New or Open: Undo and Redo off (unless a snapshot
// is reloaded), Save exactly when untitled, Save As, Close, Copy, project
// options, object windows and Play on, Export and Print off, Animation on a
// raster picture, each new object below its capacity, Delete from two
// objects on.
std::vector<CommandState> DocumentCommandStates(const DocumentFacts& facts);

// Export and Print are enabled while nothing is selected.
std::vector<CommandState> SelectionCommandStates(bool anySelected);

// ---------------------------------------------------------------------------
// The Back-to family

struct BackToRow {
    Kind kind;                // the parent kind returned to
    KindSet closed;           // dialogs closed, each when its open flag is set
    bool closePointAlways;    // the point dialog is closed whatever its flag
    bool clearOpenFlags;      // the open flags of the closed dialogs are cleared
    KindSet rolesCleared;     // sub-object role bytes set to 0
    bool suspendCommits;      // commits off while the parent's dialog is created
    KindSet disabled;         // Back-to commands disabled afterwards
};

// The row of a parent kind (every kind but the point).
const BackToRow& BackToRowOf(Kind k);

// What the Back-to command does to the windows.
class BackToHost {
public:
    virtual ~BackToHost() = default;
    virtual MainCommandStates& commands() = 0;
    virtual std::array<bool, KindCount>& dialogOpen() = 0;
    virtual void closeObjectDialog(KindDialog d) = 0;
    virtual std::array<std::uint8_t, KindCount>& roleBytes() = 0;
    virtual void setApplyEnabled(bool on) = 0;
    virtual void keepWorkingCopy(Kind k) = 0;     // a copy of the kind's working copy
    virtual void restoreWorkingCopy(Kind k) = 0;  // put that copy back
    virtual void createObjectDialog(Kind k) = 0;
    virtual void fillObjectDialog(Kind k) = 0;    // from the working copy
};

// Makes the parent of kind k the edited object again.
void BackTo(Kind k, BackToHost& host);

// No object is open as a sub-object: the fourteen role bytes of the document
// become 0 (Open, a new current object, the Back-to commands of the solids).
void ClearRoleBytes(DProj& doc);

}  // namespace pelmar
