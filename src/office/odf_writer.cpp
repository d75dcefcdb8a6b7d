#include "office/odf_writer.h"

#include <zip.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string_view>
#include <map>
#include <numbers>
#include <span>

#include "office/office_fonts.h"
#include "platform/qt_text.h"
#include "platform/safe_save.h"

namespace pelmar {

namespace {

constexpr double CmPerPoint = 2.54 / 72;
// The size of a raised or lowered run against its text's.
constexpr double ScriptShare = 0.58;

std::string Fixed(double v, int decimals) {
    if (!std::isfinite(v)) v = 0;
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    std::string s = buf;
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    if (s == "-0") s = "0";
    return s;
}

std::string Cm(double points) { return Fixed(points * CmPerPoint, 4) + "cm"; }
std::string Pt(double points) { return Fixed(points, 2) + "pt"; }

std::string Hex(TColor c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    return buf;
}

// Text for an element or an attribute value.  Control characters other than
// tab have no place in XML 1.0 and are left out.
std::string Esc(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (char ch : s) {
        switch (ch) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            default:
                if (static_cast<unsigned char>(ch) < 0x20 && ch != '\t') break;
                out += ch;
        }
    }
    return out;
}

constexpr char Namespaces[] =
    " xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
    " xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\""
    " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\""
    " xmlns:draw=\"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0\""
    " xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\""
    " xmlns:svg=\"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0\""
    " xmlns:xlink=\"http://www.w3.org/1999/xlink\""
    " xmlns:dc=\"http://purl.org/dc/elements/1.1/\""
    " xmlns:meta=\"urn:oasis:names:tc:opendocument:xmlns:meta:1.0\""
    " office:version=\"1.2\"";

struct DashDef {
    DashStyle style;
    const char* name;
    const char* attrs;
};

// Lengths relative to the line's width.
constexpr DashDef Dashes[] = {
    {DashStyle::Dot, "Dot", "draw:style=\"round\" draw:dots1=\"1\" draw:dots1-length=\"100%\" draw:distance=\"100%\""},
    {DashStyle::SquareDot, "Square_20_Dot",
     "draw:style=\"rect\" draw:dots1=\"1\" draw:dots1-length=\"100%\" draw:distance=\"100%\""},
    {DashStyle::Dash, "Dash", "draw:style=\"rect\" draw:dots1=\"1\" draw:dots1-length=\"400%\" draw:distance=\"300%\""},
    {DashStyle::DashDot, "Dash_20_Dot",
     "draw:style=\"rect\" draw:dots1=\"1\" draw:dots1-length=\"400%\" draw:dots2=\"1\" draw:dots2-length=\"100%\" "
     "draw:distance=\"300%\""},
    {DashStyle::DashDotDot, "Dash_20_Dot_20_Dot",
     "draw:style=\"rect\" draw:dots1=\"1\" draw:dots1-length=\"400%\" draw:dots2=\"2\" draw:dots2-length=\"100%\" "
     "draw:distance=\"300%\""},
    {DashStyle::LongDash, "Long_20_Dash",
     "draw:style=\"rect\" draw:dots1=\"1\" draw:dots1-length=\"800%\" draw:distance=\"300%\""},
    {DashStyle::LongDashDot, "Long_20_Dash_20_Dot",
     "draw:style=\"rect\" draw:dots1=\"1\" draw:dots1-length=\"800%\" draw:dots2=\"1\" draw:dots2-length=\"100%\" "
     "draw:distance=\"300%\""},
};

struct MarkerDef {
    ArrowStyle style;
    const char* name;
    double length;  // of a marker 20 wide
};

constexpr MarkerDef Markers[] = {
    {ArrowStyle::Triangle, "Arrow", 30},       {ArrowStyle::Open, "Line_20_Arrow", 30},
    {ArrowStyle::Stealth, "Arrow_20_concave", 30}, {ArrowStyle::Diamond, "Square_20_45", 20},
    {ArrowStyle::Oval, "Circle", 20},
};

// A marker 20 wide and `length` long, its tip at the top of its box.
std::string MarkerXml(const std::string& name, ArrowStyle style, double length) {
    // Points (x, share of the length) of the outline.
    static constexpr std::pair<double, double> Triangle[] = {{10, 0}, {0, 1}, {20, 1}};
    static constexpr std::pair<double, double> Open[] = {{10, 0}, {0, 0.9}, {3, 1}, {10, 0.3}, {17, 1}, {20, 0.9}};
    static constexpr std::pair<double, double> Stealth[] = {{10, 0}, {0, 1}, {10, 22.0 / 30}, {20, 1}};
    static constexpr std::pair<double, double> Diamond[] = {{10, 0}, {20, 0.5}, {10, 1}, {0, 0.5}};
    static constexpr std::pair<double, double> Oval[] = {
        {10, 0},      {13.8, 0.04},  {17.1, 0.145}, {19.2, 0.31}, {20, 0.5}, {19.2, 0.69}, {17.1, 0.855}, {13.8, 0.96},
        {10, 1},      {6.2, 0.96},   {2.9, 0.855},  {0.8, 0.69},  {0, 0.5},  {0.8, 0.31},  {2.9, 0.145},  {6.2, 0.04}};
    std::span<const std::pair<double, double>> points;
    switch (style) {
        case ArrowStyle::Triangle: points = Triangle; break;
        case ArrowStyle::Open: points = Open; break;
        case ArrowStyle::Stealth: points = Stealth; break;
        case ArrowStyle::Diamond: points = Diamond; break;
        case ArrowStyle::Oval: points = Oval; break;
        case ArrowStyle::None: break;
    }
    std::string d;
    for (const auto& [x, share] : points) d += (d.empty() ? "M" : "L") + Fixed(x, 2) + " " + Fixed(share * length, 2);
    return "<draw:marker draw:name=\"" + name + "\" svg:viewBox=\"0 0 20 " + Fixed(length, 2) + "\" svg:d=\"" + d +
           "Z\"/>";
}

const char* DashName(DashStyle s) {
    for (const DashDef& d : Dashes)
        if (d.style == s) return d.name;
    return nullptr;
}

const char* MarkerName(ArrowStyle s) {
    for (const MarkerDef& m : Markers)
        if (m.style == s) return m.name;
    return nullptr;
}

// The dash and marker styles; `more` adds markers of other proportions.
std::string LineStyles(const std::string& more) {
    std::string s;
    for (const DashDef& d : Dashes) {
        s += "<draw:stroke-dash draw:name=\"";
        s += d.name;
        s += "\" draw:display-name=\"";
        s += d.name;
        s += "\" ";
        s += d.attrs;
        s += "/>";
    }
    for (const MarkerDef& m : Markers) s += MarkerXml(m.name, m.style, m.length);
    return s + more;
}

// Automatic styles, one per distinct set of properties.
class StyleSet {
public:
    StyleSet(const char* prefix, const char* family) : prefix_(prefix), family_(family) {}

