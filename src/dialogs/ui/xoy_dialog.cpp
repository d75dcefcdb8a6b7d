#include "dialogs/ui/xoy_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <memory>

#include "dialogs/ui/anim_dialog.h"
#include "dialogs/ui/coord_parts.h"
#include "dialogs/ui/feature_glyph.h"
#include "dialogs/ui/default_set.h"
#include "dialogs/ui/dialog_words.h"
#include "dialogs/ui/font_combo.h"
#include "dialogs/ui/graph_options_dialog.h"
#include "dialogs/ui/num_edit.h"
#include "drawing/word_lines.h"
#include "files/word_table.h"
#include "model/coord_edits.h"
#include "model/units.h"
#include "model/update.h"

namespace pelmar {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// WordsToXY(1).
constexpr WordTarget WordsToXY[] = {
    Cap("", "{493}"),
    Cap("GroupBoxXMain1", "{365}"), Cap("LabelXLayer", "{355}"), Cap("LabelXCol", "{356}"),
    Cap("LabelXTol", "{357}"), Cap("CheckBoxXDis", "{358}"), Cap("ButtonXSave", "{359}"),
    Cap("ButtonXLoad", "{360}"), Cap("GroupBoxXMas", "{494}"), Cap("LabelXedpix", "{495}"),
    Cap("ButtonXCenter", "{403}"), Cap("ButtonXX", "{496}"), Cap("ButtonXY", "{497}"),
    Cap("GroupBoxXS", "{499}"), Cap("CheckBoxXSEn", "{383}"), Cap("LabelXSTol", "{500}"),
    Cap("LabelXJump", "{501}"), Cap("GroupBoxXRaz1", "{502}"), Cap("GroupBoxXRaz2", "{503}"),
    Cap("LabelXRazx", "{504}"), Cap("LabelXRazy", "{505}"), Cap("LabelXRazw", "{507}"),
    Cap("LabelXRazh", "{508}"), Cap("GroupBoxXRaz3", "{509}"), Cap("CheckBoxXPodEn", "{383}"),
    Cap("LabelXPodJump", "{501}"),
    Cap("GroupBoxX21", "{511}"), Cap("CheckBoxX21", "{383}"), Cap("GroupBoxX22", "{512}"),
    Cap("CheckBoxX22", "{383}"), Cap("GroupBoxX23", "{513}"), Cap("CheckBoxX23", "{383}"),
    Cap("GroupBoxX24", "{514}"), Cap("CheckBoxX24", "{383}"), Cap("GroupBoxX25", "{515}"),
    Cap("CheckBoxX25", "{383}"), Cap("GroupBoxX26", "{516}"), Cap("CheckBoxX26", "{383}"),
    Hint("BitBtn1", "{637}"), Hint("BitBtn2", "{637}"), Hint("BitBtn3", "{637}"),
    Hint("BitBtn4", "{637}"), Hint("BitBtn5", "{637}"), Hint("BitBtn6", "{637}"),
};

// The formula edits' names and labels, graph 1..6 and the second function.
constexpr const char* FormulaNames[7] = {"EditX21", "EditX22", "EditX23", "EditX24", "EditX251", "EditX26", "EditX252"};
constexpr const char* FormulaLabels[7] = {"y=", "y=", "r=", "r=", "x=", "F(x,y)=", "y="};
// What each of them reads: the polar and parametric graphs take their angle
// and their parameter as x.
constexpr FormulaField FormulaFields[7] = {{"x", 'y'}, {"x", 'y'}, {"x", 'r'}, {"x", 'r'},
                                           {"x", 'x'}, {"xy", 0},  {"x", 'y'}};

}  // namespace

TFormXY::TFormXY(DialogRegistry& reg, QWidget* parent)
    : SessionDialog<DXOY>(reg, "FormXY", WordsToXY, parent) {
    build();
    connectHandlers();
    applyWords(BuiltInWords());
}

void TFormXY::applyWords(const WordTable& words) {
    RecordDialog<DXOY>::applyWords(words);
    ApplyWords(*this, WordsToXY, words);
    PageControl1->setTabText(0, WordText("{493}", words).replace('&', "&&"));
    PageControl1->setTabText(1, WordText("{510}", words).replace('&', "&&"));
    thickWord_ = QString::fromStdString(words.WordLine(WordNo::ThicknessIs));
    for (std::size_t i = 0; i < 6; ++i)
        ButtonX[i]->setText(thickWord_ + QString::number(cur().GraphThick[i + 1].v));
    fitContent();  // the words may need more room than the design size
    updateHints();
}

