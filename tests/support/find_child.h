// Test helper: a window's control found by its object name; a control that
// is not there fails the test where it was looked for.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QWidget>

namespace pelmar::test {

template <class T>
T* Find(QWidget& w, const QString& name) {
    T* c = w.findChild<T*>(name);
    EXPECT_TRUE(c) << name.toStdString();
    return c;
}

}  // namespace pelmar::test
