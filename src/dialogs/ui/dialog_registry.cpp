#include "dialogs/ui/dialog_registry.h"

#include <QTabWidget>
#include <memory>

#include "editing/kind_access.h"
#include "files/word_table.h"

namespace pelmar {

namespace {
// The slot of a kind's open dialog: the four-sided pyramid and prism share
// the three-sided one's.
std::size_t DialogSlot(Kind k) {
    if (k == Kind::i4) return Slot(Kind::i3);
    if (k == Kind::r4) return Slot(Kind::r3);
    return Slot(k);
}
}  // namespace

DialogRegistry::~DialogRegistry() {
    for (auto& d : open_) delete d.data();
}

void DialogRegistry::refill(Kind k) {
    VisitKind(k, [&](auto kc) { Fill(k, KindT<decltype(kc)::value>::work(session_.copies())); });
}

void DialogRegistry::setCreator(Kind k, Creator creator) { creators_[Slot(k)] = std::move(creator); }

bool DialogRegistry::hasCreator(Kind k) const { return static_cast<bool>(creators_[Slot(k)]); }

ObjectDialog* DialogRegistry::dialog(Kind k) const {
    ObjectDialog* d = open_[DialogSlot(k)].data();
    return d && d->isOpen() ? d : nullptr;
}

ObjectDialog* DialogRegistry::open(Kind k) {
    if (auto* d = dialog(k)) return d;
    if (!creators_[Slot(k)]) return nullptr;
    ObjectDialog* d = creators_[Slot(k)](*this);
    d->applyWords(session_.words());
    d->setTextWords([this]() -> const WordTable& { return session_.words(); });
    // The dialog's own kind is stored into also when no object is current.
    d->setCopies({[this]() -> WorkingCopies& { return session_.copies(); },
                  [this, k] { return session_.trialKinds() | MaskOf(k); }, [this] { session_.tryCommit(true); }});
    open_[DialogSlot(k)] = d;
    QObject::connect(d, &ObjectDialog::closed, d, [this, k] { session_.dialogClosed(k); });
    session_.dialogOpened(k);
    d->show();
    return d;
}

QSize DialogRegistry::measure(Kind k) {
    if (!creators_[Slot(k)]) return {};
    const std::unique_ptr<ObjectDialog> d(creators_[Slot(k)](*this));
    d->ensurePolished();  // the style's sizes, as a shown dialog has them
    d->applyWords(session_.words());
    d->fitContent();
    return d->size();
}

void DialogRegistry::WordsToOpenDialogs() {
    for (const KindInfo& info : KindTable)
        if (ObjectDialog* d = dialog(info.kind)) {
            d->applyWords(session_.words());
            d->refitContent();
        }
}

void DialogRegistry::finishTyping() {
    for (const QPointer<ObjectDialog>& d : open_)
        if (d && d->isOpen()) d->flushPendingEdit();
}

void DialogRegistry::Close(Kind k) {
    if (auto* d = dialog(k)) d->closeByProgram();
    open_[DialogSlot(k)] = nullptr;
}

std::string DialogRegistry::ActiveControl(Kind k) const {
    ObjectDialog* d = dialog(k);
    QWidget* w = d ? d->focusWidget() : nullptr;
    return w ? w->objectName().toStdString() : std::string();
}

void DialogRegistry::SelectPage(Kind k, int page) {
    // A control on a page not shown cannot take the focus: the window
    // would give it to its first control on being activated.
    if (ObjectDialog* d = dialog(k))
        if (auto* tabs = d->findChild<QTabWidget*>(QStringLiteral("PageControl1")); tabs && page >= 1 && page <= tabs->count())
            tabs->setCurrentIndex(page - 1);
}

void DialogRegistry::Activate(Kind k, const std::string& name) {
    if (ObjectDialog* d = dialog(k))
        if (auto* w = d->findChild<QWidget*>(QString::fromStdString(name)); w && w->isEnabled()) w->setFocus();
}

}  // namespace pelmar
