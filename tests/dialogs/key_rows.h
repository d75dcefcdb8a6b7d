// Numbers typed into a window's fields one key at a time, as a user types
// them: the field's text after each key, then - the field left with Tab -
// what the record holds, what the field shows and whether a tip says why
// that is not what was typed.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QStringList>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <functional>

#include "dialog_test_util.h"
#include "files/ui/text_tip.h"

namespace pelmar::test {

template <class R>
struct KeyRow {
    const char* name;
    const char* field;
    QString keys;       // typed after the field's text is selected; '\b' is Backspace
    QStringList shown;  // the field's text after each key
    std::function<double(const R&)> stored;
    double want;   // what the record holds once the field is left
    QString left;  // what the field shows then
    bool tip;      // a tip says why that is not what was typed
};

inline QString FieldText(QWidget* field) {
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(field)) return spin->findChild<QLineEdit*>()->text();
    return static_cast<QLineEdit*>(field)->text();
}

template <class R>
void PlayKeys(QWidget& window, const KeyRow<R>& row, const R& record) {
    SCOPED_TRACE(row.name);
    QWidget* field = window.findChild<QWidget*>(row.field);
    ASSERT_TRUE(field) << row.field;
    ASSERT_TRUE(field->isEnabled()) << row.field;
    field->setFocus();
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(field)) spin->selectAll();
    else static_cast<QLineEdit*>(field)->selectAll();
    for (qsizetype i = 0; i < row.keys.size(); ++i) {
        if (row.keys[i] == u'\b') QTest::keyClick(field, Qt::Key_Backspace);
        else QTest::keyClicks(field, QString(row.keys[i]));
        EXPECT_EQ(FieldText(field), row.shown.value(i)) << "after key " << i + 1;
    }
    QTest::keyClick(field, Qt::Key_Tab);
    EXPECT_FALSE(field->hasFocus());
    EXPECT_NEAR(row.stored(record), row.want, 1e-9 * std::max(1.0, std::abs(row.want)));
    EXPECT_EQ(FieldText(field), row.left);
    EXPECT_EQ(!ShownTextTip().isEmpty(), row.tip) << ShownTextTip().toStdString();
}

}  // namespace pelmar::test
