// javaorvel-cli: the window's lookups for scripts and tests.

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

#include "cli/Commands.h"
#include "platform/ControlChars.h"
#include "platform/Version.h"
#include "platform/classlib/ClassLibrary.h"

namespace cli {

namespace {
// Every text printed holds names and documentation from class files, pages
// and sources: their control characters are shown as escapes, never sent to
// the terminal (a line feed in a class name would forge another line).
void write(FILE* f, const QString& text)
{
    const QByteArray bytes = platform::showControlChars(text).toUtf8();
    std::fwrite(bytes.constData(), 1, bytes.size(), f);
}

const char* usageLine(const QString& sub)
{
    if (sub == QLatin1String("resolve"))
        return "usage: javaorvel-cli resolve TEXT";
    if (sub == QLatin1String("complete"))
        return "usage: javaorvel-cli complete [--limit N] PREFIX";
    if (sub == QLatin1String("members"))
        return "usage: javaorvel-cli members [--since | --new-since N] NAME";
    if (sub == QLatin1String("tree"))
        return "usage: javaorvel-cli tree NAME [SEARCH]";
    if (sub == QLatin1String("find"))
        return "usage: javaorvel-cli find [--limit N] QUERY";
    if (sub == QLatin1String("roots"))
        return "usage: javaorvel-cli roots [--main DIR] [--swing DIR] NAME";
    if (sub == QLatin1String("doc"))
        return "usage: javaorvel-cli doc [--main DIR] [--swing DIR] [--name2 TEXT] [--field TEXT] "
               "--group TEXT (--leaf TEXT | --member TEXT --commas N) [--unselected] [--no-source] [--links]";
    return "usage: javaorvel-cli [--project DIR] [--release N] (resolve TEXT | complete [--limit N] PREFIX | "
           "members [--since | --new-since N] NAME | tree NAME [SEARCH] | find [--limit N] QUERY | doc ... | "
           "roots NAME)";
}

const char kVersion[] = "javaorvel-cli " JO_VERSION;

// Asked-for help goes to standard output with status 0, so that it can be paged.
int help()
{
    // The usage lines without their "usage: " prefix, under one heading.
    const auto form = [](const char* sub) { return usageLine(QString::fromLatin1(sub)) + 7; };
    std::printf("usage: %s\n"
                "       javaorvel-cli --help | --version\n"
                "\n"
                "Looks classes up in the Java class library the way the Java Orvel window does.\n"
                "\n"
                "  %s\n"
                "      Completes a short class name to its qualified name: the catalogue first,\n"
                "      then every public class of the JDK's exported packages and of CLASSPATH.\n"
                "  %s\n"
                "      Lists the classes whose simple name starts with PREFIX or matches its\n"
                "      capitals (\"CoHaMa\"), best first, one qualified name a line; at most N\n"
                "      (default 20, 0 for all).\n"
                "  %s\n"
                "      Lists the printed signatures of the class's public constructors and methods.\n"
                "      --since puts before each the first release that has it public in the class\n"
                "      and a TAB (\"9\", \"\u2264"
                "7\" when older than the oldest release the JDK holds,\n"
                "      \"!\" after it when deprecated for removal); --new-since N lists only the\n"
                "      members added after release N, the same way.\n"
                "  %s\n"
                "      Prints the member tree, optionally keeping only members that contain SEARCH.\n"
                "  %s\n"
                "      Lists the public methods named QUERY, then those starting with it, then those\n"
                "      matching its capitals (\"tUL\"), across every public class, one\n"
                "      \"qualified.Class.method(Type, Type)\" a line; \"Class#name\" or \"Class.name\" looks\n"
                "      in one class only (inherited methods too). At most N (default 20, 0 for all).\n"
                "  %s\n"
                "      Prints one member's documentation as plain text: from its javadoc page, else\n"
                "      from the Java sources beside its class (the JDK's src.zip, NAME-sources.jar);\n"
                "      --no-source reads the pages only; --links prints the text's links instead,\n"
                "      \"TEXT<tab>TARGET\" a line (\"java.util.List#add(Object)\"). The class files add a\n"
                "      last SINCE: section, and DEPRECATED FOR REMOVAL:, where the text has none.\n"
                "  %s\n"
                "      Lists where the class's documentation and sources are looked for, in order:\n"
                "      the configured roots (JavaOrvel.cfg, --main, --swing), NAME-javadoc.jar and\n"
                "      NAME-sources.jar beside the class library's jars, the JDK's documentation,\n"
                "      JAVAORVEL_DOC_PATH, installed javadoc; \"+\" marks those whose package list\n"
                "      names the class's package (or that hold its source file).\n"
                "\n"
                "  --project DIR  add the Maven or Gradle project's compile classpath in DIR\n"
                "             after CLASSPATH (resolved offline by mvn or gradle, then cached)\n"
                "  --release N  read release N's class library (from the JDK's lib/ct.sym)\n"
                "  --help     print this help and exit (after a subcommand: its usage)\n"
                "  --version  print the version and exit\n",
        form(""), form("resolve"), form("complete"), form("members"), form("tree"), form("find"), form("doc"),
        form("roots"));
    return 0;
}
}  // namespace

void out(const QString& text)
{
    write(stdout, text);
}
void err(const QString& text)
{
    write(stderr, text);
}

void printStartupWarningOnce()
{
    static bool printed = false;
    if (printed)
        return;
    printed = true;
    const QString warning = platform::classLibraryStartupWarning();
    if (!warning.isEmpty())
        err(warning + QLatin1Char('\n'));
}

int usageError(const QString& subcommand)
{
    std::fprintf(stderr, "%s\n", usageLine(subcommand));
    return 2;
}

}  // namespace cli

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    if (args.isEmpty())
        return cli::usageError();
    QString sub = args.takeFirst();
    // --project DIR and --release N come before the subcommand, in either
    // order, so that every subcommand reads the same library.
    while (sub == QLatin1String("--project") || sub == QLatin1String("--release")) {
        if (args.size() < 2)
            return cli::usageError();
        if (sub == QLatin1String("--project")) {
            cli::applyProject(args.takeFirst());
        } else {
            platform::classlib::ClassLibrary::requestSystemRelease(args.takeFirst().toStdString());
            cli::printStartupWarningOnce();
        }
        sub = args.takeFirst();
    }
    int status;
    if (sub == QLatin1String("--help") || sub == QLatin1String("-h"))
        status = cli::help();
    else if (sub == QLatin1String("--version")) {
        std::printf("%s\n", cli::kVersion);
        status = 0;
    } else if (!args.isEmpty() && args.first() == QLatin1String("--help") &&
        QStringList {u"resolve"_qs, u"complete"_qs, u"members"_qs, u"tree"_qs, u"find"_qs, u"doc"_qs, u"roots"_qs}
            .contains(sub)) {
        // "javaorvel-cli tree --help": that subcommand's usage, asked for.
        std::printf("%s\n", cli::usageLine(sub));
        status = 0;
    } else if (sub == QLatin1String("resolve"))
        status = cli::runResolve(args);
    else if (sub == QLatin1String("complete"))
        status = cli::runComplete(args);
    else if (sub == QLatin1String("members"))
        status = cli::runMembers(args);
    else if (sub == QLatin1String("tree"))
        status = cli::runTree(args);
    else if (sub == QLatin1String("find"))
        status = cli::runFind(args);
    else if (sub == QLatin1String("doc"))
        status = cli::runDoc(args);
    else if (sub == QLatin1String("roots"))
        status = cli::runRoots(args);
    else
        status = cli::usageError();
    std::fflush(stdout);
    return status;
}
