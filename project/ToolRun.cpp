#include "project/ToolRun.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <csignal>
#include <unistd.h>

namespace project {

namespace {

void append(QByteArray& to, const QByteArray& bytes)
{
    if (to.size() < kMaxOutputBytes)
        to += bytes.left(kMaxOutputBytes - to.size());
}

// The whole group: a wrapper script's JVM, a Gradle worker.
void killGroup(QProcess& process)
{
    if (const qint64 pid = process.processId(); pid > 0)
        ::kill(-pid_t(pid), SIGKILL);
    process.kill();
    process.waitForFinished(5000);
}

}  // namespace

ToolRun runTool(const QString& program, const QStringList& args, const QString& workDir, int timeoutMs,
    const StopRequest& stopRequested)
{
    ToolRun run;
    QProcess process;
    process.setProgram(program);
    process.setArguments(args);
    process.setWorkingDirectory(workDir);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
    process.start();
    if (!process.waitForStarted(timeoutMs))
        return run;

    QByteArray out, err;
    const QDeadlineTimer deadline(timeoutMs);
    while (process.state() != QProcess::NotRunning) {
        if (deadline.hasExpired()) {
            killGroup(process);
            run.outcome = ToolRun::Outcome::TimedOut;
            return run;
        }
        if (stopRequested && stopRequested()) {
            killGroup(process);
            run.outcome = ToolRun::Outcome::Stopped;
            return run;
        }
        process.waitForReadyRead(int(qMin<qint64>(deadline.remainingTime(), 200)));
        append(out, process.readAllStandardOutput());
        append(err, process.readAllStandardError());
    }
    append(out, process.readAllStandardOutput());
    append(err, process.readAllStandardError());
    run.output = out + err;
    run.exitCode = process.exitCode();
    run.outcome = process.exitStatus() == QProcess::NormalExit ? ToolRun::Outcome::Finished : ToolRun::Outcome::Crashed;
    return run;
}

}  // namespace project
