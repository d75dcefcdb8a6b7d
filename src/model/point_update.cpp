// The colour palette and the point update: picture position, rounding of the
// 3D coordinates, colour, and the editability flags by the point's role.
#include <algorithm>
#include <array>
#include <cstdint>

#include "model/geometry.h"
#include "model/update.h"

namespace pelmar {

namespace {

constexpr std::array<TColor, 16> Palette{
    0x000000,  // black
    0x000080,  // maroon
    0x008000,  // green
    0x008080,  // olive
    0x800000,  // navy
    0x800080,  // purple
    0x808000,  // teal
    0x808080,  // grey
    0xC0C0C0,  // silver
    0x0000FF,  // red
    0x00FF00,  // lime
    0x00FFFF,  // yellow
    0xFF0000,  // blue
    0xFF00FF,  // fuchsia
    0xFFFF00,  // aqua
    0xFFFFFF,  // white
};

// A flag column of a role row: set to 0, set to 1, or keep.
enum class F : std::int8_t { off = 0, on = 1, keep = -1 };

// What the radius and thickness flags do after the role's own flags are set.
enum class SizeFlags : std::uint8_t {
    asTyped,        // keep what the type step gave them
    offWithType,    // 0 when the type flag ends up 0
    off,            // always 0
};

// Which stored values the role resets.
enum class Reset : std::uint8_t {
    none,
    cleared,   // type 1, radius 0, thickness 0
    typeOnly,  // type 1; radius and thickness keep their values
};

struct PointRole {
    int role;
    F id, scrX, scrY, x, y, z, type, names, style;
    SizeFlags sizes;
    Reset reset;
    bool emptyNames;     // name text, upper and lower index emptied
    bool lockWhenLinked; // a linked point's picture and 3D flags become 0
};

constexpr F O = F::off, I = F::on, K = F::keep;

constexpr std::array<PointRole, 11> PointRoles{{
    // role  ID scrX scrY  X  Y  Z  type names style  sizes                   reset            empty  linked
    {0,      I, I,   I,    I, I, I, I,   I,    I,     SizeFlags::asTyped,     Reset::none,     false, true},
    {-1,     O, I,   I,    I, I, I, K,   I,    O,     SizeFlags::offWithType, Reset::none,     false, false},
    {-2,     O, O,   O,    O, O, O, O,   O,    O,     SizeFlags::asTyped,     Reset::cleared,  true,  false},
    {-3,     O, O,   O,    O, O, O, K,   I,    O,     SizeFlags::offWithType, Reset::none,     false, false},
    {-4,     O, I,   I,    I, I, I, O,   O,    O,     SizeFlags::off,         Reset::typeOnly, true,  false},
    {-5,     O, I,   O,    O, O, O, O,   O,    O,     SizeFlags::asTyped,     Reset::cleared,  true,  false},
    {-6,     O, I,   O,    O, O, O, K,   I,    O,     SizeFlags::offWithType, Reset::cleared,  false, false},
    {-7,     O, O,   I,    O, O, O, O,   O,    O,     SizeFlags::asTyped,     Reset::cleared,  true,  false},
    {-8,     O, O,   I,    O, O, O, K,   I,    O,     SizeFlags::offWithType, Reset::cleared,  false, false},
    {-9,     O, O,   O,    I, O, O, O,   O,    O,     SizeFlags::asTyped,     Reset::cleared,  true,  false},
    {-10,    O, O,   O,    I, O, O, K,   I,    O,     SizeFlags::offWithType, Reset::cleared,  false, false},
}};

void Apply(bool& flag, F f) {
    if (f != F::keep) flag = (f == F::on);
}

void ApplyNames(DPoint& p, F f) {
    for (bool* e : {&p.Name.e, &p.Upper.e, &p.Lower.e, &p.NameFont.e, &p.NameBold.e, &p.NameItalic.e,
                    &p.NameSize.e, &p.IndexFont.e, &p.IndexBold.e, &p.IndexItalic.e, &p.IndexSize.e,
                    &p.LabelDist.e, &p.LabelAngle.e})
        Apply(*e, f);
}

void ApplyStyle(DPoint& p, F f) {
    for (bool* e : {&p.Color.e, &p.ColorIndex.e, &p.Layer.e, &p.Disabled.e}) Apply(*e, f);
}

void ApplyRole(DPoint& p, const PointRole& r) {
    Apply(p.ID.e, r.id);
    Apply(p.ScrX.e, r.scrX);
    Apply(p.ScrY.e, r.scrY);
    Apply(p.X.e, r.x);
    Apply(p.Y.e, r.y);
    Apply(p.Z.e, r.z);
    Apply(p.Typ.e, r.type);
    ApplyNames(p, r.names);
    ApplyStyle(p, r.style);

    switch (r.sizes) {
        case SizeFlags::asTyped: break;
        case SizeFlags::offWithType:
            if (!p.Typ.e) p.Radius.e = p.Thick.e = false;
            break;
        case SizeFlags::off: p.Radius.e = p.Thick.e = false; break;
    }
    switch (r.reset) {
        case Reset::none: break;
        case Reset::cleared:
            p.Typ.v = 1;
            p.Radius.v = 0;
            p.Thick.v = 0;
            break;
        case Reset::typeOnly: p.Typ.v = 1; break;
    }
    if (r.emptyNames) {
        p.Name.s.clear();
        p.Upper.s.clear();
        p.Lower.s.clear();
    }
    if (r.lockWhenLinked && p.Link.linked())
        p.ScrX.e = p.ScrY.e = p.X.e = p.Y.e = p.Z.e = false;
}

}  // namespace

TColor IndexToColor(std::uint8_t index, TColor dflt) { return index < Palette.size() ? Palette[index] : dflt; }

void UpdatePoint(DPoint& p, int role) {
    // The picture position comes from the coordinates as they stand, before rounding.
    ProjectPoint(p);
    p.X.v = Round3(p.X.v);
    p.Y.v = Round3(p.Y.v);
    p.Z.v = Round3(p.Z.v);

    // An index outside the palette keeps the colour the point has.
    p.Color.v = IndexToColor(p.ColorIndex.v, p.Color.v);

    switch (p.Typ.v) {
        case 1: p.Radius.e = false; p.Thick.e = false; break;
        case 2: p.Radius.e = true; p.Thick.e = false; break;
        case 3: p.Radius.e = true; p.Thick.e = true; break;
        default: break;
    }

    const auto* row = std::find_if(PointRoles.begin(), PointRoles.end(),
                                   [role](const PointRole& r) { return r.role == role; });
    if (row != PointRoles.end()) ApplyRole(p, *row);
}

}  // namespace pelmar
