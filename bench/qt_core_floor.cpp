// The floor under every whole-process figure: a program that links Qt Core,
// makes the application object as the CLI does, and ends. What a CLI command
// costs above this is the work the command itself does.
#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    return 0;
}
