#include "shell/ui/fill_settings_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "dialogs/number_text.h"
#include "dialogs/ui/num_edit.h"
#include "dialogs/ui/radio_group.h"
#include "files/ui/modal_ok.h"
#include "files/ui/text_tip.h"
#include "files/word_table.h"
#include "model/coord_limit.h"
#include "shell/picture_settings.h"

namespace pelmar {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }
QString Escaped(const std::string& s) { return Q(s).replace(QLatin1Char('&'), QStringLiteral("&&")); }

template <class T>
T* Named(T* w, const QString& name) {
    w->setObjectName(name);
    return w;
}

// Word-table lines from the fill page's title on.
constexpr int FillPage = 154 - 117;

}  // namespace

FormImageBr::FormImageBr(const WordTable& words, DProj& doc, std::function<void()> apply, QWidget* parent)
    : QDialog(parent), words_(words), doc_(doc), apply_(std::move(apply)) {
    setObjectName(QStringLiteral("FormImageBr"));
    setModal(true);
    auto* top = new QVBoxLayout(this);
    tabs_ = Named(new QTabWidget(this), QStringLiteral("PageControl1"));
    top->addWidget(tabs_);
    auto* page = Named(new QWidget, QStringLiteral("TabSheet1"));
    tabs_->addTab(page, QString());
    auto* g = new QGridLayout(page);

    radioG1_ = Named(new TRadioGroup(QString(), page), QStringLiteral("RadioG1"));
    radioG1_->setItems({QString(), QString()});
    radioG2_ = Named(new TRadioGroup(QString(), page), QStringLiteral("RadioG2"));
    radioG2_->setItems({QStringLiteral("2"), QStringLiteral("3")});
    radioG3_ = Named(new TRadioGroup(QString(), page), QStringLiteral("RadioG3"));
    radioG3_->setItems({QStringLiteral("90"), QStringLiteral("180")});
    g->addWidget(radioG1_, 0, 0);
    g->addWidget(radioG2_, 0, 1);
    g->addWidget(radioG3_, 0, 2);

    groupG1_ = Named(new QGroupBox(page), QStringLiteral("GroupG1"));
    editG1_ = Named(new TNumEdit(groupG1_, false, true), QStringLiteral("EditG1"));
    (new QHBoxLayout(groupG1_))->addWidget(editG1_);
    g->addWidget(groupG1_, 1, 0, 1, 3);

    auto triple = [&](QGroupBox*& box, const char* boxName, std::array<TNumEdit*, 3>& edits, const char* prefix,
                      int row) {
        box = Named(new QGroupBox(page), QLatin1String(boxName));
        auto* h = new QHBoxLayout(box);
        const char* axes[] = {"X=", "Y=", "Z="};
        for (int i = 0; i < 3; ++i) {
            h->addWidget(new QLabel(QLatin1String(axes[i]), box));
            TNumEdit*& e = edits[static_cast<std::size_t>(i)];
            e = Named(new TNumEdit(box, true, true), QLatin1String(prefix) + QString::number(i + 1));
            h->addWidget(e);
        }
        g->addWidget(box, row, 0, 1, 3);
    };
    triple(groupG2_, "GroupG2", editGP_, "EditGP", 2);
    triple(groupG3_, "GroupG3", editGV_, "EditGV", 3);

    bitBtn1_ = Named(new QPushButton(page), QStringLiteral("BitBtn1"));
    g->addWidget(bitBtn1_, 4, 0, 1, 3, Qt::AlignLeft);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    button1_ = Named(new QPushButton(this), QStringLiteral("Button1"));
    buttons->addWidget(button1_);
    top->addLayout(buttons);

    connect(radioG1_, &TRadioGroup::itemClicked, this, [this](int i) {
        doc_.Im.LightSource = static_cast<std::uint8_t>(i + 1);
        enableFillControls();
        doc_.FillValid = 0;
    });
    connect(radioG2_, &TRadioGroup::itemClicked, this, [this](int i) {
        doc_.Im.TwoColors = i == 0 ? 1 : 0;
        enableFillControls();
        doc_.FillValid = 0;
    });
    connect(radioG3_, &TRadioGroup::itemClicked, this, [this](int i) {
        doc_.Im.BorderAngle = i == 1 ? 180 : 90;
        doc_.FillValid = 0;
    });
    std::vector<TNumEdit*> edits{editG1_};
    edits.insert(edits.end(), editGP_.begin(), editGP_.end());
    edits.insert(edits.end(), editGV_.begin(), editGV_.end());
    for (TNumEdit* e : edits) {
        e->setWords([this]() -> const WordTable& { return words_; });
        connect(e, &TNumEdit::textChangedFiltered, this, [this] {
            if (!filling_) doc_.FillValid = 0;
        });
        connect(e, &TNumEdit::numberEntered, this, [this, e] { editEntered(e); });
    }
    // Apply draws what the edits show, also when Return in an edit pressed it.
    connect(bitBtn1_, &QPushButton::clicked, this, [this] {
        leaveFocusedEdit();
        if (apply_) apply_();
    });
    HoldOkForTold(button1_);
    // The window has no Cancel: its close keeps what was typed, as OK does.
    CloseKeepsAsOk(this);
    connect(button1_, &QPushButton::clicked, this, &QDialog::accept);
    applyWords();
    load();
}

