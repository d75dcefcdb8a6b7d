#include "dialogs/ui/xyz_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "dialogs/ui/coord_parts.h"
#include "dialogs/ui/feature_glyph.h"
#include "dialogs/ui/default_set.h"
#include "dialogs/ui/dialog_words.h"
#include "dialogs/ui/font_combo.h"
#include "dialogs/ui/graph_options_dialog.h"
#include "dialogs/ui/num_edit.h"
#include "dialogs/ui/xz_sections.h"
#include "drawing/word_lines.h"
#include "files/word_table.h"
#include "model/coord_edits.h"
#include "model/units.h"
#include "model/update.h"

namespace pelmar {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// WordsToXZ.
constexpr WordTarget WordsToXZ[] = {
    Cap("", "{543}"),
    Cap("GroupBoxYM1", "{365}"), Cap("LabelYLayer", "{355}"), Cap("LabelYColor", "{356}"),
    Cap("LabelYTol", "{357}"), Cap("CheckBoxYDis", "{358}"), Cap("ButtonYSave", "{359}"),
    Cap("ButtonYLoad", "{360}"), Cap("GroupBoxYMas", "{494}"), Cap("LabelYedpix", "{495}"),
    Cap("ButtonYCenter", "{403}"), Cap("ButtonY_X", "{496}"), Cap("ButtonY_Y", "{497}"),
    Cap("ButtonY_Z", "{498}"), Cap("GroupBoxYRaz1", "{502}"), Cap("GroupBoxYRaz2", "{503}"),
    Cap("LabelYRaz", "{506}"), Cap("LabelYRazw", "{507}"), Cap("LabelYRazh", "{508}"),
    Cap("GroupBoxYRaz3", "{509}"), Cap("CheckBoxYPodEn", "{383}"), Cap("LabelYPodJump", "{501}"),
    Cap("GroupBoxY1", "{511}"), Cap("CheckBoxY1", "{383}"), Cap("CheckBoxY10", "{518}"),
    Cap("ButtonY10", "{519}"), Cap("ButtonY11", "{545}"),
    Cap("GroupBoxY2", "{512}"), Cap("CheckBoxY2", "{383}"), Cap("CheckBoxY20", "{518}"),
    Cap("ButtonY20", "{519}"), Cap("ButtonY22", "{545}"),
    Cap("GroupBoxY3", "{515}"), Cap("CheckBoxY3", "{383}"), Cap("CheckBoxY40", "{518}"),
    Cap("ButtonY30", "{519}"), Cap("ButtonY33", "{545}"),
    Cap("GroupBoxY4", "{516}"), Cap("CheckBoxY4", "{383}"),
};

constexpr const char* FormulaNames[6] = {"EditY1", "EditY2", "EditY31", "EditY4", "EditY32", "EditY33"};
constexpr const char* FormulaLabels[6] = {"z=", "z=", "x=", "F(x,y,z)=", "y=", "z="};
// What each of them reads: the parametric curve takes its parameter as x; the
// drawer reads a surface's capital letters as small ones.
constexpr FormulaField FormulaFields[6] = {{"xy", 'z', true}, {"xy", 'z', true}, {"x", 'x'},
                                           {"xyz", 0, true},  {"x", 'y'},        {"x", 'z'}};
// The surface of outline 1..3 and the names of its controls.
constexpr int OutlineSurface[3] = {1, 2, 4};
constexpr const char* SectionNames[3] = {"ButtonY11", "ButtonY22", "ButtonY33"};
constexpr const char* OutlineNames[3] = {"ButtonY10", "ButtonY20", "ButtonY30"};
constexpr const char* SecondNames[3] = {"CheckBoxY10", "CheckBoxY20", "CheckBoxY40"};

}  // namespace

TFormXZ::TFormXZ(DialogRegistry& reg, QWidget* parent)
    : SessionDialog<DXZ>(reg, "FormXZ", WordsToXZ, parent) {
    build();
    connectHandlers();
    applyWords(BuiltInWords());
}

void TFormXZ::applyWords(const WordTable& words) {
    RecordDialog<DXZ>::applyWords(words);
    ApplyWords(*this, WordsToXZ, words);
    PageControl1->setTabText(0, WordText("{543}", words).replace('&', "&&"));
    PageControl1->setTabText(1, WordText("{544}", words).replace('&', "&&"));
    thickWord_ = QString::fromStdString(words.WordLine(WordNo::ThicknessIs));
    for (std::size_t i = 0; i < 4; ++i) ButtonY[i]->setText(thickWord_ + QString::number(cur().SurfThick[i + 1].v));
    fitContent();
    updateHints();
}

