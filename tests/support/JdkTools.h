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

}  // namespace test_support
