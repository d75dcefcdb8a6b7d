#include "dialogs/ui/ellipse_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <memory>

#include "dialogs/ui/anim_dialog.h"
#include "dialogs/ui/apply_all_dialog.h"
#include "dialogs/apply_to_all.h"
#include "dialogs/ui/color_combo.h"
#include "dialogs/ui/dialog_parts.h"
#include "dialogs/ui/dialog_words.h"
#include "dialogs/ui/feature_glyph.h"
#include "dialogs/ui/default_set.h"
#include "dialogs/ui/num_edit.h"
#include "dialogs/number_text.h"
#include "dialogs/ui/spin_edit.h"
#include "model/coord_limit.h"
#include "model/geometry.h"
#include "model/units.h"
#include "model/update.h"

namespace pelmar {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

int RoundInt(double v) { return SaturatedRound<int>(v); }

// Whether the centre button is refused for this entry kind and role.
bool CentreLocked(const std::string& k, int r) {
    if (k == "sf") return r == 6;
    if (k == "zi") return r == 3 || r == 6 || r == 8;
    if (k == "ko") return true;
    if (k == "i3" || k == "i4" || k == "r3" || k == "r4") return r == 3 || r == 6;
    return false;
}

// WordsToCi.
constexpr WordTarget WordsToCi[] = {
    Cap("", "{447}"),
    Cap("GroupBoxCM1", "{365}"),
    Cap("LabelCLayer", "{355}"),
    Cap("LabelCCol", "{356}"),
    Cap("LabelCTol", "{357}"),
    Cap("CheckBoxCDis", "{358}"),
    Cap("ButtonCSave", "{359}"),
    Cap("ButtonCLoad", "{360}"),
    Cap("GroupBoxCM2", "{366}"),
    Cap("LabelCCenter", "{403}"),
    Cap("LabelCRad", "{448}"),
    Cap("CheckBoxCCi", "{449}"),
    Cap("LabelCAn", "{450}"),
    Cap("ButtonCCenter", "{403}"),
    Cap("GroupBoxCVid", "{370}"),
    Item("ComboBoxCTyp", 0, "{379}"),
    Item("ComboBoxCTyp", 1, "{380}"),
    Item("ComboBoxCTyp", 2, "{381}"),
    Item("ComboBoxCTyp", 3, "{382}"),
    Cap("LabelCDug1", "{451}"),
    Cap("LabelCDug2", "{452}"),
    Cap("LabelCDush1", "{453}"),
    Cap("LabelCDush2", "{454}"),
    Cap("LabelCPri1", "{455}"),
    Cap("LabelCPri2", "{456}"),
    Cap("GroupBoxC", "{457}"),
    Cap("CheckBoxCEn1", "{383}"),
    Cap("CheckBoxCEn2", "{383}"),
    Cap("CheckBoxCEn3", "{383}"),
    Cap("ButtonCRad1", "{458}"),
    Cap("ButtonCRad2", "{459}"),
    Cap("ButtonCRad3", "{460}"),
    Cap("GroupBoxCKor", "{461}"),
    Cap("GroupBoxCM3", "{462}"),
    Cap("LabelCCenter3", "{403}"),
    Cap("CheckBoxCCi3", "{449}"),
    Cap("LabelCRad3", "{448}"),
    Cap("ButtonCAll", "{463}"),
    Cap("ButtonCiAnim", "{637}"),
    Cap("ButtonCiBrush", "{660}"),
};

}  // namespace

TFormCi::TFormCi(DialogRegistry& reg, QWidget* parent)
    : SessionDialog<DCircle>(reg, "FormCi", WordsToCi, parent) {
    build();
    connectHandlers();
}

