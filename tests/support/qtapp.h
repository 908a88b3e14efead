#pragma once
// The one QApplication a window test program needs, made on first use.
#include <QApplication>

namespace trelvik::testsupport {

inline void ensureApp() {
    static int argc = 1;
    static char name[] = "trelvik_test";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance()) new QApplication(argc, argv);
}

} // namespace trelvik::testsupport
