// What a save keeps: reals whatever separator wrote them, texts with line
// breaks or characters the code page lacks (and the list of the texts a save
// would change), and the document with its companion files as one unit.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <limits>
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

// Reals near the limit of a double: whatever the recompute makes of them,
// a document that opens saves and opens again, and one that cannot be saved
// is refused when it is opened; a save with a value that is not finite
// writes nothing and says so.
TEST(DocumentLimits, HugeRealsNeverMakeAFileThatCannotBeReopened) {
    TempDir dir;
    const std::string name = dir.file("Huge.pel"), again = dir.file("Again.pel");
    auto plane = NewDocument();
    plane->Obj.Po.add(MakePoint(1));
    plane->Obj.Li.add(MakeLine(1));
    plane->Obj.Ci.add(MakeCircle(1));
    plane->Obj.Tr.add(MakeTriangle(1));
    plane->Obj.Sf.add(MakeOrb(1));
    ProcessAfterReading(*plane, nullptr);
    const std::string text = DocumentText(*plane, LiveWindows{}, {}, ',');
    auto lines = SplitLines(text);
    int refused = 0, reopened = 0;
    for (const auto& [huge, stride] : {std::pair{"1,7E308", 1}, {"-1,7E308", 1}, {"9E307", 7}, {"1E308", 29},
                                       {"-1,5E308", 61}, {"1,7E308", 97}}) {
        // Every stride-th real line of the objects (a line with a separator).
        std::string bytes;
        const std::size_t firstObject = text.find("<POINT");
        std::size_t at = 0;
        int reals = 0;
        for (const std::string& line : lines) {
            const bool real = at > firstObject && line.find(',') != std::string::npos &&
                              line.find_first_not_of("-0123456789,E") == std::string::npos;
            bytes += (real && reals++ % stride == 0 ? std::string(huge) : line) + "\r\n";
            at += line.size() + 2;
        }
        WriteBytes(name, bytes);
        auto doc = NewDocument();
        std::uint8_t version = 0;
        const std::uint8_t r = ReadDocument(name, *doc, version, ReadModeOpen, Context(','));
        SCOPED_TRACE(std::string(huge) + " every " + std::to_string(stride));
        if (r == ReadMalformed) {
            ++refused;
            continue;
        }
        ASSERT_EQ(r, ReadOk);
        ASSERT_TRUE(DocumentIsFinite(*doc));
        ASSERT_TRUE(WriteDocument(again, *doc, WriteModeDocument, Context(',')));
        auto back = NewDocument();
        ASSERT_EQ(ReadDocument(again, *back, version, ReadModeOpen, Context(',')), ReadOk);
        EXPECT_EQ(DocumentText(*back, LiveWindows{}, {}, ','), DocumentText(*doc, LiveWindows{}, {}, ','));
        ++reopened;
    }
    EXPECT_GT(refused, 0);  // some overflow when recomputed
    EXPECT_GT(reopened, 0);
    // Beyond the range of a double is a damaged file, never a value.
    WriteBytes(name, text.substr(0, text.find("<POINT")) + "<POINT №1>\r\n1E999\r\n");
    auto doc = NewDocument();
    std::uint8_t version = 0;
    EXPECT_EQ(ReadDocument(name, *doc, version, ReadModeOpen, Context(',')), ReadMalformed);

    // A value that is not finite is not saved: the old file stays, the
    // message is shown, and the save does not report success.
    ASSERT_TRUE(WriteDocument(again, *plane, WriteModeDocument, Context(',')));
    const std::string before = ReadBytes(again);
    for (const double bad : {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()}) {
        auto doc2 = std::make_unique<DProj>(*plane);
        doc2->Obj.Li[1].P2.X.v = bad;
        std::vector<std::string> said;
        DocumentContext ctx = Context(',');
        ctx.ShowMessage = [&said](const std::string& m) { said.push_back(m); };
        EXPECT_FALSE(WriteDocument(again, *doc2, WriteModeDocument, ctx));
        EXPECT_FALSE(WriteDocument(dir.file("Undo000001.pel"), *doc2, WriteModeUndo, ctx));
        EXPECT_EQ(said, (std::vector<std::string>{"Не могу сохранить файл!", "Не могу сохранить файл!"}));
        EXPECT_EQ(ReadBytes(again), before);
        EXPECT_FALSE(fs::exists(dir.file("Undo000001.pel")));
        EXPECT_FALSE(DocumentIsFinite(*doc2));
        EXPECT_FALSE(ObjectIsFinite(doc2->Obj.Li[1]));
        EXPECT_TRUE(ObjectIsFinite(doc2->Obj.Po[1]));
    }
    std::printf("%d huge documents refused, %d reopened\n", refused, reopened);
}

