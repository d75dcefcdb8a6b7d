// The document record model: one plain value record per object kind, the
// building blocks they are made of, the object store and the document.
//
// Records are aggregates: copying one copies it whole (texts and computed
// curves are shared copy-on-write, everything else by value), and two
// compare equal when every member does (computed curves by the set they
// share).  Arrays are 1-based, as the rest of the program counts.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pelmar {

using TColor = std::uint32_t;  // 0x00BBGGRR

// A value preceded by its editability flag (true = the dialog control is enabled).
template <class T>
struct Ed {
    bool e = false;
    T v{};

    bool operator==(const Ed&) const = default;
};

// A text with its own flag: names, fonts, label texts.
struct DStr {
    bool e = false;
    std::string s;

    bool operator==(const DStr&) const = default;
};

[[noreturn]] void IndexOutOfRange(std::size_t i, std::size_t n);

// Fixed-size array addressed 1..N; an index outside throws.
template <class T, std::size_t N>
struct Arr1 {
    std::array<T, N> a{};

    T& operator[](std::size_t i) {
        if (i < 1 || i > N) IndexOutOfRange(i, N);
        return a[i - 1];
    }
    const T& operator[](std::size_t i) const {
        if (i < 1 || i > N) IndexOutOfRange(i, N);
        return a[i - 1];
    }
    static constexpr std::size_t size() { return N; }
    auto begin() { return a.begin(); }
    auto end() { return a.end(); }
    auto begin() const { return a.begin(); }
    auto end() const { return a.end(); }

    bool operator==(const Arr1&) const = default;
};

// ---------------------------------------------------------------------------
// Kinds

enum class Kind : std::uint8_t { po = 1, li, ci, tr, kv, xy, sf, zi, ko, i3, i4, r3, r4, xz };

inline constexpr int KindCount = 14;

// The record type of each kind in kind order, for declaring what is written
// once per kind: X(record type, kind).
#define PELMAR_KIND_RECORDS(X)                                                                                 \
    X(DPoint, po) X(DLine, li) X(DCircle, ci) X(DTri, tr) X(DKv, kv) X(DXOY, xy) X(DSf, sf) X(DZi, zi) X(DKo, ko) \
        X(DPi3, i3) X(DPi4, i4) X(DPr3, r3) X(DPr4, r4) X(DXZ, xz)

struct KindInfo {
    Kind kind;
    const char* code;         // two-letter kind code of the object list
    std::uint8_t capacity;    // slots in the object store
    const char* fileWord;     // "Point" in "DefaultSet/DePoint.set"
    const char* namePrefix;   // name text of a new object, followed by its number
};

inline constexpr std::array<KindInfo, KindCount> KindTable{{
    {Kind::po, "po", 50, "Point", "Point №"},
    {Kind::li, "li", 50, "Line", "Line №"},
    {Kind::ci, "ci", 50, "Circle", "Circle №"},
    {Kind::tr, "tr", 20, "Triangle", "Trian №"},
    {Kind::kv, "kv", 12, "Tetragon", "Tetra №"},
    {Kind::xy, "xy", 10, "XOY", "XOY №"},
    {Kind::sf, "sf", 3, "Orb", "Orb №"},
    {Kind::zi, "zi", 3, "Cylinder", "Cylinder №"},
    {Kind::ko, "ko", 3, "Cone", "Cone №"},
    {Kind::i3, "i3", 3, "Pyramid3", "Pyramid3 №"},
    {Kind::i4, "i4", 3, "Pyramid4", "Pyramid4 №"},
    {Kind::r3, "r3", 3, "Prism3", "Prism3 №"},
    {Kind::r4, "r4", 3, "Prism4", "Prism4 №"},
    {Kind::xz, "xz", 2, "XYZ", "XYZ №"},
}};

inline constexpr const KindInfo& InfoOf(Kind k) { return KindTable[static_cast<int>(k) - 1]; }
inline constexpr int KindNumber(Kind k) { return static_cast<int>(k); }

