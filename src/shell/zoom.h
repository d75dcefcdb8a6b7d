// The zoom of the picture window: the items of the zoom combo and the size of
// the picture on the screen.
#pragma once

#include <array>
#include <string>

namespace pelmar {

// Percent of each item of the zoom combo, in item order.
inline constexpr std::array<int, 10> ZoomPercents{10, 20, 25, 50, 75, 100, 200, 300, 400, 500};

// "10%" .. "500%".
std::string ZoomItemText(int item);

// The item of a zoom percent; -1 when no item has it (the combo then stays).
int ZoomItemOf(int percent);

// The zoom percent of a chosen item; `current` when no item is chosen.
int ZoomOfItem(int item, int current);

// One side of the picture on the screen: Round(pixels × percent ÷ 100),
// rounding half to even.
int ZoomedLength(int pixels, int percent);

struct ZoomedSize {
    int width = 0, height = 0;
    bool operator==(const ZoomedSize&) const = default;
};
ZoomedSize ZoomSize(int width, int height, int percent);

}  // namespace pelmar