void TFormXY::build() {
    UseSmallFont(body());
    const TwoPages pages = BuildTwoPages(body(), "XOY", "XOY", "LabelX2Path");
    PageControl1 = pages.tabs;
    LabelX2Path = pages.path;
    buildPage1(pages.page1);
    buildPage2(pages.page2);
}

void TFormXY::buildPage1(QWidget* page) {
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(3, 3, 3, 3);
    v->setSpacing(2);
    head_ = BuildHeadGroup(page, v, "X");
    head_.id->parentWidget()->setObjectName("GroupBoxXMain1");

    // Масштаб and the parts.
    auto* row = new QHBoxLayout;
    auto* mas = Named(new QGroupBox(page), "GroupBoxXMas");
    auto* lm = new QGridLayout(mas);
    lm->setContentsMargins(4, 2, 4, 2);
    lm->addWidget(NamedLabel(mas, "LabelXedpix", ""), 0, 0, 1, 4);
    EditXMasx = Named(new TNumEdit(mas, false, true), "EditXMasx");
    EditXMasy = Named(new TNumEdit(mas, false, true), "EditXMasy");
    lm->addWidget(NamedLabel(mas, "LabelXMasx", "X:"), 1, 0);
    lm->addWidget(EditXMasx, 1, 1);
    lm->addWidget(NamedLabel(mas, "LabelXMasy", "Y:"), 1, 2);
    lm->addWidget(EditXMasy, 1, 3);
    row->addWidget(mas, 1);
    auto* parts = new QVBoxLayout;
    ButtonXCenter = Named(new QPushButton(page), "ButtonXCenter");
    ButtonXX = Named(new QPushButton(page), "ButtonXX");
    ButtonXY = Named(new QPushButton(page), "ButtonXY");
    for (QPushButton* b : {ButtonXCenter, ButtonXX, ButtonXY}) parts->addWidget(b);
    row->addLayout(parts);
    v->addLayout(row);

    // Сетка.
    auto* grid = Named(new QGroupBox(page), "GroupBoxXS");
    auto* lg = new QHBoxLayout(grid);
    lg->setContentsMargins(4, 2, 4, 2);
    CheckBoxXSEn = Named(new QCheckBox(grid), "CheckBoxXSEn");
    SpinEditXSTol = NamedSpin(grid, "SpinEditXSTol", 1, 30);
    SpinEditXSJump = NamedSpin(grid, "SpinEditXSJump", 1, 50);
    lg->addWidget(CheckBoxXSEn);
    lg->addWidget(NamedLabel(grid, "LabelXSTol", ""));
    lg->addWidget(SpinEditXSTol);
    lg->addWidget(NamedLabel(grid, "LabelXJump", ""));
    lg->addWidget(SpinEditXSJump);
    lg->addStretch(1);
    v->addWidget(grid);

    // Разметка: the marks along the axes and their labels.
    auto* raz = Named(new QGroupBox(page), "GroupBoxXRaz1");
    auto* lr = new QVBoxLayout(raz);
    lr->setContentsMargins(4, 2, 4, 2);
    auto* axes = Named(new QGroupBox(raz), "GroupBoxXRaz2");
    auto* la = new QGridLayout(axes);
    la->setContentsMargins(4, 2, 4, 2);
    EditXRazx = Named(new TNumEdit(axes, false, true), "EditXRazx");
    EditXRazy = Named(new TNumEdit(axes, false, true), "EditXRazy");
    SpinEditXRazW = NamedSpin(axes, "SpinEditXRazW", 0, 30);
    SpinEditXRazH = NamedSpin(axes, "SpinEditXRazH", 0, 300);
    la->addWidget(NamedLabel(axes, "LabelXRazx", ""), 0, 0);
    la->addWidget(EditXRazx, 0, 1);
    la->addWidget(NamedLabel(axes, "LabelXRazw", ""), 0, 2);
    la->addWidget(SpinEditXRazW, 0, 3);
    la->addWidget(NamedLabel(axes, "LabelXRazy", ""), 1, 0);
    la->addWidget(EditXRazy, 1, 1);
    la->addWidget(NamedLabel(axes, "LabelXRazh", ""), 1, 2);
    la->addWidget(SpinEditXRazH, 1, 3);
    lr->addWidget(axes);
    auto* labels = Named(new QGroupBox(raz), "GroupBoxXRaz3");
    auto* ll = new QGridLayout(labels);
    ll->setContentsMargins(4, 2, 4, 2);
    CheckBoxXPodEn = Named(new QCheckBox(labels), "CheckBoxXPodEn");
    SpinEditXPodJump = NamedSpin(labels, "SpinEditXPodJump", 1, 50);
    FontComboBoxX = Named(new TFontCombo(labels), "FontComboBoxX");
    CheckBoxXPodIt = Named(new QCheckBox("Italic", labels), "CheckBoxXPodIt");
    CheckBoxXPodBo = Named(new QCheckBox("Bold", labels), "CheckBoxXPodBo");
    SpinEditXPodSize = NamedSpin(labels, "SpinEditXPodSize", 1, 200);
    ll->addWidget(CheckBoxXPodEn, 0, 0);
    ll->addWidget(NamedLabel(labels, "LabelXPodJump", ""), 0, 1, Qt::AlignRight);
    ll->addWidget(SpinEditXPodJump, 0, 2);
    ll->addWidget(FontComboBoxX, 1, 0, 1, 3);
    ll->addWidget(CheckBoxXPodIt, 2, 0);
    ll->addWidget(CheckBoxXPodBo, 2, 1);
    ll->addWidget(SpinEditXPodSize, 2, 2);
    lr->addWidget(labels);
    v->addWidget(raz);
    v->addStretch(1);
}

