#include "dialogs/ui/apply_all_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace pelmar {

TFormAllOpt::TFormAllOpt(const QString& objectName, int categories, std::span<const WordTarget> words,
                         const WordTable& table, QWidget* parent)
    : QDialog(parent) {
    setObjectName(objectName);
    auto* top = new QVBoxLayout(this);
    auto* group = new QGroupBox(this);
    group->setObjectName("GroupBox1");
    auto* gl = new QVBoxLayout(group);
    for (int i = 0; i < categories; ++i) {
        auto* box = new QCheckBox(group);
        box->setObjectName(QString("CheckBox%1").arg(i + 1));
        box->setChecked(true);
        connect(box, &QCheckBox::clicked, this, [this] { UpdateOkButton(); });
        gl->addWidget(box);
        boxes_.push_back(box);
    }
    top->addWidget(group);
    auto* row = new QHBoxLayout;
    ok_ = new QPushButton("Ok", this);
    ok_->setObjectName("Button1");
    ok_->setDefault(true);
    auto* cancel = new QPushButton(this);
    cancel->setObjectName("Button2");
    row->addWidget(ok_);
    row->addWidget(cancel);
    top->addLayout(row);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    ApplyWords(*this, words, table);
}

bool TFormAllOpt::category(int i) const { return boxes_.at(static_cast<std::size_t>(i))->isChecked(); }

void TFormAllOpt::UpdateOkButton() {
    bool any = false;
    for (auto* b : boxes_) any = any || b->isChecked();
    ok_->setEnabled(any);
}

namespace {

constexpr WordTarget WordsToPoOpt[] = {
    Cap("", "{608}"),          Cap("GroupBox1", "{611}"), Cap("CheckBox1", "{613}"), Cap("CheckBox2", "{614}"),
    Cap("CheckBox3", "{615}"), Cap("CheckBox4", "{616}"), Cap("Button2", "{612}"),
};
constexpr WordTarget WordsToLiOpt[] = {
    Cap("", "{609}"),          Cap("GroupBox1", "{611}"), Cap("CheckBox1", "{617}"), Cap("CheckBox2", "{618}"),
    Cap("CheckBox3", "{619}"), Cap("Button2", "{612}"),
};
constexpr WordTarget WordsToCiOpt[] = {
    Cap("", "{610}"), Cap("GroupBox1", "{611}"), Cap("CheckBox1", "{617}"), Cap("CheckBox2", "{618}"),
    Cap("Button2", "{612}"),
};

}  // namespace

TFormAllOpt* NewFormPoOpt(const WordTable& words, QWidget* parent) {
    return new TFormAllOpt("FormPoOpt", 4, WordsToPoOpt, words, parent);
}

TFormAllOpt* NewFormLiOpt(const WordTable& words, QWidget* parent) {
    return new TFormAllOpt("FormLiOpt", 3, WordsToLiOpt, words, parent);
}

TFormAllOpt* NewFormCiOpt(const WordTable& words, QWidget* parent) {
    return new TFormAllOpt("FormCiOpt", 2, WordsToCiOpt, words, parent);
}

}  // namespace pelmar
