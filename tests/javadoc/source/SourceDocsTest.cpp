// The source fallback end to end: a fixture library compiled at test time
// (a jar and its sources jar) on the class library's CLASSPATH, read beside
// the installed JDK; then the JDK's own src.zip against its HTML pages.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QTemporaryDir>

#include "javadoc/LinkTarget.h"
#include "javadoc/PageText.h"
#include "javadoc/source/SourceDocs.h"
#include "platform/classlib/ClassLibrary.h"
#include "tests/support/ClassFileBuilder.h"
#include "tests/support/JdkTools.h"
#include "tests/support/PageFiles.h"
#include "tests/support/SourceOracle.h"

using platform::classlib::ClassLibrary;
using test_support::jdkBinWith;
using test_support::runTool;

namespace {

const char* const kFixture[][2] = {
    {"fx/Base.java", R"(package fx;
/** The base. */ public abstract class Base<E> {
    /** Adds {@code e}, see {@link #size()}.
     * @param e the element
     * @return {@code true} when it changed
     * @throws IllegalStateException if full */ public boolean add(E e) { return true; }
    /** The size.
     * @return the size
     * @see #add(Object) */ public abstract int size();
    /** Named {@value #LIMIT}.
     * @param x the x */ protected void name(int x) { }
    /** Limit. */ public static final int LIMIT = 0x10;
})"},
    {"fx/Api.java", R"(package fx;
/** The API. */ public interface Api {
    /** Clears it.
     * @implSpec Does nothing. */ default void clear() { }
    /** Finds by name.
     * @param name the name
     * @return the index */ int find(String name);
})"},
    {"fx/Impl.java", R"(package fx;
import java.util.List;
/** An implementation. */ public class Impl<T> extends Base<T> implements Api {
    public Impl() { }
    /** Made from {@code t}.
     * @param t the t */ public Impl(T t) { }
    /** {@inheritDoc} And more.
     * @param e {@inheritDoc} */ @Override public synchronized boolean add(T e) { return false; }
    @Override public int size() { return 0; } @Override public int find(String n) { return 0; }
    /** Adds an int.
     * @param i the int */ public void add(int i) { }
    /** Adds a list.
     * @param l the list */ public void add(List<? extends T> l) { }
    /** Takes many.
     * @param xs the xs */ @SafeVarargs public final <U extends Number> void many(U... xs) { }
    /** The state. */ public enum State { /** On. */ ON, OFF;
        /** Flips.
     * @return the other */ public State flip() { return this == ON ? OFF : ON; } }
    /** A point.
     * @param x the x coordinate
     * @param y the y coordinate */ public record Point(int x, int y) { }
    /** Inner. */ public class Inner { /** Made.
     * @param s the s */ public Inner(String s) { } }
})"},
};

bool haveSrcZip()
{
    return QFileInfo(QString::fromStdString(ClassLibrary::system().jdkHome()) + "/lib/src.zip").isFile();
}

// A library of the installed JDK and one CLASSPATH entry.
std::unique_ptr<ClassLibrary> library(const QString& classPath)
{
    ClassLibrary::Environment env;
    env.javaHome = ClassLibrary::system().jdkHome();
    env.classPath = classPath.toStdString();
    env.classPathSet = true;
    return ClassLibrary::discover(env);
}

QString doc(ClassLibrary& lib, const QString& group, const QString& leaf, const QString& field = "fx.Impl")
{
    return javadoc::source::SourceDocs(lib).document(
        {leaf.section(' ', 0, 0), javadoc::commaCount(leaf), group, field, leaf});
}

// Lines of a member's documentation as shown: indented, each ending in a newline.
QString body(const QString& lines)
{
    return lines.isEmpty() ? lines : "  " + QString(lines).replace('|', "\n  ") + "\n";
}

// fx.jar (classes), fx-sources.jar, and the folders src/ and classes/ they were made from.
class FixtureLibrary : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        bin_ = jdkBinWith("javac");
        if (bin_.isEmpty())
            return;
        dir_ = new QTemporaryDir;
        const QString d = dir_->path();
        QStringList files;
        for (const auto& f : kFixture) files << javadoc_test::writeFile(d + "/src", f[0], f[1]);
        built_ = runTool(bin_ + "javac", QStringList {"-d", d + "/classes"} + files) &&
            runTool(bin_ + "jar", {"cf", d + "/fx.jar", "-C", d + "/classes", "."}) &&
            runTool(bin_ + "jar", {"cf", d + "/fx-sources.jar", "-C", d + "/src", "."});
    }
    static void TearDownTestSuite() { delete dir_; }

    void SetUp() override
    {
        if (bin_.isEmpty())
            GTEST_SKIP() << "no JDK with javac";
        ASSERT_TRUE(built_) << "javac or jar failed on the fixture";
    }

    static inline QString bin_;
    static inline QTemporaryDir* dir_ = nullptr;
    static inline bool built_ = false;
};

}  // namespace

