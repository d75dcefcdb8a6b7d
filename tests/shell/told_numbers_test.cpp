// Numbers typed key by key into the program's windows: a field left keeps or
// refuses the whole number, shows what is kept, and a tip says why where that
// is not what was typed; the sections kept are those reopened and saved.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QRadioButton>
#include <QTabWidget>

#include "dialogs/dialog_test_util.h"
#include "dialogs/section_edit.h"
#include "dialogs/ui/radio_group.h"
#include "files/document.h"
#include "files/ui/bit_colors_dialog.h"
#include "shell/ui/new_project_dialog.h"
#include "shell/ui/options_dialog.h"
#include "shell/ui/picture_settings_dialog.h"
#include "transform/ui/anim_window.h"
#include "window_session.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

enum ToldWindow { TwObject, TwSections, TwPage, TwFill };

struct ToldSitting : WindowSession {
    const WorkingCopies& copies() { return w->dialogSession().registry().session().copies(); }
    void run(MainCommand c, const std::string& name = {}) {
        answers.openName = name;
        QAction* a = w->menuAction(c);
        (a ? a : w->toolAction(c))->trigger();
    }
};
using ToldRead = std::function<double(ToldSitting&, QWidget& window)>;

// `left` null: the field keeps what it held; `tip` null: no tip; `tipKey`: the key (from 1) that shows it already.
struct ToldRow {
    const char* name; ToldWindow where; Kind kind; const char* field; QString keys; ToldRead stored; double want;
    QString left; const char* tip; int tipKey = 0; QString pasted = {};
};

constexpr double SectionOff = -7777777;
double ToldSection(const DXZ& xz, int k) {
    const DSection& sec = SectionOf(xz, 1, 1, k);
    return sec.On.v ? sec.C.v : SectionOff;
}
ToldRead ToldSec(int k) {
    return [k](ToldSitting& s, QWidget&) { return ToldSection(s.copies().CurXZ, k); };
}
ToldRead ToldField(int PictureSettings::*m) {
    return [m](ToldSitting&, QWidget& w) -> double { return static_cast<FormImage&>(w).settings().*m; };
}
const ToldRead PaperW = ToldField(&PictureSettings::PaperWidth), PaperH = ToldField(&PictureSettings::PaperHeight);
const ToldRead MarginT = ToldField(&PictureSettings::MarginTop), MarginL = ToldField(&PictureSettings::MarginLeft);
const QString Digits30 = "123456789012345678901234567890";
const char* const Past = "Не больше 1 000 000";
const char* const Took0 = "взято 0";

