#include "transform/ui/anim_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "files/ui/modal_ok.h"
#include "files/ui/spin_edit.h"
#include "files/ui/text_guard.h"

namespace pelmar {

namespace {

// Colours are stored as $00BBGGRR.
QColor ToQColor(TColor c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

QPixmap Mark(TColor c) {
    QPixmap p(14, 14);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setBrush(ToQColor(c));
    g.setPen(Qt::NoPen);
    g.drawEllipse(1, 1, 12, 12);
    return p;
}

}  // namespace

TFormAnimation::TFormAnimation(AnimWindowContext ctx, QWidget* parent) : QDialog(parent), ctx_(std::move(ctx)) {
    setObjectName("FormAnim");
    setWindowTitle(word(WordNo::Animation).replace(QStringLiteral("&&"), QStringLiteral("&")));
    auto* root = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    auto spin = [&](const char* name, int min, int max) {
        auto* s = new TSpinEdit(this);
        s->setObjectName(name);
        // A number typed beyond the bounds, or with a fraction, is put within
        // them when the edit is left, with a tip; one read from a file is
        // shown clamped.
        s->setMinMax(min, max);
        if (ctx_.table) s->setWords(ctx_.table);
        connect(s, &TSpinEdit::changed, this, [this] { store(); });
        return s;
    };
    auto edit = [&](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        GuardText(e, ctx_.table);
        connect(e, &QLineEdit::textChanged, this, [this] { store(); });
        return e;
    };
    SpinEdit1 = spin("SpinEdit1", AnimDelayMin, AnimDelayMax);
    SpinEdit2 = spin("SpinEdit2", AnimFramesMin, AnimFramesMax);
    Edit1 = edit("Edit1");
    Edit2 = edit("Edit2");
    auto label = [&](const char* name, const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, this);
        l->setObjectName(name);
        l->setBuddy(buddy);
        form->addRow(l, buddy);
        return l;
    };
    // The window's size follows these first texts.
    Label1 = label("Label1", QString::fromUtf8("Задержки, msec:"), SpinEdit1);
    Label2 = label("Label2", word(WordNo::FrameCount), SpinEdit2);
    Label3 = label("Label3", word(WordNo::FrameCount + 1), Edit1);
    Label4 = label("Label4", word(WordNo::FrameCount + 2), Edit2);
    CheckBox2 = new QCheckBox(word(WordNo::FrameCount + 3), this);
    CheckBox2->setObjectName("CheckBox2");
    connect(CheckBox2, &QCheckBox::toggled, this, [this] { store(); });
    form->addRow(CheckBox2);
    root->addLayout(form);

    Panel1 = new QFrame(this);
    Panel1->setObjectName("Panel1");
    Panel1->setFrameShape(QFrame::StyledPanel);
    auto* status = new QHBoxLayout(Panel1);
    ImStatus = new QLabel(Panel1);
    ImStatus->setObjectName("ImStatus");
    ImStatus->setFixedSize(14, 14);
    Label0 = new QLabel(Panel1);
    Label0->setObjectName("Label0");
    status->addWidget(ImStatus);
    status->addWidget(Label0, 1);
    root->addWidget(Panel1);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setFormat("%v / %m");
    root->addWidget(ProgressBar1);

    auto* buttons = new QHBoxLayout;
    Button1 = new QPushButton(word(WordNo::FrameCount + 4), this);
    Button1->setObjectName("Button1");
    Button2 = new QPushButton(word(WordNo::FrameCount + 5), this);
    Button2->setObjectName("Button2");
    Button1->setAutoDefault(false);
    Button2->setAutoDefault(false);
    // A run and the close take the numbers as OK does.
    HoldOkForTold(Button1);
    HoldOkForTold(Button2);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    root->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(320, 0)));
}

// Destroyed while shown, with a number being typed: the edit is left after
// the window has gone, and no longer reaches it.
TFormAnimation::~TFormAnimation() {
    for (QObject* c : findChildren<QObject*>()) c->disconnect(this);
}

void TFormAnimation::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

namespace {

// Word-table lines of the status texts.
constexpr WordNo StatusWords[] = {WordNo::BuildingFrame, WordNo::SavingGif, WordNo::GifDone, WordNo::GifCorrected,
                                  WordNo::GifNotDone};

}  // namespace

QString TFormAnimation::word(WordNo line) const {
    const char* builtIn = BuiltInWord(line);
    const std::string text = ctx_.words ? ctx_.words(static_cast<int>(line)) : std::string(builtIn ? builtIn : "");
    return QString::fromStdString(text).replace('&', QStringLiteral("&&"));
}

void TFormAnimation::WordsToAnim() {
    if (!ctx_.words) return;
    setWindowTitle(QString::fromStdString(ctx_.words(static_cast<int>(WordNo::Animation))));
    Label1->setText(word(WordNo::FrameCount - 1));
    Label2->setText(word(WordNo::FrameCount));
    Label3->setText(word(WordNo::FrameCount + 1));
    Label4->setText(word(WordNo::FrameCount + 2));
    CheckBox2->setText(word(WordNo::FrameCount + 3));
    Button1->setText(word(WordNo::FrameCount + 4));
    if (!running_) Button2->setText(word(WordNo::FrameCount + 5));
}