TEST_F(FixtureLibrary, DocumentsMembersFromTheSourcesJar)
{
    auto lib = library(dir_->path() + "/fx.jar");
    // body: "|"-separated lines; nullptr: only the declaration is checked (the enum's generated text follows it).
    const struct {
        const char *group, *leaf, *declaration, *body;
    } cases[] = {
        {"fx.Impl", "add  boolean add(Object)", "public boolean add(T e)",
            "Adds e, see size(). And more.||OVERRIDES:|add in class Base"
            "||PARAMETERS:|e - the element||RETURNS:|true when it changed"},
        {"fx.Impl", "size  int size()", "public int size()",
            "Description copied from class: Base|The size.||SPECIFIED BY:|size in class Base"
            "||RETURNS:|the size||SEE ALSO:|add(java.lang.Object)"},
        {"fx.Impl", "find  int find(String)", "public int find(String n)",
            "Description copied from interface: Api|Finds by name.||SPECIFIED BY:|find in interface Api"
            "||PARAMETERS:|n - the name||RETURNS:|the index"},
        {"fx.Api", "clear  void clear()", "default void clear()",
            "Clears it.||IMPLEMENTATION REQUIREMENTS:|Does nothing."},
        {"fx.Impl", "add  void add(int)", "public void add(int i)", "Adds an int.||PARAMETERS:|i - the int"},
        {"fx.Impl", "add  void add(List)", "public void add(List<? extends T> l)",
            "Adds a list.||PARAMETERS:|l - the list"},
        {"fx.Impl", "many  void many(Number[])", "public final <U extends Number> void many(U... xs)",
            "Takes many.||PARAMETERS:|xs - the xs"},
        {"fx.Base", "name  void name(int)", "protected void name(int x)", "Named 16.||PARAMETERS:|x - the x"},
        {"constructors", "Impl  Impl()", "public Impl()", ""},
        {"constructors", "Impl  Impl(Object)", "public Impl(T t)", "Made from t.||PARAMETERS:|t - the t"},
        {"fx.Impl$State", "values  Impl$State[] values()", "public static Impl.State[] values()", nullptr},
        {"fx.Impl$State", "valueOf  Impl$State valueOf(String)", "public static Impl.State valueOf(String name)",
            nullptr},
        {"fx.Impl$State", "flip  Impl$State flip()", "public Impl.State flip()", "Flips.||RETURNS:|the other"},
        {"fx.Impl$Point", "x  int x()", "public int x()",
            "Returns the value of the x record component.||RETURNS:|the x coordinate"},
    };
    for (const auto& c : cases) {
        const QString text = doc(*lib, c.group, c.leaf);
        if (c.body)
            EXPECT_EQ(text, javadoc_test::shown(c.declaration, body(c.body))) << c.leaf;
        else
            EXPECT_TRUE(text.startsWith(javadoc_test::shown(c.declaration))) << c.leaf << "\n" << text.toStdString();
    }
    // The inner class's constructor takes the enclosing instance first.
    EXPECT_TRUE(doc(*lib, "constructors", "Inner  Impl$Inner(Impl,String)", "fx.Impl$Inner")
                    .startsWith("  public Inner(String s)\n"));
}

