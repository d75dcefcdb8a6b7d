// The pictures of the about box, drawn by the program itself: a logo, the
// program's name as a caption picture, a drawing of a pyramid as a geometry
// teacher would make it, and the frames of a turning solid.
#pragma once

#include <QColor>
#include <QImage>
#include <cstdint>
#include <string>

namespace pelmar {

// 64 × 64.
QImage AboutLogo(const QColor& background);
// 200 × 60: "Пелмар" in Russian, "Pelmar" otherwise.
QImage AboutCaption(const QColor& background, bool russian);
// 170 × 210.
QImage AboutPicture(const QColor& background);

// The turning solid: frame n of AboutFrameCount, 48 × 48.
inline constexpr int AboutFrameCount = 36;
inline constexpr int AboutFrameMs = 80;
QImage AboutFrame(const QColor& background, int n);

// The caption picture is the Russian one when the translation file's path
// holds "Rus".
bool RussianCaption(const std::string& langFile);

// A memory figure as the about box shows it: whole megabytes (half to even)
// and " Mb".
std::string MemoryText(std::uint64_t bytes);

}  // namespace pelmar
