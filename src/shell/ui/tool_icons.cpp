#include "shell/ui/tool_icons.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cstring>
#include <string>

namespace pelmar {

namespace {

constexpr int S = 23;

using Draw = void (*)(QPainter&);

void Page(QPainter& p) {
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({{5, 2}, {14, 2}, {18, 6}, {18, 21}, {5, 21}}));
    p.drawPolyline(QPolygonF({{14, 2}, {14, 6}, {18, 6}}));
}
void Folder(QPainter& p) {
    p.setBrush(QColor(240, 200, 90));
    p.drawPolygon(QPolygonF({{2, 6}, {8, 6}, {10, 8}, {20, 8}, {20, 19}, {2, 19}}));
}
void Disk(QPainter& p) {
    p.setBrush(QColor(70, 110, 190));
    p.drawRect(3, 3, 17, 17);
    p.setBrush(Qt::white);
    p.drawRect(7, 3, 9, 6);
    p.drawRect(6, 13, 11, 7);
}
void DiskAs(QPainter& p) {
    Disk(p);
    p.setPen(QPen(Qt::darkRed, 2));
    p.drawLine(14, 16, 21, 9);
}
void Cross(QPainter& p) {
    p.setPen(QPen(QColor(180, 40, 40), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(6, 6, 17, 17);
    p.drawLine(17, 6, 6, 17);
}
void Picture(QPainter& p) {
    p.setBrush(QColor(200, 230, 255));
    p.drawRect(2, 4, 19, 15);
    p.setBrush(QColor(60, 150, 60));
    p.drawPolygon(QPolygonF({{3, 18}, {9, 10}, {14, 16}, {17, 13}, {20, 18}}));
}
void Printer(QPainter& p) {
    p.setBrush(Qt::white);
    p.drawRect(6, 3, 11, 7);
    p.setBrush(QColor(150, 150, 150));
    p.drawRect(2, 10, 19, 7);
    p.setBrush(Qt::white);
    p.drawRect(6, 15, 11, 5);
}
void Door(QPainter& p) {
    p.setBrush(QColor(170, 120, 70));
    p.drawRect(6, 2, 11, 19);
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(14, 12), 1, 1);
}
void PointG(QPainter& p) {
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(11.5, 11.5), 3, 3);
}
void SegmentG(QPainter& p) {
    p.drawLine(4, 18, 19, 5);
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(4, 18), 2, 2);
    p.drawEllipse(QPointF(19, 5), 2, 2);
}
void EllipseG(QPainter& p) { p.drawEllipse(QRectF(2, 5, 19, 13)); }
void TriangleG(QPainter& p) { p.drawPolygon(QPolygonF({{3, 19}, {20, 19}, {9, 4}})); }
void TetragonG(QPainter& p) { p.drawPolygon(QPolygonF({{3, 18}, {17, 19}, {20, 6}, {7, 4}})); }
void AxesG(QPainter& p) {
    p.drawLine(2, 15, 21, 15);
    p.drawLine(8, 21, 8, 2);
    p.drawPolyline(QPolygonF({{18, 12}, {21, 15}, {18, 18}}));
    p.drawPolyline(QPolygonF({{5, 5}, {8, 2}, {11, 5}}));
}
void Axes3G(QPainter& p) {
    p.drawLine(10, 13, 21, 13);
    p.drawLine(10, 13, 10, 2);
    p.drawLine(10, 13, 3, 20);
}
void SphereG(QPainter& p) {
    p.drawEllipse(QRectF(2, 2, 19, 19));
    p.setPen(QPen(Qt::black, 1, Qt::DashLine));
    p.drawEllipse(QRectF(2, 9, 19, 5));
}
void CylinderG(QPainter& p) {
    p.drawEllipse(QRectF(4, 2, 15, 5));
    p.drawArc(QRectF(4, 16, 15, 5), 180 * 16, 180 * 16);
    p.drawLine(4, 4, 4, 18);
    p.drawLine(19, 4, 19, 18);
}
void ConeG(QPainter& p) {
    p.drawArc(QRectF(3, 16, 17, 5), 180 * 16, 180 * 16);
    p.drawLine(3, 18, 11, 2);
    p.drawLine(20, 18, 11, 2);
}
void Pyramid3G(QPainter& p) {
    p.drawPolyline(QPolygonF({{2, 18}, {11, 2}, {21, 16}, {13, 21}, {2, 18}}));
    p.drawLine(11, 2, 13, 21);
}
void Pyramid4G(QPainter& p) {
    p.drawPolyline(QPolygonF({{2, 17}, {11, 2}, {21, 17}, {15, 21}, {2, 17}}));
    p.drawLine(11, 2, 15, 21);
    p.setPen(QPen(Qt::black, 1, Qt::DashLine));
    p.drawPolyline(QPolygonF({{2, 17}, {8, 13}, {21, 17}}));
}
void Prism3G(QPainter& p) {
    p.drawPolygon(QPolygonF({{2, 6}, {12, 8}, {20, 3}}));
    p.drawPolyline(QPolygonF({{2, 6}, {2, 19}, {12, 21}, {20, 16}, {20, 3}}));
    p.drawLine(12, 8, 12, 21);
}
void Prism4G(QPainter& p) {
    p.drawPolygon(QPolygonF({{2, 6}, {12, 8}, {21, 5}, {11, 3}}));
    p.drawPolyline(QPolygonF({{2, 6}, {2, 19}, {12, 21}, {21, 18}, {21, 5}}));
    p.drawLine(12, 8, 12, 21);
}
void UndoG(QPainter& p) {
    p.setPen(QPen(QColor(40, 80, 160), 2));
    p.drawArc(QRectF(5, 6, 13, 12), 90 * 16, -200 * 16);
    p.drawPolyline(QPolygonF({{5, 3}, {11, 6}, {6, 11}}));
}
void RedoG(QPainter& p) {
    p.translate(S, 0);
    p.scale(-1, 1);
    UndoG(p);
}
void Trash(QPainter& p) {
    p.setBrush(QColor(220, 220, 220));
    p.drawRect(6, 6, 11, 15);
    p.drawLine(4, 5, 19, 5);
    p.drawLine(9, 9, 9, 18);
    p.drawLine(14, 9, 14, 18);
}
void Sheets(QPainter& p) {
    p.setBrush(Qt::white);
    p.drawRect(3, 3, 11, 13);
    p.drawRect(9, 8, 11, 13);
}
void Clipboard(QPainter& p) {
    p.setBrush(QColor(200, 160, 110));
    p.drawRect(4, 4, 15, 17);
    p.setBrush(Qt::white);
    p.drawRect(8, 2, 7, 4);
    p.drawRect(7, 9, 9, 9);
}
void Gear(QPainter& p) {
    p.setPen(QPen(QColor(90, 90, 90), 3));
    for (int i = 0; i < 4; ++i) {
        p.drawLine(QLineF(11.5, 11.5, 11.5 + 9, 11.5).translated(0, 0));
        p.translate(11.5, 11.5);
        p.rotate(45);
        p.translate(-11.5, -11.5);
    }
    p.resetTransform();
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(170, 170, 170));
    p.drawEllipse(QPointF(11.5, 11.5), 6, 6);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(11.5, 11.5), 2, 2);
}
void Sheet(QPainter& p) {
    Picture(p);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(90, 90, 90));
    p.drawEllipse(QPointF(18, 18), 4, 4);
}
void Window(QPainter& p) {
    p.setBrush(Qt::white);
    p.drawRect(3, 4, 17, 15);
    p.setBrush(QColor(60, 90, 170));
    p.drawRect(3, 4, 17, 4);
}
void Transform(QPainter& p) {
    p.drawPolygon(QPolygonF({{2, 19}, {10, 19}, {5, 11}}));
    p.setPen(QPen(QColor(40, 80, 160), 1));
    p.drawPolygon(QPolygonF({{12, 12}, {21, 8}, {13, 3}}));
}
void Windows(QPainter& p) {
    p.setBrush(Qt::white);
    p.drawRect(2, 3, 8, 17);
    p.drawRect(12, 3, 9, 17);
}
// A round badge with a white bold letter.
void Badge(QPainter& p, const QColor& colour, const QString& letter) {
    p.setBrush(colour);
    p.drawEllipse(QRectF(2, 2, 19, 19));
    p.setPen(Qt::white);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(14);
    p.setFont(f);
    p.drawText(QRect(0, 0, S, S), Qt::AlignCenter, letter);
}
void Help(QPainter& p) { Badge(p, QColor(60, 110, 200), QStringLiteral("?")); }
void About(QPainter& p) { Badge(p, QColor(60, 150, 90), QStringLiteral("i")); }
void Play(QPainter& p) {
    p.setBrush(QColor(40, 150, 40));
    p.drawPolygon(QPolygonF({{6, 3}, {19, 11.5}, {6, 20}}));
}
void Stop(QPainter& p) {
    p.setBrush(QColor(200, 40, 40));
    p.drawRect(5, 5, 13, 13);
}
void Film(QPainter& p) {
    p.setBrush(QColor(60, 60, 60));
    p.drawRect(3, 3, 17, 17);
    p.setBrush(Qt::white);
    for (int y = 5; y < 19; y += 4) {
        p.drawRect(4, y, 2, 2);
        p.drawRect(17, y, 2, 2);
    }
    p.drawRect(8, 7, 7, 9);
}