// Destroyed while shown, with a number being typed: the edit is left after
// the dialog has gone, and no longer reaches it.
FormImageBr::~FormImageBr() {
    for (QObject* c : findChildren<QObject*>()) c->disconnect(this);
}

void FormImageBr::applyWords() {
    auto word = [&](int n) { return Escaped(words_.WordLine(WordNo::ProjectOptions + FillPage + n)); };
    setWindowTitle(Q(words_.WordLine(WordNo::ProjectOptions)) + QStringLiteral(": ") +
                   Q(words_.WordLine(WordNo::ProjectOptions + FillPage)));
    tabs_->setTabText(0, word(0));
    radioG1_->setTitle(word(1));
    radioG1_->setItemText(0, word(2));
    radioG1_->setItemText(1, word(3));
    radioG2_->setTitle(word(4));
    groupG1_->setTitle(word(5) + QStringLiteral(", %"));
    radioG3_->setTitle(word(6));
    groupG2_->setTitle(word(7));
    groupG3_->setTitle(word(8));
    bitBtn1_->setText(QStringLiteral("Применить"));
    button1_->setText(QStringLiteral("Ok"));
}

void FormImageBr::load() {
    ++filling_;
    const DImProj& im = doc_.Im;
    radioG1_->setItemIndex(im.LightSource - 1);
    radioG2_->setItemIndex(im.TwoColors ? 0 : 1);
    radioG3_->setItemIndex(im.BorderAngle == 90 ? 0 : 1);
    // Shown as the edits read them: the decimal comma, a point also taken.
    editG1_->setText(Q(NumberText(im.BorderPercent)));
    const std::array<double, 3> pos{im.LightX, im.LightY, im.LightZ}, dir{im.LightDX, im.LightDY, im.LightDZ};
    for (std::size_t i = 0; i < 3; ++i) {
        editGP_[i]->setText(Q(NumberText(pos[i])));
        editGV_[i]->setText(Q(NumberText(dir[i])));
    }
    --filling_;
    enableFillControls();
}

void FormImageBr::showEvent(QShowEvent* event) {
    applyWords();
    load();
    QDialog::showEvent(event);
}

void FormImageBr::enableFillControls() {
    const DImProj& im = doc_.Im;
    radioG2_->setEnabled(true);
    radioG3_->setEnabled(true);
    editG1_->setEnabled(im.TwoColors == 0);
    for (TNumEdit* e : editGP_) e->setEnabled(im.LightSource == 1);
    for (TNumEdit* e : editGV_) e->setEnabled(im.LightSource == 2);
}

void FormImageBr::editEntered(TNumEdit* edit) {
    DImProj& im = doc_.Im;
    const std::string text = edit->text().toStdString();
    const std::optional<double> typed = ReadNumber(text);
    double stored = 0;
    // Why the number stored is not the one typed, where it is a number.
    std::string_view why = words_.Said("Здесь нужно число: взято %1.", "A number is needed here: %1 was taken.");
    if (edit == editG1_) {
        stored = im.BorderPercent = BorderOfText(text);
        if (typed)
            why = words_.Said("Граница цвета 2 — число больше 0 и меньше 100: взято %1.",
                              "The border of colour 2 is a number above 0 and below 100: %1 was taken.");
    }
    for (std::size_t i = 0; i < 3; ++i) {
        if (edit == editGP_[i]) {
            double& pos = *std::array<double*, 3>{&im.LightX, &im.LightY, &im.LightZ}[i];
            // A place past the range of coordinates is refused: the light stays.
            if (typed && !WithinCoordLimit(*typed)) {
                edit->showNumber(pos);
                ShowTextTip(edit, QString::fromStdString(LimitNote(words_, LimitCase::Number)));
                return;
            }
            stored = pos = LightPosOfText(text);
        }
        if (edit == editGV_[i]) {
            FillSettings f = FillSettingsOf(im);
            StoreLightDirText(f, static_cast<int>(i), text);
            StoreFillSettings(im, f);
            stored = std::array<double, 3>{f.LightDX, f.LightDY, f.LightDZ}[i];
            if (typed)
                why = words_.Said("Направление света не бывает нулевым: взято %1.",
                                  "The light's direction cannot be zero: %1 was taken.");
        }
    }
    edit->showNumber(stored);
    if (typed != stored)
        ShowTextTip(edit, QString::fromUtf8(why).arg(edit->text()));
}

void FormImageBr::leaveFocusedEdit() {
    if (auto* e = qobject_cast<TNumEdit*>(focusWidget())) e->finishTyping();
}

void FormImageBr::done(int result) {
    // Closed with the focus in an edit (Esc, the window's close button).
    leaveFocusedEdit();
    QDialog::done(result);
}

}  // namespace pelmar