void TFormCi::build() {
    QWidget* b = body();
    const PlainColumn column = BuildPlainColumn(b, "LabelCPath", 2);
    QVBoxLayout* top = column.top;
    LabelCPath = column.path;

    auto* g1 = Named(new QGroupBox(QString(), b), QString("GroupBoxCM1"));
    head_ = BuildPlainHead(g1, TightGrid(g1), "C", true);
    top->addWidget(g1);

    // Главная 2: the centre and semi-axes in the picture, tilt, circle flag.
    auto* g2 = Named(new QGroupBox(QString(), b), QString("GroupBoxCM2"));
    auto* l2 = TightGrid(g2);
    auto* centre = NamedLabel(g2, "LabelCCenter", "");
    LabelCx = NamedLabel(g2, "LabelCx", "X=");
    LabelCy = NamedLabel(g2, "LabelCy", "Y=");
    SpinEditCx = NamedSpin(g2, "SpinEditCx", 0, 0);
    SpinEditCy = NamedSpin(g2, "SpinEditCy", 0, 0);
    ButtonCCenter = Named(new QPushButton(QString(), g2), QString("ButtonCCenter"));
    LabelCRad = NamedLabel(g2, "LabelCRad", "");
    SpinEditCa = NamedSpin(g2, "SpinEditCa", 1, 5000);
    SpinEditCb = NamedSpin(g2, "SpinEditCb", 1, 5000);
    LabelCAn = NamedLabel(g2, "LabelCAn", "");
    EditCAn = Named(new TNumEdit(g2, true, true), QString("EditCAn"));
    EditCAn->setText("0");
    CheckBoxCCi = Named(new QCheckBox(QString(), g2), QString("CheckBoxCCi"));
    l2->addWidget(centre, 0, 0), l2->addWidget(LabelCx, 0, 1), l2->addWidget(SpinEditCx, 0, 2);
    l2->addWidget(LabelCy, 0, 3), l2->addWidget(SpinEditCy, 0, 4), l2->addWidget(ButtonCCenter, 0, 5);
    l2->addWidget(LabelCRad, 1, 0), l2->addWidget(SpinEditCa, 1, 2), l2->addWidget(SpinEditCb, 1, 4);
    l2->addWidget(LabelCAn, 2, 0, 1, 2), l2->addWidget(EditCAn, 2, 2), l2->addWidget(CheckBoxCCi, 2, 3, 1, 2);
    top->addWidget(g2);

    auto* g3 = Named(new QGroupBox(QString(), b), QString("GroupBoxCM3"));
    auto* l3 = TightGrid(g3);
    auto* centre3 = NamedLabel(g3, "LabelCCenter3", "");
    LabelCx3 = NamedLabel(g3, "LabelCx3", "X=");
    LabelCy3 = NamedLabel(g3, "LabelCy3", "Y=");
    LabelCz3 = NamedLabel(g3, "LabelCz3", "Z=");
    SpinEditCx3 = NamedSpin(g3, "SpinEditCx3", 0, 0);
    SpinEditCy3 = NamedSpin(g3, "SpinEditCy3", 0, 0);
    SpinEditCz3 = NamedSpin(g3, "SpinEditCz3", 0, 0);
    LabelCRad3 = NamedLabel(g3, "LabelCRad3", "");
    SpinEditCa3 = NamedSpin(g3, "SpinEditCa3", 1, 5000);
    SpinEditCb3 = NamedSpin(g3, "SpinEditCb3", 1, 5000);
    CheckBoxCCi3 = Named(new QCheckBox(QString(), g3), QString("CheckBoxCCi3"));
    l3->addWidget(centre3, 0, 0), l3->addWidget(LabelCx3, 0, 1), l3->addWidget(SpinEditCx3, 0, 2);
    l3->addWidget(LabelCy3, 0, 3), l3->addWidget(SpinEditCy3, 0, 4), l3->addWidget(LabelCz3, 0, 5);
    l3->addWidget(SpinEditCz3, 0, 6);
    l3->addWidget(LabelCRad3, 1, 0, 1, 2), l3->addWidget(SpinEditCa3, 1, 2), l3->addWidget(SpinEditCb3, 1, 4);
    l3->addWidget(CheckBoxCCi3, 1, 5, 1, 2);
    top->addWidget(g3);

    auto* row = new QHBoxLayout;
    auto* gr = Named(new QGroupBox(QString(), b), QString("GroupBoxC"));
    auto* lr = TightGrid(gr);
    for (int i = 0; i < 3; ++i) {
        const QString n = QString::number(i + 1);
        CheckBoxCEn[i] = Named(new QCheckBox(QString(), gr), "CheckBoxCEn" + n);
        ButtonCRad[i] = Named(new QPushButton(QString(), gr), "ButtonCRad" + n);
        lr->addWidget(CheckBoxCEn[i], i, 0), lr->addWidget(ButtonCRad[i], i, 1);
    }
    row->addWidget(gr);
    auto* gc = Named(new QGroupBox(QString(), b), QString("GroupBoxCKor"));
    auto* lc = TightGrid(gc);
    const char* names[4] = {"Buttona1", "Buttona2", "Buttonb1", "Buttonb2"};
    for (int i = 0; i < 4; ++i) {
        Correction[i] = Named(new QPushButton("+1", gc), QString(names[i]));
        lc->addWidget(Correction[i], i / 2, i % 2);
    }
    row->addWidget(gc);
    top->addLayout(row);

    auto* gv = Named(new QGroupBox(QString(), b), QString("GroupBoxCVid"));
    auto* lv = TightGrid(gv);
    ComboBoxCTyp = Named(new QComboBox(gv), QString("ComboBoxCTyp"));
    ComboBoxCTyp->addItems(QStringList(4, QString()));
    LabelCDug1 = NamedLabel(gv, "LabelCDug1", "");
    LabelCDug2 = NamedLabel(gv, "LabelCDug2", "");
    LabelCDush1 = NamedLabel(gv, "LabelCDush1", "");
    LabelCDush2 = NamedLabel(gv, "LabelCDush2", "");
    LabelCPri1 = NamedLabel(gv, "LabelCPri1", "");
    LabelCPri2 = NamedLabel(gv, "LabelCPri2", "");
    EditCDug1 = Named(new TNumEdit(gv, true, true), QString("EditCDug1"));
    EditCDug2 = Named(new TNumEdit(gv, true, true), QString("EditCDug2"));
    EditCDush1 = Named(new TNumEdit(gv, true, true), QString("EditCDush1"));
    EditCDush2 = Named(new TNumEdit(gv, true, true), QString("EditCDush2"));
    SpinEditCPri1 = NamedSpin(gv, "SpinEditCPri1", 1, 60);
    SpinEditCPri2 = NamedSpin(gv, "SpinEditCPri2", 1, 60);
    lv->addWidget(ComboBoxCTyp, 0, 0, 1, 4);
    lv->addWidget(LabelCDug1, 1, 0), lv->addWidget(EditCDug1, 1, 1), lv->addWidget(LabelCDug2, 1, 2);
    lv->addWidget(EditCDug2, 1, 3);
    lv->addWidget(LabelCDush1, 2, 0), lv->addWidget(EditCDush1, 2, 1), lv->addWidget(LabelCDush2, 2, 2);
    lv->addWidget(EditCDush2, 2, 3);
    lv->addWidget(LabelCPri1, 3, 0), lv->addWidget(SpinEditCPri1, 3, 1), lv->addWidget(LabelCPri2, 3, 2);
    lv->addWidget(SpinEditCPri2, 3, 3);
    top->addWidget(gv);

    auto* buttons = new QHBoxLayout;
    ButtonCAll = Named(new QPushButton(QString(), b), QString("ButtonCAll"));
    ButtonCiAnim = FeatureButton(b, "ButtonCiAnim");
    ButtonCiBrush = FeatureButton(b, "ButtonCiBrush");
    buttons->addWidget(ButtonCAll, 1), buttons->addWidget(ButtonCiAnim), buttons->addWidget(ButtonCiBrush);
    top->addLayout(buttons);
    top->addStretch(1);
}

