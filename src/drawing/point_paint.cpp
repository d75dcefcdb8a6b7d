#include "drawing/point_paint.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "model/flip.h"
#include "model/geometry.h"
#include "model/links.h"
#include "platform/canvas.h"
#include "platform/font_ascent.h"
#include "platform/qt_canvas.h"
#include "platform/qt_text.h"

namespace pelmar {

namespace {

constexpr std::uint8_t TypeDisc = 2;
constexpr std::uint8_t TypeRing = 3;

bool PointsUnit(const DImProj& im) { return im.FontUnit == 2; }

// What an index is measured as on the own picture.
const std::string& MeasuredIndex(const std::string& s) {
    static const std::string one = "1";
    return s.empty() || s == " " ? one : s;
}

// Indices sit closer to a name ending in a capital with an open right side.
double IndexInset(const std::string& name) {
    static const std::string close = "CEFHIJKMNSTUVWXYZ";
    if (name.empty()) return 0.2;
    return close.find(name.back()) != std::string::npos ? 0.1 : 0.2;
}

// Style code of the drawing program: 1 regular, 8 italic, 13 bold, 14 bold italic.
int CdrStyle(bool bold, bool italic) {
    if (bold) return italic ? 14 : 13;
    return italic ? 8 : 1;
}

}  // namespace

int CdrTextSize(const Font& f, const DImProj& im) {
    if (im.Dpi <= 0) return 0;
    return RoundToInt(std::fabs(f.pixelSize) * 720.0 / im.Dpi);
}

double WordTextSize(const Font& f, const DImProj& im) {
    if (im.Dpi <= 0) return 0;
    return std::fabs(f.pixelSize) * 72.0 / im.Dpi;
}

double WordBoxTop(const Font& f, double baseline) {
    return baseline - AscentShare(f.family, f.bold, f.italic) * f.pixelSize;
}

namespace {

void CdrDisc(CdrSink& cdr, const DImProj& im, double x, double y, double r, TColor colour) {
    cdr.CreateEllipse(CdrY(im, y - r), CdrX(im, x - r), CdrY(im, y + r), CdrX(im, x + r), 0, 0, 0);
    cdr.CdrSetOutlineColor(colour);
    cdr.CdrSetFillColor(colour);
    cdr.SetOutlineWidth(CdrUnits(im.Dpi, 1));
    cdr.CdrRememberShape();
}

void CdrText(CdrSink& cdr, const DImProj& im, const std::string& text, double left, double baseline,
             const std::string& font, int style, int size, TColor colour) {
    cdr.CreateArtisticText(text, CdrX(im, left), CdrY(im, baseline));
    cdr.SetCharacterAttributes(0, 0, font, style, size, 0, 0, 0, 0, 0, 1000, 1000, 1);
    cdr.CdrSetFillColor(colour);
    cdr.CdrRememberShape();
}

// Where the own picture puts a label's indices: their left edge and the
// tops of the upper and the lower index, for a name centred on (xc, yc).
struct IndexPlaces {
    double x = 0, upperTop = 0, lowerTop = 0;
};

IndexPlaces PlaceIndices(const DPoint& p, Canvas& c, const Font& nameFont, const Font& indexFont, double xc,
                         double yc) {
    const double w1 = c.measureText(nameFont, "1").w;
    const SizeF name = c.measureText(nameFont, p.Name.s);
    const double hu = c.measureText(indexFont, MeasuredIndex(p.Upper.s)).h;
    c.measureText(indexFont, MeasuredIndex(p.Lower.s));
    IndexPlaces at;
    at.x = xc + name.w / 2 - IndexInset(p.Name.s) * w1;
    at.upperTop = yc - name.h / 2 - 0.6 * hu + 0.2 * name.h;
    at.lowerTop = yc + name.h / 2 - 0.3 * hu - 0.35 * name.h;
    return at;
}

void PelLabel(const DPoint& p, const DImProj& im, Canvas& c, double xc, double yc) {
    c.setTextAntialias(im.PicMode == 0 || im.Smooth);
    // Most points inside other objects carry no label: nothing to measure.
    if (IsBlank(p.Name.s) && IsBlank(p.Upper.s) && IsBlank(p.Lower.s)) return;
    const TColor colour = p.Color.v;
    const Font nameFont{p.NameFont.s, LabelPixelSize(p.NameSize.v, im), p.NameBold.v, p.NameItalic.v};
    const Font indexFont{p.IndexFont.s, LabelPixelSize(p.IndexSize.v, im), p.IndexBold.v, p.IndexItalic.v};

    const IndexPlaces at = PlaceIndices(p, c, nameFont, indexFont, xc, yc);
    const TextFormat centred{TextAlign::Center, TextAlign::Center};
    if (!p.Name.s.empty()) c.drawText(nameFont, colour, p.Name.s, {xc, yc}, centred);
    if (!p.Upper.s.empty()) c.drawText(indexFont, colour, p.Upper.s, {at.x, at.upperTop}, TextFormat{});
    if (!p.Lower.s.empty()) c.drawText(indexFont, colour, p.Lower.s, {at.x, at.lowerTop}, TextFormat{});
}

// Whether the label of p shows any text on the target: the word processor
// leaves out the indices of a blank name.
bool ShowsLabel(const DPoint& p, const PaintTarget& target) {
    if (target.is(TargetKind::Wrd)) return !IsBlank(p.Name.s);
    return !IsBlank(p.Name.s) || !IsBlank(p.Upper.s) || !IsBlank(p.Lower.s);
}

// A linked point stands where the point it is linked to stands.  When that
// point, or one further along a chain of links, shows a label there, a
// second label would print letters over the first, and the linked point
// leaves its own out.  Where none does (a circumcentre, a midpoint, a foot, a
// centre, whose labels are blank, or a point that is not shown) the linked
// point shows its own.  A chain that comes back on itself shows every label.
bool LabelShownByLinkedPoint(const DPoint& p, const DImProj& im, const PaintTarget& target) {
    if (!target.doc || !p.Link.linked()) return false;
    constexpr std::size_t MaxChain = 64;
    std::vector<const DPoint*> chain;
    bool shown = false;
    for (DLink link = p.Link; link.linked();) {
        const LinkedElement e = LinkedPoint(*target.doc, link);
        if (!e.point) break;
        if (chain.size() == MaxChain || std::ranges::find(chain, e.point) != chain.end()) return false;
        chain.push_back(e.point);
        const DPoint& s = *e.point;
        // p is flipped to the screen, s still stands as the document keeps it.
        if (std::fabs(s.ScrX.v - p.ScrX.v) >= 0.5 || std::fabs(im.Height - s.ScrY.v - p.ScrY.v) >= 0.5) break;
        shown = shown || (e.shown && ShowsLabel(s, target));
        link = s.Link;
    }
    return shown;
}

}  // namespace

double LabelPixelSize(int size, const DImProj& im) {
    if (PointsUnit(im)) return Round(size * static_cast<double>(im.Dpi) / 72.0);
    return Round(1.6 * size);
}

bool IsBlank(const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; }

void DrawPoint(const DPoint& p, const DImProj& im, const PaintTarget& target) {
    if (p.Disabled.v) return;
    DPoint copy = p;
    FlipYPoint(copy, FlipToScreen, im.Height);
    DrawPointElement(copy, im, target);
}

void DrawPointElement(const DPoint& p, const DImProj& im, const PaintTarget& target) {
    if (p.Disabled.v) return;
    const double x = p.ScrX.v;
    const double y = p.ScrY.v;
    const double r = p.Radius.v;
    const double inner = static_cast<double>(p.Radius.v) - p.Thick.v;
    const std::uint8_t type = p.Typ.v;
    const bool marked = type == TypeDisc || type == TypeRing;

    if (target.is(TargetKind::Pel)) {
        if (target.canvas && marked) {
            Canvas& c = *target.canvas;
            c.setAntialias(im.Smooth);
            c.fillEllipse(p.Selected ? p.SelColor : p.Color.v, {x - r, y - r, 2 * r, 2 * r});
            // A ring whose thickness reaches its radius stays a disc.
            if (type == TypeRing && inner > 0)
                c.fillEllipse(im.Background, {x - inner, y - inner, 2 * inner, 2 * inner});
        }
    } else if (target.is(TargetKind::Cdr)) {
        if (target.cdr && marked) {
            CdrDisc(*target.cdr, im, x, y, r, p.Color.v);
            if (type == TypeRing) CdrDisc(*target.cdr, im, x, y, inner, im.Background);
        }
    } else if (target.is(TargetKind::Wrd)) {
        if (target.wrd) target.wrd->OfficeOval(type, p.Color.v, x, y, r, inner);
    }
    DrawLabel(p, im, target);
}

void DrawLabel(const DPoint& p, const DImProj& im, const PaintTarget& target) {
    if (LabelShownByLinkedPoint(p, im, target)) return;
    const bool pel = target.is(TargetKind::Pel);
    const bool cdr = target.is(TargetKind::Cdr);
    const bool wrd = target.is(TargetKind::Wrd);
    if ((pel && !target.canvas) || (cdr && !target.cdr) || (wrd && !target.wrd) || !(pel || cdr || wrd)) return;

    const double phi = p.LabelAngle.v * std::numbers::pi / 180.0;
    const double d = p.LabelDist.v;
    const double xc = p.ScrX.v + d * std::cos(phi);
    const double yc = p.ScrY.v + d * std::sin(phi);

    if (pel) {
        PelLabel(p, im, *target.canvas, xc, yc);
        return;
    }

    // The exports put the name and each index where the own picture draws
    // them and as large: the drawing program's texts by their baselines, the
    // word processor's boxes by their tops, the font's ascent above the
    // baseline.  (Placed by the formulas of the programs' own text layout
    // they landed lower, and a long name's indices on its last letter.)
    QImage scratchImage;
    std::unique_ptr<QtCanvas> scratch;
    Canvas* m = target.measure;
    if (!m) {
        scratchImage = QImage(100, 100, QImage::Format_RGB32);
        scratch = std::make_unique<QtCanvas>(scratchImage);
        m = scratch.get();
    }
    const Font nameFont{p.NameFont.s, LabelPixelSize(p.NameSize.v, im), p.NameBold.v, p.NameItalic.v};
    const Font indexFont{p.IndexFont.s, LabelPixelSize(p.IndexSize.v, im), p.IndexBold.v, p.IndexItalic.v};
    const IndexPlaces at = PlaceIndices(p, *m, nameFont, indexFont, xc, yc);
    scratch.reset();
    const TextPlacement name = PlaceText(nameFont, p.Name.s, {xc, yc}, {TextAlign::Center, TextAlign::Center});
    const double nameBaseline = name.top + name.ascent;
    const double indexAscent = PlaceText(indexFont, "1", {0, 0}, TextFormat{}).ascent;
    const double upperBaseline = at.upperTop + indexAscent, lowerBaseline = at.lowerTop + indexAscent;
    const TColor colour = p.Color.v;
    if (cdr) {
        CdrSink& s = *target.cdr;
        const int indexStyle = CdrStyle(p.IndexBold.v, p.IndexItalic.v);
        const int indexSize = CdrTextSize(indexFont, im);
        if (!IsBlank(p.Name.s))
            CdrText(s, im, p.Name.s, name.left, nameBaseline, p.NameFont.s, CdrStyle(p.NameBold.v, p.NameItalic.v),
                    CdrTextSize(nameFont, im), colour);
        if (!IsBlank(p.Upper.s))
            CdrText(s, im, p.Upper.s, at.x, upperBaseline, p.IndexFont.s, indexStyle, indexSize, colour);
        if (!IsBlank(p.Lower.s))
            CdrText(s, im, p.Lower.s, at.x, lowerBaseline, p.IndexFont.s, indexStyle, indexSize, colour);
        return;
    }

    // An empty name leaves out the indices too.
    if (IsBlank(p.Name.s)) return;
    WordSink& w = *target.wrd;
    auto box = [&](const std::string& text, const Font& f, double left, double baseline) {
        w.OfficeTextBox(30, 30, text, left, WordBoxTop(f, baseline), "", "", f.family, f.family, f.italic, f.bold,
                        f.italic, f.bold, WordTextSize(f, im), p.ColorIndex.v, colour);
    };
    box(p.Name.s, nameFont, name.left, nameBaseline);
    if (!IsBlank(p.Lower.s)) box(p.Lower.s, indexFont, at.x, lowerBaseline);
    if (!IsBlank(p.Upper.s)) box(p.Upper.s, indexFont, at.x, upperBaseline);
}

}  // namespace pelmar
