// Every window that shows words takes the word table's texts, and a change of
// language in the options reaches every open window at once: a translation
// whose line N reads "L<N>" is chosen with the object dialogs open, and every
// control that a window's words name is compared with its line.  A second
// translation puts "&" in every text, which must show as "&".
//
// The table below lists, per window, where each word goes; a window that is
// open and shows words but has no entry here fails the walk, so a new window
// is added here with its words.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <map>

#include "dialogs/ui/dialog_registry.h"
#include "dialogs/ui/dialog_words.h"
#include "dialogs/ui/anim_dialog.h"
#include "dialogs/ui/apply_all_dialog.h"
#include "dialogs/ui/radio_group.h"
#include "shell/ui/new_project_dialog.h"
#include "editing/ui/picture_window.h"
#include "files/word_table.h"
#include "shell/ui/dialog_session.h"
#include "shell/ui/options_dialog.h"
#include "window_session.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

struct WindowWords {
    const char* window;
    std::vector<WordTarget> words;
};

// clang-format off
const std::vector<WindowWords>& Table() {
    static const std::vector<WindowWords> table{
    {"Form1",
     {Cap("MeFile", "{8}"),
      Cap("MeNew", "{9}"),
      Cap("MeOpen", "{10}"),
      Cap("MeSave", "{11}"),
      Cap("MeSaveAs", "{12}"),
      Cap("MeClose", "{13}"),
      Cap("MeExport", "{14}"),
      Cap("MePrint", "{15}"),
      Cap("MeExit", "{16}"),
      Cap("MeObjects", "{17}"),
      Cap("MeBackTo", "{18}"),
      Cap("MeToLi", "{19}"),
      Cap("MeToCi", "{20}"),
      Cap("MeToTr", "{21}"),
      Cap("MeToKv", "{22}"),
      Cap("MeToXY", "{23}"),
      Cap("MeToSf", "{24}"),
      Cap("MeToZi", "{25}"),
      Cap("MeToKo", "{26}"),
      Cap("MeToPi3", "{27}"),
      Cap("MeToPi4", "{28}"),
      Cap("MeToPr3", "{29}"),
      Cap("MeToPr4", "{30}"),
      Cap("MeToXZ", "{31}"),
      Cap("MeNewObj", "{32}"),
      Cap("MeNewPo", "{33}"),
      Cap("MeNewLi", "{34}"),
      Cap("MeNewCi", "{35}"),
      Cap("MeNewTr", "{36}"),
      Cap("MeNewKv", "{37}"),
      Cap("MeNewXY", "{38}"),
      Cap("MeNewSf", "{39}"),
      Cap("MeNewZi", "{40}"),
      Cap("MeNewKo", "{41}"),
      Cap("MeNewI3", "{42}"),
      Cap("MeNewI4", "{43}"),
      Cap("MeNewR3", "{44}"),
      Cap("MeNewR4", "{45}"),
      Cap("MeNewXZ", "{46}"),
      Cap("MeDel", "{47}"),
      Cap("MeEdit", "{48}"),
      Cap("MeUndo", "{49}"),
      Cap("MeRedo", "{50}"),
      Cap("MeCopy", "{51}"),
      Cap("MePaste", "{52}"),
      Cap("MeOptX", "{53}"),
      Cap("MeOptProg", "{54}"),
      Cap("MeOptProj", "{55}"),
      Cap("MeWinX", "{56}"),
      Cap("MeWinObj", "{57}"),
      Cap("MeWinImg", "{58}"),
      Cap("MeWinTrans", "{59}"),
      Cap("MeWinDef", "{60}"),
      Cap("MeHelpX", "{61}"),
      Cap("MeHelp", "{62}"),
      Cap("MeAbout", "{64}"),
      Hint("TBNew", "{254}"),
      Hint("TBOpen", "{255}"),
      Hint("TBSave", "{256}"),
      Hint("TBSaveAs", "{257}"),
      Hint("TBClose", "{258}"),
      Hint("TBExport", "{259}"),
      Hint("TBPrint", "{260}"),
      Hint("TBExit", "{261}"),
      Hint("ComboObj", "{262}"),
      Hint("ComboMas", "{263}"),
      Hint("TBPlay", "{265}"),
      Hint("TBToLi", "{267}"),
      Hint("TBToCi", "{268}"),
      Hint("TBToTr", "{269}"),
      Hint("TBToKv", "{270}"),
      Hint("TBToXY", "{271}"),
      Hint("TBToSf", "{272}"),
      Hint("TBToZi", "{273}"),
      Hint("TBToKo", "{274}"),
      Hint("TBToPi3", "{275}"),
      Hint("TBToPi4", "{276}"),
      Hint("TBToPr3", "{277}"),
      Hint("TBToPr4", "{278}"),
      Hint("TBToXZ", "{279}"),
      Hint("TBNewPo", "{280}"),
      Hint("TBNewLi", "{281}"),
      Hint("TBNewCi", "{282}"),
      Hint("TBNewTr", "{283}"),
      Hint("TBNewKv", "{284}"),
      Hint("TBNewXY", "{285}"),
      Hint("TBNewSf", "{286}"),
      Hint("TBNewZi", "{287}"),
      Hint("TBNewKo", "{288}"),
      Hint("TBNewI3", "{289}"),
      Hint("TBNewI4", "{290}"),
      Hint("TBNewR3", "{291}"),
      Hint("TBNewR4", "{292}"),
      Hint("TBNewXZ", "{293}"),
      Hint("TBDelete", "{294}"),
      Hint("TBUndo", "{295}"),
      Hint("TBRedo", "{296}"),
      Hint("TBCopy", "{297}"),
      Hint("TBPaste", "{298}"),
      Hint("TBOptProg", "{299}"),
      Hint("TBOptProj", "{300}"),
      Hint("TBWinObj", "{301}"),
      Hint("TBWinImg", "{302}"),
      Hint("TBWinTrans", "{303}"),
      Hint("TBWinDef", "{304}"),
      Hint("TBHelp", "{305}"),
      Hint("TBAbout", "{307}"),
      Hint("TBAnim", "{637}")}},
    {"FormOptions",
     {Cap("", "{88}"),
      Cap("TabSheet1", "{89}"),
      Cap("GroupBoxUndo", "{90}"),
      Cap("CheckBoxUndo", "{91}"),
      Cap("LabelUndo", "{92}"),
      Cap("GroupBoxOS", "{93}"),
      Cap("CheckBoxOS", "{94}"),
      Cap("LabelAs", "{95}"),
      Cap("ButtonAs", "{96}"),
      Cap("TabSheet2", "{97}"),
      Cap("BitBtn1", "{98}"),
      Cap("BitBtn2", "{99}"),
      Cap("BitBtn3", "{100}"),
      Cap("LabelColor", "{101}"),
      Cap("TabSheet3", "{102}"),
      Cap("GroupBoxTB", "{103}"),
      Cap("CheckBoxTBFile", "{104}"),
      Cap("CheckBoxTBBack", "{105}"),
      Cap("CheckBoxTBNewD", "{106}"),
      Cap("CheckBoxTBUndo", "{107}"),
      Cap("CheckBoxTBCopy", "{108}"),
      Cap("CheckBoxTBOpt", "{109}"),
      Cap("CheckBoxTBWin", "{110}"),
      Cap("CheckBoxTBHelp", "{111}"),
      Cap("ButtonTB", "{112}"),
      Cap("TabSheet4", "{113}"),
      Cap("LabelLangAuthor", "{114}"),
      Cap("LabelLangDate", "{115}"),
      Cap("LabelLangA", "{5}"),
      Cap("LabelLangD", "{6}")}},
    {"FormTrans",
     {Cap("", "{309}"),
      Cap("GroupBox1", "{310}"),
      Cap("CheckBoxAlls", "{311}"),
      Cap("CheckBoxCurr", "{312}"),
      Cap("CheckBoxSell", "{313}"),
      Cap("TabSheet1", "{315}"),
      Cap("GroupBoxPP1", "{316}"),
      Cap("TabSheet2", "{317}"),
      Cap("GroupBoxRo1", "{320}"),
      Cap("GroupBoxRo2", "{318} + {319}"),
      Cap("TabSheet3", "{321}"),
      Cap("GroupBoxGo1", "{318}"),
      Cap("TabSheet4", "{322}"),
      Cap("GroupBoxS11", "{318}"),
      Cap("TabSheet5", "{323}"),
      Cap("GroupBoxS21", "{325}"),
      Cap("GroupBoxS22", "{316}"),
      Cap("TabSheet6", "{324}"),
      Cap("GroupBoxS31", "{326}"),
      Cap("Button1", "{314}")}},
    {"FormShowIm",
     {Hint("TBLine", "{332}"),
      Hint("TBAdds", "{333}"),
      Hint("TBSell", "{334}"),
      Hint("TBEdit", "{335}"),
      Hint("TBPo", "{336}"),
      Hint("TBLi", "{337}"),
      Hint("TBCi", "{338}"),
      Hint("TBTr", "{339}"),
      Hint("TBKv", "{340}"),
      Hint("TBXY", "{341}"),
      Hint("TBSelAlls", "{342}"),
      Hint("TBSelNone", "{343}"),
      Hint("TBSelCurY", "{344}"),
      Hint("TBSelCurN", "{345}"),
      Hint("TBCopy", "{346}")}},
    {"FormPo",
     {Cap("", "{422}"),
      Cap("GroupBoxPMain1", "{365}"),
      Cap("LabelPLayer", "{355}"),
      Cap("LabelPCol", "{356}"),
      Cap("CheckBoxPDis", "{358}"),
      Cap("ButtonPSave", "{359}"),
      Cap("ButtonPLoad", "{360}"),
      Cap("GroupBoxPMain2", "{366}"),
      Cap("LabelPRad", "{367}"),
      Cap("LabelPTol", "{357}"),
      Cap("RadioGroupPTyp", "{369}"),
      Item("RadioGroupPTyp", 0, "{423}"),
      Item("RadioGroupPTyp", 1, "{424}"),
      Item("RadioGroupPTyp", 2, "{425}"),
      Cap("GroupBoxPName", "{426}"),
      Cap("LabelPName", "{427}"),
      Cap("LabelNRad", "{368}"),
      Cap("LabelPNAng", "{386}"),
      Cap("LabelPIndex", "{428}"),
      Cap("ButtonPAll", "{433}"),
      Cap("ButtonPoAnim", "{637}")}},
    {"FormLi",
     {Cap("", "{435}"),
      Cap("GroupBoxLM1", "{365}"),
      Cap("LabelLLayer", "{355}"),
      Cap("LabelLCol", "{356}"),
      Cap("LabelLTol", "{357}"),
      Cap("CheckBoxLDis", "{358}"),
      Cap("ButtonLSave", "{359}"),
      Cap("ButtonLLoad", "{360}"),
      Cap("GroupBoxLM2", "{366}"),
      Cap("LabelLAng", "{386}"),
      Cap("LabelLLen", "{391}"),
      Cap("GroupBoxLVid", "{370}"),
      Item("ComboBoxLType", 0, "{371}"),
      Item("ComboBoxLType", 1, "{372}"),
      Item("ComboBoxLType", 2, "{373}"),
      Cap("LabelLPri1", "{440}"),
      Cap("LabelLPri2", "{441}"),
      Cap("GroupBoxL1", "{442}"),
      Cap("CheckBoxLAr1", "{444}"),
      Cap("LabelLRad1", "{367}"),
      Cap("LabelLAng1", "{386}"),
      Cap("ButtonL1", "{442}"),
      Cap("GroupBoxL2", "{443}"),
      Cap("CheckBoxLAr2", "{444}"),
      Cap("LabelLRad2", "{367}"),
      Cap("LabelLAng2", "{386}"),
      Cap("ButtonL2", "{443}"),
      Cap("ButtonLAlls", "{445}")}},
    {"FormCi",
     {Cap("", "{447}"),
      Cap("GroupBoxCM1", "{365}"),
      Cap("LabelCLayer", "{355}"),
      Cap("LabelCCol", "{356}"),
      Cap("LabelCTol", "{357}"),
      Cap("CheckBoxCDis", "{358}"),
      Cap("ButtonCSave", "{359}"),
      Cap("ButtonCLoad", "{360}"),
      Cap("GroupBoxCM2", "{366}"),
      Cap("LabelCCenter", "{403}"),
      Cap("LabelCRad", "{448}"),
      Cap("CheckBoxCCi", "{449}"),
      Cap("LabelCAn", "{450}"),
      Cap("ButtonCCenter", "{403}"),
      Cap("GroupBoxCVid", "{370}"),
      Item("ComboBoxCTyp", 0, "{379}"),
      Item("ComboBoxCTyp", 1, "{380}"),
      Item("ComboBoxCTyp", 2, "{381}"),
      Item("ComboBoxCTyp", 3, "{382}"),
      Cap("LabelCDug1", "{451}"),
      Cap("LabelCDug2", "{452}"),
      Cap("LabelCDush1", "{453}"),
      Cap("LabelCDush2", "{454}"),
      Cap("LabelCPri1", "{455}"),
      Cap("LabelCPri2", "{456}"),
      Cap("GroupBoxC", "{457}"),
      Cap("CheckBoxCEn1", "{383}"),
      Cap("CheckBoxCEn2", "{383}"),
      Cap("CheckBoxCEn3", "{383}"),
      Cap("ButtonCRad1", "{458}"),
      Cap("ButtonCRad2", "{459}"),
      Cap("ButtonCRad3", "{460}"),
      Cap("GroupBoxCKor", "{461}"),
      Cap("GroupBoxCM3", "{462}"),
      Cap("LabelCCenter3", "{403}"),
      Cap("CheckBoxCCi3", "{449}"),
      Cap("LabelCRad3", "{448}"),
      Cap("ButtonCAll", "{463}"),
      Cap("ButtonCiAnim", "{637}"),
      Cap("ButtonCiBrush", "{660}")}},
    {"FormTr",
     {Cap("", "{465}"),
      Cap("TabSheet1", "{465}"),
      Cap("GroupBoxTM1", "{365}"),
      Cap("LabelTLayer", "{355}"),
      Cap("LabelTCol", "{356}"),
      Cap("LabelTTol", "{357}"),
      Cap("CheckBoxTDis", "{358}"),
      Cap("ButtonTSave", "{359}"),
      Cap("ButtonTLoad", "{360}"),
      Cap("GroupBoxTM2", "{366}"),
      Cap("LabelTAng1", "{387}"),
      Cap("LabelTAng2", "{388}"),
      Cap("LabelTAng3", "{389}"),
      Cap("LabelTLen1", "{392}"),
      Cap("LabelTLen2", "{393}"),
      Cap("LabelTLen3", "{394}"),
      Cap("ButtonTLine1", "{396}"),
      Cap("ButtonTLine2", "{397}"),
      Cap("ButtonTLine3", "{398}"),
      Cap("GroupBoxTVid", "{370}"),
      Item("ComboBoxTVid", 0, "{371}"),
      Item("ComboBoxTVid", 1, "{372}"),
      Item("ComboBoxTVid", 2, "{373}"),
      Item("ComboBoxTVid", 3, "{375}"),
      Cap("GroupBoxTCi", "{400}"),
      Cap("CheckBoxTcOpiEn", "{383}"),
      Cap("CheckBoxTcVpiEn", "{383}"),
      Cap("ButtonTcOpi", "{401}"),
      Cap("ButtonTcVpi", "{402}"),
      Cap("GroupBoxTTyp", "{369}"),
      Cap("RadioGroupTTyp", "{369}"),
      Item("RadioGroupTTyp", 0, "{466}"),
      Item("RadioGroupTTyp", 1, "{467}"),
      Item("RadioGroupTTyp", 2, "{468}"),
      Item("RadioGroupTTyp", 3, "{469}"),
      Cap("RadioGroupT3P", "{470}"),
      Cap("TabSheet2", "{471}"),
      Cap("CheckBoxTbEn1", "{383}"),
      Cap("Button8", "{472}"),
      Cap("RadioGroupTbLe1", "{473}"),
      Item("RadioGroupTbLe1", 0, "{474}"),
      Item("RadioGroupTbLe1", 1, "{475}"),
      Item("RadioGroupTbLe1", 2, "{476}"),
      Cap("RadioGroupTbTy1", "{369}"),
      Item("RadioGroupTbTy1", 0, "{477}"),
      Item("RadioGroupTbTy1", 1, "{478}"),
      Item("RadioGroupTbTy1", 2, "{479}"),
      Cap("CheckBoxTbEn2", "{383}"),
      Cap("Button9", "{472}"),
      Cap("RadioGroupTbLe2", "{473}"),
      Item("RadioGroupTbLe2", 0, "{474}"),
      Item("RadioGroupTbLe2", 1, "{475}"),
      Item("RadioGroupTbLe2", 2, "{476}"),
      Cap("RadioGroupTbTy2", "{369}"),
      Item("RadioGroupTbTy2", 0, "{477}"),
      Item("RadioGroupTbTy2", 1, "{478}"),
      Item("RadioGroupTbTy2", 2, "{479}"),
      Cap("CheckBoxTbEn3", "{383}"),
      Cap("Button10", "{472}"),
      Cap("RadioGroupTbLe3", "{473}"),
      Item("RadioGroupTbLe3", 0, "{474}"),
      Item("RadioGroupTbLe3", 1, "{475}"),
      Item("RadioGroupTbLe3", 2, "{476}"),
      Cap("RadioGroupTbTy3", "{369}"),
      Item("RadioGroupTbTy3", 0, "{477}"),
      Item("RadioGroupTbTy3", 1, "{478}"),
      Item("RadioGroupTbTy3", 2, "{479}"),
      Cap("CheckBoxTbEn4", "{383}"),
      Cap("Button11", "{472}"),
      Cap("RadioGroupTbLe4", "{473}"),
      Item("RadioGroupTbLe4", 0, "{474}"),
      Item("RadioGroupTbLe4", 1, "{475}"),
      Item("RadioGroupTbLe4", 2, "{476}"),
      Cap("RadioGroupTbTy4", "{369}"),
      Item("RadioGroupTbTy4", 0, "{477}"),
      Item("RadioGroupTbTy4", 1, "{478}"),
      Item("RadioGroupTbTy4", 2, "{479}"),
      Cap("CheckBoxTbEn5", "{383}"),
      Cap("Button12", "{472}"),
      Cap("RadioGroupTbLe5", "{473}"),
      Item("RadioGroupTbLe5", 0, "{474}"),
      Item("RadioGroupTbLe5", 1, "{475}"),
      Item("RadioGroupTbLe5", 2, "{476}"),
      Cap("RadioGroupTbTy5", "{369}"),
      Item("RadioGroupTbTy5", 0, "{477}"),
      Item("RadioGroupTbTy5", 1, "{478}"),
      Item("RadioGroupTbTy5", 2, "{479}"),
      Cap("ButtonTrBrush", "{660}")}},
    {"FormKv",
     {Cap("", "{481}"),
      Cap("TabSheet1", "{481} 1"),
      Cap("GroupBoxKM1", "{365}"),
      Cap("LabelKLayer", "{355}"),
      Cap("LabelKCol", "{356}"),
      Cap("LabelKTol", "{357}"),
      Cap("CheckBoxKDis", "{358}"),
      Cap("ButtonKSave", "{359}"),
      Cap("ButtonKLoad", "{360}"),
      Cap("GroupBoxKM2", "{366}"),
      Cap("LabelKAng1", "{387}"),
      Cap("LabelKAng2", "{388}"),
      Cap("LabelKAng3", "{389}"),
      Cap("LabelKAng4", "{390}"),
      Cap("LabelKLen1", "{392}"),
      Cap("LabelKLen2", "{393}"),
      Cap("LabelKLen3", "{394}"),
      Cap("LabelKLen4", "{395}"),
      Cap("ButtonKLine1", "{396}"),
      Cap("ButtonKLine2", "{397}"),
      Cap("ButtonKLine3", "{398}"),
      Cap("ButtonKLine4", "{399}"),
      Cap("GroupBoxKTyp", "{369}"),
      Cap("RadioGroupKTyp", "{369}"),
      Item("RadioGroupKTyp", 0, "{482}"),
      Item("RadioGroupKTyp", 1, "{483}"),
      Item("RadioGroupKTyp", 2, "{484}"),
      Item("RadioGroupKTyp", 3, "{485}"),
      Item("RadioGroupKTyp", 4, "{486}"),
      Item("RadioGroupKTyp", 5, "{487}"),
      Item("RadioGroupKTyp", 6, "{488}"),
      Cap("RadioGroupK3L", "{398}"),
      Cap("TabSheet2", "{481} 2"),
      Cap("GroupBoxKDi", "{489}"),
      Cap("CheckBoxKd13En", "{383}"),
      Cap("CheckBoxKd24En", "{383}"),
      Cap("CheckBoxKOEn", "{383}"),
      Cap("ButtonKd13", "{490}"),
      Cap("ButtonKd24", "{491}"),
      Cap("ButtonKO", "{403}"),
      Cap("GroupBoxKCi", "{400}"),
      Cap("CheckBoxKcOpiEn", "{383}"),
      Cap("CheckBoxKcVpiEn", "{383}"),
      Cap("ButtonKcOpi", "{401}"),
      Cap("ButtonKcVpi", "{402}"),
      Cap("GroupBoxKVid", "{370}"),
      Item("ComboBoxKVid", 0, "{371}"),
      Item("ComboBoxKVid", 1, "{372}"),
      Item("ComboBoxKVid", 2, "{373}"),
      Item("ComboBoxKVid", 3, "{375}"),
      Cap("ButtonKvBrush", "{660}")}},
    {"FormAnim",
     {Cap("", "{637}"),
      Cap("Label1", "{643}"),
      Cap("Label2", "{644}"),
      Cap("Label3", "{645}"),
      Cap("Label4", "{646}"),
      Cap("CheckBox2", "{647}"),
      Cap("Button1", "{648}"),
      Cap("Button2", "{649}")}},
    {"FormNew",
     {Cap("", "{187}"),
      Cap("GroupBox1", "{188}"),
      Cap("CheckBoxPo", "{189}"),
      Cap("CheckBoxLi", "{190}"),
      Cap("CheckBoxCi", "{191}"),
      Cap("CheckBoxTr", "{192}"),
      Cap("CheckBoxKv", "{193}"),
      Cap("CheckBoxXY", "{194}"),
      Cap("GroupBox2", "{195}"),
      Cap("CheckBoxSf", "{196}"),
      Cap("CheckBoxZi", "{197}"),
      Cap("CheckBoxKo", "{198}"),
      Cap("CheckBoxPi3", "{199}"),
      Cap("CheckBoxPi4", "{200}"),
      Cap("CheckBoxPr3", "{201}"),
      Cap("CheckBoxPr4", "{202}"),
      Cap("CheckBoxXZ", "{203}"),
      Cap("Button2", "{204}")}},
    {"FormPoOpt",
     {Cap("", "{608}"),
      Cap("GroupBox1", "{611}"),
      Cap("CheckBox1", "{613}"),
      Cap("CheckBox2", "{614}"),
      Cap("CheckBox3", "{615}"),
      Cap("CheckBox4", "{616}"),
      Cap("Button2", "{612}")}},
    {"FormLiOpt",
     {Cap("", "{609}"),
      Cap("GroupBox1", "{611}"),
      Cap("CheckBox1", "{617}"),
      Cap("CheckBox2", "{618}"),
      Cap("CheckBox3", "{619}"),
      Cap("Button2", "{612}")}},
    {"FormCiOpt",
     {Cap("", "{610}"),
      Cap("GroupBox1", "{611}"),
      Cap("CheckBox1", "{617}"),
      Cap("CheckBox2", "{618}"),
      Cap("Button2", "{612}")}},
    {"FormAnimPo",
     {Cap("", "{650}"),
      Cap("Label4", "{651}=")}},
    {"FormAnimCi",
     {Cap("", "{652}"),
      Cap("Label3", "{651}="),
      Cap("Label4", "{653}, {651}1="),
      Cap("Label5", "{653}, {651}2="),
      Cap("Label6", "R1, {651}="),
      Cap("Label7", "R2, {651}="),
      Cap("Label8", "R3, {651}=")}},
    };
    return table;
}
// clang-format on

