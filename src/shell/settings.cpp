#include "shell/settings.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/safe_save.h"
#include "platform/side_file.h"
#include "files/text_lines.h"

namespace pelmar {

namespace {

constexpr std::string_view TranslationFolder = "Translation/";
constexpr int SettingsLines = 13;
// Thirteen lines of paths at the longest a path may be take some 53 KiB, the
// side file's seven entries twice that: anything larger is not ours.
constexpr std::size_t MaxSettingsBytes = 256 * 1024;
// The side file's first line: this word, a tab and the stamp of the bytes of
// the settings file written with it.
constexpr std::string_view StampWord = "stamp";

// The length and a 64-bit FNV-1a hash of the settings file's bytes.
std::string Stamp(std::string_view bytes) {
    std::uint64_t h = 14695981039346656037ull;
    for (const char c : bytes) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(h));
    return std::to_string(bytes.size()) + "\t" + hex;
}

// A path with a line break or a NUL: no line of either file keeps it as it is.
bool OneLinePath(std::string_view path) {
    return path.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

std::vector<std::string_view> SplitLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < bytes.size() && lines.size() < SettingsLines) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

bool AllDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int DigitsValue(std::string_view s) {
    int v = 0;
    for (const char c : s) v = v * 10 + (c - '0');
    return v;
}

// Nine digits RRRGGGBBB; each channel keeps its low eight bits.
bool ParseColor(std::string_view line, TColor& c) {
    if (line.size() < 9 || !AllDigits(line.substr(0, 9))) return false;
    const auto channel = [&](std::size_t at) { return static_cast<TColor>(DigitsValue(line.substr(at, 3)) & 0xFF); };
    c = channel(0) | (channel(3) << 8) | (channel(6) << 16);
    return true;
}

// A switch ("и" or "л") as the first character of a line.
void ReadFlag(std::string_view line, bool& flag) {
    if (!line.empty() && (line.front() == FlagTrue || line.front() == FlagFalse)) flag = line.front() == FlagTrue;
}

// The UTF-8 text when code page 1251 holds every character of it.
bool FitsCodePage(const std::string& utf8) { return Cp1251ToUtf8(Utf8ToCp1251(utf8)) == utf8; }

std::string WithSlash(std::string dir) {
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return dir;
}

// The name of the translation file, as line 13 holds it.
std::string LanguageName(const Settings& s) {
    const std::size_t at = s.LangFile.find(TranslationFolder);
    return at == std::string::npos ? s.LangFile : s.LangFile.substr(at + TranslationFolder.size());
}

// A plain file name inside the translation folder: a path ("../x", "a/b")
// could name any file of the machine.
bool PlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

// The settings lines that hold a path or a file name, with the text in
// memory: the document folder, the recent files, the translation file.
std::vector<std::pair<int, std::string>> PathLines(const Settings& s) {
    std::vector<std::pair<int, std::string>> lines{{1, s.DocDir}};
    for (int n = 7; n <= 11; ++n) lines.emplace_back(n, s.RecentFiles[static_cast<std::size_t>(n - 7)]);
    lines.emplace_back(13, LanguageName(s));
    return lines;
}

// The side file's fields: a tab, a line break and the backslash escaped.
std::string Escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\') out += "\\\\";
        else if (c == '\t') out += "\\t";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else out += c;
    }
    return out;
}

std::string Unescaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        out += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
    }
    return out;
}

// Each path of `s` the code page cannot hold, with what `bytes` (the
// settings file written of `s`) has on its line, after a first line with
// the stamp of `bytes`.  Empty when there is no such path.
std::string SidePathsText(const Settings& s, std::string_view bytes) {
    const std::vector<std::string_view> written = SplitLines(bytes);
    std::string out;
    for (const auto& [n, text] : PathLines(s)) {
        if (text.empty() || FitsCodePage(text) || !OneLinePath(text) || n > static_cast<int>(written.size())) continue;
        out += std::to_string(n) + "\t" + Escaped(Cp1251ToUtf8(written[static_cast<std::size_t>(n - 1)])) + "\t" +
               Escaped(text) + "\n";
    }
    return out.empty() ? out : std::string(StampWord) + "\t" + Stamp(bytes) + "\n" + out;
}

