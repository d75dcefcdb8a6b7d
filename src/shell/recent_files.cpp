#include "shell/recent_files.h"

#include <QString>
#include <algorithm>

#include "shell/settings.h"

namespace pelmar {

bool IsNoFile(const std::string& entry) { return entry.empty() || entry == NoFile; }

void AddRecentFile(RecentList& list, const std::string& name) {
    if (IsNoFile(name)) return;
    auto at = std::find(list.begin(), list.end(), name);
    if (at == list.end()) at = list.end() - 1;
    std::rotate(list.begin(), at, at + 1);
    list.front() = name;
}

std::array<RecentMenuItem, 5> RecentMenuItems(const RecentList& list) {
    std::array<RecentMenuItem, 5> items;
    for (std::size_t n = 0; n < list.size(); ++n) {
        const std::string entry = IsNoFile(list[n]) ? std::string(NoFile) : list[n];
        items[n] = {ShortenPath(entry), !IsNoFile(entry), entry};
    }
    return items;
}

std::array<RecentMenuItem, 5> UpdateRecentFiles(RecentList& list, const std::string& name, bool add) {
    if (add) AddRecentFile(list, name);
    return RecentMenuItems(list);
}

std::string ShortenPath(const std::string& path) {
    constexpr std::size_t MaxShown = 40;
    constexpr int Rounds = 10;
    // Characters, not bytes: a Cyrillic letter counts once.
    std::u32string s = QString::fromStdString(path).toStdU32String();
    const std::size_t root = s.find(U'/');
    if (root == std::u32string::npos) return path;
    const std::size_t keep = root + 1;
    bool cut = false;
    for (int round = 0; round < Rounds && s.size() > MaxShown; ++round) {
        const std::size_t next = s.find(U'/', keep);
        if (next == std::u32string::npos) break;
        s.erase(keep, next - keep + 1);
        cut = true;
    }
    if (!cut) return path;
    s.insert(keep, U".../");
    return QString::fromStdU32String(s).toStdString();
}

}  // namespace pelmar
