#include <QFileInfo>

#include "app/ConfigFile.h"
#include "cli/Commands.h"
#include "javadoc/ModernPage.h"
#include "javadoc/PageSource.h"
#include "javadoc/source/FoundRoots.h"
#include "javadoc/source/RootFinder.h"
#include "lookup/ClassCompletion.h"
#include "platform/classlib/ClassLibrary.h"

namespace cli {

namespace {

using javadoc::source::RootCandidate;
using javadoc::source::RootFinder;

// How a listed root stands for the class. Answered is for the documentation
// service: once it consults these roots it reports the one whose page gave
// the text, and that root is printed with this mark instead of Named.
enum class Mark { Unnamed, Named, Answered };

QChar markChar(Mark mark)
{
    switch (mark) {
    case Mark::Named:
        return QLatin1Char('+');
    case Mark::Answered:
        return QLatin1Char('=');
    case Mark::Unnamed:
        break;
    }
    return QLatin1Char('-');
}

void printRow(const char* section, Mark mark, const char* kind, const QString& path)
{
    out(QLatin1String(section) + QLatin1Char(' ') + markChar(mark) + QLatin1Char(' ') + QLatin1String(kind) +
        QLatin1Char(' ') + path + QLatin1Char('\n'));
}

// The class's page under a root ("a/b/Outer.Inner.html"), as the page readers look for it.
QString pageUnder(const QString& root, const QString& dottedClass, qsizetype packageEnd)
{
    QString package = dottedClass.left(packageEnd);
    return root + QLatin1Char('/') + package.replace(QLatin1Char('.'), QLatin1Char('/')) + QLatin1Char('/') +
        dottedClass.mid(packageEnd + 1) + QLatin1String(".html");
}

}  // namespace

// roots [--main DIR] [--swing DIR] NAME: the documentation roots and source
// archives tried for the class, in order, the configured roots first (from
// JavaOrvel.cfg unless given); "+" where the root's package list names the
// class's package, or the archive holds its source file; "=" for the first
// documentation root holding the class's page: the one whose page the
// documentation service reads (unless the page lacks the member).
int runRoots(const QStringList& args)
{
    const QString usage = QStringLiteral("roots");
    QString docpath, docpath2;
    app::loadConfig(QString::fromLatin1(app::kConfigFileName), docpath, docpath2);
    QString name;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& opt = args.at(i);
        if ((opt == QLatin1String("--main") || opt == QLatin1String("--swing")) && i + 1 < args.size())
            (opt == QLatin1String("--main") ? docpath : docpath2) = args.at(++i);
        else if (name.isEmpty() && !opt.startsWith(QLatin1String("--")))
            name = opt;
        else
            return usageError(usage);
    }
    if (name.isEmpty())
        return usageError(usage);

    auto& library = platform::classlib::ClassLibrary::system();
    const QString warning = platform::classLibraryStartupWarning();
    if (!warning.isEmpty())
        err(warning + QLatin1Char('\n'));
    if (!name.contains(QLatin1Char('.'))) {
        const QString hit = lookup::ClassCompletion::resolveOnce(library, name);
        if (!hit.isEmpty())
            name = hit;
    }
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const std::string package = dot < 0 ? std::string() : name.left(dot).toStdString();
    const std::string topInternal =
        name.section(QLatin1Char('$'), 0, 0).replace(QLatin1Char('.'), QLatin1Char('/')).toStdString();
    const std::string module = library.originOf(name.replace(QLatin1Char('.'), QLatin1Char('/')).toStdString()).module;

    RootFinder finder(javadoc::source::rootEnvironment(library));
    const QString dotted =
        QString(name).replace(QLatin1Char('/'), QLatin1Char('.')).replace(QLatin1Char('$'), QLatin1Char('.'));
    bool answered = false;
    // Named roots only: a page under a root whose list lacks the package is never read.
    const auto mark = [&](const QString& pageRoot, bool named) {
        if (!named)
            return Mark::Unnamed;
        if (answered || dot < 0 ||
            (!javadoc::pageExists(pageUnder(pageRoot, dotted, dot)) &&
                !javadoc::modulePageCandidate(pageRoot, dotted)))  // a module layout (JDK 11+)
            return Mark::Named;
        answered = true;
        return Mark::Answered;
    };
    for (const auto& [root, kind] :
        {std::pair {docpath, "configured-main"}, std::pair {docpath2, "configured-swing"}}) {
        if (root.isEmpty())
            continue;
        const QString absolute = QFileInfo(root).absoluteFilePath();
        printRow("doc", mark(absolute, finder.namesPackage(absolute.toStdString(), false, package)), kind, root);
    }
    for (const RootCandidate& root : finder.documentation()) {
        const QString path = QString::fromStdString(root.path);
        printRow("doc",
            mark(root.isArchive ? javadoc::jarRoot(path) : path,
                finder.namesPackage(root.path, root.isArchive, package)),
            javadoc::source::kindName(root.kind), path);
    }
    for (const RootCandidate& root : finder.sources())
        printRow("src", finder.holdsSource(root, topInternal, module) ? Mark::Named : Mark::Unnamed,
            javadoc::source::kindName(root.kind), QString::fromStdString(root.path));
    return 0;
}

}  // namespace cli
