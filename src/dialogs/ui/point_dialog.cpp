#include "dialogs/ui/point_dialog.h"

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

#include "dialogs/apply_to_all.h"
#include "dialogs/ui/color_combo.h"
#include "dialogs/ui/dialog_parts.h"
#include "dialogs/ui/dialog_words.h"
#include "dialogs/ui/feature_glyph.h"
#include "dialogs/ui/default_set.h"
#include "dialogs/ui/font_combo.h"
#include "dialogs/ui/num_edit.h"
#include "dialogs/number_text.h"
#include "files/held_text.h"
#include "dialogs/ui/anim_dialog.h"
#include "dialogs/ui/apply_all_dialog.h"
#include "dialogs/ui/radio_group.h"
#include "dialogs/ui/spin_edit.h"
#include "model/geometry.h"
#include "model/units.h"
#include "model/update.h"
#include "platform/qt_text.h"

namespace pelmar {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// WordsToPo.
constexpr WordTarget WordsToPo[] = {
    Cap("", "{422}"),
    Cap("GroupBoxPMain1", "{365}"),
    Cap("LabelPLayer", "{355}"),
    Cap("LabelPCol", "{356}"),
    Cap("CheckBoxPDis", "{358}"),
    Cap("ButtonPSave", "{359}"),
    Cap("ButtonPLoad", "{360}"),
    Cap("GroupBoxPMain2", "{366}"),
    Cap("LabelPRad", "{367}"),
    Cap("LabelPTol", "{357}"),
    Cap("RadioGroupPTyp", "{369}"),
    Item("RadioGroupPTyp", 0, "{423}"),
    Item("RadioGroupPTyp", 1, "{424}"),
    Item("RadioGroupPTyp", 2, "{425}"),
    Cap("GroupBoxPName", "{426}"),
    Cap("LabelPName", "{427}"),
    Cap("LabelNRad", "{368}"),
    Cap("LabelPNAng", "{386}"),
    Cap("LabelPIndex", "{428}"),
    Cap("ButtonPAll", "{433}"),
    Cap("ButtonPoAnim", "{637}"),
};

}  // namespace

TFormPo::TFormPo(DialogRegistry& reg, QWidget* parent)
    : SessionDialog<DPoint>(reg, "FormPo", WordsToPo, parent) {
    build();
    connectHandlers();
}

