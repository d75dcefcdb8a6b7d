// What the object blocks share: one list of a block's lines serves both
// ways.  A block function takes a BlockOut, which writes each line, or a
// BlockIn, which reads it back into the record, in the same order; the
// record is const when writing.
//
// A flag line is named by how it is read: Not0 and Is1 lines are written
// "1"/"0" and read as "not 0" or as "exactly 1"; NotL and IsI lines are
// written "и"/"л" and read as "not л" or as "exactly и".  Int and Byte lines
// are written alike; a Byte line reads 0..255 only.  since(v) holds for
// every line a file of version v has: always when writing.
#pragma once

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "files/object_blocks.h"
#include "files/text_lines.h"
#include "model/records.h"

namespace pelmar::blocks {

// Texts of an array, named field[1], field[2], ... in the changes collected.
template <class Range>
void WriteTexts(LineWriter& out, const Range& texts, const char* field) {
    int i = 0;
    for (const std::string& t : texts) out.Text(t, field, ++i, &t);
}

class BlockOut {
public:
    static constexpr bool reading = false;
    static constexpr bool roundTrip = false;
    explicit BlockOut(LineWriter& out) : out(out) {}

    bool since(int) const { return true; }
    // The header line of a part: the block's own followed by the part's.
    static std::string sub(const std::string& header, std::string_view part) { return header + std::string(part); }
    void Header(const std::string& header) { out.Header(header); }
    void Text(const std::string& t, const char* field, int index = 0) { out.Text(t, field, index, &t); }
    // An animation formula, from version 14 on.
    void Anim(const std::string& t, const char* field, int index = 0) { out.Text(t, field, index, &t); }
    template <class Range>
    void Anims(const Range& texts, const char* field) { WriteTexts(out, texts, field); }
    void Int(std::int64_t v) { out.Int(v); }
    void Byte(std::int64_t v) { out.Int(v); }
    void Real(double v) { out.Real(v); }
    void Color32(TColor c) { out.Int(static_cast<std::int32_t>(c)); }
    void Not0(bool b) { out.Flag01(b); }
    void Is1(bool b) { out.Flag01(b); }
    void NotL(bool b) { out.FlagL(b); }
    void IsI(bool b) { out.FlagL(b); }
    // A line no reader looks at.
    void Unused() { out.Raw("X"); }

    LineWriter& out;
};

class BlockIn {
public:
    static constexpr bool reading = true;
    static constexpr bool roundTrip = false;
    explicit BlockIn(LineReader& in) : in(in) {}

    bool since(int version) const { return in.version() >= version; }
    static std::string sub(const std::string&, std::string_view) { return {}; }
    void Header(const std::string&) { in.Skip(); }
    void Text(std::string& t, const char*, int = 0) { t = in.Text(); }
    // Older files give empty texts.
    void Anim(std::string& t, const char*, int = 0) { t = since(14) ? in.Text() : std::string(); }
    template <class Range>
    void Anims(Range& texts, const char* field) {
        for (auto& t : texts) Anim(t, field);
    }
    template <class T>
    void Int(T& v) { v = in.Int(); }
    template <class T>
    void Byte(T& v) { v = in.Byte(); }
    void Real(double& v) { v = in.Real(); }
    void Color32(TColor& c) { c = in.Color32(); }
    void Not0(bool& b) { b = in.Not0(); }
    void Is1(bool& b) { b = in.Is1(); }
    void NotL(bool& b) { b = in.NotL(); }
    void IsI(bool& b) { b = in.IsI(); }
    void Unused() { in.Skip(); }

    LineReader& in;
};

// A block's values put in place as writing the block and reading it back
// gives them, without the text between: a real as its 15 digits read back,
// a text through the code page, everything else as it is.  `key` gets what
// the lines hold, so that two records with equal keys write equal blocks.
// `unwritable`: a real that is not finite was met, which no file holds;
// `unreadable`: a value whose line the reader refuses (a whole number beyond
// its range).  The values are then put only in part.
//
// Without `texts` the texts are left out, of the key too (a record whose
// texts are as read already); without `put` only the key is made.
class BlockRoundTrip {
public:
    static constexpr bool reading = true;
    static constexpr bool roundTrip = true;
    // The key goes into `key`, emptied first (its room is kept); it holds
    // the whole key once the round trip is gone.
    explicit BlockRoundTrip(std::string& key, bool texts = true, bool put = true)
        : texts(texts), put(put), key(key) {
        key.resize(key.capacity());
    }
    ~BlockRoundTrip() { key.resize(used); }
    BlockRoundTrip(const BlockRoundTrip&) = delete;
    BlockRoundTrip& operator=(const BlockRoundTrip&) = delete;

