#pragma once
// A Maven or Gradle project's compile classpath, resolved offline by the
// project's own build tool and cached between runs. The project folder is
// never written: the tool's output and Gradle's own caches go to a temporary
// folder of ours.

#include <QMetaType>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "project/BuildFiles.h"

namespace project {

struct ResolveOptions {
    QString cacheDir;  // defaultCacheDir() when empty
    int timeoutMs = 60'000;
    // Polled while the build tool runs: true stops it and the resolution
    // fails with nothing cached (the window closing while it resolves).
    std::function<bool()> stopRequested;
};

struct ProjectClasspath {
    ProjectFolder folder;
    // The dependencies in the tool's order, then the project's own class
    // folder; empty whenever error is set (a partial list is never handed out).
    std::vector<std::string> entries;
    // One line for standard error: what failed and how to fix it; "" on success.
    QString error;
    bool fromCache = false;
};

// Resolves the project in dir (see findProject). A folder with no build file
// is an error too, for --project names it on purpose.
ProjectClasspath resolveProjectClasspath(const QString& dir, const ResolveOptions& options = {});

// The project's name for the window's title: the folder's name.
QString projectName(const ProjectFolder& folder);

}  // namespace project

Q_DECLARE_METATYPE(project::ProjectClasspath)
