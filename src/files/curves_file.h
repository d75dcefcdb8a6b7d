// The lines of the curves file beside a document: one set of polylines
// (DCurve2) written after its header line and read back with it.  The file as
// a whole is written and read by WriteCurvesFile and ReadCurvesFile
// (files/companion.h).
#pragma once

#include <string>

#include "files/text_lines.h"
#include "model/records.h"

namespace pelmar {

// A real rounded to 8 significant digits and shown with exactly 8 digits
// after the separator ("1,50000000"); more than 8 digits before the
// separator give the exponent form ("1,2345679E9").
std::string FixedReal(double v, char sep);
// The same text written into buf, which holds at least FixedRealMax
// characters; returns its length.
inline constexpr std::size_t FixedRealMax = 48;
std::size_t FixedRealTo(char* buf, double v, char sep);

// The point flag kept in the lowest byte of a curve point's third field.
bool CurvePointFlag(const CurvePoint& p);
void SetCurvePointFlag(CurvePoint& p, bool on);

// Writes the lines of one curve (not its header).  A curve that holds a
// value that is not a finite number is written as not present, so that it is
// computed again after reading.
void WriteCurve(LineWriter& w, const DCurve2& c);

// What the curves read from one file may take: bytes of memory, and bytes of
// the curves file they are written back to (with its header lines).
struct CurvesBudget {
    std::size_t memory;
    std::size_t written;
};

// Reads one curve with its header line.  Throws FormatError on a line that
// does not hold its number, on a count larger than the lines left could
// hold, on a file that ends early, or when the curve would take more memory
// or more bytes written back than *budget has left (then lessened by what it
// takes); the curve is then left not present, with its other fields as they
// were.  Memory grows only with the lines actually read, whatever counts the
// file claims.
void ReadCurve(LineReader& r, DCurve2& c, CurvesBudget* budget = nullptr);

}  // namespace pelmar
