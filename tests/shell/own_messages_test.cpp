// The program's own messages, which no line of the word table says, speak
// the interface's language: Russian under the built-in words (and where no
// table is given), English under the English translation.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "files/document.h"
#include "files/word_table.h"
#include "shell/picture_settings.h"
#include "transform/trans_apply.h"

namespace pelmar {
namespace {

struct QuietTransHost : TransHost {
    const WordTable* table = nullptr;
    std::string said;
    void showMessage(const std::string& text) override { said = text; }
    const WordTable* words() const override { return table; }
    bool currentObject(Kind&, int&) override { return false; }
    bool isSelected(Kind, int) override { return false; }
    void commitAndRedraw() override {}
};

std::string Transformed(const WordTable* words, TransTab tab, std::vector<std::string> edits) {
    auto doc = NewDocument();
    QuietTransHost host;
    host.table = words;
    ApplyTransformation(*doc, tab, edits, TransScope{true, false, false}, host);
    return host.said;
}

TEST(OwnMessages, SpeakTheInterfacesLanguage) {
    WordTable russian, english;
    russian.LoadWords("");
    ASSERT_TRUE(english.LoadWords(PELMAR_TEST_DATA "/../../share/pelmar/Translation/English.trs"));
    DImProj kept;
    kept.Width = 5000;
    kept.Height = 600;
    kept.Dpi = 96;
    const struct {
        std::function<std::string(const WordTable*)> message;
        std::string russian, english;  // what each begins with
    } cases[] = {
        {[](const WordTable* w) { return TooLargeText(3000, w); }, "Один из размеров файла-фона превышает 3000 пикселей!",
         "A side of the background file exceeds 3000 pixels!"},
        {[&](const WordTable* w) { return PictureLimitText({9000, 600, 96}, kept, w); },
         "Размер рисунка превышает 5000 пикселей и уменьшен до 5000 x 600.",
         "The picture size exceeds 5000 pixels and is reduced to 5000 x 600."},
        {[](const WordTable* w) { return UnholdablePathText("/p/图.jpg", w); }, "Путь к файлу-фону содержит знаки",
         "The path of the background file has characters"},
        {[](const WordTable* w) { return MissingBackgroundText("/p/a.jpg", w); }, "Файл-фон не найден:\n/p/a.jpg",
         "The background file is not found:\n/p/a.jpg"},
        {[](const WordTable* w) { return Transformed(w, TransTab::Homothety, {"0", "0", "0", "0"}); },
         "Коэффициент гомотетии равен нулю", "The homothety factor is zero"},
        {[](const WordTable* w) { return Transformed(w, TransTab::Mirror, {"0", "0", "0", "1"}); },
         "Ось или вектор преобразования равны нулю", "The axis or vector of the transformation is zero"},
        {[](const WordTable* w) { return SaveChangesQuestion({{"<TRIANGLE №2><Line 3><Point 1>", "Upper", "π", "?"}}, *w); },
         "Эти тексты нельзя сохранить как есть, в файле они будут изменены:\nТреугольник 2, Сторона 3, Точка 1, верхний "
         "индекс: «π» → «?»\nСохранить",
         "These texts cannot be saved as they are; the file will hold them changed:\nTriangle 2, Side 3, Point 1, upper "
         "index: «π» → «?»\nSave"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.message(&russian).rfind(c.russian, 0), 0u) << c.message(&russian);
        EXPECT_EQ(c.message(&english).rfind(c.english, 0), 0u) << c.message(&english);
    }
    EXPECT_EQ(TooLargeText(3000), cases[0].russian) << "no table: Russian";
}

}  // namespace
}  // namespace pelmar
