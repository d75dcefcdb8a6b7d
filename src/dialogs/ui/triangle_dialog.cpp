#include "dialogs/ui/triangle_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "dialogs/ui/color_combo.h"
#include "dialogs/ui/radio_group.h"
#include "dialogs/ui/default_set.h"
#include "dialogs/ui/feature_glyph.h"
#include "model/figure_reshape.h"
#include "model/update.h"

namespace pelmar {

namespace {

// WordsToTr (the pages' captions apart: tab texts).
constexpr WordTarget WordsToTrTable[] = {
    Cap("", "{465}"),
    Cap("GroupBoxTM1", "{365}"), Cap("LabelTLayer", "{355}"), Cap("LabelTCol", "{356}"),
    Cap("LabelTTol", "{357}"), Cap("CheckBoxTDis", "{358}"), Cap("ButtonTSave", "{359}"),
    Cap("ButtonTLoad", "{360}"), Cap("GroupBoxTM2", "{366}"),
    Cap("LabelTAng1", "{387}"), Cap("LabelTAng2", "{388}"), Cap("LabelTAng3", "{389}"),
    Cap("LabelTLen1", "{392}"), Cap("LabelTLen2", "{393}"), Cap("LabelTLen3", "{394}"),
    Cap("ButtonTLine1", "{396}"), Cap("ButtonTLine2", "{397}"), Cap("ButtonTLine3", "{398}"),
    Cap("GroupBoxTVid", "{370}"),
    Item("ComboBoxTVid", 0, "{371}"), Item("ComboBoxTVid", 1, "{372}"),
    Item("ComboBoxTVid", 2, "{373}"), Item("ComboBoxTVid", 3, "{375}"),
    Cap("GroupBoxTCi", "{400}"), Cap("CheckBoxTcOpiEn", "{383}"), Cap("CheckBoxTcVpiEn", "{383}"),
    Cap("ButtonTcOpi", "{401}"), Cap("ButtonTcVpi", "{402}"),
    Cap("GroupBoxTTyp", "{369}"), Cap("RadioGroupTTyp", "{369}"),
    Item("RadioGroupTTyp", 0, "{466}"), Item("RadioGroupTTyp", 1, "{467}"),
    Item("RadioGroupTTyp", 2, "{468}"), Item("RadioGroupTTyp", 3, "{469}"),
    Cap("RadioGroupT3P", "{470}"),
#define PELMAR_TR_LINE(k, button)                                                                        \
    Cap("CheckBoxTbEn" #k, "{383}"), Cap(button, "{472}"), Cap("RadioGroupTbLe" #k, "{473}"),             \
        Item("RadioGroupTbLe" #k, 0, "{474}"), Item("RadioGroupTbLe" #k, 1, "{475}"),                    \
        Item("RadioGroupTbLe" #k, 2, "{476}"), Cap("RadioGroupTbTy" #k, "{369}"),                        \
        Item("RadioGroupTbTy" #k, 0, "{477}"), Item("RadioGroupTbTy" #k, 1, "{478}"),                    \
        Item("RadioGroupTbTy" #k, 2, "{479}")
    PELMAR_TR_LINE(1, "Button8"), PELMAR_TR_LINE(2, "Button9"), PELMAR_TR_LINE(3, "Button10"),
    PELMAR_TR_LINE(4, "Button11"), PELMAR_TR_LINE(5, "Button12"),
#undef PELMAR_TR_LINE
    Cap("ButtonTrBrush", "{660}"),
};

}  // namespace

TriangleDialog::TriangleDialog(DTri& work, DialogDocument& doc, DialogCommit& commit, QWidget* parent)
    : FigureDialog<DTri, 3>(work, QSize(381, 431), doc, commit, parent, "FormTr", "LabelT2Path", WordsToTrTable,
                            {"{465}", "{471}"}) {
    LabelT2Path = pages_.path;
    buildPage1(pages_.page1);
    buildPage2(pages_.page2);
    connectHandlers();
    connect(PageControl1, &QTabWidget::currentChanged, this, [this](int i) { emit pageEntered(i + 1); });
    putBuiltInWords();
}

void TriangleDialog::buildPage1(QWidget* page) {
    // Head; vertices, angles, lengths.
    const FigureColumn column = BuildFigureColumn(page, "T", head_, rows_);
    QVBoxLayout* v = column.v;
    QGridLayout* g2 = column.vertices;
    EditTID = head_.id;
    ButtonTSave = head_.save;
    ButtonTLoad = head_.load;
    for (int i = 0; i < 3; ++i) {
        const VertexRow& r = rows_[i];
        EditTAng[i] = r.ang;
        EditTLen[i] = r.len;
        EditTLen[i]->setMinimumWidth(72);  // room for "126,205" and the like
        g2->addWidget(r.xy, i, 0);
        g2->addWidget(r.x, i, 1);
        g2->addWidget(r.y, i, 2);
        g2->addWidget(r.lang, 3 + i, 0);
        g2->addWidget(r.ang, 3 + i, 1);
        g2->addWidget(r.angx, 3 + i, 2);
        g2->addWidget(r.llen, 3 + i, 3);
        g2->addWidget(r.len, 3 + i, 4);
    }

    // Type, third point, height, sides.
    auto* row = new QHBoxLayout;
    auto* typ = Named(new QGroupBox(QString(), page), "GroupBoxTTyp");
    auto* gt = new QGridLayout(typ);
    gt->setContentsMargins(4, 2, 4, 2);
    RadioGroupTTyp = Named(new TRadioGroup(QString(), typ), "RadioGroupTTyp");
    RadioGroupTTyp->setItems(QStringList(4));
    RadioGroupTTyp->setColumns(2);
    RadioGroupT3P = Named(new TRadioGroup(QString(), typ), "RadioGroupT3P");
    RadioGroupT3P->setItems({"1", "2"});
    LabelTH = Named(new QLabel("H :", typ), "LabelTH");
    EditTH = Named(new TNumEdit(typ, false, true), "EditTH");
    RadioGroupT3P->setColumns(2);
    gt->addWidget(RadioGroupTTyp, 0, 0, 1, 3);
    gt->addWidget(RadioGroupT3P, 1, 0);
    gt->addWidget(LabelTH, 1, 1);
    gt->addWidget(EditTH, 1, 2);
    row->addWidget(typ);
    auto* sides = new QVBoxLayout;
    for (int i = 0; i < 3; ++i) {
        const QString n = QString::number(i + 1);
        ButtonTLine[i] = Named(new QPushButton(QString(), page), "ButtonTLine" + n);
        sides->addWidget(ButtonTLine[i]);
    }
    row->addLayout(sides);
    v->addLayout(row);

    // Circles, view, fill.
    auto* row2 = new QHBoxLayout;
    auto* ci = Named(new QGroupBox(QString(), page), "GroupBoxTCi");
    auto* gc = new QGridLayout(ci);
    gc->setContentsMargins(4, 2, 4, 2);
    CheckBoxTcOpiEn = Named(new QCheckBox(QString(), ci), "CheckBoxTcOpiEn");
    ButtonTcOpi = Named(new QPushButton(QString(), ci), "ButtonTcOpi");
    CheckBoxTcVpiEn = Named(new QCheckBox(QString(), ci), "CheckBoxTcVpiEn");
    ButtonTcVpi = Named(new QPushButton(QString(), ci), "ButtonTcVpi");
    gc->addWidget(CheckBoxTcOpiEn, 0, 0);
    gc->addWidget(ButtonTcOpi, 0, 1);
    gc->addWidget(CheckBoxTcVpiEn, 1, 0);
    gc->addWidget(ButtonTcVpi, 1, 1);
    row2->addWidget(ci);
    auto* vid = Named(new QGroupBox(QString(), page), "GroupBoxTVid");
    auto* gv = new QVBoxLayout(vid);
    gv->setContentsMargins(4, 2, 4, 2);
    ComboBoxTVid = Named(new QComboBox(vid), "ComboBoxTVid");
    ComboBoxTVid->addItems(QStringList(4));
    gv->addWidget(ComboBoxTVid);
    ButtonTrBrush = FeatureButton(vid, "ButtonTrBrush");
    gv->addWidget(ButtonTrBrush);
    row2->addWidget(vid);
    v->addLayout(row2);
    v->addStretch(1);
}

void TriangleDialog::buildPage2(QWidget* page) {
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(3, 3, 3, 3);
    auto* box = Named(new QGroupBox("B, H, M", page), "GroupBoxTBHM");
    auto* g = new QGridLayout(box);
    g->setContentsMargins(4, 2, 4, 2);
    g->setVerticalSpacing(2);
    for (int n = 0; n < 5; ++n) {
        const QString s = QString::number(n + 1);
        CheckBoxTbEn[n] = Named(new QCheckBox(QString(), box), "CheckBoxTbEn" + s);
        ButtonTbProp[n] = Named(new QPushButton(QString(), box), QString("Button%1").arg(8 + n));
        RadioGroupTbVe[n] = Named(new TRadioGroup(QString(), box), "RadioGroupTbVe" + s);
        RadioGroupTbVe[n]->setItems({"1", "2", "3"});
        RadioGroupTbVe[n]->setColumns(3);
        RadioGroupTbLe[n] = Named(new TRadioGroup(QString(), box), "RadioGroupTbLe" + s);
        RadioGroupTbLe[n]->setItems(
            QStringList(3));
        RadioGroupTbTy[n] = Named(new TRadioGroup(QString(), box), "RadioGroupTbTy" + s);
        RadioGroupTbTy[n]->setItems(
            QStringList(3));
        // The switch beside its button, the vertex below them: a row is no
        // taller than its two radio groups.
        auto* left = new QGridLayout;
        left->setVerticalSpacing(1);
        left->addWidget(CheckBoxTbEn[n], 0, 0);
        left->addWidget(ButtonTbProp[n], 0, 1);
        left->addWidget(RadioGroupTbVe[n], 1, 0, 1, 2);
        g->addLayout(left, n, 0);
        g->addWidget(RadioGroupTbLe[n], n, 1);
        g->addWidget(RadioGroupTbTy[n], n, 2);
    }
    v->addWidget(box);
}

void TriangleDialog::connectHandlers() {
    connectFigure(EditTH, {TriangleWithVertex, TriangleWithAngle, TriangleWithSide, TriangleWithHeight});
    ConnectFlag(*this, CheckBoxTcOpiEn, w_.CircOn[1]);
    ConnectFlag(*this, CheckBoxTcVpiEn, w_.CircOn[2]);
    const auto part = &TriangleDialog::partRequested;
    for (int i = 0; i < 3; ++i) ConnectRequest(this, ButtonTLine[i], part, Kind::li, 4 + i);
    ConnectRequest(this, ButtonTcOpi, part, Kind::ci, 2);
    ConnectRequest(this, ButtonTcVpi, part, Kind::ci, 1);
    connect(RadioGroupTTyp, &TRadioGroup::itemClicked, this, [this](int i) {
        if (filling()) return;
        typeEnables(i);
        w_.Typ.v = static_cast<std::uint8_t>(i + 1);
        if (enteredAllows(RadioGroupTTyp)) {
            commit();
            emit reselect();
        }
    });
    ConnectIndex(*this, RadioGroupT3P, w_.Side3, 0);
    ConnectIndex(*this, ComboBoxTVid, w_.View, 1);
    ConnectRequest(this, ButtonTrBrush, &TriangleDialog::brushRequested);
    for (int n = 0; n < 5; ++n) {
        const std::size_t k = static_cast<std::size_t>(n + 1);
        ConnectFlag(*this, CheckBoxTbEn[n], w_.LineOn[k]);
        ConnectRequest(this, ButtonTbProp[n], part, Kind::li, 7 + n);
        ConnectIndex(*this, RadioGroupTbVe[n], w_.LineVertex[k], 1);
        ConnectIndex(*this, RadioGroupTbLe[n], w_.LineMode[k], 1);
        ConnectIndex(*this, RadioGroupTbTy[n], w_.LineKind[k], 1);
    }
}

void TriangleDialog::typeEnables(int index) {
    RadioGroupT3P->setEnabled(index != 3);
    EditTH->setEnabled(index == 1);
    LabelTH->setEnabled(index == 1);
}

void TriangleDialog::VarToForm(const DTri& t, int role, bool topIsCone, bool topIsTriangle) {
    FillScope scope(*this);
    for (std::size_t i = 1; i <= 3; ++i) FillVertexRow(rows_[i - 1], t.S[i].P1, t.S[i].P1, t.Ang[i], t.S[i]);
    FillHead(head_, t, role == 0);
    RadioGroupTTyp->setItemIndex(t.Typ.v - 1);
    PaintMaroon(RadioGroupTTyp);
    RadioGroupT3P->setItemIndex(t.Side3.v == 0 ? 0 : 1);
    EditTH->setNumber(t.Height.v);
    ComboBoxTVid->setCurrentIndex(t.View.v - 1);
    CheckBoxTcOpiEn->setChecked(t.CircOn[1].v);
    CheckBoxTcVpiEn->setChecked(t.CircOn[2].v);
    for (int n = 0; n < 5; ++n) {
        const std::size_t k = static_cast<std::size_t>(n + 1);
        CheckBoxTbEn[n]->setChecked(t.LineOn[k].v);
        RadioGroupTbVe[n]->setItemIndex(t.LineVertex[k].v - 1);
        RadioGroupTbLe[n]->setItemIndex(t.LineMode[k].v - 1);
        RadioGroupTbTy[n]->setItemIndex(t.LineKind[k].v - 1);
    }

    // Enabled from the flags.
    RadioGroupTTyp->setEnabled(t.Typ.e);
    CheckBoxTcOpiEn->setEnabled(t.CircOn[1].e);
    CheckBoxTcVpiEn->setEnabled(t.CircOn[2].e);
    RadioGroupT3P->setEnabled(t.Side3.e);
    EditTH->setEnabled(t.Height.e);
    LabelTH->setEnabled(t.Height.e);
    ComboBoxTVid->setEnabled(t.View.e);
    ButtonTcOpi->setEnabled(CheckBoxTcOpiEn->isChecked());
    ButtonTcVpi->setEnabled(CheckBoxTcVpiEn->isChecked());

    // Roles: a pyramid's lateral face opens only its base side; the contour
    // triangle of a cone has no special lines.
    const bool face = role >= 6 && role <= 9;
    ButtonTLine[0]->setEnabled(true);
    ButtonTLine[1]->setEnabled(!face);
    ButtonTLine[2]->setEnabled(!face);
    const bool lines = !(topIsCone && role == 2);
    for (int n = 0; n < 5; ++n) {
        CheckBoxTbEn[n]->setEnabled(lines);
        ButtonTbProp[n]->setEnabled(lines && CheckBoxTbEn[n]->isChecked());
        RadioGroupTbVe[n]->setEnabled(lines);
        RadioGroupTbLe[n]->setEnabled(lines);
        RadioGroupTbTy[n]->setEnabled(lines);
    }
    ButtonTrBrush->setEnabled(topIsTriangle && role == 0);
    SetFeatureGlyph(ButtonTrBrush, t.Fill.On);
    updateHints();
}

QString TriangleDialog::ruledType() const {
    const int type = w_.Typ.v;
    return type >= 1 && type <= 3 ? RadioGroupTTyp->itemText(type - 1).remove('&') : QString();
}

bool TriangleDialog::needsPlane() const { return w_.Typ.v >= 1 && w_.Typ.v <= 3; }

QString TriangleDialog::refusal(Value what, int i, double v) const {
    const DTri& t = w_;
    const int type = t.Typ.v;
    const double base = t.S[1].Length.v;
    const QString tooFar = said("При таком угле вершину не нарисовать: она слишком далеко.",
                                "At this angle the apex is too far away to draw.");
    switch (what) {
        case Value::Angle:
            if (type == 2 && i == 1) {
                if (!(v > 0 && v < 90))
                    return said("Угол при основании равнобедренного треугольника больше 0° и меньше 90°.",
                                "A base angle of an isosceles triangle lies between 0° and 90°.");
                if (!HeightDrawable(std::tan(v * M_PI / 180) * base / 2)) return tooFar;
            }
            if (type == 3 && i == 2) {
                if (!(v > 0 && v < 90))
                    return said("Острый угол прямоугольного треугольника больше 0° и меньше 90°.",
                                "An acute angle of a right triangle lies between 0° and 90°.");
                if (!HeightDrawable(std::tan(v * M_PI / 180) * base)) return tooFar;
            }
            if (!(v > 0 && v < 180))
                return said("Угол треугольника больше 0° и меньше 180°.", "An angle of a triangle lies between 0° and 180°.");
            if (type == 2 && i == 3 && !HeightDrawable(base / 2 / std::tan(v / 2 * M_PI / 180))) return tooFar;
            if (type == 4) {
                const int a = i == 1 ? 2 : 1, b = i == 3 ? 2 : 3;
                if (!SpansAngle(TriVertex(t, i), TriVertex(t, a), TriVertex(t, b)))
                    return said("Вершины лежат на одной прямой: сторону не повернуть.",
                                "The vertices lie on one line: there is no side to turn.");
            }
            return {};
        case Value::Side:
            if (type == 2 && i == 2 && v > 0 && !(v > base / 2))
                return said("Боковая сторона длиннее половины основания (%1).",
                            "An equal side is longer than half the base (%1).")
                    .arg(NumText(base / 2));
            return sideRefusal(i, v, i != 3 || type == 4);
        case Value::Height:
            return heightRefusal(v, said("Высота больше 0: треугольник не ложится на основание.",
                                         "A height is above 0: the triangle is never laid flat on its base."));
    }
    return {};
}

void TriangleDialog::fill(DTri rec) {
    const FillContext c = context ? context() : FillContext{};
    VarToForm(rec, c.role, c.topIsCone, c.topIsTriangle);
    LabelT2Path->setText(c.path);
}

// CreateFormTr: the page last entered; the part buttons open the part in its
// kind's dialog; fill, default sets and the re-marked selection through the
// editing core.
void RegisterTriangleDialog(DialogRegistry& reg) {
    RegisterFigureDialog<TriangleDialog, DTri>(
        reg, Kind::tr, 2, &WorkingCopies::CurTri, &TriangleDialog::ButtonTSave, &TriangleDialog::ButtonTLoad,
        [](DTri& t) { UpdateTriangle(t, 0, true); },
        [](DialogRegistry& r) {
            DialogSession& s = r.session();
            const std::string top = s.entryCode();
            return TriangleDialog::FillContext{r.role(Kind::tr), top == "ko", top == "tr",
                                               QString::fromStdString(s.pathCaption(Kind::tr))};
        },
        [](DialogRegistry& r, WorkingCopies& w, Kind kind, int role) {
            DTri& t = w.CurTri;
            if (kind == Kind::li && role >= 4 && role <= 6)
                r.OpenPart(Kind::tr, Kind::li, role, t.S[static_cast<std::size_t>(role - 3)], w.CurLine);
            else if (kind == Kind::li && role >= 7 && role <= 11)
                r.OpenPart(Kind::tr, Kind::li, role, t.Lines[static_cast<std::size_t>(role - 6)], w.CurLine);
            else if (kind == Kind::ci && (role == 1 || role == 2))
                r.OpenPart(Kind::tr, Kind::ci, role, t.Circ[role == 2 ? 1u : 2u], w.CurCircle);
        });
}

}  // namespace pelmar
