// What a save keeps: reals whatever separator wrote them, texts with line
// breaks or characters the code page lacks (and the list of the texts a save
// would change), and the document with its companion files as one unit.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QImage>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>
#include <thread>

#include "doc_fixture.h"
#include "file_test_util.h"
#include "files/companion.h"
#include "files/document.h"
#include "files/text_lines.h"

using namespace pelmar;
using namespace pelmar::test;
namespace fs = std::filesystem;

namespace {

DCurve2 OneLineCurve(double x0, double y0, double x1, double y1) {
    std::vector<CurvePoint> pts{{x0, y0, 0}, {x1, y1, 0}, {}};
    DCurve1 sub;
    sub.Count = 2;
    sub.Points = std::make_shared<const std::vector<CurvePoint>>(std::move(pts));
    DCurve2 c;
    c.Count = 1;
    c.Lines = std::make_shared<const std::vector<DCurve1>>(std::vector<DCurve1>{sub, DCurve1{}});
    c.Valid = 1;
    return c;
}

DocumentContext Context(char sep) {
    DocumentContext ctx;
    ctx.DecimalSeparator = sep;
    return ctx;
}

}  // namespace

// A document written under either separator opens under either one, with its
// curves; the writer uses the separator it is given.
TEST(DocumentSeparators, ReadWhateverWasWritten) {
    auto doc = DocumentOfEveryKind(1);
    doc->Im.LightX = 0.5;
    doc->Obj.Xy[1].Curves = OneLineCurve(1.25, 2.5, 3.75, -0.125);
    const std::string expected = DocumentText(*doc, WindowsFromRecord(*doc), doc->Role, ',');
    for (const char written : {',', '.'})
        for (const char reader : {',', '.'}) {
            SCOPED_TRACE(std::string("written with '") + written + "', read with '" + reader + "'");
            TempDir dir;
            const std::string name = dir.file("Drawing.pel");
            ASSERT_TRUE(WriteDocument(name, *doc, WriteModeDocument, Context(written)));
            const auto lines = SplitLines(ReadFileBytes(name));
            EXPECT_EQ(lines[18], std::string("0") + written + "5");  // the light's X
            EXPECT_NE(ReadFileBytes(dir.file("Drawing.cur")).find(std::string("1") + written + "25000000"),
                      std::string::npos);
            auto back = NewDocument();
            std::uint8_t version = 0;
            ASSERT_EQ(ReadDocument(name, *back, version, ReadModeOpen, Context(reader)), ReadOk);
            EXPECT_EQ(DocumentText(*back, WindowsFromRecord(*back), back->Role, ','), expected);
            ASSERT_EQ(back->Obj.Xy[1].Curves.Valid, 1);
            EXPECT_EQ(back->Obj.Xy[1].Curves.lines()[0].points()[1].y, -0.125);
        }
}

// Random texts with line breaks, Cyrillic and characters outside the code
// page, in texts of the frame and of objects: the file keeps its lines, every
// text reads back as the code page holds it on one line, and the texts that
// change are exactly those listed before the save.
TEST(DocumentTexts, LineBreaksAndForeignCharacters) {
    struct Field {
        std::string object, field;
        std::function<std::string&(DProj&)> text;
    };
    const std::vector<Field> fields = {
        {"", "Caption", [](DProj& d) -> std::string& { return d.Caption; }},
        {"", "Notes[2]", [](DProj& d) -> std::string& { return d.Notes[1]; }},
        {"", "AnimStart", [](DProj& d) -> std::string& { return d.AnimStart; }},
        {"<POINT №1>", "ID", [](DProj& d) -> std::string& { return d.Obj.Po[1].ID.s; }},
        {"<POINT №1>", "Upper", [](DProj& d) -> std::string& { return d.Obj.Po[1].Upper.s; }},
        {"<TRIANGLE №1><Line 2><Point 1>", "Name", [](DProj& d) -> std::string& { return d.Obj.Tr[1].S[2].P1.Name.s; }},
        {"<XOY №1>", "Graph[3]", [](DProj& d) -> std::string& { return d.Obj.Xy[1].Graph[3].s; }},
        {"<CYLINDER №1>", "Anim[2]", [](DProj& d) -> std::string& { return d.Obj.Zi[1].Anim[1]; }},
        {"<XYZ №1>", "Surf3More[2]", [](DProj& d) -> std::string& { return d.Obj.Xz[1].Surf3More[2].s; }},
    };
    const std::vector<std::string> pieces = {"a", "Z", "7", " ", "ж", "Ё", "№", "€", "\r\n", "\n", "\r",
                                             "′", "α", "→", "😀", "x^2"};
    std::mt19937 gen(11);
    const auto doc = DocumentOfEveryKind(1);
    EXPECT_TRUE(TextsChangedOnSave(*doc).empty());
    const std::size_t lineCount = SplitLines(DocumentText(*doc, WindowsFromRecord(*doc), doc->Role, ',')).size();
    auto back = NewDocument();
    for (int round = 0; round < 10; ++round) {
        std::vector<std::string> texts;
        for (const Field& f : fields) {
            std::string t;
            for (int n = std::uniform_int_distribution<int>(0, 6)(gen); n > 0; --n)
                t += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(gen)];
            f.text(*doc) = t;
            texts.push_back(t);
        }
        // As read back: each line break one space, a missing character "?".
        auto kept = [](const std::string& t) {
            std::string s;
            for (std::size_t i = 0; i < t.size(); ++i) {
                if (t[i] == '\r' && i + 1 < t.size() && t[i + 1] == '\n') continue;
                s += t[i] == '\r' || t[i] == '\n' ? ' ' : t[i];
            }
            return Cp1251ToUtf8(Utf8ToCp1251(s));
        };
        std::vector<TextChange> expected;
        for (std::size_t i = 0; i < fields.size(); ++i)
            if (kept(texts[i]) != texts[i]) expected.push_back({fields[i].object, fields[i].field, texts[i], kept(texts[i])});

        const auto changes = TextsChangedOnSave(*doc);
        ASSERT_EQ(changes.size(), expected.size()) << "round " << round;
        for (std::size_t i = 0; i < changes.size(); ++i) {
            EXPECT_EQ(changes[i].object, expected[i].object);
            EXPECT_EQ(changes[i].field, expected[i].field);
            EXPECT_EQ(changes[i].before, expected[i].before);
            EXPECT_EQ(changes[i].after, expected[i].after);
        }

        const std::string text = DocumentText(*doc, WindowsFromRecord(*doc), doc->Role, ',');
        EXPECT_EQ(SplitLines(text).size(), lineCount);
        std::uint8_t version = 0;
        ASSERT_EQ(ParseDocumentText(text, *back, version, ','), ReadOk) << "round " << round;
        for (std::size_t i = 0; i < fields.size(); ++i) EXPECT_EQ(fields[i].text(*back), kept(texts[i]));
    }
}