void TFormPo::build() {
    QWidget* b = body();
    const PlainColumn column = BuildPlainColumn(b, "LabelPPath", 3);
    QVBoxLayout* top = column.top;
    LabelPPath = column.path;

    // Главная 1: ID, layer, colour, disabled, the default set.
    auto* g1 = Named(new QGroupBox(QString(), b), "GroupBoxPMain1");
    auto* l1 = new QGridLayout(g1);
    l1->setContentsMargins(6, 2, 6, 4);
    l1->setVerticalSpacing(3);
    head_ = BuildPlainHead(g1, l1, "P", false);
    top->addWidget(g1);

    // Главная 2: coordinates, type, radius, thickness.
    auto* g2 = Named(new QGroupBox(QString(), b), "GroupBoxPMain2");
    auto* l2 = new QGridLayout(g2);
    l2->setContentsMargins(6, 2, 6, 4);
    l2->setVerticalSpacing(3);
    LabelPx = NamedLabel(g2, "LabelPx", "X=");
    EditPx = Named(new TNumEdit(g2, true, false), "EditPx");
    LabelPy = NamedLabel(g2, "LabelPy", "Y=");
    EditPy = Named(new TNumEdit(g2, true, false), "EditPy");
    l2->addWidget(LabelPx, 0, 0);
    l2->addWidget(EditPx, 0, 1);
    l2->addWidget(LabelPy, 0, 2);
    l2->addWidget(EditPy, 0, 3);
    const char* darkRed = "color: #800000";
    LabelPxx = NamedLabel(g2, "LabelPxx", "X=");
    LabelPyy = NamedLabel(g2, "LabelPyy", "Y=");
    LabelPzz = NamedLabel(g2, "LabelPzz", "Z=");
    for (QLabel* l : {LabelPxx, LabelPyy, LabelPzz}) l->setStyleSheet(darkRed);
    EditPxx = Named(new TNumEdit(g2, true, true), "EditPxx");
    EditPyy = Named(new TNumEdit(g2, true, true), "EditPyy");
    EditPzz = Named(new TNumEdit(g2, true, true), "EditPzz");
    auto* row3d = new QHBoxLayout;
    row3d->setSpacing(3);
    for (auto [l, e] : {std::pair<QLabel*, TNumEdit*>{LabelPxx, EditPxx}, {LabelPyy, EditPyy}, {LabelPzz, EditPzz}}) {
        row3d->addWidget(l);
        row3d->addWidget(e);
    }
    l2->addLayout(row3d, 1, 0, 1, 4);
    RadioGroupPTyp = Named(new TRadioGroup(QString(), g2), "RadioGroupPTyp");
    RadioGroupPTyp->setItems(QStringList(3, QString()));
    RadioGroupPTyp->setColumns(3);
    l2->addWidget(RadioGroupPTyp, 2, 0, 1, 4);
    LabelPRad = NamedLabel(g2, "LabelPRad", "");
    SpinEditPRad = NamedSpin(g2, "SpinEditPRad", 1, 20);
    LabelPTol = NamedLabel(g2, "LabelPTol", "");
    SpinEditPTol = NamedSpin(g2, "SpinEditPTol", 1, 18);
    l2->addWidget(LabelPRad, 3, 0);
    l2->addWidget(SpinEditPRad, 3, 1);
    l2->addWidget(LabelPTol, 3, 2);
    l2->addWidget(SpinEditPTol, 3, 3);
    top->addWidget(g2);

    // Название: the label texts, their fonts and the label's offset.
    auto* g3 = Named(new QGroupBox(QString(), b), "GroupBoxPName");
    auto* l3 = new QGridLayout(g3);
    l3->setContentsMargins(6, 2, 6, 4);
    l3->setVerticalSpacing(3);
    LabelPName = NamedLabel(g3, "LabelPName", "");
    EditPName = Named(new QLineEdit(g3), "EditPName");
    LabelPIndex = NamedLabel(g3, "LabelPIndex", "");
    EditPUp = Named(new QLineEdit(g3), "EditPUp");
    EditPDown = Named(new QLineEdit(g3), "EditPDown");
    l3->addWidget(LabelPName, 0, 0);
    l3->addWidget(EditPName, 0, 1, 1, 4);
    l3->addWidget(LabelPIndex, 1, 0);
    l3->addWidget(EditPUp, 1, 1, 1, 2);
    l3->addWidget(EditPDown, 1, 3, 1, 2);
    FontComboBoxP1 = Named(new TFontCombo(g3), "FontComboBoxP1");
    CheckBoxPBo1 = Named(new QCheckBox("Bold", g3), "CheckBoxPBo1");
    CheckBoxPIt1 = Named(new QCheckBox("Italic", g3), "CheckBoxPIt1");
    SpinEditPSize1 = NamedSpin(g3, "SpinEditPSize1", 1, 200);
    FontComboBoxP2 = Named(new TFontCombo(g3), "FontComboBoxP2");
    CheckBoxPBo2 = Named(new QCheckBox("Bold", g3), "CheckBoxPBo2");
    CheckBoxPIt2 = Named(new QCheckBox("Italic", g3), "CheckBoxPIt2");
    SpinEditPSize2 = NamedSpin(g3, "SpinEditPSize2", 1, 200);
    l3->addWidget(FontComboBoxP1, 2, 0, 1, 2);
    l3->addWidget(CheckBoxPBo1, 2, 2);
    l3->addWidget(CheckBoxPIt1, 2, 3);
    l3->addWidget(SpinEditPSize1, 2, 4);
    l3->addWidget(FontComboBoxP2, 3, 0, 1, 2);
    l3->addWidget(CheckBoxPBo2, 3, 2);
    l3->addWidget(CheckBoxPIt2, 3, 3);
    l3->addWidget(SpinEditPSize2, 3, 4);
    LabelNRad = NamedLabel(g3, "LabelNRad", "");
    SpinEditPNRad = NamedSpin(g3, "SpinEditPNRad", 0, 300);
    LabelPNAng = NamedLabel(g3, "LabelPNAng", "");
    SpinEditPNAng = NamedSpin(g3, "SpinEditPNAng", -180, 180);
    l3->addWidget(LabelNRad, 4, 0);
    l3->addWidget(SpinEditPNRad, 4, 1);
    l3->addWidget(LabelPNAng, 4, 2);
    l3->addWidget(SpinEditPNAng, 4, 3, 1, 2);
    l3->setColumnStretch(1, 1);
    top->addWidget(g3);

    auto* buttons = new QHBoxLayout;
    ButtonPAll = Named(new QPushButton(QString(), b), "ButtonPAll");
    ButtonPoAnim = FeatureButton(b, "ButtonPoAnim");
    buttons->addWidget(ButtonPAll, 1);
    buttons->addWidget(ButtonPoAnim);
    top->addLayout(buttons);
    top->addStretch(1);
}

