// The base of every object dialog: a modeless tool window that stays on top,
// of fixed size, showing one kind's working copy and writing each change back
// into it.
//
// Window life.  All object dialogs share one position and one rolled-up state,
// both kept in the document: a new dialog opens where the last one was moved
// to and rolled up when the last one was.  Minimising rolls the dialog up to
// its caption (client height 1) and back down (the roll-down height); the
// close box closes it, and the dialog frees itself.
//
// Filling.  A filler puts a record on the controls inside a FillScope.  Qt
// sends the controls' change signals for values set by the program as well;
// while a fill runs the value handlers neither store nor commit, so filling
// never changes the record.  A commit refills the dialog, so a commit runs as
// a fill too and can never commit again.
//
// The four commit rules of the value handlers:
// - focus: the control has the keyboard focus (check boxes, texts);
// - entered: the focus is inside the control (combo boxes, radio groups);
// - always: the ID edits, on every change the user makes to their text;
// - numbers (watchNumber): a number field takes what the user types, key by
//   key, only where the field's rule and the commit keep it as typed, so a
//   part of a number ("1" on the way to "100") never reshapes the object in
//   a way the whole number would not; the rest waits until the user is done
//   (the field left for any reason, Return, a step of a spin edit's arrows).
//   Then the whole number goes through the rule and is committed, the field
//   shows what the record holds, and a tip says why where that is not what
//   was typed.  The text being typed is never rewritten by a refill.
//   No number is taken past the range of coordinates (kCoordLimit, either
//   way), and none that would carry an object of the working copies past
//   it (a side so long that a vertex would leave it): such a number is
//   refused with a tip naming the bound.  A number refused, by that bound
//   or by the field's rule, takes back the keys of it that were taken on
//   the way, and so does Esc while the field holds a number not taken: the
//   record is as it was before the typing, and the document takes no undo
//   step and no mark for it.
// No handler commits or redraws while a drag runs in the picture window.
//
// The content goes on body(), which keeps the design size while the window
// rolls up and down, in the design's small dialog font.  Where the machine's
// fonts need more room the dialog grows to its content when first shown.
#pragma once

#include <QHash>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "dialogs/dialog_host.h"
#include "editing/kept_copies.h"
#include "files/number_text.h"
#include "files/ui/text_guard.h"

class QLabel;
class QLineEdit;

namespace pelmar {

class TNumEdit;
class TSpinEdit;
class WordTable;

class ObjectDialog : public QWidget {
    Q_OBJECT
public:
    // client: the design client size; rollDownHeight: the client height the
    // dialog rolls down to.
    ObjectDialog(const QSize& client, int rollDownHeight, DialogDocument& doc, DialogCommit& commit,
                 QWidget* parent = nullptr);
    ~ObjectDialog() override;

    QWidget* body() const { return body_; }
    // Grows the client area (and the roll-down height with it) to what the
    // body's layout needs, where the machine's fonts and style make the
    // controls larger than the design size allows.
    void fitContent();
    // After a change of words: the client area goes back to the design size
    // and grows to what the new words need, so that a dialog made for longer
    // words does not keep their width.
    void refitContent();

    // ---- window life
    // From creation until the dialog is closed.
    bool isOpen() const { return open_; }
    // The program closes the dialog: what is being typed is taken as when
    // the field is left, and the dialog closes whatever its field tells.
    // Closed by the user, a number its field tells of keeps it open.
    void closeByProgram();
    bool rolledUp() const { return rolled_; }
    // The minimise command: rolls the dialog up or down; the document keeps
    // the state for the next dialog.
    void toggleRollUp();
    // The window-menu commands: minimise rolls up or down, close does nothing.
    enum class SysCommand { Minimize, Close };
    void systemCommand(SysCommand command);

    // ---- filling
    class FillScope {
    public:
        explicit FillScope(ObjectDialog& d) : d_(d) { ++d_.filling_; }
        ~FillScope() { --d_.filling_; }
        FillScope(const FillScope&) = delete;
        FillScope& operator=(const FillScope&) = delete;

    private:
        ObjectDialog& d_;
    };
    bool filling() const { return filling_ > 0; }

