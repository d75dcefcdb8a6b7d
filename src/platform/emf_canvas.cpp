#include "platform/emf_canvas.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include <upmf.h>  // includes uemf.h

#include "platform/canvas_geometry.h"
#include "platform/qt_text.h"
#include "platform/safe_save.h"

namespace pelmar {

namespace {

// Slots of the EMF+ object table.
constexpr uint32_t PenSlot = 0;
constexpr uint32_t FontSlot = 1;
constexpr uint32_t FormatSlot = 2;

constexpr double Deg = 3.14159265358979323846 / 180.0;

// Owns one libUEMF pseudo object.
class Po {
public:
    Po() = default;
    explicit Po(U_PSEUDO_OBJ* p) : p_(p) {}
    ~Po() {
        if (p_) U_PO_free(&p_);
    }
    Po(const Po&) = delete;
    Po& operator=(const Po&) = delete;
    Po& operator=(U_PSEUDO_OBJ* p) {
        if (p_) U_PO_free(&p_);
        p_ = p;
        return *this;
    }
    U_PSEUDO_OBJ* get() const { return p_; }
    U_PSEUDO_OBJ* release() {
        U_PSEUDO_OBJ* p = p_;
        p_ = nullptr;
        return p;
    }
    explicit operator bool() const { return p_ != nullptr; }

private:
    U_PSEUDO_OBJ* p_ = nullptr;
};

int32_t ToL(double v) { return static_cast<int32_t>(std::clamp(std::rint(v), -1e9, 1e9)); }

U_POINTL ToPointL(PointF p) { return point32_set(ToL(p.x), ToL(p.y)); }

U_RECTL ToRectL(const RectF& r) {
    const double x0 = std::min(r.x, r.x + r.w), x1 = std::max(r.x, r.x + r.w);
    const double y0 = std::min(r.y, r.y + r.h), y1 = std::max(r.y, r.y + r.h);
    U_RECTL rc;
    rc.left = ToL(x0);
    rc.top = ToL(y0);
    rc.right = ToL(x1);
    rc.bottom = ToL(y1);
    return rc;
}

U_RECTL BoundsL(std::span<const PointF> pts, double margin) { return ToRectL(BoundsOf(pts, margin)); }

U_COLORREF ToColorRef(Rgb c) { return colorref3_set(RgbRed(c), RgbGreen(c), RgbBlue(c)); }

bool Finite(std::span<const PointF> pts) {
    return std::all_of(pts.begin(), pts.end(), [](const PointF& p) { return std::isfinite(p.x) && std::isfinite(p.y); });
}

bool Finite(const RectF& r) {
    return std::isfinite(r.x) && std::isfinite(r.y) && std::isfinite(r.w) && std::isfinite(r.h);
}

std::u16string Utf16(const std::string& s) { return QString::fromStdString(s).toStdU16String(); }

uint32_t Version() { return U_PMF_GRAPHICSVERSIONOBJ_set(2); }

int StringAlignment(TextAlign a) {
    switch (a) {
        case TextAlign::Near: return U_SA_Near;
        case TextAlign::Center: return U_SA_Center;
        case TextAlign::Far: return U_SA_Far;
    }
    return U_SA_Near;
}

// Keys of the plain EMF objects, so that an object is made only when the
// drawing needs a different one.
struct PlainPenKey {
    Rgb color;
    int width;
    bool round;
    bool operator==(const PlainPenKey&) const = default;
};

struct PlainFontKey {
    std::u16string face;
    int height;
    bool bold;
    bool italic;
    int escapement;
    bool antialias;
    bool operator==(const PlainFontKey&) const = default;
};

// Which kind of object the plain EMF device context has selected.
enum class Sel { Stock, Own };

}  // namespace

struct EmfCanvas::Impl {
    TextMetrics text;  // metrics of the fonts used
    std::string path;
    std::string tmpPath;
    std::unique_ptr<SafeFile> file;
    int width = 1;
    int height = 1;
    double dpi = 96;
    bool antialias = true;
    bool textAntialias = true;

    EMFTRACK* et = nullptr;
    EMFHANDLES* eht = nullptr;
    bool failed = false;
    bool done = false;
    std::string error;

    bool rotated = false;
    double angle = 0;
    PointF centre;
    bool clipped = false;
    bool plainShifted = false;  // the plain records' world transform moves by half a pixel

    // EMF+ objects last written into their slots.
    std::optional<Pen> plusPen;
    std::optional<Font> plusFont;
    std::optional<TextFormat> plusFormat;

    // Plain EMF objects.
    std::optional<PlainPenKey> penKey;
    uint32_t penHandle = 0;
    Sel penSel = Sel::Stock;
    std::optional<Rgb> brushKey;
    uint32_t brushHandle = 0;
    Sel brushSel = Sel::Stock;
    bool nullBrush = false;  // the stock brush selected is the null brush
    bool nullPen = false;    // the stock pen selected is the null pen
    std::optional<PlainFontKey> fontKey;
    uint32_t fontHandle = 0;
    Sel fontSel = Sel::Stock;
    std::optional<Rgb> textColor;

    bool live() const { return et && !failed && !done; }

    void fail(const std::string& what) {
        if (!failed) error = what;
        failed = true;
    }

    bool append(char* rec) {
        if (failed) {
            std::free(rec);
            return false;
        }
        if (!rec) {
            fail("a metafile record could not be made");
            return false;
        }
        if (emf_append(reinterpret_cast<PU_ENHMETARECORD>(rec), et, 1) != 0) {
            fail("the metafile could not grow");
            return false;
        }
        return true;
    }

