// The recent-file list and the captions of its menu items.
#include <gtest/gtest.h>

#include <QString>
#include <algorithm>
#include <random>
#include <set>

#include "shell/recent_files.h"

namespace pelmar {
namespace {

int Chars(const std::string& s) { return static_cast<int>(QString::fromStdString(s).toStdU32String().size()); }

TEST(ShortenPath, CutsFolderLevelsAfterTheRootUntilFortyCharactersRemain) {
    const struct {
        std::string path, shown;
    } cases[] = {
        {"", ""},
        {"No File", "No File"},
        // 51 characters: one round.
        {"D:/Program Files/Geometry/drawings/school/task1.pel", "D:/.../Geometry/drawings/school/task1.pel"},
        {"/home/teacher/school/geometry/2024/triangles/task1.pel", "/.../geometry/2024/triangles/task1.pel"},
        // 40 characters stay whole.
        {"/home/teacher/school/geometry/task10.pel", "/home/teacher/school/geometry/task10.pel"},
        // Characters, not bytes: 39 Cyrillic characters stay.
        {"/дом/учитель/школа/геометрия/задача.pel", "/дом/учитель/школа/геометрия/задача.pel"},
        {"/дом/учитель/школа/геометрия/задача-номер-1.pel", "/.../школа/геометрия/задача-номер-1.pel"},
        // The file name is never cut, however long.
        {"/a/" + std::string(60, 'f') + ".pel", "/.../" + std::string(60, 'f') + ".pel"},
        {std::string(60, 'n') + ".pel", std::string(60, 'n') + ".pel"},
        // At most ten levels go.
        {"/a/b/c/d/e/f/g/h/i/j/k/" + std::string(40, 'L') + "/x.pel", "/.../k/" + std::string(40, 'L') + "/x.pel"},
    };
    for (const auto& c : cases) EXPECT_EQ(ShortenPath(c.path), c.shown) << c.path;
}

TEST(ShortenPath, KeepsTheRootAndTheTailOfAnyPath) {
    std::mt19937 rng(5);
    const char* parts[] = {"docs", "школа", "a", "геометрия_2024", "x y", "b"};
    for (int round = 0; round < 500; ++round) {
        std::string path = "/";
        const int levels = 1 + static_cast<int>(rng() % 14);
        for (int i = 0; i < levels; ++i) path += std::string(parts[rng() % 6]) + "/";
        path += "f" + std::to_string(round) + ".pel";
        const std::string shown = ShortenPath(path);
        if (Chars(path) <= 40) {
            EXPECT_EQ(shown, path);
            continue;
        }
        ASSERT_EQ(shown.rfind("/.../", 0), 0u) << path;
        // What follows the mark is the end of the path, from a folder boundary.
        const std::string tail = shown.substr(5);
        EXPECT_EQ(path.substr(path.size() - tail.size()), tail) << path;
        EXPECT_EQ(path[path.size() - tail.size() - 1], '/');
        // It stops as soon as the rest fits, or when a round could take no more.
        const int restChars = Chars(tail) + 1;
        EXPECT_TRUE(restChars <= 40 || tail.find('/') == std::string::npos || levels > 10) << path;
    }
}

TEST(RecentFiles, AddingMovesTheNameToTheHead) {
    const RecentList start{"/1.pel", "/2.pel", "/3.pel", "/4.pel", "/5.pel"};
    const struct {
        std::string add;
        RecentList after;
    } cases[] = {
        {"/3.pel", {"/3.pel", "/1.pel", "/2.pel", "/4.pel", "/5.pel"}},
        {"/1.pel", start},
        {"/5.pel", {"/5.pel", "/1.pel", "/2.pel", "/3.pel", "/4.pel"}},
        {"/6.pel", {"/6.pel", "/1.pel", "/2.pel", "/3.pel", "/4.pel"}},
        {"/3.PEL", {"/3.PEL", "/1.pel", "/2.pel", "/3.pel", "/4.pel"}},  // case-sensitive
        {"No File", start},
        {"", start},
    };
    for (const auto& c : cases) {
        RecentList l = start;
        AddRecentFile(l, c.add);
        EXPECT_EQ(l, c.after) << c.add;
    }
}

TEST(RecentFiles, AnyRunOfAddsKeepsTheLatestFiveOnce) {
    std::mt19937 rng(9);
    RecentList l{"No File", "", "No File", "No File", ""};
    std::vector<std::string> history;
    for (int i = 0; i < 2000; ++i) {
        const std::string name = "/f" + std::to_string(rng() % 9) + ".pel";
        AddRecentFile(l, name);
        history.erase(std::remove(history.begin(), history.end(), name), history.end());
        history.insert(history.begin(), name);
        ASSERT_EQ(l.front(), name);
        std::set<std::string> seen;
        for (std::size_t k = 0; k < l.size(); ++k) {
            if (IsNoFile(l[k])) continue;
            ASSERT_TRUE(seen.insert(l[k]).second) << "twice: " << l[k];
            ASSERT_EQ(l[k], history[k]);
        }
    }
}

TEST(RecentFiles, UnusedEntriesShowAsDisabledNoFile) {
    RecentList l{"/home/teacher/school/geometry/2024/triangles/task1.pel", "", "No File", "/b.pel", ""};
    const auto items = UpdateRecentFiles(l, "/c.pel", true);
    const bool enabled[] = {true, true, false, false, true};
    for (std::size_t n = 0; n < 5; ++n) {
        EXPECT_EQ(items[n].enabled, enabled[n]) << n;
        if (!enabled[n]) {
            EXPECT_EQ(items[n].caption, "No File");
            EXPECT_EQ(items[n].hint, "No File");
        }
    }
    EXPECT_EQ(items[0].caption, "/c.pel");
    EXPECT_EQ(items[1].caption, "/.../geometry/2024/triangles/task1.pel");
    EXPECT_EQ(items[1].hint, l[1]);
    // A refresh alone changes nothing.
    const RecentList before = l;
    UpdateRecentFiles(l, "/d.pel", false);
    EXPECT_EQ(l, before);
}

}  // namespace
}  // namespace pelmar
