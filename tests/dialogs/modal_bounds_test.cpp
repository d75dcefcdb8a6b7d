// A number past the range the program takes (1,000,000 either way), typed key
// by key into the modal windows of a 3D system's surface: the section
// bounds, the section positions and the outline's window.  It is refused with
// a tip naming the bound; nothing past the range is ever stored.
#include <gtest/gtest.h>

#include <QToolTip>
#include <memory>

#include "dialog_test_util.h"
#include "dialogs/ui/outline_dialog.h"
#include "dialogs/ui/section_bounds_dialog.h"
#include "dialogs/ui/section_dialog.h"
#include "editing_fake.h"
#include "files/word_table.h"
#include "model/coord_limit.h"
#include "support/key_rows.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

// The range's own tip, or a graph rule's, names the bound; the record never
// holds a number past it.
template <class R>
void PlayPast(QWidget& window, const RecordKeyRow<R>& row, const R& record) {
    QToolTip::hideText();
    PlayKeys(window, row, record);
    const QString tip = ShownTextTip();
    EXPECT_TRUE(tip.contains("1 000 000") || tip.contains("1000000")) << row.name << ": " << tip.toStdString();
    EXPECT_TRUE(WithinCoordLimit(row.stored(record))) << row.name;
}

}  // namespace

TEST(ModalBounds, SurfaceWindowsRefuseANumberPastTheRange) {
    QLocale::setDefault(QLocale(QLocale::Russian));
    const WordTable& words = BuiltInWords();

    // A bound: the number held when the field got the focus stays.
    DSection sec;
    sec.On.v = true;
    for (std::size_t i = 0; i < 4; ++i) sec.Bounds[i].v = static_cast<double>(i) - 2;
    TFormSech2 b(sec, 2, words);
    ShowActive(b);
    const QString huge = "3000000000";
    PlayPast<DSection>(b, {"a bound", "Edit22", huge, Prefixes(huge), [](const DSection& s) { return s.Bounds[3].v; },
                           1, "1", true},
                       sec);
    PlayPast<DSection>(b, {"a bound typed negative", "Edit11", "-" + huge, Prefixes("-" + huge),
                           [](const DSection& s) { return s.Bounds[0].v; }, -2, "-2", true},
                       sec);
    b.close();

    // A section's position is stored key by key, and a number past the
    // range takes back what its keys stored: the section is as before.
    auto x = std::make_unique<DXZ>();
    x->Sections[3][3][2].On.v = true;
    x->Sections[3][3][2].C.v = 1.5;
    std::uint8_t plane = 3;
    TFormSech1 f(*x, 3, plane, words);
    ShowActive(f);
    PlayPast<DXZ>(f, {"a section's position", "Edit2", huge, Prefixes(huge),
                      [](const DXZ& z) { return z.Sections[3][3][2].C.v; }, 1.5, "1,5", true},
                  *x);
    f.close();

    // The outline's window corner, a whole number of pixels.
    FakeEditing ed;
    DOutLine& o = ed.work.CurXZ.Outlines[1];
    o.X2 = 120;
    TFormOL ol(ed.reg, 1);
    ShowActive(ol);
    const QString big = "2000000000";
    PlayPast<DOutLine>(ol, {"an outline corner", "SpinEdit3", big, Prefixes(big),
                            [](const DOutLine& l) { return double(l.X2); }, 120, "120", true},
                       o);
    EXPECT_EQ(ed.undoSteps, 0) << "nothing was stored";
}
