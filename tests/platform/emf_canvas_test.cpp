#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <sys/stat.h>

#include <upmf.h>
#include <uemf_safe.h>

#include "platform/emf_canvas.h"
#include "platform/qt_canvas.h"

using namespace pelmar;
namespace fs = std::filesystem;

namespace {

template <class T>
T Get(const char* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

struct EmfRecord {
    uint32_t type;
    uint32_t size;
    const char* data;  // the whole record
};

struct PlusRecord {
    uint16_t type;  // without the record flag
    uint16_t flags;
    const char* data;  // the whole record (common header first)
    std::size_t emfIndex;  // index of the comment that holds it
};

// A metafile read back from disk, split into its records.
struct Emf {
    QByteArray bytes;
    std::vector<EmfRecord> records;
    std::vector<PlusRecord> plus;
    bool wellFormed = false;

    explicit Emf(const QString& path) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) return;
        bytes = f.readAll();
        const char* p = bytes.constData();
        std::size_t off = 0;
        const std::size_t n = static_cast<std::size_t>(bytes.size());
        while (off + 8 <= n) {
            const auto type = Get<uint32_t>(p + off);
            const auto size = Get<uint32_t>(p + off + 4);
            if (size < 8 || size % 4 != 0 || off + size > n) return;
            records.push_back({type, size, p + off});
            if (type == U_EMR_COMMENT && size >= 16 && std::memcmp(p + off + 12, "EMF+", 4) == 0) {
                const auto cb = Get<uint32_t>(p + off + 8);
                std::size_t q = off + 16;
                const std::size_t end = off + 12 + cb;
                while (q + 12 <= end) {
                    const auto ptype = Get<uint16_t>(p + q);
                    const auto pflags = Get<uint16_t>(p + q + 2);
                    const auto psize = Get<uint32_t>(p + q + 4);
                    if (psize < 12 || q + psize > end || !(ptype & U_PMR_RECFLAG)) return;
                    plus.push_back({static_cast<uint16_t>(ptype & ~U_PMR_RECFLAG), pflags, p + q, records.size() - 1});
                    q += psize;
                }
            }
            off += size;
        }
        wellFormed = off == n;
    }

    std::size_t count(uint32_t type) const {
        return static_cast<std::size_t>(
            std::count_if(records.begin(), records.end(), [&](const EmfRecord& r) { return r.type == type; }));
    }
    std::size_t countPlus(uint16_t type) const {
        return static_cast<std::size_t>(
            std::count_if(plus.begin(), plus.end(), [&](const PlusRecord& r) { return r.type == type; }));
    }
    const EmfRecord* first(uint32_t type) const {
        for (const auto& r : records)
            if (r.type == type) return &r;
        return nullptr;
    }
    const PlusRecord* firstPlus(uint16_t type) const {
        for (const auto& r : plus)
            if (r.type == type) return &r;
        return nullptr;
    }
    std::size_t indexOf(uint32_t type) const {
        for (std::size_t i = 0; i < records.size(); ++i)
            if (records[i].type == type) return i;
        return records.size();
    }
};

class EmfCanvasTest : public testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const char* name = "picture.emf") const { return dir.filePath(name); }

    // Records what `draw` does into a fresh 300 x 200 picture at 150 dpi.
    Emf record(const std::function<void(Canvas&)>& draw, const char* name = "picture.emf") {
        EmfCanvas c(path(name).toStdString(), 300, 200, 150);
        draw(c);
        EXPECT_TRUE(c.finish()) << c.error();
        return Emf(path(name));
    }
};

Pen P(double w, std::vector<double> dashes = {}) {
    Pen p;
    p.width = w;
    p.color = MakeRgb(10, 20, 30);
    p.dashes = std::move(dashes);
    return p;
}

void DrawEverything(Canvas& c) {
    const PointF poly[] = {{10, 10}, {50, 10}, {50, 40}};
    c.drawLine(P(2), {1, 1}, {100, 100});
    c.drawPolyline(P(3, {2, 1}), poly);
    c.drawPolygon(P(1), poly);
    c.fillPolygon(MakeRgb(255, 0, 0), poly);
    c.drawEllipse(P(2), {100, 50, 80, 40});
    c.fillEllipse(MakeRgb(0, 255, 0), {10, 100, 20, 20});
    c.drawArc(P(2), {100, 50, 80, 40}, 350, 20);
    c.fillPie(MakeRgb(0, 0, 255), {150, 100, 60, 60}, 30, 120);
    c.fillRect(MakeRgb(9, 9, 9), {200, 10, 30, 30});
    c.setClipRect({0, 0, 150, 150});
    c.drawText({"DejaVu Sans", 16, true, false}, MakeRgb(0, 0, 0), "AB", {50, 150}, {TextAlign::Center, TextAlign::Center});
    c.resetClip();
    c.setRotation(30, {150, 100});
    c.drawEllipse(P(2), {100, 80, 100, 40});
    c.resetTransform();
}

