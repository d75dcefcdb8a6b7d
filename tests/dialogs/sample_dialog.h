// A small object dialog over a record of its own, built on the dialog base as
// the kinds' dialogs are: one control per rule, and a fake editing core that
// stores the working copy and refills the dialog on every commit, as the real
// commit does.
#pragma once

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <cmath>
#include <functional>
#include <string>

#include "dialogs/color_combo.h"
#include "dialogs/font_combo.h"
#include "dialogs/num_edit.h"
#include "dialogs/object_dialog.h"
#include "dialogs/radio_group.h"
#include "dialogs/spin_edit.h"
#include "model/update.h"

namespace pelmar::test {

struct SampleRec {
    std::string name = "A";
    double x = 0;
    double radius = 50.5;  // shown rounded by a spin edit
    int layer = 1;
    std::uint8_t colorIndex = 0;
    TColor color = 0;
    std::string font = "MS Sans Serif";
    int type = 1;
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
    void RepaintProject() override { ++repaints; }
    bool NoRedraw() const override { return noRedraw; }
    DialogPlace dialogPlace() const override { return place; }
    void setDialogPosition(int left, int top) override {
        place.left = left;
        place.top = top;
    }
    void setDialogsRolledUp(bool r) override { place.rolledUp = r; }
    int resolution() const override { return 96; }
};

class SampleDialog : public ObjectDialog {
public:
    SampleDialog(FakeCore& core, QWidget* parent = nullptr)
        : ObjectDialog(QSize(380, 431), 433, core, core, parent), core_(core) {
        setWindowTitle("Sample");
        auto* form = new QFormLayout(body());
        EditID = add<QLineEdit>(form, "EditID", "ID:");
        EditX = add<TNumEdit>(form, "EditX", "X=");
        EditX->setFilter(true, false);
        SpinRad = add<TSpinEdit>(form, "SpinRad", "Радиус:");
        SpinRad->setMinMax(1, 5000);
        ComboLayer = add<QComboBox>(form, "ComboLayer", "Слой:");
        for (int i = 1; i <= 10; ++i) ComboLayer->addItem(QString("Layer %1").arg(i, 2, 10, QChar('0')));
        ColorCol = add<TColorCombo>(form, "ColorCol", "Цвет:");
        FontName = new TFontCombo(body(), {"DejaVu Sans", "DejaVu Serif"});
        FontName->setObjectName("FontName");
        form->addRow("Шрифт:", FontName);
        RadioTyp = new TRadioGroup("Тип", body());
        RadioTyp->setObjectName("RadioTyp");
        RadioTyp->setItems({"Пусто", "Круг", "Окруж."});
        form->addRow(RadioTyp);
        EditAng = add<TNumEdit>(form, "EditAng", "Угол:");

        watchAlways(EditID, [this](const QString& t) { core_.work.name = t.toStdString(); });
        // focus, nothing without it
        connect(EditX, &TNumEdit::textChangedFiltered, this, [this] {
            if (!focusAllows(EditX)) return;
            EditX->fixEmpty();
            const auto v = EditX->number();
            if (!v) return;
            core_.work.x = *v;
            commit();
            setSizeHintOf(EditX, core_.work.x);
        });
        // focus, stored first
        connect(SpinRad, &TSpinEdit::changed, this, [this] {
            if (filling()) return;
            core_.work.radius = SpinRad->checkedValue();
            commitIfFocused(SpinRad);
        });
        // entered
        connect(ComboLayer, &QComboBox::activated, this, [this](int i) {
            if (filling()) return;
            core_.work.layer = i + 1;
            commitIfEntered(ComboLayer);
        });
        connect(ColorCol, &QComboBox::activated, this, [this] {
            if (filling()) return;
            core_.work.colorIndex = ColorCol->colorIndex();
            core_.work.color = ColorCol->colorValue();
            commitIfEntered(ColorCol);
        });
        connect(FontName, &QComboBox::activated, this, [this] {
            if (filling()) return;
            core_.work.font = FontName->fontName().toStdString();
            commitIfEntered(FontName);
        });
        connect(RadioTyp, &TRadioGroup::itemClicked, this, [this](int i) {
            if (filling()) return;
            core_.work.type = i + 1;
            commitIfEntered(RadioTyp);
        });
        // exit: a full turn or more is refused
        watchExit(EditAng, [this] {
            EditAng->fixEmpty();
            const auto v = EditAng->number();
            if (!v || std::abs(*v) >= 360) return false;
            core_.work.angle = *v;
            return true;
        });
    }

    void VarToForm(SampleRec r) {
        FillScope scope(*this);
        fillText(EditID, QString::fromStdString(r.name));
        EditX->setNumber(r.x);
        SpinRad->setFillValue(static_cast<int>(std::nearbyint(r.radius)));
        ComboLayer->setCurrentIndex(r.layer - 1);
        ColorCol->setColor(r.colorIndex, r.color);
        FontName->setFontName(QString::fromStdString(r.font));
        RadioTyp->setItemIndex(r.type - 1);
        EditAng->setNumber(r.angle);
        setSizeHintOf(EditX, r.x);
    }

    QLineEdit* EditID;
    TNumEdit* EditX;
    TSpinEdit* SpinRad;
    QComboBox* ComboLayer;
    TColorCombo* ColorCol;
    TFontCombo* FontName;
    TRadioGroup* RadioTyp;
    TNumEdit* EditAng;

private:
    template <class W>
    W* add(QFormLayout* form, const char* name, const char* label) {
        auto* w = new W(body());
        w->setObjectName(name);
        form->addRow(QString::fromUtf8(label), w);
        return w;
    }

    FakeCore& core_;
};

}  // namespace pelmar::test
