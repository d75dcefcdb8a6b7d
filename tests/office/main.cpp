// The office tests need a QApplication; test discovery runs this binary
// without the test environment, so the offscreen platform is chosen here.
// The controls' texts are checked in the C locale.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>
#include <cstdlib>

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale::c());
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
