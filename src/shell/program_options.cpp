#include "shell/program_options.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

#include "files/save_failure.h"
#include "files/word_table.h"
#include "platform/safe_save.h"
#include "model/update.h"

namespace pelmar {

namespace {

constexpr std::string_view TranslationDir = "Translation/";

QColor Rgb(TColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

std::vector<std::string> TranslationFiles(const std::string& dir) {
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".trs") == 0) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string WithSlash(std::string dir) {
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return dir;
}

// Saved as the program saves every file: a link at the name is replaced,
// never written through.  "" when written, else the reason.
std::string WriteWhole(const QString& path, const std::string& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    return SafeWriteFile(path.toStdString(), bytes);
}

int RunTool(const QString& program, const QStringList& args) {
    const QString found = QStandardPaths::findExecutable(program);
    if (found.isEmpty()) return -1;
    QProcess p;
    p.start(found, args);
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return -2;
    }
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
}

QString DataHome() {
    const QByteArray xdg = qgetenv("XDG_DATA_HOME");
    if (!xdg.isEmpty() && xdg.startsWith('/')) return QString::fromLocal8Bit(xdg);
    return QDir::homePath() + QStringLiteral("/.local/share");
}

// A flag of bands: horizontal (rows) or vertical.
void Bands(QPainter& p, std::initializer_list<QColor> colors, bool vertical) {
    const int n = static_cast<int>(colors.size());
    int i = 0;
    for (const QColor& c : colors) {
        if (vertical) p.fillRect(QRect(16 * i / n, 0, 16 * (i + 1) / n - 16 * i / n, 11), c);
        else p.fillRect(QRect(0, 11 * i / n, 16, 11 * (i + 1) / n - 11 * i / n), c);
        ++i;
    }
}

}  // namespace

int LangCodeIndex(const std::string& code) {
    for (std::size_t i = 0; i < LangCodes.size(); ++i)
        if (code == LangCodes[i]) return static_cast<int>(i);
    return static_cast<int>(LangCodes.size()) - 1;
}

QImage FlagPicture(int index) {
    // Flag colours keep clear of pure red, the pictures' transparent colour.
    const QColor red(204, 20, 40), blue(0, 56, 168), white(Qt::white), yellow(250, 204, 0), green(0, 140, 69);
    QImage img(16, 11, QImage::Format_RGB32);
    img.fill(white);
    QPainter p(&img);
    switch (index) {
    case 0: Bands(p, {white, blue, red}, false); break;  // RUS
    case 1:                                               // ENG
        p.fillRect(img.rect(), blue);
        p.setPen(QPen(white, 3));
        p.drawLine(0, 0, 15, 10);
        p.drawLine(0, 10, 15, 0);
        p.fillRect(QRect(0, 4, 16, 3), white);
        p.fillRect(QRect(6, 0, 4, 11), white);
        p.fillRect(QRect(0, 5, 16, 1), red);
        p.fillRect(QRect(7, 0, 2, 11), red);
        break;
    case 2:  // USA
        for (int y = 0; y < 11; ++y) p.fillRect(QRect(0, y, 16, 1), y % 2 ? white : red);
        p.fillRect(QRect(0, 0, 7, 6), blue);
        break;
    case 3: Bands(p, {Qt::black, red, yellow}, false); break;                // GER
    case 4: Bands(p, {blue, white, red}, true); break;                        // FRA
    case 5: Bands(p, {red, yellow, yellow, red}, false); break;               // ESP
    case 6:                                                                     // CHI
        p.fillRect(img.rect(), red);
        p.fillRect(QRect(2, 2, 3, 3), yellow);
        break;
    case 7:  // IND
        Bands(p, {QColor(255, 153, 51), white, green}, false);
        p.fillRect(QRect(7, 4, 2, 3), blue);
        break;
    case 8: Bands(p, {green, white, red}, true); break;  // ITA
    case 9: Bands(p, {red, white, blue}, false); break;  // NED
    case 10:                                              // SWE
        p.fillRect(img.rect(), QColor(0, 106, 167));
        p.fillRect(QRect(0, 4, 16, 3), yellow);
        p.fillRect(QRect(4, 0, 3, 11), yellow);
        break;
    case 11:  // JAP
        p.setPen(Qt::NoPen);
        p.setBrush(red);
        p.drawEllipse(QRect(5, 2, 7, 7));
        break;
    case 12:  // SKO
        p.setPen(Qt::NoPen);
        p.setBrush(red);
        p.drawPie(QRect(5, 2, 7, 7), 0, 180 * 16);
        p.setBrush(blue);
        p.drawPie(QRect(5, 2, 7, 7), 180 * 16, 180 * 16);
        break;
    default:  // OTH
        p.fillRect(img.rect(), QColor(160, 160, 160));
        p.setPen(Qt::white);
        p.drawRect(QRect(3, 2, 9, 6));
        break;
    }
    p.end();
    return img;
}

