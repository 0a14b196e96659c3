// The window's entry. `--project DIR` (or a start in a folder holding a Maven
// or Gradle build file) adds the project's compile classpath after CLASSPATH;
// "--release N" picks the release whose class library is read; other
// arguments are accepted and ignored.

#include <QApplication>
#include <QDir>
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

// Resolves the project before the class library is first read, so that the
// lookup and the class index both see its entries. Returns the problem, if any.
project::ProjectClasspath applyProject(const QString& dir)
{
    project::ProjectClasspath classpath = project::resolveProjectClasspath(dir);
    if (!classpath.error.isEmpty())
        std::fprintf(stderr, "%s\n", classpath.error.toUtf8().constData());
    else
        platform::classlib::ClassLibrary::appendToSystemClassPath(classpath.entries);
    return classpath;
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
    const project::ProjectClasspath classpath =
        projectDir.isEmpty() ? project::ProjectClasspath() : applyProject(projectDir);
    const std::string release = releaseArgument(QCoreApplication::arguments());
    platform::classlib::ClassLibrary::requestSystemRelease(release);
    const QString warning = platform::classLibraryStartupWarning();
    if (!warning.isEmpty())
        std::fprintf(stderr, "%s\n", warning.toUtf8().constData());
    orvel_tree* window = orvel_tree::main();
    if (!projectDir.isEmpty())
        window->showProject(project::projectName(classpath.folder), classpath.error);
    // The title names the release only when it is the one asked for and served.
    if (!release.empty() &&
        platform::classlib::parseRelease(release) == platform::classlib::ClassLibrary::system().release())
        window->showRelease(platform::classlib::ClassLibrary::system().release());
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