#define DOC(expr) [](ToldSitting& s, QWidget&) -> double { return s.w->document().expr; }
const ToldRow ToldRows[] = {
    // Surface 1 of the 3D system in the plane x = const.
    {"a section at 5", TwSections, {}, "Edit1", "5", ToldSec(1), 5, "5", nullptr},
    {"a section typed 1000001", TwSections, {}, "Edit1", "1000001", ToldSec(1), 5, "5", Past},
    {"a section typed 3000000000", TwSections, {}, "Edit1", "3000000000", ToldSec(1), 5, "5", Past},
    {"a section typed with 30 digits", TwSections, {}, "Edit1", Digits30, ToldSec(1), 5, "5", Past},
    {"a section turned off", TwSections, {}, "Edit2", "\b", ToldSec(2), SectionOff, "", nullptr},
    {"an empty row typed 1000001", TwSections, {}, "Edit2", "1000001", ToldSec(2), SectionOff, "", Past},
    {"a section typed -0", TwSections, {}, "Edit3", "-0", ToldSec(3), 0, "0", nullptr},
    // A4 standing, margins of 2 cm.
    {"a paper side of 10^8 cm", TwPage, {}, "EditPri1", "100000000", PaperW, 210, "21", "508"},
    {"a paper side of 3000000000 cm", TwPage, {}, "EditPri2", "3000000000", PaperH, 297, "29,7", "508"},
    {"a paper narrower than its left margin", TwPage, {}, "EditPri1", "1,5", PaperW, 210, "21", "от 2,1 до 508"},
    {"a top margin below the page", TwPage, {}, "EditPri3", "30", MarginT, 20, "2", "29,6"},
    {"a left margin as wide as the page", TwPage, {}, "EditPri4", "21", MarginL, 20, "2", "20,9"},
    {"an emptied margin", TwPage, {}, "EditPri4", "\b", MarginL, 0, "0", Took0},
    // The tenth key is refused with the bound's tip.
    {"a sphere's centre typed 3000000000", TwObject, Kind::sf, "SpinEditSx", "3000000000",
     DOC(Obj.Sf[1].Center.ScrX.v), 0, {}, Past, 10},
    {"a cylinder's height typed 3000000000", TwObject, Kind::zi, "SpinEditZH", "3000000000",
     DOC(Obj.Zi[1].Axis.Length.v), 0, {}, Past, 10},
    {"an emptied point X", TwObject, Kind::po, "EditPx", "\b", DOC(Obj.Po[1].ScrX.v), 0, "0", Took0},
    {"an emptied segment angle", TwObject, Kind::li, "EditLAng", "\b", DOC(Obj.Li[1].Angle.v), 0, "0", Took0},
    {"an emptied semi-axis", TwObject, Kind::ci, "SpinEditCa", "\b", DOC(Obj.Ci[1].A.v), 1, "1",
     "Допустимо от 1 до 5000: взято 1."},
    {"a label angle of -45", TwObject, Kind::po, "SpinEditPNAng", "-45", DOC(Obj.Po[1].LabelAngle.v), -45, "-45", {}},
    {"an emptied label angle", TwObject, Kind::po, "SpinEditPNAng", "\b", DOC(Obj.Po[1].LabelAngle.v), -180, "-180",
     "взято -180"},
    {"a lone minus in point X", TwObject, Kind::po, "EditPx", "-", DOC(Obj.Po[1].ScrX.v), 0, "0", Took0},
    {"a point's 3D X typed -0", TwObject, Kind::po, "EditPxx", "-0", DOC(Obj.Po[1].X.v), 0, "0", nullptr},
    {"a sphere's centre Y typed -0", TwObject, Kind::sf, "SpinEditSy", "-0", DOC(Obj.Sf[1].Center.ScrY.v), 0, "0", {}},
    // The light is bounded as the coordinates are.
    {"a light at 3000000000", TwFill, {}, "EditGP1", "3000000000", DOC(Im.LightX), 0, {}, Past},
    {"a light pasted with 30 digits", TwFill, {}, "EditGP2", {}, DOC(Im.LightY), 0, {}, Past, 0, Digits30},
    {"a light at -999999", TwFill, {}, "EditGP3", "-999999", DOC(Im.LightZ), -999999, "-999999", nullptr},
};
#undef DOC

bool ToldTip(const char* part) {
    return part ? ShownTextTip().contains(QString::fromUtf8(part)) : ShownTextTip().isEmpty();
}

void PlayToldRow(ToldSitting& s, QWidget* in, const ToldRow& row) {
    SCOPED_TRACE(row.name);
    ASSERT_TRUE(in);
    QWidget& window = *in;
    auto* field = window.findChild<QWidget*>(row.field);
    ASSERT_TRUE(field && field->isEnabled()) << row.field;
    QLineEdit* line = LineOf(field);
    const QString held = line->text();
    const double want = row.left.isNull() ? row.stored(s, window) : row.want;
    field->setFocus();
    line->selectAll();
    for (qsizetype i = 0; i < row.keys.size(); ++i) {
        if (row.keys[i] == u'\b') QTest::keyClick(field, Qt::Key_Backspace);
        else QTest::keyClicks(field, QString(row.keys[i]));
        EXPECT_TRUE(i + 1 != row.tipKey || ToldTip(row.tip)) << "at key " << i + 1;
    }
    if (!row.pasted.isEmpty()) {
        QApplication::clipboard()->setText(row.pasted);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    }
    QTest::keyClick(field, Qt::Key_Tab);
    EXPECT_FALSE(field->hasFocus());
    EXPECT_NEAR(row.stored(s, window), want, 1e-9 * std::max(1.0, std::abs(want)));
    EXPECT_EQ(line->text(), row.left.isNull() ? held : row.left);
    EXPECT_TRUE(ToldTip(row.tip)) << ShownTextTip().toStdString();
}

