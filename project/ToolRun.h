#pragma once
// Runs a build tool with no input, in its own process group, for at most a
// given time: a tool that waits for an answer or never ends is stopped, with
// every process it started.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

namespace project {

struct ToolRun {
    enum class Outcome { Finished, NotStarted, TimedOut, Crashed, Stopped };
    Outcome outcome = Outcome::NotStarted;
    int exitCode = -1;
    QByteArray output;  // standard output then standard error, the first kMaxOutputBytes of each
};

inline constexpr qsizetype kMaxOutputBytes = 4 << 20;

// Asked about five times a second while the tool runs: true stops it, with
// every process it started (its caller is going away).
using StopRequest = std::function<bool()>;

// Standard input is the null device; the working folder is workDir.
ToolRun runTool(const QString& program, const QStringList& args, const QString& workDir, int timeoutMs,
    const StopRequest& stopRequested = {});

}  // namespace project
