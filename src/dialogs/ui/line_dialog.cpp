#include "dialogs/ui/line_dialog.h"

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

#include "dialogs/ui/apply_all_dialog.h"
#include "dialogs/apply_to_all.h"
#include "dialogs/ui/color_combo.h"
#include "dialogs/ui/dialog_parts.h"
#include "dialogs/ui/dialog_words.h"
#include "files/word_table.h"
#include "dialogs/ui/default_set.h"
#include "dialogs/ui/num_edit.h"
#include "dialogs/number_text.h"
#include "dialogs/ui/spin_edit.h"
#include "model/construct.h"
#include "model/geometry.h"
#include "model/units.h"
#include "model/update.h"

namespace pelmar {

namespace {

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }
QString Q(const std::string& s) { return QString::fromStdString(s); }

bool Finite(const DPoint& p) {
    return std::isfinite(p.X.v) && std::isfinite(p.Y.v) && std::isfinite(p.Z.v) && std::isfinite(p.ScrX.v) &&
           std::isfinite(p.ScrY.v);
}

// Which end buttons a role leaves enabled: (k, r, rt, rk) as the filler reads them.
struct EndButtons {
    bool one = true, two = true;
};

EndButtons EndButtonsFor(const std::string& k, int r, int rt, int rk) {
    EndButtons b;
    if (r >= 1 && r <= 3) b.one = false;
    if (r >= 4 && r <= 6) b.two = false;
    if (r >= 7 && r <= 11) b.one = false;
    if (k == "xy" && (r == 12 || r == 13)) b.one = false;
    if (k == "xz" && (r == 12 || r == 13 || r == 29)) b.one = false;
    if (r >= 14 && r <= 17) b.two = false;
    if (r == 18 || r == 19) b.one = b.two = false;
    if (k == "ko" && r == 6) b.one = false;
    if ((k == "i3" || k == "i4") && rt >= 6 && rt <= 9 && (r == 4 || r == 5)) b.one = false;
    if ((k == "r3" || k == "r4") && rk >= 8 && rk <= 11 && r == 14) b.one = false;
    return b;
}

// WordsToLi.  The division points keep their design captions.
constexpr WordTarget WordsToLi[] = {
    Cap("", "{435}"),
    Cap("GroupBoxLM1", "{365}"),
    Cap("LabelLLayer", "{355}"),
    Cap("LabelLCol", "{356}"),
    Cap("LabelLTol", "{357}"),
    Cap("CheckBoxLDis", "{358}"),
    Cap("ButtonLSave", "{359}"),
    Cap("ButtonLLoad", "{360}"),
    Cap("GroupBoxLM2", "{366}"),
    Cap("LabelLAng", "{386}"),
    Cap("LabelLLen", "{391}"),
    Cap("GroupBoxLVid", "{370}"),
    Item("ComboBoxLType", 0, "{371}"),
    Item("ComboBoxLType", 1, "{372}"),
    Item("ComboBoxLType", 2, "{373}"),
    Cap("LabelLPri1", "{440}"),
    Cap("LabelLPri2", "{441}"),
    Cap("GroupBoxL1", "{442}"),
    Cap("CheckBoxLAr1", "{444}"),
    Cap("LabelLRad1", "{367}"),
    Cap("LabelLAng1", "{386}"),
    Cap("ButtonL1", "{442}"),
    Cap("GroupBoxL2", "{443}"),
    Cap("CheckBoxLAr2", "{444}"),
    Cap("LabelLRad2", "{367}"),
    Cap("LabelLAng2", "{386}"),
    Cap("ButtonL2", "{443}"),
    Cap("ButtonLAlls", "{445}"),
};

bool LengthFixed(const std::string& k, int r) {
    const bool free7to11 = r >= 7 && r <= 11;
    if (k == "tr" || k == "r3") return !free7to11;
    if (k == "kv" || k == "r4") return true;
    if (k == "i3" || k == "i4") return !(free7to11 || r == 22);
    return false;
}

// An axis of a coordinate system, opened from the system's dialog.
bool SystemAxis(const std::string& k, int r) {
    return (k == "xy" && (r == 12 || r == 13)) || (k == "xz" && (r == 12 || r == 13 || r == 29));
}

}  // namespace

