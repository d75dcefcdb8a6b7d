// A number typed into a window's field as a user types it: the field's text
// selected, then one key at a time, the text checked after each key, then
// Tab; what the window keeps, what the field shows and whether a tip says
// why they are not what was typed.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QStringList>
#include <QTest>
#include <cmath>
#include <functional>

#include "files/ui/text_tip.h"

namespace pelmar::test {

struct KeyRow {
    const char* field;  // the object name
    QString keys;       // '\b' is Backspace
    QStringList shown;  // the text after each key
    double want;        // what the window keeps once the field is left
    QString left;       // what the field shows then
    bool tip;           // a tip says why
    std::function<double()> stored;  // reads what the window keeps
};

inline QLineEdit* LineOf(QWidget* field) {
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(field)) return spin->findChild<QLineEdit*>();
    return qobject_cast<QLineEdit*>(field);
}

inline void PlayKeys(QWidget& window, const KeyRow& row) {
    SCOPED_TRACE(QString("%1 typed %2").arg(row.field, QString(row.keys).replace('\b', "<BS>")).toStdString());
    auto* field = window.findChild<QWidget*>(row.field);
    ASSERT_TRUE(field && LineOf(field));
    field->setFocus();
    LineOf(field)->selectAll();
    for (qsizetype i = 0; i < row.keys.size(); ++i) {
        if (row.keys[i] == u'\b') QTest::keyClick(field, Qt::Key_Backspace);
        else QTest::keyClicks(field, QString(row.keys[i]));
        EXPECT_EQ(LineOf(field)->text(), row.shown.value(i)) << "after key " << i + 1;
    }
    QTest::keyClick(field, Qt::Key_Tab);
    EXPECT_FALSE(field->hasFocus());
    EXPECT_NEAR(row.stored(), row.want, 1e-9 * std::max(1.0, std::abs(row.want)));
    EXPECT_EQ(LineOf(field)->text(), row.left);
    EXPECT_EQ(!ShownTextTip().isEmpty(), row.tip) << ShownTextTip().toStdString();
}

}  // namespace pelmar::test
