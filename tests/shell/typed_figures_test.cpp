// Triangles and tetragons of every type typed vertex by vertex (a field, Tab,
// the next field), some turned into another type on the way: each typed
// vertex is stored where it was typed, and the lengths, angles and height the
// dialog shows are those of the stored vertices, before a save and after the
// file is opened again.
#include <gtest/gtest.h>

#include <QRadioButton>
#include <cmath>
#include <map>

#include "dialogs/dialog_test_util.h"
#include "dialogs/ui/radio_group.h"
#include "files/number_text.h"
#include "model/geometry.h"
#include "window_session.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

struct TypedFigureQuestions : QuietQuestions {
    std::string saveName;
    std::string chooseSaveFile(const std::string&, const std::string&, bool) override { return saveName; }
    bool chooseNewPicture(PictureSettings& p) override { return p.Width = 1000, p.Height = 700, p.Dpi = 96, true; }
};

// A vertex's picture X and Y typed, or (vertex 0) the type x chosen.
struct TypedStep {
    int vertex, x, y;
};
constexpr TypedStep Turn(int type) { return {0, type, 0}; }

std::vector<DPoint> TypedVertices(const DProj& d, Kind k) {  // [0] unused
    std::vector<DPoint> v(1);
    for (std::size_t i = 1; i <= (k == Kind::tr ? 3u : 4u); ++i)
        v.push_back(k == Kind::tr ? d.Obj.Tr[1].S[i].P1 : d.Obj.Kv[1].S[i].P1);
    return v;
}

double ShownNumber(QWidget& dialog, const QString& name) {
    auto* e = dialog.findChild<QLineEdit*>(name);
    const std::optional<double> v = e ? ReadNumber(e->text().toStdString()) : std::nullopt;
    EXPECT_TRUE(v) << name.toStdString() << " shows '" << (e ? e->text().toStdString() : "") << "'";
    return v.value_or(NAN);
}

// Each typed vertex is seen exactly where it was typed; every length, angle
// and the height over side 1 are those of the stored vertices.
void ExpectTypedFigure(QWidget& dialog, Kind k, const std::vector<DPoint>& v,
                       const std::map<int, std::pair<int, int>>& typed) {
    const Ext s8 = std::sqrt(8.0L);
    for (const auto& [i, xy] : typed) {
        const DPoint& p = v[static_cast<std::size_t>(i)];
        EXPECT_NEAR(static_cast<double>(p.Y.v - p.X.v / s8), xy.first, 1e-9) << "vertex " << i << " X";
        EXPECT_NEAR(static_cast<double>(p.Z.v - p.X.v / s8), xy.second, 1e-9) << "vertex " << i << " Y";
    }
    const int n = static_cast<int>(v.size()) - 1;
    auto at = [&](int i) { return Pos(v[static_cast<std::size_t>((i + n - 1) % n + 1)]); };
    const QString x = k == Kind::tr ? "T" : "K";
    for (int i = 1; i <= n; ++i) {
        const Vec3 a = at(i - 1) - at(i), b = at(i + 1) - at(i);
        const double angle = std::acos(Dot(a, b) / (Norm(a) * Norm(b))) * 180 / M_PI;
        EXPECT_NEAR(ShownNumber(dialog, QString("Edit%1Len%2").arg(x).arg(i)), Norm(b), 1e-3) << "side " << i;
        EXPECT_NEAR(ShownNumber(dialog, QString("Edit%1Ang%2").arg(x).arg(i)), angle, 1e-3) << "angle " << i;
    }
    // Of vertex 3 in a triangle, of vertex 4 (the top side of a trapezium or
    // parallelogram) in a tetragon.
    const Vec3 side1 = at(2) - at(1);
    EXPECT_NEAR(ShownNumber(dialog, "Edit" + x + "H"), Norm(Cross(side1, at(n) - at(1))) / Norm(side1), 1e-3);
}

void TypeStep(QWidget& dialog, Kind k, const TypedStep& step) {
    const QString x = k == Kind::tr ? "T" : "K";
    if (!step.vertex) {
        auto* group = dialog.findChild<TRadioGroup*>("RadioGroup" + x + "Typ");
        ASSERT_TRUE(group);
        group->button(step.x - 1)->setFocus();
        ClickIndicator(group->button(step.x - 1));
        return;
    }
    for (const auto& [axis, value] : {std::pair{"x", step.x}, {"y", step.y}})
        TypeIn(dialog, QString("SpinEdit%1%2%3").arg(x, axis).arg(step.vertex).toLatin1().constData(),
               QString::number(value), Qt::Key_Tab);
}

}  // namespace

