#include "dialogs/ui/graph_options_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <cmath>
#include <memory>

#include "dialogs/number_text.h"
#include "dialogs/ui/anim_dialog.h"
#include "dialogs/ui/color_combo.h"
#include "dialogs/ui/coord_parts.h"
#include "dialogs/ui/dialog_parts.h"
#include "dialogs/ui/dialog_words.h"
#include "dialogs/ui/feature_glyph.h"
#include "dialogs/ui/num_edit.h"
#include "dialogs/ui/radio_group.h"
#include "dialogs/ui/spin_edit.h"
#include "files/word_table.h"
#include "model/coord_edits.h"
#include "model/units.h"

namespace pelmar {

namespace {

// WordsToXY(2).
constexpr WordTarget WordsToXOYOpt[] = {
    Cap("", "{520}"),
    Cap("GroupBox1", "{522}"), Cap("Label1", "{357}"), Cap("Label2", "{356}"),
    Cap("RadioGroupVi1", "{523}"), Item("RadioGroupVi1", 0, "{524}"), Item("RadioGroupVi1", 1, "{525}"),
    Cap("GroupBoxDot", "{526}"), Cap("LabelDot1", "{527}"), Cap("LabelDot2", "{528}"),
    Cap("RadioGroupVi2", "{529}"), Item("RadioGroupVi2", 0, "{524}"), Item("RadioGroupVi2", 1, "{525}"),
    Item("RadioGroupVi2", 2, "{530}"),
    Cap("GroupBoxDec", "{532}"), Cap("GroupBoxPol", "{533}"), Cap("GroupBoxPar", "{534}"),
    Cap("CheckBoxGran", "{535}"),
    Cap("GroupBoxTrans1", "{537}"), Cap("CheckBoxTrans1", "{538}"), Cap("GroupBoxTrans11", "{539}"),
    Cap("GroupBoxTrans12", "{540}"), Cap("GroupBoxTrans2", "{541}"), Cap("CheckBoxTrans2", "{542}"),
    Cap("ButtonX1Anim", "{637}"), Cap("ButtonX2Anim", "{637}"),
};

// While the dialog fills its controls, their handlers store nothing.
class Filling {
public:
    explicit Filling(int& n) : n_(n) { ++n_; }
    ~Filling() { --n_; }
    Filling(const Filling&) = delete;
    Filling& operator=(const Filling&) = delete;

private:
    int& n_;
};

}  // namespace

GraphOptionsRule GraphOptionsRuleOf(int g) {
    GraphOptionsRule r;
    r.surface = g >= 11;
    switch (g) {
        case 1: case 2: case 6: r.cartesian = true; break;
        case 3: case 4: r.polar = r.within = true; break;
        case 5: r.parametric = r.within = true; break;
        case 11: case 12: case 14: r.hidden = GraphOptionsRule::BySolid; break;
        case 13: r.parametric = r.within = true, r.hidden = GraphOptionsRule::Hidden; break;
        default: break;
    }
    r.boundsAnimation = (g >= 1 && g <= 6) || g == 13;
    return r;
}

TFormXOYOpt::TFormXOYOpt(WorkingCopies& work, int graph, const WordTable& words, int dpi, QWidget* parent)
    : QDialog(parent),
      work_(work),
      graph_(graph),
      rule_(GraphOptionsRuleOf(graph)),
      words_(words),
      dpi_(dpi > 0 ? dpi : 96) {
    setObjectName("FormXOYOpt");
    setModal(true);
    UseSmallFont(this);
    build();
    putWords(words);
    connectHandlers();
    load();
}

TFormXOYOpt::Fields TFormXOYOpt::fields() {
    Fields f{};
    const bool g3d = graph_ >= 11;
    const auto k = static_cast<std::size_t>(g3d ? graph_ - 10 : graph_);
    if (g3d && (k < 1 || k > 4)) return f;
    if (!g3d && (k < 1 || k > 6)) return f;
    if (g3d) {
        DXZ& z = work_.CurXZ;
        f = {&z.SurfThick[k], &z.SurfColor[k], &z.SurfColorIndex[k], &z.Style[k], &z.Move[k],
             {&z.ParT1, &z.ParT2, &z.ParH}, {}, {}, k == 3 ? &z.BoundToAxes : nullptr};
        return f;
    }
    DXOY& x = work_.CurXOY;
    f = {&x.GraphThick[k], &x.GraphColor[k], &x.GraphColorIndex[k], &x.Style[k], &x.Move[k],
         {&x.ParA, &x.ParB, &x.ParH}, {}, {}, nullptr};
    if (k == 3 || k == 4)
        for (std::size_t i = 0; i < 3; ++i) f.polar[i] = &x.Polar[k - 2][i];
    if (k == 1 || k == 2 || k == 6)
        for (std::size_t i = 0; i < 4; ++i) f.bounds[i] = &x.Bounds[k == 6 ? 3 : k][i];
    if (k >= 3 && k <= 5) f.within = &x.WithinAxes[k - 2];
    return f;
}

void TFormXOYOpt::build() {
    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(4, 4, 4, 4);
    PageControl1 = Named(new QTabWidget(this), "PageControl1");
    top->addWidget(PageControl1);
    auto* tab1 = Named(new QWidget, "TabSheet1");
    auto* tab2 = Named(new QWidget, "TabSheet2");
    auto* tab3 = Named(new QWidget, "TabSheet3");
    PageControl1->addTab(tab1, QString());
    PageControl1->addTab(tab2, QString());
    PageControl1->addTab(tab3, QString());

    // Главные: thickness and colour, the line styles, the dashes.
    auto* v1 = new QVBoxLayout(tab1);
    auto* g1 = Named(new QGroupBox(tab1), "GroupBox1");
    auto* l1 = new QGridLayout(g1);
    l1->addWidget(NamedLabel(g1, "Label1", ""), 0, 0);
    SpinEdit1 = NamedSpin(g1, "SpinEdit1", 1, 30);
    l1->addWidget(SpinEdit1, 0, 1);
    LabelPt = NamedLabel(g1, "LabelPt", "");
    l1->addWidget(LabelPt, 0, 2);
    l1->addWidget(NamedLabel(g1, "Label2", ""), 1, 0);
    ColorComboBox1 = Named(new TColorCombo(g1), "ColorComboBox1");
    l1->addWidget(ColorComboBox1, 1, 1, 1, 2);
    v1->addWidget(g1);
    auto* styles = new QHBoxLayout;
    RadioGroupVi1 = Named(new TRadioGroup(QString(), tab1), "RadioGroupVi1");
    RadioGroupVi1->setItems(QStringList(2));
    RadioGroupVi2 = Named(new TRadioGroup(QString(), tab1), "RadioGroupVi2");
    RadioGroupVi2->setItems(QStringList(3));
    styles->addWidget(RadioGroupVi1);
    styles->addWidget(RadioGroupVi2);
    v1->addLayout(styles);
    auto* dot = Named(new QGroupBox(tab1), "GroupBoxDot");
    auto* ld = new QGridLayout(dot);
    ld->addWidget(NamedLabel(dot, "LabelDot1", ""), 0, 0);
    SpinEditDot1 = NamedSpin(dot, "SpinEditDot1", 1, 60);
    ld->addWidget(SpinEditDot1, 0, 1);
    LabelDot3 = NamedLabel(dot, "LabelDot3", "");
    ld->addWidget(LabelDot3, 0, 2);
    ld->addWidget(NamedLabel(dot, "LabelDot2", ""), 1, 0);
    SpinEditDot2 = NamedSpin(dot, "SpinEditDot2", 1, 60);
    ld->addWidget(SpinEditDot2, 1, 1);
    LabelDot4 = NamedLabel(dot, "LabelDot4", "");
    ld->addWidget(LabelDot4, 1, 2);
    ld->setColumnStretch(2, 1);
    v1->addWidget(dot);
    v1->addStretch(1);

    // Границы: one group per kind of graph, each edit with its label.
    auto* v2 = new QVBoxLayout(tab2);
    auto group = [&](const char* name, std::span<TNumEdit*> edits, std::span<const char* const> labels,
                     std::span<const char* const> names) {
        auto* g = Named(new QGroupBox(tab2), name);
        auto* l = new QGridLayout(g);
        for (std::size_t i = 0; i < edits.size(); ++i) {
            edits[i] = Named(new TNumEdit(g, true, true), names[i]);
            auto* label = NamedLabel(g, QString("Label") + names[i], labels[i]);
            const int row = static_cast<int>(i) / 2, col = static_cast<int>(i) % 2 * 2;
            l->addWidget(label, row, col, Qt::AlignRight);
            l->addWidget(edits[i], row, col + 1);
        }
        v2->addWidget(g);
        return g;
    };
    static constexpr const char* decLabels[] = {"x1=", "x2=", "y1=", "y2="};
    static constexpr const char* decNames[] = {"LabeledEditDecX1", "LabeledEditDecX2", "LabeledEditDecY1",
                                               "LabeledEditDecY2"};
    GroupBoxDec = group("GroupBoxDec", LabeledEditDec, decLabels, decNames);
    static constexpr const char* polLabels[] = {"a=", "b=", "H="};
    static constexpr const char* polNames[] = {"EditGranPolA1", "EditGranPolA2", "EditGranPolH"};
    GroupBoxPol = group("GroupBoxPol", EditGranPol, polLabels, polNames);
    static constexpr const char* parLabels[] = {"t1=", "t2=", "H="};
    static constexpr const char* parNames[] = {"EditX2a", "EditX2b", "EditX2c"};
    GroupBoxPar = group("GroupBoxPar", EditX2, parLabels, parNames);
    CheckBoxGran = Named(new QCheckBox(tab2), "CheckBoxGran");
    v2->addWidget(CheckBoxGran);
    ButtonX1Anim = Named(new QPushButton(tab2), "ButtonX1Anim");
    v2->addWidget(ButtonX1Anim, 0, Qt::AlignRight);
    v2->addStretch(1);

    // Преобразования: the rotation with its centre and normal, the translation.
    auto* v3 = new QVBoxLayout(tab3);
    auto row = [](QWidget* g, QGridLayout* l, int r, std::array<TNumEdit*, 3>& edits, const QString& base) {
        static constexpr const char* xyz[] = {"X=", "Y=", "Z="};
        for (int i = 0; i < 3; ++i) {
            const QString n = base + QString::number(i + 1);
            edits[static_cast<std::size_t>(i)] = Named(new TNumEdit(g, true, true), n);
            l->addWidget(NamedLabel(g, "Label" + n, xyz[i]), r, 2 * i, Qt::AlignRight);
            l->addWidget(edits[static_cast<std::size_t>(i)], r, 2 * i + 1);
        }
    };
    auto* t1 = Named(new QGroupBox(tab3), "GroupBoxTrans1");
    auto* lt1 = new QGridLayout(t1);
    CheckBoxTrans1 = Named(new QCheckBox(t1), "CheckBoxTrans1");
    EditTrans = Named(new TNumEdit(t1, true, true), "EditTrans");
    lt1->addWidget(CheckBoxTrans1, 0, 0);
    lt1->addWidget(EditTrans, 0, 1);
    auto* t11 = Named(new QGroupBox(t1), "GroupBoxTrans11");
    auto* lt11 = new QGridLayout(t11);
    row(t11, lt11, 0, LabeledEditTrans11, "LabeledEditTrans11");
    lt1->addWidget(t11, 1, 0, 1, 2);
    auto* t12 = Named(new QGroupBox(t1), "GroupBoxTrans12");
    auto* lt12 = new QGridLayout(t12);
    row(t12, lt12, 0, LabeledEditTrans12, "LabeledEditTrans12");
    lt1->addWidget(t12, 2, 0, 1, 2);
    v3->addWidget(t1);
    auto* t2 = Named(new QGroupBox(tab3), "GroupBoxTrans2");
    auto* lt2 = new QGridLayout(t2);
    CheckBoxTrans2 = Named(new QCheckBox(t2), "CheckBoxTrans2");
    lt2->addWidget(CheckBoxTrans2, 0, 0, 1, 6);
    row(t2, lt2, 1, LabeledEditTrans2, "LabeledEditTrans2");
    v3->addWidget(t2);
    ButtonX2Anim = Named(new QPushButton(tab3), "ButtonX2Anim");
    v3->addWidget(ButtonX2Anim, 0, Qt::AlignRight);
    v3->addStretch(1);

    Button1 = Named(new QPushButton("Ok", this), "Button1");
    HoldOkForTold(Button1);
    // The window has no Cancel: its close keeps what was typed, as OK does.
    CloseKeepsAsOk(this);
    Button1->setDefault(true);
    top->addWidget(Button1, 0, Qt::AlignRight);
    connect(Button1, &QPushButton::clicked, this, &TFormXOYOpt::ok);
}

void TFormXOYOpt::putWords(const WordTable& words) {
    ApplyWords(*this, WordsToXOYOpt, words);
    PageControl1->setTabText(0, WordText("{521}", words).replace('&', "&&"));
    PageControl1->setTabText(1, WordText("{531}", words).replace('&', "&&"));
    PageControl1->setTabText(2, WordText("{536}", words).replace('&', "&&"));
    pt_ = WordText("{361}", words);
}

// FormShow: every control from the fields of the graph, the groups enabled
// by the graph's rule.
void TFormXOYOpt::load() {
    Fields f = fields();
    if (!f.thick) return;
    {
        Filling scope(filling_);
        SpinEdit1->setFillValue(f.thick->v);
        ColorComboBox1->setColor(static_cast<std::uint8_t>(f.colorIndex->v), f.color->v);
        RadioGroupVi1->setItemIndex(f.style->Visible.v - 1);
        const bool forced = rule_.surface && f.style->Visible.v == 2;
        RadioGroupVi2->setItemIndex(forced ? 1 : f.style->Hidden.v - 1);
        SpinEditDot1->setFillValue(f.style->Dash.v);
        SpinEditDot2->setFillValue(f.style->Gap.v);

        // The parametric step is at least 0.0001: a smaller stored step comes
        // back so.
        if (f.par[2]->v <= MinParamStep) f.par[2]->v = ClampParamStep(f.par[2]->v).value_or(MinParamStep);
        for (std::size_t i = 0; i < 3; ++i) EditX2[i]->setNumber(f.par[i]->v);
        for (std::size_t i = 0; i < 3; ++i)
            if (rule_.polar) EditGranPol[i]->setNumber(f.polar[i]->v);
            else EditGranPol[i]->clear();
        for (std::size_t i = 0; i < 4; ++i)
            if (rule_.cartesian) LabeledEditDec[i]->setNumber(f.bounds[i]->v);
            else LabeledEditDec[i]->clear();
        CheckBoxGran->setChecked(rule_.within && f.within && f.within->v);

        const DGraphMove& m = *f.move;
        CheckBoxTrans1->setChecked(m.Rotated.v);
        EditTrans->setNumber(m.Angle.v);
        const Ed<double>* centre[] = {&m.CX, &m.CY, &m.CZ};
        const Ed<double>* normal[] = {&m.NX, &m.NY, &m.NZ};
        const Ed<double>* shift[] = {&m.DX, &m.DY, &m.DZ};
        for (std::size_t i = 0; i < 3; ++i) {
            LabeledEditTrans11[i]->setNumber(centre[i]->v);
            LabeledEditTrans12[i]->setNumber(normal[i]->v);
            LabeledEditTrans2[i]->setNumber(shift[i]->v);
        }
        CheckBoxTrans2->setChecked(m.Moved.v);
    }
    GroupBoxPar->setEnabled(rule_.parametric);
    GroupBoxDec->setEnabled(rule_.cartesian);
    GroupBoxPol->setEnabled(rule_.polar);
    CheckBoxGran->setEnabled(rule_.within);
    RadioGroupVi2->setVisible(rule_.hidden != GraphOptionsRule::Hidden);
    RadioGroupVi2->setEnabled(rule_.hidden == GraphOptionsRule::BySolid && f.style->Visible.v != 2);
    enableDashes();
    enableTransforms();
    UpdateGraphOptHints();
}

void TFormXOYOpt::enableDashes() {
    const DGraphStyle* s = fields().style;
    if (!s) return;
    const bool dashed = s->Visible.v == 2 || (rule_.surface && s->Hidden.v == 2);
    SpinEditDot1->setEnabled(dashed);
    SpinEditDot2->setEnabled(dashed);
    for (auto* name : {"LabelDot1", "LabelDot2"})
        if (auto* l = findChild<QLabel*>(name)) l->setEnabled(dashed);
    LabelDot3->setText(NumText(PixToPtF(dpi_, s->Dash.v)) + " " + pt_);
    LabelDot4->setText(NumText(PixToPtF(dpi_, s->Gap.v)) + " " + pt_);
}

void TFormXOYOpt::enableTransforms() {
    const DGraphMove* m = fields().move;
    if (!m) return;
    const bool rot = m->Rotated.v, shift = m->Moved.v;
    EditTrans->setEnabled(rot);
    LabeledEditTrans11[0]->setEnabled(rot);
    LabeledEditTrans11[1]->setEnabled(rot);
    LabeledEditTrans11[2]->setEnabled(rot && rule_.surface);
    for (TNumEdit* e : LabeledEditTrans12) e->setEnabled(rot && rule_.surface);
    LabeledEditTrans2[0]->setEnabled(shift);
    LabeledEditTrans2[1]->setEnabled(shift);
    LabeledEditTrans2[2]->setEnabled(shift && rule_.surface);
    for (auto* edits : {&LabeledEditTrans11, &LabeledEditTrans12, &LabeledEditTrans2})
        for (TNumEdit* e : *edits)
            if (auto* l = findChild<QLabel*>("Label" + e->objectName())) l->setEnabled(e->isEnabled());
    DrawAnimGlyph(1);
    DrawAnimGlyph(2);
}

void TFormXOYOpt::UpdateGraphOptHints() {
    const Fields f = fields();
    if (!f.thick) return;
    LabelPt->setText(NumText(PixToPt(f.thick->v, dpi_)) + " " + pt_);
    SpinEdit1->setToolTip(QString::fromStdString(
        SizeHintText(f.thick->v, dpi_, pt_.toStdString(), WordText("{362}", words_).toStdString())));
}

// The animation buttons: set while a formula they edit is not empty (for the
// bounds only those of an editable bound).
void TFormXOYOpt::DrawAnimGlyph(int which) {
    const bool g3d = graph_ >= 11;
    const auto k = static_cast<std::size_t>(g3d ? graph_ - 10 : graph_);
    const DGraphMove* m = fields().move;
    if (!m) return;
    if (which == 1) {
        bool set = false;
        if (graph_ == 13) {
            for (const auto& t : work_.CurXZ.BoundTexts) set = set || !t.empty();
        } else if (!g3d) {
            const int n = rule_.cartesian ? 4 : 2;
            for (int i = 0; i < n; ++i) set = set || !work_.CurXOY.Texts[static_cast<std::size_t>(i)][k].empty();
        }
        ButtonX1Anim->setEnabled(rule_.boundsAnimation);
        SetFeatureGlyph(ButtonX1Anim, set);
    } else {
        bool set = false;
        if (g3d)
            for (const auto& t : work_.CurXZ.Texts) set = set || !t[k].empty();
        else
            for (std::size_t i = 4; i <= 8; ++i) set = set || !work_.CurXOY.Texts[i][k].empty();
        ButtonX2Anim->setEnabled(m->Rotated.v || m->Moved.v);
        SetFeatureGlyph(ButtonX2Anim, set);
    }
}

void TFormXOYOpt::staleOutline() {
    if (graph_ < 11) return;
    if (const int o = XZOutlineOf(graph_ - 10)) work_.CurXZ.Outlines[static_cast<std::size_t>(o)].Lines.Valid = 0;
}

// A bound, a range or a transformation: a number the field's rule takes as
// it is is stored as it is typed, the text as it stands; when the user is
// done the whole number (an emptied field: 0) goes through the rule, and the
// field shows what is stored, with the rule's word where that is not what was
// typed.
void TFormXOYOpt::numberEdit(TNumEdit* edit, std::function<double*()> field, std::function<void(double)> store,
                             std::function<GraphNumber(double)> rule) {
    WatchRuledNumber(edit, words_,
                     {.get = [field] { return field() ? *field() : 0.0; },
                      .set = [field, store](double v) {
                          if (field()) store(v);
                      },
                      .rule = [field, rule](double v) { return field() ? rule(v) : GraphNumber{}; },
                      .quiet = [this] { return filling_ > 0; }});
}

void TFormXOYOpt::transEdit(TNumEdit* edit, Ed<double> DGraphMove::*field) {
    const Ed<double> DGraphMove::*normal[3] = {&DGraphMove::NX, &DGraphMove::NY, &DGraphMove::NZ};
    int component = -1;
    for (int i = 0; i < 3; ++i)
        if (normal[i] == field) component = i;
    numberEdit(
        edit, [this, field]() -> double* { return fields().move ? &(fields().move->*field).v : nullptr; },
        [this, field](double v) {
            (fields().move->*field).v = v;
            staleOutline();
        },
        [this, component](double v) {
            if (component < 0) return TakeGraphNumber(words_, v);
            const DGraphMove& m = *fields().move;
            return TakeNormalComponent(words_, {m.NX.v, m.NY.v, m.NZ.v}, component, v);
        });
}

// A range's part i (0 start, 1 end, 2 step) of the parametric or polar range.
void TFormXOYOpt::rangeEdit(TNumEdit* edit, bool polar, std::size_t i) {
    auto part = [this, polar](std::size_t k) -> Ed<double>* {
        const Fields f = fields();
        return polar ? f.polar[k] : f.par[k];
    };
    numberEdit(
        edit, [part, i]() -> double* { return part(i) ? &part(i)->v : nullptr; },
        [part, i](double v) { part(i)->v = v; },
        [this, part, polar, i](double v) {
            const GraphRange range{part(0)->v, part(1)->v, part(2)->v};
            if (i < 2) return TakeRangeNumber(words_, range, i == 0 ? RangePart::Start : RangePart::End, v);
            // The step's own rule first: a parametric step is at least
            // 0.0001; a polar step of 0 or less draws nothing and is refused.
            std::string why;
            if (!polar) {
                const std::optional<double> h = ClampParamStep(v);
                if (!h) return GraphNumber{};
                if (*h != v) why = words_.Said("Шаг не меньше 0,0001.", "The step is at least 0,0001.");
                v = *h;
            } else if (!(v > 0)) {
                return GraphNumber{std::nullopt, std::string(words_.Said("Шаг больше 0.", "The step is greater than 0."))};
            }
            GraphNumber g = TakeRangeNumber(words_, range, RangePart::Step, v);
            if (g.value && g.why.empty()) g.why = why;
            return g;
        });
}

void TFormXOYOpt::connectHandlers() {
    connect(SpinEdit1, &TSpinEdit::changed, this, [this] {
        if (filling_) return;
        fields().thick->v = SpinEdit1->checkedValue();
        UpdateGraphOptHints();
    });
    connect(ColorComboBox1, &QComboBox::activated, this, [this] {
        if (filling_) return;
        Fields f = fields();
        f.color->v = ColorComboBox1->colorValue();
        f.colorIndex->v = ColorComboBox1->colorIndex();
    });
    connect(RadioGroupVi1, &TRadioGroup::itemClicked, this, [this](int i) {
        if (filling_) return;
        DGraphStyle& s = *fields().style;
        s.Visible.v = static_cast<std::uint8_t>(i + 1);
        if (rule_.surface && rule_.hidden != GraphOptionsRule::Hidden) {
            // Dashed visible lines make the hidden lines dashed too.
            if (s.Visible.v == 2) {
                s.Hidden.v = 2;
                Filling scope(filling_);
                RadioGroupVi2->setItemIndex(1);
            }
            RadioGroupVi2->setEnabled(s.Visible.v != 2);
        }
        enableDashes();
    });
    connect(RadioGroupVi2, &TRadioGroup::itemClicked, this, [this](int i) {
        if (filling_) return;
        fields().style->Hidden.v = static_cast<std::uint8_t>(i + 1);
        enableDashes();
    });
    connect(SpinEditDot1, &TSpinEdit::changed, this, [this] {
        if (filling_) return;
        fields().style->Dash.v = SpinEditDot1->checkedValue();
        enableDashes();
    });
    connect(SpinEditDot2, &TSpinEdit::changed, this, [this] {
        if (filling_) return;
        fields().style->Gap.v = SpinEditDot2->checkedValue();
        enableDashes();
    });
    for (std::size_t i = 0; i < 3; ++i) {
        rangeEdit(EditX2[i], false, i);
        rangeEdit(EditGranPol[i], true, i);
    }
    // The Cartesian bounds: x1 to x2 and y1 to y2, each a range.
    for (std::size_t i = 0; i < 4; ++i)
        numberEdit(
            LabeledEditDec[i], [this, i]() -> double* { return fields().bounds[i] ? &fields().bounds[i]->v : nullptr; },
            [this, i](double v) {
                if (std::optional<DXOY> r = XOYWithBound(work_.CurXOY, graph_, static_cast<int>(i), v))
                    work_.CurXOY = std::move(*r);
            },
            [this, i](double v) {
                const Fields f = fields();
                const std::size_t first = i / 2 * 2;
                const double scale = i < 2 ? work_.CurXOY.ScaleX.v : work_.CurXOY.ScaleY.v;
                return TakeRangeNumber(words_, {f.bounds[first]->v, f.bounds[first + 1]->v, 0, std::fabs(scale)},
                                       i % 2 == 0 ? RangePart::Start : RangePart::End, v);
            });
    connect(CheckBoxGran, &QCheckBox::toggled, this, [this](bool on) {
        if (filling_) return;
        if (graph_ <= 10) work_.CurXOY = XOYWithinAxes(std::move(work_.CurXOY), graph_, on);
        else if (graph_ == 13) work_.CurXZ.BoundToAxes.v = on;
    });
    connect(CheckBoxTrans1, &QCheckBox::toggled, this, [this](bool on) {
        if (filling_) return;
        fields().move->Rotated.v = on;
        enableTransforms();
        staleOutline();
    });
    connect(CheckBoxTrans2, &QCheckBox::toggled, this, [this](bool on) {
        if (filling_) return;
        fields().move->Moved.v = on;
        enableTransforms();
        staleOutline();
    });
    transEdit(EditTrans, &DGraphMove::Angle);
    transEdit(LabeledEditTrans11[0], &DGraphMove::CX);
    transEdit(LabeledEditTrans11[1], &DGraphMove::CY);
    transEdit(LabeledEditTrans11[2], &DGraphMove::CZ);
    transEdit(LabeledEditTrans12[0], &DGraphMove::NX);
    transEdit(LabeledEditTrans12[1], &DGraphMove::NY);
    transEdit(LabeledEditTrans12[2], &DGraphMove::NZ);
    transEdit(LabeledEditTrans2[0], &DGraphMove::DX);
    transEdit(LabeledEditTrans2[1], &DGraphMove::DY);
    transEdit(LabeledEditTrans2[2], &DGraphMove::DZ);

    connect(ButtonX1Anim, &QPushButton::clicked, this, [this] {
        std::unique_ptr<TFormAnim> anim(NewFormAnimX1(work_, graph_, words_, this));
        anim->exec();
        DrawAnimGlyph(1);
    });
    connect(ButtonX2Anim, &QPushButton::clicked, this, [this] {
        std::unique_ptr<TFormAnim> anim(NewFormAnimX2(work_, graph_, words_, this));
        anim->exec();
        DrawAnimGlyph(2);
    });
}

TFormXOYOpt::~TFormXOYOpt() { FinishTyping(this); }

void TFormXOYOpt::done(int result) {
    FinishTyping(this);
    QDialog::done(result);
}

}  // namespace pelmar