// Kind number (1..14) of a two-letter code; 0 when the code names no kind.
int KindFromCode(std::string_view code);

// Total capacity of the object store: 215.
inline constexpr int TotalCapacity() {
    int n = 0;
    for (const auto& k : KindTable) n += k.capacity;
    return n;
}

// ---------------------------------------------------------------------------
// Shared building blocks

// Reference from a defining point to an element of another object (10 bytes):
// byte 0 kind number (0 = free point), byte 1 object index, bytes 3, 5, 7, 9 the
// element selectors of levels 1..4; bytes 2, 4, 6, 8 hold the kind code of the
// element chosen at each level and are carried unchanged.
struct DLink {
    std::array<std::uint8_t, 10> b{};

    std::uint8_t kind() const { return b[0]; }
    std::uint8_t index() const { return b[1]; }
    std::uint8_t sel(int level) const { return b[static_cast<std::size_t>(1 + 2 * level)]; }  // level 1..4
    void setSel(int level, std::uint8_t v) { b[static_cast<std::size_t>(1 + 2 * level)] = v; }
    bool linked() const { return b[0] != 0; }

    bool operator==(const DLink&) const = default;
};

// Fill block of the fillable kinds: on, then gradient colours 1..3.
struct DFill {
    bool On = false;
    std::array<TColor, 3> Colors{};

    bool operator==(const DFill&) const = default;
};

// Computed curves.  A curve point is three Doubles; the graph builders use the
// first byte of the third as a visibility mark.
struct CurvePoint {
    double x = 0, y = 0, z = 0;

    bool operator==(const CurvePoint&) const = default;
};

struct DCurve1 {
    std::shared_ptr<const std::vector<CurvePoint>> Points;
    std::int32_t Count = 0;

    const std::vector<CurvePoint>& points() const;

    bool operator==(const DCurve1&) const = default;
};

struct DCurve2 {
    std::shared_ptr<const std::vector<DCurve1>> Lines;
    std::int32_t Count = 0;
    std::uint8_t Plane = 0;  // 0 the 2D plane, 1 X = const, 2 Y = const, 3 Z = const, 4 as computed
    double Position = 0;
    std::uint8_t Valid = 0;  // 1 = the stored polylines are current
    std::uint8_t Extra = 0;  // further status byte carried with the set

    const std::vector<DCurve1>& lines() const;

    bool operator==(const DCurve2&) const = default;
};

struct DOutLine {
    bool On = false;                      // "Строить контур"
    std::int32_t X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    std::uint8_t ScanDir = 0;             // 1 rows, 0 columns
    std::int32_t Step1 = 10, Step2 = 3;
    std::uint8_t FitMode = 0;             // handed to the surface ray test
    DCurve2 Lines;
    bool GradientOn = false;
    std::array<TColor, 3> Colors{};

    bool operator==(const DOutLine&) const = default;
};

// Shift and rotation of one graph or surface.
struct DGraphMove {
    Ed<bool> Moved;
    Ed<double> DX, DY, DZ;
    Ed<bool> Rotated;
    Ed<double> Angle, CX, CY, CZ, NX, NY, NZ;

    bool operator==(const DGraphMove&) const = default;
};

// Line style of one graph or surface.
struct DGraphStyle {
    Ed<std::uint8_t> Visible;  // 1 solid, 2 dashed
    Ed<std::uint8_t> Hidden;   // 1 solid, 2 dashed, 3 invisible
    Ed<std::int32_t> Dash, Gap;

    bool operator==(const DGraphStyle&) const = default;
};

// ---------------------------------------------------------------------------
// Object records

