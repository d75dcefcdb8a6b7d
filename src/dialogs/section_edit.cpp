#include "dialogs/section_edit.h"

#include <cmath>
#include <cstdio>

#include "dialogs/number_text.h"

namespace pelmar {

namespace {

std::size_t At(int n) { return static_cast<std::size_t>(n); }

// A bound as a whole number, rounded half to even; "-0" shows as "0".
std::string RoundedText(double v) {
    if (!std::isfinite(v)) return NumberText(v);
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.0f", std::nearbyint(v) + 0.0);
    return buf;
}

}  // namespace

bool ValidSurface(int surface) { return surface >= 1 && surface <= 3; }
bool ValidPlane(int plane) { return plane >= 1 && plane <= 3; }

int SectionCurveGroup(int surface, int plane) {
    if (surface == 3) return 2 + plane;
    return plane == 3 ? surface : 0;
}

DSection& SectionOf(DXZ& xz, int surface, int plane, int k) { return xz.Sections[At(surface)][At(plane)][At(k)]; }

const DSection& SectionOf(const DXZ& xz, int surface, int plane, int k) {
    return xz.Sections[At(surface)][At(plane)][At(k)];
}

void MarkOutline(DXZ& xz, int surface) { xz.Outlines[At(surface)].Lines.Valid = 0; }

namespace {
void MarkCurve(DXZ& xz, int surface, int plane, int k) {
    if (const int group = SectionCurveGroup(surface, plane))
        xz.Curves[At((group - 1) * SectionsPerPlane + k)].Valid = 0;
}
}  // namespace

PositionEdit SetSectionPosition(DXZ& xz, int surface, int plane, int k, std::string_view text) {
    DSection& sec = SectionOf(xz, surface, plane, k);
    if (text.empty()) {
        sec.On.v = false;
        MarkOutline(xz, surface);
        return PositionEdit::Off;
    }
    const std::optional<double> v = ReadNumber(text);
    if (!v) return PositionEdit::NotANumber;
    sec.On.v = true;
    sec.C.v = *v;
    MarkCurve(xz, surface, plane, k);
    MarkOutline(xz, surface);
    return PositionEdit::On;
}

std::string SectionPositionText(const DSection& sec) { return sec.On.v ? NumberText(sec.C.v) : std::string(); }

void MarkShownSections(DXZ& xz, int surface, int plane) {
    for (int k = 1; k <= SectionsPerPlane; ++k)
        if (SectionOf(xz, surface, plane, k).On.v) MarkCurve(xz, surface, plane, k);
    MarkOutline(xz, surface);
}

char FreeLetter(int plane, int which) {
    if (which == 1) return plane == 1 ? 'y' : 'x';
    return plane == 3 ? 'y' : 'z';
}

std::string BoundsCaption(const DSection& sec, int plane) {
    const auto& b = sec.Bounds;
    return std::string(1, FreeLetter(plane, 1)) + "=[" + RoundedText(b[0].v) + ";" + RoundedText(b[1].v) + "]; " +
           FreeLetter(plane, 2) + "=[" + RoundedText(b[2].v) + ";" + RoundedText(b[3].v) + "]";
}

}  // namespace pelmar