// The paths of the side file, when `bytes` are those it was written with.
// Another settings file (written elsewhere, by an older program, or when the
// side file could not be replaced) wins, its placeholders too; so does a
// side file without a stamp.
void TakeSidePaths(std::string_view side, std::string_view bytes, const std::string& progDir, Settings& s) {
    const std::string stampLine = std::string(StampWord) + "\t" + Stamp(bytes) + "\n";
    if (side.substr(0, stampLine.size()) != stampLine) return;
    const std::vector<std::string_view> lines = SplitLines(bytes);
    std::size_t start = stampLine.size();
    while (start < side.size()) {
        std::size_t end = side.find('\n', start);
        if (end == std::string_view::npos) end = side.size();
        const std::string_view entry = side.substr(start, end - start);
        start = end + 1;
        const std::size_t tab1 = entry.find('\t'), tab2 = entry.find('\t', tab1 + 1);
        if (tab1 == std::string_view::npos || tab2 == std::string_view::npos) continue;
        const std::string_view number = entry.substr(0, tab1);
        if (!AllDigits(number) || number.size() > 2) continue;
        const int n = DigitsValue(number);
        if (n < 1 || n > static_cast<int>(lines.size())) continue;
        if (Cp1251ToUtf8(lines[static_cast<std::size_t>(n - 1)]) != Unescaped(entry.substr(tab1 + 1, tab2 - tab1 - 1)))
            continue;  // the settings file was changed since: it wins
        const std::string path = Unescaped(entry.substr(tab2 + 1));
        if (path.empty() || !OneLinePath(path)) continue;
        if (n == 1) s.DocDir = WithSlash(path);
        else if (n >= 7 && n <= 11) s.RecentFiles[static_cast<std::size_t>(n - 7)] = path;
        else if (n == 13 && PlainName(path)) s.LangFile = WithSlash(progDir) + std::string(TranslationFolder) + path;
    }
}

}  // namespace

Settings StartSettings(const std::string& progDir) {
    Settings s;
    s.DocDir = WithSlash(progDir);
    return s;
}

void ParseSettings(std::string_view bytes, const std::string& progDir, Settings& s) {
    const std::vector<std::string_view> lines = SplitLines(bytes);
    const auto line = [&](int n) { return n <= static_cast<int>(lines.size()) ? lines[n - 1] : std::string_view{}; };
    const auto present = [&](int n) { return n <= static_cast<int>(lines.size()); };

    if (!line(1).empty() && OneLinePath(line(1))) s.DocDir = WithSlash(Cp1251ToUtf8(line(1)));
    ParseColor(line(3), s.MoveColor);
    ParseColor(line(4), s.ShapeColor);
    {
        ReadFlag(line(5), s.UndoOn);
        if (line(5).size() >= 5 && AllDigits(line(5).substr(1, 4)))
            s.UndoSteps = std::min(DigitsValue(line(5).substr(1, 4)), MaxUndoSteps);
    }
    const std::string_view groups = line(6);
    for (std::size_t g = 0; g < ToolGroupCount && g < groups.size(); ++g)
        if (groups[g] >= '0' && groups[g] <= '9') s.ShowTB[g] = groups[g] == '0';
    if (groups.size() >= 9 && AllDigits(groups.substr(8, 1))) s.SpareDigit = groups[8] - '0';
    for (int n = 7; n <= 11; ++n) {
        if (!present(n)) continue;
        s.RecentFiles[static_cast<std::size_t>(n - 7)] =
            line(n).empty() || !OneLinePath(line(n)) ? std::string(NoFile) : Cp1251ToUtf8(line(n));
    }
    ReadFlag(line(12), s.OwnDialogs);
    // An empty name would name the folder itself; the built-in texts are meant.
    // Only a plain file name inside the folder is taken: a path ("../x",
    // "a/b") could name any file of the machine.
    const std::string_view lang = line(13);
    if (present(13) && lang.empty()) s.LangFile.clear();
    else if (PlainName(lang) && OneLinePath(lang))
        s.LangFile = WithSlash(progDir) + std::string(TranslationFolder) + Cp1251ToUtf8(lang);
}