    bool since(int) const { return true; }
    static std::string sub(const std::string&, std::string_view) { return {}; }
    void Header(const std::string&) {}
    void Text(std::string& t, const char*, int = 0) {
        if (!texts) return;
        if (PlainTextLine(t)) {
            Put(t);
            return;
        }
        const std::string bytes = TextLineBytes(t);
        Put(bytes);
        t = Cp1251ToUtf8(bytes);
    }
    void Anim(std::string& t, const char* field, int index = 0) { Text(t, field, index); }
    template <class Range>
    void Anims(Range& texts, const char* field) {
        for (auto& t : texts) Anim(t, field);
    }
    // Written as the 64-bit value, read back as a 32-bit one.
    template <class T>
    void Int(T& v) {
        const std::int64_t w = v;
        if (w < INT32_MIN || w > INT32_MAX) {
            unreadable = true;
            return;
        }
        const auto r = static_cast<std::int32_t>(w);
        PutBits(r);
        if (put) v = r;
    }
    template <class T>
    void Byte(T& v) {
        const std::int64_t w = v;
        if (w < 0 || w > 255) {
            unreadable = true;
            return;
        }
        const auto r = static_cast<std::uint8_t>(w);
        PutBits(r);
        if (put) v = r;
    }
    void Real(double& v) {
        // The value read back stands for its text: two texts that differ
        // read as two values.
        if (!std::isfinite(v)) {
            unwritable = true;
            return;
        }
        // A subnormal value has too few bits for every text of 15 digits:
        // its text goes into the key itself.
        if (v != 0 && std::fabs(v) < DBL_MIN) {
            char text[RealTextMax];
            Put(std::string_view(text, FormatRealTo(text, v, '.')));
        }
        double r = v;
        if (!RealAsRead(v, r)) unreadable = true;
        PutBits(r);
        if (put) v = r;
    }
    void Color32(TColor& c) { PutBits(c); }
    void Not0(bool& b) { PutBits(b); }
    void Is1(bool& b) { PutBits(b); }
    void NotL(bool& b) { PutBits(b); }
    void IsI(bool& b) { PutBits(b); }
    void Unused() {}
    // A line held byte for byte (a point's link line).
    template <class T>
    void Bytes(const T& v) { PutBits(v); }

    // Bytes added to the key as they are.
    void Append(std::string_view bytes) {
        Room(bytes.size());
        std::memcpy(key.data() + used, bytes.data(), bytes.size());
        used += bytes.size();
    }

    const bool texts, put;
    bool unwritable = false, unreadable = false;

    BlockTrip result() const {
        return unwritable ? BlockTrip::Unwritable : unreadable ? BlockTrip::Unreadable : BlockTrip::Read;
    }

private:
    void Put(std::string_view text) {
        const auto n = static_cast<std::uint32_t>(text.size());
        PutBits(n);
        Append(text);
    }
    // The key is written through its whole room, which grows by doubling;
    // a value is one copy of its bits.
    void Room(std::size_t n) {
        if (used + n > key.size()) key.resize(std::max<std::size_t>(2 * key.size(), used + n + 256));
    }
    template <class T>
    void PutBits(const T& v) {
        Room(sizeof v);
        std::memcpy(key.data() + used, &v, sizeof v);
        used += sizeof v;
    }

