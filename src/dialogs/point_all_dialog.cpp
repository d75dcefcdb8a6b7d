#include "dialogs/point_all_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace pelmar {

TFormPoOpt::TFormPoOpt(QWidget* parent) : QDialog(parent) {
    setObjectName("FormPoOpt");
    setWindowTitle(QString::fromUtf8("Все точки"));
    auto* top = new QVBoxLayout(this);
    auto* group = new QGroupBox(QString::fromUtf8("Категории"), this);
    auto* gl = new QVBoxLayout(group);
    const char* texts[4] = {"Тип точки", "Шрифт имени", "Шрифт индексов", "Радиус"};
    for (int i = 0; i < 4; ++i) {
        boxes_[i] = new QCheckBox(QString::fromUtf8(texts[i]), group);
        boxes_[i]->setObjectName(QString("CheckBox%1").arg(i + 1));
        boxes_[i]->setChecked(true);
        connect(boxes_[i], &QCheckBox::clicked, this, [this] { UpdateOkButton(); });
        gl->addWidget(boxes_[i]);
    }
    top->addWidget(group);
    auto* row = new QHBoxLayout;
    ok_ = new QPushButton("Ok", this);
    ok_->setObjectName("Button1");
    ok_->setDefault(true);
    auto* cancel = new QPushButton(QString::fromUtf8("Отмена"), this);
    cancel->setObjectName("Button2");
    row->addWidget(ok_);
    row->addWidget(cancel);
    top->addLayout(row);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TFormPoOpt::category(int i) const { return boxes_.at(static_cast<std::size_t>(i))->isChecked(); }

void TFormPoOpt::UpdateOkButton() {
    bool any = false;
    for (auto* b : boxes_) any = any || b->isChecked();
    ok_->setEnabled(any);
}

}  // namespace pelmar
