// Numbers typed key by key into the windows of the real program, where a
// field once took a number without a word: the field keeps or refuses the
// whole number when it is left, shows what is kept, and a tip says why where
// that is not what was typed - the bound's tip at the key that crosses the
// bound, the field's own tip for an emptied field, never a number past the
// range kept.  The sections a 3D system's window kept are those of the
// window opened again and of the saved file.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QRadioButton>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <tuple>
#include <utility>

#include "dialogs/dialog_test_util.h"
#include "dialogs/section_edit.h"
#include "dialogs/ui/radio_group.h"
#include "files/document.h"
#include "files/ui/text_tip.h"
#include "shell/ui/picture_settings_dialog.h"
#include "window_session.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

// Where a row types: an object's dialog, or a modal window the program opens.
enum class ToldWindow { Object, Sections, PrintPage, Fill };

// What a row reads once the field is left.
struct ToldState {
    const DProj& doc;
    const WorkingCopies& copies;  // what the sections window edits
    QWidget& window;
};

struct ToldRow {
    const char* name;
    ToldWindow where;
    Kind kind;     // the object's dialog (ToldWindow::Object)
    const char* field;
    QString keys;  // typed one at a time after the text is selected; '\b' is Backspace
    QString pasted;  // then pasted, where given
    std::function<double(const ToldState&)> stored;
    double want;      // unless the row's field keeps what it held
    QString left;     // what the field shows once left; null: what it held, and nothing stored
    const char* tip;  // a part of the tip then; null: no tip
    int tipKey = 0;   // where given: the key (from 1) at which `keyTip` is shown
    const char* keyTip = nullptr;
};

constexpr double SectionOff = -7777777;  // what a row reads of a section that is off
double SectionAt(const ToldState& s, int k) {
    const DSection& sec = SectionOf(s.copies.CurXZ, 1, 1, k);
    return sec.On.v ? sec.C.v : SectionOff;
}

const QString Digits30 = "123456789012345678901234567890";
const char* const Past = "Не больше 1 000 000";

