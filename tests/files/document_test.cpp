#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <random>

#include "files/doc_fixture.h"
#include "files/document.h"
#include "files/text_lines.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

constexpr char kSep = ',';

// Files are written under a comma separator.
struct CommaLocale : ::testing::Test {};

DocumentContext Ctx() {
    DocumentContext ctx;
    ctx.DecimalSeparator = kSep;
    return ctx;
}

std::vector<std::string> FrameLines(const DProj& d, const LiveWindows& w) {
    return SplitLines(DocumentText(d, w, d.Role, kSep));
}

std::vector<std::string> FrameLines(const DProj& d) { return FrameLines(d, WindowsFromRecord(d)); }

std::string Text(const DProj& d) { return DocumentText(d, WindowsFromRecord(d), d.Role, kSep); }

// A small document with one point and one segment, every value fixed.
std::unique_ptr<DProj> SmallDocument() {
    auto d = NewDocument();
    d->Obj.Po.add(MakePoint(1));
    d->Obj.Li.add(MakeLine(1));
    d->Obj.Li[1].P3.Link.b = {2, 1, 0, 0, 0, 0, 0, 0, 0, 0};
    d->Obj.Li[1].Number = 2;
    d->Im.Background = 0xFF0000;
    d->Im.LightX = 0.5;
    d->Caption = "Чертёж №7";
    d->Author = "Иванов";
    d->AnimStep = "pi/15";
    d->AnimStart = "0";
    ProcessAfterReading(*d, nullptr);
    return d;
}

using DocumentFrame = CommaLocale;
using DocumentRead = CommaLocale;
using DocumentWrite = CommaLocale;

TEST_F(DocumentFrame, EmptyDocumentLayout) {
    const auto d = NewDocument();
    const auto l = FrameLines(*d);
    ASSERT_EQ(l.size(), 54u);
    EXPECT_EQ(l[0], "<Pel19 File>");
    EXPECT_EQ(l[1], std::string(28, '0'));
    EXPECT_EQ(l[2], "<$image>");
    EXPECT_EQ(l[6], "255255255");
    EXPECT_EQ(l[26], std::string(10, FlagFalse));
    EXPECT_EQ(l[30], "0100");
    EXPECT_EQ(l[31], "-001");
    EXPECT_EQ(l[32], "0000");
    EXPECT_EQ(l[33], std::string(28, '0'));
    EXPECT_EQ(l[39], "0");  // portrait
    EXPECT_EQ(l[53], "<$endfile>");
}

TEST_F(DocumentFrame, CountsColoursWindowsAndFlags) {
    auto d = NewDocument();
    for (int i = 0; i < 5; ++i) d->Obj.Po.add(DPoint{});
    for (int i = 0; i < 12; ++i) d->Obj.Li.add(DLine{});
    d->Im.Background = 0xFF0000;  // pure blue
    d->Im.LastFillOption = true;
    d->Im.LightX = 0.5;
    d->RolledUp = true;
    d->DlgLeft = 5;
    d->DlgTop = -3;
    LiveWindows w;
    w.PicState = 2;
    w.PicLeft = -12;
    w.PicTop = 7;
    w.PicWidth = 640;
    w.PicHeight = 12345;  // does not fit: kept at the widest value that does
    w.PicScrollHorz = 3;
    w.PicScrollVert = 4;
    w.TransRolledUp = true;
    w.TransLeft = 100;
    w.DialogOpen[1] = w.DialogOpen[6] = true;  // segment and sphere dialogs
    w.ComboIndex = 17;
    w.FocusIndex = 9;
    const auto l = FrameLines(*d, w);
    EXPECT_EQ(l[1], "0512" + std::string(24, '0'));
    EXPECT_EQ(l[6], "000000255");
    EXPECT_EQ(l[18], "0,5");
    EXPECT_EQ(l[24], std::string(1, FlagTrue));
    EXPECT_EQ(l[28], "2-01200070640999900030004");
    EXPECT_EQ(l[29], "101000000");
    EXPECT_EQ(l[31], "0017");
    EXPECT_EQ(l[32], "0007");
    EXPECT_EQ(l[34], "9");
    EXPECT_EQ(l[35], "10005-003");

    auto back = NewDocument();
    std::uint8_t v = 0;
    ASSERT_EQ(ParseDocumentText(JoinLines(l), *back, v, kSep), ReadOk);
    EXPECT_EQ(back->Obj.Po.count(), 5);
    EXPECT_EQ(back->Obj.Li.count(), 12);
    EXPECT_EQ(back->Im.Background, 0xFF0000u);
    EXPECT_TRUE(back->Im.LastFillOption);
    EXPECT_EQ(back->ImWinState, 2);
    EXPECT_EQ(back->ImWinLeft, -12);
    EXPECT_EQ(back->ImWinHeight, 9999);
    EXPECT_EQ(back->ImScrollHorz, 3);
    EXPECT_EQ(back->ImScrollVert, 4);
    EXPECT_EQ(back->TransLeft, 100);
    EXPECT_EQ(back->CurObjNo, 17);
    EXPECT_EQ(back->ActiveKind, 7);
    EXPECT_EQ(back->FocusIndex, 9);
    EXPECT_TRUE(back->RolledUp);
    EXPECT_EQ(back->DlgTop, -3);
}

