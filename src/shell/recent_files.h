// The list of recently used documents under the File menu: five full paths,
// most recent first, "No File" in an unused entry.
#pragma once

#include <array>
#include <string>

namespace pelmar {

using RecentList = std::array<std::string, 5>;

// An entry that names no document: "No File" or empty.
bool IsNoFile(const std::string& entry);

// Puts `name` at the head of the list.  A name already in the list (exact,
// case-sensitive) moves up to the head and the entries before it move one
// place down; a new name pushes the fifth entry out.  A name that is empty or
// "No File" changes nothing.
void AddRecentFile(RecentList& list, const std::string& name);

// What a recent-file menu item shows.
struct RecentMenuItem {
    std::string caption;  // ShortenPath of the entry
    bool enabled = false;  // false for an unused entry
    std::string hint;     // the entry's full text
};

// The five menu items of the list; an empty entry shows as "No File".
std::array<RecentMenuItem, 5> RecentMenuItems(const RecentList& list);

// With add, AddRecentFile first; then the menu items.
std::array<RecentMenuItem, 5> UpdateRecentFiles(RecentList& list, const std::string& name, bool add);

// The menu caption of a path.  The root part (up to and including the first
// "/") stays; while the path is longer than 40 characters, up to ten folder
// levels after the root are dropped, and ".../" marks the gap:
// "/home/teacher/school/geometry/2024/triangles/task1.pel" becomes
// "/.../geometry/2024/triangles/task1.pel".  The file name is never
// cut.  "" and "No File" stay as they are.
std::string ShortenPath(const std::string& path);

}  // namespace pelmar
