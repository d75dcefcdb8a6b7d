#include "shell/about_pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <numbers>
#include <utility>
#include <vector>

#include "drawing/word_lines.h"

namespace pelmar {

namespace {

struct V3 {
    double x = 0, y = 0, z = 0;
};
V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V3 operator*(V3 a, double k) { return {a.x * k, a.y * k, a.z * k}; }
double Dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 Cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

// A convex solid: vertices and faces (vertex indexes round each face).
struct Solid {
    std::vector<V3> v;
    std::vector<std::vector<int>> faces;
    std::vector<const char*> names;  // vertex labels, may be empty
};

// How a solid is looked at: turned by `yaw` about the vertical axis, then
// tipped towards the viewer by `pitch`; y points up, the viewer looks along -z.
struct View {
    double yaw = 0, pitch = 0;
    QPointF centre;
    double scale = 1;
};

V3 Turn(V3 p, const View& view) {
    const double cy = std::cos(view.yaw), sy = std::sin(view.yaw);
    const V3 a{cy * p.x + sy * p.z, p.y, -sy * p.x + cy * p.z};
    const double cp = std::cos(view.pitch), sp = std::sin(view.pitch);
    return {a.x, cp * a.y - sp * a.z, sp * a.y + cp * a.z};
}

QPointF Screen(V3 p, const View& view) { return view.centre + QPointF(p.x, -p.y) * view.scale; }

V3 Centroid(const std::vector<V3>& pts) {
    V3 c;
    for (const V3& p : pts) c = c + p;
    return pts.empty() ? c : c * (1.0 / static_cast<double>(pts.size()));
}

struct DrawStyle {
    QColor edge;
    QColor fill;          // front faces, shaded; transparent for none
    double width = 1.5;
    QColor label = Qt::black;
    int labelPx = 0;      // 0: no labels
};

// Draws the solid: front faces filled and shaded, visible edges solid,
// hidden edges dashed, vertex labels outside the outline.
void DrawSolid(QPainter& p, const Solid& s, const View& view, const DrawStyle& style) {
    std::vector<V3> t;
    for (const V3& v : s.v) t.push_back(Turn(v, view));
    const V3 mid = Centroid(t);

    std::vector<bool> front(s.faces.size());
    std::vector<double> light(s.faces.size());
    for (std::size_t f = 0; f < s.faces.size(); ++f) {
        const auto& face = s.faces[f];
        std::vector<V3> pts;
        for (int i : face) pts.push_back(t[static_cast<std::size_t>(i)]);
        V3 n = Cross(pts[1] - pts[0], pts[2] - pts[0]);
        if (Dot(n, Centroid(pts) - mid) < 0) n = n * -1.0;
        const double len = std::sqrt(Dot(n, n));
        front[f] = n.z > 1e-9;
        light[f] = len > 0 ? std::max(0.0, Dot(n, V3{-0.4, 0.6, 0.7}) / len / std::sqrt(1.01)) : 0;
    }

    if (style.fill.alpha() > 0) {
        p.setPen(Qt::NoPen);
        for (std::size_t f = 0; f < s.faces.size(); ++f) {
            if (!front[f]) continue;
            QPolygonF poly;
            for (int i : s.faces[f]) poly << Screen(t[static_cast<std::size_t>(i)], view);
            p.setBrush(style.fill.lighter(static_cast<int>(85 + 40 * light[f])));
            p.drawPolygon(poly);
        }
    }

    // Each edge with whether a front face holds it.
    std::map<std::pair<int, int>, bool> edges;
    for (std::size_t f = 0; f < s.faces.size(); ++f) {
        const auto& face = s.faces[f];
        for (std::size_t k = 0; k < face.size(); ++k) {
            int a = face[k], b = face[(k + 1) % face.size()];
            if (a > b) std::swap(a, b);
            edges[{a, b}] = edges[{a, b}] || front[f];
        }
    }
    QPen solid(style.edge, style.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    QPen dashed(style.edge, std::max(1.0, style.width * 0.7), Qt::CustomDashLine, Qt::FlatCap);
    dashed.setDashPattern({4, 3});
    for (bool visible : {false, true})
        for (const auto& [e, vis] : edges) {
            if (vis != visible) continue;
            p.setPen(visible ? solid : dashed);
            p.drawLine(Screen(t[static_cast<std::size_t>(e.first)], view),
                       Screen(t[static_cast<std::size_t>(e.second)], view));
        }

    if (style.labelPx > 0 && !s.names.empty()) {
        QFont f("DejaVu Serif");
        f.setPixelSize(style.labelPx);
        f.setItalic(true);
        p.setFont(f);
        p.setPen(style.label);
        const QPointF c = Screen(mid, view);
        for (std::size_t i = 0; i < s.v.size() && i < s.names.size(); ++i) {
            const QPointF at = Screen(t[i], view);
            QPointF d = at - c;
            const double len = std::hypot(d.x(), d.y());
            d = len > 0 ? d / len : QPointF(0, -1);
            const QPointF pos = at + d * (style.labelPx * 0.9);
            const QRectF box(pos.x() - style.labelPx, pos.y() - style.labelPx, 2.0 * style.labelPx,
                             2.0 * style.labelPx);
            p.drawText(box, Qt::AlignCenter, QString::fromUtf8(s.names[i]));
        }
    }
}

Solid SquarePyramid() {
    return {{{-1, 0, -1}, {1, 0, -1}, {1, 0, 1}, {-1, 0, 1}, {0, 1.7, 0}},
            {{0, 1, 2, 3}, {0, 1, 4}, {1, 2, 4}, {2, 3, 4}, {3, 0, 4}},
            {"D", "C", "B", "A", "S"}};
}

Solid Tetrahedron() {
    return {{{-1, 0, -0.6}, {1, 0, -0.6}, {0, 0, 1.1}, {0, 1.5, 0}}, {{0, 1, 2}, {0, 1, 3}, {1, 2, 3}, {2, 0, 3}}, {}};
}

Solid Cube() {
    return {{{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1}, {-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}},
            {{0, 1, 2, 3}, {4, 5, 6, 7}, {0, 1, 5, 4}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}},
            {}};
}

QImage Canvas(int w, int h, const QColor& background) {
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(background);
    return img;
}

constexpr double Deg = std::numbers::pi / 180.0;
const QColor Ink(0x1F, 0x3A, 0x93);
const QColor Accent(0xC6, 0x28, 0x28);

}  // namespace

QImage AboutLogo(const QColor& background) {
    QImage img = Canvas(64, 64, background);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 64);
    g.setColorAt(0, QColor(0x3F, 0x6F, 0xD8));
    g.setColorAt(1, QColor(0x16, 0x2C, 0x74));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
    const View view{28 * Deg, 18 * Deg, QPointF(32, 44), 19};
    DrawSolid(p, Tetrahedron(), view, {QColor(Qt::white), QColor(255, 255, 255, 60), 2.2, Qt::white, 0});
    // The apex as a point mark.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFF, 0x6B, 0x4A));
    p.drawEllipse(Screen(Turn({0, 1.5, 0}, view), view), 3.5, 3.5);
    return img;
}

