#include "project/BuildFiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace project {

namespace {

// Beside the main build file, the files that also change what Gradle resolves.
constexpr const char* kGradleSettings[] = {
    "settings.gradle", "settings.gradle.kts", "gradle.properties", "gradle/wrapper/gradle-wrapper.properties"};

bool isFile(const QString& path)
{
    return QFileInfo(path).isFile();
}

}  // namespace

ProjectFolder findProject(const QString& dir)
{
    ProjectFolder folder;
    const QFileInfo info(dir);
    if (!info.isDir())
        return folder;
    folder.dir = QDir::cleanPath(info.absoluteFilePath());
    const QString pom = folder.dir + QStringLiteral("/pom.xml");
    if (isFile(pom)) {
        folder.tool = BuildTool::Maven;
        folder.buildFiles << pom;
        return folder;
    }
    for (const char* name : {"build.gradle", "build.gradle.kts"}) {
        const QString path = folder.dir + QLatin1Char('/') + QLatin1String(name);
        if (isFile(path)) {
            folder.tool = BuildTool::Gradle;
            folder.buildFiles << path;
        }
    }
    if (folder.tool == BuildTool::Gradle)
        for (const char* name : kGradleSettings)
            if (const QString path = folder.dir + QLatin1Char('/') + QLatin1String(name); isFile(path))
                folder.buildFiles << path;
    return folder;
}

QByteArray buildFilesKey(const ProjectFolder& folder)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(toolName(folder.tool).toUtf8());
    for (const QString& path : folder.buildFiles) {
        const QFileInfo info(path);
        const QByteArray line = path.toUtf8() + '\0' + QByteArray::number(info.size()) + '\0' +
            QByteArray::number(info.lastModified().toMSecsSinceEpoch()) + '\n';
        hash.addData(line);
    }
    return hash.result().toHex();
}

QString toolName(BuildTool tool)
{
    switch (tool) {
    case BuildTool::Maven:
        return QStringLiteral("mvn");
    case BuildTool::Gradle:
        return QStringLiteral("gradle");
    case BuildTool::None:
        break;
    }
    return QString();
}

}  // namespace project
