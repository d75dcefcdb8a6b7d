#include "dialogs/ui/radio_group.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>
#include <algorithm>

namespace pelmar {

TRadioGroup::TRadioGroup(const QString& title, QWidget* parent)
    : QGroupBox(title, parent), group_(new QButtonGroup(this)), grid_(new QGridLayout(this)) {
    grid_->setContentsMargins(6, 2, 6, 2);
    grid_->setVerticalSpacing(0);
    connect(group_, &QButtonGroup::idClicked, this, &TRadioGroup::itemClicked);
}

void TRadioGroup::setItems(const QStringList& items) {
    clearItems();
    for (const QString& t : items) addItem(t);
}

void TRadioGroup::addItem(const QString& text) {
    auto* b = new QRadioButton(text, this);
    group_->addButton(b, count());
    buttons_.append(b);
    relayout();
}

void TRadioGroup::clearItems() {
    for (QRadioButton* b : buttons_) {
        group_->removeButton(b);
        delete b;
    }
    buttons_.clear();
}

void TRadioGroup::setColumns(int columns) {
    columns_ = std::max(1, columns);
    relayout();
}

void TRadioGroup::relayout() {
    for (QRadioButton* b : buttons_) grid_->removeWidget(b);
    for (int i = 0; i < count(); ++i) grid_->addWidget(buttons_[i], i / columns_, i % columns_);
}

int TRadioGroup::itemIndex() const { return group_->checkedId(); }

void TRadioGroup::setItemIndex(int index) {
    if (index >= 0 && index < count()) {
        buttons_[index]->setChecked(true);
        return;
    }
    if (QAbstractButton* b = group_->checkedButton()) {
        group_->setExclusive(false);
        b->setChecked(false);
        group_->setExclusive(true);
    }
}

QString TRadioGroup::itemText(int index) const {
    return index >= 0 && index < count() ? buttons_[index]->text() : QString();
}

void TRadioGroup::setItemText(int index, const QString& text) {
    if (index >= 0 && index < count()) buttons_[index]->setText(text);
}

bool TRadioGroup::isItemEnabled(int index) const {
    return index >= 0 && index < count() && buttons_[index]->isEnabledTo(this);
}

void TRadioGroup::setItemEnabled(int index, bool enabled) {
    if (index >= 0 && index < count()) buttons_[index]->setEnabled(enabled);
}

QRadioButton* TRadioGroup::button(int index) const {
    return index >= 0 && index < count() ? buttons_[index] : nullptr;
}

}  // namespace pelmar