TFormLi::TFormLi(DialogRegistry& reg, QWidget* parent)
    : SessionDialog<DLine>(reg, "FormLi", WordsToLi, parent) {
    build();
    connectHandlers();
}

void TFormLi::applyWords(const WordTable& words) {
    RecordDialog<DLine>::applyWords(words);
    ApplyWords(*this, WordsToLi, words);
    fitContent();  // the words may need more room than the design size
    projectionWord_ = QString::fromStdString(words.WordLine(WordNo::Projection));
    updateHints();
}

void TFormLi::buildEnd(End& e, int n, QWidget* g) {
    auto* l = new QGridLayout(g);
    l->setContentsMargins(6, 2, 6, 4);
    l->setVerticalSpacing(2);
    const QString s = QString::number(n);
    e.lx = NamedLabel(g, "LabelLx" + s, "X=");
    e.ly = NamedLabel(g, "LabelLy" + s, "Y=");
    // The first end's picture X takes the comma, the other picture edits do not.
    e.x = Named(new TNumEdit(g, true, n == 1), "EditLx" + s);
    e.y = Named(new TNumEdit(g, true, false), "EditLy" + s);
    e.lxx = NamedLabel(g, "LabelLxx" + s, "X=");
    e.lyy = NamedLabel(g, "LabelLyy" + s, "Y=");
    e.lzz = NamedLabel(g, "LabelLzz" + s, "Z=");
    for (QLabel* d : {e.lxx, e.lyy, e.lzz}) d->setStyleSheet("color: #800000");
    e.xx = Named(new TNumEdit(g, true, true), "EditLxx" + s);
    e.yy = Named(new TNumEdit(g, true, true), "EditLyy" + s);
    e.zz = Named(new TNumEdit(g, true, true), "EditLzz" + s);
    e.arrow = Named(new QCheckBox(QString(), g), "CheckBoxLAr" + s);
    e.llen = NamedLabel(g, "LabelLRad" + s, "");
    e.len = NamedSpin(g, "SpinEditLRad" + s, 1, 400);
    e.lang = NamedLabel(g, "LabelLAng" + s, "");
    e.ang = NamedSpin(g, "SpinEditLAng" + s, -180, 180);
    e.open = Named(new QPushButton(QString(), g), "ButtonL" + s);
    l->addWidget(e.lx, 0, 0), l->addWidget(e.x, 0, 1), l->addWidget(e.ly, 0, 2), l->addWidget(e.y, 0, 3);
    l->addWidget(e.lxx, 1, 0), l->addWidget(e.xx, 1, 1), l->addWidget(e.lyy, 1, 2), l->addWidget(e.yy, 1, 3);
    l->addWidget(e.lzz, 2, 0), l->addWidget(e.zz, 2, 1), l->addWidget(e.arrow, 2, 2, 1, 2);
    l->addWidget(e.llen, 3, 0), l->addWidget(e.len, 3, 1), l->addWidget(e.lang, 3, 2), l->addWidget(e.ang, 3, 3);
    l->addWidget(e.open, 4, 0, 1, 4);
}

