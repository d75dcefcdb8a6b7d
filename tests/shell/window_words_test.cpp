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
#include <QMdiSubWindow>
#include <QMenu>
#include <QRadioButton>
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
#include "editing/ui/copy_question.h"
#include "editing/ui/delete_question.h"
#include "editing/ui/picture_window.h"
#include "files/ui/bit_colors_dialog.h"
#include "files/word_table.h"
#include "office/ui/cdr_export_dialog.h"
#include "office/ui/export_dialogs.h"
#include "office/ui/word_export_dialog.h"
#include "shell/ui/dialog_session.h"
#include "shell/ui/options_dialog.h"
#include "shell/ui/tool_icons.h"
#include "shell/ui/picture_settings_dialog.h"
#include "shell/ui/fill_settings_dialog.h"
#include "dialogs/ui/graph_options_dialog.h"
#include "dialogs/ui/fill_dialog.h"
#include "dialogs/ui/outline_dialog.h"
#include "dialogs/dialog_host.h"
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
    {"FormImage",
     {Cap("", "{117}"),
      Cap("TabSheet1", "{118}"),
      Cap("LabelWidth", "{119}"),
      Cap("LabelHeight", "{120}"),
      Cap("LabelPix1", "{121}"),
      Cap("LabelPix2", "{121}"),
      Cap("LabelSm1", "{122}"),
      Cap("LabelSm2", "{122}"),
      Cap("ButtonF", "{123}"),
      Cap("RadioGroupFont", "{124}"),
      Item("RadioGroupFont", 0, "{125}"),
      Item("RadioGroupFont", 1, "{126}"),
      Cap("RadioGroupType", "{127}"),
      Item("RadioGroupType", 0, "{128}"),
      Item("RadioGroupType", 1, "{129}"),
      Cap("CheckBoxAntiA", "{264}"),
      Cap("TabSheet2", "{130}"),
      Cap("GroupBox1", "{131}"),
      Cap("ButtonFon", "{132}"),
      Cap("ButtonUpd", "{133}"),
      Cap("CheckBoxFon", "{134}"),
      Cap("LabelFon", "{135}"),
      Cap("RadioGroupFon", "{136}"),
      Item("RadioGroupFon", 0, "{137}"),
      Item("RadioGroupFon", 1, "{138}"),
      Item("RadioGroupFon", 2, "{139}"),
      Cap("TabSheet5", "{140}"),
      Cap("LabelPri1", "{141}"),
      Item("ComboBoxPri", 10, "{142}"),
      Cap("LabelPri2", "{143}"),
      Cap("LabelPri3", "{144}"),
      Cap("LabelPrism1", "{145}"),
      Cap("LabelPrism2", "{145}"),
      Cap("GroupBoxPri1", "{146}"),
      Cap("RadioButtonPri1", "{147}"),
      Cap("RadioButtonPri2", "{148}"),
      Cap("LabelPri4", "{149}"),
      Cap("LabelPri5", "{150}"),
      Cap("LabelPrism3", "{145}"),
      Cap("LabelPrism4", "{145}"),
      Cap("GroupBoxPri2", "{151}"),
      Cap("ButtonPri1", "{153}"),
      Cap("ButtonPri2", "{152}"),
      Cap("TabSheet3", "{154}"),
      Cap("TabSheet6", "{163}"),
      Cap("LabelI1", "{164}"),
      Cap("LabelI2", "{165}"),
      Cap("LabelI3", "{166}"),
      Cap("LabelI1", "{164}"),
      Cap("Button2", "{167}")}},
    {"FormImageBr",
     {Cap("", "{117}: {154}"),
      Cap("TabSheet1", "{154}"),
      Cap("RadioG1", "{155}"),
      Item("RadioG1", 0, "{156}"),
      Item("RadioG1", 1, "{157}"),
      Cap("RadioG2", "{158}"),
      Cap("GroupG1", "{159}, %"),
      Cap("RadioG3", "{160}"),
      Cap("GroupG2", "{161}"),
      Cap("GroupG3", "{162}")}},
    {"FormBitColors",
     {Cap("", "{214}"),
      Cap("RadioGroup1", "{215}"),
      Cap("GroupBox1", "{216}"),
      Cap("CheckBox1", "{217}"),
      Cap("Label1", "{218}"),
      Cap("Button2", "{219}")}},
    // The shape exports write OpenDocument files; their captions and status
    // lines name that file type.
    {"FormCDR",
     {Cap("", "{220}OpenDocument Drawing (.odg)"),
      Cap("GroupBox2", "{221}"),
      Cap("Label2", "{222}"),
      Item("RadioGroupRun", 0, "{223}"),
      Item("RadioGroupRun", 1, "{224}"),
      Item("RadioGroupRun", 2, "{225}"),
      Cap("RadioGroupGroup", "{226}"),
      Item("RadioGroupGroup", 0, "{227}"),
      Item("RadioGroupGroup", 1, "{228}"),
      Cap("GroupBox3", "{229}"),
      Cap("CheckBoxArrow", "{230}"),
      Cap("Label1", "{231}"),
      Cap("Label3", "{232}"),
      Cap("GroupBox4", "{233}"),
      Cap("LabelStatus1", "{236}OpenDocument Drawing (.odg)..."),
      Cap("LabelStatus2", "{348}"),
      Cap("Button2", "{219}")}},
    {"FormWord",
     {Item("RadioGroupRun", 0, "{223}"),
      Item("RadioGroupRun", 1, "{224}"),
      Item("RadioGroupRun", 2, "{225}"),
      Cap("GroupBox3", "{229}"),
      Cap("Label1", "{231}"),
      Cap("Label3", "{232}"),
      Cap("GroupBox4", "{233}"),
      // Its first showing names the file type after line 236.
      Cap("LabelStatus1", "{236}OpenDocument Text (.odt)..."),
      Cap("LabelStatus2", "{348}"),
      Cap("Button2", "{219}")}},
    {"FormXY",
     {Cap("", "{493}"),
      Cap("TabSheet1", "{493}"),
      Cap("GroupBoxXMain1", "{365}"),
      Cap("LabelXLayer", "{355}"),
      Cap("LabelXCol", "{356}"),
      Cap("LabelXTol", "{357}"),
      Cap("CheckBoxXDis", "{358}"),
      Cap("ButtonXSave", "{359}"),
      Cap("ButtonXLoad", "{360}"),
      Cap("GroupBoxXMas", "{494}"),
      Cap("LabelXedpix", "{495}"),
      Cap("ButtonXCenter", "{403}"),
      Cap("ButtonXX", "{496}"),
      Cap("ButtonXY", "{497}"),
      Cap("GroupBoxXS", "{499}"),
      Cap("CheckBoxXSEn", "{383}"),
      Cap("LabelXSTol", "{500}"),
      Cap("LabelXJump", "{501}"),
      Cap("GroupBoxXRaz1", "{502}"),
      Cap("GroupBoxXRaz2", "{503}"),
      Cap("LabelXRazx", "{504}"),
      Cap("LabelXRazy", "{505}"),
      Cap("LabelXRazw", "{507}"),
      Cap("LabelXRazh", "{508}"),
      Cap("GroupBoxXRaz3", "{509}"),
      Cap("CheckBoxXPodEn", "{383}"),
      Cap("LabelXPodJump", "{501}"),
      Cap("TabSheet2", "{510}"),
      Cap("GroupBoxX21", "{511}"),
      Cap("CheckBoxX21", "{383}"),
      Cap("GroupBoxX22", "{512}"),
      Cap("CheckBoxX22", "{383}"),
      Cap("GroupBoxX23", "{513}"),
      Cap("CheckBoxX23", "{383}"),
      Cap("GroupBoxX24", "{514}"),
      Cap("CheckBoxX24", "{383}"),
      Cap("GroupBoxX25", "{515}"),
      Cap("CheckBoxX25", "{383}"),
      Cap("GroupBoxX26", "{516}"),
      Cap("CheckBoxX26", "{383}"),
      Hint("BitBtn1", "{637}"),
      Hint("BitBtn2", "{637}"),
      Hint("BitBtn3", "{637}"),
      Hint("BitBtn4", "{637}"),
      Hint("BitBtn5", "{637}"),
      Hint("BitBtn6", "{637}")}},
    {"FormXOYOpt",
     {Cap("", "{520}"),
      Cap("TabSheet1", "{521}"),
      Cap("GroupBox1", "{522}"),
      Cap("Label1", "{357}"),
      Cap("Label2", "{356}"),
      Cap("RadioGroupVi1", "{523}"),
      Item("RadioGroupVi1", 0, "{524}"),
      Item("RadioGroupVi1", 1, "{525}"),
      Cap("GroupBoxDot", "{526}"),
      Cap("LabelDot1", "{527}"),
      Cap("LabelDot2", "{528}"),
      Cap("RadioGroupVi2", "{529}"),
      Item("RadioGroupVi2", 0, "{524}"),
      Item("RadioGroupVi2", 1, "{525}"),
      Item("RadioGroupVi2", 2, "{530}"),
      Cap("TabSheet2", "{531}"),
      Cap("GroupBoxDec", "{532}"),
      Cap("GroupBoxPol", "{533}"),
      Cap("GroupBoxPar", "{534}"),
      Cap("CheckBoxGran", "{535}"),
      Cap("TabSheet3", "{536}"),
      Cap("GroupBoxTrans1", "{537}"),
      Cap("CheckBoxTrans1", "{538}"),
      Cap("GroupBoxTrans11", "{539}"),
      Cap("GroupBoxTrans12", "{540}"),
      Cap("GroupBoxTrans2", "{541}"),
      Cap("CheckBoxTrans2", "{542}"),
      Cap("ButtonX1Anim", "{637}"),
      Cap("ButtonX2Anim", "{637}")}},
    {"FormSf",
     {Cap("", "{559}"),
      Cap("GroupBoxSM1", "{365}"),
      Cap("LabelSLayer", "{355}"),
      Cap("LabelSCol", "{356}"),
      Cap("LabelSTol", "{357}"),
      Cap("CheckBoxSDis", "{358}"),
      Cap("ButtonSSave", "{359}"),
      Cap("ButtonSLoad", "{360}"),
      Cap("GroupBoxSM2", "{366}"),
      Cap("LabelSx", "{560}"),
      Cap("LabelSy", "{561}"),
      Cap("ButtonSCenter", "{403}"),
      Cap("LabelSRad", "{367}"),
      Cap("GroupBoxSVid", "{370}"),
      Item("ComboBoxSVid", 0, "{379}"),
      Item("ComboBoxSVid", 1, "{380}"),
      Item("ComboBoxSVid", 2, "{381}"),
      Item("ComboBoxSVid", 3, "{375}"),
      Item("ComboBoxSVid", 4, "{376}"),
      Item("ComboBoxSVid", 5, "{378}"),
      Cap("GroupBoxSCut", "{412}"),
      Cap("CheckBoxSTe", "{413}"),
      Cap("ButtonSTe", "{413}"),
      Cap("ButtonSfBrush", "{660}")}},
    {"FormZi",
     {Cap("", "{563}"),
      Cap("GroupBoxZM1", "{365}"),
      Cap("LabelZLayer", "{355}"),
      Cap("LabelZCol", "{356}"),
      Cap("LabelZTol", "{357}"),
      Cap("CheckBoxZDis", "{358}"),
      Cap("ButtonZSave", "{359}"),
      Cap("ButtonZLoad", "{360}"),
      Cap("GroupBoxZM2", "{366}"),
      Cap("LabelZRad", "{367}"),
      Cap("LabelZH", "{405}"),
      Cap("ButtonZH", "{406}"),
      Cap("ButtonZNiz", "{407}"),
      Cap("ButtonZVer", "{408}"),
      Cap("GroupBoxZVid", "{370}"),
      Item("ComboBoxZVid", 0, "{371}"),
      Item("ComboBoxZVid", 1, "{372}"),
      Item("ComboBoxZVid", 2, "{373}"),
      Item("ComboBoxZVid", 3, "{375}"),
      Item("ComboBoxZVid", 4, "{376}"),
      Item("ComboBoxZVid", 5, "{377}"),
      Cap("GroupBoxZSe", "{412}"),
      Cap("CheckBoxZSeTerm", "{383}"),
      Cap("CheckBoxZSeMain", "{383}"),
      Cap("CheckBoxZSeAdd1", "{383}"),
      Cap("CheckBoxZSeAdd2", "{383}"),
      Cap("ButtonZSeTerm", "{413}"),
      Cap("ButtonZSeMain", "{414}"),
      Cap("ButtonZSeAdd1", "{564}"),
      Cap("ButtonZSeAdd2", "{565}"),
      Cap("LabelZSeAdd1", "{386}"),
      Cap("LabelZSeAdd2", "{386}"),
      Cap("GroupBoxZOrb", "{409}"),
      Cap("CheckBoxZSOpi", "{410}"),
      Cap("CheckBoxZSVpi", "{411}"),
      Cap("ButtonZSOpi", "{410}"),
      Cap("ButtonZSVpi", "{411}"),
      Cap("ButtonZiAnim", "{637}"),
      Cap("ButtonZiBrush", "{660}")}},
    {"FormKo",
     {Cap("", "{567}"),
      Cap("GroupBoxKM1", "{365}"),
      Cap("LabelKLayer", "{355}"),
      Cap("LabelKCol", "{356}"),
      Cap("LabelKTol", "{357}"),
      Cap("CheckBoxKDis", "{358}"),
      Cap("ButtonKSave", "{359}"),
      Cap("ButtonKLoad", "{360}"),
      Cap("GroupBoxKM2", "{366}"),
      Cap("LabelKRad", "{367}"),
      Cap("LabelKH", "{405}"),
      Cap("ButtonKH", "{406}"),
      Cap("ButtonKBase", "{407}"),
      Cap("GroupBoxKVid", "{370}"),
      Item("ComboBoxKVid", 0, "{371}"),
      Item("ComboBoxKVid", 1, "{372}"),
      Item("ComboBoxKVid", 2, "{373}"),
      Item("ComboBoxKVid", 3, "{375}"),
      Item("ComboBoxKVid", 4, "{376}"),
      Item("ComboBoxKVid", 5, "{377}"),
      Cap("GroupBoxKSe", "{412}"),
      Cap("CheckBoxKSeTerm", "{383}"),
      Cap("CheckBoxKSeMain", "{383}"),
      Cap("CheckBoxKSeAdd1", "{383}"),
      Cap("CheckBoxKSeAdd2", "{383}"),
      Cap("ButtonKSeTerm", "{413}"),
      Cap("ButtonKSeMain", "{414}"),
      Cap("ButtonKSeAdd1", "{568}"),
      Cap("ButtonKSeAdd2", "{569}"),
      Cap("LabelKAn1", "{386}"),
      Cap("LabelKAn2", "{386}"),
      Cap("GroupBoxKOrb", "{409}"),
      Cap("CheckBoxKSOpi", "{410}"),
      Cap("CheckBoxKSVpi", "{411}"),
      Cap("ButtonKSOpi", "{410}"),
      Cap("ButtonKSVpi", "{411}"),
      Cap("ButtonKoAnim", "{637}"),
      Cap("ButtonKoBrush", "{660}")}},
    {"FormPi",
     {Cap("", "{571}"),
      Cap("GroupBoxPM1", "{365}"),
      Cap("LabelPLayer", "{355}"),
      Cap("LabelPCol", "{356}"),
      Cap("LabelPTol", "{357}"),
      Cap("CheckBoxPDis", "{358}"),
      Cap("ButtonPSave", "{359}"),
      Cap("ButtonPLoad", "{360}"),
      Cap("GroupBoxPM2", "{366}"),
      Cap("GroupBoxPH", "{406}"),
      Cap("CheckBoxPH", "{383}"),
      Cap("ButtonPH", "{406}"),
      Cap("ButtonPBase", "{407}"),
      Cap("ButtonPGran1", "{415}"),
      Cap("ButtonPGran2", "{416}"),
      Cap("ButtonPGran3", "{417}"),
      Cap("ButtonPGran4", "{418}"),
      Cap("RadioGroupPType", "{369}"),
      Cap("GroupBoxPOri", "{419}"),
      Cap("RadioGroupPVer", "{576}"),
      Cap("ButtonPAn2", "{420}"),
      Cap("GroupBoxPVid", "{370}"),
      Item("ComboBoxPVid", 0, "{371}"),
      Item("ComboBoxPVid", 1, "{372}"),
      Item("ComboBoxPVid", 2, "{373}"),
      Item("ComboBoxPVid", 3, "{375}"),
      Item("ComboBoxPVid", 4, "{376}"),
      Item("ComboBoxPVid", 5, "{378}"),
      Cap("GroupBoxPOrb", "{409}"),
      Cap("CheckBoxPSOpi", "{410}"),
      Cap("CheckBoxPSVpi", "{411}"),
      Cap("ButtonPSOpi", "{410}"),
      Cap("ButtonPSVpi", "{411}"),
      Cap("ButtonPiAnim", "{637}"),
      Cap("ButtonPiBrush", "{660}")}},
    {"FormPr",
     {Cap("", "{579}"),
      Cap("GroupBoxPM1", "{365}"),
      Cap("LabelPLayer", "{355}"),
      Cap("LabelPCol", "{356}"),
      Cap("LabelPTol", "{357}"),
      Cap("CheckBoxPDis", "{358}"),
      Cap("ButtonPSave", "{359}"),
      Cap("ButtonPLoad", "{360}"),
      Cap("GroupBoxPM2", "{366}"),
      Cap("ButtonPNiz", "{407}"),
      Cap("ButtonPVer", "{408}"),
      Cap("ButtonPGran1", "{415}"),
      Cap("ButtonPGran2", "{416}"),
      Cap("ButtonPGran3", "{417}"),
      Cap("ButtonPGran4", "{418}"),
      Cap("RadioGroupPType", "{369}"),
      Cap("GroupBoxPBok", "{581}"),
      Cap("LabelPRebP", "{582}"),
      Cap("LabelPRebH", "{406}"),
      Cap("LabelPRebLe", "{391}"),
      Cap("GroupBoxPOri", "{419}"),
      Cap("ButtonPAn2", "{420}"),
      Cap("GroupBoxPVid", "{370}"),
      Item("ComboBoxPVid", 0, "{371}"),
      Item("ComboBoxPVid", 1, "{372}"),
      Item("ComboBoxPVid", 2, "{373}"),
      Item("ComboBoxPVid", 3, "{375}"),
      Item("ComboBoxPVid", 4, "{376}"),
      Item("ComboBoxPVid", 5, "{378}"),
      Cap("GroupBoxPOrb", "{409}"),
      Cap("CheckBoxPSOpi", "{410}"),
      Cap("CheckBoxPSVpi", "{411}"),
      Cap("ButtonPSOpi", "{410}"),
      Cap("ButtonPSVpi", "{411}"),
      Cap("ButtonPrAnim", "{637}"),
      Cap("ButtonPrBrush", "{660}")}},
    {"FormXZ",
     {Cap("", "{543}"),
      Cap("TabSheet1", "{543}"),
      Cap("GroupBoxYM1", "{365}"),
      Cap("LabelYLayer", "{355}"),
      Cap("LabelYColor", "{356}"),
      Cap("LabelYTol", "{357}"),
      Cap("CheckBoxYDis", "{358}"),
      Cap("ButtonYSave", "{359}"),
      Cap("ButtonYLoad", "{360}"),
      Cap("GroupBoxYMas", "{494}"),
      Cap("LabelYedpix", "{495}"),
      Cap("ButtonYCenter", "{403}"),
      Cap("ButtonY_X", "{496}"),
      Cap("ButtonY_Y", "{497}"),
      Cap("ButtonY_Z", "{498}"),
      Cap("GroupBoxYRaz1", "{502}"),
      Cap("GroupBoxYRaz2", "{503}"),
      Cap("LabelYRaz", "{506}"),
      Cap("LabelYRazw", "{507}"),
      Cap("LabelYRazh", "{508}"),
      Cap("GroupBoxYRaz3", "{509}"),
      Cap("CheckBoxYPodEn", "{383}"),
      Cap("LabelYPodJump", "{501}"),
      Cap("TabSheet2", "{544}"),
      Cap("GroupBoxY1", "{511}"),
      Cap("CheckBoxY1", "{383}"),
      Cap("CheckBoxY10", "{518}"),
      Cap("ButtonY10", "{519}"),
      Cap("ButtonY11", "{545}"),
      Cap("GroupBoxY2", "{512}"),
      Cap("CheckBoxY2", "{383}"),
      Cap("CheckBoxY20", "{518}"),
      Cap("ButtonY20", "{519}"),
      Cap("ButtonY22", "{545}"),
      Cap("GroupBoxY3", "{515}"),
      Cap("CheckBoxY3", "{383}"),
      Cap("CheckBoxY40", "{518}"),
      Cap("ButtonY30", "{519}"),
      Cap("ButtonY33", "{545}"),
      Cap("GroupBoxY4", "{516}"),
      Cap("CheckBoxY4", "{383}")}},
    {"FormOL",
     {Cap("", "{547}"),
      Cap("CheckBox1", "{548}"),
      Cap("Label5", "{549}"),
      Cap("Label6", "{550}"),
      Cap("RadioGroup1", "{551}"),
      Item("RadioGroup1", 0, "{552}"),
      Item("RadioGroup1", 1, "{553}")}},
    {"FormBrush",
     {Cap("", "{660}"),
      Cap("CheckBox1", "{660}")}},
    {"FormQCopy",
     {Cap("", "{169}"),
      Cap("Label1", "{170}"),
      Cap("GroupBox1", "{171}"),
      Cap("RadioButton1", "{172}"),
      Cap("RadioButton2", "{173}"),
      Cap("RadioButton3", "{174}"),
      Cap("Button1", "{175}"),
      Cap("Button2", "{176}")}},
    {"FormQDel",
     {Cap("", "{178}"),
      Cap("Label1", "{179}"),
      Cap("RadioGroup1", "{180}"),
      Item("RadioGroup1", 0, "{181}"),
      Item("RadioGroup1", 1, "{182}"),
      Cap("Label2", "{183}"),
      Cap("Button1", "{184}"),
      Cap("Button2", "{185}")}},
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
        // A group of plain radio buttons: the items in their order.
        if (auto* g = qobject_cast<QGroupBox*>(o)) {
            const auto items = g->findChildren<QRadioButton*>();
            if (t.item < items.size()) return Mnemonic(items[t.item]->text());
        }
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
    for (int k = 1; k <= KindCount; ++k) s.answers.counts[static_cast<std::size_t>(k) - 1] = 1;
    w.run(MainCommand::New);
    std::vector<std::string> open{"Form1", "FormShowIm", "FormOptions"};
    // Every object dialog but the ellipse's is open during the changes.
    for (Kind k : {Kind::po, Kind::li, Kind::tr, Kind::kv, Kind::xy, Kind::sf, Kind::zi, Kind::ko, Kind::i4,
                   Kind::r3, Kind::xz}) {
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
    // The outline dialog of the 3D system puts its words on at each show.
    {
        TFormOL outline(reg, 1, reg.dialog(Kind::xz));
        outline.show();
        std::vector<std::string> withOutline = open;
        withOutline.push_back("FormOL");
        EXPECT_EQ(Joined(Walk(words, withOutline)), "");
    }
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
    // Back to Russian: the open dialogs take its sizes, clear of the picture.
    choose("Russian");
    QApplication::processEvents();
    const QRect picture(w.pictureWindow()->mapToGlobal(QPoint(0, 0)), w.pictureWindow()->size());
    for (int k = 1; k <= KindCount; ++k)
        if (const ObjectDialog* d = reg.dialog(static_cast<Kind>(k))) {
            EXPECT_FALSE(picture.intersects(d->frameGeometry())) << d->objectName().toStdString();
            EXPECT_EQ(d->size(), reg.measure(static_cast<Kind>(k))) << d->objectName().toStdString();
        }
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
        void ApplyObjectInStep(bool, std::uint64_t&) override {}
        std::uint64_t BeforeDocumentChange() override { return 0; }
        void RepaintProject() override {}
        bool NoRedraw() const override { return false; }
    } commit;
    struct Services : ColorChooser, MessageSink {
        std::optional<TColor> chooseColor(TColor) override { return std::nullopt; }
        void showMessage(const std::string&) override {}
    } services;
    DPoint point{};
    DCircle circle{};
    auto doc = std::make_unique<DProj>();
    auto work = std::make_unique<WorkingCopies>();
    ExportState exportState;
    OfficeExportContext office;
    std::vector<std::unique_ptr<QWidget>> windows;
    auto* image = new FormImage(words, {&services, &services, [](const std::string&) { return std::string(); }});
    image->open(PictureSettings{}, false);
    windows.emplace_back(image);
    windows.emplace_back(new FormImageBr(words, *doc, [] {}));
    windows.emplace_back(new TFormXOYOpt(*work, 1, words, 96));
    windows.emplace_back(new TFormBrush(&work->CurCircle.Fill, false, commit, services, services, words));
    windows.emplace_back(new FormNew(words));
    windows.emplace_back(new TFormQCopy(CopyQuestion{}, words, QIcon()));
    windows.emplace_back(new TFormQDel(DeleteQuestion{true, true, true, true}, words, QIcon()));
    windows.emplace_back(NewFormPoOpt(words, nullptr));
    windows.emplace_back(NewFormLiOpt(words, nullptr));
    windows.emplace_back(NewFormCiOpt(words, nullptr));
    windows.emplace_back(NewFormAnimPo(point, words, commit, nullptr));
    windows.emplace_back(NewFormAnimCi(circle, words, commit, nullptr));
    // The export option windows, each with its words as the export puts them.
    auto* bitColors = new TFormBitColors;
    bitColors->onWords = [&words](TFormBitColors& d) { WordsToBitColors(d, words); };
    windows.emplace_back(bitColors);
    office.wordLine = [&words](int line) { return words.WordLine(line); };
    office.progDir = dir.path("");
    windows.emplace_back(new CdrExportDialog(office, exportState));
    windows.emplace_back(new WordExportDialog(office, exportState));
    std::vector<std::string> names;
    for (auto& w : windows) {
        w->show();
        names.push_back(w->objectName().toStdString());
    }
    EXPECT_EQ(Joined(Walk(words, names)), "");
}