TEST_F(EmfCanvasTest, HeaderFirstEofLastAndSizesAgree) {
    const Emf emf = record(DrawEverything);
    ASSERT_TRUE(emf.wellFormed);
    ASSERT_GE(emf.records.size(), 3u);
    const EmfRecord& head = emf.records.front();
    ASSERT_EQ(head.type, U_EMR_HEADER);
    const auto* h = reinterpret_cast<const U_EMRHEADER*>(head.data);
    EXPECT_EQ(h->dSignature, U_ENHMETA_SIGNATURE);
    EXPECT_EQ(h->rclBounds.left, 0);
    EXPECT_EQ(h->rclBounds.top, 0);
    EXPECT_EQ(h->rclBounds.right, 299);
    EXPECT_EQ(h->rclBounds.bottom, 199);
    // 300 px at 150 dpi = 2 inches = 5080 hundredths of a millimetre.
    EXPECT_EQ(h->rclFrame.left, 0);
    EXPECT_EQ(h->rclFrame.right, 5080);
    EXPECT_EQ(h->rclFrame.bottom, 3387);
    // The reference device has the picture's resolution.
    EXPECT_NEAR(h->szlDevice.cx / (h->szlMillimeters.cx / 25.4), 150, 0.1);
    EXPECT_EQ(h->nBytes, static_cast<uint32_t>(emf.bytes.size()));
    EXPECT_EQ(h->nRecords, emf.records.size());
    EXPECT_GE(h->nHandles, 2);
    EXPECT_EQ(emf.records.back().type, U_EMR_EOF);
    for (const auto& r : emf.records) EXPECT_TRUE(U_emf_record_safe(r.data)) << "record type " << r.type;

    // EMF+: the dual header first, end of file last.
    ASSERT_FALSE(emf.plus.empty());
    EXPECT_EQ(emf.plus.front().type, U_PMR_HEADER);
    EXPECT_EQ(emf.plus.front().emfIndex, 1u);
    EXPECT_TRUE(emf.plus.front().flags & U_PPF_DM);
    EXPECT_EQ(emf.plus.back().type, U_PMR_ENDOFFILE);
    EXPECT_EQ(emf.plus.back().emfIndex, emf.records.size() - 2);
}