struct Glyph {
    const char* name;
    Draw draw;
};

constexpr Glyph Glyphs[] = {
    {"TBNew", Page},        {"TBOpen", Folder},     {"TBSave", Disk},       {"TBSaveAs", DiskAs},
    {"TBClose", Cross},     {"TBExport", Picture},  {"TBPrint", Printer},   {"TBExit", Door},
    {"TBNewPo", PointG},    {"TBNewLi", SegmentG},  {"TBNewCi", EllipseG},  {"TBNewTr", TriangleG},
    {"TBNewKv", TetragonG}, {"TBNewXY", AxesG},     {"TBNewSf", SphereG},   {"TBNewZi", CylinderG},
    {"TBNewKo", ConeG},     {"TBNewI3", Pyramid3G}, {"TBNewI4", Pyramid4G}, {"TBNewR3", Prism3G},
    {"TBNewR4", Prism4G},   {"TBNewXZ", Axes3G},    {"TBToLi", SegmentG},   {"TBToCi", EllipseG},
    {"TBToTr", TriangleG},  {"TBToKv", TetragonG},  {"TBToXY", AxesG},      {"TBToSf", SphereG},
    {"TBToZi", CylinderG},  {"TBToKo", ConeG},      {"TBToPi3", Pyramid3G}, {"TBToPi4", Pyramid4G},
    {"TBToPr3", Prism3G},   {"TBToPr4", Prism4G},   {"TBToXZ", Axes3G},     {"TBDelete", Trash},
    {"TBUndo", UndoG},      {"TBRedo", RedoG},      {"TBCopy", Sheets},     {"TBPaste", Clipboard},
    {"TBOptProg", Gear},    {"TBOptProj", Sheet},   {"TBWinObj", Window},   {"TBWinImg", Picture},
    {"TBWinTrans", Transform}, {"TBWinDef", Windows}, {"TBHelp", Help},     {"TBAbout", About},
    {"TBPlay", Play},       {"TBStop", Stop},       {"TBAnim", Film},
};

