#include "dialogs/ui/tetragon_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "dialogs/ui/color_combo.h"
#include "dialogs/ui/radio_group.h"
#include "dialogs/ui/default_set.h"
#include "dialogs/ui/feature_glyph.h"
#include "model/figure_reshape.h"
#include "model/update.h"

namespace pelmar {

namespace {

// The angle at v between the rays to a and to b, in degrees.
double AngleAt(Vec3 v, Vec3 a, Vec3 b) {
    const Vec3 u = a - v, w = b - v;
    const double c = (u.x * w.x + u.y * w.y + u.z * w.z) / (std::hypot(u.x, u.y, u.z) * std::hypot(w.x, w.y, w.z));
    return std::acos(std::clamp(c, -1.0, 1.0)) * 180 / M_PI;
}

// WordsToKv (the pages' captions apart: tab texts).
constexpr WordTarget WordsToKvTable[] = {
    Cap("", "{481}"),
    Cap("GroupBoxKM1", "{365}"), Cap("LabelKLayer", "{355}"), Cap("LabelKCol", "{356}"),
    Cap("LabelKTol", "{357}"), Cap("CheckBoxKDis", "{358}"), Cap("ButtonKSave", "{359}"),
    Cap("ButtonKLoad", "{360}"), Cap("GroupBoxKM2", "{366}"),
    Cap("LabelKAng1", "{387}"), Cap("LabelKAng2", "{388}"), Cap("LabelKAng3", "{389}"),
    Cap("LabelKAng4", "{390}"), Cap("LabelKLen1", "{392}"), Cap("LabelKLen2", "{393}"),
    Cap("LabelKLen3", "{394}"), Cap("LabelKLen4", "{395}"),
    Cap("ButtonKLine1", "{396}"), Cap("ButtonKLine2", "{397}"), Cap("ButtonKLine3", "{398}"),
    Cap("ButtonKLine4", "{399}"),
    Cap("GroupBoxKTyp", "{369}"), Cap("RadioGroupKTyp", "{369}"),
    Item("RadioGroupKTyp", 0, "{482}"), Item("RadioGroupKTyp", 1, "{483}"), Item("RadioGroupKTyp", 2, "{484}"),
    Item("RadioGroupKTyp", 3, "{485}"), Item("RadioGroupKTyp", 4, "{486}"), Item("RadioGroupKTyp", 5, "{487}"),
    Item("RadioGroupKTyp", 6, "{488}"),
    Cap("RadioGroupK3L", "{398}"),
    Cap("GroupBoxKDi", "{489}"), Cap("CheckBoxKd13En", "{383}"), Cap("CheckBoxKd24En", "{383}"),
    Cap("CheckBoxKOEn", "{383}"), Cap("ButtonKd13", "{490}"), Cap("ButtonKd24", "{491}"), Cap("ButtonKO", "{403}"),
    Cap("GroupBoxKCi", "{400}"), Cap("CheckBoxKcOpiEn", "{383}"), Cap("CheckBoxKcVpiEn", "{383}"),
    Cap("ButtonKcOpi", "{401}"), Cap("ButtonKcVpi", "{402}"),
    Cap("GroupBoxKVid", "{370}"),
    Item("ComboBoxKVid", 0, "{371}"), Item("ComboBoxKVid", 1, "{372}"),
    Item("ComboBoxKVid", 2, "{373}"), Item("ComboBoxKVid", 3, "{375}"),
    Cap("ButtonKvBrush", "{660}"),
};

}  // namespace

TetragonDialog::TetragonDialog(DKv& work, DialogDocument& doc, DialogCommit& commit, QWidget* parent)
    : FigureDialog<DKv, 4>(work, QSize(380, 431), doc, commit, parent, "FormKv", "LabelKPath", WordsToKvTable,
                           {"{481} 1", "{481} 2"}) {
    LabelKPath = pages_.path;
    buildPage1(pages_.page1);
    buildPage2(pages_.page2);
    connectHandlers();
    connect(PageControl1, &QTabWidget::currentChanged, this, [this](int i) { emit pageEntered(i + 1); });
    putBuiltInWords();
}

void TetragonDialog::buildPage1(QWidget* page) {
    const FigureColumn column = BuildFigureColumn(page, "K", head_, rows_);
    QVBoxLayout* v = column.v;
    QGridLayout* g2 = column.vertices;
    EditKID = head_.id;
    ButtonKSave = head_.save;
    ButtonKLoad = head_.load;
    for (int i = 0; i < 4; ++i) {
        const VertexRow& r = rows_[i];
        EditKAng[i] = r.ang;
        EditKLen[i] = r.len;
        g2->addWidget(r.xy, i / 2, (i % 2) * 3);
        g2->addWidget(r.x, i / 2, (i % 2) * 3 + 1);
        g2->addWidget(r.y, i / 2, (i % 2) * 3 + 2);
        g2->addWidget(r.lang, 2 + i, 0);
        g2->addWidget(r.ang, 2 + i, 1);
        g2->addWidget(r.angx, 2 + i, 2);
        g2->addWidget(r.llen, 2 + i, 3);
        g2->addWidget(r.len, 2 + i, 4, 1, 2);
    }

    auto* row = new QHBoxLayout;
    auto* typ = Named(new QGroupBox(QString(), page), "GroupBoxKTyp");
    auto* gt = new QGridLayout(typ);
    gt->setContentsMargins(4, 2, 4, 2);
    RadioGroupKTyp = Named(new TRadioGroup(QString(), typ), "RadioGroupKTyp");
    RadioGroupKTyp->setItems(QStringList(7));
    RadioGroupKTyp->setColumns(3);
    RadioGroupK3L = Named(new TRadioGroup(QString(), typ), "RadioGroupK3L");
    RadioGroupK3L->setItems({"1", "2"});
    RadioGroupK3L->setColumns(2);
    LabelKH = Named(new QLabel("H :", typ), "LabelKH");
    EditKH = Named(new TNumEdit(typ, false, true), "EditKH");
    gt->addWidget(RadioGroupKTyp, 0, 0, 1, 3);
    gt->addWidget(RadioGroupK3L, 1, 0);
    gt->addWidget(LabelKH, 1, 1);
    gt->addWidget(EditKH, 1, 2);
    row->addWidget(typ, 1);
    v->addLayout(row);
    // The side buttons in a row below the type: the seven types need the width.
    auto* sides = new QHBoxLayout;
    for (int i = 0; i < 4; ++i) {
        const QString n = QString::number(i + 1);
        ButtonKLine[i] = Named(new QPushButton(QString(), page), "ButtonKLine" + n);
        sides->addWidget(ButtonKLine[i]);
    }
    v->addLayout(sides);
    v->addStretch(1);
}

void TetragonDialog::buildPage2(QWidget* page) {
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(3, 3, 3, 3);
    auto pair = [](QGridLayout* g, int r, QCheckBox* c, QPushButton* b) {
        g->addWidget(c, r, 0);
        g->addWidget(b, r, 1);
    };
    auto* ci = Named(new QGroupBox(QString(), page), "GroupBoxKCi");
    auto* gc = new QGridLayout(ci);
    CheckBoxKcOpiEn = Named(new QCheckBox(QString(), ci), "CheckBoxKcOpiEn");
    ButtonKcOpi = Named(new QPushButton(QString(), ci), "ButtonKcOpi");
    CheckBoxKcVpiEn = Named(new QCheckBox(QString(), ci), "CheckBoxKcVpiEn");
    ButtonKcVpi = Named(new QPushButton(QString(), ci), "ButtonKcVpi");
    pair(gc, 0, CheckBoxKcOpiEn, ButtonKcOpi);
    pair(gc, 1, CheckBoxKcVpiEn, ButtonKcVpi);
    v->addWidget(ci);
    auto* di = Named(new QGroupBox(QString(), page), "GroupBoxKDi");
    auto* gd = new QGridLayout(di);
    CheckBoxKd13En = Named(new QCheckBox(QString(), di), "CheckBoxKd13En");
    ButtonKd13 = Named(new QPushButton(QString(), di), "ButtonKd13");
    CheckBoxKd24En = Named(new QCheckBox(QString(), di), "CheckBoxKd24En");
    ButtonKd24 = Named(new QPushButton(QString(), di), "ButtonKd24");
    CheckBoxKOEn = Named(new QCheckBox(QString(), di), "CheckBoxKOEn");
    ButtonKO = Named(new QPushButton(QString(), di), "ButtonKO");
    pair(gd, 0, CheckBoxKd13En, ButtonKd13);
    pair(gd, 1, CheckBoxKd24En, ButtonKd24);
    pair(gd, 2, CheckBoxKOEn, ButtonKO);
    v->addWidget(di);
    auto* vid = Named(new QGroupBox(QString(), page), "GroupBoxKVid");
    auto* gv = new QVBoxLayout(vid);
    ComboBoxKVid = Named(new QComboBox(vid), "ComboBoxKVid");
    ComboBoxKVid->addItems(QStringList(4));
    gv->addWidget(ComboBoxKVid);
    v->addWidget(vid);
    ButtonKvBrush = FeatureButton(page, "ButtonKvBrush");
    v->addWidget(ButtonKvBrush);
    v->addStretch(1);
}

void TetragonDialog::connectHandlers() {
    connectFigure(EditKH, {TetragonWithVertex, TetragonWithAngle, TetragonWithSide, TetragonWithHeight});
    ConnectFlag(*this, CheckBoxKcOpiEn, w_.CircOn[1]);
    ConnectFlag(*this, CheckBoxKcVpiEn, w_.CircOn[2]);
    ConnectFlag(*this, CheckBoxKd13En, w_.DiagOn[1]);
    ConnectFlag(*this, CheckBoxKd24En, w_.DiagOn[2]);
    ConnectFlag(*this, CheckBoxKOEn, w_.CenterOn);
    const auto part = &TetragonDialog::partRequested;
    for (int i = 0; i < 4; ++i) ConnectRequest(this, ButtonKLine[i], part, Kind::li, 14 + i);
    ConnectRequest(this, ButtonKd13, part, Kind::li, 18);
    ConnectRequest(this, ButtonKd24, part, Kind::li, 19);
    ConnectRequest(this, ButtonKcOpi, part, Kind::ci, 11);
    ConnectRequest(this, ButtonKcVpi, part, Kind::ci, 10);
    ConnectRequest(this, ButtonKO, part, Kind::po, 5);
    connect(RadioGroupKTyp, &TRadioGroup::itemClicked, this, [this](int i) {
        if (filling()) return;
        RadioGroupK3L->setEnabled(i <= 4);
        EditKH->setEnabled(false);
        w_.Typ.v = static_cast<std::uint8_t>(i + 1);
        if (enteredAllows(RadioGroupKTyp)) {
            commit();
            emit reselect();
        }
    });
    ConnectIndex(*this, RadioGroupK3L, w_.Side3, 0);
    ConnectIndex(*this, ComboBoxKVid, w_.View, 1);
    ConnectRequest(this, ButtonKvBrush, &TetragonDialog::brushRequested);
}

void TetragonDialog::VarToForm(const DKv& k, int role, int pyramidType, bool topIsTetragon) {
    FillScope scope(*this);
    for (std::size_t i = 1; i <= 4; ++i)
        FillVertexRow(rows_[i - 1], i == 1 ? k.S[1].P1 : k.S[i - 1].P2, k.S[i].P1, k.Ang[i], k.S[i]);
    FillHead(head_, k, role == 0);
    RadioGroupKTyp->setItemIndex(k.Typ.v - 1);
    PaintMaroon(RadioGroupKTyp);
    RadioGroupK3L->setItemIndex(k.Side3.v == 0 ? 0 : 1);
    EditKH->setNumber(k.Height.v);
    CheckBoxKcOpiEn->setChecked(k.CircOn[1].v);
    CheckBoxKcVpiEn->setChecked(k.CircOn[2].v);
    CheckBoxKd13En->setChecked(k.DiagOn[1].v);
    CheckBoxKd24En->setChecked(k.DiagOn[2].v);
    CheckBoxKOEn->setChecked(k.CenterOn.v);
    ComboBoxKVid->setCurrentIndex(k.View.v - 1);
    ButtonKcOpi->setEnabled(k.CircOn[1].v);
    ButtonKcVpi->setEnabled(k.CircOn[2].v);
    ButtonKd13->setEnabled(k.DiagOn[1].v);
    ButtonKd24->setEnabled(k.DiagOn[2].v);
    ButtonKO->setEnabled(k.CenterOn.v);

    RadioGroupKTyp->setEnabled(k.Typ.e);
    RadioGroupK3L->setEnabled(k.Side3.e);
    EditKH->setEnabled(k.Height.e);
    LabelKH->setEnabled(k.Height.e);
    CheckBoxKcOpiEn->setEnabled(k.CircOn[1].e);
    CheckBoxKcVpiEn->setEnabled(k.CircOn[2].e);
    CheckBoxKd13En->setEnabled(k.DiagOn[1].e);
    CheckBoxKd24En->setEnabled(k.DiagOn[2].e);
    CheckBoxKOEn->setEnabled(k.CenterOn.e);
    ComboBoxKVid->setEnabled(k.View.e);

    // Roles: a prism's lateral face opens only its base side; the base of a
    // pyramid of type "Пирамида" stays in its plane.
    const bool face = role >= 8 && role <= 11;
    ButtonKLine[0]->setEnabled(true);
    for (int i = 1; i < 4; ++i) ButtonKLine[i]->setEnabled(!face);
    RadioGroupKTyp->setItemEnabled(6, !(role == 5 && pyramidType == 2));
    ButtonKvBrush->setEnabled(topIsTetragon && role == 0);
    SetFeatureGlyph(ButtonKvBrush, k.Fill.On);
    updateHints();
}

QString TetragonDialog::ruledType() const {
    const int type = w_.Typ.v;
    return type >= 1 && type <= 6 ? RadioGroupKTyp->itemText(type - 1).remove('&') : QString();
}

bool TetragonDialog::needsPlane() const {
    // A plane quadrilateral out of the picture's plane keeps vertex 4 in
    // the plane of the other three.
    const bool parallel = [this] {
        for (std::size_t i = 2; i <= 4; ++i)
            if (w_.S[i].P1.X.v != w_.S[1].P1.X.v) return false;
        return true;
    }();
    return (w_.Typ.v >= 1 && w_.Typ.v <= 5) || (w_.Typ.v == 6 && !parallel);
}

QString TetragonDialog::refusal(Value what, int i, double v) const {
    const DKv& k = w_;
    const int type = k.Typ.v;
    switch (what) {
        case Value::Angle: {
            if (!(v > 0 && v < 180))
                return said("Угол четырёхугольника больше 0° и меньше 180°.",
                            "An angle of a tetragon lies between 0° and 180°.");
            const Vec3 v1 = KvVertex(k, 1), v2 = KvVertex(k, 2), v3 = KvVertex(k, 3), v4 = KvVertex(k, 4);
            const QString line = said("Вершины %1 лежат на одной прямой: сторону не повернуть.",
                                      "Vertices %1 lie on one line: there is no side to turn.");
            if (i == 1 && (type == 3 || type == 4) && !SpansAngle(v2, v1, v3)) return line.arg("1, 2, 3");
            if (type == 5 && (i == 1 || i == 2)) {
                if (i == 1 && !SpansAngle(v1, v2, v4)) return line.arg("1, 2, 4");
                if (i == 2 && !SpansAngle(v2, v1, v3)) return line.arg("1, 2, 3");
                // The side turns only beyond the diagonal from its vertex:
                // short of it, the side would meet the top side past its end.
                const double diagonal = i == 1 ? AngleAt(v1, v2, v3) : AngleAt(v2, v1, v4);
                if (!(diagonal < v))
                    return said("Этот угол трапеции больше угла диагонали (%1°).",
                                "This angle of a trapezium is above the diagonal's (%1°).")
                        .arg(NumText(std::nearbyint(diagonal * 1000) / 1000));
            }
            return {};
        }
        case Value::Side: return sideRefusal(i, v);
        case Value::Height:
            return heightRefusal(v, said("Высота больше 0: четырёхугольник не ложится на основание.",
                                         "A height is above 0: the tetragon is never laid flat on its base."));
    }
    return {};
}

void TetragonDialog::fill(DKv rec) {
    const FillContext c = context ? context() : FillContext{};
    VarToForm(rec, c.role, c.pyramidType, c.topIsTetragon);
    LabelKPath->setText(c.path);
}

// CreateFormKv: as the triangle's.
void RegisterTetragonDialog(DialogRegistry& reg) {
    RegisterFigureDialog<TetragonDialog, DKv>(
        reg, Kind::kv, 3, &WorkingCopies::CurKv, &TetragonDialog::ButtonKSave, &TetragonDialog::ButtonKLoad,
        [](DKv& k) { UpdateTetragon(k, 0, true); },
        [](DialogRegistry& r) {
            DialogSession& s = r.session();
            const int role = r.role(Kind::kv);
            const int pyramidType = role == 5 ? s.copies().CurPi4.Typ.v : 0;
            return TetragonDialog::FillContext{role, pyramidType, s.entryCode() == "kv",
                                               QString::fromStdString(s.pathCaption(Kind::kv))};
        },
        [](DialogRegistry& r, WorkingCopies& w, Kind kind, int role) {
            DKv& k = w.CurKv;
            if (kind == Kind::li && role >= 14 && role <= 17)
                r.OpenPart(Kind::kv, Kind::li, role, k.S[static_cast<std::size_t>(role - 13)], w.CurLine);
            else if (kind == Kind::li && (role == 18 || role == 19))
                r.OpenPart(Kind::kv, Kind::li, role, k.Diag[static_cast<std::size_t>(role - 17)], w.CurLine);
            else if (kind == Kind::ci && (role == 10 || role == 11))
                r.OpenPart(Kind::kv, Kind::ci, role, k.Circ[role == 11 ? 1u : 2u], w.CurCircle);
            else if (kind == Kind::po && role == 5)
                r.OpenPart(Kind::kv, Kind::po, role, k.Center, w.CurPoint);
        });
}

}  // namespace pelmar