#define READ(expr) [](const ToldState& s) -> double { return expr; }
const ToldRow ToldRows[] = {
    // The sections of the 3D system's surface 1 in the plane x = const.
    {"a section at 5", ToldWindow::Sections, {}, "Edit1", "5", {}, READ(SectionAt(s, 1)), 5, "5", nullptr},
    {"a section typed 1000001", ToldWindow::Sections, {}, "Edit1", "1000001", {}, READ(SectionAt(s, 1)), 5, "5", Past},
    {"a section typed 3000000000", ToldWindow::Sections, {}, "Edit1", "3000000000", {}, READ(SectionAt(s, 1)), 5, "5",
     Past},
    {"a section typed with 30 digits", ToldWindow::Sections, {}, "Edit1", Digits30, {}, READ(SectionAt(s, 1)), 5, "5",
     Past},
    {"a section turned off", ToldWindow::Sections, {}, "Edit2", "\b", {}, READ(SectionAt(s, 2)), SectionOff, "",
     nullptr},
    {"an empty row typed 1000001", ToldWindow::Sections, {}, "Edit2", "1000001", {}, READ(SectionAt(s, 2)), SectionOff,
     "", Past},
    {"a section typed -0", ToldWindow::Sections, {}, "Edit3", "-0", {}, READ(SectionAt(s, 3)), 0, "0", nullptr},

    // The print page of the project options: A4 standing, margins of 2 cm.
    {"a paper side of 10^8 cm", ToldWindow::PrintPage, {}, "EditPri1", "100000000", {},
     READ(static_cast<FormImage&>(s.window).settings().PaperWidth), 210, "21", "508"},
    {"a paper side of 3000000000 cm", ToldWindow::PrintPage, {}, "EditPri2", "3000000000", {},
     READ(static_cast<FormImage&>(s.window).settings().PaperHeight), 297, "29,7", "508"},
    {"a paper narrower than its left margin", ToldWindow::PrintPage, {}, "EditPri1", "1,5", {},
     READ(static_cast<FormImage&>(s.window).settings().PaperWidth), 210, "21", "от 2,1 до 508"},
    {"a top margin below the page", ToldWindow::PrintPage, {}, "EditPri3", "30", {},
     READ(static_cast<FormImage&>(s.window).settings().MarginTop), 20, "2", "29,6"},
    {"a left margin as wide as the page", ToldWindow::PrintPage, {}, "EditPri4", "21", {},
     READ(static_cast<FormImage&>(s.window).settings().MarginLeft), 20, "2", "20,9"},
    {"an emptied margin", ToldWindow::PrintPage, {}, "EditPri4", "\b", {},
     READ(static_cast<FormImage&>(s.window).settings().MarginLeft), 0, "0", "взято 0"},

    // A coordinate spin: the tenth key is refused with the bound's tip.
    {"a sphere's centre typed 3000000000", ToldWindow::Object, Kind::sf, "SpinEditSx", "3000000000", {},
     READ(s.doc.Obj.Sf[1].Center.ScrX.v), 0, {}, Past, 10, Past},
    {"a cylinder's height typed 3000000000", ToldWindow::Object, Kind::zi, "SpinEditZH", "3000000000", {},
     READ(s.doc.Obj.Zi[1].Axis.Length.v), 0, {}, Past, 10, Past},

    // Emptied fields keep what they become, and say so.
    {"an emptied point X", ToldWindow::Object, Kind::po, "EditPx", "\b", {}, READ(s.doc.Obj.Po[1].ScrX.v), 0, "0",
     "взято 0"},
    {"an emptied segment angle", ToldWindow::Object, Kind::li, "EditLAng", "\b", {}, READ(s.doc.Obj.Li[1].Angle.v), 0,
     "0", "взято 0"},
    {"an emptied semi-axis", ToldWindow::Object, Kind::ci, "SpinEditCa", "\b", {}, READ(s.doc.Obj.Ci[1].A.v), 1, "1",
     "Допустимо от 1 до 5000: взято 1."},
    {"a label angle of -45", ToldWindow::Object, Kind::po, "SpinEditPNAng", "-45", {},
     READ(s.doc.Obj.Po[1].LabelAngle.v), -45, "-45", nullptr},
    {"an emptied label angle", ToldWindow::Object, Kind::po, "SpinEditPNAng", "\b", {},
     READ(s.doc.Obj.Po[1].LabelAngle.v), -180, "-180", "взято -180"},
    {"a lone minus in point X", ToldWindow::Object, Kind::po, "EditPx", "-", {}, READ(s.doc.Obj.Po[1].ScrX.v), 0, "0",
     "взято 0"},

    // "-0" is 0, and shows so.
    {"a point's 3D X typed -0", ToldWindow::Object, Kind::po, "EditPxx", "-0", {}, READ(s.doc.Obj.Po[1].X.v), 0, "0",
     nullptr},
    {"a sphere's centre Y typed -0", ToldWindow::Object, Kind::sf, "SpinEditSy", "-0", {},
     READ(s.doc.Obj.Sf[1].Center.ScrY.v), 0, "0", nullptr},

    // The light of the fill window is bounded as the coordinates are.
    {"a light at 3000000000", ToldWindow::Fill, {}, "EditGP1", "3000000000", {}, READ(s.doc.Im.LightX), 0, {}, Past},
    {"a light pasted with 30 digits", ToldWindow::Fill, {}, "EditGP2", {}, Digits30, READ(s.doc.Im.LightY), 0, {},
     Past},
    {"a light at -999999", ToldWindow::Fill, {}, "EditGP3", "-999999", {}, READ(s.doc.Im.LightZ), -999999, "-999999",
     nullptr},
};
#undef READ

struct ToldSitting : WindowSession {
    std::string file;
    ToldState state(QWidget& window) {
        return {w->document(), w->dialogSession().registry().session().copies(), window};
    }
    void run(MainCommand c, const std::string& name = {}) {
        answers.openName = name;
        w->menuAction(c)->trigger();
    }
};

void PlayToldRow(ToldSitting& s, QWidget& window, const ToldRow& row) {
    SCOPED_TRACE(row.name);
    auto* field = window.findChild<QWidget*>(row.field);
    ASSERT_TRUE(field && field->isEnabled()) << row.field;
    QLineEdit* line = LineOf(field);
    const bool keeps = row.left.isNull();
    const QString held = line->text();
    const double want = keeps ? row.stored(s.state(window)) : row.want;
    field->setFocus();
    line->selectAll();
    for (qsizetype i = 0; i < row.keys.size(); ++i) {
        if (row.keys[i] == u'\b') QTest::keyClick(field, Qt::Key_Backspace);
        else QTest::keyClicks(field, QString(row.keys[i]));
        if (i + 1 == row.tipKey) {
            EXPECT_TRUE(ShownTextTip().contains(QString::fromUtf8(row.keyTip)))
                << "at key " << row.tipKey << ": " << ShownTextTip().toStdString();
        }
    }
    if (!row.pasted.isEmpty()) {
        QApplication::clipboard()->setText(row.pasted);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    }
    QTest::keyClick(field, Qt::Key_Tab);
    EXPECT_FALSE(field->hasFocus());
    EXPECT_NEAR(row.stored(s.state(window)), want, 1e-9 * std::max(1.0, std::abs(want)));
    EXPECT_EQ(line->text(), keeps ? held : row.left);
    if (row.tip) {
        EXPECT_TRUE(ShownTextTip().contains(QString::fromUtf8(row.tip))) << ShownTextTip().toStdString();
    } else {
        EXPECT_TRUE(ShownTextTip().isEmpty()) << ShownTextTip().toStdString();
    }
}