    std::string name(const std::string& properties) {
        auto it = names_.find(properties);
        if (it != names_.end()) return it->second;
        std::string n = prefix_ + std::to_string(names_.size() + 1);
        names_.emplace(properties, n);
        order_.push_back({n, properties});
        return n;
    }

    std::string xml() const {
        std::string s;
        for (const auto& [n, p] : order_)
            s += "<style:style style:name=\"" + n + "\" style:family=\"" + family_ + "\">" + p + "</style:style>";
        return s;
    }

private:
    std::string prefix_, family_;
    std::map<std::string, std::string> names_;
    std::vector<std::pair<std::string, std::string>> order_;
};

struct Box {
    double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
    void add(double x, double y) {
        x0 = std::min(x0, x);
        y0 = std::min(y0, y);
        x1 = std::max(x1, x);
        y1 = std::max(y1, y);
    }
};

// Writes the shapes of one document kind.
class ShapeWriter {
public:
    explicit ShapeWriter(bool text) : text_(text) {}

    std::string shapes(const OfficeDocument& doc) {
        std::string s;
        std::vector<bool> groupDone(static_cast<std::size_t>(doc.groupCount) + 1, false);
        for (const OfficeShape& sh : doc.shapes) {
            if (sh.group < 1 || sh.group > doc.groupCount) {
                s += shape(sh, doc, true);
                continue;
            }
            if (groupDone[static_cast<std::size_t>(sh.group)]) continue;
            groupDone[static_cast<std::size_t>(sh.group)] = true;
            s += "<draw:g";
            if (text_) s += " draw:style-name=\"" + graphics_.name(Placement()) + "\"" + Anchor();
            s += ">";
            for (const OfficeShape& m : doc.shapes)
                if (m.group == sh.group) s += shape(m, doc, false);
            s += "</draw:g>";
        }
        return s;
    }

