// Mirroring records in the horizontal line of the picture: from document to
// screen orientation (mode 21, used by the painters on their private copies),
// and from the older file orientation to the document's (mode 12, used when
// reading).  Any other mode flips the picture Y and the angles but leaves Z.
#pragma once

#include <cstdint>

#include "model/records.h"

namespace pelmar {

inline constexpr std::uint8_t FlipToScreen = 21;
inline constexpr std::uint8_t FlipFromOldFile = 12;

void FlipYPoint(DPoint& p, std::uint8_t mode, std::int32_t h);
void FlipYLine(DLine& l, std::uint8_t mode, std::int32_t h);
void FlipYCircle(DCircle& c, std::uint8_t mode, std::int32_t h);
void FlipYTriangle(DTri& t, std::uint8_t mode, std::int32_t h);
void FlipYTetragon(DKv& k, std::uint8_t mode, std::int32_t h);
void FlipYXOY(DXOY& x, std::uint8_t mode, std::int32_t h);
void FlipYOrb(DSf& s, std::uint8_t mode, std::int32_t h);
void FlipYCylinder(DZi& z, std::uint8_t mode, std::int32_t h);
void FlipYCone(DKo& k, std::uint8_t mode, std::int32_t h);
void FlipYPyramid3(DPi3& p, std::uint8_t mode, std::int32_t h);
void FlipYPyramid4(DPi4& p, std::uint8_t mode, std::int32_t h);
void FlipYPrism3(DPr3& p, std::uint8_t mode, std::int32_t h);
void FlipYPrism4(DPr4& p, std::uint8_t mode, std::int32_t h);
void FlipYXYZ(DXZ& x, std::uint8_t mode, std::int32_t h);

// Flips every object of the document in kind order; with workingCopies given,
// the fourteen working copies afterwards as well.
void FlipYDocument(DProj& d, WorkingCopies* workingCopies, std::uint8_t mode, std::int32_t h);

}  // namespace pelmar
