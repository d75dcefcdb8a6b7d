#include "dialogs/ui/round_body_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <memory>

#include "dialogs/ui/anim_dialog.h"
#include "dialogs/ui/default_set.h"
#include "dialogs/ui/dialog_words.h"
#include "dialogs/ui/feature_glyph.h"
#include "dialogs/ui/num_edit.h"
#include "model/coord_limit.h"
#include "model/round_reshape.h"
#include "model/units.h"
#include "model/update.h"

namespace pelmar {

namespace {

int RoundInt(double v) { return SaturatedRound<int>(v); }

// WordsToZi.
constexpr WordTarget WordsToZi[] = {
    Cap("", "{563}"),
    Cap("GroupBoxZM1", "{365}"), Cap("LabelZLayer", "{355}"), Cap("LabelZCol", "{356}"),
    Cap("LabelZTol", "{357}"), Cap("CheckBoxZDis", "{358}"), Cap("ButtonZSave", "{359}"),
    Cap("ButtonZLoad", "{360}"), Cap("GroupBoxZM2", "{366}"), Cap("LabelZRad", "{367}"),
    Cap("LabelZH", "{405}"), Cap("ButtonZH", "{406}"), Cap("ButtonZNiz", "{407}"), Cap("ButtonZVer", "{408}"),
    Cap("GroupBoxZVid", "{370}"),
    Item("ComboBoxZVid", 0, "{371}"), Item("ComboBoxZVid", 1, "{372}"), Item("ComboBoxZVid", 2, "{373}"),
    Item("ComboBoxZVid", 3, "{375}"), Item("ComboBoxZVid", 4, "{376}"), Item("ComboBoxZVid", 5, "{377}"),
    Cap("GroupBoxZSe", "{412}"),
    Cap("CheckBoxZSeTerm", "{383}"), Cap("CheckBoxZSeMain", "{383}"), Cap("CheckBoxZSeAdd1", "{383}"),
    Cap("CheckBoxZSeAdd2", "{383}"),
    Cap("ButtonZSeTerm", "{413}"), Cap("ButtonZSeMain", "{414}"), Cap("ButtonZSeAdd1", "{564}"),
    Cap("ButtonZSeAdd2", "{565}"), Cap("LabelZSeAdd1", "{386}"), Cap("LabelZSeAdd2", "{386}"),
    Cap("GroupBoxZOrb", "{409}"), Cap("CheckBoxZSOpi", "{410}"), Cap("CheckBoxZSVpi", "{411}"),
    Cap("ButtonZSOpi", "{410}"), Cap("ButtonZSVpi", "{411}"),
    Cap("ButtonZiAnim", "{637}"), Cap("ButtonZiBrush", "{660}"),
};

// WordsToKo.
constexpr WordTarget WordsToKo[] = {
    Cap("", "{567}"),
    Cap("GroupBoxKM1", "{365}"), Cap("LabelKLayer", "{355}"), Cap("LabelKCol", "{356}"),
    Cap("LabelKTol", "{357}"), Cap("CheckBoxKDis", "{358}"), Cap("ButtonKSave", "{359}"),
    Cap("ButtonKLoad", "{360}"), Cap("GroupBoxKM2", "{366}"), Cap("LabelKRad", "{367}"),
    Cap("LabelKH", "{405}"), Cap("ButtonKH", "{406}"), Cap("ButtonKBase", "{407}"),
    Cap("GroupBoxKVid", "{370}"),
    Item("ComboBoxKVid", 0, "{371}"), Item("ComboBoxKVid", 1, "{372}"), Item("ComboBoxKVid", 2, "{373}"),
    Item("ComboBoxKVid", 3, "{375}"), Item("ComboBoxKVid", 4, "{376}"), Item("ComboBoxKVid", 5, "{377}"),
    Cap("GroupBoxKSe", "{412}"),
    Cap("CheckBoxKSeTerm", "{383}"), Cap("CheckBoxKSeMain", "{383}"), Cap("CheckBoxKSeAdd1", "{383}"),
    Cap("CheckBoxKSeAdd2", "{383}"),
    Cap("ButtonKSeTerm", "{413}"), Cap("ButtonKSeMain", "{414}"), Cap("ButtonKSeAdd1", "{568}"),
    Cap("ButtonKSeAdd2", "{569}"), Cap("LabelKAn1", "{386}"), Cap("LabelKAn2", "{386}"),
    Cap("GroupBoxKOrb", "{409}"), Cap("CheckBoxKSOpi", "{410}"), Cap("CheckBoxKSVpi", "{411}"),
    Cap("ButtonKSOpi", "{410}"), Cap("ButtonKSVpi", "{411}"),
    Cap("ButtonKoAnim", "{637}"), Cap("ButtonKoBrush", "{660}"),
};

std::optional<DZi> WithRadius(const DZi& z, double r) { return CylinderWithRadius(z, r); }
std::optional<DKo> WithRadius(const DKo& k, double r) { return ConeWithRadius(k, r); }
std::optional<DZi> WithHeight(const DZi& z, double h) { return CylinderWithHeight(z, h); }
std::optional<DKo> WithHeight(const DKo& k, double h) { return ConeWithHeight(k, h); }
void Update(DZi& z) { UpdateCylinder(z, 0); }
void Update(DKo& k) { UpdateCone(k, 0); }
DCircle& LowerBase(DZi& z) { return z.Base[1]; }
DCircle& LowerBase(DKo& k) { return k.Base; }

// The sections' names in the record's order: main, contour, additional 1, 2.
constexpr const char* SectionName[4] = {"SeMain", "SeTerm", "SeAdd1", "SeAdd2"};

}  // namespace

template <class R>
TFormRoundBody<R>::TFormRoundBody(DialogRegistry& reg, QWidget* parent)
    : SessionDialog<R>(reg, IsCylinder ? "FormZi" : "FormKo",
                       IsCylinder ? std::span<const WordTarget>(WordsToZi) : std::span<const WordTarget>(WordsToKo),
                       parent, QSize(380, 330), 332) {
    build();
    connectHandlers();
}

// The controls send their signals (editingFinished, a fixed-up value) while
// the widgets go, after this part of the dialog has gone.
template <class R>
TFormRoundBody<R>::~TFormRoundBody() {
    for (QObject* c : this->template findChildren<QObject*>()) c->disconnect(this);
}

template <class R>
void TFormRoundBody<R>::build() {
    const QString L = IsCylinder ? "Z" : "K";
    QWidget* b = this->body();
    const PlainColumn column = BuildPlainColumn(b, "Label" + L + "Path", 2);
    QVBoxLayout* top = column.top;
    LabelPath = column.path;

    auto* g1 = Named(new QGroupBox(QString(), b), "GroupBox" + L + "M1");
    head_ = BuildPlainHead(g1, TightGrid(g1), L, true);
    top->addWidget(g1);

    // Главная 2: radius and height, the axis and the bases.
    auto* g2 = Named(new QGroupBox(QString(), b), "GroupBox" + L + "M2");
    auto* l2 = TightGrid(g2);
    LabelRad = NamedLabel(g2, "Label" + L + "Rad", "");
    SpinEditRad = NamedSpin(g2, "SpinEdit" + L + "Rad", 0, 0);
    LabelH = NamedLabel(g2, "Label" + L + "H", "");
    SpinEditH = NamedSpin(g2, "SpinEdit" + L + "H", 0, 0);
    ButtonH = Named(new QPushButton(QString(), g2), "Button" + L + "H");
    ButtonLower = Named(new QPushButton(QString(), g2), QString(IsCylinder ? "ButtonZNiz" : "ButtonKBase"));
    l2->addWidget(LabelRad, 0, 0), l2->addWidget(SpinEditRad, 0, 1), l2->addWidget(ButtonLower, 0, 2);
    l2->addWidget(LabelH, 1, 0), l2->addWidget(SpinEditH, 1, 1), l2->addWidget(ButtonH, 1, 2);
    if constexpr (IsCylinder) {
        ButtonUpper = Named(new QPushButton(QString(), g2), QString("ButtonZVer"));
        l2->addWidget(ButtonUpper, 0, 3);
    }
    top->addWidget(g2);

    // Sections: switch and part button; the additional ones with their angle.
    auto* g3 = Named(new QGroupBox(QString(), b), "GroupBox" + L + "Se");
    auto* l3 = TightGrid(g3);
    for (int i = 0; i < 4; ++i) {
        const QString n = SectionName[i];
        CheckBoxSe[i] = Named(new QCheckBox(QString(), g3), "CheckBox" + L + n);
        ButtonSe[i] = Named(new QPushButton(QString(), g3), "Button" + L + n);
        l3->addWidget(CheckBoxSe[i], i, 0), l3->addWidget(ButtonSe[i], i, 1);
        if (i < 2) continue;
        const QString k = QString::number(i - 1);
        LabelAngle[i - 2] = NamedLabel(g3, IsCylinder ? "LabelZSeAdd" + k : "LabelKAn" + k, "");
        EditAngle[i - 2] = Named(new TNumEdit(g3, true, true), "Edit" + L + "SeAdd" + k);
        l3->addWidget(LabelAngle[i - 2], i, 2), l3->addWidget(EditAngle[i - 2], i, 3);
    }
    top->addWidget(g3);

    auto* row = new QHBoxLayout;
    auto* g4 = Named(new QGroupBox(QString(), b), "GroupBox" + L + "Orb");
    auto* l4 = TightGrid(g4);
    CheckBoxSOpi = Named(new QCheckBox(QString(), g4), "CheckBox" + L + "SOpi");
    ButtonSOpi = Named(new QPushButton(QString(), g4), "Button" + L + "SOpi");
    CheckBoxSVpi = Named(new QCheckBox(QString(), g4), "CheckBox" + L + "SVpi");
    ButtonSVpi = Named(new QPushButton(QString(), g4), "Button" + L + "SVpi");
    l4->addWidget(CheckBoxSOpi, 0, 0), l4->addWidget(ButtonSOpi, 0, 1);
    l4->addWidget(CheckBoxSVpi, 1, 0), l4->addWidget(ButtonSVpi, 1, 1);
    row->addWidget(g4);
    auto* gv = Named(new QGroupBox(QString(), b), "GroupBox" + L + "Vid");
    auto* lv = new QVBoxLayout(gv);
    lv->setContentsMargins(6, 1, 6, 3);
    ComboBoxVid = Named(new QComboBox(gv), "ComboBox" + L + "Vid");
    ComboBoxVid->addItems(QStringList(6, QString()));
    lv->addWidget(ComboBoxVid);
    const QString kind = IsCylinder ? "Zi" : "Ko";
    ButtonAnim = FeatureButton(gv, "Button" + kind + "Anim");
    ButtonBrush = FeatureButton(gv, "Button" + kind + "Brush");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ButtonAnim), buttons->addWidget(ButtonBrush);
    lv->addLayout(buttons);
    row->addWidget(gv, 1);
    top->addLayout(row);
    top->addStretch(1);
}

