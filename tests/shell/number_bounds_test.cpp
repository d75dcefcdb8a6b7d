// Numbers past 1,000,000 pixels either way, typed into every kind of object
// dialog: the field refuses them with a tip naming the bound, every object
// stays within the range and the field shows what the document holds.
#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QToolTip>
#include <functional>
#include <utility>
#include <vector>

#include "dialogs/dialog_test_util.h"
#include "files/number_text.h"
#include "model/coord_limit.h"
#include "model/record_reach.h"
#include "window_session.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

struct Row {
    const char* name;
    Kind kind;  // chosen in the object list
    // A button clicked first that opens the part `opens` (a system's axis).
    std::pair<const char*, Kind> part;
    const char* field;
    QString keys;
    std::function<double(const DSubProj&)> stored;
    // Refused: the tip names `bound` and, with keepsOld, the document keeps
    // what it held.  Otherwise the number is taken as typed, with no tip.
    bool refused = true;
    bool keepsOld = true;
    const char* bound = "1 000 000";
    std::vector<std::pair<const char*, QString>> first = {};  // typed first, each with Return
};

bool AllWithin(const DSubProj& o) {
    bool all = true;
    ForEachStore(o, [&](const auto& store) {
        for (std::size_t i = 1; i <= store.count(); ++i) all = all && WithinCoordLimit(store[i]);
    });
    return all;
}

// The value a row reads.
#define AT(path) [](const DSubProj& o) { return o.path.v; }
const Row Rows[] = {
    {"a point's picture X", Kind::po, {}, "EditPx", "3000000000", AT(Po[1].ScrX)},
    {"a point's 3D Z", Kind::po, {}, "EditPzz", "-3000000000", AT(Po[1].Z)},
    {"a point's picture Y just inside", Kind::po, {}, "EditPy", "-999999", AT(Po[1].ScrY), false},
    {"a segment's end", Kind::li, {}, "EditLx2", "3000000000", AT(Li[1].P2.ScrX)},
    {"a segment's length", Kind::li, {}, "EditLLen", "1000000000000", AT(Li[1].Length)},
    {"a segment's direction", Kind::li, {}, "EditLAng", "3000000000", AT(Li[1].Angle)},
    {"an ellipse's centre", Kind::ci, {}, "SpinEditCx", "2000000000", AT(Ci[1].Center.ScrX)},
    {"an ellipse's semi-axis", Kind::ci, {}, "SpinEditCa", "3000000000", AT(Ci[1].A), true, false, "5000"},
    {"a triangle's side", Kind::tr, {}, "EditTLen1", "1000000000000", AT(Tr[1].S[1].Length)},
    {"a triangle's vertex", Kind::tr, {}, "SpinEditTy2", "-2000000000", AT(Tr[1].S[2].P1.ScrY)},
    {"a tetragon's side", Kind::kv, {}, "EditKLen1", "1000000000000", AT(Kv[1].S[1].Length)},
    {"a segment's length inside the range that carries its end past it", Kind::li, {}, "EditLLen", "999999",
     AT(Li[1].Length), true, true, "1 000 000", {{"EditLx1", "500000"}, {"EditLx2", "900000"}}},
    {"a tetragon's side just inside", Kind::kv, {}, "EditKLen1", "5000", AT(Kv[1].S[1].Length), false},
    {"a 2D system's scale", Kind::xy, {}, "EditXMasx", "3000000000", AT(Xy[1].ScaleX)},
    {"a 2D system's division", Kind::xy, {}, "EditXRazy", "3000000000", AT(Xy[1].DivY)},
    {"the X axis of a 2D system", Kind::xy, {"ButtonXX", Kind::li}, "EditLx2", "3000000000", AT(Xy[1].AxisX.P2.ScrX)},
    {"a 3D system's scale", Kind::xz, {}, "EditYMas", "3000000000", AT(Xz[1].Scale)},
    {"the Y axis of a 3D system", Kind::xz, {"ButtonY_Y", Kind::li}, "EditLx2", "3000000000", AT(Xz[1].AxisY.P2.ScrX)},
    {"a sphere's radius", Kind::sf, {}, "SpinEditSRad", "3000000000", AT(Sf[1].Radius)},
    {"a sphere's centre", Kind::sf, {}, "SpinEditSy", "-2000000000", AT(Sf[1].Center.ScrY)},
    {"a cylinder's radius", Kind::zi, {}, "SpinEditZRad", "3000000000", AT(Zi[1].Radius)},
    {"a cylinder's height", Kind::zi, {}, "SpinEditZH", "3000000000", AT(Zi[1].Axis.Length)},
    {"a cylinder's section angle", Kind::zi, {}, "EditZSeAdd1", "3000000000", AT(Zi[1].SecPos1)},
    {"a cone's radius", Kind::ko, {}, "SpinEditKRad", "3000000000", AT(Ko[1].Radius)},
    {"a cone's height", Kind::ko, {}, "SpinEditKH", "3000000000", AT(Ko[1].Axis.Length)},
    {"a pyramid's height", Kind::i3, {}, "EditPH", "3000000000", AT(I3[1].HeightLine.Length)},
    {"a four-sided pyramid's height", Kind::i4, {}, "EditPH", "3000000000", AT(I4[1].HeightLine.Length)},
    {"a prism's edge vector, third box", Kind::r3, {}, "EditPRebP3", "3000000000", AT(R3[1].EdgeZ)},
    {"a prism's edge length", Kind::r4, {}, "EditPRebLe", "3000000000", AT(R4[1].EdgeLen)},
    {"a prism's edge just inside", Kind::r3, {}, "EditPRebP3", "900000", AT(R3[1].EdgeZ), false},
};
#undef AT

