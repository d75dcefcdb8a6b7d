// An animation host that shows nothing and is never cancelled: the frame
// loop's own cost, without a window.
#pragma once

#include <string>

#include "transform/anim_build.h"

namespace pelmar {

struct QuietHost : AnimHost {
    void setStatus(const std::string&, TColor) override {}
    void setProgress(int, int) override {}
    bool cancelRequested() override { return false; }
    bool pollDuringFrame() override { return false; }
    void showMessage(const std::string&) override {}
    const WordTable* words() const override { return nullptr; }
};

}  // namespace pelmar
