// Text measurement and placement shared by the canvases that draw real text
// (QtCanvas, EmfCanvas, the in-memory picture).  Needs a QGuiApplication.
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/canvas.h"

namespace pelmar {

QFont MakeQFont(const Font& font, bool antialias);

// The text's box for drawText: its top-left corner, its size and the
// baseline below the top.
struct TextPlacement {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    double ascent = 0;
};

// True for the family name "Symbol" in any letter case.
bool IsSymbolFamily(const std::string& family);

// The Latin letters of `text` replaced by the Greek letters that the Symbol
// font shows for them ("a" is alpha, "j" the open phi, "V" the final sigma);
// every other character stays.
QString SymbolLettersToGreek(const QString& text);

// The characters to draw for `text` in `font` and the font to draw them with
// (`resolved`, made by MakeQFont).  Other fonts keep both.  For "Symbol" a
// font in the Symbol encoding (the real one or a stand-in such as "Standard
// Symbols PS") shows the Latin letters as Greek, and the Greek letters are
// turned to those codes; any other stand-in gets the Greek letters, drawn
// with a family that has them when the stand-in has none.
QString ShownText(const Font& font, QFont& resolved, const std::string& text);

// Metrics of the fonts a canvas uses, kept per font together with the widths
// of the texts measured in it.  The cache empties itself when the machine's
// fonts change (fonts installed or removed while the program runs).
class TextMetrics {
public:
    TextMetrics();
    ~TextMetrics();
    TextMetrics(const TextMetrics&) = delete;
    TextMetrics& operator=(const TextMetrics&) = delete;

    // Width of the shown text and line spacing; an empty text measures 0 x 0.
    SizeF measure(const Font& font, const std::string& text);
    TextPlacement place(const Font& font, const std::string& text, PointF at, TextFormat format);
    // The Qt font (anti-aliased) and the characters to draw.
    const QFont& qfont(const Font& font);
    QString shown(const Font& font, const std::string& text);

    std::size_t fontCount() const { return fonts_.size(); }
    void clear();

private:
    struct Entry;
    Entry& entry(const Font& font);
    double width(Entry& e, const std::string& text);

    std::unordered_map<std::string, std::unique_ptr<Entry>> fonts_;
    std::uint64_t generation_ = 0;
};

// One-off measurement and placement (without a cache).
SizeF MeasureTextQt(const Font& font, const std::string& text);
TextPlacement PlaceText(const Font& font, const std::string& text, PointF at, TextFormat format);

}  // namespace pelmar
