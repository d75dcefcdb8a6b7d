#include "files/ui/text_tip.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>
#include <QToolTip>
#include <algorithm>
#include <vector>

#include "files/word_table.h"

namespace pelmar {

namespace {

// The controls a tip must not cover.
bool IsControl(const QWidget* w) {
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
           qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractButton*>(w) ||
           qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QTextEdit*>(w) ||
           qobject_cast<const QAbstractSlider*>(w) || qobject_cast<const QAbstractItemView*>(w);
}

// The places of the controls on screen that a tip at `field` could hide: the
// field itself and every other control of its window, and the controls of
// the other windows that this window does not stand over.
std::vector<QRect> ControlsAround(QWidget* field) {
    std::vector<QRect> out;
    QWidget* own = field->window();
    const QRect ownFrame = own->frameGeometry();
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (!top->isVisible() || top->windowType() == Qt::ToolTip || top->windowType() == Qt::Popup) continue;
        for (QWidget* w : top->findChildren<QWidget*>()) {
            if (!IsControl(w) || !w->isVisible() || w->window() != top) continue;
            const QRect r(w->mapToGlobal(QPoint(0, 0)), w->size());
            if (top == own || !ownFrame.contains(r)) out.push_back(r);
        }
    }
    return out;
}

// Where a tip of `size` goes at `field`: the first of the places near it that
// is on the screen and covers no control; else the one on the screen that
// covers the fewest.
QRect PlaceFor(QWidget* field, QSize size) {
    constexpr int Gap = 2;
    const QRect f(field->mapToGlobal(QPoint(0, 0)), field->size());
    const QRect w = field->window()->frameGeometry();
    const int h = size.height(), wd = size.width();
    const QPoint places[] = {
        {f.left(), f.top() - Gap - h},              // above the field
        {f.left(), f.bottom() + 1 + Gap},           // below it
        {f.right() + 1 + Gap, f.center().y() - h / 2},  // beside it
        {f.left() - Gap - wd, f.center().y() - h / 2},
        {w.right() + 1 + Gap, f.center().y() - h / 2},  // beside the window
        {w.left() - Gap - wd, f.center().y() - h / 2},
        {f.left(), w.top() - Gap - h},              // above the window
        {f.left(), w.bottom() + 1 + Gap},           // below it
    };
    QScreen* screen = field->screen() ? field->screen() : QGuiApplication::primaryScreen();
    const QRect room = screen ? screen->availableGeometry() : QRect(QPoint(-100000, -100000), QSize(200000, 200000));
    const std::vector<QRect> controls = ControlsAround(field);
    QRect best;
    std::size_t fewest = SIZE_MAX;
    for (const QPoint& at : places) {
        QRect r(at, size);
        // Kept on the screen sideways; a place off it above or below is none.
        r.moveLeft(std::clamp(r.left(), room.left(), std::max(room.left(), room.right() + 1 - wd)));
        if (r.top() < room.top() || r.bottom() > room.bottom()) continue;
        const auto covered = static_cast<std::size_t>(
            std::count_if(controls.begin(), controls.end(), [&r](const QRect& c) { return c.intersects(r); }));
        if (covered == 0) return r;
        if (covered < fewest) fewest = covered, best = r;
    }
    if (best.isNull()) best = QRect(QPoint(f.left(), std::max(room.top(), f.top() - Gap - h)), size);
    return best;
}

class TipLabel : public QLabel {
public:
    TipLabel()
        : QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
                              Qt::WindowDoesNotAcceptFocus) {
        setObjectName("TextTip");
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_ShowWithoutActivating);
        setPalette(QToolTip::palette());
        setFont(QToolTip::font());
        setForegroundRole(QPalette::ToolTipText);
        setBackgroundRole(QPalette::ToolTipBase);
        setAutoFillBackground(true);
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setMargin(2);
        setTextFormat(Qt::PlainText);
        timer_.setSingleShot(true);
        connect(&timer_, &QTimer::timeout, this, &QWidget::hide);
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
            if (!isVisible()) return;
            auto inField = [this](QWidget* w) { return w && field_ && (w == field_ || field_->isAncestorOf(w)); };
            // A tip shown as its field is left outlives that change of the
            // focus, and goes with the next.
            if (!followFocus_ && inField(old) && !passed_) {
                passed_ = true;
                return;
            }
            if (!followFocus_ || !inField(now)) hide();
        });
    }

    void show(QWidget* field, const QString& text) {
        if (watched_) watched_->removeEventFilter(this);
        field_ = field;
        const QWidget* focus = QApplication::focusWidget();
        followFocus_ = focus && (focus == field || field->isAncestorOf(focus));
        passed_ = false;
        watched_ = field->window();
        setText(text);
        QScreen* screen = field->screen();
        const int widest = screen ? screen->availableGeometry().width() * 2 / 3 : 800;
        setWordWrap(false);
        setMinimumWidth(0);
        setMaximumWidth(QWIDGETSIZE_MAX);
        if (sizeHint().width() > widest) {
            setWordWrap(true);
            setFixedWidth(widest);
        }
        adjustSize();
        setGeometry(PlaceFor(field, size()));
        watched_->installEventFilter(this);
        qApp->installEventFilter(this);
        QLabel::show();
        raise();
        timer_.start(10000);
    }

    QPointer<QWidget> field_, watched_;

protected:
    void hideEvent(QHideEvent* event) override {
        timer_.stop();
        qApp->removeEventFilter(this);
        if (watched_) watched_->removeEventFilter(this);
        QLabel::hideEvent(event);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::NonClientAreaMouseButtonPress:
                hide();
                break;
            case QEvent::Move:
            case QEvent::Hide:
                if (watched == watched_) hide();
                break;
            default:
                break;
        }
        return false;
    }

private:
    QTimer timer_;
    bool followFocus_ = true;  // the field had the focus when the tip came
    bool passed_ = false;      // the change of the focus it came with is over
};

QPointer<TipLabel>& Tip() {
    static QPointer<TipLabel> tip;
    return tip;
}

int& Serial() {
    static int serial = 0;
    return serial;
}

}  // namespace

void ShowTextTip(QWidget* field, const QString& text) {
    ++Serial();
    QPointer<TipLabel>& tip = Tip();
    if (!tip) tip = new TipLabel;
    tip->show(field, text);
}

const WordTable& WordsOf(const TextWords& words) {
    static const WordTable builtIn;
    return words ? words() : builtIn;
}

QString ShownTextTip() { return Tip() && Tip()->isVisible() ? Tip()->text() : QString(); }

QWidget* TextTipField() { return Tip() && Tip()->isVisible() ? Tip()->field_.data() : nullptr; }

int TextTipSerial() { return Serial(); }

QRect TextTipPlace() { return Tip() && Tip()->isVisible() ? Tip()->geometry() : QRect(); }

}  // namespace pelmar
