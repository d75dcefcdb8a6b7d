#include <gtest/gtest.h>
#include <zlib.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListView>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "drawing/redraw.h"
#include "file_test_util.h"
#include "files/doc_fixture.h"
#include "files/document.h"
#include "files/preview_facts.h"
#include "files/ui/preview_widgets.h"
#include "files/ui/zor_dialogs.h"
#include "support/find_child.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

std::string Text(QLabel* l) { return l->text().toStdString(); }

void WritePng(const QString& path, int w, int h) {
    ASSERT_TRUE(DrawingPicture(w, h).save(path, "PNG"));
}

// A small document: a segment, a triangle with its fill on, a caption and
// an author, a picture of 300 x 200.
std::unique_ptr<DProj> PreviewDocument() {
    auto d = NewDocument();
    d->Obj.Po.add(MakePoint(1));
    d->Obj.Li.add(MakeLine(1));
    d->Obj.Tr.add(MakeTriangle(2));
    d->Im.Width = 300;
    d->Im.Height = 200;
    d->Caption = "Чертёж №3";
    d->Author = "Петров";
    ProcessAfterReading(*d, nullptr);
    return d;
}

// A PNG whose header claims 60000 x 60000 pixels, with almost no data.
std::string HugePngHeader() {
    auto be32 = [](std::uint32_t v) {
        std::string s(4, '\0');
        for (int i = 0; i < 4; ++i) s[static_cast<std::size_t>(i)] = static_cast<char>((v >> (24 - 8 * i)) & 0xFF);
        return s;
    };
    auto chunk = [&](const std::string& type, const std::string& data) {
        std::string body = type + data;
        const auto crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()));
        return be32(static_cast<std::uint32_t>(data.size())) + body + be32(static_cast<std::uint32_t>(crc));
    };
    std::string ihdr = be32(60000) + be32(60000);
    ihdr += std::string("\x08\x02\x00\x00\x00", 5);
    const std::string row(16, '\0');
    uLongf len = compressBound(static_cast<uLong>(row.size()));
    std::string z(len, '\0');
    compress(reinterpret_cast<Bytef*>(z.data()), &len, reinterpret_cast<const Bytef*>(row.data()),
             static_cast<uLong>(row.size()));
    z.resize(len);
    return std::string("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", ihdr) + chunk("IDAT", z) + chunk("IEND", "");
}

struct DialogFixture : ::testing::Test {
    Scratch scratch;
    DrawingState drawing;
    std::unique_ptr<DProj> proj = NewDocument();
    std::unique_ptr<TOpenZorDialog> dlg;

    void SetUp() override {
        ZorDialogContext ctx;
        ctx.Drawing = &drawing;
        ctx.Proj = proj.get();
        dlg = std::make_unique<TOpenZorDialog>(nullptr, ctx);
        dlg->DoShow();
    }
    QString path(const char* name) const { return QString::fromStdString(scratch.path(name)); }
    QString writeDocument(const char* name, const DProj& d) {
        const QString p = path(name);
        EXPECT_TRUE(WriteDocument(p.toStdString(), d, WriteModeDocument, DocumentContext{}));
        return p;
    }
    void expectNoPreview() {
        EXPECT_EQ(Text(dlg->PictureLabel), "Picture:");
        EXPECT_FALSE(dlg->PreviewButton->isEnabled());
        EXPECT_TRUE(dlg->ImageCtrl->picture().isNull());
        EXPECT_EQ(dlg->PaintPanel->caption(), "(None)");
    }
};

