// Helpers of the shell tests: a scratch folder, whole-file bytes and
// translation files made line by line.
#pragma once

#include <QDir>
#include <QTemporaryDir>
#include <fstream>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <optional>
#include <random>
#include <string>

#include "files/text_lines.h"

namespace pelmar::test {

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

// `size` bytes of no file's kind, the same for the same seed.
inline std::string Junk(std::size_t size, unsigned seed = 44) {
    std::string junk;
    for (std::mt19937 rng(seed); junk.size() < size;) junk += static_cast<char>(rng());
    return junk;
}

struct Scratch {
    QTemporaryDir dir;
    std::string path(const std::string& name) const { return (dir.path() + "/").toStdString() + name; }
    std::string folder(const std::string& name) const {
        QDir(dir.path()).mkpath(QString::fromStdString(name));
        return path(name) + "/";
    }
};

// A translation file of `count` lines, line N being word(N) (UTF-8, written
// in code page 1251), CR LF after each line.
inline std::string TranslationBytes(int count, const std::function<std::string(int)>& word) {
    std::string out;
    for (int n = 1; n <= count; ++n) {
        out += Utf8ToCp1251(word(n));
        out += "\r\n";
    }
    return out;
}

// Line N of the usual test translation: the header, then "слово N".
inline std::string TestWord(int n) {
    switch (n) {
    case 1: return "<Pelmar Translate>";
    case 2: return "6.0f";
    case 3: return "Тестовый";
    case 4: return "TST";
    default: return "слово " + std::to_string(n);
    }
}

// Sets an environment variable for one test and puts it back.
class EnvGuard {
public:
    explicit EnvGuard(const char* name) : name_(name) {
        if (const char* v = std::getenv(name)) old_ = v;
    }
    ~EnvGuard() {
        if (old_) setenv(name_, old_->c_str(), 1);
        else unsetenv(name_);
    }
    void Set(const char* v) const {
        if (v) setenv(name_, v, 1);
        else unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

}  // namespace pelmar::test
