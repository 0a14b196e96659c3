// The source fallback end to end: a fixture library compiled at test time
// (a jar and its sources jar) on the class library's CLASSPATH, read beside
// the installed JDK; then the JDK's own src.zip against its HTML pages.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QProcess>
#include <QTemporaryDir>

#include "javadoc/source/SourceDocs.h"
#include "javadoc/source/SourceLocator.h"
#include "platform/classlib/ClassLibrary.h"
#include "tests/support/ClassFileBuilder.h"
#include "tests/support/PageFiles.h"
#include "tests/support/SourceOracle.h"

using platform::classlib::ClassLibrary;

namespace {

const char* const kFixture[][2] = {
    {"fx/Base.java", R"(package fx;
/** The base. */
public abstract class Base<E> {
    /**
     * Adds {@code e}, see {@link #size()}.
     * @param e the element
     * @return {@code true} when it changed
     * @throws IllegalStateException if full
     */
    public boolean add(E e) { return true; }
    /** The size.
     * @return the size
     * @see #add(Object) */
    public abstract int size();
    /** Named {@value #LIMIT}.
     * @param x the x */
    protected void name(int x) { }
    /** Limit. */
    public static final int LIMIT = 0x10;
}
)"},
    {"fx/Api.java", R"(package fx;
/** The API. */
public interface Api {
    /**
     * Clears it.
     * @implSpec Does nothing.
     */
    default void clear() { }
    /** Finds by name.
     * @param name the name
     * @return the index */
    int find(String name);
}
)"},
    {"fx/Impl.java", R"(package fx;
import java.util.List;
/** An implementation. */
public class Impl<T> extends Base<T> implements Api {
    public Impl() { }
    /** Made from {@code t}.
     * @param t the t */
    public Impl(T t) { }
    /** {@inheritDoc} And more.
     * @param e {@inheritDoc} */
    @Override public synchronized boolean add(T e) { return false; }
    @Override public int size() { return 0; }
    @Override public int find(String n) { return 0; }
    /** Adds an int.
     * @param i the int */
    public void add(int i) { }
    /** Adds a list.
     * @param l the list */
    public void add(List<? extends T> l) { }
    /** Takes many.
     * @param xs the xs */
    @SafeVarargs public final <U extends Number> void many(U... xs) { }
    /** The state. */
    public enum State { /** On. */ ON, OFF;
        /** Flips.
     * @return the other */ public State flip() { return this == ON ? OFF : ON; } }
    /** A point.
     * @param x the x coordinate
     * @param y the y coordinate */
    public record Point(int x, int y) { }
    /** Inner. */
    public class Inner { /** Made.
     * @param s the s */ public Inner(String s) { } }
}
)"},
    {"fx/Plain.java", R"(package fx;
public class Plain { public void undocumented() { } }
)"},
};

QString runTool(const QString& program, const QStringList& args, const QString& dir)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("CLASSPATH");
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(dir);
    p.start(program, args);
    if (!p.waitForFinished(120000) || p.exitCode() != 0)
        return program + ": " + p.readAllStandardError();
    return {};
}