void TFormXY::buildPage2(QWidget* page) {
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(3, 3, 3, 3);
    v->setSpacing(2);
    for (std::size_t i = 0; i < 6; ++i) {
        const QString n = QString::number(i + 1);
        auto* g = Named(new QGroupBox(page), "GroupBoxX2" + n);
        auto* l = new QGridLayout(g);
        l->setContentsMargins(4, 2, 4, 2);
        l->setVerticalSpacing(1);
        CheckBoxX2[i] = Named(new QCheckBox(g), "CheckBoxX2" + n);
        ButtonX[i] = Named(new QPushButton(g), "ButtonX" + n);
        BitBtn[i] = Named(new QPushButton(g), "BitBtn" + n);
        BitBtn[i]->setFixedWidth(28);
        l->addWidget(CheckBoxX2[i], 0, 0);
        auto formula = [&](std::size_t k, int r) {
            EditX2[k] = Named(new QLineEdit(g), FormulaNames[k]);
            l->addWidget(NamedLabel(g, QString("Label") + FormulaNames[k], FormulaLabels[k]), r, 1, Qt::AlignRight);
            l->addWidget(EditX2[k], r, 2);
        };
        formula(i, 0);
        if (i == 4) formula(6, 1);
        l->addWidget(ButtonX[i], 0, 3);
        l->addWidget(BitBtn[i], 0, 4);
        l->setColumnStretch(2, 1);
        v->addWidget(g);
    }
    v->addStretch(1);
}

void TFormXY::applyOnly() {
    FillScope refill(*this);
    commitTarget().ApplyObject(true);
}

