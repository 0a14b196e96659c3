// The JVM as oracle for the class index (ClassIndexOracle.java, compiled with
// the javac of the JDK the reader reads): the index's public classes and their
// deprecation are the JVM's; every simple name the catalogue misses resolves
// to the class the rank rule picks among the JVM's classes; every class of
// java.base and java.desktop with public constructors gets a "constructors"
// group; every member-class page of the catalogue looks up like its binary name.

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryDir>
#include <map>
#include <set>

#include "catalogue/PathsData.h"
#include "javadoc/CatalogueLookup.h"
#include "lookup/ClassCompletion.h"
#include "lookup/ClassLookup.h"
#include "lookup/MemberTree.h"
#include "platform/classlib/ClassLibrary.h"

namespace {

using platform::classlib::ClassIndex;
using platform::classlib::ClassLibrary;

struct JvmClass {
    QString name, module;
    bool deprecated;
};

struct Oracle {
    std::string skip;
    std::vector<JvmClass> classes;
    std::unique_ptr<ClassLibrary> library;
    std::unique_ptr<lookup::ClassCompletion> completion;
};

const Oracle& oracle()
{
    static const Oracle* o = [] {
        auto* r = new Oracle;
        ClassLibrary::Environment env = ClassLibrary::Environment::fromProcess();
        env.classPathSet = false;
        r->library = ClassLibrary::discover(env);
        const QString bin = QString::fromStdString(r->library->jdkHome() + "/bin/");
        if (r->library->jdkHome().empty() || !QFileInfo(bin + "javac").isExecutable()) {
            r->skip = "no JDK with javac installed";
            return r;
        }
        // The JVM's answer is kept in the build folder per JDK image and oracle
        // source: ctest runs every test in a process of its own.
        QFile source(JO_SOURCE_DIR "/tests/lookup/ClassIndexOracle.java");
        source.open(QIODevice::ReadOnly);
        const QFileInfo image(QString::fromStdString(r->library->jdkLibrary()));
        const QString key =
            QString::number(qHash(source.readAll() + image.filePath().toUtf8() + QByteArray::number(image.size()) +
                                QByteArray::number(image.lastModified().toMSecsSinceEpoch())),
                16);
        const QString cached = JO_BINARY_DIR "/tests/lookup/jvm-public-classes-" + key + ".txt";
        QByteArray answer;
        if (QFile f(cached); f.open(QIODevice::ReadOnly))
            answer = f.readAll();
        if (answer.isEmpty()) {
            QTemporaryDir dir;
            QProcess p;
            QProcessEnvironment penv = QProcessEnvironment::systemEnvironment();
            for (const char* name : {"CLASSPATH", "JAVA_TOOL_OPTIONS", "_JAVA_OPTIONS", "JDK_JAVA_OPTIONS"})
                penv.remove(name);
            p.setProcessEnvironment(penv);
            p.start(bin + "javac", {"-d", dir.path(), JO_SOURCE_DIR "/tests/lookup/ClassIndexOracle.java"});
            p.waitForFinished(300000);
            p.start(bin + "java", {"-Djava.awt.headless=true", "-cp", dir.path(), "ClassIndexOracle"});
            p.waitForFinished(300000);
            answer = p.readAllStandardOutput();
            if (p.exitCode() == 0 && !answer.isEmpty()) {
                QSaveFile f(cached);
                if (f.open(QIODevice::WriteOnly) && f.write(answer) == answer.size())
                    f.commit();
            }
        }
        for (const QByteArray& line : answer.split('\n')) {
            const QList<QByteArray> f = line.split('\t');
            if (f.size() == 3)
                r->classes.push_back({QString::fromUtf8(f[0]), QString::fromUtf8(f[1]), f[2] == "1"});
        }
        if (r->classes.size() < 1000)
            r->skip = "the JVM listed too few classes";
        r->completion = std::make_unique<lookup::ClassCompletion>(ClassIndex::build(*r->library));
        return r;
    }();
    return *o;
}

class ClassIndexOracleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!oracle().skip.empty())
            GTEST_SKIP() << oracle().skip;
    }
};

// Collects up to 20 differences into one readable failure.
struct Differences {
    int count = 0;
    std::string text;
    void add(const QString& line)
    {
        if (++count <= 20)
            text += line.toStdString() + "\n";
    }
};

}  // namespace