template <class R>
void TFormRoundBody<R>::connectHandlers() {
    ObjectDialog& d = *this;
    d.watchAlways(head_.id, [this](const QString& t) { cur().ID.s = t.toStdString(); });
    ConnectHead<R>(d, head_, [this]() -> R& { return cur(); });
    R& r = cur();
    ConnectFlag(d, head_.dis, r.Disabled);
    for (std::size_t i = 1; i <= 4; ++i) ConnectFlag(d, CheckBoxSe[i - 1], r.SecOn[i]);
    ConnectFlag(d, CheckBoxSOpi, r.OutSphereOn);
    ConnectFlag(d, CheckBoxSVpi, r.InSphereOn);
    ConnectIndex(d, ComboBoxVid, r.View, 1);

    // Numbers.  The radius moves the base's outline points along their own
    // directions, exactly: it is taken key by key.  The height moves the
    // axis' end, which the update keeps to 0.001: a "1" on the way to "150"
    // would leave the axis turned by that rounding, so the height is taken
    // when the user is done.  Values below one pixel are refused.
    using Note = ObjectDialog::NumberNote;
    const auto small = [this](bool radius) {
        return radius ? this->said("Радиус тела не бывает меньше 1.", "A body's radius is never below 1.")
                      : this->said("Высота тела не бывает меньше 1.", "A body's height is never below 1.");
    };
    this->watchNumber(SpinEditRad, {.store = [this, small](double v) {
                                        std::optional<R> t = WithRadius(cur(), v);
                                        if (!t) return v < SmallestRoundSize ? Note::refused(small(true)) : this->ruleNote(false);
                                        cur() = std::move(*t);
                                        return Note::taken();
                                    },
                                    .shown = [this] { return double(RoundInt(cur().Radius.v)); }});
    this->watchNumber(SpinEditH, {.store = [this, small](double v) {
                                      std::optional<R> t = WithHeight(cur(), v);
                                      if (!t) return v < SmallestRoundSize ? Note::refused(small(false)) : this->ruleNote(false);
                                      cur() = std::move(*t);
                                      return Note::taken();
                                  },
                                  .shown = [this] { return double(RoundInt(cur().Axis.Length.v)); },
                                  .live = false});
    // The angles of the additional sections, kept as typed.
    Ed<double> R::*angle[2] = {&R::SecPos1, &R::SecPos2};
    for (int i = 0; i < 2; ++i) {
        this->watchNumber(EditAngle[i], {.store = [this, f = angle[i]](double v) {
                                             (cur().*f).v = v;
                                             return Note::taken();
                                         },
                                         .shown = [this, f = angle[i]] { return (cur().*f).v; }});
    }

    // The parts.
    WorkingCopies& w = reg_.session().copies();
    auto open = [this](QPushButton* b, auto part) { QObject::connect(b, &QPushButton::clicked, this, part); };
    open(ButtonH, [this, &w] { reg_.OpenPart(OwnKind, Kind::li, IsCylinder ? 20 : 21, DLine(cur().Axis), w.CurLine); });
    open(ButtonLower, [this, &w] {
        reg_.OpenPart(OwnKind, Kind::ci, IsCylinder ? 7 : 9, DCircle(LowerBase(cur())), w.CurCircle);
    });
    if constexpr (IsCylinder)
        open(ButtonUpper, [this, &w] { reg_.OpenPart(Kind::zi, Kind::ci, 8, DCircle(cur().Base[2]), w.CurCircle); });
    for (int i = 0; i < 4; ++i) {
        open(ButtonSe[i], [this, &w, i] {
            const auto n = static_cast<std::size_t>(i + 1);
            if constexpr (IsCylinder) reg_.OpenPart(Kind::zi, Kind::kv, i + 1, DKv(cur().Sec[n]), w.CurKv);
            else reg_.OpenPart(Kind::ko, Kind::tr, i + 1, DTri(cur().Sec[n]), w.CurTri);
        });
    }
    open(ButtonSOpi, [this, &w] { reg_.OpenPart(OwnKind, Kind::sf, 1, DSf(cur().OutSphere), w.CurSf); });
    open(ButtonSVpi, [this, &w] { reg_.OpenPart(OwnKind, Kind::sf, 2, DSf(cur().InSphere), w.CurSf); });

    open(ButtonAnim, [this] {
        this->flushPendingEdit();
        std::unique_ptr<TFormAnim> anim(NewFormAnimZK(reg_.session().copies(), IsCylinder ? 1 : 2,
                                                      reg_.session().words(), this->commitTarget(), this));
        anim->exec();
    });
    open(ButtonBrush, [this] { reg_.session().runFill(IsCylinder ? 5 : 6, this); });
    ConnectDefaultSet<R>(
        reg_, OwnKind, head_.save, head_.load, [this]() -> R& { return cur(); },
        [](R& body) { LowerBase(body).Center.Link = DLink{}; }, [](R& body) { Update(body); });
}

