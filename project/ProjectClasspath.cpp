#include "project/ProjectClasspath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <optional>

#include "platform/RegularFile.h"
#include "project/ClasspathCache.h"
#include "project/ToolRun.h"

namespace project {

namespace {

// Prints the root project's compile classpath on one line of its own, which
// the tool's banners and warnings around it cannot be mistaken for.
constexpr char kMarker[] = "JAVAORVEL-CLASSPATH:";
constexpr char kGradleTask[] = "javaorvelClasspath";
constexpr char kInitScript[] = R"(rootProject {
  afterEvaluate { p ->
    p.tasks.create('javaorvelClasspath') {
      doLast {
        def cfg = p.configurations.findByName('compileClasspath')
        if (cfg == null) {
          println('JAVAORVEL-CLASSPATH-NONE')
        } else {
          println('JAVAORVEL-CLASSPATH:' + cfg.files.collect { it.absolutePath }.join(File.pathSeparator))
        }
      }
    }
  }
}
)";
constexpr qsizetype kMaxClasspathBytes = 16 << 20;

struct Attempt {
    std::vector<std::string> entries;
    QString error;
};

QString failure(const ProjectFolder& folder, const QString& what)
{
    return QStringLiteral("javaorvel: project ") + folder.dir + QStringLiteral(": ") + what +
        QStringLiteral("; going on with CLASSPATH only");
}

// The first line of the tool's output that says what went wrong, colour codes dropped.
QString firstErrorLine(const QByteArray& output)
{
    QString fallback;
    for (QByteArray line : output.split('\n')) {
        static const QRegularExpression ansi(QStringLiteral("\x1b\\[[0-9;]*[A-Za-z]"));
        QString text = QString::fromUtf8(line).remove(ansi).trimmed();
        while (text.startsWith(QLatin1String("[ERROR] [ERROR]")))  // Maven's nested report
            text.remove(0, 8);
        if (text.isEmpty())
            continue;
        if (text.startsWith(QLatin1String("[ERROR]")) || text.startsWith(QLatin1String("FAILURE:")) ||
            text.contains(QLatin1String("What went wrong")))
            return text.left(300);
        if (fallback.isEmpty())
            fallback = text.left(300);
    }
    return fallback;
}

// Absolute paths without control characters, else nothing: anything else is
// not a classpath, whatever the tool meant by it.
std::optional<std::vector<std::string>> parseClasspath(const QByteArray& text)
{
    std::vector<std::string> entries;
    const QByteArray trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return entries;
    for (const QByteArray& entry : trimmed.split(':')) {
        if (!entry.startsWith('/'))
            return std::nullopt;
        for (const char c : entry)
            if (static_cast<unsigned char>(c) < 0x20)
                return std::nullopt;
        entries.push_back(entry.toStdString());
    }
    return entries;
}

QString describeRun(const QString& tool, const ToolRun& run, int timeoutMs)
{
    switch (run.outcome) {
    case ToolRun::Outcome::NotStarted:
        return tool + QStringLiteral(" could not be started");
    case ToolRun::Outcome::TimedOut:
        return tool +
            QStringLiteral(" did not finish within %1 s (it may be waiting for input) and was stopped")
                .arg(timeoutMs / 1000.0);
    case ToolRun::Outcome::Crashed:
        return tool + QStringLiteral(" crashed");
    case ToolRun::Outcome::Stopped:
        return tool + QStringLiteral(" was stopped before it finished");
    case ToolRun::Outcome::Finished:
        break;
    }
    const QString line = firstErrorLine(run.output);
    return tool + QStringLiteral(" failed (exit status %1)").arg(run.exitCode) +
        (line.isEmpty() ? QString() : QStringLiteral(": ") + line);
}

// What to do next: fill the tool's cache when it lacked a dependency offline,
// else run the same command by hand to see the whole error.
QString fixHint(BuildTool tool, const ToolRun& run)
{
    const bool missingOffline = run.outcome == ToolRun::Outcome::Finished &&
        (run.output.contains("offline") || run.output.contains("Could not resolve") ||
            run.output.contains("Could not find artifact"));
    if (tool == BuildTool::Maven)
        return missingOffline
            ? QStringLiteral("run `mvn dependency:resolve` there once online to fill the local repository")
            : QStringLiteral("run `mvn -o dependency:build-classpath` there to see the whole error");
    return missingOffline ? QStringLiteral("run `gradle dependencies` there once online to fill Gradle's cache")
                          : QStringLiteral("run `gradle --offline dependencies` there to see the whole error");
}

