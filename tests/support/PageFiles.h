#pragma once
// Pages written by the tests into temporary folders, and the requests that read them.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

#include "javadoc/Extractor.h"

#include <ostream>

// Readable QString values in test failures.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace javadoc_test {

// Writes bytes to root/relative, creating folders; returns the full path.
inline QString writeFile(const QString& root, const QString& relative, const QByteArray& bytes)
{
    QFile file(root + '/' + relative);
    QDir().mkpath(QFileInfo(file).path());
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
    return file.fileName();
}

inline QString writePage(const QString& root, const QString& relative, const QStringList& lines)
{
    return writeFile(root, relative, (lines.join('\n') + '\n').toUtf8());
}

// A member as shown: its signature line, the rule under it, then the body.
inline QString shown(const QString& signature, const QString& body = {})
{
    return "  " + signature + "\n  " + QString(121, '-') + "\n" + body;
}

// A request for a member of the class groupName, looked up under root.
inline javadoc::DocRequest request(const QString& root, const QString& member, int commas, const QString& group)
{
    return {.memberName = member,
        .commaCount = commas,
        .groupName = group,
        .nameText = group,
        .name2 = group,
        .docpath = root,
        .docpath2 = {},
        .selectionCount = 1};
}

inline QString textOf(const QString& root, const QString& member, int commas, const QString& group)
{
    return javadoc::doit(request(root, member, commas, group)).text;
}

}  // namespace javadoc_test
