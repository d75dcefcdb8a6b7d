// A link from one record to another, as the tests and benchmarks build their
// documents.
#pragma once

#include <cstdint>

#include "model/records.h"

namespace pelmar::test {

// A link to object `index` of `kind`, its first choice sel1.
inline DLink LinkTo(int kind, int index, int sel1 = 0) {
    DLink l;
    l.b[0] = static_cast<std::uint8_t>(kind);
    l.b[1] = static_cast<std::uint8_t>(index);
    l.setSel(1, static_cast<std::uint8_t>(sel1));
    return l;
}
inline DLink LinkTo(Kind kind, int index, int sel1 = 0) { return LinkTo(static_cast<int>(kind), index, sel1); }

}  // namespace pelmar::test
