#include "platform/qt_text.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QPointer>
#include <QRawFont>
#include <algorithm>
#include <atomic>
#include <cctype>
#include <cmath>
#include <mutex>

#include "platform/symbol_encoding.h"

namespace pelmar {

namespace {

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

// A font laid out in the Symbol encoding shows its signs at the codes
// 0x20..0xFF (its Greek letters at the codes of the Latin ones) and has no
// Unicode Greek.
bool SymbolEncoded(const QFont& resolved) {
    const QString family = QFontInfo(resolved).family();
    if (IsSymbolFamily(family.toStdString())) return true;
    if (!QFontDatabase::writingSystems(family).contains(QFontDatabase::Symbol)) return false;
    const QRawFont raw = QRawFont::fromFont(resolved);
    return raw.isValid() && raw.supportsCharacter(QChar(u'a')) && !raw.supportsCharacter(QChar(u'α'));
}

// The family of the machine that shows `sign`: a serif face first, as the
// Symbol font's signs are, then the others in the font database's order,
// leaving out fonts in the Symbol encoding.  Empty when none has it.
QString FamilyShowing(char16_t sign) {
    static std::mutex guard;
    static std::uint64_t generation = 0;
    static QStringList candidates;
    static std::unordered_map<char16_t, QString> found;
    const std::lock_guard<std::mutex> lock(guard);
    if (generation != FontGeneration.load()) {
        generation = FontGeneration.load();
        candidates.clear();
        found.clear();
    }
    if (const auto it = found.find(sign); it != found.end()) return it->second;
    if (candidates.isEmpty()) {
        QFont serif(QStringLiteral("Times New Roman"));
        serif.setStyleHint(QFont::Serif);
        candidates << QFontInfo(serif).family();
        for (const QString& family : QFontDatabase::families())
            if (!candidates.contains(family)) candidates << family;
    }
    QString family;
    for (const QString& candidate : std::as_const(candidates)) {
        const QFont f(candidate);
        const QRawFont raw = QRawFont::fromFont(f);
        if (!raw.isValid() || !raw.supportsCharacter(QChar(sign))) continue;
        if (sign < 0x100 && SymbolEncoded(f)) continue;
        family = candidate;
        break;
    }
    found.emplace(sign, family);
    return family;
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

std::u16string SymbolCodesText(const std::string& text) {
    std::u16string out = QString::fromStdString(text).toStdU16String();
    for (char16_t& c : out) {
        if (QChar::isSurrogate(c)) continue;
        const int code = SymbolCodeOf(c);
        if (code >= 0) c = static_cast<char16_t>(code);
    }
    return out;
}

std::string SymbolSignsText(const std::string& text) {
    std::u16string out = SymbolCodesText(text);
    for (char16_t& c : out) {
        if (QChar::isSurrogate(c) || c < 0x20 || c > 0xFE) continue;
        if (const char16_t sign = SymbolCodeChar(c)) c = sign;
    }
    return QString::fromStdU16String(out).toStdString();
}

struct TextMetrics::Entry {
    explicit Entry(const Font& f)
        : font(MakeQFont(f, true)),
          metrics(font),
          symbol(IsSymbolFamily(f.family)),
          encoded(symbol && SymbolEncoded(font)),
          raw(symbol ? QRawFont::fromFont(font) : QRawFont()) {}
    QFont font;
    QFontMetricsF metrics;
    bool symbol;   // the text's characters stand for Symbol codes
    bool encoded;  // the stand-in is laid out in the Symbol encoding
    QRawFont raw;  // the stand-in, for what it has
    std::unordered_map<std::string, ShownText> texts;
};

namespace {

void AddTo(std::vector<ShownRun>& runs, const QFont& font, QChar c) {
    if (runs.empty() || !(runs.back().font == font)) runs.push_back({font, QString(), 0});
    runs.back().text += c;
}

}  // namespace

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

const ShownText& TextMetrics::shown(Entry& e, const std::string& text) {
    // Labels and axis numbers repeat a few short texts; a long tail of
    // one-off texts must not grow the cache without end.
    constexpr std::size_t MaxTexts = 4096;
    if (const auto found = e.texts.find(text); found != e.texts.end()) return found->second;
    ShownText s;
    const QString q = QString::fromStdString(text);
    if (!e.symbol) {
        if (!q.isEmpty()) s.runs.push_back({e.font, q, 0});
    } else {
        for (const QChar c : q) {
            if (c.isSurrogate()) {
                AddTo(s.runs, e.font, c);
                continue;
            }
            const int code = SymbolCodeOf(c.unicode());
            const QChar sign = code >= 0 ? QChar(SymbolCodeChar(code)) : c;
            if (e.encoded ? code >= 0 && e.raw.supportsCharacter(QChar(code)) : e.raw.supportsCharacter(sign)) {
                AddTo(s.runs, e.font, e.encoded ? QChar(code) : sign);
                continue;
            }
            QFont other = e.font;
            const QString family = FamilyShowing(sign.unicode());
            if (!family.isEmpty()) other.setFamily(family);
            AddTo(s.runs, other, sign);
        }
    }
    const double ascent = e.metrics.ascent();
    QRectF ink;
    for (ShownRun& r : s.runs) {
        r.x = s.width;
        const QFontMetricsF m(r.font);
        const QRectF box = m.tightBoundingRect(r.text);
        if (!box.isEmpty()) ink |= box.translated(r.x, ascent);
        s.width += m.horizontalAdvance(r.text);
    }
    if (!ink.isEmpty()) s.ink = {ink.x(), ink.y(), ink.width(), ink.height()};
    if (e.texts.size() >= MaxTexts) e.texts.clear();
    return e.texts.emplace(text, std::move(s)).first->second;
}

const ShownText& TextMetrics::shown(const Font& font, const std::string& text) { return shown(entry(font), text); }

SizeF TextMetrics::measure(const Font& font, const std::string& text) {
    if (text.empty()) return {};
    Entry& e = entry(font);
    return {shown(e, text).width, e.metrics.lineSpacing()};
}

TextPlacement TextMetrics::place(const Font& font, const std::string& text, PointF at, TextFormat format) {
    Entry& e = entry(font);
    return Placed(text.empty() ? 0.0 : shown(e, text).width, e.metrics.lineSpacing(), e.metrics.ascent(), at,
                  format);
}

RectF TextMetrics::ink(const Font& font, const std::string& text) { return shown(font, text).ink; }

SizeF MeasureTextQt(const Font& font, const std::string& text) {
    TextMetrics m;
    return m.measure(font, text);
}

TextPlacement PlaceText(const Font& font, const std::string& text, PointF at, TextFormat format) {
    TextMetrics m;
    return m.place(font, text, at, format);
}

}  // namespace pelmar