void TFormXY::connectHandlers() {
    watchAlways(head_.id, [this](const QString& t) { cur().ID.s = t.toStdString(); });
    ConnectHead<DXOY>(*this, head_, [this]() -> DXOY& { return cur(); });

    connectCheck(head_.dis, &DXOY::Disabled);
    connectCheck(CheckBoxXSEn, &DXOY::GridOn);
    connectCheck(CheckBoxXPodEn, &DXOY::NumbersOn);
    connectCheck(CheckBoxXPodIt, &DXOY::NumbersItalic);
    connectCheck(CheckBoxXPodBo, &DXOY::NumbersBold);
    for (std::size_t i = 0; i < 6; ++i)
        connectCheck(CheckBoxX2[i], [i](DXOY& x) -> Ed<bool>& { return x.GraphOn[i + 1]; });

    connectSpin(SpinEditXSTol, &DXOY::GridThick);
    connectSpin(SpinEditXSJump, &DXOY::GridStep);
    connectSpin(SpinEditXRazW, &DXOY::MarkWidth);
    connectSpin(SpinEditXRazH, &DXOY::MarkHeight);
    connectSpin(SpinEditXPodJump, &DXOY::NumberStep);
    connectSpin(SpinEditXPodSize, &DXOY::NumberSize);

    connect(FontComboBoxX, &QComboBox::activated, this, [this] {
        if (filling()) return;
        cur().NumberFont.s = FontComboBoxX->fontName().toStdString();
        commit();
    });

    // exit: the scales retrace the implicit graph; the division lengths.  A
    // scale or a division length of 0 would leave the axes without a mark or
    // a number: refused, as a value the record cannot take.
    auto exitEdit = [this](TNumEdit* e, Ed<double> DXOY::*field, std::function<bool(DXOY&, double)> store,
                           std::pair<const char*, const char*> positive) {
        watchNumber(e, {.store = [this, store, positive](double v) {
                            if (!(v > 0)) return NumberNote::refused(said(positive.first, positive.second));
                            return ruleNote(store(cur(), v));
                        },
                        .shown = [this, field] { return (cur().*field).v; },
                        .group = 0,
                        .live = false});
    };
    auto scaled = [](DXOY& x, std::optional<DXOY> r) {
        if (r) x = std::move(*r);
        return r.has_value();
    };
    const std::pair scale{"Масштаб должен быть больше 0.", "The scale must be greater than 0."};
    const std::pair div{"Длина деления должна быть больше 0.", "The division length must be greater than 0."};
    exitEdit(
        EditXMasx, &DXOY::ScaleX, [scaled](DXOY& x, double v) { return scaled(x, XOYWithScale(x, v, x.ScaleY.v)); },
        scale);
    exitEdit(
        EditXMasy, &DXOY::ScaleY, [scaled](DXOY& x, double v) { return scaled(x, XOYWithScale(x, x.ScaleX.v, v)); },
        scale);
    exitEdit(EditXRazx, &DXOY::DivX, [](DXOY& x, double v) { return (x.DivX.v = v, true); }, div);
    exitEdit(EditXRazy, &DXOY::DivY, [](DXOY& x, double v) { return (x.DivY.v = v, true); }, div);

    // Formulas: every keystroke stored and committed, not drawn; one the
    // drawer cannot draw is told when the user is done with it.
    for (std::size_t k = 0; k < 7; ++k) {
        guardText(EditX2[k]);
        watchTyped(EditX2[k]);
        connect(EditX2[k], &QLineEdit::textEdited, this, [this, k](const QString& t) {
            if (filling()) return;
            cur() = XOYWithFormula(std::move(cur()), static_cast<int>(k + 1), t.toStdString());
            typedCommit(EditX2[k]);
        });
        TellFormulaFaults(EditX2[k], FormulaFields[k], [this]() -> const WordTable& { return reg_.session().words(); });
    }

    for (int i = 0; i < 6; ++i) {
        connect(ButtonX[static_cast<std::size_t>(i)], &QPushButton::clicked, this, [this, i] { runOptions(i + 1); });
        connect(BitBtn[static_cast<std::size_t>(i)], &QPushButton::clicked, this, [this, i] { runAnimation(i + 1); });
    }

    WorkingCopies& w = reg_.session().copies();
    connect(ButtonXCenter, &QPushButton::clicked, this,
            [this, &w] { reg_.OpenPart(Kind::xy, Kind::po, 4, cur().Center, w.CurPoint); });
    connect(ButtonXX, &QPushButton::clicked, this,
            [this, &w] { reg_.OpenPart(Kind::xy, Kind::li, 12, cur().AxisX, w.CurLine); });
    connect(ButtonXY, &QPushButton::clicked, this,
            [this, &w] { reg_.OpenPart(Kind::xy, Kind::li, 13, cur().AxisY, w.CurLine); });

    ConnectDefaultSet<DXOY>(
        reg_, Kind::xy, head_.save, head_.load, [this]() -> DXOY& { return cur(); },
        [](DXOY& x) { x.Center.Link = DLink{}; },
        [](DXOY& x) {
            UpdateXOY(x, 0);
            x.Curves.Valid = 0;
        });
    connect(PageControl1, &QTabWidget::currentChanged, this,
            [this](int i) { reg_.session().rememberPage(Kind::xy, i + 1); });
}