QImage AboutCaption(const QColor& background, bool russian) {
    QImage img = Canvas(200, 60, background);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QFont f("DejaVu Serif");
    f.setPixelSize(36);
    f.setBold(true);
    f.setItalic(true);
    p.setFont(f);
    const QString name = russian ? QString::fromUtf8(BuiltInWord(WordNo::ProgramName)) : QString("Pelmar");
    const QRectF box(0, 0, 200, 48);
    p.setPen(QColor(0, 0, 0, 50));
    p.drawText(box.translated(2, 2), Qt::AlignCenter, name);
    p.setPen(Ink);
    p.drawText(box, Qt::AlignCenter, name);
    // A compass arc under the name, with its two ends marked.
    QPen arc(Accent, 2, Qt::SolidLine, Qt::RoundCap);
    p.setPen(arc);
    p.setBrush(Qt::NoBrush);
    const QRectF circle(30, -130, 140, 186);
    p.drawArc(circle, -60 * 16, -60 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(Accent);
    for (double a : {-60.0, -120.0}) {
        const QPointF c = circle.center();
        const QPointF end(c.x() + circle.width() / 2 * std::cos(a * Deg), c.y() - circle.height() / 2 * std::sin(a * Deg));
        p.drawEllipse(end, 2.5, 2.5);
    }
    return img;
}

QImage AboutPicture(const QColor& background) {
    QImage img = Canvas(170, 210, background);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    // A sheet of squared paper.
    p.setPen(QPen(QColor(0x9E, 0x9E, 0x9E), 1));
    p.setBrush(QColor(0xFF, 0xFE, 0xF6));
    p.drawRect(QRectF(4.5, 4.5, 161, 201));
    p.setPen(QPen(QColor(0xBB, 0xD4, 0xEE), 0.6));
    for (double x = 12.5; x < 165; x += 8) p.drawLine(QPointF(x, 5), QPointF(x, 205));
    for (double y = 12.5; y < 205; y += 8) p.drawLine(QPointF(5, y), QPointF(165, y));

    const View view{-22 * Deg, 20 * Deg, QPointF(85, 142), 46};
    const Solid pyramid = SquarePyramid();
    DrawSolid(p, pyramid, view, {Ink, QColor(0x90, 0xB8, 0xF0, 110), 1.8, Qt::black, 14});
    // The height and the base diagonals lie inside: dashed, with the foot O.
    QPen dashed(Accent, 1.2, Qt::CustomDashLine, Qt::FlatCap);
    dashed.setDashPattern({4, 3});
    p.setPen(dashed);
    const auto at = [&](V3 v) { return Screen(Turn(v, view), view); };
    p.drawLine(at({0, 1.7, 0}), at({0, 0, 0}));
    p.setPen(QPen(Ink, 1, Qt::CustomDashLine));
    QPen diag(Ink, 1, Qt::CustomDashLine, Qt::FlatCap);
    diag.setDashPattern({4, 3});
    p.setPen(diag);
    p.drawLine(at(pyramid.v[0]), at(pyramid.v[2]));
    p.drawLine(at(pyramid.v[1]), at(pyramid.v[3]));
    p.setPen(Qt::NoPen);
    p.setBrush(Accent);
    p.drawEllipse(at({0, 0, 0}), 2.2, 2.2);
    QFont f("DejaVu Serif");
    f.setPixelSize(13);
    f.setItalic(true);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(at({0, 0, 0}) + QPointF(4, 12), "O");
    // The volume, as written on the blackboard.
    f.setPixelSize(15);
    p.setFont(f);
    p.setPen(Ink);
    p.drawText(QRectF(5, 170, 160, 30), Qt::AlignCenter, QString::fromUtf8("V = \u2153 S\u00B7h"));
    return img;
}

QImage AboutFrame(const QColor& background, int n) {
    QImage img = Canvas(48, 48, background);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double yaw = 360.0 * ((n % AboutFrameCount + AboutFrameCount) % AboutFrameCount) / AboutFrameCount;
    const View view{yaw * Deg, 24 * Deg, QPointF(24, 24), 12};
    DrawSolid(p, Cube(), view, {Ink, QColor(0x7F, 0xB2, 0xF5, 150), 1.6, Qt::black, 0});
    return img;
}

bool RussianCaption(const std::string& langFile) { return langFile.find("Rus") != std::string::npos; }

std::string MemoryText(std::uint64_t bytes) {
    const double mb = static_cast<double>(bytes) / 1024.0 / 1024.0;
    return std::to_string(static_cast<std::uint64_t>(std::nearbyint(mb))) + " Mb";
}

}  // namespace pelmar