    // Appends one EMF+ record inside an EMF comment.
    bool plus(U_PSEUDO_OBJ* raw) {
        Po po(raw);
        if (failed) return false;
        if (!po) {
            fail("an EMF+ record could not be made");
            return false;
        }
        std::vector<char> data(4 + po.get()->Used);
        std::memcpy(data.data(), "EMF+", 4);
        std::memcpy(data.data() + 4, po.get()->Data, po.get()->Used);
        return append(U_EMRCOMMENT_set(static_cast<U_CBDATA>(data.size()), data.data()));
    }

    PointF T(PointF p) const { return rotated ? RotatePoint(p, angle, centre) : p; }

    std::vector<PointF> T(std::span<const PointF> pts) const {
        std::vector<PointF> out;
        out.reserve(pts.size());
        for (const PointF& p : pts) out.push_back(T(p));
        return out;
    }

    // A stroke of an odd width in whole pixels lies on the pixels named by
    // its coordinates, as the raster picture draws it: a reader puts pixel
    // edges on whole coordinates, so the stroke's middle goes half a pixel
    // right and down, on the pixels' centres.  Fills and text stay.
    static bool Centred(const Pen& pen) { return OddStrokeWidth(pen.width); }

    // The half-pixel move on the picture as a move before the rotation.
    PointF plusShift() const {
        if (!rotated) return {0.5, 0.5};
        const PointF o = RotatePoint({0.5, 0.5}, -angle, {0, 0});
        return o;
    }
    std::vector<PointF> plusPoints(const Pen& pen, std::span<const PointF> pts) const {
        std::vector<PointF> out(pts.begin(), pts.end());
        if (!Centred(pen)) return out;
        const PointF d = plusShift();
        for (PointF& p : out) p = {p.x + d.x, p.y + d.y};
        return out;
    }
    RectF plusBox(const Pen& pen, const RectF& r) const {
        if (!Centred(pen)) return r;
        const PointF d = plusShift();
        return {r.x + d.x, r.y + d.y, r.w, r.h};
    }

    // The plain records' world transform: shifted by half a pixel for a
    // centred stroke, the identity for everything else.
    void plainShift(bool on) {
        if (plainShifted == on) return;
        U_XFORM x{1.0f, 0.0f, 0.0f, 1.0f, on ? 0.5f : 0.0f, on ? 0.5f : 0.0f};
        if (append(U_EMRSETWORLDTRANSFORM_set(x))) plainShifted = on;
    }

    // ---- EMF+ -----------------------------------------------------------

    void plusSmoothing() {
        plus(U_PMR_SETANTIALIASMODE_set(antialias ? U_SM_HighQuality : U_SM_None, antialias ? 1 : 0));
    }

    void plusTextHint() {
        plus(U_PMR_SETTEXTRENDERINGHINT_set(textAntialias ? U_TRH_Antialias : U_TRH_SingleBitPerPixel));
    }

    void plusWorldTransform() {
        if (!rotated) {
            plus(U_PMR_RESETWORLDTRANSFORM_set());
            return;
        }
        const double s = std::sin(angle * Deg);
        const double c = std::cos(angle * Deg);
        U_PMF_TRANSFORMMATRIX tm;
        tm.m11 = static_cast<U_FLOAT>(c);
        tm.m12 = static_cast<U_FLOAT>(s);
        tm.m21 = static_cast<U_FLOAT>(-s);
        tm.m22 = static_cast<U_FLOAT>(c);
        tm.dX = static_cast<U_FLOAT>(centre.x - c * centre.x + s * centre.y);
        tm.dY = static_cast<U_FLOAT>(centre.y - s * centre.x - c * centre.y);
        Po m(U_PMF_TRANSFORMMATRIX_set(&tm));
        plus(U_PMR_SETWORLDTRANSFORM_set(m.get()));
    }

    void plusPenObject(const Pen& pen) {
        if (plusPen && *plusPen == pen) return;
        const bool dashed = UsableDashPattern(pen.dashes);
        uint32_t flags = U_PD_StartCap | U_PD_EndCap | U_PD_Join | U_PD_MiterLimit | U_PD_LineStyle;
        Po dashData;
        if (dashed) {
            std::vector<U_FLOAT> lengths(pen.dashes.begin(), pen.dashes.end());
            dashData = U_PMF_DASHEDLINEDATA_set(static_cast<int32_t>(lengths.size()), lengths.data());
            flags |= U_PD_DLCap | U_PD_DLData;
        }
        const int32_t cap = pen.roundCaps ? U_LCT_Round : U_LCT_Flat;
        Po optional(U_PMF_PENOPTIONALDATA_set(flags, nullptr, cap, cap, U_LJT_Miter, 10.0f,
                                              dashed ? U_LS_Custom : U_LS_Solid, U_DLCT_Flat, 0.0f,
                                              dashData.get(), U_PA_Center, nullptr, nullptr, nullptr));
        // A hairline is recorded one pixel wide, the width it draws with
        // and the unit of its dash pattern.
        const double width = pen.width > 0 ? pen.width : 1.0;
        Po penData(U_PMF_PENDATA_set(U_UT_World, static_cast<U_FLOAT>(width), optional.get()));
        Po argb(U_PMF_ARGB_set(255, static_cast<uint8_t>(RgbRed(pen.color)), static_cast<uint8_t>(RgbGreen(pen.color)),
                               static_cast<uint8_t>(RgbBlue(pen.color))));
        Po brushData(U_PMF_SOLIDBRUSHDATA_set(argb.get()));
        Po brush(U_PMF_BRUSH_set(Version(), brushData.get()));
        Po penObject(U_PMF_PEN_set(Version(), penData.get(), brush.get()));
        if (!penObject) {
            fail("the EMF+ pen could not be made");
            return;
        }
        if (plus(U_PMR_OBJECT_PO_set(PenSlot, penObject.get()))) plusPen = pen;
    }

