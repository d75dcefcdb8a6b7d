// Test helper: documents holding objects of every kind, recomputed as the
// program holds them, and small text helpers for document files.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "files/document.h"
#include "model/geometry.h"
#include "model/polyhedron_make.h"
#include "model/records.h"
#include "model/update.h"

namespace pelmar::test {

inline void PlacedPoint(DPoint& p, double x, double y, double z) {
    SetPos(p, Vec3{x, y, z});
    ProjectPoint(p);
}

inline DPoint MakePoint(int i) {
    DPoint p;
    PlacedPoint(p, 10 + i, 40 + 3 * i, 60 - i);
    p.ID.s = "Point №" + std::to_string(i);
    p.Name.s = i % 2 ? "A" : "Б";
    p.NameFont.s = "Times New Roman";
    p.IndexFont.s = "Symbol";
    p.Typ.v = 2;
    p.Radius.v = 3;
    p.Layer.v = 1;
    p.ColorIndex.v = static_cast<std::uint8_t>(i % 16);
    p.NameSize.v = 12;
    p.Anim = {"t", "", "2*t", ""};
    return p;
}

inline DLine MakeLine(int i) {
    DLine l;
    PlacedPoint(l.P1, 0, 10 + i, 20);
    PlacedPoint(l.P2, 5, 110 + i, 70 + i);
    l.ID.s = "Line №" + std::to_string(i);
    l.Layer.v = 2;
    l.Thick.v = 1;
    l.LineType.v = 1;
    l.Frac3.v = 0.25;
    l.Frac4.v = 0.75;
    l.Show3.v = true;
    return l;
}

inline DCircle MakeCircle(int i) {
    DCircle c;
    PlacedPoint(c.Center, 0, 200 + i, 200);
    c.A3.v = 50;
    c.B3.v = 30 + i % 7;
    c.ViewType.v = 1;
    c.Layer.v = 1;
    c.Thick.v = 1;
    c.ID.s = "Circle №" + std::to_string(i);
    return c;
}

inline DTri MakeTriangle(int i) {
    DTri t;
    SetVertices(t, std::array<Vec3, 3>{Vec3{0, 0, 0}, Vec3{0, 100.0 + i, 0}, Vec3{0, 30, 80}});
    SetTriLines(t);
    t.Typ.v = 4;
    t.ID.s = "Trian №" + std::to_string(i);
    t.Fill.On = i % 2 == 0;
    t.Fill.Colors = {0xFF, 0xFF00, 0xFF0000};
    return t;
}

inline DKv MakeTetragon(int i) {
    DKv k;
    SetVertices(k, std::array<Vec3, 4>{Vec3{0, 0, 0}, Vec3{0, 100.0 + i, 0}, Vec3{0, 100, 90}, Vec3{0, 0, 80}});
    k.Typ.v = 7;
    k.ID.s = "Tetra №" + std::to_string(i);
    return k;
}

inline DXOY NumberedXOY(int i) {
    DXOY x;
    PlacedPoint(x.Center, 0, 300 + i, 300);
    PlacedPoint(x.AxisX.P1, 0, 200, 300);
    PlacedPoint(x.AxisX.P2, 0, 400, 300);
    PlacedPoint(x.AxisY.P1, 0, 300, 200);
    PlacedPoint(x.AxisY.P2, 0, 300, 400);
    x.ScaleX.v = x.ScaleY.v = 20;
    x.DivX.v = x.DivY.v = 1;
    x.NumberFont.s = "Symbol";
    const char* graphs[6] = {"2*sin(x)", "2*eks(x)", "3*sin(3*x)", "1+sin(x)", "3*(sin(x))^3", "x^2-y^2-9"};
    for (std::size_t g = 1; g <= 6; ++g) {
        x.Graph[g].s = graphs[g - 1];
        x.Style[g].Visible.v = x.Style[g].Hidden.v = 1;
        x.Style[g].Dash.v = x.Style[g].Gap.v = 10;
    }
    x.Graph2.s = "3*(cos(x))^3";
    x.ID.s = "XOY №" + std::to_string(i);
    return x;
}

inline DSf MakeOrb(int i) {
    DSf s;
    PlacedPoint(s.Center, 0, 500 + i, 300);
    s.Radius.v = 60;
    s.View.v = 1;
    s.ContourOn.v = true;
    s.SecOn[1].v = true;
    s.SecNX[1].v = 1;
    s.ID.s = "Orb №" + std::to_string(i);
    return s;
}

template <class R>
R MakeRound(int i) {
    R r;
    PlacedPoint(r.Axis.P1, 0, 100 + i, 100);
    PlacedPoint(r.Axis.P2, 0, 100 + i, 220);
    r.Axis.Length.v = 120;
    r.Radius.v = 40;
    r.View.v = 4;
    r.SecPos1.v = 0.3;
    r.SecPos2.v = 0.6;
    r.Anim = {"", "t", "", ""};
    r.OutSphere.Radius.v = r.InSphere.Radius.v = 1;
    return r;
}

inline DXZ NumberedXYZ(int i) {
    DXZ x;
    PlacedPoint(x.Center, 0, 300 + i, 300);
    PlacedPoint(x.AxisX.P1, -100, 300, 300);
    PlacedPoint(x.AxisX.P2, 100, 300, 300);
    PlacedPoint(x.AxisY.P1, 0, 200, 300);
    PlacedPoint(x.AxisY.P2, 0, 400, 300);
    PlacedPoint(x.AxisZ.P1, 0, 300, 200);
    PlacedPoint(x.AxisZ.P2, 0, 300, 400);
    x.Scale.v = 20;
    x.Div.v = 1;
    x.NumberFont.s = "Arial";
    x.Surf[3].s = "cos(t)";
    x.Surf3More[1].s = "sin(t)";
    x.Surf3More[2].s = "t/5";
    for (auto& o : x.Outlines) {
        o.X2 = 800;
        o.Y2 = 600;
        o.Colors = {0xFFFFFF, 0x0000FF, 0};
    }
    x.Sections[1][3][2].On.v = true;
    x.Sections[1][3][2].C.v = 1.5;
    x.ID.s = "XYZ №" + std::to_string(i);
    return x;
}

// counts: how many of each kind (clipped to the capacity); the objects are
// recomputed as after reading.
inline std::unique_ptr<DProj> DocumentOfEveryKind(int perKind) {
    auto d = NewDocument();
    auto fill = [&](auto& store, auto make) {
        for (int i = 1; i <= perKind && !store.full(); ++i) store.add(make(i));
    };
    DSubProj& o = d->Obj;
    fill(o.Po, [](int i) { return MakePoint(i); });
    fill(o.Li, [](int i) { return MakeLine(i); });
    fill(o.Ci, [](int i) { return MakeCircle(i); });
    fill(o.Tr, [](int i) { return MakeTriangle(i); });
    fill(o.Kv, [](int i) { return MakeTetragon(i); });
    fill(o.Xy, [](int i) { return NumberedXOY(i); });
    fill(o.Sf, MakeOrb);
    fill(o.Zi, [](int i) { return MakeRound<DZi>(i); });
    fill(o.Ko, [](int i) { return MakeRound<DKo>(i); });
    fill(o.I3, [](int) { return StandardPyramid3(4); });
    fill(o.I4, [](int) { return StandardPyramid4(4); });
    fill(o.R3, [](int) { return StandardPrism3(4); });
    fill(o.R4, [](int) { return StandardCube(4); });
    fill(o.Xz, [](int i) { return NumberedXYZ(i); });
    d->Caption = "Чертёж №1";
    d->Author = "Автор";
    d->Notes = {"первая", "", "третья"};
    d->AnimStep = "pi/15";
    d->AnimStart = "0";
    // A cone's circumscribed sphere settles only on the second recompute;
    // after that a recompute changes nothing, as after reading a saved file.
    ProcessAfterReading(*d, nullptr);
    ProcessAfterReading(*d, nullptr);
    return d;
}

// Lines of a file's bytes (CR LF or LF ends).
inline std::vector<std::string> SplitLines(const std::string& s) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < s.size()) {
        std::size_t e = s.find('\n', start);
        if (e == std::string::npos) e = s.size();
        std::string line = s.substr(start, e - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out.push_back(line);
        start = e + 1;
    }
    return out;
}