void TFormLi::build() {
    QWidget* b = body();
    const PlainColumn column = BuildPlainColumn(b, "LabelLPath", 3);
    QVBoxLayout* top = column.top;
    LabelLPath = column.path;

    auto* g1 = Named(new QGroupBox(QString(), b), QString("GroupBoxLM1"));
    auto* l1 = new QGridLayout(g1);
    l1->setContentsMargins(6, 2, 6, 4);
    l1->setVerticalSpacing(2);
    head_ = BuildPlainHead(g1, l1, "L", true);
    top->addWidget(g1);

    auto* g2 = Named(new QGroupBox(QString(), b), QString("GroupBoxLM2"));
    auto* l2 = new QGridLayout(g2);
    l2->setContentsMargins(6, 2, 6, 4);
    l2->setVerticalSpacing(2);
    LabelLAng = NamedLabel(g2, "LabelLAng", "");
    EditLAng = Named(new TNumEdit(g2, true, true), QString("EditLAng"));
    LabelLLen = NamedLabel(g2, "LabelLLen", "");
    EditLLen = Named(new TNumEdit(g2, true, true), QString("EditLLen"));
    // Вид: the line type and its dashes.
    auto* gv = Named(new QGroupBox(QString(), g2), QString("GroupBoxLVid"));
    auto* lv = new QGridLayout(gv);
    lv->setContentsMargins(6, 2, 6, 4);
    lv->setVerticalSpacing(2);
    ComboBoxLType = Named(new QComboBox(gv), QString("ComboBoxLType"));
    ComboBoxLType->addItems(QStringList(3, QString()));
    LabelLPri1 = NamedLabel(gv, "LabelLPri1", "");
    SpinEditLPri1 = NamedSpin(gv, "SpinEditLPri1", 1, 60);
    LabelLPri2 = NamedLabel(gv, "LabelLPri2", "");
    SpinEditLPri2 = NamedSpin(gv, "SpinEditLPri2", 1, 60);
    l2->addWidget(LabelLAng, 0, 0), l2->addWidget(EditLAng, 0, 1), l2->addWidget(LabelLLen, 0, 2);
    l2->addWidget(EditLLen, 0, 3), l2->addWidget(gv, 1, 0, 1, 4);
    lv->addWidget(ComboBoxLType, 0, 0, 1, 4);
    lv->addWidget(LabelLPri1, 1, 0), lv->addWidget(SpinEditLPri1, 1, 1), lv->addWidget(LabelLPri2, 1, 2);
    lv->addWidget(SpinEditLPri2, 1, 3);
    top->addWidget(g2);

    auto* ends = new QHBoxLayout;
    auto* ge1 = Named(new QGroupBox(QString(), b), QString("GroupBoxL1"));
    auto* ge2 = Named(new QGroupBox(QString(), b), QString("GroupBoxL2"));
    buildEnd(end1_, 1, ge1);
    buildEnd(end2_, 2, ge2);
    ends->addWidget(ge1), ends->addWidget(ge2);
    top->addLayout(ends);

    auto* divs = new QHBoxLayout;
    auto division = [&](int n, QCheckBox*& check, TNumEdit*& edit, QPushButton*& button) {
        const QString s = QString::number(n);
        auto* g = Named(new QGroupBox(Q(n == 3 ? "Точка №3" : "Точка №4"), b), "GroupBoxP" + s);
        auto* l = new QHBoxLayout(g);
        l->setContentsMargins(6, 2, 6, 4);
        check = Named(new QCheckBox(g), "CheckBoxP" + s);
        edit = Named(new TNumEdit(g, true, true), "EditP" + s);
        edit->setText("0,333");
        button = Named(new QPushButton(Q(n == 3 ? "Точка №3" : "Точка №4"), g), "ButtonP" + s);
        l->addWidget(check), l->addWidget(edit), l->addWidget(button);
        divs->addWidget(g);
    };
    division(3, CheckBoxP3, EditP3, ButtonP3);
    division(4, CheckBoxP4, EditP4, ButtonP4);
    top->addLayout(divs);

    ButtonLAlls = Named(new QPushButton(QString(), b), QString("ButtonLAlls"));
    top->addWidget(ButtonLAlls);
    ButtonLiFocus = Named(new QPushButton("Focus", b), QString("ButtonLiFocus"));
    ButtonLiFocus->hide();
    top->addStretch(1);
}