    static U_PSEUDO_OBJ* Argb(Rgb c) {
        return U_PMF_ARGB_set(255, static_cast<uint8_t>(RgbRed(c)), static_cast<uint8_t>(RgbGreen(c)),
                              static_cast<uint8_t>(RgbBlue(c)));
    }

    static U_PSEUDO_OBJ* RectFObj(const RectF& r) {
        return U_PMF_RECTF4_set(static_cast<U_FLOAT>(r.x), static_cast<U_FLOAT>(r.y), static_cast<U_FLOAT>(r.w),
                                static_cast<U_FLOAT>(r.h));
    }

    static U_PSEUDO_OBJ* PointsObj(std::span<const PointF> pts) {
        std::vector<U_PMF_POINTF> v;
        v.reserve(pts.size());
        for (const PointF& p : pts) v.push_back({static_cast<U_FLOAT>(p.x), static_cast<U_FLOAT>(p.y)});
        return U_PMF_POINTF_set(static_cast<uint32_t>(v.size()), v.data());
    }

    // ---- plain EMF objects ----------------------------------------------

    void selectStockPen(bool null) {
        if (penSel == Sel::Stock && nullPen == null) return;
        if (append(selectobject_set(null ? U_NULL_PEN : U_BLACK_PEN, eht))) {
            penSel = Sel::Stock;
            nullPen = null;
        }
    }

    void selectPen(const PlainPenKey& key) {
        if (penHandle && penKey && *penKey == key) {
            if (penSel != Sel::Own && append(selectobject_set(penHandle, eht))) penSel = Sel::Own;
            return;
        }
        const uint32_t style = U_PS_GEOMETRIC | U_PS_SOLID | (key.round ? U_PS_ENDCAP_ROUND : U_PS_ENDCAP_FLAT) |
                               U_PS_JOIN_MITER;
        PU_EXTLOGPEN elp = extlogpen_set(style, static_cast<uint32_t>(key.width), U_BS_SOLID,
                                         ToColorRef(key.color), 0, 0, nullptr);
        if (!elp) {
            fail("a metafile pen could not be made");
            return;
        }
        uint32_t ih = 0;
        char* rec = extcreatepen_set(&ih, eht, nullptr, 0, nullptr, elp);
        std::free(elp);
        if (!append(rec) || !append(selectobject_set(ih, eht))) return;
        if (penHandle) append(deleteobject_set(&penHandle, eht));
        penHandle = ih;
        penKey = key;
        penSel = Sel::Own;
    }

    void selectStockBrush(bool null) {
        if (brushSel == Sel::Stock && nullBrush == null) return;
        if (append(selectobject_set(null ? U_NULL_BRUSH : U_WHITE_BRUSH, eht))) {
            brushSel = Sel::Stock;
            nullBrush = null;
        }
    }

    void selectBrush(Rgb color) {
        if (brushHandle && brushKey && *brushKey == color) {
            if (brushSel != Sel::Own && append(selectobject_set(brushHandle, eht))) brushSel = Sel::Own;
            return;
        }
        uint32_t ih = 0;
        if (!append(createbrushindirect_set(&ih, eht, logbrush_set(U_BS_SOLID, ToColorRef(color), 0))) ||
            !append(selectobject_set(ih, eht)))
            return;
        if (brushHandle) append(deleteobject_set(&brushHandle, eht));
        brushHandle = ih;
        brushKey = color;
        brushSel = Sel::Own;
    }

    void selectStockFont() {
        if (fontSel == Sel::Stock) return;
        if (append(selectobject_set(U_DEVICE_DEFAULT_FONT, eht))) fontSel = Sel::Stock;
    }

    void selectFont(const PlainFontKey& key) {
        if (fontHandle && fontKey && *fontKey == key) {
            if (fontSel != Sel::Own && append(selectobject_set(fontHandle, eht))) fontSel = Sel::Own;
            return;
        }
        uint16_t face[U_LF_FACESIZE] = {};
        std::copy_n(key.face.begin(), std::min<std::size_t>(key.face.size(), U_LF_FACESIZE - 1), face);
        uint16_t style[U_LF_FACESIZE] = {};
        const std::u16string styleName = key.bold ? (key.italic ? u"Bold Italic" : u"Bold")
                                                  : (key.italic ? u"Italic" : u"Regular");
        std::copy(styleName.begin(), styleName.end(), style);
        U_LOGFONT lf = logfont_set(-key.height, 0, key.escapement, key.escapement,
                                   key.bold ? U_FW_BOLD : U_FW_NORMAL, key.italic ? 1 : 0, 0, 0, U_DEFAULT_CHARSET,
                                   U_OUT_DEFAULT_PRECIS, U_CLIP_DEFAULT_PRECIS,
                                   key.antialias ? U_ANTIALIASED_QUALITY : U_NONANTIALIASED_QUALITY,
                                   U_DEFAULT_PITCH, face);
        U_LOGFONT_PANOSE elfw = logfont_panose_set(lf, face, style, 0, U_PAN_ALL1);
        uint32_t ih = 0;
        if (!append(extcreatefontindirectw_set(&ih, eht, nullptr, reinterpret_cast<char*>(&elfw))) ||
            !append(selectobject_set(ih, eht)))
            return;
        if (fontHandle) append(deleteobject_set(&fontHandle, eht));
        fontHandle = ih;
        fontKey = key;
        fontSel = Sel::Own;
    }