// The look of a disabled button: the glyph in grey at a third of its
// strength.  The style's own disabled look keeps a black outline dark, so a
// disabled Back-to or New button would look as if it could be pressed.
QPixmap FaintPixmap(const QPixmap& pm) {
    QImage img = pm.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const int g = 96 + qGray(line[x]) * 5 / 8;
            line[x] = qRgba(g, g, g, qAlpha(line[x]) * 2 / 5);
        }
    }
    return QPixmap::fromImage(img);
}

}  // namespace

QIcon ToolIcon(const char* name) {
    QPixmap pm(S, S);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.2));
    p.setBrush(Qt::NoBrush);
    for (const Glyph& g : Glyphs) {
        if (std::strcmp(g.name, name) != 0) continue;
        g.draw(p);
        // The Back-to buttons carry a small return arrow over the parent's glyph.
        if (std::strncmp(name, "TBTo", 4) == 0) {
            p.resetTransform();
            p.setPen(QPen(QColor(40, 110, 40), 2));
            p.drawLine(QLineF(21, 3, 13, 3));
            p.drawPolyline(QPolygonF({{16, 0}, {13, 3}, {16, 6}}));
        }
        break;
    }
    p.end();
    QIcon icon(pm);
    icon.addPixmap(FaintPixmap(pm), QIcon::Disabled);
    return icon;
}

}  // namespace pelmar
