#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string_view>
#include <utility>

#include "files/picture_files.h"
#include "platform/safe_save.h"
#include "platform/side_file.h"

namespace pelmar {

long double RoundToDigits(int digits, long double value) {
    // 10^|digits| as an exact integer power; negative digits round to tens,
    // hundreds, ...
    long double p = 1;
    for (int i = 0; i < std::abs(digits) && i < 30; ++i) p *= 10;
    if (digits >= 0) return std::rint(value * p) / p;
    return std::rint(value / p) * p;
}

bool StampResolution(const std::string& fileName, int dpiX, int dpiY) {
    // A picture just written here: at most a 5000 x 5000 picture as a BMP
    // (75 MB), read through the one reader all the same.
    constexpr std::size_t MaxStampedBytes = std::size_t{128} << 20;
    SideFileBytes read = ReadSideFile(fileName, MaxStampedBytes, SideFileCap::Refuse);
    if (read.state != SideFileBytes::State::Read) return false;
    std::string bytes = std::move(read.bytes);
    const std::size_t size = bytes.size();
    const std::string_view head(bytes.data(), std::min<std::size_t>(size, 50));
    bool ok = true;
    bool changed = false;
    auto writeAt = [&](std::size_t offset, const unsigned char* b, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) bytes[offset + i] = static_cast<char>(b[i]);
        changed = true;
    };

    const std::size_t hit = head.size() >= 4 ? head.find("JFIF") : std::string_view::npos;
    if (hit != std::string_view::npos) {
        const std::size_t p = hit + 1;  // 1-based position of "JFIF"
        // The density fields hold 16 bits: a resolution beyond is kept at the largest.
        const unsigned x = static_cast<unsigned>(std::clamp(dpiX, 0, 0xFFFF));
        const unsigned y = static_cast<unsigned>(std::clamp(dpiY, 0, 0xFFFF));
        const unsigned char fields[5] = {1, static_cast<unsigned char>(x >> 8), static_cast<unsigned char>(x & 0xFF),
                                         static_cast<unsigned char>(y >> 8), static_cast<unsigned char>(y & 0xFF)};
        if (p + 6 + 5 <= size) writeAt(p + 6, fields, 5);
    }

    if (head.size() >= 2 && head[0] == 'B' && head[1] == 'M') {
        // 39.4 per inch, as the program has always written it.
        const long double px = RoundToDigits(0, dpiX * 39.4L);
        const long double py = RoundToDigits(0, dpiY * 39.4L);
        constexpr long double lo = std::numeric_limits<std::int32_t>::min();
        constexpr long double hi = std::numeric_limits<std::int32_t>::max();
        if (px >= lo && px <= hi && py >= lo && py <= hi && size >= 46) {
            // The whole 32-bit fields, so that a value beyond 16 bits is kept.
            auto le = [](long double v, unsigned char* out) {
                const auto u = static_cast<std::uint32_t>(static_cast<std::int32_t>(v));
                for (int i = 0; i < 4; ++i) out[i] = static_cast<unsigned char>((u >> (8 * i)) & 0xFF);
            };
            unsigned char bx[4], by[4];
            le(px, bx);
            le(py, by);
            writeAt(38, bx, 4);
            writeAt(42, by, 4);
        } else {
            ok = false;
        }
    }
    if (changed && !SafeWriteFile(fileName, bytes).empty()) ok = false;
    return ok;
}

}  // namespace pelmar