    void deleteObjects() {
        selectStockPen(false);
        selectStockBrush(false);
        selectStockFont();
        if (penHandle) append(deleteobject_set(&penHandle, eht));
        if (brushHandle) append(deleteobject_set(&brushHandle, eht));
        if (fontHandle) append(deleteobject_set(&fontHandle, eht));
    }

    // ---- plain EMF drawing ----------------------------------------------

    static int PlainWidth(const Pen& pen) {
        return static_cast<int>(std::clamp(std::rint(pen.width), 1.0, 100000.0));
    }

    void plainPolygon(std::span<const PointF> pts) {
        std::vector<U_POINTL> v;
        for (const PointF& p : pts) v.push_back(ToPointL(p));
        append(U_EMRPOLYGON_set(BoundsL(pts, 0), static_cast<uint32_t>(v.size()), v.data()));
    }

    // Fills picture-space polygons with the colour, no outline.
    void plainFill(Rgb color, const std::vector<std::vector<PointF>>& polys) {
        std::vector<uint32_t> counts;
        std::vector<U_POINTL> v;
        std::vector<PointF> all;
        for (const auto& poly : polys) {
            if (poly.size() < 3) continue;
            counts.push_back(static_cast<uint32_t>(poly.size()));
            for (const PointF& p : poly) {
                v.push_back(ToPointL(p));
                all.push_back(p);
            }
        }
        if (counts.empty()) return;
        selectStockPen(true);
        selectBrush(color);
        if (counts.size() == 1)
            append(U_EMRPOLYGON_set(BoundsL(all, 0), counts[0], v.data()));
        else
            append(U_EMRPOLYPOLYGON_set(BoundsL(all, 0), static_cast<uint32_t>(counts.size()), counts.data(),
                                        static_cast<uint32_t>(v.size()), v.data()));
    }

    // Strokes a picture-space path.
    // The picture, grown by what a stroke of `width` reaches beyond its points.
    RectF shown(double penWidth) const {
        const double m = StrokeReach(penWidth);
        return {-m, -m, width + 2 * m, height + 2 * m};
    }

    // The same in the coordinates before the rotation.
    RectF shownBeforeRotation(double penWidth) const {
        const RectF r = shown(penWidth);
        if (!rotated) return r;
        const PointF corners[4] = {RotatePoint({r.x, r.y}, -angle, centre),
                                   RotatePoint({r.x + r.w, r.y}, -angle, centre),
                                   RotatePoint({r.x, r.y + r.h}, -angle, centre),
                                   RotatePoint({r.x + r.w, r.y + r.h}, -angle, centre)};
        return BoundsOf(corners, 0);
    }

    // The period of a pen's dash pattern in the points' units; 0 for solid.
    static double DashPeriod(const Pen& pen) {
        if (!UsableDashPattern(pen.dashes)) return 0;
        double total = 0;
        for (double d : pen.dashes) total += d;
        return total * (pen.width > 0 ? pen.width : 1.0);
    }

    // The EMF+ lines of a path: the parts within the picture only, each
    // starting where the pen's pattern starts anew, so that a reader dashes
    // the visible part as on the whole path and never walks far outside.
    void plusLines(const Pen& pen, std::span<const PointF> points, bool closed) {
        const RectF view = shownBeforeRotation(pen.width);
        if (PathWithin(points, view)) {
            Po pts(PointsObj(plusPoints(pen, points)));
            plus(U_PMR_DRAWLINES_set(PenSlot, closed ? 1 : 0, pts.get()));
            return;
        }
        const double period = DashPeriod(pen);
        const std::vector<PointF> open = closed && period == 0 ? OpenOutside(points, view) : std::vector<PointF>();
        const auto parts = open.empty() ? ClipPath(points, closed, view, period) : ClipPath(open, false, view, 0);
        for (const auto& part : parts) {
            Po pts(PointsObj(plusPoints(pen, part)));
            plus(U_PMR_DRAWLINES_set(PenSlot, 0, pts.get()));
        }
    }