TEST_F(DialogFixture, ControlsFoundByNameWithTheirStartTexts) {
    for (const char* n : {"PicturePanel", "PictureLabel", "PreviewButton", "PaintPanel", "PaintBox"})
        EXPECT_TRUE(dlg->findChild<QWidget*>(n)) << n;
    const std::vector<std::pair<const char*, const char*>> names{
        {"LabelSize1", "Размер:"},     {"LabelTime1", "Время:"},   {"LabelDate1", "Дата:"},
        {"LabelSizeIm1", "Изображение:"}, {"LabelVer1", "Версия:"}, {"LabelAuth1", "Автор:"},
        {"LabelCapt1", "Название:"}};
    for (const auto& [n, t] : names) EXPECT_EQ(Text(Find<QLabel>(*dlg, n)), t) << n;
    const std::vector<std::pair<const char*, const char*>> values{
        {"LabelSize2", "1.111"}, {"LabelTime2", "00:00"}, {"LabelDate2", "01.01.2010"}, {"LabelSizeIm2", "500x500"},
        {"LabelVer2", "1.0"},    {"LabelAuth2", "И"},     {"LabelCapt2", "X"}};
    for (const auto& [n, t] : values) EXPECT_EQ(Text(Find<QLabel>(*dlg, n)), t) << n;
    EXPECT_TRUE(dlg->LabelSize2->alignment() & Qt::AlignRight);
    EXPECT_TRUE(dlg->LabelCapt2->wordWrap());
    EXPECT_EQ(dlg->PreviewButton->toolTip(), "Preview");
    EXPECT_FALSE(dlg->PreviewButton->isEnabled());
    EXPECT_EQ(dlg->PaintPanel->caption(), "(None)");
    EXPECT_EQ(dlg->ImageCtrl->parentWidget(), dlg->PaintPanel);

    EXPECT_EQ(dlg->Filter().toStdString(),
              "Pel-Files (*.pel)|*.pel|All Support Types|*.pel;*.bmp;*.jpg;*.gif;*.png;*.wmf;*.emf|All Files|*.*");
    const QStringList filters = dlg->nameFilters();
    ASSERT_EQ(filters.size(), 3);
    EXPECT_EQ(filters[1].toStdString(), "All Support Types (*.pel *.bmp *.jpg *.gif *.png *.wmf *.emf)");
    EXPECT_EQ(filters[2].toStdString(), "All Files (*)");
}

TEST_F(DialogFixture, LabelsStandBelowThePreviewFrame) {
    const QRect frame = dlg->PaintPanel->geometry();
    EXPECT_EQ(frame.size(), QSize(150, 150));
    const int B = frame.y() + frame.height();
    EXPECT_EQ(dlg->LabelSize1->pos(), QPoint(frame.x(), B + 20));
    EXPECT_EQ(dlg->LabelAuth1->pos(), QPoint(frame.x(), B + 120));
    EXPECT_EQ(dlg->LabelVer2->geometry().right() + 1, frame.x() + 150);
    EXPECT_EQ(dlg->LabelVer2->y(), B + 100);
    EXPECT_EQ(dlg->LabelCapt1->pos(), QPoint(frame.x(), B + 140));
    EXPECT_EQ(dlg->LabelCapt2->geometry(), QRect(frame.x(), B + 160, 150, 70));
    EXPECT_EQ(dlg->PreviewButton->geometry().right(), frame.right());
}

TEST_F(DialogFixture, PictureShowsItsSizeAndFileFacts) {
    const QString p = path("pic.png");
    WritePng(p, 40, 30);
    Q_EMIT dlg->currentChanged(p);  // as the file list reports a new current file
    EXPECT_EQ(Text(dlg->PictureLabel), " (40x30)");
    EXPECT_EQ(Text(dlg->LabelSizeIm2), " (40x30)");
    EXPECT_EQ(dlg->ImageCtrl->picture().size(), QSize(40, 30));
    EXPECT_TRUE(dlg->PreviewButton->isEnabled());
    EXPECT_EQ(dlg->PaintPanel->caption(), "");
    EXPECT_EQ(Text(dlg->LabelSize2), FileSizeText(FileSizeOf(p)));
    EXPECT_EQ(Text(dlg->LabelTime2), FileTimeText(FileDateTimeOf(p)));
    EXPECT_EQ(Text(dlg->LabelDate2), FileDateText(FileDateTimeOf(p)));
    EXPECT_EQ(Text(dlg->LabelVer2), "");
    EXPECT_EQ(Text(dlg->LabelAuth2), "");
    EXPECT_EQ(Text(dlg->LabelCapt2), "");
    EXPECT_EQ(dlg->SavedFilename, p);
}

TEST_F(DialogFixture, OnlyTheListedSpellingsOfAnExtensionArePreviewed) {
    const QString good = path("photo.Jpg");
    ASSERT_TRUE(DrawingPicture(20, 10).save(good, "JPEG"));
    dlg->DoSelectionChange(good);
    EXPECT_EQ(Text(dlg->PictureLabel), " (20x10)");
    const QString odd = path("photo.jPg");
    ASSERT_TRUE(DrawingPicture(20, 10).save(odd, "JPEG"));
    dlg->DoSelectionChange(odd);
    expectNoPreview();
    // The file facts are shown all the same.
    EXPECT_EQ(Text(dlg->LabelSize2), FileSizeText(FileSizeOf(odd)));
    EXPECT_FALSE(dlg->LabelTime2->text().isEmpty());
}

