// A small object dialog built on the dialog base as the kinds' dialogs are,
// one control per commit rule, and a fake editing core that stores the
// working copy and refills the dialog on every commit, as the real commit does.
#pragma once

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <cmath>
#include <functional>
#include <string>

#include "dialogs/ui/color_combo.h"
#include "dialogs/ui/font_combo.h"
#include "dialogs/ui/num_edit.h"
#include "dialogs/ui/object_dialog.h"
#include "dialogs/ui/radio_group.h"
#include "dialogs/ui/spin_edit.h"

namespace pelmar::test {

struct SampleRec {
    std::string name = "A";
    double x = 0;
    double radius = 50.5;  // shown rounded by a spin edit
    int layer = 1, type = 1;
    double angle = 0;
    bool operator==(const SampleRec&) const = default;
};

class FakeCore : public DialogCommit, public DialogDocument {
public:
    int applies = 0, repaints = 0;
    bool noRedraw = false;
    DialogPlace place;
    SampleRec work, stored;
    std::function<void()> refill;  // the filler of the open dialog

    void ApplyObject(bool) override {
        ++applies;
        stored = work;
        if (refill) refill();
    }
    void ApplyObjectInStep(bool writeBack, std::uint64_t&) override { ApplyObject(writeBack); }
    std::uint64_t BeforeDocumentChange() override { return 0; }
    void RepaintProject() override { ++repaints; }
    bool NoRedraw() const override { return noRedraw; }
    DialogPlace dialogPlace() const override { return place; }
    void setDialogPosition(int left, int top) override { place.left = left, place.top = top; }
    void setDialogsRolledUp(bool r) override { place.rolledUp = r; }
    int resolution() const override { return 96; }
};

class SampleDialog : public ObjectDialog {
public:
    explicit SampleDialog(FakeCore& core) : ObjectDialog(QSize(380, 431), 433, core, core), w_(core.work) {
        auto* form = new QFormLayout(body());
        auto add = [&](auto* c, const char* name, const char* label) {
            c->setObjectName(name);
            form->addRow(QString::fromUtf8(label), c);
            return c;
        };
        EditID = add(new QLineEdit(body()), "EditID", "ID:");
        EditX = add(new TNumEdit(body(), true, false), "EditX", "X=");
        SpinRad = add(new TSpinEdit(body()), "SpinRad", "Радиус:");
        SpinRad->setMinMax(1, 5000);
        ComboLayer = add(new QComboBox(body()), "ComboLayer", "Слой:");
        for (int i = 1; i <= 10; ++i) ComboLayer->addItem(QString("Layer %1").arg(i, 2, 10, QChar('0')));
        add(new TColorCombo(body()), "ColorCol", "Цвет:")->setColor(12, 0xFF0000);
        add(new TFontCombo(body(), {"DejaVu Sans"}), "FontName", "Шрифт:")->setFontName("Times New Roman");
        RadioTyp = add(new TRadioGroup("Тип", body()), "RadioTyp", "");
        RadioTyp->setItems({"Пусто", "Круг", "Окруж."});
        EditAng = add(new TNumEdit(body()), "EditAng", "Угол:");

        watchAlways(EditID, [this](const QString& t) { w_.name = t.toStdString(); });
        watchNumber(EditX, {.store = [this](double v) {  // key by key
                                return (w_.x = v, NumberNote::taken());
                            },
                            .shown = [this] { return w_.x; }});
        watchNumber(SpinRad, {.store = [this](double v) { return (w_.radius = v, NumberNote::taken()); },
                              .shown = [this] { return w_.radius; }});
        connect(ComboLayer, &QComboBox::activated, this, [this](int i) {  // entered
            if (filling()) return;
            w_.layer = i + 1;
            commitIfEntered(ComboLayer);
        });
        connect(RadioTyp, &TRadioGroup::itemClicked, this, [this](int i) {  // entered
            if (filling()) return;
            w_.type = i + 1;
            commitIfEntered(RadioTyp);
        });
        watchNumber(EditAng, {.store = [this](double v) {  // when done; a full turn or more is refused
                                  if (std::abs(v) >= 360) return NumberNote::refused("a full turn");
                                  return (w_.angle = v, NumberNote::taken());
                              },
                              .shown = [this] { return w_.angle; },
                              .group = 0,
                              .live = false});
    }

    void refreshHints() override { setSizeHintOf(EditX, w_.x); }

    void VarToForm(SampleRec r) {
        FillScope scope(*this);
        fillText(EditID, QString::fromStdString(r.name));
        EditX->setNumber(r.x);
        SpinRad->setFillValue(static_cast<int>(std::nearbyint(r.radius)));
        ComboLayer->setCurrentIndex(r.layer - 1);
        RadioTyp->setItemIndex(r.type - 1);
        EditAng->setNumber(r.angle);
        setSizeHintOf(EditX, r.x);
    }

    QLineEdit* EditID;
    TNumEdit* EditX;
    TSpinEdit* SpinRad;
    QComboBox* ComboLayer;
    TRadioGroup* RadioTyp;
    TNumEdit* EditAng;

private:
    SampleRec& w_;
};

}  // namespace pelmar::test