    void plainStroke(const Pen& pen, const std::vector<PointF>& pts, bool closed) {
        if (pts.size() < 2) return;
        plainShift(Centred(pen));
        const int w = PlainWidth(pen);
        const RectF view = shown(pen.width);
        const bool within = PathWithin(pts, view);
        std::vector<U_POINTL> v;
        if (!UsableDashPattern(pen.dashes)) {
            selectPen({pen.color, w, pen.roundCaps});
            if (!within) {
                // Only the parts on the picture; their cut ends lie outside it.
                const auto parts = ClipPath(closed ? OpenOutside(pts, view) : pts, false, view, 0);
                for (const auto& part : parts) {
                    v.clear();
                    for (const PointF& p : part) v.push_back(ToPointL(p));
                    append(U_EMRPOLYLINE_set(BoundsL(part, w / 2.0), static_cast<uint32_t>(v.size()), v.data()));
                }
                return;
            }
            for (const PointF& p : pts) v.push_back(ToPointL(p));
            if (closed) {
                selectStockBrush(true);
                append(U_EMRPOLYGON_set(BoundsL(pts, w / 2.0), static_cast<uint32_t>(v.size()), v.data()));
            } else {
                append(U_EMRPOLYLINE_set(BoundsL(pts, w / 2.0), static_cast<uint32_t>(v.size()), v.data()));
            }
            return;
        }
        const double unit = pen.width > 0 ? pen.width : 1.0;
        std::vector<double> pattern;
        for (double d : pen.dashes) pattern.push_back(d * unit);
        const auto dashes = SplitDashes(pts, pattern, closed, view);
        std::vector<uint32_t> counts;
        std::vector<PointF> drawn;
        for (const auto& dash : dashes) {
            if (dash.size() < 2) continue;
            counts.push_back(static_cast<uint32_t>(dash.size()));
            for (const PointF& p : dash) v.push_back(ToPointL(p));
            drawn.insert(drawn.end(), dash.begin(), dash.end());
        }
        if (!counts.empty()) {
            selectPen({pen.color, w, false});
            append(U_EMRPOLYPOLYLINE_set(BoundsL(drawn, w / 2.0), static_cast<uint32_t>(counts.size()),
                                         counts.data(), static_cast<uint32_t>(v.size()), v.data()));
        }
        if (closed || !pen.roundCaps || pen.width <= 1 || dashes.empty()) return;
        PointF startDir, endDir;
        if (!EndDirections(pts, startDir, endDir)) return;
        // Caps off the picture do not show.
        std::vector<std::vector<PointF>> caps;
        if (within || PathWithin(std::span(pts).first(1), view))
            caps.push_back(RoundCapPolygon(pts.front(), startDir, pen.width));
        if (dashes.back().back() == pts.back() && (within || PathWithin(std::span(pts).last(1), view)))
            caps.push_back(RoundCapPolygon(pts.back(), endDir, pen.width));
        if (!caps.empty()) plainFill(pen.color, caps);
    }

    // An ellipse or arc reaching far beyond the picture goes as the parts of
    // it the picture shows, as polylines in both record sets, the dashes
    // where they lie on the whole arc.  False: the caller writes it whole.
    bool farArc(const Pen& pen, const RectF& box, double start, double sweep) {
        const RectF view = shownBeforeRotation(pen.width);
        if (!EllipseFarBeyond(box, view)) return false;
        Pen open = pen;
        // A whole ellipse has no ends: its parts end off the picture.
        if (std::abs(sweep) >= 360) open.roundCaps = false;
        plusPenObject(open);
        for (const auto& part : ShownArcParts(box, start, sweep, view, DashPeriod(open))) {
            if (part.size() < 2 || !Finite(part)) continue;
            plusLines(open, part, false);
            plainStroke(open, T(part), false);
        }
        return true;
    }

    // The radial points of a GDI arc or pie (drawn counter-clockwise from the
    // first to the second) for a canvas arc.
    static void Radials(const RectF& box, const ArcSpan& arc, U_POINTL& from, U_POINTL& to) {
        const PointF c = box.center();
        const double r = std::max(std::abs(box.w), std::abs(box.h)) + 1000;
        auto radial = [&](double a) { return ToPointL({c.x + r * std::cos(a * Deg), c.y + r * std::sin(a * Deg)}); };
        const double s = arc.start;
        const double e = arc.start + arc.sweep;
        from = radial(arc.sweep > 0 ? e : s);
        to = radial(arc.sweep > 0 ? s : e);
    }

    // ---- clip -------------------------------------------------------------

    // The plain clip lives in a saved device context with only stock objects
    // selected, so that restoring it never selects an object deleted since.
    void plainSave() {
        plainShift(false);
        selectStockPen(false);
        selectStockBrush(false);
        selectStockFont();
        append(U_EMRSAVEDC_set());
    }

