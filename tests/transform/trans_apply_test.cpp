#include "transform/trans_apply.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>

#include "files/doc_fixture.h"
#include "files/document.h"
#include "model/defaults.h"
#include "model/drag_rules.h"
#include "model/geometry.h"
#include "model/transform.h"
#include "model/update.h"
#include "transform/anim_fixture.h"

namespace pelmar {
namespace {

using test::ExpectAt;

struct FakeTransHost : TransHost {
    bool hasCurrent = true;
    Kind currentKind = Kind::tr;
    int currentIndex = 1;
    std::set<std::pair<Kind, int>> selection;
    std::vector<std::string> messages;
    int commits = 0;

    void showMessage(const std::string& text) override { messages.push_back(text); }
    bool currentObject(Kind& kind, int& index) override {
        kind = currentKind;
        index = currentIndex;
        return hasCurrent;
    }
    bool isSelected(Kind kind, int index) override { return selection.count({kind, index}) > 0; }
    void commitAndRedraw() override { ++commits; }
};

// A free point, a triangle, a sphere and a point linked to the free point.
std::unique_ptr<DProj> Scene() {
    auto doc = NewDocument();
    DefaultsSource src;
    src.programFolder = "/nonexistent";
    DPoint p;
    LoadDefaultPoint(p, 1, src);
    p.X.v = 10, p.Y.v = 200, p.Z.v = 150;
    p.Number = 1;
    UpdatePoint(p, 0);
    doc->Obj.Po.add(p);
    DPoint linked = p;
    linked.Y.v = 20;  // not yet where its link puts it
    linked.Number = 2;
    linked.Link.b[0] = 1;  // point 1
    linked.Link.b[1] = 1;
    doc->Obj.Po.add(linked);
    DTri t;
    LoadDefaultTriangle(t, 1, src);
    doc->Obj.Tr.add(t);
    DSf s;
    LoadDefaultOrb(s, 1, src);
    doc->Obj.Sf.add(s);
    return doc;
}

// Each tab on each scope: the objects in scope sit where the point primitive
// puts their defining points, the others stay, the linked point follows its
// target, and one commit is made.
TEST(TransformationApply, EachTabOnEachScope) {
    struct Tab {
        TransTab tab;
        std::vector<std::string> edits;
        std::function<Vec3(Vec3)> primitive;
    };
    const std::vector<Tab> tabs = {
        {TransTab::Translate, {"0", "12,5", " -7.25 "},
         [](Vec3 p) { MoveByVector(p.x, p.y, p.z, 0, 12.5, -7.25); return p; }},
        {TransTab::Rotate, {"0", "250", "100", "1", "0", "0", "-10"},
         [](Vec3 p) { RotateAroundAxis(p.x, p.y, p.z, 0, 250, 100, -10, 1, 0, 0); return p; }},
        {TransTab::Homothety, {"5", "100,5", "50", "1.5"},
         [](Vec3 p) { ScaleFromCentre(p.x, p.y, p.z, 5, 100.5, 50, 1.5); return p; }},
        {TransTab::Central, {"0", "250", "250"}, [](Vec3 p) { ReflectInCentre(p.x, p.y, p.z, 0, 250, 250); return p; }},
        {TransTab::Axial, {"0", "250", "0", "0", "0", "1"},
         [](Vec3 p) { ReflectInAxis(p.x, p.y, p.z, 0, 250, 0, 0, 0, 1); return p; }},
        {TransTab::Mirror, {"0", "0", "1", "-250"},
         [](Vec3 p) { ReflectInPlane(p.x, p.y, p.z, 0, 0, 1, -250); return p; }},
    };
    struct Scope {
        const char* name;
        TransScope boxes;
        bool point, triangle, sphere;  // which objects it takes
    } scopes[] = {{"all", {true, false, false}, true, true, true},
                  {"current", {false, true, false}, false, true, false},
                  {"selected", {false, false, true}, true, false, true}};
    for (const Tab& tab : tabs)
        for (const Scope& scope : scopes) {
            const std::string what = std::to_string(static_cast<int>(tab.tab)) + " " + scope.name;
            auto doc = Scene();
            const auto before = std::make_unique<DProj>(*doc);
            FakeTransHost host;
            host.selection = {{Kind::po, 1}, {Kind::sf, 1}};
            EXPECT_EQ(ApplyTransformation(*doc, tab.tab, tab.edits, scope.boxes, host), TransOutcome::Applied) << what;
            EXPECT_EQ(host.commits, 1) << what;
            EXPECT_TRUE(host.messages.empty()) << what;
            EXPECT_EQ(doc->FillValid, 0) << what;
            auto expect = [&](bool in, Vec3 was) { return in ? tab.primitive(was) : was; };
            ExpectAt(Pos(doc->Obj.Po[1]), expect(scope.point, Pos(before->Obj.Po[1])), what + " point");
            ExpectAt(Pos(doc->Obj.Po[2]), Pos(doc->Obj.Po[1]), what + " linked point");
            for (std::size_t v = 1; v <= 3; ++v)
                ExpectAt(Pos(doc->Obj.Tr[1].S[v].P1), expect(scope.triangle, Pos(before->Obj.Tr[1].S[v].P1)),
                         what + " vertex " + std::to_string(v));
            ExpectAt(Pos(doc->Obj.Sf[1].Center), expect(scope.sphere, Pos(before->Obj.Sf[1].Center)), what + " sphere");
        }
}

// Edits that are no number, or that describe no transformation, and Apply
// without a scope change nothing: no commit, the same document.
TEST(TransformationApply, NothingHappensWithoutATransformationOrScope) {
    struct Case {
        TransTab tab;
        std::vector<std::string> edits;
        TransScope scope;
        TransOutcome outcome;
        bool message;
    } cases[] = {
        {TransTab::Homothety, {"0", "0", "0", "abc"}, {true, false, false}, TransOutcome::NotANumber, true},
        {TransTab::Translate, {"1", "", "0"}, {true, false, false}, TransOutcome::NotANumber, true},
        {TransTab::Translate, {"1", "2"}, {true, false, false}, TransOutcome::NotANumber, true},
        {TransTab::Rotate, {"0", "0", "0", "0", "0", "0,000001", "30"}, {true, false, false},
         TransOutcome::NoTransformation, true},
        {TransTab::Axial, {"0", "250", "0", "0", "-0", "0"}, {false, true, false}, TransOutcome::NoTransformation,
         true},
        {TransTab::Mirror, {"0", "0", "0", "250"}, {true, false, false}, TransOutcome::NoTransformation, true},
        {TransTab::Homothety, {"0", "0", "0", "0"}, {true, false, false}, TransOutcome::NoTransformation, true},
        {TransTab::Translate, {"0", "0", "10"}, {false, false, false}, TransOutcome::NoScope, false},
    };
    for (const Case& c : cases) {
        auto doc = Scene();
        const std::string before = test::DocText(*doc);
        FakeTransHost host;
        EXPECT_EQ(ApplyTransformation(*doc, c.tab, c.edits, c.scope, host), c.outcome);
        EXPECT_EQ(host.commits, 0);
        EXPECT_EQ(host.messages.size(), c.message ? 1u : 0u);
        EXPECT_EQ(test::DocText(*doc), before);
    }
}

// An object is judged past the range by the places that define it, its
// picture position among them, not by parts drawn on request: a point deep
// behind the picture whose picture position a translation carries past the
// range is refused; a nearly flat triangle whose huge circumcircle alone
// would pass it is moved.
TEST(TransformationApply, TheRangeIsJudgedAsTheDialogsJudgeAnObject) {
    DefaultsSource src;
    src.programFolder = "/nonexistent";
    auto doc = NewDocument();
    DPoint deep;
    LoadDefaultPoint(deep, 1, src);
    deep.X.v = -1000000;
    deep.Y.v = deep.Z.v = 0;
    UpdatePoint(deep, 0);
    doc->Obj.Po.add(deep);
    DTri flat;
    LoadDefaultTriangle(flat, 1, src);
    const int vertices[3][2] = {{100, 100}, {1100, 100}, {600, 101}};
    for (int i = 1; i <= 3; ++i) PlaceVertex(flat, 3, i, vertices[i - 1][0], vertices[i - 1][1]);
    UpdateTriangle(flat, 0, true);
    ASSERT_LT(flat.Circ[1].Center.Z.v, -100000) << "the circumcircle is huge";
    doc->Obj.Tr.add(flat);

    const struct {
        Kind kind;
        std::vector<std::string> edits;
        TransOutcome outcome;
        const char* named;
    } rows[] = {
        {Kind::po, {"0", "900000", "0"}, TransOutcome::PastLimit, "«Точка №1»"},
        {Kind::po, {"0", "600000", "0"}, TransOutcome::Applied, nullptr},
        {Kind::tr, {"0", "0", "-900000"}, TransOutcome::Applied, nullptr},
        {Kind::tr, {"0", "0", "-1000200"}, TransOutcome::PastLimit, "«Треугольник №1»"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.edits[1] + r.edits[2]);
        auto copy = std::make_unique<DProj>(*doc);
        FakeTransHost host;
        host.selection = {{r.kind, 1}};
        EXPECT_EQ(ApplyTransformation(*copy, TransTab::Translate, r.edits, {false, false, true}, host), r.outcome);
        EXPECT_EQ(host.commits, r.named ? 0 : 1);
        ASSERT_EQ(host.messages.size(), r.named ? 1u : 0u);
        if (r.named) {
            EXPECT_NE(host.messages[0].find(r.named), std::string::npos) << host.messages[0];
        }
        EXPECT_EQ(test::DocText(*copy) == test::DocText(*doc), r.named != nullptr);
    }
}

// Each tab moves the objects (none current) off the thousandths grid, and the
// document saves as it reopens.
TEST(TransformationApply, MovedObjectsSaveAsTheyReopen) {
    const std::pair<TransTab, std::vector<std::string>> tabs[] = {
        {TransTab::Translate, {"0,0004", "12,3456", "-7,0001"}},
        {TransTab::Rotate, {"0", "250", "100", "1", "2", "3", "-10"}},
        {TransTab::Homothety, {"5", "100,5", "50", "1,3"}},
        {TransTab::Axial, {"0", "250", "0", "1", "1", "3"}},
        {TransTab::Mirror, {"1", "1", "3", "-250"}},
    };
    for (const auto& [tab, edits] : tabs) {
        SCOPED_TRACE(static_cast<int>(tab));
        auto doc = Scene();
        FakeTransHost host;
        host.hasCurrent = false;
        ASSERT_EQ(ApplyTransformation(*doc, tab, edits, {true, false, false}, host), TransOutcome::Applied);
        EXPECT_EQ(test::FirstDifferentLine(test::SavedText(*doc), test::SavedText(*test::Reopened(*doc))), "");
        EXPECT_EQ(doc->Obj.Po[1].Y.v, Round3(doc->Obj.Po[1].Y.v)) << "the point is stored to the thousandth";
    }
}

TEST(TransformationApply, NumbersTakeEitherSeparator) {
    const std::pair<const char*, double> good[] = {{"1,5", 1.5}, {" -2.5 ", -2.5}, {"-0", 0}, {"2,5E-1", 0.25}};
    for (auto [text, v] : good) {
        double got = 99;
        EXPECT_TRUE(ReadTransNumber(text, got)) << text;
        EXPECT_EQ(got, v) << text;
    }
    for (const char* text : {"", " ", "abc", "1,2.3", "1 2", "inf", "nan", "1e999", "0x10"}) {
        double got = 99;
        EXPECT_FALSE(ReadTransNumber(text, got)) << text;
        EXPECT_EQ(got, 99) << text;
    }
}

}  // namespace
}  // namespace pelmar