TEST(TypedFigures, TypedVertexIsStoredWhereTypedAndShownValuesAreItsOwn) {
    const struct {
        const char* name;
        Kind kind;
        int type;  // chosen first
        std::vector<TypedStep> steps;
    } rows[] = {
        {"square on a slanted side", Kind::kv, 1, {{1, 100, 100}, {2, 220, 130}}},
        {"rectangle", Kind::kv, 2, {{1, 300, 100}, {2, 420, 60}}},
        {"rhombus turned arbitrary", Kind::kv, 3,
         {{1, 200, 200}, {2, 330, 250}, Turn(7), {3, 420, 380}, {4, 300, 360}}},
        {"parallelogram nearly flat", Kind::kv, 4, {{1, 100, 100}, {2, 220, 100}, {3, 900, 140}}},
        {"trapezium", Kind::kv, 5, {{1, 680, 30}, {2, 860, 30}, {3, 810, 150}}},
        {"trapezium, vertex 3 first, side 1 reversed", Kind::kv, 5, {{3, 500, 400}, {1, 600, 100}, {2, 200, 120}}},
        {"parallelogram, side 1 reversed", Kind::kv, 4, {{3, 250, 420}, {1, 700, 300}, {2, 350, 330}}},
        {"plane quadrilateral", Kind::kv, 6, {{1, 120, 80}, {2, 470, 130}, {3, 430, 390}, {4, 90, 300}}},
        {"arbitrary turned trapezium", Kind::kv, 7,
         {{1, 100, 300}, {2, 400, 300}, {3, 350, 100}, {4, 150, 120}, Turn(5)}},
        {"equilateral turned arbitrary", Kind::tr, 1, {{1, 100, 100}, {2, 283, 157}, Turn(4), {3, 170, 270}}},
        {"isosceles", Kind::tr, 2, {{1, 640, 90}, {2, 820, 60}}},
        {"right-angled", Kind::tr, 3, {{1, 300, 500}, {2, 120, 430}}},
        {"arbitrary", Kind::tr, 4, {{1, 510, 80}, {2, 930, 240}, {3, 560, 610}}},
    };
    WindowSession s;
    TypedFigureQuestions q;
    q.counts[Slot(Kind::tr)] = q.counts[Slot(Kind::kv)] = 1;
    StartNew(s, q);
    int n = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        s.w->menuAction(MainCommand::New)->trigger();
        QApplication::processEvents();
        QWidget* dialog = s.open(row.kind);
        ASSERT_TRUE(dialog);
        std::map<int, std::pair<int, int>> typed;
        TypeStep(*dialog, row.kind, Turn(row.type));
        const bool tetragon = row.kind == Kind::kv;
        for (const TypedStep& step : row.steps) {
            TypeStep(*dialog, row.kind, step);
            if (step.vertex) typed[step.vertex] = {step.x, step.y};
            // A type given later places the vertices it derives: vertex 4 of a
            // parallelogram or trapezium, vertices 3 and 4 of the rest with a
            // rule, the triangle's vertex 3.
            if (!step.vertex && step.x <= (tetragon ? 5 : 3)) typed.erase(tetragon ? 4 : 3);
            if (!step.vertex && tetragon && step.x <= 3) typed.erase(3);
        }
        const std::vector<DPoint> stored = TypedVertices(s.w->document(), row.kind);
        ExpectTypedFigure(*dialog, row.kind, stored, typed);

        q.saveName = q.openName = s.dir.path("typed" + std::to_string(++n) + ".pel");
        s.w->menuAction(MainCommand::Save)->trigger();
        s.w->menuAction(MainCommand::Open)->trigger();
        QApplication::processEvents();
        const std::vector<DPoint> read = TypedVertices(s.w->document(), row.kind);
        for (std::size_t i = 1; i < read.size(); ++i)
            EXPECT_EQ(std::tuple(read[i].X.v, read[i].Y.v, read[i].Z.v),
                      std::tuple(stored[i].X.v, stored[i].Y.v, stored[i].Z.v)) << "vertex " << i << " read back";
        dialog = s.open(row.kind);
        ASSERT_TRUE(dialog);
        ExpectTypedFigure(*dialog, row.kind, read, typed);
    }
    EXPECT_TRUE(q.messages.empty());
    s.stop();
}