// The rows of `where` played in `window`, or in the dialog of each row's object.
void PlayToldRows(ToldSitting& s, ToldWindow where, QWidget* window = nullptr) {
    for (const ToldRow& row : ToldRows)
        if (row.where == where) PlayToldRow(s, window ? window : s.open(row.kind), row);
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

void ToldSheet(QWidget& o, const char* sheet) {
    o.findChild<QTabWidget*>("PageControl1")->setCurrentWidget(o.findChild<QWidget*>(sheet));
}

}  // namespace

TEST(ToldNumbers, EveryFieldTellsWhatItKeeps) {
    ToldSitting s;
    const std::string file = s.dir.path("told.pel");
    s.answers.counts.fill(1);
    StartNew(s);
    ASSERT_TRUE(WriteDocument(file, s.w->document(), WriteModeDocument, DocumentContext{}));
    s.run(MainCommand::Open, file);

    PlayToldRows(s, TwObject);

    InSections(s, [&](QWidget& sech) {
        sech.findChild<QComboBox*>("ComboBox1")->setCurrentIndex(0);
        emit sech.findChild<QComboBox*>("ComboBox1")->activated(0);
        PlayToldRows(s, TwSections, &sech);
    });
    InSections(s, [](QWidget& sech) {
        for (const auto& [field, text] : {std::pair{"Edit1", "5"}, {"Edit2", ""}, {"Edit3", "0"}})
            EXPECT_EQ(sech.findChild<QLineEdit*>(field)->text(), text) << field;
    });
    s.run(MainCommand::Save);
    auto saved = std::make_unique<DProj>();
    std::uint8_t version = 0;
    ASSERT_EQ(ReadDocument(file, *saved, version, ReadModeOpen), ReadOk);
    const DXZ& xz = saved->Obj.Xz[1];
    EXPECT_EQ(std::make_tuple(ToldSection(xz, 1), ToldSection(xz, 2), ToldSection(xz, 3)),
              std::make_tuple(5.0, SectionOff, 0.0));

    InModal(
        "FormImage", [&] { s.run(MainCommand::OptProj); },
        [&](QWidget& o) {
            ToldSheet(o, "TabSheet5");
            PlayToldRows(s, TwPage, &o);
            // A page turned keeps its margins on it.
            TypeIn(o, "EditPri3", "25", Qt::Key_Tab);
            ClickIndicator(o.findChild<QRadioButton*>("RadioButtonPri2"));
            EXPECT_EQ(o.findChild<QLineEdit*>("EditPri3")->text(), "20,9");
            EXPECT_TRUE(ToldTip("внутри листа")) << ShownTextTip().toStdString();
        });
    const DProj& d = s.w->document();
    EXPECT_EQ(std::make_tuple(d.PaperWidth, d.PaperHeight, d.Portrait, d.Margin1, d.Margin2),
              std::make_tuple(210, 297, false, 209, 0));

    WhenShown("FormImageBr", [&](QWidget& f) {
        ClickIndicator(f.findChild<TRadioGroup*>("RadioG1")->button(0));  // the light is a place
        PlayToldRows(s, TwFill, &f);
        QTest::mouseClick(f.findChild<QWidget*>("Button1"), Qt::LeftButton);
    });
    InModal("FormImage", [&] { s.run(MainCommand::OptProj); }, [](QWidget& o) { ToldSheet(o, "TabSheet3"); },
            "Button3");
    EXPECT_EQ(s.w->document().Im.LightZ, -999999);
}

