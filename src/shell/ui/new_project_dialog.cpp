#include "shell/ui/new_project_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "files/ui/modal_ok.h"
#include "files/ui/spin_edit.h"
#include "files/word_table.h"

namespace pelmar {

namespace {

// Control-name suffix and word-table line of each kind's check box.
struct KindRow {
    const char* suffix;
    int word;
};
constexpr std::array<KindRow, KindCount> Rows{{{"Po", 189},
                                               {"Li", 190},
                                               {"Ci", 191},
                                               {"Tr", 192},
                                               {"Kv", 193},
                                               {"XY", 194},
                                               {"Sf", 196},
                                               {"Zi", 197},
                                               {"Ko", 198},
                                               {"Pi3", 199},
                                               {"Pi4", 200},
                                               {"Pr3", 201},
                                               {"Pr4", 202},
                                               {"XZ", 203}}};
constexpr int WordCaption = 187, WordPlane = 188, WordSolids = 195, WordCancel = 204;
constexpr int FirstSolid = 6;  // index of the sphere

QString Escaped(const std::string& text) { return QString::fromStdString(text).replace("&", "&&"); }

}  // namespace

FormNew::FormNew(const WordTable& words, QWidget* parent) : QDialog(parent), words_(words) {
    setObjectName("FormNew");
    plane_ = new QGroupBox(this);
    plane_->setObjectName("GroupBox1");
    solids_ = new QGroupBox(this);
    solids_->setObjectName("GroupBox2");
    auto* planeGrid = new QGridLayout(plane_);
    auto* solidGrid = new QGridLayout(solids_);
    for (std::size_t i = 0; i < KindCount; ++i) {
        const bool solid = i >= FirstSolid;
        QGroupBox* box = solid ? solids_ : plane_;
        check_[i] = new QCheckBox(box);
        check_[i]->setObjectName(QString("CheckBox") + Rows[i].suffix);
        // A count typed is kept within 1 and the kind's capacity when the
        // edit is left, with a tip; an emptied edit is 1.
        spin_[i] = new TSpinEdit(box);
        spin_[i]->setObjectName(QString("SpinEdit") + Rows[i].suffix);
        spin_[i]->setMinMax(1, InfoOf(static_cast<Kind>(i + 1)).capacity);
        spin_[i]->setValue(1);
        spin_[i]->setWords([this]() -> const WordTable& { return words_; });
        QGridLayout* grid = solid ? solidGrid : planeGrid;
        const int row = static_cast<int>(solid ? i - FirstSolid : i);
        grid->addWidget(check_[i], row, 0);
        grid->addWidget(spin_[i], row, 1);
        connect(check_[i], &QCheckBox::toggled, this, &FormNew::kindToggled);
    }
    planeGrid->setRowStretch(static_cast<int>(FirstSolid), 1);

    ok_ = new QPushButton("Ok", this);
    ok_->setObjectName("Button1");
    ok_->setDefault(true);
    HoldOkForTold(ok_);
    cancel_ = new QPushButton(this);
    cancel_->setObjectName("Button2");
    connect(ok_, &QPushButton::clicked, this, &FormNew::accept);
    connect(cancel_, &QPushButton::clicked, this, &FormNew::reject);

    auto* groups = new QHBoxLayout;
    groups->addWidget(plane_);
    groups->addWidget(solids_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* main = new QVBoxLayout(this);
    main->addLayout(groups);
    main->addLayout(buttons);
    main->setSizeConstraint(QLayout::SetFixedSize);
    applyWords();
}

void FormNew::applyWords() {
    setWindowTitle(QString::fromStdString(words_.WordLine(WordCaption)));
    plane_->setTitle(Escaped(words_.WordLine(WordPlane)));
    solids_->setTitle(Escaped(words_.WordLine(WordSolids)));
    for (std::size_t i = 0; i < KindCount; ++i) check_[i]->setText(Escaped(words_.WordLine(Rows[i].word)));
    cancel_->setText(Escaped(words_.WordLine(WordCancel)));
}

void FormNew::showEvent(QShowEvent* event) {
    newProjOK_ = false;
    applyWords();
    for (std::size_t i = 0; i < KindCount; ++i) {
        check_[i]->setChecked(false);
        spin_[i]->setEnabled(false);
        // The capacities hold at every show; the values typed last time stay.
        spin_[i]->setMinMax(1, InfoOf(static_cast<Kind>(i + 1)).capacity);
    }
    ok_->setEnabled(false);
    QDialog::showEvent(event);
}

void FormNew::kindToggled() {
    bool any = false;
    for (std::size_t i = 0; i < KindCount; ++i) {
        spin_[i]->setEnabled(check_[i]->isChecked());
        any = any || check_[i]->isChecked();
    }
    ok_->setEnabled(any);
}

void FormNew::accept() {
    for (std::size_t i = 0; i < KindCount; ++i) {
        spin_[i]->finishTyping();
        counts_[i] = check_[i]->isChecked() ? static_cast<std::uint8_t>(spin_[i]->value()) : 0;
    }
    newProjOK_ = true;
    QDialog::accept();
}

}  // namespace pelmar
