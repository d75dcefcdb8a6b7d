// The question a save asks when the file cannot hold some texts as they are:
// each text named as the user knows it, not by the file's block and field.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "files/document.h"
#include "files/word_table.h"

namespace pelmar {

namespace {

// The block headers of the kinds, in kind order ("<POINT №1>").
constexpr std::array<std::string_view, KindCount> kKindHeaders = {
    "POINT №", "LINE №", "CIRCLE №", "TRIANGLE №", "TETRAGON №", "XOY №", "ORB №",
    "CYLINDER №", "CONE №", "PYRAMID3 №", "PYRAMID4 №", "PRISM3 №", "PRISM4 №", "XYZ №",
};
// The kinds' names in the object list come from word line 33 on.
constexpr int FirstKindWord = 33;

// A part of an object as its block header names it, and its word-table line.
struct PartWord {
    std::string_view header;  // up to the number, if one follows
    WordNo word;
};
const std::array<PartWord, 21> kParts{{
    {"Point ", WordNo(FirstKindWord)},
    {"Center", WordNo::Centre},
    {"Radius ", WordNo::Radius},
    {"Line ", WordNo::Side},
    {"BHM ", WordNo(FirstKindWord + 1)},
    {"Circle Opi", WordNo::Circumcircle},
    {"Circle Vpi", WordNo::Incircle},
    {"Diagonal ", WordNo::Diagonal},
    {"Axes ", WordNo::Axis},
    {"Circle Section ", WordNo::Section},
    {"Circle Outline", WordNo::Contour},
    {"Orb Opi", WordNo::CircumSphere},
    {"Orb Vpi", WordNo::InSphere},
    {"Height", WordNo::Height},
    {"Circle Down", WordNo::LowerBase},
    {"Circle Up", WordNo::UpperBase},
    {"Cut ", WordNo::Section},
    {"Base Down", WordNo::LowerBase},
    {"Base Up", WordNo::UpperBase},
    {"Base", WordNo::Base},
    {"Edge ", WordNo::Face},
}};

// A text field as the dialogs name it: Russian, English.  The object
// dialogs label the ID field "ID:" in every language.
struct FieldWord {
    std::string_view field, russian, english;
};
constexpr std::array<FieldWord, 19> kFields{{
    {"ID", "ID", "ID"},
    {"Name", "имя", "name"},
    {"NameFont", "шрифт имени", "name font"},
    {"Upper", "верхний индекс", "upper index"},
    {"Lower", "нижний индекс", "lower index"},
    {"IndexFont", "шрифт индексов", "index font"},
    {"NumberFont", "шрифт чисел", "number font"},
    {"Anim", "формула анимации", "animation formula"},
    {"Texts7", "формула анимации", "animation formula"},
    {"BoundTexts", "формула анимации границ", "bounds animation formula"},
    {"Graph", "график", "graph"},
    {"Graph2", "график 5, вторая формула", "graph 5, second formula"},
    {"Surf", "поверхность", "surface"},
    {"Surf3More", "поверхность 3, формула", "surface 3, formula"},
    {"BackPicture", "Фоновый рисунок", "Background picture"},
    {"Caption", "Название", "Title"},
    {"Author", "Автор", "Author"},
    {"Notes", "Примечание, строка", "Notes, line"},
    {"AnimStep", "Шаг анимации", "Animation step"},
}};

std::string WordOr(const WordTable& words, WordNo line) {
    const std::string& w = words.WordLine(line);
    return w.empty() ? std::string(BuiltInWord(line)) : w;
}

// "<POINT №3><Point 1>": "Точка 3, Точка 1".
std::string ObjectName(std::string_view header, const WordTable& words) {
    std::string name;
    bool top = true;
    while (!header.empty() && header.front() == '<') {
        const std::size_t close = header.find('>');
        if (close == std::string_view::npos) break;
        const std::string_view part = header.substr(1, close - 1);
        header.remove_prefix(close + 1);
        std::string piece;
        if (top) {
            for (std::size_t k = 0; k < kKindHeaders.size(); ++k)
                if (part.substr(0, kKindHeaders[k].size()) == kKindHeaders[k])
                    piece = WordOr(words, WordNo(FirstKindWord + static_cast<int>(k))) + " " +
                            std::string(part.substr(kKindHeaders[k].size()));
            top = false;
        } else {
            for (const PartWord& p : kParts)
                if (part.substr(0, p.header.size()) == p.header) {
                    piece = WordOr(words, p.word);
                    const std::string_view rest = part.substr(p.header.size());
                    if (!rest.empty() && p.header.back() == ' ') piece += " " + std::string(rest);
                    break;
                }
        }
        if (piece.empty()) continue;
        if (!name.empty()) name += ", ";
        name += piece;
    }
    return name;
}

// "Upper" gives "верхний индекс", "Graph[2]" "график 2".
std::string FieldName(std::string_view field, const WordTable& words) {
    std::string_view index;
    if (const std::size_t open = field.find('['); open != std::string_view::npos) {
        index = field.substr(open + 1, field.size() - open - 2);
        field = field.substr(0, open);
    }
    std::string name(field);
    for (const FieldWord& f : kFields)
        if (f.field == field) name = words.Said(f.russian, f.english);
    if (field == "AnimStart") name = words.Said("Начало анимации", "Animation start");
    if (!index.empty()) {
        // The third surface's further formulas are its second and third.
        if (field == "Surf3More") name += " " + std::to_string(std::atoi(std::string(index).c_str()) + 1);
        else name += " " + std::string(index);
    }
    return name;
}

}  // namespace

std::string SaveChangesQuestion(const std::vector<TextChange>& changes, const WordTable& words) {
    std::string text(words.Said("Эти тексты нельзя сохранить как есть, в файле они будут изменены:",
                                "These texts cannot be saved as they are; the file will hold them changed:"));
    const std::size_t shown = std::min<std::size_t>(changes.size(), 8);
    for (std::size_t i = 0; i < shown; ++i) {
        const TextChange& c = changes[i];
        std::string name = ObjectName(c.object, words);
        const std::string field = FieldName(c.field, words);
        name = name.empty() ? field : name + ", " + field;
        text += "\n" + name + ": «" + c.before + "» → «" + c.after + "»";
    }
    if (changes.size() > shown) {
        text += "\n";
        text += words.Said("… и ещё ", "… and ");
        text += std::to_string(changes.size() - shown);
        text += words.Said("", " more");
    }
    text += "\n";
    text += words.Said("Сохранить с этими изменениями?", "Save with these changes?");
    return text;
}

}  // namespace pelmar
