// The written OpenDocument packages: zip layout, XML, layers, groups, names.
#include <gtest/gtest.h>
#include <zip.h>

#include <QDir>
#include <QFile>
#include <QXmlStreamReader>
#include <fstream>
#include <map>

#include "office/odf_writer.h"
#include "office_fixture.h"
#include "sample_document.h"

namespace pelmar::test {
namespace {

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

unsigned Le16(const std::string& b, std::size_t at) {
    return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8;
}

// The package's entries in their order, with their texts.
std::vector<std::pair<std::string, std::string>> Entries(const std::string& path) {
    std::vector<std::pair<std::string, std::string>> out;
    int err = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &err);
    if (!z) return out;
    for (zip_int64_t i = 0; i < zip_get_num_entries(z, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(z, static_cast<zip_uint64_t>(i), 0, &st);
        std::string data(st.size, '\0');
        zip_file_t* f = zip_fopen_index(z, static_cast<zip_uint64_t>(i), 0);
        if (f) {
            zip_fread(f, data.data(), st.size);
            zip_fclose(f);
        }
        out.emplace_back(st.name, data);
    }
    zip_close(z);
    return out;
}

// Elements of an XML text: qualified name -> the attribute maps of each.
struct Xml {
    std::multimap<std::string, std::map<std::string, std::string>> elements;
    std::string text;
    std::string error;
    int maxGroupDepth = 0;

