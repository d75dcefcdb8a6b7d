// Blocks of the solids: sphere, cylinder, cone, pyramids and prisms.
#include "files/block_common.h"
#include "files/object_blocks.h"

namespace pelmar {

using namespace blocks;

namespace {

void WriteSolidHead(LineWriter& out, const DSolidHead& h, const std::string& header) {
    WriteHead(out, h, header);
    out.Int(h.View.v);
}

void ReadSolidHead(LineReader& in, DSolidHead& h) {
    ReadHead(in, h);
    h.View.v = in.Byte();
}

void WriteTail(LineWriter& out, const DFill& f, std::int32_t number) {
    WriteFill(out, f);
    out.Int(number);
}

void ReadTail(LineReader& in, DFill& f, std::int32_t& number) {
    ReadFill(in, f);
    ReadNumber(in, number);
}

void WriteSpheres(LineWriter& out, const DSf& outer, const DSf& inner, const std::string& header) {
    WriteOrbBlock(out, outer, header + "<Orb Opi>");
    WriteOrbBlock(out, inner, header + "<Orb Vpi>");
}

}  // namespace

// ---------------------------------------------------------------------------
// Sphere

void WriteOrbBlock(LineWriter& out, const DSf& s, const std::string& header) {
    WritePointBlock(out, s.Center, header + "<Center>");
    for (std::size_t i = 1; i <= 7; ++i)
        WriteCircleBlock(out, s.Sec[i], header + "<Circle Section " + std::to_string(i) + ">");
    WriteCircleBlock(out, s.Contour, header + "<Circle Outline>");
    WriteSolidHead(out, s, header);
    out.Real(s.Radius.v);
    out.FlagL(s.ContourOn.v);
    for (std::size_t i = 1; i <= 7; ++i) {
        out.FlagL(s.SecOn[i].v);
        out.Real(s.SecNX[i].v);
        out.Real(s.SecNY[i].v);
        out.Real(s.SecNZ[i].v);
        out.Real(s.SecH[i].v);
    }
    out.Text(s.Anim, "Anim");
    WriteTail(out, s.Fill, s.Number);
}

void ReadOrbBlock(LineReader& in, DSf& s) {
    // Files before version 18 hold three sections without their planes.
    const std::size_t sections = in.version() >= 18 ? 7 : 3;
    ReadPointBlock(in, s.Center);
    for (std::size_t i = 1; i <= sections; ++i) ReadCircleBlock(in, s.Sec[i]);
    ReadCircleBlock(in, s.Contour);
    ReadSolidHead(in, s);
    s.Radius.v = in.Real();
    s.ContourOn.v = in.NotL();
    if (sections == 7) {
        for (std::size_t i = 1; i <= 7; ++i) {
            s.SecOn[i].v = in.IsI();
            s.SecNX[i].v = in.Real();
            s.SecNY[i].v = in.Real();
            s.SecNZ[i].v = in.Real();
            s.SecH[i].v = in.Real();
        }
    } else {
        static constexpr double kNormals[3][3] = {{1, 0, 0}, {0, 0, 1}, {0, 1, 0}};
        for (std::size_t i = 1; i <= 3; ++i) {
            s.SecOn[i].v = in.NotL();
            s.SecNX[i].v = kNormals[i - 1][0];
            s.SecNY[i].v = kNormals[i - 1][1];
            s.SecNZ[i].v = kNormals[i - 1][2];
            s.SecH[i].v = 0;
        }
    }
    s.Anim = in.version() >= 14 ? in.Text() : std::string();
    ReadTail(in, s.Fill, s.Number);
}

// ---------------------------------------------------------------------------
// Cylinder and cone: sections in the file order contour, main, additional 1, 2
// (the records keep main first).

namespace {

constexpr std::size_t kSectionOrder[4] = {2, 1, 3, 4};
constexpr const char* kSectionLiteral[4] = {"<Cut Outline>", "<Cut Main>", "<Cut Add1>", "<Cut Add2>"};

template <class R>
void WriteRoundOwn(LineWriter& out, const R& r, const std::string& header) {
    WriteSolidHead(out, r, header);
    out.Real(r.Radius.v);
    out.Real(r.Axis.Length.v);
    out.Real(r.SecPos1.v);
    out.Real(r.SecPos2.v);
    for (const std::size_t i : kSectionOrder) out.FlagL(r.SecOn[i].v);
    out.FlagL(r.OutSphereOn.v);
    out.FlagL(r.InSphereOn.v);
    WriteTexts(out, r.Anim, "Anim");
    WriteTail(out, r.Fill, r.Number);
}

template <class R>
void ReadRoundOwn(LineReader& in, R& r) {
    ReadSolidHead(in, r);
    r.Radius.v = in.Real();
    r.Axis.Length.v = in.Real();
    r.SecPos1.v = in.Real();
    r.SecPos2.v = in.Real();
    for (const std::size_t i : kSectionOrder) r.SecOn[i].v = in.NotL();
    r.OutSphereOn.v = in.NotL();
    r.InSphereOn.v = in.NotL();
    ReadAnim(in, r.Anim);
    ReadTail(in, r.Fill, r.Number);
}

}  // namespace

void WriteCylinderBlock(LineWriter& out, const DZi& z, const std::string& header) {
    WriteLineBlock(out, z.Axis, header + "<Height>");
    WriteCircleBlock(out, z.Base[1], header + "<Circle Down>");
    WriteCircleBlock(out, z.Base[2], header + "<Circle Up>");
    for (std::size_t k = 0; k < 4; ++k) WriteTetragonBlock(out, z.Sec[kSectionOrder[k]], header + kSectionLiteral[k]);
    WriteSpheres(out, z.OutSphere, z.InSphere, header);
    WriteRoundOwn(out, z, header);
}

void ReadCylinderBlock(LineReader& in, DZi& z) {
    ReadLineBlock(in, z.Axis);
    ReadCircleBlock(in, z.Base[1]);
    ReadCircleBlock(in, z.Base[2]);
    for (const std::size_t i : kSectionOrder) ReadTetragonBlock(in, z.Sec[i]);
    ReadOrbBlock(in, z.OutSphere);
    ReadOrbBlock(in, z.InSphere);
    ReadRoundOwn(in, z);
}

void WriteConeBlock(LineWriter& out, const DKo& k, const std::string& header) {
    WriteLineBlock(out, k.Axis, header + "<Height>");
    WriteCircleBlock(out, k.Base, header + "<Circle Down>");
    for (std::size_t j = 0; j < 4; ++j) WriteTriangleBlock(out, k.Sec[kSectionOrder[j]], header + kSectionLiteral[j]);
    WriteSpheres(out, k.OutSphere, k.InSphere, header);
    WriteRoundOwn(out, k, header);
}

void ReadConeBlock(LineReader& in, DKo& k) {
    ReadLineBlock(in, k.Axis);
    ReadCircleBlock(in, k.Base);
    for (const std::size_t i : kSectionOrder) ReadTriangleBlock(in, k.Sec[i]);
    ReadOrbBlock(in, k.OutSphere);
    ReadOrbBlock(in, k.InSphere);
    ReadRoundOwn(in, k);
}

// ---------------------------------------------------------------------------
// Pyramids

namespace {

void WriteBase(LineWriter& out, const DTri& t, const std::string& h) { WriteTriangleBlock(out, t, h); }
void WriteBase(LineWriter& out, const DKv& k, const std::string& h) { WriteTetragonBlock(out, k, h); }
void ReadBase(LineReader& in, DTri& t) { ReadTriangleBlock(in, t); }
void ReadBase(LineReader& in, DKv& k) { ReadTetragonBlock(in, k); }

template <class B, std::size_t N>
void WritePyramid(LineWriter& out, const DPyramid<B, N>& p, const std::string& header) {
    WriteLineBlock(out, p.HeightLine, header + "<Height>");
    WriteBase(out, p.Base, header + "<Base>");
    for (std::size_t i = 1; i <= N; ++i) WriteTriangleBlock(out, p.Face[i], header + "<Edge " + std::to_string(i) + ">");
    WriteSpheres(out, p.OutSphere, p.InSphere, header);
    WriteSolidHead(out, p, header);
    out.FlagL(p.HeightOn.v);
    out.Int(p.Orient.v);
    out.Int(p.Typ.v);
    out.FlagL(p.OutSphereOn.v);
    out.FlagL(p.InSphereOn.v);
    out.Text(p.Anim, "Anim");
    WriteTail(out, p.Fill, p.Number);
}

template <class B, std::size_t N>
void ReadPyramid(LineReader& in, DPyramid<B, N>& p) {
    ReadLineBlock(in, p.HeightLine);
    ReadBase(in, p.Base);
    for (std::size_t i = 1; i <= N; ++i) ReadTriangleBlock(in, p.Face[i]);
    ReadOrbBlock(in, p.OutSphere);
    ReadOrbBlock(in, p.InSphere);
    ReadSolidHead(in, p);
    p.HeightOn.v = in.NotL();
    p.Orient.v = in.Byte();
    p.Typ.v = in.Byte();
    p.OutSphereOn.v = in.NotL();
    p.InSphereOn.v = in.NotL();
    p.Anim = in.version() >= 14 ? in.Text() : std::string();
    ReadTail(in, p.Fill, p.Number);
}

template <class B, std::size_t N>
void WritePrism(LineWriter& out, const DPrism<B, N>& p, const std::string& header) {
    WriteBase(out, p.Base[1], header + "<Base Down>");
    WriteBase(out, p.Base[2], header + "<Base Up>");
    for (std::size_t i = 1; i <= N; ++i) WriteTetragonBlock(out, p.Side[i], header + "<Edge " + std::to_string(i) + ">");
    WriteSpheres(out, p.OutSphere, p.InSphere, header);
    WriteSolidHead(out, p, header);
    out.Real(p.EdgeX.v);
    out.Real(p.EdgeY.v);
    out.Real(p.EdgeZ.v);
    out.Real(p.EdgeLen.v);
    out.Int(p.Typ.v);
    out.FlagL(p.OutSphereOn.v);
    out.FlagL(p.InSphereOn.v);
    WriteTexts(out, p.Anim, "Anim");
    WriteTail(out, p.Fill, p.Number);
}

template <class B, std::size_t N>
void ReadPrism(LineReader& in, DPrism<B, N>& p) {
    ReadBase(in, p.Base[1]);
    ReadBase(in, p.Base[2]);
    for (std::size_t i = 1; i <= N; ++i) ReadTetragonBlock(in, p.Side[i]);
    ReadOrbBlock(in, p.OutSphere);
    ReadOrbBlock(in, p.InSphere);
    ReadSolidHead(in, p);
    p.EdgeX.v = in.Real();
    p.EdgeY.v = in.Real();
    p.EdgeZ.v = in.Real();
    p.EdgeLen.v = in.Real();
    p.Typ.v = in.Byte();
    p.OutSphereOn.v = in.NotL();
    p.InSphereOn.v = in.NotL();
    ReadAnim(in, p.Anim);
    ReadTail(in, p.Fill, p.Number);
}

}  // namespace

void WritePyramid3Block(LineWriter& out, const DPi3& p, const std::string& header) { WritePyramid(out, p, header); }
void WritePyramid4Block(LineWriter& out, const DPi4& p, const std::string& header) { WritePyramid(out, p, header); }
void WritePrism3Block(LineWriter& out, const DPr3& p, const std::string& header) { WritePrism(out, p, header); }
void WritePrism4Block(LineWriter& out, const DPr4& p, const std::string& header) { WritePrism(out, p, header); }
void ReadPyramid3Block(LineReader& in, DPi3& p) { ReadPyramid(in, p); }
void ReadPyramid4Block(LineReader& in, DPi4& p) { ReadPyramid(in, p); }
void ReadPrism3Block(LineReader& in, DPr3& p) { ReadPrism(in, p); }
void ReadPrism4Block(LineReader& in, DPr4& p) { ReadPrism(in, p); }

}  // namespace pelmar