    std::string automaticStyles() const { return graphics_.xml() + paragraphs_.xml() + spans_.xml(); }

    // The markers of the proportions the shapes asked for.
    std::string markerStyles() const {
        std::string s;
        for (const auto& [name, xml] : sizedMarkers_) s += xml;
        return s;
    }

private:
    static std::string Anchor() { return " text:anchor-type=\"page\" text:anchor-page-number=\"1\""; }
    std::string Placement() const {
        return text_ ? "<style:graphic-properties style:wrap=\"run-through\" style:run-through=\"foreground\" "
                       "style:vertical-pos=\"from-top\" style:vertical-rel=\"page\" style:horizontal-pos=\"from-left\" "
                       "style:horizontal-rel=\"page\"/>"
                     : "<style:graphic-properties/>";
    }

    // The marker attributes of one end of a line: a marker as long and as
    // wide as asked, or of its usual proportions and as wide as the line's
    // width makes it.
    std::string marker(const char* end, ArrowStyle style, double length, double width, double lineWidth) {
        const char* base = MarkerName(style);
        if (!base) return {};
        std::string name = base;
        if (length > 0 && width > 0) {
            const double proportion = std::round(20 * length / width * 100) / 100;
            name += "_" + Fixed(proportion * 100, 0);
            if (!sizedMarkers_.count(name)) sizedMarkers_.emplace(name, MarkerXml(name, style, proportion));
        } else {
            width = std::max(6.0, 4 * lineWidth);
        }
        const std::string e(end);
        return " draw:marker-" + e + "=\"" + name + "\" draw:marker-" + e + "-width=\"" + Cm(width) + "\" draw:marker-" +
               e + "-center=\"false\"";
    }

    std::string graphicStyle(const OfficeShape& sh) {
        std::string p = "<style:graphic-properties";
        if (!sh.stroke) {
            p += " draw:stroke=\"none\"";
        } else {
            const char* dash = DashName(sh.dash);
            p += dash ? std::string(" draw:stroke=\"dash\" draw:stroke-dash=\"") + dash + "\"" : " draw:stroke=\"solid\"";
            p += " svg:stroke-color=\"" + Hex(sh.strokeColour) + "\" svg:stroke-width=\"" + Cm(sh.strokeWidth) +
                 "\" draw:stroke-linejoin=\"round\" svg:stroke-linecap=\"round\"";
            p += marker("start", sh.startArrow, sh.startArrowLength, sh.startArrowWidth, sh.strokeWidth);
            p += marker("end", sh.endArrow, sh.endArrowLength, sh.endArrowWidth, sh.strokeWidth);
        }
        p += sh.fill ? " draw:fill=\"solid\" draw:fill-color=\"" + Hex(sh.fillColour) + "\"" : " draw:fill=\"none\"";
        if (sh.kind == OfficeShape::Text)
            // No room around the text (the drawing program reads no
            // shorthand here and keeps its own), and a frame that grows from
            // its upper left corner, so that the text starts where it is put.
            p += " draw:auto-grow-width=\"true\" draw:auto-grow-height=\"true\" fo:padding=\"0cm\""
                 " fo:padding-left=\"0cm\" fo:padding-right=\"0cm\" fo:padding-top=\"0cm\""
                 " fo:padding-bottom=\"0cm\" draw:textarea-horizontal-align=\"left\""
                 " draw:textarea-vertical-align=\"top\" fo:wrap-option=\"no-wrap\""
                 " fo:min-width=\"0cm\" fo:min-height=\"0cm\"";
        if (text_)
            p += " style:wrap=\"run-through\" style:run-through=\"foreground\" style:vertical-pos=\"from-top\""
                 " style:vertical-rel=\"page\" style:horizontal-pos=\"from-left\" style:horizontal-rel=\"page\"";
        p += "/>";
        return graphics_.name(p);
    }

