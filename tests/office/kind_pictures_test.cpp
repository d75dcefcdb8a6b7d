// One picture per kind from the shipped sets, filled and unfilled, in an
// 800 x 600 and a 400 x 300 document: the program's own picture (PNG), its
// metafile (EMF) and both shape exports (.odg, .odt, in office/), for
// scripts/kind-shots.sh to convert and lay side by side.  Runs only with
// PELMAR_KIND_SHOTS naming the folder to write into.
#include <gtest/gtest.h>

#include <QDir>
#include <cstdlib>

#include "editing/edited_document.h"
#include "editing/editing_state.h"
#include "support/quiet_windows.h"
#include "editing/kind_access.h"
#include "editing/new_objects.h"
#include "files/document.h"
#include "model/defaults.h"
#include "office_fixture.h"
#include "shell/default_sets.h"
#include "support/fake_redraw_host.h"

namespace pelmar::test {
namespace {

TEST(KindPictures, WriteEveryKind) {
    const char* out = std::getenv("PELMAR_KIND_SHOTS");
    if (!out || !*out) GTEST_SKIP() << "PELMAR_KIND_SHOTS names no folder";
    const QString dir = QString::fromLocal8Bit(out);
    QDir().mkpath(dir + "/office");
    QTemporaryDir prog;
    const std::string shipped = PELMAR_TEST_DATA "/../../share/pelmar/";
    for (const auto& [w, h] : {std::pair{800, 600}, std::pair{400, 300}}) {
        for (const KindInfo& k : KindTable) {
            for (bool filled : {false, true}) {
                auto doc = NewDocument();
                doc->Im.Width = w;
                doc->Im.Height = h;
                {
                    auto edited = std::make_unique<EditedDocument>(*doc);
                    EditingState* st = &edited->state();
                    QuietWindows quiet(*st);
                    st->UndoOn = false;
                    st->Defaults.programFolder = prog.path().toStdString();
                    st->Defaults.readDocument =
                        ShippedSetReader(st->Defaults.programFolder, {shipped}, BindDocumentReader(nullptr));
                    ASSERT_TRUE(NewDefaultObject(*st, k.kind));
                }
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

                DrawingState raster;
                FakeRedrawHost host;
                host.view = {0, 0, w, h};
                RepaintProject(*doc, raster, host, RedrawMode::Window, true);
                ASSERT_TRUE(raster.DrawBitmap.convertToFormat(QImage::Format_RGB32).save(QString::fromStdString(base + ".png")));

                doc->Im.PicMode = 1;
                DrawingState meta;
                meta.MetaPath = base + ".emf";
                RepaintProject(*doc, meta, host, RedrawMode::Window, true);
                doc->Im.PicMode = 0;

                RunRig r(*doc);
                r.run.options.CdrDashNo = 9;  // the export dialogs' defaults
                r.run.options.WordDashNo = 4;
                r.run.options.WordArrowNo = 4;
                ASSERT_TRUE(ExportToCorelDraw(8, office + ".cdr", RunMode::DoNotOpen, doc->Im, r.run)) << stem;
                ASSERT_TRUE(ExportToOffice(office + "_text.doc", RunMode::DoNotOpen, doc->Im, r.run)) << stem;
            }
        }
    }
}

}  // namespace
}  // namespace pelmar::test
