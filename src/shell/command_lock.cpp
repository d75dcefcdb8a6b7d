#include "shell/command_lock.h"

namespace pelmar {

void ButtonLock::lock(MainCommandStates& states) {
    for (std::size_t i = 0; i < LockedButtons.size(); ++i) {
        saved_[i] = states.enabled(LockedButtons[i]);
        states.setEnabled(LockedButtons[i], false);
    }
}

void ButtonLock::unlock(MainCommandStates& states) {
    for (std::size_t i = 0; i < LockedButtons.size(); ++i) states.setEnabled(LockedButtons[i], saved_[i]);
}

}  // namespace pelmar
