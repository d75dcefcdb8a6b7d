// The program started as a new user starts it, away from the source tree:
// another working directory, an empty program folder and cache, no
// installation.  The shipped default sets come from the files built into
// the program, Qt's own buttons speak the interface's language, and the help
// command shows the shipped help page in the program's own window.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>
#include <filesystem>
#include <set>

#include "app/document_wiring.h"
#include "editing/kind_access.h"
#include "shell/application.h"
#include "shell/file_commands.h"
#include "shell/picture_settings.h"
#include "shell/qt_translation.h"
#include "shell/ui/help_window.h"
#include "shell/ui/main_window.h"
#include "shell_test_util.h"

using namespace pelmar;
using namespace pelmar::test;
namespace fs = std::filesystem;

namespace {

// New project answered with a count per kind; messages kept.
struct Answers : FileQuestions {
    std::array<std::uint8_t, KindCount> counts{};
    std::vector<std::string> messages;
    Answer askYesNoCancel(const std::string&) override { return Answer::No; }
    bool askYesNo(const std::string&) override { return false; }
    void showMessage(const std::string& text) override { messages.push_back(text); }
    std::string chooseOpenFile(const std::string&, bool) override { return {}; }
    std::string chooseSaveFile(const std::string&, const std::string&, bool) override { return {}; }
    bool chooseNewProject(std::array<std::uint8_t, KindCount>& c) override {
        c = counts;
        return true;
    }
    bool chooseNewPicture(PictureSettings&) override { return true; }
};

// The working directory for one test, put back after it.
struct WorkingDirectory {
    fs::path old = fs::current_path();
    explicit WorkingDirectory(const std::string& dir) { fs::current_path(dir); }
    ~WorkingDirectory() { fs::current_path(old); }
};

}  // namespace

TEST(StartAnywhere, ShippedDefaultsAndHelpFromTheProgramItself) {
    Scratch s;
    EnvGuard data("XDG_DATA_HOME"), cache("XDG_CACHE_HOME"), dirs("XDG_DATA_DIRS");
    data.Set(s.folder("data").c_str());
    cache.Set(s.folder("cache").c_str());
    dirs.Set(s.folder("no-installation").c_str());
    WorkingDirectory cwd(s.folder("somewhere"));

    InstallQtTranslation("eng");  // as a fresh process starts
    Application app(Application::DefaultFolders());
    EXPECT_EQ(app.shell().ProgDir, s.path("data/pelmar/"));
    Answers answers;
    std::vector<std::string> urls;
    MainWindowSetup setup;
    setup.services.questions = &answers;
    setup.services.openUrl = [&](const std::string& url) {
        urls.push_back(url);
        return false;  // a desktop without a web browser
    };
    Form1 w(app, std::move(setup));
    WireDocument(w);
    w.show();

    // Qt's own buttons speak the built-in Russian of the word table.
    if (QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_ru.qm")) {
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        EXPECT_EQ(box.button(QMessageBox::Cancel)->text().toStdString(), "Отмена");
    }

    // New objects take the shipped sets: a triangle with three distinct named
    // vertices, a segment without arrowheads, a visible circle with its centre named.
    answers.counts[Slot(Kind::li)] = 1;
    answers.counts[Slot(Kind::ci)] = 1;
    answers.counts[Slot(Kind::tr)] = 1;
    w.run(MainCommand::New);
    const DSubProj& o = w.document().Obj;
    ASSERT_EQ(o.count(Kind::tr), 1);
    std::set<std::pair<double, double>> vertices;
    for (const DLine& side : o.Tr[1].S) vertices.insert({side.P1.Y.v, side.P1.Z.v});
    EXPECT_EQ(vertices.size(), 3u) << "the built-in fallback puts all vertices on one point";
    EXPECT_EQ(o.Tr[1].S[1].P1.Name.s, "A");
    EXPECT_FALSE(o.Li[1].Arrow1.v || o.Li[1].Arrow2.v);
    EXPECT_EQ(o.Ci[1].Center.Name.s, "O");
    EXPECT_GT(o.Ci[1].A.v, 10);
    EXPECT_TRUE(answers.messages.empty());

    // Help shows the shipped page in the program's own window and asks the
    // desktop for no browser: the page, every picture read, every link within
    // the page naming a place in it, and a click on one scrolling there.
    w.run(MainCommand::Help);
    EXPECT_TRUE(urls.empty()) << urls[0];
    auto* help = w.findChild<HelpWindow*>("FormHelp");
    ASSERT_NE(help, nullptr);
    ASSERT_TRUE(help->isVisible());
    EXPECT_EQ(help->windowTitle().toStdString(), "Pelmar  -  " + app.shell().words.WordLine(62));
    HelpBrowser& view = *help->browser();
    ASSERT_TRUE(view.source().isLocalFile());
    const std::string page = view.source().toLocalFile().toStdString();
    EXPECT_EQ(page.rfind(s.path("cache/pelmar/shipped-"), 0), 0u) << page;
    EXPECT_EQ(fs::path(page).filename(), "Pelmar.html");
    EXPECT_EQ(view.documentTitle().toStdString(), "Pelmar — справка");
    EXPECT_TRUE(view.toPlainText().startsWith("Pelmar — редактор геометрических чертежей"));
    QTextDocument& doc = *view.document();
    std::set<std::string> places, links;
    QTextCursor drawLink;
    int pictures = 0;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QTextCharFormat cf = f.charFormat();
            for (const QString& name : cf.anchorNames()) places.insert(name.toStdString());
            if (cf.anchorHref().startsWith('#')) {
                links.insert(cf.anchorHref().mid(1).toStdString());
                if (cf.anchorHref() == "#draw" && drawLink.isNull()) {
                    drawLink = QTextCursor(&doc);
                    drawLink.setPosition(f.position() + f.length() / 2);
                }
            }
            if (!cf.isImageFormat()) continue;
            const QString src = cf.toImageFormat().name();
            const QImage picture = doc.resource(QTextDocument::ImageResource, QUrl(src)).value<QImage>();
            EXPECT_FALSE(picture.isNull()) << src.toStdString();
            EXPECT_GT(picture.width(), 100) << src.toStdString();
            ++pictures;
        }
    EXPECT_GE(pictures, 5);
    EXPECT_GE(links.size(), 7u);
    for (const std::string& link : links) EXPECT_TRUE(places.count(link)) << "#" << link;
    ASSERT_FALSE(drawLink.isNull());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(help));
    view.verticalScrollBar()->setValue(0);
    const QPoint at = view.cursorRect(drawLink).center();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, at);
    EXPECT_GT(view.verticalScrollBar()->value(), 0);
    EXPECT_EQ(view.cursorForPosition(QPoint(20, 8)).block().text().toStdString(), "Рисование мышью");

    // Asked again: the same window.
    w.run(MainCommand::Help);
    EXPECT_EQ(w.findChildren<HelpWindow*>().size(), 1u);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(answers.messages.empty());

    // No page anywhere: the word table's message and no window.
    const std::string cannotOpen = app.shell().words.WordLine(626);
    ASSERT_FALSE(cannotOpen.empty());
    help->close();
    app.shell().shippedDirs.clear();
    w.run(MainCommand::Help);
    EXPECT_FALSE(help->isVisible());
    ASSERT_EQ(answers.messages.size(), 1u);
    EXPECT_EQ(answers.messages[0], cannotOpen + "\n" + s.path("data/pelmar/Pelmar.html"));
    EXPECT_TRUE(urls.empty());
}