// A := O + (0, a, 0) and B := O + (0, 0, b), turned by the tilt about the
// depth axis through the centre O.
void TFormCi::placeAxisEnds(bool a, bool b) {
    DCircle& c = cur();
    const DPoint& o = c.Center;
    if (a) {
        c.Q1 = {o.X.v, o.Y.v + c.A.v, o.Z.v};
        RotateAroundAxis(c.Q1[0], c.Q1[1], c.Q1[2], o.X.v, o.Y.v, o.Z.v, c.Tilt.v, 1, 0, 0);
    }
    if (b) {
        c.Q2 = {o.X.v, o.Y.v, o.Z.v + c.B.v};
        RotateAroundAxis(c.Q2[0], c.Q2[1], c.Q2[2], o.X.v, o.Y.v, o.Z.v, c.Tilt.v, 1, 0, 0);
    }
}

void TFormCi::connectHandlers() {
    watchAlways(head_.id, [this](const QString& t) { cur().ID.s = t.toStdString(); });
    ConnectHead<DCircle>(*this, head_, [this]() -> DCircle& { return cur(); });
    auto entered = [this](QComboBox* combo, auto store) {
        connect(combo, &QComboBox::activated, this, [this, combo, store](int i) {
            if (filling()) return;
            store(i);
            commitIfEntered(combo);
        });
    };
    entered(ComboBoxCTyp, [this](int i) { cur().ViewType.v = static_cast<std::uint8_t>(i + 1); });

    // focus, stored first.
    connect(head_.dis, &QCheckBox::toggled, this, [this](bool on) {
        if (filling()) return;
        cur().Disabled.v = on;
        commitIfFocused(head_.dis);
    });
    connect(CheckBoxCCi, &QCheckBox::toggled, this, [this](bool on) {
        if (filling()) return;
        DCircle& c = cur();
        c.IsCircle.v = on;
        if (on) {
            c.Tilt.v = 0;
            c.A.v = c.B.v;
            placeAxisEnds(true, true);
        }
        commitIfFocused(CheckBoxCCi);
    });
    connect(CheckBoxCCi3, &QCheckBox::toggled, this, [this](bool on) {
        if (filling()) return;
        cur().Is3D = on;
        if (on) cur().A3.v = cur().B3.v;
        commitIfFocused(CheckBoxCCi3);
    });
    for (int i = 0; i < 3; ++i) {
        connect(CheckBoxCEn[i], &QCheckBox::toggled, this, [this, i](bool on) {
            if (filling()) return;
            cur().ShowR[static_cast<std::size_t>(i + 1)].v = on;
            ButtonCRad[i]->setEnabled(on);
            commitIfFocused(CheckBoxCEn[i]);
        });
        connect(ButtonCRad[i], &QPushButton::clicked, this, [this, i] {
            const auto n = static_cast<std::size_t>(i + 1);
            reg_.OpenPart(Kind::ci, Kind::li, i + 1, DLine(cur().R[n]), reg_.session().copies().CurLine);
        });
    }
    connect(ButtonCCenter, &QPushButton::clicked, this, [this] {
        reg_.OpenPart(Kind::ci, Kind::po, 3, DPoint(cur().Center), reg_.session().copies().CurPoint);
    });

    // Corrections: -1 -> 0 -> 1 -> -1, committed on every click.
    std::int32_t DCircle::*corr[4] = {&DCircle::CorA1, &DCircle::CorA2, &DCircle::CorB1, &DCircle::CorB2};
    for (int i = 0; i < 4; ++i) {
        connect(Correction[i], &QPushButton::clicked, this, [this, f = corr[i]] {
            std::int32_t& v = cur().*f;
            v = v == -1 ? 0 : v == 0 ? 1 : v == 1 ? -1 : v;
            commit();
        });
    }

    // Numbers.  The centre's picture and 3D coordinates move one point: one
    // group.
    using Note = NumberNote;
    constexpr int centre = 1;
    auto number = [this](auto* box, std::function<double(const DCircle&)> get, std::function<Note(double)> store,
                         int group = -1, std::function<QString(double, double)> why = {}) {
        watchNumber(box, {.store = std::move(store),
                          .shown = [this, get] { return get(cur()); },
                          .group = group,
                          .why = std::move(why)});
    };
    auto taken = [](auto f) {
        return [f](double v) {
            f(v);
            return Note::taken();
        };
    };
    // The centre moves and the axis ends keep their offsets from it.
    auto moveCentre = [this](auto change) {
        DCircle& c = cur();
        DPoint& o = c.Center;
        const double d1[3] = {c.Q1[0] - o.X.v, c.Q1[1] - o.Y.v, c.Q1[2] - o.Z.v};
        const double d2[3] = {c.Q2[0] - o.X.v, c.Q2[1] - o.Y.v, c.Q2[2] - o.Z.v};
        change(o);
        c.Q1 = {o.X.v + d1[0], o.Y.v + d1[1], o.Z.v + d1[2]};
        c.Q2 = {o.X.v + d2[0], o.Y.v + d2[1], o.Z.v + d2[2]};
    };
    number(SpinEditCx, [](const DCircle& c) { return RoundInt(c.Center.ScrX.v); }, taken([moveCentre](double v) {
               moveCentre([v](DPoint& o) { SetPicturePlace(o, true, v); });
           }), centre);
    number(SpinEditCy, [](const DCircle& c) { return RoundInt(c.Center.ScrY.v); }, taken([moveCentre](double v) {
               moveCentre([v](DPoint& o) { SetPicturePlace(o, false, v); });
           }), centre);
    auto space = [&](TSpinEdit* spin, Ed<double> DPoint::*axis) {
        number(spin, [axis](const DCircle& c) { return RoundInt((c.Center.*axis).v); },
               taken([moveCentre, axis](double v) {
                   moveCentre([v, axis](DPoint& o) {
                       (o.*axis).v = v;
                       ProjectPoint(o);
                   });
               }), centre);
    };
    space(SpinEditCx3, &DPoint::X);
    space(SpinEditCy3, &DPoint::Y);
    space(SpinEditCz3, &DPoint::Z);

    // The semi-axes in the picture: both axis ends are placed anew from the
    // semi-axes and the tilt, so that the ends stay at right angles whichever
    // of them the last update found the longer.  The first is the greater
    // one.
    // A semi-axis in the picture and in space are one group each.
    constexpr int first = 2, second = 3;
    auto semiAxis = [&](TSpinEdit* spin, Ed<double> DCircle::*len, int group) {
        number(spin, [len](const DCircle& c) { return RoundInt((c.*len).v); },
               taken([this, len](double v) {
                   (cur().*len).v = v;
                   placeAxisEnds(true, true);
               }), group, [this](double, double) { return said("Первая полуось не меньше второй: эллипс повёрнут.",
                                                            "The first semi-axis is the greater one: the ellipse was turned."); });
    };
    semiAxis(SpinEditCa, &DCircle::A, first);
    semiAxis(SpinEditCb, &DCircle::B, second);
    // 3D semi-axes: the axis end moves along its direction to the new length;
    // a semi-axis of 0 is 1.
    auto axis3 = [&](TSpinEdit* spin, Ed<double> DCircle::*len, std::array<double, 3> DCircle::*end, int group) {
        number(spin, [len](const DCircle& c) { return RoundInt((c.*len).v); }, [this, len, end](double v) {
            DCircle& c = cur();
            const bool zero = std::abs(v) < 0.00001;
            (c.*len).v = zero ? 1 : v;
            const DPoint& o = c.Center;
            std::array<double, 3>& e = c.*end;
            double d[3] = {e[0] - o.X.v, e[1] - o.Y.v, e[2] - o.Z.v};
            const double n = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
            if (n != 0) {
                for (double& x : d) x /= n;
                e = {o.X.v + d[0] * (c.*len).v, o.Y.v + d[1] * (c.*len).v, o.Z.v + d[2] * (c.*len).v};
            }
            return zero ? Note::changed(said("Полуось не бывает нулевой: взято 1.", "A semi-axis is never 0: 1 was taken."))
                        : Note::taken();
        }, group);
    };
    axis3(SpinEditCa3, &DCircle::A3, &DCircle::Q1, first);
    axis3(SpinEditCb3, &DCircle::B3, &DCircle::Q2, second);
    connectSpin(SpinEditCPri1, &DCircle::Dash);
    connectSpin(SpinEditCPri2, &DCircle::Gap);

    // The tilt turns the axis ends about the centre; a circle has none.
    number(EditCAn, [](const DCircle& c) { return c.Tilt.v; }, [this](double v) {
        DCircle& c = cur();
        if (NearlyEqual(c.A.v, c.B.v)) return Note::refused(said("У окружности нет наклона.", "A circle has no tilt."));
        c.Tilt.v = v;
        placeAxisEnds(true, true);
        return Note::taken();
    });
    // Arcs: the start never passes the end.
    auto arc = [&](TNumEdit* edit, Ed<double> DCircle::*start, Ed<double> DCircle::*end, bool isStart) {
        number(edit, [f = isStart ? start : end](const DCircle& c) { return (c.*f).v; },
               [this, start, end, isStart](double v) {
                   DCircle& c = cur();
                   (c.*(isStart ? start : end)).v = v;
                   if ((c.*start).v <= (c.*end).v) return Note::taken();
                   if (isStart) {
                       (c.*start).v = (c.*end).v;
                       return Note::changed(said("Начало дуги не бывает больше её конца: взято %1.",
                                                 "An arc never starts after its end: %1 was taken.")
                                                .arg(NumText((c.*start).v)));
                   }
                   (c.*end).v = (c.*start).v;
                   return Note::changed(said("Конец дуги не бывает меньше её начала: взято %1.",
                                             "An arc never ends before its start: %1 was taken.")
                                            .arg(NumText((c.*end).v)));
               });
    };
    arc(EditCDug1, &DCircle::Arc1, &DCircle::Arc2, true);
    arc(EditCDug2, &DCircle::Arc1, &DCircle::Arc2, false);
    arc(EditCDush1, &DCircle::DashArc1, &DCircle::DashArc2, true);
    arc(EditCDush2, &DCircle::DashArc1, &DCircle::DashArc2, false);

    connect(ButtonCiAnim, &QPushButton::clicked, this, [this] {
        std::unique_ptr<TFormAnim> anim(NewFormAnimCi(cur(), reg_.session().words(), commitTarget(), this));
        anim->exec();
    });
    connect(ButtonCiBrush, &QPushButton::clicked, this, [this] { reg_.session().runFill(1, this); });
    ConnectDefaultSet<DCircle>(
        reg_, Kind::ci, head_.save, head_.load, [this]() -> DCircle& { return cur(); },
        [](DCircle& c) { c.Center.Link = DLink{}; }, [](DCircle& c) { UpdateCircle(c, 0); });
    connect(ButtonCAll, &QPushButton::clicked, this, [this] {
        std::unique_ptr<TFormAllOpt> opt(NewFormCiOpt(reg_.session().words(), this));
        if (opt->exec() != QDialog::Accepted) return;
        applyToAllEllipses(opt->category(0), opt->category(1));
    });
}