TEST_F(DialogFixture, SizeOfOtherFilesAndTheThousandsDot) {
    const QString small = path("a.txt"), big = path("b.txt");
    WriteBytes(small.toStdString(), std::string(999, 'a'));
    WriteBytes(big.toStdString(), std::string(1000, 'b'));
    dlg->DoSelectionChange(small);
    EXPECT_EQ(Text(dlg->LabelSize2), "999");
    expectNoPreview();
    dlg->DoSelectionChange(big);
    EXPECT_EQ(Text(dlg->LabelSize2), "1.000");
}

TEST_F(DialogFixture, DocumentShowsHeaderAndMiniatureAndLeavesTheOpenDocumentAlone) {
    const auto doc = PreviewDocument();
    const QString p = writeDocument("drawing.pel", *doc);

    // The open document: other objects, its fill picture current.
    proj->Obj.Po.add(MakePoint(5));
    proj->Caption = "Открытый";
    proj->FillValid = 1;
    const auto before = std::make_unique<DProj>(*proj);
    *drawing.DrawProj = *proj;

    dlg->DoSelectionChange(p);
    EXPECT_EQ(Text(dlg->LabelVer2), "6.0");
    EXPECT_EQ(Text(dlg->LabelCapt2), "Чертёж №3");
    EXPECT_EQ(Text(dlg->LabelAuth2), "Петров");
    EXPECT_EQ(Text(dlg->LabelSizeIm2), "300x200");
    EXPECT_EQ(Text(dlg->LabelSize2), FileSizeText(FileSizeOf(p)));
    // The miniature, fitted into 176 x 176.
    EXPECT_EQ(dlg->ImageCtrl->picture().size(), QSize(176, 117));
    EXPECT_TRUE(dlg->PreviewButton->isEnabled());
    EXPECT_EQ(dlg->PaintPanel->caption(), "");
    EXPECT_EQ(Text(dlg->PictureLabel), "");

    // Nothing of the open document, nor of the window's snapshot, changed.
    EXPECT_EQ(proj->FillValid, 1);
    EXPECT_EQ(proj->Caption, "Открытый");
    EXPECT_EQ(proj->Obj.Po.count(), 1u);
    EXPECT_EQ(proj->Obj.Tr.count(), 0u);
    EXPECT_EQ(proj->Obj.Po[1].ID.s, before->Obj.Po[1].ID.s);
    EXPECT_EQ(drawing.DrawProj->Caption, "Открытый");
    EXPECT_EQ(drawing.DrawProj->Obj.Tr.count(), 0u);
    // The previewed file went into the preview document.
    EXPECT_EQ(drawing.PreviewProj->Obj.Tr.count(), 1u);
    EXPECT_FALSE(drawing.Running);
}

TEST_F(DialogFixture, SaveDialogPreviewsTheSameWay) {
    const QString p = writeDocument("drawing.PEL", *PreviewDocument());
    ZorDialogContext ctx;
    ctx.Drawing = &drawing;
    TSaveZorDialog save(nullptr, ctx);
    save.DoShow();
    save.DoSelectionChange(p);
    EXPECT_EQ(save.ImageCtrl->picture().size(), QSize(176, 117));
    EXPECT_EQ(Text(save.LabelVer2), "6.0");
}

TEST_F(DialogFixture, OldVersionShowsFactsAndVersionOnly) {
    const QString p19 = writeDocument("new.pel", *PreviewDocument());
    dlg->DoSelectionChange(p19);
    ASSERT_FALSE(dlg->ImageCtrl->picture().isNull());

    std::string bytes = ReadBytes(p19.toStdString());
    bytes.replace(0, 6, "<Pel09");
    const QString p9 = path("old.pel");
    WriteBytes(p9.toStdString(), bytes);
    dlg->DoSelectionChange(p9);
    EXPECT_EQ(Text(dlg->LabelVer2), "3.2");
    EXPECT_EQ(Text(dlg->LabelSize2), FileSizeText(static_cast<std::int64_t>(bytes.size())));
    EXPECT_FALSE(dlg->LabelDate2->text().isEmpty());
    EXPECT_EQ(Text(dlg->LabelAuth2), "");
    EXPECT_EQ(Text(dlg->LabelCapt2), "");
    EXPECT_EQ(Text(dlg->LabelSizeIm2), "");
    EXPECT_FALSE(dlg->PreviewButton->isEnabled());
    EXPECT_TRUE(dlg->ImageCtrl->picture().isNull());
    EXPECT_EQ(dlg->PaintPanel->caption(), "");
}