namespace {

using OkPlay = std::function<void(QWidget&)>;
void Click(QWidget& w, const char* name) { QTest::mouseClick(w.findChild<QWidget*>(name), Qt::LeftButton); }

// `ok` null: the title-bar button; "Return": the key in the field.  `took` none: the number is kept.
struct OkRow {
    const char* window; std::function<void(ToldSitting&)> open; const char* field; QString keys; const char* tip;
    const char* ok; ToldRead stored; std::optional<double> took = {}; OkPlay prepare = {};
};
#define RUN(c) [](ToldSitting& s) { s.run(MainCommand::c); }
#define EXEC(T, ...) [](ToldSitting&) { T(__VA_ARGS__).exec(); }
#define DOC(expr) [](ToldSitting& s, QWidget&) -> double { return s.w->document().expr; }
#define SPIN(name) [](ToldSitting&, QWidget& w) -> double { return w.findChild<QSpinBox*>(name)->value(); }
const OkPlay PointsTicked = [](QWidget& f) { ClickIndicator(f.findChild<QCheckBox*>("CheckBoxPo")); };
const OkPlay Print = [](QWidget& o) { ToldSheet(o, "TabSheet5"); };
const OkRow OkRows[] = {
    {"FormImage", RUN(OptProj), "EditPri1", "1000001", "508", "Button1", PaperW, {}, Print},
    {"FormImage", RUN(OptProj), "EditPri3", "30", "29,6", "Button1", MarginT, {}, Print},
    {"FormImageBr", [](ToldSitting& s) { WhenShown("FormImage", [](QWidget& o) { ToldSheet(o, "TabSheet3"), Click(o, "Button3"); }), s.run(MainCommand::OptProj); },
     "EditGP1", "3000000000", Past, "Button1", DOC(Im.LightX), {}, [](QWidget& f) { ClickIndicator(f.findChild<TRadioGroup*>("RadioG1")->button(0)); }},
    {"FormAnim", RUN(Anim), "SpinEdit1", "12,5", "12", "Button2", DOC(AnimDelay), 12},
    {"FormAnim", RUN(Anim), "SpinEdit1", "12,5", "12", nullptr, DOC(AnimDelay), 12},
    {"FormOptions", [](ToldSitting& s) { ProgramOptions(*s.w).exec(); }, "SpinEditUndo", "5", "взято 10", "Button1", [](ToldSitting& s, QWidget&) -> double { return s.app->shell().settings.UndoSteps; }, 10},
    {"FormNew", EXEC(FormNew, BuiltInWords()), "SpinEditPo", "0", "1", "Button1", SPIN("SpinEditPo"), 1, PointsTicked},
    {"FormNew", EXEC(FormNew, BuiltInWords()), "SpinEditPo", "0", "1", "Return", SPIN("SpinEditPo"), 1, PointsTicked},
    {"FormBitColors", EXEC(TFormBitColors), "SpinEdit1", "0", "1", "Button1", SPIN("SpinEdit1"), 1},
    {"FormPo", [](ToldSitting& s) { s.open(Kind::po); }, "EditPx", "3000000000", Past, nullptr, DOC(Obj.Po[1].ScrX.v)},
    {"FormOrb", [](ToldSitting& s) { Click(*s.open(Kind::sf), "ButtonSSP1"); }, "Edit4", "100000", "взято", "Button1", DOC(Obj.Sf[1].SecH[1].v)},
};
#undef SPIN
#undef DOC
#undef EXEC
#undef RUN

}  // namespace