// What a text shows: "&&" is one "&", a single "&" marks a shortcut and
// does not show.
QString Mnemonic(const QString& s) {
    QString out;
    for (int i = 0; i < s.size(); ++i) {
        if (s[i] == '&' && i + 1 < s.size()) ++i;
        else if (s[i] == '&') continue;
        out += s[i];
    }
    return out;
}

QObject* Control(QWidget& window, const char* name) {
    const QString n = QLatin1String(name);
    if (auto* a = window.findChild<QAction*>(n)) return a;
    return window.findChild<QWidget*>(n);
}

// The text a user reads in a slot; nullopt when the control cannot show it.
std::optional<QString> Shown(QWidget& window, const WordTarget& t) {
    if (!*t.control) return window.windowTitle();
    QObject* o = Control(window, t.control);
    if (!o) return std::nullopt;
    if (t.slot == WordSlot::Hint) {
        if (auto* a = qobject_cast<QAction*>(o)) return a->toolTip();
        return static_cast<QWidget*>(o)->toolTip();
    }
    if (t.slot == WordSlot::Item) {
        if (auto* r = qobject_cast<TRadioGroup*>(o); r && t.item < r->count()) return Mnemonic(r->itemText(t.item));
        if (auto* c = qobject_cast<QComboBox*>(o); c && t.item < c->count()) return c->itemText(t.item);
        return std::nullopt;
    }
    if (auto* a = qobject_cast<QAction*>(o)) return Mnemonic(a->text());
    if (auto* m = qobject_cast<QMenu*>(o)) return Mnemonic(m->title());
    if (auto* l = qobject_cast<QLabel*>(o)) return l->buddy() ? Mnemonic(l->text()) : l->text();
    if (auto* b = qobject_cast<QAbstractButton*>(o)) return Mnemonic(b->text());
    if (auto* g = qobject_cast<QGroupBox*>(o)) return Mnemonic(g->title());
    auto* page = static_cast<QWidget*>(o);
    QWidget* stack = page->parentWidget();
    if (auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr; tabs && tabs->indexOf(page) >= 0)
        return Mnemonic(tabs->tabText(tabs->indexOf(page)));
    return std::nullopt;
}

