// A surface's z = const section stays on its surface when the picture
// changes: a user draws the shipped 3D system with a saddle in the main
// window, makes the picture taller and then a vector picture in Project
// options, edits the system and saves; the section's ink is found about the
// system's origin in the window's picture, in the metafile's records and in
// the picture of the document opened again.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstring>
#include <map>

#include "app/document_wiring.h"
#include "dialogs/ui/radio_group.h"
#include "editing/edited_document.h"
#include "editing/editing_state.h"
#include "editing/new_objects.h"
#include "files/document.h"
#include "model/update.h"
#include "platform/canvas.h"
#include "shell/default_sets.h"
#include "shell/ui/main_window.h"
#include "support/fake_export_host.h"
#include "support/quiet_windows.h"
#include "office_fixture.h"

namespace pelmar::test {
namespace {

// Where ink lies: how much, and its mean position.
struct Ink {
    int n = 0;
    double x = 0, y = 0;
    void add(double px, double py) {
        x = (x * n + px) / (n + 1);
        y = (y * n + py) / (n + 1);
        ++n;
    }
};

// The pixels of colour c (0x00BBGGRR) and its anti-aliased edges.
Ink InkOf(const QImage& pic, TColor c) {
    Ink k;
    const int r = RgbRed(c), g = RgbGreen(c), b = RgbBlue(c);
    for (int y = 0; y < pic.height(); ++y)
        for (int x = 0; x < pic.width(); ++x) {
            const QColor p = QColor::fromRgba(pic.pixel(x, y));
            if (p.alpha() > 128 && std::abs(p.red() - r) + std::abs(p.green() - g) + std::abs(p.blue() - b) < 120)
                k.add(x, y);
        }
    return k;
}

template <class T>
T At(const QByteArray& b, std::size_t off) {
    T v{};
    std::memcpy(&v, b.constData() + off, sizeof v);
    return v;
}

// The points of the plain polylines a metafile strokes with pens of colour c.
Ink MetafileInkOf(const std::string& path, TColor c) {
    QFile f(QString::fromStdString(path));
    Ink k;
    if (!f.open(QIODevice::ReadOnly)) return k;
    const QByteArray b = f.readAll();
    constexpr std::uint32_t Polyline = 4, SelectObject = 37, ExtCreatePen = 95;
    std::map<std::uint32_t, std::uint32_t> penColour;  // handle -> COLORREF
    bool ours = false;
    for (std::size_t off = 0; off + 8 <= static_cast<std::size_t>(b.size());) {
        const auto type = At<std::uint32_t>(b, off), size = At<std::uint32_t>(b, off + 4);
        if (size < 8 || off + size > static_cast<std::size_t>(b.size())) break;
        if (type == ExtCreatePen) penColour[At<std::uint32_t>(b, off + 8)] = At<std::uint32_t>(b, off + 40) & 0xFFFFFF;
        if (type == SelectObject) {
            const auto it = penColour.find(At<std::uint32_t>(b, off + 8));
            if (it != penColour.end()) ours = it->second == c;
        }
        if (type == Polyline && ours)
            for (std::uint32_t i = 0, n = At<std::uint32_t>(b, off + 24); i < n; ++i)
                k.add(At<std::int32_t>(b, off + 28 + 8 * i), At<std::int32_t>(b, off + 32 + 8 * i));
        off += size;
    }
    return k;
}

TEST(SectionAfterPictureChange, StaysOnItsSurfaceInEveryPicture) {
    QTemporaryDir dir;
    auto path = [&](const std::string& name) { return dir.path().toStdString() + "/" + name; };
    // The shipped system in a 500 x 500 picture, with the saddle
    // z = (x^2 - y^2)/4 and only its shipped z = 0 section: two lines
    // crossing at the origin, whose ink is centred there.
    auto doc = NewDocument();
    doc->Im.Width = doc->Im.Height = 500;
    {
        auto edited = std::make_unique<EditedDocument>(*doc);
        EditingState& st = edited->state();
        QuietWindows quiet(st);
        st.UndoOn = false;
        st.Defaults.programFolder = path("shipped");
        st.Defaults.readDocument = ShippedSetReader(st.Defaults.programFolder, {PELMAR_TEST_DATA "/../../share/pelmar/"},
                                                    BindDocumentReader(nullptr));
        ASSERT_TRUE(NewDefaultObject(st, Kind::xz));
    }
    DXZ& made = doc->Obj.Xz[1];
    made.Surf[1].s = "(x^2-y^2)/4";
    made.SurfOn[1].v = true;
    made.SurfColorIndex[1].v = 12;  // a colour nothing else has
    for (std::size_t g = 1; g <= 2; ++g)
        for (DSection& s : made.Sections[1][g]) s.On.v = false;
    ASSERT_TRUE(made.Sections[1][3][1].On.v);
    UpdateXYZ(made, 0);
    ASSERT_TRUE(WriteDocument(path("saddle.pel"), *doc, WriteModeDocument, DocumentContext{}));

    Application app(Application::Folders{path("prog/"), {}, path("")});
    FakeExportHost exporter;
    MainWindowSetup setup;
    setup.arguments = {path("saddle.pel")};
    setup.services.exporter = &exporter;
    Form1 w(app, std::move(setup));
    WireDocument(w);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.chooseObject(0);  // the system's dialog, with its working copy

    const TColor colour = w.document().Obj.Xz[1].SurfColor[1].v;
    // The section's ink about the origin in the picture the window shows.
    auto expectOnSurface = [&](const std::string& when) {
        const DProj& d = w.document();
        const DXZ& z = d.Obj.Xz[1];
        const double cx = z.Center.ScrX.v, cy = d.Im.Height - z.Center.ScrY.v;
        const bool vector = d.Im.PicMode == 1;
        const Ink k = InkOf(vector ? w.drawing().MetaImage : w.drawing().DrawBitmap, colour);
        EXPECT_GT(k.n, 200) << when;
        EXPECT_NEAR(k.x, cx, 3) << when;
        EXPECT_NEAR(k.y, cy, 3) << when;
        if (!vector) return;
        ASSERT_TRUE(w.drawing().MetaWritten) << when;
        const Ink m = MetafileInkOf(w.drawing().MetaPath, colour);
        EXPECT_GT(m.n, 20) << when;
        EXPECT_NEAR(m.x, cx, 3) << when << ": the metafile";
        EXPECT_NEAR(m.y, cy, 3) << when << ": the metafile";
    };
    w.run(MainCommand::Play);
    expectOnSurface("built");

    auto projectOptions = [&](std::function<void(QDialog&)> change) {
        WhenModal([change](QDialog& d) {
            change(d);
            QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
        });
        w.menuAction(MainCommand::OptProj)->trigger();
    };
    projectOptions([](QDialog& d) {
        auto* height = d.findChild<QSpinBox*>(QStringLiteral("SpinEdit2"));
        height->setFocus();
        height->selectAll();
        QTest::keyClicks(height, "700");
    });
    ASSERT_EQ(w.document().Im.Height, 700);
    expectOnSurface("700 pixels high");

    // An edit of the system in its dialog commits its working copy.
    app.edited().commit(false);
    app.edited().requestRedraw();
    app.edited().ensureDrawn();
    expectOnSurface("edited");

    projectOptions([](QDialog& d) {
        QAbstractButton* vector = d.findChild<TRadioGroup*>(QStringLiteral("RadioGroupType"))->button(1);
        QTest::mouseClick(vector, Qt::LeftButton, {}, QPoint(8, vector->height() / 2));
    });
    ASSERT_EQ(w.document().Im.PicMode, 1);
    expectOnSurface("a vector picture");
    app.edited().commit(false);
    app.edited().requestRedraw();
    app.edited().ensureDrawn();
    expectOnSurface("a vector picture, edited");

    // Saved with its curves file and opened again: drawn as it was saved.
    w.run(MainCommand::Save);
    ASSERT_TRUE(QFile::exists(QString::fromStdString(path("saddle.cur"))));
    ASSERT_TRUE(w.files().OpenDocument(path("saddle.pel")));
    app.edited().ensureDrawn();
    expectOnSurface("opened again");
}

}  // namespace
}  // namespace pelmar::test
