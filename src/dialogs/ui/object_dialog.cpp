#include "dialogs/ui/object_dialog.h"

#include <QLayout>
#include <algorithm>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTimer>

#include "dialogs/ui/dialog_parts.h"
#include "model/units.h"
#include "files/word_table.h"

namespace pelmar {

namespace {
}  // namespace

ObjectDialog::ObjectDialog(const QSize& client, int rollDownHeight, DialogDocument& doc, DialogCommit& commit,
                           QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      doc_(doc),
      commit_(commit),
      body_(new QWidget(this)),
      designClient_(client),
      designRollDown_(rollDownHeight),
      rollDownHeight_(rollDownHeight),
      ptWord_(QString::fromUtf8(BuiltInWord(WordNo::UnitPt))),
      cmWord_(QString::fromUtf8(BuiltInWord(WordNo::UnitCm))),
      pkWord_(QString::fromUtf8(BuiltInWord(WordNo::UnitPk))) {
    setAttribute(Qt::WA_DeleteOnClose);
    body_->setObjectName("ObjectDialogBody");
    body_->setGeometry(QRect(QPoint(0, 0), client));
    QFont small = body_->font();
    small.setPointSizeF(std::min(small.pointSizeF(), 8.0));
    body_->setFont(small);
    setFixedSize(client);

    // The shared place; a position on no screen (a document from a machine
    // with other screens) opens the dialog on the primary screen instead.
    const DialogPlace place = doc_.dialogPlace();
    QPoint at(place.left, place.top);
    if (!QGuiApplication::screenAt(at) && QGuiApplication::primaryScreen())
        at = QGuiApplication::primaryScreen()->availableGeometry().topLeft();
    move(at);
    frameAt_ = at;
    if (place.rolledUp) {
        rolled_ = true;
        setFixedHeight(1);
    }
}

ObjectDialog::~ObjectDialog() = default;

namespace {

// Whether the window system has put a frame around the window yet (never on
// a platform without frames).
bool MarginsKnown(const QWidget& w) { return w.frameGeometry() != w.geometry(); }

}  // namespace

void ObjectDialog::fitContent() {
    if (!body_->layout()) return;
    // New texts reach the outer layouts through posted layout requests, one
    // level of nesting at a time: let them all arrive before measuring.
    for (int level = 0; level < 6; ++level) QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    const QSize need = body_->layout()->totalMinimumSize().expandedTo(body_->size());
    if (need == body_->size()) return;
    rollDownHeight_ += need.height() - body_->height();
    body_->resize(need);
    setFixedWidth(need.width());
    setFixedHeight(rolled_ ? 1 : rollDownHeight_);
}

void ObjectDialog::refitContent() {
    rollDownHeight_ = designRollDown_;
    body_->resize(designClient_);
    setFixedWidth(designClient_.width());
    setFixedHeight(rolled_ ? 1 : rollDownHeight_);
    fitContent();
}

// ---------------------------------------------------------------------------
// Window life

void ObjectDialog::toggleRollUp() {
    rolled_ = !rolled_;
    setFixedHeight(rolled_ ? 1 : rollDownHeight_);
    doc_.setDialogsRolledUp(rolled_);
}

void ObjectDialog::systemCommand(SysCommand command) {
    if (command == SysCommand::Minimize) toggleRollUp();
}

void ObjectDialog::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    // Until the window system has framed the dialog, a move asked for is the
    // place of its frame.
    if (!isVisible() || !MarginsKnown(*this)) frameAt_ = pos();
    // Not the move that showing the window delivers: before the frame is
    // known it tells a place the window is not at.
    if (open_ && isVisible()) doc_.setDialogPosition(x(), y());
}

void ObjectDialog::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !(windowState() & Qt::WindowMinimized)) return;
    // The minimise button rolls the dialog up or down instead.
    QTimer::singleShot(0, this, [this] {
        setWindowState(windowState() & ~Qt::WindowMinimized);
        show();
        toggleRollUp();
    });
}

void ObjectDialog::showEvent(QShowEvent* event) {
    if (!fitted_) {
        fitted_ = true;
        fitContent();
    }
    QWidget::showEvent(event);
    // A window never shown before is put where its client area, not its frame,
    // stands at the place asked for, and the frame then grows above it over
    // the main tool bar: once the frame is known the dialog moves it there.
    if (framingChecks_ == 0) {
        framingChecks_ = 50;
        keepFrameAtPlace();
    }
}

void ObjectDialog::keepFrameAtPlace() {
    if (!isVisible()) return;
    if (MarginsKnown(*this)) {
        framingChecks_ = -1;
        if (frameGeometry().topLeft() != frameAt_) move(frameAt_);
        return;
    }
    if (--framingChecks_ > 0) QTimer::singleShot(20, this, [this] { keepFrameAtPlace(); });
}

void ObjectDialog::closeEvent(QCloseEvent* event) {
    flushPendingEdit();
    open_ = false;
    emit closed();
    event->accept();
}

// ---------------------------------------------------------------------------
// Filling

