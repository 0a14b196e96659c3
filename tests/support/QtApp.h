#pragma once
// The one application object of a test program (ctest sets the offscreen
// platform): QApplication for widget tests, QCoreApplication for tests that
// only need an event loop.

#include <QCoreApplication>

namespace test_support {

template <typename App>
inline void ensureApplication()
{
    static int argc = 1;
    static char name[] = "tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new App(argc, argv);
}

}  // namespace test_support