class FixtureLibrary : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        home_ = QString::fromStdString(ClassLibrary::system().jdkHome());
        if (home_.isEmpty() || !QFileInfo(home_ + "/bin/javac").isExecutable())
            return;
        dir_ = new QTemporaryDir;
        const QString src = dir_->path() + "/src", classes = dir_->path() + "/classes";
        QStringList files;
        for (const auto& f : kFixture) files << javadoc_test::writeFile(src, f[0], f[1]);
        error_ = runTool(home_ + "/bin/javac", QStringList {"-d", classes} + files, dir_->path());
        if (error_.isEmpty())
            error_ = runTool(home_ + "/bin/jar", {"cf", dir_->path() + "/fx.jar", "-C", classes, "."}, dir_->path());
        if (error_.isEmpty())
            error_ =
                runTool(home_ + "/bin/jar", {"cf", dir_->path() + "/fx-sources.jar", "-C", src, "."}, dir_->path());
    }
    static void TearDownTestSuite() { delete dir_; }

    void SetUp() override
    {
        if (!dir_)
            GTEST_SKIP() << "no JDK with javac";
        ASSERT_TRUE(error_.isEmpty()) << error_.toStdString();
    }

    // A library of the JDK and one CLASSPATH entry.
    static std::unique_ptr<ClassLibrary> library(const QString& classPath)
    {
        ClassLibrary::Environment env;
        env.javaHome = home_.toStdString();
        env.classPath = classPath.toStdString();
        env.classPathSet = true;
        return ClassLibrary::discover(env);
    }

    static QString doc(ClassLibrary& lib, const QString& group, const QString& leaf, const QString& field = "fx.Impl")
    {
        javadoc::source::SourceDocs docs(lib);
        const QString member = leaf.section(' ', 0, 0);
        return docs.document({member, javadoc::commaCount(leaf), group, field, leaf});
    }

    static QString home_;
    static QTemporaryDir* dir_;
    static QString error_;
};

QString FixtureLibrary::home_;
QTemporaryDir* FixtureLibrary::dir_ = nullptr;
QString FixtureLibrary::error_;

}  // namespace

TEST_F(FixtureLibrary, DocumentsMembersFromTheSourcesJar)
{
    auto lib = library(dir_->path() + "/fx.jar");
    const QString rule = "\n  " + QString(121, '-') + "\n";
    const struct {
        const char *group, *leaf, *expected;
    } cases[] = {
        {"fx.Impl", "add  boolean add(Object)",
            "  public boolean add(T e)"
            "%R"
            "  Adds e, see size(). And more.\n  \n  OVERRIDES:\n  add in class Base\n"
            "  \n  PARAMETERS:\n  e - the element\n  \n  RETURNS:\n  true when it changed\n"},
        {"fx.Impl", "size  int size()",
            "  public int size()"
            "%R"
            "  Description copied from class: Base\n  The size.\n"
            "  \n  SPECIFIED BY:\n  size in class Base\n  \n  RETURNS:\n  the size\n  \n  SEE ALSO:\n"
            "  add(java.lang.Object)\n"},
        {"fx.Impl", "find  int find(String)",
            "  public int find(String n)"
            "%R"
            "  Description copied from interface: Api\n  Finds by name.\n"
            "  \n  SPECIFIED BY:\n  find in interface Api\n  \n  PARAMETERS:\n  n - the name\n  \n  RETURNS:\n"
            "  the index\n"},
        {"fx.Api", "clear  void clear()",
            "  default void clear()"
            "%R"
            "  Clears it.\n  \n  IMPLEMENTATION REQUIREMENTS:\n  Does nothing.\n"},
        {"fx.Impl", "add  void add(int)",
            "  public void add(int i)"
            "%R"
            "  Adds an int.\n  \n  PARAMETERS:\n  i - the int\n"},
        {"fx.Impl", "add  void add(List)",
            "  public void add(List<? extends T> l)"
            "%R"
            "  Adds a list.\n"
            "  \n  PARAMETERS:\n  l - the list\n"},
        {"fx.Impl", "many  void many(Number[])",
            "  public final <U extends Number> void many(U... xs)"
            "%R"
            "  Takes many.\n  \n  PARAMETERS:\n  xs - the xs\n"},
        {"fx.Base", "name  void name(int)",
            "  protected void name(int x)"
            "%R"
            "  Named 16.\n  \n  PARAMETERS:\n"
            "  x - the x\n"},
        {"constructors", "Impl  Impl()",
            "  public Impl()"
            "%R"},
        {"constructors", "Impl  Impl(Object)",
            "  public Impl(T t)"
            "%R"
            "  Made from t.\n  \n  PARAMETERS:\n  t - the t\n"},
        {"fx.Impl$State", "values  Impl$State[] values()",
            "  public static Impl.State[] values()"
            "%R"},
        {"fx.Impl$State", "valueOf  Impl$State valueOf(String)",
            "  public static Impl.State valueOf(String name)"
            "%R"},
        {"fx.Impl$State", "flip  Impl$State flip()",
            "  public Impl.State flip()"
            "%R"
            "  Flips.\n  \n  RETURNS:\n"
            "  the other\n"},
        {"fx.Impl$Point", "x  int x()",
            "  public int x()"
            "%R"
            "  Returns the value of the x record component.\n"
            "  \n  RETURNS:\n  the x coordinate\n"},
        {"fx.Plain", "undocumented  void undocumented()",
            "  public void undocumented()"
            "%R"},
    };
    for (const auto& c : cases) {
        QString expected = QString(c.expected).replace("%R", rule);
        const QString text = doc(*lib, c.group, c.leaf);
        if (QString(c.leaf).contains("values") || QString(c.leaf).contains("valueOf"))
            EXPECT_TRUE(text.startsWith(expected)) << c.leaf << "\n" << text.toStdString();
        else
            EXPECT_EQ(text, expected) << c.leaf;
    }
    // The inner class's constructor takes the enclosing instance first.
    EXPECT_TRUE(doc(*lib, "constructors", "Inner  Impl$Inner(Impl,String)", "fx.Impl$Inner")
                    .startsWith("  public Inner(String s)\n"));
}