void TFormXZ::build() {
    UseSmallFont(body());
    const TwoPages pages = BuildTwoPages(body(), "XYZ", "XYZ", "LabelYPath");
    PageControl1 = pages.tabs;
    LabelYPath = pages.path;
    buildPage1(pages.page1);
    buildPage2(pages.page2);
}

void TFormXZ::buildPage1(QWidget* page) {
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(3, 3, 3, 3);
    v->setSpacing(2);
    head_ = BuildHeadGroup(page, v, "Y");
    head_.lcol->setObjectName("LabelYColor");
    head_.pt->setObjectName("LabelZPt");

    auto* row = new QHBoxLayout;
    auto* mas = Named(new QGroupBox(page), "GroupBoxYMas");
    auto* lm = new QVBoxLayout(mas);
    lm->setContentsMargins(4, 2, 4, 2);
    lm->addWidget(NamedLabel(mas, "LabelYedpix", ""));
    EditYMas = Named(new TNumEdit(mas, false, true), "EditYMas");
    lm->addWidget(EditYMas);
    row->addWidget(mas, 1);
    auto* parts = new QGridLayout;
    ButtonYCenter = Named(new QPushButton(page), "ButtonYCenter");
    ButtonY_X = Named(new QPushButton(page), "ButtonY_X");
    ButtonY_Y = Named(new QPushButton(page), "ButtonY_Y");
    ButtonY_Z = Named(new QPushButton(page), "ButtonY_Z");
    parts->addWidget(ButtonYCenter, 0, 0);
    parts->addWidget(ButtonY_X, 0, 1);
    parts->addWidget(ButtonY_Y, 1, 0);
    parts->addWidget(ButtonY_Z, 1, 1);
    row->addLayout(parts);
    v->addLayout(row);

    auto* raz = Named(new QGroupBox(page), "GroupBoxYRaz1");
    auto* lr = new QVBoxLayout(raz);
    lr->setContentsMargins(4, 2, 4, 2);
    auto* axes = Named(new QGroupBox(raz), "GroupBoxYRaz2");
    auto* la = new QGridLayout(axes);
    la->setContentsMargins(4, 2, 4, 2);
    EditYRaz = Named(new TNumEdit(axes, false, true), "EditYRaz");
    SpinEditYRazW = NamedSpin(axes, "SpinEditYRazW", 0, 30);
    SpinEditYRazH = NamedSpin(axes, "SpinEditYRazH", 0, 300);
    la->addWidget(NamedLabel(axes, "LabelYRaz", ""), 0, 0);
    la->addWidget(EditYRaz, 0, 1, 1, 3);
    la->addWidget(NamedLabel(axes, "LabelYRazw", ""), 1, 0);
    la->addWidget(SpinEditYRazW, 1, 1);
    la->addWidget(NamedLabel(axes, "LabelYRazh", ""), 1, 2);
    la->addWidget(SpinEditYRazH, 1, 3);
    lr->addWidget(axes);
    auto* labels = Named(new QGroupBox(raz), "GroupBoxYRaz3");
    auto* ll = new QGridLayout(labels);
    ll->setContentsMargins(4, 2, 4, 2);
    CheckBoxYPodEn = Named(new QCheckBox(labels), "CheckBoxYPodEn");
    SpinEditYPodJump = NamedSpin(labels, "SpinEditYPodJump", 1, 50);
    FontComboBoxY = Named(new TFontCombo(labels), "FontComboBoxY");
    CheckBoxYPodIt = Named(new QCheckBox("Italic", labels), "CheckBoxYPodIt");
    CheckBoxYPodBo = Named(new QCheckBox("Bold", labels), "CheckBoxYPodBo");
    SpinEditYPodSize = NamedSpin(labels, "SpinEditYPodSize", 1, 200);
    ll->addWidget(CheckBoxYPodEn, 0, 0);
    ll->addWidget(NamedLabel(labels, "LabelYPodJump", ""), 0, 1, Qt::AlignRight);
    ll->addWidget(SpinEditYPodJump, 0, 2);
    ll->addWidget(FontComboBoxY, 1, 0, 1, 3);
    ll->addWidget(CheckBoxYPodIt, 2, 0);
    ll->addWidget(CheckBoxYPodBo, 2, 1);
    ll->addWidget(SpinEditYPodSize, 2, 2);
    lr->addWidget(labels);
    v->addWidget(raz);
    v->addStretch(1);
}

