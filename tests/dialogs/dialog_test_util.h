// Helpers of the dialog tests: a shown, active window to type into.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <ostream>

// QString in gtest messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace pelmar::test {

inline void ShowActive(QWidget& w) {
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
}

// Focus on w, its text selected, then the keys typed as a user types them.
template <class Edit>
void TypeInto(Edit* w, const QString& keys) {
    w->setFocus();
    w->selectAll();
    QTest::keyClicks(w, keys);
}

// A click on a check box's or radio button's indicator (a click beside its
// text does not hit it).
inline void ClickIndicator(QWidget* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

template <class T>
T* Find(QWidget& w, const char* name) {
    T* c = w.findChild<T*>(name);
    EXPECT_TRUE(c) << name;
    return c;
}

// Every visible control lies inside its window and has at least the size it
// needs to show its text.
inline void ExpectNothingClipped(QWidget& window) {
    const QRect inside = window.rect();
    for (QWidget* w : window.findChildren<QWidget*>()) {
        const QString name = w->objectName();
        if (!w->isVisibleTo(&window) || name.isEmpty() || name.startsWith("qt_") || name == "ObjectDialogBody") continue;
        const QRect r(w->mapTo(&window, QPoint(0, 0)), w->size());
        EXPECT_TRUE(inside.contains(r)) << window.objectName().toStdString() << "/" << w->objectName().toStdString();
        const QSize need = w->minimumSizeHint();
        EXPECT_GE(w->width(), need.width()) << w->objectName().toStdString();
        EXPECT_GE(w->height(), need.height()) << w->objectName().toStdString();
    }
}

}  // namespace pelmar::test