void TFormCi::fill(DCircle r) {
    FillScope scope(*this);
    LabelCPath->setText(Q(reg_.session().pathCaption(Kind::ci)));
    const std::string k = reg_.session().entryCode();
    FillHead(head_, r, k == "ci");
    SpinEditCx->setFillValue(RoundInt(r.Center.ScrX.v));
    SpinEditCy->setFillValue(RoundInt(r.Center.ScrY.v));
    SpinEditCa->setFillValue(RoundInt(r.A.v));
    SpinEditCb->setFillValue(RoundInt(r.B.v));
    EditCAn->setNumber(r.Tilt.v);
    CheckBoxCCi->setChecked(r.IsCircle.v);
    SpinEditCx3->setFillValue(RoundInt(r.Center.X.v));
    SpinEditCy3->setFillValue(RoundInt(r.Center.Y.v));
    SpinEditCz3->setFillValue(RoundInt(r.Center.Z.v));
    SpinEditCa3->setFillValue(RoundInt(r.A3.v));
    SpinEditCb3->setFillValue(RoundInt(r.B3.v));
    CheckBoxCCi3->setChecked(r.Is3D);
    ComboBoxCTyp->setCurrentIndex(r.ViewType.v - 1);
    EditCDug1->setNumber(r.Arc1.v);
    EditCDug2->setNumber(r.Arc2.v);
    EditCDush1->setNumber(r.DashArc1.v);
    EditCDush2->setNumber(r.DashArc2.v);
    SpinEditCPri1->setFillValue(r.Dash.v);
    SpinEditCPri2->setFillValue(r.Gap.v);
    const std::int32_t corr[4] = {r.CorA1, r.CorA2, r.CorB1, r.CorB2};
    for (int i = 0; i < 4; ++i) Correction[i]->setText(QString::number(corr[i]));

    auto en = [](bool e, std::initializer_list<QWidget*> ws) {
        for (QWidget* w : ws) w->setEnabled(e);
    };
    en(r.A.e, {LabelCRad, SpinEditCa});
    en(r.B.e, {SpinEditCb});
    en(r.IsCircle.e, {CheckBoxCCi});
    en(r.Center.ScrX.e, {LabelCx, SpinEditCx});
    en(r.Center.ScrY.e, {LabelCy, SpinEditCy});
    en(r.Tilt.e, {LabelCAn, EditCAn});
    en(r.ViewType.e, {ComboBoxCTyp});
    en(r.Arc1.e, {LabelCDug1, EditCDug1});
    en(r.Arc2.e, {LabelCDug2, EditCDug2});
    en(r.DashArc1.e, {LabelCDush1, EditCDush1});
    en(r.DashArc2.e, {LabelCDush2, EditCDush2});
    en(r.Dash.e, {LabelCPri1, SpinEditCPri1});
    en(r.Gap.e, {LabelCPri2, SpinEditCPri2});
    en(r.Center.X.e, {LabelCx3, SpinEditCx3});
    en(r.Center.Y.e, {LabelCy3, SpinEditCy3});
    en(r.Center.Z.e, {LabelCz3, SpinEditCz3});
    en(r.A3.e, {LabelCRad3, SpinEditCa3});
    en(r.B3.e, {SpinEditCb3});
    for (std::size_t i = 1; i <= 3; ++i) {
        CheckBoxCEn[i - 1]->setChecked(r.ShowR[i].v);
        CheckBoxCEn[i - 1]->setEnabled(r.ShowR[i].e);
        ButtonCRad[i - 1]->setEnabled(r.ShowR[i].v);
    }
    ButtonCCenter->setEnabled(!CentreLocked(k, reg_.role(Kind::ci)));
    bool animated = (r.A.e && !r.Anim[0].empty()) || (r.B.e && !r.Anim[1].empty()) ||
                    (r.Tilt.e && !r.Anim[2].empty()) || (r.Arc1.e && !r.Anim[3].empty()) ||
                    (r.Arc2.e && !r.Anim[4].empty());
    for (std::size_t i = 1; i <= 3; ++i) animated = animated || (r.R[i].Angle.e && !r.Anim[4 + i].empty());
    SetFeatureGlyph(ButtonCiAnim, animated);
    SetFeatureGlyph(ButtonCiBrush, r.Fill.On);
    updateHints();
}

