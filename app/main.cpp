// The window's entry: the arguments are accepted and ignored.

#include <QApplication>

#include "app/window/OrvelTree.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    orvel_tree::main();
    return application.exec();
}