    // Puts a text on an edit, whole and as it is; an equal text is left
    // alone, so that the cursor and the undo steps of the edit stay.
    static void fillText(QLineEdit* edit, const QString& text);

    // ---- the commit rules
    // Whether the rule lets a handler of `control` commit now.
    bool focusAllows(const QWidget* control) const;
    bool enteredAllows(const QWidget* control) const;
    // The focus is on the control or on a widget inside it.
    bool isEntered(const QWidget* control) const;

    // The commit of a value handler: ApplyObject(True), then the redraw.
    void commit();
    // commit() when the rule allows; whether it committed.
    bool commitIfFocused(const QWidget* control);
    bool commitIfEntered(const QWidget* control);

    // ---- texts the record keeps
    // The words of the guards' tips (the registry sets them).
    void setTextWords(TextWords words) { textWords_ = std::move(words); }
    // A message of the program's own in the interface's language.
    QString said(const char* russian, const char* english) const;
    // The tip of a number past the range the program takes.
    QString limitNote(LimitCase what) const;
    // Guards an edit whose text goes into the record: what the document
    // cannot hold is refused as it is typed.  symbol: the text is set in
    // "Symbol" now, and the edit shows it by its signs (SymbolShown).
    void guardText(QLineEdit* edit, std::function<bool()> symbol = {});
    // The same for an edit of a window opened over an object dialog
    // (`window` or one of its parents), with that dialog's words.
    static void GuardOver(QWidget* window, QLineEdit* edit);

    // always: `store` puts the text into the record, then ApplyObject(True)
    // runs, without a redraw.  Only the user's edits run it.  The text is
    // guarded.
    void watchAlways(QLineEdit* edit, std::function<void(const QString&)> store);
    // A text field whose keys are one undo step, as a number field's are:
    // watchTyped makes entering the field again begin a new step; typedCommit
    // commits what the field stored while it has the focus, within the step
    // of its typing (false: nothing was committed).
    void watchTyped(QLineEdit* edit);
    bool typedCommit(QWidget* box);

    // ---- number fields
    // What a field's rule made of a whole number.
    struct NumberNote {
        enum class Outcome { Taken, Changed, Refused };
        Outcome outcome = Outcome::Taken;
        QString why;  // the tip where the rule changed or refused the number
        static NumberNote taken() { return {}; }
        static NumberNote changed(QString why) { return {Outcome::Changed, std::move(why)}; }
        static NumberNote refused(QString why) { return {Outcome::Refused, std::move(why)}; }
    };
    struct NumberField {
        // Stores the whole number into the working copy with the field's
        // rule (the reshaping it brings included).
        std::function<NumberNote(double)> store = {};
        // The field's value in the working copy, as the field shows it.
        std::function<double()> shown = {};
        // Fields of one group move each other (a point's picture X and its
        // 3D Y); that the commit moves a field of another group is a rule of
        // the object's, told with `why`.  0: a value that reshapes the
        // object and follows every change (a side's length): it is never
        // compared, and moves what it moves; -1: a group of its own.
        int group = -1;
        // Taken key by key where the rule keeps it; false: only when the
        // user is done (a value that reshapes the object).
        bool live = true;
        // The tip where the commit's rule made of the typed number `typed`
        // the number `stored`, or moved a field of another group (empty, or
        // an empty text: "the object took N").
        std::function<QString(double typed, double stored)> why = {};
    };
    // Taken, or refused because the object cannot take the value (a rule
    // that gave no shape).
    NumberNote ruleNote(bool taken) const;
    void watchNumber(TNumEdit* edit, NumberField field);
    void watchNumber(TSpinEdit* spin, NumberField field);
    // Runs the pending number of the focused field now (before the dialog
    // closes or opens a part).
    void flushPendingEdit();
    // The number fields whose keys are taken as they are typed (live), in
    // no particular order.
    std::vector<QWidget*> liveNumberFields() const;

    // ---- hints
    // The words of the size hints ("пт", "см"); applyWords sets them, with
    // "пк" beside them.
    void setHintWords(const QString& pt, const QString& cm);
    const QString& ptWord() const { return ptWord_; }
    const QString& cmWord() const { return cmWord_; }
    const QString& pkWord() const { return pkWord_; }
    // A control's hint: the size in points, centimetres and inches at the
    // document's resolution.
    void setSizeHintOf(QWidget* control, double pixels);
    // The head's thickness: its size in points on `pt`, and the hint of `tol`.
    void showThickness(QLabel* pt, QWidget* tol, int pixels);
    QString sizeHintText(double pixels) const;