void TFormXZ::buildPage2(QWidget* page) {
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(3, 3, 3, 3);
    v->setSpacing(2);
    for (std::size_t i = 0; i < 4; ++i) {
        const QString n = QString::number(i + 1);
        auto* g = Named(new QGroupBox(page), "GroupBoxY" + n);
        auto* l = new QGridLayout(g);
        l->setContentsMargins(4, 2, 4, 2);
        l->setVerticalSpacing(1);
        CheckBoxY[i] = Named(new QCheckBox(g), "CheckBoxY" + n);
        ButtonY[i] = Named(new QPushButton(g), "ButtonY" + n);
        l->addWidget(CheckBoxY[i], 0, 0);
        auto formula = [&](std::size_t k, int r) {
            EditY[k] = Named(new QLineEdit(g), FormulaNames[k]);
            l->addWidget(NamedLabel(g, QString("Label") + FormulaNames[k], FormulaLabels[k]), r, 1, Qt::AlignRight);
            l->addWidget(EditY[k], r, 2, 1, 2);
        };
        formula(i, 0);
        l->addWidget(ButtonY[i], 0, 4);
        if (i == 2) {
            formula(4, 1);
            formula(5, 2);
        } else {
            const std::size_t o = i == 3 ? 2 : i;
            ButtonSections[o] = Named(new QPushButton(g), SectionNames[o]);
            ButtonOutline[o] = Named(new QPushButton(g), OutlineNames[o]);
            CheckBoxSecond[o] = Named(new QCheckBox(g), SecondNames[o]);
            l->addWidget(CheckBoxSecond[o], 1, 0, 1, 3);
            l->addWidget(ButtonSections[o], 1, 3);
            l->addWidget(ButtonOutline[o], 1, 4);
        }
        l->setColumnStretch(2, 1);
        v->addWidget(g);
    }
    v->addStretch(1);
}

void TFormXZ::applyOnly() {
    FillScope refill(*this);
    commitTarget().ApplyObject(true);
}

void TFormXZ::staleShading(int surface) {
    if (XZSurfaceShaded(cur(), surface)) reg_.session().proj().FillValid = 0;
}