// The options of graph i, modal; then the commit, and the redraw but for the
// implicit graph.
void TFormXY::runOptions(int graph) {
    flushPendingEdit();
    {
        TFormXOYOpt opt(reg_.session().copies(), graph, reg_.session().words(),
                        document().resolution(), this);
        opt.exec();
    }
    applyOnly();
    if (graph <= 5) commitTarget().RepaintProject();
    updateHints();
}

void TFormXY::runAnimation(int graph) {
    flushPendingEdit();
    std::unique_ptr<TFormAnim> anim(
        NewFormAnimX3(reg_.session().copies(), graph, reg_.session().words(), commitTarget(), this));
    anim->exec();
}

void TFormXY::fill(DXOY r) {
    FillScope scope(*this);
    LabelX2Path->setText(Q(reg_.session().pathCaption(Kind::xy)));
    // Every control stays enabled whatever the fields' flags say.
    fillText(head_.id, Q(r.ID.s));
    head_.layer->setCurrentIndex(r.Layer.v - 1);
    head_.tol->setFillValue(r.Thick.v);
    head_.col->setColor(r.ColorIndex.v, r.Color.v);
    head_.dis->setChecked(r.Disabled.v);
    EditXMasx->setNumber(r.ScaleX.v);
    EditXMasy->setNumber(r.ScaleY.v);
    EditXRazx->setNumber(r.DivX.v);
    EditXRazy->setNumber(r.DivY.v);
    CheckBoxXSEn->setChecked(r.GridOn.v);
    SpinEditXSTol->setFillValue(r.GridThick.v);
    SpinEditXSJump->setFillValue(r.GridStep.v);
    SpinEditXRazW->setFillValue(r.MarkWidth.v);
    SpinEditXRazH->setFillValue(r.MarkHeight.v);
    CheckBoxXPodEn->setChecked(r.NumbersOn.v);
    SpinEditXPodJump->setFillValue(r.NumberStep.v);
    FontComboBoxX->setFontName(Q(r.NumberFont.s));
    CheckBoxXPodIt->setChecked(r.NumbersItalic.v);
    CheckBoxXPodBo->setChecked(r.NumbersBold.v);
    SpinEditXPodSize->setFillValue(r.NumberSize.v);
    for (std::size_t i = 0; i < 6; ++i) {
        CheckBoxX2[i]->setChecked(r.GraphOn[i + 1].v);
        fillText(EditX2[i], Q(r.Graph[i + 1].s));
        SetSwatchGlyph(ButtonX[i], r.GraphColor[i + 1].v);
        ButtonX[i]->setText(thickWord_ + QString::number(r.GraphThick[i + 1].v));
        const bool animated = !r.Texts7[i + 1].empty() || (i == 4 && !r.Texts7[7].empty());
        SetFeatureGlyph(BitBtn[i], animated);
    }
    fillText(EditX2[6], Q(r.Graph2.s));
    const bool own = reg_.session().entryCode() == "xy";
    head_.save->setEnabled(own);
    head_.load->setEnabled(own && r.Number == 0);
    updateHints();
}

void TFormXY::updateHints() {
    const DXOY& x = cur();
    showThickness(head_.pt, head_.tol, x.Thick.v);
    setSizeHintOf(EditXMasx, x.ScaleX.v);
    setSizeHintOf(EditXMasy, x.ScaleY.v);
    setSizeHintOf(SpinEditXSTol, x.GridThick.v);
    setSizeHintOf(SpinEditXRazW, x.MarkWidth.v);
    setSizeHintOf(SpinEditXRazH, x.MarkHeight.v);
    setSizeHintOf(SpinEditXPodSize, x.NumberSize.v);
    for (std::size_t i = 0; i < 6; ++i) setSizeHintOf(ButtonX[i], x.GraphThick[i + 1].v);
}

void TFormXY::showPage(int page) { PageControl1->setCurrentIndex(page == 2 ? 1 : 0); }
int TFormXY::page() const { return PageControl1->currentIndex() + 1; }

// CreateFormXY: the page last entered.
void RegisterXOYDialog(DialogRegistry& reg) {
    reg.setCreator(Kind::xy, [](DialogRegistry& r) -> ObjectDialog* {
        auto* d = new TFormXY(r);
        d->showPage(r.session().rememberedPage(Kind::xy));
        return d;
    });
}

}  // namespace pelmar