TEST_F(EmfCanvasTest, EveryCallLeavesEmfPlusAndPlainRecords) {
    struct Case {
        const char* name;
        std::function<void(Canvas&)> draw;
        uint16_t plus;
        uint32_t plain;
    };
    const PointF tri[] = {{10, 10}, {50, 10}, {30, 40}};
    const std::vector<Case> cases = {
        {"line", [](Canvas& c) { c.drawLine(P(2), {0, 0}, {10, 10}); }, U_PMR_DRAWLINES, U_EMR_POLYLINE},
        {"polyline", [&](Canvas& c) { c.drawPolyline(P(2), tri); }, U_PMR_DRAWLINES, U_EMR_POLYLINE},
        {"polygon", [&](Canvas& c) { c.drawPolygon(P(2), tri); }, U_PMR_DRAWLINES, U_EMR_POLYGON},
        {"fillPolygon", [&](Canvas& c) { c.fillPolygon(0, tri); }, U_PMR_FILLPOLYGON, U_EMR_POLYGON},
        {"ellipse", [](Canvas& c) { c.drawEllipse(P(2), {0, 0, 40, 20}); }, U_PMR_DRAWELLIPSE, U_EMR_ELLIPSE},
        {"fillEllipse", [](Canvas& c) { c.fillEllipse(0, {0, 0, 40, 20}); }, U_PMR_FILLELLIPSE, U_EMR_ELLIPSE},
        {"arc", [](Canvas& c) { c.drawArc(P(2), {0, 0, 40, 20}, 10, 100); }, U_PMR_DRAWARC, U_EMR_ARC},
        {"pie", [](Canvas& c) { c.fillPie(0, {0, 0, 40, 20}, 10, 100); }, U_PMR_FILLPIE, U_EMR_PIE},
        {"rect", [](Canvas& c) { c.fillRect(0, {0, 0, 40, 20}); }, U_PMR_FILLRECTS, U_EMR_RECTANGLE},
        {"text", [](Canvas& c) { c.drawText({"DejaVu Sans", 12, false, false}, 0, "x", {5, 5}, {}); },
         U_PMR_DRAWSTRING, U_EMR_EXTTEXTOUTW},
        {"rotation", [](Canvas& c) { c.setRotation(10, {5, 5}); }, U_PMR_SETWORLDTRANSFORM, U_EMR_EOF},
        {"clip", [](Canvas& c) { c.setClipRect({0, 0, 10, 10}); }, U_PMR_SETCLIPRECT, U_EMR_INTERSECTCLIPRECT},
    };
    for (const Case& k : cases) {
        const Emf emf = record(k.draw, "case.emf");
        ASSERT_TRUE(emf.wellFormed) << k.name;
        const PlusRecord* plus = emf.firstPlus(k.plus);
        ASSERT_NE(plus, nullptr) << k.name;
        const std::size_t plain = emf.indexOf(k.plain);
        ASSERT_LT(plain, emf.records.size()) << k.name;
        // Dual recording: the EMF+ record comes first, then its plain form.
        if (k.plain != U_EMR_EOF) {
            EXPECT_LT(plus->emfIndex, plain) << k.name;
        }
    }
}

TEST_F(EmfCanvasTest, ArcAcrossZeroKeepsItsAnglesAndRadials) {
    const Emf emf = record([](Canvas& c) { c.drawArc(P(2), {0, 0, 100, 50}, 350, 20); });
    const PlusRecord* arc = emf.firstPlus(U_PMR_DRAWARC);
    ASSERT_NE(arc, nullptr);
    U_PMF_CMN_HDR hdr;
    uint32_t pen;
    int ctype;
    U_FLOAT start, sweep;
    U_PMF_RECTF rect;
    ASSERT_TRUE(U_PMR_DRAWARC_get(arc->data, &hdr, &pen, &ctype, &start, &sweep, &rect));
    EXPECT_FLOAT_EQ(start, 350);
    EXPECT_FLOAT_EQ(sweep, 20);
    EXPECT_FLOAT_EQ(rect.Width, 100);
    // The plain arc runs counter-clockwise from the radial at 10 degrees
    // (below the centre) to the one at 350 (above).
    const EmfRecord* plain = emf.first(U_EMR_ARC);
    ASSERT_NE(plain, nullptr);
    const auto* a = reinterpret_cast<const U_EMRARC*>(plain->data);
    EXPECT_GT(a->ptlStart.x, 50);
    EXPECT_GT(a->ptlStart.y, 25);
    EXPECT_GT(a->ptlEnd.x, 50);
    EXPECT_LT(a->ptlEnd.y, 25);
    // A negative start and an over-long sweep are brought into range.
    const Emf other = record([](Canvas& c) { c.drawArc(P(2), {0, 0, 100, 50}, -30, 500); }, "other.emf");
    ASSERT_TRUE(U_PMR_DRAWARC_get(other.firstPlus(U_PMR_DRAWARC)->data, &hdr, &pen, &ctype, &start, &sweep, &rect));
    EXPECT_FLOAT_EQ(start, 330);
    EXPECT_FLOAT_EQ(sweep, 360);
}