std::string SettingsText(const Settings& s) {
    LineWriter out(',');  // the file holds no reals
    out.Text(FitsCodePage(s.DocDir) && OneLinePath(s.DocDir) ? s.DocDir : std::string());
    out.Raw("8");
    out.Color(s.MoveColor);
    out.Color(s.ShapeColor);
    out.Raw(std::string(1, s.UndoOn ? FlagTrue : FlagFalse) + IntToZeroPadStr(std::clamp(s.UndoSteps, 0, 9999), 4));
    std::string groups;
    for (const bool shown : s.ShowTB) groups += shown ? '0' : '1';
    groups += std::to_string(std::clamp(s.SpareDigit, 0, 9));
    out.Raw(groups);
    for (const std::string& entry : s.RecentFiles)
        out.Text(entry.empty() || !FitsCodePage(entry) || !OneLinePath(entry) ? std::string(NoFile) : entry);
    out.Raw(std::string(1, s.OwnDialogs ? FlagTrue : FlagFalse));
    const std::string lang = LanguageName(s);
    out.Text(OneLinePath(lang) ? lang : std::string());
    return out.take();
}

namespace {

// The texts of both files as `s` would be written.
std::string WrittenForm(const Settings& s) {
    const std::string bytes = SettingsText(s);
    return bytes + '\0' + SidePathsText(s, bytes);
}

}  // namespace

SettingsSource ReadSettings(const std::string& progDir, Settings& s, const std::vector<std::string>& shippedDirs) {
    using From = SettingsSource::From;
    SettingsSource source;
    s = StartSettings(progDir);
    const std::string dir = WithSlash(progDir);
    const auto unreadable = [&source](const std::string& file, int error) {
        source.from = From::Unreadable;
        source.file = file;
        source.error = error;
        return source;
    };
    try {
        for (const std::string& shipped : shippedDirs) {
            const SideFileBytes copy = ReadSideFile(WithSlash(shipped) + SettingsFileName, MaxSettingsBytes);
            if (copy.state != SideFileBytes::State::Read) continue;
            ParseSettings(copy.bytes, progDir, s);
            source.from = From::Shipped;
            break;
        }
        const SideFileBytes own = ReadSideFile(dir + SettingsFileName, MaxSettingsBytes);
        if (own.state == SideFileBytes::State::Failed) return unreadable(dir + SettingsFileName, own.error);
        if (own.state == SideFileBytes::State::Read) {
            ParseSettings(own.bytes, progDir, s);
            source.from = From::Own;
            source.damaged = !SettingsFileWhole(own.bytes);
            source.file = dir + SettingsFileName;
            if (source.damaged) source.keepAs = DamagedSettingsName(dir);
        }
        // A side file that cannot be read is kept too: its paths are the
        // settings file's.
        const SideFileBytes side = ReadSideFile(dir + SettingsPathsFileName, MaxSettingsBytes);
        if (side.state == SideFileBytes::State::Failed) return unreadable(dir + SettingsPathsFileName, side.error);
        if (own.state == SideFileBytes::State::Read && side.state == SideFileBytes::State::Read)
            TakeSidePaths(side.bytes, own.bytes, progDir, s);
        if (source.from == From::Own) source.written = WrittenForm(s);
        return source;
    } catch (const std::exception&) {  // out of memory: the start values, and the files left alone
        s = StartSettings(progDir);
        source = SettingsSource{};
        return unreadable(dir + SettingsFileName, ENOMEM);
    }
}