    std::string common(const OfficeShape& sh, const OfficeDocument& doc, bool anchored) {
        std::string s = " draw:style-name=\"" + graphicStyle(sh) + "\"";
        if (!sh.name.empty()) s += " draw:name=\"" + Esc(sh.name) + "\"";
        if (!text_ && sh.layer >= 1 && sh.layer <= static_cast<int>(doc.layers.size()))
            s += " draw:layer=\"" + Esc(doc.layers[static_cast<std::size_t>(sh.layer - 1)]) + "\"";
        if (text_ && anchored) s += Anchor();
        return s;
    }

    std::string shape(const OfficeShape& sh, const OfficeDocument& doc, bool anchored) {
        switch (sh.kind) {
            case OfficeShape::Path: return path(sh, doc, anchored);
            case OfficeShape::Ellipse: return ellipse(sh, doc, anchored);
            case OfficeShape::Text: return textFrame(sh, doc, anchored);
        }
        return {};
    }

    std::string path(const OfficeShape& sh, const OfficeDocument& doc, bool anchored) {
        if (sh.nodes.empty()) return {};
        Box b;
        for (const PathNode& n : sh.nodes) {
            b.add(n.x, n.y);
            if (n.type == PathNode::Curve) {
                b.add(n.c1x, n.c1y);
                b.add(n.c2x, n.c2y);
            }
        }
        // The view box in hundredths of a millimetre from the box's corner.
        constexpr double Unit = 2540.0 / 72;
        auto u = [](double v) { return Fixed(v * Unit, 1); };
        std::string d;
        for (const PathNode& n : sh.nodes) {
            switch (n.type) {
                case PathNode::Move: d += "M"; break;
                case PathNode::Line: d += " L"; break;
                case PathNode::Curve:
                    d += " C" + u(n.c1x - b.x0) + " " + u(n.c1y - b.y0) + " " + u(n.c2x - b.x0) + " " +
                         u(n.c2y - b.y0) + " ";
                    break;
            }
            d += u(n.x - b.x0) + " " + u(n.y - b.y0);
        }
        if (sh.closed) d += " Z";
        const double w = std::max(b.x1 - b.x0, 1 / Unit), h = std::max(b.y1 - b.y0, 1 / Unit);
        return "<draw:path" + common(sh, doc, anchored) + " svg:x=\"" + Cm(b.x0) + "\" svg:y=\"" + Cm(b.y0) +
               "\" svg:width=\"" + Cm(w) + "\" svg:height=\"" + Cm(h) + "\" svg:viewBox=\"0 0 " +
               Fixed(std::round(w * Unit), 0) + " " + Fixed(std::round(h * Unit), 0) + "\" svg:d=\"" + d + "\"/>";
    }

