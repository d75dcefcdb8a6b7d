// The colour combo of the object dialogs: the sixteen palette colours in
// IndexToColor order, each with a swatch, so that the item index is the
// colour index of the records.
//
// A record may hold a colour value that is not the palette colour of its index
// (a document from elsewhere); the combo then shows the index and keeps that
// value until the user picks another item.
#pragma once

#include <QColor>
#include <QComboBox>
#include <cstdint>
#include <optional>

#include "model/records.h"

namespace pelmar {

// TColor (0x00BBGGRR) and QColor.
QColor ToQColor(TColor c);
TColor FromQColor(const QColor& c);

class TColorCombo : public QComboBox {
    Q_OBJECT
public:
    explicit TColorCombo(QWidget* parent = nullptr);

    // Filling: the item from the colour index (0..15, not shifted; another
    // index selects no item), then the colour value.
    void setColor(std::uint8_t colorIndex, TColor color);

    // The colour index of the chosen item (0 when none is chosen).
    std::uint8_t colorIndex() const;
    // The colour value the record gets: the palette colour of the item, or the
    // value kept from filling while the user has not picked an item.
    TColor colorValue() const;

private:
    std::optional<TColor> kept_;
};

}  // namespace pelmar
