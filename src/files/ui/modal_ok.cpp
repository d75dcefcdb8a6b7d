#include "files/ui/modal_ok.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QDialog>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include "files/ui/num_edit.h"
#include "files/ui/spin_edit.h"
#include "files/ui/text_tip.h"

namespace pelmar {

namespace {

// Watches the release that would click the button: the number being typed
// is taken first, and where it is told the button is let up unclicked.
class OkHold : public QObject {
public:
    explicit OkHold(QAbstractButton* ok) : QObject(ok), ok_(ok) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != ok_ || event->type() != QEvent::MouseButtonRelease) return false;
        const auto* m = static_cast<QMouseEvent*>(event);
        if (m->button() != Qt::LeftButton || !ok_->isDown() || !ok_->rect().contains(m->position().toPoint()))
            return false;
        // Up before the release: the button sends no click.
        if (KeepOpenForTold(ok_->window())) ok_->setDown(false);
        return false;
    }

private:
    QAbstractButton* ok_;
};

// The title-bar close and Escape of a window whose close keeps what was
// typed.  Escape reaches the window from the field, which leaves it alone.
class CloseHold : public QObject {
public:
    explicit CloseHold(QDialog* window) : QObject(window), window_(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != window_ || !window_->isVisible()) return false;
        if (event->type() == QEvent::Close && KeepOpenForTold(window_)) {
            event->ignore();
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            const auto* k = static_cast<QKeyEvent*>(event);
            if (k->key() == Qt::Key_Escape && k->modifiers() == Qt::NoModifier) DropToldTyping(window_);
        }
        return false;
    }

private:
    QDialog* window_;
};

// The number field `w` is part of, in `window`.
template <class F>
F* FieldOf(QWidget* w, QWidget* window) {
    for (; w && w != window; w = w->parentWidget())
        if (auto* f = qobject_cast<F*>(w)) return f;
    return nullptr;
}

// The number being typed in `field` is taken; where the field tells of it,
// the text before the typing is entered in its place.
template <class F>
void DropTold(F* field) {
    if (!field || !field->typing()) return;
    const QString from = field->typedFrom();
    const int tips = TextTipSerial();
    field->finishTyping();
    if (TextTipSerial() != tips) field->enterText(from);
}

}  // namespace

void DropToldTyping(QWidget* window) {
    QWidget* f = window->focusWidget();
    DropTold(FieldOf<TNumEdit>(f, window));
    DropTold(FieldOf<TSpinEdit>(f, window));
}

void CloseKeepsAsOk(QDialog* window) { window->installEventFilter(new CloseHold(window)); }

void FinishTyping(QWidget* window) {
    QWidget* f = window->focusWidget();
    for (QWidget* w = f; w && w != window; w = w->parentWidget()) {
        if (auto* edit = qobject_cast<TNumEdit*>(w)) return edit->finishTyping();
        if (auto* spin = qobject_cast<TSpinEdit*>(w)) return spin->finishTyping();
    }
}

bool KeepOpenForTold(QWidget* window) {
    const int serial = TextTipSerial();
    FinishTyping(window);
    QWidget* field = TextTipField();
    if (TextTipSerial() == serial || !field || !window->isAncestorOf(field)) return false;
    const QString tip = ShownTextTip();
    field->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(field)) edit->selectAll();
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(field)) spin->selectAll();
    if (TextTipField() != field) ShowTextTip(field, tip);
    return true;
}

bool ReturnTakesNumber(QKeyEvent* event, const std::function<void()>& enter, const std::function<void()>& field) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) return false;
    const int tips = TextTipSerial();
    enter();
    field();
    // The user reads the tip first.
    if (TextTipSerial() != tips) event->accept();
    return true;
}

void HoldOkForTold(QAbstractButton* ok) {
    // A click leaves the focus in the field being typed in.
    ok->setFocusPolicy(Qt::TabFocus);
    ok->installEventFilter(new OkHold(ok));
}

}  // namespace pelmar
