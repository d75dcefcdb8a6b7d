// The cylinder dialog ("Цилиндр") and the cone dialog ("Конус"): one dialog
// in two variants, chosen by the kind it is created for.  They share the
// layout and the handlers and differ in the parts they open: a cylinder has
// a lower and an upper base and tetragonal sections, a cone one base and
// triangular sections.  The controls are named after the kind's letter
// ("SpinEditZRad", "SpinEditKRad").
//
// The radius and the height are shown in whole pixels; a fill never stores
// what it shows, so neither a fractional radius nor the upper base moves
// when the dialog is filled.  A typed radius moves the base's outline points
// to it, key by key; a height moves the upper base (the apex) along the axis
// when the user is done with it.  Values below one pixel are refused: the
// record keeps its own, and the edit shows it again with a tip.  The angles
// of the additional sections are kept as typed.
#pragma once

#include <array>
#include <type_traits>

#include "dialogs/ui/dialog_parts.h"
#include "dialogs/ui/dialog_registry.h"

namespace pelmar {

class TNumEdit;

// R is DZi or DKo.
template <class R>
class TFormRoundBody : public SessionDialog<R> {
public:
    explicit TFormRoundBody(DialogRegistry& reg, QWidget* parent = nullptr);
    ~TFormRoundBody() override;

    // VarToFormZi, VarToFormKo.
    void fill(R rec) override;
    // UpdateZiHints, UpdateKoHints.
    void updateHints() override;

    static constexpr bool IsCylinder = std::is_same_v<R, DZi>;
    static constexpr Kind OwnKind = IsCylinder ? Kind::zi : Kind::ko;

private:
    using SessionDialog<R>::cur;
    void build();
    void connectHandlers();

    using SessionDialog<R>::reg_;
    HeadGroup head_{};
    QLabel *LabelPath = nullptr, *LabelRad = nullptr, *LabelH = nullptr;
    TSpinEdit *SpinEditRad = nullptr, *SpinEditH = nullptr;
    // The axis, the lower base (the cone's base) and the upper base (none in a cone).
    QPushButton *ButtonH = nullptr, *ButtonLower = nullptr, *ButtonUpper = nullptr;
    // Sections main, contour, additional 1 and 2, as the record counts them.
    std::array<QCheckBox*, 4> CheckBoxSe{};
    std::array<QPushButton*, 4> ButtonSe{};
    std::array<QLabel*, 2> LabelAngle{};
    std::array<TNumEdit*, 2> EditAngle{};
    QCheckBox *CheckBoxSOpi = nullptr, *CheckBoxSVpi = nullptr;
    QPushButton *ButtonSOpi = nullptr, *ButtonSVpi = nullptr;
    QComboBox* ComboBoxVid = nullptr;
    QPushButton *ButtonAnim = nullptr, *ButtonBrush = nullptr;
};

extern template class TFormRoundBody<DZi>;
extern template class TFormRoundBody<DKo>;
using TFormZi = TFormRoundBody<DZi>;
using TFormKo = TFormRoundBody<DKo>;

}  // namespace pelmar
