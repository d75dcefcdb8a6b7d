#include "files/ui/bit_colors_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "drawing/word_lines.h"
#include "files/ui/modal_ok.h"
#include "files/ui/spin_edit.h"
#include "files/word_table.h"

namespace pelmar {

namespace {
constexpr int BitsOfItem[4] = {1, 4, 8, 24};
}

TFormBitColors::TFormBitColors(QWidget* parent) : QDialog(parent) {
    setObjectName("FormBitColors");
    setWindowTitle(QString::fromUtf8(BuiltInWord(WordNo::RasterCaption)));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);

    RadioGroup1 = new QGroupBox(QString::fromUtf8(BuiltInWord(WordNo::ColourCount)), this);
    RadioGroup1->setObjectName("RadioGroup1");
    auto* radios = new QVBoxLayout(RadioGroup1);
    const char* items[4] = {"2", "16", "256", "16M"};
    for (int i = 0; i < 4; ++i) {
        RadioItems[static_cast<std::size_t>(i)] = new QRadioButton(QString::fromUtf8(items[i]), RadioGroup1);
        radios->addWidget(RadioItems[static_cast<std::size_t>(i)]);
    }

    GroupBox1 = new QGroupBox(QString::fromUtf8(BuiltInWord(WordNo::RasterMisc)), this);
    GroupBox1->setObjectName("GroupBox1");
    CheckBox1 = new QCheckBox(QString::fromUtf8(BuiltInWord(WordNo::TransparentBack)), GroupBox1);
    CheckBox1->setObjectName("CheckBox1");
    Label1 = new QLabel(QString::fromUtf8("Сжатие:"), GroupBox1);
    Label1->setObjectName("Label1");
    // A quality typed is whole and within 1..100 when the edit is left.
    SpinEdit1 = new TSpinEdit(GroupBox1);
    SpinEdit1->setObjectName("SpinEdit1");
    SpinEdit1->setMinMax(1, 100);
    SpinEdit1->setValue(100);
    Label1->setBuddy(SpinEdit1);
    auto* misc = new QVBoxLayout(GroupBox1);
    misc->addWidget(CheckBox1);
    auto* quality = new QHBoxLayout;
    quality->addWidget(Label1);
    quality->addWidget(SpinEdit1);
    misc->addLayout(quality);

    Button1 = new QPushButton(QString::fromUtf8("Ok"), this);
    Button1->setObjectName("Button1");
    Button1->setDefault(true);
    Button2 = new QPushButton(QString::fromUtf8(BuiltInWord(WordNo::Cancel)), this);
    Button2->setObjectName("Button2");
    HoldOkForTold(Button1);
    connect(Button1, &QPushButton::clicked, this, &TFormBitColors::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFormBitColors::Button2Click);

    auto* groups = new QHBoxLayout;
    groups->addWidget(RadioGroup1);
    groups->addWidget(GroupBox1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* all = new QVBoxLayout(this);
    all->addLayout(groups);
    all->addLayout(buttons);
    all->setSizeConstraint(QLayout::SetFixedSize);  // a fixed single border

    FormCreate();
}

void TFormBitColors::FormCreate() { RadioItems[2]->setChecked(true); }

void TFormBitColors::FormShow() {
    if (onWords) onWords(*this);
}

void TFormBitColors::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TFormBitColors::Button1Click() {
    SpinEdit1->finishTyping();  // a quality still being typed counts as entered
    if (state_) {
        for (int i = 0; i < 4; ++i)
            if (RadioItems[static_cast<std::size_t>(i)]->isChecked()) state_->ExportBitsPerPixel = BitsOfItem[i];
        state_->ExportDialogOK = true;
    }
    accept();
}

void TFormBitColors::Button2Click() { reject(); }

void TFormBitColors::setUp(const BitColorsSetup& setup) {
    for (int i = 0; i < 4; ++i) RadioItems[static_cast<std::size_t>(i)]->setEnabled(setup.itemEnabled[static_cast<std::size_t>(i)]);
    RadioItems[2]->setText(QString::fromStdString(setup.thirdCaption));
    if (setup.selected >= 0 && setup.selected < 4) RadioItems[static_cast<std::size_t>(setup.selected)]->setChecked(true);
    CheckBox1->setChecked(setup.checked);
    CheckBox1->setEnabled(setup.checkEnabled);
    if (setup.spinText.empty()) {
        SpinEdit1->clear();
    } else {
        SpinEdit1->showValue(QString::fromStdString(setup.spinText).toInt());
    }
    SpinEdit1->setEnabled(setup.spinEnabled);
    Label1->setEnabled(setup.labelEnabled);
}

BitColorsResult TFormBitColors::result() const {
    BitColorsResult r;
    r.transparent = CheckBox1->isChecked();
    r.quality = SpinEdit1->value();
    return r;
}

BitColorsResult TFormBitColors::run(const BitColorsSetup& setup, ExportState& state) {
    setUp(setup);
    state_ = &state;
    exec();
    state_ = nullptr;
    return result();
}

void WordsToBitColors(TFormBitColors& form, const WordTable& words) {
    auto text = [&](WordNo line) { return QString::fromStdString(words.WordLine(static_cast<int>(line))); };
    // A caption shows "&" as written; on a button, a check box, a group box
    // or a label with a buddy a single one would mark a shortcut instead.
    auto caption = [&](WordNo line) { return text(line).replace(QLatin1Char('&'), QStringLiteral("&&")); };
    form.setWindowTitle(text(WordNo::RasterCaption));
    form.RadioGroup1->setTitle(caption(WordNo::ColourCount));
    form.GroupBox1->setTitle(caption(WordNo::RasterMisc));
    form.CheckBox1->setText(caption(WordNo::TransparentBack));
    form.Label1->setText(caption(WordNo::Compression));
    form.Button2->setText(caption(WordNo::Cancel));
    form.SpinEdit1->setWords([&words]() -> const WordTable& { return words; });
}

}  // namespace pelmar
