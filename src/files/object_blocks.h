// Object blocks of the document format: one writer and one reader per kind.
// A writer writes the blocks of the record's parts first, each under the
// header extended by the part's literal, then its own header line and lines.
// A reader consumes the same lines by position (it never looks at a header)
// and reads only what a file of the reader's version holds; it throws
// FormatError on a malformed or missing line.
#pragma once

#include <cstdint>
#include <string>

#include "files/text_lines.h"
#include "model/records.h"

namespace pelmar {

void WritePointBlock(LineWriter& out, const DPoint& p, const std::string& header);
void WriteLineBlock(LineWriter& out, const DLine& l, const std::string& header);
void WriteCircleBlock(LineWriter& out, const DCircle& c, const std::string& header);
void WriteTriangleBlock(LineWriter& out, const DTri& t, const std::string& header);
void WriteTetragonBlock(LineWriter& out, const DKv& k, const std::string& header);
void WriteXOYBlock(LineWriter& out, const DXOY& x, const std::string& header);
void WriteOrbBlock(LineWriter& out, const DSf& s, const std::string& header);
void WriteCylinderBlock(LineWriter& out, const DZi& z, const std::string& header);
void WriteConeBlock(LineWriter& out, const DKo& k, const std::string& header);
void WritePyramid3Block(LineWriter& out, const DPi3& p, const std::string& header);
void WritePyramid4Block(LineWriter& out, const DPi4& p, const std::string& header);
void WritePrism3Block(LineWriter& out, const DPr3& p, const std::string& header);
void WritePrism4Block(LineWriter& out, const DPr4& p, const std::string& header);
void WriteXYZBlock(LineWriter& out, const DXZ& x, const std::string& header);

void ReadPointBlock(LineReader& in, DPoint& p);
void ReadLineBlock(LineReader& in, DLine& l);
void ReadCircleBlock(LineReader& in, DCircle& c);
void ReadTriangleBlock(LineReader& in, DTri& t);
void ReadTetragonBlock(LineReader& in, DKv& k);
void ReadXOYBlock(LineReader& in, DXOY& x);
void ReadOrbBlock(LineReader& in, DSf& s);
void ReadCylinderBlock(LineReader& in, DZi& z);
void ReadConeBlock(LineReader& in, DKo& k);
void ReadPyramid3Block(LineReader& in, DPi3& p);
void ReadPyramid4Block(LineReader& in, DPi4& p);
void ReadPrism3Block(LineReader& in, DPr3& p);
void ReadPrism4Block(LineReader& in, DPr4& p);
// pictureWidth, pictureHeight: those of the document being read (the outline
// windows of a version-10 file take them).
void ReadXYZBlock(LineReader& in, DXZ& x, std::int32_t pictureWidth, std::int32_t pictureHeight);

// The record put as writing its block and reading it back gives it, without
// the text (blocks::BlockRoundTrip): `key` gets what the block's lines hold,
// so that records with equal keys write equal blocks.  Unwritable: a real
// that is not finite, which no block is written with; Unreadable: a line
// the reader would refuse.  Either leaves the record partly put.  Without
// `texts` the texts are left out, for a record whose texts are as its file
// gives them back already; without `put` only the key is made.
enum class BlockTrip { Read, Unreadable, Unwritable };
BlockTrip RoundTripBlock(DPoint& p, std::string& key, bool texts = true, bool put = true);
BlockTrip RoundTripBlock(DLine& l, std::string& key, bool texts = true, bool put = true);
BlockTrip RoundTripBlock(DCircle& c, std::string& key, bool texts = true, bool put = true);
BlockTrip RoundTripBlock(DTri& t, std::string& key, bool texts = true, bool put = true);
BlockTrip RoundTripBlock(DKv& k, std::string& key, bool texts = true, bool put = true);
BlockTrip RoundTripBlock(DXOY& x, std::string& key, bool texts = true, bool put = true);
BlockTrip RoundTripBlock(DSf& s, std::string& key, bool texts = true, bool put = true);
BlockTrip RoundTripBlock(DZi& z, std::string& key, bool texts = true, bool put = true);
BlockTrip RoundTripBlock(DKo& k, std::string& key, bool texts = true, bool put = true);
BlockTrip RoundTripBlock(DPi3& p, std::string& key, bool texts = true, bool put = true);
BlockTrip RoundTripBlock(DPi4& p, std::string& key, bool texts = true, bool put = true);
BlockTrip RoundTripBlock(DPr3& p, std::string& key, bool texts = true, bool put = true);
BlockTrip RoundTripBlock(DPr4& p, std::string& key, bool texts = true, bool put = true);
BlockTrip RoundTripXYZBlock(DXZ& x, std::string& key, std::int32_t pictureWidth, std::int32_t pictureHeight);

// The link line of a point: ten bytes, each followed by "#".
std::string LinkToText(const DLink& link);
// Reads such a line into link (an empty line leaves it); throws FormatError.
void LinkFromText(std::string_view line, DLink& link, const LineReader& in);

}  // namespace pelmar
