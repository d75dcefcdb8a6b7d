// Default objects: every new record is filled from its kind's default set, a
// document in the program folder's "DefaultSet" folder whose first object of
// the kind is the default, or from built-in values when there is none.  The
// same loaders fill the parts of composite objects, so the parts of a new
// object follow the defaults of their own kinds.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "model/records.h"

namespace pelmar {

// The document reader: reads the document file name into doc with the given
// mode (1 = default set); 0 when the file was read, any other value when doc's
// content is not to be used.
using DocumentReader =
    std::function<std::uint8_t(const std::string& name, DProj& doc, std::uint8_t& version, std::uint8_t mode)>;

// Reader mode of a default set.
inline constexpr std::uint8_t ReadModeDefaultSet = 1;

// A reader that opens nothing (result 1): every loader takes its built-in values.
std::uint8_t ReadNoDocument(const std::string& name, DProj& doc, std::uint8_t& version, std::uint8_t mode);

// Where the loaders find the default sets and what they need of the open document.
struct DefaultsSource {
    std::string programFolder;                   // "DefaultSet/" lies below it
    DocumentReader readDocument = ReadNoDocument;
    std::int32_t pictureWidth = 800;             // picture size of the open document
    std::int32_t pictureHeight = 600;
};

// Path of a kind's default-set file: programFolder/DefaultSet/DePoint.set ...
std::string DefaultSetFile(Kind k, const std::string& programFolder);

// Name of a new object: the kind's prefix and the number ("Point №3") when
// number > 0, one blank otherwise (parts).
std::string DefaultName(Kind k, int number);

// The loaders: rec becomes the kind's default object numbered number (-1 or 0
// for a part).  They never fail and show nothing.
void LoadDefaultPoint(DPoint& rec, int number, const DefaultsSource& src);
void LoadDefaultLine(DLine& rec, int number, const DefaultsSource& src);
void LoadDefaultCircle(DCircle& rec, int number, const DefaultsSource& src);
void LoadDefaultTriangle(DTri& rec, int number, const DefaultsSource& src);
void LoadDefaultTetragon(DKv& rec, int number, const DefaultsSource& src);
void LoadDefaultXOY(DXOY& rec, int number, const DefaultsSource& src);
void LoadDefaultOrb(DSf& rec, int number, const DefaultsSource& src);
void LoadDefaultCylinder(DZi& rec, int number, const DefaultsSource& src);
void LoadDefaultCone(DKo& rec, int number, const DefaultsSource& src);
void LoadDefaultPyramid3(DPi3& rec, int number, const DefaultsSource& src);
void LoadDefaultPyramid4(DPi4& rec, int number, const DefaultsSource& src);
void LoadDefaultPrism3(DPr3& rec, int number, const DefaultsSource& src);
void LoadDefaultPrism4(DPr4& rec, int number, const DefaultsSource& src);
void LoadDefaultXYZ(DXZ& rec, int number, const DefaultsSource& src);

// The same loaders chosen by the record's type.
inline void LoadDefault(DPoint& r, int n, const DefaultsSource& s) { LoadDefaultPoint(r, n, s); }
inline void LoadDefault(DLine& r, int n, const DefaultsSource& s) { LoadDefaultLine(r, n, s); }
inline void LoadDefault(DCircle& r, int n, const DefaultsSource& s) { LoadDefaultCircle(r, n, s); }
inline void LoadDefault(DTri& r, int n, const DefaultsSource& s) { LoadDefaultTriangle(r, n, s); }
inline void LoadDefault(DKv& r, int n, const DefaultsSource& s) { LoadDefaultTetragon(r, n, s); }
inline void LoadDefault(DXOY& r, int n, const DefaultsSource& s) { LoadDefaultXOY(r, n, s); }
inline void LoadDefault(DSf& r, int n, const DefaultsSource& s) { LoadDefaultOrb(r, n, s); }
inline void LoadDefault(DZi& r, int n, const DefaultsSource& s) { LoadDefaultCylinder(r, n, s); }
inline void LoadDefault(DKo& r, int n, const DefaultsSource& s) { LoadDefaultCone(r, n, s); }
inline void LoadDefault(DPi3& r, int n, const DefaultsSource& s) { LoadDefaultPyramid3(r, n, s); }
inline void LoadDefault(DPi4& r, int n, const DefaultsSource& s) { LoadDefaultPyramid4(r, n, s); }
inline void LoadDefault(DPr3& r, int n, const DefaultsSource& s) { LoadDefaultPrism3(r, n, s); }
inline void LoadDefault(DPr4& r, int n, const DefaultsSource& s) { LoadDefaultPrism4(r, n, s); }
inline void LoadDefault(DXZ& r, int n, const DefaultsSource& s) { LoadDefaultXYZ(r, n, s); }

}  // namespace pelmar
