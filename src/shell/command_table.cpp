#include "shell/command_table.h"

#include <string>

namespace pelmar {

namespace {

using C = MainCommand;
using G = ToolGroup;

}  // namespace

const std::array<CommandInfo, CommandCount> CommandTable{{
    {C::New, "MeNew", "TBNew", 9, 254, G::File, "Ctrl+N"},
    {C::Open, "MeOpen", "TBOpen", 10, 255, G::File, "Ctrl+O"},
    {C::Save, "MeSave", "TBSave", 11, 256, G::File, "Ctrl+S"},
    {C::SaveAs, "MeSaveAs", "TBSaveAs", 12, 257, G::File, "Ctrl+Shift+S"},
    {C::Close, "MeClose", "TBClose", 13, 258, G::File, "Ctrl+W"},
    {C::Export, "MeExport", "TBExport", 14, 259, G::File, "Ctrl+E"},
    {C::Print, "MePrint", "TBPrint", 15, 260, G::File, "Ctrl+P"},
    {C::Exit, "MeExit", "TBExit", 16, 261, G::File, "Ctrl+Q"},
    {C::File1, "MeFile1", nullptr, 0, 0, G::None, ""},
    {C::File2, "MeFile2", nullptr, 0, 0, G::None, ""},
    {C::File3, "MeFile3", nullptr, 0, 0, G::None, ""},
    {C::File4, "MeFile4", nullptr, 0, 0, G::None, ""},
    {C::File5, "MeFile5", nullptr, 0, 0, G::None, ""},
    {C::ToLi, "MeToLi", "TBToLi", 19, 267, G::Back, ""},
    {C::ToCi, "MeToCi", "TBToCi", 20, 268, G::Back, ""},
    {C::ToTr, "MeToTr", "TBToTr", 21, 269, G::Back, ""},
    {C::ToKv, "MeToKv", "TBToKv", 22, 270, G::Back, ""},
    {C::ToXY, "MeToXY", "TBToXY", 23, 271, G::Back, ""},
    {C::ToSf, "MeToSf", "TBToSf", 24, 272, G::Back, ""},
    {C::ToZi, "MeToZi", "TBToZi", 25, 273, G::Back, ""},
    {C::ToKo, "MeToKo", "TBToKo", 26, 274, G::Back, ""},
    {C::ToPi3, "MeToPi3", "TBToPi3", 27, 275, G::Back, ""},
    {C::ToPi4, "MeToPi4", "TBToPi4", 28, 276, G::Back, ""},
    {C::ToPr3, "MeToPr3", "TBToPr3", 29, 277, G::Back, ""},
    {C::ToPr4, "MeToPr4", "TBToPr4", 30, 278, G::Back, ""},
    {C::ToXZ, "MeToXZ", "TBToXZ", 31, 279, G::Back, ""},
    {C::NewPo, "MeNewPo", "TBNewPo", 33, 280, G::NewD, ""},
    {C::NewLi, "MeNewLi", "TBNewLi", 34, 281, G::NewD, ""},
    {C::NewCi, "MeNewCi", "TBNewCi", 35, 282, G::NewD, ""},
    {C::NewTr, "MeNewTr", "TBNewTr", 36, 283, G::NewD, ""},
    {C::NewKv, "MeNewKv", "TBNewKv", 37, 284, G::NewD, ""},
    {C::NewXY, "MeNewXY", "TBNewXY", 38, 285, G::NewD, ""},
    {C::NewSf, "MeNewSf", "TBNewSf", 39, 286, G::NewD, ""},
    {C::NewZi, "MeNewZi", "TBNewZi", 40, 287, G::NewD, ""},
    {C::NewKo, "MeNewKo", "TBNewKo", 41, 288, G::NewD, ""},
    {C::NewI3, "MeNewI3", "TBNewI3", 42, 289, G::NewD, ""},
    {C::NewI4, "MeNewI4", "TBNewI4", 43, 290, G::NewD, ""},
    {C::NewR3, "MeNewR3", "TBNewR3", 44, 291, G::NewD, ""},
    {C::NewR4, "MeNewR4", "TBNewR4", 45, 292, G::NewD, ""},
    {C::NewXZ, "MeNewXZ", "TBNewXZ", 46, 293, G::NewD, ""},
    {C::Delete, "MeDel", "TBDelete", 47, 294, G::NewD, "Del"},
    {C::Undo, "MeUndo", "TBUndo", 49, 295, G::Undo, "Ctrl+Z"},
    {C::Redo, "MeRedo", "TBRedo", 50, 296, G::Undo, "Ctrl+Y"},
    {C::Copy, "MeCopy", "TBCopy", 51, 297, G::Copy, "Ctrl+C"},
    {C::Paste, "MePaste", "TBPaste", 52, 298, G::Copy, "Ctrl+V"},
    {C::OptProg, "MeOptProg", "TBOptProg", 54, 299, G::Opt, ""},
    {C::OptProj, "MeOptProj", "TBOptProj", 55, 300, G::Opt, ""},
    {C::WinObj, "MeWinObj", "TBWinObj", 57, 301, G::Win, ""},
    {C::WinImg, "MeWinImg", "TBWinImg", 58, 302, G::Win, ""},
    {C::WinTrans, "MeWinTrans", "TBWinTrans", 59, 303, G::Win, ""},
    {C::WinDef, "MeWinDef", "TBWinDef", 60, 304, G::Win, ""},
    {C::Help, "MeHelp", "TBHelp", 62, 305, G::Help, "F1"},
    {C::About, "MeAbout", "TBAbout", 64, 307, G::Help, ""},
    {C::Play, nullptr, "TBPlay", 0, 265, G::None, ""},
    {C::Anim, nullptr, "TBAnim", 0, 637, G::None, ""},
}};

const std::array<MenuEntry, 67> MenuTree{{
    {0, "MeFile", 8, C::None},
    {1, "MeNew", 9, C::New},
    {1, "MeOpen", 10, C::Open},
    {1, "MeSave", 11, C::Save},
    {1, "MeSaveAs", 12, C::SaveAs},
    {1, "MeClose", 13, C::Close},
    {1, nullptr, 0, C::None},
    {1, "MeExport", 14, C::Export},
    {1, "MePrint", 15, C::Print},
    {1, nullptr, 0, C::None},
    {1, "MeFile1", 0, C::File1},
    {1, "MeFile2", 0, C::File2},
    {1, "MeFile3", 0, C::File3},
    {1, "MeFile4", 0, C::File4},
    {1, "MeFile5", 0, C::File5},
    {1, nullptr, 0, C::None},
    {1, "MeExit", 16, C::Exit},

    {0, "MeObjects", 17, C::None},
    {1, "MeBackTo", 18, C::None},
    {2, "MeToLi", 19, C::ToLi},
    {2, "MeToCi", 20, C::ToCi},
    {2, "MeToTr", 21, C::ToTr},
    {2, "MeToKv", 22, C::ToKv},
    {2, "MeToXY", 23, C::ToXY},
    {2, "MeToSf", 24, C::ToSf},
    {2, "MeToZi", 25, C::ToZi},
    {2, "MeToKo", 26, C::ToKo},
    {2, "MeToPi3", 27, C::ToPi3},
    {2, "MeToPi4", 28, C::ToPi4},
    {2, "MeToPr3", 29, C::ToPr3},
    {2, "MeToPr4", 30, C::ToPr4},
    {2, "MeToXZ", 31, C::ToXZ},
    {1, "MeNewObj", 32, C::None},
    {2, "MeNewPo", 33, C::NewPo},
    {2, "MeNewLi", 34, C::NewLi},
    {2, "MeNewCi", 35, C::NewCi},
    {2, "MeNewTr", 36, C::NewTr},
    {2, "MeNewKv", 37, C::NewKv},
    {2, "MeNewXY", 38, C::NewXY},
    {2, nullptr, 0, C::None},
    {2, "MeNewSf", 39, C::NewSf},
    {2, "MeNewZi", 40, C::NewZi},
    {2, "MeNewKo", 41, C::NewKo},
    {2, "MeNewI3", 42, C::NewI3},
    {2, "MeNewI4", 43, C::NewI4},
    {2, "MeNewR3", 44, C::NewR3},
    {2, "MeNewR4", 45, C::NewR4},
    {2, "MeNewXZ", 46, C::NewXZ},
    {1, "MeDel", 47, C::Delete},

    {0, "MeEdit", 48, C::None},
    {1, "MeUndo", 49, C::Undo},
    {1, "MeRedo", 50, C::Redo},
    {1, nullptr, 0, C::None},
    {1, "MeCopy", 51, C::Copy},
    {1, "MePaste", 52, C::Paste},

    {0, "MeOptX", 53, C::None},
    {1, "MeOptProg", 54, C::OptProg},
    {1, "MeOptProj", 55, C::OptProj},

    {0, "MeWinX", 56, C::None},
    {1, "MeWinObj", 57, C::WinObj},
    {1, "MeWinImg", 58, C::WinImg},
    {1, "MeWinTrans", 59, C::WinTrans},
    {1, nullptr, 0, C::None},
    {1, "MeWinDef", 60, C::WinDef},

    {0, "MeHelpX", 61, C::None},
    {1, "MeHelp", 62, C::Help},
    {1, "MeAbout", 64, C::About},
}};

namespace {

constexpr ToolItem Button(MainCommand c) {
    return {nullptr, ToolItemKind::Button, c, 0, G::None};  // name, hint and group from the command table
}
constexpr ToolItem Sep(const char* name, ToolGroup g) { return {name, ToolItemKind::Separator, C::None, 0, g}; }

// The tool bar with the buttons' names, hints and groups taken from the command table.
std::array<ToolItem, 60> MakeToolBar() {
    std::array<ToolItem, 60> items{{
        Button(C::New), Button(C::Open), Button(C::Save), Button(C::SaveAs), Button(C::Close), Button(C::Export),
        Button(C::Print), Button(C::Exit), Sep("TBSep1", G::File),
        {"ComboObj", ToolItemKind::Combo, C::None, 262, G::None},
        {"ComboMas", ToolItemKind::Combo, C::None, 263, G::None},
        Button(C::Play), Button(C::Anim), Sep("TBSep2", G::Back),
        Button(C::ToLi), Button(C::ToCi), Button(C::ToTr), Button(C::ToKv), Button(C::ToXY), Button(C::ToSf),
        Button(C::ToZi), Button(C::ToKo), Button(C::ToPi3), Button(C::ToPi4), Button(C::ToPr3), Button(C::ToPr4),
        Button(C::ToXZ), Sep("TBSep3", G::NewD),
        Button(C::NewPo), Button(C::NewLi), Button(C::NewCi), Button(C::NewTr), Button(C::NewKv), Button(C::NewXY),
        Button(C::NewSf), Button(C::NewZi), Button(C::NewKo), Button(C::NewI3), Button(C::NewI4), Button(C::NewR3),
        Button(C::NewR4), Button(C::NewXZ), Button(C::Delete), Sep("TBSep4", G::None),
        Button(C::Undo), Button(C::Redo), Sep("TBSep5", G::None),
        Button(C::Copy), Button(C::Paste), Sep("TBSep6", G::None),
        Button(C::OptProg), Button(C::OptProj), Sep("TBSep7", G::None),
        Button(C::WinObj), Button(C::WinImg), Button(C::WinTrans), Button(C::WinDef), Sep("TBSep8", G::None),
        Button(C::Help), Button(C::About),
    }};
    for (ToolItem& t : items) {
        if (t.kind != ToolItemKind::Button) continue;
        const CommandInfo& c = InfoOf(t.command);
        t.name = c.tool;
        t.hintWord = c.hintWord;
        t.group = c.group;
    }
    return items;
}

}  // namespace

const std::array<ToolItem, 60> ToolBarItems = MakeToolBar();

const CommandInfo& InfoOf(MainCommand c) { return CommandTable[static_cast<std::size_t>(c)]; }

std::optional<MainCommand> BackToCommand(Kind k) {
    if (k == Kind::po) return std::nullopt;
    return static_cast<MainCommand>(static_cast<int>(C::ToLi) + KindNumber(k) - 2);
}

MainCommand NewObjectCommand(Kind k) {
    return static_cast<MainCommand>(static_cast<int>(C::NewPo) + KindNumber(k) - 1);
}

std::optional<Kind> KindOfCommand(MainCommand c) {
    const int n = static_cast<int>(c);
    if (n >= static_cast<int>(C::ToLi) && n <= static_cast<int>(C::ToXZ))
        return static_cast<Kind>(n - static_cast<int>(C::ToLi) + 2);
    if (n >= static_cast<int>(C::NewPo) && n <= static_cast<int>(C::NewXZ))
        return static_cast<Kind>(n - static_cast<int>(C::NewPo) + 1);
    return std::nullopt;
}

MainCommand RecentFileCommand(int n) { return static_cast<MainCommand>(static_cast<int>(C::File1) + n - 1); }

bool ToolItemVisible(const ToolItem& item, const std::array<bool, ToolGroupCount>& showTB) {
    return item.group == ToolGroup::None || showTB[static_cast<std::size_t>(item.group)];
}

std::string MainCaption(const std::string& docName) {
    return docName.empty() ? std::string("Pelmar") : "Pelmar  -  " + docName;
}

}  // namespace pelmar