    explicit Xml(const std::string& s) {
        QXmlStreamReader r(QByteArray::fromStdString(s));
        int depth = 0;
        while (!r.atEnd()) {
            r.readNext();
            if (r.isStartElement()) {
                std::map<std::string, std::string> a;
                for (const auto& at : r.attributes()) a[at.qualifiedName().toString().toStdString()] = at.value().toString().toStdString();
                elements.emplace(r.qualifiedName().toString().toStdString(), a);
                if (r.qualifiedName() == QLatin1String("draw:g")) maxGroupDepth = std::max(maxGroupDepth, ++depth);
            } else if (r.isEndElement() && r.qualifiedName() == QLatin1String("draw:g")) {
                --depth;
            } else if (r.isCharacters()) {
                text += r.text().toString().toStdString();
            }
        }
        if (r.hasError()) error = r.errorString().toStdString();
    }
    int count(const std::string& name) const { return static_cast<int>(elements.count(name)); }
};

// The package checks both file kinds share.
std::map<std::string, std::string> CheckPackage(const std::string& path, const std::string& mime) {
    const std::string b = Bytes(path);
    // The first entry: "mimetype", stored, no extra field, the type itself.
    EXPECT_GT(b.size(), 38 + mime.size());
    if (b.size() <= 38 + mime.size()) return {};
    EXPECT_EQ(b.substr(0, 4), std::string("PK\x03\x04", 4));
    EXPECT_EQ(Le16(b, 8), 0u);
    EXPECT_EQ(Le16(b, 26), 8u);
    EXPECT_EQ(Le16(b, 28), 0u);
    EXPECT_EQ(b.substr(30, 8), "mimetype");
    EXPECT_EQ(b.substr(38, mime.size()), mime);

    const auto entries = Entries(path);
    std::vector<std::string> names;
    std::map<std::string, std::string> texts;
    for (const auto& [n, t] : entries) {
        names.push_back(n);
        texts[n] = t;
    }
    EXPECT_EQ(names, (std::vector<std::string>{"mimetype", "META-INF/manifest.xml", "content.xml", "styles.xml"}));
    for (const char* n : {"META-INF/manifest.xml", "content.xml", "styles.xml"}) EXPECT_EQ(Xml(texts[n]).error, "") << n;
    EXPECT_NE(texts["META-INF/manifest.xml"].find(mime), std::string::npos);
    return texts;
}

TEST(OdfFiles, DrawingHoldsLayersGroupsAndShapes) {
    auto doc = SampleDocument();
    doc->Obj.Po[1].Name.s = "<A&\"B'>";  // texts are escaped
    RunRig r(*doc);
    ASSERT_TRUE(ExportToCorelDraw(8, r.path("d.cdr"), RunMode::DoNotOpen, doc->Im, r.run));
    auto texts = CheckPackage(r.path("d.odg"), OdgMimeType);
    const Xml content(texts["content.xml"]), styles(texts["styles.xml"]);

    std::vector<std::string> layers;
    for (auto [it, end] = styles.elements.equal_range("draw:layer"); it != end; ++it)
        layers.push_back(it->second.at("draw:name"));
    for (int n = 1; n <= 10; ++n)
        EXPECT_NE(std::find(layers.begin(), layers.end(), "Layer_" + std::to_string(n)), layers.end()) << n;
    const auto& page = styles.elements.find("style:page-layout-properties")->second;
    EXPECT_EQ(page.at("fo:page-width"), "21.1667cm");  // 800 px at 96 dpi
    EXPECT_EQ(page.at("fo:page-height"), "15.875cm");

    // One group per object that drew, every shape on one of the ten layers.
    EXPECT_EQ(content.count("draw:g"), static_cast<int>(std::count(r.run.calls.begin(), r.run.calls.end(), "Group")));
    EXPECT_EQ(content.maxGroupDepth, 1);
    int shapes = 0;
    for (const char* kind : {"draw:path", "draw:ellipse", "draw:frame"})
        for (auto [it, end] = content.elements.equal_range(kind); it != end; ++it) {
            ++shapes;
            const std::string layer = it->second.count("draw:layer") ? it->second.at("draw:layer") : "";
            EXPECT_EQ(layer.rfind("Layer_", 0), 0u) << kind;
        }
    EXPECT_EQ(shapes, static_cast<int>(r.calls("GetObjectsCDRStaticID").size()));
    EXPECT_NE(content.text.find("<A&\"B'>"), std::string::npos);
    // The dashed segment ends in an arrow marker that the styles define.
    std::vector<std::string> markers;
    for (auto [it, end] = styles.elements.equal_range("draw:marker"); it != end; ++it)
        markers.push_back(it->second.at("draw:name"));
    int arrows = 0;
    for (auto [it, end] = content.elements.equal_range("style:graphic-properties"); it != end; ++it)
        if (it->second.count("draw:marker-end")) {
            ++arrows;
            EXPECT_NE(std::find(markers.begin(), markers.end(), it->second.at("draw:marker-end")), markers.end());
        }
    EXPECT_GE(arrows, 1);
}

TEST(OdfFiles, TextHoldsNamedShapesInOneGroup) {
    auto doc = SampleDocument();
    doc->Obj.Po.add(MakePoint(790, 300));  // a disc reaching beyond the A4 page's margin
    // A name in "Symbol" goes out as the signs it shows: "a" is alpha, and
    // the prime of a document made on Windows arrives as its code page byte.
    doc->Obj.Po[1].Name.s = "a\u045E";
    doc->Obj.Po[1].NameFont.s = "Symbol";
    RunRig r(*doc);
    ASSERT_TRUE(ExportToOffice(r.path("t.doc"), RunMode::OpenAndClose, doc->Im, r.run));
    auto texts = CheckPackage(r.path("t.odt"), OdtMimeType);
    const Xml content(texts["content.xml"]);
    EXPECT_EQ(content.count("draw:g"), 1);
    EXPECT_NE(content.text.find("\u03B1\u2032"), std::string::npos);
    std::vector<std::string> names;
    for (const auto& [name, attrs] : content.elements)
        if (attrs.count("draw:name")) names.push_back(attrs.at("draw:name"));
    const int n = static_cast<int>(r.calls("put \"Selection.ShapeRange.Name\"").size());
    ASSERT_GE(n, 2);
    EXPECT_EQ(static_cast<int>(names.size()), n);
    for (int i = 1; i <= n; ++i)
        EXPECT_NE(std::find(names.begin(), names.end(), "O" + std::to_string(i)), names.end()) << i;
    const auto& g = content.elements.find("draw:g")->second;
    EXPECT_EQ(g.at("text:anchor-type"), "page");
    // The page keeps its margins and grows to hold the 800 x 600 px picture.
    const Xml styles(texts["styles.xml"]);
    const auto& page = styles.elements.find("style:page-layout-properties")->second;
    EXPECT_EQ(page.at("fo:margin-left"), "3.0004cm");
    EXPECT_EQ(page.at("fo:page-width"), "25.5411cm");
}

TEST(OdfFiles, FailedWriteReportsAndLeavesTheTarget) {
    QTemporaryDir dir;
    // A folder in the way of the file: the write fails and the folder stays.
    const std::string path = dir.path().toStdString() + "/busy.odg";
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(path + "/inside")));
    OfficeDocument doc;
    EXPECT_NE(WriteOdfDrawing(doc, path), "");
    EXPECT_TRUE(QDir(QString::fromStdString(path + "/inside")).exists());
    EXPECT_NE(WriteOdfText(doc, dir.path().toStdString() + "/no/such/folder/t.odt"), "");
    // A document without shapes is still a valid package.
    const std::string empty = dir.path().toStdString() + "/empty.odt";
    ASSERT_EQ(WriteOdfText(doc, empty), "");
    CheckPackage(empty, OdtMimeType);
}

}  // namespace
}  // namespace pelmar::test