TEST_F(ClassIndexOracleTest, PublicClassesAndDeprecationAreTheJvms)
{
    const ClassIndex& index = oracle().completion->index();
    std::map<QString, bool> ours;
    for (uint32_t id = 0; id < index.size(); ++id) {
        const ClassIndex::Traits t = index.traits(id);
        if (t.isPublic)
            ours[QString::fromUtf8(index.internalName(id).data(), qsizetype(index.internalName(id).size()))
                     .replace('/', '.')] = t.deprecated;
    }
    Differences d;
    for (const JvmClass& c : oracle().classes) {
        const auto it = ours.find(c.name);
        if (it == ours.end())
            d.add("missing " + c.name);
        else if (it->second != c.deprecated)
            d.add("deprecation differs: " + c.name);
        else
            ours.erase(it);
    }
    for (const auto& [name, deprecated] : ours) d.add("not public for the JVM: " + name);
    EXPECT_EQ(d.count, 0) << d.text;
}

TEST_F(ClassIndexOracleTest, EverySimpleNameTheCatalogueMissesResolvesByRank)
{
    const auto rankLess = [](const JvmClass& a, const JvmClass& b) {
        const auto moduleRank = [](const QString& m) { return m == "java.base" ? 0 : m.startsWith("java.") ? 1 : 2; };
        if (moduleRank(a.module) != moduleRank(b.module))
            return moduleRank(a.module) < moduleRank(b.module);
        if (a.deprecated != b.deprecated)
            return b.deprecated;
        if (a.name.size() != b.name.size())
            return a.name.size() < b.name.size();
        return a.name < b.name;
    };
    std::map<QString, JvmClass> best;  // simple binary name -> the rank's pick
    for (const JvmClass& c : oracle().classes) {
        const QString simple = c.name.mid(c.name.lastIndexOf('.') + 1);
        const auto it = best.find(simple);
        if (it == best.end() || rankLess(c, it->second))
            best.insert_or_assign(simple, c);
    }
    const PathsData catalogue;
    Differences d;
    int resolved = 0;
    for (const auto& [simple, pick] : best) {
        QString startAt;
        if (javadoc::loadTxt(catalogue, simple, startAt))
            continue;
        ++resolved;
        const QString got = oracle().completion->resolve(simple);
        if (got != pick.name)
            d.add(simple + ": " + got + " instead of " + pick.name);
        // The CLI's one-shot resolution, which asks the image name by name.
        if (resolved % 16 == 0 && lookup::ClassCompletion::resolveOnce(*oracle().library, simple) != pick.name)
            d.add(simple + ": resolveOnce differs");
    }
    EXPECT_GT(resolved, 3000);
    EXPECT_EQ(d.count, 0) << d.text;
}

TEST_F(ClassIndexOracleTest, EveryClassWithPublicConstructorsGetsAConstructorsGroup)
{
    Differences d;
    for (const JvmClass& c : oracle().classes) {
        if (c.module != "java.base" && c.module != "java.desktop")
            continue;
        const lookup::LookupResult r = lookup::lookUpClass(*oracle().library, c.name);
        if (r.status != lookup::LookupResult::Status::Found) {
            d.add("not found: " + c.name);
            continue;
        }
        if (r.ctor.empty())
            continue;
        QStringList classes;
        const lookup::MemberNode root = lookup::buildMemberTree(r.n, QString(), c.name, classes);
        if (std::none_of(root.children.begin(), root.children.end(),
                [](const lookup::MemberNode& g) { return g.text == "constructors"; }))
            d.add("no constructors group: " + c.name);
    }
    EXPECT_EQ(d.count, 0) << d.text;
}

TEST_F(ClassIndexOracleTest, MemberClassPagesOfTheCatalogueLookUpLikeTheirBinaryNames)
{
    const PathsData catalogue;
    int checked = 0;
    for (int i = 0; i < PathsData::kCount; ++i) {
        QString page = catalogue.getString(i);
        page.chop(5);
        const qsizetype slash = page.lastIndexOf('/');
        if (!page.mid(slash + 1).contains('.'))
            continue;
        const QString dotted = QString(page).replace('/', '.');
        const QString binary = page.left(slash + 1).replace('/', '.') + page.mid(slash + 1).replace('.', '$');
        const lookup::LookupResult expected = lookup::lookUpClass(*oracle().library, binary);
        if (expected.status != lookup::LookupResult::Status::Found)
            continue;  // gone since the catalogue was written
        ++checked;
        const lookup::LookupResult got = lookup::lookUpClass(*oracle().library, dotted);
        EXPECT_EQ(got.binaryName, binary) << dotted.toStdString();
        EXPECT_EQ(got.n, expected.n) << dotted.toStdString();
    }
    EXPECT_GT(checked, 100);
}
