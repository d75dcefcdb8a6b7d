// A number typed into a window's field as a user types it: the text
// selected, one key at a time ('\b' is Backspace) with the text checked after
// each, then Tab; then what the window keeps, what the field shows and
// whether a tip says why they are not what was typed.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "files/ui/text_tip.h"

namespace pelmar::test {

// The line edit of a numeric edit or of a spin box.
inline QLineEdit* LineOf(QWidget* field) {
    return qobject_cast<QAbstractSpinBox*>(field) ? field->findChild<QLineEdit*>() : qobject_cast<QLineEdit*>(field);
}

// The texts shown after each key when every key is taken.
inline QStringList Prefixes(const QString& keys) {
    QStringList out;
    for (qsizetype i = 1; i <= keys.size(); ++i) out << keys.left(i);
    return out;
}

struct KeyRow {
    const char* field;
    QString keys;
    QStringList shown;  // after each key
    double want;        // kept once the field is left
    QString left;       // shown then
    bool tip;
    std::function<double()> stored;
    std::vector<double> keptEach = {};  // when given: what is kept after each key
    const char* name = "";
};

inline void PlayKeys(QWidget& window, const KeyRow& row) {
    SCOPED_TRACE(QString("%1: %2 typed %3").arg(row.name, row.field, row.keys).toStdString());
    auto* field = window.findChild<QWidget*>(row.field);
    QLineEdit* line = field ? LineOf(field) : nullptr;
    ASSERT_TRUE(line) << row.field;
    ASSERT_TRUE(field->isEnabled()) << row.field;
    field->setFocus();
    line->selectAll();
    for (qsizetype i = 0; i < row.keys.size(); ++i) {
        if (row.keys[i] == u'\b') QTest::keyClick(field, Qt::Key_Backspace);
        else QTest::keyClicks(field, QString(row.keys[i]));
        EXPECT_EQ(line->text(), row.shown.value(i)) << "after key " << i + 1;
        if (i < std::ssize(row.keptEach)) {
            EXPECT_NEAR(row.stored(), row.keptEach[static_cast<std::size_t>(i)], 1e-6) << "after key " << i + 1;
        }
    }
    QTest::keyClick(field, Qt::Key_Tab);
    EXPECT_FALSE(field->hasFocus());
    EXPECT_NEAR(row.stored(), row.want, 1e-9 * std::max(1.0, std::abs(row.want)));
    EXPECT_EQ(line->text(), row.left);
    EXPECT_EQ(!ShownTextTip().isEmpty(), row.tip) << ShownTextTip().toStdString();
}

// The same for a row that reads what is kept from a record.
template <class R>
struct RecordKeyRow {
    const char* name;
    const char* field;
    QString keys;
    QStringList shown;
    std::function<double(const R&)> stored;
    double want;
    QString left;
    bool tip;
};

template <class R>
void PlayKeys(QWidget& window, const RecordKeyRow<R>& row, const R& record) {
    PlayKeys(window, {row.field, row.keys, row.shown, row.want, row.left, row.tip,
                      [&] { return row.stored(record); }, {}, row.name});
}

}  // namespace pelmar::test
