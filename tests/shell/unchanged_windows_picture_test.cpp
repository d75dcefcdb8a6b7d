// Windows opened and closed without a change leave the picture as it was: a
// saddle with two sections and its outline, and a filled sphere, built with
// the play button and exported to PNG before and after the sphere's animation
// and fill windows are opened and left by "Ok" (the window then redraws, a
// quick drawing), give the same pixels, as the file opened and built again
// does.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QTest>

#include "editing/kind_access.h"
#include "files/document.h"
#include "window_session.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

// The saddle z = x^2 - y^2 of the 3D system with the sections x = 0 and
// x = 1 (their hidden parts dashed) and its outline; the sphere filled.
void Saddle(DProj& d) {
    DXZ& x = d.Obj.Xz[1];
    x.SurfOn[1].v = true;
    x.Surf[1].s = "x^2-y^2";
    x.Style[1].Hidden.v = 2;
    for (std::size_t k = 1; k <= 2; ++k) {
        DSection& sec = x.Sections[1][1][k];
        sec.On.v = true;
        sec.C.v = static_cast<double>(k - 1);
        for (std::size_t b = 0; b < 4; ++b) sec.Bounds[b].v = b % 2 ? 3 : -3;
    }
    DOutLine& outline = x.Outlines[1];
    outline.On = true, outline.X1 = 0, outline.Y1 = 0, outline.X2 = d.Im.Width, outline.Y2 = d.Im.Height;
    d.Obj.Sf[1].Fill.On = true;
}

QImage Exported(WindowSession& s, const std::string& name) {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();  // the redraws owed
    s.exporter.chosenName = s.dir.path(name);
    s.exporter.chosenFilter = 4;
    s.w->menuAction(MainCommand::Export)->trigger();
    return QImage(QString::fromStdString(s.exporter.chosenName)).convertToFormat(QImage::Format_RGB32);
}

int Differing(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return -1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

TEST(UnchangedWindows, TheSpheresAnimationAndFillWindowsLeaveThePictureAsItWas) {
    WindowSession s;
    s.answers.counts[Slot(Kind::xz)] = s.answers.counts[Slot(Kind::sf)] = 1;
    StartNew(s);
    DProj& d = s.w->document();
    d.Im.PicMode = 0;
    Saddle(d);
    const std::string file = s.dir.path("saddle.pel");
    ASSERT_TRUE(WriteDocument(file, d, WriteModeDocument, DocumentContext{}));
    s.answers.openName = file;
    s.w->menuAction(MainCommand::Open)->trigger();

    // The play button builds the drawing in full (the outline is traced).
    s.w->toolAction(MainCommand::Play)->trigger();
    const QImage first = Exported(s, "first.png");
    ASSERT_FALSE(first.isNull());
    QWidget* sphere = s.open(Kind::sf);
    ASSERT_TRUE(sphere);
    for (const auto& [button, window] : {std::pair{"ButtonSfAnim", "FormAnimZK"}, {"ButtonSfBrush", "FormBrush"}}) {
        auto* b = sphere->findChild<QPushButton*>(button);
        ASSERT_TRUE(b && b->isEnabled()) << button;
        InModal(window, [&] { QTest::mouseClick(b, Qt::LeftButton); }, [](QWidget&) {});
    }
    EXPECT_FALSE(s.w->editing().Changed) << "nothing changed";
    EXPECT_EQ(Differing(Exported(s, "second.png"), first), 0) << "pixels differing after the windows";

    // The file opened again and built exports as the first time.
    s.w->menuAction(MainCommand::Open)->trigger();
    s.w->toolAction(MainCommand::Play)->trigger();
    EXPECT_EQ(Differing(Exported(s, "reopened.png"), first), 0) << "pixels differing after a reopen";
}

}  // namespace