TEST_F(EmfCanvasTest, DashedPenHasRoundEndsAndFlatDashesInBothForms) {
    const Emf emf = record([](Canvas& c) { c.drawLine(P(4, {2, 1}), {10, 10}, {70, 10}); });
    // EMF+ pen: round start and end caps, flat dash caps, the pattern in pen widths.
    const PlusRecord* obj = emf.firstPlus(U_PMR_OBJECT);
    ASSERT_NE(obj, nullptr);
    EXPECT_EQ((obj->flags >> 8) & 0x7F, U_OT_Pen);
    const char* pen = obj->data + 12 + 8;  // header, then version and type
    const auto flags = Get<uint32_t>(pen);
    EXPECT_FLOAT_EQ(Get<float>(pen + 8), 4);
    ASSERT_TRUE(flags & U_PD_DLData);
    const char* opt = pen + 12;
    EXPECT_EQ(Get<int32_t>(opt), U_LCT_Round);       // start cap
    EXPECT_EQ(Get<int32_t>(opt + 4), U_LCT_Round);   // end cap
    EXPECT_EQ(Get<int32_t>(opt + 16), U_LS_Custom);  // line style
    EXPECT_EQ(Get<int32_t>(opt + 20), U_DLCT_Flat);  // dash cap
    EXPECT_EQ(Get<uint32_t>(opt + 24), 2u);
    EXPECT_FLOAT_EQ(Get<float>(opt + 28), 2);
    EXPECT_FLOAT_EQ(Get<float>(opt + 32), 1);

    // Plain EMF: 60 px with dashes of 8 and gaps of 4 is five dashes, drawn
    // with a flat pen; the line ends in a gap (48..56 is a dash, 60 is in
    // the gap after 56), so only the start gets a cap.
    const EmfRecord* dashes = emf.first(U_EMR_POLYPOLYLINE);
    ASSERT_NE(dashes, nullptr);
    EXPECT_EQ(reinterpret_cast<const U_EMRPOLYPOLYLINE*>(dashes->data)->nPolys, 5u);
    const EmfRecord* penRec = emf.first(U_EMR_EXTCREATEPEN);
    ASSERT_NE(penRec, nullptr);
    const auto* elp = reinterpret_cast<const U_EMREXTCREATEPEN*>(penRec->data);
    EXPECT_EQ(elp->elp.elpPenStyle & U_PS_ENDCAP_MASK, static_cast<uint32_t>(U_PS_ENDCAP_FLAT));
    EXPECT_EQ(elp->elp.elpWidth, 4u);
    EXPECT_EQ(emf.count(U_EMR_POLYGON) + emf.count(U_EMR_POLYPOLYGON), 1u);
}

TEST_F(EmfCanvasTest, RotatedShapesAreFlattenedForPlainReaders) {
    const Emf emf = record([](Canvas& c) {
        c.setRotation(90, {50, 50});
        c.drawEllipse(P(1), {10, 40, 80, 20});  // wide, turned upright
        c.resetTransform();
    });
    EXPECT_EQ(emf.count(U_EMR_ELLIPSE), 0u);
    const EmfRecord* poly = emf.first(U_EMR_POLYGON);
    ASSERT_NE(poly, nullptr);
    const auto* p = reinterpret_cast<const U_EMRPOLYGON*>(poly->data);
    int32_t x0 = 1 << 30, x1 = -(1 << 30), y0 = 1 << 30, y1 = -(1 << 30);
    for (uint32_t i = 0; i < p->cptl; ++i) {
        x0 = std::min(x0, p->aptl[i].x);
        x1 = std::max(x1, p->aptl[i].x);
        y0 = std::min(y0, p->aptl[i].y);
        y1 = std::max(y1, p->aptl[i].y);
    }
    EXPECT_NEAR(x1 - x0, 20, 1);
    EXPECT_NEAR(y1 - y0, 80, 1);
    EXPECT_EQ(emf.countPlus(U_PMR_SETWORLDTRANSFORM), 1u);
    EXPECT_EQ(emf.countPlus(U_PMR_RESETWORLDTRANSFORM), 1u);
}