    std::string ellipse(const OfficeShape& sh, const OfficeDocument& doc, bool anchored) {
        std::string s = "<draw:ellipse" + common(sh, doc, anchored);
        const double rx = std::max(sh.rx, 0.0), ry = std::max(sh.ry, 0.0);
        s += " svg:width=\"" + Cm(2 * rx) + "\" svg:height=\"" + Cm(2 * ry) + "\"";
        if (sh.rotation == 0) {
            s += " svg:x=\"" + Cm(sh.cx - rx) + "\" svg:y=\"" + Cm(sh.cy - ry) + "\"";
        } else {
            // The unturned box's corner, turned with the shape about its centre.
            const double a = sh.rotation * std::numbers::pi / 180;
            const double x = sh.cx - rx * std::cos(a) - ry * std::sin(a);
            const double y = sh.cy + rx * std::sin(a) - ry * std::cos(a);
            s += " draw:transform=\"rotate (" + Fixed(a, 8) + ") translate (" + Cm(x) + " " + Cm(y) + ")\"";
        }
        const bool whole = !sh.arc || std::abs(sh.end - sh.start) >= 360;
        if (whole) {
            s += " draw:kind=\"full\"";
        } else {
            auto norm = [](double v) {
                v = std::fmod(v, 360);
                return v < 0 ? v + 360 : v;
            };
            s += " draw:kind=\"arc\" draw:start-angle=\"" + Fixed(norm(sh.start), 4) + "\" draw:end-angle=\"" +
                 Fixed(norm(sh.end), 4) + "\"";
        }
        return s + "/>";
    }

    // A text in "Symbol" goes out as the signs the picture shows: the
    // office programs lay it out in fonts of their own.
    static std::string Shown(const TextRun& r) { return IsSymbolFamily(r.font) ? SymbolSignsText(r.text) : r.text; }

    std::string span(const TextRun& r) {
        std::string p = "<style:text-properties fo:font-family=\"" + Esc(r.font) + "\" fo:font-size=\"" +
                        Pt(r.size) + "\" fo:color=\"" + Hex(r.colour) + "\" fo:font-weight=\"" +
                        (r.bold ? "bold" : "normal") + "\" fo:font-style=\"" + (r.italic ? "italic" : "normal") + "\"";
        if (r.script == TextRun::Sub) p += " style:text-position=\"sub 58%\"";
        if (r.script == TextRun::Super) p += " style:text-position=\"super 58%\"";
        p += "/>";
        return spans_.name(p);
    }

    std::string textFrame(const OfficeShape& sh, const OfficeDocument& doc, bool anchored) {
        // The frame's top lies the line's ascent, as the office program
        // reads it from the font file, above the baseline; a word processor
        // puts the font's line gap above the ascent too.
        double ascent = 0, descent = 0, width = 0;
        for (const TextRun& r : sh.runs) {
            const bool normal = r.script == TextRun::Normal;
            if (normal) {
                const LineShares m = OfficeLineShares(r.font, r.bold, r.italic);
                ascent = std::max(ascent, r.size * (m.ascent + (text_ ? m.gap : 0)));
                descent = std::max(descent, r.size * m.descent);
            }
            width += OfficeTextWidth(r.font, r.bold, r.italic, normal ? r.size : ScriptShare * r.size, Shown(r));
        }
        std::string s = "<draw:frame" + common(sh, doc, anchored) + " svg:x=\"" + Cm(sh.x) + "\" svg:y=\"" +
                        Cm(sh.y - ascent) + "\" svg:width=\"" + Cm(width) + "\" svg:height=\"" +
                        Cm(ascent + descent) + "\"><draw:text-box><text:p";
        s += " text:style-name=\"" +
             paragraphs_.name("<style:paragraph-properties fo:text-align=\"start\" fo:margin-top=\"0cm\" "
                              "fo:margin-bottom=\"0cm\" fo:line-height=\"100%\"/>") +
             "\">";
        for (const TextRun& r : sh.runs)
            s += "<text:span text:style-name=\"" + span(r) + "\">" + Esc(Shown(r)) + "</text:span>";
        return s + "</text:p></draw:text-box></draw:frame>";
    }

