// A user turns the picture into a vector picture in Project options and
// exports it from File > Export as a metafile and as an OpenDocument drawing;
// the save dialog is answered by the test, every other window is the real one.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "app/document_wiring.h"
#include "dialogs/ui/radio_group.h"
#include "files/document.h"
#include "files/picture_export.h"
#include "office/ui/export_dialogs.h"
#include "shell/ui/main_window.h"
#include "shell/ui/picture_settings_dialog.h"
#include "shell/window_session.h"
#include "support/fake_export_host.h"
#include "office_fixture.h"
#include "picture_match.h"
#include "sample_document.h"

namespace pelmar::test {
namespace {

// File > New with the real dialogs: the new-project dialog, then the picture
// settings of a project being made.
TEST(ProjectOptions, NewAsksForThePictureSettings) {
    QTemporaryDir dir;
    Application app(Application::Folders{dir.path().toStdString() + "/prog/", {}, dir.path().toStdString() + "/"});
    Form1 w(app, MainWindowSetup{});
    WireDocument(w);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    for (bool ok : {true, false}) {
        bool fillOffered = true;
        WhenShown("FormNew", [&](QWidget& d) {
            WhenShown("FormImage", [&, ok](QWidget& p) {
                fillOffered = p.findChild<QPushButton*>(QStringLiteral("Button3"))->isEnabled();
                auto* spin = p.findChild<QSpinBox*>(QStringLiteral("SpinEdit1"));
                spin->setFocus();
                spin->selectAll();
                QTest::keyClicks(spin, ok ? "640" : "320");
                QTest::mouseClick(p.findChild<QPushButton*>(QString::fromLatin1(ok ? "Button1" : "Button2")), Qt::LeftButton);
            });
            d.findChild<QCheckBox*>(QStringLiteral("CheckBoxPo"))->click();  // points
            QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
        });
        if (!ok) {  // the untitled project first: not saved
            WhenShown("", [](QWidget& box) {
                QTest::mouseClick(qobject_cast<QMessageBox*>(&box)->button(QMessageBox::No), Qt::LeftButton);
            });
        }
        w.menuAction(MainCommand::New)->trigger();
        EXPECT_FALSE(fillOffered) << "no fill settings before the project exists";
        const DProj& doc = w.document();
        EXPECT_EQ(std::make_tuple(doc.Im.Width, doc.Im.Height, doc.Im.Dpi, doc.Margin1, doc.AnimStart, doc.AnimStep),
                  std::make_tuple(640, 500, 300, 20, std::string("0"), std::string("1")))
            << (ok ? "OK made the project" : "Cancel left it as it was");
    }
    EXPECT_FALSE(QApplication::activeModalWidget());
}

TEST(ProjectOptions, VectorPictureExportedAsMetafileAndDrawing) {
    QTemporaryDir dir;
    auto path = [&](const std::string& name) { return dir.path().toStdString() + "/" + name; };
    std::unique_ptr<DProj> proj = SampleDocument();
    ASSERT_EQ(proj->Im.PicMode, 0);
    // A background picture the document names, read when it is opened.
    QImage back(30, 20, QImage::Format_RGB32);
    back.fill(Qt::yellow);
    ASSERT_TRUE(back.save(QString::fromStdString(path("back.jpeg"))));
    proj->Im.BackOn = true;
    proj->Im.BackPicture = path("back.jpeg");
    ASSERT_TRUE(WriteDocument(path("sample.pel"), *proj, WriteModeDocument, DocumentContext{}));
    Application app(Application::Folders{path("prog/"), {}, path("")});
    FakeExportHost exporter;
    FakeDesktop desktop;
    FakeMessages messages;
    MainWindowSetup setup;
    setup.arguments = {path("sample.pel")};
    setup.services.exporter = &exporter;
    Form1 w(app, std::move(setup));
    WireDocument(w);
    exporter.shapeExport = [&w, run = OfficeExportService(&desktop, &messages)](ExportState& state, bool word) {
        run(w, state, word);
    };
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(w.drawing().BackBitmap.size(), QSize(30, 20));
    EXPECT_EQ(w.document().Im.BackLoaded, 1);

    // Project options: the vector type, OK.
    QString title;
    WhenModal([&title](QDialog& d) {
        title = d.windowTitle();
        auto* type = d.findChild<TRadioGroup*>(QStringLiteral("RadioGroupType"));
        ASSERT_TRUE(type);
        QAbstractButton* vector = type->button(1);
        QTest::mouseClick(vector, Qt::LeftButton, {}, QPoint(8, vector->height() / 2));
        QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
    });
    w.menuAction(MainCommand::OptProj)->trigger();
    EXPECT_EQ(title.toStdString(), "Опции проекта");
    EXPECT_EQ(w.document().Im.PicMode, 1);
    EXPECT_TRUE(w.commandEnabled(MainCommand::Save)) << "the document is changed";
    EXPECT_FALSE(w.toolAction(MainCommand::Anim)->isEnabled()) << "no animation of a vector picture";
    EXPECT_TRUE(w.drawing().MetaWritten) << "the redraw wrote the picture's metafile";

    // File > Export: a metafile, then a drawing through its option dialog.
    exporter.chosenFilter = 1;
    exporter.chosenName = path("picture");
    w.menuAction(MainCommand::Export)->trigger();
    EXPECT_EQ(exporter.dialogFilter, MetafileExportFilter);
    const std::string emf = ReadBytes(path("picture.emf"));
    ASSERT_GT(emf.size(), 88u);
    EXPECT_EQ(emf.substr(40, 4), " EMF") << "an enhanced metafile's signature";

    exporter.chosenFilter = 2;
    exporter.chosenName = path("drawing");
    WhenModal([](QDialog& d) { QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton); });
    w.menuAction(MainCommand::Export)->trigger();
    EXPECT_NE(ZipText(path("drawing.odg"), "content.xml").find("<draw:"), std::string::npos);
    EXPECT_TRUE(exporter.errors.empty() && messages.errors.empty());
    EXPECT_FALSE(QApplication::activeModalWidget());