// The open window of that name: a top-level window or one inside another.
QWidget* OpenWindow(const char* name) {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (!top->isVisible()) continue;
        if (top->objectName() == QLatin1String(name)) return top;
        if (auto* inner = top->findChild<QWidget*>(QLatin1String(name)); inner && inner->isVisible()) return inner;
    }
    return nullptr;
}

// Every open window of the table compared with the word table `words`;
// `names` the windows that must be open.  Returns the mismatches.
std::vector<std::string> Walk(const WordTable& words, const std::vector<std::string>& names) {
    std::vector<std::string> wrong;
    std::map<std::string, const WindowWords*> byName;
    for (const WindowWords& w : Table()) byName[w.window] = &w;
    for (const std::string& n : names)
        if (!OpenWindow(n.c_str())) wrong.push_back(n + ": not open");
    for (const WindowWords& ww : Table()) {
        QWidget* window = OpenWindow(ww.window);
        if (!window) continue;
        for (const WordTarget& t : ww.words) {
            const QString want = WordText(t.text, words);
            const std::optional<QString> got = Shown(*window, t);
            if (!got || *got != want)
                wrong.push_back(std::string(ww.window) + "." + (*t.control ? t.control : "caption") +
                                (t.slot == WordSlot::Item ? "[" + std::to_string(t.item) + "]" : "") +
                                (t.slot == WordSlot::Hint ? " hint" : "") + ": '" +
                                (got ? got->toStdString() : "(none)") + "' want '" + want.toStdString() + "'");
        }
    }
    // A window that shows words without a table entry.
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible() && top->objectName().startsWith("Form") && !byName.count(top->objectName().toStdString()))
            wrong.push_back(top->objectName().toStdString() + ": open, but no words listed");
    return wrong;
}

