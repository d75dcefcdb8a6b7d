// The frame of a dialog that edits two kinds (the three- and four-sided
// pyramid, the three- and four-sided prism): it fills from either kind's
// record, and every handler decides anew, by the kind of the current entry
// of the object list, which working copy it writes; for an entry of neither
// kind it writes nothing.  Without a session (`variantOf` unset) the kind
// last filled is the one edited.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "dialogs/number_text.h"
#include "dialogs/ui/anim_dialog.h"
#include "dialogs/ui/default_set.h"
#include "dialogs/ui/dialog_parts.h"
#include "dialogs/ui/dialog_registry.h"
#include "files/word_table.h"
#include "dialogs/ui/feature_glyph.h"
#include "dialogs/ui/num_edit.h"
#include "dialogs/ui/radio_group.h"
#include "model/units.h"

namespace pelmar {

template <class R3, class R4>
class VariantDialog : public RecordDialog<R3>, public RecordFiller<R4> {
public:
    VariantDialog(Kind three, Kind four, R3& w3, R4& w4, const QSize& client, int rollDown, DialogDocument& doc,
                  DialogCommit& commit, QWidget* parent)
        : RecordDialog<R3>(client, rollDown, doc, commit, parent),
          k3_(three), k4_(four), filled_(three), w3_(w3), w4_(w4) {}

    // The kind of the current object-list entry.
    std::function<Kind()> variantOf;
    Kind variant() const { return variantOf ? variantOf() : filled_; }
    // The kind whose record the dialog shows.
    Kind filledKind() const { return filled_; }
    bool showsFour() const { return filled_ == k4_; }

    // What the filler takes from the editing core beside the record.
    struct FillContext {
        bool own = true;  // the current object-list entry is a solid of the filled kind
        QString path;     // the path caption
    };
    std::function<FillContext(Kind)> context;

    // The controls both dialogs have.
    QLabel* LabelPPath;
    QLineEdit* EditPID;
    QPushButton *ButtonPSave, *ButtonPLoad;
    QPushButton* ButtonPAn2;
    TNumEdit* EditPAn2;
    TRadioGroup* RadioGroupPType;
    std::array<QPushButton*, 4> ButtonPGran;
    QCheckBox *CheckBoxPSOpi, *CheckBoxPSVpi;
    QPushButton *ButtonPSOpi, *ButtonPSVpi;
    QComboBox* ComboBoxPVid;

protected:
    // The body's layout with the head group on top.
    QVBoxLayout* buildHead() {
        auto* v = new QVBoxLayout(this->body());
        v->setContentsMargins(4, 4, 4, 4);
        v->setSpacing(2);
        head_ = BuildHeadGroup(this->body(), v, "P");
        EditPID = head_.id;
        ButtonPSave = head_.save;
        ButtonPLoad = head_.load;
        return v;
    }

    // The head's thickness in points and its size hint.
    void headHints() {
        const double thick = showsFour() ? w4_.Thick.v : w3_.Thick.v;
        this->showThickness(head_.pt, head_.tol, thick);
    }

    // ButtonPAn2: the whole solid about its axis by the typed angle through
    // `rule`.  The angle is no value of the record: it stays as typed, and
    // an emptied field is 0 once left.  An angle that holds no number (told
    // to `notANumber`), an angle of 0, or a solid the rule cannot turn, turns
    // nothing.
    template <class Rule, class Refused>
    void rotateBy(Rule rule, Refused notANumber) {
        this->flushPendingEdit();
        EditPAn2->finishTyping();
        if (this->commitTarget().NoRedraw()) return;
        const auto angle = EditPAn2->number();
        if (!angle) return notANumber(EditPAn2->text());
        if (*angle != 0 && applyRule(*angle, rule)) this->commit();
    }

