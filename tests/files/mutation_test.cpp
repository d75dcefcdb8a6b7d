// Damaged files of the document format, made by a seeded generator: saved
// documents, default sets and clipboard files have bytes flipped, lines
// removed or repeated, and numbers replaced by huge, negative or NaN-like
// texts, 2000 rounds of each by default (PELMAR_MUTATION_ROUNDS=<n> runs more:
// the reader is slow under the sanitizers).  Every one is either refused with
// a result code, or read (recomputed) into a document whose values are finite
// and whose picture size keeps its limits, which is written and read back
// equal.  The seed is fixed; a failure names it and the damage done
// (PELMAR_MUTATION_SEED=<n> runs another).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "doc_fixture.h"
#include "files/document.h"
#include "model/defaults.h"
#include "model/records.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

std::uint32_t Seed() {
    const char* env = std::getenv("PELMAR_MUTATION_SEED");
    return env && *env ? static_cast<std::uint32_t>(std::strtoul(env, nullptr, 10)) : 20261207u;
}

// Texts that stand in for a number.
const char* const Wild[] = {"1E308",      "-1E308",      "1,7E308", "-1,7976931348623157E308", "1E309", "-1E400",
                            "NAN",        "nan",         "INF",     "-INF",   "2147483647",  "-2147483648",
                            "99999999999", "-99999999999", "-1",    "0",      "1E-320",      "-0",
                            "4294967296", "1E15",        "65535",   "",       "+",           "1,5,5"};

bool IsNumber(const std::string& line) {
    return !line.empty() && line.size() < 30 && line.find_first_not_of("-+0123456789,.E") == std::string::npos &&
           line.find_first_of("0123456789") != std::string::npos;
}

// The bounds [begin, end) of the line holding byte `at` (its line end not
// included).
std::pair<std::size_t, std::size_t> LineAround(const std::string& s, std::size_t at) {
    const std::size_t nl = at == 0 ? std::string::npos : s.rfind('\n', at - 1);
    const std::size_t begin = nl == std::string::npos ? 0 : nl + 1;
    std::size_t end = s.find('\n', begin);
    if (end == std::string::npos) end = s.size();
    if (end > begin && s[end - 1] == '\r') --end;
    return {begin, end};
}

// One to three pieces of damage, done on the bytes; what was done goes to
// `log`.
std::string Damage(std::string s, std::mt19937& rng, std::string& log) {
    const int count = 1 + static_cast<int>(rng() % 3);
    for (int n = 0; n < count && !s.empty(); ++n) {
        auto [begin, end] = LineAround(s, rng() % s.size());
        const std::size_t next = std::min(s.size(), s.find('\n', end) == std::string::npos ? s.size() : s.find('\n', end) + 1);
        switch (rng() % 5) {
            case 0: {  // a byte flipped somewhere
                const std::size_t at = rng() % s.size();
                s[at] = static_cast<char>(s[at] ^ (1 << (rng() % 8)));
                log += " flip@" + std::to_string(at);
                break;
            }
            case 1:
                log += " del@" + std::to_string(begin);
                s.erase(begin, next - begin);
                break;
            case 2:
                log += " dup@" + std::to_string(begin);
                s.insert(begin, s.substr(begin, next - begin));
                break;
            default: {  // a number replaced; up to 20 tries to find one
                for (int t = 0; t < 20 && !IsNumber(s.substr(begin, end - begin)); ++t)
                    std::tie(begin, end) = LineAround(s, rng() % s.size());
                const char* w = Wild[rng() % std::size(Wild)];
                log += " num@" + std::to_string(begin) + "=" + w;
                s.replace(begin, end - begin, w);
                break;
            }
        }
    }
    return s;
}

std::string Text(const DProj& doc) { return DocumentText(doc, WindowsFromRecord(doc), doc.Role, ','); }

// The document of a text as the reader makes it (parsed and recomputed).
void Reread(const std::string& text, DProj& doc) {
    std::uint8_t version = 0;
    ASSERT_EQ(ParseDocumentText(text, doc, version, ','), ReadOk);
    ProcessAfterReading(doc, nullptr);
}

// Reads `name` in `mode`: refused with a result code, or read into a document
// that is finite, within the size limits, and written and read back equal.
// A recompute may settle values once more (as a cone's circumscribed sphere
// does), so equal means: the text written from what was read reads back as
// the same text from the second writing on.
void CheckRead(const std::string& name, std::uint8_t mode) {
    auto doc = NewDocument();
    DocumentContext ctx;
    ctx.DecimalSeparator = ',';
    std::uint8_t version = 0;
    const std::uint8_t r = ReadDocument(name, *doc, version, mode, ctx);
    ASSERT_LE(r, ReadMalformed);
    if (r != ReadOk) return;
    ASSERT_GE(doc->Im.Width, PictureSideMin);
    ASSERT_LE(doc->Im.Width, PictureSideMax);
    ASSERT_GE(doc->Im.Height, PictureSideMin);
    ASSERT_LE(doc->Im.Height, PictureSideMax);
    // A real that is not finite would be written as a text the reader
    // refuses: reading back what was written fails on it.
    Reread(Text(*doc), *doc);
    const std::string once = Text(*doc);
    Reread(once, *doc);
    ASSERT_EQ(Text(*doc), once);
}

