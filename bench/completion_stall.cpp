// Typing "Qz0" in the class field over a CLASSPATH of 200,000 package-private
// classes (p/Qz000000 ... p/Qz199999, four jars of 50,000): the longest one key
// holds the event thread once the class index is ready, the longest gap of a
// 1 ms timer meanwhile, and when the list is answered. For comparison, the
// same queries run on the calling thread, as the list once ran them.
// Usage: bench_completion_stall   (the jars are written to a temporary folder)

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "app/window/CompletionPopup.h"
#include "app/window/OrvelTree.h"
#include "lookup/ClassCompletion.h"
#include "lookup/ClassIndexProvider.h"
#include "platform/classlib/ClassIndex.h"
#include "platform/classlib/ClassLibrary.h"
#include "tests/support/ClassFileBuilder.h"
#include "tests/support/ZipWriter.h"

namespace {

constexpr int kJars = 4;
constexpr int kPerJar = 50'000;

bool writeJars(const QString& dir)
{
    for (int j = 0; j < kJars; ++j) {
        std::vector<test_support::ZipEntry> entries;
        for (int i = j * kPerJar; i < (j + 1) * kPerJar; ++i) {
            char name[16];
            std::snprintf(name, sizeof name, "p/Qz%06d", i);
            const std::vector<uint8_t> bytes = testing_classlib::buildClass(
                testing_classlib::classDef(name, "java/lang/Object", {}, 0x20));  // package-private
            entries.push_back({QByteArray(name) + ".class",
                QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())), false});
        }
        QFile file(dir + QStringLiteral("/qz%1.jar").arg(j));
        const QByteArray zip = test_support::buildZip(entries).bytes;
        if (!file.open(QIODevice::WriteOnly) || file.write(zip) != zip.size())
            return false;
    }
    return true;
}

template <class Done> bool until(Done done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

}  // namespace

int main(int argc, char** argv)
{
    QTemporaryDir dir;
    if (!dir.isValid() || !writeJars(dir.path())) {
        std::fprintf(stderr, "cannot write the fixture jars\n");
        return 1;
    }
    qputenv("CLASSPATH", (dir.path() + QStringLiteral("/*")).toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QDir::setCurrent(dir.path());  // no configuration file

    {
        const lookup::ClassCompletion direct(
            platform::classlib::ClassIndex::build(platform::classlib::ClassLibrary::system()));
        for (const char* text : {"Qz", "Qz0"}) {
            QElapsedTimer t;
            t.start();
            const size_t rows = direct.complete(QString::fromLatin1(text), 12).size();
            std::printf("on the calling thread: complete(\"%s\") %lld ms, %zu rows\n", text, t.elapsed(), rows);
        }
    }

    auto* window = new orvel_tree();
    window->exitProcess = [](int) {};
    QElapsedTimer ready;
    ready.start();
    if (!until([] { return lookup::ClassIndexProvider::system().isReady(); }, 300'000))
        return std::fprintf(stderr, "the class index was never handed over\n"), 1;
    std::printf("index handed over after %lld ms\n", ready.elapsed());

    QLineEdit* field = window->classField();
    QApplication::setActiveWindow(window);
    field->setFocus();
    qint64 longestGap = 0;
    QElapsedTimer tick;
    tick.start();
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] { longestGap = std::max(longestGap, tick.restart()); });
    probe.start(1);
    // The same probe over an idle second first: on a busy machine the
    // scheduler alone makes gaps, which are not the window's.
    until([] { return false; }, 1000);
    const qint64 idleGap = longestGap;
    longestGap = 0;
    QElapsedTimer typing;
    typing.start();
    qint64 longestKey = 0;
    for (const char c : QByteArray("Qz0")) {
        QElapsedTimer key;
        key.start();
        QTest::keyClick(field, c);
        longestKey = std::max(longestKey, key.elapsed());
        until([] { return false; }, 80);  // typing speed: a key every 80 ms or so
    }
    const bool answered = until([window] { return !window->completionList()->isWaiting(); }, 120'000);
    const qint64 listAfter = typing.elapsed();
    probe.stop();
    std::printf("typing \"Qz0\": longest key handling %lld ms, longest event-loop gap %lld ms (idle: %lld ms), list %s "
                "after %lld ms (%d rows)\n",
        longestKey, longestGap, idleGap, answered ? "answered" : "NOT answered", listAfter,
        window->completionList()->isOpen() ? int(window->completionList()->list()->count()) : 0);
    delete window;
    return 0;
}