void TFormLi::connectHandlers() {
    watchAlways(head_.id, [this](const QString& t) { cur().ID.s = t.isEmpty() ? " " : t.toStdString(); });
    ConnectHead<DLine>(*this, head_, [this]() -> DLine& { return cur(); });
    connect(ComboBoxLType, &QComboBox::activated, this, [this](int i) {
        if (filling()) return;
        cur().LineType.v = static_cast<std::uint8_t>(i + 1);
        commitIfEntered(ComboBoxLType);
    });
    connectCheck(head_.dis, &DLine::Disabled);
    connectCheck(end1_.arrow, &DLine::Arrow1);
    connectCheck(end2_.arrow, &DLine::Arrow2);
    connectSpin(SpinEditLPri1, &DLine::Dash);
    connectSpin(SpinEditLPri2, &DLine::Gap);
    connectSpin(end1_.len, &DLine::Arrow1Len);
    connectSpin(end2_.len, &DLine::Arrow2Len);
    connectSpin(end1_.ang, &DLine::Arrow1Angle);
    connectSpin(end2_.ang, &DLine::Arrow2Angle);

    // When the user is done: angle and length reshape the segment; a value
    // that leaves no finite segment is refused, and so is a length of 0,
    // which would leave the segment no direction for a later length.  A
    // segment without length (its ends on one place) takes neither.
    auto noDirection = [this] {
        return said("У отрезка без длины нет направления: передвиньте один из его концов.",
                    "A segment without length has no direction: move one of its ends.");
    };
    auto reshape = [this, noDirection](TNumEdit* edit, Ed<double> DLine::*field, void (*apply)(DLine&),
                                       std::function<QString(double)> refusal, std::function<QString(double)> why) {
        watchNumber(edit, {.store = [this, field, apply, refusal](double v) {
                               if (const QString no = refusal(v); !no.isEmpty()) return NumberNote::refused(no);
                               DLine next = cur();
                               (next.*field).v = v;
                               apply(next);
                               const bool finite = Finite(next.P1) && Finite(next.P2);
                               if (finite) cur() = next;
                               return ruleNote(finite);
                           },
                           .shown = [this, field] { return (cur().*field).v; },
                           .group = 0,
                           .live = false,
                           .why = [this, noDirection, why](double typed, double) {
                               return IsZero(cur().Length.v) ? noDirection() : why(typed);
                           }});
    };
    reshape(EditLAng, &DLine::Angle, [](DLine& l) { SetLineAngle(l); }, [](double) { return QString(); },
            [this](double) {
                return said("Концы отрезка стоят на целых точках рисунка, а угол считается от -180 до 180: взято %1.",
                            "The segment's ends stand on whole pixels, and its angle is counted from -180 to 180: "
                            "%1 was taken.")
                    .arg(NumText(cur().Angle.v));
            });
    reshape(
        EditLLen, &DLine::Length,
        [](DLine& l) {
            SetLineLength(l);
            ProjectPoint(l.P2);
        },
        [this](double v) {
            return v == 0 ? said("Длина отрезка не бывает нулевой: он потерял бы направление.",
                                 "A segment's length is never 0: it would lose its direction.")
                          : QString();
        },
        [this](double typed) {
            return typed < 0 ? said("Длина не бывает отрицательной: отрезок повёрнут в другую сторону.",
                                    "A length is never negative: the segment was turned the other way.")
                             : QString();
        });

    connectEnd(end1_, &DLine::P1, 1);
    connectEnd(end2_, &DLine::P2, 2);

    // Division points: on/off, and the fraction of the length, where nothing
    // holds it.
    auto division = [this](QCheckBox* check, TNumEdit* edit, Ed<bool> DLine::*on, Ed<double> DLine::*frac) {
        connect(check, &QCheckBox::toggled, this, [this, check, on](bool v) {
            if (filling() || !focusAllows(check)) return;
            (cur().*on).v = v;
            commit();
        });
        watchNumber(edit, {.store = [this, frac](double v) {
                               (cur().*frac).v = v;
                               return NumberNote::taken();
                           },
                           .shown = [this, frac] { return (cur().*frac).v; }});
    };
    division(CheckBoxP3, EditP3, &DLine::Show3, &DLine::Frac3);
    division(CheckBoxP4, EditP4, &DLine::Show4, &DLine::Frac4);

    connect(end1_.open, &QPushButton::clicked, this, [this] { openPoint(1); });
    connect(end2_.open, &QPushButton::clicked, this, [this] { openPoint(2); });
    connect(ButtonP3, &QPushButton::clicked, this, [this] { openPoint(8); });
    connect(ButtonP4, &QPushButton::clicked, this, [this] { openPoint(9); });
    ConnectDefaultSet<DLine>(
        reg_, Kind::li, head_.save, head_.load, [this]() -> DLine& { return cur(); },
        [](DLine& l) { l.P1.Link = l.P2.Link = DLink{}; }, [](DLine& l) { UpdateLine(l, 0); });
    connect(ButtonLAlls, &QPushButton::clicked, this, [this] {
        flushPendingEdit();
        std::unique_ptr<TFormAllOpt> opt(NewFormLiOpt(reg_.session().words(), this));
        if (opt->exec() != QDialog::Accepted) return;
        applyToAllLines(opt->category(0), opt->category(1), opt->category(2));
    });
}

