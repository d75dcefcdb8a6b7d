// A number typed into a window's field one key at a time: the text after
// each key, then - the field left with Tab - what the record holds, what the
// field shows and whether a tip says why.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QStringList>
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
    QString keys;  // after select all; '\b' is Backspace
    QStringList shown;
    std::function<double(const R&)> stored;
    double want;
    QString left;
    bool tip;
};

template <class R>
void PlayKeys(QWidget& window, const KeyRow<R>& row, const R& record) {
    SCOPED_TRACE(row.name);
    QWidget* field = window.findChild<QWidget*>(row.field);
    ASSERT_TRUE(field) << row.field;
    auto* spin = qobject_cast<QAbstractSpinBox*>(field);
    auto* edit = spin ? spin->findChild<QLineEdit*>() : static_cast<QLineEdit*>(field);
    field->setFocus();
    edit->selectAll();
    for (qsizetype i = 0; i < row.keys.size(); ++i) {
        if (row.keys[i] == u'\b') QTest::keyClick(field, Qt::Key_Backspace);
        else QTest::keyClicks(field, QString(row.keys[i]));
        EXPECT_EQ(edit->text(), row.shown.value(i)) << "after key " << i + 1;
    }
    QTest::keyClick(field, Qt::Key_Tab);
    EXPECT_FALSE(field->hasFocus());
    EXPECT_NEAR(row.stored(record), row.want, 1e-9 * std::max(1.0, std::abs(row.want)));
    EXPECT_EQ(edit->text(), row.left);
    EXPECT_EQ(!ShownTextTip().isEmpty(), row.tip) << ShownTextTip().toStdString();
}

}  // namespace pelmar::test
