#include "dialogs/ui/fill_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/brush_kind.h"
#include "dialogs/ui/color_bar.h"
#include "dialogs/ui/color_combo.h"
#include "files/word_table.h"

namespace pelmar {

TFormBrush::TFormBrush(DFill* fill, bool twoColours, DialogCommit& commit, ColorChooser& colors,
                       MessageSink& messages, const WordTable& words, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      fill_(fill),
      twoColours_(twoColours),
      session_(commit),
      colors_(colors),
      messages_(messages),
      words_(words) {
    setObjectName("FormBrush");
    setModal(true);

    CheckBox1 = new QCheckBox(this);
    CheckBox1->setObjectName("CheckBox1");
    Panel1 = new TColorBar(this);
    Panel1->setObjectName("Panel1");
    Panel2 = new TColorBar(this);
    Panel2->setObjectName("Panel2");
    Panel3 = new TColorBar(this);
    Panel3->setObjectName("Panel3");
    Button1 = new QPushButton(QStringLiteral("Ok"), this);
    Button1->setObjectName("Button1");
    Button1->setDefault(true);

    auto* all = new QVBoxLayout(this);
    all->addWidget(CheckBox1);
    all->addWidget(Panel1);
    all->addWidget(Panel2);
    all->addWidget(Panel3);
    all->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addStretch();
    all->addLayout(buttons);
    setFixedSize(200, 160);

    connect(CheckBox1, &QCheckBox::clicked, this, &TFormBrush::CheckBox1Click);
    connect(Panel1, &TColorBar::clicked, this, [this] { PanelClick(1); });
    connect(Panel2, &TColorBar::clicked, this, [this] { PanelClick(2); });
    connect(Panel3, &TColorBar::clicked, this, [this] { PanelClick(3); });
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}

TColorBar* TFormBrush::panel(int n) const { return n == 1 ? Panel1 : n == 2 ? Panel2 : Panel3; }

void TFormBrush::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TFormBrush::FormShow() {
    WordsToBrush(*this, words_);
    CheckBox1->setChecked(fill_ && fill_->On);
    for (int n = 1; n <= 3; ++n)
        panel(n)->setColor(fill_ ? ToQColor(fill_->Colors[static_cast<std::size_t>(n - 1)]) : QColor(Qt::white));
}

void TFormBrush::CheckBox1Click() {
    if (!fill_) return;
    fill_->On = CheckBox1->isChecked();
    session_.changed();
}

void TFormBrush::PanelClick(int n) {
    if (!fill_ || n < 1 || n > 3) return;
    if (n == 3 && twoColours_) {
        messages_.showMessage(words_.WordLine(WordNo::ChangeProjectOption));
        return;
    }
    TColor& colour = fill_->Colors[static_cast<std::size_t>(n - 1)];
    const auto chosen = colors_.chooseColor(colour);
    // Cancel, or the colour it had: nothing to commit.
    if (!chosen || *chosen == colour) return;
    colour = *chosen;
    panel(n)->setColor(ToQColor(colour));
    session_.changed();
}

void TFormBrush::done(int result) {
    session_.end();
    QDialog::done(result);
}

void WordsToBrush(TFormBrush& form, const WordTable& words) {
    const QString fill = QString::fromStdString(words.WordLine(WordNo::Fill));
    form.setWindowTitle(fill);
    form.CheckBox1->setText(QString(fill).replace('&', QStringLiteral("&&")));  // shown as written
}

void RunFillDialog(std::uint8_t brushKind, WorkingCopies& work, bool twoColours, DialogCommit& commit,
                   ColorChooser& colors, MessageSink& messages, const WordTable& words, QWidget* parent) {
    {
        TFormBrush form(BrushFill(work, brushKind), twoColours, commit, colors, messages, words, parent);
        form.exec();
    }
    commit.RepaintProject();
}

}  // namespace pelmar
