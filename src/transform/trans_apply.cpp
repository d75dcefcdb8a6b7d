#include "transform/trans_apply.h"

#include <charconv>
#include <cmath>

#include "editing/commit.h"
#include "model/recompute.h"
#include "model/transform.h"

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
    }
    const auto& a = op.a;
    const bool noAxis = (tab == TransTab::Rotate && TooShort(a[3], a[4], a[5])) ||
                        (tab == TransTab::Axial && TooShort(a[3], a[4], a[5])) ||
                        (tab == TransTab::Mirror && TooShort(a[0], a[1], a[2]));
    if (noAxis || (tab == TransTab::Homothety && a[3] == 0)) {
        host.showMessage(std::string(
            noAxis ? Said(host.words(), "Ось или вектор преобразования равны нулю: объекты не изменены.",
                          "The axis or vector of the transformation is zero: the objects are not changed.")
                   : Said(host.words(), "Коэффициент гомотетии равен нулю: объекты не изменены.",
                          "The homothety factor is zero: the objects are not changed.")));
        return TransOutcome::NoTransformation;
    }
    if (!scope.all && !scope.current && !scope.selected) return TransOutcome::NoScope;

    host.beforeChange();
    // The objects in scope, those built on them and the commit are one
    // change of the filled objects.
    const FillWatch fills(doc);
    DSubProj& o = doc.Obj;
    int kindNo = 0;
    if (scope.all) ForEachStore(o, [&](auto& store) {
            for (std::size_t i = 1; i <= store.count(); ++i) op(store[i]);
        });
    Kind curKind{};
    int curIndex = 0;
    if (scope.current && host.currentObject(curKind, curIndex)) {
        kindNo = 0;
        ForEachStore(o, [&](auto& store) {
            ++kindNo;
            if (kindNo == static_cast<int>(curKind) && curIndex >= 1 && curIndex <= store.count())
                op(store[static_cast<std::size_t>(curIndex)]);
        });
    }
    if (scope.selected) {
        kindNo = 0;
        ForEachStore(o, [&](auto& store) {
            const Kind k = static_cast<Kind>(++kindNo);
            for (std::size_t i = 1; i <= store.count(); ++i)
                if (host.isSelected(k, static_cast<int>(i))) op(store[i]);
        });
    }
    RecomputeLinked(doc);
    host.commitAndRedraw();
    return TransOutcome::Applied;
}

}  // namespace pelmar
