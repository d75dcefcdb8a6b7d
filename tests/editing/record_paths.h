// Test helpers: every record inside a record, visited with a readable path
// ("zi.InSphere.Sec[5].R[3].P2"), and the slots of the nesting path written
// out as field names, so that a test can stamp each part with its path and
// read back which part an operation moved.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/records.h"

namespace pelmar::test {

inline std::string Idx(const std::string& at, const char* name, std::size_t i) {
    return at + "." + name + "[" + std::to_string(i) + "]";
}

template <class F> void VisitRecords(DPoint& r, const std::string& at, F& f) { f(at, r.ID); }
template <class F> void VisitRecords(DLine& r, const std::string& at, F& f) {
    f(at, r.ID);
    VisitRecords(r.P1, at + ".P1", f);
    VisitRecords(r.P2, at + ".P2", f);
    VisitRecords(r.P3, at + ".P3", f);
    VisitRecords(r.P4, at + ".P4", f);
}
template <class F> void VisitRecords(DCircle& r, const std::string& at, F& f) {
    f(at, r.ID);
    VisitRecords(r.Center, at + ".Center", f);
    for (std::size_t i = 1; i <= 3; ++i) VisitRecords(r.R[i], Idx(at, "R", i), f);
}
template <class F> void VisitRecords(DTri& r, const std::string& at, F& f) {
    f(at, r.ID);
    for (std::size_t i = 1; i <= 3; ++i) VisitRecords(r.S[i], Idx(at, "S", i), f);
    for (std::size_t i = 1; i <= 2; ++i) VisitRecords(r.Circ[i], Idx(at, "Circ", i), f);
    for (std::size_t i = 1; i <= 5; ++i) VisitRecords(r.Lines[i], Idx(at, "Lines", i), f);
}
template <class F> void VisitRecords(DKv& r, const std::string& at, F& f) {
    f(at, r.ID);
    for (std::size_t i = 1; i <= 4; ++i) VisitRecords(r.S[i], Idx(at, "S", i), f);
    for (std::size_t i = 1; i <= 2; ++i) VisitRecords(r.Circ[i], Idx(at, "Circ", i), f);
    for (std::size_t i = 1; i <= 2; ++i) VisitRecords(r.Diag[i], Idx(at, "Diag", i), f);
    VisitRecords(r.Center, at + ".Center", f);
}
template <class F> void VisitRecords(DXOY& r, const std::string& at, F& f) {
    f(at, r.ID);
    VisitRecords(r.Center, at + ".Center", f);
    VisitRecords(r.AxisX, at + ".AxisX", f);
    VisitRecords(r.AxisY, at + ".AxisY", f);
}
template <class F> void VisitRecords(DSf& r, const std::string& at, F& f) {
    f(at, r.ID);
    VisitRecords(r.Center, at + ".Center", f);
    VisitRecords(r.Contour, at + ".Contour", f);
    for (std::size_t i = 1; i <= 7; ++i) VisitRecords(r.Sec[i], Idx(at, "Sec", i), f);
}
template <class S, class F> void VisitSpheres(S& r, const std::string& at, F& f) {
    VisitRecords(r.OutSphere, at + ".OutSphere", f);
    VisitRecords(r.InSphere, at + ".InSphere", f);
}
template <class F> void VisitRecords(DZi& r, const std::string& at, F& f) {
    f(at, r.ID);
    VisitRecords(r.Axis, at + ".Axis", f);
    for (std::size_t i = 1; i <= 2; ++i) VisitRecords(r.Base[i], Idx(at, "Base", i), f);
    for (std::size_t i = 1; i <= 4; ++i) VisitRecords(r.Sec[i], Idx(at, "Sec", i), f);
    VisitSpheres(r, at, f);
}
template <class F> void VisitRecords(DKo& r, const std::string& at, F& f) {
    f(at, r.ID);
    VisitRecords(r.Axis, at + ".Axis", f);
    VisitRecords(r.Base, at + ".Base", f);
    for (std::size_t i = 1; i <= 4; ++i) VisitRecords(r.Sec[i], Idx(at, "Sec", i), f);
    VisitSpheres(r, at, f);
}
template <class B, std::size_t N, class F> void VisitRecords(DPyramid<B, N>& r, const std::string& at, F& f) {
    f(at, r.ID);
    VisitRecords(r.HeightLine, at + ".HeightLine", f);
    for (std::size_t i = 1; i <= N; ++i) VisitRecords(r.Face[i], Idx(at, "Face", i), f);
    VisitRecords(r.Base, at + ".Base", f);
    VisitSpheres(r, at, f);
}
template <class B, std::size_t N, class F> void VisitRecords(DPrism<B, N>& r, const std::string& at, F& f) {
    f(at, r.ID);
    for (std::size_t i = 1; i <= N; ++i) VisitRecords(r.Side[i], Idx(at, "Side", i), f);
    for (std::size_t i = 1; i <= 2; ++i) VisitRecords(r.Base[i], Idx(at, "Base", i), f);
    VisitSpheres(r, at, f);
}
template <class F> void VisitRecords(DXZ& r, const std::string& at, F& f) {
    f(at, r.ID);
    VisitRecords(r.Center, at + ".Center", f);
    VisitRecords(r.AxisX, at + ".AxisX", f);
    VisitRecords(r.AxisY, at + ".AxisY", f);
    VisitRecords(r.AxisZ, at + ".AxisZ", f);
}

// Sets the ID of every record inside r to its path below `at`.
template <class R>
void StampPaths(R& r, const std::string& at) {
    auto f = [](const std::string& path, DStr& id) { id.s = path; };
    VisitRecords(r, at, f);
}

// The paths whose record no longer carries its own path as ID.
template <class R>
std::vector<std::string> ChangedPaths(R& r, const std::string& at) {
    std::vector<std::string> out;
    auto f = [&out](const std::string& path, DStr& id) {
        if (id.s != path) out.push_back(path);
    };
    VisitRecords(r, at, f);
    return out;
}

// One slot of the nesting path: the part level's kind code, its role, the
// parent's kind code and the field of the parent that holds the part.
struct RoleSlot {
    const char* level;
    int role;
    const char* parent;
    const char* field;
};

inline const std::vector<RoleSlot>& RoleSlots() {
    static const std::vector<RoleSlot> table{
        {"po", 1, "li", "P1"}, {"po", 2, "li", "P2"}, {"po", 8, "li", "P3"}, {"po", 9, "li", "P4"},
        {"po", 3, "ci", "Center"}, {"po", 4, "xy", "Center"}, {"po", 5, "kv", "Center"}, {"po", 6, "sf", "Center"},
        {"po", 7, "xz", "Center"},
        {"li", 1, "ci", "R[1]"}, {"li", 2, "ci", "R[2]"}, {"li", 3, "ci", "R[3]"},
        {"li", 4, "tr", "S[1]"}, {"li", 5, "tr", "S[2]"}, {"li", 6, "tr", "S[3]"},
        {"li", 7, "tr", "Lines[1]"}, {"li", 8, "tr", "Lines[2]"}, {"li", 9, "tr", "Lines[3]"},
        {"li", 10, "tr", "Lines[4]"}, {"li", 11, "tr", "Lines[5]"},
        {"li", 12, "xy", "AxisX"}, {"li", 13, "xy", "AxisY"}, {"li", 12, "xz", "AxisX"}, {"li", 13, "xz", "AxisY"},
        {"li", 29, "xz", "AxisZ"},
        {"li", 14, "kv", "S[1]"}, {"li", 15, "kv", "S[2]"}, {"li", 16, "kv", "S[3]"}, {"li", 17, "kv", "S[4]"},
        {"li", 18, "kv", "Diag[1]"}, {"li", 19, "kv", "Diag[2]"},
        {"li", 20, "zi", "Axis"}, {"li", 21, "ko", "Axis"}, {"li", 22, "i3", "HeightLine"}, {"li", 22, "i4", "HeightLine"},
        {"ci", 1, "tr", "Circ[2]"}, {"ci", 2, "tr", "Circ[1]"},
        {"ci", 3, "sf", "Sec[1]"}, {"ci", 4, "sf", "Sec[2]"}, {"ci", 5, "sf", "Sec[3]"}, {"ci", 12, "sf", "Sec[4]"},
        {"ci", 13, "sf", "Sec[5]"}, {"ci", 14, "sf", "Sec[6]"}, {"ci", 15, "sf", "Sec[7]"}, {"ci", 6, "sf", "Contour"},
        {"ci", 7, "zi", "Base[1]"}, {"ci", 8, "zi", "Base[2]"}, {"ci", 9, "ko", "Base"},
        {"ci", 10, "kv", "Circ[2]"}, {"ci", 11, "kv", "Circ[1]"},
        {"tr", 1, "ko", "Sec[1]"}, {"tr", 2, "ko", "Sec[2]"}, {"tr", 3, "ko", "Sec[3]"}, {"tr", 4, "ko", "Sec[4]"},
        {"tr", 5, "i3", "Base"}, {"tr", 6, "i3", "Face[1]"}, {"tr", 7, "i3", "Face[2]"}, {"tr", 8, "i3", "Face[3]"},
        {"tr", 6, "i4", "Face[1]"}, {"tr", 7, "i4", "Face[2]"}, {"tr", 8, "i4", "Face[3]"}, {"tr", 9, "i4", "Face[4]"},
        {"tr", 10, "r3", "Base[1]"}, {"tr", 11, "r3", "Base[2]"},
        {"kv", 1, "zi", "Sec[1]"}, {"kv", 2, "zi", "Sec[2]"}, {"kv", 3, "zi", "Sec[3]"}, {"kv", 4, "zi", "Sec[4]"},
        {"kv", 5, "i4", "Base"}, {"kv", 6, "r4", "Base[1]"}, {"kv", 7, "r4", "Base[2]"},
        {"kv", 8, "r3", "Side[1]"}, {"kv", 9, "r3", "Side[2]"}, {"kv", 10, "r3", "Side[3]"},
        {"kv", 8, "r4", "Side[1]"}, {"kv", 9, "r4", "Side[2]"}, {"kv", 10, "r4", "Side[3]"}, {"kv", 11, "r4", "Side[4]"},
    };
    static const char* solids[] = {"zi", "ko", "i3", "i4", "r3", "r4"};
    static const std::vector<RoleSlot> all = [] {
        std::vector<RoleSlot> v = table;
        for (const char* s : solids) {
            v.push_back({"sf", 1, s, "OutSphere"});
            v.push_back({"sf", 2, s, "InSphere"});
        }
        return v;
    }();
    return all;
}

// The slot a role of a level names in a parent kind; nullptr when none.
inline const RoleSlot* FindRoleSlot(const std::string& level, int role, const std::string& parent) {
    for (const RoleSlot& s : RoleSlots())
        if (level == s.level && role == s.role && parent == s.parent) return &s;
    return nullptr;
}

}  // namespace pelmar::test