void TFormCi::updateHints() {
    const DCircle& c = cur();
    showThickness(head_.pt, head_.tol, c.Thick.v);
    setSizeHintOf(SpinEditCx, c.Center.ScrX.v);
    setSizeHintOf(SpinEditCy, c.Center.ScrY.v);
    setSizeHintOf(SpinEditCa, c.A.v);
    setSizeHintOf(SpinEditCb, c.B.v);
    setSizeHintOf(SpinEditCPri1, c.Dash.v);
    setSizeHintOf(SpinEditCPri2, c.Gap.v);
}

void TFormCi::applyToAllEllipses(bool thickness, bool dashes) {
    DialogSession& s = reg_.session();
    // The undo snapshot holds the document as it was before the walk, and
    // the commit after it belongs to the same step: one Undo takes the
    // walk back.  The walk writes into the working copies as well, so it
    // reads its template from a copy.
    const DCircle tmpl = cur();
    // Where every one has the style already, nothing changes: no step.
    std::uint64_t step = 0;
    bool changed = false;
    ApplyToAllEllipses(s.proj().Obj, s.copies(), tmpl, EllipseCategories{thickness, dashes},
                       [&] { step = commitTarget().BeforeDocumentChange(), changed = true; });
    if (!changed) return;
    commitTarget().ApplyObjectInStep(false, step);
    commitTarget().RepaintProject();
}

void RegisterEllipseDialog(DialogRegistry& reg) {
    reg.setCreator(Kind::ci, [](DialogRegistry& r) -> ObjectDialog* { return new TFormCi(r); });
}

}  // namespace pelmar