    // f(working copy) for the variant of the moment; whether there was one.
    template <class F>
    bool edit(F&& f) {
        const Kind k = variant();
        if (k == k3_) f(w3_);
        else if (k == k4_) f(w4_);
        else return false;
        return true;
    }
    // A rule `std::optional<R> rule(R, double)` on the variant's working
    // copy: the reshaped record replaces it; false when the rule refused.
    template <class Rule>
    bool applyRule(double v, Rule rule) {
        bool ok = false;
        edit([&](auto& p) {
            if (auto r = rule(p, v)) {
                p = std::move(*r);
                ok = true;
            }
        });
        return ok;
    }
    // A value that reshapes the solid through `rule`, taken when the user is
    // done with it; `shown(p)` is the value the record holds; `refusal(v)`
    // tells why the rule refused v (empty: the object cannot take it).
    template <class Shown, class Rule>
    void exitRule(TNumEdit* e, Shown shown, Rule rule, std::function<QString(double)> refusal = {}) {
        this->watchNumber(e, {.store = [this, rule, refusal](double v) {
                                  if (applyRule(v, rule)) return ObjectDialog::NumberNote::taken();
                                  const QString why = refusal ? refusal(v) : QString();
                                  return why.isEmpty() ? this->ruleNote(false) : ObjectDialog::NumberNote::refused(why);
                              },
                              .shown = [this, shown] {
                                  return showsFour() ? double(shown(w4_)) : double(shown(w3_));
                              },
                              .group = 0,
                              .live = false});
    }

    // A check box of the focus rule; field(p) is the switch it stores.
    template <class Field>
    void connectFlag(QCheckBox* box, Field field) {
        QObject::connect(box, &QCheckBox::toggled, this, [this, box, field](bool on) {
            if (!this->focusAllows(box)) return;
            if (edit([&](auto& p) { field(p).v = on; })) this->commit();
        });
    }
    // A radio group or combo box of the entered rule storing item + base.
    template <class Field>
    void connectIndex(TRadioGroup* group, Field field, int base) {
        QObject::connect(group, &TRadioGroup::itemClicked, this, [this, group, field, base](int i) {
            if (this->filling()) return;
            edit([&](auto& p) { field(p).v = static_cast<std::uint8_t>(i + base); });
            this->commitIfEntered(group);
        });
    }
    template <class Field>
    void connectIndex(QComboBox* combo, Field field, int base) {
        QObject::connect(combo, &QComboBox::activated, this, [this, combo, field, base](int i) {
            if (this->filling()) return;
            edit([&](auto& p) { field(p).v = static_cast<std::uint8_t>(i + base); });
            this->commitIfEntered(combo);
        });
    }
    // The head group: the ID always, layer and colour entered, the thickness
    // a number field (then `hints`), the disabled box focused.
    void connectHead(const HeadGroup& h, std::function<void()> hints) {
        this->watchAlways(h.id, [this](const QString& t) { edit([&](auto& p) { p.ID.s = t.toStdString(); }); });
        connectIndex(h.layer, [](auto& p) -> auto& { return p.Layer; }, 1);
        QObject::connect(h.col, &QComboBox::activated, this, [this, h] {
            if (this->filling()) return;
            edit([&](auto& p) {
                p.Color.v = h.col->colorValue();
                p.ColorIndex.v = h.col->colorIndex();
            });
            this->commitIfEntered(h.col);
        });
        hints_ = std::move(hints);
        this->watchNumber(h.tol, {.store = [this](double v) {
                                      edit([&](auto& p) { p.Thick.v = SaturatedRound<decltype(p.Thick.v)>(v); });
                                      return ObjectDialog::NumberNote::taken();
                                  },
                                  .shown = [this] { return double(showsFour() ? w4_.Thick.v : w3_.Thick.v); }});
        connectFlag(h.dis, [](auto& p) -> auto& { return p.Disabled; });
    }
    void refreshHints() override {
        if (hints_) hints_();
    }