namespace {

// Saves that differ in every file: the caption, the curves of a 2D and a 3D
// system, and the fill picture.
struct SaveVersion {
    std::unique_ptr<DProj> doc = NewDocument();
    QImage fill{40, 30, QImage::Format_ARGB32_Premultiplied};
    explicit SaveVersion(int v) {
        doc->Caption = std::string(1, static_cast<char>('A' + v));
        doc->Obj.Xy.add(MakeXOY(1));
        doc->Obj.Xz.add(MakeXYZ(1));
        doc->Obj.Xy[1].Curves = OneLineCurve(v, 1.5, 2.25, 3);
        doc->Obj.Xz[1].Curves[12] = OneLineCurve(4, v, 5.5, 6);
        doc->Obj.Xz[1].Outlines[3].Lines = OneLineCurve(7, 8, v + 0.5, 9);
        doc->FillValid = 1;
        fill.fill(QColor(20 + 90 * v, 90, 160));
    }
    bool write(const std::string& name) {
        DocumentContext ctx;
        ctx.BackPng = &fill;
        return WriteDocument(name, *doc, WriteModeDocument, ctx);
    }
};

bool SameCurve(const DCurve2& a, const DCurve2& b) {
    if (a.Count != b.Count || a.lines().size() != b.lines().size()) return false;
    for (std::size_t i = 0; i < a.lines().size(); ++i) {
        const auto& p = a.lines()[i].points();
        const auto& q = b.lines()[i].points();
        if (a.lines()[i].Count != b.lines()[i].Count || p.size() != q.size()) return false;
        for (std::size_t j = 0; j + 1 < p.size(); ++j)
            if (p[j].x != q[j].x || p[j].y != q[j].y) return false;
    }
    return true;
}

// Opens the document and checks that each companion read is that of the
// save the document is (its curves all or none); the index of that save.
int OpenAndCheck(const std::string& name, std::vector<SaveVersion>& saves, int& curves, int& fills) {
    auto back = NewDocument();
    QImage fill;
    DocumentContext ctx;
    ctx.Proj = back.get();
    ctx.BackPng = &fill;
    std::uint8_t version = 0;
    EXPECT_EQ(ReadDocument(name, *back, version, ReadModeOpen, ctx), ReadOk);
    const int v = back->Caption.size() == 1 ? back->Caption[0] - 'A' : -1;
    if (v < 0 || v >= static_cast<int>(saves.size())) {
        ADD_FAILURE() << "a document of no save: " << back->Caption;
        return -1;
    }
    const DProj& from = *saves[static_cast<std::size_t>(v)].doc;
    const std::pair<const DCurve2*, const DCurve2*> pairs[] = {
        {&back->Obj.Xy[1].Curves, &from.Obj.Xy[1].Curves},
        {&back->Obj.Xz[1].Curves[12], &from.Obj.Xz[1].Curves[12]},
        {&back->Obj.Xz[1].Outlines[3].Lines, &from.Obj.Xz[1].Outlines[3].Lines},
    };
    curves = back->Obj.Xy[1].Curves.Valid;
    for (const auto& [read, saved] : pairs) {
        EXPECT_EQ(read->Valid, curves);
        EXPECT_TRUE(!read->Valid || SameCurve(*read, *saved));
    }
    fills = back->FillValid;
    EXPECT_TRUE(!fills || fill.pixel(5, 5) == saves[static_cast<std::size_t>(v)].fill.pixel(5, 5));
    return v;
}

}  // namespace

