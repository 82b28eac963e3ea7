#pragma once
// A plain application object for the tests that need widgets but not the program.

#include <QApplication>

inline void ensureApplication() {
    if (QApplication::instance()) return;
    static int argc = 1;
    static char name[] = "test_shell";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}
