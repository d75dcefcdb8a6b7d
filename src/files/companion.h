// The two companion files kept beside a document-format file: the curves file
// (the file name less its last four characters plus ".cur") and the fill
// picture (plus ".grd.png").  The document writer and reader call these at
// their end; their failures are silent and never change the main file's result.
#pragma once

#include <string>
#include <string_view>

#include "model/records.h"

class QImage;

namespace pelmar {

// The file name less its last four characters, plus ext (".cur", ".grd.png").
inline std::string CompanionFileName(const std::string& name, std::string_view ext) {
    std::string base = name.size() >= 4 ? name.substr(0, name.size() - 4) : std::string();
    base += ext;
    return base;
}

// Writes backPng as the fill picture of the file docName when fillValid is
// set; otherwise deletes a fill picture of that name if there is one.
void WriteFillPicture(const std::string& docName, const QImage& backPng, bool fillValid);

// Loads the fill picture of the file docName into backPng; true when the
// picture file exists and was loaded.
bool ReadFillPicture(const std::string& docName, QImage& backPng);

// Writes the curves file of docName when some curve of doc is present;
// otherwise writes nothing and leaves an existing curves file alone.
void WriteCurvesFile(const std::string& docName, const DProj& doc);

// Reads the curves file of docName, if there is one, into the coordinate
// systems of doc.
void ReadCurvesFile(const std::string& docName, DProj& doc);

}  // namespace pelmar
