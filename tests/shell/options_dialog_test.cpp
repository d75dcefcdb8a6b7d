// The program options in one sitting of a new user: the undo depth of a
// machine without settings, undo, own dialogs, the selection colours, the
// tool-bar groups (applied by OK only), the language list that never
// switches the language while it is filled, undo switched off removing its
// files, then the program started again with everything kept, and started
// once more on a damaged settings file.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QTimer>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <deque>
#include <filesystem>

#include "editing/edited_document.h"
#include "editing/editing_state.h"
#include "shell/ui/options_dialog.h"
#include "support/key_rows.h"
#include "window_session.h"
#include "support/find_child.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

void Click(QWidget& form, const char* name) { QTest::mouseClick(Find<QWidget>(form, name), Qt::LeftButton); }

void Page(QWidget& form, int index) { Find<QTabWidget>(form, "PageControl1")->setCurrentIndex(index); }

struct Colors {
    std::deque<std::optional<TColor>> answers;
    std::vector<TColor> presets;
    int associations = 0;
};

TFormOptions& Open(WindowSession& s, Colors& colors) {
    OptionsServices sv;
    sv.pickColor = [&colors](TColor preset) {
        colors.presets.push_back(preset);
        std::optional<TColor> a = colors.answers.empty() ? std::nullopt : colors.answers.front();
        if (!colors.answers.empty()) colors.answers.pop_front();
        return a;
    };
    sv.associate = [&colors](std::string& error) {
        ++colors.associations;
        error = "no desktop here";
        return false;
    };
    TFormOptions& f = ProgramOptions(*s.w, std::move(sv));
    f.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&f));
    return f;
}

bool Shown(WindowSession& s, MainCommand c) { return s.w->toolAction(c)->isVisible(); }

}  // namespace