std::string Joined(const std::vector<std::string>& v) {
    std::string s;
    for (const std::string& x : v) s += x + "\n";
    return s;
}

// A translation whose line N (5..685) reads word(N).
void WriteTranslation(const std::string& path, const std::string& name, const std::string& code,
                      const std::function<std::string(int)>& word) {
    WriteBytes(path, TranslationBytes(LastWordLine, [&](int n) -> std::string {
                   switch (n) {
                   case 1: return std::string(TranslateSignature);
                   case 2: return std::string(TranslateVersion);
                   case 3: return name;
                   case 4: return code;
                   default: return word(n);
                   }
               }));
}

}  // namespace

TEST(WindowWords, LanguageChangeReachesEveryOpenWindow) {
    QLocale::setDefault(QLocale(QLocale::Russian));
    WindowSession s;
    const std::string tr = s.dir.folder("prog/Translation");
    WriteTranslation(tr + "Lines.trs", "Lines", "GER", [](int n) { return "L" + std::to_string(n); });
    WriteTranslation(tr + "Amp.trs", "Amp", "TST", [](int n) { return "L" + std::to_string(n) + " & x"; });
    s.start();
    Form1& w = *s.w;
    DialogRegistry& reg = w.dialogSession().registry();
    for (Kind k : {Kind::po, Kind::li, Kind::ci, Kind::tr, Kind::kv})
        s.answers.counts[static_cast<std::size_t>(KindNumber(k)) - 1] = 1;
    w.run(MainCommand::New);
    std::vector<std::string> open{"Form1", "FormShowIm", "FormOptions"};
    for (Kind k : {Kind::po, Kind::li, Kind::tr, Kind::kv}) {
        ASSERT_TRUE(reg.open(k)) << InfoOf(NewObjectCommand(k)).menu;
        open.push_back(reg.dialog(k)->objectName().toStdString());
    }
    TFormOptions& options = ProgramOptions(w);
    options.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&options));

    // Before any change: the built-in texts everywhere.
    EXPECT_EQ(Joined(Walk(w.shell().words, open)), "");

    auto choose = [&](const std::string& file) {
        auto* tabs = options.findChild<QTabWidget*>("PageControl1");
        tabs->setCurrentWidget(options.findChild<QWidget*>("TabSheet4"));
        auto* list = options.findChild<QComboBox*>("ComboBox1");
        const auto& entries = options.languages().entries;
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (entries[i].file == file) {
                list->setCurrentIndex(static_cast<int>(i));
                emit list->activated(static_cast<int>(i));
                return;
            }
        ADD_FAILURE() << file << " not listed";
    };
    choose("Lines.trs");
    const WordTable& words = w.shell().words;
    ASSERT_EQ(words.WordLine(300), "L300");
    EXPECT_EQ(Joined(Walk(words, open)), "");
    // Qt's own texts follow the language where Qt has a translation.
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));
    // The picture window's caption follows the picture type.
    EXPECT_EQ(w.picture()->windowTitle(), QStringLiteral("L328 L329"));
    w.document().Im.PicMode = 1;

    // The ellipse dialog, closed during the change, takes the words when it
    // is next made; "&" shows as written everywhere.
    choose("Amp.trs");
    ASSERT_TRUE(reg.open(Kind::ci));
    open.push_back("FormCi");
    EXPECT_EQ(Joined(Walk(words, open)), "");
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    EXPECT_EQ(w.picture()->windowTitle(), QStringLiteral("L328 & x L330 & x"));
    // The animation builder, made when it is asked for, shows the new words.
    std::string animWords = "not shown";
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        std::vector<std::string> withAnim = open;
        withAnim.push_back("FormAnim");
        animWords = Joined(Walk(words, withAnim));
        if (modal) modal->close();
    });
    w.run(MainCommand::Anim);
    EXPECT_EQ(animWords, "");

    // Back to the built-in Russian, the settings remember it.
    choose("Russian");
    EXPECT_EQ(Joined(Walk(words, open)), "");
    EXPECT_NE(w.shell().settings.LangFile.find(BuiltInLanguage), std::string::npos);
    // Our English, shipped beside the program, on a program folder without it.
    choose("English.trs");
    EXPECT_EQ(Joined(Walk(words, open)), "");
    EXPECT_EQ(w.findChild<QMenu*>("MeFile")->title(), QStringLiteral("File"));
    EXPECT_EQ(options.windowTitle(), QStringLiteral("Program options"));
    options.close();
}