void TFormXZ::connectHandlers() {
    watchAlways(head_.id, [this](const QString& t) { cur().ID.s = t.toStdString(); });
    ConnectHead<DXZ>(*this, head_, [this]() -> DXZ& { return cur(); });

    connectCheck(head_.dis, &DXZ::Disabled);
    connectCheck(CheckBoxYPodEn, &DXZ::NumbersOn);
    connectCheck(CheckBoxYPodIt, &DXZ::NumbersItalic);
    connectCheck(CheckBoxYPodBo, &DXZ::NumbersBold);

    connectSpin(SpinEditYRazW, &DXZ::MarkWidth);
    connectSpin(SpinEditYRazH, &DXZ::MarkHeight);
    connectSpin(SpinEditYPodJump, &DXZ::NumberStep);
    connectSpin(SpinEditYPodSize, &DXZ::NumberSize);

    connect(FontComboBoxY, &QComboBox::activated, this, [this] {
        if (filling()) return;
        cur().NumberFont.s = FontComboBoxY->fontName().toStdString();
        commit();
    });

    // exit: the scale stales every section, outline and the shading.  A
    // scale or a division length of 0 would leave the axes without a mark or
    // a number: refused, as a value the record cannot take.
    watchNumber(EditYMas, {.store = [this](double v) {
                               if (!(v > 0))
                                   return NumberNote::refused(
                                       said("Масштаб должен быть больше 0.", "The scale must be greater than 0."));
                               std::optional<DXZ> scaled = XZWithScale(cur(), v);
                               if (scaled) {
                                   cur() = std::move(*scaled);
                                   reg_.session().proj().FillValid = 0;
                               }
                               return ruleNote(scaled.has_value());
                           },
                           .shown = [this] { return cur().Scale.v; },
                           .group = 0,
                           .live = false});
    watchNumber(EditYRaz, {.store = [this](double v) {
                               if (!(v > 0))
                                   return NumberNote::refused(said("Длина деления должна быть больше 0.",
                                                                   "The division length must be greater than 0."));
                               return (cur().Div.v = v, NumberNote::taken());
                           },
                           .shown = [this] { return cur().Div.v; },
                           .group = 0,
                           .live = false});

    // Surfaces on: the commit refills, which enables the surface's controls.
    for (std::size_t i = 0; i < 4; ++i)
        connect(CheckBoxY[i], &QCheckBox::toggled, this, [this, i](bool on) {
            if (filling()) return;
            cur().SurfOn[i + 1].v = on;
            if (!focusAllows(CheckBoxY[i])) return;
            applyOnly();
            staleShading(static_cast<int>(i) + 1);
            commitTarget().RepaintProject();
        });

    // Formulas: every keystroke stored and committed, never drawn; one the
    // drawer cannot draw is told when the user is done with it.
    for (std::size_t k = 0; k < 6; ++k) {
        guardText(EditY[k]);
        watchTyped(EditY[k]);
        connect(EditY[k], &QLineEdit::textEdited, this, [this, k](const QString& t) {
            if (filling()) return;
            const int field = static_cast<int>(k) + 1;
            const bool surface = field == 1 || field == 2 || field == 4;
            if (surface && !EditY[k]->hasFocus()) {
                cur().Surf[static_cast<std::size_t>(field)].s = t.toStdString();
                return;
            }
            cur() = XZWithFormula(std::move(cur()), field, t.toStdString());
            if (typedCommit(EditY[k]) && surface) staleShading(field);
        });
        TellFormulaFaults(EditY[k], FormulaFields[k], [this]() -> const WordTable& { return reg_.session().words(); });
    }

    for (int i = 0; i < 4; ++i)
        connect(ButtonY[static_cast<std::size_t>(i)], &QPushButton::clicked, this, [this, i] { runOptions(i + 1); });
    for (int o = 1; o <= 3; ++o) {
        const auto at = static_cast<std::size_t>(o - 1);
        const int surface = OutlineSurface[at];
        connect(ButtonSections[at], &QPushButton::clicked, this, [this, o, surface] {
            flushPendingEdit();
            RunSectionDialog(reg_, o, this);
            commit();
            staleShading(surface);
        });
        connect(ButtonOutline[at], &QPushButton::clicked, this, [this, o, surface] {
            flushPendingEdit();
            RunOutlineDialog(reg_, o, this);
            commit();
            staleShading(surface);
        });
        connect(CheckBoxSecond[at], &QCheckBox::toggled, this, [this, o, surface](bool on) {
            if (filling()) return;
            cur() = XZWithSecondOrder(std::move(cur()), o, on);
            commit();
            staleShading(surface);
        });
    }

    WorkingCopies& w = reg_.session().copies();
    connect(ButtonYCenter, &QPushButton::clicked, this,
            [this, &w] { reg_.OpenPart(Kind::xz, Kind::po, 7, cur().Center, w.CurPoint); });
    connect(ButtonY_X, &QPushButton::clicked, this,
            [this, &w] { reg_.OpenPart(Kind::xz, Kind::li, 12, cur().AxisX, w.CurLine); });
    connect(ButtonY_Y, &QPushButton::clicked, this,
            [this, &w] { reg_.OpenPart(Kind::xz, Kind::li, 13, cur().AxisY, w.CurLine); });
    connect(ButtonY_Z, &QPushButton::clicked, this,
            [this, &w] { reg_.OpenPart(Kind::xz, Kind::li, 29, cur().AxisZ, w.CurLine); });

    // The reader brings a set into the document's orientation: Load takes
    // it as read.
    ConnectDefaultSet<DXZ>(
        reg_, Kind::xz, head_.save, head_.load, [this]() -> DXZ& { return cur(); },
        [](DXZ& x) { x.Center.Link = DLink{}; },
        [](DXZ& x) {
            UpdateXYZ(x, 0);
            if (std::optional<DXZ> stale = XZWithScale(x, x.Scale.v)) x = std::move(*stale);
        });
    connect(PageControl1, &QTabWidget::currentChanged, this,
            [this](int i) { reg_.session().rememberPage(Kind::xz, i + 1); });
}

