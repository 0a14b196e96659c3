// The window's entry. `--project DIR` (or a start in a folder holding a Maven
// or Gradle build file) adds the project's compile classpath after CLASSPATH,
// resolved on a worker while the window is already shown (the build tool may
// take up to a minute with a cold cache);
// "--release N" picks the release whose class library is read; other
// arguments are accepted and ignored.

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include "app/window/OrvelTree.h"
#include "platform/classlib/ClassLibrary.h"
#include "platform/classlib/CtSym.h"
#include "platform/classlib/JavaClass.h"
#include "project/ProjectClasspath.h"
#include "project/ProjectResolver.h"

namespace {

// A session logout or `kill` sends SIGTERM, a terminal Ctrl+C sends SIGINT.
// Either closes the window the way its close button does, so the closing
// handler saves the documentation roots and the process ends with status 0.
// A signal handler may do almost nothing, so it only writes one byte into a
// pipe that the event loop watches.
int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    // A full pipe already holds a pending close; the byte is not needed.
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
    errno = saved;
}

bool installCloseOnSignal()
{
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGTERM, &action, nullptr) == 0 && ::sigaction(SIGINT, &action, nullptr) == 0;
}

// The folder named by --project, else the working folder when it holds a
// build file; "" for none.
QString projectFolder(const QStringList& args)
{
    const qsizetype at = args.indexOf(QStringLiteral("--project"));
    if (at >= 0 && at + 1 < args.size())
        return args.at(at + 1);
    if (project::findProject(QDir::currentPath()).tool != project::BuildTool::None)
        return QDir::currentPath();
    return QString();
}

// Hands the resolved classpath to the class library before it is first read,
// so that the lookup and the class index both see its entries. Returns the
// line for the status line.
QString applyProject(const project::ProjectClasspath& classpath)
{
    if (!classpath.error.isEmpty()) {
        std::fprintf(stderr, "%s\n", classpath.error.toUtf8().constData());
        return classpath.error;
    }
    platform::classlib::ClassLibrary::appendToSystemClassPath(classpath.entries);
    return QStringLiteral("Project classpath: %1 entries%2")
        .arg(classpath.entries.size())
        .arg(classpath.fromCache ? QStringLiteral(" (from the cache)") : QString());
}

// The warnings of the class library, and the release in the title, once the
// library may be read.
void startLibrary(orvel_tree* window, const std::string& release)
{
    const QString warning = platform::classLibraryStartupWarning();
    if (!warning.isEmpty())
        std::fprintf(stderr, "%s\n", warning.toUtf8().constData());
    // The title names the release only when it is the one asked for and served.
    if (!release.empty() &&
        platform::classlib::parseRelease(release) == platform::classlib::ClassLibrary::system().release())
        window->showRelease(platform::classlib::ClassLibrary::system().release());
}

QString shownProjectName(const QString& dir)
{
    const QString name = project::projectName(project::findProject(dir));
    return name.isEmpty() ? QFileInfo(dir).fileName() : name;
}

// --release's text; "" when not given.
std::string releaseArgument(const QStringList& args)
{
    const qsizetype at = args.indexOf(QStringLiteral("--release"));
    return at > 0 && at + 1 < args.size() ? args.at(at + 1).toStdString() : std::string();
}

}  // namespace

int main(int argc, char** argv)
{
    // Installed first: a signal that comes during start-up waits in the pipe
    // and closes the window as soon as the event loop runs.
    const bool closeOnSignal = installCloseOnSignal();
    QApplication application(argc, argv);
    const QString projectDir = projectFolder(QCoreApplication::arguments());
    const std::string release = releaseArgument(QCoreApplication::arguments());
    platform::classlib::ClassLibrary::requestSystemRelease(release);
    // Destroyed before the application: closing the window mid-resolution
    // stops the build tool, and nothing is cached.
    project::ProjectResolver resolver;
    orvel_tree* window;
    if (projectDir.isEmpty()) {
        window = orvel_tree::main();
        startLibrary(window, release);
    } else {
        window = orvel_tree::main(orvel_tree::LibraryStart::Held);
        window->showProject(shownProjectName(projectDir), QString());
        window->showStatus(QStringLiteral("Resolving the project's classpath\u2026"));
        QObject::connect(&resolver, &project::ProjectResolver::resolved, window,
            [window, release](const project::ProjectClasspath& classpath) {
                window->showStatus(applyProject(classpath));
                startLibrary(window, release);
                window->releaseLibrary();
            });
        resolver.start(projectDir);
    }
    if (closeOnSignal) {
        auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &application);
        QObject::connect(notifier, &QSocketNotifier::activated, window, [window] {
            char bytes[16];
            while (::read(signalPipe[0], bytes, sizeof bytes) > 0) { }
            window->close();
        });
    }
    return application.exec();
}
