// The default-object loaders: the kind's default set when it holds an object
// of the kind, the built-in values otherwise.
#include "model/defaults.h"

#include <array>
#include <memory>

#include "model/construct.h"
#include "model/coord_edits.h"
#include "model/flip.h"
#include "model/geometry.h"
#include "model/update.h"

namespace pelmar {

std::uint8_t ReadNoDocument(const std::string&, DProj&, std::uint8_t&, std::uint8_t) { return 1; }

std::string DefaultSetFile(Kind k, const std::string& programFolder) {
    std::string name = programFolder;
    if (!name.empty() && name.back() != '/') name += '/';
    return name + "DefaultSet/De" + InfoOf(k).fileWord + ".set";
}

std::string DefaultName(Kind k, int number) {
    if (number > 0) return InfoOf(k).namePrefix + std::to_string(number);
    return " ";
}

namespace {

// One loader call and the loaders of its parts read each default-set file
// once: the outermost loader opens a session that keeps, per kind, what a
// successful read of the kind's set gave (its first object of the kind, if
// any, and its picture height).  A set that could not be read is tried again
// by the next loader that asks for it (that costs no more than opening it).
class DefaultSetSession {
public:
    explicit DefaultSetSession(const DefaultsSource& src) {
        if (!active_) {
            active_ = this;
            src_ = &src;
        }
    }
    ~DefaultSetSession() {
        if (active_ == this) active_ = nullptr;
    }
    DefaultSetSession(const DefaultSetSession&) = delete;
    DefaultSetSession& operator=(const DefaultSetSession&) = delete;

    struct Set {
        bool read = false;                  // the file was read
        std::int32_t height = 0;            // its picture height
        std::shared_ptr<const void> first;  // its first object of the kind, null when none
    };

