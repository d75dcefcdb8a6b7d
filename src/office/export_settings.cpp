#include "office/export_settings.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

#include "files/text_lines.h"
#include "platform/safe_save.h"

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

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    return std::string(std::istreambuf_iterator<char>(in), {});
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
    if (const std::string* flag = LineAt(lines, 8)) s.ownArrows = Cp1251ToUtf8(*flag) == "и";
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

CdrSettings LoadCdrSettings(const std::string& progDir) { return ParseCdrSettings(ReadAll(progDir + CdrSettingsFile)); }
WordSettings LoadWordSettings(const std::string& progDir) {
    return ParseWordSettings(ReadAll(progDir + WordSettingsFile));
}

std::string SaveCdrSettings(const std::string& progDir, const CdrSettings& s) {
    return Save(progDir, CdrSettingsFile, CdrSettingsBytes(s));
}
std::string SaveWordSettings(const std::string& progDir, const WordSettings& s) {
    return Save(progDir, WordSettingsFile, WordSettingsBytes(s));
}

}  // namespace pelmar