    // Cancel stores nothing.
    w.document().Im.Width = 640;
    WhenModal([](QDialog& d) {
        auto* spin = d.findChild<QSpinBox*>(QStringLiteral("SpinEdit1"));
        spin->setFocus();
        spin->selectAll();
        QTest::keyClicks(spin, "123");
        QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("Button2")), Qt::LeftButton);
    });
    w.menuAction(MainCommand::OptProj)->trigger();
    EXPECT_EQ(w.document().Im.Width, 640);

    // The fill page's button stores like OK, then the fill settings come up:
    // two colours, Apply builds the drawing, Ok closes.
    w.document().FillValid = 1;
    w.document().Im.TwoColors = 0;
    bool fillShown = false;
    WhenModal([&fillShown](QDialog& d) {
        auto* tabs = d.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
        tabs->setCurrentWidget(d.findChild<QWidget*>(QStringLiteral("TabSheet3")));
        WhenModal([&fillShown](QDialog& fill) {
            fillShown = fill.objectName() == QLatin1String("FormImageBr");
            QAbstractButton* two = fill.findChild<TRadioGroup*>(QStringLiteral("RadioG2"))->button(0);
            QTest::mouseClick(two, Qt::LeftButton, {}, QPoint(8, two->height() / 2));
            QTest::mouseClick(fill.findChild<QPushButton*>(QStringLiteral("BitBtn1")), Qt::LeftButton);
            QTest::mouseClick(fill.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
        });
        QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("Button3")), Qt::LeftButton);
    });
    w.menuAction(MainCommand::OptProj)->trigger();
    EXPECT_TRUE(fillShown);
    EXPECT_EQ(w.document().Im.Width, 640) << "stored as by OK";
    EXPECT_EQ(w.document().Im.TwoColors, 1);
    EXPECT_EQ(w.drawing().DrawProj->Im.TwoColors, 1) << "Apply built the drawing with the new shading";

    // The dialog opens on the page used last.
    QString page;
    WhenModal([&page](QDialog& d) {
        page = d.findChild<QTabWidget*>(QStringLiteral("PageControl1"))->currentWidget()->objectName();
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    w.menuAction(MainCommand::OptProj)->trigger();
    EXPECT_EQ(page, "TabSheet3");
    EXPECT_FALSE(QApplication::activeModalWidget());
}

}  // namespace
}  // namespace pelmar::test
