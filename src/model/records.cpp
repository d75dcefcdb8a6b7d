#include "model/records.h"

#include <string>

namespace pelmar {

void IndexOutOfRange(std::size_t i, std::size_t n) {
    throw std::out_of_range("index " + std::to_string(i) + " outside 1.." + std::to_string(n));
}

int KindFromCode(std::string_view code) {
    for (const auto& k : KindTable)
        if (code == k.code) return static_cast<int>(k.kind);
    return 0;
}

const std::vector<CurvePoint>& DCurve1::points() const {
    static const std::vector<CurvePoint> empty;
    return Points ? *Points : empty;
}

const std::vector<DCurve1>& DCurve2::lines() const {
    static const std::vector<DCurve1> empty;
    return Lines ? *Lines : empty;
}

#define PELMAR_STORE(R, N) template class Store<R, N>;
PELMAR_KIND_STORES(PELMAR_STORE)
#undef PELMAR_STORE

DSubProj::DSubProj(const DSubProj&) = default;
DSubProj::DSubProj(DSubProj&&) noexcept = default;
DSubProj& DSubProj::operator=(const DSubProj&) = default;
DSubProj& DSubProj::operator=(DSubProj&&) noexcept = default;
DSubProj::~DSubProj() = default;

int DSubProj::count(Kind k) const {
    switch (k) {
        case Kind::po: return Po.count();
        case Kind::li: return Li.count();
        case Kind::ci: return Ci.count();
        case Kind::tr: return Tr.count();
        case Kind::kv: return Kv.count();
        case Kind::xy: return Xy.count();
        case Kind::sf: return Sf.count();
        case Kind::zi: return Zi.count();
        case Kind::ko: return Ko.count();
        case Kind::i3: return I3.count();
        case Kind::i4: return I4.count();
        case Kind::r3: return R3.count();
        case Kind::r4: return R4.count();
        case Kind::xz: return Xz.count();
    }
    return 0;
}

std::unique_ptr<DProj> NewDocument() { return std::make_unique<DProj>(); }

}  // namespace pelmar
