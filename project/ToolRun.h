#pragma once
// Runs a build tool with no input, in its own process group, for at most a
// given time: a tool that waits for an answer or never ends is stopped, with
// every process it started.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace project {

struct ToolRun {
    enum class Outcome { Finished, NotStarted, TimedOut, Crashed };
    Outcome outcome = Outcome::NotStarted;
    int exitCode = -1;
    QByteArray output;  // standard output then standard error, the first kMaxOutputBytes of each
};

inline constexpr qsizetype kMaxOutputBytes = 4 << 20;

// Standard input is the null device; the working folder is workDir.
ToolRun runTool(const QString& program, const QStringList& args, const QString& workDir, int timeoutMs);

}  // namespace project