template <class R>
void TFormRoundBody<R>::fill(R r) {
    ObjectDialog::FillScope scope(*this);
    LabelPath->setText(QString::fromStdString(reg_.session().pathCaption(OwnKind)));
    const bool own = reg_.session().entryCode() == InfoOf(OwnKind).code;
    FillHead(head_, r, own);
    SpinEditRad->setFillValue(RoundInt(r.Radius.v));
    SpinEditH->setFillValue(RoundInt(r.Axis.Length.v));
    for (std::size_t i = 1; i <= 4; ++i) {
        CheckBoxSe[i - 1]->setChecked(r.SecOn[i].v);
        ButtonSe[i - 1]->setEnabled(r.SecOn[i].v);
    }
    EditAngle[0]->setNumber(r.SecPos1.v);
    EditAngle[1]->setNumber(r.SecPos2.v);
    CheckBoxSOpi->setChecked(r.OutSphereOn.v);
    CheckBoxSVpi->setChecked(r.InSphereOn.v);
    ButtonSOpi->setEnabled(r.OutSphereOn.v);
    ButtonSVpi->setEnabled(r.InSphereOn.v);
    CheckBoxSVpi->setEnabled(r.InSphereOn.e);
    ComboBoxVid->setCurrentIndex(r.View.v - 1);

    const bool animated = !r.Anim[0].empty() || !r.Anim[1].empty() ||
                          (CheckBoxSe[2]->isChecked() && !r.Anim[2].empty()) ||
                          (CheckBoxSe[3]->isChecked() && !r.Anim[3].empty());
    SetFeatureGlyph(ButtonAnim, animated);
    SetFeatureGlyph(ButtonBrush, r.Fill.On);
    ButtonBrush->setEnabled(own);
    updateHints();
}

template <class R>
void TFormRoundBody<R>::updateHints() {
    const R& r = cur();
    this->showThickness(head_.pt, head_.tol, r.Thick.v);
    this->setSizeHintOf(SpinEditRad, r.Radius.v);
    this->setSizeHintOf(SpinEditH, r.Axis.Length.v);
}

template class TFormRoundBody<DZi>;
template class TFormRoundBody<DKo>;

void RegisterCylinderDialog(DialogRegistry& reg) {
    reg.setCreator(Kind::zi, [](DialogRegistry& r) -> ObjectDialog* { return new TFormZi(r); });
}

void RegisterConeDialog(DialogRegistry& reg) {
    reg.setCreator(Kind::ko, [](DialogRegistry& r) -> ObjectDialog* { return new TFormKo(r); });
}

}  // namespace pelmar
