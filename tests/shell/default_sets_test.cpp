// The shipped default sets: made by the generator exactly as they are kept in
// share/pelmar/DefaultSet/, found when the program folder has none, and
// drawn as a teacher draws.
//
// PELMAR_WRITE_DEFAULT_SETS=1 rewrites the shipped files;
// PELMAR_DEFAULT_SET_PICTURES=<folder> writes a picture of every default
// object there for looking at.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "drawing/fake_redraw_host.h"
#include "drawing/redraw.h"
#include "files/document.h"
#include "model/defaults.h"
#include "shell/default_sets.h"
#include "shell_test_util.h"

namespace pelmar {
namespace {

using test::ReadBytes;
using test::Scratch;

const std::string Shipped = PELMAR_TEST_DATA "/../../share/pelmar/";
constexpr char ShippedSeparator = ',';

// The default object of every kind as a new object gets it with an empty
// program folder and the shipped sets.
struct ShippedDefaults {
    Scratch s;
    std::string prog = s.folder("pelmar");
    DefaultsSource src;
    std::unique_ptr<DProj> doc = NewDocument();

    ShippedDefaults() {
        SetDecimalSeparator(ShippedSeparator);
        src.programFolder = prog;
        src.readDocument = ShippedSetReader(prog, {Shipped}, BindDocumentReader(nullptr));
        DSubProj& o = doc->Obj;
        o.Po.resize(1), LoadDefaultPoint(o.Po[1], 1, src);
        o.Li.resize(1), LoadDefaultLine(o.Li[1], 1, src);
        o.Ci.resize(1), LoadDefaultCircle(o.Ci[1], 1, src);
        o.Tr.resize(1), LoadDefaultTriangle(o.Tr[1], 1, src);
        o.Kv.resize(1), LoadDefaultTetragon(o.Kv[1], 1, src);
        o.Xy.resize(1), LoadDefaultXOY(o.Xy[1], 1, src);
        o.Sf.resize(1), LoadDefaultOrb(o.Sf[1], 1, src);
        o.Zi.resize(1), LoadDefaultCylinder(o.Zi[1], 1, src);
        o.Ko.resize(1), LoadDefaultCone(o.Ko[1], 1, src);
        o.I3.resize(1), LoadDefaultPyramid3(o.I3[1], 1, src);
        o.I4.resize(1), LoadDefaultPyramid4(o.I4[1], 1, src);
        o.R3.resize(1), LoadDefaultPrism3(o.R3[1], 1, src);
        o.R4.resize(1), LoadDefaultPrism4(o.R4[1], 1, src);
        o.Xz.resize(1), LoadDefaultXYZ(o.Xz[1], 1, src);
    }
    ~ShippedDefaults() { SetDecimalSeparator(0); }
};

// The picture of a document holding only the objects of one kind.
QImage Picture(const DProj& all, Kind k) {
    auto doc = NewDocument();
    doc->Im = all.Im;
    int n = 0;
    ForEachStore(doc->Obj, [&](auto& store) {
        if (++n != KindNumber(k)) return;
        ForEachStore(all.Obj, [&](const auto& from) {
            if constexpr (std::is_same_v<std::decay_t<decltype(from)>, std::decay_t<decltype(store)>>) store = from;
        });
    });
    DrawingState st;
    FakeRedrawHost host;
    host.view = {0, 0, doc->Im.Width, doc->Im.Height};
    RepaintProject(*doc, st, host, 1, true);
    return st.DrawBitmap.convertToFormat(QImage::Format_RGB32);
}

TEST(DefaultSets, ShippedFilesAreWhatTheGeneratorMakes) {
    Scratch s;
    const std::string made = s.folder("made");
    ASSERT_TRUE(WriteDefaultSets(made, ShippedSeparator));
    if (std::getenv("PELMAR_WRITE_DEFAULT_SETS")) {
        ASSERT_TRUE(WriteDefaultSets(Shipped, ShippedSeparator));
    }
    for (const KindInfo& k : KindTable) {
        const std::string name = DefaultSetFile(k.kind, "");
        const std::string shipped = ReadBytes(Shipped + name);
        ASSERT_FALSE(shipped.empty()) << "missing " << Shipped + name << " (PELMAR_WRITE_DEFAULT_SETS=1 writes it)";
        EXPECT_EQ(ReadBytes(made + name), shipped) << name;
    }
}

TEST(DefaultSets, EveryKindDrawsSomething) {
    ShippedDefaults d;
    const char* out = std::getenv("PELMAR_DEFAULT_SET_PICTURES");
    for (const KindInfo& k : KindTable) {
        const QImage pic = Picture(*d.doc, k.kind);
        ASSERT_FALSE(pic.isNull());
        int ink = 0;
        for (int y = 0; y < pic.height(); ++y)
            for (int x = 0; x < pic.width(); ++x) ink += (pic.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
        EXPECT_GT(ink, 100) << k.fileWord;
        if (out) {
            QDir().mkpath(out);
            pic.save(QString(out) + "/" + k.fileWord + ".png");
        }
    }
}

}  // namespace
}  // namespace pelmar