// Windows made anew on each use put the table of the moment on themselves:
// with the "L<N>" translation loaded, each shows exactly its lines.
TEST(WindowWords, WindowsMadeOnDemandTakeTheTable) {
    Scratch dir;
    const std::string file = dir.path("Lines.trs");
    WriteTranslation(file, "Lines", "TST", [](int n) { return "L" + std::to_string(n) + " & x"; });
    WordTable words;
    ASSERT_TRUE(words.LoadWords(file));
    struct NoCommit : DialogCommit {
        void ApplyObject(bool) override {}
        void RepaintProject() override {}
        bool NoRedraw() const override { return false; }
    } commit;
    DPoint point{};
    DCircle circle{};
    std::vector<std::unique_ptr<QWidget>> windows;
    windows.emplace_back(new FormNew(words));
    windows.emplace_back(NewFormPoOpt(words, nullptr));
    windows.emplace_back(NewFormLiOpt(words, nullptr));
    windows.emplace_back(NewFormCiOpt(words, nullptr));
    windows.emplace_back(NewFormAnimPo(point, words, commit, nullptr));
    windows.emplace_back(NewFormAnimCi(circle, words, commit, nullptr));
    std::vector<std::string> names;
    for (auto& w : windows) {
        w->show();
        names.push_back(w->objectName().toStdString());
    }
    EXPECT_EQ(Joined(Walk(words, names)), "");
}