struct DPoint {
    DStr ID;
    Ed<double> ScrX, ScrY;           // picture position, derived from X, Y, Z
    Ed<std::uint8_t> Typ;            // 1 empty, 2 disc, 3 ring
    Ed<std::int32_t> Radius;
    Ed<std::int32_t> Thick;          // ring thickness
    DStr Name, Upper, Lower, NameFont;
    Ed<bool> NameBold, NameItalic;
    Ed<std::int32_t> NameSize;
    DStr IndexFont;
    Ed<bool> IndexBold, IndexItalic;
    Ed<std::int32_t> IndexSize;
    Ed<std::int32_t> LabelDist;      // "Радиус:"
    Ed<std::int32_t> LabelAngle;     // "Угол:"
    Ed<TColor> Color;
    Ed<std::uint8_t> ColorIndex;
    Ed<std::uint8_t> Layer;
    Ed<bool> Disabled;
    TColor SelColor = 0;
    bool Selected = false;
    Ed<double> X, Y, Z;              // 3D: X depth, Y right, Z up
    std::array<std::string, 4> Anim; // X, Y, Z, label angle
    std::int32_t Number = 0;         // creation number
    DLink Link;

    bool operator==(const DPoint&) const = default;
};

// Head shared by every record but the point.
struct DHead {
    DStr ID;
    Ed<std::uint8_t> Layer;
    Ed<std::int32_t> Thick;
    Ed<TColor> Color;
    Ed<std::uint8_t> ColorIndex;
    Ed<bool> Disabled;

    bool operator==(const DHead&) const = default;
};

// The solids continue the head with the view mode:
// 1 all solid, 2 all dashed, 3 invisible, 4 manual, 5 automatic, 6 opaque.
struct DSolidHead : DHead {
    Ed<std::uint8_t> View;

    bool operator==(const DSolidHead&) const = default;
};

struct DLine : DHead {
    Ed<double> Angle;                // picture direction, degrees
    Ed<double> Length;               // 3D length
    Ed<std::uint8_t> LineType;       // 1 solid, 2 dashed, 3 invisible
    Ed<std::int32_t> Dash, Gap;
    Ed<bool> Arrow1, Arrow2;
    Ed<std::int32_t> Arrow1Len, Arrow2Len, Arrow1Angle, Arrow2Angle;
    DPoint P1, P2;
    TColor SelColor = 0;
    bool Selected = false;
    DPoint P3, P4;                   // division points
    Ed<double> Frac3, Frac4;         // their place along the segment, share of the length
    Ed<bool> Show3, Show4;
    std::int32_t Number = 0;

    bool operator==(const DLine&) const = default;
};

struct DCircle : DHead {
    Ed<double> A, B;                 // picture semi-axes
    Ed<double> A3, B3;               // 3D semi-axes of a circle lying in space
    DPoint Center;
    Arr1<DLine, 3> R;                // radius segments
    Arr1<Ed<bool>, 3> ShowR;
    Ed<bool> IsCircle;               // "Окружность": a = b
    std::int32_t CorA1 = 0, CorA2 = 0, CorB1 = 0, CorB2 = 0;  // one-pixel corrections
    bool Is3D = false;
    double PA = 0, PB = 0, PC = 0, PD = 0;  // plane A·x + B·y + C·z + D = 0
    std::array<double, 3> Q1{}, Q2{};       // ends of two conjugate semi-diameters
    TColor SelColor = 0;
    bool Selected = false;
    Ed<double> Tilt;
    Ed<std::uint8_t> ViewType;       // 1 solid, 2 dashed, 3 invisible, 4 mixed
    Ed<double> Arc1, Arc2;
    Ed<double> DashArc1, DashArc2;
    Ed<std::uint8_t> Dash, Gap;
    std::array<std::string, 8> Anim; // a, b, tilt, arc 1, arc 2, radius 1..3 angles
    DFill Fill;
    std::int32_t Number = 0;

    bool operator==(const DCircle&) const = default;
};

