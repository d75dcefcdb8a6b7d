#include "files/ui/field_tip.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QToolTip>
#include <QWidget>

#include "files/word_table.h"

namespace pelmar {

const WordTable& WordsOf(const TextWords& words) {
    static const WordTable builtIn;
    return words ? words() : builtIn;
}

namespace {

// The note window of one window's fields, owned by that window.  It takes no
// focus and no input: keys go on into the field, and a click on it reaches
// the control beneath.  It goes when its time is up, when another note
// comes, and when its window moves, hides or closes.
class FieldTipLabel : public QLabel {
public:
    explicit FieldTipLabel(QWidget* window)
        : QLabel(window, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
                             Qt::WindowDoesNotAcceptFocus),
          window_(window) {
        setObjectName(QStringLiteral("FieldTip"));
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        setPalette(QToolTip::palette());
        setFont(QToolTip::font());
        setAutoFillBackground(true);
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setMargin(3);
        setTextFormat(Qt::PlainText);
        timer_.setSingleShot(true);
        connect(&timer_, &QTimer::timeout, this, &QWidget::hide);
        window->installEventFilter(this);
    }

    void showAt(QWidget* field, const QString& text) {
        setText(text);
        adjustSize();
        // Below the field, kept on its screen.
        QPoint at = field->mapToGlobal(QPoint(0, field->height() + 2));
        if (const QScreen* screen = field->screen()) {
            const QRect room = screen->availableGeometry();
            if (at.x() + width() > room.right()) at.rx() = std::max(room.left(), room.right() - width());
            if (at.y() + height() > room.bottom()) at.ry() = field->mapToGlobal(QPoint(0, 0)).y() - height() - 2;
        }
        move(at);
        show();
        raise();
        timer_.start(4000 + 40 * static_cast<int>(text.size()));
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_) {
            switch (event->type()) {
                case QEvent::Move:
                case QEvent::Hide:
                case QEvent::Close:
                case QEvent::WindowStateChange: hide(); break;
                default: break;
            }
        }
        return QLabel::eventFilter(watched, event);
    }

private:
    QWidget* window_;
    QTimer timer_;
};

}  // namespace

void ShowFieldTip(QWidget* field, const QString& text) {
    if (!field || text.isEmpty()) return;
    QWidget* window = field->window();
    auto* tip = window->findChild<FieldTipLabel*>(QStringLiteral("FieldTip"), Qt::FindDirectChildrenOnly);
    if (!tip) tip = new FieldTipLabel(window);
    // One note at a time in the program.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != tip && w->objectName() == QLatin1String("FieldTip")) w->hide();
    tip->showAt(field, text);
}

QString ShownFieldTip() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("FieldTip") && w->isVisible()) return static_cast<QLabel*>(w)->text();
    return {};
}

}  // namespace pelmar