    void plainRestore() {
        plainShift(false);
        append(U_EMRRESTOREDC_set(-1));
        penSel = brushSel = fontSel = Sel::Stock;
        nullPen = nullBrush = false;
        textColor.reset();
    }
};

EmfCanvas::EmfCanvas(const std::string& path, int width, int height, double dpi, bool antialias)
    : d_(std::make_unique<Impl>()) {
    Impl& d = *d_;
    d.path = path;
    d.width = std::max(1, width);
    d.height = std::max(1, height);
    d.dpi = std::isfinite(dpi) && dpi > 0 ? dpi : 96.0;
    d.antialias = d.textAntialias = antialias;

    // emf_start empties its file at once: record into a temporary file
    // beside the target, which replaces the target on finish().
    d.file = std::make_unique<SafeFile>(path);
    if (!d.file->opened()) {
        d.fail(d.file->error());
        return;
    }
    d.tmpPath = d.file->tempPath();
    if (emf_start(d.tmpPath.c_str(), 1 << 16, 1 << 16, &d.et) != 0 || !d.et) {
        d.et = nullptr;
        d.fail("cannot write " + d.tmpPath);
        return;
    }
    if (emf_htable_create(128, 128, &d.eht) != 0) {
        d.fail("no memory for the metafile's object table");
        return;
    }

    // Bounds in pixels, frame in 0.01 mm; a reference device of one metre
    // square at the picture's resolution keeps the pixel size exact.
    const U_RECTL bounds = ToRectL({0, 0, static_cast<double>(d.width - 1), static_cast<double>(d.height - 1)});
    const U_RECTL frame = ToRectL({0, 0, d.width * 2540.0 / d.dpi, d.height * 2540.0 / d.dpi});
    const int32_t devicePixels = ToL(1000.0 * d.dpi / 25.4);
    d.append(U_EMRHEADER_set(bounds, frame, nullptr, 0, nullptr, sizel_set(devicePixels, devicePixels),
                             sizel_set(1000, 1000), 0));

    Po version(U_PMF_GRAPHICSVERSION_set(2));
    const auto logicalDpi = static_cast<uint32_t>(std::lround(d.dpi));
    d.plus(U_PMR_HEADER_set(1, 1, version.get(), logicalDpi, logicalDpi));
    d.plus(U_PMR_SETPAGETRANSFORM_set(U_UT_Pixel, 1.0f));
    d.plusSmoothing();
    d.plusTextHint();

    d.append(U_EMRSETMAPMODE_set(U_MM_TEXT));
    d.append(U_EMRSETBKMODE_set(U_TRANSPARENT));
    d.append(U_EMRSETPOLYFILLMODE_set(U_ALTERNATE));
    d.append(U_EMRSETTEXTALIGN_set(U_TA_BASELINE | U_TA_LEFT));
}

EmfCanvas::~EmfCanvas() {
    Impl& d = *d_;
    if (d.et) {
        if (d.et->fp) std::fclose(d.et->fp);
        d.et->fp = nullptr;
        emf_free(&d.et);
    }
    if (d.eht) emf_htable_free(&d.eht);
    d.file.reset();  // without a successful finish() the temporary file goes
}

bool EmfCanvas::ok() const { return !d_->failed; }

const std::string& EmfCanvas::error() const { return d_->error; }

bool EmfCanvas::finish() {
    Impl& d = *d_;
    if (d.done) return !d.failed;
    if (d.et && !d.failed) {
        if (d.clipped) d.plainRestore();
        d.clipped = false;
        d.plainShift(false);
        d.deleteObjects();
        d.plus(U_PMR_ENDOFFILE_set());
        d.append(U_EMREOF_set(0, nullptr, d.et));
    }
    if (d.et && !d.failed) {
        const std::size_t expected = d.et->used;
        if (emf_finish(d.et, d.eht) != 0) d.fail("cannot write " + d.tmpPath);
        if (d.et->fp) {  // left open when the write failed
            std::fclose(d.et->fp);
            d.et->fp = nullptr;
        }
        // emf_finish does not check the close; the file's size tells whether
        // everything reached the disk.
        std::error_code ec;
        if (!d.failed && std::filesystem::file_size(d.tmpPath, ec) != expected)
            d.fail("the metafile was not written completely");
    }
    if (!d.failed && d.file) {
        const std::string error = d.file->commit();
        if (!error.empty()) d.fail(error);
    }
    if (d.et) {
        if (d.et->fp) std::fclose(d.et->fp);
        d.et->fp = nullptr;
        emf_free(&d.et);
    }
    if (d.eht) emf_htable_free(&d.eht);
    d.file.reset();  // removes the temporary file of a failed run
    d.done = true;
    return !d.failed;
}

void EmfCanvas::setAntialias(bool on) {
    Impl& d = *d_;
    if (!d.live() || d.antialias == on) return;
    d.antialias = on;
    d.plusSmoothing();
}

void EmfCanvas::setTextAntialias(bool on) {
    Impl& d = *d_;
    if (!d.live() || d.textAntialias == on) return;
    d.textAntialias = on;
    d.plusTextHint();
}

void EmfCanvas::setRotation(double degrees, PointF centre) {
    Impl& d = *d_;
    if (!d.live() || !std::isfinite(degrees) || !std::isfinite(centre.x) || !std::isfinite(centre.y)) return;
    d.rotated = true;
    d.angle = degrees;
    d.centre = centre;
    d.plusWorldTransform();
}

void EmfCanvas::resetTransform() {
    Impl& d = *d_;
    if (!d.live() || !d.rotated) return;
    d.rotated = false;
    d.plusWorldTransform();
}

void EmfCanvas::setClipRect(const RectF& r) {
    Impl& d = *d_;
    if (!d.live() || !Finite(r)) return;
    // EMF+: the clip is set in picture coordinates, outside the rotation.
    if (d.rotated) d.plus(U_PMR_RESETWORLDTRANSFORM_set());
    Po rect(Impl::RectFObj(r));
    d.plus(U_PMR_SETCLIPRECT_set(U_CM_Replace, rect.get()));
    if (d.rotated) d.plusWorldTransform();

    if (d.clipped) d.plainRestore();
    d.plainSave();
    const double x0 = std::min(r.x, r.x + r.w), x1 = std::max(r.x, r.x + r.w);
    const double y0 = std::min(r.y, r.y + r.h), y1 = std::max(r.y, r.y + r.h);
    U_RECTL clip;
    clip.left = ToL(std::floor(x0));
    clip.top = ToL(std::floor(y0));
    clip.right = ToL(std::ceil(x1));
    clip.bottom = ToL(std::ceil(y1));
    d.append(U_EMRINTERSECTCLIPRECT_set(clip));
    d.clipped = true;
}

void EmfCanvas::resetClip() {
    Impl& d = *d_;
    if (!d.live() || !d.clipped) return;
    d.plus(U_PMR_RESETCLIP_set());
    d.plainRestore();
    d.clipped = false;
}

void EmfCanvas::drawLine(const Pen& pen, PointF a, PointF b) {
    const PointF pts[2] = {a, b};
    drawPolyline(pen, pts);
}

void EmfCanvas::drawPolyline(const Pen& pen, std::span<const PointF> points) {
    Impl& d = *d_;
    if (!d.live() || points.size() < 2 || !Finite(points) || !std::isfinite(pen.width)) return;
    d.plusPenObject(pen);
    d.plusLines(pen, points, false);
    d.plainStroke(pen, d.T(points), false);
}

void EmfCanvas::drawPolygon(const Pen& pen, std::span<const PointF> points) {
    Impl& d = *d_;
    if (!d.live() || points.size() < 2 || !Finite(points) || !std::isfinite(pen.width)) return;
    d.plusPenObject(pen);
    d.plusLines(pen, points, true);
    d.plainStroke(pen, d.T(points), true);
}

void EmfCanvas::fillPolygon(Rgb color, std::span<const PointF> points) {
    Impl& d = *d_;
    if (!d.live() || points.size() < 3 || !Finite(points)) return;
    Po brush(Impl::Argb(color));
    Po pts(Impl::PointsObj(points));
    d.plus(U_PMR_FILLPOLYGON_set(brush.get(), pts.get()));
    d.plainShift(false);
    d.plainFill(color, {d.T(points)});
}

void EmfCanvas::drawEllipse(const Pen& pen, const RectF& box) {
    Impl& d = *d_;
    if (!d.live() || !Finite(box) || !std::isfinite(pen.width)) return;
    if (d.farArc(pen, box, 0, 360)) return;
    d.plusPenObject(pen);
    Po rect(Impl::RectFObj(d.plusBox(pen, box)));
    d.plus(U_PMR_DRAWELLIPSE_set(PenSlot, rect.get()));
    if (d.rotated || UsableDashPattern(pen.dashes)) {
        d.plainStroke(pen, d.T(EllipsePolygon(box)), true);
        return;
    }
    d.plainShift(Impl::Centred(pen));
    d.selectPen({pen.color, Impl::PlainWidth(pen), pen.roundCaps});
    d.selectStockBrush(true);
    d.append(U_EMRELLIPSE_set(ToRectL(box)));
}

void EmfCanvas::fillEllipse(Rgb color, const RectF& box) {
    Impl& d = *d_;
    if (!d.live() || !Finite(box)) return;
    Po brush(Impl::Argb(color));
    Po rect(Impl::RectFObj(box));
    d.plus(U_PMR_FILLELLIPSE_set(brush.get(), rect.get()));
    d.plainShift(false);
    if (d.rotated) {
        d.plainFill(color, {d.T(EllipsePolygon(box))});
        return;
    }
    d.selectStockPen(true);
    d.selectBrush(color);
    d.append(U_EMRELLIPSE_set(ToRectL(box)));
}

void EmfCanvas::drawArc(const Pen& pen, const RectF& box, double start, double sweep) {
    Impl& d = *d_;
    if (!d.live() || !Finite(box) || !std::isfinite(start) || !std::isfinite(sweep) || sweep == 0 ||
        !std::isfinite(pen.width))
        return;
    if (d.farArc(pen, box, start, sweep)) return;
    const ArcSpan arc = NormalizeArc(start, sweep);
    d.plusPenObject(pen);
    Po rect(Impl::RectFObj(d.plusBox(pen, box)));
    d.plus(U_PMR_DRAWARC_set(PenSlot, static_cast<U_FLOAT>(arc.start), static_cast<U_FLOAT>(arc.sweep), rect.get()));
    // A GDI arc whose two radials round to the same point is a whole
    // ellipse: short arcs go as polylines.
    if (d.rotated || UsableDashPattern(pen.dashes) || (!arc.full && std::abs(arc.sweep) < 1)) {
        d.plainStroke(pen, d.T(ArcPolyline(box, start, sweep)), false);
        return;
    }
    d.plainShift(Impl::Centred(pen));
    U_POINTL from, to;
    Impl::Radials(box, arc, from, to);
    if (arc.full) to = from;
    d.selectPen({pen.color, Impl::PlainWidth(pen), pen.roundCaps});
    d.append(U_EMRARC_set(ToRectL(box), from, to));
}

void EmfCanvas::fillPie(Rgb color, const RectF& box, double start, double sweep) {
    Impl& d = *d_;
    if (!d.live() || !Finite(box) || !std::isfinite(start) || !std::isfinite(sweep) || sweep == 0) return;
    const ArcSpan arc = NormalizeArc(start, sweep);
    Po brush(Impl::Argb(color));
    Po rect(Impl::RectFObj(box));
    d.plus(U_PMR_FILLPIE_set(static_cast<U_FLOAT>(arc.start), static_cast<U_FLOAT>(arc.sweep), brush.get(),
                             rect.get()));
    d.plainShift(false);
    if (d.rotated || (!arc.full && std::abs(arc.sweep) < 1)) {
        d.plainFill(color, {d.T(PiePolygon(box, start, sweep))});
        return;
    }
    d.selectStockPen(true);
    d.selectBrush(color);
    if (arc.full) {
        d.append(U_EMRELLIPSE_set(ToRectL(box)));
        return;
    }
    U_POINTL from, to;
    Impl::Radials(box, arc, from, to);
    d.append(U_EMRPIE_set(ToRectL(box), from, to));
}

void EmfCanvas::fillRect(Rgb color, const RectF& r) {
    Impl& d = *d_;
    if (!d.live() || !Finite(r)) return;
    Po brush(Impl::Argb(color));
    U_PMF_RECTF rf{static_cast<U_FLOAT>(r.x), static_cast<U_FLOAT>(r.y), static_cast<U_FLOAT>(r.w),
                   static_cast<U_FLOAT>(r.h)};
    Po rects(U_PMF_RECTFN_set(1, &rf));
    d.plus(U_PMR_FILLRECTS_set(brush.get(), rects.get()));
    d.plainShift(false);
    if (d.rotated) {
        const PointF corners[4] = {{r.x, r.y}, {r.x + r.w, r.y}, {r.x + r.w, r.y + r.h}, {r.x, r.y + r.h}};
        d.plainFill(color, {d.T(corners)});
        return;
    }
    d.selectStockPen(true);
    d.selectBrush(color);
    d.append(U_EMRRECTANGLE_set(ToRectL(r)));
}

void EmfCanvas::drawText(const Font& font, Rgb color, const std::string& text, PointF at, TextFormat format) {
    Impl& d = *d_;
    if (!d.live() || text.empty() || !std::isfinite(at.x) || !std::isfinite(at.y) ||
        !std::isfinite(font.pixelSize))
        return;
    const QFont qfont = MakeQFont(font, d.textAntialias);
    const std::string family = font.family.empty() ? QFontInfo(qfont).family().toStdString() : font.family;
    const std::u16string face = Utf16(family);
    // A reader sets a text in "Symbol" with the Symbol font or its own
    // stand-in for it: it gets the codes of the signs.
    const std::u16string text16 = IsSymbolFamily(font.family) ? SymbolCodesText(text) : Utf16(text);
    const TextPlacement place = d.text.place(font, text, at, format);
    const double size = std::clamp(std::rint(font.pixelSize), 1.0, 10000.0);

    // EMF+: font and string format objects, then the string in its box.
    Font fontKey = font;
    fontKey.family = family;
    if (!d.plusFont || !(*d.plusFont == fontKey)) {
        const int32_t style = (font.bold ? U_FS_Bold : 0) | (font.italic ? U_FS_Italic : 0);
        Po f(U_PMF_FONT_set(Version(), static_cast<U_FLOAT>(size), U_UT_Pixel, style,
                            static_cast<uint32_t>(face.size()), reinterpret_cast<const uint16_t*>(face.data())));
        if (d.plus(U_PMR_OBJECT_PO_set(FontSlot, f.get()))) d.plusFont = fontKey;
    }
    if (!d.plusFormat || !(*d.plusFormat == format)) {
        U_PMF_STRINGFORMAT sfs{};
        sfs.Version = Version();
        sfs.Flags = U_SF_NoClip | U_SF_NoWrap;
        sfs.Language = U_LID_en_US;
        sfs.StringAlignment = static_cast<uint32_t>(StringAlignment(format.horizontal));
        sfs.LineAlign = static_cast<uint32_t>(StringAlignment(format.vertical));
        sfs.DigitSubstitution = U_SDS_None;
        sfs.DigitLanguage = U_LID_en_US;
        sfs.HotkeyPrefix = U_HKP_None;
        sfs.Tracking = 1.0f;
        sfs.Trimming = U_ST_None;
        Po sf(U_PMF_STRINGFORMAT_set(&sfs, nullptr));
        if (d.plus(U_PMR_OBJECT_PO_set(FormatSlot, sf.get()))) d.plusFormat = format;
    }
    Po brush(Impl::Argb(color));
    Po rect(Impl::RectFObj({place.left, place.top, place.width, place.height}));
    d.plus(U_PMR_DRAWSTRING_set(FontSlot, brush.get(), FormatSlot, static_cast<uint32_t>(text16.size()), rect.get(),
                                reinterpret_cast<const uint16_t*>(text16.data())));

    // Plain EMF: the rotation goes into the font's escapement (tenths of a
    // degree, counter-clockwise) and the baseline start point is rotated.
    int escapement = 0;
    if (d.rotated) {
        escapement = static_cast<int>(std::lround(std::fmod(-d.angle * 10.0, 3600.0)));
        if (escapement < 0) escapement += 3600;
    }
    d.plainShift(false);
    d.selectFont({face, static_cast<int>(size), font.bold, font.italic, escapement, d.textAntialias});
    if (!d.textColor || *d.textColor != color) {
        if (d.append(U_EMRSETTEXTCOLOR_set(ToColorRef(color)))) d.textColor = color;
    }
    // Real advances, so that readers place each character as Qt does: the
    // signs this machine shows stand in for those the reader shows (one
    // character drawn for each one written).
    std::vector<uint32_t> dx(text16.size(), 0);
    std::size_t at16 = 0;
    long previous = 0;
    for (const ShownRun& r : d.text.shown(font, text).runs) {
        const QFontMetricsF fm(r.font);
        const QString& q = r.text;
        for (qsizetype i = 0; i < q.size() && at16 < dx.size(); ++i, ++at16) {
            qsizetype next = i + 1;
            if (q.at(i).isHighSurrogate() && next < q.size()) ++next;  // the pair's advance goes on its first unit
            const long edge = std::lround(r.x + fm.horizontalAdvance(q.left(next)));
            dx[at16] = static_cast<uint32_t>(std::max(0L, edge - previous));
            previous = std::max(previous, edge);
            if (next > i + 1) ++i, ++at16;
        }
    }
    const PointF origin = d.T({place.left, place.top + place.ascent});
    char* emrtext = emrtext_set(ToPointL(origin), static_cast<U_NUM_STR>(text16.size()), 2,
                                const_cast<char16_t*>(text16.data()), U_ETO_NONE, U_RCL_DEF, dx.data());
    if (!emrtext) {
        d.fail("a metafile text record could not be made");
        return;
    }
    d.append(U_EMREXTTEXTOUTW_set(U_RCL_DEF, U_GM_COMPATIBLE, 1.0f, 1.0f, reinterpret_cast<PU_EMRTEXT>(emrtext)));
    std::free(emrtext);
}

SizeF EmfCanvas::measureText(const Font& font, const std::string& text) { return d_->text.measure(font, text); }

RectF EmfCanvas::measureInk(const Font& font, const std::string& text) { return d_->text.ink(font, text); }

}  // namespace pelmar
