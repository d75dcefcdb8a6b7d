#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "files/picture_files.h"

namespace pelmar {

long double RoundToDigits(int digits, long double value) {
    // 10^|digits| as an exact integer power; negative digits round to tens,
    // hundreds, ...
    long double p = 1;
    for (int i = 0; i < std::abs(digits) && i < 30; ++i) p *= 10;
    if (digits >= 0) return std::rint(value * p) / p;
    return std::rint(value / p) * p;
}

namespace {

bool WriteAt(std::FILE* f, long offset, const unsigned char* bytes, std::size_t n) {
    return std::fseek(f, offset, SEEK_SET) == 0 && std::fwrite(bytes, 1, n, f) == n;
}

}  // namespace

bool StampResolution(const std::string& fileName, int dpiX, int dpiY) {
    std::FILE* f = std::fopen(fileName.c_str(), "r+b");
    if (!f) return false;
    unsigned char head[50];
    const std::size_t got = std::fread(head, 1, sizeof head, f);
    long size = 0;
    if (std::fseek(f, 0, SEEK_END) == 0) size = std::ftell(f);
    bool ok = true;

    const unsigned char jfif[4] = {'J', 'F', 'I', 'F'};
    const unsigned char* hit = got >= 4 ? std::search(head, head + got, jfif, jfif + 4) : head + got;
    if (hit != head + got) {
        const long p = (hit - head) + 1;  // 1-based position of "JFIF"
        // The density fields hold 16 bits: a resolution beyond is kept at the largest.
        const unsigned x = static_cast<unsigned>(std::clamp(dpiX, 0, 0xFFFF));
        const unsigned y = static_cast<unsigned>(std::clamp(dpiY, 0, 0xFFFF));
        const unsigned char fields[5] = {1, static_cast<unsigned char>(x >> 8), static_cast<unsigned char>(x & 0xFF),
                                         static_cast<unsigned char>(y >> 8), static_cast<unsigned char>(y & 0xFF)};
        if (p + 6 + 5 <= size) ok = WriteAt(f, p + 6, fields, 5) && ok;
    }

    if (got >= 2 && head[0] == 'B' && head[1] == 'M') {
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
            ok = WriteAt(f, 38, bx, 4) && WriteAt(f, 42, by, 4) && ok;
        } else {
            ok = false;
        }
    }
    if (std::fclose(f) != 0) ok = false;
    return ok;
}

}  // namespace pelmar
