// Test helpers shared by the editing tests: the fakes, the record paths, and
// small ways to set up the current object.
#pragma once

#include <cstring>
#include <string>

#include "editing/kind_access.h"
#include "fake_hosts.h"
#include "record_paths.h"
#include "support/links.h"

namespace pelmar::test {

inline Kind KindOfCode(const std::string& code) { return static_cast<Kind>(KindFromCode(code)); }

// Makes entry 0 of the object list name object `index` of kind k and makes
// it current; the document is not looked at.
inline void MakeCurrent(EditingState& st, Kind k, int index = 1) {
    ObjListEntry& e = st.ObjList[0];
    std::memcpy(e.code, InfoOf(k).code, 2);
    e.index = static_cast<std::uint8_t>(index);
    st.CurObjIndex = 0;
}

// The record of object i of kind K in the edited document.
template <Kind K>
auto& Obj(EditingState& st, std::size_t i) {
    return KindT<K>::store(st.Proj->Obj)[i];
}

}  // namespace pelmar::test
