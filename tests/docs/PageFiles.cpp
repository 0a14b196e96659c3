#include "PageFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace docs_test {

QString writeFile(const QString& root, const QString& relative, const QByteArray& bytes)
{
    const QString path = root + QLatin1Char('/') + relative;
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
    return path;
}

QString writePage(const QString& root, const QString& relative, const QStringList& lines)
{
    return writeFile(root, relative, (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
}

QString rule()
{
    return QStringLiteral("  ") + QString(121, QLatin1Char('-'));
}

docs::DocRequest request(const QString& root, const QString& memberName, int commaCount,
                         const QString& groupName)
{
    docs::DocRequest r;
    r.memberName = memberName;
    r.commaCount = commaCount;
    r.groupName = groupName;
    r.nameText = groupName;
    r.name2 = groupName;
    r.docpath = root;
    r.selectionCount = 1;
    return r;
}

}  // namespace docs_test