    // The session's entry for kind k of src; null outside a session.
    static Set* Entry(Kind k, const DefaultsSource& src) {
        if (!active_ || active_->src_ != &src) return nullptr;
        return &active_->sets_[static_cast<std::size_t>(k)];
    }

private:
    static thread_local DefaultSetSession* active_;
    const DefaultsSource* src_ = nullptr;
    std::array<Set, KindCount + 1> sets_;
};

thread_local DefaultSetSession* DefaultSetSession::active_ = nullptr;

// What a loader found in its kind's default set.
struct SetFound {
    bool found = false;
    std::int32_t height = 0;  // the set's picture height
    explicit operator bool() const { return found; }
};

// Reads the kind's default set into a scratch document of its own (never the
// drawing snapshot), or takes what this session read of it before.
template <class R, class Store>
DefaultSetSession::Set ReadDefaultSet(Kind k, Store DSubProj::*store, const DefaultsSource& src) {
    DefaultSetSession::Set* cached = DefaultSetSession::Entry(k, src);
    if (cached && cached->read) return *cached;
    DefaultSetSession::Set set;
    if (!src.readDocument) return set;
    auto doc = NewDocument();
    std::uint8_t version = 0;
    if (src.readDocument(DefaultSetFile(k, src.programFolder), *doc, version, ReadModeDefaultSet) != 0) return set;
    set.read = true;
    set.height = doc->Im.Height;
    if (doc->Obj.count(k) >= 1) set.first = std::make_shared<const R>((doc->Obj.*store)[1]);
    if (cached) *cached = set;
    return set;
}

// Starts a loader: rec takes the first object of the kind's default set when
// the set holds one, else it becomes a fresh record; named either way.
template <class R, class Store>
SetFound StartDefault(R& rec, Kind k, Store DSubProj::*store, int number, const DefaultsSource& src) {
    const DefaultSetSession::Set set = ReadDefaultSet<R>(k, store, src);
    SetFound f;
    if (set.first) {
        rec = *std::static_pointer_cast<const R>(set.first);
        f.found = true;
        f.height = set.height;
    } else {
        rec = R{};
    }
    rec.ID.s = DefaultName(k, number);
    return f;
}

// Common built-in head of every kind but the point.
void DefaultHead(DHead& h) {
    h.Layer.v = 1;
    h.Thick.v = 1;
    h.ColorIndex.v = 0;
    h.Disabled.v = false;
}

// A built-in position of the coordinate systems, pyramids and prisms: these are
// given in the older picture orientation and are converted as the reader
// converts an older document, so that they lie on the picture.  The picture
// position follows, as the plane rule of a quadrilateral base keeps vertex 4
// at its picture position.
void SetBuiltInPos(DPoint& p, Vec3 old, std::int32_t pictureHeight) {
    DPoint q;
    SetPos(q, old);
    FlipYPoint(q, FlipFromOldFile, pictureHeight);
    SetPos(p, Pos(q));
    ProjectPoint(p);
}

// Built-in base vertices (vertex i is end 1 of side i).
template <class Poly, std::size_t N>
void SetBuiltInVertices(Poly& base, const std::array<Vec3, N>& v, std::int32_t h) {
    for (std::size_t i = 1; i <= N; ++i) SetBuiltInPos(base.S[i].P1, v[i - 1], h);
}

// The upper base of a built-in prism: the lower base moved by the lateral
// edge, with its picture positions, so that the plane rule of a quadrilateral
// upper base finds vertex 4 where the edge puts it.
template <class Prism>
void PlaceUpperBase(Prism& p) {
    const Vec3 e{p.EdgeX.v, p.EdgeY.v, p.EdgeZ.v};
    for (std::size_t k = 1; k <= p.Base[1].S.size(); ++k) {
        DPoint& u = p.Base[2].S[k].P1;
        SetPos(u, Pos(p.Base[1].S[k].P1) + e);
        ProjectPoint(u);
    }
}

template <class Solid>
void BuiltInSpheresOff(Solid& s, const DefaultsSource& src) {
    s.OutSphereOn.v = false;
    s.InSphereOn.v = false;
    LoadDefaultOrb(s.OutSphere, -1, src);
    LoadDefaultOrb(s.InSphere, -1, src);
}

// Lower base of the built-in prisms (the triangular one takes the first three).
constexpr std::array<Vec3, 4> kPrismBase{{{0, 100, -200}, {0, 300, -200}, {100, 400, -200}, {100, 300, -200}}};
constexpr Vec3 kApex{0, 150, -50};
constexpr double kSolidHeight = 100;

}  // namespace

void LoadDefaultPoint(DPoint& rec, int number, const DefaultsSource& src) {
    const DefaultSetSession session(src);
    if (StartDefault(rec, Kind::po, &DSubProj::Po, number, src)) return;
    rec.Layer.v = 1;
    rec.ColorIndex.v = 0;
    rec.Disabled.v = false;
    rec.ScrX.v = 100;
    rec.ScrY.v = 100;
    rec.X.v = 0;
    rec.Y.v = 100;
    rec.Z.v = 100;
    rec.Typ.v = 3;
    rec.Radius.v = 4;
    rec.Thick.v = 2;
    rec.Name.s = "A";
    rec.Upper.s.clear();
    rec.Lower.s.clear();
    rec.NameFont.s = "Times New Roman";
    rec.NameBold.v = false;
    rec.NameItalic.v = true;
    rec.NameSize.v = 14;
    rec.IndexFont.s = "Symbol";
    rec.IndexBold.v = false;
    rec.IndexItalic.v = false;
    rec.IndexSize.v = 8;
    rec.LabelDist.v = 20;
    rec.LabelAngle.v = -45;
    UpdatePoint(rec, 0);
}

void LoadDefaultLine(DLine& rec, int number, const DefaultsSource& src) {
    const DefaultSetSession session(src);
    if (StartDefault(rec, Kind::li, &DSubProj::Li, number, src)) return;
    DefaultHead(rec);
    rec.LineType.v = 1;
    rec.Dash.v = 5;
    rec.Gap.v = 5;
    rec.Arrow1.v = false;
    rec.Arrow2.v = true;
    rec.Arrow1Len.v = 30;
    rec.Arrow2Len.v = 30;
    rec.Arrow1Angle.v = 15;
    rec.Arrow2Angle.v = 12;
    LoadDefaultPoint(rec.P1, -1, src);
    LoadDefaultPoint(rec.P2, -1, src);
    UpdateLine(rec, 0);
}

void LoadDefaultCircle(DCircle& rec, int number, const DefaultsSource& src) {
    const DefaultSetSession session(src);
    if (StartDefault(rec, Kind::ci, &DSubProj::Ci, number, src)) return;
    DefaultHead(rec);
    rec.A.v = rec.B.v = 70;
    // A new ellipse takes its shape from the 3D semi-axes: a circle of radius 70.
    rec.A3.v = rec.B3.v = 70;
    for (auto& s : rec.ShowR) s.v = false;
    rec.IsCircle.v = true;
    rec.Tilt.v = 0;
    LoadDefaultPoint(rec.Center, -1, src);
    for (auto& r : rec.R) LoadDefaultLine(r, -1, src);
    for (int i = 1; i <= 3; ++i) PlaceEllipseRadius(rec, i);
    UpdateCircle(rec, 0);
}

void LoadDefaultTriangle(DTri& rec, int number, const DefaultsSource& src) {
    const DefaultSetSession session(src);
    if (StartDefault(rec, Kind::tr, &DSubProj::Tr, number, src)) return;
    DefaultHead(rec);
    rec.Typ.v = 4;
    rec.Side3.v = 1;
    for (auto& on : rec.CircOn) on.v = false;
    for (std::size_t i = 1; i <= 5; ++i) {
        rec.LineOn[i].v = false;
        rec.LineVertex[i].v = 3;
        rec.LineMode[i].v = 1;
        rec.LineKind[i].v = 3;
    }
    for (auto& s : rec.S) LoadDefaultLine(s, -1, src);
    for (auto& c : rec.Circ) LoadDefaultCircle(c, -1, src);
    for (auto& l : rec.Lines) LoadDefaultLine(l, -1, src);
    UpdateTriangle(rec, 0, false);
}

void LoadDefaultTetragon(DKv& rec, int number, const DefaultsSource& src) {
    const DefaultSetSession session(src);
    if (StartDefault(rec, Kind::kv, &DSubProj::Kv, number, src)) return;
    DefaultHead(rec);
    rec.Typ.v = 6;
    rec.Side3.v = 1;
    for (auto& on : rec.CircOn) on.v = false;
    for (auto& s : rec.S) LoadDefaultLine(s, -1, src);
    for (auto& c : rec.Circ) LoadDefaultCircle(c, -1, src);
    for (auto& d : rec.Diag) LoadDefaultLine(d, -1, src);
    LoadDefaultPoint(rec.Center, -1, src);
    UpdateTetragon(rec, 0, true);
}

void LoadDefaultXOY(DXOY& rec, int number, const DefaultsSource& src) {
    const DefaultSetSession session(src);
    if (const SetFound set = StartDefault(rec, Kind::xy, &DSubProj::Xy, number, src)) {
        // Graphs computed for another picture height are computed again.
        if (set.height != src.pictureHeight) rec.Curves.Valid = 0;
        return;
    }
    DefaultHead(rec);
    rec.ScaleX.v = rec.ScaleY.v = kDefaultSystemScale;
    rec.DivX.v = rec.DivY.v = 1;
    rec.MarkWidth.v = 1;
    rec.MarkHeight.v = 5;
    rec.GridOn.v = false;
    rec.GridThick.v = 1;
    rec.GridStep.v = 2;
    rec.NumbersOn.v = true;
    rec.NumberStep.v = 1;
    rec.NumberFont.s = "Symbol";
    rec.NumbersItalic.v = false;
    rec.NumbersBold.v = false;
    rec.NumberSize.v = 10;
    static constexpr std::array<const char*, 6> kGraphs{"2*sin(x)",   "2*eks(x)",     "3*sin(3*x)",
                                                        "1+sin(x)",   "3*(sin(x))^3", "x^2-y^2-9"};
    for (std::size_t i = 1; i <= 6; ++i) {
        rec.Graph[i].s = kGraphs[i - 1];
        rec.GraphOn[i].v = false;
        rec.GraphThick[i].v = 1;
        rec.GraphColor[i].v = 0;
    }
    rec.Graph2.s = "3*(cos(x))^3";
    rec.ParA.v = 0;
    rec.ParB.v = 6.28;
    rec.ParH.v = 0.005;
    // A graph switched on is drawn: solid lines, a window of five units each
    // way, a polar turn, a rotation normal out of the picture.
    for (std::size_t b = 1; b <= 3; ++b) rec.Bounds[b] = {Ed<double>{false, -5}, {false, 5}, {false, -5}, {false, 5}};
    for (std::size_t p = 1; p <= 2; ++p) rec.Polar[p] = {Ed<double>{false, 0}, {false, 6.28}, {false, 0.05}};
    for (auto& st : rec.Style) st = DGraphStyle{{false, 1}, {false, 1}, {false, 5}, {false, 3}};
    for (auto& m : rec.Move) m.NZ.v = 1;
    LoadDefaultPoint(rec.Center, -1, src);
    LoadDefaultLine(rec.AxisX, -1, src);
    LoadDefaultLine(rec.AxisY, -1, src);
    SetBuiltInPos(rec.Center, {0, 200, -200}, src.pictureHeight);
    UpdateXOY(rec, 0);
}

void LoadDefaultOrb(DSf& rec, int number, const DefaultsSource& src) {
    const DefaultSetSession session(src);
    if (StartDefault(rec, Kind::sf, &DSubProj::Sf, number, src)) return;
    DefaultHead(rec);
    rec.Radius.v = 70;
    rec.View.v = 4;
    for (std::size_t i = 1; i <= 3; ++i) rec.SecOn[i].v = true;
    rec.ContourOn.v = true;
    for (auto& c : rec.Sec) LoadDefaultCircle(c, -1, src);
    LoadDefaultCircle(rec.Contour, -1, src);
    LoadDefaultPoint(rec.Center, -1, src);
    UpdateOrb(rec, 0);
}

namespace {

// Built-in head of a cylinder or cone: radius 70, view mode 4, the contour
// section on.
template <class Solid>
void RoundSolidHead(Solid& rec) {
    DefaultHead(rec);
    rec.Radius.v = 70;
    rec.View.v = 4;
    rec.SecOn[2].v = true;
}

}  // namespace

void LoadDefaultCylinder(DZi& rec, int number, const DefaultsSource& src) {
    const DefaultSetSession session(src);
    if (StartDefault(rec, Kind::zi, &DSubProj::Zi, number, src)) return;
    RoundSolidHead(rec);
    LoadDefaultLine(rec.Axis, -1, src);
    for (auto& b : rec.Base) LoadDefaultCircle(b, -1, src);
    for (auto& s : rec.Sec) LoadDefaultTetragon(s, -1, src);
    BuiltInSpheresOff(rec, src);
    rec.Axis.Length.v = kSolidHeight;
    // The parts put both base centres on the default point; the height is made
    // real by standing the upper base above the lower one, and the lower base
    // is laid flat by the cylinder's own rule for a new base.
    rec.Base[1].Q1 = rec.Base[1].Q2 = {};
    SetPos(rec.Base[2].Center, Pos(rec.Base[1].Center) + Vec3{0, 0, kSolidHeight});
    ProjectPoint(rec.Base[2].Center);
    UpdateCylinder(rec, 0);
}

void LoadDefaultCone(DKo& rec, int number, const DefaultsSource& src) {
    const DefaultSetSession session(src);
    if (StartDefault(rec, Kind::ko, &DSubProj::Ko, number, src)) return;
    RoundSolidHead(rec);
    LoadDefaultCircle(rec.Base, -1, src);
    LoadDefaultLine(rec.Axis, -1, src);
    for (auto& s : rec.Sec) LoadDefaultTriangle(s, -1, src);
    BuiltInSpheresOff(rec, src);
    rec.Axis.Length.v = kSolidHeight;
    // As the cylinder's: the apex stands the height above the base centre, and
    // the base is laid flat by the cone's own rule for a new base.
    rec.Base.Q1 = rec.Base.Q2 = {};
    SetPos(rec.Axis.P1, Pos(rec.Base.Center));
    SetPos(rec.Axis.P2, Pos(rec.Base.Center) + Vec3{0, 0, kSolidHeight});
    ProjectPoint(rec.Axis.P2);
    UpdateCone(rec, 0);
}

namespace {

void LoadBase(DTri& t, const DefaultsSource& src) { LoadDefaultTriangle(t, -1, src); }
void LoadBase(DKv& k, const DefaultsSource& src) { LoadDefaultTetragon(k, -1, src); }

// Built-in pyramid of type `typ` on the given base vertices, its apex at the
// built-in height.
template <class P, std::size_t N>
void BuiltInPyramid(P& rec, std::uint8_t typ, const std::array<Vec3, N>& base, const DefaultsSource& src) {
    DefaultHead(rec);
    rec.Orient.v = 1;
    rec.Typ.v = typ;
    LoadBase(rec.Base, src);
    for (auto& f : rec.Face) LoadDefaultTriangle(f, -1, src);
    LoadDefaultLine(rec.HeightLine, -1, src);
    BuiltInSpheresOff(rec, src);
    rec.HeightLine.Length.v = kSolidHeight;
    SetBuiltInVertices(rec.Base, base, src.pictureHeight);
    SetBuiltInPos(rec.HeightLine.P2, kApex, src.pictureHeight);
}

// Built-in prism of type `typ` on the given lower base vertices.
template <class P, std::size_t N>
void BuiltInPrism(P& rec, std::uint8_t typ, const std::array<Vec3, N>& base, const DefaultsSource& src) {
    DefaultHead(rec);
    rec.Typ.v = typ;
    for (auto& b : rec.Base) LoadBase(b, src);
    for (auto& s : rec.Side) LoadDefaultTetragon(s, -1, src);
    BuiltInSpheresOff(rec, src);
    SetBuiltInVertices(rec.Base[1], base, src.pictureHeight);
    rec.EdgeX.v = 30;
    rec.EdgeY.v = 30;
    rec.EdgeZ.v = 150;
    PlaceUpperBase(rec);
}

}  // namespace

void LoadDefaultPyramid3(DPi3& rec, int number, const DefaultsSource& src) {
    const DefaultSetSession session(src);
    if (StartDefault(rec, Kind::i3, &DSubProj::I3, number, src)) return;
    BuiltInPyramid(rec, 3, std::array<Vec3, 3>{{{0, 100, -200}, {0, 300, -200}, {100, 200, -200}}}, src);
    UpdatePyramid3(rec, 0);
}

void LoadDefaultPyramid4(DPi4& rec, int number, const DefaultsSource& src) {
    const DefaultSetSession session(src);
    if (StartDefault(rec, Kind::i4, &DSubProj::I4, number, src)) return;
    BuiltInPyramid(rec, 2, std::array<Vec3, 4>{{{0, 100, -200}, {0, 300, -200}, {100, 400, -200}, {100, 200, -200}}},
                   src);
    UpdatePyramid4(rec, 0);
}

void LoadDefaultPrism3(DPr3& rec, int number, const DefaultsSource& src) {
    const DefaultSetSession session(src);
    if (StartDefault(rec, Kind::r3, &DSubProj::R3, number, src)) return;
    BuiltInPrism(rec, 2, std::array<Vec3, 3>{{kPrismBase[0], kPrismBase[1], kPrismBase[2]}}, src);
    UpdatePrism3(rec, 0);
}

void LoadDefaultPrism4(DPr4& rec, int number, const DefaultsSource& src) {
    const DefaultSetSession session(src);
    if (StartDefault(rec, Kind::r4, &DSubProj::R4, number, src)) return;
    BuiltInPrism(rec, 4, kPrismBase, src);
    UpdatePrism4(rec, 0);
}

void LoadDefaultXYZ(DXZ& rec, int number, const DefaultsSource& src) {
    const DefaultSetSession session(src);
    if (const SetFound set = StartDefault(rec, Kind::xz, &DSubProj::Xz, number, src)) {
        // Surfaces and outlines computed for another picture height are computed again.
        if (set.height != src.pictureHeight) MarkCurvesNotComputed(rec);
        return;
    }
    DefaultHead(rec);
    rec.Scale.v = kDefaultSystemScale;
    rec.Div.v = 1;
    rec.MarkWidth.v = 1;
    rec.MarkHeight.v = 5;
    rec.NumbersOn.v = true;
    rec.NumberStep.v = 1;
    rec.NumberFont.s = "Symbol";
    rec.NumbersItalic.v = false;
    rec.NumbersBold.v = false;
    rec.NumberSize.v = 10;
    static constexpr std::array<const char*, 4> kSurfaces{"x^2+y^2", "(x^2+y^2)^0.5", "5*sin(x)", "x^2+y^2+z^2-9"};
    for (std::size_t i = 1; i <= 4; ++i) {
        rec.Surf[i].s = kSurfaces[i - 1];
        rec.SurfOn[i].v = false;
        rec.SurfThick[i].v = 1;
        rec.SurfColor[i].v = 0;
    }
    rec.Surf3More[1].s = "5*cos(x)";
    rec.Surf3More[2].s = "x/2";
    rec.ParT1.v = 0;
    rec.ParT2.v = 18.84;
    rec.ParH.v = 0.005;
    for (auto& st : rec.Style) st = DGraphStyle{{false, 1}, {false, 1}, {false, 5}, {false, 3}};
    for (auto& m : rec.Move) m.NZ.v = 1;
    for (auto& set : rec.Sections)
        for (auto& dir : set) {
            for (auto& e : dir) e = DSection{};
            dir[1].On.v = true;
            dir[1].Bounds[0].v = -7;
            dir[1].Bounds[1].v = 7;
            dir[1].Bounds[2].v = -7;
            dir[1].Bounds[3].v = 7;
        }
    LoadDefaultPoint(rec.Center, -1, src);
    LoadDefaultLine(rec.AxisX, -1, src);
    LoadDefaultLine(rec.AxisY, -1, src);
    LoadDefaultLine(rec.AxisZ, -1, src);
    SetBuiltInPos(rec.Center, {0, 250, -250}, src.pictureHeight);
    const Vec3 c = Pos(rec.Center);
    rec.AxisX.P1.X.v = c.x - 300;
    rec.AxisX.P2.X.v = c.x + 300;
    rec.AxisY.P1.Y.v = c.y - 200;
    rec.AxisY.P2.Y.v = c.y + 200;
    rec.AxisZ.P1.Z.v = c.z - 200;
    rec.AxisZ.P2.Z.v = c.z + 200;
    UpdateXYZ(rec, 0);
    // The outlines are searched for over the whole picture.
    WholePictureOutlineWindows(rec, src.pictureWidth, src.pictureHeight);
}

}  // namespace pelmar