TEST_F(DocumentFrame, FrameFieldsRoundTrip) {
    auto d = NewDocument();
    d->Im.Width = 1024;
    d->Im.Height = 768;
    d->Im.Dpi = 150;
    d->Im.Background = 0x123456;
    d->Im.FontUnit = 2;
    d->Im.PicMode = 1;
    d->Im.Smooth = false;
    d->Im.BackPicture = "/home/пользователь/фон №2.png";
    d->Im.BackOn = true;
    d->Im.BackSizeMode = 3;
    d->Im.LightSource = 2;
    d->Im.TwoColors = 1;
    d->Im.BorderPercent = 33.5;
    d->Im.BorderAngle = 180;
    d->Im.LightDZ = -0.25;
    d->Role = {1, 2, 3, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0};
    d->Zoom = 250;
    d->Portrait = false;
    d->PaperWidth = 297;
    d->Margin2 = 15;
    d->Notes = {"один", "два", "три"};
    d->AnimDelay = 40;
    d->AnimFrames = 12;
    d->AnimStep = "pi/30";
    d->AnimLoop = false;
    auto back = NewDocument();
    std::uint8_t v = 0;
    ASSERT_EQ(ParseDocumentText(Text(*d), *back, v, kSep), ReadOk);
    EXPECT_EQ(Text(*back), Text(*d));
    EXPECT_EQ(back->Im.BackPicture, d->Im.BackPicture);
    EXPECT_EQ(back->Role, d->Role);
    EXPECT_FALSE(back->Portrait);
    EXPECT_FALSE(back->AnimLoop);
    EXPECT_DOUBLE_EQ(back->Im.BorderPercent, 33.5);
}

TEST_F(DocumentFrame, OutOfRangeFillSettingsAreCorrectedOnReading) {
    auto d = NewDocument();
    auto l = FrameLines(*d);
    l[16] = "100";
    l[17] = "45";
    auto back = NewDocument();
    std::uint8_t v = 0;
    ASSERT_EQ(ParseDocumentText(JoinLines(l), *back, v, kSep), ReadOk);
    EXPECT_DOUBLE_EQ(back->Im.BorderPercent, 50);
    EXPECT_EQ(back->Im.BorderAngle, 90);
    l[16] = "-1";
    l[17] = "180";
    ASSERT_EQ(ParseDocumentText(JoinLines(l), *back, v, kSep), ReadOk);
    EXPECT_DOUBLE_EQ(back->Im.BorderPercent, 50);
    EXPECT_EQ(back->Im.BorderAngle, 180);
}

