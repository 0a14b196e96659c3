// The JVM as oracle for the member index (ClassIndexOracle.java lists the
// exported public classes, MemberIndexOracle.java their methods; compiled with
// the javac of the JDK the reader reads): every declared public method of every
// exported public class, bridges and synthetic methods left out beside a method
// of their name; and `find` of each method name answers exactly the classes
// that declare it.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <map>
#include <set>

#include "lookup/MemberIndex.h"
#include "platform/classlib/ClassLibrary.h"
#include "tests/support/Files.h"
#include "tests/support/JdkTools.h"

namespace {

using platform::classlib::ClassLibrary;

struct JvmMethod {
    QString className, name, parameters;
    bool bridge;
};

// "class\tname\tparameters" for each method the index should hold, by name.
std::map<QString, std::set<QString>> expectedByName(const std::vector<JvmMethod>& jvm)
{
    std::set<std::pair<QString, QString>> plain;  // class, name of a method neither bridge nor synthetic
    for (const JvmMethod& m : jvm)
        if (!m.bridge)
            plain.emplace(m.className, m.name);
    std::map<QString, std::set<QString>> byName;
    for (const JvmMethod& m : jvm)
        if (!m.bridge || !plain.count({m.className, m.name}))
            byName[m.name].insert(m.className + '\t' + m.name + '\t' + m.parameters);
    return byName;
}

}  // namespace

TEST(MemberIndexOracle, FindAnswersEveryMethodNameWithExactlyItsDeclaringClasses)
{
    const std::unique_ptr<ClassLibrary> library = test_support::jdkOnlyLibrary();
    const QString bin = test_support::jdkBinWith("javac");
    if (bin.isEmpty())
        GTEST_SKIP() << "no JDK with javac installed";
    QTemporaryDir dir;
    const QString classes = dir.path() + "/classes.txt";
    const auto list = test_support::runJavaHelper(bin, dir.path(),
        {"tests/platform/classlib/ClassIndexOracle.java", "tests/lookup/MemberIndexOracle.java"}, "ClassIndexOracle");
    ASSERT_TRUE(list && test_support::writeFile(classes, *list));
    const auto out = test_support::runTool(
        bin + "java", {"-Djava.awt.headless=true", "-cp", dir.path(), "MemberIndexOracle", classes});
    ASSERT_TRUE(out);
    std::vector<JvmMethod> jvm;
    QStringList differences;
    for (const QByteArray& line : out->split('\n')) {
        const QList<QByteArray> f = line.split('\t');
        if (f.size() == 4)
            jvm.push_back({QString::fromUtf8(f[0]), QString::fromUtf8(f[1]), QString::fromUtf8(f[2]), f[3] == "1"});
        else if (line.startsWith("#ERROR"))
            differences << QString::fromUtf8(line);
    }
    ASSERT_GT(jvm.size(), 20'000u);
    const std::map<QString, std::set<QString>> expected = expectedByName(jvm);

    const std::unique_ptr<lookup::MemberIndex> index = lookup::MemberIndex::build(*library);
    size_t found = 0;
    for (const auto& [name, methods] : expected) {
        std::set<QString> ours;
        for (const lookup::MethodHit& hit : index->find(*library, name, 0))
            if (hit.methodName == name)
                ours.insert(hit.binaryName + '\t' + hit.methodName + '\t' + hit.erasedParameters.join(','));
        found += ours.size();
        for (const QString& m : methods)
            if (!ours.count(m))
                differences << "missing " + m;
        for (const QString& m : ours)
            if (!methods.count(m))
                differences << "not declared public for the JVM: " + m;
    }
    EXPECT_EQ(found, index->methodCount()) << "every method of the index is some name's answer";
    EXPECT_TRUE(differences.isEmpty()) << differences.size()
                                       << " differences, first: " << differences.mid(0, 20).join('\n').toStdString();
}