void PlayToldRows(ToldSitting& s, QWidget& window, ToldWindow where) {
    for (const ToldRow& row : ToldRows)
        if (row.where == where) PlayToldRow(s, window, row);
}

// The sections window of surface 1, opened from the 3D system's dialog;
// `drive` runs in it, then OK.
void InSections(ToldSitting& s, const std::function<void(QWidget&)>& drive) {
    QWidget* xz = s.open(Kind::xz);
    ASSERT_TRUE(xz);
    xz->findChild<QTabWidget*>("PageControl1")->setCurrentIndex(1);
    if (!s.w->document().Obj.Xz[1].SurfOn[1].v) {
        auto* on = xz->findChild<QCheckBox*>("CheckBoxY1");
        on->setFocus();
        ClickIndicator(on);
    }
    ASSERT_TRUE(s.w->document().Obj.Xz[1].SurfOn[1].v);
    InModal("FormSech1", [&] { QTest::mouseClick(xz->findChild<QWidget*>("ButtonY11"), Qt::LeftButton); }, drive,
            "ButtonOk");
}

}  // namespace

TEST(ToldNumbers, EveryFieldTellsWhatItKeeps) {
    ToldSitting s;
    s.file = s.dir.path("told.pel");
    s.answers.counts.fill(1);
    StartNew(s);
    ASSERT_TRUE(WriteDocument(s.file, s.w->document(), WriteModeDocument, DocumentContext{}));
    s.run(MainCommand::Open, s.file);

    for (const ToldRow& row : ToldRows) {
        if (row.where != ToldWindow::Object) continue;
        QWidget* d = s.open(row.kind);
        ASSERT_TRUE(d) << row.name;
        PlayToldRow(s, *d, row);
    }

    InSections(s, [&](QWidget& sech) {
        sech.findChild<QComboBox*>("ComboBox1")->setCurrentIndex(0);
        emit sech.findChild<QComboBox*>("ComboBox1")->activated(0);
        PlayToldRows(s, sech, ToldWindow::Sections);
    });
    // The window opened again, and the file saved, hold what the fields showed.
    InSections(s, [](QWidget& sech) {
        for (const auto& [field, text] : {std::pair{"Edit1", "5"}, {"Edit2", ""}, {"Edit3", "0"}})
            EXPECT_EQ(sech.findChild<QLineEdit*>(field)->text(), text) << field;
    });
    s.run(MainCommand::Save);
    auto saved = std::make_unique<DProj>();
    std::uint8_t version = 0;
    ASSERT_EQ(ReadDocument(s.file, *saved, version, ReadModeOpen), ReadOk);
    const DXZ& xz = saved->Obj.Xz[1];
    EXPECT_TRUE(SectionOf(xz, 1, 1, 1).On.v && SectionOf(xz, 1, 1, 1).C.v == 5);
    EXPECT_FALSE(SectionOf(xz, 1, 1, 2).On.v);
    EXPECT_TRUE(SectionOf(xz, 1, 1, 3).On.v && SectionOf(xz, 1, 1, 3).C.v == 0);

    InModal(
        "FormImage", [&] { s.run(MainCommand::OptProj); },
        [&](QWidget& o) {
            o.findChild<QTabWidget*>("PageControl1")->setCurrentWidget(o.findChild<QWidget*>("TabSheet5"));
            PlayToldRows(s, o, ToldWindow::PrintPage);
            // A page turned keeps its margins on it.
            TypeIn(o, "EditPri3", "25", Qt::Key_Tab);
            ClickIndicator(o.findChild<QRadioButton*>("RadioButtonPri2"));
            EXPECT_EQ(o.findChild<QLineEdit*>("EditPri3")->text(), "20,9");
            EXPECT_TRUE(ShownTextTip().contains("внутри листа")) << ShownTextTip().toStdString();
        });
    const DProj& d = s.w->document();
    EXPECT_EQ(std::make_tuple(d.PaperWidth, d.PaperHeight, d.Portrait, d.Margin1, d.Margin2),
              std::make_tuple(210, 297, false, 209, 0));

    WhenShown("FormImageBr", [&](QWidget& f) {
        ClickIndicator(f.findChild<TRadioGroup*>("RadioG1")->button(0));  // the light is a place
        PlayToldRows(s, f, ToldWindow::Fill);
        QTest::mouseClick(f.findChild<QWidget*>("Button1"), Qt::LeftButton);
    });
    InModal(
        "FormImage", [&] { s.run(MainCommand::OptProj); },
        [](QWidget& o) { o.findChild<QTabWidget*>("PageControl1")->setCurrentWidget(o.findChild<QWidget*>("TabSheet3")); },
        "Button3");
    EXPECT_EQ(s.w->document().Im.LightZ, -999999);
}
