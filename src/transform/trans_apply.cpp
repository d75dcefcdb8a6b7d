#include "transform/trans_apply.h"

#include <charconv>
#include <cmath>
#include <memory>

#include "drawing/word_lines.h"
#include "editing/commit.h"
#include "files/document.h"
#include "model/coord_limit.h"
#include "model/recompute.h"
#include "model/record_reach.h"
#include "model/transform.h"
#include "model/update.h"

namespace pelmar {

int TransEditCount(TransTab tab) {
    switch (tab) {
        case TransTab::Translate: return 3;
        case TransTab::Rotate: return 7;
        case TransTab::Homothety: return 4;
        case TransTab::Central: return 3;
        case TransTab::Axial: return 6;
        case TransTab::Mirror: return 4;
    }
    return 0;
}

bool ReadTransNumber(const std::string& text, double& value) {
    std::size_t b = text.find_first_not_of(" \t");
    std::size_t e = text.find_last_not_of(" \t");
    if (b == std::string::npos) return false;
    std::string s = text.substr(b, e - b + 1);
    for (char& c : s)
        if (c == ',') c = '.';
    if (s.find_first_not_of("0123456789.+-eE") != std::string::npos) return false;  // no "inf", "nan", hex
    const char* first = s.data();
    if (*first == '+') ++first;
    double v = 0;
    const auto [end, ec] = std::from_chars(first, s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v)) return false;
    value = v;
    return true;
}

namespace {

// One transformation with its arguments, applied to a record of any kind by
// that kind's member of the family.
struct TransOp {
    TransTab tab;
    std::array<double, 7> a{};

#define PELMAR_TRANS_MEMBER(R, S)                                                         \
    void operator()(R& r) const {                                                         \
        switch (tab) {                                                                    \
            case TransTab::Translate: Translate##S(r, a[0], a[1], a[2]); break;           \
            case TransTab::Rotate: Rotate##S(r, a[0], a[1], a[2], a[3], a[4], a[5], a[6]); break; \
            case TransTab::Homothety: Homothety##S(r, a[0], a[1], a[2], a[3]); break;     \
            case TransTab::Central: CentralSym##S(r, a[0], a[1], a[2]); break;            \
            case TransTab::Axial: AxialSym##S(r, a[0], a[1], a[2], a[3], a[4], a[5]); break; \
            case TransTab::Mirror: MirrorSym##S(r, a[0], a[1], a[2], a[3]); break;        \
        }                                                                                 \
    }
    PELMAR_TRANS_MEMBER(DPoint, Point)
    PELMAR_TRANS_MEMBER(DLine, Line)
    PELMAR_TRANS_MEMBER(DCircle, Circle)
    PELMAR_TRANS_MEMBER(DTri, Triangle)
    PELMAR_TRANS_MEMBER(DKv, Tetragon)
    PELMAR_TRANS_MEMBER(DXOY, XOY)
    PELMAR_TRANS_MEMBER(DSf, Orb)
    PELMAR_TRANS_MEMBER(DZi, Cylinder)
    PELMAR_TRANS_MEMBER(DKo, Cone)
    PELMAR_TRANS_MEMBER(DPi3, Pyramid3)
    PELMAR_TRANS_MEMBER(DPi4, Pyramid4)
    PELMAR_TRANS_MEMBER(DPr3, Prism3)
    PELMAR_TRANS_MEMBER(DPr4, Prism4)
    PELMAR_TRANS_MEMBER(DXZ, XYZ)
#undef PELMAR_TRANS_MEMBER
};

bool TooShort(double x, double y, double z) { return std::sqrt(x * x + y * y + z * z) <= 1e-5; }

// One object the Apply transforms; an object in two scopes is transformed
// twice, as the scopes are walked one after the other.
struct Target {
    Kind kind;
    std::size_t index;
};

// The record `index` of `kind`, handed to f.
template <class F>
void WithRecord(DSubProj& o, Kind kind, std::size_t index, F&& f) {
    int kindNo = 0;
    ForEachStore(o, [&](auto& store) {
        if (++kindNo == static_cast<int>(kind) && index >= 1 && index <= store.count()) f(store[index]);
    });
}

// Whether the transformation applied `times` times carries an object from
// within the range of coordinates to past it: it is tried on a copy, and the
// copy is asked as the dialogs ask of an object (record_reach.h).  An object
// already past the range is not the Apply's doing and does not refuse it.
template <class R>
bool CarriedPast(const TransOp& op, const R& rec, int times) {
    if (!WithinCoordLimit(rec)) return false;
    const auto copy = std::make_unique<R>(rec);
    for (int i = 0; i < times; ++i) op(*copy);
    return !WithinCoordLimit(*copy);
}

// "Треугольник №1": the kind's name from the word table and the object's
// number in the object list.
std::string ObjectName(const WordTable* words, Kind kind, std::size_t index) {
    // The kinds' names stand in kind order, the sphere's (the seventh) at FirstSolidName.
    const WordNo line = WordNo::FirstSolidName + (static_cast<int>(kind) - static_cast<int>(Kind::sf));
    std::string name = words ? words->WordLine(line) : std::string();
    if (name.empty()) name = BuiltInWord(line);
    return name + " №" + std::to_string(index);
}

std::string LimitText() { return std::to_string(static_cast<long long>(kCoordLimit)); }

// The numbers of a tab that must lie within a range before the objects are
// tried: the centres, the points and directions of the axes and the plane's
// coefficients within the range of coordinates (a farther centre would round
// away the objects' own places), the angle within its own.  The translation
// vector, the homothety factor and the plane's free term are bounded by where
// they carry the objects.
double EditLimit(TransTab tab, std::size_t i) {
    switch (tab) {
        case TransTab::Translate: return HUGE_VAL;
        case TransTab::Rotate: return i == 6 ? kTransAngleLimit : kCoordLimit;
        case TransTab::Homothety: return i == 3 ? HUGE_VAL : kCoordLimit;
        case TransTab::Mirror: return i == 3 ? HUGE_VAL : kCoordLimit;
        case TransTab::Central:
        case TransTab::Axial: return kCoordLimit;
    }
    return kCoordLimit;
}

}  // namespace

