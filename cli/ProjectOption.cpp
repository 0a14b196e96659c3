#include "cli/Commands.h"
#include "platform/classlib/ClassLibrary.h"
#include "project/ProjectClasspath.h"

namespace cli {

// --project DIR: the project's compile classpath goes after CLASSPATH. When it
// cannot be resolved the reason goes to standard error and the command runs
// on CLASSPATH alone.
void applyProject(const QString& dir)
{
    const project::ProjectClasspath classpath = project::resolveProjectClasspath(dir);
    if (!classpath.error.isEmpty()) {
        err(classpath.error + QLatin1Char('\n'));
        return;
    }
    platform::classlib::ClassLibrary::appendToSystemClassPath(classpath.entries);
}

}  // namespace cli
