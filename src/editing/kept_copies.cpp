#include "editing/kept_copies.h"

namespace pelmar {

void KeptCopies::keep(const WorkingCopies& from, KindMask kinds) {
    kinds_ = kinds;
    index_ = from.CurIndex;
    ForEachKind([&](auto kc) {
        constexpr Kind K = decltype(kc)::value;
        if (!kinds.test(Slot(K))) return;
        auto& rec = std::get<Slot(K)>(records_);
        const auto& work = KindT<K>::work(from);
        if (rec) *rec = work;
        else rec = std::make_unique<typename KindT<K>::Rec>(work);
    });
}

void KeptCopies::putBack(WorkingCopies& to) const {
    to.CurIndex = index_;
    ForEachKind([&](auto kc) {
        constexpr Kind K = decltype(kc)::value;
        if (kinds_.test(Slot(K))) KindT<K>::work(to) = *std::get<Slot(K)>(records_);
    });
}

}  // namespace pelmar
