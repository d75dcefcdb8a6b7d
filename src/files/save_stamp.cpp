#include <openssl/sha.h>

#include "files/companion.h"

namespace pelmar {

namespace {

constexpr std::string_view StampHead = "<$save ";

// The last line of a file's bytes, its line end left off, and where it starts.
std::string_view LastLine(std::string_view bytes, std::size_t& start) {
    std::size_t end = bytes.size();
    if (end > 0 && bytes[end - 1] == '\n') --end;
    if (end > 0 && bytes[end - 1] == '\r') --end;
    const std::size_t nl = end == 0 ? std::string_view::npos : bytes.find_last_of("\r\n", end - 1);
    start = nl == std::string_view::npos ? 0 : nl + 1;
    return bytes.substr(start, end - start);
}

bool IsStampLine(std::string_view line) {
    return line.size() > StampHead.size() && line.substr(0, StampHead.size()) == StampHead && line.back() == '>';
}

}  // namespace

std::string SaveStamp(std::string_view documentText) {
    // OpenSSL's SHA-256 uses the processor's hash instructions where there are
    // any: the stamp of a full document costs about a millisecond.
    unsigned char hash[SHA256_DIGEST_LENGTH];
    SHA256(reinterpret_cast<const unsigned char*>(documentText.data()), documentText.size(), hash);
    static constexpr char Hex[] = "0123456789abcdef";
    std::string out(32, '0');
    for (std::size_t i = 0; i < 16; ++i) {
        out[2 * i] = Hex[hash[i] >> 4];
        out[2 * i + 1] = Hex[hash[i] & 15];
    }
    return out;
}

std::string StampLine(const std::string& stamp) { return std::string(StampHead) + stamp + ">"; }

std::string DocumentStamp(std::string_view bytes) {
    std::size_t start = 0;
    if (!IsStampLine(LastLine(bytes, start))) return {};
    return SaveStamp(bytes.substr(0, start));
}

std::string LastLineStamp(std::string_view bytes) {
    std::size_t start = 0;
    const std::string_view line = LastLine(bytes, start);
    if (!IsStampLine(line)) return {};
    return std::string(line.substr(StampHead.size(), line.size() - StampHead.size() - 1));
}

}  // namespace pelmar
