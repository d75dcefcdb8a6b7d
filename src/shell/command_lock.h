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
inline constexpr std::array<Command, 41> LockedButtons{
    Command::New,   Command::Open,   Command::Save,    Command::SaveAs,  Command::Close,   Command::Export,
    Command::Print, Command::NewPo,  Command::NewLi,   Command::NewCi,   Command::NewTr,   Command::NewKv,
    Command::NewXY, Command::Delete, Command::Undo,    Command::Redo,    Command::Copy,    Command::Paste,
    Command::OptProg, Command::OptProj, Command::ToLi, Command::ToCi,    Command::ToTr,    Command::ToXY,
    Command::NewSf, Command::ToSf,   Command::NewZi,   Command::ToZi,    Command::NewKo,   Command::ToKo,
    Command::NewI3, Command::ToPi3,  Command::NewI4,   Command::ToPi4,   Command::NewR3,   Command::ToPr3,
    Command::NewR4, Command::ToPr4,  Command::NewXZ,   Command::ToXZ,    Command::Anim};

class ButtonLock {
public:
    // Keeps the enabled state of every locked command and disables it.
    void lock(CommandStates& states);
    // Gives every locked command the state kept by the last lock (disabled
    // when there was none).
    void unlock(CommandStates& states);

private:
    std::array<bool, LockedButtons.size()> saved_{};
};

}  // namespace pelmar