TEST_F(FixtureLibrary, SourcesInTheJarOrTheFolderItself)
{
    const QString expected = "  public int find(String n)\n";
    QTemporaryDir both, folder;
    const QString jar = both.path() + "/both.jar";
    ASSERT_EQ(runTool(home_ + "/bin/jar",
                  {"cf", jar, "-C", dir_->path() + "/classes", ".", "-C", dir_->path() + "/src", "."}, both.path()),
        "");
    EXPECT_TRUE(doc(*library(jar), "fx.Impl", "find  int find(String)").startsWith(expected));
    for (const char* archive : {"/fx.jar", "/fx-sources.jar"})
        ASSERT_EQ(runTool(home_ + "/bin/jar", {"xf", dir_->path() + archive}, folder.path()), "");
    EXPECT_TRUE(doc(*library(folder.path()), "fx.Impl", "find  int find(String)").startsWith(expected));
}

TEST_F(FixtureLibrary, ClassesWithoutUsableSourcesGiveNothing)
{
    // Only the jar: its sources jar replaced by a FIFO, a folder or garbage.
    const QString jar = dir_->path() + "/fx.jar";
    QTemporaryDir other;
    const QString copy = other.path() + "/fx.jar", sources = other.path() + "/fx-sources.jar";
    ASSERT_TRUE(QFile::copy(jar, copy));
    auto lib = library(copy);
    const auto text = [&] { return doc(*lib, "fx.Impl", "size  int size()"); };
    EXPECT_EQ(text(), "") << "no sources jar";
    ASSERT_EQ(mkfifo(sources.toLocal8Bit(), 0600), 0);
    EXPECT_EQ(text(), "") << "a FIFO";  // would block if it were opened for reading
    QFile::remove(sources);
    QDir().mkpath(sources);
    EXPECT_EQ(text(), "") << "a folder";
    QDir(sources).removeRecursively();
    javadoc_test::writeFile(other.path(), "fx-sources.jar", QByteArray("PK\3\4 not a zip").repeated(1000));
    EXPECT_EQ(text(), "") << "garbage";
    // A CLASSPATH folder whose source is a FIFO.
    QTemporaryDir folder;
    ASSERT_EQ(runTool(home_ + "/bin/jar", {"xf", jar}, folder.path()), "");
    ASSERT_EQ(mkfifo((folder.path() + "/fx/Impl.java").toLocal8Bit(), 0600), 0);
    auto folderLib = library(folder.path());
    EXPECT_EQ(doc(*folderLib, "fx.Impl", "size  int size()"), "");
    EXPECT_FALSE(javadoc::source::readRegularFile((folder.path() + "/fx/Impl.java").toStdString(), 100));
}

