#pragma once
// The companion's subcommands. Each takes the arguments after its own name and
// returns the process exit status; usage errors go through usageError().

#include <QString>
#include <QStringList>
#include <optional>

#include "lookup/ClassLookup.h"

namespace cli {

int runResolve(const QStringList& args);
int runComplete(const QStringList& args);
int runMembers(const QStringList& args);
int runTree(const QStringList& args);
int runFind(const QStringList& args);
int runDoc(const QStringList& args);
int runRoots(const QStringList& args);

// Adds the project's compile classpath (--project DIR) after CLASSPATH, or
// says on standard error why it cannot.
void applyProject(const QString& dir);

// Standard output and error, UTF-8, written as given (no line end added).
void out(const QString& text);
void err(const QString& text);
// The class library's start-up warning on standard error, the first time only.
void printStartupWarningOnce();

// The class lookup as the window's SEARCH runs it, reported the companion's
// way: "Class not found : NAME" on standard output, an unreadable class on
// standard error. Returns the result when the class was found; otherwise
// nothing, with exitStatus set (0 for a blank name, 1 otherwise).
std::optional<lookup::LookupResult> lookUpForCli(const QString& name, int& exitStatus);

// Prints the usage line of the named subcommand (or of the whole program) on
// standard error and returns 2.
int usageError(const QString& subcommand = QString());

}  // namespace cli
