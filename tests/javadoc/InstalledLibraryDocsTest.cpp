// Libraries' own javadoc as Debian's -doc packages install it, one set per
// javadoc generation, with the library's jar on CLASSPATH: a fixed sample of
// classes goes through the class lookup, the member tree, the selection and
// the extractor, and every shown text must be the selected member's own.

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QMap>

#include "javadoc/SelectionArgs.h"
#include "lookup/ClassLookup.h"
#include "lookup/MemberTree.h"
#include "platform/classlib/ClassLibrary.h"
#include "tests/support/PageFiles.h"
#include "tests/support/SignatureCheck.h"

namespace {

struct DocSet {
    const char *generation, *api, *jar;
};

const DocSet kSets[] = {
    {"javadoc 1.3-7", "/usr/share/doc/libxml-commons-resolver1.1-java/resolver", "/usr/share/java/xml-resolver.jar"},
    {"javadoc 1.3-7", "/usr/share/doc/libkxml2-java-doc/javadoc", "/usr/share/java/kxml2.jar"},
    {"javadoc 8", "/usr/share/doc/libregexp-java/api", "/usr/share/java/regexp.jar"},
    {"javadoc 8", "/usr/share/doc/libjtidy-java/api", "/usr/share/java/jtidy.jar"},
    {"javadoc 9-15", "/usr/share/doc/liboro-java/api", "/usr/share/java/oro.jar"},
    {"javadoc 9-15", "/usr/share/doc/libargparse4j-java/api", "/usr/share/java/argparse4j.jar"},
    {"javadoc 16+", "/usr/share/doc/libjcommander-java/api", "/usr/share/java/jcommander.jar"},
    {"javadoc 16+", "/usr/share/doc/libjdom1-java/api", "/usr/share/java/jdom1.jar"},
};

// Every fourth class page in name order: the same sample on every machine.
QStringList sampleClasses(const QString& api)
{
    QStringList names;
    QDirIterator it(api, {"*.html"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo page(it.next());
        const QString rel = QDir(api).relativeFilePath(page.filePath());
        if (page.completeBaseName().contains('-') || rel.contains("class-use/") || !rel.contains('/') ||
            !QFileInfo::exists(page.path() + "/package-summary.html"))
            continue;
        names << QFileInfo(rel).path().replace('/', '.') + '.' + page.completeBaseName().replace('.', '$');
    }
    names.sort();
    QStringList sample;
    for (qsizetype i = 0; i < names.size(); i += 4) sample << names[i];
    return sample;
}

}  // namespace

TEST(InstalledLibraryDocs, EveryGenerationShowsTheSelectedMember)
{
    QStringList jars;
    for (const DocSet& set : kSets)
        if (QFileInfo::exists(set.api) && QFileInfo::exists(set.jar))
            jars << set.jar;
    if (jars.isEmpty())
        GTEST_SKIP() << "no library documentation installed (scripts/install-deps.sh lists the packages)";
    // The class library reads CLASSPATH when it is first used, which is here.
    qputenv("CLASSPATH", jars.join(':').toLocal8Bit());
    QMap<QString, std::pair<int, int>> tally;  // per generation: leaves, right ones
    for (const DocSet& set : kSets) {
        if (!QFileInfo::exists(set.api) || !QFileInfo::exists(set.jar)) {
            std::printf("skipped %s: not installed\n", set.api);
            continue;
        }
        int& leaves = tally[set.generation].first;
        int& right = tally[set.generation].second;
        for (const QString& name : sampleClasses(set.api)) {
            const lookup::LookupResult found = lookup::lookUpClass(platform::classlib::ClassLibrary::system(), name);
            ASSERT_EQ(found.status, lookup::LookupResult::Status::Found) << name.toStdString();
            QStringList groups;
            const lookup::MemberNode root = lookup::buildMemberTree(found.n, QString(), name, groups);
            for (const lookup::MemberNode& group : root.children) {
                for (const lookup::MemberNode& leaf : group.children) {
                    const auto args = javadoc::deriveSelection({root.text, group.text, leaf.text});
                    javadoc::DocRequest r =
                        javadoc_test::request(set.api, args->memberName, args->commaCount, args->groupName);
                    r.nameText = r.name2 = name;
                    r.paramTypes = args->paramTypes;
                    const javadoc::DocResult result = javadoc::doit(r);
                    if (!result.pageOpened)
                        continue;  // a class javadoc left out (java.lang.Object)
                    ++leaves;
                    const auto verdict = javadoc_check::judge(result.text, r.memberName, *r.paramTypes);
                    EXPECT_NE(verdict, javadoc_check::Verdict::Other) << leaf.text.trimmed().toStdString() << " shows "
                                                                      << result.text.section('\n', 0, 0).toStdString();
                    right += verdict == javadoc_check::Verdict::Hit || verdict == javadoc_check::Verdict::HitLoosely;
                }
            }
        }
    }
    for (auto it = tally.cbegin(); it != tally.cend(); ++it) {
        const auto [leaves, right] = it.value();
        EXPECT_GT(leaves, 50) << it.key().toStdString();
        EXPECT_GE(right, leaves * 0.97) << it.key().toStdString() << ": " << right << " of " << leaves;
        std::printf("%s: the leaf's own member for %d of %d leaves\n", qPrintable(it.key()), right, leaves);
    }
}