void TFormAnimation::FormShow() {
    WordsToAnim();
    if (!ctx_.doc) return;
    const AnimSettings s = AnimSettingsOf(*ctx_.doc);
    ++filling_;
    SpinEdit1->showValue(s.delay);
    SpinEdit2->showValue(s.frames);
    Edit1->setText(QString::fromStdString(s.step));
    Edit2->setText(QString::fromStdString(s.start));
    CheckBox2->setChecked(s.loop);
    --filling_;
    running_ = false;
    ImStatus->clear();
    ProgressBar1->setRange(0, 1);
    ProgressBar1->setValue(0);
    ProgressBar1->setVisible(false);
    setStatus(AnimStandBy, AnimBlack);
    Button1->setEnabled(true);
    kept_ = s;
}

AnimSettings TFormAnimation::current() const {
    AnimSettings s;
    s.delay = SpinEdit1->value();
    s.frames = SpinEdit2->value();
    s.step = Edit1->text().toStdString();
    s.start = Edit2->text().toStdString();
    s.loop = CheckBox2->isChecked();
    return s;
}

// Every change goes straight into the document; the close query commits.
void TFormAnimation::store() {
    if (filling_ || !ctx_.doc) return;
    PutAnimSettings(*ctx_.doc, current());
}

AnimResult TFormAnimation::Button1Click() {
    if (running_ || !ctx_.doc || !ctx_.drawing || !ctx_.redraw) return last_;
    finishTyping();
    // The build uses what the window shows: a number the file held beyond
    // the bounds is shown clamped, and goes into the document now.
    store();
    running_ = true;
    cancel_ = false;
    ImStatus->clear();
    Button1->setEnabled(false);
    Button2->setText(word(WordNo::Cancel));
    for (QWidget* w : std::initializer_list<QWidget*>{SpinEdit1, SpinEdit2, Edit1, Edit2, CheckBox2})
        w->setEnabled(false);
    ProgressBar1->setRange(0, std::max(1, SpinEdit2->value()));
    ProgressBar1->setValue(0);
    ProgressBar1->setVisible(true);
    last_ = BuildAnimation(*ctx_.doc, *ctx_.drawing, *ctx_.redraw, *this, AnimationPath(ctx_.docPath));
    running_ = false;
    for (QWidget* w : std::initializer_list<QWidget*>{SpinEdit1, SpinEdit2, Edit1, Edit2, CheckBox2})
        w->setEnabled(true);
    ProgressBar1->setVisible(false);
    Button1->setEnabled(true);
    Button2->setText(word(WordNo::FrameCount + 5));
    return last_;
}

void TFormAnimation::Button2Click() {
    if (running_)
        cancel_ = true;  // seen by the frame in progress, which is not written
    else
        close();
}

void TFormAnimation::setStatus(const std::string& text, TColor colour) {
    QPalette p = Label0->palette();
    p.setColor(QPalette::WindowText, ToQColor(colour));
    Label0->setPalette(p);
    std::string shown = text;
    if (ctx_.words)
        for (const WordNo w : StatusWords)
            if (const std::string builtIn = BuiltInWord(w); text.rfind(builtIn, 0) == 0) {
                shown = ctx_.words(static_cast<int>(w)) + text.substr(builtIn.size());
                break;
            }
    Label0->setText(QString::fromStdString(shown));
    if (colour != AnimBlack)
        ImStatus->setPixmap(Mark(colour));
    Label0->repaint();
}

void TFormAnimation::setProgress(int frame, int count) {
    ProgressBar1->setRange(0, std::max(1, count));
    ProgressBar1->setValue(frame);
    ProgressBar1->repaint();
}

bool TFormAnimation::cancelRequested() {
    QCoreApplication::processEvents();
    return cancel_;
}

bool TFormAnimation::pollDuringFrame() { return cancelRequested(); }

void TFormAnimation::showMessage(const std::string& text) {
    if (ctx_.message) ctx_.message(text);
}

const WordTable* TFormAnimation::words() const { return ctx_.table ? &ctx_.table() : nullptr; }

// Changed settings become one undo step holding the old ones.
bool TFormAnimation::closeQuery() {
    if (running_) return false;
    // A number refused as typed keeps the window open on its field, as OK does.
    if (KeepOpenForTold(this)) return false;
    finishTyping();
    if (ctx_.doc) {
        const std::function<void()> noCommit = [] {};
        CommitAnimSettings(*ctx_.doc, kept_, ctx_.commit ? ctx_.commit : noCommit);
        kept_ = AnimSettingsOf(*ctx_.doc);
    }
    return true;
}

void TFormAnimation::finishTyping() {
    SpinEdit1->finishTyping();
    SpinEdit2->finishTyping();
}

void TFormAnimation::reject() {
    if (closeQuery()) QDialog::reject();
}

void TFormAnimation::closeEvent(QCloseEvent* event) {
    if (!closeQuery()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void RunAnimationWindow(QWidget* parent, const AnimWindowContext& ctx) {
    TFormAnimation w(ctx, parent);
    w.exec();
}

}  // namespace pelmar
