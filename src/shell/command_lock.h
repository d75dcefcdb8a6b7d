// The commands a full redraw locks: the main window keeps the list and the
// states the commands had, so that the redraw only says "lock" and "unlock"
// (CommandRole::lockCommands).
#pragma once

#include <array>

#include "shell/command_rules.h"
#include "shell/command_table.h"

namespace pelmar {

// The commands whose tool buttons a full redraw disables and afterwards
// restores.
inline constexpr std::array<MainCommand, 41> LockedButtons{
    MainCommand::New,   MainCommand::Open,   MainCommand::Save,    MainCommand::SaveAs,  MainCommand::Close,   MainCommand::Export,
    MainCommand::Print, MainCommand::NewPo,  MainCommand::NewLi,   MainCommand::NewCi,   MainCommand::NewTr,   MainCommand::NewKv,
    MainCommand::NewXY, MainCommand::Delete, MainCommand::Undo,    MainCommand::Redo,    MainCommand::Copy,    MainCommand::Paste,
    MainCommand::OptProg, MainCommand::OptProj, MainCommand::ToLi, MainCommand::ToCi,    MainCommand::ToTr,    MainCommand::ToXY,
    MainCommand::NewSf, MainCommand::ToSf,   MainCommand::NewZi,   MainCommand::ToZi,    MainCommand::NewKo,   MainCommand::ToKo,
    MainCommand::NewI3, MainCommand::ToPi3,  MainCommand::NewI4,   MainCommand::ToPi4,   MainCommand::NewR3,   MainCommand::ToPr3,
    MainCommand::NewR4, MainCommand::ToPr4,  MainCommand::NewXZ,   MainCommand::ToXZ,    MainCommand::Anim};

class ButtonLock {
public:
    // Keeps the enabled state of every locked command and disables it.
    void lock(MainCommandStates& states);
    // Gives every locked command the state kept by the last lock (disabled
    // when there was none).
    void unlock(MainCommandStates& states);

private:
    std::array<bool, LockedButtons.size()> saved_{};
};

}  // namespace pelmar
