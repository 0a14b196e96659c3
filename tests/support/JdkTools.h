#pragma once
// The installed JDK's own tools (javac, java, jar, jlink) as the oracle tests
// run them: without the caller's CLASSPATH or option variables to sway them.

#include <QFileInfo>
#include <QProcess>
#include <cstdio>
#include <optional>

#include "platform/classlib/ClassLibrary.h"

namespace test_support {

// The installed JDK's bin folder (ending in '/') when it has the tool, else "".
inline QString jdkBinWith(const char* tool)
{
    const std::string home = platform::classlib::ClassLibrary::system().jdkHome();
    const QString bin = QString::fromStdString(home + "/bin/");
    return !home.empty() && QFileInfo(bin + tool).isExecutable() ? bin : QString();
}

// The installed JDK's class library without the caller's CLASSPATH, read at
// `release` when one is given: the side of an oracle test that is ours.
inline std::unique_ptr<platform::classlib::ClassLibrary> jdkOnlyLibrary(const std::string& release = {})
{
    auto env = platform::classlib::ClassLibrary::Environment::fromProcess();
    env.classPathSet = false;
    env.release = release;
    return platform::classlib::ClassLibrary::discover(env);
}

// The tool's standard output, or nothing (its standard error printed) when it fails;
// run in `workingDir` when one is given (jar xf unpacks there).
inline std::optional<QByteArray> runTool(
    const QString& program, const QStringList& args, const QString& workingDir = QString())
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"CLASSPATH", "JAVA_TOOL_OPTIONS", "_JAVA_OPTIONS", "JDK_JAVA_OPTIONS"}) env.remove(name);
    p.setProcessEnvironment(env);
    if (!workingDir.isEmpty())
        p.setWorkingDirectory(workingDir);
    p.start(program, args);
    if (p.waitForFinished(300000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        return p.readAllStandardOutput();
    std::fprintf(stderr, "%s failed: %s\n", qPrintable(program), p.readAllStandardError().constData());
    return std::nullopt;
}

// Compiles the oracle helpers (paths under the source tree, "tests/…") into
// `classes` and runs `mainClass` headless with `args`: its standard output,
// or nothing when either step fails.
inline std::optional<QByteArray> runJavaHelper(const QString& bin, const QString& classes, const QStringList& sources,
    const QString& mainClass, const QStringList& args = {})
{
    QStringList javac {"-d", classes};
    for (const QString& source : sources) javac << QStringLiteral(JO_SOURCE_DIR "/") + source;
    if (!runTool(bin + "javac", javac))
        return std::nullopt;
    return runTool(bin + "java", QStringList {"-Djava.awt.headless=true", "-cp", classes, mainClass} + args);
}

}  // namespace test_support
