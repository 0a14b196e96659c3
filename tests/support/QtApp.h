#pragma once
// The one QApplication of a widget test program (ctest sets the offscreen platform).

#include <QApplication>

namespace test_support {

inline void ensureApplication()
{
    static int argc = 1;
    static char name[] = "tests";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance())
        new QApplication(argc, argv);
}

}  // namespace test_support
