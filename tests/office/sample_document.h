// The sample drawing of the office tests.
#pragma once

#include <memory>

#include "files/doc_fixture.h"
#include "office_fixture.h"

namespace pelmar::test {

// One object of every kind, with a named point at the picture's centre and a
// dashed segment with an arrow at its second end on layer 1.
inline std::unique_ptr<DProj> SampleDocument() {
    auto doc = DocumentOfEveryKind(1);
    // Objects left on layer 0 are drawn nowhere: put them on layer 3.
    auto layer = [](auto& store) {
        for (std::size_t i = 1; i <= store.count(); ++i)
            if (store[i].Layer.v == 0) store[i].Layer.v = 3;
    };
    DSubProj& o = doc->Obj;
    layer(o.Xy), layer(o.Sf), layer(o.Zi), layer(o.Ko), layer(o.I3), layer(o.I4), layer(o.R3), layer(o.R4);
    layer(o.Xz), layer(o.Ci), layer(o.Tr), layer(o.Kv);
    DPoint p = MakePoint(400, 300, 2, 4, Red);
    p.Name.s = "A";
    doc->Obj.Po[1] = p;
    DLine l = MakeLine(100, 100, 300, 100, 1, Blue);
    l.LineType.v = 2;
    l.Arrow2.v = true;
    l.Arrow2Len.v = 10;
    l.Arrow2Angle.v = 30;
    doc->Obj.Li[1] = l;
    return doc;
}

}  // namespace pelmar::test