// Saves A and B, and C as an older program wrote it (no stamps anywhere):
// whichever of their files stand together, the document reads only the
// companions of its own save; the others count as missing.
TEST(SaveStamp, CompanionsGoOnlyWithTheirDocument) {
    enum { A, B, Legacy, Missing };
    TempDir dir;
    std::vector<SaveVersion> saves;
    for (int s = A; s <= Legacy; ++s) {
        saves.emplace_back(s);
        const std::string folder = dir.file(std::to_string(s));
        fs::create_directories(folder);
        ASSERT_TRUE(saves.back().write(folder + "/Drawing.pel"));
    }
    for (const char* file : {"/Drawing.pel", "/Drawing.cur"}) {
        const std::string path = dir.file("2") + file, bytes = ReadBytes(path);
        WriteBytes(path, bytes.substr(0, bytes.rfind("<$save ")));
    }
    saves[Legacy].fill.save(QString::fromStdString(dir.file("2/Drawing.grd.png")), "PNG");

    for (int main = A; main <= Legacy; ++main)
        for (int cur = A; cur <= Missing; ++cur)
            for (int png = A; png <= Missing; ++png) {
                const std::string folder = dir.file("mix" + std::to_string(main) + std::to_string(cur) + std::to_string(png));
                SCOPED_TRACE(folder);
                fs::create_directories(folder);
                for (const auto& [from, file] : {std::pair{main, "/Drawing.pel"}, {cur, "/Drawing.cur"}, {png, "/Drawing.grd.png"}})
                    if (from != Missing) fs::copy_file(dir.file(std::to_string(from)) + file, folder + file);
                int curves = 0, fills = 0;
                EXPECT_EQ(OpenAndCheck(folder + "/Drawing.pel", saves, curves, fills), main);
                EXPECT_EQ(curves, cur == main);
                EXPECT_EQ(fills, png == main);
            }
}

// The stamp is the first half of the text's SHA-256 in hexadecimal, as
// earlier saves wrote it: checked against the standard's vectors and against
// Qt's SHA-256 over random texts of every length around the hash's blocks.
TEST(SaveStamp, IsTheFirstHalfOfTheSha256) {
    EXPECT_EQ(SaveStamp(""), "e3b0c44298fc1c149afbf4c8996fb924");
    EXPECT_EQ(SaveStamp("abc"), "ba7816bf8f01cfea414140de5dae2223");
    EXPECT_EQ(SaveStamp("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"), "248d6a61d20638b8e5c026930c3e6039");
    std::mt19937 gen(29);
    std::vector<std::size_t> sizes;
    for (std::size_t n = 0; n <= 200; ++n) sizes.push_back(n);
    for (std::size_t n : {1000u, 4095u, 4096u, 65537u, 2200000u}) sizes.push_back(n);
    for (const std::size_t n : sizes) {
        std::string text(n, '\0');
        for (char& c : text) c = static_cast<char>(gen());
        const QByteArray qt = QCryptographicHash::hash(QByteArrayView(text.data(), static_cast<qsizetype>(n)),
                                                       QCryptographicHash::Sha256);
        ASSERT_EQ(SaveStamp(text), qt.left(16).toHex().toStdString()) << n << " bytes";
    }
}

// A process saving the document over and over, as A and as B in turn, is
// killed at a random moment, again and again: every time the document opens
// as one of the two saves with that save's companions or none.
TEST(InterruptedSave, ReopensWithItsOwnCompanionsOrNone) {
    TempDir dir;
    const std::string name = dir.file("Drawing.pel");
    std::vector<SaveVersion> saves;
    saves.emplace_back(0);
    saves.emplace_back(1);
    ASSERT_TRUE(saves[0].write(name));
    // How long a save takes here, to kill within the next few of them.
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(saves[i % 2].write(name));
    const auto saveTime = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start) / 4;

    std::mt19937 gen(5);
    int withCurves = 0, withFill = 0;
    constexpr int Rounds = 100;
    for (int round = 0; round < Rounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            for (int i = round;; ++i) saves[static_cast<std::size_t>(i % 2)].write(name);
        std::this_thread::sleep_for(
            std::chrono::microseconds(std::uniform_int_distribution<long>(0, 3 * saveTime.count())(gen)));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        int curves = 0, fills = 0;
        EXPECT_GE(OpenAndCheck(name, saves, curves, fills), 0);
        withCurves += curves;
        withFill += fills;
    }
    std::printf("%d of %d interrupted saves reopened with their curves, %d with their fill picture\n", withCurves,
                Rounds, withFill);
}
