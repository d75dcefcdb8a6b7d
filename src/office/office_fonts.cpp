#include "office/office_fonts.h"

#include <fontconfig/fontconfig.h>

#include <QFontMetricsF>
#include <QString>
#include <cstdint>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <string_view>
#include <tuple>
#include <vector>

#include "platform/qt_text.h"

namespace pelmar {

namespace {

// The tables of one font of an OpenType (or TrueType) file, or of a font
// collection's font `index`.
class SfntTables {
public:
    bool read(const std::string& path, int index) {
        std::ifstream in(path, std::ios::binary);
        if (!in) return false;
        data_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        std::size_t dir = 0;
        if (tag(0) == "ttcf") {
            if (index < 0 || static_cast<std::uint32_t>(index) >= u32(8)) return false;
            dir = u32(12 + 4 * static_cast<std::size_t>(index));
        }
        const std::size_t count = u16(dir + 4);
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t rec = dir + 12 + 16 * i;
            if (rec + 16 > data_.size()) return false;
            tables_[std::string(tag(rec))] = {u32(rec + 8), u32(rec + 12)};
        }
        return tables_.count("head") != 0;
    }

    // A big-endian field of a table; nullopt when the table is too short.
    std::optional<int> s16(const char* table, std::size_t at) const {
        const auto u = u16At(table, at);
        if (!u) return std::nullopt;
        return static_cast<std::int16_t>(*u);
    }
    std::optional<int> u16At(const char* table, std::size_t at) const {
        const auto t = tables_.find(table);
        if (t == tables_.end() || at + 2 > t->second.second || t->second.first + at + 2 > data_.size())
            return std::nullopt;
        return static_cast<int>(u16(t->second.first + at));
    }

private:
    std::string_view tag(std::size_t at) const {
        return at + 4 <= data_.size() ? std::string_view(data_.data() + at, 4) : std::string_view();
    }
    std::uint32_t u16(std::size_t at) const {
        if (at + 2 > data_.size()) return 0;
        return static_cast<std::uint32_t>(static_cast<unsigned char>(data_[at]) << 8 |
                                          static_cast<unsigned char>(data_[at + 1]));
    }
    std::uint32_t u32(std::size_t at) const { return u16(at) << 16 | u16(at + 2); }

    std::vector<char> data_;
    std::map<std::string, std::pair<std::uint32_t, std::uint32_t>> tables_;  // offset, length
};

// LibreOffice's reading of the heights (its font metric code): the
// horizontal header's values, the OS/2 window values when the header has
// none, and the typographic values when the font asks for them.
std::optional<LineShares> SharesOf(const SfntTables& t) {
    const auto upem = t.u16At("head", 18);
    if (!upem || *upem == 0) return std::nullopt;
    const double scale = 1.0 / *upem;
    LineShares s;
    const int ascender = t.s16("hhea", 4).value_or(0), descender = t.s16("hhea", 6).value_or(0);
    if (ascender != 0 || descender != 0) {
        s.ascent = ascender * scale;
        s.descent = -descender * scale;
        s.gap = t.s16("hhea", 8).value_or(0) * scale;
    }
    const int winAscent = t.u16At("OS/2", 74).value_or(0), winDescent = t.u16At("OS/2", 76).value_or(0);
    const int typoAscender = t.s16("OS/2", 68).value_or(0), typoDescender = t.s16("OS/2", 70).value_or(0);
    if (winAscent != 0 || winDescent != 0 || typoAscender != 0 || typoDescender != 0) {
        if (s.ascent == 0 && s.descent == 0) {
            s.ascent = winAscent * scale;
            s.descent = winDescent * scale;
            s.gap = 0;
        }
        constexpr int UseTypoMetrics = 1 << 7;
        if ((t.u16At("OS/2", 62).value_or(0) & UseTypoMetrics) && typoAscender >= 0 && typoDescender <= 0) {
            s.ascent = typoAscender * scale;
            s.descent = -typoDescender * scale;
            s.gap = t.s16("OS/2", 72).value_or(0) * scale;
        }
    }
    if (s.ascent <= 0 && s.descent <= 0) return std::nullopt;
    return s;
}

// The shares of the first font file fontconfig offers for the family and
// style that LibreOffice can use (it draws with TrueType and CFF outlines
// only).
std::optional<LineShares> FontFileShares(const std::string& family, bool bold, bool italic) {
    if (!FcInit()) return std::nullopt;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return std::nullopt;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcFontSet* fonts = FcFontSort(nullptr, pattern, FcFalse, nullptr, &result);
    std::optional<LineShares> shares;
    for (int i = 0; fonts && i < fonts->nfont && !shares; ++i) {
        FcChar8* file = nullptr;
        FcChar8* format = nullptr;
        int index = 0;
        if (FcPatternGetString(fonts->fonts[i], FC_FILE, 0, &file) != FcResultMatch) continue;
        if (FcPatternGetString(fonts->fonts[i], FC_FONTFORMAT, 0, &format) != FcResultMatch) continue;
        const std::string_view f(reinterpret_cast<const char*>(format));
        if (f != "TrueType" && f != "CFF") continue;
        FcPatternGetInteger(fonts->fonts[i], FC_INDEX, 0, &index);
        SfntTables tables;
        if (tables.read(reinterpret_cast<const char*>(file), index)) shares = SharesOf(tables);
    }
    if (fonts) FcFontSetDestroy(fonts);
    FcPatternDestroy(pattern);
    return shares;
}

}  // namespace

LineShares OfficeLineShares(const std::string& family, bool bold, bool italic) {
    static std::mutex lock;
    static std::map<std::tuple<std::string, bool, bool>, LineShares> known;
    const std::lock_guard<std::mutex> hold(lock);
    const auto key = std::make_tuple(family, bold, italic);
    const auto found = known.find(key);
    if (found != known.end()) return found->second;
    LineShares s;
    if (const auto file = FontFileShares(family, bold, italic)) {
        s = *file;
    } else {
        constexpr double Size = 1000;
        const QFontMetricsF m(MakeQFont(Font{family, Size, bold, italic}, true));
        s.ascent = m.ascent() / Size;
        s.descent = m.descent() / Size;
    }
    known.emplace(key, s);
    return s;
}

double OfficeTextWidth(const std::string& family, bool bold, bool italic, double size, const std::string& text) {
    if (text.empty() || !(size > 0)) return 0;
    constexpr double Size = 1000;
    const QFontMetricsF m(MakeQFont(Font{family, Size, bold, italic}, true));
    return m.horizontalAdvance(QString::fromStdString(text)) * size / Size;
}

}  // namespace pelmar
