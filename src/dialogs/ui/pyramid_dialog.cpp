#include "dialogs/ui/pyramid_dialog.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <cmath>
#include <memory>

#include "dialogs/ui/anim_dialog.h"
#include "dialogs/ui/default_set.h"
#include "dialogs/ui/dialog_words.h"
#include "dialogs/ui/feature_glyph.h"
#include "drawing/word_lines.h"
#include "files/word_table.h"
#include "model/geometry.h"
#include "model/polyhedron_reshape.h"
#include "model/units.h"
#include "model/update.h"

namespace pelmar {

namespace {

// WordsToPi (the variant's caption and type items apart: the filler puts them).
constexpr WordTarget WordsToPiTable[] = {
    Cap("GroupBoxPM1", "{365}"), Cap("LabelPLayer", "{355}"), Cap("LabelPCol", "{356}"),
    Cap("LabelPTol", "{357}"), Cap("CheckBoxPDis", "{358}"), Cap("ButtonPSave", "{359}"),
    Cap("ButtonPLoad", "{360}"),
    Cap("GroupBoxPH", "{406}"), Cap("CheckBoxPH", "{383}"), Cap("ButtonPH", "{406}"),
    Cap("RadioGroupPVer", "{576}"), Cap("RadioGroupPType", "{369}"), Cap("ButtonPAn2", "{420}"),
    Cap("ButtonPBase", "{407}"), Cap("ButtonPGran1", "{415}"), Cap("ButtonPGran2", "{416}"),
    Cap("ButtonPGran3", "{417}"), Cap("ButtonPGran4", "{418}"),
    Cap("CheckBoxPSOpi", "{410}"), Cap("CheckBoxPSVpi", "{411}"), Cap("ButtonPSOpi", "{410}"),
    Cap("ButtonPSVpi", "{411}"),
    Cap("GroupBoxPM2", "{366}"), Cap("GroupBoxPOri", "{419}"), Cap("GroupBoxPOrb", "{409}"),
    Cap("GroupBoxPVid", "{370}"),
    Item("ComboBoxPVid", 0, "{371}"), Item("ComboBoxPVid", 1, "{372}"), Item("ComboBoxPVid", 2, "{373}"),
    Item("ComboBoxPVid", 3, "{375}"), Item("ComboBoxPVid", 4, "{376}"), Item("ComboBoxPVid", 5, "{378}"),
    Cap("ButtonPiAnim", "{637}"), Cap("ButtonPiBrush", "{660}"),
};

QString Line(const WordTable& words, WordNo n) { return QString::fromStdString(words.WordLine(n)); }

}  // namespace

PyramidDialog::PyramidDialog(WorkingCopies& work, DialogDocument& doc, DialogCommit& commit, QWidget* parent)
    : VariantDialog<DPi3, DPi4>(Kind::i3, Kind::i4, work.CurPi3, work.CurPi4, QSize(380, 431), 433, doc, commit,
                                parent) {
    setObjectName("FormPi");
    build();
    connectHandlers();
    // The built-in words until a session puts its own (applyWords).
    PyramidDialog::applyWords(BuiltInWords());
}

void PyramidDialog::build() {
    QVBoxLayout* v = buildHead();
    QWidget* page = body();

    // Height and type.
    auto* row = new QHBoxLayout;
    auto* gh = Named(new QGroupBox(QString(), page), "GroupBoxPH");
    auto* lh = new QGridLayout(gh);
    lh->setContentsMargins(4, 2, 4, 2);
    CheckBoxPH = Named(new QCheckBox(QString(), gh), "CheckBoxPH");
    EditPH = Named(new TNumEdit(gh, false, true), "EditPH");
    ButtonPH = Named(new QPushButton(QString(), gh), "ButtonPH");
    lh->addWidget(CheckBoxPH, 0, 0);
    lh->addWidget(EditPH, 0, 1);
    lh->addWidget(ButtonPH, 1, 0, 1, 2);
    row->addWidget(gh);
    RadioGroupPType = Named(new TRadioGroup(QString(), page), "RadioGroupPType");
    RadioGroupPType->setItems(QStringList(3));
    PaintMaroon(RadioGroupPType);
    row->addWidget(RadioGroupPType, 1);
    v->addLayout(row);

    // Apex side and the rotation about the height.
    auto* go = Named(new QGroupBox(QString(), page), "GroupBoxPOri");
    auto* row2 = new QHBoxLayout(go);
    row2->setContentsMargins(4, 2, 4, 2);
    RadioGroupPVer = Named(new TRadioGroup(QString(), go), "RadioGroupPVer");
    RadioGroupPVer->setItems({"1", "2"});
    RadioGroupPVer->setColumns(2);
    row2->addWidget(RadioGroupPVer);
    ButtonPAn2 = Named(new QPushButton(QString(), go), "ButtonPAn2");
    EditPAn2 = Named(new TNumEdit(go, true, true), "EditPAn2");
    EditPAn2->setText("10");
    EditPAn2->setMaximumWidth(60);
    row2->addWidget(ButtonPAn2);
    row2->addWidget(EditPAn2);
    v->addWidget(go);

    // The parts, and the spheres beside them.
    auto* row4 = new QHBoxLayout;
    auto* gp = Named(new QGroupBox(QString(), page), "GroupBoxPM2");
    auto* lp = new QGridLayout(gp);
    lp->setContentsMargins(4, 2, 4, 2);
    ButtonPBase = Named(new QPushButton(QString(), gp), "ButtonPBase");
    lp->addWidget(ButtonPBase, 0, 0, 1, 2);
    for (int i = 0; i < 4; ++i) {
        ButtonPGran[i] = Named(new QPushButton(QString(), gp), "ButtonPGran" + QString::number(i + 1));
        lp->addWidget(ButtonPGran[i], 1 + i / 2, i % 2);
    }
    row4->addWidget(gp, 1);
    row4->addWidget(AddSphereGroup(page, CheckBoxPSOpi, ButtonPSOpi, CheckBoxPSVpi, ButtonPSVpi));
    v->addLayout(row4);

    // View, animation, fill.
    AddViewAndPath(page, v, ComboBoxPVid, ButtonPiAnim, "ButtonPiAnim", ButtonPiBrush, "ButtonPiBrush", LabelPPath);
}

void PyramidDialog::connectHandlers() {
    connectHead(head_, [this] { UpdatePiHints(); });
    connectFlag(CheckBoxPH, [](auto& p) -> auto& { return p.HeightOn; });
    connectFlag(CheckBoxPSOpi, [](auto& p) -> auto& { return p.OutSphereOn; });
    connectFlag(CheckBoxPSVpi, [](auto& p) -> auto& { return p.InSphereOn; });
    exitRule(EditPH, [](const auto& p) { return Round3(p.HeightLine.Length.v); },
             [](auto p, double h) { return PyramidWithHeight(std::move(p), h); },
             [this](double h) {
                 return h < SmallestPyramidHeight ? said("Высота пирамиды не бывает меньше 1: вершина упала бы в основание.",
                                                         "A pyramid's height is never below 1: the apex would fall into "
                                                         "the base.")
                                                  : QString();
             });
    // The apex side: the chosen side already held moves nothing and commits
    // nothing; a base without a plane shows the stored side again.
    connect(RadioGroupPVer, &TRadioGroup::itemClicked, this, [this](int i) {
        if (filling()) return;
        bool moved = false, refused = false;
        edit([&](auto& p) {
            if (p.Orient.v == i + 1) return;
            if (auto r = PyramidWithApexSide(p, i + 1)) p = std::move(*r), moved = true;
            else refused = true;
        });
        if (moved) commitIfEntered(RadioGroupPVer);
        if (refused) edit([this](auto& p) { this->fill(p); });
    });
    connect(RadioGroupPType, &TRadioGroup::itemClicked, this, [this](int i) {
        if (filling()) return;
        applyRule(i + 1, [](auto p, double t) { return PyramidWithType(std::move(p), static_cast<int>(t)); });
        if (enteredAllows(RadioGroupPType)) {
            commit();
            emit reselect();
        }
    });
    connect(ButtonPAn2, &QPushButton::clicked, this, [this] {
        rotateBy([](auto p, double a) { return RotatedPyramid(std::move(p), a); },
                 [this](const QString& text) { emit notANumber(text); });
    });
    connectIndex(ComboBoxPVid, [](auto& p) -> auto& { return p.View; }, 1);

    const auto part = &PyramidDialog::partRequested;
    connect(ButtonPH, &QPushButton::clicked, this, [this, part] {
        flushPendingEdit();
        emit(this->*part)(Kind::li, 22);
    });
    connect(ButtonPBase, &QPushButton::clicked, this, [this, part] {
        flushPendingEdit();
        emit(this->*part)(variant() == Kind::i4 ? Kind::kv : Kind::tr, 5);
    });
    for (int i = 0; i < 4; ++i) ConnectRequest(this, ButtonPGran[i], part, Kind::tr, 6 + i);
    ConnectRequest(this, ButtonPSOpi, part, Kind::sf, 1);
    ConnectRequest(this, ButtonPSVpi, part, Kind::sf, 2);
    connect(ButtonPiAnim, &QPushButton::clicked, this, [this] {
        flushPendingEdit();
        emit animRequested(variant() == Kind::i4 ? 4 : 3);
    });
    connect(ButtonPiBrush, &QPushButton::clicked, this, [this] {
        flushPendingEdit();
        emit brushRequested(variant() == Kind::i4 ? 8 : 7);
    });
}

void PyramidDialog::UpdatePiHints() {
    headHints();
    EditPH->setToolTip(sizeHintText(showsFour() ? w4_.HeightLine.Length.v : w3_.HeightLine.Length.v));
}

template <class P>
void PyramidDialog::VarToForm(const P& p, bool four) {
    FillScope scope(*this);
    const FillContext c = context ? context(four ? Kind::i4 : Kind::i3) : FillContext{};
    filled_ = four ? Kind::i4 : Kind::i3;
    LabelPPath->setText(c.path);
    ButtonPGran[3]->setVisible(four);
    setWindowTitle(caption_[four]);
    for (int i = 0; i < 3; ++i) RadioGroupPType->setItemText(i, types_[four][i]);

    FillHead(head_, p, c.own);
    CheckBoxPH->setChecked(p.HeightOn.v);
    EditPH->setNumber(Round3(p.HeightLine.Length.v));
    ButtonPH->setEnabled(p.HeightOn.v);
    RadioGroupPVer->setItemIndex(p.Orient.v - 1);
    RadioGroupPType->setItemIndex(p.Typ.v - 1);
    // Selecting the stored type runs the type's rule on the working copy of
    // the list's pyramid, uncommitted: a type that has no room for a sphere
    // (three-sided arbitrary: the inscribed one; four-sided "Пирамида": both)
    // has it switched off here, and the next commit stores that.  The boxes
    // show the working copy's state.
    bool outOn = p.OutSphereOn.v, inOn = p.InSphereOn.v;
    if (variant() == filled_) {
        edit([&](auto& w) {
            if (auto r = PyramidWithType(w, w.Typ.v)) w = std::move(*r);
            outOn = w.OutSphereOn.v, inOn = w.InSphereOn.v;
        });
    }
    CheckBoxPSOpi->setChecked(outOn);
    CheckBoxPSVpi->setChecked(inOn);
    ComboBoxPVid->setCurrentIndex(p.View.v - 1);

    // Enabled from the flags; both variants take the height's from its flag.
    // The view mode is always the user's.
    CheckBoxPH->setEnabled(p.HeightOn.e);
    EditPH->setEnabled(p.HeightLine.Length.e);
    RadioGroupPType->setEnabled(p.Typ.e);
    RadioGroupPVer->setEnabled(p.Orient.e);
    if (four) {
        CheckBoxPSOpi->setEnabled(p.OutSphereOn.e);
        CheckBoxPSVpi->setEnabled(p.InSphereOn.e);
    } else {
        CheckBoxPSOpi->setEnabled(true);
        CheckBoxPSVpi->setEnabled(p.Typ.v != 3);
    }
    ButtonPSOpi->setEnabled(CheckBoxPSOpi->isChecked());
    ButtonPSVpi->setEnabled(CheckBoxPSVpi->isChecked());
    ButtonPAn2->setEnabled(p.Number <= 1);

    // The animation, fill and default sets for the list's own pyramid only.
    ButtonPiAnim->setEnabled(c.own && p.HeightLine.Length.e);
    SetFeatureGlyph(ButtonPiAnim, c.own && !p.Anim.empty() && p.HeightLine.Length.e);
    ButtonPiBrush->setEnabled(c.own);
    SetFeatureGlyph(ButtonPiBrush, p.Fill.On);
    UpdatePiHints();
    // The variants differ in their texts and buttons, the colour names in
    // their width: the window grows to what is shown, once the changed
    // controls have told their groups their new sizes.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    fitContent();
}

void PyramidDialog::fill(DPi3 rec) { VarToForm(rec, false); }
void PyramidDialog::fill(DPi4 rec) { VarToForm(rec, true); }

void PyramidDialog::applyWords(const WordTable& words) {
    VariantDialog<DPi3, DPi4>::applyWords(words);
    ApplyWords(*this, WordsToPiTable, words);
    fitContent();  // the words may need more room than the design size
    caption_ = {Line(words, WordNo::PyramidCaption), Line(words, WordNo::PyramidCaption + 1)};
    types_[0] = {Line(words, WordNo::Tetrahedron), Line(words, WordNo::RegularSolid),
                 Line(words, WordNo::ArbitrarySolid)};
    types_[1] = {Line(words, WordNo::RegularSolid), Line(words, WordNo::PlainPyramid),
                 Line(words, WordNo::ArbitrarySolid)};
    const bool four = showsFour();
    setWindowTitle(caption_[four]);
    for (int i = 0; i < 3; ++i) RadioGroupPType->setItemText(i, types_[four][i]);
    fitContent();  // the words may need more room than the design size
    UpdatePiHints();
}

// CreateFormPi: one dialog for both pyramids; the part buttons open the
// part of the current variant in its kind's dialog; fill, animation, default
// sets and the re-marked selection through the editing core.
void RegisterPyramidDialog(DialogRegistry& reg) {
    const auto create = [](DialogRegistry& r) -> ObjectDialog* {
        auto* d = new PyramidDialog(r.session().copies(), r.document(), r.commitTarget());
        WireVariantDialog(
            r, d, Kind::i3, Kind::i4, &WorkingCopies::CurPi3, &WorkingCopies::CurPi4,
            [](auto& p) {
                for (auto& side : p.Base.S) side.P1.Link = side.P2.Link = DLink{};
                p.HeightLine.P2.Link = DLink{};
            },
            [](DPi3& p) { UpdatePyramid3(p, 0); }, [](DPi4& p) { UpdatePyramid4(p, 0); });
        QObject::connect(d, &PyramidDialog::partRequested, d, [&r, d](Kind kind, int role) {
            WorkingCopies& w = r.session().copies();
            const auto open = [&](auto& p, Kind parent) {
                if (kind == Kind::li && role == 22) r.OpenPart(parent, Kind::li, role, p.HeightLine, w.CurLine);
                else if (kind == Kind::sf && (role == 1 || role == 2))
                    r.OpenPart(parent, Kind::sf, role, role == 1 ? p.OutSphere : p.InSphere, w.CurSf);
                else if (kind == Kind::tr && role >= 6 && role <= 5 + static_cast<int>(p.Face.size()))
                    r.OpenPart(parent, Kind::tr, role, p.Face[static_cast<std::size_t>(role - 5)], w.CurTri);
            };
            if (d->variant() == Kind::i3) {
                if (kind == Kind::tr && role == 5) r.OpenPart(Kind::i3, Kind::tr, 5, w.CurPi3.Base, w.CurTri);
                else open(w.CurPi3, Kind::i3);
            } else if (d->variant() == Kind::i4) {
                if (kind == Kind::kv && role == 5) r.OpenPart(Kind::i4, Kind::kv, 5, w.CurPi4.Base, w.CurKv);
                else open(w.CurPi4, Kind::i4);
            }
        });
        return d;
    };
    reg.setCreator(Kind::i3, create);
    reg.setCreator(Kind::i4, create);
}

}  // namespace pelmar