void TFormPo::connectHandlers() {
    // always: the ID, on the user's edits only.
    watchAlways(head_.id, [this](const QString& t) { cur().ID.s = t.toStdString(); });

    // entered: layer, colour, type, fonts.
    ConnectHead<DPoint>(*this, head_, [this]() -> DPoint& { return cur(); });
    connect(RadioGroupPTyp, &TRadioGroup::itemClicked, this, [this](int i) {
        if (filling()) return;
        cur().Typ.v = static_cast<std::uint8_t>(i + 1);
        commitIfEntered(RadioGroupPTyp);
    });
    auto font = [this](TFontCombo* combo, DStr DPoint::*field) {
        connect(combo, &QComboBox::activated, this, [this, combo, field] {
            if (filling()) return;
            (cur().*field).s = combo->fontName().toStdString();
            commitIfEntered(combo);
        });
    };
    font(FontComboBoxP1, &DPoint::NameFont);
    font(FontComboBoxP2, &DPoint::IndexFont);

    // focus, stored first: check boxes, texts, spin edits.
    connectCheck(head_.dis, &DPoint::Disabled);
    connectCheck(CheckBoxPBo1, &DPoint::NameBold);
    connectCheck(CheckBoxPIt1, &DPoint::NameItalic);
    connectCheck(CheckBoxPBo2, &DPoint::IndexBold);
    connectCheck(CheckBoxPIt2, &DPoint::IndexItalic);
    // A text set in "Symbol" is shown by its signs and kept as its codes.
    auto text = [this](QLineEdit* edit, DStr DPoint::*field, DStr DPoint::*font) {
        guardText(edit, [this, font] { return IsSymbolFamily((cur().*font).s); });
        watchTyped(edit);
        connect(edit, &QLineEdit::textChanged, this, [this, edit, field, font](const QString& t) {
            if (filling()) return;
            (cur().*field).s = IsSymbolFamily((cur().*font).s) ? HoldText(t.toStdString(), true).text : t.toStdString();
            if (typedCommit(edit)) commitTarget().RepaintProject();
        });
    };
    text(EditPName, &DPoint::Name, &DPoint::NameFont);
    text(EditPUp, &DPoint::Upper, &DPoint::IndexFont);
    text(EditPDown, &DPoint::Lower, &DPoint::IndexFont);
    connectSpin(SpinEditPRad, &DPoint::Radius);
    connectSpin(SpinEditPTol, &DPoint::Thick);
    connectSpin(SpinEditPSize1, &DPoint::NameSize);
    connectSpin(SpinEditPSize2, &DPoint::IndexSize);
    connectSpin(SpinEditPNRad, &DPoint::LabelDist);
    connectSpin(SpinEditPNAng, &DPoint::LabelAngle);

    // The coordinates.
    pictureEdit(EditPx, true);
    pictureEdit(EditPy, false);
    spaceEdit(EditPxx, 0);
    spaceEdit(EditPyy, 1);
    spaceEdit(EditPzz, 2);

    ConnectDefaultSet<DPoint>(
        reg_, Kind::po, head_.save, head_.load, [this]() -> DPoint& { return cur(); },
        [](DPoint& p) { p.Link = DLink{}; }, [](DPoint& p) { UpdatePoint(p, 0); });
    connect(ButtonPoAnim, &QPushButton::clicked, this, [this] {
        flushPendingEdit();
        std::unique_ptr<TFormAnim> anim(NewFormAnimPo(cur(), reg_.session().words(), commitTarget(), this));
        anim->exec();
    });
    connect(ButtonPAll, &QPushButton::clicked, this, [this] {
        flushPendingEdit();
        std::unique_ptr<TFormAllOpt> opt(NewFormPoOpt(reg_.session().words(), this));
        if (opt->exec() != QDialog::Accepted) return;
        applyToAllPoints(opt->category(0), opt->category(1), opt->category(2), opt->category(3));
    });
}

// The five coordinates place one point and move each other: one group.
namespace {
constexpr int Place = 1;

bool SamePlace(const DPoint& a, const DPoint& b) {
    return a.X.v == b.X.v && a.Y.v == b.Y.v && a.Z.v == b.Z.v && a.ScrX.v == b.ScrX.v && a.ScrY.v == b.ScrY.v;
}
}  // namespace