    bool text_;
    StyleSet graphics_{"gr", "graphic"};
    StyleSet paragraphs_{"P", "paragraph"};
    StyleSet spans_{"T", "text"};
    std::map<std::string, std::string> sizedMarkers_;
};

std::string Manifest(const char* mime) {
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\" "
                       "manifest:version=\"1.2\">"
                       "<manifest:file-entry manifest:full-path=\"/\" manifest:version=\"1.2\" manifest:media-type=\"") +
           mime +
           "\"/>"
           "<manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/>"
           "<manifest:file-entry manifest:full-path=\"styles.xml\" manifest:media-type=\"text/xml\"/>"
           "</manifest:manifest>";
}

std::string PageLayout(const char* name, double w, double h, double l, double t, double r, double b) {
    return std::string("<style:page-layout style:name=\"") + name +
           "\"><style:page-layout-properties fo:page-width=\"" + Cm(w) + "\" fo:page-height=\"" + Cm(h) +
           "\" fo:margin-left=\"" + Cm(l) + "\" fo:margin-top=\"" + Cm(t) + "\" fo:margin-right=\"" + Cm(r) +
           "\" fo:margin-bottom=\"" + Cm(b) + "\" style:print-orientation=\"" + (w > h ? "landscape" : "portrait") +
           "\"/></style:page-layout>";
}

// The far right and bottom of a shape, roughly (a tilted ellipse counts its
// larger radius both ways).
void GrowExtent(const OfficeShape& s, double& right, double& bottom) {
    switch (s.kind) {
        case OfficeShape::Path:
            for (const PathNode& n : s.nodes) {
                right = std::max(right, n.x);
                bottom = std::max(bottom, n.y);
            }
            break;
        case OfficeShape::Ellipse: {
            const double r = s.rotation == 0 ? s.rx : std::max(s.rx, s.ry);
            const double b = s.rotation == 0 ? s.ry : std::max(s.rx, s.ry);
            right = std::max(right, s.cx + r);
            bottom = std::max(bottom, s.cy + b);
            break;
        }
        case OfficeShape::Text:
            right = std::max(right, s.x + s.width);
            bottom = std::max(bottom, s.y + s.height);
            break;
    }
}

}  // namespace

OdfParts OdfDrawingParts(const OfficeDocument& doc) {
    OdfParts p;
    p.mimetype = OdgMimeType;
    p.manifest = Manifest(OdgMimeType);
    ShapeWriter w(false);
    const std::string body = w.shapes(doc);
    p.content = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document-content") + Namespaces +
                "><office:automatic-styles><style:style style:name=\"dp1\" style:family=\"drawing-page\"/>" +
                w.automaticStyles() +
                "</office:automatic-styles><office:body><office:drawing><draw:page draw:name=\"page1\" "
                "draw:style-name=\"dp1\" draw:master-page-name=\"Default\">" +
                body + "</draw:page></office:drawing></office:body></office:document-content>";
    std::string layers =
        "<draw:layer draw:name=\"layout\"/><draw:layer draw:name=\"background\"/>"
        "<draw:layer draw:name=\"backgroundobjects\"/><draw:layer draw:name=\"controls\"/>"
        "<draw:layer draw:name=\"measurelines\"/>";
    for (const std::string& l : doc.layers) layers += "<draw:layer draw:name=\"" + Esc(l) + "\"/>";
    p.styles = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document-styles") + Namespaces +
               "><office:styles>" + LineStyles(w.markerStyles()) +
               "<style:default-style style:family=\"graphic\"><style:graphic-properties svg:stroke-color=\"#000000\" "
               "draw:fill-color=\"#ffffff\"/></style:default-style></office:styles><office:automatic-styles>" +
               PageLayout("PM1", doc.pageWidth, doc.pageHeight, 0, 0, 0, 0) +
               "<style:style style:name=\"Mdp1\" style:family=\"drawing-page\"><style:drawing-page-properties "
               "draw:fill=\"none\"/></style:style></office:automatic-styles><office:master-styles><draw:layer-set>" +
               layers +
               "</draw:layer-set><style:master-page style:name=\"Default\" style:page-layout-name=\"PM1\" "
               "draw:style-name=\"Mdp1\"/></office:master-styles></office:document-styles>";
    return p;
}

