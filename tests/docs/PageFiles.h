#pragma once
// Pages written for one test into a temporary folder.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "docs/Extractor.h"

#include <ostream>

// Readable QString values in test failures.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace docs_test {

// Writes bytes to root/relative, creating folders; returns the full path.
QString writeFile(const QString& root, const QString& relative, const QByteArray& bytes);
// Lines joined with "\n", with a final "\n".
QString writePage(const QString& root, const QString& relative, const QStringList& lines);

// The rule under the signature line.
QString rule();

// A request for a member of the class groupName, looked up under the main root.
docs::DocRequest request(const QString& root, const QString& memberName, int commaCount,
                         const QString& groupName);

}  // namespace docs_test