TEST(OptionsDialog, NewUserSession) {
    WindowSession s;
    s.shippedDirs = {};  // a machine without any settings file
    s.start();
    // No settings file gave a depth of 0: the program keeps ten steps.
    EXPECT_EQ(s.w->shell().settings.UndoSteps, 10);
    EXPECT_EQ(s.w->editing().UndoSteps, 10);
    Colors colors;
    TFormOptions& f = Open(s, colors);
    Settings& set = s.w->shell().settings;
    EditingState& st = s.w->editing();

    // The options show it.
    auto* depth = Find<QSpinBox>(f, "SpinEditUndo");
    EXPECT_EQ(depth->value(), 10);
    EXPECT_EQ(set.UndoSteps, 10);
    EXPECT_EQ(st.UndoSteps, 10);
    EXPECT_FALSE(Find<QCheckBox>(f, "CheckBoxUndo")->isChecked());
    Click(f, "CheckBoxUndo");
    EXPECT_TRUE(set.UndoOn && st.UndoOn);
    // The depth typed key by key is taken when the edit is left: in tens,
    // within 10..200, with a tip where that is not the number typed.
    const auto steps = [&] { return set.UndoSteps * 1000.0 + st.UndoSteps; };
    for (const KeyRow& row : {KeyRow{"SpinEditUndo", "2,5", {"2", "2,", "2,5"}, 10010, "10", true, steps},
                              {"SpinEditUndo", "124", {"1", "12", "124"}, 120120, "120", true, steps}})
        PlayKeys(f, row);
    EXPECT_EQ(depth->value(), 120);
    Click(f, "CheckBoxOS");
    EXPECT_TRUE(set.OwnDialogs);
    // An association that fails says why.
    Click(f, "ButtonAs");
    EXPECT_EQ(colors.associations, 1);
    ASSERT_FALSE(s.answers.messages.empty());
    EXPECT_EQ(s.answers.messages.back(), "no desktop here");

    // Colours: a chosen one, a cancelled one, the defaults.
    Page(f, 1);
    colors.answers = {TColor{0x00FF00}, std::nullopt};
    Click(f, "BitBtn1");
    Click(f, "BitBtn2");
    EXPECT_EQ(colors.presets, (std::vector<TColor>{0, 0}));  // black: no settings file
    EXPECT_EQ(set.MoveColor, 0x00FF00u);
    EXPECT_EQ(st.MoveColor, 0x00FF00u);
    EXPECT_EQ(set.ShapeColor, 0u);
    // The sample shows the moved dot in the chosen colour.
    const QImage sample = Find<QLabel>(f, "Image1")->pixmap().toImage();
    EXPECT_EQ(sample.size(), QSize(97, 161));
    EXPECT_EQ(sample.pixelColor(50, 107), QColor(0, 255, 0));
    Click(f, "BitBtn3");
    EXPECT_EQ(set.MoveColor, DefaultMoveColor);
    EXPECT_EQ(set.ShapeColor, DefaultShapeColor);
    EXPECT_EQ(st.ShapeColor, DefaultShapeColor);

    // Tool-bar groups: the defaults button ticks four boxes; Esc keeps the
    // flags without touching the tool bar, OK applies them.
    Page(f, 2);
    EXPECT_FALSE(Shown(s, MainCommand::New));
    Click(f, "ButtonTB");
    const char* boxes[] = {"CheckBoxTBFile", "CheckBoxTBBack", "CheckBoxTBNewD", "CheckBoxTBUndo",
                           "CheckBoxTBCopy", "CheckBoxTBOpt",  "CheckBoxTBWin",  "CheckBoxTBHelp"};
    for (int i = 0; i < ToolGroupCount; ++i) {
        EXPECT_EQ(Find<QCheckBox>(f, boxes[i])->isChecked(), DefaultToolGroups()[i]) << boxes[i];
        EXPECT_EQ(set.ShowTB[i], DefaultToolGroups()[i]) << boxes[i];
    }
    Click(f, "CheckBoxTBHelp");
    QTest::keyClick(&f, Qt::Key_Escape);
    EXPECT_FALSE(f.isVisible());
    EXPECT_FALSE(Shown(s, MainCommand::New));
    EXPECT_TRUE(set.ShowTB[static_cast<int>(ToolGroup::Help)]);
    TFormOptions& again = Open(s, colors);
    EXPECT_EQ(&again, &f);  // one dialog for the main window's life
    Click(f, "Button1");
    EXPECT_FALSE(f.isVisible());
    EXPECT_TRUE(Shown(s, MainCommand::New) && Shown(s, MainCommand::Undo) && Shown(s, MainCommand::Help));
    EXPECT_FALSE(Shown(s, MainCommand::NewPo) || Shown(s, MainCommand::OptProg));

    // The language page: filling and refreshing the list never changes the
    // language.
    Open(s, colors);
    QSignalSpy changes(&s.app->languageChanged(), &LanguageSignal::changed);
    const std::string before = set.LangFile;
    Page(f, 3);
    auto* list = Find<QComboBox>(f, "ComboBox1");
    ASSERT_GE(list->count(), 1);
    EXPECT_EQ(list->itemText(0).toStdString(), "Include Russian");
    EXPECT_EQ(list->currentIndex(), 0);
    Click(f, "SpeedButton1");
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(set.LangFile, before);

    // Undo switched off: its files go and Undo and Redo are disabled.
    ASSERT_FALSE(st.UndoFolder.empty());
    const std::string undoFile = st.UndoFolder + "Undo000001.pel";
    WriteBytes(undoFile, "x");
    emit st.Document.commandEnabled(EditingCommand::Undo, true);
    Page(f, 0);
    Click(f, "CheckBoxUndo");
    Click(f, "Button1");
    EXPECT_FALSE(std::filesystem::exists(undoFile));
    EXPECT_FALSE(s.w->commandEnabled(MainCommand::Undo) || s.w->commandEnabled(MainCommand::Redo));
    Open(s, colors);
    Click(f, "CheckBoxUndo");
    Click(f, "Button1");

    // A restart keeps it all.
    s.stop();
    s.start();
    const Settings& kept = s.w->shell().settings;
    EXPECT_TRUE(kept.UndoOn);
    EXPECT_EQ(kept.UndoSteps, 120);
    EXPECT_TRUE(kept.OwnDialogs);
    EXPECT_EQ(kept.MoveColor, DefaultMoveColor);
    EXPECT_EQ(kept.ShapeColor, DefaultShapeColor);
    EXPECT_TRUE(Shown(s, MainCommand::New) && Shown(s, MainCommand::Help));
    EXPECT_FALSE(Shown(s, MainCommand::NewPo));
    TFormOptions& later = Open(s, colors);
    EXPECT_TRUE(Find<QCheckBox>(later, "CheckBoxUndo")->isChecked());
    EXPECT_EQ(Find<QSpinBox>(later, "SpinEditUndo")->value(), 120);
    EXPECT_TRUE(Find<QCheckBox>(later, "CheckBoxTBHelp")->isChecked());
    later.close();

    // A damaged settings file never stops the start.
    for (const std::string& bytes : {std::string("\xE8\xFF\x00garbage\r\n\r\n", 14), std::string(5000, '\xE8'),
                                     std::string("x\r\n8\r\n999999999\r\n\r\n\xE8zzzz\r\n0a0\r\n")}) {
        s.stop();
        WriteBytes(s.prog() + SettingsFileName, bytes);
        s.start();
        EXPECT_TRUE(s.w->isVisible());
        TFormOptions& d = Open(s, colors);
        const int shown = Find<QSpinBox>(d, "SpinEditUndo")->value();
        EXPECT_TRUE(shown >= 10 && shown <= 200 && shown % 10 == 0) << shown;
        EXPECT_EQ(s.w->shell().settings.UndoSteps, shown);
        d.close();
    }

    // The menu item shows the same dialog, modally.
    QString modal;
    QTimer::singleShot(0, [&modal] {
        if (QWidget* m = QApplication::activeModalWidget()) {
            modal = m->objectName();
            m->close();
        }
    });
    s.w->menuAction(MainCommand::OptProg)->trigger();
    EXPECT_EQ(modal, QStringLiteral("FormOptions"));
}
