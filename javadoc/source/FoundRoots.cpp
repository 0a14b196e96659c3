#include "javadoc/source/FoundRoots.h"

#include <mutex>

#include "javadoc/PageSource.h"
#include "platform/classlib/ClassLibrary.h"

namespace javadoc::source {

RootEnvironment rootEnvironment(const platform::classlib::ClassLibrary& library)
{
    RootEnvironment env;
    for (const auto& source : library.sources())
        if (source->location() != library.jdkLibrary())
            env.classPathEntries.push_back(source->location());
    env.jdkHome = library.jdkHome();
    env.docPath = qEnvironmentVariable("JAVAORVEL_DOC_PATH").toStdString();
    return env;
}

QString selectedClass(const DocSelection& selection)
{
    if (selection.member)
        return selection.member->declaringClass;
    return selection.args.groupName == platform::kConstructorsGroup ? selection.nameText : selection.args.groupName;
}

QStringList foundDocRoots(RootFinder& finder, const QString& className)
{
    QStringList roots;
    const QString dotted = QString(className).replace(QLatin1Char('$'), QLatin1Char('.'));
    for (qsizetype dot = dotted.lastIndexOf(QLatin1Char('.')); dot > 0 && roots.isEmpty();
         dot = dotted.lastIndexOf(QLatin1Char('.'), dot - 1)) {
        for (const RootCandidate* root : finder.documentationFor(dotted.left(dot).toStdString())) {
            const QString path = QString::fromStdString(root->path);
            roots.append(root->isArchive ? jarRoot(path) : path);
        }
    }
    return roots;
}

QStringList foundDocRoots(const QString& className)
{
    static std::mutex mutex;
    const std::lock_guard lock(mutex);
    static RootFinder finder(rootEnvironment(platform::classlib::ClassLibrary::system()));
    return foundDocRoots(finder, className);
}

}  // namespace javadoc::source