TEST_F(EmfCanvasTest, TextCarriesItsAdvancesAndFont) {
    const Font font{"DejaVu Sans", 20, false, true};
    double width = 0;
    const Emf emf = record([&](Canvas& c) {
        width = c.measureText(font, "Отрезок AB").w;
        c.setRotation(-90, {100, 100});
        c.drawText(font, MakeRgb(200, 0, 0), "Отрезок AB", {100, 100}, {});
    });
    const EmfRecord* rec = emf.first(U_EMR_EXTTEXTOUTW);
    ASSERT_NE(rec, nullptr);
    const auto* t = reinterpret_cast<const U_EMREXTTEXTOUTW*>(rec->data);
    ASSERT_EQ(t->emrtext.nChars, 10u);
    // The optional rectangle follows the fixed part, then the offset of the advances.
    const char* afterText = reinterpret_cast<const char*>(&t->emrtext) + sizeof(U_EMRTEXT);
    if (!(t->emrtext.fOptions & U_ETO_NO_RECT)) afterText += sizeof(U_RECTL);
    const auto offDx = Get<uint32_t>(afterText);
    ASSERT_NE(offDx, 0u);
    const auto* dx = reinterpret_cast<const uint32_t*>(rec->data + offDx);
    long sum = 0;
    for (uint32_t i = 0; i < 10; ++i) {
        sum += dx[i];
        if (i != 7) {
            EXPECT_GT(dx[i], 0u) << i;  // 7 is the space
        }
    }
    EXPECT_NEAR(sum, width, 1);
    const auto* chars = reinterpret_cast<const uint16_t*>(rec->data + t->emrtext.offString);
    EXPECT_EQ(chars[0], 0x041E);  // "О"
    // The font is italic, 20 px high, turned a quarter counter-clockwise.
    const EmfRecord* fontRec = emf.first(U_EMR_EXTCREATEFONTINDIRECTW);
    ASSERT_NE(fontRec, nullptr);
    const auto* f = reinterpret_cast<const U_EMREXTCREATEFONTINDIRECTW*>(fontRec->data);
    EXPECT_EQ(f->elfw.elfLogFont.lfHeight, -20);
    EXPECT_EQ(f->elfw.elfLogFont.lfItalic, 1);
    EXPECT_EQ(f->elfw.elfLogFont.lfEscapement, 900);
    EXPECT_EQ(f->elfw.elfLogFont.lfFaceName[0], u'D');
    // EMF+ draws the string with the UTF-16 length.
    const PlusRecord* s = emf.firstPlus(U_PMR_DRAWSTRING);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(Get<uint32_t>(s->data + 12 + 8), 10u);  // after brush and format ids
    EXPECT_EQ(emf.count(U_EMR_SETTEXTCOLOR), 1u);

    // A text in "Symbol" reaches the reader as the codes of its signs (a
    // prime typed or brought by a document from Windows, an arrow, alpha),
    // with the advances of the signs this machine draws.
    const Font symbol{"Symbol", 20, false, false};
    const Emf signs = record([&](Canvas& c) {
        width = c.measureText(symbol, "′ў→a").w;
        c.drawText(symbol, 0, "′ў→a", {10, 10}, {});
    });
    const EmfRecord* srec = signs.first(U_EMR_EXTTEXTOUTW);
    ASSERT_NE(srec, nullptr);
    const auto* st = reinterpret_cast<const U_EMREXTTEXTOUTW*>(srec->data);
    ASSERT_EQ(st->emrtext.nChars, 4u);
    const auto* codes = reinterpret_cast<const uint16_t*>(srec->data + st->emrtext.offString);
    EXPECT_EQ(std::vector<uint16_t>(codes, codes + 4), (std::vector<uint16_t>{0xA2, 0xA2, 0xAE, 0x61}));
    const char* afterSigns = reinterpret_cast<const char*>(&st->emrtext) + sizeof(U_EMRTEXT);
    if (!(st->emrtext.fOptions & U_ETO_NO_RECT)) afterSigns += sizeof(U_RECTL);
    const auto* sdx = reinterpret_cast<const uint32_t*>(srec->data + Get<uint32_t>(afterSigns));
    EXPECT_NEAR(sdx[0] + sdx[1] + sdx[2] + sdx[3], width, 1);
    EXPECT_NEAR(sdx[0], sdx[1], 1);  // the same sign, on the whole pixels of their edges
    EXPECT_GT(sdx[2], 0u);
}