TransOutcome ApplyTransformation(DProj& doc, TransTab tab, const std::vector<std::string>& edits,
                                 const TransScope& scope, TransHost& host) {
    // Every edit is read before anything is touched.
    TransOp op{tab, {}};
    const std::size_t n = static_cast<std::size_t>(TransEditCount(tab));
    for (std::size_t i = 0; i < n; ++i) {
        const std::string text = i < edits.size() ? edits[i] : std::string();
        if (!ReadTransNumber(text, op.a[i])) {
            host.showMessage(std::string(Said(host.words(), "Неверное число:", "Not a number:")) + " \"" + text + "\"");
            return TransOutcome::NotANumber;
        }
        const double limit = EditLimit(tab, i);
        if (std::fabs(op.a[i]) > limit) {
            const std::string bound = std::to_string(static_cast<long long>(limit));
            host.showMessage(FillIn(Said(host.words(), "Число вне пределов от %1 до %2: \"%3\". Объекты не изменены.",
                                         "A number out of the range from %1 to %2: \"%3\". The objects are not changed."),
                                    {"-" + bound, bound, text}));
            return TransOutcome::PastLimit;
        }
    }
    const auto& a = op.a;
    const bool noAxis = (tab == TransTab::Rotate && TooShort(a[3], a[4], a[5])) ||
                        (tab == TransTab::Axial && TooShort(a[3], a[4], a[5])) ||
                        (tab == TransTab::Mirror && TooShort(a[0], a[1], a[2]));
    // A factor this small puts every point, rounded to 0.001, on the centre
    // or next to it: the shapes are gone, and no homothety brings them back.
    const bool noFactor = tab == TransTab::Homothety && !(std::fabs(a[3]) >= kHomothetyMinFactor);
    if (noAxis || noFactor) {
        host.showMessage(std::string(
            noAxis ? Said(host.words(), "Ось или вектор преобразования равны нулю: объекты не изменены.",
                          "The axis or vector of the transformation is zero: the objects are not changed.")
                   : Said(host.words(),
                          "Коэффициент гомотетии по модулю меньше 0,000001: объекты сжались бы в точку. Объекты не "
                          "изменены.",
                          "The homothety factor is below 0.000001 either way: the objects would shrink to a point. "
                          "The objects are not changed.")));
        return TransOutcome::NoTransformation;
    }
    if (!scope.all && !scope.current && !scope.selected) return TransOutcome::NoScope;

    // The objects in scope, in the order the scopes are walked.
    DSubProj& o = doc.Obj;
    std::vector<Target> targets;
    const auto each = [&](auto&& take) {
        int kindNo = 0;
        ForEachStore(o, [&](auto& store) {
            const Kind k = static_cast<Kind>(++kindNo);
            for (std::size_t i = 1; i <= store.count(); ++i)
                if (take(k, i)) targets.push_back({k, i});
        });
    };
    if (scope.all) each([](Kind, std::size_t) { return true; });
    Kind curKind{};
    int curIndex = 0;
    if (scope.current && host.currentObject(curKind, curIndex))
        each([&](Kind k, std::size_t i) { return k == curKind && static_cast<int>(i) == curIndex; });
    if (scope.selected) each([&](Kind k, std::size_t i) { return host.isSelected(k, static_cast<int>(i)); });

    // No object leaves the range of coordinates: tried before anything moves.
    for (std::size_t t = 0; t < targets.size(); ++t) {
        const Target& target = targets[t];
        int times = 0;
        bool first = true;
        for (std::size_t u = 0; u < targets.size(); ++u) {
            if (targets[u].kind != target.kind || targets[u].index != target.index) continue;
            first = first && u >= t;
            ++times;
        }
        if (!first) continue;
        bool past = false;
        WithRecord(o, target.kind, target.index, [&](const auto& rec) { past = CarriedPast(op, rec, times); });
        if (past) {
            host.showMessage(FillIn(
                Said(host.words(), "Объект «%1» вышел бы за пределы координат от %2 до %3 пикселей. Объекты не изменены.",
                     "The object \"%1\" would leave the range of coordinates from %2 to %3 pixels. The objects are not changed."),
                {ObjectName(host.words(), target.kind, target.index), "-" + LimitText(), LimitText()}));
            return TransOutcome::PastLimit;
        }
    }

    host.beforeChange();
    // The objects in scope, those built on them and the commit are one
    // change of the filled objects.
    const FillWatch fills(doc);
    // Each moved object is then updated as reading a file updates it: a point
    // moved off the thousandths grid is stored rounded, so that what the
    // document keeps is what a file of it gives back.
    for (const Target& target : targets)
        WithRecord(o, target.kind, target.index, [&](auto& rec) {
            op(rec);
            UpdateAsRead(rec);
            ObjectAsFiled(rec, doc.Im);
        });
    RecomputeLinkedAsFiled(doc);
    host.commitAndRedraw();
    return TransOutcome::Applied;
}

}  // namespace pelmar
