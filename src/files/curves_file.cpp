#include "files/curves_file.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <charconv>
#include <fstream>
#include <iterator>
#include <memory>

#include "files/companion.h"
#include "platform/safe_save.h"

namespace pelmar {

namespace {

constexpr char CurvesHead[] = "*Pel19 Curves File*";
constexpr int XzCurves = 55;
constexpr int XzOutlines = 3;
constexpr const char* XzGroups[5] = {"<Dec 1-", "<Dec 2-", "<Imp YZ-", "<Imp XZ-", "<Imp XY-"};

// The header of curve k (1..55) of a 3D coordinate system.
std::string XzHeader(int k) {
    return std::string(XzGroups[(k - 1) / 11]) + std::to_string((k - 1) % 11 + 1) + ">";
}

bool Finite(const DCurve2& c) {
    if (!std::isfinite(c.Position)) return false;
    const auto& lines = c.lines();
    const std::size_t n = std::min<std::size_t>(lines.size(), static_cast<std::size_t>(std::max(c.Count, 0)));
    for (std::size_t i = 0; i < n; ++i) {
        const auto& pts = lines[i].points();
        const std::size_t m = std::min<std::size_t>(pts.size(), static_cast<std::size_t>(std::max(lines[i].Count, 0)));
        for (std::size_t j = 0; j < m; ++j)
            if (!std::isfinite(pts[j].x) || !std::isfinite(pts[j].y)) return false;
    }
    return true;
}

bool AnyPresent(const DProj& doc) {
    for (std::size_t n = 1; n <= doc.Obj.Xy.count(); ++n)
        if (doc.Obj.Xy[n].Curves.Valid) return true;
    for (std::size_t n = 1; n <= doc.Obj.Xz.count(); ++n) {
        const DXZ& z = doc.Obj.Xz[n];
        for (int k = 1; k <= XzCurves; ++k)
            if (z.Curves[static_cast<std::size_t>(k)].Valid) return true;
        for (int j = 1; j <= XzOutlines; ++j)
            if (z.Outlines[static_cast<std::size_t>(j)].Lines.Valid) return true;
    }
    return false;
}

// The next line, or an empty one at the end of the file (headers are not checked).
std::string_view LineOrEmpty(LineReader& r) { return r.atEnd() ? std::string_view() : r.RawLine(); }

// A count of entries: -1 gives an empty array, below that is no count.
std::int32_t CountLine(LineReader& r) {
    const std::int32_t n = r.Int();
    if (n < -1) r.Fail("a negative count");
    return n;
}

}  // namespace

std::size_t FixedRealTo(char* buf, double v, char sep) {
    if (!std::isfinite(v)) v = 0;
    // 8 significant digits, rounded as printf rounds them.
    char sci[32];
    const char* sciEnd = std::to_chars(sci, sci + sizeof sci, v, std::chars_format::scientific, 7).ptr;
    const char* e = std::find(static_cast<const char*>(sci), sciEnd, 'e');
    int exp = 0;
    if (e < sciEnd) {
        const char* p = e + 1;
        const bool neg = *p == '-';
        if (*p == '+' || *p == '-') ++p;
        for (; p < sciEnd; ++p) exp = exp * 10 + (*p - '0');
        if (neg) exp = -exp;
    }
    char* out = buf;
    if (exp >= 8) {
        // More than 8 digits before the separator: the mantissa without its
        // trailing zeros, then the exponent.
        const char* mantEnd = e;
        const bool hasDot = std::find(static_cast<const char*>(sci), mantEnd, '.') != mantEnd;
        while (hasDot && mantEnd > sci && mantEnd[-1] == '0') --mantEnd;
        if (mantEnd > sci && mantEnd[-1] == '.') --mantEnd;
        for (const char* p = sci; p < mantEnd; ++p) *out++ = *p == '.' ? sep : *p;
        *out++ = 'E';
        out = std::to_chars(out, out + 12, exp).ptr;
        return static_cast<std::size_t>(out - buf);
    }
    if (exp >= 0) {
        // The fixed form with 7 - exp decimals rounds at the place the
        // scientific one did: its digits are those, the separator moved.
        const char* m = sci;
        if (*m == '-') *out++ = *m++;
        const char digits[8] = {m[0], m[2], m[3], m[4], m[5], m[6], m[7], m[8]};  // m[1] is the point
        for (int i = 0; i <= exp; ++i) *out++ = digits[i];
        *out++ = '.';
        for (int i = exp + 1; i < 8; ++i) *out++ = digits[i];
        for (int i = 0; i <= exp; ++i) *out++ = '0';
    } else {
        out = std::to_chars(out, buf + FixedRealMax, v, std::chars_format::fixed, 8).ptr;
    }
    bool nonZero = false;
    for (char* p = buf; p < out; ++p) {
        if (*p == '.') *p = sep;
        else if (*p >= '1' && *p <= '9') nonZero = true;
    }
    // No sign in front of a value that rounds to zero.
    if (buf[0] == '-' && !nonZero) {
        std::copy(buf + 1, out, buf);
        --out;
    }
    return static_cast<std::size_t>(out - buf);
}

std::string FixedReal(double v, char sep) {
    char buf[FixedRealMax];
    return std::string(buf, FixedRealTo(buf, v, sep));
}

bool CurvePointFlag(const CurvePoint& p) { return (std::bit_cast<std::uint64_t>(p.z) & 0xFF) != 0; }
void SetCurvePointFlag(CurvePoint& p, bool on) { p.z = std::bit_cast<double>(std::uint64_t{on ? 1u : 0u}); }

void WriteCurve(LineWriter& w, const DCurve2& c) {
    if (!c.Valid || !Finite(c)) {
        w.FlagL(false);
        return;
    }
    const char sep = w.separator();
    const auto& lines = c.lines();
    // The counts never exceed what the arrays hold.
    const std::int32_t count = std::clamp<std::int32_t>(c.Count, 0, static_cast<std::int32_t>(lines.size()));
    w.FlagL(true);
    w.Int(count);
    w.Int(c.Plane);
    char num[FixedRealMax];
    w.Raw(std::string_view(num, FixedRealTo(num, c.Position, sep)));
    for (std::int32_t i = 0; i < count; ++i) {
        const DCurve1& sub = lines[static_cast<std::size_t>(i)];
        const auto& pts = sub.points();
        const std::int32_t p = std::clamp<std::int32_t>(sub.Count, 0, static_cast<std::int32_t>(pts.size()));
        w.Raw("<SubCurve " + std::to_string(i + 1) + ">");
        w.Int(p);
        for (std::int32_t j = 0; j < p; ++j) {
            const CurvePoint& pt = pts[static_cast<std::size_t>(j)];
            w.Raw(std::string_view(num, FixedRealTo(num, pt.x, sep)));
            w.Raw(std::string_view(num, FixedRealTo(num, pt.y, sep)));
            w.FlagL(CurvePointFlag(pt));
        }
    }
}

void ReadCurve(LineReader& r, DCurve2& c) {
    LineOrEmpty(r);  // the header
    const std::string_view flag = LineOrEmpty(r);
    if (flag.size() == 1 && flag[0] == FlagFalse) {
        c.Valid = 0;
        return;
    }
    c.Valid = 1;
    try {
        const std::int32_t count = CountLine(r);
        const std::uint8_t plane = r.Byte();
        const double position = r.Real();
        std::vector<DCurve1> lines;
        lines.reserve(static_cast<std::size_t>(std::min<std::int64_t>(std::int64_t{count} + 1, 1024)));
        for (std::int32_t i = 0; i < count; ++i) {
            LineOrEmpty(r);  // "<SubCurve i>"
            DCurve1 sub;
            sub.Count = CountLine(r);
            std::vector<CurvePoint> pts;
            pts.reserve(static_cast<std::size_t>(std::min<std::int64_t>(std::int64_t{sub.Count} + 1, 4096)));
            for (std::int32_t j = 0; j < sub.Count; ++j) {
                CurvePoint pt;
                pt.x = r.Real();
                pt.y = r.Real();
                SetCurvePointFlag(pt, r.IsI());
                pts.push_back(pt);
            }
            if (sub.Count >= 0) pts.emplace_back();  // the last entry stays empty
            sub.Points = std::make_shared<const std::vector<CurvePoint>>(std::move(pts));
            lines.push_back(std::move(sub));
        }
        if (count >= 0) lines.emplace_back();
        c.Count = count;
        c.Plane = plane;
        c.Position = position;
        c.Lines = std::make_shared<const std::vector<DCurve1>>(std::move(lines));
    } catch (...) {
        c.Valid = 0;  // computed again rather than shown half read
        throw;
    }
}

void WriteCurvesFile(const std::string& docName, const DProj& doc, char sep, const std::string& stamp, bool scratch) {
    if (!AnyPresent(doc)) return;
    // Reserved at the size of the last curves file written on this thread:
    // the bytes grow in one block instead of being copied from block to
    // ever larger block.
    thread_local std::size_t lastSize = 0;
    std::string memory;
    memory.reserve(lastSize + lastSize / 8);
    LineWriter w(sep, std::move(memory));
    struct KeepSize {
        LineWriter& w;
        ~KeepSize() { lastSize = w.bytes().size(); }
    } keepSize{w};
    w.Raw(CurvesHead);
    for (std::size_t n = 1; n <= doc.Obj.Xy.count(); ++n) {
        w.Raw("<XY " + std::to_string(n) + ">");
        WriteCurve(w, doc.Obj.Xy[n].Curves);
    }
    for (std::size_t n = 1; n <= doc.Obj.Xz.count(); ++n) {
        const DXZ& z = doc.Obj.Xz[n];
        for (int k = 1; k <= XzCurves; ++k) {
            w.Raw(XzHeader(k));
            WriteCurve(w, z.Curves[static_cast<std::size_t>(k)]);
        }
        for (int j = 1; j <= XzOutlines; ++j) {
            w.Raw("<OutLine " + std::to_string(j) + ">");
            WriteCurve(w, z.Outlines[static_cast<std::size_t>(j)].Lines);
        }
    }
    // After the last curve, where no reader of the file looks.
    if (!stamp.empty()) w.Raw(StampLine(stamp));
    // Silently, as every companion-file failure.
    SafeWriteFile(CompanionFileName(docName, ".cur"), w.bytes(), !scratch);
}

void ReadCurvesFile(const std::string& docName, DProj& doc, char sep, const std::string& stamp) {
    std::ifstream in(CompanionFileName(docName, ".cur"), std::ios::binary);
    if (!in) return;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // A curves file of another save counts as missing.
    if (LastLineStamp(bytes) != stamp) return;
    LineReader r(bytes, 19, sep);
    // A damaged curves file ends the reading: the curves read so far stay, the
    // one being read and the rest stay not present and are computed again.
    // The document itself has been read and stays open.
    try {
        LineOrEmpty(r);  // "*Pel19 Curves File*", not checked
        for (std::size_t n = 1; n <= doc.Obj.Xy.count(); ++n) ReadCurve(r, doc.Obj.Xy[n].Curves);
        for (std::size_t n = 1; n <= doc.Obj.Xz.count(); ++n) {
            DXZ& z = doc.Obj.Xz[n];
            for (int k = 1; k <= XzCurves; ++k) ReadCurve(r, z.Curves[static_cast<std::size_t>(k)]);
            for (int j = 1; j <= XzOutlines; ++j) ReadCurve(r, z.Outlines[static_cast<std::size_t>(j)].Lines);
        }
    } catch (const FormatError&) {
    }
}

}  // namespace pelmar
