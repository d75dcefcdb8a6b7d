#include "platform/qt_text.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QRawFont>
#include <QPointer>
#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <cmath>

namespace pelmar {

namespace {

// What the Symbol font shows for "A".."Z" and "a".."z".  The two phi forms
// follow the glyphs: "f" is the stroked phi, "j" the open one.
constexpr std::array<char16_t, 26> GreekCapitals{
    0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393, 0x0397, 0x0399, 0x03D1, 0x039A, 0x039B, 0x039C,
    0x039D, 0x039F, 0x03A0, 0x0398, 0x03A1, 0x03A3, 0x03A4, 0x03A5, 0x03C2, 0x03A9, 0x039E, 0x03A8, 0x0396};
constexpr std::array<char16_t, 26> GreekSmall{
    0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03D5, 0x03B3, 0x03B7, 0x03B9, 0x03C6, 0x03BA, 0x03BB, 0x03BC,
    0x03BD, 0x03BF, 0x03C0, 0x03B8, 0x03C1, 0x03C3, 0x03C4, 0x03C5, 0x03D6, 0x03C9, 0x03BE, 0x03C8, 0x03B6};

// Counts the changes of the machine's fonts; a cache made under another
// count is stale.
std::atomic<std::uint64_t> FontGeneration{1};

void WatchFontChanges() {
    static QPointer<QGuiApplication> watched;
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app || watched == app) return;
    watched = app;
    QObject::connect(app, &QGuiApplication::fontDatabaseChanged, [] { ++FontGeneration; });
}

std::string FontKey(const Font& f) {
    const double size = std::isfinite(f.pixelSize) ? std::nearbyint(f.pixelSize) : 1.0;
    return f.family + '\x1f' + std::to_string(static_cast<int>(std::clamp(size, 1.0, 10000.0))) +
           (f.bold ? 'b' : '-') + (f.italic ? 'i' : '-');
}

// A font laid out in the Symbol encoding shows its Greek letters at the
// codes of the Latin ones and has no Unicode Greek.
bool SymbolEncoded(const QFont& resolved) {
    const QString family = QFontInfo(resolved).family();
    if (IsSymbolFamily(family.toStdString())) return true;
    if (!QFontDatabase::writingSystems(family).contains(QFontDatabase::Symbol)) return false;
    const QRawFont raw = QRawFont::fromFont(resolved);
    return raw.isValid() && raw.supportsCharacter(QChar(u'a')) && !raw.supportsCharacter(QChar(GreekSmall[0]));
}

bool HasGreek(const QFont& font) {
    const QRawFont raw = QRawFont::fromFont(font);
    if (!raw.isValid()) return false;
    for (const auto* letters : {&GreekCapitals, &GreekSmall})
        for (char16_t c : *letters)
            if (!raw.supportsCharacter(QChar(c))) return false;
    return true;
}

// A family that has every Greek letter "Symbol" stands for: a serif face
// first, as the Symbol font's letters are.
QString GreekFamily() {
    static const QString found = [] {
        QFont serif(QStringLiteral("Times New Roman"));
        serif.setStyleHint(QFont::Serif);
        if (HasGreek(serif)) return QFontInfo(serif).family();
        for (const QString& family : QFontDatabase::families(QFontDatabase::Greek))
            if (HasGreek(QFont(family))) return family;
        return QString();
    }();
    return found;
}

char16_t LatinOf(char16_t greek) {
    for (std::size_t i = 0; i < GreekCapitals.size(); ++i) {
        if (GreekCapitals[i] == greek) return static_cast<char16_t>(u'A' + i);
        if (GreekSmall[i] == greek) return static_cast<char16_t>(u'a' + i);
    }
    return greek;
}

// How the letters of a text in "Symbol" reach the font it is drawn with.
enum class SymbolMapping { None, ToGreek, ToSymbolCodes };

// The font a text in `font` is drawn with (`resolved` changes to a family
// with the Greek letters when the machine's stand-in has none) and how its
// letters are mapped.
SymbolMapping PrepareSymbol(const Font& font, QFont& resolved) {
    if (!IsSymbolFamily(font.family)) return SymbolMapping::None;
    if (SymbolEncoded(resolved)) return SymbolMapping::ToSymbolCodes;
    if (!HasGreek(resolved)) {
        const QString greek = GreekFamily();
        if (!greek.isEmpty()) resolved.setFamily(greek);
    }
    return SymbolMapping::ToGreek;
}

QString Mapped(SymbolMapping mapping, const QString& text) {
    switch (mapping) {
        case SymbolMapping::None: return text;
        case SymbolMapping::ToGreek: return SymbolLettersToGreek(text);
        case SymbolMapping::ToSymbolCodes: {
            QString out = text;
            for (QChar& c : out) c = QChar(LatinOf(c.unicode()));
            return out;
        }
    }
    return text;
}

double Offset(TextAlign a, double size) {
    switch (a) {
        case TextAlign::Near: return 0.0;
        case TextAlign::Center: return size / 2;
        case TextAlign::Far: return size;
    }
    return 0.0;
}

TextPlacement Placed(double width, double height, double ascent, PointF at, TextFormat format) {
    TextPlacement p;
    p.width = width;
    p.height = height;
    p.ascent = ascent;
    p.left = at.x - Offset(format.horizontal, p.width);
    p.top = at.y - Offset(format.vertical, p.height);
    return p;
}

}  // namespace

