#include "editing/link_choice.h"

#include <iterator>
#include <span>

#include "editing/commit.h"
#include "editing/edited_document.h"
#include "editing/editing_state.h"
#include "editing/kind_access.h"
#include "editing/new_objects.h"
#include "files/document.h"
#include "model/defining_points.h"
#include "model/links.h"
#include "model/recompute.h"
#include "model/translate.h"
#include "model/update.h"

namespace pelmar {

namespace {

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The words of the kinds in kind order, as the lists show them.
constexpr const char* kKindWords[] = {"Point", "Line",     "Circle",   "Triangle", "Tetragon", "XOY",    "Orb",
                                      "Zylinder", "Cone", "Pyramid3", "Pyramid4", "Prism3",  "Prism4", "XYZ"};

// The kind a text names: the last word of kind order it contains, 0 none.
int KindInText(const std::string& text) {
    int kind = 0;
    for (int i = 0; i < 14; ++i)
        if (Has(text, kKindWords[i])) kind = i + 1;
    return kind;
}

struct Test {
    const char* part;
    int selector;
};

struct ElementList {
    std::vector<const char*> items;
    std::vector<Test> tests;
};

ElementList ElementsOf(int parent) {
    switch (parent) {
        case 2: return {{"Point №1", "Point №2", "Point №3", "Point №4"}, {{"1", 1}, {"2", 2}, {"3", 3}, {"4", 4}}};
        case 3:
            return {{"Point Center", "Line Radius1", "Line Radius2", "Line Radius3"},
                    {{"1", 1}, {"2", 2}, {"3", 3}, {"Center", 4}}};
        case 4:
            return {{"Line1", "Line2", "Line3", "Line BHM1", "Line BHM2", "Line BHM3", "Line BHM4", "Line BHM5",
                     "Circle Opi", "Circle Vpi"},
                    {{"Line1", 1}, {"Line2", 2}, {"Line3", 3}, {"BHM1", 4}, {"BHM2", 5}, {"BHM3", 6}, {"BHM4", 7},
                     {"BHM5", 8}, {"Opi", 9}, {"Vpi", 10}}};
        case 5:
            return {{"Line1", "Line2", "Line3", "Line4", "Line Diagonal1", "Line Diagonal2", "Point Center",
                     "Circle Opi", "Circle Vpi"},
                    {{"Line1", 1}, {"Line2", 2}, {"Line3", 3}, {"Line4", 4}, {"Diagonal1", 5}, {"Diagonal2", 6},
                     {"Center", 7}, {"Opi", 8}, {"Vpi", 9}}};
        case 6:
        case 14: return {{"Point Center"}, {}};
        case 7:
            return {{"Point Center", "Circle OutLine", "Circle 1", "Circle 2", "Circle 3", "Circle 4", "Circle 5",
                     "Circle 6", "Circle 7"},
                    {{"1", 1}, {"2", 2}, {"3", 3}, {"4", 4}, {"5", 5}, {"6", 6}, {"7", 7}, {"Center", 8},
                     {"OutLine", 9}}};
        case 8:
            return {{"Line H", "Circle Down", "Circle Up", "Tetragon OutLine", "Tetragon Main", "Tetragon 1",
                     "Tetragon 2", "Orb Opi", "Orb Vpi"},
                    {{" H", 1}, {"Down", 2}, {"Up", 3}, {"OutLine", 4}, {"Main", 5}, {"1", 6}, {"2", 7}, {"Opi", 8},
                     {"Vpi", 9}}};
        case 9:
            return {{"Line H", "Circle Down", "Triangle OutLine", "Triangle Main", "Triangle 1", "Triangle 2",
                     "Orb Opi", "Orb Vpi"},
                    {{" H", 1}, {"Down", 2}, {"OutLine", 3}, {"Main", 4}, {"1", 5}, {"2", 6}, {"Opi", 7}, {"Vpi", 8}}};
        case 10:
            return {{"Line H", "Triangle Base", "Triangle Gran1", "Triangle Gran2", "Triangle Gran3", "Orb Opi",
                     "Orb Vpi"},
                    {{" H", 1}, {"Base", 2}, {"1", 3}, {"2", 4}, {"3", 5}, {"Opi", 6}, {"Vpi", 7}}};
        case 11:
            return {{"Line H", "Tetragon Base", "Triangle Gran1", "Triangle Gran2", "Triangle Gran3",
                     "Triangle Gran4", "Orb Opi", "Orb Vpi"},
                    {{" H", 1}, {"Base", 2}, {"1", 3}, {"2", 4}, {"3", 5}, {"4", 6}, {"Opi", 7}, {"Vpi", 8}}};
        case 12:
            return {{"Triangle Base Down", "Triangle Base Up", "Tetragon Gran1", "Tetragon Gran2", "Tetragon Gran3",
                     "Orb Opi", "Orb Vpi"},
                    {{"Down", 1}, {"Up", 2}, {"1", 3}, {"2", 4}, {"3", 5}, {"Opi", 6}, {"Vpi", 7}}};
        case 13:
            return {{"Tetragon Base Down", "Tetragon Base Up", "Tetragon Gran1", "Tetragon Gran2", "Tetragon Gran3",
                     "Tetragon Gran4", "Orb Opi", "Orb Vpi"},
                    {{"Down", 1}, {"Up", 2}, {"1", 3}, {"2", 4}, {"3", 5}, {"4", 6}, {"Opi", 7}, {"Vpi", 8}}};
        default: return {};
    }
}

struct KindWords {
    const char* title;
    std::vector<const char*> groups;
};

// The title is the word-table line 280 on in the kinds' order; the groups
// name the defining points (lines 663 to 684).
KindWords WordsOf(Kind k) {
    auto words = [k](std::initializer_list<int> lines) {
        KindWords w{BuiltInWord(WordNo::FirstNewObject + static_cast<int>(Slot(k))), {}};
        for (int line : lines) w.groups.push_back(BuiltInWord(line));
        return w;
    };
    constexpr int point = 663, segmentEnd = 664, centre = 666, vertex = 667, baseCentre = 671, baseVertex = 672,
                  apex5 = 676, lowVertex = 677, highVertex = 681;
    switch (k) {
        case Kind::po: return words({point});
        case Kind::li: return words({segmentEnd, segmentEnd + 1});
        case Kind::tr: return words({vertex, vertex + 1, vertex + 2});
        case Kind::kv: return words({vertex, vertex + 1, vertex + 2, vertex + 3});
        case Kind::zi: case Kind::ko: return words({baseCentre});
        case Kind::i3: return words({baseVertex, baseVertex + 1, baseVertex + 2, vertex + 3});
        case Kind::i4: return words({baseVertex, baseVertex + 1, baseVertex + 2, baseVertex + 3, apex5});
        case Kind::r3:
            return words({lowVertex, lowVertex + 1, lowVertex + 2, highVertex, highVertex + 1, highVertex + 2});
        case Kind::r4:
            return words({lowVertex, lowVertex + 1, lowVertex + 2, lowVertex + 3, highVertex, highVertex + 1,
                          highVertex + 2, highVertex + 3});
        default: return words({centre});  // ellipse, the coordinate systems, sphere
    }
}

void Recompute(DPoint& r) { UpdatePoint(r, 0); }
void Recompute(DLine& r) { UpdateLine(r, 0); }
void Recompute(DCircle& r) { UpdateCircle(r, 0); }
void Recompute(DTri& r) { UpdateTriangle(r, 0, false); }
void Recompute(DKv& r) { UpdateTetragon(r, 0, false); }
void Recompute(DXOY& r) { UpdateXOY(r, 0); }
void Recompute(DSf& r) { UpdateOrb(r, 0); }
void Recompute(DZi& r) { UpdateCylinder(r, 0); }
void Recompute(DKo& r) { UpdateCone(r, 0); }
void Recompute(DPi3& r) { UpdatePyramid3(r, 0); }
void Recompute(DPi4& r) { UpdatePyramid4(r, 0); }
void Recompute(DPr3& r) { UpdatePrism3(r, 0); }
void Recompute(DPr4& r) { UpdatePrism4(r, 0); }
void Recompute(DXZ& r) { UpdateXYZ(r, 0); }

struct Move {
    double dx = 0, dy = 0, dz = 0;
};

Move Between(const DPoint& from, const DPoint& to) { return {to.X.v - from.X.v, to.Y.v - from.Y.v, to.Z.v - from.Z.v}; }

void Shift(std::array<double, 3>& q, const Move& m) {
    q[0] += m.dx;
    q[1] += m.dy;
    q[2] += m.dz;
}

// Links the defining points in order and resolves them; the move of the first.
template <class R>
Move LinkPoints(const DProj& doc, R& rec, const NewLinks& links) {
    std::size_t i = 0;
    Move first;
    ForEachDefiningPoint(rec, [&](DPoint& p) {
        if (i < links.size()) {
            p.Link = links[i];
            if (p.Link.linked()) {
                const DPoint before = p;
                ResolveLink(doc, p, p.Link);
                if (i == 0) first = Between(before, p);
            }
        }
        ++i;
    });
    return first;
}

// The new object on the points it is linked to.  Round objects carry their
// outline along with the centre; cylinders and cones keep their shape and
// move whole onto the point linked to their base centre.
template <class R>
void LinkNewObject(const DProj& doc, R& rec, const NewLinks& links) {
    if constexpr (std::is_same_v<R, DZi> || std::is_same_v<R, DKo>) {
        DPoint& centre = [&]() -> DPoint& {
            if constexpr (std::is_same_v<R, DZi>) return rec.Base[1].Center;
            else return rec.Base.Center;
        }();
        if (!links[0].linked()) return;
        DPoint target = centre;
        ResolveLink(doc, target, links[0]);
        const Move m = Between(centre, target);
        if constexpr (std::is_same_v<R, DZi>) TranslateCylinder(rec, m.dx, m.dy, m.dz);
        else TranslateCone(rec, m.dx, m.dy, m.dz);
        centre.Link = links[0];
    } else {
        const Move m = LinkPoints(doc, rec, links);
        if constexpr (std::is_same_v<R, DCircle>) {
            Shift(rec.Q1, m);
            Shift(rec.Q2, m);
        } else if constexpr (std::is_same_v<R, DSf>) {
            TranslateCircle(rec.Contour, m.dx, m.dy, m.dz);
            for (int i = 1; i <= 7; ++i) TranslateCircle(rec.Sec[i], m.dx, m.dy, m.dz);
        }
    }
    Recompute(rec);
}

}  // namespace

int LinkGroupCount(Kind k) { return static_cast<int>(WordsOf(k).groups.size()); }
std::string LinkTitle(Kind k) { return WordsOf(k).title; }
std::string LinkGroupCaption(Kind k, int g) {
    const auto groups = WordsOf(k).groups;
    return g >= 1 && g <= static_cast<int>(groups.size()) ? groups[static_cast<std::size_t>(g - 1)] : "";
}

std::vector<std::string> LinkObjectItems(const DProj& doc) {
    std::vector<std::string> items{"Free"};
    for (int k = 1; k <= 14; ++k)
        for (int i = 1; i <= doc.Obj.count(static_cast<Kind>(k)); ++i)
            items.push_back(std::string(kKindWords[k - 1]) + " №" + std::to_string(i));
    return items;
}

void ReadObjectText(const std::string& text, DLink& link) {
    link.b[0] = static_cast<std::uint8_t>(Has(text, "Free") ? 0 : KindInText(text));
    // The index: the largest number written after "№" (the scan stops at 99).
    for (int n = 1; n <= 99; ++n)
        if (Has(text, "№" + std::to_string(n))) link.b[1] = static_cast<std::uint8_t>(n);
}

std::vector<std::string> LinkElementItems(int parentKind) {
    if (parentKind <= 1) return {};
    const ElementList list = ElementsOf(parentKind);
    return {list.items.begin(), list.items.end()};
}

int ParentKindOf(const DLink& link, int level) {
    return level <= 2 ? link.b[0] : link.b[static_cast<std::size_t>(2 * (level - 2))];
}

void ReadElementText(const std::string& text, DLink& link, int level) {
    if (level < 2 || level > 5) return;
    const std::size_t at = static_cast<std::size_t>(2 * (level - 1));
    link.b[at] = static_cast<std::uint8_t>(text.empty() ? 0 : KindInText(text));
    int selector = 0;
    for (const Test& t : ElementsOf(ParentKindOf(link, level)).tests)
        if (Has(text, t.part)) selector = t.selector;
    link.b[at + 1] = static_cast<std::uint8_t>(selector);
}

bool ApplyNewObjectLinks(EditingState& st, Kind k, LinkResult result, const NewLinks& links) {
    if (result != LinkResult::Ok && result != LinkResult::Independent) return false;
    DProj& doc = st.Doc();
    // The new object, placed on the points it is linked to, and the objects
    // recomputed after it are one change of the filled objects.
    const FillWatch fills(doc);
    if (!NewDefaultObject(st, k)) return false;
    if (result == LinkResult::Independent) return true;

    // The objects now referenced, after the undo snapshot of the creation, so
    // that one Undo takes back both.
    for (const DLink& l : links) {
        Kind target;
        if (!l.linked() || !KindFromNumber(l.kind(), target) || l.index() < 1 || l.index() > doc.Obj.count(target))
            continue;
        VisitKind(target, [&](auto kc) {
            auto& rec = KindT<kc.value>::store(doc.Obj)[l.index()];
            if (rec.Number == 0) rec.Number = 1;
        });
    }
    const int number = MaxObjectNumber(doc) + 1;
    VisitKind(k, [&](auto kc) {
        auto& work = KindT<kc.value>::work(st.Copies);
        work.Number = number;
        LinkNewObject(doc, work, links);
    });
    // The links belong to the creation's undo step: no second snapshot.
    {
        const EditedDocument::UndoPause pause(st);
        ApplyObject(st, false);
    }
    RecomputeLinkedAsFiled(doc);
    st.Document.requestRedraw();
    return true;
}

}  // namespace pelmar