OdfParts OdfTextParts(const OfficeDocument& doc) {
    OdfParts p;
    p.mimetype = OdtMimeType;
    p.manifest = Manifest(OdtMimeType);
    // The page grows to hold every shape within its margins.
    double right = 0, bottom = 0;
    for (const OfficeShape& s : doc.shapes) GrowExtent(s, right, bottom);
    const double pageW = std::max(doc.pageWidth, std::ceil(right + doc.marginRight));
    const double pageH = std::max(doc.pageHeight, std::ceil(bottom + doc.marginBottom));
    ShapeWriter w(true);
    const std::string body = w.shapes(doc);
    p.content = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document-content") + Namespaces +
                "><office:automatic-styles>" + w.automaticStyles() +
                "</office:automatic-styles><office:body><office:text>" + body +
                "<text:p text:style-name=\"Standard\"/></office:text></office:body></office:document-content>";
    p.styles = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document-styles") + Namespaces +
               "><office:styles>" + LineStyles(w.markerStyles()) +
               "<style:style style:name=\"Standard\" style:family=\"paragraph\" style:class=\"text\"/>"
               "</office:styles><office:automatic-styles>" +
               PageLayout("pm1", pageW, pageH, doc.marginLeft, doc.marginTop, doc.marginRight, doc.marginBottom) +
               "</office:automatic-styles><office:master-styles><style:master-page style:name=\"Standard\" "
               "style:page-layout-name=\"pm1\"/></office:master-styles></office:document-styles>";
    return p;
}

std::string WriteOdfPackage(const OdfParts& parts, const std::string& path) {
    // The package is made in memory and then saved whole.
    zip_error_t ze;
    zip_error_init(&ze);
    zip_source_t* mem = zip_source_buffer_create(nullptr, 0, 0, &ze);
    zip_t* z = mem ? zip_open_from_source(mem, ZIP_TRUNCATE, &ze) : nullptr;
    if (!z) {
        std::string reason = std::string("cannot make the package: ") + zip_error_strerror(&ze);
        if (mem) zip_source_free(mem);
        zip_error_fini(&ze);
        return reason;
    }
    zip_error_fini(&ze);
    zip_source_keep(mem);
    const std::pair<const char*, const std::string*> entries[] = {{"mimetype", &parts.mimetype},
                                                                   {"META-INF/manifest.xml", &parts.manifest},
                                                                   {"content.xml", &parts.content},
                                                                   {"styles.xml", &parts.styles}};
    std::string error;
    for (const auto& [name, data] : entries) {
        zip_source_t* src = zip_source_buffer(z, data->data(), data->size(), 0);
        const zip_int64_t index = src ? zip_file_add(z, name, src, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0) {
            if (src) zip_source_free(src);
            error = std::string("cannot add ") + name + ": " + zip_strerror(z);
            break;
        }
        // The package's type is read from its first bytes: stored, not packed.
        const bool stored = std::string_view(name) == "mimetype";
        if (zip_set_file_compression(z, static_cast<zip_uint64_t>(index), stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE,
                                     0) != 0) {
            error = std::string("cannot set the compression of ") + name;
            break;
        }
    }
    if (error.empty() && zip_close(z) != 0) error = std::string("cannot make the package: ") + zip_strerror(z);
    if (!error.empty()) {
        zip_discard(z);
        zip_source_free(mem);
        return error;
    }

    std::string bytes;
    zip_stat_t st;
    if (zip_source_stat(mem, &st) == 0 && (st.valid & ZIP_STAT_SIZE) && zip_source_open(mem) == 0) {
        bytes.resize(st.size);
        const zip_int64_t n = zip_source_read(mem, bytes.data(), st.size);
        zip_source_close(mem);
        if (n < 0 || static_cast<zip_uint64_t>(n) != st.size) bytes.clear();
    }
    zip_source_free(mem);
    if (bytes.empty()) return "cannot read the package back";
    return SafeWriteFile(path, bytes);
}

}  // namespace pelmar