TEST_F(DialogFixture, DamagedFilesShowNoPreviewAndDoNotCrash) {
    const auto doc = PreviewDocument();
    const std::string good = ReadBytes(writeDocument("good.pel", *doc).toStdString());
    const std::vector<std::pair<const char*, std::string>> damaged{
        {"empty.pel", ""},
        {"junk.pel", std::string("\x00\xFF\x13garbage\r\n\x01", 13)},
        {"header.pel", "<Pel19 File>\r\n"},
        {"half.pel", good.substr(0, good.size() / 2)},
        {"counts.pel", "<Pel19 File>\r\n9999999999999999999999999999\r\n"},
        {"future.pel", "<Pel20 File>\r\n" + good.substr(14)},
        {"other.pel", "<Pic19 File>\r\n"},
    };
    for (const auto& [name, bytes] : damaged) {
        const QString p = path(name);
        WriteBytes(p.toStdString(), bytes);
        dlg->DoSelectionChange(p);
        EXPECT_EQ(Text(dlg->LabelVer2), "") << name;
        EXPECT_EQ(Text(dlg->LabelAuth2), "") << name;
        EXPECT_EQ(Text(dlg->LabelSizeIm2), "") << name;
        EXPECT_FALSE(dlg->PreviewButton->isEnabled()) << name;
        EXPECT_TRUE(dlg->ImageCtrl->picture().isNull()) << name;
        EXPECT_EQ(Text(dlg->LabelSize2), FileSizeText(static_cast<std::int64_t>(bytes.size()))) << name;
    }
    for (const auto& [name, bytes] : std::vector<std::pair<const char*, std::string>>{
             {"bad.png", "not a picture at all"}, {"cut.png", ReadBytes(scratch.path("good.pel")).substr(0, 20)},
             {"huge.png", HugePngHeader()}, {"drawing.emf", "\x01\x00\x00\x00"}}) {
        const QString p = path(name);
        WriteBytes(p.toStdString(), bytes);
        dlg->DoSelectionChange(p);
        expectNoPreview();
    }
}

TEST_F(DialogFixture, LargePictureIsReadScaledButShowsItsOwnSize) {
    const QString p = path("wide.png");
    WritePng(p, 3000, 1000);
    dlg->DoSelectionChange(p);
    EXPECT_EQ(Text(dlg->PictureLabel), " (3000x1000)");
    EXPECT_LE(dlg->ImageCtrl->picture().width(), 2048);
    EXPECT_GT(dlg->ImageCtrl->picture().width(), 0);
}

// A picture size beyond the limit is read as the limit, as opening the
// document gives it: listed and painted at that size.
TEST_F(DialogFixture, DocumentWithAHugePictureIsListedAtTheLimit) {
    auto doc = PreviewDocument();
    doc->Im.Width = 100000;
    doc->Im.Height = 100000;
    dlg->DoSelectionChange(writeDocument("huge.pel", *doc));
    EXPECT_EQ(Text(dlg->LabelSizeIm2), "5000x5000");
    EXPECT_EQ(Text(dlg->LabelVer2), "6.0");
    EXPECT_FALSE(dlg->ImageCtrl->picture().isNull());
}

TEST_F(DialogFixture, SameFileTwiceLeavesThePreviewUntouched) {
    const QString p = path("pic.png");
    WritePng(p, 40, 30);
    dlg->DoSelectionChange(p);
    const std::string size = Text(dlg->LabelSize2);
    WritePng(p, 60, 20);  // the file changes, but is not looked at again
    dlg->DoSelectionChange(p);
    EXPECT_EQ(Text(dlg->PictureLabel), " (40x30)");
    EXPECT_EQ(Text(dlg->LabelSize2), size);
    EXPECT_EQ(dlg->ImageCtrl->picture().size(), QSize(40, 30));
    // Another file in between: read again.
    dlg->DoSelectionChange(scratch.dir.path());
    dlg->DoSelectionChange(p);
    EXPECT_EQ(Text(dlg->PictureLabel), " (60x20)");
    // Shown afresh, the dialog forgets the last file.
    dlg->DoShow();
    EXPECT_TRUE(dlg->SavedFilename.isEmpty());
    EXPECT_TRUE(dlg->ImageCtrl->picture().isNull());
    EXPECT_EQ(dlg->PaintPanel->caption(), "(None)");
}

TEST_F(DialogFixture, FolderOrVanishedFileShowsNone) {
    const QString p = path("pic.png");
    WritePng(p, 40, 30);
    dlg->DoSelectionChange(p);
    dlg->DoSelectionChange(scratch.dir.path());
    expectNoPreview();
    EXPECT_EQ(Text(dlg->LabelSize2), "");
    EXPECT_EQ(Text(dlg->LabelDate2), "");

    dlg->DoSelectionChange(p);
    ASSERT_TRUE(QFile::remove(p));
    const QString gone = path("gone.pel");
    dlg->DoSelectionChange(gone);
    expectNoPreview();
    EXPECT_EQ(Text(dlg->LabelSize2), "");
    EXPECT_EQ(Text(dlg->LabelVer2), "");
}