// A superclass chain of 1,000 classes and a cycle, in a CLASSPATH folder of
// built class files and their sources: the part found, or "", quickly.
TEST(HostileHierarchies, ChainsAndCyclesEndQuietly)
{
    const std::string home = ClassLibrary::system().jdkHome();
    if (home.empty())
        GTEST_SKIP() << "no JDK";
    QTemporaryDir dir;
    using namespace testing_classlib;
    const auto write = [&](const ClassDef& c, const QString& source) {
        const std::vector<uint8_t> bytes = buildClass(c);
        javadoc_test::writeFile(dir.path(), QString::fromStdString(c.name) + ".class",
            QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
        javadoc_test::writeFile(dir.path(), QString::fromStdString(c.name) + ".java", source.toUtf8());
    };
    for (int i = 0; i < 1000; ++i) {
        const QString name = QString("C%1").arg(i), super = i ? QString("C%1").arg(i - 1) : "Object";
        write(classDef("p/" + name.toStdString(), i ? "p/" + super.toStdString() : "java/lang/Object")
                  .method(kPublic, "m", "()V"),
            "package p; public class " + name + " extends " + super + " { " + (i ? "" : "/** Root. */ ") +
                "public void m() { } }");
    }
    write(classDef("p/X", "p/Y").method(kPublic, "m", "()V"), "package p; public class X extends Y { }");
    write(classDef("p/Y", "p/X").method(kPublic, "m", "()V"), "package p; public class Y extends X { }");
    ClassLibrary::Environment env;
    env.javaHome = home;
    env.classPath = dir.path().toStdString();
    env.classPathSet = true;
    auto lib = ClassLibrary::discover(env);
    javadoc::source::SourceDocs docs(*lib);
    EXPECT_TRUE(docs.document({"m", -1, "p.C999", "p.C999", "m  void m()"}).startsWith("  public void m()\n"));
    EXPECT_TRUE(docs.document({"m", -1, "p.C1", "p.C1", "m  void m()"}).contains("Root."));
    EXPECT_EQ(docs.document({"m", -1, "p.X", "p.X", "m  void m()"}), "");
}

// Needs openjdk-17-source and openjdk-17-doc: the page's extract as the oracle
// over a seeded sample (the benchmark bench_javadoc_source_oracle runs more).
TEST(JdkSources, AgreeWithTheHtmlPages)
{
    const std::string home = ClassLibrary::system().jdkHome();
    if (!QFileInfo(QString::fromStdString(home + "/lib/src.zip")).isFile() ||
        !QDir(source_oracle::kApi + "/java.base").exists())
        GTEST_SKIP() << "openjdk-17-source or openjdk-17-doc is not installed";
    int leaves = 0, named = 0, compared = 0, sameFirst = 0, near = 0;
    source_oracle::walkSample(40, [&](const source_oracle::Leaf& l) {
        ++leaves;
        named += source_oracle::namesMember(l.source, l.args.memberName);
        if (l.html.isEmpty() || l.overloaded)
            return;
        ++compared;
        sameFirst += source_oracle::firstLine(l.source) == source_oracle::firstLine(l.html);
        near += source_oracle::similarity(l.source, l.html) >= 0.9 &&
            source_oracle::firstLine(l.source) == source_oracle::firstLine(l.html);
    });
    // What the sample reaches today: every leaf named, all but a few first
    // lines the same, nearly all texts near-equal (the benchmark reports the shares).
    ASSERT_GT(compared, 500);
    EXPECT_EQ(named, leaves);
    EXPECT_GE(sameFirst * 1000, compared * 995);
    EXPECT_GE(near * 100, compared * 98);
}