TEST_F(EmfCanvasTest, ObjectsAreReusedAndAllDeleted) {
    const Emf emf = record([](Canvas& c) {
        for (int i = 0; i < 5; ++i) c.drawLine(P(2), {0, 0}, {10, 10.0 * i});
        c.drawLine(P(3), {0, 0}, {10, 10});
        c.fillEllipse(MakeRgb(1, 2, 3), {0, 0, 5, 5});
        c.fillEllipse(MakeRgb(1, 2, 3), {10, 0, 5, 5});
        c.setClipRect({0, 0, 50, 50});
        c.drawLine(P(2), {0, 0}, {10, 10});
        c.setClipRect({0, 0, 40, 40});
        c.drawText({"DejaVu Sans", 12, false, false}, 0, "a", {5, 5}, {});
        c.drawText({"DejaVu Sans", 12, false, false}, 0, "b", {5, 25}, {});
    });
    EXPECT_EQ(emf.count(U_EMR_EXTCREATEPEN), 3u);  // width 2, 3, then 2 again after the clip
    EXPECT_EQ(emf.count(U_EMR_CREATEBRUSHINDIRECT), 1u);
    EXPECT_EQ(emf.count(U_EMR_EXTCREATEFONTINDIRECTW), 1u);
    EXPECT_EQ(emf.count(U_EMR_EXTCREATEPEN) + emf.count(U_EMR_CREATEBRUSHINDIRECT) +
                  emf.count(U_EMR_EXTCREATEFONTINDIRECTW),
              emf.count(U_EMR_DELETEOBJECT));
    EXPECT_EQ(emf.countPlus(U_PMR_OBJECT), 5u);  // pens 2, 3, 2; the font; the format
    EXPECT_EQ(emf.count(U_EMR_SAVEDC), 2u);
    EXPECT_EQ(emf.count(U_EMR_RESTOREDC), 2u);  // the second clip replaces the first; finish closes it
}

TEST_F(EmfCanvasTest, ReplacesTheTargetOnlyOnSuccess) {
    const QString target = path("keep.emf");
    {
        QFile f(target);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old picture");
    }
    {
        EmfCanvas c(target.toStdString(), 100, 100, 96);
        c.drawLine(P(1), {0, 0}, {10, 10});
        // destroyed without finish
    }
    {
        QFile f(target);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), QByteArray("old picture"));
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path().toStdString()), fs::directory_iterator{}), 1);

    EmfCanvas c(target.toStdString(), 100, 100, 96);
    c.drawLine(P(1), {0, 0}, {10, 10});
    ASSERT_TRUE(c.finish()) << c.error();
    EXPECT_TRUE(c.finish());  // a second finish changes nothing
    EXPECT_TRUE(Emf(target).wellFormed);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path().toStdString()), fs::directory_iterator{}), 1);
    // A new file gets the usual mode, not a private temporary one.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    const auto perms = fs::status(target.toStdString()).permissions();
    EXPECT_EQ(static_cast<unsigned>(perms) & 0777u, 0666u & ~static_cast<unsigned>(mask));
}

TEST_F(EmfCanvasTest, AnUnwritablePlaceIsReportedNotHidden) {
    const std::string target = dir.filePath("missing/dir/picture.emf").toStdString();
    EmfCanvas c(target, 100, 100, 96);
    EXPECT_FALSE(c.ok());
    c.drawLine(P(1), {0, 0}, {10, 10});
    EXPECT_FALSE(c.finish());
    EXPECT_FALSE(c.error().empty());
    EXPECT_FALSE(fs::exists(target));
}

TEST_F(EmfCanvasTest, DegenerateInputWritesNothingAndStaysValid) {
    const Emf emf = record([](Canvas& c) {
        const PointF one[] = {{1, 1}};
        c.drawPolyline(P(1), one);
        c.fillPolygon(0, one);
        c.drawArc(P(1), {0, 0, 10, 10}, 0, 0);
        c.drawArc(P(1), {0, 0, 10, 10}, NAN, 10);
        c.drawText({"DejaVu Sans", 12, false, false}, 0, "", {0, 0}, {});
        c.fillRect(0, {0, 0, INFINITY, 1});
        c.resetClip();      // no clip set: nothing to restore
        c.resetTransform(); // no rotation set
    });
    ASSERT_TRUE(emf.wellFormed);
    EXPECT_EQ(emf.count(U_EMR_POLYLINE) + emf.count(U_EMR_POLYGON) + emf.count(U_EMR_ARC) +
                  emf.count(U_EMR_EXTTEXTOUTW) + emf.count(U_EMR_RECTANGLE) + emf.count(U_EMR_RESTOREDC),
              0u);
    for (const auto& r : emf.records) EXPECT_TRUE(U_emf_record_safe(r.data));
}