// Triangle: vertex i is end 1 of side i; side i runs to vertex i + 1.
struct DTri : DHead {
    Arr1<DLine, 3> S;
    Arr1<Ed<double>, 3> Ang;
    Ed<std::uint8_t> Typ;            // 1 equilateral, 2 isosceles, 3 right, 4 arbitrary
    Ed<std::uint8_t> Side3;          // side of side 1 on which vertex 3 lies (0/1)
    Ed<double> Height;
    Ed<std::uint8_t> View;           // 1 solid, 2 dashed, 3 invisible, 4 manual
    Arr1<DCircle, 2> Circ;           // 1 circumcircle, 2 incircle
    Arr1<Ed<bool>, 2> CircOn;
    Arr1<Ed<bool>, 5> LineOn;
    Arr1<Ed<std::uint8_t>, 5> LineVertex;  // 1..3
    Arr1<Ed<std::uint8_t>, 5> LineMode;    // 1 to the side, 2 to the centre, 3 by length
    Arr1<Ed<std::uint8_t>, 5> LineKind;    // 1 bisector, 2 height, 3 median
    Arr1<DLine, 5> Lines;
    DFill Fill;
    std::int32_t Number = 0;

    bool operator==(const DTri&) const = default;
};

// Tetragon: vertex i is end 1 of side i.
struct DKv : DHead {
    Arr1<DLine, 4> S;
    Arr1<Ed<double>, 4> Ang;
    Ed<std::uint8_t> Typ;            // 1 square .. 6 quadrilateral, 7 arbitrary
    Ed<std::uint8_t> Side3;
    Ed<double> Height;
    Arr1<DCircle, 2> Circ;           // 1 circumcircle, 2 incircle
    Arr1<Ed<bool>, 2> CircOn;
    Arr1<DLine, 2> Diag;             // 1: vertices 1-3, 2: vertices 2-4
    DPoint Center;
    Arr1<Ed<bool>, 2> DiagOn;
    Ed<bool> CenterOn;
    Ed<std::uint8_t> View;
    DFill Fill;
    std::int32_t Number = 0;

    bool operator==(const DKv&) const = default;
};

// 2D coordinate system with six graph slots (1, 2 Cartesian, 3, 4 polar,
// 5 parametric, 6 implicit).
struct DXOY : DHead {
    DPoint Center;
    DLine AxisX, AxisY;
    Ed<double> ScaleX, ScaleY;
    Ed<double> DivX, DivY;
    Ed<std::int32_t> MarkWidth, MarkHeight;
    Ed<bool> GridOn;
    Ed<std::int32_t> GridThick, GridStep;
    Ed<bool> NumbersOn;
    Ed<std::int32_t> NumberStep;
    DStr NumberFont;
    Ed<bool> NumbersItalic, NumbersBold;
    Ed<std::int32_t> NumberSize;
    Arr1<Ed<bool>, 6> GraphOn;
    Arr1<DStr, 6> Graph;             // formula text of each slot
    DStr Graph2;                     // second formula of the parametric slot
    Arr1<Ed<std::int32_t>, 6> GraphThick;
    Arr1<Ed<TColor>, 6> GraphColor;
    Arr1<Ed<std::int32_t>, 6> GraphColorIndex;
    Ed<double> ParA, ParB, ParH;     // parametric slot: start, end, step
    Arr1<std::array<Ed<double>, 3>, 2> Polar;    // slots 3, 4: a, b, H
    Arr1<std::array<Ed<double>, 4>, 3> Bounds;   // x1, x2, y1, y2 of slots 1, 2, 6
    Arr1<Ed<bool>, 3> WithinAxes;                // slots 3, 4, 5
    Ed<double> CurveA, CurveB, CurveC;           // second-order curve coefficients
    Arr1<DGraphMove, 6> Move;
    Arr1<DGraphStyle, 6> Style;
    DCurve2 Curves;                  // polylines of the implicit graph
    TColor SelColor = 0;
    bool Selected = false;
    std::array<Arr1<std::string, 6>, 10> Texts;  // per-slot formula texts
    Arr1<std::string, 7> Texts7;
    std::int32_t Number = 0;

    bool operator==(const DXOY&) const = default;
};

