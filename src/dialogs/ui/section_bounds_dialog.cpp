#include "dialogs/ui/section_bounds_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <cmath>

#include "dialogs/number_text.h"
#include "dialogs/section_edit.h"
#include "dialogs/ui/coord_parts.h"
#include "dialogs/ui/dialog_words.h"
#include "dialogs/ui/num_edit.h"

namespace pelmar {

namespace {
constexpr WordTarget WordsToSech2[] = {Cap("", "{531}")};
}  // namespace

TFormSech2::TFormSech2(DSection& sec, int plane, const WordTable& words, QWidget* parent, double scale)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      sec_(sec),
      plane_(ValidPlane(plane) ? plane : 1),
      scale_(std::isfinite(scale) ? std::fabs(scale) : 0),
      words_(words) {
    setObjectName("FormSech2");
    setModal(true);

    auto label = [this](const char* name, const QString& text) {
        auto* l = new QLabel(text, this);
        l->setObjectName(name);
        return l;
    };
    auto numEdit = [this](const char* name) {
        auto* e = new TNumEdit(this, true, true);
        e->setObjectName(name);
        e->setFixedWidth(72);
        return e;
    };
    Label11 = label("Label11", QStringLiteral("X=["));
    Label21 = label("Label21", QStringLiteral("Y=["));
    Edit11 = numEdit("Edit11");
    Edit12 = numEdit("Edit12");
    Edit21 = numEdit("Edit21");
    Edit22 = numEdit("Edit22");
    ButtonOk = new QPushButton(QStringLiteral("Ok"), this);
    ButtonOk->setObjectName("ButtonOk");
    HoldOkForTold(ButtonOk);
    // The window has no Cancel: its close keeps what was typed, as OK does.
    CloseKeepsAsOk(this);
    ButtonOk->setAutoDefault(false);

    auto* grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    grid->setHorizontalSpacing(3);
    grid->addWidget(Label11, 0, 0);
    grid->addWidget(Edit11, 0, 1);
    grid->addWidget(label("LabelSep1", ";"), 0, 2);
    grid->addWidget(Edit12, 0, 3);
    grid->addWidget(label("LabelEnd1", "]"), 0, 4);
    grid->addWidget(Label21, 1, 0);
    grid->addWidget(Edit21, 1, 1);
    grid->addWidget(label("LabelSep2", ";"), 1, 2);
    grid->addWidget(Edit22, 1, 3);
    grid->addWidget(label("LabelEnd2", "]"), 1, 4);
    grid->addWidget(ButtonOk, 2, 0, 1, 5, Qt::AlignHCenter);

    // Each coordinate's two bounds are a range: the low one stays below the
    // high one.
    for (int b = 0; b < 4; ++b)
        WatchRuledNumber(edit(b), words_,
                         {.get = [this, b] { return sec_.Bounds[static_cast<std::size_t>(b)].v; },
                          .set = [this, b](double v) { EditChange(b, v); },
                          .rule = [this, b](double v) {
                              const auto first = static_cast<std::size_t>(b / 2 * 2);
                              return TakeRangeNumber(words_,
                                                     {sec_.Bounds[first].v, sec_.Bounds[first + 1].v, 0, scale_},
                                                     b % 2 == 0 ? RangePart::Start : RangePart::End, v);
                          }});
    connect(ButtonOk, &QPushButton::clicked, this, &QDialog::accept);
}

TNumEdit* TFormSech2::edit(int bound) const {
    TNumEdit* const edits[] = {Edit11, Edit12, Edit21, Edit22};
    return edits[bound];
}

void TFormSech2::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (shown_) return;
    shown_ = true;
    ApplyWords(*this, WordsToSech2, words_);
    const auto upper = [](char c) { return QString(QChar(c).toUpper()) + "=["; };
    Label11->setText(upper(FreeLetter(plane_, 1)));
    Label21->setText(upper(FreeLetter(plane_, 2)));
    filling_ = true;
    for (int b = 0; b < 4; ++b) edit(b)->setText(QString::fromStdString(NumberText(sec_.Bounds[static_cast<std::size_t>(b)].v)));
    filling_ = false;
}

void TFormSech2::EditChange(int bound, double v) {
    if (filling_) return;
    sec_.Bounds[static_cast<std::size_t>(bound)].v = v;
}

TFormSech2::~TFormSech2() { FinishTyping(this); }

void TFormSech2::done(int result) {
    FinishTyping(this);
    QDialog::done(result);
}

}  // namespace pelmar
