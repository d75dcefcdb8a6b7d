#include "dialogs/ui/section_plane_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "dialogs/graph_rules.h"
#include "dialogs/number_text.h"
#include "dialogs/ui/dialog_parts.h"
#include "dialogs/ui/dialog_words.h"
#include "dialogs/ui/num_edit.h"
#include "files/ui/text_tip.h"
#include "files/ui/modal_ok.h"
#include "model/coord_limit.h"
#include "model/round_reshape.h"

namespace pelmar {

namespace {

constexpr SectionField Fields[4] = {SectionField::NormalX, SectionField::NormalY, SectionField::NormalZ,
                                    SectionField::Distance};

}  // namespace

TFormOrb::TFormOrb(DSf& sphere, int plane, DialogCommit& commit, QWidget* parent)
    : QDialog(parent), s_(sphere), plane_(std::clamp(plane, 1, 7)), commit_(commit) {
    setObjectName("FormOrb");
    setWindowTitle(QString::fromUtf8("Сечение сферы"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setModal(true);
    UseSmallFont(this);
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(8, 6, 8, 6);
    auto* g1 = Named(new QGroupBox(QString::fromUtf8("Нормальный вектор"), this), QString("GroupBox1"));
    auto* l1 = new QGridLayout(g1);
    TNumEdit** edits[3] = {&Edit1, &Edit2, &Edit3};
    const char* labels[3] = {"X:", "Y:", "Z:"};
    for (int i = 0; i < 3; ++i) {
        *edits[i] = Named(new TNumEdit(g1, true, true), QString("Edit%1").arg(i + 1));
        l1->addWidget(NamedLabel(g1, QString("Label%1").arg(i + 1), labels[i]), 0, 2 * i);
        l1->addWidget(*edits[i], 0, 2 * i + 1);
    }
    v->addWidget(g1);
    auto* g2 = Named(new QGroupBox(QString::fromUtf8("Расстояние от центра"), this), QString("GroupBox2"));
    auto* l2 = new QHBoxLayout(g2);
    Edit4 = Named(new TNumEdit(g2, true, true), QString("Edit4"));
    l2->addWidget(NamedLabel(g2, "Label4", "H:"));
    l2->addWidget(Edit4, 1);
    v->addWidget(g2);
    Button1 = Named(new QPushButton("Ok", this), QString("Button1"));
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(Button1);
    row->addStretch(1);
    v->addLayout(row);

    TNumEdit* all[4] = {Edit1, Edit2, Edit3, Edit4};
    for (int i = 0; i < 4; ++i) {
        all[i]->setMinimumWidth(60);
        connect(all[i], &TNumEdit::numberEntered, this, [this, i] { entered(i); });
    }
    HoldOkForTold(Button1);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}

// The plane's values as they stand; the user's edits alone store.
void TFormOrb::showEvent(QShowEvent* event) {
    TNumEdit* all[4] = {Edit1, Edit2, Edit3, Edit4};
    for (int k = 0; k < 4; ++k) all[k]->showNumber(stored(k));
    QDialog::showEvent(event);
}

// Closing takes the focus from the field being typed in: Esc drops what it
// holds, and Ok takes it first (files/ui/modal_ok.h).
void TFormOrb::done(int result) {
    if (result == Accepted) {
        for (TNumEdit* e : {Edit1, Edit2, Edit3, Edit4}) e->finishTyping();
        // Ok on a plane's window shows its section: the plane was set up to
        // be seen.
        // One undo step with the numbers entered in the window.
        Ed<bool>& on = s_.SecOn[static_cast<std::size_t>(plane_)];
        if (!on.v) {
            on.v = true;
            commit_.ApplyObjectInStep(true, step_);
        }
    }
    closing_ = true;
    QDialog::done(result);
}

double TFormOrb::stored(int which) const {
    const auto i = static_cast<std::size_t>(plane_);
    const Ed<double>* f[4] = {&s_.SecNX[i], &s_.SecNY[i], &s_.SecNZ[i], &s_.SecH[i]};
    return f[which]->v;
}

QString TFormOrb::limitNote(LimitCase what) const {
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* d = qobject_cast<ObjectDialog*>(w)) return d->limitNote(what);
    return QString::fromStdString(LimitNote(BuiltInWords(), what));
}

QString TFormOrb::said(const char* russian, const char* english) const {
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* d = qobject_cast<ObjectDialog*>(w)) return d->said(russian, english);
    return QString::fromUtf8(russian);
}

// The user is done with a number: it is stored and committed, and the field
// shows what the record holds, with a tip where that is not what was typed.
void TFormOrb::entered(int which) {
    if (closing_) return;
    TNumEdit* const all[4] = {Edit1, Edit2, Edit3, Edit4};
    TNumEdit* e = all[which];
    const std::optional<double> typed = e->typedNumber();
    const double v = typed && std::isfinite(*typed) ? *typed : 0;
    if (!WithinCoordLimit(v)) {  // the distance is in pixels; the normal's parts are bounded alike
        e->showNumber(stored(which));
        ShowTextTip(e, limitNote(which == 3 ? LimitCase::Pixels : LimitCase::Number));
        return;
    }
    const std::optional<DSf> t = OrbWithPlane(s_, plane_, Fields[which], v);
    if (!t) {
        e->showNumber(stored(which));
        ShowTextTip(e, said(ZeroNormalRussian, ZeroNormalEnglish));
        return;
    }
    if (v == stored(which)) {  // no change
        e->showNumber(stored(which));
        return;
    }
    s_ = *t;
    // The numbers of one session, and the section switched on by Ok, are
    // one undo step.
    commit_.ApplyObjectInStep(true, step_);
    const double now = stored(which);
    e->showNumber(now);
    if (now == v) return;
    ShowTextTip(e, which == 3 ? said("Плоскость не пересекла бы сферу: расстояние от центра меньше радиуса, взято %1.",
                                     "The plane would miss the sphere: the distance from the centre is below the "
                                     "radius; %1 was taken.")
                                    .arg(NumText(now))
                              : said("Сфера взяла %1.", "The sphere took %1.").arg(NumText(now)));
}

}  // namespace pelmar
