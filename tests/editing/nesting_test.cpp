#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>

#include "editing/nesting.h"
#include "editing_fixture.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

// Every working copy stamped with its paths below its kind code.
void StampWorkingCopies(EditingState& st) {
    ForEachKind([&](auto kc) { StampPaths(KindT<kc.value>::work(*st.Work), InfoOf(kc.value).code); });
}

std::map<std::string, std::string> Ids(EditingState& st, Kind k) {
    std::map<std::string, std::string> ids;
    VisitKind(k, [&](auto kc) {
        auto f = [&ids](const std::string& path, DStr& id) { ids[path] = id.s; };
        VisitRecords(KindT<kc.value>::work(*st.Work), InfoOf(kc.value).code, f);
    });
    return ids;
}

std::vector<std::string> Changed(EditingState& st, Kind k) {
    return VisitKind(k, [&](auto kc) { return ChangedPaths(KindT<kc.value>::work(*st.Work), InfoOf(kc.value).code); });
}

std::string WorkId(EditingState& st, Kind k) {
    return VisitKind(k, [&](auto kc) { return KindT<kc.value>::work(*st.Work).ID.s; });
}

int Parents(const RoleSlot& s) {
    int n = 0;
    for (const RoleSlot& o : RoleSlots()) n += std::string(o.level) == s.level && o.role == s.role;
    return n;
}

}  // namespace

// Every row of the role table: the reload takes the part out of its slot, the
// write-back puts it into that slot of every parent kind the role can name,
// touching nothing else; a role naming several parents reloads only from the
// current one.
TEST(Nesting, EveryRoleSlotReloadsAndWritesBack) {
    for (const RoleSlot& s : RoleSlots()) {
        SCOPED_TRACE(std::string(s.level) + " " + std::to_string(s.role) + " in " + s.parent);
        Editing e;
        const Kind level = KindOfCode(s.level), parent = KindOfCode(s.parent);
        MakeCurrent(*e, parent);
        StampWorkingCopies(*e);
        e->Proj->Role[Slot(level)] = static_cast<std::uint8_t>(s.role);

        Reload(*e, level, static_cast<std::uint8_t>(s.role));
        const std::string slot = std::string(s.parent) + "." + s.field;
        EXPECT_EQ(WorkId(*e, level), slot);

        VisitKind(level, [&](auto kc) { KindT<kc.value>::work(*e->Work).ID.s = "edited"; });
        WriteBack(*e, level, static_cast<std::uint8_t>(s.role));
        for (const KindInfo& k : KindTable) {
            const RoleSlot* there = FindRoleSlot(s.level, s.role, k.code);
            if (k.kind == parent) {
                EXPECT_EQ(Changed(*e, k.kind), std::vector<std::string>{slot});
                EXPECT_EQ(Ids(*e, k.kind)[slot], "edited");
            } else if (there) {
                EXPECT_EQ(Ids(*e, k.kind)[std::string(k.code) + "." + there->field], "edited") << k.code;
            } else if (k.kind != level) {
                EXPECT_TRUE(Changed(*e, k.kind).empty()) << k.code;
            }
        }

        if (Parents(s) > 1) {
            // With a kind current that is none of the candidates, nothing is read.
            MakeCurrent(*e, Kind::po);
            VisitKind(level, [&](auto kc) { KindT<kc.value>::work(*e->Work).ID.s = "kept"; });
            Reload(*e, level, static_cast<std::uint8_t>(s.role));
            EXPECT_EQ(WorkId(*e, level), "kept");
        }
    }
}

// One write-back at the innermost level carries a point of a side of a face
// up into the pyramid; role 0 and the 2D coordinate system's level do nothing.
TEST(Nesting, WriteBackCarriesTheWholeChain) {
    Editing e;
    MakeCurrent(*e, Kind::i3);
    StampWorkingCopies(*e);
    auto& role = e->Proj->Role;
    role[Slot(Kind::tr)] = 7;  // face 2
    role[Slot(Kind::li)] = 4;  // its side 1
    role[Slot(Kind::po)] = 2;  // end 2
    Reload(*e, Kind::tr, 7);
    Reload(*e, Kind::li, 4);
    Reload(*e, Kind::po, 2);
    EXPECT_EQ(e->Copies.CurPoint.ID.s, "i3.Face[2].S[1].P2");

    WriteBack(*e, Kind::xy, 12);
    WriteBack(*e, Kind::po, 0);
    for (Kind k : {Kind::i3, Kind::i4, Kind::xy, Kind::xz, Kind::ci}) EXPECT_TRUE(Changed(*e, k).empty());

    e->Copies.CurPoint.ID.s = "edited";
    e->Copies.CurPoint.X.v = 12.5;
    WriteBack(*e, Kind::po, 2);
    EXPECT_EQ(Changed(*e, Kind::i3), std::vector<std::string>{"i3.Face[2].S[1].P2"});
    EXPECT_EQ(e->Copies.CurPi3.Face[2].S[1].P2.X.v, 12.5);
    // Face 2 of a four-sided pyramid is the same slot: it is written too.
    EXPECT_EQ(Ids(*e, Kind::i4)["i4.Face[2].S[1].P2"], "edited");
}

