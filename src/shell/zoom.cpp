#include "shell/zoom.h"

#include <algorithm>
#include <cmath>

namespace pelmar {

std::string ZoomItemText(int item) {
    if (item < 0 || item >= static_cast<int>(ZoomPercents.size())) return {};
    return std::to_string(ZoomPercents[static_cast<std::size_t>(item)]) + "%";
}

int ZoomItemOf(int percent) {
    const auto at = std::find(ZoomPercents.begin(), ZoomPercents.end(), percent);
    return at == ZoomPercents.end() ? -1 : static_cast<int>(at - ZoomPercents.begin());
}

int ZoomOfItem(int item, int current) {
    if (item < 0 || item >= static_cast<int>(ZoomPercents.size())) return current;
    return ZoomPercents[static_cast<std::size_t>(item)];
}

int ZoomedLength(int pixels, int percent) {
    return static_cast<int>(std::nearbyint(static_cast<double>(pixels) * percent / 100.0));
}

ZoomedSize ZoomSize(int width, int height, int percent) {
    return {ZoomedLength(width, percent), ZoomedLength(height, percent)};
}

}  // namespace pelmar
