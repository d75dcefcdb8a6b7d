// The commands a full redraw locks: the main window keeps the list and the
// states the tool buttons had, so that the redraw only says "lock" and
// "unlock" (CommandRole::lockCommands).
#pragma once

#include <array>
#include <string>

namespace pelmar {

// The tool buttons that a full redraw disables and afterwards restores.
inline constexpr std::array<const char*, 41> LockedButtons{
    "TBNew",    "TBOpen",  "TBSave",  "TBSaveAs", "TBClose", "TBExport", "TBPrint", "TBNewPo", "TBNewLi",
    "TBNewCi",  "TBNewTr", "TBNewKv", "TBNewXY",  "TBDelete", "TBUndo",  "TBRedo",  "TBCopy",  "TBPaste",
    "TBOptProg", "TBOptProj", "TBToLi", "TBToCi", "TBToTr",  "TBToXY",  "TBNewSf", "TBToSf",  "TBNewZi",
    "TBToZi",   "TBNewKo", "TBToKo",  "TBNewI3",  "TBToPi3", "TBNewI4", "TBToPi4", "TBNewR3", "TBToPr3",
    "TBNewR4",  "TBToPr4", "TBNewXZ", "TBToXZ",   "TBAnim"};

// The tool bar as the lock sees it: buttons by object name.
class ToolButtonStates {
public:
    virtual ~ToolButtonStates() = default;
    virtual bool toolButtonEnabled(const std::string& name) = 0;
    virtual void setToolButtonEnabled(const std::string& name, bool on) = 0;
};

class ButtonLock {
public:
    // Keeps the enabled state of every locked button and disables it.
    void lock(ToolButtonStates& bar);
    // Gives every locked button the state kept by the last lock (disabled
    // when there was none).
    void unlock(ToolButtonStates& bar);

private:
    std::array<bool, LockedButtons.size()> saved_{};
};

}  // namespace pelmar