// The five coordinates of an end place one point: a group of their own, so
// that a rule of the object the segment belongs to which moves the other end
// (an axis never points backwards) waits for the whole number.
void TFormLi::connectEnd(End& e, DPoint DLine::*point, int group) {
    auto why = [this](double typed, double stored) {
        const bool axis = SystemAxis(reg_.session().entryCode(), reg_.role(Kind::li));
        if (typed != stored && stored == Round3(typed))
            return said("Координаты в пространстве хранятся с тремя знаками после запятой: взято %1.",
                        "A place in space is kept to three decimals: %1 was taken.")
                .arg(NumText(stored));
        if (typed != stored)
            return axis ? said("Ось идёт через центр системы вдоль своей координаты и не бывает направлена назад: "
                               "взято %1.",
                               "An axis runs through its system's centre along its own coordinate and never points "
                               "backwards: %1 was taken.")
                              .arg(NumText(stored))
                        : QString();
        return axis ? said("Ось не бывает направлена назад: её другой конец передвинут.",
                           "An axis never points backwards: its other end was moved.")
                    : said("Другой конец отрезка передвинут вместе с этим.",
                           "The segment's other end moved with this one.");
    };
    // Picture X (Y): the end's 3D Y (Z) follows by the same amount.
    auto picture = [this, point, group, why](TNumEdit* edit, bool isX) {
        Ed<double> DPoint::*scr = isX ? &DPoint::ScrX : &DPoint::ScrY;
        watchNumber(edit, {.store = [this, point, scr, isX](double v) {
                               DPoint& p = cur().*point;
                               double& space = isX ? p.Y.v : p.Z.v;
                               const double old = (p.*scr).v;
                               (p.*scr).v = v;
                               space = Round3(space + (v - old));
                               return NumberNote::taken();
                           },
                           .shown = [this, point, scr] { return (cur().*point.*scr).v; },
                           .group = group,
                           .why = why});
    };
    picture(e.x, true);
    picture(e.y, false);
    auto space = [this, point, group, why](TNumEdit* edit, Ed<double> DPoint::*axis) {
        watchNumber(edit, {.store = [this, point, axis](double v) {
                               DPoint& p = cur().*point;
                               (p.*axis).v = v;
                               ProjectPoint(p);
                               return NumberNote::taken();
                           },
                           .shown = [this, point, axis] { return (cur().*point.*axis).v; },
                           .group = group,
                           .why = why});
    };
    space(e.xx, &DPoint::X);
    space(e.yy, &DPoint::Y);
    space(e.zz, &DPoint::Z);
}

void TFormLi::openPoint(int role) {
    flushPendingEdit();  // what was typed goes with the segment
    const DLine& l = cur();
    const DPoint& p = role == 1 ? l.P1 : role == 2 ? l.P2 : role == 8 ? l.P3 : l.P4;
    reg_.OpenPart(Kind::li, Kind::po, role, DPoint(p), reg_.session().copies().CurPoint);
}

