#include "dialogs/ui/font_combo.h"

#include <QFontDatabase>

namespace pelmar {

TFontCombo::TFontCombo(QWidget* parent, const QStringList& families) : QComboBox(parent) {
    QStringList names = families.isEmpty() ? QFontDatabase::families() : families;
    names.removeDuplicates();
    names.sort(Qt::CaseInsensitive);
    addItems(names);
    setMaxVisibleItems(16);
}

void TFontCombo::setFontName(const QString& name) {
    if (name.isEmpty()) {
        setCurrentIndex(-1);
        return;
    }
    int item = findText(name, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (item < 0) {
        // In alphabetical place, so the list stays easy to read.
        item = 0;
        while (item < count() && QString::compare(itemText(item), name, Qt::CaseInsensitive) < 0) ++item;
        insertItem(item, name);
    }
    if (currentIndex() != item) setCurrentIndex(item);
}

QString TFontCombo::fontName() const { return currentIndex() < 0 ? QString() : currentText(); }

}  // namespace pelmar
