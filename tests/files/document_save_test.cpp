// What a save keeps: reals whatever separator wrote them, texts with line
// breaks or characters the code page lacks (and the list of the texts a save
// would change), and the document with its companion files as one unit.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

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

// Two saves of one document, each with its curves file and fill picture, and
// the files of a third, older program that stamps nothing: whichever of them
// stand together after a save was interrupted, the document reads only the
// companions of its own save; the others count as missing.
TEST(SaveStamp, CompanionsGoOnlyWithTheirDocument) {
    enum Save { A, B, Legacy, Missing };
    const char* const names[] = {"A", "B", "legacy", "missing"};
    TempDir dir;
    auto save = [&](Save s) {
        const std::string folder = dir.file(names[s]);
        fs::create_directories(folder);
        auto doc = NewDocument();
        doc->Obj.Xy.add(MakeXOY(1));
        doc->Caption = names[s];
        doc->Obj.Xy[1].Curves = OneLineCurve(s, 1, 2, 3);
        doc->FillValid = 1;
        QImage fill(8, 6, QImage::Format_ARGB32_Premultiplied);
        fill.fill(QColor(10 + 100 * s, 20, 30));
        DocumentContext ctx;
        ctx.BackPng = &fill;
        EXPECT_TRUE(WriteDocument(folder + "/Drawing.pel", *doc, WriteModeDocument, ctx));
        if (s == Legacy) {
            // As an older program wrote them: no stamps anywhere.
            const std::string main = ReadBytes(folder + "/Drawing.pel");
            WriteBytes(folder + "/Drawing.pel", main.substr(0, main.rfind("<$save ")));
            const std::string cur = ReadBytes(folder + "/Drawing.cur");
            WriteBytes(folder + "/Drawing.cur", cur.substr(0, cur.rfind("<$save ")));
            fill.save(QString::fromStdString(folder + "/Drawing.grd.png"), "PNG");
        }
    };
    for (Save s : {A, B, Legacy}) save(s);

    for (Save main : {A, B, Legacy})
        for (Save cur : {A, B, Legacy, Missing})
            for (Save png : {A, B, Legacy, Missing}) {
                SCOPED_TRACE(std::string("document ") + names[main] + ", curves " + names[cur] + ", fill " + names[png]);
                const std::string folder = dir.file(std::string("mix") + names[main] + names[cur] + names[png]);
                fs::create_directories(folder);
                auto take = [&](Save from, const char* file) {
                    if (from != Missing) fs::copy_file(dir.file(std::string(names[from]) + "/" + file), folder + "/" + file);
                };
                take(main, "Drawing.pel");
                take(cur, "Drawing.cur");
                take(png, "Drawing.grd.png");

                auto back = NewDocument();
                QImage fill;
                DocumentContext ctx;
                ctx.Proj = back.get();
                ctx.BackPng = &fill;
                std::uint8_t version = 0;
                ASSERT_EQ(ReadDocument(folder + "/Drawing.pel", *back, version, ReadModeOpen, ctx), ReadOk);
                EXPECT_EQ(back->Caption, names[main]);
                const DCurve2& c = back->Obj.Xy[1].Curves;
                EXPECT_EQ(c.Valid, cur == main ? 1 : 0);
                if (c.Valid) {
                    EXPECT_EQ(c.lines()[0].points()[0].x, static_cast<double>(main));
                }
                EXPECT_EQ(back->FillValid, png == main ? 1 : 0);
                if (back->FillValid) {
                    EXPECT_EQ(qRed(fill.pixel(0, 0)), 10 + 100 * main);
                }
            }
}

namespace {

// One of two saves that differ in every file: the caption, the curves of a
// 2D and a 3D system, and the fill picture.
struct SaveVersion {
    std::unique_ptr<DProj> doc = NewDocument();
    QImage fill{40, 30, QImage::Format_ARGB32_Premultiplied};
    explicit SaveVersion(int v) {
        doc->Caption = v ? "B" : "A";
        doc->Obj.Xy.add(MakeXOY(1));
        doc->Obj.Xz.add(MakeXYZ(1));
        doc->Obj.Xy[1].Curves = OneLineCurve(v, 1.5, 2.25, 3);
        doc->Obj.Xz[1].Curves[12] = OneLineCurve(4, v, 5.5, 6);
        doc->Obj.Xz[1].Outlines[3].Lines = OneLineCurve(7, 8, v + 0.5, 9);
        doc->FillValid = 1;
        fill.fill(QColor(v ? 200 : 20, 90, 160));
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

}  // namespace

// A process saving the document over and over, now as one version and now
// as the other, is killed at a random moment, again and again.  Every time
// the document opens as one of the two saves, and each companion is either
// that save's or missing (and computed again), never the other save's.
TEST(InterruptedSave, ReopensWithItsOwnCompanionsOrNone) {
    TempDir dir;
    const std::string name = dir.file("Drawing.pel");
    SaveVersion versions[2] = {SaveVersion(0), SaveVersion(1)};
    ASSERT_TRUE(versions[0].write(name));
    // How long a save takes here, to kill within the next few of them.
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(versions[i % 2].write(name));
    const auto saveTime = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start) / 4;

    std::mt19937 gen(5);
    int withCurves = 0, withFill = 0;
    constexpr int Rounds = 100;
    for (int round = 0; round < Rounds; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = round;; ++i) versions[i % 2].write(name);
        }
        const auto wait = std::uniform_int_distribution<long>(0, 3 * saveTime.count())(gen);
        std::this_thread::sleep_for(std::chrono::microseconds(wait));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);

        auto back = NewDocument();
        QImage fill;
        DocumentContext ctx;
        ctx.Proj = back.get();
        ctx.BackPng = &fill;
        std::uint8_t version = 0;
        ASSERT_EQ(ReadDocument(name, *back, version, ReadModeOpen, ctx), ReadOk) << "round " << round;
        ASSERT_TRUE(back->Caption == "A" || back->Caption == "B") << "round " << round;
        const SaveVersion& from = versions[back->Caption == "B" ? 1 : 0];
        const DCurve2* curves[3][2] = {
            {&back->Obj.Xy[1].Curves, &from.doc->Obj.Xy[1].Curves},
            {&back->Obj.Xz[1].Curves[12], &from.doc->Obj.Xz[1].Curves[12]},
            {&back->Obj.Xz[1].Outlines[3].Lines, &from.doc->Obj.Xz[1].Outlines[3].Lines},
        };
        for (const auto& c : curves) {
            EXPECT_EQ(c[0]->Valid, curves[0][0]->Valid) << "round " << round;  // the file is read whole or not at all
            if (c[0]->Valid) {
                EXPECT_TRUE(SameCurve(*c[0], *c[1])) << "round " << round;
            }
        }
        withCurves += curves[0][0]->Valid;
        if (back->FillValid) {
            ++withFill;
            EXPECT_EQ(fill.pixel(5, 5), from.fill.pixel(5, 5)) << "round " << round;
        }
    }
    std::printf("%d of %d interrupted saves reopened with their curves, %d with their fill picture\n", withCurves,
                Rounds, withFill);
}
