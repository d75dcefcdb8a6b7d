#include "shell/command_lock.h"

namespace pelmar {

void ButtonLock::lock(ToolButtonStates& bar) {
    for (std::size_t i = 0; i < LockedButtons.size(); ++i) {
        saved_[i] = bar.toolButtonEnabled(LockedButtons[i]);
        bar.setToolButtonEnabled(LockedButtons[i], false);
    }
}

void ButtonLock::unlock(ToolButtonStates& bar) {
    for (std::size_t i = 0; i < LockedButtons.size(); ++i) bar.setToolButtonEnabled(LockedButtons[i], saved_[i]);
}

}  // namespace pelmar
