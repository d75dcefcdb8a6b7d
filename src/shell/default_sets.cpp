#include "shell/default_sets.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <numbers>
#include <system_error>

#include "files/document.h"
#include "platform/safe_save.h"
#include "model/coord_edits.h"
#include "model/geometry.h"
#include "model/translate.h"
#include "model/update.h"
#include "shell/program_folder.h"

namespace pelmar {

namespace {

// ---------------------------------------------------------------------------
// The look

constexpr std::int32_t OutlineThick = 2;

// A ticked fill shades from light blue (lit) through a middle blue to a
// dark blue (turned away from the light): black lines, dashes and labels
// stay readable on each.  Colours are 0x00BBGGRR.
constexpr TColor FillLight = 0xFAEBDC;   // (220, 235, 250)
constexpr TColor FillMiddle = 0xEBC39B;  // (155, 195, 235)
constexpr TColor FillDark = 0xBE8C5A;    // (90, 140, 190)

void Shade(DFill& f) { f.Colors = {FillLight, FillMiddle, FillDark}; }

// A named vertex: a small disc with its name in italics, the label placed
// away from (cx, cy), the middle of the figure in picture coordinates.
void Vertex(DPoint& p, const char* name, double cx, double cy, const char* lower = "") {
    p.Typ.v = 2;
    p.Radius.v = 3;
    p.Name.s = name;
    p.Lower.s = lower;
    p.Upper.s.clear();
    p.NameItalic.v = true;
    p.NameBold.v = false;
    p.NameSize.v = 16;
    p.IndexFont.s = p.NameFont.s;
    p.IndexSize.v = 10;
    p.LabelDist.v = *lower ? 19 : 14;  // room for the index beside the name
    const double a = std::atan2(p.ScrY.v - cy, p.ScrX.v - cx) * 180.0 / std::numbers::pi;
    p.LabelAngle.v = static_cast<std::int32_t>(std::lround(a));
}

// An end that shows nothing: the vertex is drawn by the segment that starts there.
void Silent(DPoint& p) {
    p.Typ.v = 1;
    p.Name.s.clear();
    p.Lower.s.clear();
    p.Upper.s.clear();
}

void Edge(DLine& l, std::int32_t thick = OutlineThick) {
    l.Arrow1.v = l.Arrow2.v = false;
    l.LineType.v = 1;
    l.Thick.v = thick;
    l.Show3.v = l.Show4.v = false;
}

struct Pt2 {
    double x = 0, y = 0;
};

template <std::size_t N>
Pt2 Middle(const Arr1<DLine, N>& sides) {
    Pt2 c;
    for (const DLine& s : sides) {
        c.x += s.P1.ScrX.v / N;
        c.y += s.P1.ScrY.v / N;
    }
    return c;
}

// Sides drawn as plain edges, vertex i named names[i - 1]; the second end of
// each side stays silent, so that every vertex is drawn once.
template <std::size_t N>
void Polygon(Arr1<DLine, N>& sides, const std::array<const char*, N>& names, Pt2 c) {
    for (std::size_t i = 1; i <= N; ++i) {
        Edge(sides[i]);
        Vertex(sides[i].P1, names[i - 1], c.x, c.y);
        Silent(sides[i].P2);
    }
}

// Places a point in the picture plane (depth 0) at picture (x, y).
void At(DPoint& p, double x, double y) {
    SetPos(p, {0, x, y});
    ProjectPoint(p);
}

// Places polygon vertex i at xy[i - 1], with the second end of each side on
// the next vertex.
template <std::size_t N>
void Corners(Arr1<DLine, N>& sides, const std::array<Pt2, N>& xy) {
    for (std::size_t i = 1; i <= N; ++i) {
        At(sides[i].P1, xy[i - 1].x, xy[i - 1].y);
        At(sides[i].P2, xy[i % N].x, xy[i % N].y);
    }
}

template <std::size_t N>
void SilentPolygon(Arr1<DLine, N>& sides) {
    for (auto& s : sides) {
        Silent(s.P1);
        Silent(s.P2);
    }
}

// Every point of a figure that is only a part (a face, a section): no marks,
// no names.
void SilentParts(DTri& t) {
    SilentPolygon(t.S);
    for (auto& l : t.Lines) {
        Silent(l.P1);
        Silent(l.P2);
    }
    for (auto& c : t.Circ) Silent(c.Center);
}
void SilentParts(DKv& k) {
    SilentPolygon(k.S);
    for (auto& d : k.Diag) {
        Silent(d.P1);
        Silent(d.P2);
    }
    for (auto& c : k.Circ) Silent(c.Center);
    Silent(k.Center);
}
void SilentParts(DCircle& c) {
    Silent(c.Center);
    for (auto& r : c.R) {
        Silent(r.P1);
        Silent(r.P2);
    }
}
void SilentParts(DSf& s) {
    Silent(s.Center);
    SilentParts(s.Contour);
    for (auto& c : s.Sec) SilentParts(c);
}

// Names the vertices of a solid's base (and its upper base), away from the
// middle of the solid's picture.
template <std::size_t N>
void NameBase(Arr1<DLine, N>& sides, const std::array<const char*, 4>& names, Pt2 c, const char* lower = "") {
    for (std::size_t i = 1; i <= N; ++i) Vertex(sides[i].P1, names[i - 1], c.x, c.y, lower);
}

constexpr std::array<const char*, 4> ABCD{"A", "B", "C", "D"};

void LookPoint(DPoint& p) { Vertex(p, "A", p.ScrX.v - 1, p.ScrY.v + 1); }

void LookLine(DLine& l) {
    At(l.P1, 60, 80);
    At(l.P2, 260, 150);
    UpdateLine(l, 0);
    Edge(l);
    const Pt2 c{(l.P1.ScrX.v + l.P2.ScrX.v) / 2, (l.P1.ScrY.v + l.P2.ScrY.v) / 2 + 40};
    Vertex(l.P1, "A", c.x, c.y);
    Vertex(l.P2, "B", c.x, c.y);
    UpdateLine(l, 0);
}

void LookCircle(DCircle& c) {
    const Vec3 from = Pos(c.Center);
    TranslateCircle(c, 0 - from.x, 200 - from.y, 150 - from.z);
    SilentParts(c);
    for (auto& r : c.R) Edge(r, 1);
    c.Thick.v = OutlineThick;
    Shade(c.Fill);
    c.ViewType.v = 1;
    c.Dash.v = 5;  // the hidden arcs of the solids' bases and sections
    c.Gap.v = 4;
    UpdateCircle(c, 0);
    Vertex(c.Center, "O", c.Center.ScrX.v - 1, c.Center.ScrY.v + 1);
    UpdateCircle(c, 0);
}

void LookTriangle(DTri& t) {
    Corners(t.S, std::array<Pt2, 3>{{{80, 60}, {320, 60}, {210, 240}}});
    UpdateTriangle(t, 0, false);
    t.Thick.v = OutlineThick;
    Shade(t.Fill);
    Polygon(t.S, {"A", "B", "C"}, Middle(t.S));
    for (auto& l : t.Lines) {
        Edge(l, 1);
        Silent(l.P1);
        Silent(l.P2);
    }
    for (auto& c : t.Circ) {
        c.Thick.v = 1;
        Silent(c.Center);
    }
    UpdateTriangle(t, 0, false);
}

void LookTetragon(DKv& k) {
    Corners(k.S, std::array<Pt2, 4>{{{60, 60}, {300, 50}, {330, 220}, {110, 200}}});
    UpdateTetragon(k, 0, false);
    k.Thick.v = OutlineThick;
    Shade(k.Fill);
    Polygon(k.S, {"A", "B", "C", "D"}, Middle(k.S));
    for (auto& d : k.Diag) {
        Edge(d, 1);
        Silent(d.P1);
        Silent(d.P2);
    }
    for (auto& c : k.Circ) {
        c.Thick.v = 1;
        Silent(c.Center);
    }
    Silent(k.Center);
    UpdateTetragon(k, 0, false);
}

void AxisEnd(DPoint& p, const char* name, double angle) {
    Silent(p);
    p.Name.s = name;
    p.NameItalic.v = true;
    p.NameSize.v = 16;
    p.LabelDist.v = 16;
    p.LabelAngle.v = static_cast<std::int32_t>(angle);
}

void LookXOY(DXOY& x) {
    At(x.Center, 200, 150);
    x.ScaleX.v = x.ScaleY.v = 20;
    const Vec3 o = Pos(x.Center);
    x.AxisX.P1.Y.v = o.y - 8 * x.ScaleX.v;
    x.AxisX.P2.Y.v = o.y + 8 * x.ScaleX.v;
    x.AxisY.P1.Z.v = o.z - 6 * x.ScaleY.v;
    x.AxisY.P2.Z.v = o.z + 6 * x.ScaleY.v;
    // Numbers in a text face whose digits sit clear of the ticks above them.
    x.NumberFont.s = "Times New Roman";
    Vertex(x.Center, "O", o.y + 1, o.z - 1);  // upper left, clear of the numbers
    x.Center.LabelDist.v = 20;                // and of the axes
    AxisEnd(x.AxisX.P1, "", 0);
    AxisEnd(x.AxisY.P1, "", 0);
    AxisEnd(x.AxisX.P2, "x", -60);
    AxisEnd(x.AxisY.P2, "y", 150);
    UpdateXOY(x, 0);
}

template <class Solid>
void SolidHead(Solid& s) {
    s.View.v = 5;  // hidden lines dashed
    s.Thick.v = OutlineThick;
    Shade(s.Fill);
}

void LookOrb(DSf& s) {
    SolidHead(s);
    SilentParts(s);
    // The equator alone, its far half dashed.
    for (std::size_t i = 2; i <= s.SecOn.size(); ++i) s.SecOn[i].v = false;
    UpdateOrb(s, 0);
    Vertex(s.Center, "O", s.Center.ScrX.v - 1, s.Center.ScrY.v - 1);
    s.Center.LabelDist.v = 12;
    UpdateOrb(s, 0);
}

template <class Round>
void SilentRoundParts(Round& r) {
    for (auto& sec : r.Sec) SilentParts(sec);
    SilentParts(r.OutSphere);
    SilentParts(r.InSphere);
    r.Axis.Thick.v = 1;
}

// The axis is drawn (dashed, inside the body) with its two ends named.
template <class Round>
void NameAxis(Round& r, const char* lower, const char* upper, const char* upperIndex) {
    // The base centre's name right of the axis, clear of the base's outline.
    Vertex(r.Axis.P1, lower, r.Axis.P1.ScrX.v - 1, r.Axis.P1.ScrY.v);
    r.Axis.P1.LabelDist.v = 12;
    const Pt2 c{(r.Axis.P1.ScrX.v + r.Axis.P2.ScrX.v) / 2, (r.Axis.P1.ScrY.v + r.Axis.P2.ScrY.v) / 2};
    if (*upperIndex) {
        Vertex(r.Axis.P2, upper, r.Axis.P2.ScrX.v - 1, r.Axis.P2.ScrY.v, upperIndex);
        r.Axis.P2.LabelDist.v = 14;
    } else {
        Vertex(r.Axis.P2, upper, c.x, c.y - 1);
    }
}

void LookCylinder(DZi& z) {
    SolidHead(z);
    SilentRoundParts(z);
    for (auto& b : z.Base) SilentParts(b);
    UpdateCylinder(z, 0);
    NameAxis(z, "O", "O", "1");
    UpdateCylinder(z, 0);
}

void LookCone(DKo& k) {
    SolidHead(k);
    SilentRoundParts(k);
    SilentParts(k.Base);
    UpdateCone(k, 0);
    NameAxis(k, "O", "S", "");
    UpdateCone(k, 0);
}

// The apex stands above the middle of the base; the height is drawn, dashed
// inside the body, from the apex S to its foot O.
template <class Pyramid>
void LookPyramid(Pyramid& p, void (*update)(Pyramid&, int)) {
    SolidHead(p);
    SilentParts(p.Base);
    for (auto& f : p.Face) SilentParts(f);
    SilentParts(p.OutSphere);
    SilentParts(p.InSphere);
    Vec3 middle{};
    for (const DLine& side : p.Base.S) middle = middle + Pos(side.P1) * (1.0 / p.Base.S.size());
    SetPos(p.HeightLine.P2, middle + Vec3{0, 0, 160});
    ProjectPoint(p.HeightLine.P2);
    p.HeightOn.v = true;
    p.HeightLine.Thick.v = 1;
    update(p, 0);
    const Pt2 c = Middle(p.Base.S);
    NameBase(p.Base.S, ABCD, c);
    Vertex(p.HeightLine.P2, "S", c.x, c.y - 1);
    Vertex(p.HeightLine.P1, "O", p.HeightLine.P1.ScrX.v - 1, p.HeightLine.P1.ScrY.v);
    p.HeightLine.P1.LabelDist.v = 11;
    update(p, 0);
}
void LookPyramid3(DPi3& p) { LookPyramid(p, UpdatePyramid3); }
void LookPyramid4(DPi4& p) { LookPyramid(p, UpdatePyramid4); }

template <class Prism>
void LookPrism(Prism& p, void (*update)(Prism&, int)) {
    SolidHead(p);
    for (auto& b : p.Base) SilentParts(b);
    for (auto& s : p.Side) SilentParts(s);
    SilentParts(p.OutSphere);
    SilentParts(p.InSphere);
    update(p, 0);
    const Pt2 lower = Middle(p.Base[1].S), upper = Middle(p.Base[2].S);
    const Pt2 c{(lower.x + upper.x) / 2, (lower.y + upper.y) / 2};
    NameBase(p.Base[1].S, ABCD, c);
    NameBase(p.Base[2].S, ABCD, c, "1");
    update(p, 0);
}
void LookPrism3(DPr3& p) { LookPrism(p, UpdatePrism3); }
void LookPrism4(DPr4& p) { LookPrism(p, UpdatePrism4); }

void LookXYZ(DXZ& x) {
    const Vec3 o = Pos(x.Center);
    x.AxisX.P1.X.v = o.x - 10 * x.Scale.v;
    x.AxisX.P2.X.v = o.x + 10 * x.Scale.v;
    x.AxisY.P1.Y.v = o.y - 8 * x.Scale.v;
    x.AxisY.P2.Y.v = o.y + 8 * x.Scale.v;
    x.AxisZ.P1.Z.v = o.z - 6 * x.Scale.v;
    x.AxisZ.P2.Z.v = o.z + 6 * x.Scale.v;
    x.NumberStep.v = 2;
    x.NumberFont.s = "Times New Roman";
    Vertex(x.Center, "O", x.Center.ScrX.v + 1, x.Center.ScrY.v - 1);  // upper left, clear of the numbers
    AxisEnd(x.AxisX.P1, "", 0);
    AxisEnd(x.AxisY.P1, "", 0);
    AxisEnd(x.AxisZ.P1, "", 0);
    AxisEnd(x.AxisX.P2, "x", 180);
    AxisEnd(x.AxisY.P2, "y", -60);
    AxisEnd(x.AxisZ.P2, "z", 150);
    UpdateXYZ(x, 0);
    const DImProj picture;  // the sets' picture
    WholePictureOutlineWindows(x, picture.Width, picture.Height);
}

// ---------------------------------------------------------------------------

template <class R, class Store>
std::unique_ptr<DProj> Make(Store DSubProj::*store, void (*load)(R&, int, const DefaultsSource&),
                            void (*look)(R&), const DefaultsSource& src) {
    auto doc = NewDocument();
    auto rec = std::make_unique<R>();
    load(*rec, 1, src);
    look(*rec);
    (doc->Obj.*store).add(*rec);
    return doc;
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    return SafeWriteFile(path, bytes).empty();
}

}  // namespace

std::unique_ptr<DProj> DefaultSetDocument(Kind k, const DefaultsSource& src) {
    switch (k) {
    case Kind::po: return Make(&DSubProj::Po, LoadDefaultPoint, LookPoint, src);
    case Kind::li: return Make(&DSubProj::Li, LoadDefaultLine, LookLine, src);
    case Kind::ci: return Make(&DSubProj::Ci, LoadDefaultCircle, LookCircle, src);
    case Kind::tr: return Make(&DSubProj::Tr, LoadDefaultTriangle, LookTriangle, src);
    case Kind::kv: return Make(&DSubProj::Kv, LoadDefaultTetragon, LookTetragon, src);
    case Kind::xy: return Make(&DSubProj::Xy, LoadDefaultXOY, LookXOY, src);
    case Kind::sf: return Make(&DSubProj::Sf, LoadDefaultOrb, LookOrb, src);
    case Kind::zi: return Make(&DSubProj::Zi, LoadDefaultCylinder, LookCylinder, src);
    case Kind::ko: return Make(&DSubProj::Ko, LoadDefaultCone, LookCone, src);
    case Kind::i3: return Make(&DSubProj::I3, LoadDefaultPyramid3, LookPyramid3, src);
    case Kind::i4: return Make(&DSubProj::I4, LoadDefaultPyramid4, LookPyramid4, src);
    case Kind::r3: return Make(&DSubProj::R3, LoadDefaultPrism3, LookPrism3, src);
    case Kind::r4: return Make(&DSubProj::R4, LoadDefaultPrism4, LookPrism4, src);
    case Kind::xz: return Make(&DSubProj::Xz, LoadDefaultXYZ, LookXYZ, src);
    }
    return nullptr;
}

bool WriteDefaultSets(const std::string& folder, char sep) {
    // Each kind is made from the sets made before it in this run, as a user
    // would make them one after the other; sets already in the folder are
    // not read.
    std::map<std::string, std::string> made;
    DefaultsSource src;
    src.programFolder = folder;
    src.readDocument = [&made, sep](const std::string& name, DProj& doc, std::uint8_t& version, std::uint8_t) {
        const auto it = made.find(name);
        if (it == made.end()) return ReadCannotOpen;
        auto work = std::make_unique<DProj>(doc);
        const std::uint8_t res = ParseDocumentText(it->second, *work, version, sep);
        if (res != ReadOk) return res;
        ProcessAfterReading(*work, nullptr);
        doc = std::move(*work);
        return ReadOk;
    };
    for (const KindInfo& info : KindTable) {
        const auto doc = DefaultSetDocument(info.kind, src);
        made[DefaultSetFile(info.kind, folder)] = DocumentText(*doc, WindowsFromRecord(*doc), doc->Role, sep);
    }
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(folder) / "DefaultSet", ec);
    for (const auto& [name, text] : made)
        if (!WriteFile(name, text)) return false;
    return true;
}

DocumentReader ShippedSetReader(const std::string& progDir, const std::vector<std::string>& shippedDirs,
                                DocumentReader reader) {
    return [progDir, shippedDirs, reader](const std::string& name, DProj& doc, std::uint8_t& version,
                                          std::uint8_t mode) {
        return reader(LocateProgramFile(name, progDir, shippedDirs), doc, version, mode);
    };
}

}  // namespace pelmar