Attempt runMaven(const ProjectFolder& folder, const QString& scratch, const ResolveOptions& options)
{
    const QString mvn = QStandardPaths::findExecutable(QStringLiteral("mvn"));
    if (mvn.isEmpty())
        return {{}, QStringLiteral("mvn not found on PATH; install Maven or put the project's jars on CLASSPATH")};
    const QString outFile = scratch + QStringLiteral("/classpath.txt");
    const ToolRun run = runTool(mvn,
        {QStringLiteral("-o"), QStringLiteral("-q"), QStringLiteral("-B"), QStringLiteral("-f"),
            folder.buildFiles.first(), QStringLiteral("dependency:build-classpath"),
            QStringLiteral("-Dmdep.outputFile=") + outFile},
        folder.dir, options.timeoutMs, options.stopRequested);
    if (run.outcome != ToolRun::Outcome::Finished || run.exitCode != 0)
        return {{},
            describeRun(QStringLiteral("mvn"), run, options.timeoutMs) + QStringLiteral("; ") +
                fixHint(folder.tool, run)};
    const std::optional<QByteArray> text = platform::readRegularFile(outFile.toStdString(), kMaxClasspathBytes);
    if (!text)
        return {{}, QStringLiteral("mvn finished but wrote no classpath; check that the project builds with mvn")};
    auto entries = parseClasspath(*text);
    if (!entries)
        return {{}, QStringLiteral("mvn wrote something that is no classpath; check that the project builds with mvn")};
    entries->push_back(QString(folder.dir + QStringLiteral("/target/classes")).toStdString());
    return {std::move(*entries), {}};
}

Attempt runGradle(const ProjectFolder& folder, const QString& scratch, const ResolveOptions& options)
{
    QString gradle = folder.dir + QStringLiteral("/gradlew");
    const QFileInfo wrapper(gradle);
    if (!wrapper.isFile() || !wrapper.isExecutable())
        gradle = QStandardPaths::findExecutable(QStringLiteral("gradle"));
    if (gradle.isEmpty())
        return {{},
            QStringLiteral("gradle not found on PATH and no gradlew in the project; install Gradle or put the "
                           "project's jars on CLASSPATH")};
    const QString init = scratch + QStringLiteral("/javaorvel-init.gradle");
    QFile script(init);
    if (!script.open(QIODevice::WriteOnly) || script.write(kInitScript) != qint64(sizeof kInitScript - 1))
        return {{}, QStringLiteral("cannot write the Gradle init script in ") + scratch};
    script.close();
    const ToolRun run = runTool(gradle,
        {QStringLiteral("--offline"), QStringLiteral("-q"), QStringLiteral("--no-daemon"),
            QStringLiteral("--project-cache-dir"), scratch + QStringLiteral("/gradle-project-cache"),
            QStringLiteral("-p"), folder.dir, QStringLiteral("-I"), init, QLatin1String(kGradleTask)},
        folder.dir, options.timeoutMs, options.stopRequested);
    if (run.outcome != ToolRun::Outcome::Finished || run.exitCode != 0)
        return {{},
            describeRun(QStringLiteral("gradle"), run, options.timeoutMs) + QStringLiteral("; ") +
                fixHint(folder.tool, run)};
    std::optional<std::vector<std::string>> entries;
    for (const QByteArray& line : run.output.split('\n')) {
        if (line.trimmed() == "JAVAORVEL-CLASSPATH-NONE")
            return {{}, QStringLiteral("the Gradle build has no compileClasspath (does it apply the java plugin?)")};
        if (line.startsWith(kMarker)) {
            entries = parseClasspath(line.mid(qsizetype(sizeof kMarker - 1)));
            break;
        }
    }
    if (!entries)
        return {
            {}, QStringLiteral("gradle printed no classpath we could read; check that the project builds with gradle")};
    entries->push_back(QString(folder.dir + QStringLiteral("/build/classes/java/main")).toStdString());
    return {std::move(*entries), {}};
}

}  // namespace

ProjectClasspath resolveProjectClasspath(const QString& dir, const ResolveOptions& options)
{
    ProjectClasspath result;
    result.folder = findProject(dir);
    if (result.folder.tool == BuildTool::None) {
        result.folder.dir = dir;
        result.error = failure(result.folder,
            QFileInfo(dir).isDir() ? QStringLiteral("no pom.xml, build.gradle or build.gradle.kts there")
                                   : QStringLiteral("no such folder"));
        return result;
    }
    const ClasspathCache cache(options.cacheDir.isEmpty() ? defaultCacheDir() : options.cacheDir);
    const QByteArray key = buildFilesKey(result.folder);
    if (auto cached = cache.load(result.folder.dir, key)) {
        result.entries = std::move(*cached);
        result.fromCache = true;
        return result;
    }
    QTemporaryDir scratch(QDir::tempPath() + QStringLiteral("/javaorvel-project-XXXXXX"));
    if (!scratch.isValid()) {
        result.error =
            failure(result.folder, QStringLiteral("cannot make a temporary folder: ") + scratch.errorString());
        return result;
    }
    Attempt attempt = result.folder.tool == BuildTool::Maven ? runMaven(result.folder, scratch.path(), options)
                                                             : runGradle(result.folder, scratch.path(), options);
    if (!attempt.error.isEmpty()) {
        result.error = failure(result.folder, attempt.error);
        return result;
    }
    result.entries = std::move(attempt.entries);
    // A cache that cannot be written costs only the next start's time.
    cache.store(result.folder.dir, key, result.entries);
    return result;
}

QString projectName(const ProjectFolder& folder)
{
    return QFileInfo(folder.dir).fileName();
}

}  // namespace project