struct DSf : DSolidHead {
    Ed<double> Radius;
    Ed<bool> ContourOn;              // "Контур"
    DPoint Center;
    DCircle Contour;
    Arr1<Ed<bool>, 7> SecOn;
    Arr1<Ed<double>, 7> SecNX, SecNY, SecNZ, SecH;
    Arr1<DCircle, 7> Sec;
    TColor SelColor = 0;             // handle colour while selected
    std::string Anim;
    DFill Fill;
    std::int32_t Number = 0;

    bool operator==(const DSf&) const = default;
};

struct DZi : DSolidHead {
    Ed<double> Radius;
    DLine Axis;                      // its length is the height
    Arr1<DCircle, 2> Base;           // 1 lower, 2 upper
    Ed<bool> OutSphereOn, InSphereOn;
    DSf OutSphere, InSphere;
    Arr1<Ed<bool>, 4> SecOn;         // main, contour, additional 1, additional 2
    Arr1<DKv, 4> Sec;
    Ed<double> SecPos1, SecPos2;
    TColor SelColor = 0;
    std::array<std::string, 4> Anim;
    DFill Fill;
    std::uint8_t UpperVisible = 0;
    std::int32_t Number = 0;

    bool operator==(const DZi&) const = default;
};

struct DKo : DSolidHead {
    Ed<double> Radius;
    DLine Axis;
    DCircle Base;
    Arr1<Ed<bool>, 4> SecOn;
    Arr1<DTri, 4> Sec;
    Ed<double> SecPos1, SecPos2;
    Ed<bool> OutSphereOn, InSphereOn;
    DSf OutSphere, InSphere;
    TColor SelColor = 0;
    std::array<std::string, 4> Anim;
    DFill Fill;
    std::uint8_t BaseVisible = 0;
    std::uint8_t ApexInside = 0;
    std::int32_t Number = 0;

    bool operator==(const DKo&) const = default;
};

template <class BaseT, std::size_t NF>
struct DPyramid : DSolidHead {
    Ed<bool> HeightOn;
    DLine HeightLine;                // end 2 is the apex
    Arr1<DTri, NF> Face;
    BaseT Base;
    Ed<std::uint8_t> Orient;         // 1 or 2
    Ed<std::uint8_t> Typ;
    Ed<bool> OutSphereOn, InSphereOn;
    DSf OutSphere, InSphere;
    TColor SelColor = 0;
    std::string Anim;
    DFill Fill;
    std::int32_t Number = 0;

    bool operator==(const DPyramid&) const = default;
};
using DPi3 = DPyramid<DTri, 3>;
using DPi4 = DPyramid<DKv, 4>;

template <class BaseT, std::size_t NS>
struct DPrism : DSolidHead {
    Ed<double> EdgeX, EdgeY, EdgeZ;  // lateral edge vector
    Ed<double> EdgeLen;
    // The lateral edge vector before the update kept its components to
    // 0.001; while they are its rounding, it is the edge's exact direction
    // (a short edge's rounded components point elsewhere).  Not in the file.
    std::array<double, 3> EdgeExact{};
    Arr1<DKv, NS> Side;
    Arr1<BaseT, 2> Base;             // 1 lower, 2 upper
    Ed<std::uint8_t> Typ;
    Ed<bool> OutSphereOn, InSphereOn;
    DSf OutSphere, InSphere;
    TColor SelColor = 0;
    std::array<std::string, 3> Anim;
    DFill Fill;
    std::int32_t Number = 0;

    bool operator==(const DPrism&) const = default;
};
using DPr3 = DPrism<DTri, 3>;
using DPr4 = DPrism<DKv, 4>;

// One section of a surface: on, the constant, and two bound intervals.
struct DSection {
    Ed<bool> On;
    Ed<double> C;
    std::array<Ed<double>, 4> Bounds;

    bool operator==(const DSection&) const = default;
};

