// The main window's commands as data: every command with its menu item and
// tool button (object names, word-table lines of caption and hint, shortcut,
// tool group), the menu tree, the tool bar in its order, and the kinds the
// per-kind commands stand for.  The main window builds its menu and tool bar
// from these tables; the enable rules (command_rules.h) use them too.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "model/records.h"
#include "shell/settings.h"

namespace pelmar {

enum class MainCommand : std::uint8_t {
    New, Open, Save, SaveAs, Close, Export, Print, Exit,
    File1, File2, File3, File4, File5,
    ToLi, ToCi, ToTr, ToKv, ToXY, ToSf, ToZi, ToKo, ToPi3, ToPi4, ToPr3, ToPr4, ToXZ,
    NewPo, NewLi, NewCi, NewTr, NewKv, NewXY, NewSf, NewZi, NewKo, NewI3, NewI4, NewR3, NewR4, NewXZ,
    Delete, Undo, Redo, Copy, Paste, OptProg, OptProj,
    WinObj, WinImg, WinTrans, WinDef, Help, About, Play, Anim,
    None = 255
};
inline constexpr int CommandCount = static_cast<int>(MainCommand::Anim) + 1;

struct CommandInfo {
    MainCommand command;
    const char* menu;       // object name of the menu item; nullptr: no menu item
    const char* tool;       // object name of the tool button; nullptr: no tool button
    int menuWord;           // word-table line of the menu caption (0: set elsewhere)
    int hintWord;           // word-table line of the tool button's hint (0: none)
    ToolGroup group;        // the tool group that shows or hides the button
    const char* shortcut;   // key sequence the menu shows ("" none)
};

// One row per command, in MainCommand order.
extern const std::array<CommandInfo, CommandCount> CommandTable;

const CommandInfo& InfoOf(MainCommand c);

// The Back-to command of a parent kind (every kind but the point).
std::optional<MainCommand> BackToCommand(Kind k);
// The new-object command of a kind.
MainCommand NewObjectCommand(Kind k);
// The kind a Back-to or new-object command stands for.
std::optional<Kind> KindOfCommand(MainCommand c);
// Recent-file command n (1..5).
MainCommand RecentFileCommand(int n);

// The menu tree in order.  Level 0 are the menu bar's menus, level 1 their
// items, level 2 the items of a submenu (the level-1 entry before them).  A
// separator has no name; a submenu or menu has no command.
struct MenuEntry {
    int level;
    const char* name;
    int word;
    MainCommand command;
};
extern const std::array<MenuEntry, 67> MenuTree;

// The tool bar in order.
enum class ToolItemKind : std::uint8_t { Button, Separator, Combo };
struct ToolItem {
    const char* name;
    ToolItemKind kind;
    MainCommand command;  // Button only
    int hintWord;     // 0: none
    ToolGroup group;  // ToolGroup::None: always shown
};
extern const std::array<ToolItem, 60> ToolBarItems;

// Whether the tool-bar item shows under the given group flags.
bool ToolItemVisible(const ToolItem& item, const std::array<bool, ToolGroupCount>& showTB);

// Word-table lines of texts the main window puts up beside its commands.
inline constexpr int WordNoPrinter = 635;

// Caption of the main window: "Pelmar" without a document, "Pelmar  -  name"
// with one.
std::string MainCaption(const std::string& docName);

}  // namespace pelmar