QFont MakeQFont(const Font& font, bool antialias) {
    QFont f(QString::fromStdString(font.family));
    const double size = std::isfinite(font.pixelSize) ? std::nearbyint(font.pixelSize) : 1.0;
    f.setPixelSize(static_cast<int>(std::clamp(size, 1.0, 10000.0)));
    f.setBold(font.bold);
    f.setItalic(font.italic);
    // Unhinted outlines keep the measured widths the same on every device.
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(antialias ? QFont::PreferAntialias : QFont::NoAntialias);
    return f;
}

bool IsSymbolFamily(const std::string& family) {
    static const std::string symbol = "symbol";
    return std::equal(family.begin(), family.end(), symbol.begin(), symbol.end(),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

QString SymbolLettersToGreek(const QString& text) {
    QString out = text;
    for (QChar& c : out) {
        const char16_t u = c.unicode();
        if (u >= u'A' && u <= u'Z') c = QChar(GreekCapitals[u - u'A']);
        else if (u >= u'a' && u <= u'z') c = QChar(GreekSmall[u - u'a']);
    }
    return out;
}

QString ShownText(const Font& font, QFont& resolved, const std::string& text) {
    return Mapped(PrepareSymbol(font, resolved), QString::fromStdString(text));
}

struct TextMetrics::Entry {
    explicit Entry(const Font& f) : font(MakeQFont(f, true)), mapping(PrepareSymbol(f, font)), metrics(font) {}
    QFont font;
    SymbolMapping mapping;
    QFontMetricsF metrics;
    std::unordered_map<std::string, double> widths;
};

TextMetrics::TextMetrics() = default;
TextMetrics::~TextMetrics() = default;

void TextMetrics::clear() { fonts_.clear(); }

TextMetrics::Entry& TextMetrics::entry(const Font& font) {
    WatchFontChanges();
    const std::uint64_t now = FontGeneration.load();
    if (now != generation_) {
        fonts_.clear();
        generation_ = now;
    }
    std::unique_ptr<Entry>& e = fonts_[FontKey(font)];
    if (!e) e = std::make_unique<Entry>(font);
    return *e;
}

double TextMetrics::width(Entry& e, const std::string& text) {
    // Labels and axis numbers repeat a few short texts; a long tail of
    // one-off texts must not grow the cache without end.
    constexpr std::size_t MaxTexts = 4096;
    const auto found = e.widths.find(text);
    if (found != e.widths.end()) return found->second;
    const QString q = Mapped(e.mapping, QString::fromStdString(text));
    const double w = e.metrics.horizontalAdvance(q);
    if (e.widths.size() >= MaxTexts) e.widths.clear();
    e.widths.emplace(text, w);
    return w;
}

SizeF TextMetrics::measure(const Font& font, const std::string& text) {
    if (text.empty()) return {};
    Entry& e = entry(font);
    return {width(e, text), e.metrics.lineSpacing()};
}

TextPlacement TextMetrics::place(const Font& font, const std::string& text, PointF at, TextFormat format) {
    Entry& e = entry(font);
    return Placed(text.empty() ? 0.0 : width(e, text), e.metrics.lineSpacing(), e.metrics.ascent(), at, format);
}

const QFont& TextMetrics::qfont(const Font& font) { return entry(font).font; }

QString TextMetrics::shown(const Font& font, const std::string& text) {
    return Mapped(entry(font).mapping, QString::fromStdString(text));
}

SizeF MeasureTextQt(const Font& font, const std::string& text) {
    TextMetrics m;
    return m.measure(font, text);
}

TextPlacement PlaceText(const Font& font, const std::string& text, PointF at, TextFormat format) {
    TextMetrics m;
    return m.place(font, text, at, format);
}

}  // namespace pelmar
