// The two companion files kept beside a document-format file: the curves file
// (the document's name with its ".pel" replaced by ".cur") and the fill
// picture (by ".grd.png").  The document writer and reader call these at
// their end; their failures are silent and never change the main file's result.
//
// A document and its companions are one unit.  Each save writes a stamp of
// the document's text on a line after the end marker (which no reader of the
// format reads) and into the companion files written with it; the reader
// takes a companion only when its stamp is that of the document beside it.
// So a save interrupted between the files, a document changed by hand, or a
// companion left from another save shows no curves or fills of another
// state: they are computed again.  Files without stamps (older programs)
// belong together as before; a stamped companion never goes with an
// unstamped document, and the reverse.
#pragma once

#include <string>
#include <string_view>

#include "model/records.h"

class QImage;

namespace pelmar {

// The document's name with its extension ".pel" (or ".set", a default set;
// in any case) replaced by ext (".cur", ".grd.png"), or with ext added when
// the name has no such extension: always beside the document, never a name
// of another folder.
inline std::string CompanionFileName(const std::string& name, std::string_view ext) {
    const std::size_t slash = name.rfind('/');
    const std::size_t base = slash == std::string::npos ? 0 : slash + 1;
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    auto endsWith = [&](std::string_view e) {
        if (name.size() < base + 5 || name[name.size() - 4] != '.') return false;
        for (std::size_t i = 0; i < 3; ++i)
            if (lower(name[name.size() - 3 + i]) != e[i]) return false;
        return true;
    };
    std::string out = endsWith("pel") || endsWith("set") ? name.substr(0, name.size() - 4) : name;
    out += ext;
    return out;
}

// The stamp of a document text: 32 hexadecimal digits of its SHA-256 hash.
std::string SaveStamp(std::string_view documentText);
// The line that carries it ("<$save " + stamp + ">", without the line end).
std::string StampLine(const std::string& stamp);
// The stamp a document file's bytes carry: the stamp of the bytes before its
// last line when that line is a stamp line; empty for a file without one.
std::string DocumentStamp(std::string_view fileBytes);
// The stamp written on the last line of a companion file's bytes; empty when
// that line is no stamp line.
std::string LastLineStamp(std::string_view fileBytes);

// Writes backPng as the fill picture of the file docName when fillValid is
// set, carrying `stamp`; otherwise deletes a fill picture of that name if
// there is one.  scratch: beside an undo snapshot (see WritePngFile).
void WriteFillPicture(const std::string& docName, const QImage& backPng, bool fillValid,
                      const std::string& stamp = {}, bool scratch = false);

// Loads the fill picture of the file docName into backPng; true when the
// picture file exists, was loaded and carries `stamp` (a picture without a
// stamp matches the empty stamp).  Otherwise backPng is left as it was.
bool ReadFillPicture(const std::string& docName, QImage& backPng, const std::string& stamp = {});

// Writes the curves file of docName when some curve of doc is present
// (CurvesFileWanted), reals with the separator `sep`, and `stamp` on its
// last line when not empty; otherwise writes nothing and leaves an existing
// curves file alone; a curve that would make the file larger than its reader
// takes is written as not present.  "" when written or not wanted, else the
// reason.
std::string WriteCurvesFile(const std::string& docName, const DProj& doc, char sep, const std::string& stamp = {},
                            bool scratch = false);
bool CurvesFileWanted(const DProj& doc);

// Reads the curves file of docName, if there is one and it carries `stamp`
// (as ReadFillPicture), into the coordinate systems of doc; reals with either
// separator.  A curves file that cannot be read whole (no regular file, one
// larger than any the program writes, a read error, counts beyond its size,
// memory that cannot be had) counts as missing from where it fails: those
// curves are computed again.  So do the curves past those that, written back
// (at the full width of their numbers), still make a file this reader takes:
// what is read is what the next save writes and the next open reads.
void ReadCurvesFile(const std::string& docName, DProj& doc, char sep, const std::string& stamp = {});

}  // namespace pelmar
