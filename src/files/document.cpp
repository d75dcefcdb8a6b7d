// The frame of the document text format: header, object counts, picture and
// fill settings, window and dialog state, print settings, info texts,
// animation settings, the object blocks in kind order and the end marker.
#include "files/document.h"
#include "files/save_failure.h"

#include <QImage>
#include <algorithm>
#include <cassert>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <memory>
#include <new>
#include <string_view>
#include <type_traits>

#include "drawing/redraw.h"
#include "files/block_common.h"
#include "files/companion.h"
#include "files/object_blocks.h"
#include "files/text_lines.h"
#include "files/word_table.h"
#include "model/flip.h"
#include "model/recompute.h"
#include "model/update.h"
#include "platform/safe_save.h"
#include "platform/side_file.h"

namespace pelmar {

namespace {

// Kind literals of the object block headers, followed by the index and ">".
constexpr std::array<const char*, KindCount> kHeaders = {
    "<POINT №", "<LINE №", "<CIRCLE №", "<TRIANGLE №", "<TETRAGON №", "<XOY №", "<ORB №",
    "<CYLINDER №", "<CONE №", "<PYRAMID3 №", "<PYRAMID4 №", "<PRISM3 №", "<PRISM4 №", "<XYZ №",
};

// A packed field keeps its width only while the value fits in it: a value
// outside is written as the nearest one that fits, so that the fields after it
// stay in place.
std::string PackedField(std::int32_t v, int width) {
    const std::int32_t hi = width == 4 ? 9999 : 99;
    const std::int32_t lo = width == 4 ? -999 : -9;
    return IntToZeroPadStr(std::clamp(v, lo, hi), width);
}

// The I-th field of a packed line (1-based start, width characters).
std::int32_t PackedInt(LineReader& in, std::string_view line, std::size_t start, std::size_t width) {
    std::int64_t v = 0;
    if (line.size() < start - 1 + width || !ParseInt(line.substr(start - 1, width), v)) in.Fail("a packed field is not a number");
    return static_cast<std::int32_t>(v);
}

std::uint8_t PackedByte(LineReader& in, std::string_view line, std::size_t start, std::size_t width) {
    const std::int32_t v = PackedInt(in, line, start, width);
    if (v < 0 || v > 255) in.Fail("a packed byte out of range");
    return static_cast<std::uint8_t>(v);
}

std::string Header(std::size_t kind, std::size_t n) { return std::string(kHeaders[kind]) + std::to_string(n) + ">"; }

template <class T, std::size_t N, class F>
void WriteStore(LineWriter& out, const Store<T, N>& s, std::size_t kind, F&& write) {
    for (std::size_t n = 1; n <= s.count(); ++n) write(out, s[n], Header(kind, n));
}

template <class T, std::size_t N, class F>
void ReadStore(LineReader& in, Store<T, N>& s, F&& read) {
    for (std::size_t n = 1; n <= s.count(); ++n) read(in, s[n]);
}

// A document text's memory, reserved at the size of the last one written
// on this thread: the text of a few megabytes grows in one block instead of
// being copied from block to ever larger block.
struct TextBuffer {
    std::string bytes;
    TextBuffer() { bytes.reserve(LastSize() + LastSize() / 8); }
    ~TextBuffer() { LastSize() = bytes.size(); }
    TextBuffer(const TextBuffer&) = delete;
    TextBuffer& operator=(const TextBuffer&) = delete;
    static std::size_t& LastSize() {
        thread_local std::size_t size = 0;
        return size;
    }
};

// The largest document read.  A document holds at most TotalCapacity()
// (215) objects; the largest block the writer makes, a solid with its
// faces, styles and every text at its length, is a few hundred kilobytes,
// so that a document at full capacity stays below some tens of megabytes.
// A file beyond the cap is none the program wrote: it is refused before a
// byte of it is read.
constexpr std::size_t MaxDocumentBytes = std::size_t{128} << 20;

// Why the last document that could not be read on this thread was refused.
std::string& CannotOpenReason() {
    thread_local std::string reason;
    return reason;
}

bool ReadWholeFile(const std::string& name, std::string& bytes) {
    SideFileBytes read = ReadSideFile(name, MaxDocumentBytes, SideFileCap::Refuse);
    if (read.state != SideFileBytes::State::Read) {
        CannotOpenReason() = name + ": " + SideFileReason(read);
        return false;
    }
    bytes = std::move(read.bytes);
    return true;
}

}  // namespace

std::string PictureLimitText(const PictureAsRead& file, const DImProj& kept, const WordTable* words) {
    const auto said = [words](std::string_view russian, std::string_view english) {
        return std::string(Said(words, russian, english));
    };
    // No line of the word table says it.
    const bool wide = file.Width != kept.Width, high = file.Height != kept.Height;
    const bool raised = (!wide || file.Width < kept.Width) && (!high || file.Height < kept.Height);
    const bool lowered = (!wide || file.Width > kept.Width) && (!high || file.Height > kept.Height);
    std::string text;
    if (wide || high) {
        const std::string size = std::to_string(kept.Width) + " x " + std::to_string(kept.Height) + ".";
        if (lowered)
            text = said("Размер рисунка превышает ", "The picture size exceeds ") + std::to_string(PictureSideMax) +
                   said(" пикселей и уменьшен до ", " pixels and is reduced to ") + size;
        else if (raised)
            text = said("Размер рисунка меньше ", "The picture size is below ") + std::to_string(PictureSideMin) +
                   said(" пикселя и увеличен до ", " pixels and is raised to ") + size;
        else
            text = said("Размер рисунка выходит за пределы от ", "The picture size lies outside ") +
                   std::to_string(PictureSideMin) + said(" до ", " to ") + std::to_string(PictureSideMax) +
                   said(" пикселей и изменен на ", " pixels and is changed to ") + size;
    }
    if (file.Dpi != kept.Dpi) {
        if (!text.empty()) text += "\n\r";
        const std::string dpi = std::to_string(kept.Dpi) + " dpi.";
        if (file.Dpi > kept.Dpi)
            text += said("Разрешение рисунка превышает ", "The picture resolution exceeds ") +
                    std::to_string(ResolutionMax) + said(" dpi и уменьшено до ", " dpi and is reduced to ") + dpi;
        else
            text += said("Разрешение рисунка меньше ", "The picture resolution is below ") +
                    std::to_string(ResolutionMin) + said(" dpi и увеличено до ", " dpi and is raised to ") + dpi;
    }
    return text;
}

LiveWindows WindowsFromRecord(const DProj& doc) {
    LiveWindows w;
    w.PicState = doc.ImWinState;
    w.PicLeft = doc.ImWinLeft;
    w.PicTop = doc.ImWinTop;
    w.PicWidth = doc.ImWinWidth;
    w.PicHeight = doc.ImWinHeight;
    w.PicScrollHorz = doc.ImScrollHorz;
    w.PicScrollVert = doc.ImScrollVert;
    w.TransLeft = doc.TransLeft;
    w.TransTop = doc.TransTop;
    w.ComboIndex = doc.CurObjNo;
    if (doc.ActiveKind >= 1 && doc.ActiveKind <= KindCount) w.DialogOpen[static_cast<std::size_t>(doc.ActiveKind - 1)] = true;
    w.FocusIndex = doc.FocusIndex;
    return w;
}

// ---------------------------------------------------------------------------
// Writing

namespace {

// Where the windows stand, the zoom, the open dialog and its focus: what the
// windows change as they are used.
void WriteWindowState(LineWriter& out, const DProj& doc, const LiveWindows& win,
                      const std::array<std::uint8_t, KindCount>& roles) {
    out.Raw("<$Forms State and Scale>");
    const std::uint8_t state = win.PicState >= 1 && win.PicState <= 3 ? win.PicState : 1;
    out.Raw(std::to_string(state) + PackedField(win.PicLeft, 4) + PackedField(win.PicTop, 4) +
            PackedField(win.PicWidth, 4) + PackedField(win.PicHeight, 4) + PackedField(win.PicScrollHorz, 4) +
            PackedField(win.PicScrollVert, 4));
    out.Raw((win.TransRolledUp ? "1" : "2") + PackedField(win.TransLeft, 4) + PackedField(win.TransTop, 4));
    out.Raw(PackedField(doc.Zoom, 4));
    out.Raw(IntToZeroPadStr(win.ComboIndex, 4));
    int active = 0;
    for (int k = 0; k < KindCount; ++k)
        if (win.DialogOpen[static_cast<std::size_t>(k)]) active = k + 1;
    out.Raw(IntToZeroPadStr(active, 4));
    std::string roleLine;
    for (const std::uint8_t r : roles) roleLine += PackedField(r, 2);
    out.Raw(roleLine);
    out.Int(win.FocusIndex);
    out.Raw((doc.RolledUp ? "1" : "2") + PackedField(doc.DlgLeft, 4) + PackedField(doc.DlgTop, 4));
}

// windowState false: without the block of where the windows stand.
void WriteText(LineWriter& out, const DProj& doc, const LiveWindows& win,
               const std::array<std::uint8_t, KindCount>& roles, bool windowState = true) {
    using blocks::WriteTexts;
    const DSubProj& o = doc.Obj;
    const DImProj& im = doc.Im;

    out.Raw("<Pel19 File>");
    std::string counts;
    for (const auto& k : KindTable) counts += IntToZeroPadStr(o.count(k.kind), 2);
    out.Raw(counts);

    out.Raw("<$image>");
    out.Int(im.Width);
    out.Int(im.Height);
    out.Int(im.Dpi);
    out.Color(im.Background);
    out.Int(im.YOrient);
    out.Int(im.FontUnit);
    out.Raw(im.PicMode == 0 ? "0" : "1");
    out.FlagL(im.Smooth);
    out.Text(im.BackPicture, "BackPicture", 0, &im.BackPicture);
    out.FlagL(im.BackOn);
    out.Int(im.BackSizeMode);
    out.Int(im.LightSource);
    out.FlagL(im.TwoColors != 0);
    out.Real(im.BorderPercent);
    out.Int(im.BorderAngle);
    out.Real(im.LightX);
    out.Real(im.LightY);
    out.Real(im.LightZ);
    out.Real(im.LightDX);
    out.Real(im.LightDY);
    out.Real(im.LightDZ);
    out.FlagL(im.LastFillOption);

    out.Raw("<$Primitive and Automaton>");
    out.Raw(std::string(10, FlagFalse));
    if (windowState) WriteWindowState(out, doc, win, roles);

    out.Raw("<$Printer Setup>");
    out.Int(doc.PaperWidth);
    out.Int(doc.PaperHeight);
    out.Raw(doc.Portrait ? "0" : "1");
    out.Int(doc.Margin1);
    out.Int(doc.Margin2);

    out.Raw("<$Info>");
    out.Text(doc.Caption, "Caption", 0, &doc.Caption);
    out.Text(doc.Author, "Author", 0, &doc.Author);
    WriteTexts(out, doc.Notes, "Notes");
    out.Int(doc.AnimDelay);
    out.Int(doc.AnimFrames);
    out.Text(doc.AnimStep, "AnimStep", 0, &doc.AnimStep);
    out.Text(doc.AnimStart, "AnimStart", 0, &doc.AnimStart);
    out.FlagL(doc.AnimLoop);

    WriteStore(out, o.Po, 0, WritePointBlock);
    WriteStore(out, o.Li, 1, WriteLineBlock);
    WriteStore(out, o.Ci, 2, WriteCircleBlock);
    WriteStore(out, o.Tr, 3, WriteTriangleBlock);
    WriteStore(out, o.Kv, 4, WriteTetragonBlock);
    WriteStore(out, o.Xy, 5, WriteXOYBlock);
    WriteStore(out, o.Sf, 6, WriteOrbBlock);
    WriteStore(out, o.Zi, 7, WriteCylinderBlock);
    WriteStore(out, o.Ko, 8, WriteConeBlock);
    WriteStore(out, o.I3, 9, WritePyramid3Block);
    WriteStore(out, o.I4, 10, WritePyramid4Block);
    WriteStore(out, o.R3, 11, WritePrism3Block);
    WriteStore(out, o.R4, 12, WritePrism4Block);
    WriteStore(out, o.Xz, 13, WriteXYZBlock);
    out.Raw("<$endfile>");
}

}  // namespace

std::string DocumentText(const DProj& doc, const LiveWindows& win, const std::array<std::uint8_t, KindCount>& roles,
                         char sep) {
    LineWriter out(sep);
    WriteText(out, doc, win, roles);
    return out.take();
}

std::string DocumentContentText(const DProj& doc) {
    LineWriter out('.');
    WriteText(out, doc, {}, {}, false);
    return out.take();
}

std::vector<TextChange> TextsChangedOnSave(const DProj& doc) {
    std::vector<TextChange> changes;
    LineWriter out('.');
    out.CollectChanges(&changes);
    WriteText(out, doc, WindowsFromRecord(doc), doc.Role);
    return changes;
}

bool DocumentIsFinite(const DProj& doc) {
    LineWriter out = LineWriter::FiniteCheck();
    WriteText(out, doc, WindowsFromRecord(doc), doc.Role);
    return out.finite();
}

namespace {

// One object's block, without a header, by the record's type.
template <class R>
void WriteObjectBlock(LineWriter& out, const R& record) {
    if constexpr (std::is_same_v<R, DPoint>) WritePointBlock(out, record, {});
    else if constexpr (std::is_same_v<R, DLine>) WriteLineBlock(out, record, {});
    else if constexpr (std::is_same_v<R, DCircle>) WriteCircleBlock(out, record, {});
    else if constexpr (std::is_same_v<R, DTri>) WriteTriangleBlock(out, record, {});
    else if constexpr (std::is_same_v<R, DKv>) WriteTetragonBlock(out, record, {});
    else if constexpr (std::is_same_v<R, DXOY>) WriteXOYBlock(out, record, {});
    else if constexpr (std::is_same_v<R, DSf>) WriteOrbBlock(out, record, {});
    else if constexpr (std::is_same_v<R, DZi>) WriteCylinderBlock(out, record, {});
    else if constexpr (std::is_same_v<R, DKo>) WriteConeBlock(out, record, {});
    else if constexpr (std::is_same_v<R, DPi3>) WritePyramid3Block(out, record, {});
    else if constexpr (std::is_same_v<R, DPi4>) WritePyramid4Block(out, record, {});
    else if constexpr (std::is_same_v<R, DPr3>) WritePrism3Block(out, record, {});
    else if constexpr (std::is_same_v<R, DPr4>) WritePrism4Block(out, record, {});
    else WriteXYZBlock(out, record, {});
}

// Every text the writer is given from `owner` gets what the file keeps of
// it.  The sources the writer collects are fields of `owner`, which the
// caller holds writable.
template <class Walk>
std::size_t TakeWrittenTexts(Walk&& walk) {
    std::vector<TextChange> changes;
    LineWriter out('.');
    out.CollectChanges(&changes);
    walk(out);
    std::size_t n = 0;
    for (TextChange& c : changes)
        if (c.source) {
            *const_cast<std::string*>(c.source) = std::move(c.after);
            ++n;
        }
    return n;
}

template <class R>
void ReadObjectBlock(LineReader& in, R& record, const DImProj& im) {
    if constexpr (std::is_same_v<R, DPoint>) ReadPointBlock(in, record);
    else if constexpr (std::is_same_v<R, DLine>) ReadLineBlock(in, record);
    else if constexpr (std::is_same_v<R, DCircle>) ReadCircleBlock(in, record);
    else if constexpr (std::is_same_v<R, DTri>) ReadTriangleBlock(in, record);
    else if constexpr (std::is_same_v<R, DKv>) ReadTetragonBlock(in, record);
    else if constexpr (std::is_same_v<R, DXOY>) ReadXOYBlock(in, record);
    else if constexpr (std::is_same_v<R, DSf>) ReadOrbBlock(in, record);
    else if constexpr (std::is_same_v<R, DZi>) ReadCylinderBlock(in, record);
    else if constexpr (std::is_same_v<R, DKo>) ReadConeBlock(in, record);
    else if constexpr (std::is_same_v<R, DPi3>) ReadPyramid3Block(in, record);
    else if constexpr (std::is_same_v<R, DPi4>) ReadPyramid4Block(in, record);
    else if constexpr (std::is_same_v<R, DPr3>) ReadPrism3Block(in, record);
    else if constexpr (std::is_same_v<R, DPr4>) ReadPrism4Block(in, record);
    else ReadXYZBlock(in, record, im.Width, im.Height);
}

}  // namespace

template <class R>
bool ObjectIsFinite(const R& record) {
    LineWriter out = LineWriter::FiniteCheck();
    WriteObjectBlock(out, record);
    return out.finite();
}

template <class R>
bool ObjectsWriteAlike(const R& a, const R& b) {
    // Equal records write equal blocks, when they can be written at all.
    if (a == b) return ObjectIsFinite(a);
    LineWriter x('.'), y('.');
    WriteObjectBlock(x, a);
    WriteObjectBlock(y, b);
    return x.finite() && y.finite() && x.bytes() == y.bytes();
}

namespace {

// The traced curves no file holds: reading a block empties them, and an
// object settled in place keeps the ones it has.
template <class R>
void KeepCurves(R& back, const R& record) {
    if constexpr (std::is_same_v<R, DXOY>) back.Curves = record.Curves;
    if constexpr (std::is_same_v<R, DXZ>) {
        back.Curves = record.Curves;
        for (std::size_t o = 1; o <= 3; ++o) back.Outlines[o].Lines = record.Outlines[o].Lines;
    }
}

// The record put as writing its block and reading it back gives it
// (RoundTrip...Block); `key` gets what the block holds.  A line the reader
// would refuse with an exception is Unreadable too.
template <class R>
BlockTrip RoundTripObjectBlock(R& record, std::string& key, const DImProj& im) {
    try {
        if constexpr (std::is_same_v<R, DXZ>) return RoundTripXYZBlock(record, key, im.Width, im.Height);
        else return RoundTripBlock(record, key);
    } catch (const std::exception&) {
        return BlockTrip::Unreadable;
    }
}

// The object's block written, read back and recomputed as the reader
// recomputes it.  A value derived from rounded ones can round otherwise
// once more, so this goes on, a few rounds at most, until the object writes
// the block it was read from.  The block's text is never made: its values
// go through the round trip in place, and what its lines hold is compared
// as a key.  A block that cannot be written leaves the record as it was; a
// block the reader would refuse ends the rounds.
template <class R>
void Refile(R& record, const DImProj& im, bool keepCurves) {
    // The keys' room is kept from one object to the next.
    thread_local std::string key, again;
    R back = record;
    if (RoundTripObjectBlock(back, key, im) != BlockTrip::Read) return;
    for (int round = 0; round < 4; ++round) {
        UpdateAsRead(back);
        if (keepCurves) KeepCurves(back, record);
        // Read back as it was: it already writes the block it was read from.
        if (back == record) return;
        R next = back;
        const BlockTrip trip = RoundTripObjectBlock(next, again, im);
        if (trip == BlockTrip::Unwritable) return;
        record = std::move(back);
        if (trip == BlockTrip::Unreadable || again == key) return;
        key.swap(again);
        back = std::move(next);
    }
}

}  // namespace

template <class R>
void ObjectAsReadBack(R& record, const DImProj& im) {
    Refile(record, im, false);
}

template <class R>
void ObjectAsFiled(R& record, const DImProj& im) {
    Refile(record, im, true);
}

namespace {

bool RoundAsRead(double v, double& out) { return std::isfinite(v) && RealAsRead(v, out); }

// A dependent object the pass changed otherwise than from values as read,
// its texts as its file gives them back already: a system goes through its
// block.  Any other kind has its numbers put as read and is updated as read.
// A round kind, moved as a whole, is so as its file gives it back; a
// tetragon or a pyramid on one, held to its type when read, is so when it
// writes the numbers it was read from, else the rounds of the refile go on.
template <class R>
void FileChanged(R& record, const DImProj& im) {
    constexpr bool system = std::is_same_v<R, DXOY> || std::is_same_v<R, DXZ>;
    thread_local std::string key, again;
    if constexpr (!system) {
        if (RoundTripBlock(record, key, false, true) == BlockTrip::Read) {
            UpdateAsRead(record);
            if constexpr (RoundKind<R>) return;
            if (RoundTripBlock(record, again, false, false) == BlockTrip::Read && again == key) return;
        }
    }
    ObjectAsFiled(record, im);
}

// What the debug builds check of every object settled by construction.
template <class R>
[[maybe_unused]] bool AsItsFileGivesBack(const R& record, const DImProj& im) {
    R back = record;
    ObjectAsFiled(back, im);
    return back == record;
}

}  // namespace

void RecomputeLinkedAsFiled(DProj& doc) {
    // Every object is stored as its file gives it back.  A dependent object
    // takes each coordinate from its links as a file reads it back and is
    // updated as a reader updates it, so it is as its file gives it back
    // without writing and reading its block.  The round kinds, moved as a
    // whole, have their reals put so and are updated again.  The tetragons
    // and the pyramids on them, held to their type when read, put their
    // numbers as read and are updated again; the systems go through their
    // block.
    for (const ObjectAt& o : DependentsInOrder(doc))
        WithObject(doc.Obj, o.kind, o.index, [&doc](auto& rec) {
            const Settled settled = SettleDependent(doc, rec, RoundAsRead);
            if (settled == Settled::Moved) FileChanged(rec, doc.Im);
            assert(settled == Settled::Same || AsItsFileGivesBack(rec, doc.Im));
        });
}

template bool ObjectIsFinite(const DPoint&);
template bool ObjectIsFinite(const DLine&);
template bool ObjectIsFinite(const DCircle&);
template bool ObjectIsFinite(const DTri&);
template bool ObjectIsFinite(const DKv&);
template bool ObjectIsFinite(const DXOY&);
template bool ObjectIsFinite(const DSf&);
template bool ObjectIsFinite(const DZi&);
template bool ObjectIsFinite(const DKo&);
template bool ObjectIsFinite(const DPi3&);
template bool ObjectIsFinite(const DPi4&);
template bool ObjectIsFinite(const DPr3&);
template bool ObjectIsFinite(const DPr4&);
template bool ObjectIsFinite(const DXZ&);
template bool ObjectsWriteAlike(const DPoint&, const DPoint&);
template bool ObjectsWriteAlike(const DLine&, const DLine&);
template bool ObjectsWriteAlike(const DCircle&, const DCircle&);
template bool ObjectsWriteAlike(const DTri&, const DTri&);
template bool ObjectsWriteAlike(const DKv&, const DKv&);
template bool ObjectsWriteAlike(const DXOY&, const DXOY&);
template bool ObjectsWriteAlike(const DSf&, const DSf&);
template bool ObjectsWriteAlike(const DZi&, const DZi&);
template bool ObjectsWriteAlike(const DKo&, const DKo&);
template bool ObjectsWriteAlike(const DPi3&, const DPi3&);
template bool ObjectsWriteAlike(const DPi4&, const DPi4&);
template bool ObjectsWriteAlike(const DPr3&, const DPr3&);
template bool ObjectsWriteAlike(const DPr4&, const DPr4&);
template bool ObjectsWriteAlike(const DXZ&, const DXZ&);
template void ObjectAsReadBack(DPoint&, const DImProj&);
template void ObjectAsReadBack(DLine&, const DImProj&);
template void ObjectAsReadBack(DCircle&, const DImProj&);
template void ObjectAsReadBack(DTri&, const DImProj&);
template void ObjectAsReadBack(DKv&, const DImProj&);
template void ObjectAsReadBack(DXOY&, const DImProj&);
template void ObjectAsReadBack(DSf&, const DImProj&);
template void ObjectAsReadBack(DZi&, const DImProj&);
template void ObjectAsReadBack(DKo&, const DImProj&);
template void ObjectAsReadBack(DPi3&, const DImProj&);
template void ObjectAsReadBack(DPi4&, const DImProj&);
template void ObjectAsReadBack(DPr3&, const DImProj&);
template void ObjectAsReadBack(DPr4&, const DImProj&);
template void ObjectAsReadBack(DXZ&, const DImProj&);
template void ObjectAsFiled(DPoint&, const DImProj&);
template void ObjectAsFiled(DLine&, const DImProj&);
template void ObjectAsFiled(DCircle&, const DImProj&);
template void ObjectAsFiled(DTri&, const DImProj&);
template void ObjectAsFiled(DKv&, const DImProj&);
template void ObjectAsFiled(DXOY&, const DImProj&);
template void ObjectAsFiled(DSf&, const DImProj&);
template void ObjectAsFiled(DZi&, const DImProj&);
template void ObjectAsFiled(DKo&, const DImProj&);
template void ObjectAsFiled(DPi3&, const DImProj&);
template void ObjectAsFiled(DPi4&, const DImProj&);
template void ObjectAsFiled(DPr3&, const DImProj&);
template void ObjectAsFiled(DPr4&, const DImProj&);
template void ObjectAsFiled(DXZ&, const DImProj&);

std::size_t KeepSavedTexts(DProj& doc, WorkingCopies* work) {
    const std::size_t n =
        TakeWrittenTexts([&](LineWriter& out) { WriteText(out, doc, WindowsFromRecord(doc), doc.Role); });
    if (work) {
        TakeWrittenTexts([&](LineWriter& out) {
            ForEachWorkingCopy(*work, [&](const auto& record) { WriteObjectBlock(out, record); });
        });
    }
    return n;
}

namespace {

// The temporary files of killed saves of the document and its companions.
void RemoveLeftovers(const std::string& name) {
    RemoveLeftoverTemps({name, CompanionFileName(name, ".cur"), CompanionFileName(name, ".grd.png")});
}

// The companion of name that a save wants to write but cannot put in place
// (a folder stands there); empty when none.  A file, a link or a pipe at the name is
// replaced by the rename; a folder is not.
std::string CompanionBlocked(const std::string& name, bool curves, bool fill) {
    for (const auto& [wanted, ext] : {std::pair{curves, ".cur"}, std::pair{fill, ".grd.png"}}) {
        if (!wanted) continue;
        const std::string companion = CompanionFileName(name, ext);
        std::error_code ec;
        if (std::filesystem::symlink_status(companion, ec).type() == std::filesystem::file_type::directory)
            return companion;
    }
    return {};
}

}  // namespace

std::string FolderFlushMessage(const WordTable* words) {
    const std::string failure = TakeFolderFlushFailure();
    if (failure.empty()) return {};
    // No line of the word table says it.
    return std::string(Said(words, "Файл сохранен, но папка не записана на диск: при сбое питания сохранение может пропасть.",
                            "The file is saved, but its folder is not written to the disk: a power failure may lose the save.")) +
           "\n\r" + failure;
}

bool WriteDocument(const std::string& name, const DProj& doc, std::uint8_t mode, const DocumentContext& ctx) {
    if (mode == WriteModeDocument && ctx.ShowMessage)
        if (const std::string flush = FolderFlushMessage(ctx.Words); !flush.empty()) ctx.ShowMessage(flush);
    const LiveWindows win = ctx.Windows ? ctx.Windows() : WindowsFromRecord(doc);
    const auto& roles = ctx.Proj ? ctx.Proj->Role : doc.Role;
    TextBuffer memory;
    LineWriter out(ctx.DecimalSeparator, std::move(memory.bytes));
    struct GiveBack {
        LineWriter& out;
        std::string& to;
        ~GiveBack() { to = out.take(); }
    } giveBack{out, memory.bytes};
    WriteText(out, doc, win, roles);
    if (!out.finite()) {
        // No reader takes such a file back: the old file stays.
        if (ctx.Failure) *ctx.Failure = std::string(Said(ctx.Words, "в чертеже есть число вне допустимых пределов",
                                                         "the drawing holds a number out of range"));
        if (ctx.ShowMessage) ctx.ShowMessage(ctx.CannotSaveText);
        return false;
    }
    const std::string stamp = SaveStamp(out.bytes());
    out.Raw(StampLine(stamp));
    const std::string& text = out.bytes();

    // The document first, then its companions: each file is replaced whole,
    // and a companion is read only with the document whose stamp it carries,
    // so that whenever a save stops the document is either the old one with
    // its companions or the new one with the companions written so far.
    // Undo snapshots are scratch files of the running program: they need not
    // wait for the disk.
    const bool scratch = mode == WriteModeUndo;
    const LinkMode links = mode == WriteModeDocument ? LinkMode::Follow : LinkMode::Replace;
    const bool fill = (mode == WriteModeUndo || mode == WriteModeDocument) && ctx.BackPng;
    auto fail = [&](const std::string& file, const std::string& failure, const std::string& after = {}) {
        if (ctx.Failure) *ctx.Failure = failure;
        if (ctx.ShowMessage) ctx.ShowMessage(SaveFailedText(ctx.CannotSaveText, file, failure, ctx.Words) + after);
        return false;
    };
    // A document's companion that cannot take the place of what is at its
    // name (a folder there) would leave the document without it: the save is
    // refused before the document is written, the old file untouched.
    if (mode == WriteModeDocument) {
        const std::string blocked = CompanionBlocked(name, CurvesFileWanted(doc),
                                                     fill && doc.FillValid != 0 && !ctx.BackPng->isNull());
        // The message names the companion: it also says the document stayed as it was.
        if (!blocked.empty())
            return fail(blocked, blocked + ": " + std::strerror(EISDIR),
                        "\n\r" + FillIn(Said(ctx.Words, "Документ %1 не сохранен.", "The document %1 was not saved."), {name}));
        RemoveLeftovers(name);
    }
    // A default set is the program's file: it gets the user's ordinary
    // permissions, whatever those of a set it replaces (one that could not
    // be read would stay so); a document keeps what its owner gave it.
    const FileMode fileMode = mode == WriteModeDefaultSet ? FileMode::Fresh : FileMode::Keep;
    std::string failure = SafeWriteFile(name, text, !scratch, links, fileMode);
    if (!failure.empty()) failure = SafeWriteFile(name, text, !scratch, links, fileMode);
    if (!failure.empty()) return fail(name, failure);
    if (fill) WriteFillPicture(name, *ctx.BackPng, doc.FillValid != 0, stamp, scratch);
    // A curves file that fails is computed again when the document is read;
    // a document save says so all the same, as a save that did not finish.
    const std::string curves = WriteCurvesFile(name, doc, ctx.DecimalSeparator, stamp, scratch);
    if (!curves.empty() && mode == WriteModeDocument) return fail(CompanionFileName(name, ".cur"), curves);
    return true;
}

// ---------------------------------------------------------------------------
// Reading

namespace {

void ReadFrame(LineReader& in, DProj& doc, PictureAsRead* asRead) {
    const std::uint8_t v = in.version();
    DImProj& im = doc.Im;

    const std::string_view counts = in.RawLine();
    if (counts.size() < 2 * KindCount) in.Fail("the line of object counts is too short");
    std::array<std::int32_t, KindCount> n{};
    for (std::size_t k = 0; k < KindTable.size(); ++k) {
        n[k] = PackedInt(in, counts, 2 * k + 1, 2);
        if (n[k] < 0 || n[k] > KindTable[k].capacity) in.Fail("an object count above the capacity");
    }
    std::size_t k = 0;
    // Every object is read into a new record: what the file lacks of it (a
    // traced curve, a prism's unrounded edge) is not taken from whatever
    // object stood at its place before.
    ForEachStore(doc.Obj, [&](auto& store) {
        store.resize(0);
        store.resize(static_cast<std::size_t>(n[k++]));
    });

    in.Skip();  // "<$image>"
    PictureAsRead file;
    file.Width = in.Int();
    file.Height = in.Int();
    file.Dpi = in.Int();
    if (asRead) *asRead = file;
    // A picture beyond the sizes the project settings allow would ask for
    // gigabytes when drawn, a resolution beyond theirs makes pictures no
    // file can take: both are held to them from here on.
    im.Width = std::clamp(file.Width, PictureSideMin, PictureSideMax);
    im.Height = std::clamp(file.Height, PictureSideMin, PictureSideMax);
    im.Dpi = std::clamp(file.Dpi, ResolutionMin, ResolutionMax);
    const std::string_view rgb = in.RawLine();
    const TColor r = PackedByte(in, rgb, 1, 3), g = PackedByte(in, rgb, 4, 3), b = PackedByte(in, rgb, 7, 3);
    im.Background = r | (g << 8) | (b << 16);
    im.YOrient = in.Byte();
    im.FontUnit = in.Byte();
    im.PicMode = in.Not0() ? 1 : 0;
    if (v >= 15) im.Smooth = in.IsI();
    im.BackPicture = in.Text();
    im.BackOn = in.IsI();
    im.BackSizeMode = in.Byte();
    if (v >= 17) {
        im.LightSource = in.Byte();
        im.TwoColors = in.IsI() ? 1 : 0;
        im.BorderPercent = in.Real();
        if (im.BorderPercent <= 0 || im.BorderPercent >= 100) im.BorderPercent = 50;
        im.BorderAngle = in.Int();
        if (im.BorderAngle != 90 && im.BorderAngle != 180) im.BorderAngle = 90;
        im.LightX = in.Real();
        im.LightY = in.Real();
        im.LightZ = in.Real();
        im.LightDX = in.Real();
        im.LightDY = in.Real();
        im.LightDZ = in.Real();
        im.LastFillOption = in.IsI();
    }

    in.Skip();  // "<$Primitive and Automaton>"
    in.Skip();  // ten "л"
    in.Skip();  // "<$Forms State and Scale>"
    const std::string_view pic = in.RawLine();
    doc.ImWinState = PackedByte(in, pic, 1, 1);
    doc.ImWinLeft = PackedInt(in, pic, 2, 4);
    doc.ImWinTop = PackedInt(in, pic, 6, 4);
    doc.ImWinWidth = PackedInt(in, pic, 10, 4);
    doc.ImWinHeight = PackedInt(in, pic, 14, 4);
    doc.ImScrollHorz = PackedInt(in, pic, 18, 4);
    doc.ImScrollVert = PackedInt(in, pic, 22, 4);
    const std::string_view trans = in.RawLine();
    if (trans.size() < 9) in.Fail("the transformations window line is too short");
    doc.TransLeft = PackedInt(in, trans, 2, 4);
    doc.TransTop = PackedInt(in, trans, 6, 4);
    doc.Zoom = PackedInt(in, in.RawLine(), 1, 4);
    doc.CurObjNo = in.Int();
    doc.ActiveKind = in.Int();
    const std::string_view roles = in.RawLine();
    for (std::size_t i = 0; i < doc.Role.size(); ++i) doc.Role[i] = PackedByte(in, roles, 2 * i + 1, 2);
    doc.FocusIndex = in.Int();
    const std::string_view dlg = in.RawLine();
    if (dlg.size() < 9) in.Fail("the dialog line is too short");
    if (dlg[0] == '1') doc.RolledUp = true;
    else if (dlg[0] == '2') doc.RolledUp = false;
    doc.DlgLeft = PackedInt(in, dlg, 2, 4);
    doc.DlgTop = PackedInt(in, dlg, 6, 4);

    in.Skip();  // "<$Printer Setup>"
    doc.PaperWidth = in.Int();
    doc.PaperHeight = in.Int();
    doc.Portrait = in.Int() == 0;
    doc.Margin1 = in.Int();
    doc.Margin2 = in.Int();

    in.Skip();  // "<$Info>"
    doc.Caption = in.Text();
    doc.Author = in.Text();
    for (auto& note : doc.Notes) note = in.Text();
    if (v >= 14) {
        doc.AnimDelay = in.Int();
        doc.AnimFrames = in.Int();
        doc.AnimStep = in.Text();
        doc.AnimStart = in.Text();
        const std::string_view loop = in.RawLine();
        doc.AnimLoop = !loop.empty() && loop[0] == FlagTrue;
    } else {
        doc.AnimDelay = 30;
        doc.AnimFrames = 30;
        doc.AnimStep = "pi/15";
        doc.AnimStart = "0";
        doc.AnimLoop = true;
    }

    DSubProj& o = doc.Obj;
    ReadStore(in, o.Po, ReadPointBlock);
    ReadStore(in, o.Li, ReadLineBlock);
    ReadStore(in, o.Ci, ReadCircleBlock);
    ReadStore(in, o.Tr, ReadTriangleBlock);
    ReadStore(in, o.Kv, ReadTetragonBlock);
    ReadStore(in, o.Xy, ReadXOYBlock);
    ReadStore(in, o.Sf, ReadOrbBlock);
    ReadStore(in, o.Zi, ReadCylinderBlock);
    ReadStore(in, o.Ko, ReadConeBlock);
    ReadStore(in, o.I3, ReadPyramid3Block);
    ReadStore(in, o.I4, ReadPyramid4Block);
    ReadStore(in, o.R3, ReadPrism3Block);
    ReadStore(in, o.R4, ReadPrism4Block);
    ReadStore(in, o.Xz, [&](LineReader& r, DXZ& x) { ReadXYZBlock(r, x, im.Width, im.Height); });
}

bool CompanionThere(const std::string& name, std::string_view ext) {
    std::error_code ec;
    return std::filesystem::exists(CompanionFileName(name, ext), ec);
}

}  // namespace

std::uint8_t ParseDocumentText(std::string_view bytes, DProj& doc, std::uint8_t& version, char sep,
                               PictureAsRead* asRead) {
    LineReader in(bytes, 0, sep);
    std::string_view first;
    try {
        first = in.RawLine();
    } catch (const FormatError&) {
        return ReadNotDocument;  // an empty file
    }
    if (first.substr(0, 4) != "<Pel") return ReadNotDocument;
    if (first.size() < 6) return ReadBadVersion;
    const char d1 = first[4], d2 = first[5];
    if (d1 < '0' || d1 > '9' || d2 < '0' || d2 > '9') return ReadBadVersion;
    const int v = (d1 - '0') * 10 + (d2 - '0');
    if (v < 1 || v > CurrentFormatVersion) return ReadBadVersion;
    version = static_cast<std::uint8_t>(v);
    if (v <= 9) return ReadTooOld;
    in.setVersion(version);
    try {
        ReadFrame(in, doc, asRead);
    } catch (const FormatError&) {
        return ReadMalformed;
    } catch (const std::out_of_range&) {
        return ReadMalformed;
    }
    return ReadOk;
}

void ProcessAfterReading(DProj& doc, WorkingCopies* work) {
    if (doc.Im.YOrient == 1) FlipYDocument(doc, work, FlipFromOldFile, doc.Im.Height);
    doc.Im.YOrient = 2;
    // Every object of every kind, in kind order.
    ForEachStore(doc.Obj, [](auto& store) {
        for (std::size_t n = 1; n <= store.count(); ++n) UpdateAsRead(store[n]);
    });
}

std::string LastCannotOpenReason() { return CannotOpenReason(); }

namespace {

std::uint8_t ReadDocumentFile(const std::string& name, DProj& doc, std::uint8_t& version, std::uint8_t mode,
                              const DocumentContext& ctx) {
    std::string bytes;
    if (!ReadWholeFile(name, bytes) && !ReadWholeFile(name, bytes)) return ReadCannotOpen;

    // Read into a copy of doc (fields a file lacks keep doc's values), so that
    // a malformed file leaves doc as it was.
    auto work = std::make_unique<DProj>(doc);
    std::uint8_t v = version;
    PictureAsRead asRead;
    const std::uint8_t res = ParseDocumentText(bytes, *work, v, ctx.DecimalSeparator, &asRead);
    if (res == ReadTooOld || res == ReadOk) version = v;
    if (res != ReadOk) return res;
    const bool flipped = work->Im.YOrient == 1;
    try {
        ProcessAfterReading(*work, nullptr);
    } catch (const std::exception&) {
        return ReadMalformed;
    }
    // Values near the limit of a double that overflow when recomputed make
    // a file that no save could write back: refused as damaged.
    if (!DocumentIsFinite(*work)) return ReadMalformed;
    if (mode == ReadModeOpen) RemoveLeftovers(name);
    // Only an opened document replaces the edited objects; their working
    // copies turn with it.
    if (flipped && mode == ReadModeOpen && ctx.Work) {
        DProj none;
        FlipYDocument(none, ctx.Work, FlipFromOldFile, work->Im.Height);
    }
    doc = std::move(*work);

    // The stamp is hashed only when there is a companion to check it with.
    const bool fillThere = mode == ReadModeOpen && ctx.BackPng && CompanionThere(name, ".grd.png");
    const bool curvesThere = version >= 12 && CompanionThere(name, ".cur");
    const std::string stamp = fillThere || curvesThere ? DocumentStamp(bytes) : std::string();
    if (mode == ReadModeOpen) {
        const bool loaded = fillThere && ReadFillPicture(name, *ctx.BackPng, stamp);
        if (ctx.Proj) ctx.Proj->FillValid = loaded ? 1 : 0;
    } else if (ctx.Proj && HasGradientFills(doc)) {
        ctx.Proj->FillValid = 0;
    }
    if (curvesThere) ReadCurvesFile(name, doc, ctx.DecimalSeparator, stamp);
    if (mode == ReadModeOpen && ctx.ShowMessage)
        if (const std::string limited = PictureLimitText(asRead, doc.Im, ctx.Words); !limited.empty())
            ctx.ShowMessage(limited);
    return ReadOk;
}

}  // namespace

std::uint8_t ReadDocument(const std::string& name, DProj& doc, std::uint8_t& version, std::uint8_t mode,
                          const DocumentContext& ctx) {
    // A file whose objects find no memory is a damaged file: doc is replaced
    // only once the file has been read whole.
    try {
        return ReadDocumentFile(name, doc, version, mode, ctx);
    } catch (const std::bad_alloc&) {
        return ReadMalformed;
    }
}

std::uint8_t ReadDocument(const std::string& name, DProj& doc, std::uint8_t& version, std::uint8_t mode) {
    static const DocumentContext none;
    return ReadDocument(name, doc, version, mode, none);
}

std::function<std::uint8_t(const std::string&, DProj&, std::uint8_t&, std::uint8_t)>
BindDocumentReader(const DocumentContext* ctx) {
    return [ctx](const std::string& name, DProj& doc, std::uint8_t& version, std::uint8_t mode) {
        return ctx ? ReadDocument(name, doc, version, mode, *ctx) : ReadDocument(name, doc, version, mode);
    };
}

}  // namespace pelmar