// 3D coordinate system with four surface slots (1, 2 Cartesian, 3 parametric,
// 4 implicit).
struct DXZ : DHead {
    DPoint Center;
    DLine AxisX, AxisY, AxisZ;       // X is the depth axis
    Ed<double> Scale;
    Ed<double> Div;
    Ed<std::int32_t> MarkWidth, MarkHeight;
    Ed<bool> NumbersOn;
    Ed<std::int32_t> NumberStep;
    DStr NumberFont;
    Ed<bool> NumbersItalic, NumbersBold;
    Ed<std::int32_t> NumberSize;
    Arr1<Ed<bool>, 4> SurfOn;
    Arr1<DStr, 4> Surf;              // formula text of each slot
    Arr1<DStr, 2> Surf3More;         // second and third formula of the parametric slot
    Arr1<Ed<std::int32_t>, 4> SurfThick;
    Arr1<Ed<TColor>, 4> SurfColor;
    Arr1<Ed<std::int32_t>, 4> SurfColorIndex;
    Ed<double> ParT1, ParT2, ParH;   // parametric group "t1=", "t2=", "H="
    Ed<double> SurfA, SurfB, SurfC;  // second-order surface coefficients
    Arr1<Arr1<Arr1<DSection, 11>, 3>, 3> Sections;  // set, direction (x, y, z = const), k
    Arr1<DGraphMove, 4> Move;
    Ed<bool> BoundToAxes;
    Arr1<DCurve2, 55> Curves;
    Arr1<DOutLine, 3> Outlines;
    Arr1<DGraphStyle, 4> Style;
    TColor SelColor = 0;
    bool Selected = false;
    std::array<Arr1<std::string, 4>, 10> Texts;  // surface animation formulas
    std::array<std::string, 2> BoundTexts;
    std::int32_t Number = 0;

    bool operator==(const DXZ&) const = default;
};

// ---------------------------------------------------------------------------
// Object store

// The live objects of one kind: slots 1..Count, Count never above N.
template <class T, std::size_t N>
class Store {
public:
    static constexpr std::size_t capacity() { return N; }
    std::uint8_t count() const { return count_; }

    T& operator[](std::size_t i) {
        if (i < 1 || i > count_) IndexOutOfRange(i, count_);
        return (*items_)[i - 1];
    }
    const T& operator[](std::size_t i) const {
        if (i < 1 || i > count_) IndexOutOfRange(i, count_);
        return (*items_)[i - 1];
    }

    bool full() const { return count_ >= N; }

    // Appends a record; false (and nothing changes) at capacity.
    bool add(const T& rec) {
        if (full()) return false;
        ensure();
        (*items_)[count_] = rec;
        ++count_;
        return true;
    }
    // Sets the count, value-initialising the slots that become live.
    void resize(std::size_t n) {
        if (n > N) n = N;
        if (n == 0 && !items_) return;  // empty, and no slots to clear
        if (!items_) {  // new slots are value-initialised already
            ensure();
            count_ = static_cast<std::uint8_t>(n);
            return;
        }
        for (std::size_t i = count_; i < n; ++i) (*items_)[i] = T{};
        for (std::size_t i = n; i < count_; ++i) (*items_)[i] = T{};
        count_ = static_cast<std::uint8_t>(n);
    }
    // Removes slot i; later slots move down by one.
    void erase(std::size_t i) {
        if (i < 1 || i > count_) IndexOutOfRange(i, count_);
        for (std::size_t j = i; j < count_; ++j) (*items_)[j - 1] = std::move((*items_)[j]);
        (*items_)[count_ - 1] = T{};
        --count_;
    }
    void clear() { resize(0); }

    Store() = default;
    // Slots past the count hold T{} in both stores: the new slots are copied
    // whole, not made empty first and filled after.
    Store(const Store& o) : items_(o.items_ ? std::make_unique<std::array<T, N>>(*o.items_) : nullptr), count_(o.count_) {}
    Store& operator=(const Store& o) {
        if (this == &o) return *this;
        if (o.count_ > 0 || items_) {
            ensure();
            for (std::size_t i = 0; i < o.count_; ++i) (*items_)[i] = (*o.items_)[i];
            for (std::size_t i = o.count_; i < count_; ++i) (*items_)[i] = T{};
        }
        count_ = o.count_;
        return *this;
    }
    Store(Store&&) noexcept = default;
    Store& operator=(Store&&) noexcept = default;

private:
    void ensure() {
        if (!items_) items_ = std::make_unique<std::array<T, N>>();
    }
    std::unique_ptr<std::array<T, N>> items_;
    std::uint8_t count_ = 0;
};