// An end of a segment (role 1 or 2) that is a part of another object: the
// object's rule may move the segment's other end with it (an axis never
// points backwards).  That is a change the whole number brings, never one
// key of it: the number waits until the user is done, and is then told.
ObjectDialog::NumberNote TFormPo::segmentRule() {
    const int role = reg_.role(Kind::po);
    if (role != 1 && role != 2) return NumberNote::taken();
    DPoint DLine::*other = role == 1 ? &DLine::P2 : &DLine::P1;
    const DPoint before = reg_.session().copies().CurLine.*other;
    bool same = false;
    readAsCommitted([&] { same = SamePlace(reg_.session().copies().CurLine.*other, before); });
    if (same) return NumberNote::taken();
    const std::string k = reg_.session().entryCode();
    return NumberNote::changed(k == "xy" || k == "xz"
                                   ? said("Ось не бывает направлена назад: её другой конец передвинут.",
                                          "An axis never points backwards: its other end was moved.")
                                   : said("Другой конец отрезка передвинут вместе с этой точкой.",
                                          "The segment's other end moved with this point."));
}

// Picture X (Y): the 3D Y (Z) follows by the same amount; the centre of an
// ellipse takes the ellipse's axis ends along.
void TFormPo::pictureEdit(TNumEdit* edit, bool isX) {
    watchNumber(edit, {.store = [this, isX](double v) {
                           DPoint& p = cur();
                           const bool centre = reg_.role(Kind::po) == 3;
                           DCircle& c = reg_.session().copies().CurCircle;
                           const double o[6] = {c.Q1[0] - p.X.v, c.Q1[1] - p.Y.v, c.Q1[2] - p.Z.v,
                                                c.Q2[0] - p.X.v, c.Q2[1] - p.Y.v, c.Q2[2] - p.Z.v};
                           double& scr = isX ? p.ScrX.v : p.ScrY.v;
                           double& space = isX ? p.Y.v : p.Z.v;
                           const double old = scr;
                           scr = v;
                           space = Round3(space + (scr - old));
                           if (centre) {
                               c.Q1 = {p.X.v + o[0], p.Y.v + o[1], p.Z.v + o[2]};
                               c.Q2 = {p.X.v + o[3], p.Y.v + o[4], p.Z.v + o[5]};
                           }
                           return segmentRule();
                       },
                       .shown = [this, isX] { return isX ? cur().ScrX.v : cur().ScrY.v; },
                       .group = Place});
}

// The place in space is kept to 0.001, as the point's update keeps it: a
// number with more decimals is rounded when the user is done, never under
// the caret.
void TFormPo::spaceEdit(TNumEdit* edit, int axis) {
    Ed<double> DPoint::*field = axis == 0 ? &DPoint::X : axis == 1 ? &DPoint::Y : &DPoint::Z;
    watchNumber(edit, {.store = [this, field](double v) {
                           DPoint& p = cur();
                           (p.*field).v = Round3(v);
                           ProjectPoint(p);
                           return segmentRule();
                       },
                       .shown = [this, field] { return (cur().*field).v; },
                       .group = Place,
                       .why = [this](double typed, double stored) {
                           if (stored != Round3(typed)) return QString();
                           return said("Координаты в пространстве хранятся с тремя знаками после запятой: взято %1.",
                                       "A place in space is kept to three decimals: %1 was taken.")
                               .arg(NumText(stored));
                       }});
}

