#pragma once
// The companion's subcommands. Each takes the arguments after its own name and
// returns the process exit status; usage errors go through usageError().

#include <QString>
#include <QStringList>

namespace cli {

int runResolve(const QStringList& args);
int runMembers(const QStringList& args);
int runTree(const QStringList& args);
int runDoc(const QStringList& args);

// Standard output and error, UTF-8, written as given (no line end added).
void out(const QString& text);
void err(const QString& text);

// Prints the usage line of the named subcommand (or of the whole program) on
// standard error and returns 2.
int usageError(const QString& subcommand = QString());

}  // namespace cli
