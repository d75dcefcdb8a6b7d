#include "files/word_table.h"

#include <cctype>
#include <cerrno>
#include <new>
#include <utility>

#include "files/text_lines.h"
#include "platform/side_file.h"

namespace pelmar {

namespace {

using ReadResult = WordsLoad;

// Reads the first `count` lines of a text file (code page 1251, line ends
// removed) into `lines`, which then views `bytes`.  A file that ends early
// gives fewer lines.  The file goes through the side-file reader: only a
// regular file is read, so a folder, a pipe or a device cannot be opened.
// At most about `cap` bytes are read; when the file goes on and the whole
// lines of those bytes are fewer than `count`, the file counts as
// unreadable.
ReadResult ReadLeadingLines(const std::string& fileName, int count, std::size_t cap, std::string& bytes,
                            std::vector<std::string_view>& lines) {
    lines.clear();
    bytes.clear();
    if (fileName.empty()) return ReadResult::CannotOpen;
    SideFileBytes read = ReadSideFile(fileName, cap);
    if (read.state != SideFileBytes::State::Read)
        return read.readFailed ? ReadResult::ReadError : ReadResult::CannotOpen;
    bytes = std::move(read.bytes);

    LineReader r(bytes, 0, ',');
    while (static_cast<int>(lines.size()) < count && !r.atEnd()) lines.push_back(r.RawLine());
    if (read.cut && static_cast<int>(lines.size()) < count) return ReadResult::ReadError;
    return ReadResult::Ok;
}

const std::string& EmptyText() {
    static const std::string empty;
    return empty;
}

// Loads the table from a file (all or nothing).
ReadResult LoadFromFile(const std::string& fileName, std::array<std::string, LastWordLine - FirstWordLine + 1>& out,
                        std::string& code) {
    std::string bytes;
    std::vector<std::string_view> lines;
    const ReadResult res = ReadLeadingLines(fileName, LastWordLine, MaxTranslationBytes, bytes, lines);
    if (res != ReadResult::Ok) return res;
    // Lines 1 to 4 are the language list's business; title lines are read
    // and dropped; missing lines give empty words.
    std::array<std::string, LastWordLine - FirstWordLine + 1> fresh;
    for (int line = FirstWordLine; line <= LastWordLine; ++line) {
        if (IsTitleLine(line) || line > static_cast<int>(lines.size())) continue;
        fresh[line - FirstWordLine] = Cp1251ToUtf8(lines[line - 1]);
    }
    out = std::move(fresh);
    code = lines.size() > 3 ? Cp1251ToUtf8(lines[3].substr(0, 3)) : std::string();
    return ReadResult::Ok;
}

void LoadBuiltIn(std::array<std::string, LastWordLine - FirstWordLine + 1>& out) {
    for (int line = FirstWordLine; line <= LastWordLine; ++line) {
        const char* text = BuiltInWord(line);
        out[line - FirstWordLine] = text ? text : "";
    }
}

}  // namespace

const std::string& WordTable::WordLine(int line) const {
    if (line < FirstWordLine || line > LastWordLine) return EmptyText();
    return lines_[line - FirstWordLine];
}

bool WordTable::LoadWords(const std::string& FileName) {
    if (FileName.empty()) {
        LoadBuiltIn(lines_);
        code_ = BuiltInLanguageCode;
        return true;
    }
    return LoadWordsFile(FileName) == WordsLoad::Ok;
}

std::string_view WordTable::Said(std::string_view russian, std::string_view english) const {
    std::string code = code_;
    for (char& c : code) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return code.empty() || code == BuiltInLanguageCode ? russian : english;
}

std::string FillIn(std::string_view pattern, std::initializer_list<std::string> values) {
    std::string out(pattern);
    int n = 1;
    for (const std::string& v : values) {
        const std::string mark = "%" + std::to_string(n++);
        if (const std::size_t at = out.find(mark); at != std::string::npos) out.replace(at, mark.size(), v);
    }
    return out;
}

WordsLoad WordTable::LoadWordsFile(const std::string& FileName) { return LoadFromFile(FileName, lines_, code_); }

WordTable::Load WordTable::LoadTranslation(const std::string& FileName) {
    using State = Load::State;
    SideFileBytes read;
    try {
        read = ReadSideFile(FileName, MaxTranslationBytes);
    } catch (const std::bad_alloc&) {
        return {State::Unreadable, ENOMEM};
    }
    if (read.state == SideFileBytes::State::Missing || (read.state == SideFileBytes::State::Failed && read.error == EISDIR))
        return {State::Missing, 0};
    if (read.state == SideFileBytes::State::Failed) return {State::Unreadable, read.readFailed && read.error == 0 ? EIO : read.error};
    const std::string bytes = std::move(read.bytes);
    std::vector<std::string_view> lines;
    LineReader r(bytes, 0, ',');
    while (static_cast<int>(lines.size()) < LastWordLine && !r.atEnd()) lines.push_back(r.RawLine());
    if (read.cut && static_cast<int>(lines.size()) < LastWordLine) return {State::Unreadable, EFBIG};
    if (lines.size() < 2 || lines[0] != TranslateSignature || lines[1] != TranslateVersion) return {State::Damaged, 0};
    std::array<std::string, LastWordLine - FirstWordLine + 1> fresh;
    LoadBuiltIn(fresh);
    for (int line = FirstWordLine; line <= LastWordLine && line <= static_cast<int>(lines.size()); ++line)
        if (!IsTitleLine(line)) fresh[line - FirstWordLine] = Cp1251ToUtf8(lines[line - 1]);
    lines_ = std::move(fresh);
    code_ = lines.size() > 3 ? Cp1251ToUtf8(lines[3].substr(0, 3)) : std::string();
    return {State::Loaded, 0, static_cast<int>(lines.size())};
}

bool ReadTranslationHeader(const std::string& fileName, TranslationHeader& out) {
    std::string bytes;
    std::vector<std::string_view> lines;
    if (ReadLeadingLines(fileName, 4, std::size_t{1} << 16, bytes, lines) != ReadResult::Ok) return false;
    if (lines.size() < 2 || lines[0] != TranslateSignature || lines[1] != TranslateVersion) return false;
    out.name = lines.size() > 2 ? Cp1251ToUtf8(lines[2]) : std::string();
    out.code = lines.size() > 3 ? Cp1251ToUtf8(lines[3].substr(0, 3)) : std::string();
    return true;
}

}  // namespace pelmar
