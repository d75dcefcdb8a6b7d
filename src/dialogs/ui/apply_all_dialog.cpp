#include "dialogs/ui/apply_all_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace pelmar {

TFormAllOpt::TFormAllOpt(const QString& objectName, const QString& caption, const QStringList& categories,
                         QWidget* parent)
    : QDialog(parent) {
    setObjectName(objectName);
    setWindowTitle(caption);
    auto* top = new QVBoxLayout(this);
    auto* group = new QGroupBox(QString::fromUtf8("Категории"), this);
    auto* gl = new QVBoxLayout(group);
    for (int i = 0; i < categories.size(); ++i) {
        auto* box = new QCheckBox(categories[i], group);
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
    auto* cancel = new QPushButton(QString::fromUtf8("Отмена"), this);
    cancel->setObjectName("Button2");
    row->addWidget(ok_);
    row->addWidget(cancel);
    top->addLayout(row);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TFormAllOpt::category(int i) const { return boxes_.at(static_cast<std::size_t>(i))->isChecked(); }

void TFormAllOpt::UpdateOkButton() {
    bool any = false;
    for (auto* b : boxes_) any = any || b->isChecked();
    ok_->setEnabled(any);
}

namespace {
QString Q(const char* s) { return QString::fromUtf8(s); }
}  // namespace

TFormAllOpt* NewFormPoOpt(QWidget* parent) {
    return new TFormAllOpt("FormPoOpt", Q("Все точки"),
                           {Q("Тип точки"), Q("Шрифт имени"), Q("Шрифт индексов"), Q("Радиус")}, parent);
}

TFormAllOpt* NewFormLiOpt(QWidget* parent) {
    return new TFormAllOpt("FormLiOpt", Q("Все отрезки"),
                           {Q("Толщина"), Q("Длины пунтира и пробела"), Q("Стрелки")}, parent);
}

TFormAllOpt* NewFormCiOpt(QWidget* parent) {
    return new TFormAllOpt("FormCiOpt", Q("Все эллипсы"), {Q("Толщина"), Q("Вид")}, parent);
}

}  // namespace pelmar
