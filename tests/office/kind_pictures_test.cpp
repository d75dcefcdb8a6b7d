// One picture per kind from the shipped sets, filled and unfilled, in an
// 800 x 600 and a 400 x 300 document, and of the shipped 3D system with a
// surface, its sections and its outline, drawn in 800 x 600 and then made
// 500 x 700 in Project options, as a raster and as a vector picture: the
// program's own picture (PNG), its metafile (EMF) and both shape exports
// (.odg, .odt, in office/), for scripts/kind-shots.sh to convert and lay side
// by side.  Runs only with PELMAR_KIND_SHOTS naming the folder to write into.
#include <gtest/gtest.h>

#include <QDir>
#include <QPainter>
#include <cstdlib>

#include "editing/edited_document.h"
#include "editing/editing_state.h"
#include "support/quiet_windows.h"
#include "editing/kind_access.h"
#include "editing/new_objects.h"
#include "files/document.h"
#include "model/update.h"
#include "model/defaults.h"
#include "office_fixture.h"
#include "shell/default_sets.h"
#include "shell/picture_settings.h"
#include "support/fake_redraw_host.h"

namespace pelmar::test {
namespace {

// A new object of kind k from the shipped sets, as the tool button makes it.
void NewShippedObject(DProj& doc, Kind k, const std::string& programFolder) {
    auto edited = std::make_unique<EditedDocument>(doc);
    EditingState* st = &edited->state();
    QuietWindows quiet(*st);
    st->UndoOn = false;
    st->Defaults.programFolder = programFolder;
    st->Defaults.readDocument = ShippedSetReader(programFolder, {PELMAR_TEST_DATA "/../../share/pelmar/"},
                                                 BindDocumentReader(nullptr));
    ASSERT_TRUE(NewDefaultObject(*st, k));
}

// The built drawing of the picture's type as base.png (a vector picture on
// white), its metafile as base.emf, and both shape exports.
void WriteOutputs(DProj& doc, const std::string& base, const std::string& office) {
    const int w = doc.Im.Width, h = doc.Im.Height;
    const std::uint8_t type = doc.Im.PicMode;
    FakeRedrawHost host;
    host.view = {0, 0, w, h};
    DrawingState own;
    RepaintProject(doc, own, host, RedrawMode::Window, true);
    QImage pic(w, h, QImage::Format_RGB32);
    pic.fill(Qt::white);
    {
        QPainter p(&pic);
        p.drawImage(0, 0, type == 1 ? own.MetaImage : own.DrawBitmap);
    }
    ASSERT_TRUE(pic.save(QString::fromStdString(base + ".png")));

    doc.Im.PicMode = 1;
    DrawingState meta;
    meta.MetaPath = base + ".emf";
    RepaintProject(doc, meta, host, RedrawMode::Window, true);
    doc.Im.PicMode = type;

    RunRig r(doc);
    r.run.options.CdrDashNo = 9;  // the export dialogs' defaults
    r.run.options.WordDashNo = 4;
    r.run.options.WordArrowNo = 4;
    ASSERT_TRUE(ExportToCorelDraw(8, office + ".cdr", RunMode::DoNotOpen, doc.Im, r.run)) << base;
    ASSERT_TRUE(ExportToOffice(office + "_text.doc", RunMode::DoNotOpen, doc.Im, r.run)) << base;
}

TEST(KindPictures, WriteEveryKind) {
    const char* out = std::getenv("PELMAR_KIND_SHOTS");
    if (!out || !*out) GTEST_SKIP() << "PELMAR_KIND_SHOTS names no folder";
    const QString dir = QString::fromLocal8Bit(out);
    QDir().mkpath(dir + "/office");
    QTemporaryDir prog;
    for (const auto& [w, h] : {std::pair{800, 600}, std::pair{400, 300}}) {
        for (const KindInfo& k : KindTable) {
            for (bool filled : {false, true}) {
                auto doc = NewDocument();
                doc->Im.Width = w;
                doc->Im.Height = h;
                NewShippedObject(*doc, k.kind, prog.path().toStdString());
                bool fillable = false;
                ForEachStore(doc->Obj, [&](auto& store) {
                    if constexpr (requires { store[1].Fill.On; })
                        for (std::size_t i = 1; i <= store.count(); ++i) {
                            store[i].Fill.On = filled;
                            fillable = true;
                        }
                });
                if (filled && !fillable) continue;
                const std::string stem = std::to_string(w) + "x" + std::to_string(h) + "_" + k.fileWord +
                                         (filled ? "_filled" : "_plain");
                const std::string base = dir.toStdString() + "/" + stem;
                const std::string office = dir.toStdString() + "/office/" + stem;

                WriteOutputs(*doc, base, office);
            }
        }
    }
}

TEST(KindPictures, WriteSurfaces) {
    const char* out = std::getenv("PELMAR_KIND_SHOTS");
    if (!out || !*out) GTEST_SKIP() << "PELMAR_KIND_SHOTS names no folder";
    const std::string dir = out;
    QDir().mkpath(QString::fromStdString(dir + "/office"));
    QTemporaryDir prog;
    for (const std::uint8_t type : {0, 1}) {
        auto doc = NewDocument();
        doc->Im.Width = 800;
        doc->Im.Height = 600;
        doc->Im.PicMode = type;
        NewShippedObject(*doc, Kind::xz, prog.path().toStdString());
        // The paraboloid z = (x^2 + y^2)/4 with the shipped sections x = 0
        // and y = 0, its z = 0 section moved up to z = 3, and its outline.
        DXZ& x = doc->Obj.Xz[1];
        x.Surf[1].s = "(x^2+y^2)/4";
        x.SurfOn[1].v = true;
        x.SurfColorIndex[1].v = 12;
        x.Sections[1][3][1].C.v = 3;
        x.Outlines[1].On = true;
        UpdateXYZ(x, 0);
        const std::string kind = type == 1 ? "vector" : "raster";
        for (const auto& [w, h] : {std::pair{800, 600}, std::pair{500, 700}}) {
            if (w != doc->Im.Width || h != doc->Im.Height) {
                PictureSettings s = SettingsOf(*doc);
                s.Width = w;
                s.Height = h;
                StorePictureSettings(*doc, s);
            }
            const std::string stem = std::to_string(w) + "x" + std::to_string(h) + "_XYZ_surface-" + kind;
            WriteOutputs(*doc, dir + "/" + stem, dir + "/office/" + stem);
        }
    }
}

}  // namespace
}  // namespace pelmar::test