TEST_F(DocumentFrame, OlderFramesKeepTheFieldsTheyLack) {
    auto src = NewDocument();
    src->Im.Smooth = false;
    src->Im.LightX = 1;
    auto lines = FrameLines(*src);
    auto prepared = [] {
        auto d = NewDocument();
        d->Im.Smooth = true;
        d->Im.LightX = 77;
        d->Im.BorderAngle = 180;
        d->AnimDelay = 5;
        return d;
    };
    // Version 16: no lines 15-25.
    auto v16 = lines;
    v16[0] = "<Pel16 File>";
    v16.erase(v16.begin() + 14, v16.begin() + 25);
    auto d = prepared();
    std::uint8_t v = 0;
    ASSERT_EQ(ParseDocumentText(JoinLines(v16), *d, v, kSep), ReadOk);
    EXPECT_EQ(v, 16);
    EXPECT_FALSE(d->Im.Smooth);
    EXPECT_DOUBLE_EQ(d->Im.LightX, 77);
    EXPECT_EQ(d->Im.BorderAngle, 180);
    EXPECT_EQ(d->AnimDelay, src->AnimDelay);
    // Version 14: no line 11 either.
    auto v14 = v16;
    v14[0] = "<Pel14 File>";
    v14.erase(v14.begin() + 10);
    d = prepared();
    ASSERT_EQ(ParseDocumentText(JoinLines(v14), *d, v, kSep), ReadOk);
    EXPECT_TRUE(d->Im.Smooth);
    EXPECT_EQ(d->AnimDelay, src->AnimDelay);
    // Version 13: no animation lines; they take their defaults.
    auto v13 = v14;
    v13[0] = "<Pel13 File>";
    v13.erase(v13.end() - 6, v13.end() - 1);
    d = prepared();
    ASSERT_EQ(ParseDocumentText(JoinLines(v13), *d, v, kSep), ReadOk);
    EXPECT_EQ(d->AnimDelay, 30);
    EXPECT_EQ(d->AnimFrames, 30);
    EXPECT_EQ(d->AnimStep, "pi/15");
    EXPECT_EQ(d->AnimStart, "0");
    EXPECT_TRUE(d->AnimLoop);
}

TEST_F(DocumentRead, ResultCodesAndAnUnchangedDocument) {
    TempDir dir;
    const auto small = SmallDocument();
    const std::string good = Text(*small);
    auto check = [&](const std::string& first, std::uint8_t want, std::uint8_t wantVersion) {
        auto lines = SplitLines(good);
        lines[0] = first;
        const std::string name = dir.file("t.pel");
        WriteFileBytes(name, JoinLines(lines));
        auto d = NewDocument();
        d->Caption = "kept";
        std::uint8_t v = 99;
        EXPECT_EQ(ReadDocument(name, *d, v, ReadModeOpen), want) << first;
        EXPECT_EQ(v, wantVersion) << first;
        if (want != ReadOk) {
            EXPECT_EQ(d->Caption, "kept") << first;
            EXPECT_EQ(d->Obj.Po.count(), 0) << first;
        }
    };
    check("<Pel19 File>", ReadOk, 19);
    check("<Pel19 anything", ReadOk, 19);
    check("<Pel09 File>", ReadTooOld, 9);
    check("<Pel01 File>", ReadTooOld, 1);
    check("<Pel20 File>", ReadBadVersion, 99);
    check("<Pel00 File>", ReadBadVersion, 99);
    check("<Pel1", ReadBadVersion, 99);
    check("<Pelx9 File>", ReadBadVersion, 99);
    check("<Pic19 File>", ReadNotDocument, 99);
    check("<Pe", ReadNotDocument, 99);
    auto d = NewDocument();
    std::uint8_t v = 0;
    EXPECT_EQ(ReadDocument(dir.file("missing.pel"), *d, v, ReadModeOpen), ReadCannotOpen);
    WriteFileBytes(dir.file("empty.pel"), "");
    EXPECT_EQ(ReadDocument(dir.file("empty.pel"), *d, v, ReadModeOpen), ReadNotDocument);
}

