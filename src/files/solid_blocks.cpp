// Blocks of the solids: sphere, cylinder, cone, pyramids and prisms.
#include <type_traits>

#include "files/block_common.h"
#include "files/object_blocks.h"

namespace pelmar {

namespace blocks {

namespace {

template <class IO, class H>
void SolidHead(IO& io, H& h, const std::string& header) {
    Head(io, h, header);
    io.Byte(h.View.v);
}

template <class IO, class R>
void Tail(IO& io, R& r) {
    Fill(io, r.Fill);
    Number(io, r.Number);
}

}  // namespace

// ---------------------------------------------------------------------------
// Sphere

template <class IO, class S>
void OrbBlock(IO& io, S& s, const std::string& header) {
    // Files before version 18 hold three sections without their planes.
    const std::size_t sections = io.since(18) ? 7 : 3;
    PointBlock(io, s.Center, io.sub(header, "<Center>"));
    for (std::size_t i = 1; i <= sections; ++i)
        CircleBlock(io, s.Sec[i], io.sub(header, "<Circle Section " + std::to_string(i) + ">"));
    CircleBlock(io, s.Contour, io.sub(header, "<Circle Outline>"));
    SolidHead(io, s, header);
    io.Real(s.Radius.v);
    io.NotL(s.ContourOn.v);
    if (sections == 7) {
        for (std::size_t i = 1; i <= 7; ++i) {
            io.IsI(s.SecOn[i].v);
            io.Real(s.SecNX[i].v);
            io.Real(s.SecNY[i].v);
            io.Real(s.SecNZ[i].v);
            io.Real(s.SecH[i].v);
        }
    } else if constexpr (IO::reading) {
        static constexpr double kNormals[3][3] = {{1, 0, 0}, {0, 0, 1}, {0, 1, 0}};
        for (std::size_t i = 1; i <= 3; ++i) {
            io.NotL(s.SecOn[i].v);
            s.SecNX[i].v = kNormals[i - 1][0];
            s.SecNY[i].v = kNormals[i - 1][1];
            s.SecNZ[i].v = kNormals[i - 1][2];
            s.SecH[i].v = 0;
        }
    }
    io.Anim(s.Anim, "Anim");
    Tail(io, s);
}

namespace {

// Spheres of the solids.
template <class IO, class R>
void Spheres(IO& io, R& r, const std::string& header) {
    OrbBlock(io, r.OutSphere, io.sub(header, "<Orb Opi>"));
    OrbBlock(io, r.InSphere, io.sub(header, "<Orb Vpi>"));
}

// ---------------------------------------------------------------------------
// Cylinder and cone: sections in the file order contour, main, additional 1, 2
// (the records keep main first).

constexpr std::size_t kSectionOrder[4] = {2, 1, 3, 4};
constexpr const char* kSectionLiteral[4] = {"<Cut Outline>", "<Cut Main>", "<Cut Add1>", "<Cut Add2>"};

template <class IO, class R>
void RoundOwn(IO& io, R& r, const std::string& header) {
    SolidHead(io, r, header);
    io.Real(r.Radius.v);
    io.Real(r.Axis.Length.v);
    io.Real(r.SecPos1.v);
    io.Real(r.SecPos2.v);
    for (const std::size_t i : kSectionOrder) io.NotL(r.SecOn[i].v);
    io.NotL(r.OutSphereOn.v);
    io.NotL(r.InSphereOn.v);
    io.Anims(r.Anim, "Anim");
    Tail(io, r);
}

}  // namespace

template <class IO, class Z>
void CylinderBlock(IO& io, Z& z, const std::string& header) {
    LineBlock(io, z.Axis, io.sub(header, "<Height>"));
    CircleBlock(io, z.Base[1], io.sub(header, "<Circle Down>"));
    CircleBlock(io, z.Base[2], io.sub(header, "<Circle Up>"));
    for (std::size_t k = 0; k < 4; ++k) TetragonBlock(io, z.Sec[kSectionOrder[k]], io.sub(header, kSectionLiteral[k]));
    Spheres(io, z, header);
    RoundOwn(io, z, header);
}

template <class IO, class K>
void ConeBlock(IO& io, K& k, const std::string& header) {
    LineBlock(io, k.Axis, io.sub(header, "<Height>"));
    CircleBlock(io, k.Base, io.sub(header, "<Circle Down>"));
    for (std::size_t j = 0; j < 4; ++j) TriangleBlock(io, k.Sec[kSectionOrder[j]], io.sub(header, kSectionLiteral[j]));
    Spheres(io, k, header);
    RoundOwn(io, k, header);
}

// ---------------------------------------------------------------------------
// Pyramids and prisms

namespace {

// A pyramid's or prism's base: a triangle or a tetragon.
template <class IO, class B>
void Base(IO& io, B& b, const std::string& header) {
    if constexpr (std::is_same_v<std::remove_const_t<B>, DTri>) TriangleBlock(io, b, header);
    else TetragonBlock(io, b, header);
}

}  // namespace

template <class IO, class P>
void PyramidBlock(IO& io, P& p, const std::string& header) {
    LineBlock(io, p.HeightLine, io.sub(header, "<Height>"));
    Base(io, p.Base, io.sub(header, "<Base>"));
    for (std::size_t i = 1; i <= p.Face.size(); ++i)
        TriangleBlock(io, p.Face[i], io.sub(header, "<Edge " + std::to_string(i) + ">"));
    Spheres(io, p, header);
    SolidHead(io, p, header);
    io.NotL(p.HeightOn.v);
    io.Byte(p.Orient.v);
    io.Byte(p.Typ.v);
    io.NotL(p.OutSphereOn.v);
    io.NotL(p.InSphereOn.v);
    io.Anim(p.Anim, "Anim");
    Tail(io, p);
}

template <class IO, class P>
void PrismBlock(IO& io, P& p, const std::string& header) {
    Base(io, p.Base[1], io.sub(header, "<Base Down>"));
    Base(io, p.Base[2], io.sub(header, "<Base Up>"));
    for (std::size_t i = 1; i <= p.Side.size(); ++i)
        TetragonBlock(io, p.Side[i], io.sub(header, "<Edge " + std::to_string(i) + ">"));
    Spheres(io, p, header);
    SolidHead(io, p, header);
    io.Real(p.EdgeX.v);
    io.Real(p.EdgeY.v);
    io.Real(p.EdgeZ.v);
    io.Real(p.EdgeLen.v);
    io.Byte(p.Typ.v);
    io.NotL(p.OutSphereOn.v);
    io.NotL(p.InSphereOn.v);
    io.Anims(p.Anim, "Anim");
    Tail(io, p);
}

template <class IO, class P>
void Pyramid3Block(IO& io, P& p, const std::string& header) { PyramidBlock(io, p, header); }
template <class IO, class P>
void Pyramid4Block(IO& io, P& p, const std::string& header) { PyramidBlock(io, p, header); }
template <class IO, class P>
void Prism3Block(IO& io, P& p, const std::string& header) { PrismBlock(io, p, header); }
template <class IO, class P>
void Prism4Block(IO& io, P& p, const std::string& header) { PrismBlock(io, p, header); }

}  // namespace blocks

PELMAR_OBJECT_BLOCK(Orb, DSf)
PELMAR_OBJECT_BLOCK(Cylinder, DZi)
PELMAR_OBJECT_BLOCK(Cone, DKo)
PELMAR_OBJECT_BLOCK(Pyramid3, DPi3)
PELMAR_OBJECT_BLOCK(Pyramid4, DPi4)
PELMAR_OBJECT_BLOCK(Prism3, DPr3)
PELMAR_OBJECT_BLOCK(Prism4, DPr4)

}  // namespace pelmar
