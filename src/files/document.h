// The document text format: one writer and one reader, with a mode, for
// documents, undo snapshots, the clipboard file and the per-kind default sets.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "drawing/word_lines.h"
#include "files/text_lines.h"
#include "model/records.h"

class QImage;

namespace pelmar {

class WordTable;

// Writer modes.
inline constexpr std::uint8_t WriteModeDefaultSet = 1;
inline constexpr std::uint8_t WriteModeUndo = 2;
inline constexpr std::uint8_t WriteModeDocument = 3;
inline constexpr std::uint8_t WriteModeClipboard = 4;

// Reader modes.
inline constexpr std::uint8_t ReadModeDefaults = 1;      // default object for a new object
inline constexpr std::uint8_t ReadModeLoadDefaults = 2;  // load-defaults buttons of the dialogs
inline constexpr std::uint8_t ReadModeOpen = 3;          // open a document, reload an undo snapshot
inline constexpr std::uint8_t ReadModePaste = 4;
inline constexpr std::uint8_t ReadModePreview = 5;

// Reader results.
inline constexpr std::uint8_t ReadOk = 0;
inline constexpr std::uint8_t ReadCannotOpen = 1;
inline constexpr std::uint8_t ReadNotDocument = 2;   // the first line does not begin with "<Pel"
inline constexpr std::uint8_t ReadBadVersion = 3;    // characters 5-6 are not "01" .. "19"
inline constexpr std::uint8_t ReadTooOld = 4;        // versions "01" .. "09"
inline constexpr std::uint8_t ReadMalformed = 5;     // truncated or malformed; the document is unchanged

inline constexpr std::uint8_t CurrentFormatVersion = 19;

// What the writer takes from the live windows: the picture window, the
// transformations window, the object combo, the dialog-open flags and the
// focused dialog control.
struct LiveWindows {
    std::uint8_t PicState = 1;  // 1 normal, 2 maximised, 3 minimised
    std::int32_t PicLeft = 0, PicTop = 0, PicWidth = 0, PicHeight = 0;
    std::int32_t PicScrollHorz = 0, PicScrollVert = 0;
    bool TransRolledUp = false;
    std::int32_t TransLeft = 0, TransTop = 0;
    std::int32_t ComboIndex = -1;                 // item index of the object combo, -1 none
    std::array<bool, KindCount> DialogOpen{};     // FormPoOpen .. FormXZOpen
    std::int32_t FocusIndex = 0;                  // GetFocusIndex
};

// The same values as the record holds them (the windows as last stored).
LiveWindows WindowsFromRecord(const DProj& doc);

// What the two procedures use besides the file and the record.
struct DocumentContext {
    // The open document: its role bytes are written with every file, its
    // FillValid is set or cleared by reading.  May be null.
    DProj* Proj = nullptr;
    // Working copies flipped together with an old-orientation document opened
    // in mode 3.  May be null.
    WorkingCopies* Work = nullptr;
    // The fill picture; without it no fill picture is written or read.
    QImage* BackPng = nullptr;
    // The live windows; without it the values stored in the written record.
    std::function<LiveWindows()> Windows;
    // Message box; the text of "cannot save" (word-table line 625), which a
    // failed write follows with the file and the reason.
    std::function<void(const std::string&)> ShowMessage;
    std::string CannotSaveText = BuiltInWord(WordNo::CannotSaveFile);
    // When given: why a write failed, as the save gave it (SaveReasonText
    // puts it in the interface's words).
    std::string* Failure = nullptr;
    // The interface's language of the program's own messages (Russian without).
    const WordTable* Words = nullptr;
    // The decimal separator the writer puts into reals (the program passes
    // that of the user's locale, pelmar::DecimalSeparator()).  The reader takes
    // reals with either "," or ".", whatever was written.
    char DecimalSeparator = '.';
};

// The main file's bytes as WriteDocument writes them (code page 1251, CR LF).
std::string DocumentText(const DProj& doc, const LiveWindows& windows, const std::array<std::uint8_t, KindCount>& roles,
                         char decimalSeparator);

// What the document's file holds, as a change of the document is told by it:
// the text of DocumentText without the block of where the windows stand,
// the zoom, which dialog is open and what has the focus (the windows change
// those as they are used), reals with '.'.
std::string DocumentContentText(const DProj& doc);

// Writes doc to the file name; false when the file cannot be created or
// written, or when doc holds a real that is not finite (an existing file of
// that name is then untouched).  A document (mode 3) whose curves file or
// fill picture is wanted where a folder has its name is refused the same
// way, before anything is written; one whose curves file fails after the
// document was written gives false too (the document stands, and its curves
// are computed again when it is read).  Either failure is said through
// ctx.ShowMessage with the file and the reason.  Only a document (mode 3) named by a symbolic
// link is written where the link points; every other file replaces a link at
// its name.  Saving and opening a document remove the temporary files that
// killed saves of it and its companions left beside it.  Modes 2 and 3
// also write the fill picture; every mode writes the curves file when some
// curve is present.  The file is the text of DocumentText and, after its end
// marker, the stamp line that ties the companion files to it
// (files/companion.h); every file is replaced whole (SafeFile), so an
// interrupted save leaves the old document or the new one.  A document save
// first tells a folder flush that failed after an earlier save
// (FolderFlushMessage) through ctx.ShowMessage.
bool WriteDocument(const std::string& name, const DProj& doc, std::uint8_t mode, const DocumentContext& ctx);

// What the program tells when the folder of an earlier save could not be
// flushed to the disk (the save itself had succeeded): the next document save
// and the end of the program tell it, once.  Empty when no flush failed since
// the last call.
std::string FolderFlushMessage(const WordTable* words = nullptr);

// Reads the file into doc; version := the file's format version.  Result 0
// when it was read (objects recomputed), 1..5 otherwise with doc unchanged.
// Companion files of another save are not read (files/companion.h).
std::uint8_t ReadDocument(const std::string& name, DProj& doc, std::uint8_t& version, std::uint8_t mode,
                          const DocumentContext& ctx);
// The same without an open document, windows or fill picture.
std::uint8_t ReadDocument(const std::string& name, DProj& doc, std::uint8_t& version, std::uint8_t mode);
// The file is read only when it is a regular file no larger than any the
// program writes; a folder, a pipe, a device or a larger file gives result 1
// without waiting or reading it, and LastCannotOpenReason then says the
// file and why ("/home/u/a.pel: Is a directory"), for the thread that read.
std::string LastCannotOpenReason();

// The reader bound to a context, in the form the default-object loaders take.
std::function<std::uint8_t(const std::string&, DProj&, std::uint8_t&, std::uint8_t)>
BindDocumentReader(const DocumentContext* ctx);

// Reads the main file's bytes into doc: the frame and the object blocks, no
// processing afterwards; reals with decimalSeparator or the other one of ","
// and ".".  Results as ReadDocument (never 1); on a result other than 0 doc
// may be partly overwritten.
// A picture size outside PictureSideMin .. PictureSideMax and a resolution
// outside ResolutionMin .. ResolutionMax are held to those ranges; *asRead
// (when given) gets the values the file gave.
struct PictureAsRead {
    std::int32_t Width = 0, Height = 0, Dpi = 0;
};
std::uint8_t ParseDocumentText(std::string_view bytes, DProj& doc, std::uint8_t& version, char decimalSeparator,
                               PictureAsRead* asRead = nullptr);

// What the open command tells when the file's picture size or resolution was
// held to those ranges (ReadDocument in mode 3 shows it through
// ctx.ShowMessage): what was wrong and what was kept; empty when the file's
// values were kept.
std::string PictureLimitText(const PictureAsRead& file, const DImProj& kept, const WordTable* words = nullptr);

// True when every real that doc writes to its file is finite.  The reader
// refuses a document whose objects recompute to values beyond the range of a
// double (result 5), the writer does not write one, and an edit that would
// make one is refused: a saved document can always be opened again.
bool DocumentIsFinite(const DProj& doc);
// The same for one object (its block of the file).
template <class R>
bool ObjectIsFinite(const R& record);
// Whether two records of a kind write the same block: a document file holds
// the same of either.
template <class R>
bool ObjectsWriteAlike(const R& a, const R& b);
// The object as a document file gives it back: its block written and read
// again (what a file keeps of it, its reals to fifteen digits), then
// recomputed as the reader recomputes every object.  For a record changed
// outside the edits, such as a new object moved onto its picture (im).  A
// record that cannot be written stays as it is.
template <class R>
void ObjectAsReadBack(R& record, const DImProj& im);
// The same for an object edited in place, which keeps its traced curves:
// every change stores the object as this gives it, so that what is shown is
// what a save and a reopening show.
template <class R>
void ObjectAsFiled(R& record, const DImProj& im);
// The objects built on others recomputed through their links
// (RecomputeLinked), and those the recompute changed made as their file
// gives them back.
void RecomputeLinkedAsFiled(DProj& doc);

// The texts of doc that a save would not keep as they are: line breaks
// (written as spaces) and characters code page 1251 lacks (written as "?"),
// in file order, each with its object, field, and the text before and after.
// The file commands ask the user before such a save goes on.
std::vector<TextChange> TextsChangedOnSave(const DProj& doc);

// Gives every text of doc (and of the working copies, when given) what its
// file holds of it: what a save has written is then the document in memory.
// The number of the document's texts changed.
std::size_t KeepSavedTexts(DProj& doc, WorkingCopies* work = nullptr);

// The question a save asks before it changes texts: each text as the user
// knows it (the object's kind word and number, its part, the field as its
// dialog names it), before and after, in the interface's language.
std::string SaveChangesQuestion(const std::vector<TextChange>& changes, const WordTable& words);

// Flip of an old-orientation document and the recomputation of every object,
// as done after reading.
void ProcessAfterReading(DProj& doc, WorkingCopies* work);

}  // namespace pelmar