    std::string& key;
    std::size_t used = 0;
};

template <class IO, class H>
void Head(IO& io, H& h, const std::string& header) {
    io.Header(header);
    io.Text(h.ID.s, "ID");
    io.Byte(h.Layer.v);
    io.Int(h.Thick.v);
    io.Byte(h.ColorIndex.v);
    io.Not0(h.Disabled.v);
}

// The creation number, from version 19 on; older files give 0.
template <class IO, class N>
void Number(IO& io, N& n) {
    if (io.since(19)) io.Int(n);
    else if constexpr (IO::reading) n = 0;
}

// Fill on and the three colours as plain integers, from version 17 on;
// older files leave the fill as it was.
template <class IO, class F>
void Fill(IO& io, F& f) {
    if (!io.since(17)) return;
    io.NotL(f.On);
    for (auto& c : f.Colors) io.Color32(c);
}

// The shift and rotation of a graph.
template <class IO, class M>
void Move(IO& io, M& m) {
    io.IsI(m.Moved.v);
    io.Real(m.DX.v);
    io.Real(m.DY.v);
    io.Real(m.DZ.v);
    io.IsI(m.Rotated.v);
    io.Real(m.Angle.v);
    io.Real(m.CX.v);
    io.Real(m.CY.v);
    io.Real(m.CZ.v);
    io.Real(m.NX.v);
    io.Real(m.NY.v);
    io.Real(m.NZ.v);
}

// The tick marks and numbering of a coordinate system; the 2D system has its
// flags as "1"/"0", the 3D one as letters.
template <class IO, class System>
void Numbering(IO& io, System& x, bool letterFlags) {
    const auto flag = [&](auto& on) { letterFlags ? io.NotL(on) : io.Not0(on); };
    io.Int(x.MarkWidth.v);
    io.Int(x.MarkHeight.v);
    flag(x.NumbersOn.v);
    io.Int(x.NumberStep.v);
    io.Text(x.NumberFont.s, "NumberFont");
    flag(x.NumbersItalic.v);
    flag(x.NumbersBold.v);
    io.Int(x.NumberSize.v);
}

// The line style of a graph, from version 11 on; version 10 gives solid,
// solid, 10, 10.
template <class IO, class S>
void Style(IO& io, S& s) {
    if (io.since(11)) {
        io.Byte(s.Visible.v);
        io.Byte(s.Hidden.v);
        io.Int(s.Dash.v);
        io.Int(s.Gap.v);
    } else if constexpr (IO::reading) {
        s.Visible.v = 1;
        s.Hidden.v = 1;
        s.Dash.v = 10;
        s.Gap.v = 10;
    }
}

// Formula texts of the graphs: the first `arrays` arrays, graph by graph,
// named "Texts" 10·array + graph.
template <class IO, class Arrays>
void GraphTexts(IO& io, Arrays& texts, std::size_t arrays) {
    for (std::size_t g = 1; g <= texts[0].size(); ++g)
        for (std::size_t a = 0; a < arrays; ++a) io.Anim(texts[a][g], "Texts", static_cast<int>(10 * a + g));
}

// The blocks of the plane kinds, for the blocks that hold them as parts.
template <class IO, class P>
void PointBlock(IO& io, P& p, const std::string& header);
template <class IO, class L>
void LineBlock(IO& io, L& l, const std::string& header);
template <class IO, class C>
void CircleBlock(IO& io, C& c, const std::string& header);
template <class IO, class T>
void TriangleBlock(IO& io, T& t, const std::string& header);
template <class IO, class K>
void TetragonBlock(IO& io, K& k, const std::string& header);

// A computed curve set cut back to one empty polyline, not current: its
// polylines come again from the curves file or the next drawing.
void ResetCurves(DCurve2& c);

}  // namespace pelmar::blocks

// The writer, the reader and the round trip of a kind's block
// (object_blocks.h) through the kind's one list of lines, Name##Block, made
// for every way.
#define PELMAR_OBJECT_BLOCK(Name, Rec)                                                  \
    template void blocks::Name##Block(blocks::BlockOut&, const Rec&, const std::string&); \
    template void blocks::Name##Block(blocks::BlockIn&, Rec&, const std::string&);        \
    template void blocks::Name##Block(blocks::BlockRoundTrip&, Rec&, const std::string&); \
    void Write##Name##Block(LineWriter& out, const Rec& r, const std::string& header) {   \
        blocks::BlockOut io(out);                                                         \
        blocks::Name##Block(io, r, header);                                               \
    }                                                                                     \
    void Read##Name##Block(LineReader& in, Rec& r) {                                      \
        blocks::BlockIn io(in);                                                           \
        blocks::Name##Block(io, r, std::string());                                        \
    }                                                                                     \
    BlockTrip RoundTripBlock(Rec& r, std::string& key, bool texts, bool put) {            \
        blocks::BlockRoundTrip io(key, texts, put);                                       \
        blocks::Name##Block(io, r, std::string());                                        \
        return io.result();                                                               \
    }
