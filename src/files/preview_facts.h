// What the open and save dialogs show of the file under the cursor: its size,
// time and date, which kind of preview its name asks for, and the release
// text of a document's format version.  No windows here.
#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <string>

namespace pelmar {

// Size of the file of that name; -1 when there is no such file.
std::int64_t FileSizeOf(const QString& name);
// The file's modification date and time, local; invalid when it has none.
QDateTime FileDateTimeOf(const QString& name);
// True when the file's attributes can be read.
bool FileExistsByAttr(const QString& name);

// The size in decimal; 4 to 12 digits get a "." before every group of three
// counted from the right (1234 -> 1.234), other lengths stay as they are.
std::string FileSizeText(std::int64_t size);
// "hh:mm" and "dd.mm.yyyy" (a year below 10 gets a leading "0").
std::string FileTimeText(const QDateTime& t);
std::string FileDateText(const QDateTime& t);

// The release that wrote format version 1..19; empty for 0 and above 19.
std::string VersionText(std::uint8_t version);

enum class PreviewKind { None, Picture, Document };
// By the last four characters of the name: ".bmp", ".jpg", ".gif", ".png",
// ".wmf", ".emf" in lower case, upper case or with a capital first letter are
// pictures; ".pel", ".PEL", ".Pel" documents; anything else none.
PreviewKind PreviewKindOf(const QString& name);

// Largest picture a document preview paints (pixels); a document that asks
// for more is shown without its miniature.
inline constexpr std::int64_t PreviewMaxPixels = 50'000'000;
inline constexpr int PreviewMaxSide = 20'000;
bool PreviewablePictureSize(std::int32_t width, std::int32_t height);

}  // namespace pelmar
