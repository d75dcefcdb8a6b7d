// The role tables of the nesting path: for every pair of parent kind and part
// kind, which role value names which slot of the parent.  A part opened from
// its parent sits in its own kind's working copy, and the document's role
// byte of the part's kind says which slot it came from.
//
// `chosen` marks a role value that names a slot in several parent kinds: such
// a slot is read only from the parent whose kind is the current object's.
#pragma once

#include <array>
#include <cstdint>

#include "model/records.h"

namespace pelmar {

template <class Parent, class Part>
struct SlotRow {
    std::uint8_t role;
    bool chosen;
    Part& (*get)(Parent&);
};

// No slots: the part kind never lies in the parent kind.
template <class Parent, class Part>
struct Slots {
    static constexpr std::array<SlotRow<Parent, Part>, 0> rows{};
};

// Point level.
template <>
struct Slots<DLine, DPoint> {
    static constexpr std::array<SlotRow<DLine, DPoint>, 4> rows{{
        {1, false, [](DLine& l) -> DPoint& { return l.P1; }},
        {2, false, [](DLine& l) -> DPoint& { return l.P2; }},
        {8, false, [](DLine& l) -> DPoint& { return l.P3; }},
        {9, false, [](DLine& l) -> DPoint& { return l.P4; }},
    }};
};
template <>
struct Slots<DCircle, DPoint> {
    static constexpr std::array<SlotRow<DCircle, DPoint>, 1> rows{{
        {3, false, [](DCircle& c) -> DPoint& { return c.Center; }},
    }};
};
template <>
struct Slots<DXOY, DPoint> {
    static constexpr std::array<SlotRow<DXOY, DPoint>, 1> rows{{
        {4, false, [](DXOY& x) -> DPoint& { return x.Center; }},
    }};
};
template <>
struct Slots<DKv, DPoint> {
    static constexpr std::array<SlotRow<DKv, DPoint>, 1> rows{{
        {5, false, [](DKv& k) -> DPoint& { return k.Center; }},
    }};
};
template <>
struct Slots<DSf, DPoint> {
    static constexpr std::array<SlotRow<DSf, DPoint>, 1> rows{{
        {6, false, [](DSf& s) -> DPoint& { return s.Center; }},
    }};
};
template <>
struct Slots<DXZ, DPoint> {
    static constexpr std::array<SlotRow<DXZ, DPoint>, 1> rows{{
        {7, false, [](DXZ& x) -> DPoint& { return x.Center; }},
    }};
};

// Segment level.
template <>
struct Slots<DCircle, DLine> {
    static constexpr std::array<SlotRow<DCircle, DLine>, 3> rows{{
        {1, false, [](DCircle& c) -> DLine& { return c.R[1]; }},
        {2, false, [](DCircle& c) -> DLine& { return c.R[2]; }},
        {3, false, [](DCircle& c) -> DLine& { return c.R[3]; }},
    }};
};
template <>
struct Slots<DTri, DLine> {
    static constexpr std::array<SlotRow<DTri, DLine>, 8> rows{{
        {4, false, [](DTri& t) -> DLine& { return t.S[1]; }},
        {5, false, [](DTri& t) -> DLine& { return t.S[2]; }},
        {6, false, [](DTri& t) -> DLine& { return t.S[3]; }},
        {7, false, [](DTri& t) -> DLine& { return t.Lines[1]; }},
        {8, false, [](DTri& t) -> DLine& { return t.Lines[2]; }},
        {9, false, [](DTri& t) -> DLine& { return t.Lines[3]; }},
        {10, false, [](DTri& t) -> DLine& { return t.Lines[4]; }},
        {11, false, [](DTri& t) -> DLine& { return t.Lines[5]; }},
    }};
};
template <>
struct Slots<DXOY, DLine> {
    static constexpr std::array<SlotRow<DXOY, DLine>, 2> rows{{
        {12, true, [](DXOY& x) -> DLine& { return x.AxisX; }},
        {13, true, [](DXOY& x) -> DLine& { return x.AxisY; }},
    }};
};
template <>
struct Slots<DXZ, DLine> {
    static constexpr std::array<SlotRow<DXZ, DLine>, 3> rows{{
        {12, true, [](DXZ& x) -> DLine& { return x.AxisX; }},
        {13, true, [](DXZ& x) -> DLine& { return x.AxisY; }},
        {29, false, [](DXZ& x) -> DLine& { return x.AxisZ; }},
    }};
};
template <>
struct Slots<DKv, DLine> {
    static constexpr std::array<SlotRow<DKv, DLine>, 6> rows{{
        {14, false, [](DKv& k) -> DLine& { return k.S[1]; }},
        {15, false, [](DKv& k) -> DLine& { return k.S[2]; }},
        {16, false, [](DKv& k) -> DLine& { return k.S[3]; }},
        {17, false, [](DKv& k) -> DLine& { return k.S[4]; }},
        {18, false, [](DKv& k) -> DLine& { return k.Diag[1]; }},
        {19, false, [](DKv& k) -> DLine& { return k.Diag[2]; }},
    }};
};
template <>
struct Slots<DZi, DLine> {
    static constexpr std::array<SlotRow<DZi, DLine>, 1> rows{{
        {20, false, [](DZi& z) -> DLine& { return z.Axis; }},
    }};
};
template <>
struct Slots<DKo, DLine> {
    static constexpr std::array<SlotRow<DKo, DLine>, 1> rows{{
        {21, false, [](DKo& k) -> DLine& { return k.Axis; }},
    }};
};
template <>
struct Slots<DPi3, DLine> {
    static constexpr std::array<SlotRow<DPi3, DLine>, 1> rows{{
        {22, true, [](DPi3& p) -> DLine& { return p.HeightLine; }},
    }};
};
template <>
struct Slots<DPi4, DLine> {
    static constexpr std::array<SlotRow<DPi4, DLine>, 1> rows{{
        {22, true, [](DPi4& p) -> DLine& { return p.HeightLine; }},
    }};
};

// Ellipse level.
template <>
struct Slots<DTri, DCircle> {
    static constexpr std::array<SlotRow<DTri, DCircle>, 2> rows{{
        {1, false, [](DTri& t) -> DCircle& { return t.Circ[2]; }},  // inscribed
        {2, false, [](DTri& t) -> DCircle& { return t.Circ[1]; }},  // circumscribed
    }};
};
template <>
struct Slots<DSf, DCircle> {
    static constexpr std::array<SlotRow<DSf, DCircle>, 8> rows{{
        {3, false, [](DSf& s) -> DCircle& { return s.Sec[1]; }},
        {4, false, [](DSf& s) -> DCircle& { return s.Sec[2]; }},
        {5, false, [](DSf& s) -> DCircle& { return s.Sec[3]; }},
        {12, false, [](DSf& s) -> DCircle& { return s.Sec[4]; }},
        {13, false, [](DSf& s) -> DCircle& { return s.Sec[5]; }},
        {14, false, [](DSf& s) -> DCircle& { return s.Sec[6]; }},
        {15, false, [](DSf& s) -> DCircle& { return s.Sec[7]; }},
        {6, false, [](DSf& s) -> DCircle& { return s.Contour; }},
    }};
};
template <>
struct Slots<DZi, DCircle> {
    static constexpr std::array<SlotRow<DZi, DCircle>, 2> rows{{
        {7, false, [](DZi& z) -> DCircle& { return z.Base[1]; }},
        {8, false, [](DZi& z) -> DCircle& { return z.Base[2]; }},
    }};
};
template <>
struct Slots<DKo, DCircle> {
    static constexpr std::array<SlotRow<DKo, DCircle>, 1> rows{{
        {9, false, [](DKo& k) -> DCircle& { return k.Base; }},
    }};
};
template <>
struct Slots<DKv, DCircle> {
    static constexpr std::array<SlotRow<DKv, DCircle>, 2> rows{{
        {10, false, [](DKv& k) -> DCircle& { return k.Circ[2]; }},  // inscribed
        {11, false, [](DKv& k) -> DCircle& { return k.Circ[1]; }},  // circumscribed
    }};
};

// Triangle level.
template <>
struct Slots<DKo, DTri> {
    static constexpr std::array<SlotRow<DKo, DTri>, 4> rows{{
        {1, false, [](DKo& k) -> DTri& { return k.Sec[1]; }},
        {2, false, [](DKo& k) -> DTri& { return k.Sec[2]; }},
        {3, false, [](DKo& k) -> DTri& { return k.Sec[3]; }},
        {4, false, [](DKo& k) -> DTri& { return k.Sec[4]; }},
    }};
};
template <>
struct Slots<DPi3, DTri> {
    static constexpr std::array<SlotRow<DPi3, DTri>, 4> rows{{
        {5, false, [](DPi3& p) -> DTri& { return p.Base; }},
        {6, true, [](DPi3& p) -> DTri& { return p.Face[1]; }},
        {7, true, [](DPi3& p) -> DTri& { return p.Face[2]; }},
        {8, true, [](DPi3& p) -> DTri& { return p.Face[3]; }},
    }};
};
template <>
struct Slots<DPi4, DTri> {
    static constexpr std::array<SlotRow<DPi4, DTri>, 4> rows{{
        {6, true, [](DPi4& p) -> DTri& { return p.Face[1]; }},
        {7, true, [](DPi4& p) -> DTri& { return p.Face[2]; }},
        {8, true, [](DPi4& p) -> DTri& { return p.Face[3]; }},
        {9, false, [](DPi4& p) -> DTri& { return p.Face[4]; }},
    }};
};
template <>
struct Slots<DPr3, DTri> {
    static constexpr std::array<SlotRow<DPr3, DTri>, 2> rows{{
        {10, false, [](DPr3& p) -> DTri& { return p.Base[1]; }},
        {11, false, [](DPr3& p) -> DTri& { return p.Base[2]; }},
    }};
};

// Tetragon level.
template <>
struct Slots<DZi, DKv> {
    static constexpr std::array<SlotRow<DZi, DKv>, 4> rows{{
        {1, false, [](DZi& z) -> DKv& { return z.Sec[1]; }},
        {2, false, [](DZi& z) -> DKv& { return z.Sec[2]; }},
        {3, false, [](DZi& z) -> DKv& { return z.Sec[3]; }},
        {4, false, [](DZi& z) -> DKv& { return z.Sec[4]; }},
    }};
};
template <>
struct Slots<DPi4, DKv> {
    static constexpr std::array<SlotRow<DPi4, DKv>, 1> rows{{
        {5, false, [](DPi4& p) -> DKv& { return p.Base; }},
    }};
};
template <>
struct Slots<DPr4, DKv> {
    static constexpr std::array<SlotRow<DPr4, DKv>, 6> rows{{
        {6, false, [](DPr4& p) -> DKv& { return p.Base[1]; }},
        {7, false, [](DPr4& p) -> DKv& { return p.Base[2]; }},
        {8, true, [](DPr4& p) -> DKv& { return p.Side[1]; }},
        {9, true, [](DPr4& p) -> DKv& { return p.Side[2]; }},
        {10, true, [](DPr4& p) -> DKv& { return p.Side[3]; }},
        {11, false, [](DPr4& p) -> DKv& { return p.Side[4]; }},
    }};
};
template <>
struct Slots<DPr3, DKv> {
    static constexpr std::array<SlotRow<DPr3, DKv>, 3> rows{{
        {8, true, [](DPr3& p) -> DKv& { return p.Side[1]; }},
        {9, true, [](DPr3& p) -> DKv& { return p.Side[2]; }},
        {10, true, [](DPr3& p) -> DKv& { return p.Side[3]; }},
    }};
};

// Sphere level: the circumscribed (1) and inscribed (2) sphere of every solid.
template <class Solid>
struct SolidSpheres {
    static constexpr std::array<SlotRow<Solid, DSf>, 2> rows{{
        {1, true, [](Solid& s) -> DSf& { return s.OutSphere; }},
        {2, true, [](Solid& s) -> DSf& { return s.InSphere; }},
    }};
};
template <> struct Slots<DZi, DSf> : SolidSpheres<DZi> {};
template <> struct Slots<DKo, DSf> : SolidSpheres<DKo> {};
template <> struct Slots<DPi3, DSf> : SolidSpheres<DPi3> {};
template <> struct Slots<DPi4, DSf> : SolidSpheres<DPi4> {};
template <> struct Slots<DPr3, DSf> : SolidSpheres<DPr3> {};
template <> struct Slots<DPr4, DSf> : SolidSpheres<DPr4> {};

// The row of a role in a parent kind; nullptr when the role names no slot there.
template <class Parent, class Part>
constexpr const SlotRow<Parent, Part>* FindSlot(std::uint8_t role) {
    for (const auto& r : Slots<Parent, Part>::rows)
        if (r.role == role) return &r;
    return nullptr;
}

// The six levels that can be parts, innermost first.
inline constexpr std::array<Kind, 6> PartLevels{Kind::po, Kind::li, Kind::ci, Kind::tr, Kind::kv, Kind::sf};

inline constexpr bool IsPartLevel(Kind k) {
    for (Kind p : PartLevels)
        if (p == k) return true;
    return false;
}

}  // namespace pelmar