// Keys typed, then OK clicked as the mouse clicks: the field tells, the window stays open on it
// with the tip and keeps what the field told; a second OK closes it.
TEST(ToldNumbers, OkClickedAfterANumberToldStaysOnTheField) {
    ToldSitting s;
    s.answers.counts.fill(1);
    StartNew(s);
    for (const OkRow& row : OkRows) {
        SCOPED_TRACE(row.window + (" " + row.keys.toStdString()));
        bool ran = false;
        WhenShown(row.window, [&](QWidget& window) {
            ran = true;
            if (row.prepare) row.prepare(window);
            auto* field = window.findChild<QWidget*>(row.field);
            ASSERT_TRUE(field && field->isVisible() && field->isEnabled()) << row.field;
            const double before = row.stored(s, window);
            TypeIn(window, row.field, row.keys, Qt::Key_unknown);
            const auto ok = [&] {
                if (!row.ok) window.windowHandle()->close();
                else if (row.ok == QLatin1String("Return")) QTest::keyClick(field, Qt::Key_Return);
                else Click(window, row.ok);
            };
            ok();
            EXPECT_TRUE(window.isVisible()) << "OK after a number told leaves the window open";
            EXPECT_TRUE(field->isAncestorOf(QApplication::focusWidget()) || field->hasFocus());
            EXPECT_TRUE(ShownTextTip().contains(QString::fromUtf8(row.tip))) << ShownTextTip().toStdString();
            EXPECT_EQ(TextTipField(), field);
            EXPECT_EQ(row.stored(s, window), row.took.value_or(before));
            if (window.isVisible()) ok();
            EXPECT_FALSE(window.isVisible()) << "a second OK closes it";
        });
        row.open(s);
        QTRY_VERIFY(ran);
    }
}

namespace {

// The page of its tab widget that `field` stands on is made current.
void ShowPageOf(QWidget* field) {
    for (QWidget* p = field; p && p->parentWidget(); p = p->parentWidget())
        for (QWidget* up = p->parentWidget(); up; up = up->parentWidget())
            if (auto* tabs = qobject_cast<QTabWidget*>(up); tabs && tabs->indexOf(p) >= 0) tabs->setCurrentWidget(p);
}

// The 3D system's dialog on its sections page with surface 1 shown.
QWidget* SectionsOpener(ToldSitting& s) {
    QWidget* xz = s.open(Kind::xz);
    auto* on = xz->findChild<QCheckBox*>("CheckBoxY1");
    ShowPageOf(on);
    if (!on->isChecked()) on->setFocus(), ClickIndicator(on);
    return xz;
}
void OpenSections(ToldSitting& s) { Click(*SectionsOpener(s), "ButtonY11"); }

// `closeKeeps`: the window's close keeps what was typed (it has no Cancel);
// else it is a Cancel.  `stored` null: nothing to read once the window is gone.
struct LeaveRow {
    const char* window; std::function<void(ToldSitting&)> open; const char* field; QString keys; const char* tip;
    bool closeKeeps; ToldRead stored; std::optional<double> took = {}; OkPlay prepare = {};
};
#define RUN(c) [](ToldSitting& s) { s.run(MainCommand::c); }
#define EXEC(T, ...) [](ToldSitting&) { T(__VA_ARGS__).exec(); }
#define DOC(expr) [](ToldSitting& s, QWidget&) -> double { return s.w->document().expr; }
#define COPY(expr) [](ToldSitting& s, QWidget&) -> double { return s.copies().expr; }
const OkPlay PlaneX = [](QWidget& f) {
    auto* plane = f.findChild<QComboBox*>("ComboBox1");
    plane->setCurrentIndex(0);
    emit plane->activated(0);
};
const OkPlay LightPlace = [](QWidget& f) { ClickIndicator(f.findChild<TRadioGroup*>("RadioG1")->button(0)); };
const LeaveRow LeaveRows[] = {
    {"FormSech1", OpenSections, "Edit1", "1000001", Past, true, ToldSec(1), {}, PlaneX},
    {"FormSech2",
     [](ToldSitting& s) {
         WhenShown("FormSech1", [](QWidget& sech) {
             PlaneX(sech);
             Click(sech, "Button1");
             if (sech.isVisible()) Click(sech, "ButtonOk");
         });
         OpenSections(s);
     },
     "Edit11", "-60000", "не дальше", true, COPY(CurXZ.Sections[1][1][1].Bounds[0].v)},
    {"FormImageBr", [](ToldSitting& s) { WhenShown("FormImage", [](QWidget& o) { ToldSheet(o, "TabSheet3"), Click(o, "Button3"); }), s.run(MainCommand::OptProj); },
     "EditGP1", "3000000000", Past, true, DOC(Im.LightX), {}, LightPlace},
    {"FormOptions", [](ToldSitting& s) { ProgramOptions(*s.w).exec(); }, "SpinEditUndo", "5", "взято 10", true,
     [](ToldSitting& s, QWidget&) -> double { return s.app->shell().settings.UndoSteps; }, 10},
    {"FormXOYOpt", [](ToldSitting& s) { Click(*s.open(Kind::xy), "ButtonX1"); }, "LabeledEditDecX1", "3000000000",
     "1 000 000", true, COPY(CurXOY.Bounds[1][0].v)},
    {"FormOL", [](ToldSitting& s) { Click(*SectionsOpener(s), "ButtonY10"); }, "SpinEdit1", "3000000", "1 000 000",
     true, COPY(CurXZ.Outlines[1].X1)},
    {"FormOrb", [](ToldSitting& s) { Click(*s.open(Kind::sf), "ButtonSSP1"); }, "Edit4", "100000", "взято", false,
     DOC(Obj.Sf[1].SecH[1].v)},
    {"FormImage", RUN(OptProj), "EditPri1", "1000001", "508", false, DOC(PaperWidth), {}, Print},
    {"FormNew", EXEC(FormNew, BuiltInWords()), "SpinEditPo", "0", "1", false, {}, {}, PointsTicked},
    {"FormBitColors", EXEC(TFormBitColors), "SpinEdit1", "0", "1", false, {}},
};
#undef COPY
#undef DOC
#undef EXEC
#undef RUN

}  // namespace