    const Kind k3_, k4_;
    Kind filled_;
    std::function<void()> hints_;  // the size hints after a number was stored
    R3& w3_;
    R4& w4_;
    HeadGroup head_{};
    // The variants' captions and type items (three-sided, four-sided).
    std::array<QString, 2> caption_;
    std::array<QStringList, 2> types_;
};

// The group of the circumscribed and inscribed spheres of a solid: a switch
// and a part button for each; verticalSpacing -1 keeps the style's.
inline QGroupBox* AddSphereGroup(QWidget* page, QCheckBox*& outOn, QPushButton*& outPart, QCheckBox*& inOn,
                                 QPushButton*& inPart, int verticalSpacing = -1) {
    auto* gs = Named(new QGroupBox(QString(), page), "GroupBoxPOrb");
    auto* ls = new QGridLayout(gs);
    ls->setContentsMargins(4, 2, 4, 2);
    ls->setVerticalSpacing(verticalSpacing);
    outOn = Named(new QCheckBox(QString(), gs), "CheckBoxPSOpi");
    outPart = Named(new QPushButton(QString(), gs), "ButtonPSOpi");
    inOn = Named(new QCheckBox(QString(), gs), "CheckBoxPSVpi");
    inPart = Named(new QPushButton(QString(), gs), "ButtonPSVpi");
    ls->addWidget(outOn, 0, 0);
    ls->addWidget(outPart, 0, 1);
    ls->addWidget(inOn, 1, 0);
    ls->addWidget(inPart, 1, 1);
    return gs;
}

// The foot of a solid's page: the view combo with the animation and fill
// buttons beside it, then the red path label.
inline void AddViewAndPath(QWidget* page, QVBoxLayout* v, QComboBox*& view, QPushButton*& anim, const char* animName,
                           QPushButton*& brush, const char* brushName, QLabel*& path) {
    auto* row = new QHBoxLayout;
    auto* gv = Named(new QGroupBox(QString(), page), "GroupBoxPVid");
    auto* lv = new QVBoxLayout(gv);
    lv->setContentsMargins(4, 2, 4, 2);
    view = Named(new QComboBox(gv), "ComboBoxPVid");
    view->addItems(QStringList(6));
    lv->addWidget(view);
    row->addWidget(gv, 1);
    auto* buttons = new QVBoxLayout;
    anim = FeatureButton(page, animName);
    brush = FeatureButton(page, brushName);
    buttons->addWidget(anim);
    buttons->addWidget(brush);
    row->addLayout(buttons);
    v->addLayout(row);

    path = Named(new QLabel(page), "LabelPPath");
    QPalette red = path->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    path->setPalette(red);
    v->addWidget(path);
    v->addStretch(1);
}

// What the creators of both variant dialogs wire alike: the variant from the
// current object-list entry, the fill context, the re-marked selection, the
// fill and animation sub-dialogs, the message of a refused number and the
// default sets of either kind (`unlink` clears the links a saved set must
// not keep, `update3` and `update4` rebuild a loaded one).
template <class D, class R3, class R4, class Unlink, class U3, class U4>
void WireVariantDialog(DialogRegistry& r, D* d, Kind k3, Kind k4, R3 WorkingCopies::*w3, R4 WorkingCopies::*w4,
                       Unlink unlink, U3 update3, U4 update4) {
    DialogSession& s = r.session();
    d->variantOf = [&r, k3, k4] {
        const std::string code = r.session().entryCode();
        return code == InfoOf(k4).code ? k4 : code == InfoOf(k3).code ? k3 : Kind::po;
    };
    d->context = [&r](Kind k) {
        DialogSession& ss = r.session();
        return typename D::FillContext{ss.entryCode() == InfoOf(k).code, QString::fromStdString(ss.pathCaption(k))};
    };
    QObject::connect(d, &D::reselect, d, [&s] { s.reselect(); });
    QObject::connect(d, &D::brushRequested, d, [&s, d](int kind) { s.runFill(static_cast<std::uint8_t>(kind), d); });
    QObject::connect(d, &D::animRequested, d, [&r, d](int kind) {
        std::unique_ptr<TFormAnim> anim(
            NewFormAnimZK(r.session().copies(), kind, r.session().words(), r.commitTarget(), d));
        anim->exec();
    });
    QObject::connect(d, &D::notANumber, d, [&s, &r](const QString& text) {
        s.showMessage(std::string(r.session().words().Said("«", "'")) + text.toStdString() +
                      std::string(r.session().words().Said("» не является числом", "' is not a valid floating point value")));
    });
    QObject::connect(d->ButtonPSave, &QPushButton::clicked, d, [&r, d, k3, k4, unlink] {
        if (d->variant() == k3) SaveDefaultSet<R3>(r, k3, unlink);
        else if (d->variant() == k4) SaveDefaultSet<R4>(r, k4, unlink);
    });
    QObject::connect(d->ButtonPLoad, &QPushButton::clicked, d, [&r, d, k3, k4, w3, w4, update3, update4] {
        WorkingCopies& w = r.session().copies();
        if (d->variant() == k3) LoadDefaultSet<R3>(r, k3, w.*w3, update3);
        else if (d->variant() == k4) LoadDefaultSet<R4>(r, k4, w.*w4, update4);
    });
}

}  // namespace pelmar