// Converts the picture with a program that reads EMF, when one is installed,
// and checks that the drawing shows.
TEST_F(EmfCanvasTest, RendersInAnEmfReader) {
    const QString inkscape = QStandardPaths::findExecutable("inkscape");
    const QString office = QStandardPaths::findExecutable("soffice").isEmpty()
                               ? QStandardPaths::findExecutable("libreoffice")
                               : QStandardPaths::findExecutable("soffice");
    if (inkscape.isEmpty() && office.isEmpty()) GTEST_SKIP() << "neither inkscape nor libreoffice is installed";
    const Emf emf = record([](Canvas& c) {
        c.fillRect(MakeRgb(0, 0, 0), {50, 50, 200, 100});
        c.drawLine(P(8), {10, 180}, {290, 180});
    });
    ASSERT_TRUE(emf.wellFormed);
    QProcess proc;
    QString png;
    if (!inkscape.isEmpty()) {
        png = path("inkscape.png");
        proc.start(inkscape, {path(), "--export-type=png", "--export-filename=" + png});
    } else {
        png = path("picture.png");
        // A profile of its own: an office started by another test at the same
        // time would take the work over and write nothing here.
        proc.start(office, {"-env:UserInstallation=file://" + path("profile"), "--headless", "--convert-to", "png",
                            "--outdir", dir.path(), path()});
    }
    ASSERT_TRUE(proc.waitForFinished(180000));
    QImage img(png);
    ASSERT_FALSE(img.isNull()) << proc.readAllStandardError().toStdString();
    // A reader may place the picture on a page of its own (LibreOffice puts it
    // in the middle of an A4 page): look only at the box of what was drawn.
    auto ink = [&](int x, int y) {
        const QRgb p = img.pixel(x, y);
        return qAlpha(p) > 128 && qGray(p) < 128;
    };
    int x0 = img.width(), y0 = img.height(), x1 = -1, y1 = -1;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (ink(x, y)) x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
    ASSERT_GT(x1, x0);
    ASSERT_GT(y1, y0);
    // The drawing spans x 10..290 and y 50..184: the rectangle 50..250 x
    // 50..150, the 8-pixel line at y = 180 below it.
    EXPECT_NEAR(double(x1 - x0) / (y1 - y0), 280.0 / 134.0, 0.25);
    int dark = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) dark += ink(x, y);
    EXPECT_GT(dark, (x1 - x0 + 1) * (y1 - y0 + 1) * 2 / 5);
    auto at = [&](double fx, double fy) {
        return ink(x0 + static_cast<int>(fx * (x1 - x0)), y0 + static_cast<int>(fy * (y1 - y0)));
    };
    EXPECT_TRUE(at(0.5, 0.4));    // inside the rectangle
    EXPECT_FALSE(at(0.05, 0.4));  // left of it
    EXPECT_FALSE(at(0.5, 0.85));  // between the rectangle and the line
    EXPECT_TRUE(at(0.5, 0.98));   // the thick line
}

// A stroke of an odd width lies on the pixels the raster picture fills: the
// metafile moves it by half a pixel onto the pixels' centres (the plain
// records by their world transform, EMF+ by its points); even widths, fills
// and text keep the drawing's coordinates.  Inkscape, when installed, then
// draws a one-pixel line on the very row the raster picture draws.
TEST_F(EmfCanvasTest, OddStrokesLieOnThePixelsTheRasterFills) {
    auto draw = [](Canvas& c) {
        c.drawLine(P(1), {10, 30}, {50, 30});
        c.drawLine(P(2), {10, 40}, {50, 40});
        c.fillRect(MakeRgb(1, 2, 3), {5, 5, 10, 10});
        c.drawLine(P(3), {10, 50}, {50, 50});
        c.drawText({"DejaVu Sans", 12, false, false}, 0, "A", {60, 60}, {});
        c.drawLine(P(1), {30, 5}, {30, 25});
    };
    const Emf emf = record(draw);
    ASSERT_TRUE(emf.wellFormed);
    float shift = 0;
    std::vector<std::pair<int32_t, float>> lines;  // first point's y, the move in force
    bool filledUnmoved = false, textUnmoved = false;
    for (const EmfRecord& r : emf.records) {
        if (r.type == U_EMR_SETWORLDTRANSFORM) {
            EXPECT_EQ(Get<float>(r.data + 24), Get<float>(r.data + 28));
            shift = Get<float>(r.data + 28);
        }
        if (r.type == U_EMR_POLYLINE) lines.emplace_back(Get<int32_t>(r.data + 32), shift);
        if (r.type == U_EMR_RECTANGLE) filledUnmoved = shift == 0;
        if (r.type == U_EMR_EXTTEXTOUTW) textUnmoved = shift == 0;
    }
    const std::vector<std::pair<int32_t, float>> expected{{30, 0.5f}, {40, 0.0f}, {50, 0.5f}, {5, 0.5f}};
    EXPECT_EQ(lines, expected);
    EXPECT_TRUE(filledUnmoved);
    EXPECT_TRUE(textUnmoved);
    std::vector<float> plusY;
    for (const PlusRecord& r : emf.plus)
        if (r.type == U_PMR_DRAWLINES) plusY.push_back(Get<float>(r.data + 20));
    EXPECT_EQ(plusY, (std::vector<float>{30.5f, 40.0f, 50.5f, 5.5f}));

    const QString inkscape = QStandardPaths::findExecutable("inkscape");
    if (inkscape.isEmpty()) GTEST_SKIP() << "inkscape is not installed";
    {
        EmfCanvas c(path("grid.emf").toStdString(), 80, 80, 96);
        draw(c);
        ASSERT_TRUE(c.finish());
    }
    QProcess proc;
    proc.start(inkscape, {path("grid.emf"), "--export-type=png", "--export-dpi=96", "--export-background=white",
                          "--export-filename=" + path("grid.png")});
    ASSERT_TRUE(proc.waitForFinished(180000));
    const QImage shown(path("grid.png"));
    ASSERT_EQ(shown.size(), QSize(80, 80));
    QImage raster(80, 80, QImage::Format_ARGB32_Premultiplied);
    raster.fill(Qt::white);
    {
        QtCanvas c(raster, true);
        draw(c);
    }
    // Across the 1-, 2- and 3-pixel lines at x = 20 and the upright line at y = 15.
    for (int i = 25; i <= 55; ++i) {
        EXPECT_NEAR(qGray(shown.pixel(20, i)), qGray(raster.pixel(20, i)), 40) << "row " << i;
    }
    for (int i = 25; i <= 35; ++i) EXPECT_NEAR(qGray(shown.pixel(i, 15)), qGray(raster.pixel(i, 15)), 40) << "column " << i;
}

