// A project's compile classpath: fake build tools on PATH for the cache and
// every way a tool can fail; the real mvn and gradle, offline against
// Debian's Maven repository, for the fixture projects.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <csignal>
#include <optional>

#include "project/ClasspathCache.h"
#include "project/ProjectClasspath.h"
#include "project/ProjectResolver.h"
#include "tests/support/Files.h"

using namespace project;
using test_support::readFile;
using test_support::writeFile;

namespace {

constexpr char kPom[] = R"(<project xmlns="http://maven.apache.org/POM/4.0.0">
  <modelVersion>4.0.0</modelVersion>
  <groupId>fixture</groupId><artifactId>fixture</artifactId><version>1</version>
  <dependencies>
    <dependency><groupId>org.apache.commons</groupId><artifactId>commons-lang3</artifactId><version>3.12.0</version></dependency>
    <dependency><groupId>commons-io</groupId><artifactId>commons-io</artifactId><version>2.11.0</version></dependency>
  </dependencies>
</project>
)";
constexpr char kBuildGradle[] = R"(apply plugin: 'java'
repositories { maven { url 'file:///usr/share/maven-repo' } }
dependencies {
  compile 'org.apache.commons:commons-lang3:3.12.0'
  compile 'commons-io:commons-io:2.11.0'
}
)";

// The resolver's answers travel through an event loop.
void ensureCoreApplication()
{
    static int argc = 1;
    static char name[] = "tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
}

// Every file under dir with its size: what "nothing in the project was written" compares.
QStringList listing(const QString& dir)
{
    QStringList files;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        files << it.filePath() + QLatin1Char(' ') + QString::number(it.fileInfo().size());
    }
    files.sort();
    return files;
}