inline std::string JoinLines(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& l : lines) s += l + "\r\n";
    return s;
}

// The text a save of the document writes.
inline std::string SavedText(const DProj& d) { return DocumentText(d, WindowsFromRecord(d), d.Role, ','); }

// The document a file of that text reopens as, recomputed as after reading.
inline std::unique_ptr<DProj> Reopened(const DProj& d) {
    auto back = NewDocument();
    std::uint8_t version = 0;
    EXPECT_EQ(ParseDocumentText(SavedText(d), *back, version, ','), ReadOk);
    ProcessAfterReading(*back, nullptr);
    return back;
}

// Two lines that both hold a number (decimal comma) within `tolerance` of
// each other, relative above 1.
inline bool NumbersClose(const std::string& a, const std::string& b, double tolerance) {
    const auto number = [](std::string t, double& v) {
        std::replace(t.begin(), t.end(), ',', '.');
        char* end = nullptr;
        v = std::strtod(t.c_str(), &end);
        return !t.empty() && end == t.c_str() + t.size();
    };
    double x = 0, y = 0;
    return number(a, x) && number(b, y) && std::fabs(x - y) <= tolerance * std::max({1.0, std::fabs(x), std::fabs(y)});
}

// Where two file texts first differ: the line, the block it stands in and
// both texts of it; empty when they agree line for line.  With a tolerance,
// numbers that close count as agreeing.
inline std::string FirstDifferentLine(const std::string& a, const std::string& b, double tolerance = -1) {
    const auto x = SplitLines(a), y = SplitLines(b);
    std::size_t i = 0, head = 0;
    for (; i < std::min(x.size(), y.size()); ++i) {
        if (x[i].rfind('<', 0) == 0) head = i;
        if (x[i] != y[i] && !(tolerance >= 0 && NumbersClose(x[i], y[i], tolerance))) break;
    }
    if (i == x.size() && i == y.size()) return "";
    const auto at = [i](const std::vector<std::string>& v) { return i < v.size() ? v[i] : std::string("(end)"); };
    return "line " + std::to_string(i + 1) + " (" + (x.empty() ? "" : x[head]) + " +" + std::to_string(i - head) +
           "): " + at(x) + " | " + at(y);
}

inline std::string ReadFileBytes(const std::string& name) {
    std::ifstream f(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const std::string& name, const std::string& bytes) {
    std::ofstream f(name, std::ios::binary);
    f << bytes;
}

// A fresh folder under the system's temporary folder, removed at the end.
struct TempDir {
    std::filesystem::path path;
    TempDir() {
        static int n = 0;
        path = std::filesystem::temp_directory_path() /
               ("pelmar_files_" + std::to_string(::getpid()) + "_" + std::to_string(++n));
        std::filesystem::create_directories(path);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::string file(const std::string& name) const { return (path / name).string(); }
};

}  // namespace pelmar::test
