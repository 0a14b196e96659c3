// The longest wait a SEARCH can see: the window opens and at once looks up a
// name the catalogue does not know, so the answer waits for the class index.
// Prints the time from SEARCH to the member tree shown.
// Usage: CLASSPATH='/usr/share/java/*' bench_search_at_startup [name]   (default Optional)

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>

#include "app/window/OrvelTree.h"
#include "lookup/ClassIndexProvider.h"

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString name = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("Optional");
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());  // no configuration file
    QElapsedTimer clock;
    clock.start();
    auto* window = new orvel_tree();
    window->exitProcess = [](int) {};
    const qint64 opened = clock.elapsed();
    window->classField()->setText(name);
    for (QPushButton* b : window->findChildren<QPushButton*>())
        if (b->text() == QLatin1String("SEARCH"))
            b->click();
    const qint64 clicked = clock.elapsed();
    qint64 readyAt = -1;
    while (!window->memberTree() && clock.elapsed() < 300'000) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        if (readyAt < 0 && lookup::ClassIndexProvider::system().isReady())
            readyAt = clock.elapsed();
    }
    std::printf("window open %lld ms; SEARCH %s handled in %lld ms; index ready at %lld ms; tree shown %lld ms after "
                "SEARCH (%s)\n",
        opened, qPrintable(name), clicked - opened, readyAt, clock.elapsed() - clicked,
        window->memberTree() ? qPrintable(window->classField()->text()) : "no tree");
    delete window;
    return 0;
}