bool SettingsFileWhole(std::string_view bytes) {
    if (bytes.empty()) return true;
    // Only the thirteen lines count: what follows them is never read.
    const std::vector<std::string_view> lines = SplitLines(bytes);
    if (lines.size() < SettingsLines) return false;
    for (const std::string_view line : lines)
        if (line.find('\0') != std::string_view::npos) return false;
    const auto flag = [](std::string_view line) { return !line.empty() && (line[0] == FlagTrue || line[0] == FlagFalse); };
    TColor c = 0;
    return ParseColor(lines[2], c) && ParseColor(lines[3], c) && flag(lines[4]) && lines[4].size() >= 5 &&
           AllDigits(lines[4].substr(1, 4)) && lines[5].size() >= 9 && AllDigits(lines[5].substr(0, 9)) && flag(lines[11]);
}

std::string DamagedSettingsName(const std::string& progDir) {
    const std::string base = WithSlash(progDir) + SettingsFileName + ".damaged";
    for (int n = 1; n < 1000; ++n) {
        const std::string name = n == 1 ? base : base + "-" + std::to_string(n);
        struct stat st {};
        if (::lstat(name.c_str(), &st) != 0 && errno == ENOENT) return name;
    }
    return {};
}

std::string KeepDamagedSettings(const std::string& progDir, std::string& keptAs) {
    const std::string file = WithSlash(progDir) + SettingsFileName;
    // As the saves give their reasons: the system's text last.
    const auto why = [](int err) { return std::string("cannot keep the settings file: ") + std::strerror(err); };
    for (int attempt = 0; attempt < 20; ++attempt) {
        keptAs = DamagedSettingsName(progDir);
        if (keptAs.empty()) return why(EEXIST);
        // A second name for the same file: the bytes as they are, whatever
        // their length, and never over a file that is there.
        if (::link(file.c_str(), keptAs.c_str()) == 0) return {};
        if (errno == ENOENT) return {};  // gone since the start: nothing to keep
        if (errno == EEXIST) continue;   // taken meanwhile: the next name
        break;
    }
    // A file system without hard links: a copy under the free name, read
    // through the one reader (a damaged file larger than any settings file
    // may be cannot be kept: the settings are then not written).
    constexpr std::size_t MaxKeptSettingsBytes = std::size_t{64} << 20;
    const SideFileBytes read = ReadSideFile(file, MaxKeptSettingsBytes, SideFileCap::Refuse);
    if (read.state == SideFileBytes::State::Missing) return {};  // gone since the start
    if (read.state != SideFileBytes::State::Read) return why(read.error != 0 ? read.error : EINVAL);
    const std::string failure = SafeWriteFile(keptAs, read.bytes);
    return failure.empty() ? std::string() : "cannot keep the settings file: " + failure;
}

bool SettingsNeedWriting(const SettingsSource& source, const Settings& s) {
    switch (source.from) {
        case SettingsSource::From::Unreadable: return false;
        case SettingsSource::From::Own: return WrittenForm(s) != source.written;
        default: return true;
    }
}

bool WriteSettings(const std::string& progDir, const Settings& s, std::string* reason) {
    const std::string dir = WithSlash(progDir);
    const std::string file = dir + SettingsFileName;
    const std::string bytes = SettingsText(s);
    const std::string side = SidePathsText(s, bytes);
    std::string failure = "-";
    for (int attempt = 0; attempt < 2 && !failure.empty(); ++attempt) {
        std::error_code ec;
        std::filesystem::create_directories(dir, ec);
        failure = SafeWriteFile(file, bytes);
    }
    if (reason) *reason = failure;
    if (!failure.empty()) return false;
    // A path with a line break or a NUL is left out of both files, as the
    // settings text left it out: that is no failure to save.
    // No side file when every path fits; one left over (a folder at its
    // name) has the stamp of another settings file and is not taken.
    if (side.empty()) {
        std::error_code ec;
        std::filesystem::remove(dir + SettingsPathsFileName, ec);
        return true;
    }
    failure = SafeWriteFile(dir + SettingsPathsFileName, side);
    if (reason) *reason = failure;
    return failure.empty();
}

}  // namespace pelmar