TEST_F(DialogFixture, FullSizePreviewWindow) {
    const QImage pic = DrawingPicture(100, 80);
    auto form = MakePreviewForm(pic);
    EXPECT_EQ(form->objectName(), "PreviewForm");
    EXPECT_EQ(form->windowTitle(), "Preview");
    auto* panel = Find<QFrame>(*form, "Panel");
    auto* image = Find<TPreviewImage>(*form, "Image");
    EXPECT_EQ(image->parentWidget(), panel);
    EXPECT_EQ(image->picture().size(), QSize(100, 80));
    // Picture + the panel's frame + 10.
    EXPECT_EQ(form->size(), QSize(100 + 2 * panel->frameWidth() + 10, 80 + 2 * panel->frameWidth() + 10));

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    auto big = MakePreviewForm(DrawingPicture(5000, 4000));
    EXPECT_EQ(big->size(), QSize(screen.width() * 3 / 4, screen.height() * 3 / 4));
    EXPECT_NEAR(big->geometry().center().x(), screen.center().x(), 2);
    EXPECT_NEAR(big->geometry().center().y(), screen.center().y(), 2);

    // Opened from the button: modal, Escape closes it.
    const QString p = path("pic.png");
    WritePng(p, 64, 48);
    dlg->DoSelectionChange(p);
    bool seen = false;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_TRUE(modal);
        EXPECT_EQ(modal->objectName(), "PreviewForm");
        auto* img = modal->findChild<TPreviewImage*>("Image");
        ASSERT_TRUE(img);
        EXPECT_EQ(img->picture().size(), QSize(64, 48));
        seen = true;
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    dlg->PreviewButton->click();
    EXPECT_TRUE(seen);
    EXPECT_FALSE(QApplication::activeModalWidget());
}

TEST_F(DialogFixture, ExecuteSetsTheKindAndTheRunningDialog) {
    std::uint8_t kind = 9;
    bool running = false;
    QTimer::singleShot(0, [&] {
        kind = dlg->PreviewDialogKind();
        running = dlg->Running();
        dlg->reject();
    });
    EXPECT_FALSE(dlg->Execute());
    EXPECT_EQ(kind, 0);
    EXPECT_TRUE(running);
    EXPECT_FALSE(dlg->Running());
    EXPECT_EQ(dlg->acceptMode(), QFileDialog::AcceptOpen);

    TSaveZorDialog save;
    save.SetInitialDir(scratch.dir.path());
    save.SetFileName(path("named.pel"));
    QTimer::singleShot(0, [&] {
        kind = save.PreviewDialogKind();
        running = save.Running();
        QMetaObject::invokeMethod(&save, "accept");
    });
    EXPECT_TRUE(save.Execute());
    EXPECT_EQ(kind, 1);
    EXPECT_TRUE(running);
    EXPECT_EQ(save.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(QFileInfo(save.FileName()).fileName(), "named.pel");
}

TEST_F(DialogFixture, PanelStandsRightOfTheFileList) {
    WritePng(path("pic.png"), 64, 48);
    writeDocument("drawing.pel", *PreviewDocument());
    dlg->SetInitialDir(scratch.dir.path());
    dlg->resize(760, 460);
    dlg->show();
    dlg->DoSelectionChange(path("drawing.pel"));
    QApplication::processEvents();
    const QImage shot = dlg->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    if (const char* out = std::getenv("PELMAR_DIALOG_SHOT")) shot.save(QString::fromLocal8Bit(out));
    auto* list = dlg->findChild<QWidget*>("splitter");
    ASSERT_TRUE(list);
    const QPoint listRight = list->mapTo(dlg.get(), QPoint(list->width(), 0));
    const QPoint panelLeft = dlg->PicturePanel->mapTo(dlg.get(), QPoint(0, 0));
    EXPECT_GE(panelLeft.x(), listRight.x());
    EXPECT_LE(panelLeft.x() + dlg->PicturePanel->width(), dlg->width());
    // Every name label shows its whole word.
    for (QLabel* l : {dlg->LabelSizeIm1, dlg->LabelCapt1, dlg->LabelSize1})
        EXPECT_GE(l->width(), l->sizeHint().width()) << l->objectName().toStdString();
    dlg->hide();
}

}  // namespace
