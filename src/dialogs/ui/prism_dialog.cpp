#include "dialogs/ui/prism_dialog.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <memory>

#include "dialogs/ui/anim_dialog.h"
#include "dialogs/ui/default_set.h"
#include "dialogs/ui/dialog_words.h"
#include "dialogs/ui/feature_glyph.h"
#include "drawing/word_lines.h"
#include "files/word_table.h"
#include "model/polyhedron_reshape.h"
#include "model/units.h"
#include "model/update.h"

namespace pelmar {

namespace {

// WordsToPr (the variant's caption and type items apart: the filler puts them).
constexpr WordTarget WordsToPrTable[] = {
    Cap("GroupBoxPM1", "{365}"), Cap("LabelPLayer", "{355}"), Cap("LabelPCol", "{356}"),
    Cap("LabelPTol", "{357}"), Cap("CheckBoxPDis", "{358}"), Cap("ButtonPSave", "{359}"),
    Cap("ButtonPLoad", "{360}"),
    Cap("GroupBoxPBok", "{581}"), Cap("LabelPRebP", "{582}"), Cap("LabelPRebH", "{406}"), Cap("LabelPRebLe", "{391}"),
    Cap("RadioGroupPType", "{369}"), Cap("ButtonPAn2", "{420}"),
    Cap("ButtonPNiz", "{407}"), Cap("ButtonPVer", "{408}"), Cap("ButtonPGran1", "{415}"),
    Cap("ButtonPGran2", "{416}"), Cap("ButtonPGran3", "{417}"), Cap("ButtonPGran4", "{418}"),
    Cap("CheckBoxPSOpi", "{410}"), Cap("CheckBoxPSVpi", "{411}"), Cap("ButtonPSOpi", "{410}"),
    Cap("ButtonPSVpi", "{411}"),
    Cap("GroupBoxPM2", "{366}"), Cap("GroupBoxPOri", "{419}"), Cap("GroupBoxPOrb", "{409}"),
    Cap("GroupBoxPVid", "{370}"),
    Item("ComboBoxPVid", 0, "{371}"), Item("ComboBoxPVid", 1, "{372}"), Item("ComboBoxPVid", 2, "{373}"),
    Item("ComboBoxPVid", 3, "{375}"), Item("ComboBoxPVid", 4, "{376}"), Item("ComboBoxPVid", 5, "{378}"),
    Cap("ButtonPrAnim", "{637}"), Cap("ButtonPrBrush", "{660}"),
};

QString Line(const WordTable& words, WordNo n) { return QString::fromStdString(words.WordLine(n)); }

// The irregular prism, the last type of each variant, has no edge vector.
bool Irregular(const DPr3& p) { return p.Typ.v == 3; }
bool Irregular(const DPr4& p) { return p.Typ.v == 5; }

}  // namespace

PrismDialog::PrismDialog(WorkingCopies& work, DialogDocument& doc, DialogCommit& commit, QWidget* parent)
    : VariantDialog<DPr3, DPr4>(Kind::r3, Kind::r4, work.CurPr3, work.CurPr4, QSize(380, 431), 433, doc, commit,
                                parent) {
    setObjectName("FormPr");
    build();
    connectHandlers();
    PrismDialog::applyWords(BuiltInWords());
}

void PrismDialog::build() {
    QVBoxLayout* v = buildHead();
    QWidget* page = body();

    // The lateral edges, and the rotation about them.
    auto* ge = Named(new QGroupBox(QString(), page), "GroupBoxPBok");
    auto* le = new QGridLayout(ge);
    le->setContentsMargins(4, 2, 4, 2);
    le->setVerticalSpacing(2);
    LabelPRebP = Named(new QLabel(ge), "LabelPRebP");
    le->addWidget(LabelPRebP, 0, 0, 1, 3);
    for (int i = 0; i < 3; ++i) {
        EditPRebP[i] = Named(new TNumEdit(ge, true, true), "EditPRebP" + QString::number(i + 1));
        le->addWidget(EditPRebP[i], 1, i);
    }
    LabelPRebLe = Named(new QLabel(ge), "LabelPRebLe");
    EditPRebLe = Named(new TNumEdit(ge, false, true), "EditPRebLe");
    le->addWidget(LabelPRebLe, 2, 0);
    le->addWidget(EditPRebLe, 2, 1);
    // The edges are given by their vector and length; the height label of
    // the design takes its word but stays hidden.
    auto* labelH = Named(new QLabel(ge), "LabelPRebH");
    labelH->hide();
    v->addWidget(ge);
    auto* go = Named(new QGroupBox(QString(), page), "GroupBoxPOri");
    auto* lo = new QHBoxLayout(go);
    lo->setContentsMargins(4, 2, 4, 2);
    ButtonPAn2 = Named(new QPushButton(QString(), go), "ButtonPAn2");
    EditPAn2 = Named(new TNumEdit(go, true, true), "EditPAn2");
    EditPAn2->setText("10");
    EditPAn2->setMaximumWidth(60);
    lo->addWidget(ButtonPAn2);
    lo->addWidget(EditPAn2);
    lo->addStretch(1);
    v->addWidget(go);

    // Type, parts and spheres.
    auto* row = new QHBoxLayout;
    RadioGroupPType = Named(new TRadioGroup(QString(), page), "RadioGroupPType");
    RadioGroupPType->setItems(QStringList(3));
    PaintMaroon(RadioGroupPType);
    row->addWidget(RadioGroupPType, 1);
    auto* parts = new QVBoxLayout;
    auto* gp = Named(new QGroupBox(QString(), page), "GroupBoxPM2");
    auto* lp = new QGridLayout(gp);
    lp->setContentsMargins(4, 2, 4, 2);
    lp->setVerticalSpacing(2);
    ButtonPNiz = Named(new QPushButton(QString(), gp), "ButtonPNiz");
    ButtonPVer = Named(new QPushButton(QString(), gp), "ButtonPVer");
    lp->addWidget(ButtonPNiz, 0, 0);
    lp->addWidget(ButtonPVer, 0, 1);
    for (int i = 0; i < 4; ++i) {
        ButtonPGran[i] = Named(new QPushButton(QString(), gp), "ButtonPGran" + QString::number(i + 1));
        lp->addWidget(ButtonPGran[i], 1 + i / 2, i % 2);
    }
    parts->addWidget(gp);
    parts->addWidget(AddSphereGroup(page, CheckBoxPSOpi, ButtonPSOpi, CheckBoxPSVpi, ButtonPSVpi, 2));
    row->addLayout(parts);
    v->addLayout(row);

    AddViewAndPath(page, v, ComboBoxPVid, ButtonPrAnim, "ButtonPrAnim", ButtonPrBrush, "ButtonPrBrush", LabelPPath);
}

void PrismDialog::connectHandlers() {
    connectHead(head_, [this] { headHints(); });
    connectFlag(CheckBoxPSOpi, [](auto& p) -> auto& { return p.OutSphereOn; });
    connectFlag(CheckBoxPSVpi, [](auto& p) -> auto& { return p.InSphereOn; });
    const std::array<Ed<double> DPr3::*, 3> edge3{&DPr3::EdgeX, &DPr3::EdgeY, &DPr3::EdgeZ};
    const std::array<Ed<double> DPr4::*, 3> edge4{&DPr4::EdgeX, &DPr4::EdgeY, &DPr4::EdgeZ};
    // A lateral edge of length 0 would flatten the prism and lose its slant.
    const auto flat = [this](double) {
        return said("Боковое ребро призмы не бывает нулевым.", "A prism's lateral edge is never 0 long.");
    };
    for (std::size_t i = 0; i < 3; ++i)
        exitRule(EditPRebP[i],
                 [f3 = edge3[i], f4 = edge4[i]](const auto& p) {
                     if constexpr (std::is_same_v<std::decay_t<decltype(p)>, DPr3>) return (p.*f3).v;
                     else return (p.*f4).v;
                 },
                 [i](auto p, double x) { return PrismWithEdge(std::move(p), static_cast<int>(i) + 1, x); }, flat);
    exitRule(EditPRebLe, [](const auto& p) { return p.EdgeLen.v; },
             [](auto p, double l) { return PrismWithEdgeLength(std::move(p), l); }, flat);
    connect(ButtonPAn2, &QPushButton::clicked, this, [this] {
        rotateBy([](auto p, double a) { return RotatedPrism(std::move(p), a); },
                 [this](const QString& text) { emit notANumber(text); });
    });
    connect(RadioGroupPType, &TRadioGroup::itemClicked, this, [this](int i) {
        if (filling()) return;
        edit([i](auto& p) { p.Typ.v = static_cast<std::uint8_t>(i + 1); });
        if (enteredAllows(RadioGroupPType)) {
            commit();
            emit reselect();
        }
    });
    connectIndex(ComboBoxPVid, [](auto& p) -> auto& { return p.View; }, 1);

    const auto part = &PrismDialog::partRequested;
    connect(ButtonPNiz, &QPushButton::clicked, this, [this, part] {
        flushPendingEdit();
        const bool four = variant() == Kind::r4;
        emit(this->*part)(four ? Kind::kv : Kind::tr, four ? 6 : 10);
    });
    connect(ButtonPVer, &QPushButton::clicked, this, [this, part] {
        flushPendingEdit();
        const bool four = variant() == Kind::r4;
        emit(this->*part)(four ? Kind::kv : Kind::tr, four ? 7 : 11);
    });
    for (int i = 0; i < 4; ++i) ConnectRequest(this, ButtonPGran[i], part, Kind::kv, 8 + i);
    ConnectRequest(this, ButtonPSOpi, part, Kind::sf, 1);
    ConnectRequest(this, ButtonPSVpi, part, Kind::sf, 2);
    connect(ButtonPrAnim, &QPushButton::clicked, this, [this] {
        flushPendingEdit();
        emit animRequested(variant() == Kind::r4 ? 6 : 5);
    });
    connect(ButtonPrBrush, &QPushButton::clicked, this, [this] {
        flushPendingEdit();
        emit brushRequested(variant() == Kind::r4 ? 10 : 9);
    });
}

void PrismDialog::setTypeItems(bool four) {
    const QStringList& items = types_[four];
    if (RadioGroupPType->count() != items.size()) {
        RadioGroupPType->setItems(items);
        PaintMaroon(RadioGroupPType);
    } else {
        for (int i = 0; i < items.size(); ++i) RadioGroupPType->setItemText(i, items[i]);
    }
}

template <class P>
void PrismDialog::VarToForm(const P& p, bool four) {
    FillScope scope(*this);
    const FillContext c = context ? context(four ? Kind::r4 : Kind::r3) : FillContext{};
    filled_ = four ? Kind::r4 : Kind::r3;
    LabelPPath->setText(c.path);
    ButtonPGran[3]->setVisible(four);
    setWindowTitle(caption_[four]);
    setTypeItems(four);

    FillHead(head_, p, c.own);
    const std::array<const Ed<double>*, 3> edge{&p.EdgeX, &p.EdgeY, &p.EdgeZ};
    for (std::size_t i = 0; i < 3; ++i) {
        EditPRebP[i]->setNumber(edge[i]->v);
        EditPRebP[i]->setEnabled(edge[i]->e);
    }
    EditPRebLe->setNumber(p.EdgeLen.v);
    // The four-sided prism's length follows its flag (a cube's edge is its
    // base's side); the three-sided prism's length is always the user's.
    const bool length = !four || p.EdgeLen.e;
    EditPRebLe->setEnabled(length);
    LabelPRebLe->setEnabled(length);
    RadioGroupPType->setItemIndex(p.Typ.v - 1);
    RadioGroupPType->setEnabled(p.Typ.e);
    CheckBoxPSOpi->setChecked(p.OutSphereOn.v);
    CheckBoxPSVpi->setChecked(p.InSphereOn.v);
    CheckBoxPSOpi->setEnabled(p.OutSphereOn.e);
    CheckBoxPSVpi->setEnabled(p.InSphereOn.e);
    ButtonPSOpi->setEnabled(CheckBoxPSOpi->isChecked());
    ButtonPSVpi->setEnabled(CheckBoxPSVpi->isChecked());
    ComboBoxPVid->setCurrentIndex(p.View.v - 1);

    const bool edges = !Irregular(p);
    LabelPRebP->setVisible(edges);
    LabelPRebLe->setVisible(edges);
    EditPRebLe->setVisible(edges);
    for (TNumEdit* e : EditPRebP) e->setVisible(edges);
    ButtonPAn2->setEnabled(p.Number <= 1);

    bool animated = false, editable = false;
    for (std::size_t i = 0; i < 3; ++i) {
        editable = editable || edge[i]->e;
        animated = animated || (edge[i]->e && !p.Anim[i].empty());
    }
    ButtonPrAnim->setEnabled(c.own && editable);
    SetFeatureGlyph(ButtonPrAnim, c.own && animated);
    ButtonPrBrush->setEnabled(c.own);
    SetFeatureGlyph(ButtonPrBrush, p.Fill.On);
    headHints();
    // The variants differ in their texts and buttons, the colour names in
    // their width: the window grows to what is shown, once the changed
    // controls have told their groups their new sizes.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    fitContent();
}

void PrismDialog::fill(DPr3 rec) { VarToForm(rec, false); }
void PrismDialog::fill(DPr4 rec) { VarToForm(rec, true); }

void PrismDialog::applyWords(const WordTable& words) {
    VariantDialog<DPr3, DPr4>::applyWords(words);
    ApplyWords(*this, WordsToPrTable, words);
    fitContent();  // the words may need more room than the design size
    caption_ = {Line(words, WordNo::PrismCaption), Line(words, WordNo::PrismCaption + 1)};
    types_[0] = {Line(words, WordNo::RegularSolid), Line(words, WordNo::ArbitrarySolid),
                 Line(words, WordNo::IrregularPrism)};
    types_[1] = {Line(words, WordNo::Cube), Line(words, WordNo::RectParallelepiped),
                 Line(words, WordNo::ObliqueParallelepiped), Line(words, WordNo::ArbitraryPrism),
                 Line(words, WordNo::IrregularPrism)};
    const bool four = showsFour();
    setWindowTitle(caption_[four]);
    {
        FillScope scope(*this);
        const int chosen = RadioGroupPType->itemIndex();
        setTypeItems(four);
        RadioGroupPType->setItemIndex(chosen);
    }
    fitContent();
    headHints();
}

// CreateFormPr: as the pyramid's.
void RegisterPrismDialog(DialogRegistry& reg) {
    const auto create = [](DialogRegistry& r) -> ObjectDialog* {
        auto* d = new PrismDialog(r.session().copies(), r.document(), r.commitTarget());
        WireVariantDialog(
            r, d, Kind::r3, Kind::r4, &WorkingCopies::CurPr3, &WorkingCopies::CurPr4,
            [](auto& p) {
                for (auto& base : p.Base)
                    for (auto& side : base.S) side.P1.Link = side.P2.Link = DLink{};
            },
            [](DPr3& p) { UpdatePrism3(p, 0); }, [](DPr4& p) { UpdatePrism4(p, 0); });
        QObject::connect(d, &PrismDialog::partRequested, d, [&r, d](Kind kind, int role) {
            WorkingCopies& w = r.session().copies();
            const auto common = [&](auto& p, Kind parent) {
                if (kind == Kind::sf && (role == 1 || role == 2))
                    r.OpenPart(parent, Kind::sf, role, role == 1 ? p.OutSphere : p.InSphere, w.CurSf);
                else if (kind == Kind::kv && role >= 8 && role <= 7 + static_cast<int>(p.Side.size()))
                    r.OpenPart(parent, Kind::kv, role, p.Side[static_cast<std::size_t>(role - 7)], w.CurKv);
            };
            if (d->variant() == Kind::r3) {
                DPr3& p = w.CurPr3;
                if (kind == Kind::tr && (role == 10 || role == 11))
                    r.OpenPart(Kind::r3, Kind::tr, role, p.Base[role == 10 ? 1u : 2u], w.CurTri);
                else common(p, Kind::r3);
            } else if (d->variant() == Kind::r4) {
                DPr4& p = w.CurPr4;
                if (kind == Kind::kv && (role == 6 || role == 7))
                    r.OpenPart(Kind::r4, Kind::kv, role, p.Base[role == 6 ? 1u : 2u], w.CurKv);
                else common(p, Kind::r4);
            }
        });
        return d;
    };
    reg.setCreator(Kind::r3, create);
    reg.setCreator(Kind::r4, create);
}

}  // namespace pelmar
