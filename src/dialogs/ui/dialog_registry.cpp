#include "dialogs/ui/dialog_registry.h"

namespace pelmar {

namespace {
std::size_t Slot(Kind k) { return static_cast<std::size_t>(KindNumber(k)) - 1; }
}  // namespace

void DialogRegistry::setCreator(Kind k, Creator creator) { creators_[Slot(k)] = std::move(creator); }

bool DialogRegistry::hasCreator(Kind k) const { return static_cast<bool>(creators_[Slot(k)]); }

ObjectDialog* DialogRegistry::dialog(Kind k) const {
    ObjectDialog* d = open_[Slot(k)].data();
    return d && d->isOpen() ? d : nullptr;
}

ObjectDialog* DialogRegistry::Show(Kind k) {
    if (auto* d = dialog(k)) return d;
    if (!creators_[Slot(k)]) return nullptr;
    ObjectDialog* d = creators_[Slot(k)](*this);
    open_[Slot(k)] = d;
    d->show();
    return d;
}

void DialogRegistry::Close(Kind k) {
    if (auto* d = dialog(k)) d->close();
    open_[Slot(k)] = nullptr;
}

}  // namespace pelmar
