#include "dialogs/ui/font_combo.h"

#include <QFontDatabase>

#include "platform/code_page.h"

namespace pelmar {

namespace {

// A document keeps a font's name in code page 1251: a family named in other
// letters would come back from the file, a copy or the undo history as
// question marks, so such fonts are not offered.
bool DocumentHoldsName(const QString& name) {
    for (const char32_t c : name.toStdU32String())
        if (c < 0x20 || c == 0x7F || Cp1251Byte(c) < 0) return false;
    return true;
}

}  // namespace

TFontCombo::TFontCombo(QWidget* parent, const QStringList& families) : QComboBox(parent) {
    QStringList names;
    for (const QString& name : families.isEmpty() ? QFontDatabase::families() : families)
        if (DocumentHoldsName(name)) names << name;
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
