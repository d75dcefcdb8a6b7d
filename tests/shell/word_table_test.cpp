#include "files/word_table.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "editing/fake_hosts.h"
#include "files/text_lines.h"
#include "transform/trans_editing.h"
#include "support/no_read_override.h"
#include "shell_test_util.h"

namespace pelmar {
namespace {

using test::ReadBytes;
using test::Scratch;
using test::TestWord;
using test::TranslationBytes;
using test::WriteBytes;

const std::set<int> kTitles = {7,   65,  76,  87,  116, 168, 177, 186, 205, 213, 253, 308, 327, 354, 385, 404,
                               421, 434, 446, 464, 480, 492, 558, 562, 566, 570, 578, 588, 607, 636, 659, 662};

// A table loaded from a full test translation, so that a failed load shows
// as texts that stayed.
WordTable ForeignTable(const Scratch& s) {
    const std::string file = s.path("foreign.trs");
    WriteBytes(file, TranslationBytes(LastWordLine, TestWord));
    WordTable w;
    EXPECT_TRUE(w.LoadWords(file));
    EXPECT_EQ(w.WordLine(5), "слово 5");
    return w;
}

void ExpectBuiltIn(const WordTable& w) {
    for (int n = FirstWordLine; n <= LastWordLine; ++n) {
        const char* t = BuiltInWord(n);
        ASSERT_EQ(w.WordLine(n), t ? t : "") << "line " << n;
    }
}

TEST(WordTableBuiltIn, TitleLinesAreExactlyTheGroupHeads) {
    std::set<int> titles;
    int texts = 0;
    for (int n = FirstWordLine; n <= LastWordLine; ++n) {
        if (IsTitleLine(n)) titles.insert(n);
        if (BuiltInWord(n)) ++texts;
    }
    EXPECT_EQ(titles, kTitles);
    EXPECT_EQ(texts, WordTextCount);
    EXPECT_FALSE(IsTitleLine(5));
    EXPECT_FALSE(IsTitleLine(6));
    EXPECT_FALSE(IsTitleLine(0));
    EXPECT_FALSE(IsTitleLine(686));
    EXPECT_EQ(BuiltInWord(4), nullptr);
    EXPECT_EQ(BuiltInWord(686), nullptr);
}

// Words on both sides of group boundaries: a table shifted by one line
// anywhere fails here.
TEST(WordTableBuiltIn, WordsSitOnTheirLines) {
    WordTable w;
    ASSERT_TRUE(w.LoadWords(""));
    const std::vector<std::pair<int, std::string>> expect = {
        {6, "Июнь, 2022"},
        {8, "Файл"},
        {64, "О программе"},
        {66, "О программе"},
        {67, "Пелмар"},
        {68, "23 Июня, 2022"},
        {70, "Программа для создания математических чертежей"},
        {75, "Память, занимаемая Пелмаром:"},
        {88, "Опции программы"},
        {90, "Параметры \"отмены\""},
        {111, "Группу \"Помощь\""},
        {115, "Дата перевода:"},
        {117, "Опции проекта"},
        {167, "Отмена"},
        {169, "Копирование объекта(ов)"},
        {185, "Нет"},
        {204, "Отмена"},
        {212, "Название:"},
        {220, "Параметры экспорта в "},
        {234, "Не найдена программа для файлов "},
        {235, ".\n\rСохранить файл, не открывая его?"},
        {237, "Слой "},
        {252, "Рисую XYZ..."},
        {254, "Новый проект"},
        {304, "Разместить окна \"по умолчанию\""},
        {307, "О программе"},
        {309, "Преобразования"},
        {326, "Плоскость"},
        {328, "Изображение"},
        {353, "Градиент не построен"},
        {355, "Слой:"},
        {384, "Отмена"},
        {386, "Угол:"},
        {403, "Центр"},
        {405, "Высота:"},
        {420, "Повернуть на угол"},
        {422, "Точка"},
        {433, "Применить ко всем точкам проекта"},
        {442, "Точка №1"},
        {447, "Эллипс / Окружность"},
        {465, "Треугольник"},
        {491, "Диагональ 2-4"},
        {493, "Система координат 2D"},
        {557, "Чем больше этот шаг, тем быстрее строится контур, но менее точно."},
        {559, "Сфера"},
        {563, "Цилиндр"},
        {569, "Дополн. 2"},
        {571, "Треугольная пирамида"},
        {579, "Треугольная призма"},
        {587, "Неправильная"},
        {589, "Радиус"},
        {606, "Сф. вписанная"},
        {608, "Все точки"},
        {619, "Стрелки"},
        {623, "Файл уже существует! Заменить его?"},
        {624, "Файл был изменен! Сохранить его?"},
        {627, "Открываемый файл не является файлом программы \"Пелмар\"!"},
        {630, "Открываемый файл является файлом более ранней версии программы \"Пелмар\","},
        {635, "В системе не установлен ни один принтер!"},
        {637, "Анимация"},
        {658, "Анимация уравнения"},
        {660, "Заливка"},
        {661, "Измените опцию проекта!"},
        {663, "Точка"},
        {685, "Нельзя удалять сгруппированные объекты"},
    };
    for (const auto& [line, text] : expect) EXPECT_EQ(w.WordLine(line), text) << "line " << line;
    // Unused lines are empty, the translator is some name.
    for (int n : {63, 77, 86, 306, 620, 621, 622}) EXPECT_EQ(w.WordLine(n), "") << "line " << n;
    EXPECT_FALSE(w.WordLine(5).empty());
}

TEST(WordTableBuiltIn, TitleAndOutOfRangeLinesReadEmpty) {
    WordTable w;
    EXPECT_EQ(w.WordLine(624), "");  // empty before the first load
    ASSERT_TRUE(w.LoadWords(""));
    for (int n : kTitles) EXPECT_EQ(w.WordLine(n), "") << "line " << n;
    for (int n : {-1, 0, 1, 4, 686, 100000}) EXPECT_EQ(w[n], "") << "line " << n;
}

// Every built-in text survives the trip into the file code page and back,
// so a translation file made from the built-in table reads back the same.
TEST(WordTableBuiltIn, TextsRoundTripThroughTheFileCodePage) {
    Scratch s;
    const std::string file = s.path("russian.trs");
    WriteBytes(file, TranslationBytes(LastWordLine, [](int n) {
                   const char* t = BuiltInWord(n);
                   if (n <= 4) return TestWord(n);
                   const std::string text = t ? t : "заголовок";
                   return text.find('\n') == std::string::npos ? text : std::string("две строки");
               }));
    WordTable w;
    ASSERT_TRUE(w.LoadWords(file));
    for (int n = FirstWordLine; n <= LastWordLine; ++n) {
        const char* t = BuiltInWord(n);
        const std::string want = t ? t : "";
        if (want.find('\n') != std::string::npos) continue;  // a line feed cannot stand in a line
        EXPECT_EQ(Cp1251ToUtf8(Utf8ToCp1251(want)), want) << "line " << n;
        EXPECT_EQ(w.WordLine(n), want) << "line " << n;
    }
}

TEST(WordTableFile, FullFileFillsEveryLineAndDropsTitles) {
    Scratch s;
    const std::string odd = s.path("odd.trs");
    const std::string repeat = s.path("repeat.trs");
    // Title lines with free text, and the same file with each title line
    // repeating the word that follows it.
    WriteBytes(odd, TranslationBytes(LastWordLine, [](int n) {
                   return IsTitleLine(n) ? "Группа «" + std::to_string(n) + "»" : TestWord(n);
               }));
    WriteBytes(repeat, TranslationBytes(LastWordLine, [](int n) { return TestWord(IsTitleLine(n) ? n + 1 : n); }));
    WordTable a, b;
    ASSERT_TRUE(a.LoadWords(odd));
    ASSERT_TRUE(b.LoadWords(repeat));
    for (int n = FirstWordLine; n <= LastWordLine; ++n) {
        EXPECT_EQ(a.WordLine(n), IsTitleLine(n) ? "" : TestWord(n)) << "line " << n;
        EXPECT_EQ(a.WordLine(n), b.WordLine(n)) << "line " << n;
    }
}

TEST(WordTableFile, LinesAfterLine685AreIgnored) {
    Scratch s;
    const std::string file = s.path("long.trs");
    WriteBytes(file, TranslationBytes(LastWordLine + 40, TestWord));
    WordTable w;
    ASSERT_TRUE(w.LoadWords(file));
    EXPECT_EQ(w.WordLine(685), "слово 685");
    EXPECT_EQ(w.WordLine(686), "");
}

TEST(WordTableFile, ShortFileLeavesTheRestEmpty) {
    Scratch s;
    const std::string file = s.path("short.trs");
    WriteBytes(file, TranslationBytes(400, [](int n) { return n == 300 ? std::string("Т") : TestWord(n); }));
    WordTable w = ForeignTable(s);  // all lines set before
    ASSERT_TRUE(w.LoadWords(file));
    EXPECT_EQ(w.WordLine(300), "Т");
    EXPECT_EQ(w.WordLine(400), "слово 400");
    for (int n = 401; n <= LastWordLine; ++n) ASSERT_EQ(w.WordLine(n), "") << "line " << n;

    // A file of the header only, and an empty file: every word empty.
    for (const std::string& bytes : {TranslationBytes(4, TestWord), std::string()}) {
        WriteBytes(file, bytes);
        WordTable e = ForeignTable(s);
        ASSERT_TRUE(e.LoadWords(file));
        for (int n = FirstWordLine; n <= LastWordLine; ++n) ASSERT_EQ(e.WordLine(n), "") << "line " << n;
    }
}

TEST(WordTableFile, LineEndsAndBlanksAreKept) {
    Scratch s;
    const std::string file = s.path("ends.trs");
    // LF only, CR LF, blanks at both ends, an empty line, no end on the last.
    WriteBytes(file, Utf8ToCp1251("a\nb\r\nc\nd\n  Слово  \r\n\n\tx \nпоследняя"));
    WordTable w;
    ASSERT_TRUE(w.LoadWords(file));
    EXPECT_EQ(w.WordLine(5), "  Слово  ");
    EXPECT_EQ(w.WordLine(6), "");
    EXPECT_EQ(w.WordLine(7), "");  // a title line: its text is dropped
    EXPECT_EQ(w.WordLine(8), "последняя");
    EXPECT_EQ(w.WordLine(9), "");
}

TEST(WordTableFile, ShippedSampleInCodePage1251) {
    const std::string file = std::string(PELMAR_TEST_DATA) + "/words_short.trs";
    WordTable w;
    ASSERT_TRUE(w.LoadWords(file));
    EXPECT_EQ(w.WordLine(5), "Тестовый Переводчик");
    EXPECT_EQ(w.WordLine(6), "Декабрь, 2026");
    EXPECT_EQ(w.WordLine(7), "");  // "Главное меню" stands on a title line
    EXPECT_EQ(w.WordLine(8), "Файл-тест");
    EXPECT_EQ(w.WordLine(9), "Новый «проект» №1");
    EXPECT_EQ(w.WordLine(10), "Открыть ");
    EXPECT_EQ(w.WordLine(11), "");
    // Back in the code page, the words are the file's own bytes.
    const std::string bytes = ReadBytes(file);
    for (int n : {5, 6, 8, 9, 10})
        EXPECT_NE(bytes.find("\r\n" + Utf8ToCp1251(w.WordLine(n)) + "\r\n"), std::string::npos) << "line " << n;
    EXPECT_NE(bytes.find("\xB9" "1"), std::string::npos);  // "№" is one byte
}

TEST(WordTableFile, GarbageBytesLoadWithoutHarm) {
    Scratch s;
    const std::string file = s.path("garbage.trs");
    std::string bytes;
    unsigned v = 12345;
    for (int i = 0; i < 20000; ++i) {
        v = v * 1103515245u + 12345u;
        bytes += static_cast<char>((v >> 16) & 0xFF);
    }
    bytes += std::string("\r\n\x98\x00\xFF", 5);
    WriteBytes(file, bytes);
    WordTable w;
    ASSERT_TRUE(w.LoadWords(file));
    for (int n = FirstWordLine; n <= LastWordLine; ++n) {
        const std::string& t = w.WordLine(n);
        // Valid UTF-8 whatever came in: converting to the code page and
        // back changes nothing.
        ASSERT_EQ(Cp1251ToUtf8(Utf8ToCp1251(t)), t) << "line " << n;
    }
}

// Whatever stands at a translation's name that is no readable regular file -
// nothing, a folder, a named pipe with no writer, a link to an endless
// device, a file the user may not read - the load and the language list's
// look at its head end soon and read nothing: the table keeps its texts.
TEST(WordTableFile, UnopenableFileKeepsTheTable) {
    namespace fs = std::filesystem;
    const struct {
        const char* what;
        std::function<void(const std::string&)> make;
    } rows[] = {
        {"missing", [](const std::string&) {}},
        {"a folder", [](const std::string& p) { fs::create_directories(p + "/inside"); }},
        {"a named pipe", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }},
        {"a link to /dev/zero", [](const std::string& p) { fs::create_symlink("/dev/zero", p); }},
        {"mode 000",
         [](const std::string& p) {
             WriteBytes(p, TranslationBytes(LastWordLine, [](int n) { return "новое " + std::to_string(n); }));
             ::chmod(p.c_str(), 0);
         }},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        Scratch s;
        WordTable w = ForeignTable(s);
        const std::string file = s.path("bad.trs");
        r.make(file);
        auto read = std::async(std::launch::async, [&] {
            test::NoReadOverride asAUser;
            TranslationHeader h;
            return std::make_pair(w.LoadWordsFile(file), ReadTranslationHeader(file, h));
        });
        const bool soon = read.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
        if (!soon) ::close(::open(file.c_str(), O_WRONLY | O_NONBLOCK));  // frees a reader stuck on the pipe
        EXPECT_TRUE(soon);
        EXPECT_EQ(read.get(), std::make_pair(WordsLoad::CannotOpen, false));
        EXPECT_EQ(w.WordLine(5), "слово 5");
        EXPECT_EQ(w.WordLine(685), "слово 685");
    }
    // The built-in texts replace every word, translator and date included.
    Scratch s;
    WordTable w = ForeignTable(s);
    ASSERT_TRUE(w.LoadWords(""));
    ExpectBuiltIn(w);
}

TEST(WordTableFile, ReadErrorKeepsTheWholeTable) {
    // Reading this process's memory from address 0 fails after the open.
    const int probe = ::open("/proc/self/mem", O_RDONLY);
    if (probe < 0) GTEST_SKIP() << "no /proc/self/mem";
    ::close(probe);
    Scratch s;
    WordTable w = ForeignTable(s);
    EXPECT_EQ(w.LoadWordsFile("/proc/self/mem"), WordsLoad::ReadError);
    for (int n = FirstWordLine; n <= LastWordLine; ++n)
        ASSERT_EQ(w.WordLine(n), IsTitleLine(n) ? "" : TestWord(n)) << "line " << n;
}

TEST(WordTableFile, OversizedFileIsRefusedUnlessItsWordsComeFirst) {
    Scratch s;
    WordTable w = ForeignTable(s);
    const std::string file = s.path("huge.trs");
    // One endless line 5: the words never end inside the read limit.
    WriteBytes(file, TranslationBytes(4, TestWord) + std::string(MaxTranslationBytes, 'x'));
    EXPECT_EQ(w.LoadWordsFile(file), WordsLoad::ReadError);
    EXPECT_EQ(w.WordLine(5), "слово 5");
    // 685 proper lines followed by a mass of further bytes load well.
    WriteBytes(file, TranslationBytes(LastWordLine, [](int n) { return "новое " + std::to_string(n); }) +
                         std::string(MaxTranslationBytes, 'y'));
    EXPECT_EQ(w.LoadWordsFile(file), WordsLoad::Ok);
    EXPECT_EQ(w.WordLine(685), "новое 685");
}

TEST(TranslationHeader, OnlyTheExactSignatureAndVersionPass) {
    Scratch s;
    const std::string file = s.path("h.trs");
    auto header = [&](const std::string& bytes, TranslationHeader& h) {
        WriteBytes(file, bytes);
        return ReadTranslationHeader(file, h);
    };
    TranslationHeader h;
    ASSERT_TRUE(header(TranslationBytes(LastWordLine, TestWord), h));
    EXPECT_EQ(h.name, "Тестовый");
    EXPECT_EQ(h.code, "TST");
    ASSERT_TRUE(header("<Pelmar Translate>\r\n6.0f\r\nEnglish\r\nENGLISH\r\n", h));
    EXPECT_EQ(h.code, "ENG");
    ASSERT_TRUE(header(Utf8ToCp1251("<Pelmar Translate>\n6.0f\nРусский\nРУСС\n"), h));
    EXPECT_EQ(h.name, "Русский");
    EXPECT_EQ(h.code, "РУС");  // three characters, not three bytes
    ASSERT_TRUE(header("<Pelmar Translate>\r\n6.0f", h));
    EXPECT_EQ(h.name, "");
    EXPECT_EQ(h.code, "");

    EXPECT_FALSE(header("<Pelmar Translate>\r\n6.0\r\nX\r\nENG\r\n", h));
    EXPECT_FALSE(header("<Pelmar Translate>\r\n6.0f \r\nX\r\nENG\r\n", h));
    EXPECT_FALSE(header("<Pelmar Translate> \r\n6.0f\r\nX\r\nENG\r\n", h));
    EXPECT_FALSE(header("<pelmar translate>\r\n6.0f\r\nX\r\nENG\r\n", h));
    EXPECT_FALSE(header("<Pelmar Translate>\r\n", h));
    EXPECT_FALSE(header("", h));
    EXPECT_FALSE(ReadTranslationHeader(s.path("none.trs"), h));
}

TEST(TranslationHeader, TheLoaderDoesNotCheckIt) {
    Scratch s;
    const std::string file = s.path("nohead.trs");
    WriteBytes(file, TranslationBytes(10, [](int n) { return n <= 2 ? std::string("junk") : TestWord(n); }));
    TranslationHeader h;
    EXPECT_FALSE(ReadTranslationHeader(file, h));
    WordTable w;
    ASSERT_TRUE(w.LoadWords(file));
    EXPECT_EQ(w.WordLine(8), "слово 8");
}

// The program's own messages speak the interface's language, Russian under the built-in words and without a table.
TEST(OwnMessages, SpeakTheInterfacesLanguage) {
    WordTable russian, english;
    russian.LoadWords("");
    ASSERT_TRUE(english.LoadWords(PELMAR_TEST_DATA "/../../share/pelmar/Translation/English.trs"));
    const std::string ru = "Коэффициент гомотетии по модулю меньше 0,000001: объекты сжались бы в точку. Объекты не "
                           "изменены.|Неверное число: \"x\"|Эти тексты "
                           "нельзя сохранить как есть, в файле они будут изменены:\nСохранить с этими изменениями?",
                      en = "The homothety factor is below 0.000001 either way: the objects would shrink to a point. "
                           "The objects are not changed.|Not a number: \"x\"|These texts "
                           "cannot be saved as they are; the file will hold them changed:\nSave with these changes?";
    for (const WordTable* w : std::initializer_list<const WordTable*>{nullptr, &russian, &english}) {
        test::Editing e;
        e->Words = w;
        EditingTransHost host(*e);
        ApplyTransformation(*e.doc, TransTab::Homothety, {"0", "0", "0", "0"}, TransScope{true}, host);
        ApplyTransformation(*e.doc, TransTab::Mirror, {"x"}, TransScope{true}, host);
        const std::string question = SaveChangesQuestion({}, w ? *w : russian);
        EXPECT_EQ(e.messages.shown.at(0) + "|" + e.messages.shown.at(1) + "|" + question, w == &english ? en : ru);
        EXPECT_NE(SaveChangesQuestion({{"<POINT №2>", "ID", "€", "?"}}, w ? *w : russian).find(", ID: «€» → «?»\n"),
                  std::string::npos) << "the field named as the dialog labels it";
    }
}

}  // namespace
}  // namespace pelmar
