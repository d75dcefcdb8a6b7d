// OpenDocument files of the shape exports: a drawing (.odg) with one page and
// the document's layers, and a text (.odt) with the shapes anchored to its
// first page.  The package is a zip file: "mimetype" first and stored
// uncompressed, then the manifest, content.xml and styles.xml.
#pragma once

#include <string>

#include "office/office_doc.h"

namespace pelmar {

inline constexpr char OdgMimeType[] = "application/vnd.oasis.opendocument.graphics";
inline constexpr char OdtMimeType[] = "application/vnd.oasis.opendocument.text";

struct OdfParts {
    std::string mimetype;
    std::string manifest;
    std::string content;
    std::string styles;
};

OdfParts OdfDrawingParts(const OfficeDocument& doc);
OdfParts OdfTextParts(const OfficeDocument& doc);

// Writes the package through a temporary file beside `path` that replaces
// `path` only when it was written whole.  Returns the reason of a failure,
// empty on success.
std::string WriteOdfPackage(const OdfParts& parts, const std::string& path);

inline std::string WriteOdfDrawing(const OfficeDocument& doc, const std::string& path) {
    return WriteOdfPackage(OdfDrawingParts(doc), path);
}
inline std::string WriteOdfText(const OfficeDocument& doc, const std::string& path) {
    return WriteOdfPackage(OdfTextParts(doc), path);
}

}  // namespace pelmar