// The options of surface s (graph 10 + s), modal; then the commit, without a
// redraw.
void TFormXZ::runOptions(int surface) {
    flushPendingEdit();
    {
        TFormXOYOpt opt(reg_.session().copies(), 10 + surface, reg_.session().words(),
                        document().resolution(), this);
        opt.exec();
    }
    applyOnly();
    staleShading(surface);
    updateHints();
}

void TFormXZ::fill(DXZ r) {
    FillScope scope(*this);
    LabelYPath->setText(Q(reg_.session().pathCaption(Kind::xz)));
    fillText(head_.id, Q(r.ID.s));
    head_.layer->setCurrentIndex(r.Layer.v - 1);
    head_.tol->setFillValue(r.Thick.v);
    head_.col->setColor(r.ColorIndex.v, r.Color.v);
    head_.dis->setChecked(r.Disabled.v);
    EditYMas->setNumber(r.Scale.v);
    EditYRaz->setNumber(r.Div.v);
    SpinEditYRazW->setFillValue(r.MarkWidth.v);
    SpinEditYRazH->setFillValue(r.MarkHeight.v);
    CheckBoxYPodEn->setChecked(r.NumbersOn.v);
    SpinEditYPodJump->setFillValue(r.NumberStep.v);
    FontComboBoxY->setFontName(Q(r.NumberFont.s));
    CheckBoxYPodIt->setChecked(r.NumbersItalic.v);
    CheckBoxYPodBo->setChecked(r.NumbersBold.v);
    SpinEditYPodSize->setFillValue(r.NumberSize.v);
    for (std::size_t i = 0; i < 4; ++i) {
        const bool on = r.SurfOn[i + 1].v;
        CheckBoxY[i]->setChecked(on);
        fillText(EditY[i], Q(r.Surf[i + 1].s));
        SetSwatchGlyph(ButtonY[i], r.SurfColor[i + 1].v);
        ButtonY[i]->setText(thickWord_ + QString::number(r.SurfThick[i + 1].v));
        EditY[i]->setEnabled(on);
        ButtonY[i]->setEnabled(on);
    }
    for (std::size_t k = 4; k < 6; ++k) {
        fillText(EditY[k], Q(r.Surf3More[k - 3].s));
        EditY[k]->setEnabled(r.SurfOn[3].v);
    }
    for (std::size_t o = 0; o < 3; ++o) {
        const DOutLine& ol = r.Outlines[o + 1];
        const bool on = r.SurfOn[static_cast<std::size_t>(OutlineSurface[o])].v;
        CheckBoxSecond[o]->setChecked(ol.FitMode != 0);
        SetFeatureGlyph(ButtonOutline[o], ol.On);
        ButtonOutline[o]->setProperty("built", ol.On);
        for (QWidget* w : {static_cast<QWidget*>(ButtonSections[o]), static_cast<QWidget*>(ButtonOutline[o]),
                           static_cast<QWidget*>(CheckBoxSecond[o])})
            w->setEnabled(on);
    }
    const bool own = reg_.session().entryCode() == "xz";
    head_.save->setEnabled(own);
    head_.load->setEnabled(own && r.Number == 0);
    updateHints();
}

void TFormXZ::updateHints() {
    const DXZ& x = cur();
    showThickness(head_.pt, head_.tol, x.Thick.v);
    setSizeHintOf(EditYMas, x.Scale.v);
    setSizeHintOf(SpinEditYRazW, x.MarkWidth.v);
    setSizeHintOf(SpinEditYRazH, x.MarkHeight.v);
    setSizeHintOf(SpinEditYPodSize, x.NumberSize.v);
    for (std::size_t i = 0; i < 4; ++i) setSizeHintOf(ButtonY[i], x.SurfThick[i + 1].v);
}

void TFormXZ::showPage(int page) { PageControl1->setCurrentIndex(page == 2 ? 1 : 0); }
int TFormXZ::page() const { return PageControl1->currentIndex() + 1; }

void RegisterXYZDialog(DialogRegistry& reg) {
    reg.setCreator(Kind::xz, [](DialogRegistry& r) -> ObjectDialog* {
        auto* d = new TFormXZ(r);
        d->showPage(r.session().rememberedPage(Kind::xz));
        return d;
    });
}

}  // namespace pelmar
