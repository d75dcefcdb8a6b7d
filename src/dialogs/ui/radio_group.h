// A radio group: a framed group of radio buttons, one chosen at a time, read
// and set by item index; items can be renamed, enabled and disabled one by
// one and laid out in columns.
#pragma once

#include <QGroupBox>
#include <QList>
#include <QStringList>

class QButtonGroup;
class QGridLayout;
class QRadioButton;

namespace pelmar {

class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit TRadioGroup(const QString& title = {}, QWidget* parent = nullptr);

    void setItems(const QStringList& items);
    void addItem(const QString& text);
    void clearItems();
    int count() const { return static_cast<int>(buttons_.size()); }

    // Items fill the columns row by row.
    void setColumns(int columns);
    int columns() const { return columns_; }

    // The chosen item, -1 for none.  Setting -1 or an index outside the list
    // clears the choice.
    int itemIndex() const;
    void setItemIndex(int index);

    QString itemText(int index) const;
    void setItemText(int index, const QString& text);
    bool isItemEnabled(int index) const;
    void setItemEnabled(int index, bool enabled);

    QRadioButton* button(int index) const;

signals:
    // The user chose an item (a click or the arrow keys).
    void itemClicked(int index);

private:
    void relayout();

    QButtonGroup* group_;
    QGridLayout* grid_;
    QList<QRadioButton*> buttons_;
    int columns_ = 1;
};

}  // namespace pelmar