    // WordsTo<k>: the word table's texts on the dialog; run when the dialog
    // is created and on a language change while it is open.
    virtual void applyWords(const WordTable& words);

    DialogCommit& commitTarget() const { return commit_; }
    DialogDocument& document() const { return doc_; }

    // The working copies the dialog edits, the kinds among them that a
    // number stored and the commit's trial may change, and the trial itself
    // (DialogSession::tryCommit, on the working copies); the registry sets
    // them.  A number typed is tried on them: those kinds are kept before it
    // is stored and put back when it is not committed.  Without them the
    // record is taken as the commit would leave it.
    struct CopiesAccess {
        std::function<WorkingCopies&()> copies;
        std::function<KindMask()> kinds;
        std::function<void()> trial;
    };
    void setCopies(CopiesAccess access) { copies_ = std::move(access); }

protected:
    // The size hints after a number was stored.
    virtual void refreshHints() {}
    // `read` while the working copies are as the commit would leave them;
    // they are as they were afterwards.
    void readAsCommitted(const std::function<void()>& read);

signals:
    // The dialog was closed: its kind's open flag is to be cleared.  The
    // dialog frees itself afterwards; receivers must not delete it.
    void closed();

protected:
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct NumberWatch {
        QWidget* box = nullptr;
        NumberField field = {};
        std::function<std::optional<double>()> typed = {};  // the text's number as typed
        std::function<void(double)> show = {};               // puts a value on the field
        std::function<std::optional<std::pair<int, int>>()> bounds = {};  // a spin edit's
        bool whole = false;
        bool held = false;  // a number typed waits for the user to be done
    };
    void addNumber(NumberWatch watch);
    // The kinds a number stored may change kept aside, to be put back
    // (nothing without the working copies).
    void keepCopies();
    void putBackCopies();
    void numberTyped(QWidget* box);
    void numberEntered(QWidget* box);
    void numberDropped(QWidget* box);
    void takeBackTyping(QWidget* box);
    // Why the number `v`, just stored with `note`, is past the range the
    // program takes: typed past kCoordLimit, or carrying an object of the
    // working copies past it (compared with `before`); nullopt: it is not.
    // Whether each kind's working copy lies within the coordinate limit now.
    using Reach = std::array<bool, KindCount>;
    std::optional<Reach> reachBefore() const;
    std::optional<LimitCase> pastLimit(double v, const NumberNote& note, const std::optional<Reach>& before);
    // The other groups' fields as they are now.
    std::vector<double> othersShown(const NumberWatch& w) const;
    void applyObject();
    // The commit of what is typed into `box`: the keys of one field, until
    // it is left or Enter is pressed, are one undo step.
    void applyTyped(QWidget* box);
    void keepFrameAtPlace();

    DialogDocument& doc_;
    DialogCommit& commit_;
    QWidget* body_;
    const QSize designClient_;
    const int designRollDown_;
    int rollDownHeight_;
    bool open_ = true;
    bool closingByProgram_ = false;
    bool rolled_ = false;
    bool fitted_ = false;
    // Where the dialog's frame is to stand until the window system has framed
    // it, and how many more times to look whether it has.
    QPoint frameAt_;
    int framingChecks_ = 0;
    int filling_ = 0;
    QHash<QWidget*, NumberWatch> numbers_;
    // The field being typed in and the undo step its keys belong to.
    QWidget* typedBox_ = nullptr;
    std::uint64_t typedStep_ = 0;
    CopiesAccess copies_;
    // Used again for every key: what a number stored may change, and what
    // the commit's trial changes.
    KeptCopies kept_, trialKept_;
    // The field whose keys were taken as typed, and the kinds as they were
    // before its first such key: a number refused when the user is done
    // goes back to them.
    QWidget* typingFromBox_ = nullptr;
    KeptCopies typingFrom_;
    int nextGroup_ = 1000;
    QString ptWord_, cmWord_, pkWord_;
    TextWords textWords_;
};

}  // namespace pelmar
