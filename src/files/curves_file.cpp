#include "files/curves_file.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <charconv>
#include <memory>
#include <new>

#include "files/companion.h"
#include "platform/safe_save.h"
#include "platform/side_file.h"

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
// Each entry takes at least `entryBytes` of the bytes left (its lines of at
// least one character and a line end, the last one perhaps without): a count
// that the rest of the file cannot hold is refused before anything is
// allocated from it.
std::int32_t CountLine(LineReader& r, std::size_t entryBytes) {
    const std::int32_t n = r.Int();
    if (n < -1) r.Fail("a negative count");
    if (n > 0 && static_cast<std::size_t>(n) - 1 > r.remaining() / entryBytes) r.Fail("a count beyond the file");
    return n;
}

// The points of every sub-curve without points: one shared array each for
// a count of 0 (the one empty last entry) and of -1 (no entry), so that a
// file of empty sub-curves costs a few bytes of memory per entry.
std::shared_ptr<const std::vector<CurvePoint>> NoPoints(bool withLast) {
    static const auto none = std::make_shared<const std::vector<CurvePoint>>();
    static const auto last = std::make_shared<const std::vector<CurvePoint>>(1);
    return withLast ? last : none;
}

// The memory a read curve takes: each sub-curve its entry and, when it has
// points, their array with its shared block.
void Spend(LineReader& r, CurvesBudget* budget, std::size_t bytes) {
    if (!budget) return;
    if (bytes > budget->memory) r.Fail("more curves than the file's size allows");
    budget->memory -= bytes;
}

// The bytes a read curve takes written back: a number is written at its full
// width ("0" read is "0,00000000" written), whatever its text in the file.
void SpendWritten(LineReader& r, CurvesBudget* budget, std::size_t bytes) {
    if (!budget) return;
    if (bytes > budget->written) r.Fail("more curves than a curves file holds written back");
    budget->written -= bytes;
}
std::size_t WrittenLine(std::size_t chars) { return chars + 2; }
std::size_t WrittenReal(double v) {
    char num[FixedRealMax];
    return WrittenLine(FixedRealTo(num, v, '.'));
}
std::size_t WrittenInt(std::int64_t v) { return WrittenLine(std::to_string(v).size()); }
// The header line of a curve, "<Imp XY-11>" at the longest.
constexpr std::size_t WrittenHeader = 16;

// The largest curves file read.  A document holds at most 10 plane sets
// and 2 x 58 space sets of curves.  A set is traced across the picture (at
// most PictureSideMax = 5000 pixels a side), column by column, a few points a
// column: some tens of thousands of points of three lines, about 35 bytes,
// a megabyte or two a set.  126 sets at that are some 250 MB: a larger file
// is none the program wrote, and its curves are computed again rather than
// read into gigabytes of memory.
constexpr std::size_t MaxCurvesFileBytes = std::size_t{256} << 20;
// The memory the curves of a file may take, per byte of the file: a written
// point (about 35 bytes in the file) takes 24 bytes, a written sub-curve of
// one point about 140 bytes for its 45.  A hand-made file of short lines
// that would take more is damaged.
constexpr std::size_t CurvesMemoryPerByte = 4;
// Kept free below the cap by the curves: the file's head, the header and
// "not present" lines of curves not written and the stamp line.
constexpr std::size_t CurvesFileTail = std::size_t{64} << 10;

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

