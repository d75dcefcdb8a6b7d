// Test helper: walks every Double of a pyramid or prism record, its spheres
// included, for the checks of finite_check.h.
#pragma once

#include <cstddef>
#include <string>

#include "finite_check.h"
#include "model/records.h"

namespace pelmar::test {

template <class F>
void ForEachOrbDouble(const DSf& s, const std::string& at, F&& f) {
    f(at + ".Radius", s.Radius.v);
    ForEachDouble(s.Center, at + ".Center", f);
    ForEachDouble(s.Contour, at + ".Contour", f);
    for (std::size_t i = 1; i <= 7; ++i) {
        const std::string k = "[" + std::to_string(i) + "]";
        f(at + ".SecNX" + k, s.SecNX[i].v);
        f(at + ".SecNY" + k, s.SecNY[i].v);
        f(at + ".SecNZ" + k, s.SecNZ[i].v);
        f(at + ".SecH" + k, s.SecH[i].v);
        ForEachDouble(s.Sec[i], at + ".Sec" + k, f);
    }
}

template <class BaseT, std::size_t NF, class F>
void ForEachDouble(const DPyramid<BaseT, NF>& p, const std::string& at, F&& f) {
    ForEachDouble(p.HeightLine, at + ".HeightLine", f);
    for (std::size_t i = 1; i <= NF; ++i) ForEachDouble(p.Face[i], at + ".Face[" + std::to_string(i) + "]", f);
    ForEachDouble(p.Base, at + ".Base", f);
    ForEachOrbDouble(p.OutSphere, at + ".OutSphere", f);
    ForEachOrbDouble(p.InSphere, at + ".InSphere", f);
}

template <class BaseT, std::size_t NS, class F>
void ForEachDouble(const DPrism<BaseT, NS>& p, const std::string& at, F&& f) {
    f(at + ".EdgeX", p.EdgeX.v);
    f(at + ".EdgeY", p.EdgeY.v);
    f(at + ".EdgeZ", p.EdgeZ.v);
    f(at + ".EdgeLen", p.EdgeLen.v);
    for (std::size_t i = 1; i <= NS; ++i) ForEachDouble(p.Side[i], at + ".Side[" + std::to_string(i) + "]", f);
    for (std::size_t i = 1; i <= 2; ++i) ForEachDouble(p.Base[i], at + ".Base[" + std::to_string(i) + "]", f);
    ForEachOrbDouble(p.OutSphere, at + ".OutSphere", f);
    ForEachOrbDouble(p.InSphere, at + ".InSphere", f);
}

}  // namespace pelmar::test
