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
#include <vector>

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

// The text a reader of a picture gets for `text` set in "Symbol": every
// character that stands for a Symbol code as that code (U+0020..U+00FE),
// which the Symbol font, and the readers that stand in for it, show as the
// sign; other characters stay.
std::u16string SymbolCodesText(const std::string& text);

// The signs `text` set in "Symbol" shows, as Unicode characters (α for "a",
// ′ for code 0xA2), for readers that lay the text out in fonts of their
// own; characters that stand for no sign stay.
std::string SymbolSignsText(const std::string& text);

// One piece of a shown text, drawn in one font, `x` pixels right of the
// text's left edge on the text's baseline.
struct ShownRun {
    QFont font;
    QString text;
    double x = 0;
};

// A text as the canvases draw it.  Other fonts than "Symbol" draw the text
// as it is in one run.  A text in "Symbol" shows the signs of the Symbol
// codes its characters stand for: the machine's stand-in for the font draws
// those it has (in the Symbol encoding or in Unicode, as it is laid out), and
// every other sign is drawn from a font of the machine that has it.
struct ShownText {
    std::vector<ShownRun> runs;
    double width = 0;  // the advance
    // The box the ink covers, from the top-left corner of the text's box;
    // empty (0 x 0) for a text without ink.
    RectF ink;
};

// Metrics of the fonts a canvas uses, kept per font together with the texts
// shown in it.  The cache empties itself when the machine's fonts change
// (fonts installed or removed while the program runs).
class TextMetrics {
public:
    TextMetrics();
    ~TextMetrics();
    TextMetrics(const TextMetrics&) = delete;
    TextMetrics& operator=(const TextMetrics&) = delete;

    // Width of the shown text and line spacing; an empty text measures 0 x 0.
    SizeF measure(const Font& font, const std::string& text);
    TextPlacement place(const Font& font, const std::string& text, PointF at, TextFormat format);
    // The box the ink of the text covers, from its box's top-left corner.
    RectF ink(const Font& font, const std::string& text);
    // The runs to draw; valid until the next call.
    const ShownText& shown(const Font& font, const std::string& text);

    std::size_t fontCount() const { return fonts_.size(); }
    void clear();

private:
    struct Entry;
    Entry& entry(const Font& font);
    const ShownText& shown(Entry& e, const std::string& text);

    std::unordered_map<std::string, std::unique_ptr<Entry>> fonts_;
    std::uint64_t generation_ = 0;
};

// One-off measurement and placement (without a cache).
SizeF MeasureTextQt(const Font& font, const std::string& text);
TextPlacement PlaceText(const Font& font, const std::string& text, PointF at, TextFormat format);

}  // namespace pelmar