TEST_F(FixtureLibrary, SourcesBesideTheClassesButNeverInOddFiles)
{
    const QString d = dir_->path();
    QTemporaryDir other, folder;
    const auto size = [](const QString& entry) { return doc(*library(entry), "fx.Impl", "size  int size()"); };
    // Classes and sources in one jar, and unpacked into one CLASSPATH folder.
    const QString both = other.path() + "/both.jar";
    ASSERT_TRUE(runTool(bin_ + "jar", {"cf", both, "-C", d + "/classes", ".", "-C", d + "/src", "."}));
    for (const char* archive : {"/fx.jar", "/fx-sources.jar"})
        ASSERT_TRUE(runTool(bin_ + "jar", {"xf", d + archive}, folder.path()));
    EXPECT_TRUE(size(both).startsWith("  public int size()\n"));
    EXPECT_TRUE(size(folder.path()).startsWith("  public int size()\n"));
    ASSERT_TRUE(QFile::remove(folder.path() + "/fx/Impl.java"));
    ASSERT_EQ(mkfifo((folder.path() + "/fx/Impl.java").toLocal8Bit(), 0600), 0);
    EXPECT_EQ(size(folder.path()), "") << "a FIFO in the folder";
    // Only the jar: its sources jar missing, then a FIFO (which would block if
    // opened for reading), a folder, garbage.
    const QString copy = other.path() + "/fx.jar", sources = other.path() + "/fx-sources.jar";
    ASSERT_TRUE(QFile::copy(d + "/fx.jar", copy));
    EXPECT_EQ(size(copy), "") << "no sources jar";
    ASSERT_EQ(mkfifo(sources.toLocal8Bit(), 0600), 0);
    EXPECT_EQ(size(copy), "") << "a FIFO";
    QFile::remove(sources);
    QDir().mkpath(sources);
    EXPECT_EQ(size(copy), "") << "a folder";
    QDir(sources).removeRecursively();
    javadoc_test::writeFile(other.path(), "fx-sources.jar", QByteArray("PK\3\4 not a zip").repeated(1000));
    EXPECT_EQ(size(copy), "") << "garbage";
}