// The objects of a document.  Copying and freeing them are compiled once,
// in records.cpp: every file that copies or frees a document would otherwise
// compile them for all fourteen kinds again.
struct DSubProj {
    DSubProj() = default;
    DSubProj(const DSubProj&);
    DSubProj(DSubProj&&) noexcept;
    DSubProj& operator=(const DSubProj&);
    DSubProj& operator=(DSubProj&&) noexcept;
    ~DSubProj();

    Store<DPoint, 50> Po;
    Store<DLine, 50> Li;
    Store<DCircle, 50> Ci;
    Store<DTri, 20> Tr;
    Store<DKv, 12> Kv;
    Store<DXOY, 10> Xy;
    Store<DSf, 3> Sf;
    Store<DZi, 3> Zi;
    Store<DKo, 3> Ko;
    Store<DPi3, 3> I3;
    Store<DPi4, 3> I4;
    Store<DPr3, 3> R3;
    Store<DPr4, 3> R4;
    Store<DXZ, 2> Xz;
    std::int32_t ObjTotal = 0;       // used entries of the object list

    int count(Kind k) const;
};

// The stores of the fourteen kinds, as DSubProj holds them: X(record, capacity).
// They are compiled once, in records.cpp: their members copy and clear whole
// records, which every file that touches a store would otherwise compile again.
#define PELMAR_KIND_STORES(X)                                                                                  \
    X(DPoint, 50) X(DLine, 50) X(DCircle, 50) X(DTri, 20) X(DKv, 12) X(DXOY, 10) X(DSf, 3) X(DZi, 3) X(DKo, 3) \
        X(DPi3, 3) X(DPi4, 3) X(DPr3, 3) X(DPr4, 3) X(DXZ, 2)
#define PELMAR_EXTERN_STORE(R, N) extern template class Store<R, N>;
PELMAR_KIND_STORES(PELMAR_EXTERN_STORE)
#undef PELMAR_EXTERN_STORE

// Calls f(store) for each kind's store in kind order; f may take the store by
// reference (generic lambda).
template <class Sub, class F>
void ForEachStore(Sub& s, F&& f) {
    f(s.Po); f(s.Li); f(s.Ci); f(s.Tr); f(s.Kv); f(s.Xy); f(s.Sf);
    f(s.Zi); f(s.Ko); f(s.I3); f(s.I4); f(s.R3); f(s.R4); f(s.Xz);
}

// Calls f(record) for the object of kind k at index i (1-based) of s.
template <class Sub, class F>
void WithObject(Sub& s, Kind k, std::size_t i, F&& f) {
    switch (k) {
        case Kind::po: f(s.Po[i]); break;
        case Kind::li: f(s.Li[i]); break;
        case Kind::ci: f(s.Ci[i]); break;
        case Kind::tr: f(s.Tr[i]); break;
        case Kind::kv: f(s.Kv[i]); break;
        case Kind::xy: f(s.Xy[i]); break;
        case Kind::sf: f(s.Sf[i]); break;
        case Kind::zi: f(s.Zi[i]); break;
        case Kind::ko: f(s.Ko[i]); break;
        case Kind::i3: f(s.I3[i]); break;
        case Kind::i4: f(s.I4[i]); break;
        case Kind::r3: f(s.R3[i]); break;
        case Kind::r4: f(s.R4[i]); break;
        case Kind::xz: f(s.Xz[i]); break;
    }
}

// The picture's side in pixels: what the project settings offer, and what a
// document read from a file is held to.
inline constexpr std::int32_t PictureSideMin = 1;
inline constexpr std::int32_t PictureSideMax = 5000;
// The resolution in dots per inch: the range of the project settings' list,
// and what a document read from a file is held to.
inline constexpr std::int32_t ResolutionMin = 72;
inline constexpr std::int32_t ResolutionMax = 600;