void ObjectDialog::fillText(QLineEdit* edit, const QString& text) {
    // Shown whole: a text the record holds is cut or refused only where the
    // user edits it, and is told then.
    if (edit->text() != text) TextGuard::Put(edit, text);
}

// ---------------------------------------------------------------------------
// Commit rules

bool ObjectDialog::isEntered(const QWidget* control) const {
    const QWidget* f = focusWidget();
    return f && (f == control || control->isAncestorOf(f));
}

bool ObjectDialog::focusAllows(const QWidget* control) const {
    return !filling() && control->hasFocus() && !commit_.NoRedraw();
}

bool ObjectDialog::enteredAllows(const QWidget* control) const {
    return !filling() && isEntered(control) && !commit_.NoRedraw();
}

void ObjectDialog::applyObject() {
    FillScope refill(*this);
    commit_.ApplyObject(true);
}

void ObjectDialog::commit() {
    applyObject();
    commit_.RepaintProject();
}

bool ObjectDialog::commitIfFocused(const QWidget* control) {
    if (!focusAllows(control)) return false;
    commit();
    return true;
}

bool ObjectDialog::commitIfEntered(const QWidget* control) {
    if (!enteredAllows(control)) return false;
    commit();
    return true;
}

void ObjectDialog::guardText(QLineEdit* edit, std::function<bool()> symbol) {
    // The words are read when a tip is due: the registry sets them after
    // the dialog has built its controls.
    TextWords words = [this]() -> const WordTable& {
        static const WordTable builtIn;
        return textWords_ ? textWords_() : builtIn;
    };
    GuardText(edit, std::move(words), std::move(symbol));
}

void ObjectDialog::GuardOver(QWidget* window, QLineEdit* edit) {
    for (QWidget* w = window; w; w = w->parentWidget())
        if (auto* d = qobject_cast<ObjectDialog*>(w)) return d->guardText(edit);
    GuardText(edit, {});
}

void ObjectDialog::watchAlways(QLineEdit* edit, std::function<void(const QString&)> store) {
    guardText(edit);
    // textEdited: the user's edits only; a refill that changes the text
    // commits nothing.
    connect(edit, &QLineEdit::textEdited, this, [this, store = std::move(store)](const QString& text) {
        if (filling()) return;
        store(text);
        applyObject();
    });
}

void ObjectDialog::watchExit(QLineEdit* edit, std::function<bool()> apply) {
    exits_.insert(edit, ExitWatch{std::move(apply), edit->text()});
    edit->installEventFilter(this);
}

void ObjectDialog::runExit(QLineEdit* edit) {
    auto it = exits_.find(edit);
    if (it == exits_.end() || filling() || !edit->isModified()) return;
    edit->setModified(false);
    if (!it->apply()) {
        fillText(edit, it->shown);  // refused: the previous value stays
        return;
    }
    applyObject();
    if (!commit_.NoRedraw()) commit_.RepaintProject();
    it = exits_.find(edit);  // the commit may have refilled the dialog
    if (it != exits_.end()) it->shown = edit->text();
}

void ObjectDialog::flushPendingEdit() {
    if (auto* edit = qobject_cast<QLineEdit*>(focusWidget()); edit && exits_.contains(edit)) runExit(edit);
}

bool ObjectDialog::eventFilter(QObject* watched, QEvent* event) {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (!edit || !exits_.contains(edit)) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::FocusIn:
            exits_[edit].shown = edit->text();
            break;
        case QEvent::FocusOut:
            // A context menu of the edit takes the focus for a moment only.
            if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) runExit(edit);
            break;
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                runExit(edit);
                return true;
            }
            if (key == Qt::Key_Escape && edit->isModified()) {
                fillText(edit, exits_[edit].shown);  // Esc drops the edit
                edit->setModified(false);
                return true;
            }
            break;
        }
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// Hints

void ObjectDialog::applyWords(const WordTable& words) {
    setHintWords(QString::fromStdString(words.WordLine(WordNo::UnitPt)), QString::fromStdString(words.WordLine(WordNo::UnitCm)));
    pkWord_ = QString::fromStdString(words.WordLine(WordNo::UnitPk));
}

void ObjectDialog::setHintWords(const QString& pt, const QString& cm) {
    ptWord_ = pt;
    cmWord_ = cm;
}

QString ObjectDialog::sizeHintText(double pixels) const {
    return QString::fromStdString(SizeHintText(pixels, doc_.resolution(), ptWord_.toStdString(), cmWord_.toStdString()));
}

void ObjectDialog::setSizeHintOf(QWidget* control, double pixels) { control->setToolTip(sizeHintText(pixels)); }

void ObjectDialog::showThickness(QLabel* pt, QWidget* tol, int pixels) {
    const int dpi = doc_.resolution() > 0 ? doc_.resolution() : 96;
    pt->setText(NumText(PixToPt(pixels, dpi)) + " " + ptWord_);
    setSizeHintOf(tol, pixels);
}

}  // namespace pelmar