// An ellipse or arc far larger than the picture (up to 1E12 pixels) goes,
// in both record sets, as polylines of the part the picture shows, each
// within the pen's reach and a dash period of it; one that fits goes as an
// ellipse still.
TEST_F(EmfCanvasTest, HugeEllipsesAndArcsKeepOnlyWhatThePictureShows) {
    constexpr int Shapes = 60;
    const Emf emf = record([](Canvas& c) {
        for (int i = 0; i < Shapes; ++i) {
            const double r = std::pow(10.0, 3 + i % 10);
            const double t = 0.37 * i;
            const double rx = r, ry = i % 3 ? r : r / 7;
            const PointF via{40.0 + 3 * i, 20.0 + 2.5 * i};
            const RectF box{via.x - rx * std::cos(t) - rx, via.y - ry * std::sin(t) - ry, 2 * rx, 2 * ry};
            if (i % 4 == 0) c.setRotation(30, {150, 100});
            const Pen pen = P(1 + i % 3, i % 2 ? std::vector<double>{2, 1} : std::vector<double>{});
            if (i % 2) c.drawEllipse(pen, box);
            else c.drawArc(pen, box, 10.0 * i, i % 3 ? 300 : -200);
            c.resetTransform();
        }
        c.drawEllipse(P(2), {100, 50, 80, 40});
    });
    ASSERT_TRUE(emf.wellFormed);
    EXPECT_EQ(emf.count(U_EMR_ELLIPSE), 1u);
    EXPECT_EQ(emf.countPlus(U_PMR_DRAWELLIPSE), 1u);
    EXPECT_EQ(emf.count(U_EMR_ARC) + emf.countPlus(U_PMR_DRAWARC), 0u);
    EXPECT_GE(emf.count(U_EMR_POLYPOLYLINE), static_cast<std::size_t>(Shapes / 2));
    EXPECT_GE(emf.countPlus(U_PMR_DRAWLINES), static_cast<std::size_t>(Shapes / 2));
    for (const EmfRecord& r : emf.records) {
        if (r.type != U_EMR_POLYLINE && r.type != U_EMR_POLYPOLYLINE) continue;
        EXPECT_TRUE(Get<int32_t>(r.data + 8) >= -60 && Get<int32_t>(r.data + 12) >= -60 &&
                    Get<int32_t>(r.data + 16) <= 360 && Get<int32_t>(r.data + 20) <= 260);
    }
    EXPECT_LT(emf.bytes.size(), Shapes * 30000);
}

}  // namespace
