#pragma once
// Which build tool a project folder uses, and the files whose changes change
// its compile classpath (the cache's key).

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace project {

enum class BuildTool { None, Maven, Gradle };

struct ProjectFolder {
    BuildTool tool = BuildTool::None;
    QString dir;             // absolute, without a trailing slash
    QStringList buildFiles;  // absolute paths of those present
};

// The project in dir: pom.xml makes it Maven, build.gradle or
// build.gradle.kts Gradle (pom.xml wins when both are there). tool is None
// when dir holds neither or is no folder.
ProjectFolder findProject(const QString& dir);

// A digest of the build files' paths, sizes and modification times: a
// different key means the classpath must be resolved again.
QByteArray buildFilesKey(const ProjectFolder& folder);

// "mvn", "gradle": for messages.
QString toolName(BuildTool tool);

}  // namespace project
