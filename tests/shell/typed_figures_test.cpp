// Triangles and tetragons of every type typed vertex by vertex, as a user
// types them into the dialog (a field, Tab, the next field), some turned into
// another type on the way: each typed vertex is stored where it was typed,
// and the lengths, angles and height the dialog shows are those of the stored
// vertices, before a save and after the file is opened again.
#include <gtest/gtest.h>

#include <QApplication>
#include <QRadioButton>
#include <QTest>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "dialogs/ui/radio_group.h"
#include "files/number_text.h"
#include "model/geometry.h"
#include "window_session.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

// A new project of one triangle and one tetragon on a 1000 x 700 picture,
// saved under `saveName`.
struct TypedFigureQuestions : QuietQuestions {
    std::string saveName;
    std::string chooseSaveFile(const std::string&, const std::string&, bool) override { return saveName; }
    bool chooseNewPicture(PictureSettings& p) override {
        p.Width = 1000, p.Height = 700, p.Dpi = 96;
        return true;
    }
};

// One step of a row: a vertex's picture X and Y typed (vertex > 0), or the
// type chosen (type > 0).
struct TypedStep {
    int vertex = 0, x = 0, y = 0;
    int type = 0;
};
TypedStep At(int vertex, int x, int y) { return {vertex, x, y, 0}; }
TypedStep Turn(int type) { return {0, 0, 0, type}; }

struct TypedRow {
    const char* name;
    Kind kind;
    int type;  // chosen first
    std::vector<TypedStep> steps;
};

// The letter of the kind's controls, its vertex count.
QString TypedLetter(Kind k) { return k == Kind::tr ? "T" : "K"; }

// The stored vertices of the row's figure (1-based; [0] unused).
std::vector<DPoint> TypedVertices(DProj& d, Kind k) {
    std::vector<DPoint> v(1);
    if (k == Kind::tr)
        for (std::size_t i = 1; i <= 3; ++i) v.push_back(d.Obj.Tr[1].S[i].P1);
    else
        for (std::size_t i = 1; i <= 4; ++i) v.push_back(d.Obj.Kv[1].S[i].P1);
    return v;
}

double ShownNumber(QWidget& dialog, const QString& name) {
    auto* e = dialog.findChild<QLineEdit*>(name);
    EXPECT_TRUE(e) << name.toStdString();
    const std::optional<double> v = e ? ReadNumber(e->text().toStdString()) : std::nullopt;
    EXPECT_TRUE(v) << name.toStdString() << " shows '" << (e ? e->text().toStdString() : "") << "'";
    return v.value_or(NAN);
}

// Each typed vertex is seen exactly where it was typed; every length, angle
// and the height shown are those of the stored vertices, to the thousandth.
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
    const QString x = TypedLetter(k);
    for (int i = 1; i <= n; ++i) {
        const Vec3 a = at(i - 1) - at(i), b = at(i + 1) - at(i);
        const double angle = std::acos(Dot(a, b) / (Norm(a) * Norm(b))) * 180 / M_PI;
        EXPECT_NEAR(ShownNumber(dialog, QString("Edit%1Len%2").arg(x).arg(i)), Norm(at(i + 1) - at(i)), 1e-3)
            << "side " << i;
        EXPECT_NEAR(ShownNumber(dialog, QString("Edit%1Ang%2").arg(x).arg(i)), angle, 1e-3) << "angle " << i;
    }
    // The height over side 1: of vertex 3 in a triangle, of vertex 4 (the
    // top side of a trapezium or parallelogram) in a tetragon.
    const Vec3 side1 = at(2) - at(1);
    const double h = Norm(Cross(side1, at(n) - at(1))) / Norm(side1);
    EXPECT_NEAR(ShownNumber(dialog, "Edit" + x + "H"), h, 1e-3) << "height";
}

void TypeStep(QWidget& dialog, Kind k, const TypedStep& step) {
    const QString x = TypedLetter(k);
    if (step.type) {
        auto* group = dialog.findChild<TRadioGroup*>(QString("RadioGroup%1Typ").arg(x));
        ASSERT_TRUE(group);
        QRadioButton* item = group->button(step.type - 1);
        item->setFocus();
        QTest::mouseClick(item, Qt::LeftButton, {}, QPoint(8, item->height() / 2));
        return;
    }
    const QByteArray fx = QString("SpinEdit%1x%2").arg(x).arg(step.vertex).toLatin1();
    const QByteArray fy = QString("SpinEdit%1y%2").arg(x).arg(step.vertex).toLatin1();
    TypeIn(dialog, fx.constData(), QString::number(step.x), Qt::Key_Tab);
    TypeIn(dialog, fy.constData(), QString::number(step.y), Qt::Key_Tab);
}

}  // namespace

