#include "office/export_settings.h"

#include <algorithm>
#include <cerrno>
#include <exception>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <vector>

#include "files/text_lines.h"
#include "platform/safe_save.h"
#include "platform/side_file.h"

namespace pelmar {

namespace {

std::string Lines(std::initializer_list<std::string> lines) {
    std::string s;
    for (const std::string& l : lines) s += Utf8ToCp1251(l) + "\r\n";
    return s;
}

std::vector<std::string> Split(const std::string& bytes) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        const auto blank = [](char c) { return c == '\r' || c == ' ' || c == '\t'; };
        while (!line.empty() && blank(line.back())) line.pop_back();
        line.erase(line.begin(), std::find_if_not(line.begin(), line.end(), blank));
        out.push_back(std::move(line));
        start = end + 1;
    }
    return out;
}

// Line n (1-based) when the file holds it.
const std::string* LineAt(const std::vector<std::string>& lines, std::size_t n) {
    return n <= lines.size() ? &lines[n - 1] : nullptr;
}

std::optional<int> Number(const std::string* line) {
    if (!line || line->empty()) return std::nullopt;
    long long v = 0;
    const char* first = line->data();
    const char* last = first + line->size();
    if (*first == '+') ++first;
    const auto r = std::from_chars(first, last, v);
    if (r.ec != std::errc() || r.ptr != last) return std::nullopt;
    return static_cast<int>(std::clamp<long long>(v, -1'000'000, 1'000'000));
}

void ReadClamped(const std::vector<std::string>& lines, std::size_t n, int lo, int hi, int& value) {
    if (auto v = Number(LineAt(lines, n))) value = std::clamp(*v, lo, hi);
}

void ReadChoice(const std::vector<std::string>& lines, std::size_t n, int count, int& value) {
    if (auto v = Number(LineAt(lines, n)); v && *v >= 0 && *v < count) value = *v;
}

template <class Options>
OptionsRead<Options> ReadOptions(const std::string& progDir, const char* name,
                                 Options (*parse)(const std::string&)) {
    OptionsRead<Options> out;
    out.file = progDir + name;
    try {
        const SideFileBytes read = ReadSideFile(out.file, MaxOptionFileBytes);
        if (read.state == SideFileBytes::State::Read) out.values = parse(read.bytes);
        out.unreadable = read.state == SideFileBytes::State::Failed;
        out.error = read.error;
    } catch (const std::exception&) {  // out of memory: the shipped values, and the file left alone
        out.values = Options{};
        out.unreadable = true;
        out.error = ENOMEM;
    }
    return out;
}

std::string Save(const std::string& progDir, const char* name, const std::string& bytes) {
    std::error_code ec;
    if (!progDir.empty()) std::filesystem::create_directories(progDir, ec);
    return SafeWriteFile(progDir + name, bytes);
}

}  // namespace

std::string CdrSettingsBytes(const CdrSettings& s) {
    return Lines({"Version:", std::to_string(s.version), "Type of Run:", std::to_string(s.runMode), "Groups:",
                  std::to_string(s.groupMode), "Pelmar Arrows:", s.ownArrows ? "и" : "л", "Number of Arrow:",
                  std::to_string(s.arrowNo), "Number of Dash:", std::to_string(s.dashNo)});
}

std::string WordSettingsBytes(const WordSettings& s) {
    return Lines({"Type of Run:", std::to_string(s.runMode), "Number of Arrow:", std::to_string(s.arrowNo),
                  "Number of Dash:", std::to_string(s.dashNo)});
}

CdrSettings ParseCdrSettings(const std::string& bytes) {
    CdrSettings s;
    const auto lines = Split(bytes);
    ReadClamped(lines, 2, 8, 100, s.version);
    ReadChoice(lines, 4, 3, s.runMode);
    ReadChoice(lines, 6, 2, s.groupMode);
    if (const std::string* flag = LineAt(lines, 8)) {
        const std::string word = Cp1251ToUtf8(*flag);
        if (word == "и" || word == "л") s.ownArrows = word == "и";
    }
    ReadClamped(lines, 10, 0, 90, s.arrowNo);
    ReadClamped(lines, 12, 0, 30, s.dashNo);
    return s;
}

WordSettings ParseWordSettings(const std::string& bytes) {
    WordSettings s;
    const auto lines = Split(bytes);
    ReadChoice(lines, 2, 3, s.runMode);
    ReadClamped(lines, 4, 1, 6, s.arrowNo);
    ReadClamped(lines, 6, 1, 8, s.dashNo);
    return s;
}

OptionsRead<CdrSettings> ReadCdrSettings(const std::string& progDir) {
    return ReadOptions(progDir, CdrSettingsFile, &ParseCdrSettings);
}
OptionsRead<WordSettings> ReadWordSettings(const std::string& progDir) {
    return ReadOptions(progDir, WordSettingsFile, &ParseWordSettings);
}
CdrSettings LoadCdrSettings(const std::string& progDir) { return ReadCdrSettings(progDir).values; }
WordSettings LoadWordSettings(const std::string& progDir) { return ReadWordSettings(progDir).values; }

std::string SaveCdrSettings(const std::string& progDir, const CdrSettings& s) {
    return Save(progDir, CdrSettingsFile, CdrSettingsBytes(s));
}
std::string SaveWordSettings(const std::string& progDir, const WordSettings& s) {
    return Save(progDir, WordSettingsFile, WordSettingsBytes(s));
}

}  // namespace pelmar