// A picture size or resolution beyond what the project settings allow is
// held to it when read, and an opened document says what was done.
TEST(DocumentLimits, PictureSizeAndResolutionHeldToTheSettings) {
    TempDir dir;
    const std::string name = dir.file("Big.pel");
    auto small = NewDocument();
    small->Obj.Po.add(MakePoint(1));
    small->Obj.Li.add(MakeLine(1));
    const std::string text = DocumentText(*small, LiveWindows{}, {}, ',');
    const std::size_t image = text.find("<$image>\r\n") + 10;
    std::size_t rest = image;
    for (int line = 0; line < 3; ++line) rest = text.find("\r\n", rest) + 2;  // width, height, resolution
    const std::string reduced = "Размер рисунка превышает 5000 пикселей и уменьшен до ";
    const struct {
        const char* w;
        const char* h;
        const char* dpi;
        int wantW, wantH, wantDpi;
        std::string told;
    } cases[] = {
        {"2147483647", "2147483647", "96", 5000, 5000, 96, reduced + "5000 x 5000."},
        {"5001", "300", "300", 5000, 300, 300, reduced + "5000 x 300."},
        {"5000", "1", "72", 5000, 1, 72, ""},
        {"0", "-7", "600", 1, 1, 600, "Размер рисунка меньше 1 пикселя и увеличен до 1 x 1."},
        {"0", "9000", "150", 1, 5000, 150, "Размер рисунка выходит за пределы от 1 до 5000 пикселей и изменен на 1 x 5000."},
        {"800", "600", "2147483647", 800, 600, 600, "Разрешение рисунка превышает 600 dpi и уменьшено до 600 dpi."},
        {"60000", "600", "-3", 5000, 600, 72,
         reduced + "5000 x 600.\n\rРазрешение рисунка меньше 72 dpi и увеличено до 72 dpi."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.w) + " x " + c.h + ", " + c.dpi + " dpi");
        WriteBytes(name, text.substr(0, image) + c.w + "\r\n" + c.h + "\r\n" + c.dpi + "\r\n" + text.substr(rest));
        for (const std::uint8_t mode : {ReadModeOpen, ReadModePreview}) {
            auto doc = NewDocument();
            std::vector<std::string> said;
            DocumentContext ctx = Context(',');
            ctx.ShowMessage = [&said](const std::string& m) { said.push_back(m); };
            std::uint8_t version = 0;
            ASSERT_EQ(ReadDocument(name, *doc, version, mode, ctx), ReadOk);
            EXPECT_EQ(doc->Im.Width, c.wantW);
            EXPECT_EQ(doc->Im.Height, c.wantH);
            EXPECT_EQ(doc->Im.Dpi, c.wantDpi);
            const bool told = !c.told.empty() && mode == ReadModeOpen;
            EXPECT_EQ(said, told ? std::vector<std::string>{c.told} : std::vector<std::string>{});
        }
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

        // After such a save the document and the working copies hold what the file holds.
        auto work = std::make_unique<WorkingCopies>();
        work->CurXZ.Surf3More[2].s = work->CurTri.S[2].P1.Name.s = texts.back();
        KeepSavedTexts(*doc, work.get());
        for (std::size_t i = 0; i < fields.size(); ++i) EXPECT_EQ(fields[i].text(*doc), kept(texts[i]));
        EXPECT_EQ(std::tie(work->CurXZ.Surf3More[2].s, work->CurTri.S[2].P1.Name.s),
                  std::make_tuple(kept(texts.back()), kept(texts.back())));
        EXPECT_TRUE(TextsChangedOnSave(*doc).empty());
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
        doc->Obj.Xy.add(NumberedXOY(1));
        doc->Obj.Xz.add(NumberedXYZ(1));
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
    // Each open removed the temporary files the killed saves left.
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(dir.path)) left.push_back(e.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"Drawing.cur", "Drawing.grd.png", "Drawing.pel"}));
}

// Only the document the user named follows a link; a link planted at a
// companion's name is replaced, and the file it pointed to keeps its bytes.
TEST(DocumentLinks, OnlyTheNamedDocumentIsWrittenThroughItsLink) {
    TempDir dir;
    fs::create_directories(dir.file("real"));
    const std::string real = dir.file("real/Drawing.pel"), link = dir.file("doc.pel");
    SaveVersion save(0);
    ASSERT_TRUE(save.write(real));
    fs::create_symlink(real, link);
    for (const char* victim : {"victim.cur", "victim.png"}) WriteBytes(dir.file(victim), "precious");
    fs::create_symlink(dir.file("victim.cur"), dir.file("doc.cur"));
    fs::create_symlink(dir.file("victim.png"), dir.file("doc.grd.png"));
    SaveVersion other(1);
    ASSERT_TRUE(other.write(link));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_NE(ReadBytes(real).find("\r\nB\r\n"), std::string::npos);  // the caption of save 1
    for (const char* victim : {"victim.cur", "victim.png"}) EXPECT_EQ(ReadBytes(dir.file(victim)), "precious");
    EXPECT_FALSE(fs::is_symlink(dir.file("doc.cur")));
    EXPECT_FALSE(fs::is_symlink(dir.file("doc.grd.png")));
    std::vector<SaveVersion> saves;
    saves.emplace_back(0);
    saves.emplace_back(1);
    int curves = 0, fills = 0;
    EXPECT_EQ(OpenAndCheck(link, saves, curves, fills), 1);
    EXPECT_EQ(curves, 1);
    EXPECT_EQ(fills, 1);
    // An undo snapshot at a planted link replaces the link too.
    fs::create_symlink(dir.file("victim.cur"), dir.file("Undo000001.pel"));
    DocumentContext ctx;
    ASSERT_TRUE(WriteDocument(dir.file("Undo000001.pel"), *other.doc, WriteModeUndo, ctx));
    EXPECT_EQ(ReadBytes(dir.file("victim.cur")), "precious");
}