// p/NAME.class (extending super, with a public void m()) and p/NAME.java holding body.
void writeClassAndSource(const QString& dir, const QString& name, const QString& super, const QString& body)
{
    using namespace testing_classlib;
    const auto bytes =
        buildClass(classDef(("p/" + name).toStdString(), super.toStdString()).method(kPublic, "m", "()V"));
    javadoc_test::writeFile(
        dir, "p/" + name + ".class", QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    javadoc_test::writeFile(dir, "p/" + name + ".java",
        ("package p; public class " + name + " extends " + super.section('/', -1) + " { " + body + " }").toUtf8());
}

// A superclass chain of 1,000 classes and a cycle, in a CLASSPATH folder of
// built class files and their sources: the part found, or "", quickly.
TEST(HostileHierarchies, ChainsAndCyclesEndQuietly)
{
    if (ClassLibrary::system().jdkHome().empty())
        GTEST_SKIP() << "no JDK";
    QTemporaryDir dir;
    const auto write = [&](const QString& name, const QString& super, const QString& body) {
        writeClassAndSource(dir.path(), name, super, body);
    };
    for (int i = 0; i < 1000; ++i)
        write(QString("C%1").arg(i), i ? QString("p/C%1").arg(i - 1) : "java/lang/Object",
            i ? "public void m() { }" : "/** Root. */ public void m() { }");
    write("X", "p/Y", "");
    write("Y", "p/X", "");
    auto lib = library(dir.path());
    EXPECT_TRUE(doc(*lib, "p.C999", "m  void m()", "p.C999").startsWith("  public void m()\n"));
    EXPECT_TRUE(doc(*lib, "p.C1", "m  void m()", "p.C1").contains("Root."));
    EXPECT_EQ(doc(*lib, "p.X", "m  void m()", "p.X"), "");
}

// Sixteen {@inheritDoc} a level over eight classes would make 16^7 copies of
// the root's text: the text stops at the cap, and its one long line is cut
// inside rather than dropped.
TEST(HostileHierarchies, InheritedTextStopsAtTheCap)
{
    if (ClassLibrary::system().jdkHome().empty())
        GTEST_SKIP() << "no JDK";
    QTemporaryDir dir;
    const QString sixteen = QString("{@inheritDoc} ").repeated(16);
    for (int i = 0; i < 8; ++i)
        writeClassAndSource(dir.path(), QString("L%1").arg(i), i < 7 ? QString("p/L%1").arg(i + 1) : "java/lang/Object",
            "/** " + (i < 7 ? sixteen : "Root text.") + " */ public void m() { }");
    auto lib = library(dir.path());
    const QString text = doc(*lib, "p.L0", "m  void m()", "p.L0");
    EXPECT_EQ(text.size(), javadoc::kMaxDocChars);
    EXPECT_TRUE(text.startsWith(javadoc_test::shown("public void m()", "  Root text.  Root text.")))
        << text.left(300).toStdString();
}

// Controls in a comment, raw or as escapes, never reach the window or a terminal.
TEST(HostileHierarchies, ControlCharactersInCommentsAreShownAsEscapes)
{
    if (ClassLibrary::system().jdkHome().empty())
        GTEST_SKIP() << "no JDK";
    QTemporaryDir dir;
    writeClassAndSource(
        dir.path(), "E", "java/lang/Object", "/** T \x1b]0;t\x07 \\u001b[2J \u009b. */ public void m() { }");
    const QString text = doc(*library(dir.path()), "p.E", "m  void m()", "p.E");
    EXPECT_EQ(text, javadoc_test::shown("public void m()", "  T \\u001b]0;t\\u0007 \\u001b[2J \\u009b.\n"));
}

// Needs openjdk-17-source and openjdk-17-doc: the page's extract as the oracle
// over a seeded sample (the benchmark bench_javadoc_source_oracle runs more).
TEST(JdkSources, AgreeWithTheHtmlPages)
{
    if (!haveSrcZip() || !QDir(source_oracle::kApi + "/java.base").exists())
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

// The leaf's member finds the text its node texts find; it may find more (a
// class whose texts do not name it), never another member's. Asked with its
// links, the text is the same.
TEST(JdkSources, TheLeafsMemberFindsWhatItsTextsFind)
{
    if (!haveSrcZip())
        GTEST_SKIP() << "openjdk-17-source is not installed";
    javadoc::source::SourceDocs docs(ClassLibrary::system());
    int compared = 0;
    for (const QString field : {"java.util.Vector", "com.sun.java.swing.JTable", "java.util.AbstractMap$SimpleEntry",
             "javax.swing.text.AbstractDocument$BranchElement", "java.lang.String"}) {
        const lookup::LookupResult found = lookup::lookUpClass(ClassLibrary::system(), field);
        ASSERT_EQ(found.status, lookup::LookupResult::Status::Found) << field.toStdString();
        QStringList groups;
        const lookup::MemberNode root = lookup::buildMemberTree(found.members, QString(), field, groups);
        for (const lookup::MemberNode& group : root.children) {
            for (const lookup::MemberNode& leaf : group.children) {
                const javadoc::SelectionArgs args = *javadoc::deriveSelection({root.text, group.text, leaf.text});
                javadoc::source::SourceRequest request {
                    args.memberName, args.commaCount, args.groupName, field, leaf.text.trimmed()};
                const QString byTexts = docs.document(request);
                request.member = leaf.member;
                ASSERT_TRUE(request.member.has_value());
                std::vector<javadoc::DocLink> links;  // the text with its links is the same text
                const QString byMember = docs.document(request, &links);
                if (byTexts.isEmpty())
                    continue;
                ++compared;
                EXPECT_EQ(byMember, byTexts) << leaf.text.toStdString();
            }
        }
    }
    EXPECT_GT(compared, 300);
}

namespace {

// The targets of the links on the member's signature in its HTML page, read
// from the page itself: the page reader gives its text no signature links.
QStringList pageSignatureTargets(const QString& page, const QString& anchor)
{
    QFile file(page);
    if (!file.open(QIODevice::ReadOnly))
        return {"unreadable " + page};
    const QString html = QString::fromUtf8(file.readAll());
    const qsizetype from = html.indexOf("<div class=\"member-signature\">", html.indexOf("id=\"" + anchor + "\""));
    std::vector<javadoc::DocLink> hrefs;
    javadoc::plainTextWithLinks(QStringView(html).mid(from, html.indexOf("</div>", from) - from), hrefs);
    const std::optional<javadoc::PagePlace> place = javadoc::pagePlace(source_oracle::kApi + "/java.base", page);
    QStringList targets;
    for (const javadoc::DocLink& href : hrefs)
        if (std::optional<QString> target = javadoc::hrefTarget(*place, href.target))
            targets << *target;
    return targets;
}

}  // namespace

// The links of a member's text read from src.zip are its page's: {@link},
// {@linkplain}, @see, THROWS and the signature's types resolved in the
// source's file as javadoc resolved them.
TEST(JdkSources, CommentLinksAgreeWithThePages)
{
    if (!haveSrcZip() || !QDir(source_oracle::kApi + "/java.base").exists())
        GTEST_SKIP() << "openjdk-17-source or openjdk-17-doc is not installed";
    javadoc::source::SourceDocs docs(ClassLibrary::system());
    const struct {
        const char *group, *leaf, *anchor;
    } cases[] = {
        {"java.util.Vector", "addAll  boolean addAll(int,Collection)", "addAll(int,java.util.Collection)"},
        {"java.util.Vector", "indexOf  int indexOf(Object,int)", "indexOf(java.lang.Object,int)"},
        {"java.util.ArrayList", "toArray  Object[] toArray(Object[])", "toArray(T[])"},
        {"java.util.HashMap", "put  Object put(Object,Object)", "put(K,V)"},
        {"java.lang.Integer", "parseInt  int parseInt(String,int)", "parseInt(java.lang.String,int)"},
        {"java.util.Collections", "sort  void sort(List)", "sort(java.util.List)"},
        {"java.lang.Thread", "join  void join(long)", "join(long)"},
        {"java.lang.String", "split  String[] split(String,int)", "split(java.lang.String,int)"},
    };
    // The targets of the signature's links in text order, or of the rest's
    // sorted: the source may list the SPECIFIED BY lines in another order
    // than the page (ArrayList.toArray). The page's SPECIFIED BY and OVERRIDES
    // lines show the supertype's type arguments ("List<E>", each linked)
    // where the source's show the class alone; the labels may differ
    // ("Object.equals(java.lang.Object)" under SEE ALSO), the targets may not.
    auto targets = [](const QString& text, const std::vector<javadoc::DocLink>& links, bool signature) {
        const qsizetype signatureEnd = text.indexOf('\n');
        QStringList out;
        for (const javadoc::DocLink& link : links) {
            const QChar before = text.at(link.start - 1);
            if ((link.start < signatureEnd) == signature && before != '<' && before != ',')
                out << link.target;
        }
        if (!signature)
            out.sort();
        return out;
    };
    for (const auto& c : cases) {
        const javadoc::SelectionArgs args = *javadoc::deriveSelection({"Methods", c.group, c.leaf});
        std::vector<javadoc::DocLink> fromSource;
        const QString source = docs.document(
            {args.memberName, args.commaCount, args.groupName, c.group, QString(c.leaf).trimmed()}, &fromSource);
        const javadoc::DocResult page = javadoc::doit(javadoc_test::request(
            source_oracle::kApi + "/java.base", args.memberName, args.commaCount, args.groupName));
        ASSERT_FALSE(source.isEmpty()) << c.leaf;
        const QString pageFile = source_oracle::kApi + "/java.base/" + QString(c.group).replace('.', '/') + ".html";
        EXPECT_EQ(targets(source, fromSource, true), pageSignatureTargets(pageFile, c.anchor)) << c.leaf;
        QStringList pageTargets = targets(page.text, page.links, false);
        // javadoc 17 links "Character#digit(char, int)" to the int overload;
        // the source's link goes to the overload the reference names.
        pageTargets.replaceInStrings("java.lang.Character#digit(int,int)", "java.lang.Character#digit(char,int)");
        pageTargets.sort();
        EXPECT_EQ(targets(source, fromSource, false), pageTargets) << c.leaf;
    }
}
