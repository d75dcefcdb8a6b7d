#include "platform/font_ascent.h"

#include <QFontMetricsF>
#include <map>
#include <mutex>
#include <tuple>

#include "platform/qt_text.h"

namespace pelmar {

double AscentShare(const std::string& family, bool bold, bool italic) {
    // Large enough that the whole-pixel rounding of some font files does
    // not show.
    constexpr double Size = 1000;
    static std::mutex lock;
    static std::map<std::tuple<std::string, bool, bool>, double> shares;
    const std::lock_guard<std::mutex> hold(lock);
    const auto key = std::make_tuple(family, bold, italic);
    const auto found = shares.find(key);
    if (found != shares.end()) return found->second;
    const double share = QFontMetricsF(MakeQFont(Font{family, Size, bold, italic}, true)).ascent() / Size;
    shares.emplace(key, share);
    return share;
}

}  // namespace pelmar