// What a field shows of a stored value.
QString Shown(QWidget* field, double v) {
    if (qobject_cast<QAbstractSpinBox*>(field)) return QString::number(SaturatedRound<int>(v));
    return QString::fromStdString(NumberText(v));
}

}  // namespace

TEST(NumberBounds, EveryDialogRefusesANumberPastTheRange) {
    WindowSession s;
    s.answers.counts.fill(1);
    StartNew(s);
    const auto objects = [&]() -> const DSubProj& { return s.w->document().Obj; };
    ASSERT_TRUE(AllWithin(objects()));
    for (const Row& row : Rows) {
        SCOPED_TRACE(row.name);
        QWidget* d = s.open(row.kind);
        ASSERT_TRUE(d);
        if (const auto [button, opens] = row.part; button) {
            QTest::mouseClick(d->findChild<QWidget*>(button), Qt::LeftButton);
            d = s.w->dialogSession().registry().dialog(opens);
            ASSERT_TRUE(d) << button;
            ShowActive(*d);
        }
        for (const auto& [name, keys] : row.first) {
            TypeIn(*d, name, keys);
            ASSERT_TRUE(AllWithin(objects()));
        }
        const double before = row.stored(objects());
        QToolTip::hideText();
        ASSERT_NO_FATAL_FAILURE(TypeIn(*d, row.field, row.keys));
        auto* field = d->findChild<QWidget*>(row.field);
        const double after = row.stored(objects());
        EXPECT_TRUE(AllWithin(objects()));
        EXPECT_EQ(LineOf(field)->text(), Shown(field, after));
        if (row.refused) {
            if (row.keepsOld) {
                EXPECT_EQ(after, before);
            }
            EXPECT_TRUE(ShownTextTip().contains(row.bound)) << ShownTextTip().toStdString();
        } else {
            EXPECT_EQ(after, row.keys.toDouble());
            EXPECT_TRUE(ShownTextTip().isEmpty()) << ShownTextTip().toStdString();
        }
        QTest::keyClick(field, Qt::Key_Tab);  // the next row types into another field
    }
}

// The section plane of a sphere, a modal window, in a session of its own: a
// distance past the range is refused and told, and the plane keeps its
// distance.
TEST(NumberBounds, SpherePlaneDistancePastTheRange) {
    WindowSession s;
    s.answers.counts.fill(1);
    StartNew(s);
    const DSf& sphere = s.w->document().Obj.Sf[1];
    const double distance = sphere.SecH[1].v;
    QWidget* d = s.open(Kind::sf);
    ASSERT_TRUE(d);
    InModal("FormOrb", [&] { QTest::mouseClick(d->findChild<QWidget*>("ButtonSSP1"), Qt::LeftButton); },
            [&](QWidget& orb) {
                QToolTip::hideText();
                TypeIn(orb, "Edit4", "3000000000", Qt::Key_Tab);
                EXPECT_EQ(sphere.SecH[1].v, distance);
                EXPECT_EQ(orb.findChild<QLineEdit*>("Edit4")->text(), QString::fromStdString(NumberText(distance)));
                EXPECT_TRUE(ShownTextTip().contains("1 000 000")) << ShownTextTip().toStdString();
            });
}