namespace {

struct CaptionCase {
    const char* what;
    Kind current;
    std::vector<std::pair<Kind, int>> roles;
    Kind kind;
    const char* expected;
};

// Working copies with names and vertex labels to read in captions.
void NameEverything(EditingState& st) {
    WorkingCopies& w = st.Copies;
    w.CurPi3.ID.s = "Пирамида";
    const char* base[] = {"A", "B", "C"};
    for (std::size_t k = 1; k <= 3; ++k) w.CurPi3.Base.S[k].P1.Name.s = base[k - 1];
    w.CurPi3.HeightLine.P2.Name.s = "S";
    w.CurTri.ID.s = "Тр";
    const char* tri[] = {"B", "S", "C"};
    for (std::size_t k = 1; k <= 3; ++k) w.CurTri.S[k].P1.Name.s = tri[k - 1];
    w.CurTri.LineKind[3].v = 2;
    w.CurTri.LineVertex[3].v = 3;
    w.CurPr4.ID.s = "Призма";
    const char* lower[] = {"A", "B", "C", "D"};
    const char* upper[] = {"A1", "B1", "C1", "D1"};
    for (std::size_t k = 1; k <= 4; ++k) {
        w.CurPr4.Base[1].S[k].P1.Name.s = lower[k - 1];
        w.CurPr4.Base[2].S[k].P1.Name.s = upper[k - 1];
    }
    w.CurZi.ID.s = "Цилиндр";
    w.CurZi.Number = 3;
    w.CurZi.Axis.P1.Name.s = "W";  // set in Symbol: its label shows Ω
    w.CurZi.Axis.P1.NameFont.s = "Symbol";
    w.CurPoint.Name.s = "L";
    w.CurPoint.NameFont.s = "symbol";  // in any letter case: Λ

    w.CurXZ.ID.s = "XYZ №1";
    w.CurKo.ID.s = "Конус";
    w.CurLine.ID.s = "Отрезок";
    w.CurLine.Number = 1;
}

}  // namespace

TEST(Nesting, PathCaptions) {
    using enum Kind;
    const std::vector<CaptionCase> cases{
        {"top level, referenced", li, {}, li, "Отрезок[1]"},
        {"top-level point shows its label", po, {}, po, "Λ"},
        {"side 1 of face 2 of a pyramid", i3, {{tr, 7}, {li, 4}}, li, "Пирамида / Грань2 BSC / Сторона BSBS"},
        {"face 2 itself", i3, {{tr, 7}}, tr, "Пирамида / Грань2 BSC"},
        {"base of a three-sided pyramid only", i4, {{tr, 5}}, tr, ""},
        {"side face 4 of a prism", r4, {{kv, 11}}, kv, "Призма / Грань4 DD1A1A"},
        {"centre of the lower base", zi, {{ci, 7}, {po, 3}}, po, "Цилиндр[3] / Ниж. основание / Ω"},
        {"X axis of the current 3D system", xz, {{li, 12}}, li, "XYZ №1 / Ось X"},
        {"an axis with no system current", po, {{li, 12}}, li, ""},
        {"height line from vertex 3", tr, {{li, 9}}, li, "Тр / Высота угла C"},
        {"circumscribed sphere of a cone", ko, {{sf, 1}}, sf, "Конус / Сф. описанная"},
        {"section 5 of that sphere", ko, {{sf, 1}, {ci, 13}}, ci, "Конус / Сф. описанная / Сечение 5"},
        {"a role outside the tables", tr, {{li, 23}}, li, ""},
    };
    for (const CaptionCase& c : cases) {
        SCOPED_TRACE(c.what);
        Editing e;
        MakeCurrent(*e, c.current);
        NameEverything(*e);
        for (auto [k, r] : c.roles) e->Proj->Role[Slot(k)] = static_cast<std::uint8_t>(r);
        EXPECT_EQ(PathCaption(*e, c.kind), c.expected);
    }
}

// A sub-object button: the role byte set, the part copied out of its parent,
// the parent's dialog closed and the part's opened, Back-to enabled; a role
// that names nothing under the current object changes nothing.
TEST(Nesting, OpenPartFromItsParent) {
    Editing e;
    MakeCurrent(*e, Kind::tr);
    StampWorkingCopies(*e);
    e->Dialogs.Create(Kind::tr);
    ASSERT_TRUE(OpenPart(*e, Kind::li, 5));
    EXPECT_EQ(e->Copies.CurLine.ID.s, "tr.S[2]");
    EXPECT_FALSE(DialogIsOpen(*e, Kind::tr));
    EXPECT_TRUE(DialogIsOpen(*e, Kind::li));
    EXPECT_EQ(e.dialogs.LastFill(), "li:tr.S[2]");
    EXPECT_EQ(e.commands.On(EditingCommand::BackTo, Kind::tr), 1);
    ASSERT_TRUE(OpenPart(*e, Kind::po, 1));
    EXPECT_EQ(e->Copies.CurPoint.ID.s, "tr.S[2].P1");
    EXPECT_EQ(e.commands.On(EditingCommand::BackTo, Kind::li), 1);
    EXPECT_EQ(e->Proj->Role[Slot(Kind::po)], 1);

    EXPECT_FALSE(OpenPart(*e, Kind::sf, 1));  // a triangle holds no sphere
    EXPECT_FALSE(OpenPart(*e, Kind::li, 12)); // nor an axis
    EXPECT_EQ(e->Proj->Role[Slot(Kind::sf)], 0);
}