LanguageList FillLanguageList(const std::string& progDir, const std::vector<std::string>& shippedDirs,
                              const std::string& langFile) {
    LanguageList list;
    list.entries.push_back({"Russian", "Include Russian", 0});
    std::vector<std::string> dirs{WithSlash(progDir)};
    for (const std::string& d : shippedDirs) dirs.push_back(WithSlash(d));
    std::set<std::string> seen;
    for (const std::string& dir : dirs) {
        const std::string folder = dir + std::string(TranslationDir);
        for (const std::string& name : TranslationFiles(folder)) {
            if (seen.count(name)) continue;
            TranslationHeader h;
            if (!ReadTranslationHeader(folder + name, h)) continue;
            seen.insert(name);
            list.entries.push_back({name, h.name, LangCodeIndex(h.code)});
            if (langFile == LangFileOf(progDir, list.entries.back()))
                list.selected = static_cast<int>(list.entries.size()) - 1;
        }
    }
    return list;
}

std::string LangFileOf(const std::string& progDir, const LanguageEntry& entry) {
    return WithSlash(progDir) + std::string(TranslationDir) + entry.file;
}

std::array<bool, ToolGroupCount> DefaultToolGroups() { return {true, true, false, true, true, false, false, false}; }

int UndoDepth(int steps) { return std::clamp((steps + 5) / 10 * 10, 10, MaxUndoSteps); }

QImage ColorGlyph(TColor color) {
    QImage img(22, 12, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setPen(Qt::black);
    p.setBrush(Rgb(color));
    p.drawRect(0, 0, 21, 11);
    return img;
}

QImage DefaultColorsGlyph() {
    QImage img(22, 12, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setPen(Qt::black);
    p.setBrush(Rgb(DefaultMoveColor));
    p.drawRect(0, 0, 11, 11);
    p.setBrush(Rgb(DefaultShapeColor));
    p.drawRect(11, 0, 10, 11);
    return img;
}

QImage SelectionSample(TColor background, TColor moveColor, TColor shapeColor) {
    QImage img(97, 161, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Rgb(background));
    p.drawRect(0, 0, 96, 160);
    for (int i = 0; i < 16; ++i) {
        const int row = i / 4, col = i % 4;
        p.setBrush(Rgb(IndexToColor(static_cast<std::uint8_t>(i))));
        p.drawRect(QRect(QPoint(col * 22 + 5, row * 14 + 5), QPoint((col + 1) * 22 + 2, (row + 1) * 14 + 2)));
    }
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Rgb(shapeColor), 2));
    p.drawEllipse(QRect(QPoint(20, 80), QPoint(79, 139)));
    p.setPen(QPen(Rgb(moveColor), 2));
    p.drawEllipse(QRect(QPoint(47, 107), QPoint(52, 112)));
    return img;
}

std::string PelMimeXml() {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
           "  <mime-type type=\"application/x-pelmar\">\n"
           "    <comment>Pelmar drawing</comment>\n"
           "    <comment xml:lang=\"ru\">Чертеж Пелмар</comment>\n"
           "    <glob pattern=\"*.pel\"/>\n"
           "  </mime-type>\n"
           "</mime-info>\n";
}

std::string PelDesktopText(const std::string& exePath) {
    // The Exec key quotes the path as the desktop entry format asks.
    std::string quoted;
    for (char c : exePath) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Pelmar\n"
           "Comment=Geometry drawings\n"
           "Comment[ru]=Математические чертежи\n"
           "Exec=\"" + quoted + "\" %f\n"
           "Terminal=false\n"
           "Categories=Graphics;Education;Math;\n"
           "MimeType=application/x-pelmar;\n";
}

bool RegisterFileType(const std::string& exePath, std::string& error, const WordTable* words) {
    const auto written = [&](const QString& file, const std::string& bytes) {
        const std::string reason = WriteWhole(file, bytes);
        if (!reason.empty())
            error = std::string(Said(words, "не могу записать ", "cannot write ")) + file.toStdString() + ": " +
                    SaveReasonText(reason, words);
        return reason.empty();
    };
    const QString data = DataHome();
    const QString mimeDir = data + QStringLiteral("/mime");
    if (!written(mimeDir + QStringLiteral("/packages/pelmar.xml"), PelMimeXml())) return false;
    // Without the database tool the pattern waits for the next update.
    RunTool(QStringLiteral("update-mime-database"), {mimeDir});
    const QString entry = data + QStringLiteral("/applications/") + QString::fromLatin1(PelDesktopEntry);
    if (!written(entry, PelDesktopText(exePath))) return false;
    const int rc = RunTool(QStringLiteral("xdg-mime"),
                           {QStringLiteral("default"), QString::fromLatin1(PelDesktopEntry), QString::fromLatin1(PelMimeType)});
    if (rc == -1) error = Said(words, "программа xdg-mime не установлена", "xdg-mime is not installed");
    else if (rc != 0) error = Said(words, "программа xdg-mime завершилась с ошибкой", "xdg-mime failed");
    return rc == 0;
}

}  // namespace pelmar