TEST_F(DocumentRead, MalformedFilesFailCleanlyAndChangeNothing) {
    TempDir dir;
    const auto small = SmallDocument();
    const auto lines = SplitLines(Text(*small));
    auto expectMalformed = [&](std::vector<std::string> l, const char* what) {
        const std::string name = dir.file("bad.pel");
        WriteFileBytes(name, JoinLines(l));
        auto d = SmallDocument();
        d->Caption = "kept";
        const std::string before = Text(*d);
        std::uint8_t v = 0;
        EXPECT_EQ(ReadDocument(name, *d, v, ReadModeOpen), ReadMalformed) << what;
        EXPECT_EQ(Text(*d), before) << what;
    };
    auto l = lines;
    l[1] = "51" + std::string(26, '0');
    expectMalformed(l, "count above the capacity");
    l = lines;
    l[1] = "0101";
    expectMalformed(l, "short count line");
    l = lines;
    l[6] = "256000000";
    expectMalformed(l, "colour channel above 255");
    l = lines;
    l[28] = "1000";
    expectMalformed(l, "short window line");
    l = lines;
    l[33] = "-1" + std::string(26, '0');
    expectMalformed(l, "negative role byte");
    l = lines;
    l[55] = "300";  // layer of the point
    expectMalformed(l, "byte above 255");
    l = lines;
    l[58] = "abc";  // picture X of the point
    expectMalformed(l, "real that does not convert");
    // Cut anywhere before the last block line: never read past the end.
    for (std::size_t n = 1; n + 1 < lines.size(); n += 7)
        expectMalformed(std::vector<std::string>(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(n)),
                        "truncated");
}

TEST_F(DocumentRead, RandomDamageNeverCrashes) {
    TempDir dir;
    const auto d0 = DocumentOfEveryKind(1);
    const auto lines = SplitLines(Text(*d0));
    std::mt19937 rng(12345);
    const char* junk[] = {"", "0", "-1", "255", "256", "99999999999", "1E308", "-1E308", "NAN", "x", "\xE8",
                          "\xEB", "1,5", "#", "300#", "-2147483648", "2147483647", "7"};
    const std::string name = dir.file("fuzz.pel");
    for (int it = 0; it < 60; ++it) {
        auto l = lines;
        for (int k = 0; k < 3; ++k) {
            const std::size_t i = 1 + rng() % (l.size() - 1);
            l[i] = junk[rng() % std::size(junk)];
        }
        WriteFileBytes(name, JoinLines(l));
        auto d = NewDocument();
        std::uint8_t v = 0;
        const std::uint8_t r = ReadDocument(name, *d, v, ReadModePreview);
        EXPECT_TRUE(r == ReadOk || r == ReadMalformed) << int(r);
    }
}

TEST_F(DocumentRead, OldOrientationIsFlippedOnce) {
    TempDir dir;
    auto d = NewDocument();
    d->Im.Height = 600;
    d->Im.YOrient = 1;
    DPoint p = MakePoint(1);
    p.LabelAngle.v = 30;
    const double z = p.Z.v;
    d->Obj.Po.add(p);
    const std::string name = dir.file("old.pel");
    ASSERT_TRUE(WriteDocument(name, *d, WriteModeDocument, Ctx()));
    EXPECT_EQ(SplitLines(ReadFileBytes(name))[7], "1");
    auto back = NewDocument();
    std::uint8_t v = 0;
    ASSERT_EQ(ReadDocument(name, *back, v, ReadModeOpen), ReadOk);
    EXPECT_EQ(back->Im.YOrient, 2);
    EXPECT_DOUBLE_EQ(back->Obj.Po[1].Z.v, z + 600);
    EXPECT_EQ(back->Obj.Po[1].LabelAngle.v, -30);
    ASSERT_TRUE(WriteDocument(name, *back, WriteModeDocument, Ctx()));
    EXPECT_EQ(SplitLines(ReadFileBytes(name))[7], "2");
    ASSERT_EQ(ReadDocument(name, *back, v, ReadModeOpen), ReadOk);
    EXPECT_DOUBLE_EQ(back->Obj.Po[1].Z.v, z + 600);
}

