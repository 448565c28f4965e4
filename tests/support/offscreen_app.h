// The one QApplication of the window tests and benchmarks (offscreen, created on first use).
#pragma once

#include <QApplication>
#include <cstdlib>

namespace qv::test {

inline QApplication& QtApp() {
    static int argc = 1;
    static char name[] = "quorvane_offscreen";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        return new QApplication(argc, argv);
    }();
    return *app;
}

}  // namespace qv::test