// A project folder, a cache folder and a bin folder put first on PATH for fake tools.
class ProjectTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedPath_ = qgetenv("PATH");
        qputenv("PATH", bin() + ":" + savedPath_);
    }
    void TearDown() override { qputenv("PATH", savedPath_); }

    QByteArray bin() const { return root_.path().toUtf8() + "/bin"; }
    QString project() const { return root_.path() + "/proj"; }
    QString calls() const { return root_.path() + "/calls"; }
    ResolveOptions options(int timeoutMs = 20'000) const { return {root_.path() + "/cache", timeoutMs, {}}; }

    // A fake tool: counts its calls, then runs body (sh), with $out the -Dmdep.outputFile value.
    void fakeTool(const char* name, const QByteArray& body)
    {
        const QString path = QString::fromUtf8(bin()) + "/" + name;
        ASSERT_TRUE(writeFile(path,
            "#!/bin/sh\necho x >> '" + calls().toUtf8() +
                "'\nout=\nfor a; do case \"$a\" in -Dmdep.outputFile=*) "
                "out=${a#-Dmdep.outputFile=};; esac; done\n" +
                body + "\n"));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    int callCount() const { return int(readFile(calls()).count('\n')); }

    QTemporaryDir root_;
    QByteArray savedPath_;
};

// The cache is read on every later start until the build file changes or the
// cache itself cannot be trusted; then the tool runs again.
TEST_F(ProjectTest, TheCacheIsReadUntilTheBuildFileChangesOrItCannotBeTrusted)
{
    ASSERT_TRUE(writeFile(project() + "/pom.xml", kPom));
    fakeTool("mvn", "printf '/r/a.jar:/r/b.jar' > \"$out\"");
    const std::vector<std::string> want {"/r/a.jar", "/r/b.jar", (project() + "/target/classes").toStdString()};
    const ProjectClasspath first = resolveProjectClasspath(project(), options());
    EXPECT_EQ(first.error, "");
    EXPECT_EQ(first.entries, want);
    EXPECT_FALSE(first.fromCache);
    const QString file = ClasspathCache(options().cacheDir).fileFor(QDir(project()).absolutePath());
    const QByteArray good = readFile(file);
    const struct {
        const char* what;
        QString path;
        QByteArray bytes;
        bool fromCache;
    } cases[] = {
        {"unchanged", file, good, true}, {"cut short", file, good.left(good.size() - 4), false},
        {"older format", file, QByteArray(good).replace("classpath 1", "classpath 0"), false},
        {"relative entry", file, QByteArray(good).replace("/r/a.jar", "r/a.jar"), false},
        {"pom.xml changed", project() + "/pom.xml", QByteArray(kPom) + "\n", false},  // another size, a later time
    };
    int expectedCalls = 1;
    for (const auto& c : cases) {
        ASSERT_TRUE(writeFile(c.path, c.bytes));
        const ProjectClasspath again = resolveProjectClasspath(project(), options());
        EXPECT_EQ(again.fromCache, c.fromCache) << c.what;
        EXPECT_EQ(again.entries, want) << c.what;
        EXPECT_EQ(callCount(), expectedCalls += !c.fromCache) << c.what;
    }
}

// Each failure: one line naming the tool and what to do, no entries at all,
// nothing cached, the project folder untouched.
TEST_F(ProjectTest, ToolFailuresLeaveNoPartialClasspath)
{
    const struct {
        const char* what;
        const char* tool;
        QByteArray body;
        const char* message;
    } cases[] = {
        {"exit status", "mvn", "echo '\033[1;31m[ERROR]\033[m Cannot access central in offline mode'; exit 1",
            "mvn failed (exit status 1): [ERROR] Cannot access central in offline mode; run `mvn dependency:resolve` "
            "there once online"},
        {"partial output, then failure", "mvn", "printf '/r/a.jar' > \"$out\"; exit 1", "mvn failed (exit status 1)"},
        {"no output file", "mvn", "exit 0", "mvn finished but wrote no classpath"},
        {"garbage output", "mvn", "printf 'Downloading...\\n/r/a.jar' > \"$out\"",
            "mvn wrote something that is no classpath"},
        {"never exits", "mvn", "sleep 300", "did not finish within 1 s"},
        {"asks for input", "mvn", "read answer || exit 7; sleep 300", "mvn failed (exit status 7)"},
        {"gradle without marker", "gradle", "echo 'BUILD SUCCESSFUL'", "gradle printed no classpath we could read"},
        {"gradle garbage marker", "gradle", "echo 'JAVAORVEL-CLASSPATH:lib/a.jar'", "gradle printed no classpath"},
        {"gradle without java plugin", "gradle", "echo 'JAVAORVEL-CLASSPATH-NONE'", "no compileClasspath"},
        {"no tool", "gradle", "", "gradle not found on PATH and no gradlew in the project"},
    };
    for (const auto& c : cases) {
        QDir(project()).removeRecursively();
        const bool maven = QByteArray(c.tool) == "mvn";
        ASSERT_TRUE(writeFile(project() + (maven ? "/pom.xml" : "/build.gradle"), maven ? kPom : kBuildGradle));
        if (c.body.isEmpty())  // nothing on PATH by that name
            qputenv("PATH", bin() + "/none");
        else
            fakeTool(c.tool, c.body);
        const QStringList before = listing(project());
        const ProjectClasspath result = resolveProjectClasspath(project(), options(1000));
        EXPECT_TRUE(result.entries.empty()) << c.what;
        EXPECT_TRUE(result.error.contains(c.message)) << c.what << ": " << result.error.toStdString();
        EXPECT_TRUE(result.error.endsWith("going on with CLASSPATH only")) << c.what;
        EXPECT_FALSE(result.error.contains('\n')) << c.what;
        EXPECT_EQ(listing(project()), before) << c.what;
        EXPECT_FALSE(ClasspathCache(options().cacheDir).load(QDir(project()).absolutePath(), {})) << c.what;
    }
}

// On a worker: the owner's event loop keeps running while the tool does, and
// the answer arrives on the owner's thread.
TEST_F(ProjectTest, ResolverAnswersByQueuedCallWhileTheLoopRuns)
{
    ensureCoreApplication();
    ASSERT_TRUE(writeFile(project() + "/pom.xml", kPom));
    fakeTool("mvn", "sleep 1; printf '/r/a.jar' > \"$out\"");
    ProjectResolver resolver;
    std::optional<ProjectClasspath> answer;
    int ticks = 0;
    QEventLoop loop;
    QObject::connect(&resolver, &ProjectResolver::resolved, &loop, [&](const ProjectClasspath& c) {
        EXPECT_EQ(QThread::currentThread(), resolver.thread());
        answer = c;
        loop.quit();
    });
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(50);
    resolver.start(project(), options());
    EXPECT_TRUE(resolver.isRunning());
    QTimer::singleShot(20'000, &loop, &QEventLoop::quit);
    loop.exec();
    ASSERT_TRUE(answer.has_value()) << "no answer";
    EXPECT_EQ(answer->entries.front(), "/r/a.jar");
    EXPECT_GE(ticks, 5) << "the loop stood still while the tool ran";
    EXPECT_FALSE(resolver.isRunning());
}

// Closing the window mid-resolution: the tool is killed (not waited for to
// its time limit), nothing is cached and no answer comes.
TEST_F(ProjectTest, DestroyedResolverStopsTheToolAndCachesNothing)
{
    ensureCoreApplication();
    ASSERT_TRUE(writeFile(project() + "/pom.xml", kPom));
    const QString pidFile = root_.path() + "/pid";
    fakeTool("mvn", "echo $$ > '" + pidFile.toUtf8() + "'; sleep 120; printf '/r/a.jar' > \"$out\"");
    bool answered = false;
    QElapsedTimer clock;
    {
        ProjectResolver resolver;
        QObject::connect(&resolver, &ProjectResolver::resolved, [&] { answered = true; });
        resolver.start(project(), options(300'000));
        for (int i = 0; i < 200 && !QFile::exists(pidFile); ++i) QThread::msleep(20);
        clock.start();
    }
    EXPECT_LT(clock.elapsed(), 60'000) << "waited for the tool instead of stopping it";
    QCoreApplication::processEvents();
    EXPECT_FALSE(answered);
    const pid_t pid = pid_t(readFile(pidFile).trimmed().toInt());
    ASSERT_GT(pid, 0);
    EXPECT_NE(::kill(pid, 0), 0) << "the tool still runs";
    EXPECT_FALSE(ClasspathCache(options().cacheDir).load(QDir(project()).absolutePath(), {}));
}

TEST_F(ProjectTest, GradleWrapperIsPreferredAndOurLineIsPickedOut)
{
    ASSERT_TRUE(writeFile(project() + "/build.gradle", kBuildGradle));
    fakeTool("gradle", "exit 1");
    const QString wrapper = project() + "/gradlew";
    ASSERT_TRUE(writeFile(wrapper,
        "#!/bin/sh\necho 'openjdk version \"17\"' >&2\necho 'Starting a Gradle "
        "Daemon'\necho 'JAVAORVEL-CLASSPATH:/r/x.jar:/r/y.jar'\necho done\n"));
    QFile::setPermissions(wrapper, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const ProjectClasspath result = resolveProjectClasspath(project(), options());
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(result.entries,
        (std::vector<std::string> {"/r/x.jar", "/r/y.jar", (project() + "/build/classes/java/main").toStdString()}));
}

// The real tools, offline, against Debian's Maven repository.
class RealToolTest : public ProjectTest {
protected:
    void expectFixtureClasspath(const ProjectClasspath& result)
    {
        EXPECT_EQ(result.error, "");
        ASSERT_EQ(result.entries.size(), 3u);
        EXPECT_TRUE(QString::fromStdString(result.entries[0]).endsWith("/commons-lang3-3.12.0.jar"));
        EXPECT_TRUE(QString::fromStdString(result.entries[1]).endsWith("/commons-io-2.11.0.jar"));
    }
    bool available(const char* tool) const
    {
        return !QStandardPaths::findExecutable(tool).isEmpty() && QFileInfo("/usr/share/maven-repo").isDir();
    }
};

TEST_F(RealToolTest, MavenFixtureOffline)
{
    if (!available("mvn"))
        GTEST_SKIP() << "mvn or /usr/share/maven-repo missing";
    if (qEnvironmentVariableIsEmpty("MAVEN_OPTS"))
        qputenv("MAVEN_OPTS", "-Dmaven.repo.local=/usr/share/maven-repo");
    ASSERT_TRUE(writeFile(project() + "/pom.xml", kPom));
    const QStringList before = listing(project());
    expectFixtureClasspath(resolveProjectClasspath(project(), options(300'000)));
    EXPECT_EQ(listing(project()), before);

    ASSERT_TRUE(writeFile(project() + "/pom.xml", "<project><unclosed>"));
    const ProjectClasspath broken = resolveProjectClasspath(project(), options(300'000));
    EXPECT_TRUE(broken.entries.empty());
    EXPECT_TRUE(broken.error.contains("mvn failed (exit status 1): [ERROR] Some problems were encountered"))
        << broken.error.toStdString();
}

TEST_F(RealToolTest, GradleFixtureOffline)
{
    if (!available("gradle"))
        GTEST_SKIP() << "gradle or /usr/share/maven-repo missing";
    qputenv("GRADLE_USER_HOME", (root_.path() + "/gradle-home").toUtf8());
    ASSERT_TRUE(writeFile(project() + "/build.gradle", kBuildGradle));
    const QStringList before = listing(project());
    expectFixtureClasspath(resolveProjectClasspath(project(), options(300'000)));
    EXPECT_EQ(listing(project()), before);
    qunsetenv("GRADLE_USER_HOME");
}

}  // namespace