TEST_F(DocumentRead, WorkingCopiesTurnOnlyWithAnOpenedDocument) {
    TempDir dir;
    auto d = NewDocument();
    d->Im.YOrient = 1;
    d->Im.Height = 100;
    const std::string name = dir.file("old.pel");
    ASSERT_TRUE(WriteDocument(name, *d, WriteModeDocument, Ctx()));
    WorkingCopies work;
    work.CurPoint.Z.v = 5;
    DocumentContext ctx = Ctx();
    ctx.Work = &work;
    auto scratch = NewDocument();
    std::uint8_t v = 0;
    ASSERT_EQ(ReadDocument(name, *scratch, v, ReadModeDefaults, ctx), ReadOk);
    EXPECT_DOUBLE_EQ(work.CurPoint.Z.v, 5);
    ASSERT_EQ(ReadDocument(name, *scratch, v, ReadModeOpen, ctx), ReadOk);
    EXPECT_DOUBLE_EQ(work.CurPoint.Z.v, 105);
}

TEST_F(DocumentRead, FillPictureFlagOfTheOpenDocument) {
    TempDir dir;
    auto filled = NewDocument();
    filled->Obj.Tr.add(MakeTriangle(2));  // fill on
    auto plain = NewDocument();
    const std::string a = dir.file("filled.pel"), b = dir.file("plain.pel");
    ASSERT_TRUE(WriteDocument(a, *filled, WriteModeClipboard, Ctx()));
    ASSERT_TRUE(WriteDocument(b, *plain, WriteModeClipboard, Ctx()));
    auto proj = NewDocument();
    DocumentContext ctx = Ctx();
    ctx.Proj = proj.get();
    auto scratch = NewDocument();
    std::uint8_t v = 0;
    for (const std::uint8_t mode : {ReadModeDefaults, ReadModeLoadDefaults, ReadModePaste, ReadModePreview}) {
        proj->FillValid = 1;
        ASSERT_EQ(ReadDocument(b, *scratch, v, mode, ctx), ReadOk);
        EXPECT_EQ(proj->FillValid, 1) << int(mode);
        ASSERT_EQ(ReadDocument(a, *scratch, v, mode, ctx), ReadOk);
        EXPECT_EQ(proj->FillValid, 0) << int(mode);
    }
    // Opening without a fill picture object: the picture is stale.
    proj->FillValid = 1;
    ASSERT_EQ(ReadDocument(b, *proj, v, ReadModeOpen, ctx), ReadOk);
    EXPECT_EQ(proj->FillValid, 0);
}

TEST_F(DocumentRead, BoundReaderFitsTheDefaultLoaders) {
    TempDir dir;
    const std::string name = dir.file("DePoint.set");
    auto d = NewDocument();
    d->Obj.Po.add(MakePoint(4));
    ASSERT_TRUE(WriteDocument(name, *d, WriteModeDefaultSet, Ctx()));
    DocumentContext ctx = Ctx();
    const auto reader = BindDocumentReader(&ctx);
    auto scratch = NewDocument();
    std::uint8_t v = 0;
    ASSERT_EQ(reader(name, *scratch, v, ReadModeDefaults), ReadOk);
    EXPECT_EQ(v, 19);
    EXPECT_EQ(scratch->Obj.Po[1].ID.s, "Point №4");
    EXPECT_EQ(BindDocumentReader(nullptr)(dir.file("none.set"), *scratch, v, ReadModeDefaults), ReadCannotOpen);
}

TEST_F(DocumentWrite, EveryKindThroughTheFileAndBack) {
    TempDir dir;
    const auto d = DocumentOfEveryKind(2);
    const std::string name = dir.file("Чертёж №1.pel");
    ASSERT_TRUE(WriteDocument(name, *d, WriteModeDocument, Ctx()));
    EXPECT_FALSE(std::filesystem::exists(name + ".tmp~"));
    auto back = NewDocument();
    std::uint8_t v = 0;
    ASSERT_EQ(ReadDocument(name, *back, v, ReadModeOpen), ReadOk);
    const auto a = SplitLines(Text(*back)), b = SplitLines(Text(*d));
    ASSERT_EQ(a.size(), b.size());
    int shown = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && shown++ < 10) {
            std::size_t h = i;
            while (h > 0 && (b[h].empty() || b[h][0] != '<')) --h;
            ADD_FAILURE() << "line " << i + 1 << " (" << i - h << " after " << Cp1251ToUtf8(b[h]) << "): " << a[i]
                          << " vs " << b[i];
        }
    EXPECT_EQ(back->Obj.Xz[2].Surf3More[1].s, "sin(t)");
    EXPECT_EQ(back->Caption, "Чертёж №1");
    const std::string bytes = ReadFileBytes(name);
    EXPECT_NE(bytes.find("<POINT \xB9" "2>\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\xD7\xE5\xF0\xF2\xB8\xE6 \xB9" "1\r\n"), std::string::npos);  // the caption in code page 1251
}

