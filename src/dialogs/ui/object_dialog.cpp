#include "dialogs/ui/object_dialog.h"

#include <QLayout>
#include <algorithm>
#include <cmath>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScreen>
#include <QTimer>

#include "dialogs/number_text.h"
#include "dialogs/ui/dialog_parts.h"
#include "dialogs/ui/num_edit.h"
#include "dialogs/ui/spin_edit.h"
#include "files/ui/modal_ok.h"
#include "files/word_table.h"
#include "model/coord_limit.h"
#include "model/record_reach.h"
#include "model/units.h"

namespace pelmar {

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

ObjectDialog::~ObjectDialog() {
    // Hiding the window on its way out takes the focus from a field: what
    // was typed there has no dialog to go to any more.
    for (QWidget* box : numbers_.keys()) box->disconnect(this);
}

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

void ObjectDialog::closeByProgram() {
    const QPointer<ObjectDialog> self(this);
    closingByProgram_ = true;
    close();
    if (self) closingByProgram_ = false;
}

void ObjectDialog::closeEvent(QCloseEvent* event) {
    // Closed by the user (the title-bar button) with a number being typed:
    // the number is taken as a modal window's OK takes it, and one its field
    // tells of keeps the dialog open on the field, with the tip.
    if (!closingByProgram_ && KeepOpenForTold(this)) {
        event->ignore();
        return;
    }
    flushPendingEdit();
    open_ = false;
    emit closed();
    event->accept();
}

// ---------------------------------------------------------------------------
// Filling

void ObjectDialog::fillText(QLineEdit* edit, const QString& text) {
    // The number the user is typing stays as typed.
    if (auto* num = qobject_cast<TNumEdit*>(edit); num && num->typing()) return;
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

void ObjectDialog::applyTyped(QWidget* box) {
    if (box != typedBox_) typedStep_ = 0;
    typedBox_ = box;
    FillScope refill(*this);
    commit_.ApplyObjectInStep(true, typedStep_);
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

ObjectDialog::NumberNote ObjectDialog::ruleNote(bool taken) const {
    return taken ? NumberNote::taken()
                 : NumberNote::refused(said("Объект не может принять это значение.", "The object cannot take this value."));
}

QString ObjectDialog::said(const char* russian, const char* english) const {
    return QString::fromUtf8(WordsOf(textWords_).Said(russian, english));
}

QString ObjectDialog::limitNote(LimitCase what) const {
    return QString::fromStdString(LimitNote(WordsOf(textWords_), what));
}

void ObjectDialog::GuardOver(QWidget* window, QLineEdit* edit) {
    for (QWidget* w = window; w; w = w->parentWidget())
        if (auto* d = qobject_cast<ObjectDialog*>(w)) return d->guardText(edit);
    GuardText(edit, {});
}

void ObjectDialog::watchTyped(QLineEdit* edit) { edit->installEventFilter(this); }

bool ObjectDialog::typedCommit(QWidget* box) {
    if (!focusAllows(box)) return false;
    applyTyped(box);
    return true;
}

void ObjectDialog::watchAlways(QLineEdit* edit, std::function<void(const QString&)> store) {
    guardText(edit);
    // textEdited: the user's edits only; a refill that changes the text
    // commits nothing.
    watchTyped(edit);
    connect(edit, &QLineEdit::textEdited, this, [this, edit, store = std::move(store)](const QString& text) {
        if (filling()) return;
        store(text);
        applyTyped(edit);
    });
}

// ---------------------------------------------------------------------------
// Number fields

namespace {

// Two values a field shows are the same (a whole-number field shows the
// rounded value; reals are compared as the record keeps them).
bool SameNumber(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return false;
    return a == b || std::abs(a - b) <= 1e-9 * std::max(1.0, std::max(std::abs(a), std::abs(b)));
}

bool SameNumbers(const std::vector<double>& a, const std::vector<double>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!SameNumber(a[i], b[i])) return false;
    return true;
}

using Reach = std::array<bool, KindCount>;

// Which working copies lie within the coordinate limit: taken before a
// number is stored and compared after it, without keeping a copy.
Reach ReachOf(const WorkingCopies& c) {
    return {WithinCoordLimit(c.CurPoint), WithinCoordLimit(c.CurLine), WithinCoordLimit(c.CurCircle),
            WithinCoordLimit(c.CurTri),   WithinCoordLimit(c.CurKv),   WithinCoordLimit(c.CurXOY),
            WithinCoordLimit(c.CurSf),    WithinCoordLimit(c.CurZi),   WithinCoordLimit(c.CurKo),
            WithinCoordLimit(c.CurPi3),   WithinCoordLimit(c.CurPi4),  WithinCoordLimit(c.CurPr3),
            WithinCoordLimit(c.CurPr4),   WithinCoordLimit(c.CurXZ)};
}

// No object that was within the coordinate limit before is past it now.
bool ReachKept(const Reach& before, const WorkingCopies& after) {
    const Reach now = ReachOf(after);
    for (std::size_t i = 0; i < before.size(); ++i)
        if (before[i] && !now[i]) return false;
    return true;
}


}  // namespace

void ObjectDialog::watchNumber(TNumEdit* edit, NumberField field) {
    NumberWatch w{.box = edit, .field = std::move(field)};
    w.typed = [edit] { return edit->typedNumber(); };
    w.show = [edit](double v) { edit->showNumber(v); };
    w.bounds = [] { return std::optional<std::pair<int, int>>(); };
    w.whole = !edit->allowComma();
    edit->setWords([this]() -> const WordTable& { return WordsOf(textWords_); });
    connect(edit, &TNumEdit::numberTyped, this, [this, edit] { numberTyped(edit); });
    connect(edit, &TNumEdit::numberEntered, this, [this, edit] { numberEntered(edit); });
    addNumber(std::move(w));
}

void ObjectDialog::watchNumber(TSpinEdit* spin, NumberField field) {
    NumberWatch w{.box = spin, .field = std::move(field)};
    w.typed = [spin] { return spin->typedNumber(); };
    w.show = [spin](double v) { spin->showValue(SaturatedRound<int>(v)); };
    w.bounds = [spin] {
        return spin->bounded() ? std::optional(std::pair(spin->minimum(), spin->maximum()))
                               : std::optional<std::pair<int, int>>();
    };
    w.whole = true;
    spin->setWords([this]() -> const WordTable& { return WordsOf(textWords_); });
    connect(spin, &TSpinEdit::numberTyped, this, [this, spin] { numberTyped(spin); });
    connect(spin, &TSpinEdit::numberEntered, this, [this, spin] { numberEntered(spin); });
    addNumber(std::move(w));
}

void ObjectDialog::addNumber(NumberWatch w) {
    if (w.field.group == -1) w.field.group = nextGroup_++;
    w.box->installEventFilter(this);
    numbers_.insert(w.box, std::move(w));
}

void ObjectDialog::keepCopies() {
    if (copies_.copies) kept_.keep(copies_.copies(), copies_.kinds ? copies_.kinds() : KindMask().set());
}

void ObjectDialog::putBackCopies() {
    if (copies_.copies) kept_.putBack(copies_.copies());
}

void ObjectDialog::readAsCommitted(const std::function<void()>& read) {
    if (!copies_.copies || !copies_.trial) return read();
    WorkingCopies& now = copies_.copies();
    trialKept_.keep(now, copies_.kinds ? copies_.kinds() : KindMask().set());
    struct PutBack {
        const KeptCopies& kept;
        WorkingCopies& to;
        ~PutBack() { kept.putBack(to); }
    } putBack{trialKept_, now};
    copies_.trial();
    read();
}

std::vector<double> ObjectDialog::othersShown(const NumberWatch& w) const {
    std::vector<double> out;
    if (w.field.group == 0) return out;
    for (const NumberWatch& o : numbers_)
        if (o.box != w.box && o.field.group != 0 && o.field.group != w.field.group) out.push_back(o.field.shown());
    return out;
}

// A key of a number: the number is taken at once where the field's rule and
// the commit keep it as typed; otherwise the record stays as it was until the
// user is done.
void ObjectDialog::numberTyped(QWidget* box) {
    auto it = numbers_.find(box);
    if (it == numbers_.end() || filling() || commit_.NoRedraw()) return;
    NumberWatch& w = *it;
    w.held = true;
    if (!w.field.live) return;
    const std::optional<double> typed = w.typed();
    if (!typed || !std::isfinite(*typed)) return;  // no number yet
    if (w.whole && *typed != std::nearbyint(*typed)) return;
    if (const auto b = w.bounds(); b && (*typed < b->first || *typed > b->second)) return;
    if (!WithinCoordLimit(*typed)) return;  // refused when the user is done
    const double v = *typed == 0 ? 0.0 : *typed;  // "-0" is 0
    const std::vector<double> others = othersShown(w);
    keepCopies();
    // The first key taken of this typing: what the record was before it.
    if (typingFromBox_ != box && copies_.copies) typingFrom_.keep(copies_.copies(), kept_.kinds());
    const std::optional<Reach> reach = reachBefore();
    bool kept = w.field.store(v).outcome == NumberNote::Outcome::Taken;
    if (kept)
        readAsCommitted([&] {
            kept = SameNumber(w.field.shown(), v) && SameNumbers(othersShown(w), others) &&
                   (!reach || ReachKept(*reach, copies_.copies()));
        });
    if (!kept) {
        putBackCopies();
        return;
    }
    w.held = false;
    if (copies_.copies) typingFromBox_ = box;
    applyTyped(box);
    commit_.RepaintProject();
    refreshHints();
    // The field holds the record's number now: an undo or a change made
    // elsewhere shows in it, and leaving it stores nothing again.
    if (auto* edit = qobject_cast<TNumEdit*>(box)) edit->typedTaken();
    else if (auto* spin = qobject_cast<TSpinEdit*>(box)) spin->typedTaken();
}

// The user is done with the number: the whole number goes through the rule
// and is committed; the field shows what the record holds, with a tip where
// that is not what was typed.
void ObjectDialog::numberEntered(QWidget* box) {
    auto it = numbers_.find(box);
    if (it == numbers_.end() || filling()) return;
    NumberWatch& w = *it;
    const bool held = w.held;
    w.held = false;
    const bool typedFrom = typingFromBox_ == box;
    // The number is done: the next key typed begins a new undo step.
    struct EndStep {
        ObjectDialog& d;
        ~EndStep() {
            d.typedBox_ = nullptr;
            d.typingFromBox_ = nullptr;
        }
    } endStep{*this};
    const WordTable& words = WordsOf(textWords_);
    // "" and "-" mean 0 now (a spin edit's MinValue), a whole-number field
    // rounds, a spin edit keeps within its bounds.
    const std::optional<double> typed = w.typed();
    double v = typed && std::isfinite(*typed) && *typed != 0 ? *typed : 0;
    const auto bounds = w.bounds();
    if (!typed && bounds) v = bounds->first;  // a spin edit's MinValue
    // A field left with no number takes one, and says which.
    const auto emptiedNote = [&](double taken) {
        return QString::fromStdString(bounds ? RangeNote(words, bounds->first, bounds->second, SaturatedRound<int>(taken))
                                             : EmptyNote(words, taken));
    };
    QString why;
    if (w.whole && v != std::nearbyint(v)) {
        v = std::nearbyint(v);
        why = QString::fromStdString(WholeNote(words, SaturatedRound<int>(v)));
    }
    if (bounds && (v < bounds->first || v > bounds->second)) {
        v = std::clamp(v, static_cast<double>(bounds->first), static_cast<double>(bounds->second));
        why = QString::fromStdString(RangeNote(words, bounds->first, bounds->second, SaturatedRound<int>(v)));
    }
    if (!held && SameNumber(w.field.shown(), v)) {  // taken key by key already
        w.show(w.field.shown());
        if (!why.isEmpty()) ShowTextTip(w.box, why);
        return;
    }
    const std::vector<double> others = othersShown(w);
    keepCopies();
    const std::optional<Reach> reach = reachBefore();
    NumberNote note = w.field.store(v);
    // Past the range of coordinates, or carrying the object past it: refused
    // before the object's own rule is told.
    if (const std::optional<LimitCase> past = pastLimit(v, note, reach))
        note = NumberNote::refused(QString::fromStdString(LimitNote(words, *past)));
    if (note.outcome == NumberNote::Outcome::Refused) {
        putBackCopies();
        // The keys taken on the way are taken back with it.
        if (typedFrom) takeBackTyping(box);
        it = numbers_.find(box);
        if (it == numbers_.end()) return;
        it->show(it->field.shown());
        ShowTextTip(it->box, note.why);
        return;
    }
    applyTyped(box);
    if (!commit_.NoRedraw()) commit_.RepaintProject();
    // The dialog may have been refilled; the field shows the record's value.
    it = numbers_.find(box);
    if (it == numbers_.end()) return;
    const double stored = it->field.shown();
    it->show(stored);
    refreshHints();
    if (note.outcome == NumberNote::Outcome::Changed) {
        why = note.why;
    } else if (!SameNumber(stored, v) || !SameNumbers(othersShown(*it), others)) {
        if (it->field.why) why = it->field.why(v, stored);
        if (why.isEmpty() && !SameNumber(stored, v)) why = QString::fromStdString(ChangedNote(words, stored));
    }
    if (why.isEmpty() && !typed) why = emptiedNote(stored);
    if (!why.isEmpty()) ShowTextTip(it->box, why);
}

std::optional<Reach> ObjectDialog::reachBefore() const {
    if (!copies_.copies) return std::nullopt;
    return ReachOf(copies_.copies());
}

std::optional<LimitCase> ObjectDialog::pastLimit(double v, const NumberNote& note, const std::optional<Reach>& before) {
    bool reach = true;
    if (before && note.outcome != NumberNote::Outcome::Refused)
        readAsCommitted([&] { reach = ReachKept(*before, copies_.copies()); });
    if (WithinCoordLimit(v)) return reach ? std::nullopt : std::optional(LimitCase::Reach);
    // A number typed past the bound is never taken; the tip says pixels where
    // it would have placed or sized the object.
    return reach ? LimitCase::Number : LimitCase::Pixels;
}

// The keys of this typing that were taken as typed are taken back: the kinds
// go back to what they were before its first key, and the commit joins the
// step those keys took, so that a document as it was takes no step and no
// mark.  Nothing happens where no key of it was taken.
void ObjectDialog::takeBackTyping(QWidget* box) {
    if (typingFromBox_ != box || !copies_.copies) return;
    typingFromBox_ = nullptr;
    typingFrom_.putBack(copies_.copies());
    applyTyped(box);
    if (!commit_.NoRedraw()) commit_.RepaintProject();
    refreshHints();
}

// Esc: nothing of what was typed and not taken is kept, nor any key taken on
// the way to it (a prefix of the number meant); the field shows the record's
// value, as it was before the typing.
void ObjectDialog::numberDropped(QWidget* box) {
    auto it = numbers_.find(box);
    if (it == numbers_.end()) return;
    it->held = false;
    takeBackTyping(box);
    typingFromBox_ = nullptr;
    typedBox_ = nullptr;
    it = numbers_.find(box);
    if (it == numbers_.end()) return;
    it->show(it->field.shown());
}

std::vector<QWidget*> ObjectDialog::liveNumberFields() const {
    std::vector<QWidget*> out;
    for (const NumberWatch& w : numbers_)
        if (w.field.live) out.push_back(w.box);
    return out;
}

void ObjectDialog::flushPendingEdit() {
    QWidget* f = focusWidget();
    for (auto it = numbers_.begin(); it != numbers_.end(); ++it) {
        QWidget* box = it.key();
        if (f != box && !box->isAncestorOf(f)) continue;
        if (auto* edit = qobject_cast<TNumEdit*>(box); edit && edit->typing()) edit->finishTyping();
        if (auto* spin = qobject_cast<TSpinEdit*>(box); spin && spin->typing()) spin->finishTyping();
        return;
    }
}

bool ObjectDialog::eventFilter(QObject* watched, QEvent* event) {
    auto* box = qobject_cast<QWidget*>(watched);
    // A field entered begins a new undo step with its first key, and a new
    // typing: one whose keys were all taken ends without being told.
    if (box && event->type() == QEvent::FocusIn && box == typedBox_) typedBox_ = nullptr;
    if (box && event->type() == QEvent::FocusIn && box == typingFromBox_ &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
        typingFromBox_ = nullptr;
    if (box && event->type() == QEvent::KeyPress && numbers_.contains(box) &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        const bool typing = qobject_cast<TNumEdit*>(box) ? static_cast<TNumEdit*>(box)->typing()
                                                         : static_cast<TSpinEdit*>(box)->typing();
        if (typing) {
            numberDropped(box);
            return true;
        }
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