struct Seeds {
    std::unique_ptr<DProj> document = NewDocument();
    std::unique_ptr<DProj> clipboard = NewDocument();
    Seeds() {
        DSubProj& o = document->Obj;
        o.Po.add(MakePoint(1));
        o.Li.add(MakeLine(1));
        o.Ci.add(MakeCircle(1));
        o.Tr.add(MakeTriangle(1));
        o.Kv.add(MakeTetragon(1));
        o.Xy.add(NumberedXOY(1));
        o.Sf.add(MakeOrb(1));
        ProcessAfterReading(*document, nullptr);
        clipboard->Obj.Li.add(MakeLine(2));
        clipboard->Obj.Ci.add(MakeCircle(2));
        ProcessAfterReading(*clipboard, nullptr);
    }
};

// Default sets of every kind: one object each, from a document of every kind.
std::vector<std::string> DefaultSetTexts(const DProj& all) {
    std::vector<std::string> texts;
    for (std::size_t k = 0; k < KindTable.size(); ++k) {
        auto one = NewDocument();
        std::size_t i = 0;
        ForEachStore(one->Obj, [&](auto& to) {
            std::size_t j = 0;
            ForEachStore(all.Obj, [&](const auto& from) {
                if constexpr (std::is_same_v<std::decay_t<decltype(to)>, std::decay_t<decltype(from)>>)
                    if (i == k && j == k) to.add(from[1]);
                ++j;
            });
            ++i;
        });
        texts.push_back(Text(*one));
    }
    return texts;
}

// Kind k's default object, as a new object of the kind gets it.
bool DefaultIsFinite(std::size_t k, const DefaultsSource& src) {
    bool finite = true;
    std::size_t i = 0;
    const DSubProj none;
    ForEachStore(none, [&](const auto& store) {
        if (i++ != k) return;
        using Rec = std::decay_t<decltype(store[1])>;
        auto rec = std::make_unique<Rec>();
        LoadDefault(*rec, 1, src);
        finite = ObjectIsFinite(*rec);
    });
    return finite;
}

}  // namespace

TEST(Mutation, DocumentsDefaultSetsAndClipboardFilesRefusedOrKeptWhole) {
    const std::uint32_t seed = Seed();
    std::mt19937 rng(seed);
    TempDir dir;
    const std::string name = dir.file("m.pel");
    const std::string prog = dir.file("prog") + "/";
    std::filesystem::create_directories(prog + "DefaultSet");
    const Seeds seeds;
    const auto every = DocumentOfEveryKind(1);
    const std::vector<std::string> sets = DefaultSetTexts(*every);
    const std::string document = Text(*seeds.document), clipboard = Text(*seeds.clipboard);

    const char* rounds = std::getenv("PELMAR_MUTATION_ROUNDS");
    const int Rounds = rounds && *rounds ? std::atoi(rounds) : 2000;
    for (int round = 0; round < Rounds && !HasFatalFailure(); ++round) {
        std::string log;
        // Documents opened, clipboard files pasted, default sets read.
        const std::string doc = Damage(document, rng, log);
        WriteFileBytes(name, doc);
        {
            SCOPED_TRACE("seed " + std::to_string(seed) + " round " + std::to_string(round) + " document:" + log);
            CheckRead(name, ReadModeOpen);
        }
        log.clear();
        WriteFileBytes(name, Damage(clipboard, rng, log));
        {
            SCOPED_TRACE("seed " + std::to_string(seed) + " round " + std::to_string(round) + " clipboard:" + log);
            CheckRead(name, ReadModePaste);
        }
        log.clear();
        const std::size_t k = static_cast<std::size_t>(round) % KindTable.size();
        const std::string set = DefaultSetFile(KindTable[k].kind, prog);
        WriteFileBytes(set, Damage(sets[k], rng, log));
        SCOPED_TRACE("seed " + std::to_string(seed) + " round " + std::to_string(round) + " default set " +
                     std::to_string(k + 1) + ":" + log);
        CheckRead(set, ReadModeDefaults);
        // The loader takes the set's first object, or its built-in values.
        DefaultsSource src;
        src.programFolder = prog;
        src.readDocument = BindDocumentReader(nullptr);
        if (round % 4 == 0) {
            ASSERT_TRUE(DefaultIsFinite(k, src));
        }
        std::filesystem::remove(set);
    }
}
