#include "dialogs/ui/section_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "dialogs/number_text.h"
#include "dialogs/section_edit.h"
#include "dialogs/ui/coord_parts.h"
#include "dialogs/ui/dialog_words.h"
#include "dialogs/ui/num_edit.h"
#include "dialogs/ui/section_bounds_dialog.h"
#include "files/ui/text_tip.h"
#include "files/word_table.h"
#include "model/coord_limit.h"

namespace pelmar {

namespace {
constexpr WordTarget WordsToSech1[] = {Cap("", "{412}")};
}  // namespace

TFormSech1::TFormSech1(DXZ& xz, int surface, std::uint8_t& plane, const WordTable& words, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      xz_(xz),
      surface_(ValidSurface(surface) ? surface : 1),
      remembered_(plane),
      plane_(ValidPlane(plane) ? plane : 1),
      words_(words) {
    setObjectName("FormSech1");
    setModal(true);

    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->addItems({"x=const", "y=const", "z=const"});
    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    ButtonOk = new QPushButton(QStringLiteral("Ok"), this);
    ButtonOk->setObjectName("ButtonOk");
    ButtonOk->setAutoDefault(false);
    HoldOkForTold(ButtonOk);
    // The window has no Cancel: its close keeps what was typed, as OK does.
    CloseKeepsAsOk(this);

    auto* grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    grid->addWidget(ComboBox1, 0, 0, 1, 2);
    grid->addWidget(Label1, 1, 0);
    for (int k = 1; k <= SectionsPerPlane; ++k) {
        const auto i = static_cast<std::size_t>(k - 1);
        Edit[i] = new TNumEdit(this, true, true);
        Edit[i]->setObjectName(QString("Edit%1").arg(k));
        Edit[i]->setFixedWidth(72);
        Button[i] = new QPushButton(this);
        Button[i]->setObjectName(QString("Button%1").arg(k));
        Button[i]->setAutoDefault(false);
        // Room for bounds of three digits and a sign without the dialog growing.
        Button[i]->setMinimumWidth(Button[i]->fontMetrics().horizontalAdvance("x=[-000;000]; y=[-000;000]") + 16);
        grid->addWidget(Edit[i], k + 1, 0);
        grid->addWidget(Button[i], k + 1, 1);
        // An emptied position turns the section off, and stays empty.
        Edit[i]->setEmptyKept(true);
        Edit[i]->setWords([this]() -> const WordTable& { return words_; });
        connect(Edit[i], &TNumEdit::textChangedFiltered, this, [this, k] { EditChange(k); });
        connect(Edit[i], &TNumEdit::numberEntered, this, [this, k] { EditEntered(k); });
        connect(Button[i], &QPushButton::clicked, this, [this, k] { ButtonClick(k); });
    }
    grid->addWidget(ButtonOk, SectionsPerPlane + 2, 0, 1, 2, Qt::AlignHCenter);

    connect(ComboBox1, &QComboBox::activated, this, &TFormSech1::ComboBox1Change);
    connect(ButtonOk, &QPushButton::clicked, this, &QDialog::accept);
}

void TFormSech1::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (shown_) return;
    shown_ = true;
    ApplyWords(*this, WordsToSech1, words_);
    ComboBox1->setCurrentIndex(plane_ - 1);
    RefreshSections();
}

void TFormSech1::RefreshSections() {
    static const char* const Labels[] = {"X=", "Y=", "Z="};
    Label1->setText(Labels[plane_ - 1]);
    filling_ = true;
    for (int k = 1; k <= SectionsPerPlane; ++k) {
        const auto i = static_cast<std::size_t>(k - 1);
        const DSection& sec = SectionOf(xz_, surface_, plane_, k);
        Edit[i]->setText(QString::fromStdString(SectionPositionText(sec)));
        Button[i]->setText(QString::fromStdString(BoundsCaption(sec, plane_)));
    }
    filling_ = false;
    MarkShownSections(xz_, surface_, plane_);
}

void TFormSech1::ComboBox1Change(int index) {
    if (index < 0 || index > 2) return;
    plane_ = index + 1;
    remembered_ = static_cast<std::uint8_t>(plane_);
    RefreshSections();
}

void TFormSech1::EditChange(int k) {
    if (filling_) return;
    TNumEdit* e = Edit[static_cast<std::size_t>(k - 1)];
    // A number past the bound is never stored, not even while it is typed.
    if (const std::optional<double> v = e->typedNumber(); v && !WithinCoordLimit(*v)) return;
    // The section as it was before the first key of this typing.
    if (typedFrom_ != k) {
        typedFrom_ = k;
        before_ = SectionOf(xz_, surface_, plane_, k);
    }
    SetSectionPosition(xz_, surface_, plane_, k, e->text().toStdString());
}

void TFormSech1::EditEntered(int k) {
    TNumEdit* e = Edit[static_cast<std::size_t>(k - 1)];
    const std::optional<double> typed = e->typedNumber();
    const bool past = typed && !WithinCoordLimit(*typed);
    const bool typedHere = typedFrom_ == k;
    typedFrom_ = 0;
    // A number past the bound takes back the keys of it stored on the way:
    // the section is on or off, and where, as before the typing.
    if (past && typedHere) {
        SetSectionPosition(xz_, surface_, plane_, k, SectionPositionText(before_));  // marks what it changes
        SectionOf(xz_, surface_, plane_, k) = before_;
    }
    // A lone minus is the minus of 0; a text that is a number was stored as
    // it was typed (one past the bound was not).
    const bool minus = e->text() == "-";
    if (minus) SetSectionPosition(xz_, surface_, plane_, k, "0");
    filling_ = true;
    e->setText(QString::fromStdString(SectionPositionText(SectionOf(xz_, surface_, plane_, k))));
    filling_ = false;
    if (past) ShowTextTip(e, QString::fromStdString(LimitNote(words_, LimitCase::Number)));
    else if (minus) ShowTextTip(e, QString::fromStdString(EmptyNote(words_, 0)));
}

void TFormSech1::ButtonClick(int k) {
    {
        TFormSech2 bounds(SectionOf(xz_, surface_, plane_, k), plane_, words_, this, xz_.Scale.v);
        bounds.exec();
    }
    RefreshSections();
}

TFormSech1::~TFormSech1() { FinishTyping(this); }

void TFormSech1::done(int result) {
    FinishTyping(this);
    QDialog::done(result);
}

}  // namespace pelmar