void ReadCurve(LineReader& r, DCurve2& c, CurvesBudget* budget) {
    LineOrEmpty(r);  // the header
    const std::string_view flag = LineOrEmpty(r);
    if (flag.size() == 1 && flag[0] == FlagFalse) {
        c.Valid = 0;
        SpendWritten(r, budget, WrittenHeader + WrittenLine(1));
        return;
    }
    c.Valid = 1;
    try {
        // A sub-curve takes at least two lines (its header and its count).
        const std::int32_t count = CountLine(r, 2);
        const std::uint8_t plane = r.Byte();
        const double position = r.Real();
        const std::size_t entries = static_cast<std::size_t>(std::max(count + 1, 0));
        Spend(r, budget, entries * sizeof(DCurve1));
        SpendWritten(r, budget, WrittenHeader + WrittenLine(1) + WrittenInt(count) + WrittenInt(plane) + WrittenReal(position));
        std::vector<DCurve1> lines;
        lines.reserve(entries);
        for (std::int32_t i = 0; i < count; ++i) {
            LineOrEmpty(r);  // "<SubCurve i>"
            DCurve1 sub;
            // A point takes at least three lines, two of them numbers.
            sub.Count = CountLine(r, 5);
            std::size_t written = WrittenLine(std::string_view("<SubCurve >").size() + std::to_string(i + 1).size()) +
                                  WrittenInt(std::max(sub.Count, 0));
            if (sub.Count <= 0) {
                sub.Points = NoPoints(sub.Count == 0);
            } else {
                const std::size_t n = static_cast<std::size_t>(sub.Count) + 1;  // the last entry stays empty
                Spend(r, budget, n * sizeof(CurvePoint) + 64);
                std::vector<CurvePoint> pts;
                pts.reserve(n);
                for (std::int32_t j = 0; j < sub.Count; ++j) {
                    CurvePoint pt;
                    pt.x = r.Real();
                    pt.y = r.Real();
                    SetCurvePointFlag(pt, r.IsI());
                    written += WrittenReal(pt.x) + WrittenReal(pt.y) + WrittenLine(1);
                    pts.push_back(pt);
                }
                pts.emplace_back();
                sub.Points = std::make_shared<const std::vector<CurvePoint>>(std::move(pts));
            }
            SpendWritten(r, budget, written);
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

bool CurvesFileWanted(const DProj& doc) { return AnyPresent(doc); }

std::string WriteCurvesFile(const std::string& docName, const DProj& doc, char sep, const std::string& stamp,
                            bool scratch) {
    if (!AnyPresent(doc)) return {};
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
    // A curve that would make the file larger than its reader takes is
    // written as not present: computed again after reading.
    const auto curve = [&w](const std::string& header, const DCurve2& c) {
        w.Raw(header);
        const std::size_t before = w.bytes().size();
        WriteCurve(w, c);
        if (w.bytes().size() <= MaxCurvesFileBytes - CurvesFileTail) return;
        w.Truncate(before);
        w.FlagL(false);
    };
    w.Raw(CurvesHead);
    for (std::size_t n = 1; n <= doc.Obj.Xy.count(); ++n) curve("<XY " + std::to_string(n) + ">", doc.Obj.Xy[n].Curves);
    for (std::size_t n = 1; n <= doc.Obj.Xz.count(); ++n) {
        const DXZ& z = doc.Obj.Xz[n];
        for (int k = 1; k <= XzCurves; ++k) curve(XzHeader(k), z.Curves[static_cast<std::size_t>(k)]);
        for (int j = 1; j <= XzOutlines; ++j)
            curve("<OutLine " + std::to_string(j) + ">", z.Outlines[static_cast<std::size_t>(j)].Lines);
    }
    // After the last curve, where no reader of the file looks.
    if (!stamp.empty()) w.Raw(StampLine(stamp));
    return SafeWriteFile(CompanionFileName(docName, ".cur"), w.bytes(), !scratch);
}

void ReadCurvesFile(const std::string& docName, DProj& doc, char sep, const std::string& stamp) {
    // What cannot be read whole (no regular file, beyond the cap, a read
    // error) counts as missing: the curves are computed again.
    const SideFileBytes read = ReadSideFile(CompanionFileName(docName, ".cur"), MaxCurvesFileBytes, SideFileCap::Refuse);
    if (read.state != SideFileBytes::State::Read) return;
    const std::string& bytes = read.bytes;
    // A curves file of another save counts as missing.
    if (LastLineStamp(bytes) != stamp) return;
    LineReader r(bytes, 19, sep);
    // Only what is written back within the cap is taken: the next open
    // reads the same curves again.
    CurvesBudget budget{CurvesMemoryPerByte * bytes.size() + (std::size_t{1} << 20), MaxCurvesFileBytes - CurvesFileTail};
    // A damaged curves file ends the reading: the curves read so far stay, the
    // one being read and the rest stay not present and are computed again.
    // The document itself has been read and stays open.  So does one whose
    // curves find no memory.
    try {
        LineOrEmpty(r);  // "*Pel19 Curves File*", not checked
        for (std::size_t n = 1; n <= doc.Obj.Xy.count(); ++n) ReadCurve(r, doc.Obj.Xy[n].Curves, &budget);
        for (std::size_t n = 1; n <= doc.Obj.Xz.count(); ++n) {
            DXZ& z = doc.Obj.Xz[n];
            for (int k = 1; k <= XzCurves; ++k) ReadCurve(r, z.Curves[static_cast<std::size_t>(k)], &budget);
            for (int j = 1; j <= XzOutlines; ++j)
                ReadCurve(r, z.Outlines[static_cast<std::size_t>(j)].Lines, &budget);
        }
    } catch (const FormatError&) {
    } catch (const std::bad_alloc&) {
    }
}

}  // namespace pelmar
