#include "editing/dialog_focus.h"

#include <array>

#include "editing/editing_state.h"
#include "editing/kind_access.h"

namespace pelmar {

namespace {

using List = std::vector<std::string>;

List TriangleList() {
    List l{"EditTID",      "ComboBoxTLayer", "SpinEditTTol",    "ColorComboBoxTCol", "CheckBoxTDis",  "ButtonTSave",
           "ButtonTLoad",  "SpinEditTx1",    "SpinEditTy1",     "SpinEditTx2",       "SpinEditTy2",   "SpinEditTx3",
           "SpinEditTy3",  "EditTAng1",      "EditTAng2",       "EditTAng3",         "EditTLen1",     "EditTLen2",
           "EditTLen3",    "ButtonTLine1",   "ButtonTLine2",    "ButtonTLine3",      "ComboBoxTVid",  "CheckBoxTcOpiEn",
           "ButtonTcOpi",  "CheckBoxTcVpiEn", "ButtonTcVpi",    "RadioGroupTTyp",    "RadioGroupT3P", "EditTH"};
    for (int j = 1; j <= 5; ++j) {
        const std::string n = std::to_string(j);
        l.push_back("CheckBoxTbEn" + n);
        l.push_back("Button" + std::to_string(7 + j));
        l.push_back("RadioGroupTbVe" + n);
        l.push_back("RadioGroupTbLe" + n);
        l.push_back("RadioGroupTbTy" + n);
    }
    return l;
}

List OrbList() {
    List l{"EditSID",     "ComboBoxSLayer", "SpinEditSTol", "ColorComboBoxSCol", "CheckBoxSDis",
           "ButtonSSave", "ButtonSLoad",    "SpinEditSx",   "SpinEditSy",        "ButtonSCenter",
           "SpinEditSRad", "ComboBoxSVid",  "CheckBoxSTe",  "ButtonSTe"};
    for (int j = 1; j <= 7; ++j) {
        l.push_back("CheckBoxSe" + std::to_string(j));
        l.push_back("ButtonSe" + std::to_string(j));
    }
    return l;
}

const std::array<List, KindCount>& AllLists() {
    static const std::array<List, KindCount> lists = [] {
        std::array<List, KindCount> a;
        a[Slot(Kind::po)] = {"EditPID",      "ComboBoxPLayer", "ColorComboBoxPCol", "CheckBoxPDis",  "ButtonPSave",
                             "ButtonPLoad",  "EditPx",         "EditPy",            "EditPxx",       "EditPyy",
                             "EditPzz",      "SpinEditPRad",   "SpinEditPTol",      "RadioGroupPTyp", "EditPName",
                             "FontComboBoxP1", "CheckBoxPBo1", "CheckBoxPIt1",      "SpinEditPSize1", "SpinEditPNRad",
                             "SpinEditPNAng", "EditPUp",       "EditPDown",         "FontComboBoxP2", "CheckBoxPBo2",
                             "CheckBoxPIt2", "SpinEditPSize2", "ButtonPAll"};
        a[Slot(Kind::li)] = {"EditLID",       "ComboBoxLLayer", "SpinEditLTol",  "ColorComboBoxLCol", "CheckBoxLDis",
                             "ButtonLSave",   "ButtonLLoad",    "EditLAng",      "EditLLen",          "ComboBoxLType",
                             "SpinEditLPri1", "SpinEditLPri2",  "EditLx1",       "EditLy1",           "EditLxx1",
                             "EditLyy1",      "EditLzz1",       "CheckBoxLAr1",  "SpinEditLRad1",     "SpinEditLAng1",
                             "ButtonL1",      "EditLx2",        "EditLy2",       "EditLxx2",          "EditLyy2",
                             "EditLzz2",      "CheckBoxLAr2",   "SpinEditLRad2", "SpinEditLAng2",     "ButtonL2",
                             "ButtonLAlls"};
        a[Slot(Kind::ci)] = {"EditCID",       "ComboBoxCLayer", "SpinEditCTol", "ColorComboBoxCCol", "CheckBoxCDis",
                             "ButtonCSave",   "ButtonCLoad",    "SpinEditCx",   "SpinEditCy",        "SpinEditCa",
                             "SpinEditCb",    "CheckBoxCCi",    "ButtonCCenter", "EditCAn",          "ComboBoxCTyp",
                             "EditCDug1",     "EditCDug2",      "EditCDush1",   "EditCDush2",        "SpinEditCPri1",
                             "SpinEditCPri2", "CheckBoxCEn1",   "ButtonCRad1",  "CheckBoxCEn2",      "ButtonCRad2",
                             "CheckBoxCEn3",  "ButtonCRad3",    "Buttona1",     "Buttona2",          "Buttonb1",
                             "Buttonb2",      "CheckBoxCCi3",   "SpinEditCx3",  "SpinEditCy3",       "SpinEditCz3",
                             "SpinEditCa3",   "SpinEditCb3",    "ButtonCAll"};
        a[Slot(Kind::tr)] = TriangleList();
        a[Slot(Kind::kv)] = {"EditKID",        "ComboBoxKLayer", "SpinEditKTol",    "ColorComboBoxKCol", "CheckBoxKDis",
                             "ButtonKSave",    "ButtonKLoad",    "SpinEditKx1",     "SpinEditKy1",       "SpinEditKx2",
                             "SpinEditKy2",    "SpinEditKx3",    "SpinEditKy3",     "SpinEditKx4",       "SpinEditKy4",
                             "EditKAng1",      "EditKAng2",      "EditKAng3",       "EditKAng4",         "EditKLen1",
                             "EditKLen2",      "EditKLen3",      "EditKLen4",       "ButtonKLine1",      "ButtonKLine2",
                             "ButtonKLine3",   "ButtonKLine4",   "RadioGroupKTyp",  "RadioGroupK3L",     "EditKH",
                             "CheckBoxKd13En", "CheckBoxKd24En", "CheckBoxKOEn",    "ButtonKd13",        "ButtonKd24",
                             "ButtonKO",       "CheckBoxKcOpiEn", "CheckBoxKcVpiEn", "ButtonKcOpi",      "ButtonKcVpi",
                             "ComboBoxKVid"};
        a[Slot(Kind::xy)] = {"EditXID",        "ComboBoxXLayer", "SpinEditXTol",   "ColorComboBoxXCol", "CheckBoxXDis",
                             "ButtonXSave",    "ButtonXLoad",    "EditXMasx",      "EditXMasy",         "ButtonXCenter",
                             "ButtonXX",       "ButtonXY",       "CheckBoxXSEn",   "SpinEditXSTol",     "SpinEditXSJump",
                             "EditXRazx",      "EditXRazy",      "SpinEditXRazW",  "SpinEditXRazH",     "CheckBoxXPodEn",
                             "SpinEditXPodJump", "FontComboBoxX", "CheckBoxXPodBo", "CheckBoxXPodIt",   "SpinEditXPodSize",
                             "CheckBoxX21",    "EditX21",        "ButtonX1",       "CheckBoxX22",       "EditX22",
                             "ButtonX2",       "CheckBoxX23",    "EditX23",        "ButtonX3",          "CheckBoxX24",
                             "EditX24",        "ButtonX4",       "CheckBoxX25",    "EditX251",          "EditX252",
                             "ButtonX5",       "CheckBoxX26",    "EditX26",        "ButtonX6"};
        a[Slot(Kind::sf)] = OrbList();
        a[Slot(Kind::zi)] = {"EditZID",        "ComboBoxZLayer", "SpinEditZTol",  "ColorComboBoxZCol", "CheckBoxZDis",
                             "ButtonZSave",    "ButtonZLoad",    "SpinEditZRad",  "SpinEditZH",        "ButtonZH",
                             "ButtonZNiz",     "ButtonZVer",     "ComboBoxZVid",  "CheckBoxZSeTerm",   "ButtonZSeTerm",
                             "CheckBoxZSeMain", "ButtonZSeMain", "CheckBoxZSeAdd1", "ButtonZSeAdd1",   "CheckBoxZSeAdd2",
                             "ButtonZSeAdd2",  "EditZSeAdd1",    "EditZSeAdd2",   "CheckBoxZSOpi",     "ButtonZSOpi",
                             "CheckBoxZSVpi",  "ButtonZSVpi"};
        a[Slot(Kind::ko)] = {"EditKID",        "ComboBoxKLayer", "SpinEditKTol",    "ColorComboBoxKCol", "CheckBoxKDis",
                             "ButtonKSave",    "ButtonKLoad",    "SpinEditKRad",    "SpinEditKH",        "ButtonKBase",
                             "ButtonKH",       "ComboBoxKVid",   "CheckBoxKSeTerm", "ButtonKSeTerm",     "CheckBoxKSeMain",
                             "ButtonKSeMain",  "CheckBoxKSeAdd1", "ButtonKSeAdd1",  "CheckBoxKSeAdd2",   "ButtonKSeAdd2",
                             "EditKSeAdd1",    "EditKSeAdd2",    "CheckBoxKSOpi",   "ButtonKSOpi",       "CheckBoxKSVpi",
                             "ButtonKSVpi"};
        a[Slot(Kind::i3)] = {"EditPID",      "ComboBoxPLayer", "SpinEditPTol", "ColorComboBoxPCol", "CheckBoxPDis",
                             "ButtonPSave",  "ButtonPLoad",    "CheckBoxPH",   "EditPH",            "ButtonPH",
                             "ButtonPBase",  "ButtonPGran1",   "ButtonPGran2", "ButtonPGran3",      "ButtonPGran4",
                             "RadioGroupPType", "RadioGroupPVer", "ButtonPAn2", "EditPAn2",         "ComboBoxPVid",
                             "CheckBoxPSOpi", "ButtonPSOpi",   "CheckBoxPSVpi", "ButtonPSVpi"};
        a[Slot(Kind::i4)] = a[Slot(Kind::i3)];
        a[Slot(Kind::r3)] = {"EditPID",       "ComboBoxPLayer", "SpinEditPTol", "ColorComboBoxPCol", "CheckBoxPDis",
                             "ButtonPSave",   "ButtonPLoad",    "ButtonPNiz",   "ButtonPVer",        "ButtonPGran1",
                             "ButtonPGran2",  "ButtonPGran3",   "ButtonPGran4", "RadioGroupPType",   "EditPRebP1",
                             "EditPRebP2",    "EditPRebP3",     "EditPRebLe",   "ButtonPAn2",        "EditPAn2",
                             "ComboBoxPVid",  "CheckBoxPSOpi",  "ButtonPSOpi",  "CheckBoxPSVpi",     "ButtonPSVpi"};
        a[Slot(Kind::r4)] = a[Slot(Kind::r3)];
        a[Slot(Kind::xz)] = {"EditYID",       "ComboBoxYLayer", "SpinEditYTol",   "ColorComboBoxYCol", "CheckBoxYDis",
                             "ButtonYSave",   "ButtonYLoad",    "EditYMas",       "ButtonYCenter",     "ButtonY_X",
                             "ButtonY_Y",     "ButtonY_Z",      "EditYRaz",       "SpinEditYRazW",     "SpinEditYRazH",
                             "CheckBoxYPodEn", "SpinEditYPodJump", "FontComboBoxY", "CheckBoxYPodBo",  "CheckBoxYPodIt",
                             "SpinEditYPodSize", "CheckBoxY1",  "EditY1",         "ButtonY1",          "ButtonY11",
                             "CheckBoxY2",    "EditY2",         "ButtonY2",       "ButtonY22",         "CheckBoxY4",
                             "EditY4",        "ButtonY4",       "ButtonY33",      "CheckBoxY3",        "EditY31",
                             "EditY32",       "EditY33",        "ButtonY3"};
        return a;
    }();
    return lists;
}

// f(kind) for the open dialogs in kind order; a shared dialog once, with the
// kind whose flag is set.
template <class F>
void ForEachOpenDialog(const EditingState& st, F&& f) {
    for (Kind k : {Kind::po, Kind::li, Kind::ci, Kind::tr, Kind::kv, Kind::xy, Kind::sf, Kind::zi, Kind::ko}) {
        if (DialogIsOpen(st, k)) f(k);
    }
    for (auto [three, four] : {std::pair{Kind::i3, Kind::i4}, std::pair{Kind::r3, Kind::r4}}) {
        if (DialogIsOpen(st, three)) f(three);
        else if (DialogIsOpen(st, four)) f(four);
    }
    if (DialogIsOpen(st, Kind::xz)) f(Kind::xz);
}

}  // namespace

const std::vector<std::string>& FocusControls(Kind k) { return AllLists()[Slot(k)]; }

int FocusPage(Kind k, int index) {
    switch (k) {
        case Kind::tr:
        case Kind::kv: return index <= 30 ? 1 : 2;
        case Kind::xy: return index <= 25 ? 1 : 2;
        case Kind::xz: return index <= 21 ? 1 : 2;
        default: return 0;
    }
}

int GetFocusIndex(const EditingState& st) {
    int result = 0;
    ForEachOpenDialog(st, [&](Kind k) {
        const std::string active = st.DialogWindows->ActiveControl(k);
        if (active.empty()) return;
        const auto& list = FocusControls(k);
        for (std::size_t i = 0; i < list.size(); ++i)
            if (list[i] == active) result = static_cast<int>(i) + 1;
    });
    return result;
}

void RestoreFocus(EditingState& st, int index) {
    ForEachOpenDialog(st, [&](Kind k) {
        if (const int page = FocusPage(k, index)) st.DialogWindows->SelectPage(k, page);
        const auto& list = FocusControls(k);
        if (index >= 1 && index <= static_cast<int>(list.size()))
            st.DialogWindows->Activate(k, list[static_cast<std::size_t>(index) - 1]);
    });
}

}  // namespace pelmar
