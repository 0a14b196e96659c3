// The window's entry: the arguments are accepted and ignored.

#include <QApplication>
#include <cstdio>

#include "app/window/OrvelTree.h"
#include "platform/classlib/JavaClass.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const QString warning = platform::classLibraryStartupWarning();
    if (!warning.isEmpty())
        std::fprintf(stderr, "%s\n", warning.toUtf8().constData());
    orvel_tree::main();
    return application.exec();
}