// Keys typed, then the title-bar close or Escape, in every modal window with
// number fields.  Where the close keeps what was typed, it is OK: the window
// stays open on the field with its tip and keeps what the field told, and a
// second close closes it.  Where it is a Cancel, and with Escape everywhere,
// the window closes and keeps nothing of the number: what was stored before
// the typing stays, and the field shows it.
TEST(ToldNumbers, CloseAndEscapeAfterANumberTold) {
    ToldSitting s;
    s.answers.counts.fill(1);
    StartNew(s);
    for (const LeaveRow& row : LeaveRows)
        for (const bool escape : {true, false}) {
            SCOPED_TRACE(row.window + std::string(escape ? " Escape " : " close ") + row.keys.toStdString());
            bool ran = false;
            WhenShown(row.window, [&](QWidget& window) {
                ran = true;
                if (row.prepare) row.prepare(window);
                auto* field = window.findChild<QWidget*>(row.field);
                ASSERT_TRUE(field);
                ShowPageOf(field);
                ASSERT_TRUE(field->isVisible() && field->isEnabled()) << row.field;
                const double before = row.stored ? row.stored(s, window) : 0;
                const QString held = LineOf(field)->text();
                TypeIn(window, row.field, row.keys, Qt::Key_unknown);
                const auto leave = [&] {
                    if (escape) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
                    else window.windowHandle()->close();
                };
                leave();
                const bool stays = row.closeKeeps && !escape;
                EXPECT_EQ(window.isVisible(), stays);
                if (stays) {
                    EXPECT_TRUE(field->isAncestorOf(QApplication::focusWidget()) || field->hasFocus());
                    EXPECT_TRUE(ShownTextTip().contains(QString::fromUtf8(row.tip))) << ShownTextTip().toStdString();
                    EXPECT_EQ(TextTipField(), field);
                    leave();
                    EXPECT_FALSE(window.isVisible()) << "a second close closes it";
                }
                if (row.stored) {
                    EXPECT_EQ(row.stored(s, window), stays ? row.took.value_or(before) : before) << "what is kept";
                }
                if (row.closeKeeps && escape) {
                    EXPECT_EQ(LineOf(field)->text(), held) << "the field shows what is kept";
                }
                if (window.isVisible()) static_cast<QDialog&>(window).done(QDialog::Rejected);
            });
            row.open(s);
            QTRY_VERIFY(ran);
        }
}
