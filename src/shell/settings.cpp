#include "shell/settings.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/safe_save.h"
#include "files/text_lines.h"
#include "shell/program_folder.h"

namespace pelmar {

namespace {

constexpr std::string_view TranslationFolder = "Translation/";
constexpr int SettingsLines = 13;

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

bool FlagChar(std::string_view line) { return !line.empty() && line.front() == FlagTrue; }

// The UTF-8 text when code page 1251 holds every character of it.
bool FitsCodePage(const std::string& utf8) { return Cp1251ToUtf8(Utf8ToCp1251(utf8)) == utf8; }

std::string WithSlash(std::string dir) {
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return dir;
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

    if (!line(1).empty()) s.DocDir = WithSlash(Cp1251ToUtf8(line(1)));
    ParseColor(line(3), s.MoveColor);
    ParseColor(line(4), s.ShapeColor);
    if (!line(5).empty()) {
        s.UndoOn = FlagChar(line(5));
        if (line(5).size() >= 5 && AllDigits(line(5).substr(1, 4)))
            s.UndoSteps = std::min(DigitsValue(line(5).substr(1, 4)), MaxUndoSteps);
    }
    const std::string_view groups = line(6);
    for (std::size_t g = 0; g < ToolGroupCount && g < groups.size(); ++g)
        if (groups[g] >= '0' && groups[g] <= '9') s.ShowTB[g] = groups[g] == '0';
    if (groups.size() >= 9 && AllDigits(groups.substr(8, 1))) s.SpareDigit = groups[8] - '0';
    for (int n = 7; n <= 11; ++n) {
        if (!present(n)) continue;
        s.RecentFiles[static_cast<std::size_t>(n - 7)] = line(n).empty() ? std::string(NoFile) : Cp1251ToUtf8(line(n));
    }
    if (!line(12).empty()) s.OwnDialogs = FlagChar(line(12));
    // An empty name would name the folder itself; the built-in texts are meant.
    // Only a plain file name inside the folder is taken: a path ("../x",
    // "a/b") could name any file of the machine.
    const std::string_view lang = line(13);
    const bool plainName = !lang.empty() && lang != "." && lang != ".." &&
                           lang.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
    if (plainName) s.LangFile = WithSlash(progDir) + std::string(TranslationFolder) + Cp1251ToUtf8(lang);
}

std::string SettingsText(const Settings& s) {
    LineWriter out(',');  // the file holds no reals
    out.Text(FitsCodePage(s.DocDir) ? s.DocDir : std::string());
    out.Raw("8");
    out.Color(s.MoveColor);
    out.Color(s.ShapeColor);
    out.Raw(std::string(1, s.UndoOn ? FlagTrue : FlagFalse) + IntToZeroPadStr(std::clamp(s.UndoSteps, 0, 9999), 4));
    std::string groups;
    for (const bool shown : s.ShowTB) groups += shown ? '0' : '1';
    groups += std::to_string(std::clamp(s.SpareDigit, 0, 9));
    out.Raw(groups);
    for (const std::string& entry : s.RecentFiles)
        out.Text(entry.empty() || !FitsCodePage(entry) ? std::string(NoFile) : entry);
    out.Raw(std::string(1, s.OwnDialogs ? FlagTrue : FlagFalse));
    const std::size_t at = s.LangFile.find(TranslationFolder);
    out.Text(at == std::string::npos ? s.LangFile : s.LangFile.substr(at + TranslationFolder.size()));
    return out.take();
}

bool ReadSettings(const std::string& progDir, Settings& s, const std::vector<std::string>& shippedDirs) {
    s = StartSettings(progDir);
    const std::string dir = WithSlash(progDir);
    const std::string file = LocateProgramFile(dir + SettingsFileName, dir, shippedDirs);
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return false;
    ParseSettings(bytes, progDir, s);
    return true;
}

bool WriteSettings(const std::string& progDir, const Settings& s) {
    const std::string dir = WithSlash(progDir);
    const std::string file = dir + SettingsFileName;
    const std::string bytes = SettingsText(s);
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::error_code ec;
        std::filesystem::create_directories(dir, ec);
        if (SafeWriteFile(file, bytes).empty()) return true;
    }
    return false;
}

}  // namespace pelmar