void TFormLi::fill(DLine r) {
    FillScope scope(*this);
    LabelLPath->setText(Q(reg_.session().pathCaption(Kind::li)));
    const std::string k = reg_.session().entryCode();
    FillHead(head_, r, k == "li");
    EditLAng->setNumber(r.Angle.v);
    EditLLen->setNumber(r.Length.v);
    ComboBoxLType->setCurrentIndex(r.LineType.v - 1);
    SpinEditLPri1->setFillValue(r.Dash.v);
    SpinEditLPri2->setFillValue(r.Gap.v);
    auto fillEnd = [](End& e, const DPoint& p, bool arrow, int len, int ang) {
        e.x->setNumber(p.ScrX.v), e.y->setNumber(p.ScrY.v);
        e.xx->setNumber(p.X.v), e.yy->setNumber(p.Y.v), e.zz->setNumber(p.Z.v);
        e.arrow->setChecked(arrow);
        e.len->setFillValue(len), e.ang->setFillValue(ang);
    };
    fillEnd(end1_, r.P1, r.Arrow1.v, r.Arrow1Len.v, r.Arrow1Angle.v);
    fillEnd(end2_, r.P2, r.Arrow2.v, r.Arrow2Len.v, r.Arrow2Angle.v);
    CheckBoxP3->setChecked(r.Show3.v);
    CheckBoxP4->setChecked(r.Show4.v);
    EditP3->setNumber(r.Frac3.v);
    EditP4->setNumber(r.Frac4.v);

    auto en = [](bool e, std::initializer_list<QWidget*> ws) {
        for (QWidget* w : ws) w->setEnabled(e);
    };
    en(r.Angle.e, {LabelLAng, EditLAng});
    en(r.Length.e, {LabelLLen, EditLLen});
    en(r.LineType.e, {ComboBoxLType});
    en(r.Dash.e, {LabelLPri1, SpinEditLPri1});
    en(r.Gap.e, {LabelLPri2, SpinEditLPri2});
    en(r.Arrow1Len.e, {end1_.llen, end1_.len});
    en(r.Arrow2Len.e, {end2_.llen, end2_.len});
    en(r.Arrow1Angle.e, {end1_.lang, end1_.ang});
    en(r.Arrow2Angle.e, {end2_.lang, end2_.ang});
    en(r.Arrow1.e, {end1_.arrow});
    en(r.Arrow2.e, {end2_.arrow});
    for (auto [e, p] : {std::pair<End*, const DPoint*>{&end1_, &r.P1}, {&end2_, &r.P2}}) {
        en(p->ScrX.e, {e->lx, e->x});
        en(p->ScrY.e, {e->ly, e->y});
        en(p->X.e, {e->lxx, e->xx});
        en(p->Y.e, {e->lyy, e->yy});
        en(p->Z.e, {e->lzz, e->zz});
    }
    EditP3->setEnabled(r.Show3.v), ButtonP3->setEnabled(r.Show3.v);
    EditP4->setEnabled(r.Show4.v), ButtonP4->setEnabled(r.Show4.v);

    const int role = reg_.role(Kind::li);
    if (LengthFixed(k, role)) en(false, {LabelLLen, EditLLen});
    const EndButtons b = EndButtonsFor(k, role, reg_.role(Kind::tr), reg_.role(Kind::kv));
    end1_.open->setEnabled(b.one);
    end2_.open->setEnabled(b.two);
    updateHints();
}

void TFormLi::updateHints() {
    const DLine& l = cur();
    showThickness(head_.pt, head_.tol, l.Thick.v);
    setSizeHintOf(SpinEditLPri1, l.Dash.v);
    setSizeHintOf(SpinEditLPri2, l.Gap.v);
    setSizeHintOf(end1_.len, l.Arrow1Len.v);
    setSizeHintOf(end2_.len, l.Arrow2Len.v);
    setSizeHintOf(end1_.x, l.P1.ScrX.v);
    setSizeHintOf(end1_.y, l.P1.ScrY.v);
    setSizeHintOf(end2_.x, l.P2.ScrX.v);
    setSizeHintOf(end2_.y, l.P2.ScrY.v);
    const double n = std::nearbyint(std::hypot(l.P2.ScrX.v - l.P1.ScrX.v, l.P2.ScrY.v - l.P1.ScrY.v));
    EditLLen->setToolTip(sizeHintText(n) + " " + Q(NumberText(n)) + " " + pkWord() + " " + projectionWord_);
}

void TFormLi::applyToAllLines(bool thickness, bool dashes, bool arrows) {
    DialogSession& s = reg_.session();
    // The undo snapshot holds the document as it was before the walk, and
    // the commit after it belongs to the same step: one Undo takes the
    // walk back.  The walk writes into the working copies as well, so it
    // reads its template from a copy.
    const DLine tmpl = cur();
    // Where every one has the style already, nothing changes: no step.
    std::uint64_t step = 0;
    bool changed = false;
    ApplyToAllLines(s.proj().Obj, s.copies(), tmpl, LineCategories{thickness, dashes, arrows},
                    [&] { step = commitTarget().BeforeDocumentChange(), changed = true; });
    if (!changed) return;
    commitTarget().ApplyObjectInStep(false, step);
    commitTarget().RepaintProject();
}

void RegisterLineDialog(DialogRegistry& reg) {
    reg.setCreator(Kind::li, [](DialogRegistry& r) -> ObjectDialog* { return new TFormLi(r); });
}

}  // namespace pelmar
