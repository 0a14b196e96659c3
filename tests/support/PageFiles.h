#pragma once
// Pages written by the tests into temporary folders, and the requests that read them.

#include <QStringList>
#include <QTemporaryDir>

#include "javadoc/Extractor.h"
#include "tests/support/Files.h"
#include "tests/support/QtPrinters.h"

namespace javadoc_test {

using test_support::writeFile;

// Writes root/relative and gives its path.
inline QString writeFile(const QString& root, const QString& relative, const QByteArray& bytes)
{
    const QString path = root + '/' + relative;
    writeFile(path, bytes);
    return path;
}

// Writes the page and gives its path.
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