// Picture settings of the document.
struct DImProj {
    std::int32_t Width = 800, Height = 600;
    std::int32_t Dpi = 96;
    TColor Background = 0xFFFFFF;
    std::uint8_t YOrient = 2;        // 1 = older orientation, flipped on reading
    std::uint8_t FontUnit = 1;       // 1 pixels, 2 points
    std::uint8_t PicMode = 0;        // 0 raster, 1 metafile
    bool Smooth = true;
    std::string BackPicture;
    std::uint8_t BackLoaded = 0;     // not stored in files
    bool BackOn = false;
    std::uint8_t BackSizeMode = 0;
    std::uint8_t LightSource = 1;    // 1 point, 2 vector
    std::uint8_t TwoColors = 0;      // 1 two colours, 0 three colours
    double BorderPercent = 50;
    std::int32_t BorderAngle = 90;
    double LightX = 500, LightY = 500, LightZ = 500;
    double LightDX = 1, LightDY = 1, LightDZ = 1;
    bool LastFillOption = false;
};

// Entry of the object list: a kind code and a 1-based index.
struct ObjListEntry {
    char code[3] = {'0', '0', 0};
    std::uint8_t index = 0;
};

// The whole document.
struct DProj {
    DSubProj Obj;
    DImProj Im;
    std::array<std::uint8_t, KindCount> Role{};  // which part of each working copy is open
    std::uint8_t ImWinState = 1;
    std::int32_t ImWinLeft = 0, ImWinTop = 0, ImWinWidth = 0, ImWinHeight = 0;
    std::int32_t ImScrollVert = 0, ImScrollHorz = 0;
    std::int32_t NavSpare = 0;
    std::int32_t TransLeft = 0, TransTop = 0;
    std::int32_t Zoom = 100;
    std::int32_t CurObjNo = -1;
    std::int32_t ActiveKind = 0;
    std::int32_t FocusIndex = 0;
    bool RolledUp = false;
    std::int32_t DlgLeft = 0, DlgTop = 0;
    std::int32_t PaperWidth = 210, PaperHeight = 297;
    bool Portrait = true;
    std::int32_t Margin1 = 0, Margin2 = 0;
    std::string Caption, Author;
    std::array<std::string, 3> Notes;
    std::int32_t AnimDelay = 100;
    std::int32_t AnimFrames = 10;
    std::string AnimStep, AnimStart;
    bool AnimLoop = true;
    std::uint8_t FillValid = 0;
};

// Per-kind working copies and current indexes: the records the object dialogs edit.
struct WorkingCopies {
    DPoint CurPoint;
    DLine CurLine;
    DCircle CurCircle;
    DTri CurTri;
    DKv CurKv;
    DXOY CurXOY;
    DSf CurSf;
    DZi CurZi;
    DKo CurKo;
    DPi3 CurPi3;
    DPi4 CurPi4;
    DPr3 CurPr3;
    DPr4 CurPr4;
    DXZ CurXZ;
    std::array<std::uint8_t, KindCount> CurIndex{};  // CurPoIndex .. CurXZIndex

    std::uint8_t& index(Kind k) { return CurIndex[static_cast<std::size_t>(k) - 1]; }
};

// Calls f(record) for each kind's working copy in kind order.
template <class Work, class F>
void ForEachWorkingCopy(Work& w, F&& f) {
    f(w.CurPoint); f(w.CurLine); f(w.CurCircle); f(w.CurTri); f(w.CurKv); f(w.CurXOY); f(w.CurSf);
    f(w.CurZi); f(w.CurKo); f(w.CurPi3); f(w.CurPi4); f(w.CurPr3); f(w.CurPr4); f(w.CurXZ);
}

// A new document with its start values; documents are large, keep them on the heap.
std::unique_ptr<DProj> NewDocument();

}  // namespace pelmar
