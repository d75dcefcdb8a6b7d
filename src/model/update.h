// The per-kind update procedures: after every edit they recompute a record's
// derived values and set its editability flags by the role it plays.
//
// Role 0 is a stand-alone object; a negative role is a part inside a parent
// record; a positive role (the animation builder passes 1) recomputes without
// setting role flags.
#pragma once

#include "model/records.h"

namespace pelmar {

// The 16-colour palette; dflt for any other index.
TColor IndexToColor(std::uint8_t index, TColor dflt = 0);

void UpdatePoint(DPoint& p, int role);
void UpdateLine(DLine& l, int role);
void UpdateCircle(DCircle& c, int role);
void UpdateTriangle(DTri& t, int role, bool applyType);
// Returns whether vertex 4 of the tetragon may be moved freely (its equality
// flag); the tetragon hit test and selection use it.
bool UpdateTetragon(DKv& k, int role, bool applyType);
void UpdateXOY(DXOY& x, int role);
void UpdateOrb(DSf& s, int role);
// A solid's inscribed or circumscribed sphere: updated while it is on.  One
// that is switched off is not recomputed; the planes of its circles, which
// no file holds, are cleared instead, so that the solid reads back from a
// file as it was written.
void UpdateSolidSphere(DSf& s, bool on);
void UpdateCylinder(DZi& z, int role);
void UpdateCone(DKo& k, int role);
void UpdatePyramid3(DPi3& p, int role);
void UpdatePyramid4(DPi4& p, int role);
void UpdatePrism3(DPr3& p, int role);
void UpdatePrism4(DPr4& p, int role);
void UpdateXYZ(DXZ& x, int role);

// An object recomputed on its own as the document reader recomputes every
// object it reads: role 0, the tetragon with its type rules, the triangle
// without.  A record changed outside an edit (moved onto a new picture) goes
// through it too, so that it is saved as reading its file gives it back.
inline void UpdateAsRead(DPoint& r) { UpdatePoint(r, 0); }
inline void UpdateAsRead(DLine& r) { UpdateLine(r, 0); }
inline void UpdateAsRead(DCircle& r) { UpdateCircle(r, 0); }
inline void UpdateAsRead(DTri& r) { UpdateTriangle(r, 0, false); }
inline void UpdateAsRead(DKv& r) { UpdateTetragon(r, 0, true); }
inline void UpdateAsRead(DXOY& r) { UpdateXOY(r, 0); }
inline void UpdateAsRead(DSf& r) { UpdateOrb(r, 0); }
inline void UpdateAsRead(DZi& r) { UpdateCylinder(r, 0); }
inline void UpdateAsRead(DKo& r) { UpdateCone(r, 0); }
inline void UpdateAsRead(DPi3& r) { UpdatePyramid3(r, 0); }
inline void UpdateAsRead(DPi4& r) { UpdatePyramid4(r, 0); }
inline void UpdateAsRead(DPr3& r) { UpdatePrism3(r, 0); }
inline void UpdateAsRead(DPr4& r) { UpdatePrism4(r, 0); }
inline void UpdateAsRead(DXZ& r) { UpdateXYZ(r, 0); }

// An object recomputed as a still picture of the values it holds, as the
// commit of an edit leaves it: as read, except that a typed triangle is held
// to its type, as the tetragon is.  What it gives reads back from a file
// unchanged; every frame of an animation is computed so.
inline void UpdateAsStill(DTri& r) { UpdateTriangle(r, 0, true); }
template <class R>
void UpdateAsStill(R& r) {
    UpdateAsRead(r);
}

// Line types of a section's edges in the automatic (5) and opaque (6) view
// modes, judged against the plane of the silhouette (reference).
void CylinderEdgeStyles(DKv reference, DKv& section, bool upperFaces, std::uint8_t mode);
void ConeEdgeStyles(DTri reference, DTri& section, bool baseFaces, std::uint8_t mode, bool apexInside);

}  // namespace pelmar
