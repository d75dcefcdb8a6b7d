// A number typed into a window's field as a user types it: the text
// selected, one key at a time ('\b' is Backspace) with the text checked after
// each, then Tab; then what the window keeps, what the field shows and
// whether a tip says why they are not what was typed.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QTest>
#include <functional>

#include "files/ui/text_tip.h"

namespace pelmar::test {

struct KeyRow {
    const char* field;
    QString keys;
    QStringList shown;  // after each key
    double want;        // kept once the field is left
    QString left;       // shown then
    bool tip;
    std::function<double()> stored;
};

inline void PlayKeys(QWidget& window, const KeyRow& row) {
    SCOPED_TRACE(QString("%1 typed %2").arg(row.field, row.keys).toStdString());
    auto* field = window.findChild<QWidget*>(row.field);
    auto* line = qobject_cast<QAbstractSpinBox*>(field) ? field->findChild<QLineEdit*>()
                                                        : qobject_cast<QLineEdit*>(field);
    ASSERT_TRUE(line);
    field->setFocus();
    line->selectAll();
    for (qsizetype i = 0; i < row.keys.size(); ++i) {
        if (row.keys[i] == u'\b') QTest::keyClick(field, Qt::Key_Backspace);
        else QTest::keyClicks(field, QString(row.keys[i]));
        EXPECT_EQ(line->text(), row.shown.value(i)) << "after key " << i + 1;
    }
    QTest::keyClick(field, Qt::Key_Tab);
    EXPECT_DOUBLE_EQ(row.stored(), row.want);
    EXPECT_EQ(line->text(), row.left);
    EXPECT_EQ(!ShownTextTip().isEmpty(), row.tip) << ShownTextTip().toStdString();
}

}  // namespace pelmar::test