void TFormPo::fill(DPoint r) {
    FillScope scope(*this);
    LabelPPath->setText(Q(reg_.session().pathCaption(Kind::po)));
    FillHead(head_, r, reg_.session().entryCode() == "po");
    EditPx->setNumber(r.ScrX.v);
    EditPy->setNumber(r.ScrY.v);
    EditPxx->setNumber(r.X.v);
    EditPyy->setNumber(r.Y.v);
    EditPzz->setNumber(r.Z.v);
    RadioGroupPTyp->setItemIndex(r.Typ.v - 1);
    SpinEditPRad->setFillValue(r.Radius.v);
    SpinEditPTol->setFillValue(r.Thick.v);
    auto shown = [](const DStr& text, const DStr& font) {
        return Q(IsSymbolFamily(font.s) ? SymbolShown(text.s) : text.s);
    };
    fillText(EditPName, shown(r.Name, r.NameFont));
    fillText(EditPUp, shown(r.Upper, r.IndexFont));
    fillText(EditPDown, shown(r.Lower, r.IndexFont));
    FontComboBoxP1->setFontName(Q(r.NameFont.s));
    CheckBoxPBo1->setChecked(r.NameBold.v);
    CheckBoxPIt1->setChecked(r.NameItalic.v);
    SpinEditPSize1->setFillValue(r.NameSize.v);
    FontComboBoxP2->setFontName(Q(r.IndexFont.s));
    CheckBoxPBo2->setChecked(r.IndexBold.v);
    CheckBoxPIt2->setChecked(r.IndexItalic.v);
    SpinEditPSize2->setFillValue(r.IndexSize.v);
    SpinEditPNRad->setFillValue(r.LabelDist.v);
    SpinEditPNAng->setFillValue(r.LabelAngle.v);

    // Enabled by the fields' editability flags.
    auto en = [](bool e, std::initializer_list<QWidget*> ws) {
        for (QWidget* w : ws) w->setEnabled(e);
    };
    en(r.ScrX.e, {LabelPx, EditPx});
    en(r.ScrY.e, {LabelPy, EditPy});
    en(r.X.e, {LabelPxx, EditPxx});
    en(r.Y.e, {LabelPyy, EditPyy});
    en(r.Z.e, {LabelPzz, EditPzz});
    en(r.Typ.e, {RadioGroupPTyp});
    en(r.Radius.e, {LabelPRad, SpinEditPRad});
    en(r.Thick.e, {LabelPTol, SpinEditPTol});
    en(r.Name.e, {LabelPName, EditPName});
    en(r.Upper.e, {LabelPIndex, EditPUp, EditPDown});
    en(r.NameFont.e, {FontComboBoxP1, CheckBoxPBo1, CheckBoxPIt1, SpinEditPSize1, FontComboBoxP2, CheckBoxPBo2,
                      CheckBoxPIt2, SpinEditPSize2, LabelNRad, SpinEditPNRad, LabelPNAng, SpinEditPNAng});

    const bool animated = (r.X.e && !r.Anim[0].empty()) || (r.Y.e && !r.Anim[1].empty()) ||
                          (r.Z.e && !r.Anim[2].empty()) || (r.LabelAngle.e && !r.Anim[3].empty());
    SetFeatureGlyph(ButtonPoAnim, animated);
    const int role = reg_.role(Kind::po);
    ButtonPoAnim->setEnabled(role != 8 && role != 9);
    updateHints();
}

void TFormPo::updateHints() {
    const DPoint& p = cur();
    setSizeHintOf(SpinEditPNRad, p.LabelDist.v);
    setSizeHintOf(EditPx, p.ScrX.v);
    setSizeHintOf(EditPy, p.ScrY.v);
    setSizeHintOf(SpinEditPRad, p.Radius.v);
    setSizeHintOf(SpinEditPTol, p.Thick.v);
    const DProj& doc = reg_.session().proj();
    const int dpi = doc.Im.Dpi > 0 ? doc.Im.Dpi : 96;
    const QString &pt = ptWord(), &cm = cmWord(), &px = pkWord();
    auto fontHint = [&](int s) -> QString {
        if (doc.Im.FontUnit == 1)
            return Q(NumberText(PixToPt(s, dpi) * 2)) + " " + pt + "  " + Q(NumberText(PixToCm(s, dpi))) + " " + cm +
                   "  " + Q(NumberText(PixToInch(s, dpi))) + " inch";
        // Points: centimetres are inches times 2.54.
        return Q(NumberText(std::nearbyint(s / 72.0 * dpi / 2))) + " " + px + "  " +
               Q(NumberText(std::nearbyint(s / 72.0 * 2.54 * 1000) / 1000)) + " " + cm + "  " +
               Q(NumberText(std::nearbyint(s / 72.0 * 1000) / 1000)) + " inch";
    };
    if (doc.Im.FontUnit == 1 || doc.Im.FontUnit == 2) {
        SpinEditPSize1->setToolTip(fontHint(p.NameSize.v));
        SpinEditPSize2->setToolTip(fontHint(p.IndexSize.v));
    }
}

// The walk changes the document: it is committed (marking the document
// changed, one undo step) and redrawn.
void TFormPo::applyToAllPoints(bool type, bool nameFont, bool indexFont, bool labelRadius) {
    DialogSession& s = reg_.session();
    // The undo snapshot holds the document as it was before the walk, and
    // the commit after it belongs to the same step: one Undo takes the
    // walk back.  The walk writes into the working copies as well, so it
    // reads its template from a copy.
    const DPoint tmpl = cur();
    // Where every one has the style already, nothing changes: no step.
    const PointCategories cats{type, nameFont, indexFont, labelRadius};
    std::uint64_t step = 0;
    bool changed = false;
    ApplyToAllPoints(s.proj().Obj, s.copies(), tmpl, cats,
                     [&] { step = commitTarget().BeforeDocumentChange(), changed = true; });
    if (!changed) return;
    commitTarget().ApplyObjectInStep(false, step);
    commitTarget().RepaintProject();
}

void RegisterPointDialog(DialogRegistry& reg) {
    reg.setCreator(Kind::po, [](DialogRegistry& r) -> ObjectDialog* { return new TFormPo(r); });
}

}  // namespace pelmar