TEST(TypedFigures, TypedVertexIsStoredWhereTypedAndShownValuesAreItsOwn) {
    const TypedRow rows[] = {
        {"square on a slanted side", Kind::kv, 1, {At(1, 100, 100), At(2, 220, 130)}},
        {"rectangle", Kind::kv, 2, {At(1, 300, 100), At(2, 420, 60)}},
        {"rhombus turned arbitrary", Kind::kv, 3,
         {At(1, 200, 200), At(2, 330, 250), Turn(7), At(3, 420, 380), At(4, 300, 360)}},
        {"parallelogram nearly flat", Kind::kv, 4, {At(1, 100, 100), At(2, 220, 100), At(3, 900, 140)}},
        {"trapezium", Kind::kv, 5, {At(1, 680, 30), At(2, 860, 30), At(3, 810, 150)}},
        {"trapezium, vertex 3 first, side 1 reversed", Kind::kv, 5,
         {At(3, 500, 400), At(1, 600, 100), At(2, 200, 120)}},
        {"parallelogram, side 1 reversed", Kind::kv, 4, {At(3, 250, 420), At(1, 700, 300), At(2, 350, 330)}},
        {"plane quadrilateral", Kind::kv, 6, {At(1, 120, 80), At(2, 470, 130), At(3, 430, 390), At(4, 90, 300)}},
        {"arbitrary turned trapezium", Kind::kv, 7,
         {At(1, 100, 300), At(2, 400, 300), At(3, 350, 100), At(4, 150, 120), Turn(5)}},
        {"equilateral turned arbitrary", Kind::tr, 1, {At(1, 100, 100), At(2, 283, 157), Turn(4), At(3, 170, 270)}},
        {"isosceles", Kind::tr, 2, {At(1, 640, 90), At(2, 820, 60)}},
        {"right-angled", Kind::tr, 3, {At(1, 300, 500), At(2, 120, 430)}},
        {"arbitrary", Kind::tr, 4, {At(1, 510, 80), At(2, 930, 240), At(3, 560, 610)}},
    };
    WindowSession s;
    TypedFigureQuestions q;
    q.counts[Slot(Kind::tr)] = 1;
    q.counts[Slot(Kind::kv)] = 1;
    StartNew(s, q);
    int n = 0;
    for (const TypedRow& row : rows) {
        SCOPED_TRACE(row.name);
        s.w->menuAction(MainCommand::New)->trigger();
        QApplication::processEvents();
        QWidget* dialog = OpenKind(*s.w, row.kind);
        ASSERT_TRUE(dialog);
        std::map<int, std::pair<int, int>> typed;
        TypeStep(*dialog, row.kind, Turn(row.type));
        for (const TypedStep& step : row.steps) {
            TypeStep(*dialog, row.kind, step);
            if (step.vertex) typed[step.vertex] = {step.x, step.y};
            // A type given later places the vertices it derives: vertex 4 of a
            // parallelogram or trapezium, vertices 3 and 4 of the rest with a
            // rule, the triangle's vertex 3.
            const bool tetragon = row.kind == Kind::kv;
            if (step.type && step.type <= (tetragon ? 5 : 3)) typed.erase(tetragon ? 4 : 3);
            if (step.type && tetragon && step.type <= 3) typed.erase(3);
        }
        const std::vector<DPoint> stored = TypedVertices(s.w->document(), row.kind);
        ExpectTypedFigure(*dialog, row.kind, stored, typed);

        q.saveName = q.openName = s.dir.path("typed" + std::to_string(++n) + ".pel");
        s.w->menuAction(MainCommand::Save)->trigger();
        s.w->menuAction(MainCommand::Open)->trigger();
        QApplication::processEvents();
        const std::vector<DPoint> read = TypedVertices(s.w->document(), row.kind);
        for (std::size_t i = 1; i < read.size(); ++i) {
            EXPECT_EQ(read[i].X.v, stored[i].X.v) << "vertex " << i << " read back";
            EXPECT_EQ(read[i].Y.v, stored[i].Y.v) << "vertex " << i << " read back";
            EXPECT_EQ(read[i].Z.v, stored[i].Z.v) << "vertex " << i << " read back";
        }
        dialog = OpenKind(*s.w, row.kind);
        ASSERT_TRUE(dialog);
        ExpectTypedFigure(*dialog, row.kind, read, typed);
    }
    EXPECT_TRUE(q.messages.empty());
    s.stop();
}