TEST_F(DocumentWrite, RoleBytesComeFromTheOpenDocument) {
    TempDir dir;
    auto proj = NewDocument();
    proj->Role = {0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    auto clip = NewDocument();
    clip->Role = {9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9};
    DocumentContext ctx = Ctx();
    ctx.Proj = proj.get();
    ctx.Windows = [] {
        LiveWindows w;
        w.DialogOpen[13] = true;
        return w;
    };
    const std::string name = dir.file("ClipBoard.pel");
    ASSERT_TRUE(WriteDocument(name, *clip, WriteModeClipboard, ctx));
    const auto l = SplitLines(ReadFileBytes(name));
    EXPECT_EQ(l[33], "0003" + std::string(24, '0'));
    EXPECT_EQ(l[32], "0014");
}

TEST_F(DocumentWrite, FailureLeavesTheOldFileAndTellsTheUser) {
    TempDir dir;
    const std::string target = dir.file("busy.pel");
    std::filesystem::create_directory(target);  // a folder stands where the file should go
    std::string shown;
    DocumentContext ctx = Ctx();
    ctx.ShowMessage = [&](const std::string& m) { shown = m; };
    const auto d = SmallDocument();
    EXPECT_FALSE(WriteDocument(target, *d, WriteModeDocument, ctx));
    EXPECT_EQ(shown, "Не могу сохранить файл!\n\r" + target + ": на месте файла папка");
    EXPECT_TRUE(std::filesystem::is_directory(target));
    EXPECT_FALSE(std::filesystem::exists(target + ".tmp~"));
    shown.clear();
    EXPECT_FALSE(WriteDocument(dir.file("no/such/folder/x.pel"), *d, WriteModeDocument, ctx));
    EXPECT_FALSE(shown.empty());
}

// The exact bytes of a small document under a comma separator.
TEST_F(DocumentWrite, GoldenSmallDocument) {
    const auto d = SmallDocument();
    const std::string text = Text(*d);
    const std::string golden = ReadFileBytes(std::string(PELMAR_TEST_DATA) + "/doc_small.pel");
    if (std::getenv("PELMAR_UPDATE_GOLDEN")) WriteFileBytes(std::string(PELMAR_TEST_DATA) + "/doc_small.pel", text);
    ASSERT_FALSE(golden.empty());
    EXPECT_EQ(text, golden);
}

// Byte 0x98 has no character in the code page; an ID holding it (written
// elsewhere) reads and saves back byte for byte, and a save says nothing of it.
TEST_F(DocumentRead, ByteWithoutCharacterInAnIdSurvivesReadAndSave) {
    auto d = SmallDocument();
    d->Obj.Po[1].ID.s = "IDMARK";
    std::string bytes = Text(*d);
    const std::size_t at = bytes.find("IDMARK");
    ASSERT_NE(at, std::string::npos);
    bytes.replace(at, 6, "A\x98Z\x98");
    auto back = NewDocument();
    std::uint8_t v = 0;
    ASSERT_EQ(ParseDocumentText(bytes, *back, v, kSep), ReadOk);
    EXPECT_EQ(back->Obj.Po[1].ID.s, "A\xC2\x98Z\xC2\x98");
    EXPECT_TRUE(TextsChangedOnSave(*back).empty());
    EXPECT_EQ(Text(*back), bytes);
}

}  // namespace
