// Some kinds' working copies kept aside and put back: what a typed number
// and a trial of the commit may change, instead of a copy of every kind's
// working copy (about 2 MB together) on every key.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <memory>
#include <tuple>

#include "editing/kind_access.h"
#include "model/records.h"

namespace pelmar {

// A set of kinds, bit Slot(k) for kind k.
using KindMask = std::bitset<KindCount>;

inline KindMask MaskOf(Kind k) { return KindMask().set(Slot(k)); }

// Each kind's record is made the first time it is kept and used again after
// that: keeping the same kinds again copies into storage (and strings) that
// are there already.  The current indexes are kept along.
class KeptCopies {
public:
    void keep(const WorkingCopies& from, KindMask kinds);
    // The kept kinds put back as they were kept.
    void putBack(WorkingCopies& to) const;
    KindMask kinds() const { return kinds_; }

private:
    template <Kind K>
    using Held = std::unique_ptr<typename KindT<K>::Rec>;
    std::tuple<Held<Kind::po>, Held<Kind::li>, Held<Kind::ci>, Held<Kind::tr>, Held<Kind::kv>, Held<Kind::xy>,
               Held<Kind::sf>, Held<Kind::zi>, Held<Kind::ko>, Held<Kind::i3>, Held<Kind::i4>, Held<Kind::r3>,
               Held<Kind::r4>, Held<Kind::xz>>
        records_;
    std::array<std::uint8_t, KindCount> index_{};
    KindMask kinds_;
};

}  // namespace pelmar
