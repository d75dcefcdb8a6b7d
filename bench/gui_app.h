// A QGuiApplication for benchmarks that paint text, made once on the
// offscreen platform unless another is asked for.
#pragma once

#include <QGuiApplication>
#include <cstdlib>

namespace pelmar::bench {

inline void EnsureGuiApp() {
    static int argc = 1;
    static char name[] = "pelmar_bench";
    static char* argv[] = {name, nullptr};
    if (QGuiApplication::instance()) return;
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(argc, argv);
}

}  // namespace pelmar::bench
