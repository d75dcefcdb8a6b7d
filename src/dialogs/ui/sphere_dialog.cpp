#include "dialogs/ui/sphere_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>
#include <memory>

#include "dialogs/ui/anim_dialog.h"
#include "dialogs/ui/default_set.h"
#include "dialogs/ui/dialog_words.h"
#include "dialogs/ui/feature_glyph.h"
#include "dialogs/ui/section_plane_dialog.h"
#include "model/coord_limit.h"
#include "model/round_reshape.h"
#include "model/units.h"
#include "model/update.h"

namespace pelmar {

namespace {

int RoundInt(double v) { return SaturatedRound<int>(v); }

// The ellipse roles of sections 1..7 in the nesting path; the contour is 6.
constexpr int SectionRole[7] = {3, 4, 5, 12, 13, 14, 15};
constexpr int ContourRole = 6;
constexpr int CentreRole = 6;

// WordsToSf.
constexpr WordTarget WordsToSf[] = {
    Cap("", "{559}"),
    Cap("GroupBoxSM1", "{365}"),
    Cap("LabelSLayer", "{355}"),
    Cap("LabelSCol", "{356}"),
    Cap("LabelSTol", "{357}"),
    Cap("CheckBoxSDis", "{358}"),
    Cap("ButtonSSave", "{359}"),
    Cap("ButtonSLoad", "{360}"),
    Cap("GroupBoxSM2", "{366}"),
    Cap("LabelSx", "{560}"),
    Cap("LabelSy", "{561}"),
    Cap("ButtonSCenter", "{403}"),
    Cap("LabelSRad", "{367}"),
    Cap("GroupBoxSVid", "{370}"),
    Item("ComboBoxSVid", 0, "{379}"),
    Item("ComboBoxSVid", 1, "{380}"),
    Item("ComboBoxSVid", 2, "{381}"),
    Item("ComboBoxSVid", 3, "{375}"),
    Item("ComboBoxSVid", 4, "{376}"),
    Item("ComboBoxSVid", 5, "{378}"),
    Cap("GroupBoxSCut", "{412}"),
    Cap("CheckBoxSTe", "{413}"),
    Cap("ButtonSTe", "{413}"),
    Cap("ButtonSfAnim", "{637}"),
    Cap("ButtonSfBrush", "{660}"),
};

}  // namespace

TFormSf::TFormSf(DialogRegistry& reg, QWidget* parent)
    : SessionDialog<DSf>(reg, "FormSf", WordsToSf, parent, QSize(380, 300), 302) {
    build();
    connectHandlers();
}

// The controls send their signals (editingFinished, a fixed-up value) while
// the widgets go, after this part of the dialog has gone.
TFormSf::~TFormSf() {
    for (QObject* c : findChildren<QObject*>()) c->disconnect(this);
}

void TFormSf::build() {
    QWidget* b = body();
    const PlainColumn column = BuildPlainColumn(b, "LabelSPath", 2);
    QVBoxLayout* top = column.top;
    LabelSPath = column.path;

    auto* g1 = Named(new QGroupBox(QString(), b), QString("GroupBoxSM1"));
    head_ = BuildPlainHead(g1, TightGrid(g1), "S", true);
    top->addWidget(g1);

    // Главная 2: the centre in the picture and the radius.
    auto* g2 = Named(new QGroupBox(QString(), b), QString("GroupBoxSM2"));
    auto* l2 = TightGrid(g2);
    LabelSx = NamedLabel(g2, "LabelSx", "");
    LabelSy = NamedLabel(g2, "LabelSy", "");
    SpinEditSx = NamedSpin(g2, "SpinEditSx", 0, 0);
    SpinEditSy = NamedSpin(g2, "SpinEditSy", 0, 0);
    ButtonSCenter = Named(new QPushButton(QString(), g2), QString("ButtonSCenter"));
    LabelSRad = NamedLabel(g2, "LabelSRad", "");
    SpinEditSRad = NamedSpin(g2, "SpinEditSRad", 0, 0);
    l2->addWidget(LabelSx, 0, 0), l2->addWidget(SpinEditSx, 0, 1);
    l2->addWidget(LabelSy, 0, 2), l2->addWidget(SpinEditSy, 0, 3);
    l2->addWidget(ButtonSCenter, 0, 4);
    l2->addWidget(LabelSRad, 1, 0), l2->addWidget(SpinEditSRad, 1, 1);
    top->addWidget(g2);

    // Sections: the contour, then each section's switch, its circle and its plane.
    auto* g3 = Named(new QGroupBox(QString(), b), QString("GroupBoxSCut"));
    auto* l3 = TightGrid(g3);
    l3->setHorizontalSpacing(3);
    CheckBoxSTe = Named(new QCheckBox(QString(), g3), QString("CheckBoxSTe"));
    ButtonSTe = Named(new QPushButton(QString(), g3), QString("ButtonSTe"));
    l3->addWidget(CheckBoxSTe, 0, 0), l3->addWidget(ButtonSTe, 1, 0);
    for (int i = 0; i < 7; ++i) {
        const QString n = QString::number(i + 1);
        CheckBoxSe[i] = Named(new QCheckBox(n, g3), "CheckBoxSe" + n);
        ButtonSe[i] = Named(new QToolButton(g3), "ButtonSe" + n);
        ButtonSe[i]->setText(n);
        ButtonSSP[i] = Named(new QToolButton(g3), "ButtonSSP" + n);
        ButtonSSP[i]->setText("+");
        for (QToolButton* p : {ButtonSe[i], ButtonSSP[i]}) p->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        l3->addWidget(CheckBoxSe[i], 0, i + 1);
        l3->addWidget(ButtonSe[i], 1, i + 1);
        l3->addWidget(ButtonSSP[i], 2, i + 1);
    }
    top->addWidget(g3);

    auto* row = new QHBoxLayout;
    auto* gv = Named(new QGroupBox(QString(), b), QString("GroupBoxSVid"));
    auto* lv = new QVBoxLayout(gv);
    lv->setContentsMargins(6, 1, 6, 3);
    ComboBoxSVid = Named(new QComboBox(gv), QString("ComboBoxSVid"));
    ComboBoxSVid->addItems(QStringList(6, QString()));
    lv->addWidget(ComboBoxSVid);
    row->addWidget(gv, 1);
    auto* buttons = new QVBoxLayout;
    ButtonSfAnim = FeatureButton(b, "ButtonSfAnim");
    ButtonSfBrush = FeatureButton(b, "ButtonSfBrush");
    buttons->addWidget(ButtonSfAnim), buttons->addWidget(ButtonSfBrush);
    row->addLayout(buttons);
    top->addLayout(row);
    top->addStretch(1);
}

void TFormSf::connectHandlers() {
    watchAlways(head_.id, [this](const QString& t) { cur().ID.s = t.toStdString(); });
    ConnectHead<DSf>(*this, head_, [this]() -> DSf& { return cur(); });
    DSf& s = cur();
    ConnectFlag(*this, head_.dis, s.Disabled);
    ConnectFlag(*this, CheckBoxSTe, s.ContourOn);
    for (std::size_t i = 1; i <= 7; ++i) ConnectFlag(*this, CheckBoxSe[i - 1], s.SecOn[i]);
    ConnectIndex(*this, ComboBoxSVid, s.View, 1);

    // Numbers.  The centre in the picture moves the sphere key by key; the
    // radius waits until the user is done: the update puts every section
    // plane the sphere is not wide enough for through the centre, so a "7"
    // on the way to "75" would move them.
    using Note = NumberNote;
    auto centre = [this](TSpinEdit* spin, bool xCoord) {
        watchNumber(spin, {.store = [this, xCoord](double v) {
                               std::optional<DSf> t = OrbWithCentre(cur(), xCoord, v);
                               if (t) cur() = std::move(*t);
                               return ruleNote(t.has_value());
                           },
                           .shown = [this, xCoord] {
                               return double(RoundInt(xCoord ? cur().Center.ScrX.v : cur().Center.ScrY.v));
                           }});
    };
    centre(SpinEditSx, true);
    centre(SpinEditSy, false);
    watchNumber(SpinEditSRad, {.store = [this](double v) {
                                   std::optional<DSf> t = OrbWithRadius(cur(), v);
                                   if (!t && v < SmallestRoundSize)
                                       return Note::refused(said("Радиус сферы не бывает меньше 1.",
                                                                 "A sphere's radius is never below 1."));
                                   if (!t) return ruleNote(false);
                                   cur() = std::move(*t);
                                   return Note::taken();
                               },
                               .shown = [this] { return double(RoundInt(cur().Radius.v)); },
                               .live = false});

    WorkingCopies& w = reg_.session().copies();
    connect(ButtonSCenter, &QPushButton::clicked, this,
            [this, &w] { reg_.OpenPart(Kind::sf, Kind::po, CentreRole, DPoint(cur().Center), w.CurPoint); });
    connect(ButtonSTe, &QPushButton::clicked, this,
            [this, &w] { reg_.OpenPart(Kind::sf, Kind::ci, ContourRole, DCircle(cur().Contour), w.CurCircle); });
    for (int i = 0; i < 7; ++i) {
        connect(ButtonSe[i], &QToolButton::clicked, this, [this, &w, i] {
            const DCircle sec = cur().Sec[static_cast<std::size_t>(i + 1)];
            reg_.OpenPart(Kind::sf, Kind::ci, SectionRole[i], sec, w.CurCircle);
        });
        connect(ButtonSSP[i], &QToolButton::clicked, this, [this, i] { openPlane(i + 1); });
    }
    connect(ButtonSfAnim, &QPushButton::clicked, this, [this] {
        std::unique_ptr<TFormAnim> anim(
            NewFormAnimZK(reg_.session().copies(), 0, reg_.session().words(), commitTarget(), this));
        anim->exec();
    });
    connect(ButtonSfBrush, &QPushButton::clicked, this, [this] { reg_.session().runFill(4, this); });
    ConnectDefaultSet<DSf>(
        reg_, Kind::sf, head_.save, head_.load, [this]() -> DSf& { return cur(); },
        [](DSf& r) { r.Center.Link = DLink{}; }, [](DSf& r) { UpdateOrb(r, 0); });
}

// The plane's dialog, modal; the picture is redrawn when it closes.
void TFormSf::openPlane(int plane) {
    flushPendingEdit();
    TFormOrb orb(cur(), plane, commitTarget(), this);
    orb.exec();
    commitTarget().RepaintProject();
}

void TFormSf::fill(DSf r) {
    FillScope scope(*this);
    LabelSPath->setText(QString::fromStdString(reg_.session().pathCaption(Kind::sf)));
    // A sphere of a body has neither fill nor default set of its own.
    const bool own = reg_.session().entryCode() == "sf";
    FillHead(head_, r, own);
    SpinEditSx->setFillValue(RoundInt(r.Center.ScrX.v));
    SpinEditSy->setFillValue(RoundInt(r.Center.ScrY.v));
    SpinEditSRad->setFillValue(RoundInt(r.Radius.v));
    CheckBoxSTe->setChecked(r.ContourOn.v);
    ButtonSTe->setEnabled(r.ContourOn.v);
    for (std::size_t i = 1; i <= 7; ++i) {
        CheckBoxSe[i - 1]->setChecked(r.SecOn[i].v);
        ButtonSe[i - 1]->setEnabled(r.SecOn[i].v);
    }
    ComboBoxSVid->setCurrentIndex(r.View.v - 1);

    LabelSx->setEnabled(r.Center.ScrX.e), SpinEditSx->setEnabled(r.Center.ScrX.e);
    LabelSy->setEnabled(r.Center.ScrY.e), SpinEditSy->setEnabled(r.Center.ScrY.e);
    LabelSRad->setEnabled(r.Radius.e), SpinEditSRad->setEnabled(r.Radius.e);
    ButtonSfAnim->setEnabled(r.Radius.e);
    ComboBoxSVid->setEnabled(r.View.e);
    SetFeatureGlyph(ButtonSfAnim, r.Radius.e && !r.Anim.empty());
    SetFeatureGlyph(ButtonSfBrush, r.Fill.On);
    ButtonSfBrush->setEnabled(own);
    updateHints();
}

void TFormSf::updateHints() {
    const DSf& s = cur();
    showThickness(head_.pt, head_.tol, s.Thick.v);
    setSizeHintOf(SpinEditSx, s.Center.ScrX.v);
    setSizeHintOf(SpinEditSy, s.Center.ScrY.v);
    setSizeHintOf(SpinEditSRad, s.Radius.v);
}

void RegisterSphereDialog(DialogRegistry& reg) {
    reg.setCreator(Kind::sf, [](DialogRegistry& r) -> ObjectDialog* { return new TFormSf(r); });
}

}  // namespace pelmar