// Pictures of the object dialogs, the settings dialogs and the delete and
// copy questions in Russian and in our English, for a person to look at
// (scripts/words-shots.sh runs this under a window manager with
// PELMAR_WORDS_SHOTS naming the folder).
TEST(WindowWords, Pictures) {
    const QString out = qEnvironmentVariable("PELMAR_WORDS_SHOTS");
    if (out.isEmpty()) GTEST_SKIP() << "PELMAR_WORDS_SHOTS not set";
    QLocale::setDefault(QLocale(QLocale::Russian));
    WindowSession s;
    s.start();
    Form1& w = *s.w;
    DialogRegistry& reg = w.dialogSession().registry();
    for (int k = 1; k <= KindCount; ++k) s.answers.counts[static_cast<std::size_t>(k) - 1] = 1;
    w.run(MainCommand::New);
    TFormOptions& options = ProgramOptions(w);
    options.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&options));
    struct Services : ColorChooser, MessageSink {
        std::optional<TColor> chooseColor(TColor) override { return std::nullopt; }
        void showMessage(const std::string&) override {}
    } services;
    struct NoCommit : DialogCommit {
        void ApplyObject(bool) override {}
        void ApplyObjectInStep(bool, std::uint64_t&) override {}
        std::uint64_t BeforeDocumentChange() override { return 0; }
        void RepaintProject() override {}
        bool NoRedraw() const override { return false; }
    } commit;
    auto shoot = [&](QWidget& window, const QString& lang, const QString& name) {
        window.show();
        window.raise();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        QTest::qWait(100);
        EXPECT_TRUE(window.grab().save(out + "/" + lang + "-" + name + ".png"));
    };
    // Each page of a window with tabs.
    auto shootPages = [&](QWidget& window, const QString& lang, const QString& name) {
        auto* tabs = window.findChild<QTabWidget*>();
        if (!tabs) return shoot(window, lang, name);
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            shoot(window, lang, name + "-" + QString::number(i + 1));
        }
    };
    for (const char* file : {"Russian", "English.trs"}) {
        const QString lang = QString(file).section('.', 0, 0);
        auto* list = options.findChild<QComboBox*>("ComboBox1");
        const auto& entries = options.languages().entries;
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (entries[i].file == file) {
                list->setCurrentIndex(static_cast<int>(i));
                emit list->activated(static_cast<int>(i));
                break;
            }
        // The cylinder dialog stays open through the change of language.
        if (QWidget* open = reg.dialog(Kind::zi)) {
            shoot(*open, lang, "FormZi-open");
            open->close();
            QApplication::processEvents();
        }
        for (Kind k : {Kind::po, Kind::li, Kind::ci, Kind::tr, Kind::kv, Kind::xy, Kind::sf, Kind::zi, Kind::ko,
                       Kind::i3, Kind::i4, Kind::r3, Kind::r4, Kind::xz}) {
            ASSERT_TRUE(reg.open(k));
            QWidget* d = reg.dialog(k);
            shootPages(*d, lang, d->objectName() + QString::number(KindNumber(k)));
            d->close();
            QApplication::processEvents();
        }
        const WordTable& words = w.shell().words;
        auto doc = std::make_unique<DProj>();
        auto work = std::make_unique<WorkingCopies>();
        FormImage image(words, {&services, &services, [](const std::string&) { return std::string(); }});
        image.open(PictureSettings{}, false);
        shootPages(image, lang, "FormImage");
        FormImageBr fill(words, *doc, [] {});
        shoot(fill, lang, "FormImageBr");
        TFormXOYOpt graph(*work, 1, words, 96);
        shootPages(graph, lang, "FormXOYOpt");
        TFormBrush brush(&work->CurCircle.Fill, false, commit, services, services, words);
        shoot(brush, lang, "FormBrush");
        TFormOL outline(reg, 1, reg.dialog(Kind::xz));
        shoot(outline, lang, "FormOL");
        // The questions: every choice offered, and the last object refused.
        TFormQCopy copy(CopyQuestion{}, words, ToolIcon("TBCopy"), &w);
        shoot(copy, lang, "FormQCopy");
        TFormQDel choice(DeleteQuestion{1, true, true, false}, words, ToolIcon("TBDelete"), &w);
        shoot(choice, lang, "FormQDel");
        TFormQDel refused(DeleteQuestion{0, false, false, true}, words, ToolIcon("TBDelete"), &w);
        shoot(refused, lang, "FormQDel-last");
        shootPages(options, lang, "FormOptions");
        ASSERT_TRUE(reg.open(Kind::zi));
        reg.dialog(Kind::zi)->show();
    }
}
